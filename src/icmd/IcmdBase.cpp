#include "icmd/IcmdBase.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelMessages.h"

#include <ktwkspace/IIDEObject.h>

#include <utility>

IcmdBase::IcmdBase(bool bindToEnvironment)
{
    if (!bindToEnvironment || !Imodel::IsInteractiveMode()) return;
    ImodelHost* host = Imodel::GetInstance().GetHost();
    IIDEObject* environment = host ? host->GetIIDEObject() : nullptr;
    // The questions the command asks are owned by the environment's window.
    if (environment) SetEnvironment(environment->GetParentWindow());
}

IcmdBase::~IcmdBase() = default;

bool IcmdBase::CanExecuteNow(bool report) const
{
    if (!NeedProjectOpenedToExecute()) return true;
    const bool projectOpen = Imodel::GetInstance().GetDesignManager()->IsProjectOpen();
    if (!projectOpen && report) ImodelDisplayNO_PROJECT_LOADED_MSG(GetName().c_str());
    return projectOpen;
}

std::string IcmdBase::GetConditionStr()
{
    return NeedProjectOpenedToExecute() ? "a project must be opened" : AcmdBase::GetConditionStr();
}

void IcmdBase::AddEvent(boost::shared_ptr<Ievent> event) { m_pendingEvents.push_back(std::move(event)); }

void IcmdBase::NotifyAllViews()
{
    // Taken out first: what a view adds while the batch is delivered waits
    // for the next call instead of being lost or delivered twice.
    const IeventBatch batch = std::exchange(m_pendingEvents, IeventBatch());
    const unsigned start = ImodelStartLongProcess("Notify - NotifyAllViews");
    Imodel::GetInstance().SendEvents(batch, true);
    ImodelEndLongProcess(start);
}

void IcmdBase::NotifyEvent(boost::shared_ptr<Ievent> event) { Imodel::GetInstance().SendEvent(std::move(event), true); }
