// Path texts: separators, qualification and comparison. Purely lexical:
// nothing here looks at the disk except for the process's folder.
#include "foundation/Sys.h"

#include "foundation/UtlAscii.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool IsAbsolute(const std::string& path) { return !path.empty() && IsSeparator(path.front()); }

// The root of a path: "//" of a network path, "/", a drive with its
// separator ("C:/"), or a bare drive ("C:"); empty for a relative path.
std::size_t RootLength(std::string_view path)
{
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]) && (path.size() == 2 || !IsSeparator(path[2])))
        return 2;
    if (!path.empty() && IsSeparator(path[0])) return 1;
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (!drive) return 0;
    return path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2;
}

// An absolute path of this system, resolved: one "/" at the root (a
// network root means nothing here).
std::string Normalise(const std::string& absolute)
{
    return UtlResolveDots("/" + std::string(UtlTrimLeft(absolute, "/\\")));
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

std::string UtlResolveDots(std::string_view path)
{
    const std::size_t rootLength = RootLength(path);
    std::string root(path.substr(0, rootLength));
    UtlSetValidSeparator(root);
    std::vector<std::string_view> parts;
    std::size_t climbs = 0;  // ".." a relative path keeps in front
    for (std::size_t pos = rootLength; pos < path.size();) {
        std::size_t end = pos;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        const std::string_view part = path.substr(pos, end - pos);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            else if (root.empty())
                ++climbs;
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        pos = end + 1;
    }
    std::string result = root;
    for (std::size_t i = 0; i < climbs; ++i) result += i == 0 ? ".." : "/..";
    for (const std::string_view part : parts) {
        if (!result.empty() && result.back() != '/') result += '/';
        result += part;
    }
    return result;
}

bool UtlIsSameFileName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = IsSeparator(a[i]) ? '/' : UtlToLower(a[i]);
        const char y = IsSeparator(b[i]) ? '/' : UtlToLower(b[i]);
        if (x != y) return false;
    }
    return true;
}
