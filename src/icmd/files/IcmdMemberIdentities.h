// The project's files by what they are on disk, for a command that takes a
// file in under a name of the user's (a link): a name may be another name
// of a member (a symbolic link to it, a hard link, or a path through a
// linked folder), and the project would then hold one file twice, each
// entry parsed on its own.
//
// Looking at every member costs one status lookup per member, too much for
// a command that names one file in a large project. A file with one name in
// its file system, named by a path whose last component is no link, has one
// real path, ending in the name it was given; a member naming that file
// either ends in that name too or is itself a symbolic link. So only those
// members are looked at: the members of that name, and the members that
// their folders list as links. They are found through the file manager's
// folders and names, without a walk over the members: a question costs a
// step per folder of the project. A folder's links are kept from one
// command to the next as long as the folder is the same one and its list of
// names has not changed since (its change time, which no call sets back); a
// folder that is not there holds no member that names a file. Other files
// (hard links, a path that is a link) have every member looked at.
#pragma once

#include <foundation/Sys.h>

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <map>
#include <string>
#include <vector>

class IfileManager;
class IfileObjectEx;

class IcmdMemberIdentities {
public:
    explicit IcmdMemberIdentities(IfileManager* files) : m_files(files) {}
    // Over these full names in place of a project's members, in order.
    explicit IcmdMemberIdentities(std::vector<std::string> members);

    // The full name of an entry that names the file at `path` under another
    // name, `except` aside (an entry's own file under a new name); empty
    // when there is none, when the file is not there, or when an entry of
    // that very name is there (the file taken in again).
    std::string OtherNameOf(const std::string& path, const std::string& except = std::string());
    // Takes note of the file at `path`, now an entry.
    void Add(const std::string& path);

private:
    using Entry = boost::shared_ptr<IfileObjectEx>;
    // The project's entries, looked at one by one (every name).
    void Take();
    // The answer from the members that may name the file, found as the
    // class comment says: the file manager's entries, then the names taken
    // note of (given or added), in order.
    std::string FromLikelyNames(const std::string& path, const SysFileIdentity& identity, const std::string& except);
    // The answer from every member.
    std::string FromEveryName(const std::string& path, const SysFileIdentity& identity, const std::string& except);
    void Read();

    IfileManager* m_files = nullptr;
    bool m_taken = false;
    std::vector<Entry> m_entries;
    // The names given or added, in order: members besides the file
    // manager's entries.
    std::vector<std::string> m_names;
    // Questions answered from the likely names: a command asking after many
    // files is cheaper with every member looked at once.
    int m_likely = 0;
    bool m_read = false;
    std::multimap<SysFileIdentity, std::string> m_byIdentity;
};
