// parse_file into the project model, the way add_file runs it for each file
// of a project: the cost per file must stay the same whether the project
// holds 1,000 files or 10,000 (compare the items per second of the sizes).
// The design is a hierarchy of VHDL units, ten sub-units each, every unit
// also using two of a few shared cells through a package's components; the
// cells are instantiated by every unit, so their parent lists grow with the
// project. BM_ParseOneFile parses one file of many units written as
// netlisters write them, the last in name order first, each using the one
// after it; the cost per unit must not grow with the units of the file.
#include "icmd/scan/IcmdParseFile.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"

#include <foundation/Sys.h>

#include <benchmark/benchmark.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }
IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }

constexpr int kCells = 8;

std::string CellFile(int index)
{
    const std::string name = "cell_" + std::to_string(index);
    return "entity " + name + " is port (a, b : in bit; y : out bit); end " + name + ";\n" + "architecture rtl of " +
           name + " is begin y <= a and b; end rtl;\n";
}

std::string PackageFile()
{
    std::string text = "package cells_pkg is\n";
    for (int i = 0; i < kCells; ++i)
        text += "  component cell_" + std::to_string(i) + " port (a, b : in bit; y : out bit); end component;\n";
    return text + "end package;\n";
}

// Unit `index`, instantiating its children (10 index + 1 to 10 index + 10
// below `count`) and two cells.
std::string UnitFile(int index, int count)
{
    const std::string name = "unit_" + std::to_string(index);
    std::string text = "library ieee;\nuse ieee.std_logic_1164.all;\nuse work.cells_pkg.all;\n\n"
                       "entity " +
                       name +
                       " is\n  port (clk, rst : in std_logic; d : in std_logic_vector(7 downto 0);\n"
                       "        q : out std_logic_vector(7 downto 0));\nend entity;\n\n"
                       "architecture rtl of " +
                       name + " is\n  signal s : std_logic_vector(7 downto 0);\n  signal a, b, y : bit;\nbegin\n";
    for (int child = 10 * index + 1; child <= 10 * index + 10 && child < count; ++child)
        text += "  u" + std::to_string(child) + " : entity work.unit_" + std::to_string(child) +
                " port map (clk => clk, rst => rst, d => s, q => open);\n";
    for (int cell : {index % kCells, (index + 3) % kCells})
        text +=
            "  c" + std::to_string(cell) + " : cell_" + std::to_string(cell) + " port map (a => a, b => b, y => y);\n";
    text += "  p : process (clk) begin\n    if rising_edge(clk) then\n      if rst = '1' then s <= (others => '0');\n"
            "      else s <= d; end if;\n    end if;\n  end process;\n  q <= s;\nend architecture;\n";
    return text;
}

// The folder of the generated projects, removed with them at exit.
struct ProjectFolder {
    ProjectFolder() : path(UtlGetTempDir() + "quorlane_bench_parse_" + std::to_string(std::random_device()())) {}
    ~ProjectFolder() { SysRemoveFolderRecursively(path); }
    std::string path;
};

// The files of a project of `count` units, written once per size.
const std::vector<std::string>& ProjectFiles(int count)
{
    static const ProjectFolder root;
    static std::map<int, std::vector<std::string>> projects;
    std::vector<std::string>& files = projects[count];
    if (!files.empty()) return files;
    const std::string folder = root.path + "/" + std::to_string(count);
    UtlValidateOrCreateFolder(folder);
    const auto write = [&](const std::string& title, const std::string& text) {
        files.push_back(folder + "/" + title);
        SysWriteFileAtomically(files.back(), text);
    };
    write("cells_pkg.vhd", PackageFile());
    for (int i = 0; i < kCells; ++i) write("cell_" + std::to_string(i) + ".vhd", CellFile(i));
    for (int i = 0; i < count; ++i) write("unit_" + std::to_string(i) + ".vhd", UnitFile(i, count));
    return files;
}

// A fresh open project in the folder of `files`, each file entered.
std::vector<boost::shared_ptr<IfileObjectEx>> OpenProject(const std::vector<std::string>& files)
{
    Design().ClearProject();
    Files().RemoveAllFiles();
    Design().SetDefaultVHDL(true);
    Design().SetProjectFolder(
        IfileObject(ImodelFileName(files.front()), zorpaFT_HDL, ImodelFMFull, true, false).GetFileLocation());
    Design().SetProjectOpen(true);
    std::vector<boost::shared_ptr<IfileObjectEx>> entries;
    for (const std::string& file : files) {
        const IfileObject value(ImodelFileName(file), zorpaFT_HDL, ImodelFMFull, false, true);
        entries.push_back(Files().AddOrUpdateFile(IfileObjectEx(value, false), false));
    }
    return entries;
}

bool Parse(const boost::shared_ptr<IfileObjectEx>& file)
{
    return IcmdDoParseFile(file, false, true, nullptr, nullptr, nullptr, false, nullptr, nullptr);
}

// Every file parsed into an empty design, in the order they were written.
void BM_ParseProject(benchmark::State& state)
{
    const auto& files = ProjectFiles(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        const auto entries = OpenProject(files);
        state.ResumeTiming();
        for (const auto& entry : entries) benchmark::DoNotOptimize(Parse(entry));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files.size()));
    Design().ClearProject();
    Files().RemoveAllFiles();
}

// Every file of a parsed project parsed again, as after a change of each.
void BM_ParseAgain(benchmark::State& state)
{
    const auto& files = ProjectFiles(static_cast<int>(state.range(0)));
    const auto entries = OpenProject(files);
    for (const auto& entry : entries) Parse(entry);
    for (auto _ : state)
        for (const auto& entry : entries) benchmark::DoNotOptimize(Parse(entry));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files.size()));
    Design().ClearProject();
    Files().RemoveAllFiles();
}

// One file of `count` Verilog modules, from the last name to the first,
// each instantiating the module written before it.
const std::string& OneFileOfUnits(int count)
{
    static const ProjectFolder root;
    static std::map<int, std::string> files;
    std::string& file = files[count];
    if (!file.empty()) return file;
    UtlValidateOrCreateFolder(root.path);
    std::string text;
    for (int i = count - 1; i >= 0; --i) {
        text += "module m" + std::to_string(i) + " (input a, output b);\n";
        text += i + 1 < count ? "  m" + std::to_string(i + 1) + " u (.a(a), .b(b));\n" : "  assign b = a;\n";
        text += "endmodule\n";
    }
    file = root.path + "/netlist_" + std::to_string(count) + ".v";
    SysWriteFileAtomically(file, text);
    return file;
}

// The file parsed into an empty design, then parsed again (every unit it
// defined taken out and made anew), each timed.
void BM_ParseOneFile(benchmark::State& state)
{
    const std::string& file = OneFileOfUnits(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Design().ClearProject();
        Files().RemoveAllFiles();
        Design().SetDefaultVHDL(false);
        Design().SetProjectFolder(
            IfileObject(ImodelFileName(file), zorpaFT_HDL, ImodelFMFull, true, false).GetFileLocation());
        Design().SetProjectOpen(true);
        const auto entry = Files().AddOrUpdateFile(
            IfileObjectEx(IfileObject(ImodelFileName(file), zorpaFT_HDL, ImodelFMFull, false, true), false), false);
        state.ResumeTiming();
        benchmark::DoNotOptimize(Parse(entry));
        benchmark::DoNotOptimize(Parse(entry));
    }
    state.SetItemsProcessed(state.iterations() * 2 * state.range(0));
    Design().ClearProject();
    Files().RemoveAllFiles();
}

}  // namespace

BENCHMARK(BM_ParseOneFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParseProject)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParseAgain)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
