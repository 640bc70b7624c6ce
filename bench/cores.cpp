// Cores brought into a project from their SPIRIT descriptions, the way the
// consistency check adds what the core workspace holds.
// - One core whose description names 250, 1,000 and 4,000 Verilog files
//   (each defines a unit; the units form a tree of fan-out 10 under the
//   core's top unit, every unit using one shared unit): the time per file
//   should be the same at every size (compare "us_per_file").
// - A workspace of 25, 100 and 400 small cores: the time per core should be
//   the same at every size (compare "us_per_core").
// - No file is read twice: "read_per_byte" is the bytes the process read
//   while adding, over the bytes of the descriptions and sources; it should
//   stay close to 1 (the workspace file and the project's own files add a
//   little), and never near 2.
#include "BenchShell.h"
#include "SpiritCoreWriter.h"

#include "ifile/IfileManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "itool/ItoolVeyrun.h"

#include <foundation/Sys.h>
#include <ktwkspace/Workspace.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

Imodel& Model() { return Imodel::GetInstance(); }

// The bytes this process has read so far (its own reads, cached or not).
std::int64_t BytesRead()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    std::int64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return 0;
}

// The generated files and the projects.
const BenchFolder& Folder()
{
    static const BenchFolder folder("cores");
    return folder;
}

// Test data needs no atomic write: a plain one is much faster.
void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

struct Core {
    std::string description;
    std::int64_t bytes = 0;
};

// A core of `files` Verilog units in `folder`: unit i uses units 10i+1 to
// 10i+10 (those there are) and the shared unit.
Core WriteCore(const std::string& folder, const std::string& name, int files)
{
    Core core;
    SpiritCoreWriter writer(name);
    writer.Hdl("Verilog").File("HDL_FILESET", "hdl", "shared.v");
    const std::string shared = "module shared(input a, output b); assign b = a; endmodule\n";
    Write(folder + "/hdl/shared.v", shared);
    core.bytes += static_cast<std::int64_t>(shared.size());
    for (int i = 0; i < files; ++i) {
        const std::string unit = i == 0 ? name : name + "_u" + std::to_string(i);
        std::string text = "module " + unit + "(input a, output b);\n  wire w;\n  shared s(.a(a), .b(w));\n";
        for (int child = 10 * i + 1; child <= 10 * i + 10 && child < files; ++child)
            text += "  " + name + "_u" + std::to_string(child) + " n" + std::to_string(child) + "(.a(w), .b());\n";
        text += "  assign b = w;\nendmodule\n";
        Write(folder + "/hdl/" + unit + ".v", text);
        core.bytes += static_cast<std::int64_t>(text.size());
        writer.File("HDL_FILESET", "hdl", unit + ".v");
    }
    core.description = folder + "/" + name + ".cxf";
    const std::string text = writer.Text();
    Write(core.description, text);
    core.bytes += static_cast<std::int64_t>(text.size());
    return core;
}

// A new project whose workspace holds the cores.
bool NewProject(const std::string& name, const std::vector<Core>& cores)
{
    const std::string project = Folder().path + "/" + name;
    if (!BenchEval("new_project -location " + project +
                   " -name bench -hdl VERILOG -family ZX3 -die zx3_10 -package tq100"))
        return false;
    Ktwkspace::Workspace* workspace = Model().GetWorkspace();
    if (workspace == nullptr) return false;
    std::string imported;
    for (const Core& core : cores)
        if (!workspace->SafeimportCore(core.description, nullptr, imported, true)) return false;
    return true;
}

// Adds what the workspace holds to an emptied project, once per run, and
// reports the time per item (`per` names the counter) and the bytes read
// per byte of the cores.
void AddAll(benchmark::State& state, std::int64_t bytes, int items, const char* per)
{
    double seconds = 0;
    std::int64_t read = 0;
    for (auto _ : state) {
        Model().GetFileManager()->RemoveAllFiles();
        Model().GetDesignManager()->Reset();
        ItoolVeyrun::GetInstance()->StopTool();
        const std::int64_t before = BytesRead();
        const auto start = std::chrono::steady_clock::now();
        Model().CheckNewCores(zorpaFT_OMBRIX_CXF);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        read += BytesRead() - before;
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters[per] = seconds * 1e6 / (runs * items);
    state.counters["read_per_byte"] = static_cast<double>(read) / (runs * static_cast<double>(bytes));
    state.counters["members"] = Model().GetFileManager()->GetFileCount();
    BenchEval("close_project -save false");
}

void BM_CoreDescriptionFiles(benchmark::State& state)
{
    const int files = static_cast<int>(state.range(0));
    static std::map<int, Core> written;
    if (written.find(files) == written.end()) {
        const std::string folder = Folder().path + "/core_" + std::to_string(files);
        UtlValidateOrCreateFolder(folder + "/hdl");
        written[files] = WriteCore(folder, "big", files);
    }
    const Core& core = written[files];
    if (!NewProject("files_" + std::to_string(files), {core})) {
        state.SkipWithError("no project");
        return;
    }
    AddAll(state, core.bytes, files, "us_per_file");
}

void BM_WorkspaceCores(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    std::vector<Core> cores;
    std::int64_t bytes = 0;
    for (int i = 0; i < count; ++i) {
        const std::string folder = Folder().path + "/ws_" + std::to_string(count) + "/c" + std::to_string(i);
        UtlValidateOrCreateFolder(folder + "/hdl");
        cores.push_back(WriteCore(folder, "core" + std::to_string(i), 4));
        bytes += cores.back().bytes;
    }
    if (!NewProject("workspace_" + std::to_string(count), cores)) {
        state.SkipWithError("no project");
        return;
    }
    AddAll(state, bytes, count, "us_per_core");
}

}  // namespace

BENCHMARK(BM_CoreDescriptionFiles)->Arg(250)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WorkspaceCores)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond)->Iterations(3);
