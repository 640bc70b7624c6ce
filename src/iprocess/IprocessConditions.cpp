#include "iprocess/IprocessConditions.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"
#include "imodel/views/ImodelFlowOptions.h"
#include "imodel/views/ImodelRevContext.h"
#include "iprofile/IprofileManager.h"

#include <foundation/Def.h>

#include <array>
#include <utility>

namespace {

// A text option that can be read (within the foundation's 1024-character
// buffer) and is not empty.
bool IsTextOptionSet(const char* name)
{
    char buffer[1024];
    return DefGetStrFL(name, buffer, sizeof buffer, __FILE__, __LINE__) == 0 && buffer[0] != '\0';
}

ImodelFlowOptions* FlowOptionsOf(ImodelModule* module, ImodelRevContext* revision)
{
    return module && revision ? revision->GetFlowOptions() : nullptr;
}

}  // namespace

bool IprocessIsFamilyOKForZEVORU() { return IsTextOptionSet("IDE_ZEVORU_FAM"); }

bool IprocessIsFamilyOKForTORVIX() { return IsTextOptionSet("IDE_TORVIX_FAM"); }

bool IprocessIsFamilyOKForPDB()
{
    if (!IprocessIsFamilyOKForTORVIX()) return false;
    std::string types;
    return ImodelDefGetStr("EXPORT_PROGRAMMING_TYPES", types) && types.find("EXPORT_PDB") != std::string::npos;
}

bool IprocessIsToolActivated(const char* key, ImodelFunctionType tool)
{
    ImodelHost* host = Imodel::GetInstance().GetHost();
    IprofileManager* profiles = host ? host->GetProfileManager() : nullptr;
    if (!profiles) return false;
    std::string profile, info, version, executable, toolKey;
    bool batch = false;
    if (!profiles->FindActiveTool(tool, profile, info, version, executable, toolKey, batch)) return false;
    return key && toolKey == key;
}

bool IprocessIsTorvixEnable(ImodelModule*, ImodelRevContext*) { return IprocessIsFamilyOKForTORVIX(); }

bool IprocessUsePhySynth(ImodelModule* module, ImodelRevContext* revision)
{
    const ImodelFlowOptions* options = FlowOptionsOf(module, revision);
    return options && options->UsePhySynth;
}

bool IprocessHideBlockPostLayoutTools(ImodelModule*, ImodelRevContext*)
{
    int enabled = 0;
    if (DefGetBoolFL("ENABLE_BLOCK_POST_LAYOUT", &enabled, __FILE__, __LINE__) == 0 && enabled == 1) return false;
    const ImodelGlobalFlowOptions* options = Imodel::GetInstance().GetGlobalFlowOptions();
    return options && options->NoIOMode;
}

bool IprocessIsEDIFFlow(ImodelModule* module, ImodelRevContext*)
{
    if (!module) return false;
    const boost::shared_ptr<IfileObjectEx> file = module->GetModuleFile();
    return file && file->GetFileSpecificType() == zorpaFT_SYN_EDN;
}

bool IprocessHideSynthesisTool(ImodelModule* module, ImodelRevContext* revision)
{
    const ImodelFlowOptions* options = FlowOptionsOf(module, revision);
    if (!options) return false;
    // The options first: whether the unit is structural is a walk of its hierarchy.
    if (!options->UseSynth && !IprocessUsePhySynth(module, revision) && module->IsStructural()) return true;
    return IprocessIsEDIFFlow(module, revision);
}

bool IprocessHideEdifNetlist(ImodelModule* module, ImodelRevContext* revision)
{
    return IprocessHideSynthesisTool(module, revision) && !IprocessIsEDIFFlow(module, revision);
}

bool IprocessConditionImplies(IprocessCondition condition, IprocessCondition other)
{
    return condition == other || (condition == &IprocessHideEdifNetlist && other == &IprocessHideSynthesisTool);
}

bool IprocessIsSynplifyProfileActivated(ImodelModule*, ImodelRevContext*)
{
    return IprocessIsToolActivated("SYNPLIFY7_EXT", ideSYNTHESIS);
}

bool IprocessIsIdentifyDebuggerEnabled(ImodelModule* module, ImodelRevContext* revision)
{
    return IprocessIsFamilyOKForTORVIX() && IprocessIsToolActivated("SYNPLIFY7_EXT", ideSYNTHESIS) &&
           !IprocessHideSynthesisTool(module, revision);
}

bool IprocessIsPDBUsed(ImodelModule*, ImodelRevContext*)
{
    const ImodelGlobalFlowOptions* options = Imodel::GetInstance().GetGlobalFlowOptions();
    bool used = options && options->IsPDBUsed();
    // The older programming tool takes no PDB file.
    if (used && IprocessIsToolActivated("TORVIX3X_EXT", ideTORVIX)) used = false;
    const bool familyExportsPdb = IprocessIsFamilyOKForPDB();
    return familyExportsPdb && used;
}

bool IprocessIsPackagerEnabled(ImodelModule*, ImodelRevContext*) { return Imodel::GetInstance().IsPackagerEnabled(); }

std::string IprocessGetConditionName(IprocessCondition condition)
{
#define IPROCESS_CONDITION_ROW(function)                                                                               \
    std::pair<IprocessCondition, const char*> { &function, #function }
    static const std::array conditions = {
        IPROCESS_CONDITION_ROW(IprocessIsTorvixEnable),
        IPROCESS_CONDITION_ROW(IprocessUsePhySynth),
        IPROCESS_CONDITION_ROW(IprocessHideBlockPostLayoutTools),
        IPROCESS_CONDITION_ROW(IprocessIsEDIFFlow),
        IPROCESS_CONDITION_ROW(IprocessHideSynthesisTool),
        IPROCESS_CONDITION_ROW(IprocessHideEdifNetlist),
        IPROCESS_CONDITION_ROW(IprocessIsSynplifyProfileActivated),
        IPROCESS_CONDITION_ROW(IprocessIsIdentifyDebuggerEnabled),
        IPROCESS_CONDITION_ROW(IprocessIsPDBUsed),
        IPROCESS_CONDITION_ROW(IprocessIsPackagerEnabled),
    };
#undef IPROCESS_CONDITION_ROW
    for (const auto& [function, name] : conditions)
        if (function == condition) return name;
    return std::string();
}

bool IprocessIsToolRevDependent(ImodelFunctionType tool)
{
    return tool == idePALLADOR || tool == ideTORVIX || tool == ideSTRABBEL || tool == ideGLIMMOND;
}

bool IprocessIsFileRevDependent(int type) { return ImodelGetGlobalType(type) == zorpaFT_GROUP_PALLADOR; }

bool IprocessIsStateRevDependent(imodelSolvatoState state) { return state == Post_Layout; }

bool IprocessIsToolSupported_ForNToN_LogFile_StateMachine(ImodelFunctionType tool)
{
    return tool == ideSYNTHESIS || tool == idePHYSYNTH || tool == idePALLADOR;
}

bool IprocessIsToolHidden(ImodelFunctionType tool, Imodel& model)
{
    switch (tool) {
    case ideARM:
        return !model.IntegrateDremmet();
    case ideCONSTRAINTSEDITOR:
        return !ImodelIsConstraintEditorSupported();
    case ideGENERATEEDIF:
        return ImodelIsSwitchOn("IDE_GENERATE_EDIF");
    case idePACKAGER:
        return !model.IsPackagerEnabled();
    default:
        return false;
    }
}
