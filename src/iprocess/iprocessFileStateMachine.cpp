// The common base of the state machines and the file-state machine: file
// states are kept current by invalidating what lies downstream of a change.
#include "src/iprocess/iprocessStateMachines.h"

#include "ifile/IfileObjectEx.h"
#include "ifile/IfilePredecessorObject.h"
#include "imodel/design/ImodelHierarchyFiles.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessToolObject.h"
#include "itool/ItoolConstraintsManager.h"
#include "itool/ItoolPallador.h"
#include "itool/ItoolWithConstraints.h"
#include "src/iprocess/iprocessInvalidation.h"

#include <kemlet/KemletContentIf.h>

#include <algorithm>

using Entry = boost::shared_ptr<IfileObjectEx>;

// --- the base ------------------------------------------------------------------------------------

ImodelModule* IprocessParentStateMachine::DetachModule()
{
    ImodelModule* detached = m_module;
    m_module = nullptr;
    return detached;
}

ImodelContextImpl* IprocessParentStateMachine::Context() const { return m_module ? m_module->GetContext() : nullptr; }

bool& IprocessParentStateMachine::PlainInvalidation()
{
    static bool plain = false;
    return plain;
}

bool IprocessParentStateMachine::HasNoToolResultLeft() const
{
    // A source change reaches every unit above the files it names, batch
    // after batch: most of them lost their results to an earlier change.
    const ImodelContextImpl* context = Context();
    if (PlainInvalidation() || !context) return false;
    for (const ImodelRevContextImpl* revision : context->GetAllRevs())
        if (!revision->GetToolStatesManager().IsInDefaultState()) return false;
    return true;
}

bool IprocessParentStateMachine::HasNothingLeftToInvalidate() const
{
    if (!m_flow || !m_module || !HasNoToolResultLeft()) return false;
    const std::string key = IprocessFileObject::UnitKeyOfModule(*m_module);
    const auto& nodes = m_flow->GetFileObjects();
    return std::all_of(nodes.begin(), nodes.end(), [&](const IprocessFileObject* node) {
        return node->AreKnownFilesOfModuleOutOfDate(m_module, key);
    });
}

IprocessMessageObjectScope::IprocessMessageObjectScope(IprocessFlow* flow, IprocessFlowObject* object)
    : m_flow(flow), m_former(flow ? flow->SwapMessageObject(object) : nullptr)
{
}

IprocessMessageObjectScope::~IprocessMessageObjectScope()
{
    if (m_flow) m_flow->SwapMessageObject(m_former);
}

void IprocessParentStateMachine::PropagateFrom(const Entry& file, const IprocessInvalidationRevisionFilter* filter)
{
    if (!file || !m_flow) return;
    IprocessInvalidationObject_Propagate walk(file, m_flow->GetFileObject(file->GetFileSpecificType()), m_module,
                                              filter);
    walk.GetAllFilesAndTools();
    walk.InvalidateAll();
}

void IprocessParentStateMachine::InvalidateFrom(IprocessFileObject* node)
{
    if (!node) return;
    IprocessInvalidationObject_All walk(m_module, true, nullptr);
    walk.GetAllFilesAndTools(node);
    walk.InvalidateAll();
}

void IprocessParentStateMachine::InvalidateFrom(IprocessToolObject* tool)
{
    if (!tool) return;
    IprocessInvalidationObject_All walk(m_module, true, nullptr);
    walk.GetAllFilesAndTools(tool);
    walk.InvalidateAll();
}

void IprocessParentStateMachine::ToolInputModified(const Entry& file, IprocessToolObject* tool, bool invalidate)
{
    if (!file || !m_module || !m_flow || !tool) return;
    IprocessMessageObjectScope asMessage(m_flow, tool);
    IprocessFileObject* node = m_flow->GetFileObject(file->GetFileSpecificType());
    if (invalidate) {
        IprocessInvalidationObject_Propagate walk(file, node, m_module, nullptr);
        walk.GetAllFilesAndTools(tool);
        walk.InvalidateAll();
        return;
    }
    if (ItoolWithConstraints* constraints = ItoolConstraintsManager::GetTool(tool->GetToolType()))
        constraints->ConstraintFileChanged(m_module, file, node, tool);
}

void IprocessParentStateMachine::ToolInputModified(const Entry& file, bool invalidate)
{
    if (!m_flow) return;
    for (IprocessToolObject* tool : m_flow->GetToolObjects()) ToolInputModified(file, tool, invalidate);
}

ImodelRevContextImpl* IprocessGetFileContext(const IfileObject& file, ImodelModule* module)
{
    const int number = file.GetRevNum();
    ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    if (number == -1 || !context) return nullptr;
    const ImodelRevisionManager* views = Imodel::GetInstance().GetRevisionManager();
    return views ? context->FindRevision(views->GetRevisionNameByNumber(number)) : nullptr;
}

// --- file states ---------------------------------------------------------------------------------

void IprocessFileStateMachine::FileModificationMessage(QuorlaneStateMachineStringMessage kind, Entry file)
{
    if (!file || !m_module || !m_flow) return;
    IprocessFileObject* node = m_flow->GetFileObject(file->GetFileSpecificType());
    switch (kind) {
    case QuorlaneFileChanged:
        ContentChanged(file);
        break;
    case QuorlaneFileRemoved:
        if (node && node->IsOptionalConstraintFile()) ToolInputModified(file, true);
        break;
    case QuorlanePackageFileChanged:
        for (IprocessToolObject* tool : m_flow->GetToolObjects()) {
            if (!tool->IsPackageDepending() || !m_flow->IsFileConcerningTool(file, tool, {m_module})) continue;
            IprocessMessageObjectScope asMessage(m_flow, tool);
            InvalidateFrom(tool);
        }
        break;
    case QuorlaneConstraintFileChanged:
        ToolInputModified(file, true);
        break;
    }
}

void IprocessFileStateMachine::ContentChanged(const Entry& file)
{
    IprocessFileObject* node = m_flow->GetFileObject(file->GetFileSpecificType());
    if (!node) return;
    if (node->IsOptionalConstraintFile()) {
        Imodel::GetInstance().GetConstraintsManager().OptionalConstraintFileChanged(*file, node, 0, m_module);
        ToolInputModified(file, true);
    }
    // A derived file is no fresher than what it was made from (through the
    // database, from what the database was made from).
    if (const IfilePredecessorObject* record = file->GetPredecessorObject();
        record && file->GetFileState() == imodelFileUpToDate) {
        Entry source = record->GetPredecessorFile();
        if (source && source->GetFileSpecificType() == zorpaFT_ADB) {
            const IfilePredecessorObject* adbRecord = source->GetPredecessorObject();
            source = adbRecord ? adbRecord->GetPredecessorFile() : Entry();
        }
        if (source && source->GetFileState() == imodelFileOutOfDate) file->SetFileState(imodelFileOutOfDate);
    }
    // ... nor than the constraint files of the tools that made it.
    if (file->GetFileState() == imodelFileUpToDate) {
        IprocessFileObject::Tools tools;
        node->GetAlUsedToolsPrecedingYou(tools, m_module);
        ImodelContextImpl* context = Context();
        ImodelRevContextImpl* revision = context ? context->GetCurRevContext() : nullptr;
        for (IprocessToolObject* tool : tools) {
            ItoolWithConstraints* constraints = ItoolConstraintsManager::GetTool(tool->GetToolType());
            if (!constraints) continue;
            std::vector<Entry> files;
            constraints->GetConstraintFiles(files, m_module, revision);
            for (const Entry& constraint : files) {
                if (constraint && constraint->GetFileState() == imodelFileOutOfDate) {
                    file->SetFileState(imodelFileOutOfDate);
                    break;
                }
            }
            if (file->GetFileState() == imodelFileOutOfDate) break;
        }
    }
    // A design database is checked against its inputs, not propagated from.
    if (node->GetFileType() != zorpaFT_ADB) PropagateFrom(file, nullptr);
}

void IprocessFileStateMachine::FilesModificationMessage(QuorlaneStateMachineMultipleFilesMessages kind,
                                                        const std::deque<IfileObject>&)
{
    if (!m_module || !m_flow) return;
    if ((kind == QuorlaneFilesChanged || kind == QuorlaneFilesRemoved) && !HasNothingLeftToInvalidate())
        InvalidateFrom(m_flow->GetFileObject(zorpaFT_HDL));
}

void IprocessFileStateMachine::InputFileListChanged(Entry file, ImodelFunctionType tool)
{
    // Every sender names a file: a message without one changes nothing.
    if (!file || !m_module || !m_flow) return;
    ImodelContextImpl* context = Context();
    IprocessToolObject* physical = m_flow->GetToolObject(idePHYSYNTH);
    std::optional<IprocessInvalidationRevisionFilter> filter;
    if (tool == idePHYSYNTH && context && physical) {
        std::vector<ImodelRevContext*> used;
        for (ImodelRevContextImpl* revision : context->GetAllRevs())
            if (physical->IsObjectUsed(m_module, revision)) used.push_back(revision);
        filter.emplace(m_module, used);
    }
    PropagateFrom(file, filter ? &*filter : nullptr);
}

void IprocessFileStateMachine::CDBOrderChanged(ImodelModule* module)
{
    if (!module || !m_flow) return;
    IprocessFileObject* databases = m_flow->GetFileObject(zorpaFT_ADB);
    if (!databases) return;
    std::deque<IfileObject> order;
    ImodelGetChildAssociatedFiles(module, zorpaFT_ARM_DB, order, nullptr, true, nullptr);
    ItoolPallador* layout = Imodel::GetInstance().GetPalladorTool();
    if (!layout) return;
    // A copy: the message below may change the node's files.
    for (const Entry& database : databases->GetKnownFilesOfModule(module)) {
        std::deque<IfileObject> recorded;
        if (layout->GetAdbFileList(database->GetFullFileName(), module, module->GetContext(), recorded) != 0) continue;
        std::erase_if(recorded, [](const IfileObject& file) { return file.GetFileSpecificType() != zorpaFT_ARM_DB; });
        if (recorded != order) InputFileListChanged(database, idePALLADOR);
    }
}

void IprocessFileStateMachine::DeviceChangedMessage(const std::vector<imodelDeviceMembers>& differences,
                                                    const ImodelDevice& device, ImodelFunctionType* tool)
{
    if (!m_module || !m_flow) return;
    for (IprocessToolObject* node : m_flow->GetToolObjects()) {
        if (!node->IsConcernedByDeviceChange(differences, device)) continue;
        IprocessMessageObjectScope asMessage(m_flow, node->IsRevDependent() ? nullptr : node);
        if (tool && *tool == node->GetToolType()) {
            // The named tool's results still hold, and so do those of the
            // tools it feeds directly: only what follows them goes.
            IprocessInvalidationObject_All walk(m_module, true, nullptr);
            IprocessFileObject::Nodes outputs;
            node->GetOutputFiles(&outputs);
            for (IprocessFileObject* output : outputs) walk.GetAllFilesAndTools(output);
            IprocessToolObject::Tools followers;
            node->GetOutputTools(&followers);
            for (IprocessToolObject* follower : followers) walk.GetAllFilesAndTools(follower);
            walk.InvalidateAll();
        } else {
            InvalidateFrom(node);
        }
    }
}

void IprocessFileStateMachine::FunctionTypeMessage(QuorlaneStateMachineTypeMessage kind, ImodelFunctionType tool,
                                                   ImodelModule*)
{
    if (!m_module || !m_flow) return;
    if (kind == QuorlaneToolChangedForAllModules || kind == QuorlaneToolChangedForModule)
        InvalidateFrom(m_flow->GetToolObject(tool));
}

void IprocessFileStateMachine::ComponentChanged(VyIfaces::IComponent* component,
                                                IDEVeyrunCallBack::InvalidateMessage kind)
{
    if (!m_module || !m_flow || !component || kind != IDEVeyrunCallBack::InvalidateComponent) return;
    IprocessToolObject* layout = m_flow->GetToolObject(idePALLADOR);
    if (!layout) return;
    // The back-annotated files keep their state: they follow the layout.
    IprocessInvalidationObject_All walk(m_module, true, nullptr);
    walk.GetAllFilesAndTools(layout);
    walk.RemoveBAFiles();
    walk.InvalidateAll();
}

void IprocessFileStateMachine::Ide_pldFileDetected(KemletContentIf* content, Entry file)
{
    if (!m_module || !m_flow || !file || !content) return;
    ImodelRevContextImpl* revision = IprocessGetFileContext(*file, m_module);
    if (!revision) return;
    IprocessToolObject* layout = m_flow->GetToolObject(idePALLADOR);
    const bool wasSuccess = layout && revision->GetToolStateForFile(layout, file) == StateSuccess;
    const IprocessFileObject::InvalidateHasPredecessorFilter derived(*file, true, nullptr);

    bool backAnnotated = false;
    if (content->GetBackAnnotated(backAnnotated) && !backAnnotated) {
        for (IprocessFileObject* node : m_flow->GetFileObjects())
            if (node->IsBAFiles()) node->InvalidateAllFiles(derived);
    }
    bool completed = false;
    if (!content->GetLayoutCompleted(completed) || completed || !wasSuccess || !layout) return;
    // A layout that no longer completes takes back what the last one made.
    IprocessFileObject::Nodes outputs;
    layout->GetOutputFiles(&outputs);
    for (IprocessFileObject* node : outputs) {
        if (node->IsBAFiles()) continue;
        const IprocessFileObject::Entries files = node->GetKnownFiles();
        for (const Entry& made : files) {
            if (!made || !derived.ShouldInvalidate(made)) continue;
            IprocessInvalidationObject_Propagate walk(made, node, m_module, nullptr);
            walk.InvalidateFirstFile();
            walk.GetAllFilesAndTools();
            walk.InvalidateAll();
        }
    }
}
