// What a user types, drawn at random from fixed seeds over a small mixed
// design (VHDL and Verilog units in a hierarchy with a shared block, test
// benches, constraints, netlists, a second library, linked files, files
// edited on disk and refreshed): after each step (or, for half the seeds,
// after runs of a few steps) the project saved at once is the project saved
// after a close and an open, and saving again changes nothing; a refused
// command leaves the saved project as it was. A broken step prints the
// steps as a script that replays it in the shell; with
// QUORLANE_ROUNDTRIP_REDUCE set the steps are first reduced to the fewest
// that still break it, QUORLANE_ROUNDTRIP_SEED runs one seed alone, longer,
// and QUORLANE_ROUNDTRIP_STEPS sets how many steps that seed draws.
#include "IcmdTestSupport.h"
#include "RandomDraws.h"
#include "RecordingHost.h"

#include "icmd/project/IcmdCloseProject.h"
#include "icmd/project/IcmdNewProject.h"

#include <cstdlib>
#include <iostream>
#include <optional>
#include <regex>
#include <sstream>

namespace {

// One step: an optional text written to a file (relative to the project
// folder), then a command; `check` when the round trip follows it.
struct Step {
    std::string write;
    std::string text;
    std::string command;
    bool check = true;
};
using Steps = std::vector<Step>;

// A unit of the generated design: its name and the units it instantiates.
struct Unit {
    std::string name;
    std::vector<std::string> children;
};

bool IsVerilog(const std::string& path) { return path.size() > 2 && path.compare(path.size() - 2, 2, ".v") == 0; }

std::string UnitText(const std::string& path, const Unit& unit)
{
    std::string text;
    if (IsVerilog(path)) {
        text = "module " + unit.name + " (p);\n  input p;\n";
        for (std::size_t i = 0; i < unit.children.size(); ++i)
            text += "  " + unit.children[i] + " u" + std::to_string(i) + " (p);\n";
        return text + "endmodule\n";
    }
    text = "entity " + unit.name + " is port (p : in bit); end;\narchitecture rtl of " + unit.name + " is\nbegin\n";
    for (std::size_t i = 0; i < unit.children.size(); ++i)
        text += "  u" + std::to_string(i) + " : entity work." + unit.children[i] + " port map (p);\n";
    return text + "end;\n";
}

// The unit of a text UnitText wrote.
Unit ParseUnit(const std::string& text)
{
    static const std::regex head(R"(^(?:entity|module) (\w+))");
    static const std::regex vhdlChild(R"(entity work\.(\w+) port map)");
    static const std::regex verilogChild(R"(^  (\w+) u\d+ \(p\);)");
    Unit unit;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (unit.name.empty() && std::regex_search(line, match, head))
            unit.name = match[1];
        else if (std::regex_search(line, match, vhdlChild) || std::regex_search(line, match, verilogChild))
            unit.children.push_back(match[1]);
    }
    return unit;
}

// The design's sources, below the seed's folder: HDL units and benches under
// src/ (imported, so copied into the project), files to link under shared/.
const std::vector<std::pair<std::string, Unit>>& Sources()
{
    static const std::vector<std::pair<std::string, Unit>> sources = {
        {"src/top.vhd", {"top", {"mid", "shr", "vmid"}}},
        {"src/mid.vhd", {"mid", {"leaf", "shr"}}},
        {"src/leaf.vhd", {"leaf", {}}},
        {"src/shr.vhd", {"shr", {}}},
        {"src/mid_alt.vhd", {"mid", {"leaf", "lnk"}}},
        {"src/vtop.v", {"vtop", {"vmid", "shr"}}},
        {"src/vmid.v", {"vmid", {"vleaf"}}},
        {"src/vleaf.v", {"vleaf", {}}},
        {"src/tb_top.vhd", {"tb_top", {"top"}}},
        {"src/tb_v.v", {"tb_v", {"vtop"}}},
        {"shared/lnk.vhd", {"lnk", {}}},
        {"shared/vlnk.v", {"vlnk", {"vleaf"}}},
        {"shared/shr.vhd", {"shr", {"leaf"}}},
    };
    return sources;
}
const std::vector<std::pair<std::string, std::string>>& OtherSources()
{
    static const std::vector<std::pair<std::string, std::string>> sources = {
        {"src/timing.sdc", "create_clock -period 10 clk\n"},
        {"src/slow.sdc", "create_clock -period 40 clk\n"},
        {"src/pins.pdc", "set_io a 1\n"},
        // Netlists of a unit in the middle, of a leaf of the other language
        // and of a unit only instantiated until its linked file defines it.
        {"src/mid.edn", "(edif mid (library work (cell mid)) (design mid (cellRef mid (libraryRef work))))\n"},
        {"src/vleaf.edn",
         "(edif vleaf (library work (cell vleaf)) (design vleaf (cellRef vleaf (libraryRef work))))\n"},
        {"src/lnk.edn", "(edif lnk (library work (cell lnk)) (design lnk (cellRef lnk (libraryRef work))))\n"},
    };
    return sources;
}
// Pin and timing constraints, mixed HDL, lists of a module's own and the
// choice of a unit's file: the options the draws run with.
const std::vector<std::pair<std::string, std::string>>& Options()
{
    static const std::vector<std::pair<std::string, std::string>> options = {
        {"IMPORT_CONSTRAINT_FILES", "PDC SDC"},      {"ALL_IMPORT_CONSTRAINT_FILES", "PDC SDC"},
        {"PDC_DISP_NAME", "Pin Constraint File"},    {"PDC_EXTN", "pdc"},
        {"SDC_DISP_NAME", "Timing Constraint File"}, {"SDC_EXTN", "sdc"},
        {"SYNTHESIS_CONSTRAINTS_LIST", "sdc"},       {"PALLADOR_IMPORT_CONSTRAINT_FILES", "pdc sdc"},
        {"PHYSYNTH_CONSTRAINTS_LIST", "sdc pdc"},    {"IDE_MIXED_HDL_ENABLED", "1"},
        {"IDE_ORGANIZE_SOURCES_ENABLED", "1"},       {"IDE_SELECT_FLOW_FILE_FEATURE_ENABLED", "1"}};
    return options;
}
const std::vector<std::string> kHdl = {"top.vhd",     "mid.vhd", "leaf.vhd", "shr.vhd",
                                       "mid_alt.vhd", "vtop.v",  "vmid.v",   "vleaf.v"};
const std::vector<std::string> kBenches = {"tb_top.vhd", "tb_v.v"};
const std::vector<std::string> kLinks = {"lnk.vhd", "vlnk.v", "shr.vhd"};
const std::vector<std::string> kUnitNames = {"top",   "mid", "leaf", "shr",   "vtop", "vmid",
                                             "vleaf", "lnk", "vlnk", "leaf2", "mid2"};

// The member files a saved project lists: (name as the project stores it,
// relative to the project folder or as linked, its kind).
std::vector<std::pair<std::string, std::string>> Members(const std::string& project)
{
    std::vector<std::pair<std::string, std::string>> members;
    std::istringstream lines(project);
    bool inside = false;
    for (std::string line; std::getline(lines, line);) {
        if (line == "LIST FileManager")
            inside = true;
        else if (line == "ENDLIST")
            inside = false;
        else if (inside && line.rfind("VALUE \"", 0) == 0 && line.size() > 8) {
            const std::string value = line.substr(7, line.size() - 8);
            const std::size_t comma = value.rfind(',');
            if (comma == std::string::npos) continue;
            std::string name = value.substr(0, comma);
            if (name.rfind("<project>/", 0) == 0) name = name.substr(10);
            members.emplace_back(name, value.substr(comma + 1));
        }
    }
    return members;
}

// Where two saved projects part: a few lines around the first difference.
std::string FirstDifference(const std::string& a, const std::string& b)
{
    std::vector<std::string> left, right;
    for (auto [text, lines] : {std::pair{&a, &left}, {&b, &right}}) {
        std::istringstream in(*text);
        for (std::string line; std::getline(in, line);) lines->push_back(line);
    }
    std::size_t at = 0;
    while (at < left.size() && at < right.size() && left[at] == right[at]) ++at;
    std::ostringstream out;
    out << "first difference at line " << at + 1 << "\n";
    const std::size_t from = at > 3 ? at - 3 : 0;
    for (std::size_t i = from; i < at + 8 && i < left.size(); ++i) out << "  before: " << left[i] << "\n";
    for (std::size_t i = from; i < at + 8 && i < right.size(); ++i) out << "  after:  " << right[i] << "\n";
    return out.str();
}

class RoundTripTest : public IcmdTest {
protected:
    void SetUp() override
    {
        IcmdTest::SetUp();
        LoadOnePartCatalogue();
        for (const auto& [name, value] : Options()) DefSetFL(name.c_str(), value.c_str(), __FILE__, __LINE__);
        const Texts commands = {"import_files",     "delete_files",         "set_root",        "associate_stimulus",
                                "organize_sources", "organize_constraints", "use_source_file", "create_links",
                                "add_library",      "add_file_to_library",  "remove_library",  "refresh",
                                "save_project",     "close_project",        "open_project"};
        ASSERT_EQ(RegisterCommands(commands), static_cast<int>(commands.size()));
    }
    void TearDown() override
    {
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, false);
        IcmdTest::TearDown();
    }

    // A fresh seed folder `name` with the design's sources and a new project
    // alu in it, the current folder; its path.
    std::string Fresh(const std::string& name)
    {
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, false);
        for (const auto& [path, unit] : Sources()) m_folder.Write(name + "/" + path, UnitText(path, unit));
        for (const auto& [path, text] : OtherSources()) m_folder.Write(name + "/" + path, text);
        const std::string base = m_folder / name;
        EXPECT_TRUE(IcmdDoNewProject(false, "alu", base + "/alu", true, "ZX3", "zx3_10", "tq100"));
        Manager().SetCurrentFolder(base + "/alu");
        m_project = base + "/alu/alu.prj";
        return base;
    }

    std::string Saved()
    {
        EXPECT_EQ(Eval("save_project"), TCL_OK) << result;
        return m_folder.Read(m_project.substr(m_folder.Path().size() + 1));
    }

    // Runs one step; on a broken invariant, why.
    std::optional<std::string> RunStep(const std::string& base, const Step& step)
    {
        if (!step.write.empty())
            m_folder.Write(base.substr(m_folder.Path().size() + 1) + "/alu/" + step.write, step.text);
        const std::string before = Saved();
        if (Eval(step.command) != TCL_OK) {
            const std::string after = Saved();
            if (after != before)
                return "the refused command (" + result + ") changed the project\n" + FirstDifference(before, after);
        }
        m_host.DeliverDispatched();
        if (!step.check) return std::nullopt;
        const std::string saved = Saved();
        if (Eval("close_project -save false") != TCL_OK) return "close_project failed: " + result;
        if (Eval("open_project {" + m_project + "}") != TCL_OK) return "open_project failed: " + result;
        const std::string reopened = Saved();
        if (reopened != saved) return "saved at once and after an open differ\n" + FirstDifference(saved, reopened);
        const std::string again = Saved();
        if (again != reopened) return "a second save differs\n" + FirstDifference(reopened, again);
        return std::nullopt;
    }

    // Plays `steps` in a fresh folder: why the first broken step broke, with
    // its index, or nothing.
    std::optional<std::pair<std::size_t, std::string>> Replay(const std::string& name, const Steps& steps)
    {
        const std::string base = Fresh(name);
        for (std::size_t i = 0; i < steps.size(); ++i)
            if (auto broken = RunStep(base, steps[i])) return std::pair{i, *broken};
        return std::nullopt;
    }

    // The steps as a shell script of the scenarios' form.
    static std::string Script(const Steps& steps)
    {
        std::ostringstream out;
        out << "source [file join [file dirname [info script]] lib scenario.tcl]\nwith_options ROUNDTRIP_REPLAY {";
        for (const auto& [name, value] : Options()) out << name << " = " << value << "\n";
        out << "}\n";
        for (const auto& [path, unit] : Sources())
            out << "write_file " << path << " {" << UnitText(path, unit) << "}\n";
        for (const auto& [path, text] : OtherSources()) out << "write_file " << path << " {" << text << "}\n";
        out << "new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100\ncd alu\n";
        for (const Step& step : steps) {
            if (!step.write.empty()) out << "write_file " << step.write << " {" << step.text << "}\n";
            out << "try {" << step.command << "}\n";
            if (step.check) out << "round_trip\n";
        }
        return out.str();
    }

    // The fewest of `steps` that still break the invariant (each step left
    // out in turn, chunks first).
    Steps Reduce(Steps steps)
    {
        int replay = 0;
        for (std::size_t chunk = steps.size() / 2; chunk >= 1; chunk /= 2) {
            for (std::size_t at = 0; at + chunk <= steps.size();) {
                Steps fewer = steps;
                fewer.erase(fewer.begin() + at, fewer.begin() + at + chunk);
                if (!fewer.empty()) fewer.back().check = true;
                if (auto broken = Replay("reduce" + std::to_string(replay++), fewer)) {
                    fewer.resize(broken->first + 1);
                    fewer.back().check = true;
                    steps = fewer;
                } else {
                    at += chunk;
                }
            }
            if (chunk == 1) break;
        }
        return steps;
    }

    // Draws and runs `count` steps from `seed`, the round trip after each
    // step, or after runs of one to four steps when `runs`.
    void RunSeed(unsigned seed, int count, bool runs)
    {
        Draws draws(seed);
        const auto pick = [&draws](const auto& from) { return from[draws.Pick(from.size())]; };
        const auto chance = [&draws](int percent) { return draws.Chance(percent); };
        const std::string name = "seed" + std::to_string(seed);
        const std::string base = Fresh(name);
        Steps steps = {
            {"", "",
             "import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/leaf.vhd ../src/shr.vhd "
             "../src/vmid.v ../src/vleaf.v}"},
            {"", "", "import_files -stimulus ../src/tb_top.vhd -sdc ../src/timing.sdc -pdc ../src/pins.pdc"},
            {"", "", "set_root top"},
        };
        std::optional<std::pair<std::size_t, std::string>> broken;
        for (std::size_t i = 0; i < steps.size() && !broken; ++i)
            if (auto why = RunStep(base, steps[i])) broken = std::pair{i, *why};

        for (int n = 0; n < count && !broken; ++n) {
            const auto members = Members(m_folder.Read(m_project.substr(m_folder.Path().size() + 1)));
            std::vector<std::string> hdl, benches, constraints, all;
            for (auto [file, kind] : members) {
                // Linked files by their path from the project folder, so
                // that the replay script holds no machine path.
                if (file.rfind(base + "/", 0) == 0) file = "../" + file.substr(base.size() + 1);
                all.push_back(file);
                if (kind == "hdl")
                    hdl.push_back(file);
                else if (kind == "tb_hdl")
                    benches.push_back(file);
                else if (kind == "sdc" || kind == "pdc")
                    constraints.push_back(file);
            }
            std::vector<std::string> units;
            for (auto [at, end] = Design().GetLibraries(); at != end; ++at)
                for (const ImodelModule* unit : *(*at)->GetModules())
                    units.push_back((*at)->GetName() == "work" ? unit->GetName()
                                                               : unit->GetName() + "::" + (*at)->GetName());
            if (units.empty()) units.push_back("top");
            const auto some = [&](const std::vector<std::string>& from, const std::string& flag) {
                std::string text;
                const int k = 1 + static_cast<int>(draws.Pick(3));
                for (int i = 0; i < k && !from.empty(); ++i) text += " " + flag + " " + pick(from);
                if (from.empty() || chance(5)) text += " " + flag + " hdl/nosuch.vhd";
                return text;
            };
            const auto list = [&](const std::vector<std::string>& from, const std::string& prefix) {
                std::string text;
                const int k = 1 + static_cast<int>(draws.Pick(3));
                for (int i = 0; i < k; ++i) text += (i ? " " : "") + prefix + pick(from);
                return "{" + text + "}";
            };
            const std::vector<std::string> modes = {"", " -mode new", " -mode add", " -mode remove"};

            Step step;
            switch (draws.Pick(16)) {
            case 0:
            case 1:
                step.command = "import_files -hdl_source " + list(kHdl, "../src/");
                break;
            case 2:
                step.command = "import_files -stimulus " + list(kBenches, "../src/");
                break;
            case 3: {
                const std::vector<std::string> kinds = {" -sdc ../src/timing.sdc", " -sdc ../src/slow.sdc",
                                                        " -pdc ../src/pins.pdc",   " -edif ../src/mid.edn",
                                                        " -edif ../src/lnk.edn",   " -gate ../src/vleaf.edn"};
                step.command = "import_files" + pick(kinds) + (chance(50) ? pick(kinds) : "");
                break;
            }
            case 4:
                step.command = "delete_files" + some(all, "-file");
                break;
            case 5:
                step.command = "set_root " + (chance(5) ? std::string("nosuch") : pick(units));
                break;
            case 6:
                step.command = "associate_stimulus -module " + pick(units) + pick(modes) + some(benches, "-file");
                break;
            case 7: {
                const std::vector<std::string> tools = {"synthesis", "simulation"};
                step.command = "organize_sources -tool " + pick(tools) + " -module " + pick(units) + pick(modes) +
                               some(hdl, "-file") + " -use_default " + (chance(70) ? "false" : "true");
                break;
            }
            case 8: {
                const std::vector<std::string> tools = {"synthesis", "physynth", "pallador"};
                step.command = "organize_constraints -tool " + pick(tools) +
                               (chance(50) ? " -module " + pick(units) : std::string()) + pick(modes) +
                               some(constraints, "-file");
                break;
            }
            case 9:
                step.command = "use_source_file -module " + pick(units) + " -file " +
                               (hdl.empty() ? std::string("hdl/nosuch.vhd") : pick(hdl));
                break;
            case 10:
                step.command = "create_links -hdl_source " + list(kLinks, "../shared/");
                break;
            case 11:
                step.command = chance(30) ? "add_library -library lib2"
                                          : "add_file_to_library -library lib2 -file " +
                                                (hdl.empty() ? std::string("hdl/nosuch.vhd") : pick(hdl));
                break;
            case 12:
                step.command = std::string("remove_library -library ") + (chance(85) ? "lib2" : "work");
                break;
            default: {
                // A file of the project edited on disk, then refresh.
                std::vector<std::string> files;
                for (const std::string& file : hdl) files.push_back(file);
                for (const std::string& file : benches) files.push_back(file);
                if (files.empty() || chance(10)) {
                    step.command = "refresh";
                    break;
                }
                const std::string file = pick(files);
                const std::string path = file[0] == '/' ? file : Manager().GetCurrentFolder() + "/" + file;
                std::string text;
                if (std::FILE* in = std::fopen(path.c_str(), "rb")) {
                    char buffer[4096];
                    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
                        text.append(buffer, got);
                    std::fclose(in);
                }
                Unit unit = ParseUnit(text);
                if (unit.name.empty()) {
                    step.command = "refresh";
                    break;
                }
                switch (draws.Pick(3)) {
                case 0:
                    unit.name = pick(kUnitNames);
                    break;
                case 1:
                    unit.children.push_back(pick(kUnitNames));
                    break;
                default:
                    if (!unit.children.empty())
                        unit.children.erase(unit.children.begin() + draws.Pick(unit.children.size()));
                    else
                        unit.children.push_back(pick(kUnitNames));
                }
                step.write = file;
                step.text = UnitText(file, unit);
                step.command = "refresh";
            }
            }
            step.check = !runs || chance(40) || n + 1 == count;
            steps.push_back(step);
            if (auto why = RunStep(base, steps.back())) broken = std::pair{steps.size() - 1, *why};
        }
        m_steps += static_cast<int>(steps.size());
        if (!broken) return;
        steps.resize(broken->first + 1);
        steps.back().check = true;
        std::string why = broken->second;
        if (std::getenv("QUORLANE_ROUNDTRIP_REDUCE")) {
            steps = Reduce(steps);
            if (auto again = Replay("reduced", steps)) why = again->second;
        }
        ADD_FAILURE() << "seed " << seed << ", step " << steps.size() << ": " << why
                      << "replay (paths relative to the project folder):\n"
                      << Script(steps);
    }

    // The root a project names comes back at an open only with a host, as
    // in the shell.
    RecordingHost m_host;
    std::string m_project;
    int m_steps = 0;
};

}  // namespace

TEST_F(RoundTripTest, EveryCommandSavesWhatAnOpenWorksOut)
{
    if (const char* one = std::getenv("QUORLANE_ROUNDTRIP_SEED")) {
        const char* steps = std::getenv("QUORLANE_ROUNDTRIP_STEPS");
        const int count = steps ? static_cast<int>(std::strtol(steps, nullptr, 10)) : 80;
        RunSeed(static_cast<unsigned>(std::strtoul(one, nullptr, 10)), count, false);
        return;
    }
    for (unsigned seed = 1; seed <= 12; ++seed) RunSeed(seed, 50, seed % 2 == 0);
    std::cout << "round trip: " << m_steps << " steps\n";
}
