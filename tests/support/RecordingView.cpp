#include "RecordingView.h"

#include <algorithm>

void RecordingView::UpdateViews(const IeventBatch& events)
{
    m_batches.push_back(events);
    if (onBatch) onBatch();
    IeventView::UpdateViews(events);
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
