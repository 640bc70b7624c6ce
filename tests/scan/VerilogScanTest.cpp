// Verilog files scanned into the design: modules, instances, primitives,
// conditionals, includes and the structural flag.
#include "DebugCapture.h"
#include "ScanDesignSupport.h"

#include <foundation/Sys.h>

#include <set>
#include <vector>

namespace {

class VerilogScan : public ScanDesignFixture {
protected:
    void SetUp() override
    {
        ScanDesignFixture::SetUp();
        ScanDesign().SetDefaultVHDL(false);
    }
    // A design emptied again, Verilog's case rule kept.
    static void Reset()
    {
        Clear();
        ScanDesign().SetDefaultVHDL(false);
    }
    Result Verilog(const std::string& title, const std::string& text, bool useAnyway = false)
    {
        return Scan(title, text, zorpaMODULE_VERILOG, "work", useAnyway);
    }
};

using Strings = std::vector<std::string>;

}  // namespace

TEST_F(VerilogScan, AModuleInstantiatedBeforeItsDeclarationIsLinked)
{
    const Result result = Verilog("top.v", "module top(input a, output b);\n"
                                           "  mid #(.W(2)) u1 (.a(a), .b(b));\n"
                                           "  and g1 (b, a, a);\n"
                                           "  nand (b, a, a);\n"
                                           "  top u0 (.a(a));\n"
                                           "endmodule\n"
                                           "module mid(input a, output b);\n"
                                           "  leaf l1 (a, b), l2 (b, a);\n"
                                           "endmodule\n");
    EXPECT_EQ(result.found, (Strings{"leaf", "mid", "top"}));
    // The gates add nothing, the self-instance adds no edge.
    EXPECT_EQ(Tree(), "top\n"
                      "  mid\n"
                      "    leaf ?\n");
    EXPECT_EQ(Unit("mid")->GetModuleType(), zorpaMODULE_VERILOG);
    EXPECT_TRUE(result.structural);
}

TEST_F(VerilogScan, AStatementOfThousandsOfInstancesLinksEachItsUnitOnce)
{
    // Port groups nested inside the instances' groups, and a last instance
    // whose group is not closed: the statement is then no instantiation.
    std::string text = "module top(input a, output b);\n  mid #(.W((2)))";
    for (int i = 0; i < 5000; ++i) text += (i ? ", u" : " u") + std::to_string(i) + " (.a((a)), .b(b))";
    const std::string closed = text + ";\n  leaf l (.a(a;\nendmodule\n";
    const Result result = Verilog("top.v", closed);
    EXPECT_EQ(result.found, (Strings{"mid", "top"}));
    EXPECT_EQ(Tree(), "top\n"
                      "  mid ?\n");
}

TEST_F(VerilogScan, SelfInstantiationIsReportedAndAddsNoEdge)
{
    DebugCapture debug;
    Verilog("loop.v", "module a; b u(); endmodule\nmodule b; a u(); b v(); endmodule\n");
    EXPECT_TRUE(debug.Holds("Error: the module a is instantiating itself.\n"));
    EXPECT_TRUE(debug.Holds("Error: the module b is instantiating itself.\n"));
    EXPECT_EQ(Tree(), "a\n"
                      "  b\n");
}

TEST_F(VerilogScan, AnInstanceOfAUnitFarAboveIsACycleAndOneOfAUnitBelowOrBesideIsNot)
{
    // A chain m0 -> m1 -> ... -> m300; the last also instantiates m0, far
    // above it (a cycle), m150 of the chain above it (a cycle too), a unit
    // below the chain's top that it does not reach from below (beside it)
    // and a new unit.
    std::string text = "module side; endmodule\n";
    for (int i = 0; i < 300; ++i)
        text += "module m" + std::to_string(i) + "; m" + std::to_string(i + 1) + " u (); endmodule\n";
    text += "module m300; m0 a (); m150 b (); side c (); fresh d (); endmodule\n";
    DebugCapture debug;
    Verilog("chain.v", text);
    EXPECT_TRUE(debug.Holds("Error: the module m0 is instantiating itself.\n"));
    EXPECT_TRUE(debug.Holds("Error: the module m150 is instantiating itself.\n"));
    EXPECT_FALSE(debug.Holds("Error: the module side is instantiating itself.\n"));
    const ImodelLinkList* subs = Unit("m300")->GetSubBlocks();
    ASSERT_NE(subs, nullptr);
    EXPECT_EQ(subs->size(), 2u);
    EXPECT_TRUE(subs->Contains(Unit("side")));
    EXPECT_TRUE(subs->Contains(Unit("fresh")));
}

TEST_F(VerilogScan, BothBranchesOfAConditionalAreScanned)
{
    const Result result =
        Verilog("cond.v", "`define FAST\n"
                          "module top;\n"
                          "`ifdef FAST\n"
                          "  fast u (.a(a));\n"
                          "`else\n"
                          "  slow u (.a(a));\n"
                          "`endif\n"
                          "`ifndef FAST\n"
                          "  other o (.a(a));\n"
                          "`endif\n"
                          "endmodule\n"
                          "`ifdef FAST\nmodule fast; endmodule\n`else\nmodule slow; endmodule\n`endif\n");
    EXPECT_EQ(result.found, (Strings{"fast", "other", "slow", "top"}));
    EXPECT_EQ(Tree(), "top\n"
                      "  fast\n"
                      "  slow\n"
                      "  other ?\n");
}

TEST_F(VerilogScan, LegalFormsAroundInstancesLoseNoUnit)
{
    // An older "macromodule", attributes before instances and declarations,
    // an array of instances, and instances right after a function or a
    // specify block, whose last word ends them without a ";".
    const Result result = Verilog("forms.v", "(* keep_hierarchy = \"yes\" *)\n"
                                             "module top (input clk);\n"
                                             "  (* dont_touch = \"true\" *) mid #(.W(2)) u1 (.clk(clk));\n"
                                             "  (* keep *)\n"
                                             "  (* mark = \"*) ;\" *) attr2 u2 (.clk(clk));\n"
                                             "  wire w; (* keep *) attr3 u3 (.clk(clk));\n"
                                             "  lane u4 [3:0] (.clk(clk)), u5 [1:0] (.clk(clk));\n"
                                             "  function f; input a; begin f = a; end endfunction\n"
                                             "  after_function u6 (.clk(clk));\n"
                                             "  specify (clk => w) = 1; endspecify\n"
                                             "  after_specify u7 (.clk(clk));\n"
                                             "  always @(*) w = clk;\n"
                                             "endmodule\n"
                                             "macromodule mid #(parameter W = 1) (input clk);\n"
                                             "  leaf l (.a(clk));\n"
                                             "endmodule\n"
                                             "module leaf (input a); endmodule\n");
    EXPECT_EQ(result.found,
              (Strings{"after_function", "after_specify", "attr2", "attr3", "lane", "leaf", "mid", "top"}));
    EXPECT_EQ(Tree(), "top\n"
                      "  mid\n"
                      "    leaf\n"
                      "  attr2 ?\n"
                      "  attr3 ?\n"
                      "  lane ?\n"
                      "  after_function ?\n"
                      "  after_specify ?\n");
    EXPECT_EQ(Unit("mid")->GetModuleType(), zorpaMODULE_VERILOG);
    EXPECT_FALSE(result.structural);
}

TEST_F(VerilogScan, ADamagedAttributeTakesNoStatementWithIt)
{
    // An attribute left open before a ";", an event control "@(*)" and a
    // "(*)" at a statement's start are no attributes: what follows is read
    // as before.
    Verilog("open.v", "module top;\n"
                      "  (* keep = 1 ;\n"
                      "  mid u1 (.a(a));\n"
                      "  (*) ;\n"
                      "  leaf u2 (.a(a));\n"
                      "  (* open\n");
    EXPECT_EQ(Tree(), "top\n"
                      "  mid ?\n"
                      "  leaf ?\n");
}

TEST_F(VerilogScan, IncludesAreRecordedOnceAndMadeAbsoluteAgainstTheFile)
{
    m_folder.Write("src/defs.vh", "`define W 8\n");
    const Result result = Scan("src/top.v",
                               "`include \"defs.vh\"\n`include \"../common/bus.vh\"\n`include \"defs.vh\"\n"
                               "module top; endmodule\n",
                               zorpaMODULE_VERILOG);
    ASSERT_EQ(result.includes, (std::deque<std::string>{"defs.vh", "../common/bus.vh"}));
    // As parse_file records them: absolute, against the file's folder.
    const std::string folder = m_folder / "src";
    EXPECT_EQ(AcmdGetQualifiedName(result.includes[0], false, folder), m_folder / "src/defs.vh");
    EXPECT_EQ(AcmdGetQualifiedName(result.includes[1], false, folder), m_folder / "common/bus.vh");
    EXPECT_EQ(result.found, (Strings{"top"}));
}

TEST_F(VerilogScan, BehaviourMakesTheFileBehavioural)
{
    const std::string wires = "module s(input a, output b, output c);\n  mid u (.a(a));\n  assign b = a;\n";
    EXPECT_TRUE(Verilog("s1.v", wires + "  assign c = -1;\nendmodule\n").structural);
    EXPECT_FALSE(Verilog("s2.v", wires + "  assign c = a & b;\nendmodule\n").structural);
    EXPECT_FALSE(Verilog("s3.v", wires + "  always @(posedge a) c <= b;\nendmodule\n").structural);
    EXPECT_FALSE(Verilog("s4.v", wires + "  initial begin c = 0; end\nendmodule\n").structural);
    EXPECT_FALSE(
        Verilog("s5.v", wires + "  generate if (1) begin mid v (.a(a)); end endgenerate\nendmodule\n").structural);
}

TEST_F(VerilogScan, AModuleOfAnotherFileIsReportedUnlessTheFileIsUsedAnyway)
{
    Verilog("a.v", "module alu; endmodule\n");
    const Result second = Verilog("b.v", "module alu; sub s (); endmodule\n");
    EXPECT_EQ(second.alreadyDefined, "alu");
    EXPECT_EQ(Unit("alu")->GetFileName(), m_folder / "a.v");
    EXPECT_EQ(Unit("sub"), nullptr);
    // Verilog names compare with their case: "ALU" is another module.
    EXPECT_EQ(Verilog("c.v", "module ALU; endmodule\n").alreadyDefined, "");
}

TEST_F(VerilogScan, ANameDifferingInCaseOnlyIsRefusedWhereItWouldCloseACycle)
{
    // No unit may stand above itself, and every unit declared keeps its file.
    auto acyclic = [] {
        for (auto [it, end] = ScanDesign().GetLibraries(); it != end; ++it)
            for (const ImodelModule* unit : *(*it)->GetModules()) {
                std::set<const ImodelModule*> above;
                std::vector<const ImodelModule*> pending{unit};
                while (!pending.empty()) {
                    const ImodelModule* next = pending.back();
                    pending.pop_back();
                    if (const auto* parents = next->GetParentsList())
                        for (const ImodelModule* parent : *parents)
                            if (above.insert(parent).second) pending.push_back(parent);
                }
                if (above.count(unit)) return false;
            }
        return true;
    };

    // A wrapper named after the primitive it wraps.
    DebugCapture debug;
    Verilog("iddr.v", "module iddr(input d, output q); IDDR u(.D(d), .Q(q)); endmodule\n");
    EXPECT_TRUE(debug.Holds("Error: the module iddr is instantiating itself.\n"));
    EXPECT_EQ(Tree(), "iddr\n");
    EXPECT_TRUE(acyclic());

    // A cycle through a name in another case, in one file and over two
    // files, in either order: the edge scanned last closes it and is refused.
    const std::string top = "module top2; mid2 u(); endmodule\n";
    const std::string mid = "module mid2; TOP2 u(); endmodule\n";
    Reset();
    Verilog("both.v", top + mid);
    EXPECT_EQ(Tree(), "top2\n"
                      "  mid2\n");
    Reset();
    Verilog("top2.v", top);
    Verilog("mid2.v", mid);
    EXPECT_EQ(Tree(), "top2\n"
                      "  mid2\n");
    // The other way round the placeholder TOP2 is the unit top2 declares.
    Reset();
    Verilog("mid2.v", mid);
    Verilog("top2.v", top);
    EXPECT_EQ(Tree(), "mid2\n"
                      "  TOP2\n");
    EXPECT_EQ(Placeholders(), 0);
    EXPECT_TRUE(acyclic());
    Reset();
    Verilog("both.v", mid + top);
    EXPECT_EQ(Tree(), "mid2\n"
                      "  TOP2\n");
    EXPECT_EQ(Placeholders(), 0);
    EXPECT_TRUE(acyclic());

    // A module whose name differs in case and that exists is another module.
    Reset();
    Verilog("b.v", "module ALU; endmodule\n");
    Verilog("a.v", "module alu; ALU u(); endmodule\n");
    EXPECT_EQ(Tree(), "alu\n"
                      "  ALU\n");
}

TEST_F(VerilogScan, FunctionsTasksAndPrimitivesAreNoInstances)
{
    // Headers with their ports in a group have an instance's shape; the
    // design keeps only the real instances.
    const Result result = Verilog("forms.v", "module top #(parameter D = 16) (input clk, output reg [7:0] q);\n"
                                             "  function parity (input [7:0] v);\n"
                                             "    parity = ^v;\n"
                                             "  endfunction\n"
                                             "  task send (input [7:0] b);\n"
                                             "    begin q = b; end\n"
                                             "  endtask\n"
                                             "  leaf u1 (.clk(clk));\n"
                                             "  myudp u2 (q[0], clk, clk);\n"
                                             "endmodule\n"
                                             "primitive myudp (out, a, b);\n"
                                             "  output out; input a, b;\n"
                                             "  table 0 0 : 0; 1 ? : 1; endtable\n"
                                             "endprimitive\n"
                                             "module leaf (input clk); endmodule\n");
    EXPECT_EQ(result.found, (Strings{"leaf", "myudp", "top"}));
    EXPECT_EQ(Tree(), "top\n"
                      "  leaf\n"
                      "  myudp ?\n");
}

TEST_F(VerilogScan, AUnitsInstancesEndWithItsBody)
{
    // Each source: what the design holds after it. A module whose header is
    // not read (its name a macro) holds what nobody holds; a body closed
    // with "endmodule" lends nothing to the text after it.
    const std::pair<std::string, std::string> cases[] = {
        {"`define CHIP_TOP chip_top\n"
         "module top (input clk);\n  leaf u1 (.clk(clk));\nendmodule\n"
         "module `CHIP_TOP (input clk);\n  pll u_pll (.clk(clk));\n  top u_top (.clk(clk));\nendmodule\n"
         "module leaf (input clk); endmodule\nmodule pll (input clk); endmodule\n",
         "pll\ntop\n  leaf\n"},
        // Statements between units, and a closing word after a statement
        // that no ";" ends.
        {"module a; b u (); endmodule\nc v ();\nmodule d; fork join endmodule\ne w ();\n", "a\n  b ?\nd\n"},
        // The header of an unread module ends the unit before it even
        // without its "endmodule".
        {"module a; b u ();\nmodule `M; c v (); endmodule\n", "a\n  b ?\n"},
        {"macromodule a; b u (); endmodule\nmodule `M; c v (); endmodule\n", "a\n  b ?\n"},
        // Names that only hold the closing word stay names.
        {"module a; endmodule_x u (); b_endmodule v (); endmodule\n", "a\n  endmodule_x ?\n  b_endmodule ?\n"},
    };
    for (const auto& [text, tree] : cases) {
        Reset();
        Verilog("units.v", text);
        EXPECT_EQ(Tree(), tree) << text;
    }
}
