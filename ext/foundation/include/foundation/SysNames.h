// The names a file goes by: what tells whether a file may be reached under
// more than one name (hard links, symbolic links) without looking at every
// name it might have.
#pragma once

#include <foundation/Sys.h>

#include <cstdint>
#include <string>
#include <vector>

// What a name stands for beyond its identity: how many names the file has
// in its file system (its hard links), whether the name's last component is
// itself a symbolic link, and the time of the last change to the file's
// status or, for a folder, to its list of names (in nanoseconds; no call
// can set it back).
struct SysNameStatus {
    SysFileIdentity identity;
    std::uint64_t links = 0;
    bool symbolic = false;
    std::int64_t changed = 0;
};
// False when the path names nothing.
bool SysGetNameStatus(const std::string& path, SysNameStatus& status);
// The names in a folder that may be symbolic links: those it lists as links
// and those whose type it does not give, sorted. `self` is the folder's
// status, taken from the open folder before its names are read: a change to
// the folder after the listing began changes its time. False when the
// folder cannot be read.
bool SysListFolderLinks(const std::string& path, std::vector<std::string>& names, SysNameStatus& self);
