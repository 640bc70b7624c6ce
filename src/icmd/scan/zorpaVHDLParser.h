// The VHDL scanner: entity, package and architecture declarations,
// component declarations inside packages, use clauses, component and entity
// instantiations, the structural test and port clauses. It checks no
// syntax: a statement that matches none of its patterns is passed over.
#pragma once

#include "icmd/scan/ZorpaParser.h"
#include "src/icmd/scan/zorpaScanText.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A statement holding one of these words (any case) shows behaviour.
inline constexpr std::array<std::string_view, 19> zorpaVHDLBehaviourWords = {
    "and", "abs",     "mod",  "rem",   "case", "else", "elsif", "nand", "nor", "not",
    "or",  "process", "then", "until", "wait", "when", "while", "xor",  "xnor"};
// An operator token followed by a blank shows behaviour.
inline constexpr std::array<std::string_view, 6> zorpaVHDLBehaviourOperators = {"+", "-", "&", "/", "*", "**"};
// Words after a quote that make an attribute rather than a character literal
// ("length" only when no quote closes it).
inline constexpr std::array<std::string_view, 8> zorpaVHDLAttributes = {"high", "left", "right",         "low",
                                                                        "pos",  "val",  "reverse_range", "range"};

// The longest choices of a case alternative taken as a statement of their
// own, in bytes from the "when" to the "=" of its "=>".
inline constexpr std::ptrdiff_t zorpaVHDLLongestChoices = 1024;

template <class T>
class zorpaVHDLParser : public ZorpaParser<T> {
public:
    zorpaVHDLParser(T prototype, T nullModule);

    bool skipComment(const char*& pos, const char* end) override;
    bool otherStatement(const char* start, const char* end) override;
    bool mayConcernUnits(const char* start, const char* end) override;
    const char* findStatementEnd(const char* pos, const char* end) override;
    std::string_view readToken(const char*& pos, const char* end, bool anyText, bool newlineIsBlank,
                               bool backslashIsPlain) override;
    std::string_view declaredUnitName(const char* start, const char* end) override;
    std::string_view instantiatedUnitName(const char* start, const char* end) override;
    ZorpaPortList readPorts(const char* start, const char* end) override;
    bool isStructuralStatement(const char* start, const char* end) override;

    bool IsInEntity() const { return m_inEntity; }
    bool IsInComponent() const { return m_inComponent; }
    const std::string& GetCurrentPackageName() const { return m_packageName; }

private:
    bool packageDeclaration(const char* start, const char* end);
    bool architectureBody(const char* start, const char* end);
    bool endOfEntity(const char* start, const char* end);
    bool endOfPackage(const char* start, const char* end);
    bool endOfComponent(const char* start, const char* end);
    bool componentDeclaration(const char* start, const char* end);
    bool useClause(const char* start, const char* end);

protected:
    // Skips the group at `pos` as SkipGroup does; one that findStatementEnd
    // skipped in the statement the walk is at is not read again.
    const char* skipGroup(const char* pos, const char* end) const;
    // The statement's first word as ReadName reads it, `after` behind it;
    // read once for all the operations that look at the walk's statement.
    std::string_view firstName(const char* start, const char* end, const char*& after);

private:
    bool m_inEntity = false;
    bool m_inComponent = false;
    std::string m_packageName;
    zorpaScan::StatementMemo m_memo;
};

extern template class zorpaVHDLParser<ImodelModule*>;
