#include "vy/VyLoaderFactory.h"

#include <foundation/Sys.h>
#include <foundation/UtlAscii.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <string_view>
#include <vector>

namespace Vymodel {

namespace {

bool LessNoCase(const std::string& a, const std::string& b) { return UtlCompareNoCase(a, b) < 0; }

bool IsIdentifierStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsIdentifierChar(char c) { return IsIdentifierStart(c) || (c >= '0' && c <= '9') || c == '$'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// Finds the names of the modules declared in Verilog text, in file order,
// in one pass: comments, strings and escaped identifiers are stepped over
// so that a "module" inside them declares nothing.
class VerilogModuleScanner {
public:
    explicit VerilogModuleScanner(std::string_view text) : m_text(text) {}

    std::vector<std::string> Scan()
    {
        std::vector<std::string> names;
        while (SkipSpaceAndComments(), m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == '"') {
                SkipString();
            } else if (c == '\\') {
                ReadEscaped();
            } else if (IsIdentifierStart(c) || c == '`' || c == '$') {
                const std::string_view word = ReadWord();
                if (word == "module" || word == "macromodule") {
                    SkipSpaceAndComments();
                    const std::string name = ReadName();
                    if (!name.empty()) names.push_back(name);
                }
            } else {
                ++m_pos;
            }
        }
        return names;
    }

private:
    void SkipSpaceAndComments()
    {
        while (m_pos < m_text.size()) {
            if (IsBlank(m_text[m_pos])) {
                ++m_pos;
            } else if (m_text.substr(m_pos, 2) == "//") {
                const std::size_t end = m_text.find('\n', m_pos);
                m_pos = end == std::string_view::npos ? m_text.size() : end + 1;
            } else if (m_text.substr(m_pos, 2) == "/*") {
                const std::size_t end = m_text.find("*/", m_pos + 2);
                m_pos = end == std::string_view::npos ? m_text.size() : end + 2;
            } else {
                return;
            }
        }
    }

    void SkipString()
    {
        for (++m_pos; m_pos < m_text.size(); ++m_pos) {
            if (m_text[m_pos] == '\\') {
                ++m_pos;
            } else if (m_text[m_pos] == '"' || m_text[m_pos] == '\n') {
                ++m_pos;
                return;
            }
        }
    }

    // A word that may begin with "`" (directive) or "$" (system task).
    std::string_view ReadWord()
    {
        const std::size_t start = m_pos++;
        while (m_pos < m_text.size() && IsIdentifierChar(m_text[m_pos])) ++m_pos;
        return m_text.substr(start, m_pos - start);
    }

    // An escaped identifier: from "\" to the next blank, the "\" dropped.
    std::string ReadEscaped()
    {
        const std::size_t start = ++m_pos;
        while (m_pos < m_text.size() && !IsBlank(m_text[m_pos])) ++m_pos;
        return std::string(m_text.substr(start, m_pos - start));
    }

    std::string ReadName()
    {
        if (m_pos >= m_text.size()) return {};
        if (m_text[m_pos] == '\\') return ReadEscaped();
        if (!IsIdentifierStart(m_text[m_pos])) return {};
        return std::string(ReadWord());
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

// The file name without folder and without the part from the last ".".
std::string FileTitle(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    std::string title = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = title.rfind('.');
    if (dot != std::string::npos && dot > 0) title.erase(dot);
    return title;
}

}  // namespace

bool ComponentIDLess::operator()(const VyIfaces::ComponentID& a, const VyIfaces::ComponentID& b) const
{
    if (LessNoCase(a.name, b.name)) return true;
    if (LessNoCase(b.name, a.name)) return false;
    if (LessNoCase(a.library, b.library)) return true;
    if (LessNoCase(b.library, a.library)) return false;
    return LessNoCase(a.package, b.package);
}

boost::shared_ptr<VyModuleMap> VyLoaderFactory::LoadModules(const std::string& libraryPath,
                                                            const std::string& baseFolder, IIDEObject*)
{
    if (libraryPath.empty()) return {};
    const std::string path = baseFolder.empty() ? libraryPath : AcmdGetFullPath(libraryPath, baseFolder);
    std::string text;
    if (!UtlDoesFileExist(path) || !SysReadFile(path, text)) return {};
    auto modules = boost::make_shared<VyModuleMap>();
    const std::string library = FileTitle(path);
    for (const std::string& name : VerilogModuleScanner(text).Scan())
        modules->emplace(VyIfaces::ComponentID(name, library, ""), boost::make_shared<VyModule>(name));
    return modules;
}

}  // namespace Vymodel
