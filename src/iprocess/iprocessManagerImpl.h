// The process manager. It owns the flows and finds the flow of a module;
// routing change messages to the flows comes with the flows' state
// machines: until then a change message is dropped. The attached module,
// the host's display and listener are kept for real.
#pragma once

#include "iprocess/IprocessManager.h"

#include <memory>
#include <string>
#include <vector>

class IfileManager;
class ItimerManager;

class iprocessManagerImpl : public IprocessManager {
public:
    iprocessManagerImpl() = default;
    ~iprocessManagerImpl() override;

    // Creates and builds the flow "DEFAULT", whose file nodes listen to
    // `fileManager`, then resets the model's file watcher, whose filters
    // depend on the flow.
    void CreateDefaultFlow(ItimerManager& watcher, IfileManager* fileManager);
    void AddFlow(const std::string& name, IfileManager* fileManager);

    void FileModificationMessage(QuorlaneStateMachineStringMessage, boost::shared_ptr<IfileObjectEx>) override {}
    void FilesModificationMessage(QuorlaneStateMachineMultipleFilesMessages, const std::deque<IfileObject>&) override {}
    void UsedFileChanged(ImodelModule*, ImodelRevContextImpl*, zorpaFileManagerTypes) override {}
    void InputFileListChanged(boost::shared_ptr<IfileObjectEx> file, ImodelFunctionType tool) override;
    void CDBOrderChanged(ImodelModule*) override {}
    void FunctionTypeMessage(QuorlaneStateMachineTypeMessage, ImodelFunctionType, ImodelModule*) override {}
    void ForceToolStateMessage(imodelToolState, ImodelFunctionType, ImodelModule*,
                               boost::shared_ptr<IfileObjectEx>) override
    {
    }
    void Ide_pldFileDetected(KemletContentIf* content, boost::shared_ptr<IfileObjectEx> file) override;
    void UpdateFileDependentStates() override {}
    void UpdateFileDependentStatesForModule(ImodelModule*) override {}
    void AttachModule(ImodelModule* module) override;
    ImodelModule* DetachModule() override;

    IprocessFlow* GetFlowForModule(ImodelModule* module) override;
    IprocessFileObject* GetFileObject(zorpaFileManagerTypes type, ImodelModule* module) override;
    IprocessToolObject* GetToolObject(ImodelFunctionType tool, ImodelModule* module) override;
    ImodelModule* GetCurrentModule() override { return m_attachedModule; }

    void UpdateProcessDisplay(bool flag) override;
    void FlowOptionsChanged(bool updateStates) override;
    void RefreshProcessDisplay() override;
    void ConstraintListChanged(ImodelModule* module, std::uint32_t value, ImodelFunctionType tool) override;
    void DetachIfCurrent(ImodelModule* module) override;
    void SetProcessDisplay(IprocessDisplay* display) override { m_display = display; }
    IprocessDisplay* GetProcessDisplay() override { return m_display; }
    void SetListener(IprocessListener* listener) override { m_listener = listener; }

    void DesignStateOfRevisionChanged(ImodelRevContextImpl*) override {}
    void ToolStateOfRevisionChanged(ImodelFunctionType, ImodelRevContextImpl*) override {}
    void UsedFileOfRevisionChanged(zorpaFileManagerTypes, ImodelRevContextImpl*) override {}

private:
    std::vector<std::unique_ptr<IprocessFlow>> m_flows;
    ImodelModule* m_attachedModule = nullptr;
    IprocessListener* m_listener = nullptr;
    IprocessDisplay* m_display = nullptr;
};
