// The project update after changes on disk, and the whole-project link
// operations: files parsed again or gone, the chosen definitions kept, the
// linked files moved to another folder or copied into the project, and the
// files a tool does not use taken out of the design model.
#include "IcmdTestSupport.h"
#include "RecordingView.h"

#include "icmd/files/IcmdUpdateProjectContent.h"
#include "icmd/project/IcmdCloseProject.h"
#include "icmd/project/IcmdNewProject.h"
#include "ifile/IfileObjectEx.h"

#include <zorpa/ZorpaModule.h>

#include <filesystem>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;
using Entries = std::vector<Entry>;

const zorpaSaveRestoreParams kParams{false, true, false};

class ProjectUpdate : public IcmdProjectTest {
protected:
    ProjectUpdate() : IcmdProjectTest({"import_files", "set_root", "dump_all_modules", "use_source_file"}) {}
    static IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }
    Entry File(const std::string& path) const
    {
        return Files().GetFile(IfileObject(ImodelFileName(path), zorpaFT_HDL, ImodelFMFull, true, true));
    }
    // A unit with one port that instantiates `sub` (none when empty).
    static std::string Unit(const std::string& name, const std::string& sub)
    {
        return "entity " + name + " is port (p : in bit); end;\narchitecture rtl of " + name + " is\nbegin\n" +
               (sub.empty() ? std::string() : "  u : entity work." + sub + " port map (p);\n") + "end;\n";
    }
    Entry ProjectFile(const std::string& name) const { return File(m_folder / ("alu/" + name)); }
    std::string Tree()
    {
        EXPECT_EQ(Eval("dump_all_modules -tree true"), TCL_OK) << result;
        return result;
    }
    void ImportHierarchy()
    {
        m_folder.Write("src/top.vhd", Unit("top", "mid"));
        m_folder.Write("src/mid.vhd", Unit("mid", "leaf"));
        m_folder.Write("src/leaf.vhd", Unit("leaf", ""));
        ASSERT_EQ(Eval("import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/leaf.vhd}"), TCL_OK) << result;
        ASSERT_EQ(Eval("set_root top"), TCL_OK) << result;
    }
    // A file outside the project, linked into it.
    Entry Link(const std::string& name, const std::string& text)
    {
        const std::string path = m_folder.Write(name, text);
        return Files().AddOrUpdateFile(
            IfileObjectEx(IfileObject(ImodelFileName(path), zorpaFT_HDL, ImodelFMFull, true, true), false), false);
    }

    RecordingView view;
};

}  // namespace

TEST_F(ProjectUpdate, ASourceTouchedIsParsedAgainAndTheTreeStaysAsItWas)
{
    ImportHierarchy();
    const std::string before = Tree();
    ASSERT_NE(before.find("top (top.vhd)\n      mid (mid.vhd)\n         leaf (leaf.vhd)"), std::string::npos) << before;
    m_folder.Write("alu/hdl/leaf.vhd", Unit("leaf", "") + "-- touched\n");
    view.Clear();
    IcmdUpdateProjectContent({}, {ProjectFile("hdl/leaf.vhd")}, kParams);
    EXPECT_EQ(view.Count("IeventFilePreParse"), 1);
    EXPECT_EQ(Tree(), before);
    EXPECT_EQ(Design().GetRootModule()->GetName(), "top");
    // Nothing to update: nothing happens.
    view.Clear();
    IcmdUpdateProjectContent({}, {}, kParams);
    EXPECT_TRUE(view.Names().empty());
}

TEST_F(ProjectUpdate, ManyFilesAreParsedUnderOneRootChoiceAndTheUnitsTwoFilesDefineAreToldOnce)
{
    ImportHierarchy();
    m_folder.Write("src/leaf2.vhd", Unit("leaf", ""));
    ASSERT_EQ(Eval("import_files -hdl_source {../src/leaf2.vhd}"), TCL_OK) << result;
    const std::string before = Tree();
    for (const char* name : {"top", "mid", "leaf", "leaf2"})
        m_folder.Write(std::string("alu/hdl/") + name + ".vhd",
                       Unit(name == std::string("leaf2") ? "leaf" : name, name == std::string("top")   ? "mid"
                                                                          : name == std::string("mid") ? "leaf"
                                                                                                       : "") +
                           "-- touched\n");
    view.Clear();
    IcmdUpdateProjectContent({},
                             {ProjectFile("hdl/top.vhd"), ProjectFile("hdl/mid.vhd"), ProjectFile("hdl/leaf.vhd"),
                              ProjectFile("hdl/leaf2.vhd")},
                             kParams);
    EXPECT_EQ(view.Count("IeventFilePreParse"), 4);
    // The root is chosen once, after the last file, not once per file.
    EXPECT_EQ(view.Count("IeventCurrentRootChanged"), 1);
    EXPECT_EQ(view.Count("IeventNewErrorModulesAddedOrRemoved"), 1);
    EXPECT_EQ(Tree(), before);
    EXPECT_EQ(Design().GetRootModule()->GetName(), "top");
}

TEST_F(ProjectUpdate, ASourceGoneLeavesTheProjectAndWhatItUsedComesToTheTop)
{
    ImportHierarchy();
    const Entry mid = ProjectFile("hdl/mid.vhd");
    ASSERT_TRUE(mid);
    IcmdUpdateProjectContent({mid}, {}, kParams);
    EXPECT_FALSE(ProjectFile("hdl/mid.vhd"));
    const std::string tree = Tree();
    EXPECT_EQ(tree.find("(mid.vhd)"), std::string::npos) << tree;
    // leaf stands at the top of the library now, mid is missing below top.
    EXPECT_NE(tree.find("\n   leaf (leaf.vhd)"), std::string::npos) << tree;
    EXPECT_EQ(tree.find("      leaf"), std::string::npos) << tree;
    // A file that is not in the project is told and skipped.
    IcmdUpdateProjectContent({mid}, {}, kParams);
}

TEST_F(ProjectUpdate, TheDefinitionInUseOfAUnitThatTwoFilesDefineSurvivesTheUpdate)
{
    ImportHierarchy();
    m_folder.Write("src/mid2.vhd", Unit("mid", ""));
    m_folder.Write("src/other.vhd", "entity other is end;\narchitecture rtl of other is begin end;\n");
    ASSERT_EQ(Eval("import_files -hdl_source {../src/mid2.vhd ../src/other.vhd}"), TCL_OK) << result;
    ASSERT_EQ(Eval("use_source_file -file hdl/mid2.vhd -module mid"), TCL_OK) << result;
    ASSERT_EQ(ProjectFile("hdl/mid2.vhd")->GetErrorFileType(), ImodelNoError);
    ASSERT_EQ(ProjectFile("hdl/mid.vhd")->GetErrorFileType(), ImodelModuleAlreadyDefined);
    IcmdUpdateProjectContent({ProjectFile("hdl/other.vhd")}, {ProjectFile("hdl/mid.vhd"), ProjectFile("hdl/leaf.vhd")},
                             kParams);
    EXPECT_EQ(ProjectFile("hdl/mid2.vhd")->GetErrorFileType(), ImodelNoError);
    EXPECT_EQ(ProjectFile("hdl/mid.vhd")->GetErrorFileType(), ImodelModuleAlreadyDefined);
    EXPECT_NE(Tree().find("mid (mid2.vhd)"), std::string::npos);
}

TEST_F(ProjectUpdate, RetargetingMovesTheLinksBelowAFolderOnlyAndGoesOnAfterAFailure)
{
    const char* const text = "entity a is end;\narchitecture rtl of a is begin end;\n";
    const Entry a = Link("ext/a.vhd", text);
    const Entry b = Link("extra/b.vhd", "entity b is end;\narchitecture rtl of b is begin end;\n");
    const Entry c = Link("ext/sub/C.vhd", "entity c is end;\narchitecture rtl of c is begin end;\n");
    const Entry lost = Link("ext/lost.vhd", "entity lost is end;\narchitecture rtl of lost is begin end;\n");
    // a's new source has the old one's stamp, C's another: C is parsed anew.
    m_folder.Write("New/a.vhd", text);
    std::filesystem::last_write_time(m_folder / "New/a.vhd", std::filesystem::last_write_time(m_folder / "ext/a.vhd"));
    m_folder.Write("New/sub/C.vhd", "entity c is end;\narchitecture rtl of c is begin end;\n-- other\n");
    view.Clear();
    // The old folder in another case and with the other separator; the new
    // folder keeps its case, and so does the rest of each name.
    std::string from = m_folder / "EXT/";
    std::replace(from.begin(), from.end(), '/', '\\');
    EXPECT_FALSE(IcmdDoRetargetAll(from, m_folder / "New", false));
    EXPECT_EQ(a->GetFullFileName().GetString(), m_folder / "New/a.vhd");
    EXPECT_EQ(c->GetFullFileName().GetString(), m_folder / "New/sub/C.vhd");
    EXPECT_EQ(b->GetFullFileName().GetString(), m_folder / "extra/b.vhd");
    EXPECT_EQ(lost->GetFullFileName().GetString(), m_folder / "ext/lost.vhd");
    EXPECT_EQ(TextsOf("FILE_NOT_FOUND").size(), 1u);
    // The same entries, filed under their new names.
    EXPECT_EQ(File(m_folder / "New/a.vhd"), a);
    EXPECT_FALSE(File(m_folder / "ext/a.vhd"));
    EXPECT_EQ(File(m_folder / "New/sub/C.vhd"), c);
    EXPECT_FALSE(File(m_folder / "ext/sub/C.vhd"));
    // C, read again, is the same entry too: both are announced as moved.
    EXPECT_EQ(view.Count("IeventFileRetargeted"), 2);
    // Nothing left below the folder but the lost one: no other failure.
    std::filesystem::remove(m_folder / "ext/lost.vhd");
    Files().RemoveFile(*lost);
    EXPECT_TRUE(IcmdDoRetargetAll(m_folder / "ext", m_folder / "New", false));
    EXPECT_TRUE(IcmdDoRetargetAll(m_folder / "nothing", m_folder / "New", false));
}

TEST_F(ProjectUpdate, UnlinkingCopiesEveryLinkIntoTheProjectBesideWhatIsThere)
{
    EXPECT_TRUE(IcmdDoUnlinkAll(false));
    const Entry x = Link("ext/x.vhd", "entity x is end;\narchitecture rtl of x is begin end;\n");
    const Entry y = Link("ext/y.vhd", "entity y is end;\narchitecture rtl of y is begin end;\n");
    // A file of that name lies where x would go, unknown to the project.
    m_folder.Write("alu/hdl/x.vhd", "-- somebody's\n");
    EXPECT_TRUE(IcmdDoUnlinkAll(false));
    EXPECT_TRUE(x->IsLocalFile());
    EXPECT_TRUE(y->IsLocalFile());
    EXPECT_EQ(x->GetFullFileName().GetString(), m_folder / "alu/hdl/x_1.vhd");
    EXPECT_EQ(y->GetFullFileName().GetString(), m_folder / "alu/hdl/y.vhd");
    EXPECT_EQ(m_folder.Read("alu/hdl/x.vhd"), "-- somebody's\n");
    EXPECT_EQ(m_folder.Read("alu/hdl/x_1.vhd"), m_folder.Read("ext/x.vhd"));
    EXPECT_TRUE(std::filesystem::exists(m_folder / "ext/x.vhd"));
}

TEST_F(ProjectUpdate, TheFilesATaskDoesNotUseLeaveTheDesignModelEvenInACycle)
{
    m_folder.Write("src/a.vhd", Unit("a", "b"));
    m_folder.Write("src/b.vhd", Unit("b", "a"));
    m_folder.Write("src/top.vhd", Unit("top", ""));
    ASSERT_EQ(Eval("import_files -hdl_source {../src/a.vhd ../src/b.vhd ../src/top.vhd}"), TCL_OK) << result;
    ASSERT_EQ(Eval("set_root top"), TCL_OK) << result;
    ProjectFile("hdl/a.vhd")->SetUsedByAllTools(false);
    ProjectFile("hdl/b.vhd")->SetUsedByAllTools(false);
    ProjectFile("hdl/top.vhd")->SetUsedByAllTools(false);
    Tree();  // the units know their sub-blocks
    std::deque<ImodelModule*> from;
    for (const ImodelModule* unit : *Design().FindLibraryByName("work")->GetModules())
        if (unit->GetName() == "a") from.push_back(const_cast<ImodelModule*>(unit));
    ASSERT_EQ(from.size(), 1u);
    ASSERT_TRUE(from.front()->GetSubBlocks() && from.front()->GetSubBlocks()->size() == 1u);
    // Used by the synthesis tool: top stays, whatever else it is.
    ProjectFile("hdl/top.vhd")->SetUseForTool(IfileObjectEx::type_Filter(ideSYNTHESIS, ""));
    from.push_back(Design().GetRootModule());
    IcmdDoRemoveUnusedFile(ideSYNTHESIS, "", &from, {});
    std::set<std::string> units;
    for (const ImodelModule* unit : *Design().FindLibraryByName("work")->GetModules()) units.insert(unit->GetName());
    EXPECT_EQ(units, std::set<std::string>{"top"});
    for (const char* name : {"hdl/a.vhd", "hdl/b.vhd", "hdl/top.vhd"}) EXPECT_TRUE(ProjectFile(name)) << name;
    IcmdDoRemoveUnusedFile(ideSYNTHESIS, nullptr, nullptr, {});
}
