#include "ievent/IeventView.h"

#include "imodel/model/Imodel.h"

#include <array>
#include <atomic>

namespace {

// Per event class, how many views alive hear it. Constant-initialised, so a
// view made or destroyed while other statics are, counts soundly.
std::array<std::atomic<int>, kIeventKindCount> g_hearing{};

void Count(const IeventKinds& heard, int step)
{
    for (std::size_t kind = 0; kind < heard.size(); ++kind)
        if (heard.test(kind)) g_hearing[kind].fetch_add(step, std::memory_order_relaxed);
}

}  // namespace

IeventView::IeventView(Imodel* model) : IeventView(model, IeventKinds().set()) {}

IeventView::IeventView(Imodel* model, const IeventKinds& heard)
    : m_model(model ? model : &Imodel::GetInstance()), m_heard(heard)
{
    Count(m_heard, 1);
    m_model->RegisterView(this);
}

IeventView::~IeventView()
{
    if (Imodel::IsAlive(m_model)) m_model->UnregisterView(this);
    Count(m_heard, -1);
}

bool IeventView::Hearing(IeventKind kind)
{
    return g_hearing[static_cast<std::size_t>(kind)].load(std::memory_order_relaxed) > 0;
}

void IeventView::UpdateViews(const IeventBatch& events)
{
    for (const boost::shared_ptr<Ievent>& event : events) {
        if (event) event->Notify(this);
    }
}
