// The project file through the project commands with a design of units: the
// per-module blocks and their older layout, the root, the process states of
// the 5.0 layout, tool profiles, the progress meter, failed saves, a read
// that throws, the end-of-file mark of old editors and bytes that are not
// text, the file-group lists of older versions, and what a close lets go
// of at once and what it leaves to the reclaimer. The scenarios under tests/tcl show the rest as a user sees it.
#include "FileSizeLimit.h"
#include "MessageRecorder.h"
#include "ProjectCommandsTest.h"
#include "RecordingHost.h"

#include "icmd/project/IcmdCloseProject.h"
#include "icmd/project/IcmdNewProject.h"
#include "icmd/project/IcmdOpenProject.h"
#include "icmd/project/IcmdSaveProject.h"
#include "ifile/IfileListener.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelProjectFileStructure.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"
#include "imodel/views/ImodelContextImpl.h"
#include "iprofile/IprofileManager.h"
#include "src/icmd/project/IcmdProjectFileText.h"
#include "src/imodel/design/imodelReclaimer.h"

#include <foundation/AcmdManager.h>
#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>

namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }
IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }
// Where the top-level list opened at `start` ends (after its ENDLIST line).
std::size_t ListEnd(const std::string& text, std::size_t start)
{
    int depth = 0;
    for (std::size_t line = start; line < text.size(); line = text.find('\n', line) + 1) {
        if (text.compare(line, 5, "LIST ") == 0) ++depth;
        if (text.compare(line, 7, "ENDLIST") == 0 && --depth == 0) return text.find('\n', line) + 1;
        if (text.find('\n', line) == std::string::npos) break;
    }
    return text.size();
}

ImodelModule* Unit(const std::string& name, const std::string& library = "work")
{
    return ImodelFindModule(VyIfaces::ComponentID(name, library, ""));
}

// What parsing does for these tests: every HDL member file defines one unit
// named after the file, in the file's library.
class UnitPerFile : public IfileListener {
public:
    UnitPerFile() { Files().AddListener(this); }
    ~UnitPerFile() override { Files().RemoveListener(this); }
    void EmptyFileList() override {}
    void UpdateFile(const boost::shared_ptr<IfileObjectEx>& file, bool isNew) override
    {
        if (!isNew || file->GetFileType() != zorpaFT_HDL) return;
        const std::string title = file->GetFileTitleNoExt();
        const std::string library = file->GetLibraryName();
        if (Unit(title, library)) return;
        auto unit = std::make_unique<ImodelModule>(title, file, zorpaMODULE_VERILOG, false, library, "", false);
        const auto owner = Design().AddLibrary(library, false);
        owner->GetModules()->Insert(std::move(unit));
        Design().UpdateTopModules(owner);
    }
    void RemoveFile(const boost::shared_ptr<IfileObjectEx>&) override {}
};

// Profiles of one kind each; synthesis is managed by the host, not the user.
class FakeProfiles : public IprofileManager {
public:
    struct Stored {
        ImodelFunctionType kind;
        std::string profile, tool, location, parameters;
        bool batch;
    };
    bool FindActiveTool(ImodelFunctionType, std::string&, std::string&, std::string&, std::string&, std::string&,
                        bool&) override
    {
        return false;
    }
    void BeginProjectRead() override
    {
        if (throwOnRead) throw std::runtime_error("broken profiles");
    }
    void EndProjectRead() override {}
    void AddProjectProfile(ImodelFunctionType kind, const std::string& profile, const std::string& tool,
                           const std::string& location, const std::string& parameters, bool batch) override
    {
        stored.push_back({kind, profile, tool, location, parameters, batch});
    }
    void GetProjectProfile(ImodelFunctionType kind, std::string& profile, std::string& tool, std::string& other,
                           std::string& location, std::string& parameters, bool& batch) override
    {
        profile = kind == ideSIMULATION ? "ModelSim" : "";
        tool = kind == ideSIMULATION ? "vsim" : "";
        other = "not kept";
        location.clear();
        parameters = "-c";
        batch = kind == ideSIMULATION;
    }
    const std::vector<IprofileManagedProfile>& GetProfileList() const override { return list; }

    std::vector<IprofileManagedProfile> list = {{ideSYNTHESIS, "synthesis", "", true},
                                                {ideSIMULATION, "simulation", "", false},
                                                {ideSTIMULUS, "stimulus", "", false}};
    std::vector<Stored> stored;
    bool throwOnRead = false;
};

class ProfileHost : public RecordingHost {
public:
    IprofileManager* GetProfileManager() override { return &profiles; }
    FakeProfiles profiles;
};

class ProjectLifeCycle : public ProjectCommandsTest {
protected:

    std::string ProjectFile() const { return m_folder / "alu/alu.prj"; }
    std::string ProjectText() const { return m_folder.Read("alu/alu.prj"); }
    void WriteProject(const std::string& text) const { m_folder.Write("alu/alu.prj", text); }

    // A new project with member files: alu.v and top.v in "work", regs.v in
    // "mylib", the test bench tb.v and the constraint file alu.pdc.
    void MakeProject()
    {
        ASSERT_TRUE(IcmdDoNewProject(false, "alu", m_folder / "alu", false, "ZX3", "zx3_10", "tq100"));
        for (const char* name : {"hdl/alu.v", "hdl/top.v", "hdl/regs.v", "stimulus/tb.v", "constraint/alu.pdc"}) {
            const std::string path = m_folder.Write(std::string("alu/") + name, std::string("// ") + name + "\n");
            const std::string text = path;
            const zorpaFileManagerTypes type = text.ends_with("tb.v")   ? zorpaFT_TB_HDL
                                               : text.ends_with(".pdc") ? IfileObject::GetSafeFileType(104, path)
                                                                        : zorpaFT_HDL;
            IfileObjectEx file(IfileObject(ImodelFileName(path), type, ImodelFMFull, true, true), false);
            if (text.ends_with("regs.v")) file.SetLibraryName("mylib");
            ASSERT_TRUE(Files().AddOrUpdateFile(file, true));
        }
    }

    IfileObject Member(const std::string& name) const
    {
        const IfileObject file(ImodelFileName(m_folder / ("alu/" + name)), zorpaFT_HDL, ImodelFMFull, true, true);
        return static_cast<const IfileObject&>(*Files().GetFile(file));
    }

    MessageRecorder m_messages;
    UnitPerFile m_parser;
};

}  // namespace

TEST_F(ProjectLifeCycle, EveryModuleSettingAndTheRootComeBackAndSaveOpenSaveIsStable)
{
    RecordingHost host;
    MakeProject();
    ImodelModule* top = Unit("top");
    ASSERT_TRUE(top && Unit("regs", "mylib"));
    top->GetStimulusListPtr()->push_back(Member("stimulus/tb.v"));
    top->GetAssociatedFileList().push_back(Member("constraint/alu.pdc"));
    top->GetSimulationModuleToIncludeList()->push_back(VyIfaces::ComponentID("regs", "mylib", ""));
    top->GetSimulationPackageToIgnoreList()->push_back(Member("hdl/alu.v"));
    top->SetSynthesisConstraintFileList({Member("constraint/alu.pdc")});
    top->GetPhySynthOptions()->SetGenPinConstraints(false);
    const auto library = Design().FindLibraryByName("mylib");
    library->SetPath("/opt/libs/mylib");
    library->SetCompileOption(ZORPA_RECOMPILE);
    // An editor file whose name the line format cannot hold is left out.
    std::vector<std::string> editors = {m_folder / "alu/hdl/top.v", "broken\nname.v", "quote\".v"};
    ASSERT_TRUE(IcmdDoSaveProject(false, &editors));
    EXPECT_NE(ProjectText().find("LIST OpenedFileList\n" + editors[0] + "\nENDLIST\n"), std::string::npos);
    Design().SetRootId(top->GetComponentID());
    ASSERT_TRUE(IcmdDoCloseProject(false, false));
    EXPECT_EQ(Unit("top"), nullptr);
    const std::string saved = ProjectText();
    EXPECT_NE(saved.find("KEY ActiveRoot \"top::work\""), std::string::npos);
    EXPECT_NE(saved.find("LIST \"top::work\""), std::string::npos);

    ASSERT_TRUE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
    top = Unit("top");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(Design().GetRootModule(), top);
    EXPECT_EQ(top->GetStimulusList().size(), 1u);
    EXPECT_EQ(top->GetAssociatedFileListConst().size(), 1u);
    EXPECT_EQ(top->GetSynthesisConstraintFileList().size(), 1u);
    EXPECT_EQ(top->GetSimulationModuleToIncludeList()->size(), 1u);
    EXPECT_FALSE(top->GetPhySynthOptions()->GetGenPinConstraints());
    EXPECT_EQ(Design().FindLibraryByName("mylib")->GetPath(), "/opt/libs/mylib");
    EXPECT_EQ(Design().FindLibraryByName("mylib")->GetCompileOption(), ZORPA_RECOMPILE);
    // The open saved at once.
    EXPECT_EQ(ProjectText(), saved);
    ASSERT_TRUE(IcmdDoSaveProject(false, nullptr));
    EXPECT_EQ(ProjectText(), saved);
}

TEST_F(ProjectLifeCycle, TheOlderLayoutIsReadOnlyWithoutPerModuleBlocks)
{
    RecordingHost host;
    MakeProject();
    // Through the unit, so that the flow hears of the stimulus.
    Unit("top")->SetNewStimulusList({Member("stimulus/tb.v")}, nullptr);
    Unit("top")->GetAssociatedFileList().push_back(Member("constraint/alu.pdc"));
    ASSERT_TRUE(IcmdDoCloseProject(false, false));
    const std::string saved = ProjectText();
    const std::size_t blocks = saved.find("LIST NewModulesInfo\n");
    ASSERT_NE(blocks, std::string::npos);
    const std::size_t afterBlocks = ListEnd(saved, blocks);

    // Without the per-module blocks the top-level lists give the same settings.
    WriteProject(saved.substr(0, blocks) + saved.substr(afterBlocks));
    ASSERT_TRUE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
    EXPECT_EQ(Unit("top")->GetStimulusList().size(), 1u);
    EXPECT_EQ(Unit("top")->GetAssociatedFileListConst().size(), 1u);
    ASSERT_TRUE(IcmdDoCloseProject(false, false));
    EXPECT_EQ(ProjectText(), saved);

    // With both layouts the older lists are not read.
    std::string both = saved;
    both.replace(both.find("LIST Other_Association\nLIST top\n"), 0, "");
    const std::size_t stimulusList = both.find("LIST AssociatedStimulus\nLIST top\n");
    ASSERT_NE(stimulusList, std::string::npos);
    both.insert(stimulusList + std::string("LIST AssociatedStimulus\nLIST top\n").size(),
                "VALUE \"<project>/hdl/alu.v,hdl\"\n");
    WriteProject(both);
    ASSERT_TRUE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
    EXPECT_EQ(Unit("top")->GetStimulusList().size(), 1u);
}

TEST_F(ProjectLifeCycle, DamagedModuleHeadsFailTheOpenAndLeaveNoProject)
{
    MakeProject();
    ASSERT_TRUE(IcmdDoCloseProject(false, false));
    const std::string saved = ProjectText();
    for (const char* head : {"LIST top\n", "LIST\n", "LIST \"\"\n", "LIST \"top\n"}) {
        std::string damaged = saved;
        damaged.replace(damaged.find("LIST NewModulesInfo\n"), 20,
                        std::string("LIST NewModulesInfo\n") + head + "ENDLIST\n");
        WriteProject(damaged);
        m_messages.Clear();
        EXPECT_FALSE(IcmdDoOpenProject(ProjectFile().c_str(), false, false)) << head;
        EXPECT_FALSE(Design().IsProjectOpen());
        EXPECT_EQ(m_messages.WithId("PROJECT_FILE_DAMAGED").size(), 1u) << head;
        EXPECT_EQ(ProjectText(), damaged);
    }
}

TEST_F(ProjectLifeCycle, StatesOfThe5_0Layout)
{
    RecordingHost host;
    MakeProject();
    const std::string netlist = m_folder.Write("alu/synthesis/regs.edn", "(edif top)\n");
    ASSERT_TRUE(Files().AddOrUpdateFile(
        IfileObjectEx(IfileObject(ImodelFileName(netlist), zorpaFT_SYN_EDN, ImodelFMFull, true, true), false), true));
    ImodelContextImpl* context = Unit("top")->GetContext();
    ASSERT_NE(context, nullptr);
    context->SetSolvatoState(Post_Layout);
    ASSERT_TRUE(IcmdDoCloseProject(false, false));
    std::string text = ProjectText();
    const std::size_t blocks = text.find("LIST NewModulesInfo\n");
    text.erase(blocks, ListEnd(text, blocks) - blocks);
    const std::size_t states = text.find("LIST ProjectState5.1\n");
    text.erase(states, ListEnd(text, states) - states);
    // top: synthesis succeeded, pre-synthesis; regs: its synthesis netlist
    // is out of date; a line without ";" and one beyond every number
    // restore nothing.
    text += "LIST ProjectState\nVALUE \"top\"  3;0\nVALUE \"regs::mylib\" 0;20\nVALUE \"alu\" 33\n"
            "VALUE \"gone\" 99999999999999;\nENDLIST\n";
    WriteProject(text);
    ASSERT_TRUE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
    context = Unit("top")->GetContext();
    EXPECT_EQ(context->GetToolState(ideSYNTHESIS, nullptr), StateSuccess);
    EXPECT_EQ(context->GetToolState(ideSIMULATION, nullptr), StateNoResult);
    EXPECT_EQ(context->GetToolState(idePALLADOR, nullptr), StateNoResult);
    EXPECT_EQ(context->GetSolvatoState(), Pre_Synthesis);
    const IfileObject edif(ImodelFileName(netlist), zorpaFT_SYN_EDN, ImodelFMFull, true, true);
    EXPECT_EQ(Files().GetFile(edif)->GetFileState(), imodelFileOutOfDate);
}

namespace {

std::vector<std::string> HiddenFiles(const std::string& folder)
{
    std::vector<std::string> names;
    SysListFolder(folder, names);
    std::erase_if(names, [](const std::string& name) { return name.empty() || name[0] != '.'; });
    return names;
}

}  // namespace

TEST_F(ProjectLifeCycle, AFailedSaveKeepsTheOldFileAndTheProjectOpen)
{
    MakeProject();
    ASSERT_TRUE(IcmdDoSaveProject(false, nullptr));
    const std::string before = ProjectText();
    Design().SetNeedSave(true);
    {
        FileSizeLimit limit(64);
        // The file holds what the save would write: nothing is written.
        EXPECT_TRUE(IcmdDoSaveProject(false, nullptr));
        EXPECT_EQ(ProjectText(), before);
        // A new root changes the text, which the file can no longer take.
        Design().SetRootId(Unit("top")->GetComponentID());
        Design().SetNeedSave(true);
        m_messages.Clear();
        EXPECT_FALSE(IcmdDoSaveProject(false, nullptr));
        EXPECT_EQ(m_messages.WithId("SAVE_FAILED").size(), 1u);
        EXPECT_FALSE(IcmdDoCloseProject(false, false));
    }
    EXPECT_TRUE(Design().IsProjectOpen());
    EXPECT_TRUE(Design().GetNeedSave());
    EXPECT_EQ(ProjectText(), before);
    EXPECT_TRUE(HiddenFiles(m_folder / "alu").empty());
    EXPECT_TRUE(IcmdDoSaveProject(false, nullptr));
    EXPECT_FALSE(Design().GetNeedSave());
}

// A save leaves a project file that holds its bytes already as it is, and
// writes one that differs anywhere, even in one byte of the same length:
// at the start, inside a later slice of a file read in slices, at the end.
TEST_F(ProjectLifeCycle, ASaveRewritesTheFileOnlyWhenOneOfItsBytesDiffers)
{
    MakeProject();
    // Enough members for a file of well over one slice.
    for (int i = 0; i < 1500; ++i) {
        const std::string path =
            m_folder.Write("alu/hdl/a_member_with_a_rather_long_name_" + std::to_string(i) + ".v", "// member\n");
        ASSERT_TRUE(Files().AddOrUpdateFile(
            IfileObjectEx(IfileObject(ImodelFileName(path), zorpaFT_HDL, ImodelFMFull, true, true), false), true));
    }
    ASSERT_TRUE(IcmdDoSaveProject(false, nullptr));
    const std::string saved = ProjectText();
    ASSERT_GT(saved.size(), std::size_t{100} << 10);
    const auto inode = [this] {
        struct stat status {};
        return ::stat(ProjectFile().c_str(), &status) == 0 ? status.st_ino : 0;
    };
    const auto kept = inode();
    Design().SetNeedSave(true);
    ASSERT_TRUE(IcmdDoSaveProject(false, nullptr));
    EXPECT_EQ(inode(), kept);
    for (const std::size_t at : {std::size_t{0}, (std::size_t{64} << 10) + 7, saved.size() - 1}) {
        std::string changed = saved;
        changed[at] = changed[at] == 'x' ? 'y' : 'x';
        WriteProject(changed);
        Design().SetNeedSave(true);
        ASSERT_TRUE(IcmdDoSaveProject(false, nullptr));
        EXPECT_EQ(ProjectText(), saved) << "byte " << at;
    }
    // A file one byte longer or shorter is written again too.
    for (const std::string& other : {saved + "\n", saved.substr(0, saved.size() - 1)}) {
        WriteProject(other);
        Design().SetNeedSave(true);
        ASSERT_TRUE(IcmdDoSaveProject(false, nullptr));
        EXPECT_EQ(ProjectText(), saved);
    }
}

TEST_F(ProjectLifeCycle, ANewProjectWhoseFileCannotBeWrittenIsNotCreated)
{
    {
        FileSizeLimit limit(64);
        EXPECT_FALSE(IcmdDoNewProject(false, "alu", m_folder / "alu", true, "ZX3", "", ""));
    }
    EXPECT_EQ(m_messages.WithId("SAVE_FAILED").size(), 1u);
    EXPECT_TRUE(m_messages.WithId("PROJECT_CREATED").empty());
    EXPECT_FALSE(Design().IsProjectOpen());
    EXPECT_FALSE(UtlDoesFileExist(ProjectFile()));
}

TEST_F(ProjectLifeCycle, ARaisedErrorDuringTheReadIsAnInternalErrorAndLeavesNoProject)
{
    ProfileHost host;
    MakeProject();
    ASSERT_TRUE(IcmdDoCloseProject(false, false));
    DefSetBool("IDE_OPEN_MRU_PROJECT", true);
    host.profiles.throwOnRead = true;
    EXPECT_FALSE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
    ASSERT_EQ(m_messages.WithId("INTERNAL_ERROR_OPEN_PRJ").size(), 1u);
    EXPECT_NE(m_messages.WithId("INTERNAL_ERROR_OPEN_PRJ").front().text.find(ProjectFile()), std::string::npos);
    int reopen = 1;
    EXPECT_EQ(DefGetBoolFL("IDE_OPEN_MRU_PROJECT", &reopen), 0);
    EXPECT_EQ(reopen, 0);
    EXPECT_FALSE(Design().IsProjectOpen());
    EXPECT_EQ(Files().GetFileCount(), 0);
}

TEST(ProjectFileText, OnlyATrailingEndOfFileMarkIsDropped)
{
    std::mt19937 random(27);
    const std::string bodyBytes = "KEY \"abc\t=,\r\n";
    const std::string tailBytes = "\x1a\r\n";
    const auto pick = [&random](const std::string& from, std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) text += from[random() % from.size()];
        return text;
    };
    for (int round = 0; round < 500; ++round) {
        // A body that does not end with a line break, then line breaks.
        const std::string body = pick(bodyBytes, random() % 40) + "x";
        const std::string breaks = pick("\r\n", random() % 3);
        const std::string tail = pick(tailBytes, random() % 5);
        SCOPED_TRACE(::testing::PrintToString(body + breaks + "|" + tail));

        std::string text = body + breaks;
        IcmdDropEndOfFileMark(text);
        EXPECT_EQ(text, body + breaks) << "no mark: nothing changes";

        text = body + breaks + "\x1a" + tail;
        IcmdDropEndOfFileMark(text);
        EXPECT_EQ(text, body + breaks) << "the text ends before the mark";

        // A mark with text after it is not the end of the file.
        text = body + "\x1a" + tail + "y";
        const std::string inside = text;
        IcmdDropEndOfFileMark(text);
        EXPECT_EQ(text, inside);
    }
}

TEST_F(ProjectLifeCycle, AProjectEndingWithTheEndOfFileMarkOpensAndIsSavedWithoutIt)
{
    RecordingHost host;
    MakeProject();
    Design().SetRootId(Unit("top")->GetComponentID());
    ASSERT_TRUE(IcmdDoCloseProject(false, false));
    const std::string saved = ProjectText();
    std::string crlf;
    for (const char c : saved) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    // A blank line of a tab between two lists is text too.
    std::string tabbed = saved;
    tabbed.insert(tabbed.find("LIST UsedFile\n"), "\t\n");
    for (const std::string& written : {saved + "\x1a", crlf + "\x1a", saved + "\x1a\r\n", tabbed}) {
        SCOPED_TRACE(::testing::PrintToString(written.substr(written.size() - 3)));
        WriteProject(written);
        m_messages.Clear();
        ASSERT_TRUE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
        EXPECT_TRUE(m_messages.WithId("PROJECT_FILE_DAMAGED").empty());
        ASSERT_NE(Unit("top"), nullptr);
        EXPECT_EQ(Design().GetRootModule(), Unit("top"));
        EXPECT_NE(Unit("regs", "mylib"), nullptr);
        // The open saved at once, as this version writes it.
        EXPECT_EQ(ProjectText(), saved);
        ASSERT_TRUE(IcmdDoCloseProject(false, false));
    }
}

// Lines of the library list that the list would read back as its own
// structure name no library: a save would otherwise write a file that no
// longer opens.
TEST_F(ProjectLifeCycle, LibraryNamesTheListCannotHoldAreRefusedAndTheProjectSavesAndOpensAgain)
{
    RecordingHost host;
    MakeProject();
    ASSERT_TRUE(IcmdDoCloseProject(false, false));
    const std::string saved = ProjectText();
    std::string broken = saved;
    const std::size_t list = broken.find("LIST LIBRARIES\n");
    ASSERT_NE(list, std::string::npos);
    broken.insert(list + 15, "LIST nested\nhdl\nENDLIST trailing\n");
    WriteProject(broken);
    m_messages.Clear();
    ASSERT_TRUE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
    EXPECT_EQ(m_messages.WithId("INVALID_NAME_CHAR").size(), 2u);
    EXPECT_EQ(Design().FindLibraryByName("ENDLIST trailing"), nullptr);
    EXPECT_EQ(Design().FindLibraryByName("LIST nested"), nullptr);
    EXPECT_NE(Unit("regs", "mylib"), nullptr);
    ASSERT_TRUE(IcmdDoCloseProject(false, false));
    m_messages.Clear();
    ASSERT_TRUE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
    EXPECT_TRUE(m_messages.WithId("PROJECT_FILE_DAMAGED").empty());
    EXPECT_NE(Unit("regs", "mylib"), nullptr);
    ASSERT_TRUE(IcmdDoCloseProject(false, false));
    // What the list could hold stays: the plain name between them.
    EXPECT_NE(ProjectText().find("LIST LIBRARIES\nhdl\n"), std::string::npos);
}

TEST_F(ProjectLifeCycle, ControlBytesInsideLinesRefuseTheFileAndLeaveIt)
{
    MakeProject();
    ASSERT_TRUE(IcmdDoCloseProject(false, false));
    const std::string saved = ProjectText();
    std::mt19937 random(26);
    for (int round = 0; round < 24; ++round) {
        // Any control byte but tab and the line breaks, somewhere before the
        // last line: a mark there is no end of the file. The text is looked
        // at in blocks: odd rounds put the byte among the last ones.
        char byte = static_cast<char>(random() % 0x20);
        if (byte == '\t' || byte == '\n' || byte == '\r') byte = '\0';
        if (round == 0) byte = '\x1a';
        std::string damaged = saved;
        const std::size_t at = round % 2 ? saved.size() - 2 - random() % 40 : random() % (saved.size() - 1);
        damaged.insert(at, 1, byte);
        SCOPED_TRACE(static_cast<int>(byte));
        WriteProject(damaged);
        m_messages.Clear();
        EXPECT_FALSE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
        EXPECT_FALSE(Design().IsProjectOpen());
        EXPECT_EQ(m_messages.WithId("PROJECT_FILE_DAMAGED").size(), 1u);
        EXPECT_EQ(ProjectText(), damaged);
    }
    // Bytes above the control range (letters of other alphabets, DEL) are
    // text, in the blocks and among the last bytes alike.
    const std::string bytes = "\xc3\xa9\x7f\xff\t";
    for (const bool last : {false, true}) {
        std::string text = saved;
        if (last) {
            // A line outside any block, which no reader asks for.
            text += bytes + "\n";
        } else {
            const std::size_t vendor = text.find("\"Brennic\"");
            ASSERT_NE(vendor, std::string::npos);
            text.insert(vendor + 8, bytes);
        }
        WriteProject(text);
        m_messages.Clear();
        EXPECT_TRUE(IcmdDoOpenProject(ProjectFile().c_str(), false, false)) << last;
        EXPECT_TRUE(m_messages.WithId("PROJECT_FILE_DAMAGED").empty());
        ASSERT_TRUE(IcmdDoCloseProject(false, false));
    }
}

TEST_F(ProjectLifeCycle, EveryOlderFileGroupListBringsItsFilesIn)
{
    MakeProject();
    ASSERT_TRUE(IcmdDoCloseProject(false, false));
    std::string text = ProjectText();
    // Without the file manager's own list, as older versions wrote it.
    const std::size_t members = text.find("LIST FileManager\n");
    ASSERT_NE(members, std::string::npos);
    text.erase(members, ListEnd(text, members) - members);
    std::vector<std::string> lists = {"VHDLPackageFiles"};
    const ImodelProjectFileStructure structure;
    for (const auto& section : structure.GetSections()) lists.push_back(section.first);
    std::vector<std::string> names;
    for (const std::string& list : lists) {
        names.push_back("old/" + list + ".vhd");
        m_folder.Write("alu/" + names.back(), "-- " + list + "\n");
        text += "LIST " + list + "\n" + names.back() + "\nENDLIST\n";
    }
    WriteProject(text);
    ASSERT_TRUE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const IfileObject file(ImodelFileName(m_folder / ("alu/" + name)), zorpaFT_HDL, ImodelFMFull, true, true);
        const IfileManager::Entry member = Files().GetFile(file);
        ASSERT_TRUE(member);
        EXPECT_TRUE(member->IsFileInProject());
    }
}

TEST_F(ProjectLifeCycle, ClosingLetsGoOfEveryFileAtOnceKeepsHeldOnesAbsentAndHandsTheRestOverOnce)
{
    // Random projects of units, one per member file, in two libraries, some
    // files held elsewhere (as a flow, a view or an open document holds
    // them) and every file watched weakly: when close_project returns, the
    // files nobody holds are gone, as if freed in place; those held are
    // absent, without error, and left as the manager leaves them; the
    // project's memory (the file map and the units) goes to the reclaimer
    // in one hand-over; the project opens again with the same files.
    RecordingHost host;
    imodelReclaimer& reclaimer = imodelTheReclaimer();
    std::mt19937 random(32);
    ASSERT_TRUE(IcmdDoNewProject(false, "alu", m_folder / "alu", false, "ZX3", "zx3_10", "tq100"));
    const int count = 20 + static_cast<int>(random() % 60);
    for (int i = 0; i < count; ++i) {
        const std::string path = m_folder.Write("alu/hdl/u" + std::to_string(i) + ".v", "// unit\n");
        IfileObjectEx file(IfileObject(ImodelFileName(path), zorpaFT_HDL, ImodelFMFull, true, true), false);
        if (random() % 3 == 0) file.SetLibraryName("mylib");
        ASSERT_TRUE(Files().AddOrUpdateFile(file, true));
    }
    ASSERT_TRUE(IcmdDoSaveProject(false, nullptr));
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::vector<IfileManager::Entry> all;
        Files().GetFiles(all, 0, nullptr);
        ASSERT_EQ(static_cast<int>(all.size()), count);
        std::vector<IfileManager::Entry> held;
        std::vector<boost::weak_ptr<IfileObjectEx>> watched;
        std::vector<bool> isHeld;
        for (const IfileManager::Entry& file : all) {
            watched.push_back(file);
            isHeld.push_back(random() % 3 == 0);
            if (isHeld.back()) held.push_back(file);
        }
        all.clear();
        reclaimer.Wait();
        const std::uint64_t handedBefore = reclaimer.ReclaimedOnThread() + reclaimer.ReclaimedInPlace();
        ASSERT_TRUE(IcmdDoCloseProject(false, false));
        for (std::size_t i = 0; i < watched.size(); ++i) {
            EXPECT_EQ(watched[i].expired(), !isHeld[i]) << i;
            if (const IfileManager::Entry file = watched[i].lock()) {
                EXPECT_EQ(file->GetFileState(), imodelFileAbsent);
                EXPECT_EQ(file->GetErrorFileType(), ImodelNoError);
                EXPECT_EQ(file.use_count(), 2);
            }
        }
        EXPECT_EQ(Files().GetFileCount(), 0);
        reclaimer.Wait();
        EXPECT_EQ(reclaimer.ReclaimedOnThread() + reclaimer.ReclaimedInPlace(), handedBefore + 1);
        EXPECT_FALSE(reclaimer.Busy());
        held.clear();
        ASSERT_TRUE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
        EXPECT_EQ(Files().GetFileCount(), count);
        EXPECT_NE(Unit("u0"), nullptr);
    }
}

TEST_F(ProjectLifeCycle, OpeningOrStartingAProjectFirstWaitsForTheClosedOneToBeFreed)
{
    // Memory still being freed when a project is opened or started: the
    // command begins only once it is freed, so that the two designs never
    // hold memory side by side nor contend for the allocator. The freeing
    // is slow enough here that a command not waiting for it ends first.
    struct SlowToFree : imodelReclaimer::Garbage {
        explicit SlowToFree(std::atomic<bool>& freed) : freed(freed) {}
        ~SlowToFree() override
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            freed = true;
        }
        std::atomic<bool>& freed;
    };
    imodelReclaimer& reclaimer = imodelTheReclaimer();
    ASSERT_TRUE(IcmdDoNewProject(false, "alu", m_folder / "alu", false, "ZX3", "zx3_10", "tq100"));
    ASSERT_TRUE(IcmdDoSaveProject(false, nullptr));
    ASSERT_TRUE(IcmdDoCloseProject(false, false));
    for (const bool open : {true, false}) {
        SCOPED_TRACE(open ? "open_project" : "new_project");
        std::atomic<bool> freed{false};
        reclaimer.HandOver(std::make_unique<SlowToFree>(freed));
        if (open) {
            ASSERT_TRUE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
        } else {
            ASSERT_TRUE(IcmdDoNewProject(false, "bus", m_folder / "bus", false, "ZX3", "zx3_10", "tq100"));
        }
        EXPECT_TRUE(freed);
        EXPECT_FALSE(reclaimer.Busy());
        ASSERT_TRUE(IcmdDoCloseProject(false, false));
        reclaimer.Wait();
    }
}
