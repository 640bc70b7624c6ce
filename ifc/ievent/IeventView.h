// The base of every receiver of change events. A view registers itself with
// a model when it is made and unregisters from that same model when it is
// destroyed; each UpdateView does nothing unless the view overrides it.
//
// A view may say which event classes it hears (IeventHeardBy: those whose
// UpdateView it overrides); one that says nothing hears every class. A
// raiser of many events whose delivery does nothing but call UpdateView may
// leave out an event no view alive hears (IeventView::MayBeHeard): no view
// could tell.
#pragma once

#include "ievent/Ievent.h"
#include "ievent/IeventCatalogue.h"

#include <bitset>
#include <cstddef>
#include <type_traits>

class Imodel;

// The event classes by their place in the catalogue.
enum class IeventKind : unsigned {
#define QUORLANE_IEVENT_KIND(Event) Event,
    QUORLANE_IEVENT_CATALOGUE(QUORLANE_IEVENT_KIND)
#undef QUORLANE_IEVENT_KIND
};

#define QUORLANE_IEVENT_COUNT_ONE(Event) +1
inline constexpr std::size_t kIeventKindCount = 0 QUORLANE_IEVENT_CATALOGUE(QUORLANE_IEVENT_COUNT_ONE);
#undef QUORLANE_IEVENT_COUNT_ONE

// A set of event classes, by kind.
using IeventKinds = std::bitset<kIeventKindCount>;

// The kind of an event class of the catalogue.
template <class Event>
struct IeventKindOf;
#define QUORLANE_IEVENT_KIND_OF(Event)                                                                                 \
    template <>                                                                                                        \
    struct IeventKindOf<Event> {                                                                                       \
        static constexpr IeventKind value = IeventKind::Event;                                                         \
    };
QUORLANE_IEVENT_CATALOGUE(QUORLANE_IEVENT_KIND_OF)
#undef QUORLANE_IEVENT_KIND_OF

class IeventView {
public:
    // Registers with `model`, or with the process-wide model when null; hears
    // every event class.
    explicit IeventView(Imodel* model = nullptr);
    // Unregisters from the model it registered with, unless that model is
    // already gone (at unload the model may be destroyed first).
    virtual ~IeventView();

    IeventView(const IeventView&) = delete;
    IeventView& operator=(const IeventView&) = delete;

    // Lets each event of the batch, in order, call back its UpdateView.
    virtual void UpdateViews(const IeventBatch& events);

#define QUORLANE_IEVENT_DECLARE_UPDATE_VIEW(Event)                                                                     \
    virtual void UpdateView(const Event&) {}
    QUORLANE_IEVENT_CATALOGUE(QUORLANE_IEVENT_DECLARE_UPDATE_VIEW)
#undef QUORLANE_IEVENT_DECLARE_UPDATE_VIEW

    // Whether some view alive, of any model, hears events of `Event`.
    template <class Event>
    static bool MayBeHeard()
    {
        return Hearing(IeventKindOf<Event>::value);
    }

protected:
    // Registers as above, hearing only the event classes `heard`.
    IeventView(Imodel* model, const IeventKinds& heard);

private:
    static bool Hearing(IeventKind kind);

    Imodel* m_model;
    IeventKinds m_heard;
};

namespace IeventHeard {

template <class Event, class Owner>
Owner OwnerOf(void (Owner::*)(const Event&));
template <class Owner>
Owner BatchOwnerOf(void (Owner::*)(const IeventBatch&));

// Whether `View` has an UpdateView of its own (or of a base between it and
// IeventView) for `Event`: one only hidden, not overridden, still leaves
// the call to IeventView's.
template <class View, class Event>
constexpr bool Overrides()
{
    if constexpr (requires { OwnerOf<Event>(&View::UpdateView); })
        return !std::is_same_v<decltype(OwnerOf<Event>(&View::UpdateView)), IeventView>;
    else
        return false;
}

}  // namespace IeventHeard

// The event classes whose UpdateView `View` overrides; every class when it
// sees the batches whole (its own UpdateViews). Worked out from the class
// itself, so an override added later is heard without a list to keep.
template <class View>
IeventKinds IeventHeardBy()
{
    IeventKinds heard;
    if constexpr (!std::is_same_v<decltype(IeventHeard::BatchOwnerOf(&View::UpdateViews)), IeventView>) {
        heard.set();
        return heard;
    }
#define QUORLANE_IEVENT_HEARD(Event)                                                                                   \
    if constexpr (IeventHeard::Overrides<View, Event>()) heard.set(static_cast<std::size_t>(IeventKind::Event));
    QUORLANE_IEVENT_CATALOGUE(QUORLANE_IEVENT_HEARD)
#undef QUORLANE_IEVENT_HEARD
    return heard;
}
