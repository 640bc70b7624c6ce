// The base of the file watcher's tests: a VHDL project "alu" made by
// new_project in a fresh folder, with a host that walks its folders as the
// shell's does and records what the watcher tells it, and the command
// layer's services recorded on their way.
#pragma once

#include "tests/icmd/IcmdTestSupport.h"
#include "RecordingHost.h"

#include "ConsoleHost.h"
#include "RecordingCommandServices.h"
#include "itimer/ItimerManager.h"
#include "src/itimer/itimerManagerImpl.h"

#include <filesystem>
#include <algorithm>
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

class WatcherTest : public IcmdProjectTest {
protected:
    WatcherTest() : IcmdProjectTest({"import_files", "set_root"}) {}

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

    // The add_file runs of the watcher's scans, and the files the project
    // update added again, of that name (title and extension).
    int Adds(const std::string& name) const
    {
        return static_cast<int>(std::count_if(services.adds.begin(), services.adds.end(),
                                              [&name](const auto& add) { return add.name == name; }));
    }
    int Updated(const std::string& name) const
    {
        int count = 0;
        for (const auto& [removed, added] : services.updates)
            for (const auto& file : added)
                if (file && file->GetFileTitleAndExt() == name) ++count;
        return count;
    }

    WatchingHost host;
    RecordingCommandServices services{true};
};
