// Files entering and leaving the design, seen from inside where the scenario
// scripts cannot look: the events and the need-save flag of import_files,
// the error kinds of a unit defined twice, the in-process add_file and
// delete_files_from_model, a replace question answered No, refresh keeping
// every setting of a library, and a definition freed by a delete.
#include "IcmdTestSupport.h"
#include "RecordingView.h"

#include "icmd/design/IcmdSetRoot.h"
#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/files/IcmdDeleteFilesFromModel.h"
#include "icmd/files/IcmdRefresh.h"
#include "icmd/project/IcmdCloseProject.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelRoot.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"

#include <algorithm>

namespace {

const char* const kFlatMid = "entity mid is port (a : in bit; b : out bit); end;\n"
                             "architecture flat of mid is begin b <= a; end;\n";
const char* const kOther = "entity other is end;\narchitecture rtl of other is begin end;\n";

using Entry = boost::shared_ptr<IfileObjectEx>;

class ContentFilesTest : public IcmdTest {
protected:
    void SetUp() override
    {
        IcmdTest::SetUp();
        LoadOnePartCatalogue();
        ASSERT_EQ(RegisterCommands({"import_files", "set_root", "use_source_file", "refresh"}), 4);
        ASSERT_TRUE(NewAluProject());
        Design().SetNeedSave(false);
    }
    void TearDown() override
    {
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, true);
        IcmdTest::TearDown();
    }

    static IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }
    // A project file in "hdl", written and added in process.
    Entry Add(const std::string& name, const char* text)
    {
        const std::string path = m_folder.Write("alu/hdl/" + name, text);
        return IcmdDoAddFileToModel(IfileObject(ImodelFileName(path), zorpaFT_HDL, ImodelFMFull, true, true), true,
                                    true, false, nullptr, nullptr, true, nullptr, true, false, nullptr);
    }
    Entry Member(const std::string& name) const
    {
        return Files().GetFile(
            IfileObject(ImodelFileName(m_folder / ("alu/hdl/" + name)), zorpaFT_HDL, ImodelFMFull, true, true));
    }
    static ImodelModule* Unit(const std::string& name)
    {
        const ImodelDesignManager::LibraryPtr work = Design().FindLibraryByName("work");
        return work ? ImodelFindModuleInLib(work, name, zorpaMODULE_UNKNOWN, "") : nullptr;
    }
    static std::string FileOf(const std::string& unit)
    {
        const ImodelModule* module = Unit(unit);
        return module && module->GetModuleFile() ? module->GetModuleFile()->GetFileTitleAndExt() : "";
    }
    static std::string RootName()
    {
        const ImodelModule* root = Design().GetRootModule();
        return root ? root->GetName() : "";
    }

    RecordingView view;
};

}  // namespace

// The refusal, the choice and refresh as a user sees them are in the
// scenario design_refresh; here the events and the library settings the
// project file does not hold.
TEST_F(ContentFilesTest, ASecondDefinitionIsKindTwoUntilChosenAndRefreshKeepsEveryLibrarySetting)
{
    Add("top.vhd", kTop);
    Add("mid.vhd", kMid);
    Add("leaf.vhd", kLeaf);
    {
        // With the design-tree switch on, the views hear of the new error once.
        const ImodelSetAndRestoreModelFlagObject tree(Imodel::GetUpdateTree(), true);
        view.Clear();
        Add("mid2.vhd", kFlatMid);
        EXPECT_EQ(view.Count("IeventNewErrorModulesAddedOrRemoved"), 1);
    }
    EXPECT_EQ(Member("mid2.vhd")->GetErrorFileType(), ImodelModuleAlreadyDefined);
    EXPECT_EQ(Member("mid.vhd")->GetModuleAlreadyDefined(), "mid");
    // Added again with the switch off, it stays in error without an event.
    view.Clear();
    Add("mid2.vhd", kFlatMid);
    EXPECT_EQ(view.Count("IeventNewErrorModulesAddedOrRemoved"), 0);
    ASSERT_EQ(Eval("use_source_file -file hdl/mid2.vhd -module mid"), TCL_OK) << result;
    EXPECT_EQ(Member("mid.vhd")->GetErrorFileType(), ImodelModuleAlreadyDefined);

    const ImodelDesignManager::LibraryPtr models = Design().AddLibrary("simlib", true);
    models->SetLocation("/opt/sim/src");
    models->SetNumber(7);
    IcmdDoRefresh(false);
    EXPECT_EQ(FileOf("mid"), "mid2.vhd");
    const ImodelDesignManager::LibraryPtr kept = Design().FindLibraryByName("simlib");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->GetLocation(), "/opt/sim/src");
    EXPECT_EQ(kept->GetNumber(), 7);
}

TEST_F(ContentFilesTest, InProcessAddAndDeleteKeepTheModelSound)
{
    // A file of the project folder that is not on disk is not added.
    const Entry missing = IcmdDoAddFileToModel(
        IfileObject(ImodelFileName(m_folder / "alu/hdl/gone.vhd"), zorpaFT_HDL, ImodelFMFull, true, true), true, true,
        false, nullptr, nullptr, true, nullptr, true, false, nullptr);
    EXPECT_FALSE(missing);
    EXPECT_FALSE(Member("gone.vhd"));
    EXPECT_FALSE(Files().HasFileOfSpecificType(zorpaFT_HDL, 0, nullptr));

    // Deleting the root's file leaves the first unit that can be the root.
    const std::string netlist = m_folder.Write("alu/synthesis/alu.edn", "(edif alu)\n");
    ASSERT_TRUE(IcmdDoAddFileToModel(IfileObject(ImodelFileName(netlist), zorpaFT_SYN_EDN, ImodelFMFull, true, true),
                                     true, true, false, nullptr, nullptr, true, nullptr, true, false, nullptr));
    Add("top.vhd", kTop);
    Add("mid.vhd", kMid);
    Add("leaf.vhd", kLeaf);
    Add("other.vhd", kOther);
    ASSERT_TRUE(IcmdDoSetRoot(false, Unit("top")->GetComponentID()));
    EXPECT_TRUE(IcmdDoDeleteFileFromModel(Member("top.vhd"), true, true, false, nullptr));
    EXPECT_FALSE(Member("top.vhd"));
    EXPECT_EQ(Unit("top"), nullptr);
    ASSERT_NE(Design().GetRootModule(), nullptr);
    EXPECT_EQ(Design().GetRootModule(), ImodelGetFirstValidRoot());
    EXPECT_TRUE(ImodelCanBeRoot(Design().GetRootModule()));

    // Until the last source goes, and the netlist is the design's again.
    for (const char* name : {"mid.vhd", "leaf.vhd"})
        IcmdDoDeleteFileFromModel(Member(name), true, true, false, nullptr);
    view.Clear();
    IcmdDoDeleteFileFromModel(Member("other.vhd"), true, true, false, nullptr);
    EXPECT_TRUE(Design().GetRootId().IsDefault());
    EXPECT_FALSE(Files().HasFileOfSpecificType(zorpaFT_HDL, 0, nullptr));
    bool netlistAgain = false;
    for (const Ievent* event : view.Events())
        if (const auto* added = dynamic_cast<const IeventFileAddedOrModified*>(event))
            for (const Entry& file : added->GetFiles())
                netlistAgain = netlistAgain || (file && file->GetFileSpecificType() == zorpaFT_SYN_EDN);
    EXPECT_TRUE(netlistAgain);

    // An entry the project does not hold deletes nothing.
    EXPECT_TRUE(IcmdDoDeleteFileFromModel(
        IfileObject(ImodelFileName(m_folder / "alu/hdl/none.vhd"), zorpaFT_HDL, ImodelFMFull, true, true), true, true,
        false, nullptr));
}

TEST_F(ContentFilesTest, AReplaceAnsweredNoFailsTheFileButADeclinedTemplateIsNoFailure)
{
    const std::string ours = m_folder.Write("alu/hdl/leaf.vhd", kLeaf);
    m_folder.Write("src/leaf.vhd", kOther);
    messages.AnswerNext("FILE_ALREADY_EXISTS", MdbNO);
    EXPECT_EQ(Eval("import_files -hdl_source ../src/leaf.vhd"), TCL_ERROR);
    EXPECT_EQ(m_folder.Read("alu/hdl/leaf.vhd"), kLeaf);
    EXPECT_FALSE(Member("leaf.vhd"));

    DefSetFL("TEMPLATE_DIR", (m_folder / "templates").c_str(), __FILE__, __LINE__);
    m_folder.Write("templates/leaf.vhd", kLeaf);
    messages.AnswerNext("FILE_ALREADY_EXISTS", MdbNO);
    EXPECT_EQ(Eval("import_files -templates ../src/leaf.vhd"), TCL_OK) << result;
    EXPECT_EQ(m_folder.Read("templates/leaf.vhd"), kLeaf);
    messages.AnswerNext("FILE_ALREADY_EXISTS", MdbYES);
    EXPECT_EQ(Eval("import_files -templates ../src/leaf.vhd"), TCL_OK) << result;
    EXPECT_EQ(m_folder.Read("templates/leaf.vhd"), kOther);
    EXPECT_EQ(ours, m_folder / "alu/hdl/leaf.vhd");
}

TEST_F(ContentFilesTest, TheHostListsSeeEveryFileAndADefinitionFreedByADeleteIsUsedAgain)
{
    IcmdAddFileToModel::SetUpAddedFileList();
    IcmdDeleteFilesFromModel::SetUpDeletedFileList();
    Add("top.vhd", kTop);
    Add("mid.vhd", kMid);
    Add("mid2.vhd", kFlatMid);
    ASSERT_NE(IcmdAddFileToModel::GetAddedFiles(), nullptr);
    std::vector<std::string> added;
    for (const IfileObject& file : *IcmdAddFileToModel::GetAddedFiles()) added.push_back(file.GetFileTitleAndExt());
    EXPECT_EQ(added, (std::vector<std::string>{"top.vhd", "mid.vhd", "mid2.vhd"}));
    EXPECT_EQ(Member("mid2.vhd")->GetErrorFileType(), ImodelModuleAlreadyDefined);

    // The file in use goes: the other definition is cleared and used.
    IcmdDoDeleteFileFromModel(Member("mid.vhd"), true, true, false, nullptr);
    EXPECT_EQ(FileOf("mid"), "mid2.vhd");
    EXPECT_EQ(Member("mid2.vhd")->GetErrorFileType(), ImodelNoError);
    EXPECT_EQ(Member("mid2.vhd")->GetModuleAlreadyDefined(), "");
    ASSERT_NE(IcmdDeleteFilesFromModel::GetDeletedFiles(), nullptr);
    ASSERT_EQ(IcmdDeleteFilesFromModel::GetDeletedFiles()->size(), 1u);
    EXPECT_EQ(IcmdDeleteFilesFromModel::GetDeletedFiles()->front().GetFileTitleAndExt(), "mid.vhd");

    // A file the project holds runs at once; another waits for the host.
    IcmdAddFileToModel known;
    known.SetFile(*Member("top.vhd"));
    EXPECT_FALSE(known.NeedDelayedExecution());
    IcmdAddFileToModel unknown;
    EXPECT_TRUE(unknown.NeedDelayedExecution());
    EXPECT_EQ(unknown.execDo(), AcmdEnum::Failure);

    IcmdAddFileToModel::TearDownAddedFileList();
    IcmdDeleteFilesFromModel::TearDownDeletedFileList();
}
