// The Verilog scanner steps over most bytes unread and reads each
// statement's first word once for all its questions. Here random designs,
// with comments, strings, attributes, macros, `ifdef nesting and malformed
// text placed at random, are scanned both by it and by the plain way: every
// token read one at a time through readToken, every statement asked every
// question, every group read token by token. The units, their links both
// ways, the per-file results and the messages must be the same.
#include "DebugCapture.h"
#include "PlainWalk.h"
#include "ScanDesignSupport.h"

#include <memory>
#include <random>

namespace {

using Verilog = zorpaVerilogParser<ImodelModule*>;

// The Verilog scanner with every statement operation done the plain way.
class PlainVerilog : public Verilog {
public:
    explicit PlainVerilog(ImodelModule* prototype) : Verilog(prototype, nullptr) {}

    const char* findStatementEnd(const char* pos, const char* end) override { return PlainVerilogEnd(*this, pos, end); }

    bool mayConcernUnits(const char*, const char*) override { return true; }

    bool preprocessorLine(const char*& pos, const char* end) override
    {
        for (;;) {
            SkipBlanksAndComments(*this, pos, end);
            if (pos >= end) break;
            const char* next = pos;
            std::string_view token = Any(next, end);
            if (token == "begin") {
                pos = next;
                if (NextIs(next, end, ':')) {
                    ++next;
                    Name(next, end);
                    pos = next;
                }
                continue;
            }
            if (token == "if" && NextIs(next, end, '(')) {
                pos = PlainGroupEnd(*this, next, end);
                this->setStructural(false);
                continue;
            }
            if (const char* attributeEnd = AttributeEnd(pos, end)) {
                pos = attributeEnd;
                continue;
            }
            next = pos;
            token = readToken(next, end, true, false, true);
            if (!zorpaScan::IsOneOfExactly(token, zorpaVerilogLineDirectives)) break;
            pos = DirectiveEnd(next, end);
        }
        return true;
    }

    std::string_view declaredUnitName(const char* start, const char* end) override
    {
        const char* pos = start;
        if (!zorpaScan::EndsWith(start, end, ';') ||
            !zorpaScan::IsOneOfExactly(Name(pos, end), zorpaVerilogModuleWords))
            return {};
        return Name(pos, end);
    }

    std::string_view instantiatedUnitName(const char* start, const char* end) override
    {
        const char* pos = start;
        if (!zorpaScan::EndsWith(start, end, ';')) return {};
        const std::string_view name = Name(pos, end);
        if (name.empty() || zorpaScan::IsOneOfExactly(name, zorpaVerilogKeywords)) return {};
        if (NextIs(pos, end, '#')) {
            ++pos;
            if (!NextIs(pos, end, '(')) return {};
            pos = PlainGroupEnd(*this, pos, end);
        }
        for (bool more = true; more;) {
            if (Name(pos, end).empty()) return {};
            if (NextIs(pos, end, '[')) {
                while (pos < end && *pos != ']') ++pos;
                if (pos == end) return {};
                ++pos;
            }
            if (!NextIs(pos, end, '(')) return {};
            pos = PlainGroupEnd(*this, pos, end);
            more = NextIs(pos, end, ',');
            if (more) ++pos;
        }
        return AtClosingSemicolon(pos, end) ? name : std::string_view();
    }

    bool otherStatement(const char* start, const char* end) override
    {
        // A continuous assignment.
        const char* pos = start;
        if (zorpaScan::EndsWith(start, end, ';') && Name(pos, end) == "assign" && !Name(pos, end).empty() &&
            NextIs(pos, end, '=')) {
            ++pos;
            if (!Any(pos, end).empty()) {
                if (!AtClosingSemicolon(pos, end)) this->setStructural(false);
                return true;
            }
        }
        // An include.
        pos = start;
        const std::string_view first = Any(pos, end);
        if (first != "`include") return UnitEnd(start, end);
        for (;;) {
            while (pos < end && (*pos == ' ' || *pos == '\t')) ++pos;
            if (!skipComment(pos, end)) break;
        }
        if (pos >= end || (*pos != '"' && *pos != '<')) return true;
        const char close = *pos == '"' ? '"' : '>';
        const char* nameEnd = pos + 1;
        while (nameEnd < end && *nameEnd != close && *nameEnd != '\n' && *nameEnd != '\r') ++nameEnd;
        if (nameEnd < end && *nameEnd == close && nameEnd > pos + 1)
            this->addIncludeName(std::string(pos + 1, nameEnd));
        return true;
    }

    bool isStructuralStatement(const char* start, const char* end) override
    {
        for (const char* pos = start;;) {
            const std::string_view token = Any(pos, end);
            if (token.empty()) return true;
            if (zorpaScan::IsOneOfExactly(token, zorpaVerilogBehaviourWords)) return false;
        }
    }

private:
    // A statement whose last token closes a unit, or the header of a
    // primitive or of a module not taken as one, leaves no unit current;
    // it is handled when it is that closing word alone.
    bool UnitEnd(const char* start, const char* end)
    {
        const char* pos = start;
        std::string_view first;
        std::string_view last;  // the last token, when it ends the statement
        for (bool atFirst = true; SkipBlanksAndComments(*this, pos, end), pos < end; atFirst = false) {
            const char* tokenStart = pos;
            const std::string_view token = Any(pos, end);
            if (token.empty()) pos = tokenStart + 1;  // a delimiter
            if (atFirst) first = token;
            last = pos == end ? token : std::string_view();
        }
        const bool closing = zorpaScan::IsOneOfExactly(last, zorpaVerilogUnitEndWords);
        if (!closing && first != "primitive" && !zorpaScan::IsOneOfExactly(first, zorpaVerilogModuleWords))
            return false;
        this->setCurrentUnit(this->nullModule());
        return closing && last.data() == first.data();
    }

    std::string_view Any(const char*& pos, const char* end) { return readToken(pos, end, true, true, false); }
    std::string_view Name(const char*& pos, const char* end) { return readToken(pos, end, false, true, false); }

    bool NextIs(const char*& pos, const char* end, char c)
    {
        SkipBlanksAndComments(*this, pos, end);
        return pos < end && *pos == c;
    }

    bool AtClosingSemicolon(const char* pos, const char* end)
    {
        SkipBlanksAndComments(*this, pos, end);
        return pos == end - 1 && *pos == ';';
    }

    // Past the "*)" of an attribute "(* ... *)" at `pos`, a byte at a time;
    // null for "(*)" and for one that a ";" or the end reaches first.
    static const char* AttributeEnd(const char* pos, const char* end)
    {
        if (end - pos < 3 || std::string_view(pos, 2) != "(*" || pos[2] == ')') return nullptr;
        const char* const limit = pos + std::min<std::ptrdiff_t>(end - pos, zorpaVerilogLongestAttribute);
        bool inString = false;
        for (pos += 2; pos < limit; ++pos) {
            if (inString) {
                if (*pos == '\\' && pos + 1 < end && pos[1] != '\n')
                    ++pos;
                else if (*pos == '"' || *pos == '\n')
                    inString = false;
            } else if (*pos == '"') {
                inString = true;
            } else if (*pos == ';') {
                return nullptr;
            } else if (*pos == '*' && pos + 1 < end && pos[1] == ')') {
                return pos + 2;
            }
        }
        return nullptr;
    }

    // Past the line end that no backslash continues, a byte at a time.
    const char* DirectiveEnd(const char* pos, const char* end)
    {
        bool continued = false;
        while (pos < end) {
            const char c = *pos;
            if (c == '\n') {
                if (!continued) return pos + 1;
                continued = false;
                ++pos;
            } else if (c == '/' && end - pos >= 2 && pos[1] == '/') {
                while (pos < end && *pos != '\n') ++pos;
                continued = false;
            } else if (c == '/' && end - pos >= 2 && pos[1] == '*') {
                skipComment(pos, end);
            } else if (c == '"') {
                const char* stop = pos;
                readToken(stop, end, true, false, true);  // the string, closed or ended by its line
                pos = stop;
                continued = false;
            } else {
                if (c != ' ' && c != '\t' && c != '\r') continued = c == '\\';
                ++pos;
            }
        }
        return end;
    }
};

// clang-format off
const std::vector<std::string> kNames = {"top", "mid", "leaf", "Leaf", "TOP", "sub_1", "\\esc$name ", "and", "cell",
                                         "task"};
const std::vector<std::string> kNoise = {
    " ", " ", " ", "\n", "\n  ", "\t", "\r\n", "", "  /* c ; end ( */ ", " // c ; begin (\n", "/*x*/",
    " (* keep = 1 *) ", "\"s;t(r\"", " `WIDTH ", "\n`ifdef A\n", "\n`ifndef B\n", "\n`elsif C\n", "\n`else\n",
    "\n`endif\n", "\n`define M(a) a + \\\n  1 // c\n", "\n`timescale 1ns/1ps\n", "\n`undef M\n"};
// clang-format on

class RandomVerilog {
public:
    explicit RandomVerilog(unsigned seed) : m_random(seed) {}

    std::string File()
    {
        m_text.clear();
        if (Pick(4) != 0) m_text = "module " + Pick(kNames) + ";\n";
        const int statements = 1 + static_cast<int>(m_random() % 40);
        for (int i = 0; i < statements; ++i) Statement();
        // Malformed endings: text cut anywhere, a comment or a string left open.
        switch (m_random() % 6) {
        case 0:
            m_text.resize(m_random() % (m_text.size() + 1));
            break;
        case 1:
            m_text += "\n/* open comment ; endmodule";
            break;
        case 2:
            m_text += "\nleaf u (.a(\"open string ; endmodule";
            break;
        case 3:
            m_text += "\n`define OPEN \\";
            break;
        default:
            break;
        }
        return m_text;
    }

private:
    std::size_t Pick(std::size_t count) { return m_random() % count; }
    const std::string& Pick(const std::vector<std::string>& list) { return list[Pick(list.size())]; }

    // A token, with noise before it now and then.
    void Put(const std::string& token)
    {
        m_text += Pick(6) == 0 ? Pick(kNoise) : std::string(Pick(3) == 0 ? "" : " ");
        m_text += token;
    }

    void Group(int depth = 0)
    {
        Put("(");
        const std::size_t items = Pick(4);
        for (std::size_t i = 0; i < items; ++i) {
            if (i) Put(",");
            switch (Pick(5)) {
            case 0:
                Put(".a");
                if (depth < 3) Group(depth + 1);
                break;
            case 1:
                Put("\"x;)\"");
                break;
            case 2:
                Put("s[3:0]");
                break;
            case 3:
                Put("{a, b}");
                break;
            default:
                Put("b");
                break;
            }
        }
        if (Pick(12) != 0) Put(")");  // a group left open now and then
    }

    void Statement()
    {
        switch (Pick(19)) {
        case 0:
            Put(Pick(4) == 0 ? "macromodule" : "module");
            Put(Pick(kNames));
            if (Pick(2)) {
                Put("#");
                Group();
            }
            if (Pick(2)) Group();
            Put(";");
            break;
        case 1:
            Put("endmodule");
            if (Pick(4) != 0) Put("module " + Pick(kNames) + ";");  // most often the next module follows
            break;
        case 2:
        case 3:
        case 4:
        case 14:
        case 15: {
            Put(Pick(kNames));
            if (Pick(3) == 0) {
                Put("#");
                Group();
            }
            const std::size_t instances = 1 + Pick(3);
            for (std::size_t i = 0; i < instances; ++i) {
                if (i) Put(",");
                Put("u" + std::to_string(i));
                if (Pick(5) == 0) Put("[3:0]");  // an array of instances
                Group();
            }
            Put(";");
            break;
        }
        case 5:
            Put("assign");
            Put("a");
            Put("=");
            Put(Pick(2) ? "b" : "b & c");
            Put(";");
            break;
        case 6:
            Put("always");
            Put("@(posedge clk)");
            Put("begin");
            if (Pick(2)) {
                Put(":");
                Put("blk");
            }
            Put("if");
            Group();
            Put("a <= b;");
            Put("else");
            Put("a <= c;");
            Put("end");
            break;
        case 7:
            Put(Pick(2) ? "`include \"inc.vh\"" : "`include <lib.vh>");
            break;
        case 8:
            Put(Pick(2) ? "input" : "output");
            if (Pick(2)) Put("wire");
            if (Pick(2)) Put("[7:0]");
            Put("a, b;");
            break;
        case 9:
            Put(Pick(2) ? "generate" : "endgenerate");
            break;
        case 10:
            Put("initial begin $display(\"a;b\"); end");
            break;
        case 11:
            Put("case (s) 1: a = b; endcase");
            break;
        case 12:
            Put(Pick(2) ? "function f; input a; f = a; endfunction" : "specify (a => b) = 1; endspecify");
            break;
        case 16:
            // A function or task header with its ports in a group.
            Put(Pick(2) ? "function" : "task");
            Put(Pick(kNames));
            Group();
            Put(";");
            break;
        case 17:
            Put("primitive");
            Put(Pick(kNames));
            Group();
            Put("; table 0 : 1; endtable");
            if (Pick(2)) Put("endprimitive");
            if (Pick(2)) Put("module " + Pick(kNames) + ";");
            break;
        case 18:
            // A module whose name is a macro.
            Put("module `NAME");
            if (Pick(2)) Group();
            Put(";");
            if (Pick(2)) Put("endmodule module " + Pick(kNames) + ";");
            break;
        default:
            m_text += Pick(kNoise);
            break;
        }
        m_text += Pick(3) == 0 ? "\n" : " ";
    }

    std::mt19937 m_random;
    std::string m_text;
};

class VerilogPlainScan : public ScanDesignFixture {
protected:
    // Scans the files into an empty design, one parser each, the product's
    // or the plain one: what each file gave, every unit with its links both
    // ways, and the messages.
    std::string ScanAll(const std::vector<std::string>& paths, bool plain, bool readPorts, bool useAnyway)
    {
        Clear();
        ScanDesign().SetDefaultVHDL(false);
        if (!ScanDesign().FindLibraryByName("work")) ScanDesign().AddLibrary("work", false);
        DebugCapture debug;
        std::ostringstream out;
        for (const std::string& path : paths) {
            const boost::shared_ptr<IfileObjectEx> file = Enter(path);
            ImodelModule prototype("prototype", file, zorpaMODULE_UNKNOWN, false, "work", "", false);
            const std::unique_ptr<Verilog> parser =
                plain ? std::make_unique<PlainVerilog>(&prototype) : std::make_unique<Verilog>(&prototype, nullptr);
            parser->SetLibraries(ScanDesign().GetLibraries());
            parser->SetUseAnyway(useAnyway);
            parser->parse(path, "work", nullptr, readPorts);
            out << path << ": structural " << parser->IsStructural() << ", defined elsewhere '"
                << parser->GetAlreadyDefinedName() << "', found";
            for (auto [it, end] = parser->GetModuleRange(); it != end; ++it) out << ' ' << (*it)->GetName();
            out << ", includes";
            for (const std::string& include : parser->GetIncludeNames()) out << " '" << include << "'";
            out << "\n";
        }
        for (auto [lib, libEnd] = ScanDesign().GetLibraries(); lib != libEnd; ++lib)
            for (const ImodelModule* unit : *(*lib)->GetModules()) {
                const auto names = [&out](const auto* units) {
                    std::size_t count = 0;
                    if (units)
                        for (const ImodelModule* linked : *units) {
                            out << ' ' << linked->GetName();
                            ++count;
                        }
                    return count;
                };
                out << unit->GetName() << (unit->GetModuleFile() ? "" : " ?") << " ->";
                m_links += names(unit->GetSubBlocks());
                out << " <-";
                names(unit->GetParentsList());
                out << "\n";
            }
        return out.str() + debug.Text();
    }

    std::size_t m_links = 0;
};

}  // namespace

TEST_F(VerilogPlainScan, RandomDesignsGiveWhatThePlainWayGives)
{
    RandomVerilog generator(2930);
    std::size_t messages = 0;
    for (int round = 0; round < 120; ++round) {
        std::vector<std::string> paths;
        std::string texts;
        for (int file = 0; file < 3; ++file) {
            const std::string text = generator.File();
            paths.push_back(m_folder.Write("r" + std::to_string(round) + "_" + std::to_string(file) + ".v", text));
            texts += "--- " + paths.back() + "\n" + text + "\n";
        }
        const bool readPorts = round % 3 == 0;
        const bool useAnyway = round % 4 == 1;
        const std::string plain = ScanAll(paths, true, readPorts, useAnyway);
        const std::string found = ScanAll(paths, false, readPorts, useAnyway);
        ASSERT_EQ(found, plain) << "round " << round << ":\n" << texts;
        messages += found.find("instantiating itself") != std::string::npos ? 1 : 0;
    }
    // The designs link units and meet cycles, so the comparison covers them.
    EXPECT_GT(m_links, 200u);
    EXPECT_GT(messages, 10u);
}
