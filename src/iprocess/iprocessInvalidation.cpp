#include "src/iprocess/iprocessInvalidation.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "iprocess/IprocessManager.h"
#include "iprocess/IprocessToolObject.h"
#include "src/iprocess/iprocessGraphWalk.h"

#include <algorithm>

namespace {

using iprocessGraphWalk::Holds;

// The number of the view of a name; -1 when no view has it.
int ViewNumber(const std::string& name)
{
    const ImodelRevisionManager* views = Imodel::GetInstance().GetRevisionManager();
    return views ? views->GetRevisionNumber(name) : -1;
}

// The view number of a revision of the unit, by its name; -1 when the unit
// does not know the revision or no view has the name.
int NumberOf(const ImodelContextImpl& context, const ImodelRevContext* revision)
{
    std::string name;
    return context.GetRevisionName(revision, name) ? ViewNumber(name) : -1;
}

}  // namespace

// --- revision filter -------------------------------------------------------------------------------

IprocessInvalidationRevisionFilter::IprocessInvalidationRevisionFilter(ImodelModule* module,
                                                                       const std::vector<ImodelRevContext*>& revisions)
{
    SetFilters(module, revisions);
}

IprocessInvalidationRevisionFilter::IprocessInvalidationRevisionFilter(ImodelModule* module, ImodelRevContext* revision)
{
    if (revision) SetFilters(module, {revision});
}

void IprocessInvalidationRevisionFilter::SetFilters(ImodelModule* module,
                                                    const std::vector<ImodelRevContext*>& revisions)
{
    ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    if (!context || revisions.empty()) return;
    for (ImodelRevContext* revision : revisions) {
        if (revision == context) {
            // The unit as a whole: every revision.
            m_numbers.reset();
            m_contexts.reset();
            return;
        }
        std::string name;
        if (!context->GetRevisionName(revision, name)) continue;
        if (!m_contexts) m_contexts.emplace();
        if (ImodelRevContextImpl* own = context->FindRevision(revision)) m_contexts->push_back(own);
        if (!m_numbers) m_numbers.emplace();
        // A revision of no view matches no file (-1 would read as a number).
        if (const int number = ViewNumber(name); number >= 0) m_numbers->push_back(static_cast<unsigned>(number));
    }
}

bool IprocessInvalidationRevisionFilter::IsInGoodRev(const Entry& file, const std::vector<unsigned>* numbers)
{
    if (!file || !numbers || !file->IsRevSpecific()) return true;
    return std::find(numbers->begin(), numbers->end(), static_cast<unsigned>(file->GetRevNum())) != numbers->end();
}

// --- base ------------------------------------------------------------------------------------------

void IprocessInvalidationObject::NewFileFound(IprocessFileObject* node)
{
    if (node && !HasFile(node)) m_files.push_back(node);
}

void IprocessInvalidationObject::NewToolFound(IprocessToolObject* tool)
{
    if (tool && !HasTool(tool)) m_tools.push_back(tool);
}

void IprocessInvalidationObject::RemoveBAFiles()
{
    std::erase_if(m_files, [](const IprocessFileObject* node) { return node->IsBAFiles(); });
}

bool IprocessInvalidationObject::HasFile(const IprocessFileObject* node) const { return Holds(m_files, node); }
bool IprocessInvalidationObject::HasTool(const IprocessToolObject* tool) const { return Holds(m_tools, tool); }

// --- by nodes --------------------------------------------------------------------------------------

IprocessInvalidationObject_All::IprocessInvalidationObject_All(ImodelModule* module, bool moduleSpecific,
                                                               const IprocessInvalidationRevisionFilter* filter)
    : m_module(module), m_moduleSpecific(moduleSpecific), m_filter(filter)
{
}

void IprocessInvalidationObject_All::GetAllFilesAndTools(IprocessFileObject* node)
{
    if (!node) return;
    node->GetAllFilesAndToolsUsingYouRec(&m_files, &m_tools);
    // Every file a synthesis of the sources made is out of date.
    if (node->GetFileType() == zorpaFT_HDL) m_allFiles = true;
}

void IprocessInvalidationObject_All::GetAllFilesAndTools(IprocessToolObject* tool)
{
    if (!tool || HasTool(tool)) return;
    Nodes outputs;
    tool->GetOutputFiles(&outputs);
    for (IprocessFileObject* output : outputs) {
        if (HasFile(output)) continue;
        m_files.push_back(output);
        GetAllFilesAndTools(output);
    }
    Tools followers;
    tool->GetOutputTools(&followers);
    for (IprocessToolObject* follower : followers) {
        if (HasTool(follower)) continue;
        m_tools.push_back(follower);
        GetAllFilesAndTools(follower);
    }
    if (tool->GetToolType() == ideSYNTHESIS) m_allFiles = true;
}

void IprocessInvalidationObject_All::InvalidateAll()
{
    ImodelContextImpl* context = m_module ? m_module->GetContext() : nullptr;
    for (IprocessFileObject* node : m_files) {
        std::vector<unsigned> numbers;
        if (m_filter && m_filter->GetNumberFilters()) {
            numbers = *m_filter->GetNumberFilters();
        } else if (context) {
            std::vector<ImodelRevContextImpl*> revisions;
            context->GetRevsUsed(revisions, node);
            for (const ImodelRevContextImpl* revision : revisions) {
                const int number = NumberOf(*context, revision);
                if (number >= 0) numbers.push_back(static_cast<unsigned>(number));
            }
        }
        if (numbers.empty()) continue;
        if (m_moduleSpecific)
            node->InvalidateFilesOfModule(IprocessFileObject::InvalidateModuleSpecificFilter(m_module, &numbers),
                                          m_module);
        else
            node->InvalidateAllFiles(IprocessFileObject::InvalidateAllFilter(&numbers));
    }
    for (IprocessToolObject* tool : m_tools) {
        const std::vector<ImodelRevContextImpl*>* revisions = m_filter ? m_filter->GetContextFilters() : nullptr;
        if (revisions) {
            for (ImodelRevContextImpl* revision : *revisions)
                revision->SetToolState(tool, StateNoResult, tool, m_allFiles);
        } else if (context) {
            context->SetToolState(tool, StateNoResult, tool, m_allFiles);
        }
    }
}

// --- by files --------------------------------------------------------------------------------------

IprocessInvalidationObject_Propagate::IprocessInvalidationObject_Propagate(
    Entry file, IprocessFileObject* node, ImodelModule* module, const IprocessInvalidationRevisionFilter* filter)
    : m_current(file), m_currentNode(node), m_start(std::move(file)), m_module(module), m_filter(filter)
{
}

void IprocessInvalidationObject_Propagate::GetAllFilesAndTools()
{
    if (!m_current || !m_currentNode) return;
    const bool sameType = m_current->GetFileSpecificType() == m_currentNode->GetFileType();
    const bool sources = m_current->IsASourceFile() && m_currentNode->GetFileType() == zorpaFT_HDL;
    if (!sameType && !sources) return;
    // One level: the tools the node feeds and their outputs, then the nodes
    // made from it directly. The node in hand is kept: walks below change it.
    IprocessFileObject* node = m_currentNode;
    for (const IprocessFileToToolTransition* transition : node->GetOutputToolTransitions()) {
        for (IprocessToolObject* tool : transition->GetTosList()) {
            const ImodelFunctionType type = tool->GetToolType();
            if (type == ideSYNTHESIS || type == idePHYSYNTH || type == idePALLADOR) NewToolFound(tool);
            Nodes outputs;
            tool->GetOutputFiles(&outputs);
            for (IprocessFileObject* output : outputs) NewFileFound(output);
        }
    }
    for (const IprocessFileToFileTransition* transition : node->GetOutputFileTransitions())
        for (IprocessFileObject* target : transition->GetTosList()) NewFileFound(target);
}

void IprocessInvalidationObject_Propagate::GetAllFilesAndTools(IprocessToolObject* tool)
{
    if (!tool) return;
    Nodes outputs;
    tool->GetOutputFiles(&outputs);
    for (IprocessFileObject* output : outputs) NewFileFound(output);
}

void IprocessInvalidationObject_Propagate::NewFileFound(IprocessFileObject* node)
{
    if (!node) return;
    if (!HasFile(node)) m_files.push_back(node);
    DoNewFileFound(node);
}

bool IprocessInvalidationObject_Propagate::IsCollectedOrStart(const Entry& file) const
{
    return file == m_start || m_seen.count(file.get()) != 0;
}

void IprocessInvalidationObject_Propagate::DoNewFileFound(IprocessFileObject* node)
{
    // A user's constraint file has no node of its own in the flow.
    const imodelConstraintFlowType level =
        m_currentNode ? m_currentNode->GetOptionalConstraintFileLevel() : imodelConstraintFlowOther;
    const bool constraint = ImodelGetGlobalType(m_current->GetFileSpecificType()) == 104 ||
                            level == imodelConstraintFlowSynthesis || level == imodelConstraintFlowPhysicalSynthesis;
    const bool fromSources = m_currentNode && m_currentNode->GetFileType() == zorpaFT_HDL;
    std::vector<Entry> related;
    node->AddRelatedFilesUsing(m_current, fromSources, constraint, related);
    // The node's files that are already collected are walked no more: a
    // file reachable two ways is collected once, and cycles of derivations
    // end.
    IprocessManager* processes = Imodel::GetInstance().GetProcessManager();
    for (const Entry& file : related) {
        if (IsCollectedOrStart(file)) continue;
        if (m_filter && !m_filter->IsInGoodRev(file)) continue;
        m_seen.insert(file.get());
        if (IprocessFileObject* next =
                processes ? processes->GetFileObject(file->GetFileSpecificType(), m_module) : nullptr) {
            const Entry keptFile = m_current;
            IprocessFileObject* keptNode = m_currentNode;
            m_current = file;
            m_currentNode = next;
            GetAllFilesAndTools();
            m_current = keptFile;
            m_currentNode = keptNode;
        }
        m_collected.push_back(file);
    }
}

void IprocessInvalidationObject_Propagate::InvalidateFirstFile()
{
    if (m_start) m_start->SetFileState(imodelFileOutOfDate);
}

void IprocessInvalidationObject_Propagate::InvalidateAll()
{
    for (const Entry& file : m_collected) file->SetFileState(imodelFileOutOfDate);
    ImodelContextImpl* context = m_module ? m_module->GetContext() : nullptr;
    if (!context) return;
    for (IprocessToolObject* tool : m_tools) {
        std::vector<ImodelRevContextImpl*> revisions;
        if (m_filter && m_filter->GetContextFilters())
            revisions = *m_filter->GetContextFilters();
        else
            context->GetRevsUsed(revisions, tool);
        for (ImodelRevContextImpl* revision : revisions) InvalidateTool(tool, revision);
    }
}

void IprocessInvalidationObject_Propagate::InvalidateTool(IprocessToolObject* tool, ImodelRevContextImpl* revision)
{
    if (!tool || !revision) return;
    if (m_start) revision->SetToolStateForFile(tool, m_start, StateNoResult);
    for (const Entry& file : m_collected) revision->SetToolStateForFile(tool, file, StateNoResult);
}
