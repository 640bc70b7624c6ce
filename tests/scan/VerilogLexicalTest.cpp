// The Verilog scanner's lexical layer: tokens, comments, directives,
// statement ends, declarations, instantiations, includes, assignments, the
// structural test and port declarations.
#include "ScanTestSupport.h"
#include "src/icmd/scan/zorpaVerilogParser.h"

#include <gtest/gtest.h>

namespace {

using Verilog = ScannerWith<zorpaVerilogParser<ImodelModule*>>;
using Strings = std::vector<std::string>;

std::string Declared(Verilog& v, const std::string& text)
{
    return std::string(
        OnStatement(text, [&](const char* s, const char* e) { return v.parser.declaredUnitName(s, e); }));
}

std::string Instantiated(Verilog& v, const std::string& text)
{
    return std::string(
        OnStatement(text, [&](const char* s, const char* e) { return v.parser.instantiatedUnitName(s, e); }));
}

bool Structural(Verilog& v, const std::string& text)
{
    return OnStatement(text, [&](const char* s, const char* e) { return v.parser.isStructuralStatement(s, e); });
}

bool Other(Verilog& v, const std::string& text)
{
    return OnStatement(text, [&](const char* s, const char* e) { return v.parser.otherStatement(s, e); });
}

}  // namespace

TEST(VerilogLexical, TokensSkipBothCommentFormsAndEscapedNamesEndAtWhiteSpace)
{
    Verilog v;
    EXPECT_EQ(Tokens(v.parser, "module /* a\n comment */ top // rest\n(", false), (Strings{"module", "top"}));
    EXPECT_EQ(Tokens(v.parser, "\\a+b$ \\c(d\n e", false), (Strings{"\\a+b$", "\\c(d", "e"}));
    EXPECT_EQ(Tokens(v.parser, "\\open", false), Strings{});
    EXPECT_EQ(Tokens(v.parser, "$display 8'hFF `define", true), (Strings{"$display", "8'hFF", "`define"}));
    EXPECT_EQ(Tokens(v.parser, "8'hFF", false), Strings{});
    // A quote escaped in a string does not close it; a line end does.
    EXPECT_EQ(Tokens(v.parser, "\"say \\\"hi\\\";\" next", true), (Strings{"\"say \\\"hi\\\";\"", "next"}));
    EXPECT_EQ(Tokens(v.parser, "\"open\nnext", true), (Strings{"\"open", "next"}));
    // A name ends before a parameter list.
    EXPECT_EQ(Tokens(v.parser, "top#(", false), (Strings{"top"}));
    EXPECT_EQ(Tokens(v.parser, "/* never closed", false), Strings{});
}

TEST(VerilogLexical, StatementsEndAtSemicolonsBlockWordsAndTheNextModule)
{
    Verilog v;
    const std::string text = "`timescale 1ns/1ps\n"
                             "`include \"defs.vh\"\n"
                             "module top(input a, output b);\n"
                             "  always @(posedge a) begin : blk\n"
                             "    if (a) b <= 1; else b <= 0;\n"
                             "  end\n"
                             "  generate mid u1(.a(a)); endgenerate\n"
                             "  begin begin x = 1; end end\n"
                             "endmodule\n"
                             "`ifndef SKIP\n"
                             "`define LONG(x) \\\n"
                             "    (x + 1)\n"
                             "module next; endmodule `endif\n";
    EXPECT_EQ(Statements(v.parser, text),
              (Strings{"`include \"defs.vh\"", "module top(input a, output b);", "always @(posedge a)", "b <= 1;",
                       "else b <= 0;", "end", "generate", "mid u1(.a(a));", "endgenerate", "x = 1;", "end", "end",
                       "endmodule", "module next;", "endmodule"}));
}

TEST(VerilogLexical, EveryStatementMovesTheScanOn)
{
    Verilog v;
    // A block's start standing first, as after a directive line, is a
    // statement of its own instead of one of no length.
    const std::string text = "begin x = 1;";
    EXPECT_EQ(v.parser.findStatementEnd(text.data(), text.data() + text.size()), text.data() + 5);
    EXPECT_EQ(Statements(v.parser, "`endif\nbegin\nx = 1;\n"), (Strings{"x = 1;"}));
}

TEST(VerilogLexical, DeclarationsInstantiationsAndPrimitivesHaveOneShapeEach)
{
    Verilog v;
    EXPECT_EQ(Declared(v, "module top#(parameter W = 1)(input a);"), "top");
    EXPECT_EQ(Declared(v, "module \\odd+name (a);"), "\\odd+name");
    EXPECT_EQ(Declared(v, "MODULE top;"), "");
    EXPECT_EQ(Declared(v, "module top"), "");

    EXPECT_EQ(Instantiated(v, "mid #(.W(8)) u1 (.a(a)), u2 (.a(b)) ;"), "mid");
    EXPECT_EQ(Instantiated(v, "mid u1 (/* ) */ .a(\")\"));"), "mid");
    EXPECT_EQ(Instantiated(v, "and g1 (o, a, b);"), "and");  // refused by isUserUnit, below
    EXPECT_EQ(Instantiated(v, "mid u1 (.a(a))"), "");
    EXPECT_EQ(Instantiated(v, "mid u1 (.a(a)) x;"), "");
    EXPECT_EQ(Instantiated(v, "mid u1 (.a(a)),;"), "");
    EXPECT_EQ(Instantiated(v, "mid # u1 (a);"), "");
    EXPECT_EQ(Instantiated(v, "assign a = b;"), "");
    EXPECT_EQ(Instantiated(v, "$display(\"x\");"), "");

    for (std::string_view word : zorpaVerilogPrimitives) EXPECT_FALSE(v.parser.isUserUnit(word, nullptr)) << word;
    EXPECT_TRUE(v.parser.isUserUnit("AND", nullptr));  // words compare with their case
    EXPECT_TRUE(v.parser.isUserUnit("mid", nullptr));
}

TEST(VerilogLexical, AssignmentsIncludesAndBehaviourWords)
{
    Verilog v;
    EXPECT_TRUE(Other(v, "assign y = a;"));
    EXPECT_TRUE(v.parser.IsStructural());
    EXPECT_FALSE(Other(v, "assign y;"));
    EXPECT_TRUE(Other(v, "assign y = a & b;"));
    EXPECT_FALSE(v.parser.IsStructural());

    EXPECT_TRUE(Other(v, "`include <sub/b.vh> wire x;"));
    EXPECT_TRUE(Other(v, "`include \"open.v\nmodule m;"));  // a name left open names no file
    EXPECT_TRUE(Other(v, "`include"));
    EXPECT_EQ(v.parser.GetIncludeNames(), (std::deque<std::string>{"sub/b.vh"}));

    EXPECT_TRUE(Structural(v, "wire a;"));
    EXPECT_TRUE(Structural(v, "Always x;"));
    for (std::string_view word : zorpaVerilogBehaviourWords)
        EXPECT_FALSE(Structural(v, std::string(word) + " x;")) << word;
}

TEST(VerilogLexical, PortDeclarationsWithAndWithoutARange)
{
    Verilog v;
    auto ports = [&](const std::string& text) {
        return OnStatement(text, [&](const char* s, const char* e) { return v.parser.readPorts(s, e); });
    };
    const ZorpaPortList outputs = ports("output reg [7:0] q, r;");
    ASSERT_TRUE(outputs);
    ASSERT_EQ(outputs->size(), 2u);
    EXPECT_EQ((*outputs)[0]->GetName(), "q");
    EXPECT_EQ((*outputs)[1]->GetName(), "r");
    for (const auto& port : *outputs) {
        EXPECT_EQ(port->GetDirection(), ZorpaPort::Out);
        EXPECT_EQ(port->GetLeft(), 7);
        EXPECT_EQ(port->GetRight(), 0);
        EXPECT_TRUE(port->IsCaseSensitive());
    }
    const ZorpaPortList inputs = ports("input a;");
    ASSERT_TRUE(inputs);
    ASSERT_EQ(inputs->size(), 1u);
    EXPECT_EQ((*inputs)[0]->GetDirection(), ZorpaPort::In);
    EXPECT_EQ((*inputs)[0]->GetLeft(), -1);
    EXPECT_EQ(ports("inout [3:0] io;")->front()->GetDirection(), ZorpaPort::InOut);
    EXPECT_FALSE(ports("input [7:0 a;"));
    EXPECT_FALSE(ports("wire a;"));
    EXPECT_FALSE(ports("input a"));
}
