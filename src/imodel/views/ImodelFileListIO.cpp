#include "imodel/views/ImodelFileListIO.h"

#include "imodel/names/ImodelLineText.h"
#include "imodel/names/imodelUtl.h"
#include "src/imodel/names/imodelLineCursor.h"

#include <unordered_map>

namespace {

// The spellings of a list's names by their upper-case form, each in list
// order: one pass over the list, whatever the number of names looked up.
class SpellingIndex {
public:
    explicit SpellingIndex(const ImodelFileTypeList& names)
    {
        for (const auto& entry : names) m_spellings[Key(entry.first.GetString())].push_back(&entry.first.GetString());
    }

    // The name itself when the list holds it exactly, else the last entry
    // that differs from it in letter case only; false when there is none.
    bool Respell(std::string& name) const
    {
        const auto found = m_spellings.find(Key(name));
        if (found == m_spellings.end()) return false;
        for (const std::string* spelling : found->second)
            if (*spelling == name) return true;
        name = *found->second.back();
        return true;
    }

private:
    static std::string Key(std::string name)
    {
        ImodelMakeUpper(name);
        return name;
    }

    std::unordered_map<std::string, std::vector<const std::string*>> m_spellings;
};

}  // namespace

void ImodelReadFileList(std::vector<std::string>& lines, const ImodelFileTypeList& knownNames,
                        const ImodelFileTypeList& otherNames, bool matchNames, std::vector<std::string>* out)
{
    imodelLineCursor cursor(lines);
    std::vector<std::string> names = imodelTakeListBody(cursor);
    cursor.EraseTaken(lines);
    if (matchNames && !names.empty()) {
        const SpellingIndex known(knownNames);
        const SpellingIndex other(otherNames);
        for (std::string& name : names)
            if (!known.Respell(name)) other.Respell(name);
    }
    if (out) out->insert(out->end(), names.begin(), names.end());
}

void ImodelWriteFileList(std::ostream* stream, const std::vector<ImodelFileName>* names, const std::string& name)
{
    if (!stream || !names || names->empty() || !ImodelCheckOneLine(*stream, name, "list name")) return;
    *stream << "LIST " << name << '\n';
    for (const ImodelFileName& file : *names)
        if (ImodelCheckQuotable(*stream, file.GetString(), "file name"))
            *stream << "VALUE \"" << file.GetString() << "\"\n";
    *stream << "ENDLIST\n";
}
