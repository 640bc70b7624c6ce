// The user's customized file lists of a design unit, one per tool kind, and
// their block of the project file:
//
//   LIST "<unit name>"
//   LIST "<tool keyword>"        one inner block per list in use
//   USE_LIST=TRUE
//   FILELIST
//   VALUE "<file line>"          one per file
//   ENDFILELIST
//   ENDLIST
//   ENDLIST
#include "imodel/design/ImodelModule.h"

#include "ifile/IfileFunctions.h"
#include "imodel/names/ImodelLineText.h"
#include "imodel/names/imodelUtl.h"

#include <algorithm>

namespace {

using LineIterator = ImodelModule::LineIterator;

constexpr const char* kList = "LIST";
constexpr const char* kEndList = "ENDLIST";
constexpr const char* kFileList = "FILELIST";
constexpr const char* kEndFileList = "ENDFILELIST";
constexpr const char* kUseList = "USE_LIST";

// The line without the carriage return of a Windows line end.
std::string WithoutLineEnd(const std::string& line)
{
    return !line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line;
}

bool StartsWith(const std::string& line, const char* word) { return line.rfind(word, 0) == 0; }

// A file line as the file-list reader takes it: the text between the quotes
// of a raw VALUE line, any other line as it stands.
std::string FileLineText(const std::string& line)
{
    static const std::string value = "VALUE \"";
    if (line.size() > value.size() && StartsWith(line, value.c_str()) && line.back() == '"')
        return line.substr(value.size(), line.size() - value.size() - 1);
    return line;
}

// The text after the first double quote, trailing double quotes removed.
std::string QuotedName(const std::string& line)
{
    const std::size_t quote = line.find('"');
    std::string name = quote == std::string::npos ? std::string() : line.substr(quote + 1);
    while (!name.empty() && name.back() == '"') name.pop_back();
    return name;
}

// The end of an inner list that begins at `first`: its "ENDLIST" line, or
// the next "LIST" line when its own is missing (so that it never reaches
// into the next block), or `end`.
LineIterator InnerListEnd(LineIterator first, LineIterator end)
{
    return std::find_if(first, end, [](const std::string& raw) {
        const std::string line = WithoutLineEnd(raw);
        return line == kEndList || StartsWith(line, kList);
    });
}

// Reads the body of one inner list, [first, last).
ImodelModule::typeUserFileList ReadInnerList(ImodelFunctionType kind, LineIterator first, LineIterator last,
                                             const std::vector<Iconvert*>& converters)
{
    ImodelModule::typeUserFileList list(kind);
    std::vector<std::string> fileLines;
    bool inFiles = false;
    for (LineIterator it = first; it != last; ++it) {
        const std::string line = WithoutLineEnd(*it);
        if (inFiles) {
            if (line == kEndFileList)
                inFiles = false;
            else
                fileLines.push_back(FileLineText(line));
            continue;
        }
        if (line == kFileList) {
            inFiles = true;
            continue;
        }
        const std::size_t equal = line.find('=');
        if (equal != std::string::npos && line.compare(0, equal, kUseList) == 0)
            list.SetUse(ImodelIsSameStrNoCase(line.substr(equal + 1), "TRUE"));
    }
    if (!fileLines.empty()) {
        std::deque<IfileObject> files;
        IfileReadFileList(fileLines, files, converters, true);
        IfileGetWeakObjectsFromSimple(files, list.GetFiles());
    }
    return list;
}

// The first list of the tool kind.
template <class Lists>
auto FindList(Lists& lists, ImodelFunctionType kind)
{
    return std::find_if(lists.begin(), lists.end(),
                        [kind](const ImodelModule::typeUserFileList& list) { return list.GetToolKind() == kind; });
}

}  // namespace

// --- the list record --------------------------------------------------------------------

ImodelModule::typeUserFileList::typeUserFileList(bool use, ImodelFunctionType kind, const FileEntries& files)
    : m_use(use), m_kind(kind)
{
    IfileGetWeakObjectsFromReal(files, m_files);
}

bool ImodelModule::typeUserFileList::operator==(const typeUserFileList& other) const
{
    return m_use == other.m_use && m_kind == other.m_kind &&
           std::equal(m_files.begin(), m_files.end(), other.m_files.begin(), other.m_files.end(),
                      [](const IfileObjectEx::ParentFile& a, const IfileObjectEx::ParentFile& b) {
                          return a.first == b.first;
                      });
}

bool ImodelModule::typeUserFileList::WriteToFile(std::ostream* stream) const
{
    if (stream == nullptr) return false;
    std::string keyword;
    ImodelWriteToolNameString(m_kind, keyword);
    *stream << kList << " \"" << keyword << "\"\n";
    *stream << kUseList << "=" << (m_use ? "TRUE" : "FALSE") << "\n";
    std::deque<IfileObject> files;
    IfileGetSimpleObjectsFromWeak(m_files, files);
    IfileWriteFileList(files, stream, kFileList, kEndFileList);
    *stream << kEndList << "\n";
    return true;
}

// --- the unit's lists -----------------------------------------------------------------------

ImodelModule::typeUserFileList* ImodelModule::getCustomizedFileList(ImodelFunctionType kind)
{
    if (m_customizedLists.empty()) return nullptr;
    ListsMayChange();
    std::vector<typeUserFileList>& lists = m_customizedLists.Use();
    const auto found = FindList(lists, kind);
    return found == lists.end() ? nullptr : &*found;
}

const ImodelModule::typeUserFileList* ImodelModule::getCustomizedFileList(ImodelFunctionType kind) const
{
    const std::vector<typeUserFileList>& lists = m_customizedLists.Get();
    const auto found = FindList(lists, kind);
    return found == lists.end() ? nullptr : &*found;
}

bool ImodelModule::UseCustomizedFileList(ImodelFunctionType kind) const
{
    const typeUserFileList* list = getCustomizedFileList(kind);
    return list != nullptr && list->IsUsed();
}

bool ImodelModule::SetUseCustomizedFileList(ImodelFunctionType kind, bool use)
{
    typeUserFileList* list = getCustomizedFileList(kind);
    if (list == nullptr) return false;
    const bool old = list->IsUsed();
    list->SetUse(use);
    return old;
}

bool ImodelModule::GetCustomizedFileList(ImodelFunctionType kind, FileEntries& files)
{
    typeUserFileList* list = getCustomizedFileList(kind);
    if (list == nullptr) return false;
    IfileGetRealObjectsFromWeak(list->GetFiles(), files);
    return true;
}

void ImodelModule::SetCustomizedFileList(bool use, ImodelFunctionType kind, const FileEntries& files)
{
    ListsMayChange();
    if (typeUserFileList* list = getCustomizedFileList(kind))
        *list = typeUserFileList(use, kind, files);
    else
        m_customizedLists.Use().emplace_back(use, kind, files);
}

void ImodelModule::RemoveCustomizedFileList(ImodelFunctionType kind)
{
    if (m_customizedLists.empty()) return;
    KeptDataMayChange();
    std::vector<typeUserFileList>& lists = m_customizedLists.Use();
    const auto found = FindList(lists, kind);
    if (found != lists.end()) lists.erase(found);
    if (lists.empty()) m_customizedLists.clear();
}

bool ImodelModule::WriteCustomizedSourceFileList(std::ostream* stream) const
{
    if (stream == nullptr) return false;
    if (m_customizedLists.empty()) return true;
    // The name is written between quotes on a line of its own.
    if (!IfileCheckStorableName(GetName(), "module")) return ImodelRefuseText(*stream, GetName(), "module name");
    *stream << kList << " \"" << GetName() << "\"\n";
    for (const typeUserFileList& list : m_customizedLists.Get()) {
        if (list.IsUsed()) list.WriteToFile(stream);
    }
    *stream << kEndList << "\n";
    return true;
}

void ImodelModule::ReadCustomizedSourceFileList(LineIterator& it, LineIterator end,
                                                const std::vector<Iconvert*>& converters)
{
    while (it != end) {
        const std::string line = WithoutLineEnd(*it);
        if (StartsWith(line, kEndList)) {
            ++it;
            return;
        }
        if (!StartsWith(line, kList)) {
            ++it;
            continue;
        }
        ImodelFunctionType kind;
        // A list of no tool kind opens the next block: this one lacks its end.
        if (!ImodelReadToolNameString(kind, QuotedName(line))) return;
        const LineIterator last = InnerListEnd(it + 1, end);
        ListsMayChange();
        m_customizedLists.Use().push_back(ReadInnerList(kind, it + 1, last, converters));
        it = last;
        if (it != end && WithoutLineEnd(*it) == kEndList) ++it;
    }
}

void ImodelModule::ReadCustomizedSourceFileList(std::vector<std::string>& lines,
                                                const std::vector<Iconvert*>& converters)
{
    LineIterator it = lines.cbegin();
    ReadCustomizedSourceFileList(it, lines.cend(), converters);
    lines.erase(lines.cbegin(), it);
}
