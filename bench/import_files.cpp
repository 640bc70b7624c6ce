// import_files into a new project, the way a script fills one in the shell:
// 10,000 generated VHDL files of about 10 KB (100 MB) from a folder outside
// the project, copied in, entered and parsed into one hierarchy.
// Targets: the cost per file is the same with 1,000 files as with 10,000
// (compare the items per second of the sizes), and the import takes at most
// 3 times as long as scanning the same files alone (BM_ScanAlone, the
// scanner of parse_file on each file from disk, into an empty design).
#include "BenchShell.h"

#include "icmd/scan/ZorpaParser.h"
#include "icmd/scan/zorpaCreateParser.h"
#include "ifile/IfileManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

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

}  // namespace

BENCHMARK(BM_ScanAlone)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportFiles)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);
