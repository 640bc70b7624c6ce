// import_files as scripts fill a design, on the shapes real designs have
// (every file one VHDL unit: a 10-ary tree, shared blocks of fan-out 4 and
// depth 12, a chain as deep as it has units) at 1,000, 10,000 and 100,000
// files.
//
// BM_Design builds each design, on a RAM file system (/dev/shm), in a new
// project by import_files of 1,000
// files per command ("build_s", "build_cpu_s", "build_us_per_file", and
// "first_batch_ms" against "late_batch_ms", the mean of the last tenth of
// the batches), then,
// in the project
// it built, times import_files of one new file per command ("one_ms", the
// mean of 20 commands) and of 1,000 new files in one command
// ("thousand_ms").
// Targets: one file into a 100k-unit project within 3 times one file into a
// 1k-unit project; a 100k design built in batches of 1,000 within 11 times
// the 10k design; a command of 1,000 files costs the same at every size.
// The same files then leave the project with delete_files: one per command
// ("delete_one_ms", the mean of 20) and 1,000 in one ("delete_thousand_ms"),
// which must not grow with the project either: each file that leaves once
// looked through every unit.
//
// BM_SmallFiles imports 1,000 and 10,000 small files in one command into a
// new project, on a disk-backed folder (the build folder, or
// $QUORLANE_BENCH_DISK) and on a RAM file system (/dev/shm), against floors
// measured in the same run: on disk, the same files copied with one flush
// for the whole batch ("copy + one sync"); on RAM, the plain copy plus the
// scanner alone. Target: within 3 times the floor ("x_floor", the best of
// the runs of each).
#include "BenchShell.h"
#include "DesignShapes.h"
#include "DeviceCatalogue.h"

#include "icmd/scan/ZorpaParser.h"
#include "icmd/scan/zorpaCreateParser.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <benchmark/benchmark.h>
#include <boost/make_shared.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The process's CPU time: on a shared machine it varies less than the wall
// clock with what else runs.
double CpuSeconds()
{
    struct timespec now;
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The shared shell, silent, with a device catalogue for new projects.
void Shell()
{
    static const bool ready = [] {
        BenchShell();
        LoadOneDeviceFamily();
        return true;
    }();
    (void)ready;
}

bool Eval(const std::string& script)
{
    Shell();
    return BenchEval(script);
}

// The folder made at once, for the sources are written before the shell runs.
const BenchFolder& Made(const BenchFolder& folder)
{
    UtlValidateOrCreateFolder(folder.path);
    return folder;
}

std::string DiskBase()
{
    const char* disk = std::getenv("QUORLANE_BENCH_DISK");
    return disk != nullptr && *disk != '\0' ? std::string(disk) : CwdirGetCurrentDirectory();
}

const BenchFolder& Disk()
{
    static const BenchFolder folder("import_scale", DiskBase());
    return Made(folder);
}

const BenchFolder& Ram()
{
    static const BenchFolder folder("import_scale", UtlDoesPathExist("/dev/shm") ? "/dev/shm" : UtlGetTempDir());
    return Made(folder);
}

// The Tcl list of `files` from `first`, `count` of them.
std::string TclList(const std::vector<std::string>& files, std::size_t first, std::size_t count)
{
    std::string list;
    for (std::size_t i = first; i < first + count && i < files.size(); ++i) list += "{" + files[i] + "} ";
    return list;
}

bool NewProject(const std::string& folder)
{
    if (Design().IsProjectOpen()) Eval("close_project -save false");
    SysRemoveFolderRecursively(folder);
    return Eval("new_project -location {" + folder + "} -name bench -hdl VHDL -family ZX3 -die zx3_10 -package tq100");
}

// `count` files of leaf units of names no design shape uses ("<stem>_<i>"),
// each a small VHDL file like the shapes' leaves.
std::vector<std::string> WriteNewUnits(const std::string& folder, const std::string& stem, int count)
{
    UtlValidateOrCreateFolder(folder);
    const std::string leaf = DesignShapeText(MakeDesignShape(DesignShape::Tree, 1), 0);
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
        const std::string name = stem + "_" + std::to_string(i);
        std::string text = leaf;
        for (std::size_t at = text.find("unit_0"); at != std::string::npos; at = text.find("unit_0", at))
            text.replace(at, 6, name);
        const std::string path = folder + "/" + name + ".vhd";
        // A file already there as it should be stays: replacing it frees
        // its inode, which the runs that follow would pay for (see below).
        std::string there;
        if ((!SysReadFile(path, there) || there != text) && !SysWriteFileAtomically(path, text)) std::abort();
        files.push_back(path);
    }
    return files;
}

void BM_Design(benchmark::State& state, DesignShape shape)
{
    const int units = static_cast<int>(state.range(0));
    const std::string name = std::string(DesignShapeName(shape)) + "_" + std::to_string(units);
    const std::string sources = Ram().path + "/src_" + name;
    const std::vector<std::string> files = WriteDesignShape(MakeDesignShape(shape, units), sources);
    const std::vector<std::string> more = WriteNewUnits(sources + "_more", "more", 1000 + 20);
    if (files.empty()) std::abort();
    Shell();
    for (auto _ : state) {
        const std::string project = Ram().path + "/project_" + name;
        if (!NewProject(project)) {
            state.SkipWithError("new_project failed");
            break;
        }
        const Clock::time_point built = Clock::now();
        const double builtCpu = CpuSeconds();
        std::vector<double> batches;
        for (std::size_t first = 0; first < files.size(); first += 1000) {
            const Clock::time_point batch = Clock::now();
            if (!Eval("import_files -hdl_source {" + TclList(files, first, 1000) + "}")) std::abort();
            batches.push_back(Seconds(batch));
        }
        const double build = Seconds(built);
        const double buildCpu = CpuSeconds() - builtCpu;
        const Clock::time_point one = Clock::now();
        for (std::size_t i = 0; i < 20; ++i)
            if (!Eval("import_files -hdl_source {" + TclList(more, i, 1) + "}")) std::abort();
        const double oneEach = Seconds(one) / 20;
        const Clock::time_point thousand = Clock::now();
        if (!Eval("import_files -hdl_source {" + TclList(more, 20, 1000) + "}")) std::abort();
        const double batch = Seconds(thousand);
        const ImodelDesignManager::LibraryPtr work = Design().FindLibraryByName("work");
        state.counters["units"] = static_cast<double>(work ? work->GetModules()->size() : 0);
        // The imported copies, in the project's folder of sources.
        const auto members = [&project, &more](std::size_t first, std::size_t count) {
            std::string options;
            for (std::size_t i = first; i < first + count; ++i)
                options += " -file {" + project + "/hdl" + more[i].substr(more[i].rfind('/')) + "}";
            return options;
        };
        const Clock::time_point oneGone = Clock::now();
        for (std::size_t i = 0; i < 20; ++i)
            if (!Eval("delete_files" + members(i, 1))) std::abort();
        state.counters["delete_one_ms"] = Seconds(oneGone) * 1e3 / 20;
        const Clock::time_point thousandGone = Clock::now();
        if (!Eval("delete_files" + members(20, 1000))) std::abort();
        state.counters["delete_thousand_ms"] = Seconds(thousandGone) * 1e3;
        state.counters["build_s"] = build;
        state.counters["build_cpu_s"] = buildCpu;
        state.counters["build_us_per_file"] = build * 1e6 / units;
        // A late batch against the first: what a batch costs more once the
        // project is large (the last tenth of the batches, at least one).
        const std::size_t late = std::max<std::size_t>(1, batches.size() / 10);
        double lateSum = 0;
        for (std::size_t i = batches.size() - late; i < batches.size(); ++i) lateSum += batches[i];
        state.counters["first_batch_ms"] = batches.front() * 1e3;
        state.counters["late_batch_ms"] = lateSum * 1e3 / static_cast<double>(late);
        state.counters["one_ms"] = oneEach * 1e3;
        state.counters["thousand_ms"] = batch * 1e3;
        Eval("close_project -save false");
        SysRemoveFolderRecursively(project);
    }
}

// The floor on disk: each file read and written to a new file, one flush of
// the file system for all, as a batch of copies needs at the least.
double CopyWithOneSync(const std::vector<std::string>& files, const std::string& folder)
{
    UtlValidateOrCreateFolder(folder);
    const Clock::time_point start = Clock::now();
    int last = -1;
    for (const std::string& file : files) {
        std::string text;
        if (!SysReadFile(file, text)) std::abort();
        const int fd = ::open((folder + file.substr(file.rfind('/'))).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) std::abort();
        if (last >= 0) ::close(last);
        last = fd;
    }
    if (last >= 0) {
        ::syncfs(last);
        ::close(last);
    }
    return Seconds(start);
}

// The floor on RAM: the plain copy and the scanner of parse_file alone over
// the copies, into an empty design.
double CopyAndScan(const std::vector<std::string>& files, const std::string& folder)
{
    UtlValidateOrCreateFolder(folder);
    Design().Reset();
    Design().SetDefaultVHDL(true);
    const Clock::time_point start = Clock::now();
    for (const std::string& file : files) {
        const std::string copy = folder + file.substr(file.rfind('/'));
        std::string text;
        if (!SysReadFile(file, text)) std::abort();
        const int fd = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) std::abort();
        ::close(fd);
        const auto entry = boost::make_shared<IfileObjectEx>(
            IfileObject(ImodelFileName(copy), zorpaFT_HDL, ImodelFMFull, false, true), false);
        ImodelModule prototype("prototype", entry, zorpaMODULE_UNKNOWN, false, "work", "", false);
        zorpaCreateParser<ImodelModule*> create(&prototype, nullptr);
        create.Visit(zorpaMODULE_VHDL);
        ZorpaParser<ImodelModule*>& parser = *create.GetParser();
        parser.SetLibraries(Design().GetLibraries());
        parser.parse(copy, "work", nullptr, false);
        benchmark::DoNotOptimize(parser.IsStructural());
    }
    const double seconds = Seconds(start);
    Design().Reset();
    return seconds;
}

void BM_SmallFiles(benchmark::State& state, bool ram)
{
    const int count = static_cast<int>(state.range(0));
    const BenchFolder& place = ram ? Ram() : Disk();
    const std::string sources = place.path + "/small_" + std::to_string(count);
    const std::vector<std::string> files = WriteNewUnits(sources, "small", count);
    Shell();
    int run = 0;
    // The best of the runs of each: the disk of a shared machine flushes
    // what others wrote too.
    double bestFloor = 0;
    double bestImport = 0;
    std::vector<std::string> made;
    for (auto _ : state) {
        const std::string floorFolder = place.path + "/floor_" + std::to_string(run);
        const double floor = ram ? CopyAndScan(files, floorFolder) : CopyWithOneSync(files, floorFolder);
        bestFloor = run == 0 ? floor : std::min(bestFloor, floor);
        const std::string project = place.path + "/small_project_" + std::to_string(run++);
        if (!NewProject(project)) {
            state.SkipWithError("new_project failed");
            break;
        }
        const Clock::time_point start = Clock::now();
        if (!Eval("import_files -hdl_source {" + TclList(files, 0, files.size()) + "}")) std::abort();
        const double import = Seconds(start);
        bestImport = run == 1 ? import : std::min(bestImport, import);
        state.SetIterationTime(import);
        state.counters["floor_ms"] = bestFloor * 1e3;
        state.counters["import_ms"] = bestImport * 1e3;
        state.counters["x_floor"] = bestImport / bestFloor;
        state.counters["us_per_file"] = bestImport * 1e6 / count;
        Eval("close_project -save false");
        made.push_back(floorFolder);
        made.push_back(project);
    }
    // The folders go after the last run: ext4, as mounted here, looks at
    // the inodes freed in the last seconds one by one when it makes a file,
    // so a run just after a removal of thousands of files pays for it (the
    // import paid for the floor's removal). Runs started within half a
    // minute of another are measured after its removals all the same.
    for (const std::string& folder : made) SysRemoveFolderRecursively(folder);
}

}  // namespace

BENCHMARK_CAPTURE(BM_SmallFiles, disk, false)->Arg(1000)->Arg(10000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SmallFiles, ram, true)->Arg(1000)->Arg(10000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Design, tree, DesignShape::Tree)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_Design, shared, DesignShape::SharedBlocks)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_Design, chain, DesignShape::Chain)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
