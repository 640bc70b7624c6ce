#include "imodel/names/imodelUtl.h"

#include "ifile/IfileReadAhead.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelFileTypes.h"
#include "src/imodel/names/imodelUtlProject.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>
#include <foundation/UtlAscii.h>
#include <zorpa/ZorpaString.h>

#include <algorithm>

namespace {

const std::size_t kProjectTokenLength = std::char_traits<char>::length(ImodelProjectToken);

bool StartsWithProjectToken(const std::string& name) { return name.rfind(ImodelProjectToken, 0) == 0; }

std::string Normalised(const std::string& path, bool folder)
{
    std::string copy = path;
    ImodelSetValidSeparator(copy, folder);
    return copy;
}

// Replaces a leading "<project>" by the project folder. Without a project
// folder the name stays as it is (it then matches only itself).
void ExpandProjectToken(std::string& name)
{
    const ImodelFileName* project = ImodelUtlGetProjectFolder();
    if (!project) return;
    if (project->empty()) {
        if (ImodelUtlIsDebugMsg()) SysDebugPrintf("Error: Project Loc not set\n");
        return;
    }
    name.replace(0, kProjectTokenLength, project->GetString());
}

// Whether `path` lies in `folder` or is `folder` itself: the leading part
// denotes the same file and ends at a component boundary.
bool StartsWithFolder(const std::string& path, const std::string& folder)
{
    if (folder.empty() || path.size() < folder.size()) return false;
    if (!ImodelIsSameFileName(path.substr(0, folder.size()), folder)) return false;
    return path.size() == folder.size() || path[folder.size()] == SysGetDirChar() || folder.back() == SysGetDirChar();
}

// "${name}", "/.." per level up, then "/" and `rest` when there is one.
std::string VariablePath(const char* name, int levels, const std::string& rest)
{
    std::string result = std::string("${") + (name ? name : "") + "}";
    for (int i = 0; i < levels; ++i) result += SysGetDirChar() + std::string("..");
    if (!rest.empty()) result += SysGetDirChar() + rest;
    return result;
}

// Roots that need no creation: "//" (or "\\") and a drive designation.
bool IsRootName(const std::string& name)
{
    return ImodelIsSameFileName(name, "//") || (name.size() == 2 && name[1] == ':');
}

// Makes one folder whose parent exists; true when it exists afterwards.
bool CreateOneFolder(const std::string& folder)
{
    if (IsRootName(folder) || UtlDoesPathExist(folder)) return true;
    SysMkdir(folder);
    if (UtlDoesPathExist(folder)) return true;
    if (ImodelUtlIsDebugMsg()) SysDebugPrintf("Failed to create: %s\n", folder.c_str());
    return false;
}

// The qualified form of `folder` ("." and ".." resolved) when it lies
// strictly inside the open project's folder, else "". Compared exactly: on
// this platform letter case tells folders apart.
std::string QualifiedInsideProjectFolder(const std::string& folder)
{
    const ImodelFileName* project = ImodelUtlGetProjectFolder();
    if (!project || project->empty() || folder.empty()) return std::string();
    const std::string root = SysGetQualifiedPath(Normalised(project->GetString(), true));
    const std::string target = SysGetQualifiedPath(Normalised(folder, true));
    // A project at the file-system root would make every folder deletable.
    if (root.empty() || root == std::string(1, SysGetDirChar())) return std::string();
    const std::string prefix = root.back() == SysGetDirChar() ? root : root + SysGetDirChar();
    if (target.size() <= prefix.size() || target.compare(0, prefix.size(), prefix) != 0) return std::string();
    return target;
}

}  // namespace

bool ImodelIsSameStrNoCase(const std::string& a, const std::string& b) { return UtlIsSameNoCase(a, b); }

bool ImodelIsSameFileName(const std::string& a, const std::string& b)
{
    if (a == b) return true;
    const bool firstHasToken = StartsWithProjectToken(a);
    if (firstHasToken == StartsWithProjectToken(b)) return UtlIsSameFileName(a, b);
    std::string expanded = firstHasToken ? a : b;
    ExpandProjectToken(expanded);
    // UtlIsSameFileName compares lengths first: names that differ only by a
    // doubled separator differ.
    return UtlIsSameFileName(expanded, firstHasToken ? b : a);
}

namespace {

// Whether the key starts with the project folder in place of the token.
bool ExpandsProjectToken(std::string_view name, std::string_view projectFolder)
{
    return !projectFolder.empty() && name.starts_with(ImodelProjectToken);
}

// One character of the key for each character the walk passes.
std::size_t KeyLength(std::string_view name, std::string_view projectFolder)
{
    return ExpandsProjectToken(name, projectFolder) ? projectFolder.size() + name.size() - kProjectTokenLength
                                                    : name.size();
}

// The file-name key, character by character, to `take`: the project folder
// for a leading token (when a folder is set), then the rest of the name;
// separators made "/", letters upper-cased.
template <class Take>
void ForEachKeyCharacter(std::string_view name, std::string_view projectFolder, Take take)
{
    const auto fold = [&take](char c) { take(c == '\\' ? '/' : UtlToUpper(c)); };
    if (ExpandsProjectToken(name, projectFolder)) {
        for (const char c : projectFolder) fold(c);
        name.remove_prefix(kProjectTokenLength);
    }
    for (const char c : name) fold(c);
}

}  // namespace

std::string ImodelFileNameKey(const std::string& name, const std::string& projectFolder)
{
    // Made at its length and written in place: an open asks for several
    // keys per member, and appending a character at a time cost a check of
    // the room and a terminator per character.
    std::string key(KeyLength(name, projectFolder), '\0');
    char* out = key.data();
    ForEachKeyCharacter(name, projectFolder, [&out](char c) { *out++ = c; });
    return key;
}

std::uint64_t ImodelFileNameKeyHash(std::string_view name, std::string_view projectFolder)
{
    // FNV-1a over the key's characters.
    std::uint64_t hash = 14695981039346656037ULL;
    ForEachKeyCharacter(name, projectFolder, [&hash](char c) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    });
    return hash;
}

std::string ImodelFileNameKey(const std::string& name) { return ImodelFileNameKey(name, ImodelUtlProjectFolderText()); }

bool ImodelGetRelativeFileName(const ImodelFileName& name, ImodelFileName& out, bool cut, int type,
                               const ImodelGetFullPathParam& param)
{
    out = name;
    if (!cut) {
        ImodelFileName folder;
        ImodelGetPathForFile(type, folder, param);
        if (folder.empty()) return false;
        out = folder.GetString() + SysGetDirChar() + name.GetString();
        return true;
    }
    ImodelSetValidSeparator(out, false);
    // Without a project folder nothing is under it (the prefix would be "/").
    const ImodelFileName* project = ImodelUtlGetProjectFolder();
    if (!project || project->empty()) return false;
    // "." and ".." are resolved first: "/p/../other/a.v" is not under "/p".
    std::string prefix = UtlResolveDots(project->GetString());
    if (prefix.empty() || prefix.back() != SysGetDirChar()) prefix += SysGetDirChar();
    const std::string resolved = UtlResolveDots(out.GetString());
    if (resolved.size() <= prefix.size() || !ImodelIsSameFileName(resolved.substr(0, prefix.size()), prefix))
        return false;
    out = resolved.substr(prefix.size());
    return true;
}

void ImodelGetRelativePath(const ImodelFileName& folder, ImodelFileName& path)
{
    const char separator = SysGetDirChar();
    std::string remainder = Normalised(path.GetString(), true);
    const std::string rest = Normalised(folder.GetString(), true);
    // Cut the components the two share, exactly (case counts).
    std::size_t restStart = 0;
    std::size_t pathStart = 0;
    while (restStart < rest.size()) {
        const std::size_t end = rest.find(separator, restStart);
        const std::size_t length = (end == std::string::npos ? rest.size() : end) - restStart;
        const std::string component = rest.substr(restStart, length) + separator;
        if (remainder.compare(pathStart, component.size(), component) != 0) break;
        pathStart += component.size();
        restStart = end == std::string::npos ? rest.size() : end + 1;
    }
    std::string prefix;
    if (restStart < rest.size()) {
        const auto levels =
            1 + std::count(rest.begin() + static_cast<std::ptrdiff_t>(restStart), rest.end(), separator);
        for (std::ptrdiff_t i = 0; i < levels; ++i) prefix += std::string("..") + separator;
    }
    path = prefix + remainder.substr(pathStart);
}

std::string ImodelNameMovedToFolder(const std::string& name, const std::string& from, const std::string& to)
{
    std::string folder = UtlResolveDots(from);
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const std::string full = UtlResolveDots(name);
    if (folder.empty() || full.size() <= folder.size() + 1 || full[folder.size()] != '/' ||
        !UtlIsSameFileName(full.substr(0, folder.size()), folder))
        return std::string();
    return to + full.substr(folder.size());
}

std::string ImodelGetPathRelativeToVariable(const std::string& variableFolder, const std::string& path,
                                            const char* name)
{
    const char separator = SysGetDirChar();
    const std::string normalisedFolder = Normalised(variableFolder, true);
    const std::string normalisedPath = Normalised(path, true);
    std::string folder = normalisedFolder;
    int levels = 0;
    while (!folder.empty() && !StartsWithFolder(normalisedPath, folder)) {
        const std::size_t last = folder.rfind(separator);
        if (last == std::string::npos) break;
        if (last != folder.size() - 1) ++levels;
        folder.erase(last);
    }
    if (!folder.empty() && StartsWithFolder(normalisedPath, folder)) {
        std::string rest = normalisedPath.substr(folder.size());
        if (!rest.empty() && rest.front() == separator) rest.erase(0, 1);
        return VariablePath(name, levels, rest);
    }
    // Cut back to the root: a path from the same root ("/", not "//").
    const bool singleRoot = normalisedFolder.size() >= 1 && normalisedFolder[0] == separator &&
                            (normalisedFolder.size() == 1 || normalisedFolder[1] != separator);
    const bool pathFromRoot = !normalisedPath.empty() && normalisedPath[0] == separator &&
                              (normalisedPath.size() == 1 || normalisedPath[1] != separator);
    if (folder.empty() && singleRoot && pathFromRoot) return VariablePath(name, levels, normalisedPath.substr(1));
    return normalisedPath;
}

bool ImodelIsValidPathName(const std::string& name)
{
    // Line breaks too: names go into the line-oriented project file.
    if (name.find_first_of("*|\"<>~?\n\r") != std::string::npos) return false;
    const std::size_t colon = name.rfind(':');
    return colon == std::string::npos || colon < 2;
}

bool ImodelIsValidComponentName(const std::string& name)
{
    return ImodelIsValidPathName(name) && name.find_first_of("$%\\/#") == std::string::npos;
}

void ImodelSetValidSeparator(std::string& path, bool folder) { ZorpaSetValidSeparator(path, folder); }

void ImodelSetValidSeparator(ImodelFileName& path, bool folder) { ZorpaSetValidSeparator(path.GetString(), folder); }

bool ImodelValidateOrCreateDirectory(const ImodelFileName& folder)
{
    if (IsRootName(folder.GetString())) return true;
    const std::string target = Normalised(folder.GetString(), true);
    // Nearly always the folder is there already (every open asks for the
    // project's own folders): one look then, not one per parent.
    if (UtlDoesPathExist(target)) return true;
    // Parents first, outermost first; a parent that fails stops the work.
    for (std::size_t end = target.find(SysGetDirChar()); end != std::string::npos;
         end = target.find(SysGetDirChar(), end + 1)) {
        const std::string parent = target.substr(0, end);
        if (!parent.empty() && !CreateOneFolder(parent)) return false;
    }
    return CreateOneFolder(target);
}

bool ImodelDeleteFolderAndSubFolders(const ImodelFileName& folder)
{
    const std::string target = QualifiedInsideProjectFolder(folder.GetString());
    if (target.empty()) {
        if (ImodelUtlIsDebugMsg())
            SysDebugPrintf("Refused to delete a folder not inside the project folder: %s\n", folder.c_str());
        return false;
    }
    if (!UtlDoesDiskObjectExist(target)) return true;
    SysRemoveFolderRecursively(target);
    return !UtlDoesDiskObjectExist(target);
}

bool ImodelImportsMissingFiles()
{
    int importMissing = 0;
    return Imodel::IsRunningTests() && DefGetBoolFL("QUORLANE_IMPORT_NON_EXISTING_FILES", &importMissing) == 0 &&
           importMissing == 1;
}

bool ImodelDoesFileExist(const std::string& name)
{
    if (ImodelImportsMissingFiles()) return true;
    SysStatInfo status;
    return IfileStatPath(name, &status) == 0 && SysIsRegularFile(status);
}

bool ImodelGetAllFolderContent(const std::string& folder, const std::string& pattern, std::vector<std::string>& out)
{
    std::vector<std::string> names;
    if (!SysListFolder(folder, names)) return false;
    names.insert(names.begin(), {".", ".."});
    const std::size_t before = out.size();
    for (const std::string& name : names)
        if (WcmMatch(pattern.c_str(), name.c_str()) == 1) out.push_back(folder + SysGetDirChar() + name);
    return out.size() > before;
}

void ImodelMakeLower(std::string& text) { UtlMakeLower(text); }

void ImodelMakeUpper(std::string& text) { UtlMakeUpper(text); }

void ImodelChangeCaseIfNotUnix(std::string&) {}
