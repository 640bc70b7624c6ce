#include "src/iprocess/iprocessManagerImpl.h"

#include "ievent/IeventClasses.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelContextImpl.h"
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
}

void iprocessManagerImpl::InputFileListChanged(boost::shared_ptr<IfileObjectEx> file, ImodelFunctionType tool)
{
    if (m_listener) m_listener->InputFileListChanged(file, tool);
}

void iprocessManagerImpl::Ide_pldFileDetected(KemletContentIf* content, boost::shared_ptr<IfileObjectEx> file)
{
    if (m_listener) m_listener->Ide_pldFileDetected(content, file);
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

void iprocessManagerImpl::ConstraintListChanged(ImodelModule* module, std::uint32_t value, ImodelFunctionType tool)
{
    if (m_listener) m_listener->ConstraintListChanged(module, value, tool);
}

std::unique_ptr<IprocessManager> IprocessCreateManager() { return std::make_unique<iprocessManagerImpl>(); }

void IprocessCreateDefaultFlow(IprocessManager& manager, ItimerManager& watcher, IfileManager* fileManager)
{
    static_cast<iprocessManagerImpl&>(manager).CreateDefaultFlow(watcher, fileManager);
}
