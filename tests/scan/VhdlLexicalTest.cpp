// The VHDL scanner's lexical layer: tokens and port clauses (statement ends,
// declarations, instantiations and the structural test are checked through
// whole files in VhdlScanTest and OracleTest).
#include "ScanTestSupport.h"
#include "src/icmd/scan/zorpaVHDLParser.h"

#include <gtest/gtest.h>

#include <cctype>

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

TEST(VhdlLexical, ABitStringLiteralIsOneTokenWhateverItsDigits)
{
    Vhdl vhdl;
    // Don't-care digits are dashes: inside a bit-string literal they start
    // no comment, with or without a length and a signedness, in any case.
    for (const char* literal : {"x\"F---\"", "X\"--\"", "b\"1--0\"", "O\"7-\"", "12UX\"F--\"", "8sb\"1---\"",
                                "uo\"--\"", "SX\"-\"", "d\"255\"", "D\"\"", "16x\"----_----\""}) {
        SCOPED_TRACE(literal);
        const std::string text(literal);
        EXPECT_EQ(Tokens(vhdl.parser, text + " then -- a comment", true), (Strings{text, "then"}));
        EXPECT_EQ(Tokens(vhdl.parser, "m =" + text + " then", true), (Strings{"m", "=" + text, "then"}));
        // Without any text it is no name; one that starts with a letter moves
        // the position past it whole.
        const std::string named = text + " next";
        const char* pos = named.data();
        EXPECT_EQ(vhdl.parser.readToken(pos, named.data() + named.size(), false, true, false), "");
        EXPECT_EQ(std::string(pos), std::isalpha(static_cast<unsigned char>(text[0])) ? " next" : named);
        // Inside a group: the group closes after the literal, and the
        // statement ends at its own semicolon.
        EXPECT_EQ(Statements(vhdl.parser, "s <= '1' when std_match(m, " + text + ") else '0';\nu : leaf port map (a);"),
                  (Strings{"s <= '1' when std_match(m, " + text + ") else '0';", "u : leaf port map (a);"}));
    }
    // A quote after a word that is no base specifier opens nothing: the
    // word ends at the comment as any word does.
    for (const char* word : {"ax\"F--", "bb\"1--", "xu\"0--", "a1x\"F--", "_x\"F--", "ud\"1--"}) {
        SCOPED_TRACE(word);
        const std::string text(word);
        EXPECT_EQ(Tokens(vhdl.parser, text + "\nnext", true), (Strings{text.substr(0, text.size() - 2), "next"}));
    }
    // A literal left open ends with its line, as a string does.
    EXPECT_EQ(Tokens(vhdl.parser, "x\"F--\nentity", true), (Strings{"x\"F--", "entity"}));
}
