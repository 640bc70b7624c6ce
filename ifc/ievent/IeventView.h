// The base of every receiver of change events. A view registers itself with
// a model when it is made and unregisters from that same model when it is
// destroyed; each UpdateView does nothing unless the view overrides it.
#pragma once

#include "ievent/Ievent.h"
#include "ievent/IeventCatalogue.h"

class Imodel;

class IeventView {
public:
    // Registers with `model`, or with the process-wide model when null.
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

private:
    Imodel* m_model;
};
