// The project life cycle on designs of the shapes real projects have: every
// member file defines one VHDL unit, in a 10-ary tree, a graph of shared
// blocks (fan-out 4, depth 12), a chain, a diamond (two units per level,
// each using both below) and a wide top, at 1,000, 10,000 and 100,000
// files; diamonds also at depths 12, 16, 20 and 30. The file stamps are
// kept in the project file (IDE_SAVE_FILE_STAMPS_IN_PRJ = 1).
//
// Each operation is weighed against floors measured in the same run, on the
// same project ("floor_ms", "x_floor"); an operation's figure is its best of
// five runs at every size:
// - write floor: the project file's bytes written to a temporary, synced and
//   renamed (the atomic writer every save uses);
// - read floor: the project file read and split into lines, and every
//   member read whole;
// - scan floor: the HDL scanner alone over the member bytes, already in
//   memory, into an empty design.
// Targets: save and close_project (which saves first) within 5 times the
// write floor; open_project (also after every member changed on disk:
// BM_OpenTouched, which also reports "x_with_write", as such an open writes
// the project file) and refresh within 5 times read + scan floor; the time
// per file grows at most 1.1 times per tenfold of files (compare "us_per_file"
// of the sizes, or "growth" of BM_Growth, which runs the two sizes in turns);
// an open project holds at most 3 KB of heap per member file
// ("heap_KB_per_file"). BM_OpenViews opens a project of a few units with
// 2,000, 20,000 and 200,000 place-and-route views, against the same floors.
//
// The projects are made in a temporary folder removed at exit; with
// QUORLANE_BENCH_KEEP set to a folder they are made there once and kept for
// later runs.
#include "BenchFloors.h"
#include "BenchShell.h"
#include "DesignShapes.h"
#include "DeviceCatalogue.h"

#include "icmd/scan/ZorpaParser.h"
#include "icmd/scan/zorpaCreateParser.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFreeLater.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <benchmark/benchmark.h>
#include <boost/make_shared.hpp>
#include <tcl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <malloc.h>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>


namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The shared shell, with a device catalogue for new projects and stamps
// kept in the project file.
Tcl_Interp* Shell()
{
    static Tcl_Interp* interp = [] {
        Tcl_Interp* shell = BenchShell();
        LoadOneDeviceFamily("IDE_SAVE_FILE_STAMPS_IN_PRJ = 1\n");
        return shell;
    }();
    return interp;
}

bool Eval(const std::string& script)
{
    if (Tcl_EvalEx(Shell(), script.c_str(), -1, TCL_EVAL_GLOBAL) == TCL_OK) return true;
    std::fprintf(stderr, "%s: %s\n", script.substr(0, 80).c_str(), Tcl_GetStringResult(Shell()));
    return false;
}

std::size_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The folder of the generated projects.
class BenchRoot {
public:
    BenchRoot()
    {
        const char* keep = std::getenv("QUORLANE_BENCH_KEEP");
        m_keep = keep != nullptr && *keep != '\0';
        m_path = m_keep ? keep : UtlGetTempDir() + "quorlane-bench-shapes-" + std::to_string(getpid());
        UtlValidateOrCreateFolder(m_path);
    }
    ~BenchRoot()
    {
        if (!m_keep) SysRemoveFolderRecursively(m_path);
    }
    const std::string& Path() const { return m_path; }
    bool Keeps() const { return m_keep; }

private:
    std::string m_path;
    bool m_keep = false;
};

const BenchRoot& Root()
{
    static const BenchRoot root;
    return root;
}

// One generated project, made once per shape and size, with its floors
// measured on first use.
struct Project {
    std::string folder;
    std::string file;
    std::vector<std::string> members;
    double writeFloor = 0;
    double readFloor = 0;
    double scanFloor = 0;
    bool measured = false;
};

void CloseAny()
{
    if (Design().IsProjectOpen()) Eval("close_project -save false");
}

bool Open(const Project& project)
{
    if (Design().IsProjectOpen() && Design().GetProjectFileName().GetString() == project.file) return true;
    CloseAny();
    return Eval("open_project {" + project.file + "}");
}

// The place-and-route views of the project file become `views` views.
void SetViews(const std::string& file, int views)
{
    const std::string text = ReadWhole(file);
    const std::size_t begin = text.find("LIST REVISIONS\n");
    const std::size_t end = text.find("ENDLIST\n", begin);
    if (begin == std::string::npos || end == std::string::npos) std::abort();
    std::string list = "LIST REVISIONS\n";
    for (int view = 1; view <= views; ++view)
        list += "VALUE=\"view" + std::to_string(view) + "\",NUM=" + std::to_string(view) + "\n";
    list += "CURREV=1\n";
    if (!SysWriteFileAtomically(file, text.substr(0, begin) + list + text.substr(end))) std::abort();
}

// A project whose members are the units of `design`; `views` > 0 gives it
// that many views.
Project MakeProject(const std::string& name, const DesignShapeDesign& design, int views)
{
    Project project;
    project.folder = Root().Path() + "/" + name;
    project.file = project.folder + "/bench.prj";
    const std::string hdl = project.folder + "/hdl";
    const std::string done = project.folder + "/made";
    if (Root().Keeps() && UtlDoesFileExist(done)) {
        for (const DesignShapeUnit& unit : design.units) project.members.push_back(hdl + "/" + unit.name + ".vhd");
        return project;
    }
    CloseAny();
    SysRemoveFolderRecursively(project.folder);
    if (!Eval("new_project -location {" + project.folder +
              "} -name bench -hdl VHDL -family ZX3 -die zx3_10 -package tq100"))
        std::abort();
    project.members = WriteDesignShape(design, hdl);
    if (project.members.empty()) std::abort();
    // The members are entered unparsed; the first open parses them and
    // keeps their stamps.
    IfileManager& files = *Imodel::GetInstance().GetFileManager();
    for (const std::string& member : project.members)
        files.AddOrUpdateFile(
            IfileObjectEx(IfileObject(ImodelFileName(member), zorpaFT_HDL, ImodelFMFull, true, true), false), false);
    if (!Eval("close_project")) std::abort();
    if (views > 0) SetViews(project.file, views);
    if (!Eval("open_project {" + project.file + "}") || !Eval("close_project")) std::abort();
    std::ofstream(done) << "made\n";
    return project;
}

// The floors of the project (best of three runs each), with it closed.
void Measure(Project& project)
{
    if (project.measured) return;
    CloseAny();
    const std::string text = ReadWhole(project.file);
    std::vector<std::string> texts;
    for (const std::string& member : project.members) texts.push_back(ReadWhole(member));
    const std::string copy = project.folder + "/floor.prj";
    std::vector<boost::shared_ptr<IfileObjectEx>> entries;
    for (const std::string& member : project.members)
        entries.push_back(boost::make_shared<IfileObjectEx>(
            IfileObject(ImodelFileName(member), zorpaFT_HDL, ImodelFMFull, false, true), false));
    project.writeFloor = BenchBestOf(3, [&] {
        if (!SysWriteFileAtomically(copy, text)) std::abort();
    });
    project.readFloor = BenchBestOf(3, [&] { BenchReadLinesAndMembers(project.file, project.members); });
    Design().SetDefaultVHDL(true);
    double scanning = 1e30;
    for (int run = 0; run < 3; ++run) {
        Design().Reset();
        scanning = std::min(scanning, BenchBestOf(1, [&] {
            for (std::size_t i = 0; i < entries.size(); ++i) {
                ImodelModule prototype("prototype", entries[i], zorpaMODULE_UNKNOWN, false, "work", "", false);
                zorpaCreateParser<ImodelModule*> create(&prototype, nullptr);
                create.Visit(zorpaMODULE_VHDL);
                ZorpaParser<ImodelModule*>& parser = *create.GetParser();
                parser.SetLibraries(Design().GetLibraries());
                parser.parseText(project.members[i], "work", nullptr, false, texts[i]);
                benchmark::DoNotOptimize(parser.IsStructural());
            }
        }));
    }
    Design().Reset();
    project.scanFloor = scanning;
    ::unlink(copy.c_str());
    project.measured = true;
}

// The project of that shape and number of files.
Project& ProjectOf(DesignShape shape, int files)
{
    static std::map<std::pair<int, int>, Project> projects;
    const auto key = std::make_pair(static_cast<int>(shape), files);
    auto found = projects.find(key);
    if (found == projects.end()) {
        const std::string name = std::string(DesignShapeName(shape)) + "-" + std::to_string(files);
        found = projects.emplace(key, MakeProject(name, MakeDesignShape(shape, files), 0)).first;
    }
    Measure(found->second);
    return found->second;
}

// Benchmark arguments: the shape and the number of files.
Project& ProjectOf(const benchmark::State& state)
{
    return ProjectOf(static_cast<DesignShape>(state.range(0)), static_cast<int>(state.range(1)));
}

Project& ViewsProject(int views)
{
    static std::map<int, Project> projects;
    auto found = projects.find(views);
    if (found == projects.end()) {
        const std::string name = "views-" + std::to_string(views);
        found = projects.emplace(views, MakeProject(name, MakeDesignShape(DesignShape::Tree, 5), views)).first;
    }
    Measure(found->second);
    return found->second;
}

// The times of the iterations of one operation.
struct Timing {
    double total = 0;
    double best = 1e30;
    void Add(double seconds)
    {
        total += seconds;
        best = std::min(best, seconds);
    }
};

// The figures of an operation against its floor, from its best iteration:
// the machine is shared, and a slower run says more about the others.
void Report(benchmark::State& state, const Project& project, const Timing& timing, double floor)
{
    if (state.range(0) >= 0 && state.range(0) <= static_cast<int>(DesignShape::WideTop))
        state.SetLabel(DesignShapeName(static_cast<DesignShape>(state.range(0))));
    state.counters["floor_ms"] = floor * 1e3;
    // The read and the scan apart: each grows with the files at its own rate.
    state.counters["read_ms"] = project.readFloor * 1e3;
    state.counters["scan_ms"] = project.scanFloor * 1e3;
    state.counters["best_ms"] = timing.best * 1e3;
    state.counters["x_floor"] = timing.best / floor;
    state.counters["us_per_file"] = timing.best * 1e6 / static_cast<double>(project.members.size());
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(project.members.size()));
}

double WriteFloor(const Project& project) { return project.writeFloor; }
double ReadAndScan(const Project& project) { return project.readFloor + project.scanFloor; }

// The operations measured, each one command.
enum class Operation {
    Save,
    Open,
    OpenTouched,
    Close,
    Refresh
};

// Each operation's name and its command; an open's names the project file.
struct OperationText {
    const char* name;
    const char* command;
};
constexpr OperationText kOperations[] = {
    {"save", "save_project"}, {"open", ""}, {"open_touched", ""}, {"close", "close_project"}, {"refresh", "refresh"}};

static_assert(std::size(kOperations) == static_cast<std::size_t>(Operation::Refresh) + 1, "an entry per operation");

const OperationText& TextOf(Operation operation) { return kOperations[static_cast<int>(operation)]; }

constexpr DesignShape kShapes[] = {DesignShape::Tree, DesignShape::SharedBlocks, DesignShape::Chain,
                                   DesignShape::Diamond, DesignShape::WideTop};

// A checkout that changed every member: times newer than the stamps the
// project file keeps.
void TouchMembers(const Project& project)
{
    struct stat first {};
    ::stat(project.members.front().c_str(), &first);
    const struct timespec times[2] = {{0, UTIME_OMIT}, {std::max(first.st_mtime, ::time(nullptr)) + 2, 0}};
    for (const std::string& member : project.members) utimensat(AT_FDCWD, member.c_str(), times, 0);
}

bool IsOpen(Operation operation) { return operation == Operation::Open || operation == Operation::OpenTouched; }

// A save leaves a project file that holds its bytes already as it is. A
// line more on disk stands for a change since the last save, so that a
// save, and the close that saves first, write the whole file each run. It
// is written and synced as a save writes it: nothing of it is left for the
// timed save's sync to flush.
bool ChangeProjectFile(benchmark::State& state, const Project& project)
{
    if (SysWriteFileAtomically(project.file, ReadWhole(project.file) + "\n")) return true;
    state.SkipWithError("the project file could not be changed");
    return false;
}

// Readies the project for one run of the operation, untimed. An open starts
// from no project: the project open before is closed and freed first (its
// freeing, which the open waits for, is no cost of this open). The others
// run on the project open, with nothing left for the reclaimer to free; a
// save and a close find the project file changed (ChangeProjectFile). False
// when the project could not be readied: the benchmark has ended and the
// operation is not run.
bool Prepare(benchmark::State& state, Operation operation, const Project& project)
{
    if (IsOpen(operation)) {
        CloseAny();
        ImodelWaitForFreedMemory();
        if (operation == Operation::OpenTouched) TouchMembers(project);
        malloc_trim(0);
        return true;
    }
    if (!Open(project)) {
        state.SkipWithError("the open failed");
        return false;
    }
    if ((operation == Operation::Save || operation == Operation::Close) && !ChangeProjectFile(state, project))
        return false;
    ImodelWaitForFreedMemory();
    return true;
}

// One run of the operation, prepared, added to `times`; its seconds. A run
// whose command failed ends the benchmark and is not added.
double RunOnce(benchmark::State& state, Operation operation, const Project& project, Timing& times)
{
    const std::string command =
        IsOpen(operation) ? "open_project {" + project.file + "}" : std::string(TextOf(operation).command);
    const auto start = std::chrono::steady_clock::now();
    const bool done = Eval(command);
    const double seconds = Seconds(start);
    if (!done) {
        state.SkipWithError(TextOf(operation).name);
        return 0;
    }
    times.Add(seconds);
    return seconds;
}

// Runs of one operation on one project, against the floor `floorOf` gives.
void Repeat(benchmark::State& state, Operation operation, const Project& project, double (*floorOf)(const Project&))
{
    Timing timing;
    double heap = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const bool ready = Prepare(state, operation, project);
        const std::size_t before = IsOpen(operation) ? HeapInUse() : 0;
        state.ResumeTiming();
        if (!ready) break;
        RunOnce(state, operation, project, timing);
        if (!IsOpen(operation)) continue;
        // What the open let go of and the reclaimer frees is no part of
        // what the open project holds.
        ImodelWaitForFreedMemory();
        heap = static_cast<double>(HeapInUse()) - static_cast<double>(before);
    }
    Report(state, project, timing, floorOf(project));
    if (IsOpen(operation))
        state.counters["heap_KB_per_file"] = heap / 1024.0 / static_cast<double>(project.members.size());
}

void BM_Save(benchmark::State& state) { Repeat(state, Operation::Save, ProjectOf(state), &WriteFloor); }
void BM_Open(benchmark::State& state) { Repeat(state, Operation::Open, ProjectOf(state), &ReadAndScan); }
// An open that finds members changed ends by saving the project file with
// their new stamps, a synced write of the whole file: "x_with_write" weighs
// it against the read, the scan and that write together.
void BM_OpenTouched(benchmark::State& state)
{
    const Project& project = ProjectOf(state);
    Repeat(state, Operation::OpenTouched, project, &ReadAndScan);
    state.counters["x_with_write"] = state.counters["best_ms"] / ((ReadAndScan(project) + WriteFloor(project)) * 1e3);
}
void BM_OpenViews(benchmark::State& state)
{
    Repeat(state, Operation::Open, ViewsProject(static_cast<int>(state.range(0))), &ReadAndScan);
}
void BM_Close(benchmark::State& state) { Repeat(state, Operation::Close, ProjectOf(state), &WriteFloor); }
void BM_Refresh(benchmark::State& state) { Repeat(state, Operation::Refresh, ProjectOf(state), &ReadAndScan); }

// The growth of an operation per tenfold of files, on one shape: runs of
// the small and the large project in turns, so that both meet the same
// spells of a shared machine (which last seconds to minutes and move one
// size's best run against the other's by more than a tenth). Each pair
// gives the ratio of its two runs; "growth" is the median ratio, against
// 11 at most (1.1 times the time per file). The pairs alternate which size
// runs first, so that a drift favours neither. "floor_growth" is the growth
// of the operation's floor (best of three at each size) in the same run,
// "read_growth" that of the read floor alone (no code of ours but the walk).
void BM_Growth(benchmark::State& state)
{
    const auto operation = static_cast<Operation>(state.range(0));
    const auto shape = static_cast<DesignShape>(state.range(1));
    const int files = static_cast<int>(state.range(2));
    const Project& small = ProjectOf(shape, files);
    const Project& large = ProjectOf(shape, files * 10);
    std::vector<double> ratios;
    Timing smallTimes;
    Timing largeTimes;
    const auto timed = [&state, operation](const Project& project, Timing& times) {
        return Prepare(state, operation, project) ? RunOnce(state, operation, project, times) : 0.0;
    };
    std::size_t pair = 0;
    for (auto _ : state) {
        state.PauseTiming();
        double smallRun = 0;
        double largeRun = 0;
        if (pair++ % 2 == 0) {
            smallRun = timed(small, smallTimes);
            largeRun = timed(large, largeTimes);
        } else {
            largeRun = timed(large, largeTimes);
            smallRun = timed(small, smallTimes);
        }
        // A failed run has ended the benchmark: it gives no ratio.
        if (smallRun > 0 && largeRun > 0) ratios.push_back(largeRun / smallRun);
        state.ResumeTiming();
    }
    if (ratios.empty()) return;
    std::sort(ratios.begin(), ratios.end());
    const std::size_t middle = ratios.size() / 2;
    const double median = ratios.size() % 2 == 1 ? ratios[middle] : (ratios[middle - 1] + ratios[middle]) / 2;
    state.SetLabel(std::string(TextOf(operation).name) + " " + DesignShapeName(shape));
    state.counters["growth"] = median;
    state.counters["growth_low"] = ratios.front();
    state.counters["growth_high"] = ratios.back();
    state.counters["growth_of_bests"] = largeTimes.best / smallTimes.best;
    // How the operation's own floor grows between the two sizes on this
    // machine: the growth is weighed against it.
    const auto floorOf = operation == Operation::Save || operation == Operation::Close ? &WriteFloor : &ReadAndScan;
    state.counters["floor_growth"] = floorOf(large) / floorOf(small);
    if (floorOf == &ReadAndScan) state.counters["read_growth"] = large.readFloor / small.readFloor;
    state.counters["small_ms"] = smallTimes.best * 1e3;
    state.counters["large_ms"] = largeTimes.best * 1e3;
}

void Growths(benchmark::internal::Benchmark* bench)
{
    for (int operation = 0; operation < static_cast<int>(std::size(kOperations)); ++operation)
        for (DesignShape shape : kShapes)
            for (int files : {1000, 10000}) bench->Args({operation, static_cast<int>(shape), files});
    bench->ArgNames({"operation", "shape", "files"});
    bench->Unit(benchmark::kMillisecond);
    bench->Iterations(9);
}

void Shapes(benchmark::internal::Benchmark* bench)
{
    for (DesignShape shape : kShapes)
        for (int files : {1000, 10000, 100000}) bench->Args({static_cast<int>(shape), files});
    // Diamonds of depth 12, 16, 20 and 30.
    for (int depth : {12, 16, 20, 30}) bench->Args({static_cast<int>(DesignShape::Diamond), 1 + 2 * depth});
    bench->ArgNames({"shape", "files"});
    bench->Unit(benchmark::kMillisecond);
    // The same number of runs at every size: the best of many small runs
    // against one large run would make the growth look worse than it is.
    bench->Iterations(5);
}

}  // namespace

BENCHMARK(BM_Save)->Apply(Shapes);
BENCHMARK(BM_Open)->Apply(Shapes);
BENCHMARK(BM_OpenTouched)->Apply(Shapes);
BENCHMARK(BM_Close)->Apply(Shapes);
BENCHMARK(BM_Refresh)->Apply(Shapes);
BENCHMARK(BM_Growth)->Apply(Growths);
BENCHMARK(BM_OpenViews)->Arg(2000)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(5);
