// The settings commands on an open project: what marks the project as
// needing a save, how often a set-up file is rewritten, and the in-process
// entry points. What the user sees of them (refusals, the saved project
// file, the set-up files) is in the scenarios tests/tcl/project_settings.tcl,
// simulation_options.tcl and setup_files.tcl.
#include "DebugCapture.h"
#include "IcmdTestSupport.h"

#include "icmd/project/IcmdCloseProject.h"
#include "icmd/project/IcmdOpenProject.h"
#include "icmd/settings/IcmdModelSimOptions.h"
#include "icmd/settings/IcmdSimulationOptions.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"
#include "imodel/options/ImodelSimulationOptions.h"
#include "itool/ItoolModelSimPathOptions.h"

namespace {

Imodel& Model() { return Imodel::GetInstance(); }

class SettingsCommands : public IcmdTest {
protected:
    void SetUp() override
    {
        IcmdTest::SetUp();
        ASSERT_TRUE(DefLoadDefaultsFromText("@choices FAM = ZX3\nIDE_MODELSIM_LIB_LOC_DEFAULT = /opt/sim\n"
                                            "IDE_MODELSIM_VHDL_FAM = zx3\nIDE_MODELSIM_VLOG_FAM = zx3v\n"));
        ASSERT_EQ(RegisterCommands({"new_project", "save_project", "close_project", "project_settings",
                                    "set_modelsim_options", "set_brennic_lib_options", "set_user_lib_options"}),
                  7);
        ASSERT_EQ(Eval("new_project -location p -name p -hdl VHDL -family ZX3"), TCL_OK) << result;
        Design().SetNeedSave(false);
    }
    void TearDown() override
    {
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, false);
        IcmdTest::TearDown();
    }

    // How many times the debug print says the file was written.
    static int Writes(const DebugCapture& capture, const std::string& name)
    {
        int count = 0;
        for (std::size_t at = capture.Text().find(name); at != std::string::npos;
             at = capture.Text().find(name, at + 1))
            ++count;
        return count;
    }
};

}  // namespace

TEST_F(SettingsCommands, RunsThatNameNothingNewLeaveTheProjectUntouched)
{
    const DebugCapture capture;
    for (const char* script : {"project_settings", "project_settings -hdl vhdl -auto_file_detection true",
                               "set_modelsim_options", "set_modelsim_options -sim_runtime 1000ns -type max",
                               "set_user_lib_options -name work -path work -option compile"}) {
        EXPECT_EQ(Eval(script), TCL_OK) << script << ": " << result;
        EXPECT_FALSE(Design().GetNeedSave()) << script;
    }
    EXPECT_EQ(Writes(capture, "Writing "), 0);

    ASSERT_EQ(Eval("set_modelsim_options -sim_runtime 5us"), TCL_OK);
    EXPECT_TRUE(Design().GetNeedSave());
    EXPECT_EQ(Model().GetSimulationOptions()->RunTime, "5us");
    Design().SetNeedSave(false);
    ASSERT_EQ(Eval("set_modelsim_options -sim_runtime 5us"), TCL_OK);
    EXPECT_FALSE(Design().GetNeedSave());
}

TEST_F(SettingsCommands, EachChangeOfASetupFileSwitchBringsItsFileUpToDateOnce)
{
    const DebugCapture capture;
    ASSERT_EQ(Eval("project_settings -auto_update_modelsim_ini false"), TCL_OK);
    EXPECT_TRUE(Design().GetNeedSave());
    EXPECT_EQ(Writes(capture, "modelsim.ini"), 0) << "an existing file is left alone with the switch off";
    // Changed meanwhile by hand: switched on again, the update writes it once.
    m_folder.Write("p/simulation/modelsim.ini", "[Library]\n");
    ASSERT_EQ(Eval("project_settings -auto_update_modelsim_ini true -block_mode true"), TCL_OK);
    EXPECT_EQ(Writes(capture, "modelsim.ini"), 1);
    EXPECT_TRUE(Model().GetGlobalFlowOptions()->NoIOMode);

    // The project list is brought up to date with the switch off too; a file
    // that holds its text already is not written again.
    m_folder.Write("p/viewdraw/viewdraw.ini", "stale\n");
    m_folder.Write("p/viewdraw/vf/project.lst", "stale\n");
    ASSERT_EQ(Eval("project_settings -auto_update_viewdraw_ini false"), TCL_OK);
    EXPECT_EQ(Writes(capture, "viewdraw.ini"), 0);
    EXPECT_EQ(Writes(capture, "project.lst"), 1);
    EXPECT_EQ(m_folder.Read("p/viewdraw/viewdraw.ini"), "stale\n");
    ASSERT_EQ(Eval("project_settings -auto_update_viewdraw_ini true"), TCL_OK);
    EXPECT_EQ(Writes(capture, "viewdraw.ini"), 1);
    EXPECT_EQ(Writes(capture, "project.lst"), 1);
    EXPECT_EQ(Writes(capture, "modelsim.ini"), 1);
}

TEST_F(SettingsCommands, ADoFileThatIsMissingIsLeftOutWhenTheOptionsAreWrittenOut)
{
    // The options name "wave.do" as the file to include, which is not there
    // yet; no user DO file is written as none, so that sourcing clears it.
    const std::string before = AcmdManager::ExportCommand(IcmdSimulationOptions());
    EXPECT_EQ(before.find("-included_do_file"), std::string::npos);
    EXPECT_NE(before.find(" -user_do_file {} "), std::string::npos) << before;
    // A file that is there is written as its full name: a journal may be
    // sourced from another folder.
    m_folder.Write("wave.do", "add wave /*\n");
    EXPECT_NE(AcmdManager::ExportCommand(IcmdSimulationOptions()).find(" -included_do_file " + (m_folder / "wave.do")),
              std::string::npos);
}

TEST_F(SettingsCommands, ALanguageSwitchMapsTheFamilyLibraryOfTheNewLanguageAtOnceWhileTheSwitchIsOn)
{
    // The family's library mapping of the simulator's file, for each language.
    const auto mapping = [this]() {
        std::string lines;
        for (const char* name : {"zx3 = ", "zx3v = "}) {
            const std::string text = m_folder.Read("p/simulation/modelsim.ini");
            const std::size_t at = text.find(std::string("\n") + name);
            if (at != std::string::npos) lines += text.substr(at + 1, text.find('\n', at + 1) - at - 1) + ";";
        }
        return lines;
    };
    ASSERT_EQ(mapping(), "zx3 = /opt/sim/zx3;");
    // Back and forth, also together with a change of the other switches: the
    // file names what the project now is.
    for (const char* script : {"project_settings -hdl verilog", "project_settings -hdl vhdl -block_mode true",
                               "project_settings -hdl verilog -auto_update_modelsim_ini true"}) {
        ASSERT_EQ(Eval(script), TCL_OK) << script << ": " << result;
        EXPECT_NE(mapping().find(Design().IsDefaultVHDL() ? "zx3 = /opt/sim/zx3;" : "zx3v = /opt/sim/zx3v;"),
                  std::string::npos)
            << script << ": " << mapping();
    }

    // With its switch off the file is the user's: a switch of language, also
    // in the run that turns the switch off, leaves it as it was.
    m_folder.Write("p/simulation/modelsim.ini", "[Library]\nmine = /home/me/mine\n");
    const DebugCapture capture;
    ASSERT_EQ(Eval("project_settings -hdl vhdl -auto_update_modelsim_ini false"), TCL_OK) << result;
    ASSERT_EQ(Eval("project_settings -hdl verilog"), TCL_OK) << result;
    EXPECT_EQ(m_folder.Read("p/simulation/modelsim.ini"), "[Library]\nmine = /home/me/mine\n");
    EXPECT_EQ(Writes(capture, "modelsim.ini"), 0);
}

TEST_F(SettingsCommands, ALibraryPathOfOnesOwnIsRefusedEmptyAndKeptWhenGiven)
{
    ItoolModelSimPathOptions own;
    own.SetUseCustomPath(true);
    // Empty, in process as from Tcl: refused, and nothing changes.
    EXPECT_FALSE(IcmdDoSetModelSimLibOptions(false, own, nullptr));
    EXPECT_EQ(Eval("set_brennic_lib_options -use_default_sim_path false -sim_path {}"), TCL_ERROR);
    EXPECT_TRUE(*Model().GetModelSimPathOptions() == ItoolModelSimPathOptions());
    EXPECT_FALSE(Design().GetNeedSave());
    EXPECT_NE(m_folder.Read("p/simulation/modelsim.ini").find("zx3 = /opt/sim/zx3\n"), std::string::npos);

    // Given, it is the project's, saved and read back as it was set.
    own.SetLibraryPath(m_folder / "libs with blanks/zx3");
    EXPECT_TRUE(IcmdDoSetModelSimLibOptions(false, own, nullptr));
    EXPECT_TRUE(Design().GetNeedSave());
    EXPECT_NE(m_folder.Read("p/simulation/modelsim.ini").find("zx3 = " + own.GetLibraryPath() + "\n"),
              std::string::npos);
    ASSERT_EQ(Eval("save_project"), TCL_OK) << result;
    ASSERT_EQ(Eval("close_project"), TCL_OK) << result;
    EXPECT_TRUE(*Model().GetModelSimPathOptions() == ItoolModelSimPathOptions());
    ASSERT_TRUE(IcmdDoOpenProject((m_folder / "p/p.prj").c_str(), false, false));
    EXPECT_TRUE(*Model().GetModelSimPathOptions() == own);
}
