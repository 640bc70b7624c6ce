#include "kemlet/KemletIde_pldFileManagerIf.h"

#include <foundation/Sys.h>

#include <algorithm>
#include <memory>
#include <sstream>

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

// A name takes the rest of its line: it must be there and hold no line break.
bool IsStorableName(const std::string& name) { return !name.empty() && UtlIsOneLine(name); }

bool IsStorable(const KemletContentIf& content)
{
    auto storable = [](const std::vector<std::string>& names) {
        return std::all_of(names.begin(), names.end(), IsStorableName);
    };
    const std::vector<std::string>& files = content.GetFileList();
    const bool copiesStorable = std::all_of(files.begin(), files.end(), [&](const std::string& name) {
        const std::string copy = content.GetLocalCopy(name);
        return copy.empty() || IsStorableName(copy);
    });
    return storable(files) && storable(content.GetUsedInputFiles()) && copiesStorable;
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

// The content's lines after the header; false for a malformed line.
bool Parse(std::istream& in, KemletContentIf& content)
{
    std::optional<bool> runFailed, layoutCompleted, backAnnotated;
    bool localCopies = false;
    std::string pendingLink;  // the last LINK, waiting for its COPY
    bool hasPendingLink = false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        const std::size_t blank = line.find(' ');
        const std::string key = line.substr(0, blank);
        const std::string value = blank == std::string::npos ? std::string() : line.substr(blank + 1);
        if (key == "WRITER") {
            int writer = 0;
            if (!UtlConvertToInteger(value, writer)) return false;
            content.SetWhoWroteTheFile(writer);
        } else if (key == "RUN_FAILED" || key == "LAYOUT_COMPLETED" || key == "BACK_ANNOTATED") {
            std::optional<bool>& flag = key == "RUN_FAILED"         ? runFailed
                                        : key == "LAYOUT_COMPLETED" ? layoutCompleted
                                                                    : backAnnotated;
            if (!ReadOptionalFlag(value, flag)) return false;
        } else if (key == "LOCAL_COPIES") {
            if (!ReadFlag(value, localCopies)) return false;
        } else if (key == "FILE" || key == "LINK" || key == "USED") {
            if (value.empty()) return false;
            if (hasPendingLink) content.AddLink(pendingLink);
            hasPendingLink = key == "LINK";
            if (hasPendingLink)
                pendingLink = value;
            else if (key == "FILE")
                content.AddFile(value);
            else
                content.AddUsedInputFile(value);
        } else if (key == "COPY") {
            if (!hasPendingLink || value.empty()) return false;
            content.AddLink(pendingLink, value);
            hasPendingLink = false;
        }
    }
    if (hasPendingLink) content.AddLink(pendingLink);
    if (runFailed) content.SetRunFailed(*runFailed);
    if (layoutCompleted) content.SetLayoutCompleted(*layoutCompleted);
    if (backAnnotated) content.SetBackAnnotated(*backAnnotated);
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
    std::istringstream in(text);
    std::string header;
    std::getline(in, header);
    if (!header.empty() && header.back() == '\r') header.pop_back();
    KemletContentIf read;
    if (header != kHeader || !Parse(in, read)) {
        SysDebugPrintf("Error: '%s' is not a readable place-and-route description.\n", m_fileName.c_str());
        return false;
    }
    read.SetDatabaseName(m_database);
    *content = read;
    return true;
}

bool KemletIde_pldFileManagerIf::Write(const KemletContentIf& content) const
{
    if (!IsStorable(content)) {
        SysDebugPrintf("Error: an empty name or a name with a line break cannot be written to '%s'.\n",
                       m_fileName.c_str());
        return false;
    }
    std::ostringstream out;
    out << kHeader << '\n' << "WRITER " << static_cast<int>(m_writer) << '\n';
    WriteOptionalFlag(out, "RUN_FAILED", content, &KemletContentIf::GetRunFailed);
    WriteOptionalFlag(out, "LAYOUT_COMPLETED", content, &KemletContentIf::GetLayoutCompleted);
    WriteOptionalFlag(out, "BACK_ANNOTATED", content, &KemletContentIf::GetBackAnnotated);
    out << "LOCAL_COPIES " << (content.WereLocalCopiesMade() ? 1 : 0) << '\n';
    for (const std::string& name : content.GetFileList()) {
        out << (content.IsLink(name) ? "LINK " : "FILE ") << name << '\n';
        const std::string copy = content.GetLocalCopy(name);
        if (!copy.empty()) out << "COPY " << copy << '\n';
    }
    for (const std::string& name : content.GetUsedInputFiles()) out << "USED " << name << '\n';
    if (!SysWriteFileAtomically(m_fileName, out.str())) return false;
    if (m_callback) m_callback(m_database.c_str());
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
