#include "src/icmd/files/IcmdMemberIdentities.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/SysNames.h>
#include <foundation/UtlAscii.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <iterator>
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

enum class FolderLinksFound {
    Listed,
    // The folder cannot be read: any name in it may be a link.
    Unreadable,
    // Nothing is there: no name in it names a file.
    Missing
};

// The folder's names that may be links, lower case and sorted.
FolderLinksFound LinksIn(const std::string& folder, std::vector<std::string>& lowerNames)
{
    lowerNames.clear();
    SysNameStatus now;
    const bool there = SysGetNameStatus(folder, now);
    const std::lock_guard<std::mutex> lock(g_foldersLock);
    if (there) {
        const auto kept = g_folders.find(folder);
        if (kept != g_folders.end() && kept->second.readable && kept->second.self.identity == now.identity &&
            kept->second.self.changed == now.changed && kept->second.self.changed + kSettled < kept->second.listedAt) {
            lowerNames = kept->second.lowerNames;
            return FolderLinksFound::Listed;
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
    if (readable) return FolderLinksFound::Listed;
    // A name in a folder ending in "/" is looked up through the folder: no
    // name in it is there when the folder is not. (A name's last "\" is no
    // separator to the system.)
    return !there && folder.ends_with('/') ? FolderLinksFound::Missing : FolderLinksFound::Unreadable;
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

IcmdMemberIdentities::IcmdMemberIdentities(std::vector<std::string> members)
    : m_taken(true), m_names(std::move(members))
{
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
    const SysFileIdentity identity = SysGetFileIdentity(path);
    if (identity == SysFileIdentity()) return;
    m_names.push_back(path);
    if (m_read) m_byIdentity.emplace(identity, path);
}

void IcmdMemberIdentities::Take()
{
    if (m_taken) return;
    m_taken = true;
    if (!m_files) return;
    m_files->GetFiles(m_entries, 0, nullptr);
    std::erase(m_entries, nullptr);
}

std::string IcmdMemberIdentities::FromLikelyNames(const std::string& path, const SysFileIdentity& identity,
                                                  const std::string& except)
{
    const std::string title = Lower(TitleOf(path));
    // The members' folders by the text their names give (one text per
    // folder), each listed as its first member's full name gives it: the
    // file manager's folders, then those of the names taken note of.
    struct Folder {
        std::string full;
        std::size_t managed = 0;         // the file manager's files in it
        std::vector<std::size_t> names;  // places in m_names
    };
    std::unordered_map<std::string, Folder> folders;
    if (m_files) {
        std::vector<IfileManager::Folder> managed;
        m_files->GetFileFolders(managed);
        folders.reserve(managed.size());
        for (IfileManager::Folder& folder : managed) {
            const std::string& full = folder.first->GetFullFileName().GetString();
            Folder& own = folders[std::move(folder.text)];
            own.full = full.substr(0, full.size() - TitleOf(full).size());
            own.managed = folder.files;
        }
    }
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        const std::string_view name = m_names[i];
        const auto [own, added] = folders.try_emplace(std::string(name.substr(0, name.size() - TitleOf(name).size())));
        if (added) own->second.full = own->first;
        own->second.names.push_back(i);
    }
    // The members of each folder whose names (letter case aside) are the
    // file's or a link's the folder lists, or all of a folder that cannot
    // be read.
    std::vector<Entry> entries;
    std::vector<std::size_t> names;
    std::vector<std::string> titles;
    std::vector<Entry> found;
    for (const auto& [text, folder] : folders) {
        const FolderLinksFound links = LinksIn(folder.full.empty() ? std::string(".") : folder.full, titles);
        if (links == FolderLinksFound::Missing) continue;
        const bool every = links == FolderLinksFound::Unreadable;
        titles.push_back(title);
        std::sort(titles.begin(), titles.end());
        titles.erase(std::unique(titles.begin(), titles.end()), titles.end());
        const auto likely = [&](std::string_view name) {
            return every || std::binary_search(titles.begin(), titles.end(), Lower(TitleOf(name)));
        };
        if (folder.managed > 0) {
            // By name, unless the folder has fewer members than names to
            // look for.
            if (every || titles.size() >= folder.managed) {
                m_files->GetFilesOfFolder(text, found);
                for (Entry& entry : found)
                    if (likely(entry->GetInternalFileName().GetString())) entries.push_back(std::move(entry));
            } else {
                for (const std::string& name : titles) {
                    m_files->GetFilesOfFolderTitled(text, name, found);
                    std::move(found.begin(), found.end(), std::back_inserter(entries));
                }
            }
        }
        for (const std::size_t i : folder.names)
            if (likely(m_names[i])) names.push_back(i);
    }
    // In member order: the file manager's order, then the names in theirs.
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a->GetInternalFileName() < b->GetInternalFileName(); });
    std::sort(names.begin(), names.end());
    std::vector<std::string> same;
    for (const Entry& entry : entries) {
        std::string full = entry->GetFullFileName().GetString();
        if (SysGetFileIdentity(full) == identity) same.push_back(std::move(full));
    }
    for (const std::size_t i : names)
        if (SysGetFileIdentity(m_names[i]) == identity) same.push_back(m_names[i]);
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
    for (const Entry& entry : m_entries) {
        std::string name = entry->GetFullFileName().GetString();
        const SysFileIdentity identity = SysGetFileIdentity(name);
        if (identity != SysFileIdentity()) m_byIdentity.emplace(identity, std::move(name));
    }
    for (const std::string& name : m_names)
        if (const SysFileIdentity identity = SysGetFileIdentity(name); identity != SysFileIdentity())
            m_byIdentity.emplace(identity, name);
}
