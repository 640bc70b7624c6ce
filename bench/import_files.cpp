// import_files into a new project, the way a script fills one in the shell:
// 10,000 generated VHDL files of about 10 KB (100 MB) from a folder outside
// the project, copied in, entered and parsed into one hierarchy.
// Targets: the cost per file is the same with 1,000 files as with 10,000
// (compare the items per second of the sizes), and the import takes at most
// 3 times as long as scanning the same files alone (BM_ScanAlone, the
// scanner of parse_file on each file from disk, into an empty design).
//
// BM_ImportNetlistsAndConstraints: a project of N units (the same tree),
// then a netlist, a timing and a pin constraint file per unit, in one
// import_files ("one") or one import_files per file ("each"), at 500 to
// 8,000 units. Target: the cost per unit does not grow with the design
// (each constraint file was once told to every unit, which looked at every
// netlist).
#include "BenchShell.h"

#include "icmd/scan/ZorpaParser.h"
#include "icmd/scan/zorpaCreateParser.h"
#include "ifile/IfileManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <benchmark/benchmark.h>
#include <boost/make_shared.hpp>

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

// Unit `index` of a tree of `count` units, ten children each, padded with
// clocked processes to about `size` bytes.
std::string UnitFile(int index, int count, std::size_t size)
{
    const std::string name = "unit_" + std::to_string(index);
    std::string text = "-- " + name +
                       ": generated for the import benchmark\n"
                       "library ieee;\nuse ieee.std_logic_1164.all;\n\n"
                       "entity " +
                       name +
                       " is\n  port (clk, rst : in std_logic; d : in std_logic_vector(7 downto 0);\n"
                       "        q : out std_logic_vector(7 downto 0));\nend entity;\n\n"
                       "architecture rtl of " +
                       name + " is\n  signal s, t : std_logic_vector(7 downto 0);\nbegin\n";
    for (int child = 10 * index + 1; child <= 10 * index + 10 && child < count; ++child)
        text += "  u" + std::to_string(child) + " : entity work.unit_" + std::to_string(child) +
                " port map (clk => clk, rst => rst, d => s, q => open);\n";
    for (int block = 0; text.size() < size; ++block)
        text += "  p" + std::to_string(block) +
                " : process (clk)\n  begin\n    if rising_edge(clk) then\n"
                "      if rst = '1' then t <= (others => '0');  -- reset\n"
                "      else t <= s xor d; end if;\n    end if;\n  end process;\n";
    return text + "  q <= t;\nend architecture;\n";
}

// The generated files and the projects.
const BenchFolder& Folder()
{
    static const BenchFolder folder("import");
    return folder;
}

struct Sources {
    std::vector<std::string> files;
    std::string tclList;
    std::int64_t bytes = 0;
};

// The sources of `count` units, written once per size.
const Sources& GetSources(int count)
{
    static std::map<int, Sources> written;
    Sources& sources = written[count];
    if (!sources.files.empty()) return sources;
    const std::string folder = Folder().path + "/src_" + std::to_string(count);
    UtlValidateOrCreateFolder(folder);
    for (int index = 0; index < count; ++index) {
        const std::string path = folder + "/unit_" + std::to_string(index) + ".vhd";
        const std::string text = UnitFile(index, count, 10000);
        SysWriteFileAtomically(path, text);
        sources.bytes += static_cast<std::int64_t>(text.size());
        sources.files.push_back(path);
        sources.tclList += path + " ";
    }
    return sources;
}

void BM_ImportFiles(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const Sources& sources = GetSources(count);
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string project = Folder().path + "/project_" + std::to_string(count) + "_" + std::to_string(run++);
        if (!BenchEval("new_project -location " + project +
                       " -name bench -hdl VHDL -family ZX3 -die zx3_10 -package tq100")) {
            state.SkipWithError("new_project failed");
            break;
        }
        state.ResumeTiming();
        const bool imported = BenchEval("import_files -hdl_source {" + sources.tclList + "}");
        state.PauseTiming();
        if (!imported) state.SkipWithError("import_files failed");
        const ImodelDesignManager::LibraryPtr work = Design().FindLibraryByName("work");
        state.counters["units"] = static_cast<double>(work ? work->GetModules()->size() : 0);
        BenchEval("close_project -save false");
        SysRemoveFolderRecursively(project);
        state.ResumeTiming();
        if (!imported) break;
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.SetBytesProcessed(state.iterations() * sources.bytes);
}

// The scanner of parse_file alone on the same files, from disk, into an
// empty design: the yardstick of the import.
void BM_ScanAlone(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const Sources& sources = GetSources(count);
    Design().SetDefaultVHDL(true);
    std::vector<boost::shared_ptr<IfileObjectEx>> files;
    for (const std::string& name : sources.files)
        files.push_back(boost::make_shared<IfileObjectEx>(
            IfileObject(ImodelFileName(name), zorpaFT_HDL, ImodelFMFull, false, true), false));
    for (auto _ : state) {
        state.PauseTiming();
        Design().Reset();
        state.ResumeTiming();
        for (const auto& file : files) {
            ImodelModule prototype("prototype", file, zorpaMODULE_UNKNOWN, false, "work", "", false);
            zorpaCreateParser<ImodelModule*> create(&prototype, nullptr);
            create.Visit(zorpaMODULE_VHDL);
            ZorpaParser<ImodelModule*>& parser = *create.GetParser();
            parser.SetLibraries(Design().GetLibraries());
            parser.parse(file->GetFullFileName().GetString(), "work", nullptr, false);
            benchmark::DoNotOptimize(parser.IsStructural());
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.SetBytesProcessed(state.iterations() * sources.bytes);
    Design().Reset();
}

// A netlist, a timing and a pin constraint file for each of the `count`
// units of GetSources, written once per size; the Tcl lists by kind.
struct UnitFiles {
    std::string netlists;
    std::string timing;
    std::string pins;
    std::vector<std::string> each;
};

const UnitFiles& GetUnitFiles(int count)
{
    static std::map<int, UnitFiles> written;
    UnitFiles& files = written[count];
    if (!files.each.empty()) return files;
    const std::string folder = Folder().path + "/flow_" + std::to_string(count);
    UtlValidateOrCreateFolder(folder);
    for (int index = 0; index < count; ++index) {
        const std::string name = "unit_" + std::to_string(index);
        const std::string stem = folder + "/" + name;
        SysWriteFileAtomically(stem + ".edn",
                               "(edif " + name + " (design " + name + " (cellRef " + name + " (libraryRef work))))\n");
        SysWriteFileAtomically(stem + ".sdc", "create_clock -period 10 [get_ports clk]\n");
        SysWriteFileAtomically(stem + ".pdc", "set_io clk -pinname 1\n");
        files.netlists += stem + ".edn ";
        files.timing += stem + ".sdc ";
        files.pins += stem + ".pdc ";
        files.each.push_back("-edif {" + stem + ".edn}");
        files.each.push_back("-sdc {" + stem + ".sdc}");
        files.each.push_back("-pdc {" + stem + ".pdc}");
    }
    return files;
}

void BM_ImportNetlistsAndConstraints(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const bool oneCommand = state.range(1) != 0;
    state.SetLabel(oneCommand ? "one" : "each");
    // The project's constraint kinds, set once the shell has read the
    // user's options (its start would read them over).
    BenchShell();
    for (const auto& [name, value] : {std::pair{"ALL_IMPORT_CONSTRAINT_FILES", "PDC SDC"},
                                      {"IMPORT_CONSTRAINT_FILES", "PDC SDC"},
                                      {"PDC_EXTN", "pdc"},
                                      {"PDC_DISP_NAME", "Pin Constraint File"},
                                      {"SDC_EXTN", "sdc"},
                                      {"SDC_DISP_NAME", "Timing Constraint File"},
                                      {"SYNTHESIS_CONSTRAINTS_LIST", "sdc"},
                                      {"PHYSYNTH_CONSTRAINTS_LIST", "sdc pdc"}})
        DefSetFL(name, value);
    Imodel::GetInstance().ReloadBoolSettings();
    const Sources& sources = GetSources(count);
    const UnitFiles& files = GetUnitFiles(count);
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string project =
            Folder().path + "/flow_project_" + std::to_string(count) + "_" + std::to_string(run++);
        if (!BenchEval("new_project -location " + project +
                       " -name bench -hdl VHDL -family ZX3 -die zx3_10 -package tq100") ||
            !BenchEval("import_files -hdl_source {" + sources.tclList + "}")) {
            state.SkipWithError("the project could not be made");
            break;
        }
        state.ResumeTiming();
        bool imported = true;
        if (oneCommand) {
            imported = BenchEval("import_files -edif {" + files.netlists + "} -sdc {" + files.timing + "} -pdc {" +
                                 files.pins + "}");
        } else {
            for (const std::string& option : files.each) imported = BenchEval("import_files " + option) && imported;
        }
        state.PauseTiming();
        BenchEval("close_project -save false");
        SysRemoveFolderRecursively(project);
        if (!imported) {
            state.SkipWithError("import_files failed");
            break;
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

}  // namespace

BENCHMARK(BM_ScanAlone)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportFiles)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportNetlistsAndConstraints)
    ->ArgsProduct({{500, 1000, 2000, 8000}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
