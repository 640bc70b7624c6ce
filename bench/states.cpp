// Opening a project's files and keeping the flow's states current, at scale:
// adding the member files of a project file through AddFilesToModel with the
// flow attached (1,000 to 100,000 files), and invalidating what lies
// downstream when one unit's sources change, in a project of 1,000 or
// 10,000 units with 1, 4 or 16 place-and-route views. The counter
// "read_bytes" is what the process read (its read calls, /proc/self/io)
// while the states changed: a change of states alone reads no file.
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelProjectFileStructure.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"

#include <benchmark/benchmark.h>
#include <foundation/Sys.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }
IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }
IprocessFlow& Flow() { return *Imodel::GetInstance().GetProcessManager()->GetFlowForModule(nullptr); }

// Test data is written plainly: how the project files got there is not
// measured, and syncing 100,000 files would take the run's time.
void Write(const std::string& path, const std::string& content) { std::ofstream(path) << content; }

// Bytes the process has read so far.
long long ReadBytes()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return 0;
}

// A project folder of its own, opened with `views` views.
class Folder {
public:
    Folder(const std::string& name, int views) : m_path(SysGetTemporaryDirectoryName() + "/" + name)
    {
        SysRemoveFolderRecursively(m_path);
        UtlValidateOrCreateFolder(m_path);
        Files().RemoveAllFiles();
        Design().Reset();
        Design().SetProjectFolder(m_path);
        // Files enter the model through the add-file command, which needs an open project.
        Design().SetProjectOpen(true);
        std::vector<std::string> lines;
        for (int view = 1; view <= views; ++view)
            lines.push_back("VALUE=\"impl" + std::to_string(view) + "\",NUM=" + std::to_string(view));
        lines.push_back("CURREV=1");
        Imodel::GetInstance().GetRevisionManager()->ReadRevisions(lines);
        // The flow listens to the project's files.
        Imodel::GetInstance().GetProcessManager();
    }
    ~Folder()
    {
        Files().RemoveAllFiles();
        Design().SetProjectOpen(false);
        Design().Reset();
        Imodel::GetInstance().GetRevisionManager()->RemoveAllViews();
        SysRemoveFolderRecursively(m_path);
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// --- opening ---------------------------------------------------------------------------------------

void BM_AddFilesToModel(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Folder folder("quorlane_bench_states_open", 1);
    std::ostringstream text;
    text << "KEY SOLVATO \"8.4\"\nLIST FileManager\n";
    for (int i = 0; i < count; ++i) {
        const std::string folderName = "hdl/d" + std::to_string(i / 1000);
        if (i % 1000 == 0) UtlValidateOrCreateFolder(folder.Path() + "/" + folderName);
        const std::string name = folderName + "/f" + std::to_string(i) + ".v";
        Write(folder.Path() + "/" + name, "module f" + std::to_string(i) + "; endmodule\n");
        text << "VALUE \"<project>/" << name << ",hdl\"\nSTATE=\"utd\"\n";
        // Every tenth file names the one before it as its parent.
        if (i % 10 == 9) text << "PARENT=\"<project>/" << folderName << "/f" << i - 1 << ".v\"\n";
        text << "ENDFILE\n";
    }
    text << "ENDLIST\n";
    const std::string project = text.str();
    for (auto _ : state) {
        state.PauseTiming();
        Files().RemoveAllFiles();
        ImodelProjectFileStructure parsed;
        parsed.Parse("bench.prj", project, "");
        state.ResumeTiming();
        // As the project reader does: one save of the libraries around all
        // the files, so that each add does not copy the design.
        Imodel::GetInstance().SaveLibraries();
        benchmark::DoNotOptimize(Files().AddFilesToModel(parsed, {}, nullptr, nullptr, true, true));
        Imodel::GetInstance().RestoreLibraries(true, zorpaSaveRestoreParams{false, true, false});
    }
    if (Files().GetFileCount() != count) state.SkipWithError("not every file was added");
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_AddFilesToModel)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// --- invalidation ----------------------------------------------------------------------------------

std::string Netlist(const std::string& cell)
{
    // Large enough that reading the netlists again would show.
    return "(edif " + cell + " (comment \"" + std::string(4096, 'n') + "\") (design " + cell + " (cellRef " + cell +
           " (libraryRef work))))\n";
}

// Units u0 .. u(n-1), each with its source, its netlist and the HDL netlist
// made from it, the synthesis run successful in every view.
class Design_ {
public:
    Design_(int units, int views) : m_folder("quorlane_bench_states_design", views)
    {
        for (const char* sub : {"hdl", "synthesis"}) UtlValidateOrCreateFolder(m_folder.Path() + "/" + sub);
        IprocessToolObject* synthesis = Flow().GetToolObject(ideSYNTHESIS);
        for (int i = 0; i < units; ++i) {
            const std::string name = "u" + std::to_string(i);
            const auto source = Add("hdl/" + name + ".v", zorpaFT_HDL, "module " + name + "; endmodule\n");
            auto unit = std::make_unique<ImodelModule>(name, source, zorpaMODULE_VERILOG, false, "", "", false);
            ImodelModule* made = Design().FindLibraryByName("work")->GetModules()->Insert(std::move(unit)).first;
            m_sources.push_back(source);
            m_units.push_back(made);
            m_made.push_back({Add("synthesis/" + name + ".edn", zorpaFT_SYN_EDN, Netlist(name)),
                              Add("synthesis/" + name + ".v", zorpaFT_SYN_HDL, "module " + name + "; endmodule\n")});
            for (ImodelRevContextImpl* revision : made->GetContext()->GetAllRevs())
                revision->SetToolState(synthesis, StateSuccess, nullptr, false);
        }
    }
    // The unit's files current again, its synthesis successful.
    void Restore(int unit)
    {
        for (const auto& file : m_made[unit]) file->SetFileState(imodelFileUpToDate);
        for (ImodelRevContextImpl* revision : m_units[unit]->GetContext()->GetAllRevs())
            revision->SetToolState(Flow().GetToolObject(ideSYNTHESIS), StateSuccess, nullptr, false);
    }
    bool IsInvalidated(int unit) const
    {
        for (const auto& file : m_made[unit])
            if (file->GetFileState() != imodelFileOutOfDate) return false;
        return true;
    }
    const IfileObject& Source(int unit) const { return *m_sources[unit]; }
    const boost::shared_ptr<IfileObjectEx>& NetlistOf(int unit) const { return m_made[unit].front(); }
    bool IsMadeFromNetlistOutOfDate(int unit) const
    {
        return m_made[unit].back()->GetFileState() == imodelFileOutOfDate;
    }

private:
    boost::shared_ptr<IfileObjectEx> Add(const std::string& name, zorpaFileManagerTypes type,
                                         const std::string& content)
    {
        Write(m_folder.Path() + "/" + name, content);
        IfileObjectEx file(IfileObject("<project>/" + name, type, ImodelFMInternal, true, true), false);
        file.SetFileState(imodelFileUpToDate);
        return Files().AddOrUpdateFile(file, false);
    }

    Folder m_folder;
    std::vector<boost::shared_ptr<IfileObjectEx>> m_sources;
    std::vector<ImodelModule*> m_units;
    std::vector<std::vector<boost::shared_ptr<IfileObjectEx>>> m_made;
};

void BM_InvalidateFromSources(benchmark::State& state)
{
    const int units = static_cast<int>(state.range(0));
    const int views = static_cast<int>(state.range(1));
    Design_ design(units, views);
    QuorlaneStateMachine& machine = *Imodel::GetInstance().GetStateMachine();
    long long read = 0;
    int unit = 0;
    for (auto _ : state) {
        state.PauseTiming();
        design.Restore(unit);
        const long long before = ReadBytes();
        state.ResumeTiming();
        machine.FilesModificationMessage(QuorlaneFilesChanged, {design.Source(unit)});
        state.PauseTiming();
        read += ReadBytes() - before;
        if (!design.IsInvalidated(unit)) state.SkipWithError("the unit's files are not out of date");
        unit = (unit + 1) % units;
        state.ResumeTiming();
    }
    state.counters["read_bytes"] = benchmark::Counter(static_cast<double>(read), benchmark::Counter::kAvgIterations);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_InvalidateFromSources)->ArgsProduct({{1000, 10000}, {1, 4, 16}})->Unit(benchmark::kMillisecond);

// One unit's netlist is reported changed (as each added file is): what was
// made from it goes out of date, found among the files of every unit.
void BM_FileChangedMessages(benchmark::State& state)
{
    const int units = static_cast<int>(state.range(0));
    Design_ design(units, 1);
    QuorlaneStateMachine& machine = *Imodel::GetInstance().GetStateMachine();
    int unit = 0;
    for (auto _ : state) {
        state.PauseTiming();
        design.Restore(unit);
        state.ResumeTiming();
        machine.FileModificationMessage(QuorlaneFileChanged, design.NetlistOf(unit));
        state.PauseTiming();
        if (!design.IsMadeFromNetlistOutOfDate(unit)) state.SkipWithError("the HDL netlist is not out of date");
        unit = (unit + 1) % units;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FileChangedMessages)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
