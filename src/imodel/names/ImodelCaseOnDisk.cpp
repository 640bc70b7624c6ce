#include "imodel/names/ImodelCaseOnDisk.h"

#include <foundation/Sys.h>
#include <foundation/UtlAscii.h>

#include <vector>

namespace {

std::string Lower(std::string text)
{
    UtlMakeLower(text);
    return text;
}

// `path` split at its last "/": the folder ("/" for the root) and the name
// after it. False for a name that no entry of a folder can have.
bool Split(const std::string& path, std::string& folder, std::string& name)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return false;
    folder = slash == 0 ? std::string("/") : path.substr(0, slash);
    name = path.substr(slash + 1);
    return !name.empty() && name != "." && name != "..";
}

std::string Joined(const std::string& folder, const std::string& name)
{
    return folder.back() == '/' ? folder + name : folder + '/' + name;
}

}  // namespace

std::string ImodelCaseOnDisk::Find(const std::string& path)
{
    SysStatInfo status;
    std::string folder;
    std::string name;
    if (SysPathStat(path, &status) == 0 || !Split(path, folder, name)) return std::string();
    const std::string onDisk = FolderOnDisk(folder);
    if (onDisk.empty()) return std::string();
    const std::string entry = OnlyEntry(onDisk, name);
    if (entry.empty()) return std::string();
    const std::string found = Joined(onDisk, entry);
    if (found == path || SysPathStat(found, &status) != 0 || !SysIsRegularFile(status)) return std::string();
    return found;
}

std::string ImodelCaseOnDisk::FolderOnDisk(const std::string& folder)
{
    if (const auto known = m_folders.find(folder); known != m_folders.end()) return known->second;
    std::string found;
    SysStatInfo status;
    std::string parent;
    std::string name;
    if (SysPathStat(folder, &status) == 0) {
        // There under this very name: taken as it is, whatever else the
        // parent holds.
        if (SysIsDirectory(status)) found = folder;
    } else if (Split(folder, parent, name)) {
        // Each level is asked once: the parent's answer is kept too.
        const std::string parentOnDisk = FolderOnDisk(parent);
        const std::string entry = parentOnDisk.empty() ? std::string() : OnlyEntry(parentOnDisk, name);
        if (!entry.empty()) {
            const std::string candidate = Joined(parentOnDisk, entry);
            if (SysPathStat(candidate, &status) == 0 && SysIsDirectory(status)) found = candidate;
        }
    }
    m_folders.emplace(folder, found);
    return found;
}

std::string ImodelCaseOnDisk::OnlyEntry(const std::string& folder, const std::string& name)
{
    auto listed = m_listings.find(folder);
    if (listed == m_listings.end()) {
        Listing listing;
        std::vector<std::string> names;
        // A folder that cannot be read holds nothing to follow.
        if (SysListFolder(folder, names))
            for (std::string& entry : names) {
                auto& [kept, count] = listing[Lower(entry)];
                if (count++ == 0) kept = std::move(entry);
            }
        listed = m_listings.emplace(folder, std::move(listing)).first;
    }
    const auto entry = listed->second.find(Lower(name));
    return entry == listed->second.end() || entry->second.second != 1 ? std::string() : entry->second.first;
}
