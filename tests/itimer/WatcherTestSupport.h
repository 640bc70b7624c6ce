// The base of the file watcher's tests: a VHDL project "alu" made by
// new_project in a fresh folder, with a host that walks its folders as the
// shell's does and records what the watcher tells it, and the command
// layer's add_file counted file by file.
#pragma once

#include "tests/icmd/IcmdTestSupport.h"
#include "RecordingHost.h"

#include "ConsoleHost.h"
#include "icmd/project/IcmdCloseProject.h"
#include "icmd/project/IcmdNewProject.h"
#include "imodel/model/ImodelCommandServices.h"
#include "itimer/ItimerManager.h"
#include "src/itimer/itimerManagerImpl.h"

#include <filesystem>
#include <map>
#include <set>

// A host that walks the project folder for the watcher as the shell does.
class WatchingHost : public RecordingHost {
public:
    void ScanFiles(bool toBaseline, ItimerManager* watcher) override
    {
        ++scans;
        ConsoleHost::GetInstance().ScanFiles(toBaseline, watcher);
    }
    void LockFileRemoved(const IfileObject& file) override { removedLocks.push_back(file.GetFileTitleAndExt()); }
    void SchematicFilesImported(int, int) override { ++schematicImports; }

    int scans = 0;
    std::vector<std::string> removedLocks;
    int schematicImports = 0;
};

// The command layer's services, with every add_file counted by file name.
class CountingServices : public ImodelCommandServices {
public:
    CountingServices() : m_former(Install(this)) {}
    ~CountingServices() override { Install(m_former); }
    CountingServices(const CountingServices&) = delete;
    CountingServices& operator=(const CountingServices&) = delete;

    void RegisterCommands(Imodel& model, bool linking) override { m_former->RegisterCommands(model, linking); }
    boost::shared_ptr<IfileObjectEx> AddFileToModel(const IfileObjectEx& file, bool updateFileManager, bool parse,
                                                    bool useEvenIfDefined, std::deque<IfileObject>* skipFiles,
                                                    std::vector<std::string>* skipModules, bool printError,
                                                    VyIfaces::IComponent* component, bool updateState,
                                                    bool moveToLibrary,
                                                    std::vector<VyIfaces::IComponent*>* components) override
    {
        ++adds[file.GetFileTitleAndExt()];
        return m_former->AddFileToModel(file, updateFileManager, parse, useEvenIfDefined, skipFiles, skipModules,
                                        printError, component, updateState, moveToLibrary, components);
    }
    bool DeleteFileFromModel(const IfileObject& file, bool fromManager, bool readd, bool workspace,
                             std::vector<VyIfaces::IComponent*>* components) override
    {
        return m_former->DeleteFileFromModel(file, fromManager, readd, workspace, components);
    }
    bool SetRoot(ImodelModule* module) override
    {
        ++roots;
        return m_former->SetRoot(module);
    }
    bool ImportsFileType(zorpaFileManagerTypes type) override { return m_former->ImportsFileType(type); }
    void UpdateProjectContent(const std::vector<boost::shared_ptr<IfileObjectEx>>& removed,
                              const std::vector<boost::shared_ptr<IfileObjectEx>>& added,
                              const zorpaSaveRestoreParams& params) override
    {
        for (const auto& file : added)
            if (file) ++updated[file->GetFileTitleAndExt()];
        m_former->UpdateProjectContent(removed, added, params);
    }
    const std::set<VyIfaces::IComponent*>& GetConstraintsEditorComponents() override
    {
        return m_former->GetConstraintsEditorComponents();
    }

    std::map<std::string, int> adds;     // add_file runs of the watcher's scans
    std::map<std::string, int> updated;  // files the project update added again
    int roots = 0;

private:
    ImodelCommandServices* m_former;
};

class WatcherTest : public IcmdTest {
protected:
    void SetUp() override
    {
        IcmdTest::SetUp();
        DefLoadDefaultsFromText("@choices FAM = ZX3\n@choices DIE[QFAM=ZX3] = zx3_10\n"
                                "@choices PACKAGE[QFAM=ZX3,QDIE=zx3_10] = tq100\n",
                                nullptr);
        ASSERT_EQ(RegisterCommands({"import_files", "set_root"}), 2);
        ASSERT_TRUE(IcmdDoNewProject(false, "alu", m_folder / "alu", true, "ZX3", "zx3_10", "tq100"));
        Manager().SetCurrentFolder(m_folder / "alu");
    }
    void TearDown() override
    {
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, true);
        IcmdTest::TearDown();
    }

    static ItimerManager& Watcher() { return *Imodel::GetInstance().GetTimerManager(); }
    static itimerManagerImpl& Impl() { return dynamic_cast<itimerManagerImpl&>(Watcher()); }
    static IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }

    // A file below the project folder.
    std::string Path(const std::string& name) const { return m_folder / ("alu/" + name); }
    std::string Write(const std::string& name, const std::string& text) const
    {
        return m_folder.Write("alu/" + name, text);
    }
    // Gives the file a modification time `seconds` after now: a change
    // that a stamp of the same second sees too.
    void Touch(const std::string& name, int seconds) const
    {
        namespace fs = std::filesystem;
        fs::last_write_time(Path(name), fs::file_time_type::clock::now() + std::chrono::seconds(seconds));
    }
    bool InProject(const std::string& name) const
    {
        return Files().ContainsFile(IfileObject(ImodelFileName(Path(name)), zorpaFT_UNKNOWN, ImodelFMFull, true, true));
    }
    static std::set<std::string> Units()
    {
        std::set<std::string> names;
        if (const auto work = Design().FindLibraryByName("work"))
            for (const ImodelModule* unit : *work->GetModules())
                if (unit) names.insert(unit->GetName());
        return names;
    }
    // The names of the files of a bin's baseline.
    static std::set<std::string> Baseline(int type)
    {
        std::set<std::string> names;
        for (const itimerFile& file : Impl().GetBin(type)->GetBaseline()) names.insert(file.file.GetFileTitleAndExt());
        return names;
    }

    WatchingHost host;
    CountingServices services;
};
