#include "src/icmd/files/IcmdMemberIdentities.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/names/imodelUtl.h"

#include <algorithm>
#include <vector>

std::string IcmdMemberIdentities::OtherNameOf(const std::string& path, const std::string& except)
{
    const SysFileIdentity identity = SysGetFileIdentity(path);
    if (identity == SysFileIdentity()) return std::string();
    Read();
    const auto [first, last] = m_members.equal_range(identity);
    if (std::any_of(first, last, [&path](const auto& member) { return ImodelIsSameFileName(member.second, path); }))
        return std::string();
    const auto other = std::find_if(first, last, [&except](const auto& member) {
        return except.empty() || !ImodelIsSameFileName(member.second, except);
    });
    return other == last ? std::string() : other->second;
}

void IcmdMemberIdentities::Add(const std::string& path)
{
    const SysFileIdentity identity = SysGetFileIdentity(path);
    if (identity == SysFileIdentity()) return;
    Read();
    m_members.emplace(identity, path);
}

void IcmdMemberIdentities::Read()
{
    if (m_read || !m_files) return;
    m_read = true;
    std::vector<boost::shared_ptr<IfileObjectEx>> entries;
    m_files->GetFiles(entries, 0, nullptr);
    for (const auto& entry : entries) {
        if (!entry) continue;
        std::string name = entry->GetFullFileName().GetString();
        const SysFileIdentity identity = SysGetFileIdentity(name);
        if (identity != SysFileIdentity()) m_members.emplace(identity, std::move(name));
    }
}
