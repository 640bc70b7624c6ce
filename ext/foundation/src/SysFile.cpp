// File status, files and folders on disk. Every file written goes through a
// temporary file in the target's folder that is flushed, synced and renamed
// over the old file, so a failed write never leaves a half file.
#include "foundation/Sys.h"
#include "foundation/SysNames.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace {

// Paths may come with "\" (projects written on Windows).
std::string NativePath(std::string path) { return UtlSetValidSeparator(path); }

// A path as the system takes it, for the length of one call: the path
// itself when it holds no backslash, as nearly every path does, else a copy
// with them turned. A call with a path then makes no copy of it.
class NativeName {
public:
    explicit NativeName(const std::string& path) : m_name(&path)
    {
        if (path.find('\\') == std::string::npos) return;
        m_copy = NativePath(path);
        m_name = &m_copy;
    }
    NativeName(const NativeName&) = delete;
    NativeName& operator=(const NativeName&) = delete;
    const char* c_str() const { return m_name->c_str(); }

private:
    const std::string* m_name;
    std::string m_copy;
};

bool StatPath(const std::string& path, struct stat& st)
{
    return !path.empty() && ::stat(NativeName(path).c_str(), &st) == 0;
}

std::int64_t Nanoseconds(const struct timespec& ts)
{
    std::int64_t ns = 0;
    if (__builtin_mul_overflow(static_cast<std::int64_t>(ts.tv_sec), std::int64_t{1000000000}, &ns) ||
        __builtin_add_overflow(ns, static_cast<std::int64_t>(ts.tv_nsec), &ns)) {
        return ts.tv_sec < 0 ? INT64_MIN : INT64_MAX;  // beyond the year 2262: saturate
    }
    return ns;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A file reached through a symbolic link is written where the link points,
// so the link survives the rename.
std::string WriteTarget(const std::string& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            std::string target(resolved);
            std::free(resolved);
            return target;
        }
    }
    return path;
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: the rename itself already happened
    ::close(fd);
}

// The error text of a failed step: what failed, the path, why.
std::string Reason(const char* what, const std::string& path, int code)
{
    return std::string(what) + " " + path + ": " + std::strerror(code);
}

// A temporary file beside `target` that replaces it on Commit and is removed
// when it goes away uncommitted.
//
// Each target has a temporary of its own name (".<title>.tmp"), which a
// writer holds under an exclusive lock while it writes: a writer killed
// half-way leaves its temporary behind, unlocked, and the next write of the
// same target takes it over and renames it into place, so that stale
// temporaries never pile up. A writer that finds the name locked by a live
// writer uses a name of its own (with its process id and a count).
class AtomicFile {
public:
    // `throughLink`: a target that is a symbolic link is written where it
    // points; otherwise the link itself is replaced by the new file.
    explicit AtomicFile(const std::string& target, bool throughLink = true)
        : m_target(throughLink ? WriteTarget(target) : target)
    {
        const std::string title = m_target.substr(m_target.rfind('/') + 1).substr(0, 64);
        const std::string stem = FolderOf(m_target) + "/." + title;
        m_fd = OpenOwnTemporary(stem + ".tmp");
        if (m_fd < 0) m_fd = OpenUniqueTemporary(stem);
        m_created = m_fd >= 0;
    }
    ~AtomicFile()
    {
        // Removed before the lock goes with the descriptor.
        if (m_created && !m_committed) ::unlink(m_temp.c_str());
        if (m_fd >= 0) ::close(m_fd);
    }
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    int Descriptor() const { return m_fd; }
    const std::string& Target() const { return m_target; }
    // The file system the temporary is on.
    dev_t Device() const { return m_device; }
    const std::string& Error() const { return m_error; }
    void Fail(const char* what, int code) { m_error = Reason(what, m_target, code); }

    // Gives the file `mode` (permission bits) when one is given, syncs it and
    // renames it over the target.
    bool Commit(std::optional<mode_t> mode)
    {
        if (!Prepare(mode, true) || !Sync() || !Publish()) return false;
        SyncFolder(FolderOf(m_target));
        return true;
    }

    // Gives the file `mode` when one is given and, when `startWriteBack`,
    // starts its write-back without waiting for it.
    bool Prepare(std::optional<mode_t> mode, bool startWriteBack)
    {
        if (m_fd < 0) return false;
        // A new temporary has the bits the umask allows, mostly the ones asked.
        if (mode && *mode != m_mode && ::fchmod(m_fd, *mode) != 0) {
            Fail("Cannot write", errno);
            return false;
        }
#ifdef __linux__
        // Only a head start for the flush that follows: no failure here.
        if (startWriteBack) ::sync_file_range(m_fd, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
        return true;
    }

    bool Sync()
    {
        if (m_fd >= 0 && ::fsync(m_fd) == 0) return true;
        Fail("Cannot write", errno);
        return false;
    }

    // Renames the file, whose data is on the disk already, over the target.
    bool Publish()
    {
        if (m_fd < 0) return false;
        // Renamed while the lock is held: no other writer takes over a file
        // that is about to become the target.
        if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
            Fail("Cannot replace", errno);
            return false;
        }
        m_committed = true;
        ::close(m_fd);
        m_fd = -1;
        return true;
    }

private:
    // The target's own temporary, new and locked; a stale one (unlocked: its
    // writer is gone) is removed first. -1 when a live writer holds it, or
    // it cannot be made.
    int OpenOwnTemporary(const std::string& name)
    {
        for (int attempt = 0; attempt < 8; ++attempt) {
            // 0666: a new file gets the permissions the umask allows.
            int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            const bool made = fd >= 0;
            if (!made && errno == EEXIST) fd = ::open(name.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
            if (fd < 0) return -1;
            if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
                ::close(fd);
                return -1;
            }
            // The name may have been renamed into place, or removed, by the
            // writer that held it before: then it is no longer this file. A
            // file this writer made can only have been removed, by a writer
            // that took it for a stale one before the lock was had: it then
            // has no name left.
            struct stat byDescriptor;
            struct stat byName;
            const bool described = ::fstat(fd, &byDescriptor) == 0 && S_ISREG(byDescriptor.st_mode);
            if (described && made && byDescriptor.st_nlink > 0) {
                m_temp = name;
                Describe(byDescriptor);
                return fd;
            }
            const bool same = described && !made && ::lstat(name.c_str(), &byName) == 0 &&
                              byDescriptor.st_dev == byName.st_dev && byDescriptor.st_ino == byName.st_ino;
            if (same) ::unlink(name.c_str());  // left by a writer that was killed
            ::close(fd);
        }
        return -1;
    }

    int OpenUniqueTemporary(const std::string& stem)
    {
        static std::atomic<unsigned> counter{0};
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_temp = stem + "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
            // 0666: a new file gets the permissions the umask allows.
            const int fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            struct stat made;
            if (fd >= 0 && ::fstat(fd, &made) == 0) {
                Describe(made);
                return fd;
            }
            if (fd >= 0) {
                ::unlink(m_temp.c_str());
                ::close(fd);
                break;
            }
            if (errno != EEXIST) break;
        }
        // Named after the target: the file that could not be written.
        m_error = Reason("Cannot write", m_target, errno);
        return -1;
    }

    void Describe(const struct stat& made)
    {
        m_device = made.st_dev;
        m_mode = made.st_mode & 07777;
    }

    std::string m_target;
    std::string m_temp;
    std::string m_error;
    dev_t m_device = 0;
    mode_t m_mode = 0;  // the temporary's permission bits as made
    int m_fd = -1;
    bool m_created = false;
    bool m_committed = false;
};

// Copies what `from` holds, `size` bytes when it was looked at: a read that
// comes short once that much is in needs no further read to find the end.
bool CopyContent(int from, int to, std::uint64_t size)
{
    char buffer[1 << 16];
    std::uint64_t copied = 0;
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (!WriteAll(to, buffer, static_cast<std::size_t>(got))) return false;
        copied += static_cast<std::uint64_t>(got);
        if (copied >= size && static_cast<std::size_t>(got) < sizeof buffer) return true;
    }
}

}  // namespace

bool operator==(const SysStatInfo& a, const SysStatInfo& b)
{
    return a.mode == b.mode && a.time == b.time && a.size == b.size;
}

namespace {

void StoreStatus(const struct stat& st, SysStatInfo* info)
{
    if (!info) return;
    info->mode = st.st_mode;
    info->time = Nanoseconds(st.st_mtim);
    info->size = static_cast<std::int64_t>(st.st_size);
}

SysFileIdentity IdentityOf(const struct stat& st)
{
    return SysFileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

// The rest of an open file, appended to `text`; false on a read error.
// Read straight into the text's room when it has some (the callers make it
// at the file's size), so that the bytes do not pass through a second
// buffer; the end of the file, or a file grown meanwhile, is read through a
// buffer of its own rather than by growing the text first.
bool ReadRest(int fd, std::string& text)
{
    for (;;) {
        const std::size_t have = text.size();
        const std::size_t room = text.capacity() - have;
        ssize_t got = 0;
        int code = 0;
        if (room >= 4096) {
            text.resize(have + room);
            got = ::read(fd, text.data() + have, room);
            code = errno;
            text.resize(have + (got > 0 ? static_cast<std::size_t>(got) : 0));
        } else {
            char buffer[1 << 16];
            got = ::read(fd, buffer, sizeof buffer);
            code = errno;
            if (got > 0) text.append(buffer, static_cast<std::size_t>(got));
        }
        if (got == 0) return true;
        if (got < 0 && code != EINTR) return false;
    }
}

}  // namespace

int SysPathStat(const std::string& path, SysStatInfo* info)
{
    struct stat st;
    if (!StatPath(path, st)) return -1;
    StoreStatus(st, info);
    return 0;
}

int SysStatAndReadFile(const std::string& path, SysStatInfo* info, std::string* content, std::size_t maxBytes)
{
    if (path.empty()) return -1;
    const NativeName native(path);
    // Not blocking: a named pipe among the files must not stop the reader.
    const int fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st;
    if (fd < 0) {
        // A file that cannot be opened may still exist.
        if (::stat(native.c_str(), &st) != 0) return -1;
        StoreStatus(st, info);
        return 0;
    }
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return -1;
    }
    StoreStatus(st, info);
    int result = 0;
    if (content && S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) <= maxBytes) {
        // Read into the storage `content` holds: a reader that hands its
        // texts back makes no new block per file.
        std::string& text = *content;
        text.clear();
        text.reserve(static_cast<std::size_t>(st.st_size));
        if (ReadRest(fd, text))
            result = 1;
        else
            text.clear();
    }
    ::close(fd);
    return result;
}

bool SysIsDirectory(const SysStatInfo& info) { return S_ISDIR(info.mode); }

bool SysIsRegularFile(const SysStatInfo& info) { return S_ISREG(info.mode); }

bool UtlDoesFileExist(const std::string& path)
{
    struct stat st;
    return StatPath(path, st) && S_ISREG(st.st_mode);
}

bool UtlDoesPathExist(const std::string& path)
{
    struct stat st;
    return StatPath(path, st) && S_ISDIR(st.st_mode);
}

bool UtlDoesDiskObjectExist(const std::string& path)
{
    struct stat st;
    return !path.empty() && ::lstat(NativeName(path).c_str(), &st) == 0;
}

int SysAccess(const std::string& path, int mode)
{
    if (path.empty()) return -1;
    return ::access(NativeName(path).c_str(), mode & (R_OK | W_OK | X_OK)) == 0 ? 0 : -1;
}

bool SysHasReadOnlyAttr(const std::string& path)
{
    struct stat st;
    return StatPath(path, st) && (st.st_mode & S_IWUSR) == 0;
}

int SysSetReadOnlyAttr(const std::string& path, bool readOnly)
{
    struct stat st;
    if (!StatPath(path, st)) return -1;
    const mode_t bits = st.st_mode & 07777;
    const mode_t mode = readOnly ? (bits & ~(S_IWUSR | S_IWGRP | S_IWOTH)) : (bits | S_IWUSR);
    return ::chmod(NativeName(path).c_str(), mode) == 0 ? 0 : -1;
}

namespace {

// A copy of this size or more starts its write-back as soon as it is
// written, so that it goes to the disk while the next ones are copied. A
// smaller one waits for the flush that makes the batch durable: started one
// by one, their write-backs cost the writer more than the flush of them all.
constexpr off_t kWriteBackHeadStart = 256 * 1024;

// The copy of `from` written into a new temporary of `to`, with the
// source's permission bits; null when it could not be. `throughLink` as
// for AtomicFile.
std::unique_ptr<AtomicFile> WriteCopy(const std::string& from, const std::string& to, bool durable,
                                      bool throughLink = true)
{
    if (to.empty() || from.empty()) return nullptr;
    // Not blocking: a named pipe is refused below rather than waited on.
    const int source = ::open(NativeName(from).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (source < 0) return nullptr;
    struct stat st;
    std::unique_ptr<AtomicFile> target;
    if (::fstat(source, &st) == 0 && S_ISREG(st.st_mode)) {
        target = std::make_unique<AtomicFile>(NativePath(to), throughLink);
        const bool ok = target->IsOpen() &&
                        CopyContent(source, target->Descriptor(), static_cast<std::uint64_t>(st.st_size)) &&
                        (durable ? target->Commit(st.st_mode & 07777)
                                 : target->Prepare(st.st_mode & 07777, st.st_size >= kWriteBackHeadStart));
        if (!ok) target.reset();
    }
    ::close(source);
    return target;
}

// As many temporaries as a batch keeps open: a quarter of the descriptors
// the process may hold, the rest left to everything else.
std::size_t BatchLimit()
{
    struct rlimit limit;
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 1024;
    return std::clamp<std::size_t>(static_cast<std::size_t>(limit.rlim_cur) / 4, 16, 4096);
}

}  // namespace

int SysCopy(const std::string& from, const std::string& to) { return WriteCopy(from, to, true) ? 0 : -1; }

struct SysCopyBatch::Pending {
    std::unique_ptr<AtomicFile> file;
    dev_t device;  // of the file system the temporary is on
};

SysCopyBatch::SysCopyBatch() : m_limit(BatchLimit()) {}

SysCopyBatch::~SysCopyBatch() = default;

int SysCopyBatch::Add(const std::string& from, const std::string& to, bool replaceLink)
{
    std::unique_ptr<AtomicFile> file = WriteCopy(from, to, false, !replaceLink);
    if (!file) return -1;
    const dev_t device = file->Device();
    m_pending.push_back(Pending{std::move(file), device});
    return 0;
}

std::size_t SysCopyBatch::Size() const { return m_pending.size(); }

bool SysCopyBatch::IsFull() const { return m_pending.size() >= m_limit; }

std::vector<int> SysCopyBatch::Commit()
{
    std::vector<Pending> pending = std::move(m_pending);
    m_pending.clear();
    // One flush per file system covers every temporary on it; where it
    // cannot be had, each temporary is synced on its own.
    std::vector<dev_t> flushed;
    std::vector<dev_t> unflushed;
    for (const Pending& copy : pending) {
        if (std::find(flushed.begin(), flushed.end(), copy.device) != flushed.end() ||
            std::find(unflushed.begin(), unflushed.end(), copy.device) != unflushed.end())
            continue;
#ifdef __linux__
        if (::syncfs(copy.file->Descriptor()) == 0) {
            flushed.push_back(copy.device);
            continue;
        }
#endif
        unflushed.push_back(copy.device);
    }
    std::vector<int> results;
    std::vector<std::string> folders;  // in the order first touched
    std::unordered_set<std::string> touched;
    for (Pending& copy : pending) {
        bool ok = std::find(flushed.begin(), flushed.end(), copy.device) != flushed.end() || copy.file->Sync();
        ok = ok && copy.file->Publish();
        results.push_back(ok ? 0 : -1);
        if (!ok) continue;
        std::string folder = FolderOf(copy.file->Target());
        if (touched.insert(folder).second) folders.push_back(std::move(folder));
    }
    for (const std::string& folder : folders) SyncFolder(folder);
    return results;
}

bool SysIsSameFile(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty()) return false;
    const SysFileIdentity first = SysGetFileIdentity(a);
    const SysFileIdentity second = SysGetFileIdentity(b);
    if (first != SysFileIdentity() && second != SysFileIdentity()) return first == second;
    return SysGetQualifiedPath(a) == SysGetQualifiedPath(b);
}

int SysDelete(const std::string& path)
{
    if (path.empty()) return -1;
    return ::unlink(NativeName(path).c_str()) == 0 ? 0 : -1;
}

int SysRename(const std::string& from, const std::string& to)
{
    if (from.empty() || to.empty()) return -1;
    const std::string source = NativePath(from);
    const std::string target = NativePath(to);
    if (::rename(source.c_str(), target.c_str()) == 0) return 0;
    // Another file system: a regular file is moved by copy and delete.
    if (errno != EXDEV || !UtlDoesFileExist(source) || SysCopy(source, target) != 0) return -1;
    return ::unlink(source.c_str()) == 0 ? 0 : -1;
}

int SysMkdir(const std::string& path, unsigned mode)
{
    if (path.empty()) return -1;
    if (::mkdir(NativeName(path).c_str(), static_cast<mode_t>(mode)) == 0) return 0;
    return errno == EEXIST && UtlDoesPathExist(path) ? 0 : -1;
}

bool UtlValidateOrCreateFolder(const std::string& path)
{
    if (path.empty()) return false;
    std::error_code error;
    std::filesystem::create_directories(NativePath(path), error);
    return UtlDoesPathExist(path);
}

int SysRemoveEmptyFolder(const std::string& path)
{
    if (path.empty()) return -1;
    return ::rmdir(NativeName(path).c_str()) == 0 ? 0 : -1;
}

int SysRemoveFolderRecursively(const std::string& path)
{
    const std::string native = NativePath(path);
    const std::string folder = native.empty() || native.front() != '/' ? std::string() : SysGetQualifiedPath(native);
    if (folder.empty() || folder == "/") {
        SysDebugPrintf("Error: refusing to remove the folder '%s' and everything below it\n", path.c_str());
        return -1;
    }
    struct stat st;
    if (::lstat(folder.c_str(), &st) != 0) return errno == ENOENT ? 0 : -1;
    // A link is removed itself; what it points to stays.
    if (S_ISLNK(st.st_mode)) return ::unlink(folder.c_str()) == 0 ? 0 : -1;
    if (!S_ISDIR(st.st_mode)) return -1;
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    return error ? -1 : 0;
}

namespace {

// An entry of a folder as the folder lists it: its name, and its type when
// the file system gives one.
struct ListedName {
    std::string name;
    unsigned char type = DT_UNKNOWN;
};

// A folder open for listing, closed when it goes.
class OpenFolder {
public:
    explicit OpenFolder(const std::string& path)
        : m_fd(path.empty() ? -1 : ::open(NativeName(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_DIRECTORY))
    {
    }
    ~OpenFolder()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    int Descriptor() const { return m_fd; }

private:
    int m_fd;
};

// The entries of an open folder but "." and "..", sorted by name; false on
// a read error. The entries are read in blocks straight from the system: a
// folder costs its open, its reads and its close, and no status of its own.
bool ReadSortedNames(int folder, std::vector<ListedName>& names)
{
    constexpr std::size_t kBlock = 32 * 1024;
    const auto block = std::make_unique_for_overwrite<char[]>(kBlock);
    for (;;) {
        const ssize_t got = ::getdents64(folder, block.get(), kBlock);
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) break;
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const struct dirent64*>(block.get() + at);
            if (entry->d_reclen == 0) return false;  // never from a sound file system: no endless loop
            at += entry->d_reclen;
            const std::string_view name = entry->d_name;
            if (name != "." && name != "..") names.push_back({std::string(name), entry->d_type});
        }
    }
    std::sort(names.begin(), names.end(), [](const ListedName& a, const ListedName& b) { return a.name < b.name; });
    return true;
}

}  // namespace

bool SysListFolder(const std::string& path, std::vector<std::string>& names)
{
    const OpenFolder folder(path);
    std::vector<ListedName> listed;
    if (folder.Descriptor() < 0 || !ReadSortedNames(folder.Descriptor(), listed)) return false;
    names.clear();
    names.reserve(listed.size());
    for (ListedName& entry : listed) names.push_back(std::move(entry.name));
    return true;
}

std::vector<std::string> SysFindFilesBelow(const std::string& folder, int maxDepth,
                                           const std::function<bool(const std::string& name)>& accept)
{
    std::vector<std::string> found;
    const SysFileIdentity top = SysGetFileIdentity(folder);
    if (top == SysFileIdentity()) return found;
    std::set<SysFileIdentity> visited{top};
    std::vector<std::pair<std::string, int>> pending{{folder, 0}};
    std::vector<SysFolderEntry> entries;
    while (!pending.empty()) {
        const auto [current, depth] = pending.back();
        pending.pop_back();
        // The listing brings each entry's status and identity: no second
        // lookup per path, nor per folder entered.
        if (!SysListFolderStatus(current, entries)) continue;
        for (const SysFolderEntry& entry : entries) {
            if (SysIsDirectory(entry.info)) {
                if (depth < maxDepth && visited.insert(entry.identity).second)
                    pending.emplace_back(current + '/' + entry.name, depth + 1);
            } else if (SysIsRegularFile(entry.info) && accept(entry.name)) {
                found.push_back(current + '/' + entry.name);
            }
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

namespace {

// The listing with statuses; with `self`, the folder's own identity instead
// of a look at each directory it holds.
bool ListWithStatuses(const std::string& path, std::vector<SysFolderEntry>& entries,
                      const std::function<bool(std::string_view name, SysStatInfo& info)>& known, SysFileIdentity* self)
{
    const OpenFolder folder(path);
    const int fd = folder.Descriptor();
    if (fd < 0) return false;
    if (self) {
        struct stat st;
        if (::fstat(fd, &st) != 0) return false;
        *self = IdentityOf(st);
    }
    // The names first, in order: the statuses are then taken, or asked
    // of `known`, in the order they are handed out.
    std::vector<ListedName> names;
    if (!ReadSortedNames(fd, names)) return false;
    std::vector<SysFolderEntry> found;
    found.reserve(names.size());
    for (ListedName& named : names) {
        // A link, or an entry of a file system that gives no type, is
        // always looked at: only a plain file can be answered for.
        SysStatInfo info;
        if (known && named.type == DT_REG && known(named.name, info)) {
            found.push_back({std::move(named.name), info, SysFileIdentity()});
            continue;
        }
        if (self && named.type == DT_DIR) {
            info.mode = S_IFDIR;
            found.push_back({std::move(named.name), info, SysFileIdentity()});
            continue;
        }
        struct stat st;
        if (::fstatat(fd, named.name.c_str(), &st, 0) != 0) continue;
        SysFolderEntry& listed = found.emplace_back();
        listed.name = std::move(named.name);
        StoreStatus(st, &listed.info);
        listed.identity = IdentityOf(st);
    }
    entries = std::move(found);
    return true;
}

}  // namespace

bool SysListFolderStatus(const std::string& path, std::vector<SysFolderEntry>& entries)
{
    return SysListFolderStatus(path, entries, nullptr);
}

bool SysListFolderStatus(const std::string& path, std::vector<SysFolderEntry>& entries,
                         const std::function<bool(std::string_view name, SysStatInfo& info)>& known)
{
    return ListWithStatuses(path, entries, known, nullptr);
}

bool SysListFolderStatus(const std::string& path, std::vector<SysFolderEntry>& entries,
                         const std::function<bool(std::string_view name, SysStatInfo& info)>& known,
                         SysFileIdentity& self)
{
    return ListWithStatuses(path, entries, known, &self);
}

namespace {

// A device or a named pipe takes the text as it comes: renaming a file over
// it would put a plain file in its place. A pipe nobody reads from is
// refused rather than waited on.
bool WriteIntoSpecialFile(const std::string& path, const std::string& content, std::string* error)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = Reason("Cannot write", path, errno);
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    bool written =
        flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0 && WriteAll(fd, content.data(), content.size());
    if (!written && error) *error = Reason("Cannot write", path, errno);
    if (::close(fd) != 0 && written) {
        if (error) *error = Reason("Cannot write", path, errno);
        written = false;
    }
    return written;
}

}  // namespace

bool SysWriteFileAtomically(const std::string& path, const std::string& content, std::string* error)
{
    if (path.empty()) {
        if (error) *error = "Cannot write a file without a name";
        return false;
    }
    // Only a regular file, or none yet, is replaced whole (through links).
    struct stat existing;
    if (::stat(NativePath(path).c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        if (!S_ISDIR(existing.st_mode)) return WriteIntoSpecialFile(NativePath(path), content, error);
        if (error) *error = Reason("Cannot replace", NativePath(path), EISDIR);
        return false;
    }
    // A file its owner made read-only (as version control leaves it) is not
    // replaced behind the owner's back: the rename would need no right to it.
    if (::access(NativePath(path).c_str(), W_OK) != 0 && errno != ENOENT) {
        if (error) *error = Reason("Cannot write", NativePath(path), errno);
        return false;
    }
    AtomicFile file(NativePath(path));
    bool written = file.IsOpen();
    if (written && !WriteAll(file.Descriptor(), content.data(), content.size())) {
        file.Fail("Cannot write", errno);
        written = false;
    }
    if (written) {
        // An existing file keeps its permissions.
        struct stat st;
        const bool existed = ::stat(file.Target().c_str(), &st) == 0;
        written = file.Commit(existed ? std::optional<mode_t>(st.st_mode & 07777) : std::nullopt);
    }
    if (!written && error) *error = file.Error();
    return written;
}

bool SysFileHolds(const std::string& path, std::string_view content)
{
    if (path.empty()) return false;
    // Not blocking: a named pipe is refused below rather than waited on.
    const int fd = ::open(NativeName(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool same =
        ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) == content.size();
    // One byte more than the file: a file grown since its status shows.
    const std::size_t size = std::min(content.size() + 1, std::size_t{64} << 10);
    const std::unique_ptr<char[]> slice = same ? std::make_unique_for_overwrite<char[]>(size) : nullptr;
    for (std::size_t at = 0; same;) {
        const ssize_t got = ::read(fd, slice.get(), size);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            same = got == 0 && at == content.size();
            break;
        }
        const auto read = static_cast<std::size_t>(got);
        same = read <= content.size() - at && content.compare(at, read, std::string_view(slice.get(), read)) == 0;
        at += read;
    }
    ::close(fd);
    return same;
}

int SysSyncFile(const std::string& path)
{
    if (path.empty()) return -1;
    const int fd = ::open(NativeName(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced ? 0 : -1;
}

std::string SysGetRealPath(const std::string& path)
{
    if (path.empty()) return std::string();
    char* resolved = ::realpath(NativeName(path).c_str(), nullptr);
    if (!resolved) return std::string();
    std::string real(resolved);
    std::free(resolved);
    return real;
}

SysFileIdentity SysGetFileIdentity(const std::string& path)
{
    struct stat st;
    if (!StatPath(path, st)) return SysFileIdentity();
    return IdentityOf(st);
}

bool SysGetNameStatus(const std::string& path, SysNameStatus& status)
{
    struct stat st;
    if (!StatPath(path, st)) return false;
    struct stat own;
    status.identity = IdentityOf(st);
    status.links = static_cast<std::uint64_t>(st.st_nlink);
    status.changed = Nanoseconds(st.st_ctim);
    // The name itself: a link that is gone between the two looks counts as one.
    status.symbolic = ::lstat(NativeName(path).c_str(), &own) != 0 || S_ISLNK(own.st_mode);
    return true;
}

bool SysListFolderLinks(const std::string& path, std::vector<std::string>& names, SysNameStatus& self)
{
    const OpenFolder folder(path);
    const int fd = folder.Descriptor();
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0) return false;
    self.identity = IdentityOf(st);
    self.links = static_cast<std::uint64_t>(st.st_nlink);
    self.symbolic = false;
    self.changed = Nanoseconds(st.st_ctim);
    std::vector<ListedName> listed;
    if (!ReadSortedNames(fd, listed)) return false;
    names.clear();
    for (ListedName& entry : listed)
        if (entry.type == DT_LNK || entry.type == DT_UNKNOWN) names.push_back(std::move(entry.name));
    return true;
}

bool SysReadFile(const std::string& path, std::string& content)
{
    if (path.empty()) return false;
    // Not blocking, and only a regular file: a named pipe would wait for a
    // writer, and a device such as /dev/zero never ends.
    const int fd = ::open(NativeName(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    std::string text;
    // Made at its size once (a project file may be megabytes long); a size
    // beyond any text file is left to grow as it is read.
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (regular && st.st_size > 0 && st.st_size <= (std::int64_t{1} << 28))
        text.reserve(static_cast<std::size_t>(st.st_size));
    const bool ok = regular && ReadRest(fd, text);
    ::close(fd);
    if (ok) content = std::move(text);
    return ok;
}

std::string SysGetTemporaryDirectoryName()
{
    const char* env = std::getenv("TMPDIR");
    std::string folder = env && *env ? env : "";
    UtlSetValidSeparator(folder);
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return UtlDoesPathExist(folder) ? folder : "/tmp";
}

bool SysWriteTemporaryFile(const std::string& prefix, const std::string& suffix, const std::string& content,
                           std::string& path, std::string* error)
{
    const auto fail = [&](const std::string& what, int code) {
        if (error) *error = what + ": " + std::strerror(code);
        return false;
    };
    if (prefix.find('/') != std::string::npos || suffix.find('/') != std::string::npos)
        return fail("Cannot make a temporary file named " + prefix + "XXXXXX" + suffix, EINVAL);
    std::string name = UtlGetTempDir() + prefix + "XXXXXX" + suffix;
    // mkstemps opens the name it makes with O_EXCL and mode 0600.
    const int fd = ::mkstemps(name.data(), static_cast<int>(suffix.size()));
    if (fd < 0) return fail("Cannot create a temporary file in " + SysGetTemporaryDirectoryName(), errno);
    const bool written = WriteAll(fd, content.data(), content.size()) && ::fsync(fd) == 0;
    const int code = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(name.c_str());
        return fail("Cannot write " + name, written ? errno : code);
    }
    path = name;
    return true;
}

std::string UtlGetTempDir()
{
    const std::string folder = SysGetTemporaryDirectoryName();
    return folder == "/" ? folder : folder + "/";
}
