// File nodes: states, walks over the graph and the invalidation filters.
#include "iprocess/IprocessFileObject.h"

#include "ifile/IfilePredecessorObject.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelContextImpl.h"
#include "iprocess/IprocessConditions.h"
#include "iprocess/IprocessToolObject.h"
#include "itool/ItoolConstraintsManager.h"
#include "itool/ItoolPallador.h"
#include "itool/ItoolWithConstraints.h"
#include "src/iprocess/iprocessGraphWalk.h"

#include <algorithm>

using iprocessGraphWalk::Holds;

namespace {

ImodelRevContext* ContextOf(ImodelModule* module) { return module ? module->GetContext() : nullptr; }

}  // namespace

// --- states ------------------------------------------------------------------------------------------

imodelFileState IprocessFileObject::GetIntelligentFileState(ImodelModule* module) const
{
    if (!module || !module->GetContext()) return imodelFileAbsent;
    const Entry file = GetFileManagerObject(module, module->GetContext(), true, false, true);
    if (!file) return imodelFileAbsent;
    if (m_type == zorpaFT_BSP) {
        // The debugger's file counts only for a netlist that was instrumented.
        const Entry netlist = IprocessGetCurrentFile(module, zorpaFT_SYN_EDN, false, false);
        if (netlist && !netlist->IsInstrumentedByIdentify()) return imodelFileAbsent;
    }
    imodelFileState state = file->GetFileState();
    if (state == imodelFileUpToDate) return state;
    std::vector<IprocessFileToFileTransition*> inputs;
    GetAutoProcessingInputs(inputs, module);
    for (const IprocessFileToFileTransition* input : inputs) {
        const imodelFileState group = GetGroupOfFilesState(&input->GetFromsList(), module, input, true);
        if (group != imodelFileAbsent) return group;
    }
    if (IsBAFiles())
        if (ItoolPallador* pallador = Imodel::GetInstance().GetPalladorTool())
            pallador->CheckBackAnnotatedFileState(module, state);
    return state;
}

imodelFileState IprocessFileObject::GetGroupOfFilesState(const Nodes* group, ImodelModule* module,
                                                         const IprocessFileToFileTransition* transition,
                                                         bool intelligent)
{
    if (!group || !module || group->empty()) return imodelFileAbsent;
    bool incomplete = false;
    bool outOfDate = false;
    for (const IprocessFileObject* node : *group) {
        imodelFileState state = imodelFileAbsent;
        if (intelligent) {
            state = node->GetIntelligentFileState(module);
        } else if (const Entry file = node->GetFileManagerObject(module, module->GetContext(), true, false, true)) {
            state = file->GetFileState();
        }
        if (state == imodelFileAbsent && !(transition && transition->IsInputOptional(node))) incomplete = true;
        if (state == imodelFileOutOfDate) outOfDate = true;
    }
    if (incomplete) return imodelFileAbsent;
    return outOfDate ? imodelFileOutOfDate : imodelFileUpToDate;
}

// --- walks -------------------------------------------------------------------------------------------

IprocessFileObject* IprocessFileObject::GetPredecessorFileObject() const
{
    for (const IprocessFileToFileTransition* transition : m_fromFiles) {
        if (!transition->IsUsedForState() || transition->GetFromsList().empty()) continue;
        if (IprocessFileObject* source = transition->GetFromsList().front()) return source;
        break;
    }
    for (const IprocessToolToFileTransition* transition : m_fromTools) {
        if (transition->GetFromsList().empty()) continue;
        const IprocessToolObject* tool = transition->GetFromsList().front();
        if (!tool) continue;
        // The tool's first input counted for the state, unless it is the HDL
        // sources.
        IprocessFileObject* candidate = nullptr;
        for (const IprocessFileToToolTransition* input : tool->GetInputTransitionsFromFiles()) {
            if (!input->IsUsedForState() || input->GetFromsList().empty()) continue;
            IprocessFileObject* source = input->GetFromsList().front();
            if (source && source->GetFileType() != zorpaFT_HDL) return source;
            candidate = source;
            break;
        }
        // A file the tool makes beside its main output derives from that output.
        IprocessFileObject* result = nullptr;
        for (const IprocessToolToFileTransition* output : tool->GetOutputTransitionsToFiles()) {
            if (!output->IsUsedForState()) continue;
            if (Holds(output->GetTosList(), this)) {
                result = candidate;
                break;
            }
            if (!result && !output->GetTosList().empty()) result = output->GetTosList().front();
        }
        if (result) return result;
    }
    return nullptr;
}

bool IprocessFileObject::GetAllFilesAndToolsPrecedingYou(Nodes* files, Tools* tools, bool recursive,
                                                         ImodelModule* module, ImodelRevContext* revision) const
{
    return iprocessGraphWalk::AddPreceding(m_fromTools, m_fromFiles, files, tools, recursive, module, revision);
}

void IprocessFileObject::GetAllFilesDirectlyPrecedingYou(Nodes& files) const
{
    for (const IprocessToolToFileTransition* transition : m_fromTools)
        for (const IprocessToolObject* tool : transition->GetFromsList()) tool->AddInputFiles(&files);
    for (const IprocessFileToFileTransition* transition : m_fromFiles)
        files.insert(files.end(), transition->GetFromsList().begin(), transition->GetFromsList().end());
}

bool IprocessFileObject::GetAllFilesAndToolsUsingYouRec(Nodes* files, Tools* tools) const
{
    if (!files || !tools) return false;
    for (const IprocessFileToToolTransition* transition : m_toTools) {
        for (IprocessToolObject* tool : transition->GetTosList()) {
            if (IprocessIsToolSupported_ForNToN_LogFile_StateMachine(tool->GetToolType()) && !Holds(*tools, tool))
                tools->push_back(tool);
            Nodes outputs;
            tool->GetOutputFiles(&outputs);
            for (IprocessFileObject* output : outputs) {
                if (Holds(*files, output)) continue;
                files->push_back(output);
                if (!output->GetAllFilesAndToolsUsingYouRec(files, tools)) return false;
            }
        }
    }
    for (const IprocessFileToFileTransition* transition : m_toFiles) {
        for (IprocessFileObject* target : transition->GetTosList()) {
            if (Holds(*files, target)) continue;
            files->push_back(target);
            if (!target->GetAllFilesAndToolsUsingYouRec(files, tools)) return false;
        }
    }
    return true;
}

IprocessToolObject* IprocessFileObject::GetToolGeneratingMe(ImodelModule* module, ImodelRevContext* revision) const
{
    Nodes files;
    Tools tools;
    GetAllFilesAndToolsPrecedingYou(&files, &tools, false, module, revision);
    for (IprocessToolObject* tool : tools) {
        Nodes outputs;
        tool->GetOutputFiles(&outputs);
        if (Holds(outputs, this)) return tool;
    }
    return nullptr;
}

bool IprocessFileObject::IsConstraintFileUsedForTool(ImodelModule* module, ImodelRevContext* revision,
                                                     ImodelFunctionType tool) const
{
    const IprocessToolObject* generator = GetToolGeneratingMe(module, revision);
    return generator && generator->IsToolDirectlyFollowingMe(tool, module, revision);
}

bool IprocessFileObject::IsConstraintFileUsedByDefault(ImodelModule* module, ImodelRevContext* revision,
                                                       ImodelFunctionType tool) const
{
    return m_usedByDefault && IsConstraintFileUsedForTool(module, revision, tool);
}

bool IprocessFileObject::SearchUpstreamFrom(IprocessFileObject* node, Nodes& path, ImodelModule* module,
                                            ImodelRevContextImpl* revision) const
{
    const bool fromStart = path.empty();
    path.push_back(node);
    if (node->IsObjectUsed(module, revision) && node->m_userChoice) return true;
    const bool found = node->GetFlowToUsedPredecessorAllowingFileSelection(path, module, revision);
    if (!found && fromStart) path.clear();
    return found;
}

bool IprocessFileObject::GetFlowToUsedPredecessorAllowingFileSelection(Nodes& path, ImodelModule* module,
                                                                       ImodelRevContextImpl* revision) const
{
    if (!IsObjectUsed(module, revision)) return false;
    for (const IprocessToolToFileTransition* transition : m_fromTools) {
        if (!transition->IsObjectUsed(module, revision)) continue;
        for (const IprocessToolObject* tool : transition->GetFromsList()) {
            Nodes inputs;
            tool->GetAllUsedInputFiles(inputs, module, revision);
            for (IprocessFileObject* input : inputs)
                if (SearchUpstreamFrom(input, path, module, revision)) return true;
        }
    }
    for (const IprocessFileToFileTransition* transition : m_fromFiles) {
        if (!transition->IsObjectUsed(module, revision)) continue;
        for (IprocessFileObject* source : transition->GetFromsList())
            if (SearchUpstreamFrom(source, path, module, revision)) return true;
    }
    return false;
}

IprocessFileObject* IprocessFileObject::GetUsedPredecessorAllowingFileSelection(ImodelModule* module,
                                                                                ImodelRevContextImpl* revision) const
{
    Nodes path;
    return GetFlowToUsedPredecessorAllowingFileSelection(path, module, revision) ? path.back() : nullptr;
}

bool IprocessFileObject::GetAutoProcessingInputs(std::vector<IprocessFileToFileTransition*>& out,
                                                 ImodelModule* module) const
{
    if (!m_autoProcessed) return false;
    bool appended = false;
    for (IprocessFileToFileTransition* transition : m_fromFiles) {
        if (transition->IsAutoProcessed() && transition->IsObjectUsed(module, ContextOf(module))) {
            out.push_back(transition);
            appended = true;
        }
    }
    return appended;
}

bool IprocessFileObject::GetAutoProcessingOutputs(std::vector<IprocessFileToFileTransition*>& out,
                                                  ImodelModule* module) const
{
    bool appended = false;
    for (IprocessFileToFileTransition* transition : m_toFiles) {
        if (transition->IsAutoProcessed() && transition->IsObjectUsed(module, ContextOf(module))) {
            out.push_back(transition);
            appended = true;
        }
    }
    return appended;
}

bool IprocessFileObject::GetAlUsedToolsPrecedingYou(Tools& tools, ImodelModule* module) const
{
    for (const IprocessToolToFileTransition* transition : m_fromTools)
        for (IprocessToolObject* tool : transition->GetFromsList())
            if (tool->IsObjectUsed(module, ContextOf(module))) tools.push_back(tool);
    return true;
}

void IprocessFileObject::AddFromToolsList(Tools& tools, ImodelModule* module) const
{
    for (const IprocessToolToFileTransition* transition : m_fromTools) {
        if (!transition->IsObjectUsed(module, ContextOf(module))) continue;
        for (IprocessToolObject* tool : transition->GetFromsList())
            if (tool->IsObjectUsed(module, ContextOf(module))) tools.push_back(tool);
    }
}

void IprocessFileObject::AddFromToolsList(Tools& tools) const
{
    for (const IprocessToolToFileTransition* transition : m_fromTools)
        tools.insert(tools.end(), transition->GetFromsList().begin(), transition->GetFromsList().end());
}

void IprocessFileObject::AddToToolsList(Tools& tools, ImodelModule* module, ImodelRevContext* revision) const
{
    for (const IprocessFileToToolTransition* transition : m_toTools) {
        if (!transition->IsObjectUsed(module, revision)) continue;
        for (IprocessToolObject* tool : transition->GetTosList())
            if (tool->IsObjectUsed(module, revision)) tools.push_back(tool);
    }
}

bool IprocessFileObject::DoesFileDependOfConstraint(const Entry& file, const Entry& constraint) const
{
    if (!file || !constraint || file->GetFileSpecificType() != m_type) return false;
    ImodelModule* module = nullptr;
    ImodelRevContextImpl* revision = nullptr;
    if (!file->GetModuleAndContext(module, revision)) return false;
    const IprocessToolObject* generator = GetToolGeneratingMe(module, revision);
    if (!generator) return false;
    ItoolWithConstraints* tool = ItoolConstraintsManager::GetTool(generator->GetToolType());
    if (!tool) return false;
    // A synthesis constraint file of the unit's current netlist is named
    // after that netlist.
    std::string baseName;
    const std::string* named = nullptr;
    if (constraint->GetFileSpecificType() == zorpaFT_SYN_SDC) {
        const Entry current = GetFileManagerObject(module, revision, false, false, true);
        if (current == file) {
            baseName = GetBasisName(*constraint, constraint->GetFileSpecificType());
            named = &baseName;
        }
    }
    Entries used;
    tool->GetUsedConstraintFiles(used, file, module, revision, named);
    return std::find(used.begin(), used.end(), constraint) != used.end();
}

// --- invalidation filters ------------------------------------------------------------------------------

void IprocessFileObject::InvalidateAllFilter::operator()(const Entry& file) const
{
    if (file && ShouldInvalidate(file)) file->SetFileState(imodelFileOutOfDate);
}

bool IprocessFileObject::InvalidateAllFilter::ShouldInvalidate(const Entry& file) const
{
    // A file of a place-and-route view counts only for the views listed.
    if (!m_revisions || !file || !file->IsRevSpecific()) return true;
    const int revision = file->GetRevNum();
    return std::any_of(m_revisions->begin(), m_revisions->end(),
                       [revision](unsigned int listed) { return static_cast<int>(listed) == revision; });
}

bool IprocessFileObject::InvalidateModuleSpecificFilter::ShouldInvalidate(const Entry& file) const
{
    if (!InvalidateAllFilter::ShouldInvalidate(file)) return false;
    if (!m_module) return true;
    const IfilePredecessorObject* record = file ? file->GetPredecessorObject() : nullptr;
    return record && m_module->IsSameModule(record->GetComponentID());
}

bool IprocessFileObject::InvalidateHasPredecessorFilter::ShouldInvalidate(const Entry& file) const
{
    if (!InvalidateAllFilter::ShouldInvalidate(file)) return false;
    const IfilePredecessorObject* record = file ? file->GetPredecessorObject() : nullptr;
    return record && record->HasPredecessor(m_file, m_recursive);
}
