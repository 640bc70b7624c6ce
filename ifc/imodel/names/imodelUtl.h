// Paths and file-name comparison: when two names denote the same file, how a
// name becomes project-relative, relative to a folder or to a folder
// variable ("${NAME}"), which names are acceptable, and the few disk
// operations on folders the model needs.
//
// Paths are stored with "/"; "\" is accepted on input. A stored name may
// begin with "<project>", which stands for the project folder.
#pragma once

#include "imodel/names/ImodelFileName.h"
#include "imodel/names/ImodelGetFullPathParam.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The token that stands for the project folder at the start of a stored name.
inline constexpr const char* ImodelProjectToken = "<project>";

// Same length and every pair of characters equal after upper-casing (ASCII
// letters only, whatever the locale: foundation/UtlAscii.h).
bool ImodelIsSameStrNoCase(const std::string& a, const std::string& b);

// Whether two names denote the same file: equal texts are; otherwise a
// leading "<project>" on exactly one side is replaced by the project folder,
// names of different length differ, and names of equal length are the same
// when they match after separator normalisation without regard to case.
bool ImodelIsSameFileName(const std::string& a, const std::string& b);

// The file-name key: two names are the same file (ImodelIsSameFileName)
// exactly when their keys are equal, while `projectFolder` is the project
// folder. The key is the name with a leading "<project>" replaced by the
// folder (not when no folder is set), "\" made "/" and letters upper-cased
// (ASCII). Replacing the token on both sides changes nothing where the
// comparison replaces it on neither (both names begin with the same token),
// and lengths are compared after the replacement, so the two rules agree.
// The key depends on the project folder: an index keyed by it remembers the
// folder it was built with and is rebuilt when the folder changes. Every
// index of file names and every set of names "seen" uses this key, or its
// hash below.
std::string ImodelFileNameKey(const std::string& name, const std::string& projectFolder);
// The key while the process-wide model's project folder is the folder.
std::string ImodelFileNameKey(const std::string& name);
// A 64-bit hash of ImodelFileNameKey(name, projectFolder), made without
// building the key: for indexes that keep many names and check the files
// they find.
std::uint64_t ImodelFileNameKeyHash(std::string_view name, std::string_view projectFolder);

// The name of a project file relative to the project folder.
// With `cut`: `out` is `name` without the leading project folder and "/"
// (true), or the whole normalised name when it is not under the project
// folder (false). "." and ".." are resolved before the two are compared, so
// a name that climbs out of the folder is not under it, and the part kept
// is the resolved one ("/p/hdl/../a.v" gives "a.v"). Without `cut`: the default folder of `type`, "/" and
// `name` (true), or `name` when the type has no folder (false).
bool ImodelGetRelativeFileName(const ImodelFileName& name, ImodelFileName& out, bool cut, int type,
                               const ImodelGetFullPathParam& param = ImodelGetFullPathParam());

// Rewrites `path` relative to `folder`: folder /a/b and path /a/c/x.v give
// ../c/x.v.
void ImodelGetRelativePath(const ImodelFileName& folder, ImodelFileName& path);

// `path` relative to the folder of the variable `name`: "${name}", then
// "/.." per level up and the rest of the path; the normalised path when the
// two share nothing.
std::string ImodelGetPathRelativeToVariable(const std::string& variableFolder, const std::string& path,
                                            const char* name);

// The name `name` would have if the folder `from` it lies in (dots
// resolved, names compared as the file system does) were `to`; empty when
// it does not lie below `from`. For a project read from another folder
// than the one it was saved in.
std::string ImodelNameMovedToFolder(const std::string& name, const std::string& from, const std::string& to);

// A name that may be used for a file or folder: none of * | " < > ~ ?, no
// line break, and a colon only as a drive designation ("C:").
bool ImodelIsValidPathName(const std::string& name);
// A valid path name that also holds none of $ % \ / #.
bool ImodelIsValidComponentName(const std::string& name);

// Normalises the separators in place: every "\" becomes "/". With `folder`
// set, trailing separators after a non-empty name are dropped too ("/" and
// "//" stay as they are).
void ImodelSetValidSeparator(std::string& path, bool folder);
void ImodelSetValidSeparator(ImodelFileName& path, bool folder);

// Creates the folder and its missing parents; true when it exists afterwards.
bool ImodelValidateOrCreateDirectory(const ImodelFileName& folder);

// Removes a folder with everything below it; true when it does not exist
// afterwards. Only folders strictly inside the open project's folder are
// removed: "", "/", the project folder itself and anything outside it are
// refused (false), and so is every folder while no project folder is set.
bool ImodelDeleteFolderAndSubFolders(const ImodelFileName& folder);

// Whether the file exists. While the library runs its test scripts with
// QUORLANE_IMPORT_NON_EXISTING_FILES set to 1, every name exists.
bool ImodelDoesFileExist(const std::string& name);
// Whether every name exists for ImodelDoesFileExist (the test scripts' switch).
bool ImodelImportsMissingFiles();

// Appends folder + "/" + entry for every entry of `folder` whose name matches
// the wildcard `pattern` ("*", "?", case ignored; "." and ".." included when
// they match), in name order. False, with `out` unchanged, when nothing
// matches or the folder cannot be read.
bool ImodelGetAllFolderContent(const std::string& folder, const std::string& pattern, std::vector<std::string>& out);

// Case changes in place, character by character (ASCII letters only).
void ImodelMakeLower(std::string& text);
void ImodelMakeUpper(std::string& text);
// Lower-cases only where file names ignore case on disk; on this platform
// file names keep their case, so it changes nothing.
void ImodelChangeCaseIfNotUnix(std::string& text);
