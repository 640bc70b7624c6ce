// The one design flow the system builds: which transitions join which file
// nodes and tool nodes, under which numbers and names, for which design
// state each is the default input, and under which conditions each takes
// part. Numbers: 0 to 11 tool to file, 117 to 139 file to tool, 1001 to
// 1007 file to file.
#include "imodel/model/Imodel.h"
#include "iprocess/IprocessConditions.h"
#include "src/iprocess/iprocessFlowImpl.h"

#include <initializer_list>

namespace {

// A condition and how it is attached.
struct Condition {
    bool use;  // else ignore
    IprocessCondition function;
};
constexpr Condition IgnoreEDIF{false, &IprocessIsEDIFFlow};
constexpr Condition UsePHY{true, &IprocessUsePhySynth};
constexpr Condition IgnorePHY{false, &IprocessUsePhySynth};
constexpr Condition UseHIDESYN{true, &IprocessHideSynthesisTool};
constexpr Condition IgnoreHIDESYN{false, &IprocessHideSynthesisTool};
constexpr Condition UseIDENT{true, &IprocessIsIdentifyDebuggerEnabled};

void Attach(IprocessFlowObject& object, std::initializer_list<Condition> conditions)
{
    for (const Condition& condition : conditions) {
        if (condition.use)
            object.AttachUseConstraint(condition.function);
        else
            object.AttachIgnoreConstraint(condition.function);
    }
}

const std::string kProgrammingTool = "Torvix";

}  // namespace

void iprocessFlowImpl::BuildTransitions()
{
    const auto toolToFile = [this](int id, const std::string& name, ImodelFunctionType from,
                                   std::initializer_list<zorpaFileManagerTypes> to, bool usedForState,
                                   std::initializer_list<Condition> conditions) {
        auto transition = std::make_unique<IprocessToolToFileTransition>(id, name, Pre_Synthesis, usedForState);
        transition->AttachFromObject(GetToolObject(from));
        for (zorpaFileManagerTypes type : to) transition->DoAttachToObject(GetFileObject(type), *transition->GetTos());
        Attach(*transition, conditions);
        m_toolToFile.push_back(std::move(transition));
    };
    const auto fileToTool = [this](int id, const std::string& name, std::initializer_list<zorpaFileManagerTypes> from,
                                   ImodelFunctionType to, imodelSolvatoState state, bool usedForState,
                                   std::initializer_list<Condition> conditions, bool targetFirst = false) {
        auto transition = std::make_unique<IprocessFileToToolTransition>(id, name, state, usedForState);
        if (targetFirst) transition->DoAttachToObject(GetToolObject(to), *transition->GetTos());
        for (zorpaFileManagerTypes type : from) transition->AttachFromObject(GetFileObject(type));
        if (!targetFirst) transition->DoAttachToObject(GetToolObject(to), *transition->GetTos());
        Attach(*transition, conditions);
        m_fileToTool.push_back(std::move(transition));
    };
    const auto fileToFile = [this](int id, const std::string& name, zorpaFileManagerTypes from,
                                   zorpaFileManagerTypes to, bool autoProcessed,
                                   std::initializer_list<Condition> conditions) {
        auto transition = std::make_unique<IprocessFileToFileTransition>(id, name, Pre_Synthesis, true);
        transition->AttachFromObject(GetFileObject(from));
        transition->DoAttachToObject(GetFileObject(to), *transition->GetTos());
        Attach(*transition, conditions);
        if (autoProcessed) transition->SetAutoProcessed(true);
        m_fileToFile.push_back(std::move(transition));
    };

    // What makes each file.
    toolToFile(0, "Hdl Source files", ideHDLEDITOR, {zorpaFT_HDL}, true, {IgnoreEDIF});
    toolToFile(1, "ViewDraw Source files", ideVIEWDRAW, {zorpaFT_HDL}, true, {IgnoreEDIF});
    toolToFile(2, "Ombrix Source files", ideOMBRIX, {zorpaFT_HDL}, true, {IgnoreEDIF});
    if (Imodel::GetInstance().IntegrateDremmet())
        toolToFile(3, "Dremmet Source files", ideARM, {zorpaFT_HDL}, true, {IgnoreEDIF});
    toolToFile(4, "Synthesis Output file", ideSYNTHESIS, {zorpaFT_SYN_EDN}, true, {});
    toolToFile(10, "Synthesis Output constraints", ideSYNTHESIS, {zorpaFT_SYN_SDC}, false, {});
    toolToFile(5, "Physical Synthesis Output file", idePHYSYNTH, {zorpaFT_ZEVORU_EDN}, true, {UsePHY});
    toolToFile(6, "Physical Synthesis Output constraints", idePHYSYNTH,
               {zorpaFT_ZEVORU_GCF, zorpaFT_ZEVORU_PDC, zorpaFT_ZEVORU_SDC}, false, {UsePHY});
    toolToFile(7, "Pallador Output Files", idePALLADOR, {zorpaFT_BA_SDF, zorpaFT_BA_HDL}, true, {});
    toolToFile(8, "Pallador Output Debugging", idePALLADOR, {zorpaFT_PRB}, false, {});
    toolToFile(11, "Pallador Output Debugging", idePALLADOR, {zorpaFT_PDB}, false, {});
    toolToFile(9, "Pallador Output Debugging", idePALLADOR, {zorpaFT_STP}, false, {});

    // What each tool reads, per design state.
    fileToTool(117, "Synthesize", {zorpaFT_HDL}, ideSYNTHESIS, Pre_Synthesis, true, {});
    fileToTool(118, "run DAVIRI", {zorpaFT_SYN_EDN}, idePHYSYNTH, Post_Synthesis, true, {UsePHY});
    fileToTool(119, "Create Stimulus", {zorpaFT_HDL}, ideSTIMULUS, Pre_Synthesis, true, {});
    fileToTool(120, "Create Stimulus", {zorpaFT_SYN_HDL}, ideSTIMULUS, Post_Synthesis, true, {});
    fileToTool(136, "Create Stimulus", {zorpaFT_ZEVORU_HDL}, ideSTIMULUS, Post_Phy_Synthesis, true, {UsePHY});
    fileToTool(121, "Create Stimulus", {zorpaFT_BA_HDL}, ideSTIMULUS, Post_Layout, true, {});
    fileToTool(122, "Run <STATE> Simulation", {zorpaFT_HDL}, ideSIMULATION, Pre_Synthesis, true, {});
    fileToTool(123, "Run <STATE> Simulation", {zorpaFT_SYN_HDL}, ideSIMULATION, Post_Synthesis, true, {});
    fileToTool(135, "Run <STATE> Simulation", {zorpaFT_ZEVORU_HDL}, ideSIMULATION, Post_Phy_Synthesis, true, {UsePHY});
    fileToTool(124, "Run <STATE> Simulation", {zorpaFT_BA_HDL, zorpaFT_BA_SDF}, ideSIMULATION, Post_Layout, true, {});
    fileToTool(125, "Run Glimmond with Prb file", {zorpaFT_PRB}, ideGLIMMOND, Pre_Synthesis, true, {});
    fileToTool(126, "Run Glimmond", {}, ideGLIMMOND, Pre_Synthesis, true, {});
    const std::string newProject = "Create New " + kProgrammingTool + " Project";
    fileToTool(138, newProject, {zorpaFT_PDB}, ideTORVIX, Pre_Synthesis, true, {}, true);
    fileToTool(127, newProject, {zorpaFT_STP}, ideTORVIX, Pre_Synthesis, true, {});
    fileToTool(128, "Run " + kProgrammingTool, {}, ideTORVIX, Pre_Synthesis, true, {});
    fileToTool(139, "Create And Publish Core", {zorpaFT_ADB}, idePACKAGER, Pre_Synthesis, true, {});
    fileToTool(132, "Run Pallador", {zorpaFT_ADB}, idePALLADOR, Pre_Synthesis, true, {UseHIDESYN});
    fileToTool(129, "Run with Source Files", {zorpaFT_HDL}, idePALLADOR, Pre_Synthesis, true, {UseHIDESYN, IgnoreEDIF});
    fileToTool(130, "Run Pallador", {zorpaFT_ADB}, idePALLADOR, Post_Synthesis, false, {IgnorePHY, IgnoreHIDESYN});
    fileToTool(133, "Run Pallador", {zorpaFT_SYN_EDN}, idePALLADOR, Post_Synthesis, true, {IgnorePHY});
    fileToTool(131, "Run Pallador", {zorpaFT_ADB}, idePALLADOR, Post_Phy_Synthesis, false, {UsePHY});
    fileToTool(134, "Run Pallador", {zorpaFT_ZEVORU_EDN}, idePALLADOR, Post_Phy_Synthesis, true, {UsePHY});
    fileToTool(137, "Run Identify Debugger", {zorpaFT_BSP}, ideIDENTIFYDEBUGGER, Pre_Synthesis, true, {UseIDENT});

    // Files made from other files without a step of their own.
    fileToFile(1001, "Generate Hdl Synthesized Netlist", zorpaFT_SYN_EDN, zorpaFT_SYN_HDL, true, {});
    fileToFile(1002, "Generate Hdl Physical Synthesized Netlist", zorpaFT_ZEVORU_EDN, zorpaFT_ZEVORU_HDL, true,
               {UsePHY});
    fileToFile(1003, "Create Pallador project file", zorpaFT_SYN_EDN, zorpaFT_ADB, true, {IgnorePHY});
    fileToFile(1004, "Create Pallador project file", zorpaFT_ZEVORU_EDN, zorpaFT_ADB, true, {UsePHY});
    fileToFile(1005, "Create Pallador project file", zorpaFT_HDL, zorpaFT_ADB, true, {UseHIDESYN});
    fileToFile(1006, "Create " + kProgrammingTool + " project file", zorpaFT_PDB, zorpaFT_PRO, false, {});
    fileToFile(1007, "Create " + kProgrammingTool + " project file", zorpaFT_STP, zorpaFT_PRO, false, {});
}
