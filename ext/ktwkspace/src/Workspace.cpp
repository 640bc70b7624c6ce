#include "ktwkspace/Workspace.h"

#include "KtwkspaceDebug.h"

#include <foundation/Sys.h>
#include <ulv/UlvXml.h>

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace Ktwkspace {

std::string KtwkspaceXmlText(const std::string& value)
{
    std::string text;
    for (const char c : value) {
        switch (c) {
        case '&':
            text += "&amp;";
            break;
        case '<':
            text += "&lt;";
            break;
        case '>':
            text += "&gt;";
            break;
        case '"':
            text += "&quot;";
            break;
        case '\t':
            text += "&#9;";
            break;
        default:
            text += c;
        }
    }
    return text;
}

namespace {

// Far above any real workspace file; a larger file is not one of ours.
constexpr std::int64_t kMaxFileSize = 4 << 20;

// The workspace's own attributes, in the order they are written.
using SettingField = std::string WorkspaceSettings::*;
constexpr std::array<std::pair<std::string_view, SettingField>, 5> kKeys{{
    {"name", &WorkspaceSettings::name},
    {"family", &WorkspaceSettings::family},
    {"die", &WorkspaceSettings::die},
    {"package", &WorkspaceSettings::package},
    {"language", &WorkspaceSettings::language},
}};

constexpr int kLastModuleType = VyIfaces::IComponent::NoCore;

std::string ReadWorkspaceFile(const std::string& path)
{
    if (!UtlDoesDiskObjectExist(path)) throw std::invalid_argument(path + ": no such workspace file");
    std::string text;
    std::string error;
    if (!UlvReadFile(path, kMaxFileSize, text, error)) throw std::runtime_error(error);
    return text;
}

std::string TrimFolder(std::string folder)
{
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    return folder;
}

// Whether the file can hold the value and give it back as it is: no
// control character but the tab, and UTF-8 the XML parser reads back. U+FFFE
// and U+FFFF are no XML characters: written, the whole file would be refused
// at the next reading.
bool IsStorable(const std::string& value)
{
    for (const char c : value)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) return false;
    const std::u16string wide = UlvFromUtf8(value);
    if (wide.find_first_of(u"\uFFFE\uFFFF") != std::u16string::npos) return false;
    return UlvToUtf8(reinterpret_cast<const XMLCh*>(wide.c_str())) == value;
}

// The value as XML text; throws for a value the file cannot hold.
std::string Escaped(std::string_view name, const std::string& value, const std::string& owner)
{
    if (!IsStorable(value))
        throw std::invalid_argument("the " + std::string(name) + " of " + owner +
                                    " may not hold a line break or another control character");
    return KtwkspaceXmlText(value);
}

void AppendAttribute(std::string& text, std::string_view name, const std::string& value, const std::string& owner)
{
    text.append(" ").append(name).append("=\"").append(Escaped(name, value, owner)).append("\"");
}

// The attributes of a component element, in the order they are written.
std::vector<std::pair<std::string_view, std::string>> ComponentAttributes(const WorkspaceComponentRecord& record)
{
    std::vector<std::pair<std::string_view, std::string>> attributes{
        {"kind", std::to_string(static_cast<int>(record.type))},
        {"state", std::to_string(record.state)},
        {"name", record.id.name},
        {"library", record.id.library},
        {"package", record.id.package},
        {"definition", record.definitionFile},
        {"ixf", record.ixfFile},
        {"family", record.family},
        {"die", record.die},
        {"devicePackage", record.package}};
    // Only a component the audit made out of date has one.
    if (record.stateBeforeMissing)
        attributes.emplace_back("stateBeforeMissing", std::to_string(*record.stateBeforeMissing));
    return attributes;
}

std::vector<std::pair<std::string_view, std::string>> InstanceAttributes(const VyIfaces::ComponentInstance& instance)
{
    return {
        {"kind", std::to_string(instance.kind)}, {"name", instance.instanceName}, {"module", instance.moduleName},
        {"reference", instance.referencedName},  {"library", instance.library},   {"vendor", instance.core.vendor},
        {"coreLibrary", instance.core.library},  {"core", instance.core.name},    {"version", instance.core.version}};
}

// --- reading ----------------------------------------------------------------------------

class ElementReader {
public:
    ElementReader(const xercesc::DOMElement* element, std::string where) : m_element(element), m_where(std::move(where))
    {
    }

    // The attribute's value, empty when absent; throws for a value the
    // file could not have been written with.
    std::string Text(const std::string& name) const
    {
        std::string value;
        UlvGetAttribute(m_element, name, value);
        if (!IsStorable(value)) throw std::runtime_error(m_where + ": the " + name + " holds a control character");
        return value;
    }

    int Number(const std::string& name, int low, int high) const
    {
        int value = 0;
        if (!UtlConvertToInteger(Text(name), value) || value < low || value > high)
            throw std::runtime_error(m_where + ": the " + name + " is not a number from " + std::to_string(low) +
                                     " to " + std::to_string(high));
        return value;
    }

private:
    const xercesc::DOMElement* m_element;
    std::string m_where;
};

VyIfaces::ComponentInstance ReadInstance(const ElementReader& element)
{
    VyIfaces::ComponentInstance instance;
    instance.kind = element.Number("kind", 0, 3);
    instance.instanceName = element.Text("name");
    instance.moduleName = element.Text("module");
    instance.referencedName = element.Text("reference");
    instance.library = element.Text("library");
    instance.core =
        VlnvCoreId(element.Text("vendor"), element.Text("coreLibrary"), element.Text("core"), element.Text("version"));
    return instance;
}

WorkspaceComponentRecord ReadComponent(const xercesc::DOMElement* element, const std::string& where)
{
    const ElementReader reader(element, where);
    WorkspaceComponentRecord record;
    record.type = static_cast<VyIfaces::IComponent::VyModuleType>(reader.Number("kind", 0, kLastModuleType));
    record.state = reader.Number("state", -1000000, 1000000);
    if (!reader.Text("stateBeforeMissing").empty())
        record.stateBeforeMissing = reader.Number("stateBeforeMissing", -1000000, 1000000);
    const std::string name = reader.Text("name");
    if (name.empty()) throw std::runtime_error(where + ": a component has no name");
    record.id = VyIfaces::ComponentID(name, reader.Text("library"), reader.Text("package"));
    record.definitionFile = reader.Text("definition");
    record.ixfFile = reader.Text("ixf");
    record.family = reader.Text("family");
    record.die = reader.Text("die");
    record.package = reader.Text("devicePackage");
    for (const xercesc::DOMElement* child : UlvGetChildElements(element)) {
        const std::string kind = UlvGetName(child);
        if (kind == "designFile") {
            const std::string file = UlvGetText(child);
            if (!IsStorable(file)) throw std::runtime_error(where + ": a design file holds a control character");
            record.designFiles.push_back(file);
        } else if (kind == "instance") {
            record.instances.push_back(ReadInstance(ElementReader(child, where)));
        } else if (kind == "parameter") {
            const ElementReader parameter(child, where);
            const std::string parameterName = parameter.Text("name");
            if (parameterName.empty()) throw std::runtime_error(where + ": a parameter has no name");
            record.parameters.emplace_back(parameterName, parameter.Text("value"));
        }
    }
    return record;
}

}  // namespace

std::string KtwkspaceFormatWorkspace(const WorkspaceSettings& settings)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<";
    text.append(kWorkspaceFileRoot);
    AppendAttribute(text, "version", std::to_string(kWorkspaceFileVersion), "the workspace");
    for (const auto& [key, field] : kKeys) AppendAttribute(text, key, settings.*field, "the workspace");
    text += ">\n";
    for (const WorkspaceComponentRecord& record : settings.components) {
        const std::string owner = "the component " + record.id.name;
        text += "  <component";
        for (const auto& [name, value] : ComponentAttributes(record)) AppendAttribute(text, name, value, owner);
        if (record.designFiles.empty() && record.instances.empty() && record.parameters.empty()) {
            text += "/>\n";
            continue;
        }
        text += ">\n";
        for (const std::string& file : record.designFiles)
            text.append("    <designFile>").append(Escaped("design file", file, owner)).append("</designFile>\n");
        for (const VyIfaces::ComponentInstance& instance : record.instances) {
            text += "    <instance";
            for (const auto& [name, value] : InstanceAttributes(instance)) AppendAttribute(text, name, value, owner);
            text += "/>\n";
        }
        for (const auto& [name, value] : record.parameters) {
            text += "    <parameter";
            AppendAttribute(text, "name", name, owner);
            AppendAttribute(text, "value", value, owner);
            text += "/>\n";
        }
        text += "  </component>\n";
    }
    text.append("</").append(kWorkspaceFileRoot).append(">\n");
    return text;
}

WorkspaceSettings KtwkspaceParseWorkspace(const std::string& text, const std::string& name)
{
    UlvXmlDocument document;
    if (!document.ParseText(text, name)) throw std::runtime_error(name + ": " + document.GetError());
    const xercesc::DOMElement* root = document.GetRoot();
    if (UlvGetName(root) != kWorkspaceFileRoot) throw std::runtime_error(name + ": not a workspace file");
    std::string versionText;
    int version = 0;
    if (!UlvGetAttribute(root, "version", versionText) || !UtlConvertToInteger(versionText, version))
        throw std::runtime_error(name + ": a workspace file without a version");
    if (version != kWorkspaceFileVersion)
        throw version_error(name + ": workspace file version " + std::to_string(version) +
                            ", this library reads version " + std::to_string(kWorkspaceFileVersion));
    const ElementReader reader(root, name);
    WorkspaceSettings settings;
    for (const auto& [key, field] : kKeys) settings.*field = reader.Text(std::string(key));
    int number = 0;
    for (const xercesc::DOMElement* element : UlvGetChildElements(root)) {
        if (UlvGetName(element) != "component") continue;
        settings.components.push_back(ReadComponent(element, name + ": component " + std::to_string(++number)));
    }
    return settings;
}

Workspace::Workspace(const std::string& fileName, bool interactive, bool, bool, const std::string&,
                     IIDEObject* callback, CatalogIf* catalog)
    : m_fileName(fileName), m_settings(KtwkspaceParseWorkspace(ReadWorkspaceFile(fileName), fileName)),
      m_fileSettings(m_settings), m_interactive(interactive), m_callback(callback), m_catalog(catalog)
{
    AdoptRecords(m_settings.components);
}

Workspace::Workspace(const std::string& name, const std::string& projectFolder, const std::string& family,
                     const std::string& die, const std::string& package, const std::string& language, bool interactive,
                     int, bool, bool, IIDEObject* callback, CatalogIf* catalog)
    : m_settings{name, family, die, package, language, {}}, m_fileSettings(m_settings), m_interactive(interactive),
      m_callback(callback), m_catalog(catalog)
{
    if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\") != std::string::npos)
        throw std::invalid_argument("\"" + name + "\" cannot name a workspace");
    if (projectFolder.empty()) throw std::invalid_argument("a workspace needs a project folder");
    const std::string folder = TrimFolder(projectFolder) + '/' + name;
    m_fileName = folder + '/' + name + ".aws";
    const std::string text = KtwkspaceFormatWorkspace(m_settings);
    // A file already there is somebody's workspace: never written over.
    if (UtlDoesDiskObjectExist(m_fileName)) throw std::runtime_error(m_fileName + ": already exists");
    if (!UtlValidateOrCreateFolder(folder)) throw std::runtime_error(folder + ": cannot be created");
    if (!SysWriteFileAtomically(m_fileName, text)) throw std::runtime_error(m_fileName + ": cannot be written");
}

bool Workspace::RegisterVyCommands() { return true; }

bool Workspace::setProductFamily(const std::string& family)
{
    m_settings.family = family;
    return true;
}

void Workspace::setPackage(const std::string& package) { m_settings.package = package; }

void Workspace::setTargetDevice(const std::string& die) { m_settings.die = die; }

}  // namespace Ktwkspace
