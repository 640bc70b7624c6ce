// The base of every change event. An event is made by the code that changed
// the project, shared through boost::shared_ptr by the raiser, the batch and
// the host's dispatcher, and delivered to each view by double dispatch:
// Notify calls the view's UpdateView overload for the event's own class.
#pragma once

#include <boost/shared_ptr.hpp>

#include <vector>

class IeventView;

class Ievent {
public:
    virtual ~Ievent() = default;

    // Calls `view`'s UpdateView overload for the event's class.
    virtual void Notify(IeventView* view) = 0;

    // The view that raised the event, for raisers and receivers outside the
    // library; the library itself never sets it.
    void SetCaller(IeventView* caller) { m_caller = caller; }
    const IeventView* GetCaller() const { return m_caller; }

protected:
    Ievent() = default;
    Ievent(const Ievent&) = default;
    Ievent& operator=(const Ievent&) = default;

private:
    const IeventView* m_caller = nullptr;
};

// A batch of events, delivered in order.
using IeventBatch = std::vector<boost::shared_ptr<Ievent>>;
