// File access of the options database, kept here so that the database does
// not depend on the rest of the system layer.
#include "DefFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

std::string Reason(const std::string& what, const std::string& path, int code)
{
    return what + " " + path + ": " + std::strerror(code);
}

bool WriteAll(int fd, const std::string& content)
{
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t written = write(fd, content.data() + done, content.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        if (written == 0) {
            errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// The file a write must replace: the target of a symbolic link, so that a
// linked settings file stays linked.
bool ResolveTarget(const std::string& path, std::filesystem::path& target, std::string& error)
{
    std::error_code code;
    target = path;
    if (!std::filesystem::is_symlink(target, code)) return true;
    target = std::filesystem::weakly_canonical(target, code);
    if (code) error = Reason("Cannot follow the link", path, code.value());
    return !code;
}

// The new file keeps the permissions of the file it replaces.
mode_t ModeFor(const std::filesystem::path& target)
{
    struct stat old;
    return stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
}

// Fills, syncs and closes the temporary file; answers 0 or the errno of the
// first failing step.
int FillTemporary(int fd, mode_t mode, const std::string& content)
{
    int failure = 0;
    if (fchmod(fd, mode) != 0 || !WriteAll(fd, content) || fsync(fd) != 0) failure = errno;
    if (close(fd) != 0 && failure == 0) failure = errno;
    return failure;
}

// Makes the rename durable; the data itself is already synced.
void SyncFolder(const std::filesystem::path& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

DefReadResult DefFileRead(const std::string& path, std::string& content, std::string& error)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return DefReadResult::Missing;
        error = Reason("Cannot open", path, errno);
        return DefReadResult::Failed;
    }
    content.clear();
    char block[65536];
    while (true) {
        const ssize_t got = read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = Reason("Cannot read", path, errno);
            close(fd);
            return DefReadResult::Failed;
        }
        if (got == 0) break;
        content.append(block, static_cast<std::size_t>(got));
    }
    close(fd);
    return DefReadResult::Read;
}

bool DefFileWriteAtomically(const std::string& path, const std::string& content, std::string& error)
{
    if (path.empty()) {
        error = "Cannot save the options: no file name";
        return false;
    }
    std::filesystem::path target;
    if (!ResolveTarget(path, target, error)) return false;
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (code) {
        error = Reason("Cannot create the folder", folder.string(), code.value());
        return false;
    }

    std::string temporary = target.string() + ".tmpXXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = Reason("Cannot create a temporary file in", folder.string(), errno);
        return false;
    }
    const char* step = "Cannot write";
    int failure = FillTemporary(fd, ModeFor(target), content);
    if (failure == 0 && rename(temporary.c_str(), target.c_str()) != 0) {
        failure = errno;
        step = "Cannot replace";
    }
    if (failure != 0) {
        error = Reason(step, target.string(), failure);
        unlink(temporary.c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}
