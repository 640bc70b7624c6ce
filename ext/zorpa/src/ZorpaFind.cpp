#include "zorpa/ZorpaFind.h"

namespace {

std::string Lower(std::string text)
{
    ZorpaMakeLower(text);
    return text;
}

bool HasDot(const std::string& text) { return text.find('.') != std::string::npos; }

}  // namespace

bool ZorpaUseClause::Names(const std::string& name) const
{
    return item == "all" || ZorpaCompareNoCase(item, name) == 0;
}

bool ZorpaSplitUseClause(const std::string& text, ZorpaUseClause& clause)
{
    const std::size_t dot = text.find('.');
    if (dot == std::string::npos) return false;
    const std::string rest = text.substr(dot + 1);
    const std::size_t second = rest.find('.');
    clause.library = Lower(text.substr(0, dot));
    clause.package = second == std::string::npos ? std::string() : Lower(rest.substr(0, second));
    clause.item = Lower(second == std::string::npos ? rest : rest.substr(second + 1));
    return true;
}

std::string ZorpaOwnLibrary(const std::deque<std::string>& possibleLibraries, const std::string& fallback)
{
    for (auto it = possibleLibraries.rbegin(); it != possibleLibraries.rend(); ++it)
        if (!HasDot(*it)) return *it;
    return fallback;
}

bool ZorpaFindModuleInPossibleLib2(const std::string& name, const std::string& library,
                                   const std::deque<std::string>& possibleLibraries)
{
    const std::string ownLibrary = ZorpaOwnLibrary(possibleLibraries, "work");
    for (const std::string& entry : possibleLibraries) {
        ZorpaUseClause clause;
        if (!ZorpaSplitUseClause(entry, clause)) {
            if (ZorpaCompareNoCase(entry, library) == 0) return true;
            continue;
        }
        const std::string& clauseLibrary = clause.library == "work" ? ownLibrary : clause.library;
        if (ZorpaCompareNoCase(clauseLibrary, library) == 0 && clause.Names(name)) return true;
    }
    return false;
}
