#include "ktwkspace/Workspace.h"

#include <foundation/Sys.h>

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace Ktwkspace {

namespace {

// Far above any real workspace file; a larger file is not one of ours.
constexpr std::int64_t kMaxFileSize = 1 << 20;

// The keys of a workspace file, in the order they are written.
using SettingField = std::string WorkspaceSettings::*;
constexpr std::array<std::pair<std::string_view, SettingField>, 5> kKeys{{
    {"Name", &WorkspaceSettings::name},
    {"Family", &WorkspaceSettings::family},
    {"Die", &WorkspaceSettings::die},
    {"Package", &WorkspaceSettings::package},
    {"Language", &WorkspaceSettings::language},
}};

std::string ReadWorkspaceFile(const std::string& path)
{
    if (!UtlDoesDiskObjectExist(path)) throw std::invalid_argument(path + ": no such workspace file");
    SysStatInfo info;
    if (SysPathStat(path, &info) != 0 || !SysIsRegularFile(info)) throw std::runtime_error(path + ": not a file");
    if (info.size > kMaxFileSize) throw std::runtime_error(path + ": too large for a workspace file");
    std::string text;
    if (!SysReadFile(path, text)) throw std::runtime_error(path + ": cannot be read");
    return text;
}

// The version of a header line; throws when the line is no header.
int ReadHeader(std::string_view line, const std::string& name)
{
    const std::string_view header = kWorkspaceFileHeader;
    int version = 0;
    if (line.substr(0, header.size()) != header || line.size() <= header.size() || line[header.size()] != ' ' ||
        !UtlConvertToInteger(std::string(line.substr(header.size() + 1)), version))
        throw std::runtime_error(name + ": not a workspace file");
    return version;
}

std::string TrimFolder(std::string folder)
{
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    return folder;
}

constexpr std::string_view kComponentKey = "Component";
constexpr std::size_t kComponentFields = 10;
constexpr int kLastModuleType = VyIfaces::IComponent::NoCore;

std::vector<std::string> ComponentFields(const WorkspaceComponentRecord& record)
{
    return {std::to_string(static_cast<int>(record.type)),
            std::to_string(record.state),
            record.id.name,
            record.id.library,
            record.id.package,
            record.definitionFile,
            record.ixfFile,
            record.family,
            record.die,
            record.package};
}

// The record of a Component line's value; throws when it is none.
WorkspaceComponentRecord ReadComponent(std::string_view value, const std::string& where)
{
    std::vector<std::string> fields(1);
    for (const char c : value) {
        if (c == '\t')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    int type = -1;
    int state = 0;
    if (fields.size() != kComponentFields || !UtlConvertToInteger(fields[0], type) || type < 0 ||
        type > kLastModuleType || !UtlConvertToInteger(fields[1], state) || fields[2].empty())
        throw std::runtime_error(where + " is not a component");
    WorkspaceComponentRecord record;
    record.type = static_cast<VyIfaces::IComponent::VyModuleType>(type);
    record.state = state;
    record.id = VyIfaces::ComponentID(fields[2], fields[3], fields[4]);
    record.definitionFile = fields[5];
    record.ixfFile = fields[6];
    record.family = fields[7];
    record.die = fields[8];
    record.package = fields[9];
    return record;
}

}  // namespace

std::string KtwkspaceFormatWorkspace(const WorkspaceSettings& settings)
{
    std::string text = std::string(kWorkspaceFileHeader) + ' ' + std::to_string(kWorkspaceFileVersion) + '\n';
    for (const auto& [key, field] : kKeys) {
        const std::string& value = settings.*field;
        if (value.find_first_of("\r\n") != std::string::npos)
            throw std::invalid_argument("the workspace's " + std::string(key) + " may not hold a line break");
        text.append(key).append("=").append(value).append("\n");
    }
    for (const WorkspaceComponentRecord& record : settings.components) {
        text.append(kComponentKey).append("=");
        bool first = true;
        for (const std::string& field : ComponentFields(record)) {
            if (field.find_first_of("\t\r\n") != std::string::npos)
                throw std::invalid_argument("a value of the component " + record.id.name +
                                            " may not hold a tab or a line break");
            if (!first) text += '\t';
            text += field;
            first = false;
        }
        text += '\n';
    }
    return text;
}

WorkspaceSettings KtwkspaceParseWorkspace(const std::string& text, const std::string& name)
{
    WorkspaceSettings settings;
    std::size_t begin = 0;
    int lineNumber = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + begin, end - begin);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        begin = end + 1;
        if (++lineNumber == 1) {
            const int version = ReadHeader(line, name);
            if (version != kWorkspaceFileVersion)
                throw version_error(name + ": workspace file version " + std::to_string(version) +
                                    ", this library reads version " + std::to_string(kWorkspaceFileVersion));
            continue;
        }
        if (line.empty()) continue;
        const std::size_t equals = line.find('=');
        // A carriage return inside a line is no line end, and no value holds one.
        if (equals == std::string_view::npos || line.find('\r') != std::string_view::npos)
            throw std::runtime_error(name + ": line " + std::to_string(lineNumber) + " is not a setting");
        if (line.substr(0, equals) == kComponentKey) {
            settings.components.push_back(
                ReadComponent(line.substr(equals + 1), name + ": line " + std::to_string(lineNumber)));
            continue;
        }
        for (const auto& [key, field] : kKeys)
            if (line.substr(0, equals) == key) settings.*field = std::string(line.substr(equals + 1));
    }
    if (lineNumber == 0) throw std::runtime_error(name + ": empty, not a workspace file");
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
    if (name.empty() || name.find_first_of("/\\") != std::string::npos)
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
