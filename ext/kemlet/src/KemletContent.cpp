#include "kemlet/KemletContentIf.h"

#include <foundation/Sys.h>
#include <foundation/UtlAscii.h>

#include <algorithm>
#include <memory>
#include <unordered_map>

bool KemletIsOptionalSameFileName(const std::string& a, const std::string& b) { return UtlIsSameFileName(a, b); }

bool KemletContentIf::Answer(const std::optional<bool>& stated, bool& flag)
{
    if (!stated) return false;
    flag = *stated;
    return true;
}

bool KemletContentIf::IsFileInList(const std::string& fullName) const
{
    return std::any_of(m_files.begin(), m_files.end(),
                       [&](const std::string& name) { return UtlIsSameFileName(name, fullName); });
}

bool KemletContentIf::IsSameFileList(const std::vector<std::string>& names) const
{
    return std::equal(m_files.begin(), m_files.end(), names.begin(), names.end(), UtlIsSameFileName);
}

std::vector<KemletFileRecord> KemletContentIf::GetRecords() const
{
    std::vector<KemletFileRecord> records;
    records.reserve(m_files.size());
    for (std::size_t i = 0; i < m_files.size(); ++i)
        records.push_back({m_files[i], m_attributes[i].kind, m_attributes[i].format});
    return records;
}

bool KemletContentIf::IsSameRecords(const std::vector<KemletFileRecord>& records) const
{
    if (records.size() != m_files.size()) return false;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!UtlIsSameFileName(records[i].name, m_files[i]) || records[i].kind != m_attributes[i].kind ||
            records[i].format != m_attributes[i].format)
            return false;
    }
    return true;
}

bool KemletContentIf::IsContentOf(const std::string& database) const
{
    if (m_describedDatabase.empty()) return true;
    const std::size_t separator = database.find_last_of("/\\");
    const std::string title = separator == std::string::npos ? database : database.substr(separator + 1);
    return UtlIsSameFileName(title, m_describedDatabase);
}

const KemletOptionalFile* KemletContentIf::FindOptionalFile(const std::string& name) const
{
    const auto found =
        std::find_if(m_optionalFiles.begin(), m_optionalFiles.end(),
                     [&](const KemletOptionalFile& file) { return KemletIsOptionalSameFileName(file.name, name); });
    return found == m_optionalFiles.end() ? nullptr : &*found;
}

void KemletContentIf::SetOptionalFile(const std::string& name, int flag)
{
    const auto found =
        std::find_if(m_optionalFiles.begin(), m_optionalFiles.end(),
                     [&](const KemletOptionalFile& file) { return KemletIsOptionalSameFileName(file.name, name); });
    if (found != m_optionalFiles.end())
        found->flag = flag;
    else
        m_optionalFiles.push_back({name, flag});
}

void KemletContentIf::SetOptionalFiles(const std::vector<KemletOptionalFile>& files)
{
    // One entry per file, found by a key that compares as file names do.
    std::unordered_map<std::string, std::size_t> index;
    m_optionalFiles.clear();
    for (const KemletOptionalFile& file : files) {
        std::string key = file.name;
        for (char& c : key) c = c == '\\' ? '/' : UtlToLower(c);
        const auto [found, added] = index.emplace(std::move(key), m_optionalFiles.size());
        if (added)
            m_optionalFiles.push_back(file);
        else
            m_optionalFiles[found->second].flag = file.flag;
    }
}

void KemletContentIf::SetDevice(const std::string& family, const std::string& die, const std::string& package)
{
    m_family = family;
    m_die = die;
    m_package = package;
}

void KemletContentIf::AddFile(const std::string& name, int kind, const std::string& format)
{
    m_files.push_back(name);
    m_attributes.push_back({kind, format});
}

void KemletContentIf::AddLink(const std::string& name, const std::string& localCopy)
{
    AddFile(name);
    m_localCopies[name] = localCopy;
}

bool KemletContentIf::SetLastFileAttributes(int kind, const std::string& format)
{
    if (m_attributes.empty()) return false;
    m_attributes.back() = {kind, format};
    return true;
}

void KemletContentIf::SetRecords(const std::vector<KemletFileRecord>& records)
{
    std::map<std::string, std::string> links;
    m_files.clear();
    m_attributes.clear();
    for (const KemletFileRecord& record : records) {
        const auto link = m_localCopies.find(record.name);
        if (link != m_localCopies.end()) links.insert(*link);
        AddFile(record.name, record.kind, record.format);
    }
    m_localCopies = std::move(links);
}

bool KemletContentIf::RenameFile(const std::string& from, const std::string& to)
{
    bool changed = false;
    const auto rename = [&](std::string& name) {
        if (!UtlIsSameFileName(name, from) || name == to) return;
        name = to;
        changed = true;
    };
    for (std::string& name : m_files) {
        const auto link = m_localCopies.find(name);
        const std::string oldName = name;
        rename(name);
        if (link != m_localCopies.end() && name != oldName) {
            std::string copy = link->second;
            m_localCopies.erase(link);
            m_localCopies[name] = copy;
        }
    }
    for (std::string& name : m_usedInputFiles) rename(name);
    for (KemletOptionalFile& file : m_optionalFiles) rename(file.name);
    return changed;
}

std::string KemletContentIf::GetLocalCopy(const std::string& link) const
{
    const auto found = m_localCopies.find(link);
    return found == m_localCopies.end() ? std::string() : found->second;
}

bool KemletContentIf::UpdateFileToLocal(const std::string& databaseName)
{
    if (m_database.empty() || !UtlIsSameFileName(m_database, databaseName)) return false;
    for (std::string& name : m_files) {
        const auto link = m_localCopies.find(name);
        if (link == m_localCopies.end() || link->second.empty()) continue;
        const std::string copy = link->second;
        m_localCopies.erase(link);
        name = copy;
    }
    return m_localCopies.empty();
}

KemletContentIf* KemletGetNewFileContent(const KemletContentIf* source)
{
    // The caller owns the content until KemletDeleteFileContent.
    return (source ? std::make_unique<KemletContentIf>(*source) : std::make_unique<KemletContentIf>()).release();
}

void KemletDeleteFileContent(KemletContentIf*& content)
{
    std::unique_ptr<KemletContentIf> owned(content);
    content = nullptr;
}
