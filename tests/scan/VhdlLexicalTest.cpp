// The VHDL scanner's lexical layer: tokens and port clauses (statement ends,
// declarations, instantiations and the structural test are checked through
// whole files in VhdlScanTest and OracleTest).
#include "ScanTestSupport.h"
#include "src/icmd/scan/zorpaVHDLParser.h"

#include <gtest/gtest.h>

namespace {

using Vhdl = ScannerWith<zorpaVHDLParser<ImodelModule*>>;
using Strings = std::vector<std::string>;

std::string Declared(Vhdl& vhdl, const std::string& text)
{
    return std::string(
        OnStatement(text, [&](const char* s, const char* e) { return vhdl.parser.declaredUnitName(s, e); }));
}

}  // namespace

TEST(VhdlLexical, TokensKeepTheirCaseAndStopAtDelimitersAndComments)
{
    Vhdl vhdl;
    EXPECT_EQ(Tokens(vhdl.parser, "Entity  Top\tIS -- entity hidden is\n port(", false),
              (Strings{"Entity", "Top", "IS", "port"}));
    // An extended identifier holds blanks and its backslashes; the first
    // backslash after the opening one closes it. Left open, it is no token.
    EXPECT_EQ(Tokens(vhdl.parser, "\\my ent\\ is", false), (Strings{"\\my ent\\", "is"}));
    EXPECT_EQ(Tokens(vhdl.parser, "\\open is", false), Strings{});
    // Any text: strings, character literals, attributes and operators.
    EXPECT_EQ(Tokens(vhdl.parser, "s <= \"a;b\" & '0' & x'length - y'high", true),
              (Strings{"s", "<=", "\"a;b\"", "&", "'0'", "&", "x'length", "-", "y'high"}));
    EXPECT_EQ(Tokens(vhdl.parser, "'length) 'high' ')' '", true), (Strings{"'length"}));
    EXPECT_EQ(Tokens(vhdl.parser, "')' 'reverse_range 'a b'", true), (Strings{"')'", "'reverse_range", "'a b'"}));
    // Literals and extended identifiers end on their line: a stray quote or
    // backslash takes no line after it.
    EXPECT_EQ(Tokens(vhdl.parser, "\"open\nentity", true), (Strings{"\"open", "entity"}));
    EXPECT_EQ(Tokens(vhdl.parser, "\\open\nentity x is \\", false), Strings{});
    EXPECT_EQ(Statements(vhdl.parser, "x <= \"open\n & y;\nentity e is\ny <= 'z;\nend;"),
              (Strings{"x <= \"open & y;", "entity e is", "y <= 'z;", "end;"}));
    // Without any text a word must be an identifier: a token that holds
    // another character is empty, and the position still moves past it.
    Vhdl again;
    const std::string text = "ab$c next";
    const char* pos = text.data();
    EXPECT_EQ(again.parser.readToken(pos, text.data() + text.size(), false, true, false), "");
    EXPECT_EQ(std::string(pos), " next");
    pos = text.data() + 2;
    EXPECT_EQ(again.parser.readToken(pos, text.data() + text.size(), false, true, false), "");
    EXPECT_EQ(pos, text.data() + 2);  // no letter first: the position stays
    // A line end is no blank when the caller says so.
    EXPECT_EQ(Tokens(vhdl.parser, "a\nb", false, false), (Strings{"a"}));
}

TEST(VhdlLexical, PortClausesOfAnEntityGiveOnePortPerName)
{
    Vhdl vhdl;
    auto ports = [&](const std::string& text) {
        return OnStatement(text, [&](const char* s, const char* e) { return vhdl.parser.readPorts(s, e); });
    };
    const std::string clause = "port (a, b, c : in std_logic_vector(7 downto 0) := (others => '0');\n"
                               "      d : out bit; e : inout integer range 0 to 3; f : buffer bit);";
    EXPECT_FALSE(ports(clause));  // outside an entity and a component
    EXPECT_EQ(Declared(vhdl, "entity e is"), "e");
    const ZorpaPortList list = ports(clause);
    ASSERT_TRUE(list);
    Strings names;
    for (const auto& port : *list) names.push_back(port->GetName());
    EXPECT_EQ(names, (Strings{"a", "b", "c", "d", "e", "f"}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ((*list)[i]->GetDirection(), ZorpaPort::In);
        EXPECT_EQ((*list)[i]->GetLeft(), 7);
        EXPECT_FALSE((*list)[i]->IsCaseSensitive());
    }
    EXPECT_EQ((*list)[3]->GetDirection(), ZorpaPort::Out);
    EXPECT_EQ((*list)[3]->GetLeft(), -1);
    EXPECT_EQ((*list)[4]->GetDirection(), ZorpaPort::InOut);
    EXPECT_EQ((*list)[5]->GetDirection(), ZorpaPort::Out);
    // Cut off before its closing parenthesis, a clause gives no port.
    EXPECT_FALSE(ports("port (a : in bit; b : out bit;"));
    EXPECT_FALSE(ports("port a : in bit;"));
}
