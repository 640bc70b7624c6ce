// File access of the options database: reading its files, and making the
// folder of the user's settings. Writing goes through the system layer's
// one atomic write.
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

bool DefFileMakeFolderFor(const std::string& path, std::string& error)
{
    if (path.empty()) {
        error = "Cannot save the options: no file name";
        return false;
    }
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) return true;
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (code) error = Reason("Cannot create the folder", folder.string(), code.value());
    return !code;
}
