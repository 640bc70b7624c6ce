// Path texts: separators, qualification and comparison. Purely lexical:
// nothing here looks at the disk except for the process's folder.
#include "foundation/Sys.h"

#include "SysAscii.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool IsAbsolute(const std::string& path) { return !path.empty() && IsSeparator(path.front()); }

// Resolves "." and ".." of an absolute path and joins its components with
// single "/". ".." at the root stays at the root.
std::string Normalise(const std::string& absolute)
{
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= absolute.size()) {
        std::size_t end = pos;
        while (end < absolute.size() && !IsSeparator(absolute[end])) ++end;
        const std::string part = absolute.substr(pos, end - pos);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        pos = end + 1;
    }
    if (parts.empty()) return "/";
    std::string result;
    for (const std::string& part : parts) result += "/" + part;
    return result;
}

}  // namespace

char SysGetDirChar() { return '/'; }

std::string CwdirGetCurrentDirectory()
{
    std::string buffer(256, '\0');
    for (;;) {
        if (getcwd(buffer.data(), buffer.size())) {
            buffer.resize(buffer.find('\0'));
            return buffer;
        }
        if (errno != ERANGE || buffer.size() > (1u << 20)) return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

std::string SysGetQualifiedPath(const std::string& path)
{
    if (path.empty()) return std::string();
    if (IsAbsolute(path)) return Normalise(path);
    const std::string cwd = CwdirGetCurrentDirectory();
    if (cwd.empty()) return std::string();
    return Normalise(cwd + "/" + path);
}

std::string UtlGetQualifiedPath(const std::string& path) { return SysGetQualifiedPath(path); }

std::string AcmdGetFullPath(const std::string& text, const std::string& folder)
{
    if (text.empty()) return SysGetQualifiedPath(folder);
    if (IsAbsolute(text) || folder.empty()) return SysGetQualifiedPath(text);
    return SysGetQualifiedPath(folder + "/" + text);
}

std::string AcmdGetQualifiedName(const std::string& name, bool mustExist, const std::string& folder)
{
    if (name.empty()) return std::string();
    const std::string full = AcmdGetFullPath(name, folder);
    if (mustExist && !UtlDoesDiskObjectExist(full)) return std::string();
    return full;
}

std::string& UtlSetValidSeparator(std::string& path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string& UtlSetUniversalValidSeparator(std::string& path) { return UtlSetValidSeparator(path); }

bool UtlIsSameFileName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = IsSeparator(a[i]) ? '/' : SysAsciiLower(a[i]);
        const char y = IsSeparator(b[i]) ? '/' : SysAsciiLower(b[i]);
        if (x != y) return false;
    }
    return true;
}
