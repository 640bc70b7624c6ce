// What the file manager shares with the opening of a project: the switch
// that keeps a reopened copy quiet about missing files. (Each file of the
// project file goes to the add-file command through ImodelCommandServices;
// the files found changed since the project was last open are listed by the
// project reader, from the registered entries.)
#pragma once

#include "ifile/IfileObjectEx.h"

#include <cstddef>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

class Iconvert;
class IfileObject;
class ImodelProjectFileStructure;

// True while save-as reopens the copied project: a missing local file is
// then not traced.
bool& IfileSkipFileDoesNotExistMessage();

// The members of the project file that are no regular files (a device, a
// named pipe, a folder), in the order the read met them: each is reported
// once, not read, and left out of the project. The opening of a project
// empties the list first and answers with it.
std::vector<std::string>& IfileMembersNotRead();

// While a project file is read: the member that it lists for `file`, also
// before the member's turn comes; null when it lists none or no project file
// is being read. A core's file whose attributes the core's parse gives anew
// has no parents left (IfileIgnoreCXFAttrs); the names of those the project
// file stored stay (IfileObjectEx::GetParentFileStr).
const IfileObjectEx* IfileMemberBeingRead(const IfileObject& file);
// The project's own entry of the file: as the project file being read lists
// it (its turn may not have come), else as the file manager holds it; null
// for a file that is no member of the project.
const IfileObjectEx* IfileProjectMember(const IfileObject& file);
// Whether the project holds the file, and not as a file of `parent` (with
// null: not as a file of any other file): a file the user brought in, which
// a core's description may not take. A member of the project file being
// read answers with the parents the project file stored for it.
bool IfileHeldByProject(const IfileObject& file, const IfileObject* parent);

// While a project file is read: the members whose file was renamed on disk
// in letter case only, and that took the name on disk. Every name of such a
// member that a list of the project file gives meanwhile takes it too
// (IfileObject::ReadFromFile asks), so that the units' lists, the views'
// results and the other files' links name the member as the disk does and
// find it, and the old name is not saved again.
class IfileRenamesInCase {
public:
    // The record of one read, empty at its start; the record of a read
    // around it comes back at its end.
    IfileRenamesInCase();
    ~IfileRenamesInCase();
    IfileRenamesInCase(const IfileRenamesInCase&) = delete;
    IfileRenamesInCase& operator=(const IfileRenamesInCase&) = delete;

    // The member `renamed` took the name it has now.
    static void Add(const IfileObject& renamed);
    // `file` takes the name its member took, if it took one.
    static void Apply(IfileObject& file);

private:
    std::unordered_map<std::string, std::string> m_outer;
};

// While save-as opens the copy of a project: the name each file takes in
// the copy, by the name that the copied project file gives it. A file the
// old project named by its absolute name inside its folder is the copy's
// own file now, and a name that climbed out of the old folder
// ("<project>/../x") keeps naming the file outside, by its absolute name:
// read as written, the one would change the old project's file and the
// other would name a file that is not there. Every list of the project
// file asks (IfileObject::ReadFromFile), as for the renames in case.
class IfileNamesInCopy {
public:
    // The names from `names`, by the name as the project file gives it
    // (see Key), for as long as this lives.
    explicit IfileNamesInCopy(std::unordered_map<std::string, std::string> names);
    ~IfileNamesInCopy();
    IfileNamesInCopy(const IfileNamesInCopy&) = delete;
    IfileNamesInCopy& operator=(const IfileNamesInCopy&) = delete;

    // The key of a name as a project file gives it, whatever the folder.
    static std::string Key(const std::string& name);
    // `file` takes the name it has in the copy, if it has another one.
    static void Apply(IfileObject& file);

private:
    std::unordered_map<std::string, std::string> m_outer;
};

// Makes the member list of a project file the one being read for as long
// as it lives: given as read, or read from the project file's block of the
// file manager at the first look-up (most projects have no core that asks).
class IfileMembersBeingRead {
public:
    explicit IfileMembersBeingRead(const std::deque<IfileObjectEx>& files);
    IfileMembersBeingRead(ImodelProjectFileStructure& project, const std::vector<Iconvert*>& converters);
    ~IfileMembersBeingRead();
    IfileMembersBeingRead(const IfileMembersBeingRead&) = delete;
    IfileMembersBeingRead& operator=(const IfileMembersBeingRead&) = delete;

    const IfileObjectEx* Find(const IfileObject& file);

private:
    const std::deque<IfileObjectEx>* m_files = nullptr;
    ImodelProjectFileStructure* m_project = nullptr;
    const std::vector<Iconvert*>* m_converters = nullptr;
    std::deque<IfileObjectEx> m_read;
    std::unordered_map<std::string, std::size_t> m_index;
    IfileMembersBeingRead* m_outer;
};
