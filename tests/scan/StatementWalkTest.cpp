// The statement walks of the VHDL and Verilog scanners step over words and
// blanks many bytes at a time. Here every statement end and every group end
// they find in random texts is compared with a plain walk that reads one
// token at a time through the scanner's own readToken, while the files are
// scanned into a design as parse_file scans them; and a statement passed
// over by its first word is checked to be one that concerns no unit.
#include "PlainWalk.h"
#include "ScanDesignSupport.h"
#include "src/icmd/scan/zorpaVHDLParser.h"
#include "src/icmd/scan/zorpaVerilogParser.h"

#include <cctype>
#include <random>
#include <sstream>
#include <utility>

namespace {

// Past the "=>" of the choices of a case alternative at `pos` ("when" and
// its choices), a byte at a time and literals a token at a time; null when
// the statement is none or a ";" comes first.
const char* PlainChoicesEnd(zorpaVHDLParser<ImodelModule*>& parser, const char* pos, const char* end)
{
    const char* const limit = pos + std::min<std::ptrdiff_t>(end - pos, zorpaVHDLLongestChoices);
    if (LowerCase(parser.readToken(pos, end, false, true, false)) != "when") return nullptr;
    for (;;) {
        SkipBlanksAndComments(parser, pos, end);
        if (pos >= limit || *pos == ';') return nullptr;
        if (*pos == '=' && pos + 1 < end && pos[1] == '>') return pos + 2;
        const char* token = pos;
        if ((*pos == '"' || *pos == '\'' || *pos == '\\') && !parser.readToken(token, end, true, true, false).empty())
            pos = token;
        else
            ++pos;
    }
}

// The end of the VHDL statement at `pos`, one token at a time.
const char* PlainVhdlEnd(zorpaVHDLParser<ImodelModule*>& parser, const char* pos, const char* end)
{
    if (const char* choicesEnd = PlainChoicesEnd(parser, pos, end)) return choicesEnd;
    bool first = true;
    for (;; first = false) {
        SkipBlanksAndComments(parser, pos, end);
        while (pos < end && *pos == '(') {
            pos = PlainGroupEnd(parser, pos, end);
            SkipBlanksAndComments(parser, pos, end);
        }
        if (pos >= end) return end;
        if (*pos == ';' || *pos == '@') return pos + 1;
        if (IsDelimiter(*pos)) {
            ++pos;
            continue;
        }
        const char* tokenStart = pos;
        const std::string token = LowerCase(parser.readToken(pos, end, true, true, false));
        if (token.empty()) {
            pos = tokenStart + 1;
        } else if (token == "is" || token == "begin" || token == "generate") {
            return pos;
        } else if (!first && !parser.GetCurrentPackageName().empty() && (token == "generic" || token == "port")) {
            const char* next = pos;
            SkipBlanksAndComments(parser, next, end);
            if (next < end && *next == '(') return tokenStart;
        }
    }
}

// A scanner whose every statement end is also found the plain way; the
// first difference is kept.
template <class Parser>
class Checked : public Parser {
public:
    Checked(ImodelModule* prototype) : Parser(prototype, nullptr) {}

    const char* findStatementEnd(const char* pos, const char* end) override
    {
        const char* found = Parser::findStatementEnd(pos, end);
        const char* plain = nullptr;
        if constexpr (std::is_same_v<Parser, zorpaVHDLParser<ImodelModule*>>)
            plain = PlainVhdlEnd(*this, pos, end);
        else
            plain = PlainVerilogEnd(*this, pos, end);
        if (found != plain && difference.empty())
            difference = "statement found " + std::to_string(found - pos) + " bytes long, plain " +
                         std::to_string(plain - pos) + ": " +
                         std::string(pos, static_cast<std::size_t>(std::min<std::ptrdiff_t>(end - pos, 80)));
        ++statements;
        return found;
    }

    // A statement passed over by its first word must be one in which no
    // statement operation finds anything.
    bool mayConcernUnits(const char* start, const char* end) override
    {
        const bool concerns = Parser::mayConcernUnits(start, end);
        if (concerns || !difference.empty()) return concerns;
        const ZorpaPortList ports = this->readPorts(start, end);
        if (!this->declaredUnitName(start, end).empty() || !this->instantiatedUnitName(start, end).empty() ||
            (ports && !ports->empty()) || this->otherStatement(start, end))
            difference = "statement passed over: " + std::string(start, end);
        ++passedOver;
        return concerns;
    }

    // Every group of the text, skipped outside any walk, against the plain way.
    void CheckGroups(const std::string& text)
    {
        const char* end = text.data() + text.size();
        for (const char* at = text.data(); at < end; ++at) {
            if (*at != '(' || !difference.empty()) continue;
            const char* found = this->skipGroup(at, end);
            const char* plain = PlainGroupEnd(*this, at, end);
            if (found != plain)
                difference = "group at " + std::to_string(at - text.data()) + ": found " + std::to_string(found - at) +
                             " bytes, plain " + std::to_string(plain - at);
        }
    }

    std::string difference;
    std::size_t statements = 0;
    std::size_t passedOver = 0;
};

// A random text of the language's words, literals, comments, groups and
// line ends, in random letter case, with and without blanks between them.
std::string RandomText(std::mt19937& random, const std::vector<std::string>& pieces)
{
    static const std::vector<std::string> separators = {
        "", " ", " ", " ", "\n", "\r\n", "\r", "\t", "  ", "\n    ", "                    "};
    const auto pick = [&random](const auto& list) -> const auto& { return list[random() % list.size()]; };
    std::string text;
    const int count = 1 + static_cast<int>(random() % 300);
    for (int i = 0; i < count; ++i) {
        std::string piece = pick(pieces);
        if (random() % 4 == 0)
            for (char& c : piece)
                if (random() % 2) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (random() % 16 == 0) piece = std::string(1 + random() % 40, 'a' + static_cast<char>(random() % 26));
        text += piece;
        text += pick(separators);
    }
    return text;
}

// clang-format off
const std::vector<std::string> kVhdlPieces = {
    "entity", "is", "begin", "generate", "end", "architecture", "rtl", "of", "package", "body", "component",
    "port", "generic", "map", "use", "work.", "ieee.std_logic_1164.all", "all", "process", "if", "then", "else",
    "u1", "clk", "top_level_unit_name", "s12", "16", "(", "(", "(", ")", ")", ";", ";", ";", ":", ",", ".", "@",
    "[", "]", "<=", "=>", ":=", "+", "-", "/", "#", "&", "$", "'", "\"", "\\", "\\ext id\\", "\\open",
    "\"str;ing (\"", "\"open", "x\"F--\"", "12UX\"F--\"", "sb\"1-0\"", "D\"\"", "ax\"F--", "'0'", "'('", "')'",
    "x'high", "'length", "a'range", "-- comment ; is (\n", "--", "-", "u : entity work.leaf port map (a => b);\n",
    "c : comp generic map (N => 2) port map (x, y);\n", "package p is\n", "end package p;\n",
    "component c is\n", "end component;\n", "gen : for i in 0 to 3 generate\n", "end generate;\n",
    "entity e is\n", "end entity e;\n", "architecture a of e is\n", "when", "when a : 1 | '=' =>\n",
    // Block comments, closed or not, next to words, literals and line comments.
    "/* c ; is ( */", "/*", "*/", "/", "*", "/* open", "a/*c*/is", "is/**/", "x\"/*\"", "--/*\n", "/*--*/",
    "/* entity e is\nbegin */", "a /= b", "'/'",
    // Words that run on into a literal, a comment or an odd byte, some of
    // them words that end a statement.
    "is\"", "begin--x\n", "generate'", "is'high", "ab\"--\"", "x\"F;0\"is", "q@is", "@begin", "gen\\x\\",
    "is\x80", "\xC3\xA9is", "begin!", "abcdefghijklmnopqrstis", "generate_the_long_name_begin", "IS", "Begin"};

const std::vector<std::string> kVerilogPieces = {
    "module", "endmodule", "begin", "end", "generate", "endgenerate", "endcase", "endtask", "case", "`include",
    "\"defs.vh\"", "`ifdef X\n", "`endif\n", "`define A 1 \\\n 2\n", "`timescale 1ns/1ps\n", "if", "else",
    "always", "assign", "initial", "u1", "Sub", "top_level_module_name", "$display", "(", "(", "(", ")", ")",
    ";", ";", ";", ":", ",", ".", "#", "#(", ".a(b)", "@", "=", "<=", "[3:0]", "'b0", "4'hF", "{", "}", "?",
    "//c ; begin (\n", "/* c ; end ( */", "/* open", "/", "*", "\"s;t\\\"r(\"", "\"open", "\\esc;id(", "\\",
    "sub #(.N(2)) u (.a(x), .y(y));\n", "and g (a, b, c);\n", "module m (input a, output y);\n", "endmodule\n",
    "always @(posedge clk) begin : blk\n", "`include \"inc.vh\"\n", "endprimitive", "primitive p (o, a);\n",
    "function f (input [7:0] v);\n", "endmodule\"s\"", "x#endmodule",
    // Words that run on into a string, a comment or an odd byte, some of
    // them words that end a statement or a block.
    "end\"x;\"", "begin//c\n", "module/*c*/", "endmodule\\", "gen\"a(\"", "m!", "`include\"a;b\"",
    "endcase\x80", "\xC3\xA9" "end", "abcdefghijklmnopqrstend", "generate_the_long_name_begin", "e", "b"};
// clang-format on

class StatementWalk : public ScanDesignFixture {
protected:
    // The design one scan of the text makes, with the scan's results.
    template <class Text>
    static std::string ScanToText(zorpaModuleTypes kind, Text&& text)
    {
        Clear();
        ScanDesign().SetDefaultVHDL(kind == zorpaMODULE_VHDL);
        ImodelModule prototype("prototype", nullptr, zorpaMODULE_UNKNOWN, false, "work", "", false);
        zorpaCreateParser<ImodelModule*> create(&prototype, nullptr);
        create.Visit(kind);
        ZorpaParser<ImodelModule*>& parser = *create.GetParser();
        parser.SetLibraries(ScanDesign().GetLibraries());
        EXPECT_TRUE(parser.parseText("random.txt", "work", nullptr, false, std::forward<Text>(text)));
        std::ostringstream out;
        out << Tree() << "structural " << parser.IsStructural() << "\nfound";
        for (auto [it, end] = parser.GetModuleRange(); it != end; ++it) out << " " << (*it)->GetName();
        out << "\nincludes";
        for (const std::string& name : parser.GetIncludeNames()) out << " " << name;
        return out.str();
    }

    // Scans the text into the design and checks every statement and group
    // end found against the plain walk; the statements walked and passed
    // over are counted.
    template <class Parser>
    void CompareOne(zorpaModuleTypes kind, const std::string& text, int round, std::size_t& statements,
                    std::size_t& passedOver)
    {
        Clear();
        ScanDesign().SetDefaultVHDL(kind == zorpaMODULE_VHDL);
        ImodelModule prototype("prototype", nullptr, zorpaMODULE_UNKNOWN, false, "work", "", false);
        Checked<Parser> parser(&prototype);
        parser.SetLibraries(ScanDesign().GetLibraries());
        parser.parseText("random.txt", "work", nullptr, round % 2 == 0, text);
        ASSERT_EQ(parser.difference, "") << "round " << round << " of text:\n" << text;
        parser.CheckGroups(text);
        ASSERT_EQ(parser.difference, "") << "round " << round << " of text:\n" << text;
        statements += parser.statements;
        passedOver += parser.passedOver;
    }

    // Random texts of the pieces.
    template <class Parser>
    void Compare(zorpaModuleTypes kind, const std::vector<std::string>& pieces, unsigned seed)
    {
        std::mt19937 random(seed);
        std::size_t statements = 0;
        std::size_t passedOver = 0;
        for (int round = 0; round < 1500; ++round) {
            ASSERT_NO_FATAL_FAILURE(
                CompareOne<Parser>(kind, RandomText(random, pieces), round, statements, passedOver));
        }
        EXPECT_GT(statements, 10000u);
        EXPECT_GT(passedOver, 1000u);
    }

    // Each tail after every prefix of up to three windows of a long word or
    // of blanks, so that the walk's windows end at every place of the tail:
    // within a word, just before a word that ends the statement, on a quote.
    template <class Parser>
    void CompareAtEveryPlace(zorpaModuleTypes kind, const std::vector<std::string>& tails)
    {
        std::size_t statements = 0;
        std::size_t passedOver = 0;
        int round = 0;
        for (const std::string& tail : tails)
            for (const char filler : {'a', ' ', '('})
                for (std::size_t length = 0; length < 48; ++length)
                    ASSERT_NO_FATAL_FAILURE(CompareOne<Parser>(kind, "x " + std::string(length, filler) + tail, round++,
                                                               statements, passedOver));
        EXPECT_GT(statements, tails.size() * 100);
    }
};

}  // namespace

TEST_F(StatementWalk, VhdlStatementAndGroupEndsAreThoseOfThePlainWalk)
{
    Compare<zorpaVHDLParser<ImodelModule*>>(zorpaMODULE_VHDL, kVhdlPieces, 2029);
}

TEST_F(StatementWalk, VerilogStatementAndGroupEndsAreThoseOfThePlainWalk)
{
    Compare<zorpaVerilogParser<ImodelModule*>>(zorpaMODULE_VERILOG, kVerilogPieces, 2930);
}

TEST_F(StatementWalk, VhdlWalksEndWhereThePlainWalkEndsWhereverTheirWindowsEnd)
{
    CompareAtEveryPlace<zorpaVHDLParser<ImodelModule*>>(
        zorpaMODULE_VHDL, {"is x;", "is", "begin y;", "b\"--\"is;", "x\"F--\"generate;", "q'high is;", "ab@is;",
                           "a(b)c is", "u : e port map (a => \"--\") is", "abcdefghijklmnopqris c;"});
}

TEST_F(StatementWalk, VerilogWalksEndWhereThePlainWalkEndsWhereverTheirWindowsEnd)
{
    CompareAtEveryPlace<zorpaVerilogParser<ImodelModule*>>(
        zorpaMODULE_VERILOG, {"end x;", "end", "begin y;", "b\"//\"end;", "b/*;*/endmodule", "m(a) module n;",
                              "\\esc;id end", "u (.a(\"(\")) end", "abcdefghijklmnopqrend c;"});
}

// A text the caller keeps is scanned where it lies when its line ends need
// no change, and from a copy otherwise; a text handed over is changed in
// place. Random texts of both languages, with and without carriage returns
// and a last line feed, give the same design, units found, structural flag
// and included files either way, and the kept text is left as it was.
TEST_F(StatementWalk, KeptTextScansAsTextHandedOver)
{
    std::mt19937 random(3129);
    const auto scan = [](zorpaModuleTypes kind, auto&& text) {
        return ScanToText(kind, std::forward<decltype(text)>(text));
    };
    int alike = 0;
    for (int round = 0; round < 400; ++round) {
        const bool vhdl = round % 2 == 0;
        std::string text = RandomText(random, vhdl ? kVhdlPieces : kVerilogPieces);
        // Alike line ends, none at the end, or the random ones (carriage
        // returns, and most often no line feed at the end).
        const unsigned ends = random() % 3;
        if (ends < 2) std::erase(text, '\r');
        if (ends == 0 && (text.empty() || text.back() != '\n')) text += '\n';
        if (ends == 1)
            while (!text.empty() && text.back() == '\n') text.pop_back();
        alike += text.find('\r') == std::string::npos && (text.empty() || text.back() == '\n') ? 1 : 0;
        const std::string kept = text;
        const zorpaModuleTypes kind = vhdl ? zorpaMODULE_VHDL : zorpaMODULE_VERILOG;
        const std::string fromKept = scan(kind, static_cast<const std::string&>(text));
        ASSERT_EQ(text, kept) << "round " << round;
        const std::string fromHandedOver = scan(kind, std::move(text));
        ASSERT_EQ(fromKept, fromHandedOver) << "round " << round << " of text:\n" << kept;
    }
    // Both ways of a kept text are taken often.
    EXPECT_GT(alike, 50);
    EXPECT_LT(alike, 350);
}

// Old Mac line ends (a carriage return alone), Windows ones, a mix of them
// and a byte order mark before the text change nothing the scan finds:
// random texts of both languages, their comments and directives ending
// with their lines, give the design their line feed form gives.
TEST_F(StatementWalk, LineEndsOfEveryKindAndAByteOrderMarkGiveOneDesign)
{
    std::mt19937 random(1987);
    const std::string mark = "\xEF\xBB\xBF";
    for (int round = 0; round < 300; ++round) {
        const bool vhdl = round % 2 == 0;
        const zorpaModuleTypes kind = vhdl ? zorpaMODULE_VHDL : zorpaMODULE_VERILOG;
        std::string text = RandomText(random, vhdl ? kVhdlPieces : kVerilogPieces);
        std::erase(text, '\r');
        const std::string expected = ScanToText(kind, text);
        for (int form = 0; form < 3; ++form) {
            std::string other = random() % 2 ? mark : "";
            for (const char c : text) {
                const unsigned end = form < 2 ? static_cast<unsigned>(form) : static_cast<unsigned>(random() % 3);
                other += c != '\n' ? std::string(1, c) : end == 0 ? "\r" : end == 1 ? "\r\n" : "\n";
            }
            ASSERT_EQ(ScanToText(kind, other), expected) << "round " << round << " form " << form << " of text:\n"
                                                         << text;
        }
    }
    // With a mark, the first unit of a file is still declared.
    const std::string verilog = ScanToText(zorpaMODULE_VERILOG, "module top_bom;\n  leaf u (.a(a));\nendmodule\n");
    EXPECT_NE(verilog.find("found leaf top_bom\n"), std::string::npos) << verilog;
    EXPECT_EQ(ScanToText(zorpaMODULE_VERILOG, mark + "module top_bom;\r  leaf u (.a(a));\rendmodule\r"), verilog);
    const std::string vhdl = ScanToText(zorpaMODULE_VHDL, "entity top_bom is end;\narchitecture r of top_bom is "
                                                          "begin\n  u : leaf port map (a);\nend;\n");
    EXPECT_NE(vhdl.find("found leaf top_bom\n"), std::string::npos) << vhdl;
    EXPECT_EQ(ScanToText(zorpaMODULE_VHDL, mark + "entity top_bom is end;\r\narchitecture r of top_bom is begin\r\n"
                                                  "  u : leaf port map (a);\r\nend;\r\n"),
              vhdl);
}

TEST(ScanWindows, EveryByteIsClassedAsTheByteAtATimeFormClassesIt)
{
    // Every byte value at every place of a window, both languages, with
    // random neighbours.
    std::mt19937 random(16);
    char text[16];
    for (const bool vhdl : {true, false})
        for (int value = 0; value < 256; ++value)
            for (unsigned place = 0; place < 16; ++place) {
                for (char& c : text) c = static_cast<char>(random());
                text[place] = static_cast<char>(value);
                const zorpaScan::Window vector = zorpaScan::ClassWindow(text, vhdl);
                const zorpaScan::Window bytes = zorpaScan::ClassWindowByBytes(text, vhdl);
                ASSERT_EQ(vector.plain, bytes.plain) << "byte " << value << " at " << place << (vhdl ? " (VHDL)" : "");
                ASSERT_EQ(vector.blank, bytes.blank) << "byte " << value << " at " << place << (vhdl ? " (VHDL)" : "");
            }
}
