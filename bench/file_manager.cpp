// The file manager at project scale: opening (read the project file, take
// its file-list block, register every file) and saving (format the block,
// write it atomically), each beside the floor measured in the same run:
//   open floor: read and split the same bytes, plus one stat per file;
//   save floor: write, sync and rename the same bytes.
// Counters: the floor in milliseconds, the ratio to it (target: at most 5),
// microseconds per file (flat from 1k to 100k files when the work is
// linear) and the memory held per registered file (target: at most 1.5 KB).
// Registering, looking up and removing files are measured as well.
#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelProjectFileStructure.h"

#include <foundation/Sys.h>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kFilesPerCore = 100;
constexpr int kLookups = 10000;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Bytes the allocator has handed out and not taken back.
std::size_t BytesInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// A project of `count` files on disk: per hundred files one core
// description and the HDL files generated for it, each with the core as its
// parent, in folders of a hundred.
class BenchProject {
public:
    explicit BenchProject(int count)
        : m_folder(UtlGetTempDir() + "quorlane-bench-" + std::to_string(::getpid()) + "-" + std::to_string(count))
    {
        UtlValidateOrCreateFolder(m_folder);
        Imodel::GetInstance().GetDesignManager()->SetProjectFolder(m_folder);
        const auto files = IfileCreateManager();
        for (int i = 0; i < count; ++i) {
            const std::string core = "cores/c" + std::to_string(i / kFilesPerCore) + "/core.cxf";
            const bool isCore = i % kFilesPerCore == 0;
            const std::string relative =
                isCore ? core : "hdl/d" + std::to_string(i / kFilesPerCore) + "/f" + std::to_string(i) + ".vhd";
            UtlValidateOrCreateFolder(m_folder + "/" + relative.substr(0, relative.rfind('/')));
            std::ofstream(m_folder + "/" + relative) << "-- " << relative << "\n";
            m_fullNames.push_back(m_folder + "/" + relative);
            IfileObjectEx file(
                IfileObject(relative, isCore ? zorpaFT_OMBRIX_CXF : zorpaFT_HDL, ImodelFMRelative, true, true), false);
            if (!isCore) file.AddParentFile(IfileObject(core, zorpaFT_OMBRIX_CXF, ImodelFMRelative, true, true));
            if (i % 7 == 0) file.SetLibraryName("lib" + std::to_string(i % 3));
            files->AddOrUpdateFile(file, false);
        }
        std::ostringstream text;
        text << "KEY SOLVATO \"8.4\"\n";
        files->WriteFileList(&text);
        m_projectFile = m_folder + "/project.prj";
        SysWriteFileAtomically(m_projectFile, text.str());
    }
    ~BenchProject() { SysRemoveFolderRecursively(m_folder); }
    BenchProject(const BenchProject&) = delete;
    BenchProject& operator=(const BenchProject&) = delete;

    const std::string& Folder() const { return m_folder; }
    const std::string& ProjectFile() const { return m_projectFile; }
    const std::vector<std::string>& FullNames() const { return m_fullNames; }
    int Count() const { return static_cast<int>(m_fullNames.size()); }
    // Makes this project the open one.
    void Enter() const { Imodel::GetInstance().GetDesignManager()->SetProjectFolder(m_folder); }

private:
    std::string m_folder;
    std::string m_projectFile;
    std::vector<std::string> m_fullNames;
};

const BenchProject& Project(int count)
{
    static std::map<int, std::unique_ptr<BenchProject>> projects;
    auto& project = projects[count];
    if (!project) project = std::make_unique<BenchProject>(count);
    project->Enter();
    return *project;
}

// Opening: the project file read and parsed, its file-list block read, every
// file registered.
std::unique_ptr<IfileManager> Open(const BenchProject& project)
{
    std::string text;
    SysReadFile(project.ProjectFile(), text);
    ImodelProjectFileStructure structure;
    structure.Parse(project.ProjectFile().c_str(), text, std::string());
    auto files = IfileCreateManager();
    int count = 0;
    files->ReadFileList(structure, count);  // the progress meter's count
    std::deque<IfileObjectEx> read;
    IfileGetFileList(structure, read, {});
    for (const IfileObjectEx& file : read) files->AddOrUpdateFile(file, false);
    return files;
}

// The floor of opening: the same bytes read and split into lines, one stat
// per file.
void OpenFloor(const BenchProject& project)
{
    std::string text;
    SysReadFile(project.ProjectFile(), text);
    std::size_t lines = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        const std::string_view line(text.data() + start, (end == std::string::npos ? text.size() : end) - start);
        lines += !line.empty();
        start = end == std::string::npos ? text.size() : end + 1;
    }
    benchmark::DoNotOptimize(lines);
    SysStatInfo info;
    for (const std::string& name : project.FullNames()) benchmark::DoNotOptimize(SysPathStat(name, &info));
}

void BM_OpenProject(benchmark::State& state)
{
    const BenchProject& project = Project(static_cast<int>(state.range(0)));
    double open = 0;
    double floor = 0;
    std::size_t bytes = 0;
    OpenFloor(project);  // the file and the folders in the cache for both
    for (auto _ : state) {
        const std::size_t before = BytesInUse();
        Clock::time_point start = Clock::now();
        std::unique_ptr<IfileManager> files = Open(project);
        const double took = Seconds(start);
        bytes = BytesInUse() - before;
        if (files->GetFileCount() != project.Count()) state.SkipWithError("files were lost on the way");
        files.reset();
        start = Clock::now();
        OpenFloor(project);
        floor += Seconds(start);
        open += took;
        state.SetIterationTime(took);
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["floor_ms"] = floor * 1e3 / iterations;
    state.counters["ratio"] = open / floor;
    state.counters["us_per_file"] = open * 1e6 / iterations / project.Count();
    state.counters["bytes_per_file"] = static_cast<double>(bytes) / project.Count();
}

void BM_SaveProject(benchmark::State& state)
{
    const BenchProject& project = Project(static_cast<int>(state.range(0)));
    const std::unique_ptr<IfileManager> files = Open(project);
    const std::string saved = project.Folder() + "/saved.prj";
    const std::string floorFile = project.Folder() + "/floor.prj";
    // Both targets exist before the first round and the floor writes the
    // bytes the save makes; the two take turns going first, so neither gains
    // from the state the other leaves the disk in.
    std::string written;
    {
        std::ostringstream text;
        files->WriteFileList(&text);
        written = std::move(text).str();
    }
    SysWriteFileAtomically(saved, written);
    SysWriteFileAtomically(floorFile, written);
    const auto saveOnce = [&] {
        const Clock::time_point start = Clock::now();
        std::string buffer;
        buffer.reserve(written.size());
        std::ostringstream text(std::move(buffer));
        files->WriteFileList(&text);
        written = std::move(text).str();
        SysWriteFileAtomically(saved, written);
        return Seconds(start);
    };
    const auto floorOnce = [&] {
        const Clock::time_point start = Clock::now();
        SysWriteFileAtomically(floorFile, written);
        return Seconds(start);
    };
    double save = 0;
    double floor = 0;
    bool saveFirst = true;
    for (auto _ : state) {
        double took = 0;
        if (saveFirst) {
            took = saveOnce();
            floor += floorOnce();
        } else {
            floor += floorOnce();
            took = saveOnce();
        }
        saveFirst = !saveFirst;
        save += took;
        state.SetIterationTime(took);
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["floor_ms"] = floor * 1e3 / iterations;
    state.counters["ratio"] = save / floor;
    state.counters["us_per_file"] = save * 1e6 / iterations / project.Count();
}

// Files outside the project (never found on disk), each generated by one of
// a core description per hundred.
std::vector<IfileObjectEx> LinkedFiles(int count)
{
    std::vector<IfileObjectEx> files;
    files.reserve(count);
    for (int i = 0; i < count; ++i) {
        const std::string folder = "/bench/cores/c" + std::to_string(i / kFilesPerCore);
        if (i % kFilesPerCore == 0)
            files.emplace_back(IfileObject(folder + "/core.cxf", zorpaFT_OMBRIX_CXF, ImodelFMFull, true, false), false);
        IfileObjectEx file(
            IfileObject(folder + "/f" + std::to_string(i) + ".v", zorpaFT_HDL, ImodelFMFull, true, false), false);
        file.AddParentFile(IfileObject(folder + "/core.cxf", zorpaFT_OMBRIX_CXF, ImodelFMFull, true, false));
        files.push_back(std::move(file));
    }
    return files;
}

std::unique_ptr<IfileManager> Filled(const std::vector<IfileObjectEx>& files)
{
    auto manager = IfileCreateManager();
    for (const IfileObjectEx& file : files) manager->AddOrUpdateFile(file, false);
    return manager;
}

void BM_LookUpFiles(benchmark::State& state)
{
    const std::vector<IfileObjectEx> files = LinkedFiles(static_cast<int>(state.range(0)));
    const auto manager = Filled(files);
    const std::size_t step = files.size() / kLookups;
    for (auto _ : state) {
        for (std::size_t i = 0; i < files.size(); i += step) {
            benchmark::DoNotOptimize(manager->GetFile(files[i]));
            benchmark::DoNotOptimize(manager->HasFileNamed(files[i].GetFileTitleAndExt(), ImodelFMShort, 1));
        }
    }
    state.SetItemsProcessed(state.iterations() * 2 * static_cast<int64_t>(files.size() / step));
}

void BM_RemoveFiles(benchmark::State& state)
{
    const std::vector<IfileObjectEx> files = LinkedFiles(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto manager = Filled(files);
        state.ResumeTiming();
        for (const IfileObjectEx& file : files) manager->RemoveFile(file);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(files.size()));
}

}  // namespace

BENCHMARK(BM_OpenProject)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveProject)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LookUpFiles)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveFiles)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
