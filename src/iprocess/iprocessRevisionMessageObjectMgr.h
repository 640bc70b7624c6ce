// The revision message sink of a flow: for every change message the flow
// handles, it records on the attached module the flow node the message
// concerns, so that the module's revision contexts can tell which of their
// revisions use that node while the message is processed
// (ImodelContextImpl::GetRevsUsed). A node the flow lacks is recorded as null.
#pragma once

#include "iprocess/QuorlaneStateMachine.h"

class IprocessFlow;
class IprocessFlowObject;

class iprocessRevisionMessageObjectMgr : public QuorlaneStateMachine {
public:
    explicit iprocessRevisionMessageObjectMgr(const IprocessFlow& flow) : m_flow(flow) {}

    void FileModificationMessage(QuorlaneStateMachineStringMessage kind,
                                 boost::shared_ptr<IfileObjectEx> file) override;
    void FilesModificationMessage(QuorlaneStateMachineMultipleFilesMessages kind,
                                  const std::deque<IfileObject>& files) override;
    void UsedFileChanged(ImodelModule* module, ImodelRevContextImpl* revision, zorpaFileManagerTypes type) override;
    void InputFileListChanged(boost::shared_ptr<IfileObjectEx>, ImodelFunctionType) override {}
    void CDBOrderChanged(ImodelModule*) override {}
    void DeviceChangedMessage(const std::vector<imodelDeviceMembers>&, const ImodelDevice&,
                              ImodelFunctionType*) override
    {
    }
    void FunctionTypeMessage(QuorlaneStateMachineTypeMessage kind, ImodelFunctionType tool,
                             ImodelModule* module) override;
    void ForceToolStateMessage(imodelToolState state, ImodelFunctionType tool, ImodelModule* module,
                               boost::shared_ptr<IfileObjectEx> file) override;
    void Ide_pldFileDetected(KemletContentIf* content, boost::shared_ptr<IfileObjectEx> file) override;
    void UpdateFileDependentStates() override {}
    void UpdateFileDependentStatesForModule(ImodelModule*) override {}
    void ComponentChanged(VyIfaces::IComponent*, IDEVeyrunCallBack::InvalidateMessage) override {}
    void AttachModule(ImodelModule* module) override { m_module = module; }
    // Clears the module's message object, then forgets the module.
    ImodelModule* DetachModule() override;

    // The attached module's message object; null without a module.
    IprocessFlowObject* GetMessageObject() const;
    // Sets it and returns the former one; nothing, and null, without a module.
    IprocessFlowObject* SetMessageObject(IprocessFlowObject* object);

private:
    const IprocessFlow& m_flow;
    ImodelModule* m_module = nullptr;
};
