#include "src/iprocess/iprocessFlowImpl.h"

#include "imodel/design/ImodelModule.h"
#include "imodel/views/ImodelContextImpl.h"
#include "src/iprocess/iprocessFlowBuilders.h"
#include "src/iprocess/iprocessStateMachines.h"

#include <algorithm>
#include <unordered_map>

iprocessFlowImpl::iprocessFlowImpl(const std::string& name, IfileManager* fileManager)
    : m_name(name), m_sink(std::make_unique<iprocessRevisionMessageObjectMgr>(*this)), m_fileManager(fileManager)
{
}

iprocessFlowImpl::~iprocessFlowImpl()
{
    // Nodes and transitions refer to one another by plain pointers: all of
    // them go together, the nodes first (they leave the file manager).
    m_sink.reset();
    m_toolNodes.clear();
    m_ownedToolNodes.clear();
    m_fileNodes.clear();
    m_ownedFileNodes.clear();
    m_fileToFile.clear();
    m_fileToTool.clear();
    m_toolToTool.clear();
    m_toolToFile.clear();
    m_addedMachines.clear();
    m_machines.clear();
}

bool iprocessFlowImpl::BuildFlow()
{
    if (!m_fileNodes.empty() || !m_toolNodes.empty()) return true;
    IprocessCreateFlowFileObjects(m_ownedFileNodes, m_fileManager);
    m_fileNodes = View(m_ownedFileNodes);
    IprocessCreateFlowToolObjects(m_ownedToolNodes);
    m_toolNodes = View(m_ownedToolNodes);
    BuildTransitions();
    // The files the project held before the flow was made: their records
    // need the whole graph.
    for (IprocessFileObject* node : m_fileNodes) node->AdoptProjectFiles();
    return true;
}

// --- messages ------------------------------------------------------------------------------------------

template <class Deliver>
void iprocessFlowImpl::Forward(bool toSink, bool keepObject, const Deliver& deliver)
{
    IprocessFlowObject* kept = keepObject ? m_sink->GetMessageObject() : nullptr;
    if (toSink) deliver(*m_sink);
    for (const auto& machine : m_machines) deliver(*machine);
    if (keepObject) m_sink->SetMessageObject(kept);
}

void iprocessFlowImpl::FileModificationMessage(QuorlaneStateMachineStringMessage kind,
                                               boost::shared_ptr<IfileObjectEx> file)
{
    Forward(true, true, [&](QuorlaneStateMachine& machine) { machine.FileModificationMessage(kind, file); });
}

void iprocessFlowImpl::FilesModificationMessage(QuorlaneStateMachineMultipleFilesMessages kind,
                                                const std::deque<IfileObject>& files)
{
    if (!m_module) return;
    Forward(true, true, [&](QuorlaneStateMachine& machine) { machine.FilesModificationMessage(kind, files); });
}

void iprocessFlowImpl::UsedFileChanged(ImodelModule* module, ImodelRevContextImpl* revision, zorpaFileManagerTypes type)
{
    if (!IsAttached(module)) return;
    Forward(true, true, [&](QuorlaneStateMachine& machine) { machine.UsedFileChanged(module, revision, type); });
}

void iprocessFlowImpl::InputFileListChanged(boost::shared_ptr<IfileObjectEx> file, ImodelFunctionType tool)
{
    if (!m_module) return;
    Forward(true, true, [&](QuorlaneStateMachine& machine) { machine.InputFileListChanged(file, tool); });
}

void iprocessFlowImpl::CDBOrderChanged(ImodelModule* module)
{
    if (!m_module) return;
    Forward(true, true, [&](QuorlaneStateMachine& machine) { machine.CDBOrderChanged(module); });
}

void iprocessFlowImpl::DeviceChangedMessage(const std::vector<imodelDeviceMembers>& differences,
                                            const ImodelDevice& device, ImodelFunctionType* tool)
{
    if (!m_module) return;
    Forward(true, true,
            [&](QuorlaneStateMachine& machine) { machine.DeviceChangedMessage(differences, device, tool); });
}

void iprocessFlowImpl::FunctionTypeMessage(QuorlaneStateMachineTypeMessage kind, ImodelFunctionType tool,
                                           ImodelModule* module)
{
    if (!m_module) return;
    Forward(true, true, [&](QuorlaneStateMachine& machine) { machine.FunctionTypeMessage(kind, tool, module); });
}

void iprocessFlowImpl::ForceToolStateMessage(imodelToolState state, ImodelFunctionType tool, ImodelModule* module,
                                             boost::shared_ptr<IfileObjectEx> file)
{
    if (!IsAttached(module)) return;
    Forward(true, true,
            [&](QuorlaneStateMachine& machine) { machine.ForceToolStateMessage(state, tool, module, file); });
}

void iprocessFlowImpl::Ide_pldFileDetected(KemletContentIf* content, boost::shared_ptr<IfileObjectEx> file)
{
    if (!m_module) return;
    Forward(true, true, [&](QuorlaneStateMachine& machine) { machine.Ide_pldFileDetected(content, file); });
}

void iprocessFlowImpl::UpdateFileDependentStates()
{
    if (!m_module) return;
    Forward(false, false, [](QuorlaneStateMachine& machine) { machine.UpdateFileDependentStates(); });
}

void iprocessFlowImpl::UpdateFileDependentStatesForModule(ImodelModule* module)
{
    Forward(false, false, [&](QuorlaneStateMachine& machine) { machine.UpdateFileDependentStatesForModule(module); });
}

void iprocessFlowImpl::ComponentChanged(VyIfaces::IComponent* component, IDEVeyrunCallBack::InvalidateMessage kind)
{
    if (!m_module) return;
    switch (kind) {
    case IDEVeyrunCallBack::InvalidateSynthesis:
        Forward(false, false, [](QuorlaneStateMachine& machine) {
            machine.FunctionTypeMessage(QuorlaneToolChangedForModule, ideSYNTHESIS, nullptr);
        });
        break;
    case IDEVeyrunCallBack::InvalidateLayout:
        Forward(false, false, [](QuorlaneStateMachine& machine) {
            machine.FunctionTypeMessage(QuorlaneToolChangedForModule, idePALLADOR, nullptr);
        });
        break;
    case IDEVeyrunCallBack::InvalidateComponent:
        Forward(false, false, [component](QuorlaneStateMachine& machine) {
            machine.ComponentChanged(component, IDEVeyrunCallBack::InvalidateComponent);
        });
        break;
    default:
        break;
    }
}

void iprocessFlowImpl::CreateStateMachines()
{
    if (!m_machines.empty()) return;
    m_machines.push_back(std::make_unique<IprocessFileStateMachine>(this));
    for (IprocessToolObject* tool : m_toolNodes) {
        const ImodelFunctionType type = tool->GetToolType();
        if (Iprocess_NToN_LogFile_StateMachine::IsToolSupported(type))
            m_machines.push_back(std::make_unique<Iprocess_NToN_LogFile_StateMachine>(this, tool));
        else if (IprocessToolStateMachine::IsToolSupported(type))
            m_machines.push_back(std::make_unique<IprocessToolStateMachine>(this, tool));
        else if (IprocessStimulusStateMachine::IsToolSupported(type))
            m_machines.push_back(std::make_unique<IprocessStimulusStateMachine>(this, tool));
    }
    auto designState = std::make_unique<IprocessSolvatoStateMachine>(this, Pre_Synthesis);
    designState->AddConstraint(Post_Synthesis, GetToolObject(ideSYNTHESIS));
    designState->AddConstraint(Post_Phy_Synthesis, GetToolObject(idePHYSYNTH));
    designState->AddConstraint(Post_Layout, GetToolObject(idePALLADOR));
    m_designState = designState.get();
    m_machines.push_back(std::move(designState));
}

bool iprocessFlowImpl::BringsSourceChangesToRest(imodelSolvatoState& rest) const
{
    if (!m_designState || !m_designState->ChecksOutputsOnly()) return false;
    for (const IprocessFileObject* node : m_fileNodes)
        if (!node->AreKnownFilesOfUnitsOutOfDate()) return false;
    for (const IprocessToolObject* tool : m_toolNodes) {
        IprocessFileObject::Nodes outputs;
        tool->GetOutputFiles(&outputs);
        if (std::any_of(outputs.begin(), outputs.end(),
                        [](const IprocessFileObject* output) { return output->KnowsAnyFile(); }))
            return false;
    }
    rest = m_designState->GetDefaultState();
    return true;
}

void iprocessFlowImpl::GetSupportedStates(std::vector<imodelSolvatoState>& out, ImodelModule* module) const
{
    if (m_designState) m_designState->GetSupportedStates(out, module);
}

bool iprocessFlowImpl::GetFilesRequiredForState(imodelSolvatoState state, FileNodes& out, ImodelModule* module) const
{
    return m_designState && m_designState->GetFilesRequiredForState(state, out, module);
}

void iprocessFlowImpl::AttachModule(ImodelModule* module)
{
    m_module = module;
    Forward(true, false, [&](QuorlaneStateMachine& machine) { machine.AttachModule(module); });
}

ImodelModule* iprocessFlowImpl::DetachModule()
{
    ImodelModule* detached = m_module;
    m_module = nullptr;
    Forward(true, false, [](QuorlaneStateMachine& machine) { machine.DetachModule(); });
    return detached;
}

IprocessFlowObject* iprocessFlowImpl::SwapMessageObject(IprocessFlowObject* object)
{
    return m_sink->SetMessageObject(object);
}

void iprocessFlowImpl::AddStateMachine(std::unique_ptr<QuorlaneStateMachine> machine)
{
    if (machine) m_addedMachines.push_back(std::move(machine));
}

std::vector<QuorlaneStateMachine*> iprocessFlowImpl::GetStateMachines() const { return View(m_addedMachines); }

// --- lookups -------------------------------------------------------------------------------------------

IprocessFileObject* iprocessFlowImpl::GetFileObject(zorpaFileManagerTypes type) const
{
    const auto found = std::find_if(m_fileNodes.begin(), m_fileNodes.end(),
                                    [type](const IprocessFileObject* node) { return node->GetFileType() == type; });
    return found == m_fileNodes.end() ? nullptr : *found;
}

IprocessToolObject* iprocessFlowImpl::GetToolObject(ImodelFunctionType tool) const
{
    const auto found = std::find_if(m_toolNodes.begin(), m_toolNodes.end(),
                                    [tool](const IprocessToolObject* node) { return node->GetToolType() == tool; });
    return found == m_toolNodes.end() ? nullptr : *found;
}

IprocessFileObject* iprocessFlowImpl::GetFirstUsedInputFile(ImodelFunctionType tool, ImodelModule* module,
                                                            ImodelRevContext* revision) const
{
    const IprocessToolObject* node = GetToolObject(tool);
    if (!node) return nullptr;
    FileNodes inputs;
    node->GetAllUsedInputFiles(inputs, module, revision);
    return inputs.empty() ? nullptr : inputs.front();
}

bool iprocessFlowImpl::GetTransition(int id, std::vector<IprocessToolToToolTransition*>& toolToTool,
                                     std::vector<IprocessToolToFileTransition*>& toolToFile,
                                     std::vector<IprocessFileToToolTransition*>& fileToTool,
                                     std::vector<IprocessFileToFileTransition*>& fileToFile) const
{
    const auto find = [id](const auto& owned, auto& out) {
        for (const auto& transition : owned) {
            if (transition->GetID() == id) {
                out.push_back(transition.get());
                return true;
            }
        }
        return false;
    };
    return find(m_toolToTool, toolToTool) || find(m_toolToFile, toolToFile) || find(m_fileToTool, fileToTool) ||
           find(m_fileToFile, fileToFile);
}

void iprocessFlowImpl::SortFilesFlowOrder(FileNodes& nodes) const
{
    std::unordered_map<const IprocessFileObject*, std::size_t> positions;
    for (std::size_t position = 0; position < m_fileNodes.size(); ++position)
        positions.emplace(m_fileNodes[position], position);
    const auto positionOf = [&positions](const IprocessFileObject* node) {
        const auto found = positions.find(node);
        return found == positions.end() ? positions.size() : found->second;
    };
    std::stable_sort(nodes.begin(), nodes.end(), [&](const IprocessFileObject* a, const IprocessFileObject* b) {
        return positionOf(a) < positionOf(b);
    });
}

bool iprocessFlowImpl::FindToolPath(IprocessFileObject* target, ToolNodes& tools, ImodelModule* module) const
{
    IprocessFileObject* sources = GetFileObject(zorpaFT_HDL);
    if (!sources) return false;
    std::vector<const IprocessFileObject*> onPath;
    return WalkToolPath(sources, target, tools, module, onPath);
}

bool iprocessFlowImpl::WalkToolPath(IprocessFileObject* from, IprocessFileObject* target, ToolNodes& tools,
                                    ImodelModule* module, std::vector<const IprocessFileObject*>& onPath) const
{
    if (!from || !target || !module) return false;
    if (from == target) return true;
    if (std::find(onPath.begin(), onPath.end(), from) != onPath.end()) return false;
    onPath.push_back(from);
    bool found = false;
    std::vector<IprocessFileToFileTransition*> conversions;
    from->GetAutoProcessingOutputs(conversions, module);
    for (const IprocessFileToFileTransition* conversion : conversions) {
        for (IprocessFileObject* next : conversion->GetTosList())
            if ((found = WalkToolPath(next, target, tools, module, onPath))) break;
        if (found) break;
    }
    if (!found) {
        ImodelContextImpl* context = module->GetContext();
        ToolNodes readers;
        from->AddToToolsList(readers, module, context ? context->GetCurRevContext() : nullptr);
        for (IprocessToolObject* tool : readers) {
            if (std::find(tools.begin(), tools.end(), tool) != tools.end()) continue;
            tools.push_back(tool);
            FileNodes outputs;
            tool->GetOutputFiles(&outputs);
            for (IprocessFileObject* output : outputs)
                if ((found = WalkToolPath(output, target, tools, module, onPath))) break;
            if (found) break;
            tools.pop_back();
        }
    }
    onPath.pop_back();
    return found;
}

bool iprocessFlowImpl::IsObjectUsed(ImodelModule* module, ImodelRevContext* revision) const
{
    if (!IprocessFlowObject::IsObjectUsed(module, revision)) return false;
    if (!module) return true;
    const std::string flowName = module->GetFlowName();
    return flowName.empty() || flowName == m_name;
}
