// The file nodes and tool nodes of the flow, in their fixed order.
#include "src/iprocess/iprocessFlowBuilders.h"

#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "iprocess/IprocessConditions.h"

#include <foundation/Def.h>

namespace {

struct FileNodeRow {
    zorpaFileManagerTypes type;
    std::string suffix;
    bool isHDL;
    const char* extension;
};

}  // namespace

bool IprocessCreateFlowFileObjects(std::vector<std::unique_ptr<IprocessFileObject>>& nodes, IfileManager* fileManager)
{
    const std::string phySynthesis = "_zevoru";
    std::string backAnnotated;
    if (!ImodelDefGetStr("IDE_BA_NAME_APPEND", backAnnotated)) backAnnotated.clear();
    int passSdc = 0;
    const bool sdcByDefault =
        DefGetBoolFL("IDE_PASS_SYNPLIFY_SDC_BY_DEFAULT", &passSdc, __FILE__, __LINE__) == 0 && passSdc == 1;

    const auto add = [&](const FileNodeRow& row) -> IprocessFileObject& {
        nodes.push_back(
            std::make_unique<IprocessFileObject>(row.type, row.suffix, row.isHDL, row.extension, "", fileManager));
        return *nodes.back();
    };

    IprocessFileObject& hdl = add({zorpaFT_HDL, "", false, ""});
    hdl.AttachIgnoreConstraint(&IprocessIsEDIFFlow);

    IprocessFileObject& netlist = add({zorpaFT_SYN_EDN, "", false, "edn"});
    netlist.UserCanSelectFileToUse(true);
    netlist.AttachIgnoreConstraint(&IprocessHideEdifNetlist);

    IprocessFileObject& synthesisConstraints = add({zorpaFT_SYN_SDC, "_sdc", false, "sdc"});
    synthesisConstraints.SetOptionalConstraintFileLevel(imodelConstraintFlowSynthesis, sdcByDefault);
    synthesisConstraints.AttachIgnoreConstraint(&IprocessHideSynthesisTool);
    synthesisConstraints.AttachUseConstraint(&IprocessIsSynplifyProfileActivated);

    add({zorpaFT_SYN_HDL, "", true, ""}).AttachIgnoreConstraint(&IprocessHideEdifNetlist);

    add({zorpaFT_ZEVORU_EDN, phySynthesis, false, "edn"}).AttachUseConstraint(&IprocessUsePhySynth);
    for (const auto& [type, extension] : {std::pair{zorpaFT_ZEVORU_GCF, "gcf"}, std::pair{zorpaFT_ZEVORU_PDC, "pdc"},
                                          std::pair{zorpaFT_ZEVORU_SDC, "sdc"}}) {
        IprocessFileObject& constraints = add({type, phySynthesis, false, extension});
        constraints.SetOptionalConstraintFileLevel(imodelConstraintFlowPhysicalSynthesis, true);
        constraints.AttachUseConstraint(&IprocessUsePhySynth);
    }
    add({zorpaFT_ZEVORU_HDL, phySynthesis, true, ""}).AttachUseConstraint(&IprocessUsePhySynth);

    add({zorpaFT_ADB, "", false, "adb"}).UserCanSelectFileToUse(true);
    add({zorpaFT_BA_SDF, backAnnotated, false, "sdf"});
    add({zorpaFT_BA_HDL, backAnnotated, true, ""});

    IprocessFileObject& probe = add({zorpaFT_PRB, "", false, "prb"});
    probe.AttachIgnoreConstraint(&IprocessIsTorvixEnable);
    probe.AttachIgnoreConstraint(&IprocessHideBlockPostLayoutTools);

    IprocessFileObject& pdb = add({zorpaFT_PDB, "", false, "pdb"});
    pdb.AttachUseConstraint(&IprocessIsPDBUsed);
    pdb.AttachIgnoreConstraint(&IprocessHideBlockPostLayoutTools);

    IprocessFileObject& stp = add({zorpaFT_STP, "", false, "stp"});
    stp.AttachUseConstraint(&IprocessIsTorvixEnable);
    stp.AttachIgnoreConstraint(&IprocessIsPDBUsed);
    stp.AttachIgnoreConstraint(&IprocessHideBlockPostLayoutTools);

    IprocessFileObject& programming = add({zorpaFT_PRO, "", false, "pro"});
    programming.SetSubFolder(true, "_tx");
    programming.UserCanSelectFileToUse(true);
    programming.AttachIgnoreConstraint(&IprocessHideBlockPostLayoutTools);

    IprocessFileObject& debugger = add({zorpaFT_BSP, "_syn", false, "bsp"});
    debugger.SetHandlePredecessor(false);
    debugger.AttachIgnoreConstraint(&IprocessHideBlockPostLayoutTools);
    debugger.AttachUseConstraint(&IprocessIsIdentifyDebuggerEnabled);
    return true;
}

bool IprocessCreateFlowToolObjects(std::vector<std::unique_ptr<IprocessToolObject>>& tools)
{
    const auto add = [&tools](const std::string& name, const std::string& group, ImodelFunctionType type,
                              imodelDeviceMembers level, bool packageDependent) -> IprocessToolObject& {
        tools.push_back(std::make_unique<IprocessToolObject>(name, group, type, level, packageDependent));
        return *tools.back();
    };

    add("HDL Editor", "", ideHDLEDITOR, imodelDeviceNone, false);
    add("ViewDraw", "", ideVIEWDRAW, imodelDeviceNone, false);
    add(ImodelGetCoreToolString(), "", ideOMBRIX, imodelDeviceNone, false);
    if (Imodel::GetInstance().IntegrateDremmet()) add("Core Configurator", "", ideARM, imodelDeviceNone, false);

    IprocessToolObject& synthesis = add("Synplicity", "Synthesis", ideSYNTHESIS, imodelDeviceFamily, true);
    synthesis.AttachIgnoreConstraint(&IprocessHideSynthesisTool);
    synthesis.SetFileSelectionType(zorpaFT_SYN_EDN);

    IprocessToolObject& physicalSynthesis = add("DAVIRI", "Phy. Synthesis", idePHYSYNTH, imodelDevicePackage, false);
    physicalSynthesis.AttachUseConstraint(&IprocessUsePhySynth);
    physicalSynthesis.SetFileSelectionType(zorpaFT_ZEVORU_EDN);

    add("Pallador", "Place&Route", idePALLADOR, imodelDevicePackage, false).SetFileSelectionType(zorpaFT_ADB);
    tools.push_back(std::make_unique<IprocessPackagerTool>());

    IprocessToolObject& probe = add("Glimmond", "Debugging", ideGLIMMOND, imodelDevicePackage, false);
    probe.AttachIgnoreConstraint(&IprocessIsTorvixEnable);
    probe.AttachIgnoreConstraint(&IprocessHideBlockPostLayoutTools);

    IprocessToolObject& programming = add("Torvix", "Programming", ideTORVIX, imodelDevicePackage, false);
    programming.AttachIgnoreConstraint(&IprocessHideBlockPostLayoutTools);
    programming.AttachUseConstraint(&IprocessIsTorvixEnable);

    add("Strabbel", "Programming", ideSTRABBEL, imodelDevicePackage, false)
        .AttachIgnoreConstraint(&IprocessHideBlockPostLayoutTools);
    add("WFL", "Stimulus", ideSTIMULUS, imodelDeviceNone, false);
    add("Stimulus Editor", "Stimulus", ideSTIMULUSEDITOR, imodelDeviceNone, false);
    add("ModelSim", "Simulation", ideSIMULATION, imodelDeviceNone, true);

    IprocessToolObject& debugger = add("Identify Debugger", "Debugging", ideIDENTIFYDEBUGGER, imodelDeviceNone, false);
    debugger.AttachIgnoreConstraint(&IprocessHideBlockPostLayoutTools);
    debugger.AttachUseConstraint(&IprocessIsIdentifyDebuggerEnabled);

    std::string editor;
    if (!ImodelDefGetStr("IDE_CONSTRAINTS_EDITOR_NAME", editor)) editor.clear();
    if (!editor.empty()) ImodelReplaceAll(editor, " Constraints", "", 0);
    add(editor, "", ideCONSTRAINTSEDITOR, imodelDeviceNone, false);
    return true;
}
