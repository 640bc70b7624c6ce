#include "src/icmd/files/IcmdMemberIdentities.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/SysNames.h>
#include <foundation/UtlAscii.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string_view>
#include <unordered_map>

namespace {

// The last component of a name, read as the system reads it.
std::string_view TitleOf(std::string_view name)
{
    const std::size_t separator = name.find_last_of("/\\");
    return separator == std::string_view::npos ? name : name.substr(separator + 1);
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    UtlMakeLower(lower);
    return lower;
}

// A folder's names that may be links, as listed at `listedAt`.
struct FolderLinks {
    SysNameStatus self;
    std::int64_t listedAt = 0;
    std::vector<std::string> lowerNames;  // sorted
    bool readable = false;
};

// Two changes to a folder within one tick of the file system's clock may
// carry the same time: a listing is kept only when the folder had not
// changed for this long before it was read.
constexpr std::int64_t kSettled = 2'000'000'000;
constexpr std::size_t kMostFolders = 4096;

std::int64_t Now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::mutex g_foldersLock;
std::unordered_map<std::string, FolderLinks> g_folders;

// The folder's names that may be links, lower case; false when the folder
// cannot be read, and any name in it may be one.
bool LinksIn(const std::string& folder, std::vector<std::string>& lowerNames)
{
    SysNameStatus now;
    const bool there = SysGetNameStatus(folder, now);
    const std::lock_guard<std::mutex> lock(g_foldersLock);
    if (there) {
        const auto kept = g_folders.find(folder);
        if (kept != g_folders.end() && kept->second.readable && kept->second.self.identity == now.identity &&
            kept->second.self.changed == now.changed && kept->second.self.changed + kSettled < kept->second.listedAt) {
            lowerNames = kept->second.lowerNames;
            return true;
        }
    }
    FolderLinks listed;
    listed.listedAt = Now();
    std::vector<std::string> names;
    listed.readable = SysListFolderLinks(folder, names, listed.self);
    for (const std::string& name : names) listed.lowerNames.push_back(Lower(name));
    std::sort(listed.lowerNames.begin(), listed.lowerNames.end());
    lowerNames = listed.lowerNames;
    if (g_folders.size() >= kMostFolders) g_folders.clear();
    const bool readable = listed.readable;
    g_folders.insert_or_assign(folder, std::move(listed));
    return readable;
}

// The answer from the members found to name the file, in member order.
std::string Choose(const std::vector<std::string>& same, const std::string& path, const std::string& except)
{
    if (std::any_of(same.begin(), same.end(),
                    [&path](const std::string& name) { return ImodelIsSameFileName(name, path); }))
        return std::string();
    const auto other = std::find_if(same.begin(), same.end(), [&except](const std::string& name) {
        return except.empty() || !ImodelIsSameFileName(name, except);
    });
    return other == same.end() ? std::string() : *other;
}

// Questions a command may answer from the likely names before it looks at
// every member once instead.
constexpr int kMostLikelyQuestions = 8;

}  // namespace

IcmdMemberIdentities::IcmdMemberIdentities(std::vector<std::string> members) : m_taken(true)
{
    m_members.reserve(members.size());
    for (std::string& name : members) m_members.push_back(Member{nullptr, std::move(name)});
}

std::string IcmdMemberIdentities::OtherNameOf(const std::string& path, const std::string& except)
{
    SysNameStatus named;
    if (!SysGetNameStatus(path, named)) return std::string();
    if (named.links == 1 && !named.symbolic && !m_read && m_likely < kMostLikelyQuestions) {
        ++m_likely;
        return FromLikelyNames(path, named.identity, except);
    }
    return FromEveryName(path, named.identity, except);
}

void IcmdMemberIdentities::Add(const std::string& path)
{
    if (SysGetFileIdentity(path) == SysFileIdentity()) return;
    Take();
    m_members.push_back(Member{nullptr, path});
    if (m_read) m_byIdentity.emplace(SysGetFileIdentity(path), path);
}

void IcmdMemberIdentities::Take()
{
    if (m_taken) return;
    m_taken = true;
    if (!m_files) return;
    std::vector<boost::shared_ptr<IfileObjectEx>> entries;
    m_files->GetFiles(entries, 0, nullptr);
    m_members.reserve(entries.size());
    for (boost::shared_ptr<IfileObjectEx>& entry : entries)
        if (entry) m_members.push_back(Member{std::move(entry), std::string()});
}

const std::string& IcmdMemberIdentities::StoredName(const Member& member) const
{
    return member.entry ? member.entry->GetInternalFileName().GetString() : member.name;
}

std::string IcmdMemberIdentities::FullName(const Member& member) const
{
    return member.entry ? member.entry->GetFullFileName().GetString() : member.name;
}

std::string IcmdMemberIdentities::FromLikelyNames(const std::string& path, const SysFileIdentity& identity,
                                                  const std::string& except)
{
    Take();
    const std::string_view title = TitleOf(path);
    // The members by folder (the stored folder: one text per folder), and
    // those that end in the file's name.
    std::vector<bool> likely(m_members.size(), false);
    std::vector<std::size_t> folderOf(m_members.size(), 0);
    std::vector<std::size_t> firstOfFolder;
    std::unordered_map<std::string_view, std::size_t> folders;
    for (std::size_t i = 0; i < m_members.size(); ++i) {
        const std::string_view stored = StoredName(m_members[i]);
        const std::string_view own = TitleOf(stored);
        likely[i] = UtlIsSameNoCase(own, title);
        const auto [folder, added] =
            folders.emplace(stored.substr(0, stored.size() - own.size()), firstOfFolder.size());
        if (added) firstOfFolder.push_back(i);
        folderOf[i] = folder->second;
    }
    // The members their folders list as links (or all of a folder that
    // cannot be read).
    std::vector<std::vector<std::string>> links(firstOfFolder.size());
    std::vector<bool> unreadable(firstOfFolder.size(), false);
    for (std::size_t f = 0; f < firstOfFolder.size(); ++f) {
        const std::string full = FullName(m_members[firstOfFolder[f]]);
        const std::string folder = full.substr(0, full.size() - TitleOf(full).size());
        unreadable[f] = !LinksIn(folder.empty() ? std::string(".") : folder, links[f]);
    }
    std::vector<std::string> same;
    for (std::size_t i = 0; i < m_members.size(); ++i) {
        const std::size_t f = folderOf[i];
        if (!likely[i] && !unreadable[f]) {
            if (links[f].empty()) continue;
            const std::string own = Lower(TitleOf(StoredName(m_members[i])));
            if (!std::binary_search(links[f].begin(), links[f].end(), own)) continue;
        }
        std::string full = FullName(m_members[i]);
        if (SysGetFileIdentity(full) == identity) same.push_back(std::move(full));
    }
    return Choose(same, path, except);
}

std::string IcmdMemberIdentities::FromEveryName(const std::string& path, const SysFileIdentity& identity,
                                                const std::string& except)
{
    Read();
    const auto [first, last] = m_byIdentity.equal_range(identity);
    std::vector<std::string> same;
    for (auto member = first; member != last; ++member) same.push_back(member->second);
    return Choose(same, path, except);
}

void IcmdMemberIdentities::Read()
{
    if (m_read) return;
    m_read = true;
    Take();
    for (const Member& member : m_members) {
        std::string name = FullName(member);
        const SysFileIdentity identity = SysGetFileIdentity(name);
        if (identity != SysFileIdentity()) m_byIdentity.emplace(identity, std::move(name));
    }
}
