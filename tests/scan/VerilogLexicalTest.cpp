// The Verilog scanner's lexical layer: tokens, comments, the scan moving on,
// and port declarations (what units a file declares and instantiates is
// checked through whole files in VerilogScanTest and OracleTest).
#include "ScanTestSupport.h"
#include "src/icmd/scan/zorpaVerilogParser.h"

#include <gtest/gtest.h>

namespace {

using Verilog = ScannerWith<zorpaVerilogParser<ImodelModule*>>;
using Strings = std::vector<std::string>;

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

TEST(VerilogLexical, EveryStatementMovesTheScanOn)
{
    Verilog v;
    // A block's start standing first, as after a directive line, is a
    // statement of its own instead of one of no length.
    const std::string text = "begin x = 1;";
    EXPECT_EQ(v.parser.findStatementEnd(text.data(), text.data() + text.size()), text.data() + 5);
    EXPECT_EQ(Statements(v.parser, "`endif\nbegin\nx = 1;\n"), (Strings{"x = 1;"}));
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
    EXPECT_EQ((*outputs)[1]->GetName(), "r");
    for (const auto& port : *outputs) {
        EXPECT_EQ(port->GetDirection(), ZorpaPort::Out);
        EXPECT_EQ(port->GetLeft(), 7);
        EXPECT_EQ(port->GetRight(), 0);
        EXPECT_TRUE(port->IsCaseSensitive());
    }
    EXPECT_EQ(ports("input a;")->front()->GetLeft(), -1);
    EXPECT_EQ(ports("inout [3:0] io;")->front()->GetDirection(), ZorpaPort::InOut);
    EXPECT_FALSE(ports("input [7:0 a;"));
    EXPECT_FALSE(ports("wire a;"));
}
