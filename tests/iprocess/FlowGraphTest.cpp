// The flow graph as built: compared whole with one expected text per
// configuration, then its invariants and the walks over it.
#include "FlowDump.h"
#include "FlowProject.h"

#include "src/iprocess/iprocessFlowImpl.h"
#include "src/iprocess/iprocessRevisionMessageObjectMgr.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

namespace {

// The flow as the model builds it, with a back-annotation suffix and a
// constraints editor set, the core configurator integrated or not.
std::unique_ptr<iprocessFlowImpl> BuildFlow(bool configurator)
{
    FlowOptionsScope options({{"IDE_INTEGRATE_DREMMET", configurator ? "1" : "0"},
                              {"IDE_BA_NAME_APPEND", "_ba"},
                              {"IDE_CONSTRAINTS_EDITOR_NAME", "Sorrin Constraints Editor"}});
    auto flow = std::make_unique<iprocessFlowImpl>("DEFAULT", nullptr);
    flow->BuildFlow();
    return flow;
}

// Compares with the expected text; QUORLANE_WRITE_EXPECTED=1 writes it instead.
void ExpectText(const std::string& actual, const std::string& name)
{
    const std::string path = std::string(QUORLANE_TEST_DATA_DIR) + "/iprocess/" + name;
    if (const char* write = std::getenv("QUORLANE_WRITE_EXPECTED"); write && std::string(write) == "1")
        std::ofstream(path) << actual;
    std::ifstream file(path);
    std::stringstream expected;
    expected << file.rdbuf();
    EXPECT_EQ(actual, expected.str()) << "expected text: " << path;
}

// Every transition is listed on each of its nodes and has a number of its
// kind's range, once.
template <class Transition, class Lists>
void ExpectLinked(const std::vector<Transition*>& transitions, int low, int high, std::set<int>& ids,
                  const Lists& lists)
{
    for (Transition* transition : transitions) {
        EXPECT_TRUE(ids.insert(transition->GetID()).second) << transition->GetID();
        EXPECT_GE(transition->GetID(), low);
        EXPECT_LE(transition->GetID(), high);
        const auto& [fromList, toList] = lists;
        for (auto* node : transition->GetFromsList()) {
            const auto& listed = fromList(*node);
            EXPECT_NE(std::find(listed.begin(), listed.end(), transition), listed.end());
        }
        for (auto* node : transition->GetTosList()) {
            const auto& listed = toList(*node);
            EXPECT_NE(std::find(listed.begin(), listed.end(), transition), listed.end());
        }
    }
}

}  // namespace

TEST(FlowGraph, AsBuiltWithAndWithoutTheCoreConfigurator)
{
    Imodel::GetInstance().GetDesignManager()->SetDefaultVHDL(false);
    ExpectText(DumpFlow(*BuildFlow(false)), "flow_default.txt");
    ExpectText(DumpFlow(*BuildFlow(true)), "flow_with_configurator.txt");
}

TEST(FlowGraph, EveryTransitionIsLinkedBothWaysUnderAUniqueNumber)
{
    for (bool configurator : {false, true}) {
        const auto flow = BuildFlow(configurator);
        std::set<int> ids;
        const auto toolOutputs = [](const IprocessToolObject& tool) { return tool.GetOutputTransitionsToFiles(); };
        const auto toolInputs = [](const IprocessToolObject& tool) { return tool.GetInputTransitionsFromFiles(); };
        const auto fileInputsFromTools = [](const IprocessFileObject& file) { return file.GetInputToolTransitions(); };
        const auto fileOutputsToTools = [](const IprocessFileObject& file) { return file.GetOutputToolTransitions(); };
        const auto fileInputsFromFiles = [](const IprocessFileObject& file) { return file.GetInputFileTransitions(); };
        const auto fileOutputsToFiles = [](const IprocessFileObject& file) { return file.GetOutputFileTransitions(); };
        ExpectLinked(flow->GetToolToFileTransitions(), 0, 11, ids, std::pair(toolOutputs, fileInputsFromTools));
        ExpectLinked(flow->GetFileToToolTransitions(), 117, 139, ids, std::pair(fileOutputsToTools, toolInputs));
        ExpectLinked(flow->GetFileToFileTransitions(), 1001, 1007, ids,
                     std::pair(fileOutputsToFiles, fileInputsFromFiles));
        EXPECT_EQ(ids.size(), configurator ? 42u : 41u);

        // The automatic conversions mark their targets, and only those.
        for (const IprocessFileObject* node : flow->GetFileObjects()) {
            const auto& inputs = node->GetInputFileTransitions();
            const bool converted = std::any_of(inputs.begin(), inputs.end(),
                                               [](const auto* transition) { return transition->IsAutoProcessed(); });
            EXPECT_EQ(node->IsAutoProcessed(), converted) << node->GetFileType();
        }

        // A number finds its one transition, in the list of its kind only.
        std::vector<IprocessToolToToolTransition*> toolToTool;
        std::vector<IprocessToolToFileTransition*> toolToFile;
        std::vector<IprocessFileToToolTransition*> fileToTool;
        std::vector<IprocessFileToFileTransition*> fileToFile;
        EXPECT_TRUE(flow->GetTransition(1003, toolToTool, toolToFile, fileToTool, fileToFile));
        EXPECT_TRUE(toolToTool.empty() && toolToFile.empty() && fileToTool.empty());
        ASSERT_EQ(fileToFile.size(), 1u);
        EXPECT_EQ(fileToFile[0]->GetTosList(), std::vector<IprocessFileObject*>{flow->GetFileObject(zorpaFT_ADB)});
        EXPECT_FALSE(flow->GetTransition(12, toolToTool, toolToFile, fileToTool, fileToFile));
        EXPECT_EQ(fileToFile.size(), 1u);
        EXPECT_EQ(flow->GetTransition(3, toolToTool, toolToFile, fileToTool, fileToFile), configurator);
    }
}

TEST(FlowGraph, SortingNodesRestoresTheFlowOrder)
{
    const auto flow = BuildFlow(false);
    IprocessFileObject stranger(zorpaFT_SYN_EDN, "", false, "edn", "", nullptr);
    std::vector<IprocessFileObject*> nodes = flow->GetFileObjects();
    nodes.insert(nodes.begin() + 3, &stranger);
    std::shuffle(nodes.begin(), nodes.end(), std::mt19937(7));
    flow->SortFilesFlowOrder(nodes);
    std::vector<IprocessFileObject*> expected = flow->GetFileObjects();
    expected.push_back(&stranger);
    EXPECT_EQ(nodes, expected);
}

using FlowWalks = FlowProject;

TEST_F(FlowWalks, ToolPathsLeadFromTheSourcesThroughTheUsedTools)
{
    ImodelModule* top = Unit("top");
    std::vector<IprocessToolObject*> tools;
    // The database is made from the synthesis netlist without a step of its own.
    ASSERT_TRUE(Flow().FindToolPath(&Node(zorpaFT_ADB), tools, top));
    EXPECT_EQ(tools, std::vector<IprocessToolObject*>{&Tool(ideSYNTHESIS)});
    tools.clear();
    ASSERT_TRUE(Flow().FindToolPath(&Node(zorpaFT_BA_SDF), tools, top));
    EXPECT_EQ(tools, (std::vector<IprocessToolObject*>{&Tool(ideSYNTHESIS), &Tool(idePALLADOR)}));
    // The programming project is made by hand from the programming files.
    tools.clear();
    EXPECT_FALSE(Flow().FindToolPath(&Node(zorpaFT_PRO), tools, top));
    EXPECT_TRUE(tools.empty());
    EXPECT_FALSE(Flow().FindToolPath(&Node(zorpaFT_ADB), tools, nullptr));

    // A unit that names another flow does not use this one; an unnamed one does.
    EXPECT_TRUE(Flow().IsObjectUsed(top, top->GetContext()));
    top->SetFlowName("OTHER");
    EXPECT_FALSE(Flow().IsObjectUsed(top, top->GetContext()));
    top->SetFlowName("DEFAULT");
    EXPECT_TRUE(Flow().IsObjectUsed(top, top->GetContext()));
}

TEST_F(FlowWalks, ToolStatesReachTheRevisionsThatUseTheNodeOfTheMessage)
{
    ImodelModule* top = Unit("top");
    ImodelContextImpl& context = *top->GetContext();
    ASSERT_TRUE(context.AddRevision("impl2"));
    std::vector<ImodelRevContextImpl*> revisions;
    context.GetRevsUsed(revisions, nullptr);
    EXPECT_EQ(revisions.size(), 2u);

    // Place and route runs per view: a message about it concerns the current one.
    top->SetMessageObject(&Tool(idePALLADOR));
    context.SetToolState(&Tool(idePALLADOR), StateSuccess, &Tool(idePALLADOR), false);
    EXPECT_EQ(context.FindRevision("impl1")->GetToolState(&Tool(idePALLADOR)), StateSuccess);
    EXPECT_EQ(context.FindRevision("impl2")->GetToolState(&Tool(idePALLADOR)), StateNoResult);
    // Synthesis is shared by the views that use it.
    top->SetMessageObject(&Tool(ideSYNTHESIS));
    context.SetToolState(&Tool(ideSYNTHESIS), StateFailure, nullptr, false);
    EXPECT_EQ(context.FindRevision("impl2")->GetToolState(&Tool(ideSYNTHESIS)), StateFailure);
    EXPECT_EQ(context.GetToolState(&Tool(ideSYNTHESIS)), StateFailure);
    top->SetMessageObject(nullptr);
    EXPECT_EQ(context.GetToolState(nullptr), StateNoResult);
    context.FindRevision("impl2")->SetToolStateForFile(&Tool(idePALLADOR), nullptr, StateSuccess);
    EXPECT_EQ(context.FindRevision("impl2")->GetToolStateForFile(&Tool(idePALLADOR), nullptr), StateSuccess);
}
