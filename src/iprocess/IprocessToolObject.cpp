#include "iprocess/IprocessToolObject.h"

#include "ifile/IfileManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelHierarchyFiles.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "iprocess/IprocessConditions.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessManager.h"
#include "iprofile/IprofileManager.h"
#include "src/iprocess/iprocessGraphWalk.h"

#include <foundation/Def.h>

#include <algorithm>

using iprocessGraphWalk::Holds;

namespace {

ImodelRevContextImpl* CurrentRevisionOf(ImodelModule* module)
{
    ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    return context ? context->GetCurRevContext() : nullptr;
}

IprofileManager* ProfileManager()
{
    ImodelHost* host = Imodel::GetInstance().GetHost();
    return host ? host->GetProfileManager() : nullptr;
}

// The text after the last "V" of an upper-cased die name: its version.
bool DieVersion(std::string die, std::string& version)
{
    ImodelMakeUpper(die);
    const std::size_t v = die.rfind('V');
    if (v == std::string::npos) return false;
    version = die.substr(v + 1);
    return true;
}

bool IsEditorOrCoreTool(ImodelFunctionType type)
{
    switch (type) {
    case ideHDLEDITOR:
    case ideOMBRIX:
    case ideVIEWDRAW:
    case ideSTIMULUSEDITOR:
    case ideARM:
    case ideCONSTRAINTSEDITOR:
        return true;
    default:
        return false;
    }
}

}  // namespace

IprocessToolObject::IprocessToolObject(const std::string& name, const std::string& group, ImodelFunctionType type,
                                       imodelDeviceMembers deviceLevel, bool packageDependent)
    : m_name(name), m_group(group), m_type(type), m_deviceLevel(deviceLevel), m_packageDependent(packageDependent)
{
}

bool IprocessToolObject::IsObjectUsed(ImodelModule* module, ImodelRevContext* revision) const
{
    return IprocessFlowObject::IsObjectUsed(module, revision) && !IprocessIsToolHidden(m_type, Imodel::GetInstance());
}

bool IprocessToolObject::IsRevDependent() const { return IprocessIsToolRevDependent(m_type); }

void IprocessToolObject::GetToolName(std::string& out) const
{
    out = m_name;
    IprofileManager* profiles = ProfileManager();
    if (!profiles || !profiles->IsUserManagedProfile(m_type)) return;
    std::string info, key;
    if (!profiles->GetActiveTool(m_type, out, info, key)) out = "No tool selected";
}

zorpaFileManagerTypes IprocessToolObject::GetFileSelectionType(bool predecessor) const
{
    return m_fileSelectionType == zorpaFT_UNKNOWN && predecessor ? m_predecessorFileSelectionType : m_fileSelectionType;
}

// --- walks ---------------------------------------------------------------------------------------------

void IprocessToolObject::GetOutputFiles(Nodes* out) const
{
    if (!out) return;
    for (const IprocessToolToFileTransition* transition : m_toFiles)
        out->insert(out->end(), transition->GetTosList().begin(), transition->GetTosList().end());
}

void IprocessToolObject::GetOutputTools(Tools* out) const
{
    if (!out) return;
    for (const IprocessToolToToolTransition* transition : m_toTools)
        out->insert(out->end(), transition->GetTosList().begin(), transition->GetTosList().end());
}

void IprocessToolObject::AddInputFiles(Nodes* out) const
{
    if (!out) return;
    for (const IprocessFileToToolTransition* transition : m_fromFiles)
        for (IprocessFileObject* source : transition->GetFromsList())
            if (!Holds(*out, source)) out->push_back(source);
}

void IprocessToolObject::GetStateOutputFiles(Nodes* out, ImodelModule* module, ImodelRevContext* revision) const
{
    if (!out) return;
    for (const IprocessToolToFileTransition* transition : m_toFiles)
        if (transition->IsUsedForState() && transition->IsObjectUsed(module, revision))
            out->insert(out->end(), transition->GetTosList().begin(), transition->GetTosList().end());
}

void IprocessToolObject::GetAllUsedInputFiles(Nodes& out, ImodelModule* module, ImodelRevContext* revision) const
{
    for (const IprocessFileToToolTransition* transition : m_fromFiles) {
        if (!transition->IsObjectUsed(module, revision)) continue;
        for (IprocessFileObject* source : transition->GetFromsList())
            if (source->IsObjectUsed(module, revision) && !Holds(out, source)) out.push_back(source);
    }
}

bool IprocessToolObject::GetAllFilesAndToolsPrecedingYou(Nodes* files, Tools* tools, bool recursive,
                                                         ImodelModule* module, ImodelRevContext* revision) const
{
    return iprocessGraphWalk::AddPreceding(m_fromTools, m_fromFiles, files, tools, recursive, module, revision);
}

bool IprocessToolObject::IsToolDirectlyFollowingMe(ImodelFunctionType type, ImodelModule* module,
                                                   ImodelRevContext* revision) const
{
    for (const IprocessToolToFileTransition* transition : m_toFiles) {
        if (!transition->IsObjectUsed(module, revision)) continue;
        for (const IprocessFileObject* output : transition->GetTosList()) {
            if (!output->IsObjectUsed(module, revision)) continue;
            Tools readers;
            output->AddToToolsList(readers, module, revision);
            if (std::any_of(readers.begin(), readers.end(),
                            [type](const IprocessToolObject* tool) { return tool->GetToolType() == type; }))
                return true;
        }
    }
    return false;
}

bool IprocessToolObject::IsConcernedByDeviceChange(const std::vector<imodelDeviceMembers>& differences,
                                                   const ImodelDevice& newDevice) const
{
    if (!differences.empty() && differences.front() <= m_deviceLevel) return true;
    if (m_type != ideSYNTHESIS ||
        std::find(differences.begin(), differences.end(), imodelDeviceDie) == differences.end())
        return false;
    // A new version of the same die invalidates synthesis for the tools that
    // build on the die's timing.
    int invalidates = 0;
    if (DefGetBoolFL("IDE_VERSION_CHANGE_INVALIDATES_SYNTH", &invalidates, __FILE__, __LINE__) != 0 || invalidates != 1)
        return false;
    IprofileManager* profiles = ProfileManager();
    std::string name, info, key;
    if (!profiles || !profiles->GetActiveTool(ideSYNTHESIS, name, info, key)) return false;
    if (key != "SYNPLIFY7_EXT" && key != "PRECISION_EXT") return false;
    const ImodelDeviceManager* devices = Imodel::GetInstance().GetDeviceManager();
    if (!devices) return false;
    std::string oldVersion, newVersion;
    if (!DieVersion(devices->GetDevice().GetDieExternalName(), oldVersion) ||
        !DieVersion(newDevice.GetDieExternalName(), newVersion))
        return false;
    return oldVersion != newVersion;
}

// --- enabling --------------------------------------------------------------------------------------------

bool IprocessToolObject::IsToolEnable(ImodelModule* module) const
{
    Imodel& model = Imodel::GetInstance();
    const ImodelDesignManager* design = model.GetDesignManager();
    if (!design || !design->IsProjectOpen()) return false;
    // What the tool answers when it has no input to decide by.
    bool noInputResult = true;
    IfileManager* files = model.GetFileManager();
    const bool editsOnly = IsEditorOrCoreTool(m_type) ||
                           (m_type == ideSTIMULUS && files && files->HasFileOfSpecificType(zorpaFT_BTIM, 0, nullptr));
    ImodelRevContextImpl* revision = CurrentRevisionOf(module);
    if (!editsOnly) {
        if (!revision) return false;
        IprocessManager* processes = model.GetProcessManager();
        if (ImodelToolNeedsAdb(m_type))
            if (const IprocessFileObject* databases = processes->GetFileObject(zorpaFT_ADB, module))
                noInputResult = databases->HasOneFileOf(module, false);
        if (m_type == ideTORVIX && files && files->HasFileOfSpecificType(zorpaFT_PRO, 1, nullptr)) noInputResult = true;
        if (m_type == ideIDENTIFYDEBUGGER)
            if (const IprocessFileObject* netlists = processes->GetFileObject(zorpaFT_SYN_EDN, module))
                if (const auto netlist = netlists->GetFileManagerObject(module, revision, false, false, true))
                    if (!netlist->IsInstrumentedByIdentify()) return false;
    }
    if (!IsObjectUsed(module, revision)) return false;
    if (m_fromTools.empty() && m_fromFiles.empty()) return noInputResult;
    for (const IprocessToolToToolTransition* transition : m_fromTools) {
        if (!transition->IsObjectUsed(module, revision)) continue;
        if (transition->GetFromsList().empty() ? noInputResult : IsTransitionEnable(transition, module)) return true;
    }
    for (const IprocessFileToToolTransition* transition : m_fromFiles) {
        if (!transition->IsObjectUsed(module, revision)) continue;
        if (transition->GetFromsList().empty()) return noInputResult;
        if (IsTransitionEnable(transition, module)) return true;
    }
    return false;
}

bool IprocessToolObject::IsTransitionEnable(const IprocessFileToToolTransition* transition, ImodelModule* module) const
{
    if (!transition || !module) return false;
    Nodes required;
    transition->GetFromsOpt(required, false);
    for (const IprocessFileObject* source : required) {
        if (source->GetFileType() == zorpaFT_HDL) {
            // Some unit of the hierarchy has a source file.
            if (ImodelCountFiles(module, 1) < 1) return false;
            continue;
        }
        if (source->GetIntelligentFileState(module) == imodelFileAbsent) return false;
        if (source->GetFileType() == zorpaFT_ADB &&
            !source->GetFileManagerObject(module, CurrentRevisionOf(module), false, false, true))
            return false;
    }
    return true;
}

bool IprocessToolObject::IsTransitionEnable(const IprocessToolToToolTransition* transition, ImodelModule* module) const
{
    if (!transition || !module) return false;
    Tools required;
    transition->GetFromsOpt(required, false);
    return std::all_of(required.begin(), required.end(),
                       [module](const IprocessToolObject* tool) { return tool->IsToolEnable(module); });
}

bool IprocessToolObject::GetOutOfDateFilesNeedingThisTool(Nodes& out, ImodelModule* module) const
{
    ImodelRevContextImpl* revision = CurrentRevisionOf(module);
    if (!revision) return false;
    out.clear();
    for (const IprocessToolToFileTransition* transition : m_toFiles)
        for (IprocessFileObject* output : transition->GetTosList())
            if (output->GetIntelligentFileState(module) == imodelFileOutOfDate &&
                output->IsObjectUsed(module, revision))
                out.push_back(output);
    return true;
}

// --- inputs per design state -------------------------------------------------------------------------

IprocessFileToToolTransition* IprocessToolObject::GetDefaultInputFileTransition(imodelSolvatoState state,
                                                                                bool needUsedForState, bool needEnabled,
                                                                                ImodelModule* module,
                                                                                ImodelRevContext* revision,
                                                                                int excludedFileType) const
{
    for (IprocessFileToToolTransition* transition : m_fromFiles) {
        if (transition->GetDefaultState() != state || !transition->IsObjectUsed(module, revision)) continue;
        if (excludedFileType != -1 && std::any_of(transition->GetFromsList().begin(), transition->GetFromsList().end(),
                                                  [excludedFileType](const IprocessFileObject* source) {
                                                      return source->GetFileType() == excludedFileType;
                                                  }))
            continue;
        if (needUsedForState && !transition->IsUsedForState()) continue;
        if (needEnabled && !IsTransitionEnable(transition, module)) continue;
        return transition;
    }
    return nullptr;
}

bool IprocessToolObject::GetDefaultInputFilesForState(imodelSolvatoState state, Nodes* out, ImodelModule* module,
                                                      ImodelRevContext* revision, bool withOptional) const
{
    if (m_fromFiles.empty() || !out) return false;
    for (const IprocessFileToToolTransition* transition : m_fromFiles) {
        if (transition->GetDefaultState() == state && transition->IsObjectUsed(module, revision) &&
            transition->IsUsedForState()) {
            transition->GetFromsOpt(*out, withOptional);
            return true;
        }
    }
    for (const IprocessFileToToolTransition* transition : m_fromFiles)
        if (transition->IsUsedForState() && transition->IsObjectUsed(module, revision))
            out->insert(out->end(), transition->GetFromsList().begin(), transition->GetFromsList().end());
    return false;
}

bool IprocessToolObject::GetOutOfDateInputFiles(Nodes& out, ImodelModule* module, ImodelRevContext* revision,
                                                bool withOptional) const
{
    if (!module || !revision) return false;
    Nodes inputs;
    GetDefaultInputFilesForState(revision->GetSolvatoState(), &inputs, module, revision, withOptional);
    for (IprocessFileObject* input : inputs) {
        const auto file = input->GetFileManagerObject(module, revision, true, false, true);
        if (file && file->GetFileState() == imodelFileOutOfDate) out.push_back(input);
    }
    return true;
}

// --- the packager ----------------------------------------------------------------------------------------

IprocessPackagerTool::IprocessPackagerTool()
    : IprocessToolObject("Packager", "Publish", idePACKAGER, imodelDevicePackage, false)
{
    AttachUseConstraint(&IprocessHideBlockPostLayoutTools);
    SetPredecessorFileSelectionType(zorpaFT_ADB);
}

bool IprocessPackagerTool::IsToolEnable(ImodelModule* module) const
{
    Imodel& model = Imodel::GetInstance();
    if (!module || !module->GetModuleFile() || !model.IsPackagerEnabled()) return false;
    ImodelDesignManager* design = model.GetDesignManager();
    const bool isRoot = design && design->GetRootModule() == module;
    const ImodelGlobalFlowOptions* options = model.GetGlobalFlowOptions();
    const bool blockMode = options && options->NoIOMode;
    if (const VyIfaces::IComponent* component = module->GetComponent()) {
        if (isRoot && blockMode) return IprocessToolObject::IsToolEnable(module);
        return model.IsPackagerEnabledFor(component);
    }
    zorpaModuleIsHDL isHDL;
    isHDL.Visit(module->GetModuleType());
    if (!isHDL.IsHDL() || !isRoot) return false;
    if (model.IsPackagerEnabledForUserIP()) return true;
    if (!blockMode) return false;
    return IprocessToolObject::IsToolEnable(module);
}

bool ImodelToolNeedsAdb(ImodelFunctionType type)
{
    return type == ideTORVIX || type == ideSTRABBEL || type == ideGLIMMOND || type == idePACKAGER;
}

// --- the host's profile manager --------------------------------------------------------------------------

bool IprofileManager::GetActiveTool(ImodelFunctionType kind, std::string& displayName, std::string& info,
                                    std::string& key)
{
    std::string profile, version, executable;
    bool batch = false;
    const bool active = FindActiveTool(kind, profile, info, version, executable, key, batch);
    displayName.clear();
    if (!ImodelDefGetStr((key + "_DISP").c_str(), displayName) || displayName.empty())
        if (!ImodelDefGetStr(key.c_str(), displayName)) displayName.clear();
    if (displayName.empty()) displayName = "'Unknown Tool'";
    return active;
}
