#include "src/iprocess/iprocessManagerImpl.h"

#include "ievent/IeventClasses.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "iprocess/IprocessDisplay.h"
#include "iprocess/IprocessListener.h"
#include "itimer/ItimerManager.h"
#include "src/iprocess/iprocessFlowImpl.h"

#include <boost/make_shared.hpp>

iprocessManagerImpl::~iprocessManagerImpl() = default;

void iprocessManagerImpl::CreateDefaultFlow(ItimerManager& watcher, IfileManager* fileManager)
{
    AddFlow("DEFAULT", fileManager);
    watcher.Reset();
}

void iprocessManagerImpl::AddFlow(const std::string& name, IfileManager* fileManager)
{
    // Listed before it is built: the derived-file records its nodes make
    // for the project's files look the flow up.
    m_flows.push_back(std::make_unique<iprocessFlowImpl>(name, fileManager));
    m_flows.back()->BuildFlow();
    m_flows.back()->CreateStateMachines();
}

void iprocessManagerImpl::AttachModule(ImodelModule* module)
{
    if (module == m_attachedModule) return;
    m_attachedModule = module;
    UpdateProcessDisplay(true);
}

ImodelModule* iprocessManagerImpl::DetachModule()
{
    ImodelModule* detached = m_attachedModule;
    m_attachedModule = nullptr;
    UpdateProcessDisplay(true);
    return detached;
}

void iprocessManagerImpl::DetachIfCurrent(ImodelModule* module)
{
    if (module == m_attachedModule) DetachModule();
}

IprocessFlow* iprocessManagerImpl::GetFlowForModule(ImodelModule* module)
{
    ImodelRevContext* context = module ? module->GetContext() : nullptr;
    for (const auto& flow : m_flows)
        if (flow->IsObjectUsed(module, context)) return flow.get();
    return m_flows.empty() ? nullptr : m_flows.front().get();
}

IprocessFileObject* iprocessManagerImpl::GetFileObject(zorpaFileManagerTypes type, ImodelModule* module)
{
    IprocessFlow* flow = GetFlowForModule(module);
    return flow ? flow->GetFileObject(type) : nullptr;
}

IprocessToolObject* iprocessManagerImpl::GetToolObject(ImodelFunctionType tool, ImodelModule* module)
{
    IprocessFlow* flow = GetFlowForModule(module);
    return flow ? flow->GetToolObject(tool) : nullptr;
}

// One refresh request at a time: while one is pending, further changes are
// covered by it. A blocked display is marked pending without a request.
void iprocessManagerImpl::UpdateProcessDisplay(bool flag)
{
    if (!Imodel::IsInteractiveMode() || !m_display || m_display->IsRefreshPending()) return;
    m_display->SetRefreshPending(true);
    if (Imodel::GetUpdateProcessDisplay()) m_display->RequestRefresh(flag);
}

void iprocessManagerImpl::FlowOptionsChanged(bool updateStates)
{
    RouteDeferred();
    if (updateStates) UpdateFileDependentStates();
    UpdateProcessDisplay(false);
    Imodel::GetInstance().SendEvent(boost::make_shared<IeventDesignFlowOptionsChanged>(), true);
}

void iprocessManagerImpl::RefreshProcessDisplay()
{
    if (!m_display || !m_display->IsRefreshPending()) return;
    m_display->ShowModuleFlow(m_attachedModule, GetFlowForModule(m_attachedModule));
    m_display->SetRefreshPending(false);
}

std::vector<IprocessDisplayItem*> iprocessManagerImpl::AcceptingItems(ImodelModule* module, bool anyForNull) const
{
    std::vector<IprocessDisplayItem*> accepting;
    if (!m_display || !((anyForNull && !module) || m_display->GetShownModule() == module)) return accepting;
    IprocessDisplayItemOwner* owner = m_display->GetItemOwner();
    std::vector<IprocessDisplayItem*>* items = owner ? owner->GetItems() : nullptr;
    if (!items) return accepting;
    for (IprocessDisplayItem* item : *items)
        if (item && item->AcceptsMessages()) accepting.push_back(item);
    return accepting;
}

void iprocessManagerImpl::DisplayItemsMessage1(std::uint32_t value, ImodelModule* module)
{
    if (m_listener) m_listener->DisplayItemsMessage1(value, module);
    for (IprocessDisplayItem* item : AcceptingItems(module, false)) item->OnMessage1(value);
}

void iprocessManagerImpl::DisplayItemsMessage2(std::uint32_t value, ImodelModule* module)
{
    for (IprocessDisplayItem* item : AcceptingItems(module, true)) item->OnMessage2(value);
}

void iprocessManagerImpl::DisplayItemsMessage3(ImodelModule* module)
{
    for (IprocessDisplayItem* item : AcceptingItems(module, true)) item->OnMessage3();
}

std::unique_ptr<IprocessManager> IprocessCreateManager() { return std::make_unique<iprocessManagerImpl>(); }

void IprocessCreateDefaultFlow(IprocessManager& manager, ItimerManager& watcher, IfileManager* fileManager)
{
    static_cast<iprocessManagerImpl&>(manager).CreateDefaultFlow(watcher, fileManager);
}

// --- changes of a view ----------------------------------------------------------------

void iprocessManagerImpl::RedrawIfShown(const ImodelRevContextImpl& revision)
{
    if (!m_display) return;
    ImodelModule* module = revision.GetModule();
    const ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    if (context && module == m_display->GetShownModule() && context->IsCurRevContext(&revision))
        UpdateProcessDisplay(false);
}

void iprocessManagerImpl::DesignStateOfRevisionChanged(ImodelRevContextImpl* revision)
{
    if (revision == nullptr) return;
    if (m_listener) m_listener->DesignStateOfRevisionChanged(revision);
    RedrawIfShown(*revision);
}

void iprocessManagerImpl::ToolStateOfRevisionChanged(ImodelFunctionType tool, ImodelRevContextImpl* revision)
{
    if (revision == nullptr) return;
    if (m_listener) m_listener->ToolStateOfRevisionChanged(tool, revision);
    RedrawIfShown(*revision);
}

void iprocessManagerImpl::UsedFileOfRevisionChanged(zorpaFileManagerTypes type, ImodelRevContextImpl* revision)
{
    if (revision == nullptr) return;
    if (m_listener) m_listener->UsedFileOfRevisionChanged(type, revision);
    RedrawIfShown(*revision);
}
