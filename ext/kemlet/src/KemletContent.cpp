#include "kemlet/KemletContentIf.h"

#include <foundation/Sys.h>

#include <algorithm>
#include <memory>

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

void KemletContentIf::AddLink(const std::string& name, const std::string& localCopy)
{
    m_files.push_back(name);
    m_localCopies[name] = localCopy;
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
