#include "src/iprocess/iprocessRevisionMessageObjectMgr.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelModule.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessToolObject.h"

void iprocessRevisionMessageObjectMgr::FileModificationMessage(QuorlaneStateMachineStringMessage kind,
                                                               boost::shared_ptr<IfileObjectEx> file)
{
    if ((kind == QuorlaneFileChanged || kind == QuorlaneFileRemoved) && file)
        SetMessageObject(m_flow.GetFileObject(file->GetFileSpecificType()));
}

void iprocessRevisionMessageObjectMgr::FilesModificationMessage(QuorlaneStateMachineMultipleFilesMessages kind,
                                                                const std::deque<IfileObject>&)
{
    if (kind == QuorlaneFilesChanged) SetMessageObject(m_flow.GetFileObject(zorpaFT_HDL));
}

void iprocessRevisionMessageObjectMgr::UsedFileChanged(ImodelModule*, ImodelRevContextImpl*, zorpaFileManagerTypes type)
{
    SetMessageObject(m_flow.GetFileObject(type));
}

void iprocessRevisionMessageObjectMgr::FunctionTypeMessage(QuorlaneStateMachineTypeMessage, ImodelFunctionType tool,
                                                           ImodelModule*)
{
    SetMessageObject(m_flow.GetToolObject(tool));
}

void iprocessRevisionMessageObjectMgr::ForceToolStateMessage(imodelToolState, ImodelFunctionType tool, ImodelModule*,
                                                             boost::shared_ptr<IfileObjectEx>)
{
    SetMessageObject(m_flow.GetToolObject(tool));
}

void iprocessRevisionMessageObjectMgr::Ide_pldFileDetected(KemletContentIf*, boost::shared_ptr<IfileObjectEx>)
{
    SetMessageObject(m_flow.GetToolObject(idePALLADOR));
}

ImodelModule* iprocessRevisionMessageObjectMgr::DetachModule()
{
    if (m_module) m_module->SetMessageObject(nullptr);
    ImodelModule* detached = m_module;
    m_module = nullptr;
    return detached;
}

IprocessFlowObject* iprocessRevisionMessageObjectMgr::GetMessageObject() const
{
    return m_module ? m_module->GetMessageObject() : nullptr;
}

IprocessFlowObject* iprocessRevisionMessageObjectMgr::SetMessageObject(IprocessFlowObject* object)
{
    if (!m_module) return nullptr;
    IprocessFlowObject* former = m_module->GetMessageObject();
    m_module->SetMessageObject(object);
    return former;
}
