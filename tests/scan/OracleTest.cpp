// The scanners against real tools on code nobody here wrote or shaped for
// them: every Verilog file that ships with yosys, compared with the module
// list yosys reads from it, and generated VHDL designs compared with the
// units and the instance tree that ghdl reports. Each test is skipped when
// its tool is missing (scripts/setup test installs both).
#include "ScanDesignSupport.h"

#include <foundation/Sys.h>

#include <fstream>
#include <random>

namespace {

// Runs a shell command in the folder; its exit status, -1 when it did not run.
int Shell(const std::string& command, const std::string& folder)
{
    int status = -1;
    if (SpnSpawn({"sh", "-c", command}, &status, SpnWAIT, folder) == 0) return -1;
    return status;
}

bool HasTool(const std::string& tool) { return Shell("command -v " + tool + " >/dev/null 2>&1", "") == 0; }

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string Lower(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// "\name" and "name" are one Verilog name.
std::string Unescaped(const std::string& name) { return !name.empty() && name[0] == '\\' ? name.substr(1) : name; }

using Names = std::set<std::string>;

std::string Join(const Names& names)
{
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : " ") + name;
    return text;
}

class Oracle : public ScanDesignFixture {
protected:
    // The units with a file that the scan of `path` declared.
    Names Declared(const std::string& path, zorpaModuleTypes kind)
    {
        Clear();
        ScanDesign().SetDefaultVHDL(kind == zorpaMODULE_VHDL);
        ScanPath(path, kind);
        Names names;
        for (auto [it, end] = ScanDesign().GetLibraries(); it != end; ++it)
            for (const ImodelModule* unit : *(*it)->GetModules())
                if (unit->GetModuleFile()) names.insert(Unescaped(unit->GetName()));
        return names;
    }
};

// Where the scanner and yosys may differ, by design:
// - The scanner reads both branches of every conditional and defines no
//   macro, so a module declared inside `ifdef/`ifndef may be one that yosys,
//   with nothing defined, leaves out.
// - An included file is recorded as a file of its own (parse_file adds it),
//   and its modules are that file's; yosys reads them as the includer's.
bool DeclaredInsideConditional(const std::string& text, const std::string& module)
{
    int depth = 0;
    for (const std::string& line : Lines(text)) {
        const std::size_t first = line.find_first_not_of(" \t");
        const std::string trimmed = first == std::string::npos ? "" : line.substr(first);
        if (trimmed.rfind("`ifdef", 0) == 0 || trimmed.rfind("`ifndef", 0) == 0) ++depth;
        if (trimmed.rfind("`endif", 0) == 0) --depth;
        const std::size_t at = line.find("module");
        if (at == std::string::npos) continue;
        const std::size_t name = line.find_first_not_of(" \t\\", at + 6);
        if (name != std::string::npos && line.compare(name, module.size(), module) == 0 && depth > 0) return true;
    }
    return false;
}

}  // namespace

TEST_F(Oracle, TheModulesOfEveryVerilogFileShippedWithYosysAreThoseYosysReads)
{
    if (!HasTool("yosys") || !HasTool("dpkg")) GTEST_SKIP() << "yosys is not installed (scripts/setup test installs it)";
    const std::string work = m_folder.Path();
    ASSERT_EQ(Shell("dpkg -L yosys yosys-dev 2>/dev/null | grep -E '\\.s?v$' | sort -u > files.txt", work), 0);
    const std::vector<std::string> files = Lines(m_folder.Read("files.txt"));
    if (files.empty()) GTEST_SKIP() << "the yosys package ships no Verilog file here";

    // yosys reads each file as a library of black boxes, four at a time.
    std::string jobs;
    for (std::size_t i = 0; i < files.size(); ++i) jobs += std::to_string(i) + " " + files[i] + "\n";
    m_folder.Write("jobs.txt", jobs);
    m_folder.Write("read.sh", "sv=; case \"$2\" in *.sv) sv=-sv;; esac\n"
                              "yosys -q -p \"read_verilog -lib $sv $2; tee -q -o out_$1.txt select -list =*\" "
                              ">/dev/null 2>&1\necho $? > status_$1.txt\n");
    ASSERT_EQ(Shell("xargs -P 4 -n 2 sh read.sh < jobs.txt", work), 0);

    std::size_t compared = 0;
    std::vector<std::string> divergences;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string index = std::to_string(i);
        if (Lines(m_folder.Read("status_" + index + ".txt")) != std::vector<std::string>{"0"}) continue;
        Names theirs;
        for (const std::string& line : Lines(m_folder.Read("out_" + index + ".txt")))
            if (line.find('/') == std::string::npos) theirs.insert(Unescaped(line));
        const Names ours = Declared(files[i], zorpaMODULE_VERILOG);
        const std::deque<std::string> includes = ScanPath(files[i], zorpaMODULE_VERILOG).includes;
        ++compared;
        std::string text;
        SysReadFile(files[i], text);
        Names unexplained;
        for (const std::string& name : ours)
            if (!theirs.count(name) && !DeclaredInsideConditional(text, name)) unexplained.insert("+" + name);
        Names included;
        const std::string folder = files[i].substr(0, files[i].rfind('/'));
        for (const std::string& include : includes) {
            const Names declared = Declared(AcmdGetQualifiedName(include, false, folder), zorpaMODULE_VERILOG);
            included.insert(declared.begin(), declared.end());
        }
        for (const std::string& name : theirs)
            if (!ours.count(name) && !included.count(name)) unexplained.insert("-" + name);
        if (!unexplained.empty()) divergences.push_back(files[i] + ": " + Join(unexplained));
    }
    for (const std::string& divergence : divergences) ADD_FAILURE() << divergence;
    // yosys reads most of them alone; the others need files or macros of their users.
    EXPECT_GT(compared * 10, files.size() * 8) << compared << " of " << files.size() << " compared";
}

namespace {

// A generated VHDL design: entities e0 to e<n-1> and a top, each with the
// ports (a : in bit; y : out bit), a package of components for all of them,
// instances by component (through the package's use clause) and by entity
// ("entity work.e3(rtl)"), some architectures in files of their own, some
// labelled processes, some comparisons with bit-string literals of
// don't-care digits (VHDL-2008). Files are listed in the order ghdl must
// analyse them.
struct GeneratedDesign {
    std::vector<std::pair<std::string, std::string>> files;  // title, text
    std::set<std::pair<std::string, std::string>> edges;     // parent, child (lower case)
};

GeneratedDesign Generate(unsigned seed, int count)
{
    std::mt19937 random(seed);
    GeneratedDesign design;
    std::string package = "package comps is\n";
    for (int i = 0; i < count; ++i)
        package += "  component E" + std::to_string(i) + " port (a : in bit; y : out bit); end component;\n";
    design.files.push_back({"comps.vhd", package + "end package comps;\n"});
    std::vector<bool> used(static_cast<std::size_t>(count), false);
    auto unit = [&](const std::string& name, std::vector<int> children) {
        std::string entity = "-- " + name +
                             "\nlibrary ieee;\nuse ieee.std_logic_1164.all;\nuse work.comps.all;\n"
                             "entity " +
                             name + " is port (a : in bit; y : out bit); end entity " + name + ";\n";
        std::string body = "use work.comps.all;\narchitecture rtl of " + name + " is\n";
        for (std::size_t k = 0; k < children.size(); ++k) body += "  signal s" + std::to_string(k) + " : bit;\n";
        // Bit-string literals with don't-care digits, before the instances.
        const bool literals = random() % 2 != 0;
        if (literals) body += "  constant k : std_logic_vector(15 downto 0) := x\"F---\";\n  signal ks : std_logic;\n";
        body += "begin\n  y <= a;\n";
        if (literals) body += "  ks <= '1' when k = 12UX\"F--\" & b\"--\" & sb\"--\" else '0';\n";
        for (std::size_t k = 0; k < children.size(); ++k) {
            const std::string child = "e" + std::to_string(children[k]);
            const std::string label = "u" + std::to_string(k);
            switch (random() % 3) {
            case 0:
                body += "  " + label + " : entity work." + child + "(rtl) port map (a => a, y => s" +
                        std::to_string(k) + ");\n";
                break;
            case 1:
                body += "  " + label + " : component " + child + " port map (a, s" + std::to_string(k) + ");\n";
                break;
            default:
                body += "  " + label + " : " + child + "\n    port map (a => a, -- input\n              y => s" +
                        std::to_string(k) + ");\n";
                break;
            }
            design.edges.insert({Lower(name), child});
        }
        if (random() % 2) body += "  p : process (a) begin end process p;\n";
        body += "end architecture rtl;\n";
        if (random() % 3 == 0) {
            design.files.push_back({name + ".vhd", entity});
            design.files.push_back({name + "_rtl.vhd", body});
        } else {
            design.files.push_back({name + ".vhd", entity + body});
        }
    };
    for (int i = 0; i < count; ++i) {
        std::vector<int> children;
        for (int j = 0; j < i; ++j)
            if (random() % 4 == 0) children.push_back(j);
        for (int child : children) used[static_cast<std::size_t>(child)] = true;
        unit("e" + std::to_string(i), children);
    }
    std::vector<int> roots;
    for (int i = 0; i < count; ++i)
        if (!used[static_cast<std::size_t>(i)]) roots.push_back(i);
    unit("top", roots);
    return design;
}

}  // namespace

TEST_F(Oracle, GeneratedVhdlDesignsGiveTheUnitsAndInstancesGhdlReports)
{
    if (!HasTool("ghdl")) GTEST_SKIP() << "ghdl is not installed (scripts/setup test installs it)";
    for (unsigned seed : {1u, 2u, 3u}) {
        Clear();
        const GeneratedDesign design = Generate(seed, 12);
        const std::string folder = m_folder / ("design" + std::to_string(seed));
        std::string analyse = "ghdl -a --std=08 --workdir=" + folder;
        for (const auto& [title, text] : design.files)
            analyse += " " + m_folder.Write(folder.substr(m_folder.Path().size() + 1) + "/" + title, text);
        ASSERT_EQ(Shell(analyse, folder), 0) << "ghdl does not take the generated design " << seed;
        ASSERT_EQ(Shell("ghdl --dir --std=08 --workdir=" + folder +
                            " work > units.txt && ghdl -e --std=08 --workdir=" + folder +
                            " top && ghdl -r --std=08 --workdir=" + folder + " top --disp-tree=inst > tree.txt",
                        folder),
                  0);
        // ghdl's units: "entity e3", "package comps" (its architectures are no units here).
        Names theirUnits;
        for (const std::string& line : Lines(m_folder.Read("design" + std::to_string(seed) + "/units.txt"))) {
            const std::size_t blank = line.find(' ');
            if (line.rfind("entity ", 0) == 0 || line.rfind("package ", 0) == 0)
                theirUnits.insert(line.substr(blank + 1));
        }
        // ghdl's tree: "`-name [entity]" under "`-u0 [instance]", indented two blanks a level.
        std::set<std::pair<std::string, std::string>> theirEdges;
        std::vector<std::string> entityAt;
        for (const std::string& line : Lines(m_folder.Read("design" + std::to_string(seed) + "/tree.txt"))) {
            if (line.size() < 9 || line.compare(line.size() - 9, 9, " [entity]") != 0) continue;
            const std::size_t mark = line.find("`-");
            const std::size_t depth = mark == std::string::npos ? 0 : mark / 2 + 1;
            const std::string name = line.substr(mark == std::string::npos ? 0 : mark + 2,
                                                 line.size() - 9 - (mark == std::string::npos ? 0 : mark + 2));
            entityAt.resize(depth + 1);
            entityAt[depth] = name;
            // An entity's parent entity stands three levels up: entity, architecture, instance.
            if (depth >= 3) theirEdges.insert({entityAt[depth - 3], name});
        }
        ASSERT_FALSE(theirEdges.empty());
        EXPECT_EQ(theirEdges, design.edges) << "the generator and ghdl disagree";

        // The scanner, in a shuffled order of files.
        std::vector<std::pair<std::string, std::string>> order = design.files;
        std::shuffle(order.begin(), order.end(), std::mt19937(seed));
        for (const auto& [title, text] : order) ScanPath(folder + "/" + title, zorpaMODULE_VHDL);
        Names ourUnits;
        std::set<std::pair<std::string, std::string>> ourEdges;
        for (const ImodelModule* unit : *ScanDesign().FindLibraryByName("work")->GetModules()) {
            ASSERT_TRUE(unit->GetModuleFile()) << unit->GetName() << " is left a placeholder";
            ourUnits.insert(Lower(unit->GetName()));
            // A package lists its components as sub-blocks; ghdl has no such instances.
            if (unit->IsPackage() || !unit->GetSubBlocks()) continue;
            for (const ImodelModule* sub : *unit->GetSubBlocks())
                ourEdges.insert({Lower(unit->GetName()), Lower(sub->GetName())});
        }
        EXPECT_EQ(ourUnits, theirUnits) << "seed " << seed;
        EXPECT_EQ(ourEdges, theirEdges) << "seed " << seed;
    }
}
