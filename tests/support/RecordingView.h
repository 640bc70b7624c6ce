// Test double of a view: keeps every batch it is told of and the name of
// every UpdateView called, in order. Registers with the given model (the
// process-wide one when null) like any view.
#pragma once

#include "ievent/IeventClasses.h"
#include "ievent/IeventView.h"

#include <functional>
#include <string>
#include <vector>

class RecordingView : public IeventView {
public:
    explicit RecordingView(Imodel* model = nullptr) : IeventView(model) {}

    // Runs at the start of each UpdateViews, before the events are told:
    // for views that act while a batch is delivered.
    std::function<void()> onBatch;

    void UpdateViews(const IeventBatch& events) override;

#define RECORDING_VIEW_UPDATE(Event) \
    void UpdateView(const Event&) override { m_names.push_back(#Event); }
    QUORLANE_IEVENT_CATALOGUE(RECORDING_VIEW_UPDATE)
#undef RECORDING_VIEW_UPDATE

    // The batches in the order received (the events are shared, not copied).
    const std::vector<IeventBatch>& Batches() const { return m_batches; }
    // The event class of each UpdateView call, in order.
    const std::vector<std::string>& Names() const { return m_names; }
    // The flag of each IeventBlockDrawing received, in order.
    std::vector<bool> BlockFlags() const;
    void Clear();

private:
    std::vector<IeventBatch> m_batches;
    std::vector<std::string> m_names;
};
