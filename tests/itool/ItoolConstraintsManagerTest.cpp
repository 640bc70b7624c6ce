#include "itool/ItoolConstraintsManager.h"
#include "Golden.h"
#include "OptionsScope.h"
#include "imodel/model/Imodel.h"
#include "itool/ItoolPallador.h"
#include "itool/ItoolPhySynth.h"
#include "itool/ItoolSynthesis.h"
#include "itool/ItoolWithConstraints.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using ItoolConstraintsManagerTest = OptionsFixture;

// A tool of a kind that the model does not make.
class TestTool : public ItoolWithConstraints {
public:
    explicit TestTool(ImodelFunctionType type) : ItoolWithConstraints(type) {}
    bool GetConstraintFileList(Entries&, ImodelModule*, ImodelRevContextImpl*) override { return false; }
    bool SetConstraintFileList(const Entries&, ImodelModule*, ImodelRevContextImpl*) override { return false; }
    void ConstraintFileRemoved(const IfileObject&, ImodelModule*, ImodelRevContextImpl*) override {}
    void ConstraintFileDeleted(const IfileObject&) override {}
    void ConstraintFileChanged(ImodelModule*, const Entry&, IprocessFileObject*, IprocessToolObject*) override {}
    bool GetConstraintFileListEx(const Entry&, Entries&, ImodelModule*, ImodelRevContextImpl*, bool) override
    {
        return false;
    }
    bool GetToolFileKind(int&) override { return false; }
    std::string GetToolKey() override { return "TESTTOOL"; }
    void GetDefaultExtensions(std::vector<std::string>& extensions) override { extensions.clear(); }
};

}  // namespace

TEST_F(ItoolConstraintsManagerTest, TheModelsToolsAreRegisteredByTheirKind)
{
    Imodel& model = Imodel::GetInstance();
    EXPECT_EQ(ItoolConstraintsManager::GetTool(ideSYNTHESIS), model.GetSynthesisTool());
    EXPECT_EQ(ItoolConstraintsManager::GetTool(idePALLADOR), model.GetPalladorTool());
    EXPECT_EQ(ItoolConstraintsManager::GetTool(idePHYSYNTH), model.GetPhySynthTool());
    EXPECT_EQ(ItoolConstraintsManager::GetTool(ideSIMULATION), nullptr);
    // In the order they are made, with their keys and file kinds.
    std::string dump;
    for (ItoolWithConstraints* tool : ItoolConstraintsManager::GetAllTools()) {
        int kind = -1;
        const bool hasKind = tool->GetToolFileKind(kind);
        std::vector<std::string> extensions{"left over"};
        tool->GetDefaultExtensions(extensions);
        EXPECT_TRUE(extensions.empty());
        dump += std::to_string(tool->GetFunctionType()) + " " + tool->GetToolKey() +
                (hasKind ? " file kind " + std::to_string(kind) : "") + "\n";
    }
    ExpectMatchesGolden("constraint_tools.txt", dump);
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
