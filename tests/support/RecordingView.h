// Test double of a view: keeps every batch it is told of, and the name of
// the event class of every UpdateView called with the event itself, in order
// (the events stay valid while the batches are kept). Registers with the
// given model (the process-wide one when null) like any view.
#pragma once

#include <memory>

#include "ievent/IeventClasses.h"
#include "ievent/IeventView.h"

#include <functional>
#include <string>
#include <vector>

class RecordingView : public IeventView {
public:
    explicit RecordingView(Imodel* model = nullptr) : IeventView(model) {}
    explicit RecordingView(const std::unique_ptr<Imodel>& model) : IeventView(model.get()) {}

    // Runs at the start of each UpdateViews, before the events are told:
    // for views that act while a batch is delivered.
    std::function<void()> onBatch;

    void UpdateViews(const IeventBatch& events) override;

#define RECORDING_VIEW_UPDATE(Event)                                                                                   \
    void UpdateView(const Event& event) override { Record(#Event, event); }
    QUORLANE_IEVENT_CATALOGUE(RECORDING_VIEW_UPDATE)
#undef RECORDING_VIEW_UPDATE

    // The batches in the order received (the events are shared, not copied).
    const std::vector<IeventBatch>& Batches() const { return m_batches; }
    // The event class of each UpdateView call, in order.
    const std::vector<std::string>& Names() const { return m_names; }
    // The event of each UpdateView call, in order.
    const std::vector<const Ievent*>& Events() const { return m_events; }
    // How many UpdateView calls were for the event class `name`.
    int Count(const std::string& name) const;
    void Clear();

private:
    void Record(const char* name, const Ievent& event);

    std::vector<IeventBatch> m_batches;
    std::vector<std::string> m_names;
    std::vector<const Ievent*> m_events;
};
