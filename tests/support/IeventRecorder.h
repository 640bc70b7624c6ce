// Test double of a view: records, for every event delivered to it, the name
// of the event class whose UpdateView was called, in delivery order, and
// keeps pointers to the events (valid while the sender keeps the batch).
#pragma once

#include "ievent/IeventClasses.h"

#include <string>
#include <vector>

class IeventRecorder : public IeventView {
public:
    explicit IeventRecorder(Imodel* model = nullptr) : IeventView(model) {}

#define IEVENT_RECORDER_UPDATE_VIEW(Event) \
    void UpdateView(const Event& event) override { Record(#Event, event); }
    QUORLANE_IEVENT_CATALOGUE(IEVENT_RECORDER_UPDATE_VIEW)
#undef IEVENT_RECORDER_UPDATE_VIEW

    const std::vector<std::string>& Names() const { return m_names; }
    const std::vector<const Ievent*>& Events() const { return m_events; }
    int Count(const std::string& name) const
    {
        int count = 0;
        for (const std::string& recorded : m_names)
            count += recorded == name ? 1 : 0;
        return count;
    }
    void Clear()
    {
        m_names.clear();
        m_events.clear();
    }

private:
    void Record(const char* name, const Ievent& event)
    {
        m_names.push_back(name);
        m_events.push_back(&event);
    }

    std::vector<std::string> m_names;
    std::vector<const Ievent*> m_events;
};
