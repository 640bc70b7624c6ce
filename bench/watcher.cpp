// The file watcher's detection cycle (Rescan) over a project whose HDL
// folder holds 10,000 or 100,000 member files, each defining a unit of one
// design, with the shell's host walking the folder. Targets: with no change
// the cycle costs at most twice the raw stat of the same files (BM_RawStat); with 1, 100 and 1,000 changed files
// the cost above the no-change cycle grows with the changes (each changed
// file is parsed again through the project update), not with the project.
#include "BenchShell.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "itimer/ItimerManager.h"

#include <foundation/Sys.h>

#include <benchmark/benchmark.h>
#include <tcl.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

Imodel& Model() { return Imodel::GetInstance(); }

bool Eval(const std::string& script) { return BenchEval(script); }

const BenchFolder& Folder()
{
    static const BenchFolder folder("watcher");
    return folder;
}

// The open project of `count` member files in its HDL folder, made once per
// size (the project of another size is closed first), with the watcher
// started on it.
const std::vector<std::string>& Project(int count)
{
    static int open = 0;
    static std::vector<std::string> files;
    if (open == count) return files;
    Eval("close_project -save false");
    files.clear();
    const std::string project = Folder().path + "/project_" + std::to_string(count);
    if (!Eval("new_project -location " + project + " -name bench -hdl VHDL -family ZX3 -die zx3_10 -package tq100"))
        return files;
    // A design as real ones are: every file defines a unit, each unit
    // instantiates up to ten others, the whole a tree of a few levels.
    IfileManager& manager = *Model().GetFileManager();
    for (int index = 0; index < count; ++index) {
        const std::string name = "unit_" + std::to_string(index);
        const std::string path = project + "/hdl/" + name + ".vhd";
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream text(path);
        text << "entity " << name << " is port (p : in bit); end;\narchitecture rtl of " << name << " is\nbegin\n";
        for (int child = 10 * index + 1; child <= 10 * index + 10 && child < count; ++child)
            text << "  u" << child << " : entity work.unit_" << child << " port map (p);\n";
        text << "end;\n";
        text.close();
        manager.AddOrUpdateFile(
            IfileObjectEx(IfileObject(ImodelFileName(path), zorpaFT_HDL, ImodelFMFull, true, true), false), false);
        files.push_back(path);
    }
    // Every file parsed into the design at once.
    Eval("refresh");
    ItimerManager& watcher = *Model().GetTimerManager();
    watcher.Reset();
    watcher.Start();
    open = count;
    return files;
}

// The status of every member file, read once each: the yardstick.
void BM_RawStat(benchmark::State& state)
{
    const std::vector<std::string>& files = Project(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SysStatInfo info;
        for (const std::string& file : files) benchmark::DoNotOptimize(SysPathStat(file, &info));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files.size()));
}

// One detection cycle after `changed` member files were written anew,
// spread evenly over the project from its first file, the root of the
// design, whose subtree is the whole design (leaves false); or counted
// back from its last file, all of them leaves of the tree (leaves true).
void DetectionCycle(benchmark::State& state, bool leaves)
{
    const std::vector<std::string>& files = Project(static_cast<int>(state.range(0)));
    const int changed = static_cast<int>(state.range(1));
    ItimerManager& watcher = *Model().GetTimerManager();
    watcher.Rescan(nullptr);
    static int second = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++second;
        for (int i = 0; i < changed; ++i) {
            std::size_t at = static_cast<std::size_t>(i) * files.size() / static_cast<std::size_t>(changed);
            if (leaves) at = files.size() - 1 - static_cast<std::size_t>(i);
            std::filesystem::last_write_time(files[at], std::filesystem::file_time_type::clock::now() +
                                                            std::chrono::seconds(second));
        }
        state.ResumeTiming();
        watcher.Rescan(nullptr);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files.size()));
    state.counters["changed"] = changed;
}

// Re-reading the root tells the views of every unit of its subtree: with
// the root among the changed files the cycle is that large whatever the
// number of changes.
void BM_DetectionCycle(benchmark::State& state) { DetectionCycle(state, false); }

// Changes away from the root: each re-read tells of a small subtree.
void BM_DetectionCycleLeaves(benchmark::State& state) { DetectionCycle(state, true); }

}  // namespace

// Each size's yardstick and cycles together: its project is made once.
BENCHMARK(BM_RawStat)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectionCycle)
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Args({10000, 100})
    ->Args({10000, 1000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectionCycleLeaves)
    ->Args({10000, 1})
    ->Args({10000, 100})
    ->Args({10000, 1000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawStat)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectionCycle)
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Args({100000, 100})
    ->Args({100000, 1000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectionCycleLeaves)
    ->Args({100000, 1})
    ->Args({100000, 100})
    ->Args({100000, 1000})
    ->Unit(benchmark::kMillisecond);
