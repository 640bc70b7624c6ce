#include "ixml/IxmlTemplateParser.h"

#include "imodel/model/Imodel.h"

#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

#include <cstdint>

namespace {

constexpr char kSectionSeparator = ';';
// The suite's database holds a few hundred templates in about a megabyte; a
// file many times that size is no template database of ours.
constexpr std::int64_t kMaxDatabaseFileSize = std::int64_t{16} << 20;

bool IsDebugMsg() { return Imodel::GetInstance().IsDebugMsg(); }

// The file name without its folder.
std::string TitleAndExt(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

// The root element's name is not checked.
IxmlTemplateParser::IxmlTemplateParser(const std::string& path) : PersistCollection(""), m_file(path)
{
    m_valid = ParseXMLTemplateFile();
    // A partly read database yields nothing.
    if (!m_valid) m_templates.clear();
}

bool IxmlTemplateParser::ParseXMLTemplateFile() { return LoadXMLTemplateFile() && ReadTDB(); }

bool IxmlTemplateParser::LoadXMLTemplateFile()
{
    if (!UtlDoesFileExist(m_file)) {
        m_loaded = false;
        if (IsDebugMsg()) SysDebugPrintf("ERROR: File not found \n");
        return false;
    }
    m_loaded = readObjects(m_file, kMaxDatabaseFileSize);
    if (!m_loaded && IsDebugMsg())
        SysDebugPrintf("ERROR: Error when parsing %s :\n'%s'\n", TitleAndExt(m_file).c_str(), getReadError().c_str());
    return m_loaded;
}

bool IxmlTemplateParser::ReadTDB()
{
    const std::optional<PersistXMLAtom> root = getRootAtom();
    if (!root) return false;
    const std::vector<PersistXMLAtom> languages = root->getChildAtoms();
    if (languages.empty()) return false;
    bool valid = true;
    // Every language is read, also after a fault.
    for (const PersistXMLAtom& language : languages) valid = ReadHDLType(language) && valid;
    return valid;
}

bool IxmlTemplateParser::ReadHDLType(const PersistXMLAtom& language)
{
    std::string type;
    if (!language.getAttribute("type", type)) return false;
    if (type == "VHDL") {
        m_isVHDL = true;
    } else if (type == "Verilog") {
        m_isVHDL = false;
    } else {
        return false;
    }
    return ReadSections(language, type);
}

// Depth first in document order, with a stack of its own rather than
// recursion: sections nest to any depth. The path grows by ";" and the name
// when a section is entered and shrinks back when it is left.
bool IxmlTemplateParser::ReadSections(const PersistXMLAtom& language, std::string path)
{
    struct Level {
        std::vector<PersistXMLAtom> children;
        std::size_t next;
        std::size_t pathLength;
    };
    std::vector<Level> levels{{language.getChildAtoms(), 0, path.size()}};
    bool valid = true;
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next == level.children.size()) {
            levels.pop_back();
            if (!levels.empty()) path.resize(levels.back().pathLength);
            continue;
        }
        const PersistXMLAtom child = level.children[level.next++];
        const std::string kind = child.getName();
        if (kind == "template") {
            valid = ReadTemplate(child, path) && valid;
        } else if (std::string name; kind == "section" && child.getAttribute("name", name)) {
            (path += kSectionSeparator) += name;
            levels.push_back({child.getChildAtoms(), 0, path.size()});
        } else {
            // An unknown element, or a section without a name (nothing
            // below it is read).
            valid = false;
        }
    }
    return valid;
}

bool IxmlTemplateParser::ReadTemplate(const PersistXMLAtom& element, const std::string& path)
{
    const std::optional<PersistXMLAtom> prefix = element.findChildAtom("prefix");
    const std::optional<PersistXMLAtom> code = element.findChildAtom("code");
    const std::optional<PersistXMLAtom> suffix = element.findChildAtom("suffix");
    if (!prefix || !code || !suffix) return false;
    m_templates.push_back(boost::make_shared<ImodelTemplate>(path, prefix->getText(), code->getText(),
                                                             suffix->getText(), m_isVHDL, false, ""));
    return true;
}
