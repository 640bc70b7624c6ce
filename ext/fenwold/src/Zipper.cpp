#include "fenwold/Zipper.h"

#include <foundation/Sys.h>

#include <zip.h>

#include <atomic>
#include <set>
#include <unistd.h>
#include <utility>
#include <vector>

namespace Fenwold {

struct Zipper::Archive {
    zip_t* zip = nullptr;
    zip_int64_t entries = 0;
    bool failed = false;
    // The real paths the walk must not archive: the archive under its final
    // name and under its temporary one.
    std::set<std::string> own;
};

namespace {

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A hidden name beside the archive, one per archive of the process.
std::string TemporaryName(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    return FolderOf(target) + "/." + NameOf(target).substr(0, 64) + "." + std::to_string(::getpid()) + "." +
           std::to_string(counter++) + ".tmp";
}

// The real path a file will have once it exists: its folder's real path and
// its own name.
std::string FutureRealPath(const std::string& path)
{
    const std::string folder = SysGetRealPath(FolderOf(path));
    return folder.empty() ? std::string() : folder + "/" + NameOf(path);
}

}  // namespace

Zipper::Zipper(const std::string& archive, int, int)
    : m_target(SysGetQualifiedPath(archive)), m_archive(std::make_unique<Archive>())
{
    if (m_target.empty() || m_target.back() == '/') {
        Fail("the archive needs a file name");
        return;
    }
    m_temporary = TemporaryName(m_target);
    int error = 0;
    m_archive->zip = zip_open(m_temporary.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!m_archive->zip) {
        zip_error_t reason;
        zip_error_init_with_code(&reason, error);
        Fail(zip_error_strerror(&reason));
        zip_error_fini(&reason);
        return;
    }
    for (const std::string& own : {FutureRealPath(m_target), FutureRealPath(m_temporary)})
        if (!own.empty()) m_archive->own.insert(own);
}

Zipper::~Zipper()
{
    if (m_archive && m_archive->zip) zip_discard(m_archive->zip);
}

void Zipper::Fail(const std::string& why)
{
    if (m_error.empty()) m_error = why;
    m_archive->failed = true;
}

bool Zipper::AddFolderToZip(const std::string& folder, int)
{
    if (!m_archive->zip) return false;
    const std::string root = SysGetQualifiedPath(folder);
    const std::string rootName = NameOf(root);
    if (root.empty() || rootName.empty() || !UtlDoesPathExist(root)) {
        Fail("'" + folder + "' is not a folder");
        return false;
    }
    // (disk path, name in the archive), walked depth first in name order;
    // each folder is entered once, whatever the links that lead to it again.
    std::vector<std::pair<std::string, std::string>> pending = {{root, rootName}};
    std::set<std::string> entered;
    while (!pending.empty()) {
        const auto [path, name] = std::move(pending.back());
        pending.pop_back();
        if (!entered.insert(SysGetRealPath(path)).second) continue;
        std::vector<std::string> children;
        if (!SysListFolder(path, children)) {
            Fail("the folder '" + path + "' cannot be read");
            return false;
        }
        if (zip_dir_add(m_archive->zip, (name + "/").c_str(), ZIP_FL_ENC_UTF_8) < 0) {
            Fail(zip_strerror(m_archive->zip));
            return false;
        }
        ++m_archive->entries;
        // Files in name order; sub-folders after them, the first one on top.
        std::vector<std::pair<std::string, std::string>> folders;
        for (const std::string& child : children) {
            const std::string childPath = path + "/" + child;
            const std::string childName = name + "/" + child;
            SysStatInfo info;
            if (SysPathStat(childPath, &info) != 0) continue;  // a link to nothing: nothing to keep
            if (SysIsDirectory(info)) {
                folders.emplace_back(childPath, childName);
                continue;
            }
            if (!SysIsRegularFile(info) || m_archive->own.count(SysGetRealPath(childPath)) != 0) continue;
            zip_source_t* source = zip_source_file(m_archive->zip, childPath.c_str(), 0, 0);
            if (!source || zip_file_add(m_archive->zip, childName.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
                if (source) zip_source_free(source);
                Fail(zip_strerror(m_archive->zip));
                return false;
            }
            ++m_archive->entries;
        }
        pending.insert(pending.end(), folders.rbegin(), folders.rend());
    }
    return true;
}

bool Zipper::CloseZip()
{
    if (!m_archive->zip) return false;
    zip_t* zip = std::exchange(m_archive->zip, nullptr);
    if (m_archive->failed || m_archive->entries == 0) {
        if (m_archive->entries == 0) Fail("nothing was added to the archive");
        zip_discard(zip);
        return false;
    }
    // The files are read now, while the archive is written.
    if (zip_close(zip) != 0) {
        Fail(zip_strerror(zip));
        zip_discard(zip);
        SysDelete(m_temporary);
        return false;
    }
    if (SysSyncFile(m_temporary) != 0 || SysRename(m_temporary, m_target) != 0) {
        Fail("the archive cannot take the name '" + m_target + "'");
        SysDelete(m_temporary);
        return false;
    }
    return true;
}

}  // namespace Fenwold
