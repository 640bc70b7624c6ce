// Where change events meet their views: the view lists of a model, the
// delivery of event batches (directly, or through the host's dispatcher),
// and the nested drawing block.
#include "src/imodel/model/imodelImpl.h"

#include "ievent/IeventClasses.h"
#include "ievent/IeventModuleRegistry.h"
#include "ievent/IeventView.h"
#include "imodel/model/ImodelHost.h"

#include <boost/container/small_vector.hpp>
#include <boost/make_shared.hpp>

#include <algorithm>

namespace {

// One depth for the whole process: every model's views are told of the
// outermost block only.
int g_drawingBlockDepth = 0;

template <typename Registrations>
void EraseFirst(Registrations& views, const IeventView* view)
{
    const auto found =
        std::find_if(views.begin(), views.end(), [view](const auto& entry) { return entry.view == view; });
    if (found != views.end()) views.erase(found);
}

}  // namespace

bool imodelImpl::IsViewRegistered(const IeventView* view) const
{
    return std::any_of(m_views.begin(), m_views.end(), [view](const RegisteredView& entry) { return entry.view == view; });
}

void imodelImpl::RegisterView(IeventView* view)
{
    if (view != nullptr && !IsViewRegistered(view)) m_views.push_back({view, ++m_lastRegistration});
}

void imodelImpl::UnregisterView(IeventView* view)
{
    EraseFirst(m_views, view);
    // A view destroyed while the list is put aside must not come back.
    EraseFirst(m_suspendedViews, view);
}

void imodelImpl::SendEvent(boost::shared_ptr<Ievent> event, bool allowDeferred)
{
    // One event at a time is common (a closed project tells each unit's
    // removal so): the batch's block is kept for the next event, unless an
    // event is sent while the kept batch is being delivered.
    thread_local IeventBatch kept;
    thread_local bool delivering = false;
    if (delivering) {
        SendEvents(IeventBatch{std::move(event)}, allowDeferred);
        return;
    }
    struct Delivery {
        Delivery() { delivering = true; }
        ~Delivery()
        {
            kept.clear();
            delivering = false;
        }
    } delivery;
    kept.push_back(std::move(event));
    SendEvents(kept, allowDeferred);
}

void imodelImpl::SendEvents(const IeventBatch& events, bool allowDeferred)
{
    if (!IsAlive(this)) return;
    // A batch about a module being destroyed cannot wait for the host: the
    // module is gone by the time a deferred batch would be delivered.
    if (allowDeferred && IeventMustDeliverAtOnce(events)) allowDeferred = false;
    // The host's dispatcher is chosen by the process-wide model's settings,
    // whichever instance delivers.
    Imodel& processWide = GetInstance();
    if (IsAlive(&processWide) && processWide.SafeUpdateViews()) {
        ImodelHost* host = processWide.GetHost();
        if (host != nullptr && IsInteractiveMode() && allowDeferred) {
            host->DispatchEvents(events);
            return;
        }
    }
    // A view may register or unregister views, or go away, while it is
    // told: walk a copy and skip those no longer registered by the same
    // registration.
    // Held in place: a unit's removal is told this way one unit at a time.
    const boost::container::small_vector<RegisteredView, 4> views(m_views.begin(), m_views.end());
    for (const RegisteredView& entry : views) {
        if (!IsAlive(this)) return;
        if (std::find(m_views.begin(), m_views.end(), entry) != m_views.end()) entry.view->UpdateViews(events);
    }
}

void imodelImpl::SuspendViews()
{
    // Only the outermost suspension puts the list aside; an inner one must
    // not replace the saved list with the empty current one.
    if (m_suspendDepth++ > 0) return;
    m_suspendedViews = m_views;
    m_views.clear();
}

void imodelImpl::RestoreViews()
{
    if (m_suspendDepth == 0) return;
    if (--m_suspendDepth > 0) return;
    // Views registered while suspended are dropped with the current list.
    m_views = m_suspendedViews;
    m_suspendedViews.clear();
}

void imodelImpl::BlockDrawing(bool block)
{
    if (block) {
        if (g_drawingBlockDepth == 0) SendEvent(boost::make_shared<IeventBlockDrawing>(true), true);
        ++g_drawingBlockDepth;
        return;
    }
    // An unblock without a block is ignored, so the depth never goes below 0.
    if (g_drawingBlockDepth == 0) return;
    if (--g_drawingBlockDepth == 0) SendEvent(boost::make_shared<IeventBlockDrawing>(false), true);
}
