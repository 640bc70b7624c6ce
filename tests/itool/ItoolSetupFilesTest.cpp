// The simulator's and the schematic editor's set-up files brought up to date
// in files that users and older versions have changed: what must change
// changes once, everything else stays, and a failed write leaves the old
// file alone. New files as a user gets them are compared with their golden
// texts in the scenario tests/tcl/setup_files.tcl.
#include "FileSizeLimit.h"
#include "MessageRecorder.h"
#include "OptionsScope.h"
#include "ProjectFolderScope.h"
#include "RecordingHost.h"
#include "TempFolder.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/device/ImodelDevice.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"
#include "iprofile/IprofileManager.h"
#include "itool/ItoolModelSimPathOptions.h"
#include "itool/ItoolSetupFiles.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

namespace {

Imodel& Model() { return Imodel::GetInstance(); }

const char* const kDefaults = "IDE_MODELSIM_LIB_LOC_DEFAULT = /opt/sim\n"
                              "IDE_MODELSIM_LIB_VHDL_SUBDIR = vhdl\n"
                              "IDE_MODELSIM_VHDL_FAM[FAM=ZX3] = zx3\n"
                              "IDE_MODELSIM_VHDL_FAM[FAM=ZX7] = zx7\n"
                              "RERARU_LIB = rerarulib\n"
                              "RERARU_LIB_LOC = /opt/sim/rerarulib\n"
                              "IDE_BRENNIC_LIBVD = /opt/libvd\n";

// A host whose simulation profile names the simulator's executable.
class SimulatorHost : public RecordingHost, public IprofileManager {
public:
    IprofileManager* GetProfileManager() override { return this; }
    bool FindActiveTool(ImodelFunctionType, std::string&, std::string&, std::string&, std::string&, std::string&,
                        bool&) override
    {
        return false;
    }
    void BeginProjectRead() override {}
    void EndProjectRead() override {}
    void AddProjectProfile(ImodelFunctionType, const std::string&, const std::string&, const std::string&,
                           const std::string&, bool) override
    {
    }
    void GetProjectProfile(ImodelFunctionType kind, std::string&, std::string&, std::string&, std::string& location,
                           std::string&, bool&) override
    {
        location = kind == ideSIMULATION ? executable : "";
    }
    const std::vector<IprofileManagedProfile>& GetProfileList() const override { return m_none; }

    std::string executable;

private:
    std::vector<IprofileManagedProfile> m_none;
};

class SetupFiles : public ::testing::Test {
protected:
    SetupFiles()
    {
        Model().GetDeviceManager()->SetDevice(ImodelDevice("ZX3", "", ""));
        Model().GetDesignManager()->SetDefaultVHDL(true);
        ImodelValidateOrCreateDirectory(ImodelFileName(folder / "simulation"));
    }
    ~SetupFiles() override
    {
        Model().GetDeviceManager()->SetDevice(ImodelDevice());
        Model().GetGlobalFlowOptions()->SetDefault();
        Model().GetModelSimPathOptions()->SetDefault();
    }

    std::string Ini() const { return folder.Read("simulation/modelsim.ini"); }
    // Each write of a set-up file puts a new file in place of the old one.
    ino_t InodeOf(const std::string& name) const
    {
        struct stat status {};
        return ::stat((folder / name).c_str(), &status) == 0 ? status.st_ino : 0;
    }
    ino_t IniInode() const { return InodeOf("simulation/modelsim.ini"); }
    void WriteIni(const std::string& text) const { folder.Write("simulation/modelsim.ini", text); }
    std::string Viewdraw() const { return folder.Read("viewdraw/viewdraw.ini"); }
    std::vector<std::string> SimulationFolder() const
    {
        std::vector<std::string> names;
        SysListFolder(folder / "simulation", names);
        return names;
    }

    OptionsScope options{kDefaults};
    TempFolder folder;
    ProjectFolderScope project{folder.Path()};
    MessageRecorder messages;
};

}  // namespace

TEST_F(SetupFiles, TheSimulatorFileKeepsWhatItDoesNotOwnAndMapsTheFamilyOnce)
{
    ItoolCreateModelSim();
    const std::string created = Ini();
    const ino_t createdInode = IniInode();
    ItoolUpdateModelSim(false, "");
    EXPECT_EQ(Ini(), created) << "an update of a new file changes nothing";
    EXPECT_EQ(IniInode(), createdInode) << "a file that holds its text already is not written again";

    // A user's file: own libraries, a line that merely names the vendor's
    // library, a setting outside "[Library]" that looks like a mapping, a
    // section of its own; CRLF line ends.
    WriteIni("[Library]\r\nothers = $MODEL_TECH/../modelsim.ini\r\nzx3 = /old/zx3\r\nmylib = /home/me/mylib\r\n"
             "rerarulib_old = /keep\r\nrerarulib = /old/rerarulib\r\n\r\n[vsim]\r\nzx3 = not a mapping here\r\n"
             "; rerarulib is mapped above\r\nIterationLimit = 5000\r\n[mine]\r\nkey = value\r\n");
    ItoolModelSimPathOptions custom;
    custom.SetUseCustomPath(true);
    custom.SetLibraryPath("C:\\sim\\zx3");
    *Model().GetModelSimPathOptions() = custom;
    const ino_t userInode = IniInode();
    ItoolUpdateModelSim(false, "");
    EXPECT_NE(IniInode(), userInode) << "a text that changes is written";
    const std::string customised = "[Library]\nothers = $MODEL_TECH/../modelsim.ini\nzx3 = C:/sim/zx3\n"
                                   "mylib = /home/me/mylib\nrerarulib_old = /keep\nrerarulib = /opt/sim/rerarulib\n\n"
                                   "[vsim]\nzx3 = not a mapping here\n; rerarulib is mapped above\n"
                                   "IterationLimit = 5000\n[mine]\nkey = value\n";
    EXPECT_EQ(Ini(), customised);

    // Switching family: the old family's mapping goes, the new one comes once.
    Model().GetModelSimPathOptions()->SetDefault();
    Model().GetDeviceManager()->SetDevice(ImodelDevice("ZX7", "", ""));
    ItoolUpdateModelSim(false, "ZX3");
    EXPECT_EQ(Ini(), "[Library]\nothers = $MODEL_TECH/../modelsim.ini\nmylib = /home/me/mylib\nrerarulib_old = /keep\n"
                     "zx7 = /opt/sim/vhdl/zx7\nrerarulib = /opt/sim/rerarulib\n\n[vsim]\nzx3 = not a mapping here\n"
                     "; rerarulib is mapped above\nIterationLimit = 5000\n[mine]\nkey = value\n");
    EXPECT_TRUE(messages.Records().empty());
}

TEST_F(SetupFiles, ALibrarySectionAtTheEndOfTheFileGetsItsMappingsAtTheEnd)
{
    WriteIni("[vsim]\nIterationLimit = 5000\n\n[Library]\nothers = $MODEL_TECH/../modelsim.ini\n");
    ItoolUpdateModelSim(false, "");
    EXPECT_EQ(Ini(), "[vsim]\nIterationLimit = 5000\n\n[Library]\nothers = $MODEL_TECH/../modelsim.ini\n"
                     "zx3 = /opt/sim/vhdl/zx3\nrerarulib = /opt/sim/rerarulib\n");

    // A library mapping added on request lands there too, and replaces the old one.
    EXPECT_TRUE(ItoolAddModelSimVMap("mylib", "/a"));
    EXPECT_TRUE(ItoolAddModelSimVMap("mylib", "/b"));
    EXPECT_EQ(Ini().substr(Ini().size() - 12), "\nmylib = /b\n");
    EXPECT_TRUE(ItoolAddModelSimVMap("mylib", ""));
    EXPECT_EQ(Ini().find("mylib"), std::string::npos);
    EXPECT_FALSE(ItoolAddModelSimVMap("", "/c"));

    // With the repointing asked, the design states' mappings follow the project.
    WriteIni("[Library]\npresynth = /old/presynth\npostsynth = /old/postsynth\npresynth_mine = /keep\n");
    ItoolUpdateModelSim(true, "");
    EXPECT_EQ(Ini(), "[Library]\npresynth = presynth\npostsynth = postsynth\npresynth_mine = /keep\n"
                     "zx3 = /opt/sim/vhdl/zx3\nrerarulib = /opt/sim/rerarulib\n");
}

TEST_F(SetupFiles, MappingsThatCannotBeWrittenAreLeftOutOrLeftAsTheyAre)
{
    // Without a library root the family's path is unknown: the file's own
    // mapping stays; without a vendor library there is no " = " line.
    DefReset();
    ASSERT_TRUE(DefLoadDefaultsFromText("IDE_MODELSIM_VHDL_FAM = zx3\n"));
    ItoolCreateModelSim();
    EXPECT_EQ(Ini(), "[Library]\nothers = $MODEL_TECH/../modelsim.ini\n\n[vcom]\nVHDL93 = 1\n\n[vsim]\n"
                     "IterationLimit = 5000\n");
    WriteIni("[Library]\nzx3 = /mine/zx3\n");
    ItoolUpdateModelSim(false, "");
    EXPECT_EQ(Ini(), "[Library]\nzx3 = /mine/zx3\n");
}

TEST_F(SetupFiles, AFailedWriteLeavesTheOldFileAndNothingBesideIt)
{
    const std::string old = "[Library]\nzx3 = /old\n" + std::string(4096, ';') + "\n";
    WriteIni(old);
    {
        const FileSizeLimit limit(1024);
        ItoolUpdateModelSim(false, "");
    }
    EXPECT_EQ(Ini(), old);
    EXPECT_EQ(SimulationFolder(), std::vector<std::string>{"modelsim.ini"});
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(messages.Texts()[0],
              "Unable to write '" + folder / "simulation/modelsim.ini" + "'. Please check the write permissions.");

    // A file that cannot be created is told too.
    messages.Clear();
    SysRemoveFolderRecursively(folder / "simulation");
    ItoolCreateModelSim();
    EXPECT_EQ(messages.WithId("SETUP_FILE_NOT_WRITTEN").size(), 1u);
}

TEST_F(SetupFiles, TheSwitchOffKeepsAnExistingSimulatorFileButAMissingOneIsMade)
{
    Model().GetGlobalFlowOptions()->UpdateModelSimIni = false;
    WriteIni("[Library]\n");
    ItoolUpdateModelSim(false, "");
    EXPECT_EQ(Ini(), "[Library]\n");
    SysDelete(folder / "simulation/modelsim.ini");
    ItoolUpdateModelSim(false, "");
    EXPECT_NE(Ini().find("zx3 = /opt/sim/vhdl/zx3\n"), std::string::npos);
}

TEST_F(SetupFiles, TheMemoryInitialisationFileComesFromTheSimulatorsInstallation)
{
    SimulatorHost host;
    host.executable = folder / "modeltech/bin/vsim";
    folder.Write("modeltech/bin/vsim", "");
    folder.Write("modeltech/brennic/vhdl/src/meminit.dat", "vhdl memory");
    folder.Write("modeltech/brennic/vlog/src/meminit.dat", "verilog memory");
    ItoolCreateModelSim();
    EXPECT_EQ(folder.Read("simulation/meminit.dat"), "vhdl memory");
    Model().GetDesignManager()->SetDefaultVHDL(false);
    ItoolUpdateModelSim(false, "");
    EXPECT_EQ(folder.Read("simulation/meminit.dat"), "verilog memory");
    Model().GetDesignManager()->SetDefaultVHDL(true);
}

TEST_F(SetupFiles, TheSchematicEditorFileKeepsTheProjectAliasAndGainsMissingFolderLines)
{
    ItoolCreateViewdraw(true);
    const std::string viewdraw = folder / "viewdraw";
    const std::string created = Viewdraw();
    EXPECT_NE(created.find("\nPRESERVE_CASE    1 \n"), std::string::npos);
    EXPECT_TRUE(created.ends_with("DIR [pw] " + viewdraw +
                                  "\nDIR [rm] /opt/libvd/cells (brenniccells)\n"
                                  "DIR [rm] /lib/libvd/asicbin (builtin)\n"));
    EXPECT_EQ(folder.Read("viewdraw/vf/project.lst"), "0\n" + viewdraw + "/ viewdraw\n");
    for (const char* sub : {"vf", "sch", "sym", "wir"}) EXPECT_TRUE(UtlDoesPathExist(viewdraw + "/" + sub)) << sub;
    const ino_t createdInode = InodeOf("viewdraw/viewdraw.ini");
    ItoolUpdateViewdraw(true);
    EXPECT_EQ(Viewdraw(), created) << "an update of a new file changes nothing";
    EXPECT_EQ(InodeOf("viewdraw/viewdraw.ini"), createdInode) << "a file that holds its text already stays";
    // The same lines with other line ends are other bytes: written again.
    std::string crlf = created;
    for (std::size_t at = crlf.find('\n'); at != std::string::npos; at = crlf.find('\n', at + 2)) crlf.insert(at, "\r");
    folder.Write("viewdraw/viewdraw.ini", crlf);
    ItoolUpdateViewdraw(true);
    EXPECT_EQ(Viewdraw(), created);

    folder.Write("viewdraw/viewdraw.ini", "GRID 20\r\npreserve_case 1\r\ndir [pw] C:\\old\\viewdraw (myproj)\r\n"
                                          "DIR [rm] C:\\old\\libvd\\cells (brenniccells) extra\r\n");
    ItoolUpdateViewdraw(false);
    EXPECT_EQ(Viewdraw(), "GRID 20\nPRESERVE_CASE    0 \nDIR [pw] " + viewdraw +
                              " (myproj)\nDIR [rm] /opt/libvd/cells (brenniccells) extra\n"
                              "DIR [rm] /lib/libvd/asicbin (builtin)\n");

    // With the switch off only the project list is written.
    Model().GetGlobalFlowOptions()->UpdateViewDrawIni = false;
    folder.Write("viewdraw/viewdraw.ini", "GRID 20\n");
    SysDelete(viewdraw + "/vf/project.lst");
    ItoolUpdateViewdraw(false);
    EXPECT_EQ(Viewdraw(), "GRID 20\n");
    EXPECT_EQ(folder.Read("viewdraw/vf/project.lst"), "0\n" + viewdraw + "/ viewdraw\n");

    // A missing file is made new, without preserve case whatever was asked.
    Model().GetGlobalFlowOptions()->UpdateViewDrawIni = true;
    SysDelete(viewdraw + "/viewdraw.ini");
    ItoolUpdateViewdraw(true);
    EXPECT_NE(Viewdraw().find("\nPRESERVE_CASE    0 \n"), std::string::npos);
    EXPECT_TRUE(messages.Records().empty());
}
