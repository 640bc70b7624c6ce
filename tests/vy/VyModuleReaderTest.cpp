// One module and its ports read from a source file: random modules written
// in each style (Verilog with ports declared in the header or in the body,
// VHDL) read back as they were made; bounds given as expressions over the
// parameters; and the files and modules that give no ports.
#include "vy/VyLoaderFactory.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Port {
    std::string name;
    Vymodel::VyDirection::Value direction;
    bool bus;
    int left;
    int right;
};

// What a loaded module's ports are, one line each.
class Describe : public Vymodel::VyPortVisitor {
public:
    void Visit(Vymodel::VyBusPort* port) override
    {
        const auto [left, right] = port->GetBusRange();
        text = " " + std::to_string(left) + ":" + std::to_string(right);
    }
    void Visit(Vymodel::VyScalarPort*) override { text = " bit"; }
    std::string text;
};

std::string DirectionText(Vymodel::VyDirection::Value direction) { return Vymodel::VyDirection(direction).toString(); }

std::string Expected(const std::vector<Port>& ports)
{
    std::string text;
    for (const Port& port : ports)
        text += port.name + " " + DirectionText(port.direction) +
                (port.bus ? " " + std::to_string(port.left) + ":" + std::to_string(port.right) : " bit") + "\n";
    return text;
}

std::string Loaded(const boost::shared_ptr<Vymodel::VyModule>& module, bool sorted = false)
{
    if (!module) return "<none>";
    std::string text;
    for (const auto& port : module->GetPorts(sorted)) {
        Describe describe;
        port->Accept(describe);
        text += port->GetName() + " " + port->GetDirection().toString() + describe.text + "\n";
    }
    return text;
}

// A bound written as an expression over the module's parameter W (8) when
// it can be: W - (8 - value), else as the number.
std::string Bound(int value, std::mt19937& random)
{
    switch (random() % 3) {
    case 0:
        return "W - " + std::to_string(8 - value);
    case 1:
        return "(" + std::to_string(value) + ")";
    default:
        return std::to_string(value);
    }
}

std::string VerilogRange(const Port& port, std::mt19937& random)
{
    return port.bus ? "[" + Bound(port.left, random) + ":" + Bound(port.right, random) + "] " : "";
}

const char* VerilogDirection(Vymodel::VyDirection::Value direction)
{
    return direction == Vymodel::VyDirection::In    ? "input"
           : direction == Vymodel::VyDirection::Out ? "output"
                                                    : "inout";
}

std::string AnsiVerilog(const std::string& name, const std::vector<Port>& ports, std::mt19937& random)
{
    std::ostringstream text;
    text << "// module " << name << "(input fake);\n";
    text << "module " << name << " #(parameter W = 8) (\n";
    for (std::size_t i = 0; i < ports.size(); ++i)
        text << "  " << VerilogDirection(ports[i].direction) << (random() % 2 ? " wire " : " ")
             << VerilogRange(ports[i], random) << ports[i].name << (i + 1 < ports.size() ? ",\n" : "\n");
    text << ");\n  initial $display(\"input bogus;\");\nendmodule\n";
    return text.str();
}

std::string OlderVerilog(const std::string& name, const std::vector<Port>& ports, std::mt19937& random)
{
    std::ostringstream text;
    text << "module " << name << " (";
    for (std::size_t i = 0; i < ports.size(); ++i) text << (i ? ", " : "") << ports[i].name;
    text << ");\n  parameter W = 8;\n";
    text << "  function f; input [3:0] notaport; f = 0; endfunction\n";
    for (const Port& port : ports)
        text << "  " << VerilogDirection(port.direction) << " " << VerilogRange(port, random) << port.name << ";\n";
    text << "endmodule\n";
    return text.str();
}

std::string Vhdl(const std::string& name, const std::vector<Port>& ports, std::mt19937& random)
{
    std::ostringstream text;
    text << "-- entity " << name << " is port (x : in bit); end;\n";
    text << "library ieee;\nENTITY " << name << " IS\n  generic (w : integer := 8);\n  port (\n";
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const Port& port = ports[i];
        const char* mode = port.direction == Vymodel::VyDirection::In    ? "in"
                           : port.direction == Vymodel::VyDirection::Out ? (random() % 2 ? "out" : "buffer")
                                                                         : "inout";
        text << "    " << port.name << " : " << mode << " ";
        if (port.bus)
            text << "std_logic_vector(" << Bound(port.left, random) << (port.left >= port.right ? " downto " : " to ")
                 << Bound(port.right, random) << ")";
        else
            text << "std_logic";
        text << (i + 1 < ports.size() ? ";\n" : "\n");
    }
    text << "  );\nend " << name << ";\n";
    return text.str();
}

std::vector<Port> RandomPorts(std::mt19937& random, bool vhdl)
{
    std::vector<Port> ports;
    std::set<std::string> used;
    const int count = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < count; ++i) {
        std::string name = std::string(1, static_cast<char>('a' + random() % 26)) + "_" + std::to_string(random() % 50);
        if (!used.insert(name).second) continue;
        Port port{name, static_cast<Vymodel::VyDirection::Value>(random() % 3), random() % 2 == 0, 0, 0};
        if (port.bus) {
            port.left = static_cast<int>(random() % 40);
            port.right = static_cast<int>(random() % 40);
            // VHDL says which way a range runs: "downto" or "to" with the bounds.
            if (vhdl && port.left == port.right) port.right = port.left + 1;
        }
        ports.push_back(port);
    }
    return ports;
}

}  // namespace

TEST(VyModuleReader, RandomModulesOfEachStyleReadBackAsTheyWereWritten)
{
    std::mt19937 random(20240611);
    TempFolder folder;
    for (int round = 0; round < 150; ++round) {
        const int style = round % 3;
        const std::vector<Port> ports = RandomPorts(random, style == 2);
        const std::string name = "unit" + std::to_string(round);
        const std::string text = style == 0   ? AnsiVerilog(name, ports, random)
                                 : style == 1 ? OlderVerilog(name, ports, random)
                                              : Vhdl(name, ports, random);
        const std::string file = folder.Write(name + (style == 2 ? ".vhd" : ".v"), text);
        SCOPED_TRACE(text);
        const boost::shared_ptr<Vymodel::VyModule> module = Vymodel::VyLoaderFactory::LoadModule(file, nullptr, name);
        ASSERT_TRUE(module);
        EXPECT_EQ(module->GetName(), name);
        EXPECT_EQ(Loaded(module), Expected(ports));
    }
}

TEST(VyModuleReader, TheModuleAskedForOrTheFirstAndItsPortsByName)
{
    TempFolder folder;
    const std::string file = folder.Write("two.v", "module first(input b, output A);\nendmodule\n"
                                                   "module second(input [1:0] z);\nendmodule\n");
    EXPECT_EQ(Loaded(Vymodel::VyLoaderFactory::LoadModule(file, nullptr)), "b IN bit\nA OUT bit\n");
    EXPECT_EQ(Loaded(Vymodel::VyLoaderFactory::LoadModule(file, nullptr, "second")), "z IN 1:0\n");
    // Verilog names keep their letter case; VHDL's do not.
    EXPECT_EQ(Loaded(Vymodel::VyLoaderFactory::LoadModule(file, nullptr, "SECOND")), "<none>");
    EXPECT_EQ(Loaded(Vymodel::VyLoaderFactory::LoadModule(file, nullptr, "first"), true), "A OUT bit\nb IN bit\n");
    const std::string vhdl = folder.Write("top.VHDL", "entity Top is port (Clk, rst : in bit); end;\n");
    const auto top = Vymodel::VyLoaderFactory::LoadModule(vhdl, nullptr, "TOP");
    ASSERT_TRUE(top);
    EXPECT_EQ(top->GetName(), "Top");
    EXPECT_EQ(Loaded(top), "Clk IN bit\nrst IN bit\n");
    // Escaped names: VHDL's run to the closing backslash, a doubled one
    // staying in the name; Verilog's run to the next blank.
    const std::string escaped =
        folder.Write("escaped.vhd", "entity e is port (\\a\\\\b\\, \\c d\\ : in bit); end;\n");
    EXPECT_EQ(Loaded(Vymodel::VyLoaderFactory::LoadModule(escaped, nullptr)), "a\\\\b IN bit\nc d IN bit\n");
    const std::string verilog = folder.Write("escaped.v", "module m(input \\a+b , \\c\\ );\nendmodule\n");
    EXPECT_EQ(Loaded(Vymodel::VyLoaderFactory::LoadModule(verilog, nullptr)), "a+b IN bit\nc\\ IN bit\n");
}

TEST(VyModuleReader, NoModuleWhenAPortCannotBeTold)
{
    TempFolder folder;
    for (const auto& [name, text] : std::vector<std::pair<std::string, std::string>>{
             {"generic.vhd", "entity e is port (d : in bit_vector(N downto 0)); end;\n"},
             {"unbounded.vhd", "entity e is port (d : in std_logic_vector); end;\n"},
             {"division.v", "module m(input [8/0:0] d); endmodule\n"},
             {"huge.v", "module m(input [99999999999999:0] d); endmodule\n"},
             {"nodirection.v", "module m(a, b); input a; endmodule\n"},
             {"deep.v",
              "module m(input [" + std::string(100, '(') + "1" + std::string(100, ')') + ":0] d); endmodule\n"},
             {"nomodule.v", "// module m(input a);\n"},
             // An escaped name holds at least one character.
             {"emptyescaped.vhd", "entity e is port (\\\\ : in bit); end;\n"},
             {"emptyescaped.v", "module m(input \\ , b); endmodule\n"},
             {"other.txt", "module m(input a); endmodule\n"},
         }) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(Vymodel::VyLoaderFactory::LoadModule(folder.Write(name, text), nullptr));
    }
    EXPECT_FALSE(Vymodel::VyLoaderFactory::LoadModule(folder / "missing.v", nullptr));
    EXPECT_FALSE(Vymodel::VyLoaderFactory::LoadModule(folder.Path(), nullptr));
    // A module without ports has an empty list.
    const auto empty = Vymodel::VyLoaderFactory::LoadModule(folder.Write("empty.v", "module e; endmodule\n"), nullptr);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->GetPorts(false).empty());
}
