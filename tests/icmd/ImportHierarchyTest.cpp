// import_files and the design tree: however many files come in, the root is
// set once, after the last of them, and the views hear once of units that
// several files now define.
#include "IcmdTestSupport.h"
#include "RecordingView.h"

#include "icmd/project/IcmdCloseProject.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"

namespace {

class ImportHierarchyTest : public IcmdTest {
protected:
    void SetUp() override
    {
        IcmdTest::SetUp();
        LoadOnePartCatalogue();
        ASSERT_EQ(RegisterCommands({"import_files", "set_root"}), 2);
        ASSERT_TRUE(NewAluProject());
    }
    void TearDown() override
    {
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, true);
        IcmdTest::TearDown();
    }
    static std::string RootName()
    {
        const ImodelModule* root = Design().GetRootModule();
        return root ? root->GetName() : "";
    }

    RecordingView view;
};

}  // namespace

TEST_F(ImportHierarchyTest, TheRootIsSetOnceAfterTheLastFileAndTheViewsHearOfADuplicateOnce)
{
    m_folder.Write("src/leaf.vhd", "entity leaf is end;\narchitecture rtl of leaf is begin end;\n");
    m_folder.Write("src/mid.vhd", "entity mid is end;\narchitecture rtl of mid is\n"
                                  "begin u : entity work.leaf; end;\n");
    m_folder.Write("src/top.vhd", "entity top is end;\narchitecture rtl of top is\n"
                                  "begin u : entity work.mid; end;\n");
    const ImodelSetAndRestoreModelFlagObject tree(Imodel::GetUpdateTree(), true);
    view.Clear();
    ASSERT_EQ(Eval("import_files -hdl_source {../src/leaf.vhd ../src/mid.vhd ../src/top.vhd}"), TCL_OK) << result;
    EXPECT_EQ(view.Count("IeventCurrentRootChanged"), 1);
    const std::string root = RootName();
    EXPECT_FALSE(root.empty());
    EXPECT_EQ(view.Count("IeventNewErrorModulesAddedOrRemoved"), 0);
    EXPECT_TRUE(Imodel::GetUpdateTree());

    // A second definition of a unit: one event for the views, the root kept.
    m_folder.Write("src/mid2.vhd", "entity mid is end;\narchitecture flat of mid is begin end;\n");
    view.Clear();
    ASSERT_EQ(Eval("import_files -hdl_source ../src/mid2.vhd"), TCL_OK) << result;
    EXPECT_EQ(view.Count("IeventNewErrorModulesAddedOrRemoved"), 1);
    EXPECT_EQ(RootName(), root);
    EXPECT_TRUE(Imodel::GetUpdateTree());
}
