// The link commands seen from inside: the entry keeps its identity while
// its file moves, the views hear one IeventFileRetargeted and nothing is
// parsed again unless the new file differs, and a file exported and brought
// back leaves the design as it was. The user's view (refusals, numbered
// names, links outside the project folder) is the scenario files_links.
#include "IcmdTestSupport.h"
#include "RecordingView.h"

#include "icmd/files/IcmdCopyLocally.h"
#include "icmd/files/IcmdPublishFile.h"
#include "icmd/files/IcmdRetargetLink.h"
#include "ifile/IfileObjectEx.h"

#include <filesystem>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

class ContentLinksTest : public IcmdProjectTest {
protected:
    ContentLinksTest()
        : IcmdProjectTest({"import_files", "create_links", "unlink", "change_link_source", "export_as_link",
                           "dump_all_modules", "use_source_file"})
    {
    }
    static IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }
    Entry File(const std::string& path) const
    {
        return Files().GetFile(IfileObject(ImodelFileName(m_folder / path), zorpaFT_HDL, ImodelFMFull, true, true));
    }
    static std::string Unit(const std::string& name)
    {
        return "entity " + name + " is port (p : in bit); end;\narchitecture rtl of " + name + " is begin end;\n";
    }
    std::string Dump()
    {
        EXPECT_EQ(Eval("dump_all_modules"), TCL_OK) << result;
        return result;
    }

    RecordingView view;
};

}  // namespace

TEST_F(ContentLinksTest, UnlinkMovesTheSameEntryIntoTheProjectWithOneEventAndNoParse)
{
    m_folder.Write("shared/x.vhd", Unit("x"));
    ASSERT_EQ(Eval("create_links -hdl_source ../shared/x.vhd"), TCL_OK) << result;
    const Entry link = File("shared/x.vhd");
    ASSERT_TRUE(link);
    EXPECT_FALSE(link->IsLocalFile());
    EXPECT_TRUE(link->IsIDEReadOnly());
    const std::string design = Dump();
    ASSERT_NE(design.find("x"), std::string::npos) << design;

    view.Clear();
    ASSERT_EQ(Eval("unlink -file ../shared/x.vhd"), TCL_OK) << result;
    const Entry local = File("alu/hdl/x.vhd");
    EXPECT_EQ(local.get(), link.get());
    EXPECT_TRUE(link->IsLocalFile());
    EXPECT_FALSE(File("shared/x.vhd"));
    EXPECT_EQ(view.Count("IeventFileRetargeted"), 1);
    EXPECT_EQ(view.Count("IeventFilePreParse"), 0);
    EXPECT_EQ(Dump(), design);
    EXPECT_TRUE(UtlDoesFileExist(m_folder / "shared/x.vhd"));
}

TEST_F(ContentLinksTest, ANewSourceIsParsedOnlyWhenItsStatusDiffers)
{
    const std::string original = m_folder.Write("shared/a/y.vhd", Unit("y"));
    const std::string same = m_folder.Write("shared/b/y.vhd", Unit("y"));
    std::filesystem::last_write_time(same, std::filesystem::last_write_time(original));
    m_folder.Write("shared/c/y.vhd", Unit("y") + "-- changed\n");
    ASSERT_EQ(Eval("create_links -hdl_source ../shared/a/y.vhd"), TCL_OK) << result;
    const Entry link = File("shared/a/y.vhd");
    ASSERT_TRUE(link);

    view.Clear();
    ASSERT_EQ(Eval("change_link_source -file ../shared/a/y.vhd -path ../shared/b/y.vhd"), TCL_OK) << result;
    EXPECT_EQ(File("shared/b/y.vhd").get(), link.get());
    EXPECT_EQ(view.Count("IeventFileRetargeted"), 1);
    EXPECT_EQ(view.Count("IeventFilePreParse"), 0);

    view.Clear();
    ASSERT_EQ(Eval("change_link_source -file ../shared/b/y.vhd -path ../shared/c/y.vhd"), TCL_OK) << result;
    EXPECT_TRUE(File("shared/c/y.vhd"));
    EXPECT_FALSE(File("shared/b/y.vhd"));
    EXPECT_EQ(view.Count("IeventFilePreParse"), 1);
}

TEST_F(ContentLinksTest, ANewTextIsReadInPlaceAndKeepsTheDefinitionChosenWhileItDefinesTheUnit)
{
    m_folder.Write("shared/a/x.vhd", Unit("x"));
    m_folder.Write("shared/b/x.vhd", Unit("x"));
    m_folder.Write("shared/c/x.vhd", Unit("x") + "-- another text\n");
    m_folder.Write("shared/d/x.vhd", Unit("z"));
    ASSERT_EQ(Eval("create_links -hdl_source {../shared/a/x.vhd ../shared/b/x.vhd}"), TCL_OK) << result;
    ASSERT_EQ(Eval("use_source_file -file ../shared/b/x.vhd -module x"), TCL_OK) << result;
    const Entry first = File("shared/a/x.vhd");
    const Entry chosen = File("shared/b/x.vhd");
    ASSERT_TRUE(first && chosen);
    const auto definedBy = [](const Entry& file, ImodelErrorFileType kind, const std::string& unit) {
        return file->GetErrorFileType() == kind && file->GetModuleAlreadyDefined() == unit;
    };
    ASSERT_TRUE(definedBy(chosen, ImodelNoError, "x"));
    ASSERT_TRUE(definedBy(first, ImodelModuleAlreadyDefined, "x"));

    // The same entry, renamed, read once and still the definition: no
    // duplicate is reported.
    view.Clear();
    ASSERT_EQ(Eval("change_link_source -file ../shared/b/x.vhd -path ../shared/c/x.vhd"), TCL_OK) << result;
    EXPECT_EQ(File("shared/c/x.vhd").get(), chosen.get());
    EXPECT_FALSE(File("shared/b/x.vhd"));
    EXPECT_EQ(view.Count("IeventFileRetargeted"), 1);
    EXPECT_EQ(view.Count("IeventFilePreParse"), 1);
    EXPECT_EQ(view.Count("IeventFileRemoved"), 0);
    EXPECT_TRUE(definedBy(chosen, ImodelNoError, "x"));
    EXPECT_TRUE(definedBy(first, ImodelModuleAlreadyDefined, "x"));

    // A text without the unit: the other file defines it, alone.
    ASSERT_EQ(Eval("change_link_source -file ../shared/c/x.vhd -path ../shared/d/x.vhd"), TCL_OK) << result;
    EXPECT_EQ(File("shared/d/x.vhd").get(), chosen.get());
    EXPECT_TRUE(definedBy(chosen, ImodelNoError, ""));
    EXPECT_TRUE(definedBy(first, ImodelNoError, ""));
    const std::string design = Dump();
    EXPECT_NE(design.find("\nx"), std::string::npos) << design;
    EXPECT_NE(design.find("\nz"), std::string::npos) << design;
}

TEST_F(ContentLinksTest, ExportedAndBroughtBackTheDesignIsAsItWas)
{
    m_folder.Write("src/top.vhd", "entity top is end;\narchitecture rtl of top is\n  signal p : bit;\nbegin\n"
                                  "  u : entity work.sub port map (p);\nend;\n");
    m_folder.Write("src/sub.vhd", Unit("sub"));
    ASSERT_EQ(Eval("import_files -hdl_source {../src/top.vhd ../src/sub.vhd}"), TCL_OK) << result;
    const std::string design = Dump();
    const Entry sub = File("alu/hdl/sub.vhd");
    ASSERT_TRUE(sub);

    ASSERT_EQ(Eval("export_as_link -file hdl/sub.vhd -path ../published/sub.vhd"), TCL_OK) << result;
    EXPECT_EQ(File("published/sub.vhd").get(), sub.get());
    EXPECT_FALSE(sub->IsLocalFile());
    EXPECT_EQ(Dump(), design);
    // Its old place still holds the file on disk: the way back is numbered.
    ASSERT_EQ(Eval("unlink -file ../published/sub.vhd"), TCL_OK) << result;
    EXPECT_EQ(File("alu/hdl/sub_1.vhd").get(), sub.get());
    EXPECT_EQ(Dump(), design);
    EXPECT_EQ(m_folder.Read("alu/hdl/sub_1.vhd"), Unit("sub"));
}
