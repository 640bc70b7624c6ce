#include "kemlet/KemletIde_pldFileManagerIf.h"

#include <foundation/Sys.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char kHeader[] = "KEMLET_IDE_PLD 1";

// The description of a database: same folder and title, extension "ide_pld".
std::string DescriptionOf(const std::string& database)
{
    const std::size_t separator = database.find_last_of("/\\");
    const std::size_t dot = database.rfind('.');
    const bool hasExtension = dot != std::string::npos && (separator == std::string::npos || dot > separator + 1);
    return (hasExtension ? database.substr(0, dot) : database) + ".ide_pld";
}

// A name takes the rest of its line: it must be there and hold no line break
// (any other byte reads back as written).
bool IsStorableName(const std::string& name)
{
    return !name.empty() && name.find_first_of("\r\n") == std::string::npos;
}

// An optional value: empty, or a name.
bool IsStorableValue(const std::string& value) { return value.empty() || IsStorableName(value); }

bool IsStorable(const KemletContentIf& content, const std::string& databaseTitle)
{
    auto storable = [](const std::vector<std::string>& names) {
        return std::all_of(names.begin(), names.end(), IsStorableName);
    };
    const std::vector<KemletFileRecord> records = content.GetRecords();
    const bool recordsStorable = std::all_of(records.begin(), records.end(), [&](const KemletFileRecord& record) {
        return IsStorableName(record.name) && IsStorableValue(content.GetLocalCopy(record.name)) &&
               IsStorableValue(record.format) && record.kind >= -1;
    });
    const std::vector<KemletOptionalFile>& optional = content.GetOptionalFiles();
    const bool optionalStorable = std::all_of(optional.begin(), optional.end(),
                                              [](const KemletOptionalFile& file) { return IsStorableName(file.name); });
    const std::string values[] = {databaseTitle, content.GetDesignName(), content.GetFamily(), content.GetDie(),
                                  content.GetPackage()};
    return recordsStorable && optionalStorable && storable(content.GetUsedInputFiles()) &&
           std::all_of(std::begin(values), std::end(values), IsStorableValue);
}

bool ReadFlag(const std::string& value, bool& flag)
{
    if (value != "0" && value != "1") return false;
    flag = value == "1";
    return true;
}

bool ReadOptionalFlag(const std::string& value, std::optional<bool>& flag)
{
    bool read = false;
    if (!ReadFlag(value, read)) return false;
    flag = read;
    return true;
}

bool IsAbsoluteName(const std::string& name)
{
    if (name.empty()) return false;
    if (name.front() == '/' || name.front() == '\\') return true;
    const char drive = name.front();
    return name.size() >= 2 && name[1] == ':' && ((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z'));
}

std::string FolderOf(const std::string& path)
{
    const std::size_t separator = path.find_last_of("/\\");
    if (separator == std::string::npos) return std::string();
    return separator == 0 ? path.substr(0, 1) : path.substr(0, separator);
}

bool IsProjectFileName(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && dot > 0 && UtlIsSameFileName(name.substr(dot), ".prj");
}

// The project a description belongs to: the nearest folder at or above its
// own that holds a project file; empty when there is none (or the folder is
// not absolute). The root itself is never taken.
std::string ProjectFolderOf(const std::string& descriptionFolder)
{
    if (!IsAbsoluteName(descriptionFolder)) return std::string();
    for (std::string folder = UtlResolveDots(descriptionFolder); folder.find_last_of('/') != std::string::npos;) {
        const std::size_t separator = folder.find_last_of('/');
        if (separator + 1 == folder.size()) break;  // the root
        std::vector<std::string> names;
        if (SysListFolder(folder, names) && std::any_of(names.begin(), names.end(), [&](const std::string& name) {
                return IsProjectFileName(name) && UtlDoesFileExist(folder + "/" + name);
            }))
            return folder;
        folder = separator == 0 ? folder.substr(0, 1) : folder.substr(0, separator);
    }
    return std::string();
}

// The project of a description whose writer knows the project file: its
// folder, spelled as in the description's own folder, when the description
// lies inside it and the file is there; otherwise the nearest one found.
std::string ProjectFolderOf(const std::string& descriptionFolder, const std::string& projectFile)
{
    if (projectFile.empty() || !IsAbsoluteName(descriptionFolder)) return ProjectFolderOf(descriptionFolder);
    const std::string project = FolderOf(UtlResolveDots(projectFile));
    const std::string own = UtlResolveDots(descriptionFolder);
    // Never a root, which the search does not take either.
    const bool inside = project.find('/') != std::string::npos && project.back() != '/' &&
                        own.size() >= project.size() && (own.size() == project.size() || own[project.size()] == '/') &&
                        UtlIsSameFileName(own.substr(0, project.size()), project);
    if (!inside || !IsProjectFileName(projectFile) || !UtlDoesFileExist(projectFile))
        return ProjectFolderOf(descriptionFolder);
    return own.substr(0, project.size());
}

// How names are written into one description and read back from it.
// A name inside the project is written relative to the description's
// folder, so that a copied or moved project's descriptions name its own
// files; any other name stays absolute. A relative name is read against
// the description's folder; an absolute one (all names of older
// descriptions) as it stands.
struct NameBase {
    std::string folder;   // the description's folder; names as written when empty
    std::string project;  // the project folder; nothing made relative when empty

    std::string Read(const std::string& name) const
    {
        if (folder.empty() || IsAbsoluteName(name)) return name;
        return UtlResolveDots(folder + "/" + name);
    }

    std::string Written(const std::string& name) const
    {
        if (folder.empty() || project.empty() || !IsAbsoluteName(name)) return name;
        const std::string full = UtlResolveDots(name);
        const std::string own = UtlResolveDots(folder);
        const auto inProject = [this](const std::string& path) {
            return path.size() > project.size() && path[project.size()] == '/' &&
                   UtlIsSameFileName(path.substr(0, project.size()), project);
        };
        if (!inProject(full) || (own != project && !inProject(own))) return name;
        std::string written;
        for (std::size_t at = project.size(); at != std::string::npos && at < own.size(); at = own.find('/', at + 1))
            written += "../";
        return written + full.substr(project.size() + 1);
    }
};

// A listed file whose COPY, KIND and FORMAT lines may still follow.
struct PendingFile {
    std::string name;
    bool link = false;
    std::string copy;
    int kind = -1;
    std::string format;
};

void Flush(std::optional<PendingFile>& pending, KemletContentIf& content)
{
    if (!pending) return;
    if (pending->link) {
        content.AddLink(pending->name, pending->copy);
        content.SetLastFileAttributes(pending->kind, pending->format);
    } else {
        content.AddFile(pending->name, pending->kind, pending->format);
    }
    pending.reset();
}

// The content's lines after the header; false for a malformed line.
bool Parse(std::istream& in, KemletContentIf& content, const NameBase& base)
{
    std::optional<bool> runFailed, layoutCompleted, backAnnotated, synthesized;
    bool localCopies = false;
    std::string family, die, package;
    std::optional<PendingFile> pending;
    std::vector<KemletOptionalFile> optional;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        // A lone carriage return inside a line could not be written back.
        if (line.find('\r') != std::string::npos) return false;
        const std::size_t blank = line.find(' ');
        const std::string key = line.substr(0, blank);
        const std::string value = blank == std::string::npos ? std::string() : line.substr(blank + 1);
        if (key == "WRITER") {
            int writer = 0;
            if (!UtlConvertToInteger(value, writer)) return false;
            content.SetWhoWroteTheFile(writer);
        } else if (key == "DATABASE" || key == "DESIGN" || key == "FAMILY" || key == "DIE" || key == "PACKAGE") {
            if (value.empty()) return false;
            if (key == "DATABASE") content.SetDescribedDatabase(value);
            if (key == "DESIGN") content.SetDesignName(value);
            if (key == "FAMILY") family = value;
            if (key == "DIE") die = value;
            if (key == "PACKAGE") package = value;
        } else if (key == "RUN_FAILED" || key == "LAYOUT_COMPLETED" || key == "BACK_ANNOTATED" ||
                   key == "SYNTHESIZED") {
            std::optional<bool>& flag = key == "RUN_FAILED"         ? runFailed
                                        : key == "LAYOUT_COMPLETED" ? layoutCompleted
                                        : key == "BACK_ANNOTATED"   ? backAnnotated
                                                                    : synthesized;
            if (!ReadOptionalFlag(value, flag)) return false;
        } else if (key == "LOCAL_COPIES") {
            if (!ReadFlag(value, localCopies)) return false;
        } else if (key == "FILE" || key == "LINK") {
            if (value.empty()) return false;
            Flush(pending, content);
            pending.emplace();
            pending->name = base.Read(value);
            pending->link = key == "LINK";
        } else if (key == "COPY") {
            if (!pending || !pending->link || !pending->copy.empty() || value.empty()) return false;
            pending->copy = base.Read(value);
        } else if (key == "KIND") {
            if (!pending || !UtlConvertToInteger(value, pending->kind) || pending->kind < 0) return false;
        } else if (key == "FORMAT") {
            if (!pending || value.empty()) return false;
            pending->format = value;
        } else if (key == "USED") {
            if (value.empty()) return false;
            content.AddUsedInputFile(base.Read(value));
        } else if (key == "OPTIONAL") {
            const std::size_t nameStart = value.find(' ');
            int flag = 0;
            if (nameStart == std::string::npos || !UtlConvertToInteger(value.substr(0, nameStart), flag) ||
                nameStart + 1 >= value.size())
                return false;
            optional.push_back({base.Read(value.substr(nameStart + 1)), flag});
        }
    }
    Flush(pending, content);
    content.SetOptionalFiles(optional);
    if (runFailed) content.SetRunFailed(*runFailed);
    if (layoutCompleted) content.SetLayoutCompleted(*layoutCompleted);
    if (backAnnotated) content.SetBackAnnotated(*backAnnotated);
    if (synthesized) content.SetSynthesizedFlow(*synthesized);
    content.SetDevice(family, die, package);
    content.SetLocalCopiesMade(localCopies);
    return true;
}

// A line only for an outcome the content states.
void WriteOptionalFlag(std::ostream& out, const char* key, const KemletContentIf& content,
                       bool (KemletContentIf::*query)(bool&) const)
{
    bool flag = false;
    if ((content.*query)(flag)) out << key << ' ' << (flag ? 1 : 0) << '\n';
}

// A line only for a value the content states.
void WriteValue(std::ostream& out, const char* key, const std::string& value)
{
    if (!value.empty()) out << key << ' ' << value << '\n';
}

std::string TitleOf(const std::string& path)
{
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace

KemletIde_pldFileManagerIf::KemletIde_pldFileManagerIf(const std::string& database, WhoWroteTheFile writer,
                                                       KemletReloadCallback callback)
    : m_database(database), m_fileName(DescriptionOf(database)), m_writer(writer), m_callback(callback)
{
}

bool KemletIde_pldFileManagerIf::IsReady() const
{
    return UtlDoesFileExist(m_fileName) && SysAccess(m_fileName, 4) == 0;
}

bool KemletIde_pldFileManagerIf::Read(KemletContentIf* content) const
{
    std::string text;
    if (!content || !SysReadFile(m_fileName, text)) return false;
    KemletContentIf read;
    if (!KemletParseDescription(text, read, FolderOf(m_fileName))) {
        SysDebugPrintf("Error: '%s' is not a readable place-and-route description.\n", m_fileName.c_str());
        return false;
    }
    read.SetDatabaseName(m_database);
    *content = read;
    return true;
}

bool KemletIde_pldFileManagerIf::Write(const KemletContentIf& content) const
{
    std::string text;
    const std::string folder = FolderOf(m_fileName);
    if (!KemletFormatDescription(content, m_writer, TitleOf(m_database), text, folder,
                                 ProjectFolderOf(folder, m_projectFile))) {
        SysDebugPrintf("Error: an empty name or a name with a line break cannot be written to '%s'.\n",
                       m_fileName.c_str());
        return false;
    }
    if (!SysFileHolds(m_fileName, text) && !SysWriteFileAtomically(m_fileName, text)) return false;
    if (m_callback) m_callback(m_database.c_str());
    return true;
}

bool KemletParseDescription(const std::string& text, KemletContentIf& content, const std::string& folder)
{
    std::istringstream in(text);
    std::string header;
    std::getline(in, header);
    if (!header.empty() && header.back() == '\r') header.pop_back();
    KemletContentIf read;
    if (header != kHeader || !Parse(in, read, NameBase{folder, std::string()})) return false;
    content = read;
    return true;
}

bool KemletFormatDescription(const KemletContentIf& content, WhoWroteTheFile writer, const std::string& databaseTitle,
                             std::string& text, const std::string& folder, const std::string& projectFolder)
{
    if (!IsStorable(content, databaseTitle)) return false;
    const NameBase base{folder, projectFolder.empty() ? std::string() : UtlResolveDots(projectFolder)};
    std::ostringstream out;
    out << kHeader << '\n' << "WRITER " << static_cast<int>(writer) << '\n';
    WriteValue(out, "DATABASE", databaseTitle);
    WriteValue(out, "DESIGN", content.GetDesignName());
    WriteValue(out, "FAMILY", content.GetFamily());
    WriteValue(out, "DIE", content.GetDie());
    WriteValue(out, "PACKAGE", content.GetPackage());
    WriteOptionalFlag(out, "SYNTHESIZED", content, &KemletContentIf::GetSynthesizedFlow);
    WriteOptionalFlag(out, "RUN_FAILED", content, &KemletContentIf::GetRunFailed);
    WriteOptionalFlag(out, "LAYOUT_COMPLETED", content, &KemletContentIf::GetLayoutCompleted);
    WriteOptionalFlag(out, "BACK_ANNOTATED", content, &KemletContentIf::GetBackAnnotated);
    out << "LOCAL_COPIES " << (content.WereLocalCopiesMade() ? 1 : 0) << '\n';
    for (const KemletFileRecord& record : content.GetRecords()) {
        out << (content.IsLink(record.name) ? "LINK " : "FILE ") << base.Written(record.name) << '\n';
        const std::string copy = content.GetLocalCopy(record.name);
        WriteValue(out, "COPY", copy.empty() ? copy : base.Written(copy));
        if (record.kind >= 0) out << "KIND " << record.kind << '\n';
        WriteValue(out, "FORMAT", record.format);
    }
    for (const std::string& name : content.GetUsedInputFiles()) out << "USED " << base.Written(name) << '\n';
    for (const KemletOptionalFile& file : content.GetOptionalFiles())
        out << "OPTIONAL " << file.flag << ' ' << base.Written(file.name) << '\n';
    text = out.str();
    return true;
}

KemletIde_pldFileManagerIf* KemletGetNewFileManager(const char* file, WhoWroteTheFile writer,
                                                    KemletReloadCallback callback)
{
    if (!file || !*file) return nullptr;
    // The caller owns the manager until KemletDeleteFileManager.
    return std::make_unique<KemletIde_pldFileManagerIf>(file, writer, callback).release();
}

void KemletDeleteFileManager(KemletIde_pldFileManagerIf*& manager)
{
    std::unique_ptr<KemletIde_pldFileManagerIf> owned(manager);
    manager = nullptr;
}
