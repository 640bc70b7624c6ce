#include "RecordingView.h"

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

void RecordingView::Clear()
{
    m_batches.clear();
    m_names.clear();
}
