// Opening and saving projects of 1,000, 10,000 and 100,000 member files with
// 300 modules: each should cost the same per file at every size, and stay
// within five times the floor measured in the same run: reading the project
// file's bytes as plain lines with one status read per member file (open),
// and writing the same bytes as plain lines through the same atomic
// replacement (save). An open parses every member file, so it is also
// weighed against reading the lines plus every member file whole; the open
// reports its ratio to both floors as counters ("x_lines_stat",
// "x_lines_read"). An open saves once at its end.
#include "BenchFloors.h"
#include "SilentSink.h"

#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/project/IcmdCloseProject.h"
#include "icmd/project/IcmdNewProject.h"
#include "icmd/project/IcmdOpenProject.h"
#include "icmd/project/IcmdSaveProject.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

#include <foundation/Def.h>
#include <foundation/Mdb.h>
#include <foundation/Sys.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kModules = 300;

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

// One generated project per size, made once and kept for the run.
struct Project {
    std::string folder;
    std::string file;
    std::vector<std::string> members;
};

const Project& ProjectOf(int files)
{
    static SilentSink silence;
    static std::map<int, Project> projects;
    const auto found = projects.find(files);
    if (found != projects.end()) return found->second;
    MdbSetSink(&silence);
    DefLoadDefaultsFromText("@choices FAM = ZX3\nIDE_SAVE_FILE_STAMPS_IN_PRJ = 1\n", nullptr);
    Project project;
    project.folder = SysGetTemporaryDirectoryName() + "/quorlane-bench-project-" + std::to_string(files);
    SysRemoveFolderRecursively(project.folder);
    if (Design().IsProjectOpen()) IcmdDoCloseProject(false, false);
    if (!IcmdDoNewProject(false, "bench", project.folder, false, "ZX3", "", "")) std::abort();
    IfileManager& manager = *Imodel::GetInstance().GetFileManager();
    for (int i = 0; i < files; ++i) {
        const std::string name = project.folder + "/hdl/" + (i < kModules ? "m" : "f") + std::to_string(i) + ".v";
        // The files m<i>.v define module m<i>; the others are sources that
        // define no module (the open reads and scans them all the same).
        if (i < kModules)
            std::ofstream(name) << "module m" << i << ";\nendmodule\n";
        else
            std::ofstream(name) << "// f" << i << ": shared definitions\n`define F" << i << " " << i << "\n";
        project.members.push_back(name);
        // The module files are parsed now, the others only registered.
        const IfileObject file(name, zorpaFT_HDL, ImodelFMFull, true, true);
        if (i < kModules)
            IcmdDoAddFileToModel(file, true, true, false, nullptr, nullptr, true, nullptr, true, false, nullptr);
        else
            manager.AddOrUpdateFile(IfileObjectEx(file, false), false);
    }
    // Each module keeps the next file as its stimulus: every module has a block.
    for (int i = 0; i < kModules; ++i) {
        if (ImodelModule* module = ImodelFindModule(VyIfaces::ComponentID("m" + std::to_string(i), "work", "")))
            module->GetStimulusListPtr()->push_back(
                IfileObject(project.members[(i + 1) % files], zorpaFT_HDL, ImodelFMFull, true, true));
    }
    if (!IcmdDoCloseProject(false, false)) std::abort();
    project.file = project.folder + "/bench.prj";
    return projects.emplace(files, project).first->second;
}

// The floor of an open without its parse: the lines and one status read per member.
void ReadLinesAndStat(const Project& project)
{
    const std::vector<std::string> lines = BenchReadLines(project.file);
    SysStatInfo info;
    for (const std::string& member : project.members) SysPathStat(member, &info);
    benchmark::DoNotOptimize(lines.data());
}

// The floor of an open with its parse: the lines and every member read whole.
void ReadLinesAndMembers(const Project& project) { BenchReadLinesAndMembers(project.file, project.members); }

// The best of a few runs of a floor, in seconds.
template <class Floor>
double BestOf(const Floor& floor, const Project& project)
{
    return BenchBestOf(3, [&] { floor(project); });
}

void Open(const Project& project)
{
    if (Design().IsProjectOpen() && Design().GetProjectFileName().GetString() == project.file) return;
    if (Design().IsProjectOpen()) IcmdDoCloseProject(false, false);
    IcmdDoOpenProject(project.file.c_str(), false, false);
}

void BM_OpenProject(benchmark::State& state)
{
    const Project& project = ProjectOf(static_cast<int>(state.range(0)));
    if (Design().IsProjectOpen()) IcmdDoCloseProject(false, false);
    const double linesAndStat = BestOf(ReadLinesAndStat, project);
    const double linesAndMembers = BestOf(ReadLinesAndMembers, project);
    double opening = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, false);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        if (!IcmdDoOpenProject(project.file.c_str(), false, false)) state.SkipWithError("the open failed");
        opening += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const double perOpen = opening / static_cast<double>(state.iterations());
    state.counters["x_lines_stat"] = perOpen / linesAndStat;
    state.counters["x_lines_read"] = perOpen / linesAndMembers;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SaveProject(benchmark::State& state)
{
    const Project& project = ProjectOf(static_cast<int>(state.range(0)));
    Open(project);
    for (auto _ : state)
        if (!IcmdDoSaveProject(false, nullptr)) state.SkipWithError("the save failed");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_FloorReadLinesAndStat(benchmark::State& state)
{
    const Project& project = ProjectOf(static_cast<int>(state.range(0)));
    for (auto _ : state) ReadLinesAndStat(project);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_FloorReadLinesAndMembers(benchmark::State& state)
{
    const Project& project = ProjectOf(static_cast<int>(state.range(0)));
    for (auto _ : state) ReadLinesAndMembers(project);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The floor of a save: the same lines written through the atomic replacement.
void BM_FloorWriteLines(benchmark::State& state)
{
    const Project& project = ProjectOf(static_cast<int>(state.range(0)));
    std::vector<std::string> lines;
    std::ifstream in(project.file);
    for (std::string line; std::getline(in, line);) lines.push_back(std::move(line));
    const std::string copy = project.folder + "/floor.prj";
    for (auto _ : state) {
        std::string text;
        for (const std::string& line : lines) (text += line) += '\n';
        SysWriteFileAtomically(copy, text);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_FloorReadLinesAndStat)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorReadLinesAndMembers)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenProject)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorWriteLines)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveProject)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
