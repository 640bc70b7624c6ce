// Opening projects written by other versions: which are refused, asked
// about, backed up and converted by which converters; archives that cannot
// be written and declined questions leave no project behind. The scenario
// project_convert shows the rest as a user sees it.
#include "Golden.h"
#include "MessageRecorder.h"
#include "RecordingHost.h"
#include "TempFolder.h"

#include "icmd/IcmdDoCommand.h"
#include "icmd/project/IcmdCloseProject.h"
#include "icmd/project/IcmdNewProject.h"
#include "icmd/project/IcmdOpenProject.h"
#include "iconvert/IconvertAddOldCoresToWS.h"
#include "iconvert/IconvertOmbrix.h"
#include "iconvert/IconvertPackages.h"
#include "iconvert/IconvertPowerFiles.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"

#include <foundation/AcmdManager.h>
#include <foundation/Def.h>
#include <foundation/Sys.h>
#include <ktwkspace/Workspace.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

const char* KindOf(const Iconvert* converter)
{
    if (dynamic_cast<const IconvertOmbrix*>(converter)) return "Ombrix";
    if (dynamic_cast<const IconvertPackages*>(converter)) return "Packages";
    if (dynamic_cast<const IconvertAddOldCoresToWS*>(converter)) return "AddOldCoresToWS";
    if (dynamic_cast<const IconvertPowerFiles*>(converter)) return "PowerFiles";
    return "?";
}

// Keeps what the conversion handed it; the converters are gone after the open.
class ConvertingHost : public RecordingHost {
public:
    bool ConvertProject(std::vector<IThreadCommand*>& commands, std::vector<Iconvert*>& converters,
                        bool packages) override
    {
        converted = "converters:";
        for (const Iconvert* converter : converters) converted += std::string(" ") + KindOf(converter);
        if (converters.empty()) converted += " none";
        if (packages) converted += ", packages";
        return RecordingHost::ConvertProject(commands, converters, packages);
    }
    bool AskConvertProject(IcmdOpenProject* command) override
    {
        asked = true;
        return askAnswer && command->ValidateBackupOptions();
    }

    std::string converted;
    bool asked = false;
    bool askAnswer = true;
};

class ProjectConversion : public ::testing::Test {
protected:
    void SetUp() override { Options(false, false); }
    void TearDown() override
    {
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, false);
        AcmdManager::GetInstance().SetCurrentFolder(std::string());
        DefReset();
    }

    void Options(bool mixedHDL, bool zipMode)
    {
        DefReset();
        // The release 8.4, with the device catalogue of one family.
        std::string defaults = "IDE_MAJOR = 8\nIDE_MINOR = 4\n@choices FAM = ZX3\n@choices DIE[QFAM=ZX3] = zx3_10\n"
                               "@choices PACKAGE[QFAM=ZX3,QDIE=zx3_10] = tq100\n";
        if (mixedHDL) defaults += "IDE_MIXED_HDL_ENABLED = 1\n";
        if (zipMode) defaults += "IDE_CREATE_ZIP_ON_CONVERT_ENABLED = 1\n";
        ASSERT_TRUE(DefLoadDefaultsFromText(defaults));
        AcmdManager::GetInstance().SetCurrentFolder(m_folder.Path());
        if (m_current.empty()) {
            ASSERT_TRUE(IcmdDoNewProject(false, "alu", m_folder / "alu", true, "ZX3", "zx3_10", "tq100"));
            ASSERT_TRUE(IcmdDoCloseProject(false, false));
            m_current = m_folder.Read("alu/alu.prj");
            ASSERT_NE(m_current.find(kVersionKey), std::string::npos);
        }
    }

    // The project file as `version` wrote it ("" for none), with nothing else
    // of the folder left from an earlier open.
    void WriteVersion(const std::string& version)
    {
        std::string text = m_current;
        const std::size_t key = text.find(kVersionKey);
        text.replace(key, std::string(kVersionKey).size() + 1,
                     version.empty() ? std::string() : "KEY SOLVATO \"" + version + "\"\n");
        std::filesystem::remove_all(m_folder / "alu");
        m_folder.Write("alu/alu.prj", text);
        m_host.converted = "converters: not asked";
        m_messages.Clear();
    }
    std::string ProjectFile() const { return m_folder / "alu/alu.prj"; }
    std::vector<std::string> Backups() const
    {
        std::vector<std::string> names;
        SysListFolder(m_folder / "alu", names);
        std::erase_if(names, [](const std::string& name) { return !name.ends_with(".bak"); });
        return names;
    }
    std::vector<std::string> Asked() const
    {
        std::vector<std::string> ids;
        for (const MessageRecorder::Record& record : m_messages.Records())
            if (record.question) ids.push_back(record.message.id);
        return ids;
    }
    bool NoProjectLeft() const { return !Design().IsProjectOpen() && Design().GetProjectFolder().empty(); }

    // Runs open_project as the host would, with the archive chosen.
    bool OpenWithArchive(const std::string& archive, bool backup)
    {
        auto command = std::make_unique<IcmdOpenProject>();
        command->SetProjectFileName(ImodelFileName(ProjectFile()));
        EXPECT_TRUE(command->backup_file && command->do_backup_on_convert);
        if (!command->backup_file) return false;
        if (!archive.empty()) command->backup_file->SetObject(archive);
        command->do_backup_on_convert->SetObject(backup);
        return IcmdDoCommand(std::move(command), false);
    }

    static constexpr const char* kVersionKey = "KEY SOLVATO \"8.4\"";
    TempFolder m_folder;
    MessageRecorder m_messages;
    ConvertingHost m_host;
    std::string m_current;
};

}  // namespace

TEST_F(ProjectConversion, EachVersionIsRefusedOpenedOrConvertedWithItsConverters)
{
    std::string dump;
    for (const bool mixedHDL : {true, false}) {
        Options(mixedHDL, false);
        dump += mixedHDL ? "--- mixed HDL\n" : "--- VHDL packages in their folder\n";
        for (const char* version : {"", "5.1", "6.1", "6.2", "6.5", "7.1", "7.2", "8.0", "8.1", "8.4", "8.5", "9.0"}) {
            WriteVersion(version);
            const bool opened = IcmdDoOpenProject(ProjectFile().c_str(), false, false);
            dump += std::string(*version ? version : "none") + ": " + (opened ? "opened" : "refused");
            for (const std::string& id : Asked()) dump += ", asked " + id;
            for (const std::string& backup : Backups()) dump += ", kept " + backup;
            dump += "; " + m_host.converted + "\n";
            // What opened is saved as this version; what was refused is untouched.
            const std::string text = m_folder.Read("alu/alu.prj");
            EXPECT_EQ(text.find(kVersionKey) != std::string::npos, opened) << version;
            EXPECT_EQ(opened, Design().IsProjectOpen()) << version;
            EXPECT_TRUE(opened || NoProjectLeft()) << version;
            if (opened) IcmdDoCloseProject(false, false);
        }
    }
    ExpectMatchesGolden("conversion_matrix.txt", dump);
}

TEST_F(ProjectConversion, ADeclinedQuestionOrAFailedHostConversionLeavesNoProject)
{
    WriteVersion("7.1");
    m_messages.AnswerNext("CONVERT_NEED_CONVERT", MdbNO);
    EXPECT_FALSE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
    EXPECT_TRUE(Backups().empty());
    EXPECT_TRUE(NoProjectLeft());

    WriteVersion("7.1");
    m_host.convertProject = false;
    EXPECT_FALSE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
    EXPECT_EQ(m_host.converted, "converters: AddOldCoresToWS PowerFiles, packages");
    EXPECT_TRUE(NoProjectLeft());
    EXPECT_NE(m_folder.Read("alu/alu.prj").find("KEY SOLVATO \"7.1\""), std::string::npos);
}

TEST_F(ProjectConversion, AnArchiveThatCannotBeWrittenStopsTheOpenAndKeepsWhatWasThere)
{
    Options(false, true);
    WriteVersion("8.0");
    std::filesystem::create_directories(m_folder / "taken.zip");
    EXPECT_FALSE(OpenWithArchive(m_folder / "taken.zip", true));
    EXPECT_EQ(m_messages.WithId("FAILED_OVERWRITE_FILE").size(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(m_folder / "taken.zip"));
    EXPECT_TRUE(NoProjectLeft());

    // A file stands where the archive's folder should be made.
    WriteVersion("8.0");
    m_folder.Write("file", "");
    EXPECT_FALSE(OpenWithArchive(m_folder / "file/alu.zip", true));
    EXPECT_EQ(m_messages.WithId("FAILED_CREATE_BACKUP").at(0).text,
              "Failed to create archive " + m_folder / "file/alu.zip" + ".");
    EXPECT_EQ(m_host.converted, "converters: not asked");
    EXPECT_TRUE(NoProjectLeft());
    EXPECT_NE(m_folder.Read("alu/alu.prj").find("KEY SOLVATO \"8.0\""), std::string::npos);
}

TEST_F(ProjectConversion, InZipModeTheQuestionsComeBeforeExecDoAndARefusalClosesTheModel)
{
    Options(false, true);
    // With no script running, the host asks; it checks the archive too.
    m_host.runningScript = false;
    WriteVersion("8.0");
    m_folder.Write("alu.zip", "kept");
    m_messages.AnswerNext("FILE_ALREADY_EXISTS_SINGLE", MdbNO);
    EXPECT_FALSE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
    EXPECT_TRUE(m_host.asked);
    EXPECT_EQ(Asked(), std::vector<std::string>{"FILE_ALREADY_EXISTS_SINGLE"});
    EXPECT_EQ(m_folder.Read("alu.zip"), "kept");
    EXPECT_TRUE(NoProjectLeft());

    // In a script the library asks itself.
    m_host.runningScript = true;
    WriteVersion("8.0");
    m_messages.AnswerNext("CONVERT_NEED_CONVERT", MdbNO);
    EXPECT_FALSE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
    EXPECT_EQ(m_folder.Read("alu.zip"), "kept");
    EXPECT_TRUE(NoProjectLeft());
}

TEST_F(ProjectConversion, AProjectOlderThanTheCoreWorkspaceBringsItsOldCoresIn)
{
    WriteVersion("6.2");
    m_folder.Write("alu/ombrix/fifo/fifo.cxf", "<Component><name>fifo</name></Component>\n");
    m_folder.Write("alu/ombrix/notes.txt", "not a core\n");
    ASSERT_TRUE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
    const Ktwkspace::Workspace* workspace = Imodel::GetInstance().GetWorkspace();
    ASSERT_NE(workspace, nullptr);
    const VyIfaces::IComponent* fifo = workspace->FindComponent(VyIfaces::ComponentID("fifo", "work", ""));
    ASSERT_NE(fifo, nullptr);
    EXPECT_EQ(fifo->GetDefinitionFileName(), m_folder / "alu/ombrix/fifo/fifo.cxf");
    EXPECT_EQ(workspace->GetComponentCollection().size(), 1u);
    IcmdDoCloseProject(false, false);

    // A project of this generation keeps its cores where it has them.
    WriteVersion("7.2");
    m_folder.Write("alu/ombrix/fifo/fifo.cxf", "<Component><name>fifo</name></Component>\n");
    ASSERT_TRUE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
    EXPECT_TRUE(Imodel::GetInstance().GetWorkspace()->GetComponentCollection().empty());
}

TEST_F(ProjectConversion, OpeningAProjectForAnObsoleteDeviceWarnsOnce)
{
    WriteVersion("8.4");
    ASSERT_TRUE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
    EXPECT_TRUE(m_messages.WithId("DEVICE_OBSOLETE").empty());
    IcmdDoCloseProject(false, false);
    ASSERT_TRUE(DefLoadDefaultsFromText("IDE_MAJOR = 8\nIDE_MINOR = 4\n@choices FAM = ZX3\n@choices DIE[QFAM=ZX3] = "
                                        "zx3_10\n@choices PACKAGE[QFAM=ZX3,QDIE=zx3_10] = tq100\n"
                                        "IS_DEVICE_OBSOLETE[QFAM=ZX3,QDIE=zx3_10] = 1\n"));
    ASSERT_TRUE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
    ASSERT_EQ(m_messages.WithId("DEVICE_OBSOLETE").size(), 1u);
    EXPECT_EQ(m_messages.WithId("DEVICE_OBSOLETE")[0].severity, MdbWARNING);
    EXPECT_NE(m_messages.WithId("DEVICE_OBSOLETE")[0].text.find("ZX3 zx3_10"), std::string::npos);
}

// Where each threshold lies shows in the conversion matrix above; here that
// each holds for a project without a version and, over the versions in
// order, stops holding once and for good (a faulty comparison of minor
// numbers flips back).
TEST(ProjectVersions, EveryThresholdHoldsBelowOneVersionOnly)
{
    for (bool (*older)(int, int) :
         {&IcmdOpenProject::IsPre_FolderStructuring1, &IcmdOpenProject::IsPre_RevStructFlowSupported,
          &IcmdOpenProject::IsPre_LocalFilesRequiredInPallador, &IcmdOpenProject::IsPre_Kiltora,
          &IcmdOpenProject::IsPre_PackageFilesParsing, &IcmdOpenProject::IsPre_DESIGNNameKeyInIde_PldFiles,
          &IcmdOpenProject::IsPre_QVP_And_Block_FilesInWS, &IcmdOpenProject::IsPre_PowerFilesInSimulationFolder}) {
        EXPECT_TRUE(older(-1, -1));
        int flips = 0;
        bool previous = true;
        for (int version = 0; version < 100; ++version) {
            const bool now = older(version / 10, version % 10);
            flips += now != previous;
            previous = now;
        }
        EXPECT_EQ(flips, 1);
    }
}
