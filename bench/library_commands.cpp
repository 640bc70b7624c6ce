// The library and link commands as a script runs them, one call at a time,
// on generated designs of the shape real projects have (every file defines
// one VHDL unit, blocks shared by several parents, twelve levels deep) at
// 1,000, 4,000 and 16,000 files:
// - BM_MoveFiles: 200 files spread over the design moved one by one to a
//   second library with add_file_to_library, then one by one back to "work"
//   (400 calls);
// - BM_RemoveLibrary: a library of 10 of the design's files removed with
//   remove_library (its files go back to "work"); the files are moved into
//   it again before each call, untimed;
// - BM_Relink: 100 files linked from a folder outside the project pointed
//   one by one at a copy in another folder with change_link_source, then
//   back (200 calls). The copies carry the same time as the originals: a
//   relink keeps the units and parses nothing. The folders have been still
//   for a while, as in a project worked on (a folder that changed in the
//   last two seconds is listed again by every call).
// "ms_per_call" is the time of one call; its growth with the design is
// the per-call cost of a walk of the whole design. Target: a call of each
// costs the same at 16,000 files as at 1,000 but for what the command must
// parse (remove_library parses every HDL file of the project again).
//
// The projects are made in a temporary folder removed at exit.
#include "BenchShell.h"
#include "DesignShapes.h"
#include "DeviceCatalogue.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFreeLater.h"
#include "imodel/model/Imodel.h"

#include <foundation/Sys.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

constexpr int kMoved = 200;
constexpr int kLibraryFiles = 10;
constexpr int kLinks = 100;

const BenchFolder& Folder()
{
    static const BenchFolder folder("library_commands");
    return folder;
}

struct Project {
    std::string file;
    std::vector<std::string> members;
    std::vector<std::string> links;    // linked files, outside the project
    std::vector<std::string> targets;  // their copies in another folder
};

void CloseAny()
{
    if (Design().IsProjectOpen()) BenchEval("close_project -save false");
}

// `count` of the design's files spread evenly over it, the top left out.
std::vector<std::string> Spread(const std::vector<std::string>& members, int count)
{
    std::vector<std::string> chosen;
    const std::size_t step = (members.size() - 1) / static_cast<std::size_t>(count);
    for (int i = 0; i < count; ++i) chosen.push_back(members[1 + static_cast<std::size_t>(i) * step]);
    return chosen;
}

// A leaf unit of its own name, linked into the project.
std::string LeafText(const std::string& name)
{
    return "library ieee;\nuse ieee.std_logic_1164.all;\n\nentity " + name +
           " is\n  port (clk : in std_logic; d : in std_logic_vector(7 downto 0);\n"
           "        q : out std_logic_vector(7 downto 0));\nend entity;\n\narchitecture rtl of " +
           name + " is\nbegin\n  q <= d;\nend architecture;\n";
}

Project MakeProject(int files)
{
    static bool loaded = false;
    if (!loaded) {
        BenchShell();
        LoadOneDeviceFamily();
        loaded = true;
    }
    Project project;
    const std::string folder = Folder().path + "/shared-" + std::to_string(files);
    project.file = folder + "/bench.prj";
    CloseAny();
    if (!BenchEval("new_project -location {" + folder +
                   "} -name bench -hdl VHDL -family ZX3 -die zx3_10 -package tq100"))
        std::abort();
    project.members = WriteDesignShape(MakeDesignShape(DesignShape::SharedBlocks, files), folder + "/hdl");
    if (project.members.empty()) std::abort();
    // The members are entered unparsed; the open parses them.
    IfileManager& manager = *Imodel::GetInstance().GetFileManager();
    for (const std::string& member : project.members)
        manager.AddOrUpdateFile(
            IfileObjectEx(IfileObject(ImodelFileName(member), zorpaFT_HDL, ImodelFMFull, true, true), false), false);
    // The linked files and their copies, of the same bytes and time.
    const std::string outside = Folder().path + "/links-" + std::to_string(files);
    UtlValidateOrCreateFolder(outside + "/a");
    UtlValidateOrCreateFolder(outside + "/b");
    std::string list;
    for (int i = 0; i < kLinks; ++i) {
        const std::string name = "linked_" + std::to_string(i);
        const std::string link = outside + "/a/" + name + ".vhd";
        const std::string target = outside + "/b/" + name + ".vhd";
        if (!SysWriteFileAtomically(link, LeafText(name)) || !SysWriteFileAtomically(target, LeafText(name)))
            std::abort();
        struct stat status {};
        ::stat(link.c_str(), &status);
        const struct timespec times[2] = {status.st_atim, status.st_mtim};
        utimensat(AT_FDCWD, target.c_str(), times, 0);
        project.links.push_back(link);
        project.targets.push_back(target);
        list += "{" + link + "} ";
    }
    if (!BenchEval("close_project") || !BenchEval("open_project {" + project.file + "}") ||
        !BenchEval("create_links -hdl_source {" + list + "}") || !BenchEval("close_project"))
        std::abort();
    return project;
}

Project& ProjectOf(int files)
{
    static std::map<int, Project> projects;
    auto found = projects.find(files);
    if (found == projects.end()) found = projects.emplace(files, MakeProject(files)).first;
    return found->second;
}

bool Open(benchmark::State& state, const Project& project)
{
    CloseAny();
    ImodelWaitForFreedMemory();
    if (BenchEval("open_project {" + project.file + "}")) return true;
    state.SkipWithError("the open failed");
    return false;
}

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Report(benchmark::State& state, const Project& project, double best, int calls)
{
    state.counters["files"] = static_cast<double>(project.members.size());
    state.counters["ms_per_call"] = best * 1e3 / calls;
}

void BM_MoveFiles(benchmark::State& state)
{
    const Project& project = ProjectOf(static_cast<int>(state.range(0)));
    if (!Open(state, project) || !BenchEval("add_library -library lib2")) return;
    const std::vector<std::string> moved = Spread(project.members, kMoved);
    double best = 1e30;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        bool done = true;
        for (const std::string& file : moved)
            done = done && BenchEval("add_file_to_library -library lib2 -file {" + file + "}");
        for (const std::string& file : moved)
            done = done && BenchEval("add_file_to_library -library work -file {" + file + "}");
        best = std::min(best, Seconds(start));
        if (!done) {
            state.SkipWithError("add_file_to_library failed");
            break;
        }
    }
    Report(state, project, best, 2 * kMoved);
    CloseAny();
}

void BM_RemoveLibrary(benchmark::State& state)
{
    const Project& project = ProjectOf(static_cast<int>(state.range(0)));
    if (!Open(state, project)) return;
    std::string files;
    for (const std::string& file : Spread(project.members, kLibraryFiles)) files += " -file {" + file + "}";
    double best = 1e30;
    for (auto _ : state) {
        state.PauseTiming();
        const bool ready =
            BenchEval("add_library -library small") && BenchEval("add_file_to_library -library small" + files);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const bool done = ready && BenchEval("remove_library -library small");
        best = std::min(best, Seconds(start));
        if (!done) {
            state.SkipWithError("remove_library failed");
            break;
        }
    }
    Report(state, project, best, 1);
    CloseAny();
}

void BM_Relink(benchmark::State& state)
{
    const Project& project = ProjectOf(static_cast<int>(state.range(0)));
    if (!Open(state, project)) return;
    // As in a project worked on, its folders have not changed for a while:
    // a folder's list of links is kept from one command to the next once
    // it has been still for two seconds.
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    double best = 1e30;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        bool done = true;
        for (int i = 0; i < kLinks; ++i)
            done = done &&
                   BenchEval("change_link_source -file {" + project.links[i] + "} -path {" + project.targets[i] + "}");
        for (int i = 0; i < kLinks; ++i)
            done = done &&
                   BenchEval("change_link_source -file {" + project.targets[i] + "} -path {" + project.links[i] + "}");
        best = std::min(best, Seconds(start));
        if (!done) {
            state.SkipWithError("change_link_source failed");
            break;
        }
    }
    Report(state, project, best, 2 * kLinks);
    CloseAny();
}

void Sizes(benchmark::internal::Benchmark* bench)
{
    for (int files : {1000, 4000, 16000}) bench->Arg(files);
    bench->ArgNames({"files"});
    bench->Unit(benchmark::kMillisecond);
    bench->Iterations(3);
}

}  // namespace

BENCHMARK(BM_MoveFiles)->Apply(Sizes);
BENCHMARK(BM_RemoveLibrary)->Apply(Sizes);
BENCHMARK(BM_Relink)->Apply(Sizes);
