// A flow: it owns its file nodes, tool nodes, transitions, its revision
// message sink and its state machines. Messages go first to the sink, then
// to the machines in creation order; the attached module's message object
// is put back after each message, so that a machine that changes it leaves
// no trace.
#pragma once

#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessToolObject.h"
#include "src/iprocess/iprocessRevisionMessageObjectMgr.h"

#include <memory>
#include <string>
#include <vector>

class IfileManager;
class IprocessSolvatoStateMachine;

class iprocessFlowImpl : public IprocessFlow {
public:
    // The flow's file nodes will listen to `fileManager` (none when null).
    iprocessFlowImpl(const std::string& name, IfileManager* fileManager);
    ~iprocessFlowImpl() override;

    // --- messages (QuorlaneStateMachine) ------------------------------------------------------------

    void FileModificationMessage(QuorlaneStateMachineStringMessage kind,
                                 boost::shared_ptr<IfileObjectEx> file) override;
    void FilesModificationMessage(QuorlaneStateMachineMultipleFilesMessages kind,
                                  const std::deque<IfileObject>& files) override;
    void UsedFileChanged(ImodelModule* module, ImodelRevContextImpl* revision, zorpaFileManagerTypes type) override;
    void InputFileListChanged(boost::shared_ptr<IfileObjectEx> file, ImodelFunctionType tool) override;
    void CDBOrderChanged(ImodelModule* module) override;
    void DeviceChangedMessage(const std::vector<imodelDeviceMembers>& differences, const ImodelDevice& device,
                              ImodelFunctionType* tool) override;
    void FunctionTypeMessage(QuorlaneStateMachineTypeMessage kind, ImodelFunctionType tool,
                             ImodelModule* module) override;
    void ForceToolStateMessage(imodelToolState state, ImodelFunctionType tool, ImodelModule* module,
                               boost::shared_ptr<IfileObjectEx> file) override;
    void Ide_pldFileDetected(KemletContentIf* content, boost::shared_ptr<IfileObjectEx> file) override;
    void UpdateFileDependentStates() override;
    void UpdateFileDependentStatesForModule(ImodelModule* module) override;
    // Kind 1 reaches the machines as a change of the synthesis tool, kind 2
    // as one of place and route, kind 3 as it is; other kinds reach none.
    void ComponentChanged(VyIfaces::IComponent* component, IDEVeyrunCallBack::InvalidateMessage kind) override;
    void AttachModule(ImodelModule* module) override;
    ImodelModule* DetachModule() override;

    // --- IprocessFlow ---------------------------------------------------------------------------------

    const FileNodes& GetFileObjects() const override { return m_fileNodes; }
    const ToolNodes& GetToolObjects() const override { return m_toolNodes; }
    IprocessFileObject* GetFileObject(zorpaFileManagerTypes type) const override;
    IprocessToolObject* GetToolObject(ImodelFunctionType tool) const override;
    IprocessFileObject* GetFirstUsedInputFile(ImodelFunctionType tool, ImodelModule* module,
                                              ImodelRevContext* revision) const override;
    bool BuildFlow() override;
    std::string GetName() const override { return m_name; }
    IprocessFlowObject* SwapMessageObject(IprocessFlowObject* object) override;
    void AddStateMachine(std::unique_ptr<QuorlaneStateMachine> machine) override;
    std::vector<QuorlaneStateMachine*> GetStateMachines() const override;
    bool GetTransition(int id, std::vector<IprocessToolToToolTransition*>& toolToTool,
                       std::vector<IprocessToolToFileTransition*>& toolToFile,
                       std::vector<IprocessFileToToolTransition*>& fileToTool,
                       std::vector<IprocessFileToFileTransition*>& fileToFile) const override;
    void SortFilesFlowOrder(FileNodes& nodes) const override;
    bool IsFileConcerningTool(const boost::shared_ptr<IfileObjectEx>&, IprocessToolObject*,
                              const std::vector<ImodelModule*>&) const override
    {
        return false;
    }
    bool FindToolPath(IprocessFileObject* target, ToolNodes& tools, ImodelModule* module) const override;
    void CreateStateMachines() override;
    void GetSupportedStates(std::vector<imodelSolvatoState>& out, ImodelModule* module) const override;
    bool GetFilesRequiredForState(imodelSolvatoState state, FileNodes& out, ImodelModule* module) const override;
    // The base test; a module naming another flow does not use this one.
    bool IsObjectUsed(ImodelModule* module, ImodelRevContext* revision) const override;

    // --- the graph's transitions, in creation order ------------------------------------------------

    std::vector<IprocessToolToFileTransition*> GetToolToFileTransitions() const { return View(m_toolToFile); }
    std::vector<IprocessFileToToolTransition*> GetFileToToolTransitions() const { return View(m_fileToTool); }
    std::vector<IprocessFileToFileTransition*> GetFileToFileTransitions() const { return View(m_fileToFile); }
    ImodelModule* GetAttachedModule() const { return m_module; }

    // Whether a source change leaves any unit it reaches with `rest` as its
    // design state, alone accessible, in every view, and changes nothing
    // else, tells nobody: no derived file of a unit is up to date, no tool
    // output is known, and every design state is checked against a tool
    // output. No view may hold a tool result either (the caller asks).
    bool BringsSourceChangesToRest(imodelSolvatoState& rest) const;

private:
    template <class T>
    static std::vector<T*> View(const std::vector<std::unique_ptr<T>>& owned)
    {
        std::vector<T*> view;
        view.reserve(owned.size());
        for (const auto& element : owned) view.push_back(element.get());
        return view;
    }
    // Makes the transitions of the graph (iprocessFlowGraph.cpp).
    void BuildTransitions();
    // Hands a message to the sink (when `toSink`) and to every machine,
    // putting the message object back afterwards when `keepObject`.
    template <class Deliver>
    void Forward(bool toSink, bool keepObject, const Deliver& deliver);
    bool IsAttached(const ImodelModule* module) const { return m_module && m_module == module; }
    bool WalkToolPath(IprocessFileObject* from, IprocessFileObject* target, ToolNodes& tools, ImodelModule* module,
                      std::vector<const IprocessFileObject*>& onPath) const;

    std::vector<std::unique_ptr<IprocessFileObject>> m_ownedFileNodes;
    FileNodes m_fileNodes;
    std::vector<std::unique_ptr<IprocessToolObject>> m_ownedToolNodes;
    ToolNodes m_toolNodes;
    std::vector<std::unique_ptr<IprocessToolToToolTransition>> m_toolToTool;
    std::vector<std::unique_ptr<IprocessToolToFileTransition>> m_toolToFile;
    std::vector<std::unique_ptr<IprocessFileToToolTransition>> m_fileToTool;
    std::vector<std::unique_ptr<IprocessFileToFileTransition>> m_fileToFile;
    // The machines that receive the messages, in creation order.
    std::vector<std::unique_ptr<QuorlaneStateMachine>> m_machines;
    // The last of m_machines once they are made.
    IprocessSolvatoStateMachine* m_designState = nullptr;
    std::vector<std::unique_ptr<QuorlaneStateMachine>> m_addedMachines;
    std::string m_name;
    ImodelModule* m_module = nullptr;
    std::unique_ptr<iprocessRevisionMessageObjectMgr> m_sink;
    IfileManager* m_fileManager;
};
