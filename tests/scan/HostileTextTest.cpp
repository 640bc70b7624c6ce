// Text no designer meant: binary bytes, comments, strings and identifiers
// left open, one line of 100 MB, deep nesting and 100,000 instances in one
// unit. The scanners end on each, and what they make of it stays consistent.
#include "ScanDesignSupport.h"
#include "src/icmd/scan/zorpaSchematicParser.h"
#include "src/icmd/scan/zorpaVHDLParser.h"
#include "src/icmd/scan/zorpaVerilogParser.h"

#include <random>

namespace {

class HostileText : public ScanDesignFixture {
protected:
    // Scans the text with the scanner of the kind into "work" and checks
    // that every unit found is in the library and linked both ways.
    Result Run(zorpaModuleTypes kind, std::string text)
    {
        ImodelModule prototype("prototype", nullptr, zorpaMODULE_UNKNOWN, false, "work", "", false);
        zorpaCreateParser<ImodelModule*> create(&prototype, nullptr);
        create.Visit(kind);
        ZorpaParser<ImodelModule*>& parser = *create.GetParser();
        parser.SetLibraries(ScanDesign().GetLibraries());
        Result result;
        result.parsed = parser.parseText("hostile", "work", nullptr, false, std::move(text));
        result.structural = parser.IsStructural();
        const auto& library = *parser.GetLibraryModules();
        for (auto [it, end] = parser.GetModuleRange(); it != end; ++it) {
            result.found.push_back((*it)->GetName());
            EXPECT_TRUE(library.contains(*it)) << (*it)->GetName();
            if (const auto* subs = (*it)->GetSubBlocks())
                for (const ImodelModule* sub : *subs) {
                    const auto* parents = sub->GetParentsList();
                    EXPECT_TRUE(parents && std::find(parents->begin(), parents->end(), *it) != parents->end());
                }
        }
        return result;
    }

    void Both(const std::string& text)
    {
        EXPECT_TRUE(Run(zorpaMODULE_VHDL, text).parsed);
        Clear();
        EXPECT_TRUE(Run(zorpaMODULE_VERILOG, text).parsed);
        Clear();
    }
};

std::string Repeat(const std::string& piece, std::size_t times)
{
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) text += piece;
    return text;
}

}  // namespace

TEST_F(HostileText, BinaryBytesAndOpenCommentsStringsAndNamesEnd)
{
    std::mt19937 random(1984);
    std::string bytes(1 << 20, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    Both(bytes);
    // Every byte value next to every opener the scanners know.
    std::string openers;
    for (int c = 0; c < 256; ++c)
        for (const char* opener :
             {"--", "/*", "//", "\"", "'", "\\", "(", "`define ", "`include \"", "entity ", "u : "})
            openers += std::string(opener) + static_cast<char>(c);
    Both(openers);
    for (const char* open : {"entity e is -- comment",
                             "module m; /* never closed",
                             "x <= \"never closed",
                             "x <= '",
                             "entity \\never closed is",
                             "module \\",
                             "u : leaf port map (a",
                             "`define X \\",
                             "`include \"never closed",
                             "`include <",
                             "module m; mid u (",
                             "u : entity",
                             "'",
                             "\r",
                             "\r\r\n\r",
                             ";",
                             "(",
                             ")",
                             "@",
                             "begin",
                             "`ifdef"})
        Both(open);
}

TEST_F(HostileText, OneLineOf100MegabytesIsOneStatementScannedOnce)
{
    // No statement end anywhere: one statement that shows behaviour at once.
    std::string line = "x <= a and b " + Repeat("c ", 50'000'000);
    const Result vhdl = Run(zorpaMODULE_VHDL, std::move(line));
    EXPECT_TRUE(vhdl.parsed);
    EXPECT_FALSE(vhdl.structural);
    Clear();
    // One token of 100 MB.
    const Result verilog = Run(zorpaMODULE_VERILOG, "module m " + std::string(100'000'000, 'a'));
    EXPECT_TRUE(verilog.parsed);
    EXPECT_TRUE(verilog.found.empty());  // the declaration never ends
}

TEST_F(HostileText, ALongLineOfLiteralsIsReadOnce)
{
    // A table constant on one line of 32 MB: every literal's close is
    // looked for up to itself, not to the end of the line first, or the
    // scan would take hours. The units on the lines after it are found.
    const std::string rom = "package rom_pkg is\n  constant ROM : rom_t := (" +
                            Repeat("x\"00\", '1', \\id\\, \"s\", ", 32'000'000 / 24) + "x\"FF\");\nend package;\n";
    const Result vhdl = Run(zorpaMODULE_VHDL, rom + "entity top is end;\narchitecture r of top is begin\n"
                                                    "  u : entity work.leaf port map (a);\nend;\n");
    EXPECT_EQ(vhdl.found, (std::vector<std::string>{"leaf", "rom_pkg", "top"}));
    Clear();
    const Result verilog = Run(zorpaMODULE_VERILOG, "module top;\n  localparam [7:0] R [0:3] = '{" +
                                                        Repeat("8'h00, \"s\", \\id ", 32'000'000 / 20) +
                                                        "8'hFF};\n  leaf u (.a(a));\nendmodule\n");
    EXPECT_EQ(verilog.found, (std::vector<std::string>{"leaf", "top"}));
}

TEST_F(HostileText, OpenersWithoutTheirCloseAreLookedAtABoundedLengthEach)
{
    // Statements that each start with an attribute's "(*" or a case
    // alternative's "when" whose close never comes: each look ends within
    // its bound, not at the end of the text, or four megabytes of them
    // would take hours.
    const std::size_t times = 4'000'000 / 10;
    const Result verilog = Run(zorpaMODULE_VERILOG, "module m;\n" + Repeat("(* end\n", times) + "leaf u ();\n");
    EXPECT_EQ(verilog.found, (std::vector<std::string>{"leaf", "m"}));
    Clear();
    const Result vhdl = Run(zorpaMODULE_VHDL, "entity e is end;\narchitecture a of e is begin\n" +
                                                  Repeat("when x is\n", times) + "u : leaf port map (x);\nend;\n");
    EXPECT_EQ(vhdl.found, (std::vector<std::string>{"e", "leaf"}));
    Clear();
    // Within the bound, a long attribute and a long list of choices are
    // still taken.
    const std::string longAttribute = "(* note = \"" + std::string(900, 'x') + "\" *)";
    EXPECT_EQ(Run(zorpaMODULE_VERILOG, "module m;\n" + longAttribute + " leaf u ();\nendmodule\n").found,
              (std::vector<std::string>{"leaf", "m"}));
    Clear();
    std::string choices = "when 0";
    for (int i = 1; i < 150; ++i) choices += " | " + std::to_string(i);
    EXPECT_EQ(Run(zorpaMODULE_VHDL, "entity e is end;\narchitecture a of e is begin\ng : case s generate\n" + choices +
                                        " => u : leaf port map (x);\nend generate;\nend;\n")
                  .found,
              (std::vector<std::string>{"e", "leaf"}));
}

TEST_F(HostileText, DeepNestingNeedsNoStack)
{
    const std::size_t depth = 1'000'000;
    const Result vhdl = Run(zorpaMODULE_VHDL, "entity e is end; architecture a of e is begin u : leaf port map " +
                                                  std::string(depth, '(') + std::string(depth, ')') + ";\n");
    EXPECT_EQ(vhdl.found, (std::vector<std::string>{"e", "leaf"}));
    Clear();
    const Result verilog =
        Run(zorpaMODULE_VERILOG, "module m; " + Repeat("begin ", depth) + "leaf u (" + std::string(depth, '(') +
                                     std::string(depth, ')') + ");" + Repeat("end ", depth) + "endmodule\n");
    EXPECT_EQ(verilog.found, (std::vector<std::string>{"leaf", "m"}));
}

TEST_F(HostileText, AHundredThousandInstancesInOneUnit)
{
    const int count = 100'000;
    std::string vhdl = "entity top is end; architecture a of top is begin\n";
    std::string verilog = "module top;\n";
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        vhdl += "u" + n + " : c" + n + " port map (a);\n";
        verilog += "c" + n + " u" + n + " (.a(a));\n";
    }
    EXPECT_EQ(Run(zorpaMODULE_VHDL, vhdl + "end;\n").found.size(), static_cast<std::size_t>(count + 1));
    EXPECT_EQ(Unit("top")->GetSubBlocks()->size(), static_cast<std::size_t>(count));
    Clear();
    EXPECT_EQ(Run(zorpaMODULE_VERILOG, verilog + "endmodule\n").found.size(), static_cast<std::size_t>(count + 1));
    Clear();
    // One unit instantiated 100,000 times is one sub-block.
    EXPECT_EQ(Run(zorpaMODULE_VERILOG, "module top;\n" + Repeat("leaf u (.a(a));\n", count) + "endmodule\n").found,
              (std::vector<std::string>{"leaf", "top"}));
    EXPECT_EQ(Unit("top")->GetSubBlocks()->size(), 1u);
}

TEST_F(HostileText, ANulByteHidesAtMostTheUnitItStandsIn)
{
    // A NUL is a byte like any other that is no text: wherever it stands,
    // every unit but the one it cuts (or, in VHDL, the one whose statement
    // it starts) is found.
    const std::pair<zorpaModuleTypes, std::string> designs[] = {
        {zorpaMODULE_VHDL, "library ieee; use ieee.std_logic_1164.all;\n"
                           "entity a is port (x : in bit); end;\n"
                           "architecture r of a is -- a comment\nbegin\n  u : entity work.b port map (x);\n"
                           "  y <= \"01\" & x\"F-\";\nend;\n"
                           "entity b is end;\nentity c is end;\nentity d is end;\n"},
        {zorpaMODULE_VERILOG, "module a(input x); // a comment\n  b u(.x(x));\n  assign y = \"s\";\nendmodule\n"
                              "`ifdef Q\nmodule b; endmodule\n`endif\n"
                              "module c; /* a block */ endmodule\nmodule d; endmodule\n"},
    };
    for (const auto& [kind, text] : designs) {
        for (std::size_t at = 0; at <= text.size(); ++at) {
            SCOPED_TRACE(std::to_string(kind) + " at " + std::to_string(at));
            std::string withNul = text;
            withNul.insert(at, 1, '\0');
            const Result result = Run(kind, withNul);
            ASSERT_TRUE(result.parsed);
            int lost = 0;
            for (const char* name : {"a", "b", "c", "d"}) {
                const ImodelModule* unit = Unit(name);
                lost += unit && unit->GetModuleType() == kind ? 0 : 1;  // a placeholder is no declaration
            }
            EXPECT_LE(lost, 1);
            Clear();
        }
    }
}
