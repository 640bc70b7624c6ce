// The tool-state machines: the results of synthesis, physical synthesis and
// place and route (from their runs and log files), of the probe and
// programming (from their outputs) and of the stimulus tools (from the
// unit's stimulus list), kept by the revision contexts.
#include "src/iprocess/iprocessStateMachines.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "ifile/IfilePredecessorObject.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "iprocess/IprocessMessages.h"
#include "iprocess/IprocessToolObject.h"

#include <kemlet/KemletContentIf.h>

using Entry = boost::shared_ptr<IfileObjectEx>;

namespace {

bool IsOptionalConstraintLevel(const IprocessFileObject* node)
{
    const imodelConstraintFlowType level = node->GetOptionalConstraintFileLevel();
    return level == imodelConstraintFlowSynthesis || level == imodelConstraintFlowPhysicalSynthesis;
}

}  // namespace

void IprocessToolNodeStateMachine::SetToolState(imodelToolState state, bool allFiles)
{
    if (ImodelContextImpl* context = Context()) context->SetToolState(m_tool, state, m_tool, allFiles);
}

// --- synthesis, physical synthesis, place and route ----------------------------------------------

bool Iprocess_NToN_LogFile_StateMachine::IsToolSupported(ImodelFunctionType tool)
{
    return tool == ideSYNTHESIS || tool == idePHYSYNTH || tool == idePALLADOR;
}

IprocessFileObject::Nodes Iprocess_NToN_LogFile_StateMachine::GetAllInputFilesUsed() const
{
    IprocessFileObject::Nodes inputs;
    for (const IprocessFileToToolTransition* transition : m_tool->GetInputTransitionsFromFiles())
        transition->GetFromsOpt(inputs, true);
    return inputs;
}

void Iprocess_NToN_LogFile_StateMachine::FunctionTypeMessage(QuorlaneStateMachineTypeMessage kind,
                                                             ImodelFunctionType tool, ImodelModule*)
{
    if (!Context()) return;
    if ((kind == QuorlaneToolChangedForAllModules || kind == QuorlaneToolChangedForModule) &&
        tool == m_tool->GetToolType())
        SetToolState(StateNoResult, true);
}

void Iprocess_NToN_LogFile_StateMachine::FilesModificationMessage(QuorlaneStateMachineMultipleFilesMessages kind,
                                                                  const std::deque<IfileObject>&)
{
    if (!Context() || (kind != QuorlaneFilesChanged && kind != QuorlaneFilesRemoved)) return;
    // "No result" set again changes nothing.
    if (HasNoToolResultLeft()) return;
    for (const IprocessFileObject* input : GetAllInputFilesUsed()) {
        if (input->GetFileType() != zorpaFT_HDL) continue;
        SetToolState(StateNoResult, true);
        return;
    }
}

void Iprocess_NToN_LogFile_StateMachine::DeviceChangedMessage(const std::vector<imodelDeviceMembers>& differences,
                                                              const ImodelDevice& device, ImodelFunctionType* tool)
{
    if (!Context() || !m_tool->IsConcernedByDeviceChange(differences, device)) return;
    if (tool && *tool == m_tool->GetToolType()) return;
    IprocessMessageObjectScope asMessage(m_flow, m_tool->IsRevDependent() ? nullptr : m_tool);
    SetToolState(StateNoResult, true);
}

void Iprocess_NToN_LogFile_StateMachine::ForceToolStateMessage(imodelToolState state, ImodelFunctionType tool,
                                                               ImodelModule* module, Entry file)
{
    ImodelContextImpl* context = Context();
    if (!module || module != m_module || !context || tool != m_tool->GetToolType()) return;
    if (!file && ImodelUserCanSelectFlowFileToUse() && m_tool->GetFileSelectionType(true) != zorpaFT_UNKNOWN)
        file = IprocessGetCurrentFile(module, context->GetCurRevContext(), m_tool->GetFileSelectionType(true), true,
                                      false);
    if (!file) {
        SetToolState(state, false);
        return;
    }
    for (ImodelRevContextImpl* revision : context->GetAllRevs()) revision->SetToolStateForFile(m_tool, file, state);
}

void Iprocess_NToN_LogFile_StateMachine::Ide_pldFileDetected(KemletContentIf* content, Entry file)
{
    if (m_tool->GetToolType() != idePALLADOR || !m_module || !file) return;
    ImodelRevContextImpl* revision = IprocessGetFileContext(*file, m_module);
    if (!revision) return;
    imodelToolState state = revision->GetToolStateForFile(m_tool, file);
    bool failed = false;
    const bool failureStated = content && content->GetRunFailed(failed);
    if (failureStated && failed) state = StateFailure;
    bool completed = false;
    if (content && content->GetLayoutCompleted(completed)) {
        if (completed) {
            // A layout made from an out-of-date input does not count.
            Entry outOfDate;
            IfileManager* files = Imodel::GetInstance().GetFileManager();
            for (const std::string& name : content->GetUsedInputFiles()) {
                const Entry used =
                    files ? IfileManagerGetRealObject(ImodelFileName(name), ImodelFMFull, zorpaFT_UNKNOWN, false, true)
                          : Entry();
                if (used && used->GetFileState() == imodelFileOutOfDate) {
                    outOfDate = used;
                    break;
                }
            }
            if (outOfDate)
                IprocessDisplayLAYOUT_IGNORED_OOD_FILE_MSG(file->GetFileTitleAndExt().c_str(),
                                                           outOfDate->GetFileTitleAndExt().c_str());
            else
                state = StateSuccess;
        } else if (!(failureStated && failed)) {
            state = StateNoResult;
        }
    }
    revision->SetToolStateForFile(m_tool, file, state);
}

void Iprocess_NToN_LogFile_StateMachine::FileModificationMessage(QuorlaneStateMachineStringMessage kind, Entry file)
{
    if (!file) return;
    // A file of no unit: the manager tells every unit once when it leaves.
    if (!m_module) return;
    ImodelContextImpl* context = Context();
    if (!context || !m_flow) return;
    const zorpaFileManagerTypes type = file->GetFileSpecificType();
    IprocessFileObject* fileNode = m_flow->GetFileObject(type);
    const bool optionalConstraint = fileNode && fileNode->IsOptionalConstraintFile();

    if (kind == QuorlanePackageFileChanged) {
        if (m_tool->IsPackageDepending() && m_flow->IsFileConcerningTool(file, m_tool, {m_module})) {
            IprocessMessageObjectScope asMessage(m_flow, m_tool);
            SetToolState(StateNoResult, true);
        }
        return;
    }
    if (kind == QuorlaneConstraintFileChanged) {
        ToolInputModified(file, m_tool, false);
        return;
    }
    if (kind != QuorlaneFileChanged && kind != QuorlaneFileRemoved) return;

    if (kind == QuorlaneFileRemoved) {
        IprocessFileObject* databases = m_flow->GetFileObject(zorpaFT_ADB);
        if (m_tool->GetToolType() == idePALLADOR && type == zorpaFT_ADB && databases &&
            databases->IsFileManagerObject(m_module, context, file))
            PropagateFrom(file, nullptr);
        if (optionalConstraint) ToolInputModified(file, m_tool, false);
    }
    // What the tool made.
    IprocessFileObject::Nodes outputs;
    m_tool->GetOutputFiles(&outputs);
    for (IprocessFileObject* output : outputs) {
        if (output->GetFileType() != type) continue;
        for (ImodelRevContextImpl* revision : context->GetAllRevs()) {
            if (kind == QuorlaneFileRemoved) {
                if (m_tool->GetToolType() != idePALLADOR && !IsOptionalConstraintLevel(output))
                    revision->SetToolStateForFile(m_tool, file, StateNoResult);
            } else if (output->IsFileManagerObject(m_module, revision, file) &&
                       context->GetToolState(m_tool) == StateFailure) {
                // A failed run's output rewritten: the failure no longer stands.
                SetToolState(StateNoResult, false);
            }
        }
    }
    // What the tool read.
    for (IprocessFileObject* input : GetAllInputFilesUsed()) {
        const zorpaFileManagerTypes inputType = input->GetFileType();
        if (inputType == zorpaFT_HDL || inputType == zorpaFT_ADB || inputType != type) continue;
        ResetInput(file, input);
        IprocessFileObject::Nodes preceding;
        IprocessToolObject::Tools tools;
        input->GetAllFilesAndToolsPrecedingYou(&preceding, &tools, true, m_module, context);
        for (IprocessFileObject* node : preceding)
            if (node->GetFileType() != zorpaFT_HDL && node->GetFileType() == type) ResetInput(file, node);
    }
    if (optionalConstraint) ToolInputModified(file, m_tool, false);
}

void Iprocess_NToN_LogFile_StateMachine::ResetInput(const Entry& file, IprocessFileObject* input)
{
    ImodelContextImpl* context = Context();
    if (!context) return;
    const zorpaFileManagerTypes selection = m_tool->GetFileSelectionType(true);
    IprocessManager* processes = Imodel::GetInstance().GetProcessManager();
    IprocessFileObject* selected = processes ? processes->GetFileObject(selection, m_module) : nullptr;
    for (ImodelRevContextImpl* revision : context->GetAllRevs()) {
        if (!input->IsFileManagerObject(m_module, revision, file)) continue;
        if (selection == file->GetFileSpecificType()) {
            revision->SetToolStateForFile(m_tool, file, StateNoResult);
            continue;
        }
        if (!selected) continue;
        IprocessFileObject::Entries usable;
        selected->GetUsableFileList(usable, m_module, revision);
        const IfilePredecessorObject* changedRecord = file->GetPredecessorObject();
        for (const Entry& candidate : usable) {
            const IfilePredecessorObject* record = candidate ? candidate->GetPredecessorObject() : nullptr;
            if (!record || !changedRecord) continue;
            if (record->HasPredecessor(*file, true) || changedRecord->HasPredecessor(*candidate, true))
                revision->SetToolStateForFile(m_tool, candidate, StateNoResult);
        }
    }
}

// --- probe, programming, stimulus ------------------------------------------------------------------

bool IprocessToolStateMachine::IsToolSupported(ImodelFunctionType tool)
{
    return tool == ideGLIMMOND || tool == ideTORVIX;
}

void IprocessToolStateMachine::UpdateState()
{
    ImodelContextImpl* context = Context();
    if (!context || !m_tool) return;
    IprocessFileObject::Nodes outputs;
    m_tool->GetStateOutputFiles(&outputs, m_module, context);
    bool success = !outputs.empty();
    for (const IprocessFileObject* output : outputs) {
        const Entry file = output->GetFileManagerObject(m_module, context, false, false, true);
        if (!file || file->GetFileState() != imodelFileUpToDate) {
            success = false;
            break;
        }
    }
    context->SetToolState(m_tool, success ? StateSuccess : StateNoResult, m_tool, false);
}

bool IprocessStimulusStateMachine::IsToolSupported(ImodelFunctionType tool)
{
    return tool == ideSTIMULUS || tool == ideSTIMULUSEDITOR;
}

void IprocessStimulusStateMachine::UpdateState()
{
    ImodelContextImpl* context = Context();
    if (!context || !m_tool) return;
    const bool hasStimulus = !m_module->GetStimulusList().empty();
    context->SetToolState(m_tool, hasStimulus ? StateSuccess : StateNoResult, m_tool, false);
}

void IprocessExternalControlledStateMachine::ForceToolStateMessage(imodelToolState state, ImodelFunctionType tool,
                                                                   ImodelModule* module, Entry)
{
    if (module && module == m_module && tool == m_tool->GetToolType()) SetToolState(state, false);
}
