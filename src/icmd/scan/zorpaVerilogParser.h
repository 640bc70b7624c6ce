// The Verilog scanner: module declarations and instantiations (attributes
// before a statement passed over), compiler directives (both branches of a
// conditional are scanned; no macro is defined or tested), included files,
// continuous assignments, the structural test and port declarations. Words
// compare with their case.
#pragma once

#include "icmd/scan/ZorpaParser.h"
#include "src/icmd/scan/zorpaScanText.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

// Gate primitives and words that look like an instantiation but name no unit.
inline constexpr std::array<std::string_view, 28> zorpaVerilogPrimitives = {
    "and",    "nand",   "or",       "nor",      "xor",     "xnor",     "buf",     "bufif0", "bufif1", "not",
    "notif0", "notif1", "pulldown", "pullup",   "nmos",    "rnmos",    "pmos",    "rpmos",  "cmos",   "rcmos",
    "tran",   "rtran",  "tranif0",  "rtranif0", "tranif1", "rtranif1", "initial", "else"};
// The reserved words of Verilog (those of library maps aside, which older
// sources may use as names): none names a unit, so a statement that starts
// with one is no instantiation however it looks ("function parity (input
// [7:0] v);", "task send (input b);", "primitive udp (o, a);"); a gate is
// refused here at once too.
// clang-format off
inline constexpr std::array<std::string_view, 109> zorpaVerilogKeywords = {
    "always", "and", "assign", "automatic", "begin", "buf", "bufif0", "bufif1", "case", "casex", "casez", "cmos",
    "deassign", "default", "defparam", "disable", "edge", "else", "end", "endcase", "endfunction", "endgenerate",
    "endmodule", "endprimitive", "endspecify", "endtable", "endtask", "event", "for", "force", "forever", "fork",
    "function", "generate", "genvar", "highz0", "highz1", "if", "ifnone", "initial", "inout", "input", "integer",
    "join", "large", "localparam", "macromodule", "medium", "module", "nand", "negedge", "nmos", "nor", "not",
    "notif0", "notif1", "or", "output", "parameter", "pmos", "posedge", "primitive", "pull0", "pull1", "pulldown",
    "pullup", "rcmos", "real", "realtime", "reg", "release", "repeat", "rnmos", "rpmos", "rtran", "rtranif0",
    "rtranif1", "scalared", "signed", "small", "specify", "specparam", "strong0", "strong1", "supply0", "supply1",
    "table", "task", "time", "tran", "tranif0", "tranif1", "tri", "tri0", "tri1", "triand", "trior", "trireg",
    "unsigned", "vectored", "wait", "wand", "weak0", "weak1", "while", "wire", "wor", "xnor", "xor"};
// clang-format on
// Words that close a unit's body: nothing after one belongs to that unit.
inline constexpr std::array<std::string_view, 2> zorpaVerilogUnitEndWords = {"endmodule", "endprimitive"};
// A statement holding one of these words shows behaviour.
inline constexpr std::array<std::string_view, 17> zorpaVerilogBehaviourWords = {
    "always", "case", "casex",   "casez",   "disable", "endcase", "for",   "forever", "fork",
    "if",     "join", "negedge", "posedge", "repeat",  "wait",    "while", "initial"};
// Compiler directives that take their line (and its continuations) and
// nothing else: conditionals, definitions and settings.
inline constexpr std::array<std::string_view, 15> zorpaVerilogLineDirectives = {"`ifdef",
                                                                                "`ifndef",
                                                                                "`elsif",
                                                                                "`else",
                                                                                "`endif",
                                                                                "`define",
                                                                                "`undef",
                                                                                "`library",
                                                                                "`timescale",
                                                                                "`default_nettype",
                                                                                "`resetall",
                                                                                "`celldefine",
                                                                                "`endcelldefine",
                                                                                "`unconnected_drive",
                                                                                "`nounconnected_drive"};
// Words that end a statement right after them. A function or a specify
// block ends with no ";" after its last word, as a task does.
inline constexpr std::array<std::string_view, 9> zorpaVerilogEndWords = {
    "endmodule", "end", "endtask", "endgenerate", "endcase", "generate", "endfunction", "endspecify", "endprimitive"};
// The longest attribute "(* ... *)" taken, in bytes from its "(*" to the
// "*" of its close.
inline constexpr std::ptrdiff_t zorpaVerilogLongestAttribute = 1024;
// Words that start a module's declaration: "macromodule" is the older
// spelling of "module".
inline constexpr std::array<std::string_view, 2> zorpaVerilogModuleWords = {"module", "macromodule"};

template <class T>
class zorpaVerilogParser : public ZorpaParser<T> {
public:
    zorpaVerilogParser(T prototype, T nullModule);

    bool skipComment(const char*& pos, const char* end) override;
    bool preprocessorLine(const char*& pos, const char* end) override;
    bool otherStatement(const char* start, const char* end) override;
    bool mayConcernUnits(const char* start, const char* end) override;
    bool isUserUnit(std::string_view name, NdbWorld* world) override;
    const char* findStatementEnd(const char* pos, const char* end) override;
    std::string_view readToken(const char*& pos, const char* end, bool anyText, bool newlineIsBlank,
                               bool backslashIsPlain) override;
    std::string_view declaredUnitName(const char* start, const char* end) override;
    std::string_view instantiatedUnitName(const char* start, const char* end) override;
    ZorpaPortList readPorts(const char* start, const char* end) override;
    bool isStructuralStatement(const char* start, const char* end) override;

private:
    bool continuousAssignment(const char* start, const char* end);
    bool includeDirective(const char* start, const char* end);
    bool endOfUnit(const char* start, const char* end);

protected:
    // Skips the group at `pos` as SkipGroup does; one that findStatementEnd
    // saw closed in the statement the walk is at is not read again.
    const char* skipGroup(const char* pos, const char* end) const;
    // The statement's first word as ReadName reads it, `after` behind it;
    // read once for all the operations that look at the walk's statement.
    std::string_view firstName(const char* start, const char* end, const char*& after)
    {
        if (m_walkReadFirst && walked(start, end)) {
            after = start + m_walkFirst.size();
            return m_walkFirst;
        }
        return readFirstName(start, end, after);
    }

private:
    // Whether [start, end) is the statement the scan is at: the scan walks
    // each statement before it asks about it, so what the walk kept of it
    // holds (outside a scan, nothing kept is used).
    bool walked(const char* start, const char* end) const
    {
        return start == m_walkStart && end == m_walkEnd && this->currentStatement().number != 0;
    }
    // firstName when the walk did not read the name.
    std::string_view readFirstName(const char* start, const char* end, const char*& after);
    // findStatementEnd's walk, with the statement's first name read on the way.
    const char* walkStatement(const char* pos, const char* end);

    zorpaScan::StatementMemo m_memo;
    // The statement walked last, [m_walkStart, m_walkEnd), and its first
    // name as ReadName reads it, when the walk read it (a plain name ended by
    // a delimiter).
    const char* m_walkStart = nullptr;
    const char* m_walkEnd = nullptr;
    std::string_view m_walkFirst;
    bool m_walkReadFirst = false;
    // Whether the walk closed a group at the statement's outermost level:
    // an instance needs one.
    bool m_walkGrouped = false;
    // Whether the walk ended the statement after a word that closes a unit.
    bool m_walkClosesUnit = false;
};

extern template class zorpaVerilogParser<ImodelModule*>;
