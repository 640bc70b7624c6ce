// The project's files by what they are on disk, for a command that takes a
// file in under a name of the user's (a link): a name may be another name
// of a member (a symbolic link to it, or a path through a linked folder),
// and the project would then hold one file twice, each entry parsed on its
// own. The members are looked at once, at the first question.
#pragma once

#include <foundation/Sys.h>

#include <map>
#include <string>

class IfileManager;

class IcmdMemberIdentities {
public:
    explicit IcmdMemberIdentities(IfileManager* files) : m_files(files) {}

    // The full name of an entry that names the file at `path` under another
    // name, `except` aside (an entry's own file under a new name); empty
    // when there is none, when the file is not there, or when an entry of
    // that very name is there (the file taken in again).
    std::string OtherNameOf(const std::string& path, const std::string& except = std::string());
    // Takes note of the file at `path`, now an entry.
    void Add(const std::string& path);

private:
    void Read();

    IfileManager* m_files;
    bool m_read = false;
    std::multimap<SysFileIdentity, std::string> m_members;
};
