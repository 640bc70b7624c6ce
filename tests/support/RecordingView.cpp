#include "RecordingView.h"

#include <algorithm>

void RecordingView::UpdateViews(const IeventBatch& events)
{
    m_batches.push_back(events);
    if (onBatch) onBatch();
    IeventView::UpdateViews(events);
}

std::vector<bool> RecordingView::BlockFlags() const
{
    std::vector<bool> flags;
    for (const IeventBatch& batch : m_batches) {
        for (const boost::shared_ptr<Ievent>& event : batch) {
            if (const auto* block = dynamic_cast<const IeventBlockDrawing*>(event.get()))
                flags.push_back(block->NeedBlock());
        }
    }
    return flags;
}

int RecordingView::Count(const std::string& name) const
{
    return static_cast<int>(std::count(m_names.begin(), m_names.end(), name));
}

void RecordingView::Record(const char* name, const Ievent& event)
{
    m_names.push_back(name);
    m_events.push_back(&event);
}

void RecordingView::Clear()
{
    m_batches.clear();
    m_names.clear();
    m_events.clear();
}
