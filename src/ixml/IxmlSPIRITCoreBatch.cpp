#include "ixml/IxmlSPIRITCoreBatch.h"

#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelCommandServices.h"
#include "iprocess/QuorlaneStateMachine.h"

#include <zorpa/ZorpaModule.h>

namespace {

IxmlSPIRITCoreBatch*& Outermost()
{
    static IxmlSPIRITCoreBatch* batch = nullptr;
    return batch;
}

}  // namespace

IxmlSPIRITCoreBatch::IxmlSPIRITCoreBatch() : m_outer(Outermost() == nullptr)
{
    if (!m_outer) return;
    Outermost() = this;
    m_reading = Imodel::GetIsReadingProject();
    Imodel::GetInstance().SaveLibraries();
    m_hierarchyWasBlocked = Imodel::BlockDesignHierarchyDisplay(true, true);
}

IxmlSPIRITCoreBatch::~IxmlSPIRITCoreBatch()
{
    if (!m_outer) return;
    // The work below may add cores of its own: each as a batch of its own.
    Outermost() = nullptr;
    Imodel& model = Imodel::GetInstance();
    model.RestoreLibraries(true, zorpaSaveRestoreParams{false, true, false});
    if (!m_reading && !m_sources.empty())
        model.GetStateMachine()->FilesModificationMessage(QuorlaneFilesChanged, m_sources);
    Imodel::BlockDesignHierarchyDisplay(m_hierarchyWasBlocked, true);
    if (!m_hierarchyWasBlocked && !m_sources.empty())
        if (ImodelCommandServices* commands = ImodelCommandServices::Get()) commands->SetRootAgain();
    for (const std::function<void()>& work : m_deferred) work();
}

IxmlSPIRITCoreBatch* IxmlSPIRITCoreBatch::Current() { return Outermost(); }

void IxmlSPIRITCoreBatch::AddSources(const std::deque<IfileObject>& sources)
{
    m_sources.insert(m_sources.end(), sources.begin(), sources.end());
}

void IxmlSPIRITCoreBatch::Defer(std::function<void()> work) { m_deferred.push_back(std::move(work)); }
