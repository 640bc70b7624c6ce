// Project files cut short, as an interrupted copy leaves them: every cut of
// a saved project file is either refused, with the file left as it is, or
// ends after a whole line that the reader takes as it always did.
#include "MessageRecorder.h"
#include "ProjectCommandsTest.h"

#include "icmd/project/IcmdNewProject.h"
#include "icmd/project/IcmdOpenProject.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/device/ImodelDevice.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "src/icmd/project/IcmdProjectFileText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

bool BeginsWith(const std::string& text, std::size_t at, const char* prefix)
{
    return text.compare(at, std::char_traits<char>::length(prefix), prefix) == 0;
}

// How a cut of the text after n bytes ends.
enum class CutEnd {
    Broken,     // inside a line, or after a line of a list
    WholeLine,  // after a key line or an ENDLIST line (blanks after it aside)
    TopLevel,   // so, and with no list left open
};

std::vector<CutEnd> CutEnds(const std::string& text)
{
    std::vector<CutEnd> ends(text.size() + 1, CutEnd::Broken);
    int depth = 0;
    for (std::size_t line = 0; line < text.size();) {
        std::size_t end = text.find_first_of("\r\n", line);
        if (end == std::string::npos) end = text.size();
        if (BeginsWith(text, line, "KEY ")) depth = 0;
        if (BeginsWith(text, line, "LIST ")) ++depth;
        if (BeginsWith(text, line, "ENDLIST") && depth > 0) --depth;
        if (BeginsWith(text, line, "KEY ") || BeginsWith(text, line, "ENDLIST"))
            ends[end] = depth == 0 ? CutEnd::TopLevel : CutEnd::WholeLine;
        line = end + 1;
    }
    // A cut among the line ends after a whole line ends there too.
    for (std::size_t n = 1; n <= text.size(); ++n)
        if (ends[n] == CutEnd::Broken && (text[n - 1] == '\n' || text[n - 1] == '\r')) ends[n] = ends[n - 1];
    return ends;
}

class ProjectFileCutShort : public ProjectCommandsTest {
protected:
    std::string ProjectFile() const { return m_folder / "alu/alu.prj"; }
    std::string ProjectText() const { return m_folder.Read("alu/alu.prj"); }

    // A saved project with members in two libraries and the lists a save
    // writes, closed.
    std::string MakeProject()
    {
        EXPECT_TRUE(IcmdDoNewProject(false, "alu", m_folder / "alu", false, "ZX3", "zx3_10", "tq100"));
        IfileManager& files = *Imodel::GetInstance().GetFileManager();
        for (const char* name : {"hdl/alu.v", "hdl/regs.v", "stimulus/tb.v"}) {
            const std::string path = m_folder.Write(std::string("alu/") + name, std::string("// ") + name + "\n");
            IfileObjectEx file(IfileObject(ImodelFileName(path),
                                           std::string(name).starts_with("stim") ? zorpaFT_TB_HDL : zorpaFT_HDL,
                                           ImodelFMFull, true, true),
                               false);
            if (std::string(name) == "hdl/regs.v") file.SetLibraryName("mylib");
            EXPECT_TRUE(files.AddOrUpdateFile(file, true));
        }
        EXPECT_TRUE(IcmdDoCloseProject(false, false));
        return ProjectText();
    }

    MessageRecorder m_messages;
};

}  // namespace

TEST_F(ProjectFileCutShort, EveryCutEndsAfterAWholeStatementOrSaysWhereItEnds)
{
    const std::string saved = MakeProject();
    ASSERT_NE(saved.find("LIST FileManager"), std::string::npos);
    // Windows and old Mac line ends are line ends to the reader as well.
    for (const char* ending : {"\n", "\r\n", "\r"}) {
        std::string text;
        for (const char c : saved) text += c == '\n' ? std::string(ending) : std::string(1, c);
        SCOPED_TRACE(ending[0] == '\r' ? (ending[1] ? "CRLF" : "CR") : "LF");
        const std::vector<CutEnd> ends = CutEnds(text);
        for (std::size_t n = 1; n <= text.size(); ++n) {
            const std::string where = IcmdWhereCutShort(std::string_view(text).substr(0, n));
            ASSERT_EQ(where.empty(), ends[n] != CutEnd::Broken)
                << "cut after " << n << " bytes: " << text.substr(0, n).substr(n > 40 ? n - 40 : 0);
            if (!where.empty()) {
                ASSERT_TRUE(where.starts_with("it ends at line ")) << where;
            }
        }
    }
}

TEST_F(ProjectFileCutShort, TheMessageNamesTheLineAndWhatIsCut)
{
    EXPECT_EQ(IcmdWhereCutShort("KEY SOLVATO \"8.4\"\nKEY VendorTechnology_Die \"z"),
              "it ends at line 2 with the value of the key 'VendorTechnology_Die', which has no closing quote");
    EXPECT_EQ(IcmdWhereCutShort("KEY SOLVATO \"8.4\"\r\nKEY Vendor\r\n\r\n"),
              "it ends at line 2 with the key 'Vendor' without its value");
    EXPECT_EQ(IcmdWhereCutShort("KEY SOLVATO \"8.4\"\rLIST REVISIONS\rENDLIST\rK"),
              "it ends at line 4 with 'K', which is not a whole line");
    EXPECT_EQ(IcmdWhereCutShort("KEY SOLVATO \"8.4\"\nLIST NewModulesInfo\nLIST \"top::work\"\nENDLIST\nVALUE"),
              "it ends at line 5 inside the list 'NewModulesInfo', which has no ENDLIST");
    // A key line starts a new statement outside every list.
    EXPECT_EQ(IcmdWhereCutShort("LIST A\nVALUE \"x\"\nKEY B \"c\"\nENDLI"),
              "it ends at line 4 with 'ENDLI', which is not a whole line");
    // What stands after the last statement, outside every list, is no
    // statement that a copy cut: it is read as before.
    EXPECT_EQ(IcmdWhereCutShort("KEY A \"b\"\nLIST C\nENDLIST\nsomething else\n"), "");
    EXPECT_EQ(IcmdWhereCutShort("KEY A unquoted value"), "");
    EXPECT_EQ(IcmdWhereCutShort("KEY A \"\""), "");
    EXPECT_EQ(IcmdWhereCutShort(""), "");
}

TEST_F(ProjectFileCutShort, ACutFileIsRefusedAndLeftAsItIsAndAWholeOneOpens)
{
    const std::string saved = MakeProject();
    const std::vector<CutEnd> ends = CutEnds(saved);
    std::vector<std::size_t> cuts;
    // The cases of a copy cut midway: a bare "K", a die cut in its quotes,
    // a member list without its end, and after a whole key line.
    const std::size_t die = saved.find("KEY VendorTechnology_Die \"");
    ASSERT_NE(die, std::string::npos);
    cuts.push_back(saved.find("\nKEY ", die) + 2);
    cuts.push_back(die + std::string("KEY VendorTechnology_Die \"z").size());
    cuts.push_back(saved.find("ENDFILE", saved.find("LIST FileManager")) + 8);
    cuts.push_back(saved.find('\n', die) + 1);
    std::mt19937 random(80);
    for (int i = 0; i < 24; ++i) cuts.push_back(std::size_t{1} + random() % (saved.size() - 1));
    for (const std::size_t n : cuts) {
        const std::string cut = saved.substr(0, n);
        SCOPED_TRACE(cut.substr(n > 60 ? n - 60 : 0));
        // A cut without a single key or list is an empty project to the reader.
        if (cut.find("KEY ") == std::string::npos) continue;
        m_folder.Write("alu/alu.prj", cut);
        m_messages.Clear();
        const bool opened = IcmdDoOpenProject(ProjectFile().c_str(), false, false);
        // A cut right after the end of a list inside a list leaves the outer
        // one open: refused as a file whose list has no end.
        EXPECT_EQ(opened, ends[n] == CutEnd::TopLevel);
        if (!opened) {
            EXPECT_FALSE(Design().IsProjectOpen());
            const char* refusal = ends[n] == CutEnd::Broken ? "PROJECT_FILE_CUT_SHORT" : "PROJECT_FILE_DAMAGED";
            ASSERT_EQ(m_messages.WithId(refusal).size(), 1u);
            EXPECT_EQ(m_messages.WithId(refusal)[0].args.at(0).text, ProjectFile());
            EXPECT_EQ(ProjectText(), cut);
        } else {
            EXPECT_TRUE(m_messages.WithId("PROJECT_FILE_CUT_SHORT").empty());
            EXPECT_TRUE(IcmdDoCloseProject(false, false));
        }
    }
    // Whole again, it opens with its device and members.
    m_folder.Write("alu/alu.prj", saved);
    ASSERT_TRUE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
    EXPECT_EQ(Imodel::GetInstance().GetDeviceManager()->GetDevice().GetDieInternalName(), "zx3_10");
    EXPECT_EQ(Imodel::GetInstance().GetFileManager()->GetFileCount(), 3);
}
