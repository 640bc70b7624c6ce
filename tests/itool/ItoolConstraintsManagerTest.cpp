#include "itool/ItoolConstraintsManager.h"
#include "imodel/model/Imodel.h"
#include "itool/ItoolPallador.h"
#include "itool/ItoolPhySynth.h"
#include "itool/ItoolSynthesis.h"
#include "itool/ItoolVeyrun.h"
#include "itool/ItoolWithConstraints.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

class ItoolConstraintsManagerTest : public testing::Test {
protected:
    void SetUp() override { DefReset(); }
    void TearDown() override { DefReset(); }
};

// A tool of a kind that the model does not make.
class TestTool : public ItoolWithConstraints {
public:
    explicit TestTool(ImodelFunctionType type) : ItoolWithConstraints(type) {}
    bool GetToolFileKind(int&) override { return false; }
    std::string GetToolKey() override { return "TESTTOOL"; }
    void GetDefaultExtensions(std::vector<std::string>& extensions) override { extensions.clear(); }
};

struct ToolRow {
    ImodelFunctionType type;
    const char* key;
    bool hasFileKind;
    int fileKind;
    const char* extensionOption;
};

const ToolRow kModelTools[] = {
    {ideSYNTHESIS, "SYNTHESIS", false, 0, "SYNTHESIS_CONSTRAINTS_LIST"},
    {idePALLADOR, "PALLADOR", true, 3, "PALLADOR_IMPORT_CONSTRAINT_FILES"},
    {idePHYSYNTH, "DAVIRI", true, 2, "PHYSYNTH_CONSTRAINTS_LIST"},
};

}  // namespace

TEST_F(ItoolConstraintsManagerTest, TheModelsToolsAreRegisteredByTheirKind)
{
    Imodel& model = Imodel::GetInstance();
    EXPECT_EQ(&model.GetConstraintsManager(), &ItoolConstraintsManager::GetInstance());

    EXPECT_EQ(ItoolConstraintsManager::GetTool(ideSYNTHESIS), model.GetSynthesisTool());
    EXPECT_EQ(ItoolConstraintsManager::GetTool(idePALLADOR), model.GetPalladorTool());
    EXPECT_EQ(ItoolConstraintsManager::GetTool(idePHYSYNTH), model.GetPhySynthTool());
    EXPECT_EQ(ItoolConstraintsManager::GetTool(ideSIMULATION), nullptr);

    // Made in the order place-and-route, physical synthesis, synthesis.
    const std::vector<ItoolWithConstraints*> tools = ItoolConstraintsManager::GetAllTools();
    ASSERT_GE(tools.size(), 3u);
    EXPECT_EQ(tools[0]->GetFunctionType(), idePALLADOR);
    EXPECT_EQ(tools[1]->GetFunctionType(), idePHYSYNTH);
    EXPECT_EQ(tools[2]->GetFunctionType(), ideSYNTHESIS);

    for (const ToolRow& row : kModelTools) {
        SCOPED_TRACE(row.key);
        ItoolWithConstraints* tool = ItoolConstraintsManager::GetTool(row.type);
        ASSERT_NE(tool, nullptr);
        EXPECT_EQ(tool->GetToolKey(), row.key);
        int kind = -1;
        EXPECT_EQ(tool->GetToolFileKind(kind), row.hasFileKind);
        if (row.hasFileKind) {
            EXPECT_EQ(kind, row.fileKind);
        }

        std::vector<std::string> extensions{"left over"};
        tool->GetDefaultExtensions(extensions);
        EXPECT_TRUE(extensions.empty());
        ASSERT_EQ(DefSetFL(row.extensionOption, "sdc \"my ext\" PDC"), 0);
        tool->GetDefaultExtensions(extensions);
        EXPECT_EQ(extensions, (std::vector<std::string>{"sdc", "my ext", "PDC"}));
    }
}

TEST_F(ItoolConstraintsManagerTest, AToolLeavesTheListWhenItGoesAndTheOthersKeepTheirOrder)
{
    Imodel::GetInstance();
    const std::vector<ItoolWithConstraints*> before = ItoolConstraintsManager::GetAllTools();
    auto first = std::make_unique<TestTool>(ideSIMULATION);
    auto second = std::make_unique<TestTool>(ideSIMULATION);
    EXPECT_EQ(ItoolConstraintsManager::GetTool(ideSIMULATION), first.get());

    first.reset();
    EXPECT_EQ(ItoolConstraintsManager::GetTool(ideSIMULATION), second.get());
    std::vector<ItoolWithConstraints*> expected = before;
    expected.push_back(second.get());
    EXPECT_EQ(ItoolConstraintsManager::GetAllTools(), expected);

    second.reset();
    EXPECT_EQ(ItoolConstraintsManager::GetTool(ideSIMULATION), nullptr);
    EXPECT_EQ(ItoolConstraintsManager::GetAllTools(), before);
}

TEST_F(ItoolConstraintsManagerTest, AWizardInstanceRegistersItsOwnToolsAndTakesThemAway)
{
    Imodel& model = Imodel::GetInstance();
    const std::vector<ItoolWithConstraints*> before = ItoolConstraintsManager::GetAllTools();
    Imodel* wizard = Imodel::CreateNewProjectWizardInstance();
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(ItoolConstraintsManager::GetAllTools().size(), before.size() + 3);
    // The first registered tool of a kind answers: the process-wide model's.
    EXPECT_EQ(ItoolConstraintsManager::GetTool(idePALLADOR), model.GetPalladorTool());
    Imodel::DestroyNewProjectWizardInstance(wizard);
    EXPECT_EQ(ItoolConstraintsManager::GetAllTools(), before);
}

TEST_F(ItoolConstraintsManagerTest, PassingConstraintFilesToParentsFollowsTheOptionPerToolAndType)
{
    Imodel& model = Imodel::GetInstance();
    ItoolWithConstraints* pallador = model.GetPalladorTool();
    ItoolWithConstraints* synthesis = model.GetSynthesisTool();

    // Not set: passed on.
    EXPECT_TRUE(pallador->PassConstraintFilesToParentModules("pdc"));

    ASSERT_TRUE(
        DefLoadDefaultsFromText("IDE_PASS_CONSTRAINT_FILES_TO_PARENT_MODULES[QTOOL_TYPE=PALLADOR,QFILE_TYPE=PDC] = 0\n"
                                "IDE_PASS_CONSTRAINT_FILES_TO_PARENT_MODULES[QTOOL_TYPE=SYNTHESIS] = 2\n"));
    EXPECT_FALSE(pallador->PassConstraintFilesToParentModules("pdc"));
    EXPECT_FALSE(pallador->PassConstraintFilesToParentModules("Pdc"));
    EXPECT_TRUE(pallador->PassConstraintFilesToParentModules("sdc"));
    EXPECT_FALSE(synthesis->PassConstraintFilesToParentModules("sdc"));  // 2 is not 1
    EXPECT_TRUE(model.GetPhySynthTool()->PassConstraintFilesToParentModules("pdc"));

    ASSERT_EQ(DefSetFL("IDE_PASS_CONSTRAINT_FILES_TO_PARENT_MODULES", "1"), 0);
    EXPECT_TRUE(pallador->PassConstraintFilesToParentModules("pdc"));

    // The query variables are put back.
    EXPECT_FALSE(DefGetFL("QTOOL_TYPE").has_value());
    EXPECT_FALSE(DefGetFL("QFILE_TYPE").has_value());
}

TEST_F(ItoolConstraintsManagerTest, TheBlockDesignManagerAnswersCoreType33)
{
    Imodel& model = Imodel::GetInstance();
    ItoolVeyrun* veyrun = ItoolVeyrun::GetInstance();
    ASSERT_NE(veyrun, nullptr);
    EXPECT_EQ(veyrun->GetCoreType(), zorpaFT_OMBRIX_CXF);
    EXPECT_EQ(veyrun->GetToolType(), ideOMBRIX);
    EXPECT_EQ(model.GetCoreToolManager(33), veyrun);
    EXPECT_EQ(model.GetCoreToolManager(34), veyrun);
    EXPECT_EQ(model.GetCoreToolManager(35), nullptr);
    const Imodel::CoreToolManagerRange managers = model.GetCoreToolManagers();
    EXPECT_EQ(std::count_if(managers.first, managers.second, [veyrun](const auto& m) { return m.get() == veyrun; }), 1);
}
