// The HDL scanners run on every add, refresh and change of a design file.
// Target: at least 200 MB/s on one core for the VHDL and the Verilog scanner
// (bytes scanned per second, units entered into the design included), on
// generated corpora of 10 MB and 100 MB in files of about 25 KB, each
// scanned the way parse_file scans it: a prototype unit, the factory, the
// design's libraries, parse from the file on disk.
#include "icmd/scan/ZorpaParser.h"
#include "icmd/scan/zorpaCreateParser.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

#include <foundation/Sys.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }
IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }

struct Corpus {
    std::vector<boost::shared_ptr<IfileObjectEx>> files;
    std::int64_t bytes = 0;
};

// A VHDL design file: an entity with a port clause, an architecture with
// signals, instances of earlier units, a clocked process and concurrent
// assignments, comments throughout.
std::string VhdlFile(int index, std::mt19937& random, std::size_t size)
{
    const std::string name = "unit_" + std::to_string(index);
    std::string text = "-- " + name +
                       ": generated for the scanner benchmark\n"
                       "library ieee;\nuse ieee.std_logic_1164.all;\nuse ieee.numeric_std.all;\n"
                       "use work.common_pkg.all;\n\n"
                       "entity " +
                       name +
                       " is\n"
                       "  generic (WIDTH : integer := 16; DEPTH : integer := 4);\n"
                       "  port (clk, rst : in std_logic;\n"
                       "        din  : in  std_logic_vector(WIDTH - 1 downto 0);\n"
                       "        dout : out std_logic_vector(WIDTH - 1 downto 0));\n"
                       "end entity " +
                       name +
                       ";\n\n"
                       "architecture rtl of " +
                       name + " is\n";
    for (int s = 0; s < 16; ++s)
        text += "  signal s" + std::to_string(s) + " : std_logic_vector(WIDTH - 1 downto 0) := (others => '0');\n";
    text += "begin\n";
    int block = 0;
    while (text.size() < size) {
        const std::string b = std::to_string(block++);
        switch (random() % 4) {
        case 0:
            text += "  -- instance " + b +
                    " of an earlier unit, mapped by name\n"
                    "  u" +
                    b + " : entity work.unit_" + std::to_string(index > 0 ? random() % index : 0) +
                    " generic map (WIDTH => WIDTH, DEPTH => 2)\n"
                    "    port map (clk => clk, rst => rst, din => s" +
                    std::to_string(random() % 16) + ", dout => s" + std::to_string(random() % 16) + ");\n";
            break;
        case 1:
            text += "  p" + b +
                    " : process (clk)\n  begin\n    if rising_edge(clk) then\n"
                    "      if rst = '1' then\n        s1 <= (others => '0');\n      else\n"
                    "        s1 <= std_logic_vector(unsigned(s2) + unsigned(din)); -- sum\n"
                    "      end if;\n    end if;\n  end process p" +
                    b + ";\n";
            break;
        case 2:
            text += "  s3 <= s4 when s5(0) = '1' else s6 xor s7;  -- select\n"
                    "  c" +
                    b + " : comp_" + std::to_string(random() % 8) + " port map (a => s8, b => s9, y => s10);\n";
            break;
        default:
            text += "  dout <= s11 and (s12 or not s13); /* not a VHDL comment */\n"
                    "  s14 <= din(WIDTH - 1 downto 0);\n";
            break;
        }
    }
    text += "end architecture rtl;\n";
    return text;
}

// A Verilog design file: a module with parameters and ports, wires,
// instances of earlier modules, gates, assignments and an always block.
std::string VerilogFile(int index, std::mt19937& random, std::size_t size)
{
    const std::string name = "unit_" + std::to_string(index);
    std::string text = "// " + name +
                       ": generated for the scanner benchmark\n"
                       "`timescale 1ns/1ps\n`include \"defines.vh\"\n\n"
                       "module " +
                       name +
                       " #(parameter WIDTH = 16, parameter DEPTH = 4) (\n"
                       "  input clk, input rst,\n"
                       "  input [WIDTH-1:0] din,\n"
                       "  output reg [WIDTH-1:0] dout);\n";
    for (int s = 0; s < 16; ++s) text += "  wire [WIDTH-1:0] s" + std::to_string(s) + ";\n";
    int block = 0;
    while (text.size() < size) {
        const std::string b = std::to_string(block++);
        switch (random() % 4) {
        case 0:
            text += "  /* instance " + b +
                    " of an earlier module */\n"
                    "  unit_" +
                    std::to_string(index > 0 ? random() % index : 0) + " #(.WIDTH(WIDTH), .DEPTH(2)) u" + b +
                    " (.clk(clk), .rst(rst), .din(s" + std::to_string(random() % 16) + "), .dout(s" +
                    std::to_string(random() % 16) + "));\n";
            break;
        case 1:
            text += "  always @(posedge clk) begin : blk" + b +
                    "\n"
                    "    if (rst) dout <= {WIDTH{1'b0}};\n"
                    "    else dout <= s1 + din; // sum\n"
                    "  end\n";
            break;
        case 2:
            text += "  assign s3 = s5[0] ? s4 : s6 ^ s7;\n"
                    "  and g" +
                    b + " (s8[0], s9[0], s10[0]);\n";
            break;
        default:
            text += "`ifdef FAST\n  fast_cell f" + b + " (.a(s11), .y(s12));\n`else\n  slow_cell f" + b +
                    " (.a(s11), .y(s12));\n`endif\n";
            break;
        }
    }
    text += "endmodule\n";
    return text;
}

// The folder of the generated corpora, removed with them at exit.
struct CorpusFolder {
    CorpusFolder() : path(UtlGetTempDir() + "quorlane_bench_scan_" + std::to_string(std::random_device()())) {}
    ~CorpusFolder() { SysRemoveFolderRecursively(path); }
    std::string path;
};

// Writes the corpus once per kind and size and enters its files into the project.
const Corpus& GetCorpus(zorpaModuleTypes kind, std::int64_t megabytes)
{
    static const CorpusFolder root;
    static std::map<std::pair<int, std::int64_t>, Corpus> corpora;
    Corpus& corpus = corpora[{kind, megabytes}];
    if (!corpus.files.empty()) return corpus;
    const std::string folder = root.path + "/" + std::to_string(kind) + "_" + std::to_string(megabytes);
    UtlValidateOrCreateFolder(folder);
    std::mt19937 random(static_cast<unsigned>(megabytes * 7 + kind));
    const std::int64_t total = megabytes * 1000 * 1000;
    for (int index = 0; corpus.bytes < total; ++index) {
        const std::string text =
            kind == zorpaMODULE_VHDL ? VhdlFile(index, random, 25000) : VerilogFile(index, random, 25000);
        const std::string path = folder + "/unit_" + std::to_string(index) + (kind == zorpaMODULE_VHDL ? ".vhd" : ".v");
        SysWriteFileAtomically(path, text);
        corpus.bytes += static_cast<std::int64_t>(text.size());
        IfileObjectEx entry(IfileObject(ImodelFileName(path), zorpaFT_HDL, ImodelFMFull, false, true), false);
        corpus.files.push_back(Files().AddOrUpdateFile(entry, false));
    }
    return corpus;
}

void BM_Scan(benchmark::State& state, zorpaModuleTypes kind)
{
    const Corpus& corpus = GetCorpus(kind, state.range(0));
    Design().SetDefaultVHDL(kind == zorpaMODULE_VHDL);
    for (auto _ : state) {
        state.PauseTiming();
        Design().Reset();
        state.ResumeTiming();
        for (const auto& file : corpus.files) {
            ImodelModule prototype("prototype", file, zorpaMODULE_UNKNOWN, false, "work", "", false);
            zorpaCreateParser<ImodelModule*> create(&prototype, nullptr);
            create.Visit(kind);
            ZorpaParser<ImodelModule*>& parser = *create.GetParser();
            parser.SetLibraries(Design().GetLibraries());
            parser.parse(file->GetFullFileName().GetString(), "work", nullptr, false);
            benchmark::DoNotOptimize(parser.IsStructural());
        }
    }
    state.SetBytesProcessed(state.iterations() * corpus.bytes);
    state.counters["files"] = static_cast<double>(corpus.files.size());
    Design().Reset();
}

// The same scans from memory: the files' texts read beforehand, each scanned
// with parseText, as parse does once it has read the file.
void BM_ScanText(benchmark::State& state, zorpaModuleTypes kind)
{
    const Corpus& corpus = GetCorpus(kind, state.range(0));
    std::vector<std::string> texts(corpus.files.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        SysReadFile(corpus.files[i]->GetFullFileName().GetString(), texts[i]);
    Design().SetDefaultVHDL(kind == zorpaMODULE_VHDL);
    for (auto _ : state) {
        state.PauseTiming();
        Design().Reset();
        state.ResumeTiming();
        for (std::size_t i = 0; i < texts.size(); ++i) {
            ImodelModule prototype("prototype", corpus.files[i], zorpaMODULE_UNKNOWN, false, "work", "", false);
            zorpaCreateParser<ImodelModule*> create(&prototype, nullptr);
            create.Visit(kind);
            ZorpaParser<ImodelModule*>& parser = *create.GetParser();
            parser.SetLibraries(Design().GetLibraries());
            parser.parseText(corpus.files[i]->GetFullFileName().GetString(), "work", nullptr, false, texts[i]);
            benchmark::DoNotOptimize(parser.IsStructural());
        }
    }
    state.SetBytesProcessed(state.iterations() * corpus.bytes);
    Design().Reset();
}

// The lexical layer alone over the same corpus, from memory: the statement
// walk and every statement operation that enters nothing into the design.
void BM_Statements(benchmark::State& state, zorpaModuleTypes kind)
{
    const Corpus& corpus = GetCorpus(kind, state.range(0));
    std::vector<std::string> texts;
    for (const auto& file : corpus.files) {
        texts.emplace_back();
        SysReadFile(file->GetFullFileName().GetString(), texts.back());
    }
    ImodelModule prototype("prototype", nullptr, zorpaMODULE_UNKNOWN, false, "work", "", false);
    zorpaCreateParser<ImodelModule*> create(&prototype, nullptr);
    create.Visit(kind);
    ZorpaParser<ImodelModule*>& parser = *create.GetParser();
    std::int64_t statements = 0;
    for (auto _ : state) {
        for (const std::string& text : texts) {
            const char* pos = text.data();
            const char* const end = pos + text.size();
            for (;;) {
                while (pos < end && (*pos == ' ' || *pos == '\t' || *pos == '\r' || *pos == '\n')) ++pos;
                if (parser.skipComment(pos, end)) continue;
                if (pos >= end) break;
                parser.preprocessorLine(pos, end);
                const char* stop = parser.findStatementEnd(pos, end);
                if (stop <= pos) stop = pos + 1;
                benchmark::DoNotOptimize(parser.declaredUnitName(pos, stop));
                benchmark::DoNotOptimize(parser.instantiatedUnitName(pos, stop));
                benchmark::DoNotOptimize(parser.isStructuralStatement(pos, stop));
                ++statements;
                pos = stop;
            }
        }
    }
    state.SetBytesProcessed(state.iterations() * corpus.bytes);
    state.counters["statements"] = benchmark::Counter(static_cast<double>(statements), benchmark::Counter::kIsRate);
}

}  // namespace

// One statement that instantiates a unit `count` times ("sub u0 (...), u1
// (...), ...;"), as netlist writers make them: the cost per instance must
// not grow with the count.
void BM_ManyInstances(benchmark::State& state)
{
    const std::int64_t count = state.range(0);
    std::string text = "module top(input a, output y);\n  sub";
    for (std::int64_t i = 0; i < count; ++i) text += (i ? ",\n    u" : " u") + std::to_string(i) + " (.a(a), .y(y))";
    text += ";\nendmodule\n";
    Design().SetDefaultVHDL(false);
    for (auto _ : state) {
        state.PauseTiming();
        Design().Reset();
        state.ResumeTiming();
        ImodelModule prototype("prototype", nullptr, zorpaMODULE_UNKNOWN, false, "work", "", false);
        zorpaCreateParser<ImodelModule*> create(&prototype, nullptr);
        create.Visit(zorpaMODULE_VERILOG);
        ZorpaParser<ImodelModule*>& parser = *create.GetParser();
        parser.SetLibraries(Design().GetLibraries());
        parser.parseText("top.v", "work", nullptr, false, text);
        benchmark::DoNotOptimize(parser.IsStructural());
    }
    state.SetItemsProcessed(state.iterations() * count);
    Design().Reset();
}

BENCHMARK(BM_ManyInstances)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Statements, vhdl, zorpaMODULE_VHDL)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Statements, verilog, zorpaMODULE_VERILOG)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ScanText, vhdl, zorpaMODULE_VHDL)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ScanText, verilog, zorpaMODULE_VERILOG)
    ->Arg(10)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Scan, vhdl, zorpaMODULE_VHDL)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Scan, verilog, zorpaMODULE_VERILOG)
    ->Arg(10)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
