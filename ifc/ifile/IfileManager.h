// The files of the open project: each one a shared entry
// (boost::shared_ptr<IfileObjectEx>) owned by the file manager, which the
// project model owns. Entries are kept by full name (the name as stored in
// the file value); every walk over them, and so every answer with several
// files, is in the plain text order of those names.
//
// Revision scope, the int of several queries: 1 skips a file that belongs to
// a place-and-route view other than the current one; any other value keeps
// every file. `extra` filters may be null. Queries empty their output first;
// a missing file gives an empty entry or false.
//
// The manager tells its listeners of each change before it sends the
// matching change events to the views.
#pragma once

#include "ifile/IfileObject.h"
#include "imodel/names/ImodelFileName.h"
#include "imodel/names/ImodelFileTypes.h"

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

class Iconvert;
class IfileListener;
class IfileManagerFilterParent;
class IfileObjectEx;
class ImodelProjectFileStructure;

// A file of an error group. The group refers to the project's entry without
// keeping it alive, and orders its files by the relative-or-full name the
// file had when it joined.
struct IfileErrorFile {
    ImodelFileName name;
    boost::weak_ptr<IfileObjectEx> file;
};

struct lessThanIfileManagerObject {
    bool operator()(const IfileErrorFile& a, const IfileErrorFile& b) const
    {
        return a.name.GetString() < b.name.GetString();
    }
};

class IfileManager {
public:
    using Entry = boost::shared_ptr<IfileObjectEx>;
    using ErrorFiles = std::set<IfileErrorFile, lessThanIfileManagerObject>;
    // Files in error, grouped by error text.
    using ErrorGroups = std::map<std::string, boost::shared_ptr<ErrorFiles>>;
    using ErrorGroupRange = std::pair<ErrorGroups::const_iterator, ErrorGroups::const_iterator>;
    // A folder of the project's files (GetFileFolders).
    struct Folder {
        std::string text;
        Entry first;
        std::size_t files = 0;
    };

    // Orders (error text, files) pairs by the text alone.
    struct lessThanPairStringSet {
        bool operator()(const std::pair<std::string, boost::shared_ptr<ErrorFiles>>& a,
                        const std::pair<std::string, boost::shared_ptr<ErrorFiles>>& b) const
        {
            return a.first < b.first;
        }
    };

    virtual ~IfileManager() = default;

    // Listeners are not owned; each is held once, in registration order.
    virtual void AddListener(IfileListener* listener) = 0;
    virtual void RemoveListener(IfileListener* listener) = 0;

    // Removes every file, telling the listeners and the views once for all.
    virtual void RemoveAllFiles() = 0;
    // Announces the files that pass the filter as changed.
    virtual void UpdateFiles(const IfileManagerFilterParent& filter) = 0;
    // Announces a change of a file of the project; nothing for another file.
    virtual void AnnounceFileChange(const IfileObject& file) = 0;
    // Announces as changed the files that lie in exactly one of the lists.
    virtual void AddFiles(const std::deque<IfileObject>& first, const std::deque<IfileObject>& second) = 0;
    // Registers the member file, or merges it into the entry of the same
    // full name, and announces it. With `trackErrors` the file's error text
    // decides its error group. Empty when a file inside the project folder
    // does not exist.
    virtual Entry AddOrUpdateFile(const IfileObjectEx& file, bool trackErrors) = 0;
    // Prefetches the memory where the entry of the file's full name is
    // looked up, for an add of the file a little later (a large project's entries
    // lie far apart).
    virtual void PrefetchEntryOf(const IfileObject& file) const = 0;
    // Removes the entry of exactly that full name, with every announcement.
    virtual void RemoveFile(const IfileObject& file) = 0;
    // Files the entry again under its (new) full name, taking it from under
    // `oldName`; false, with nothing changed, for an empty entry, an unknown
    // old name or a new name that another entry holds. The files that name
    // it as a parent take the new name. Nobody is told.
    virtual bool RenameFileKey(const Entry& entry, const IfileObject& oldName) = 0;
    // The files that name `oldName` as a parent name `entry` instead and
    // link to it. Nobody is told.
    virtual void ParentRenamed(const IfileObject& oldName, const Entry& entry) = 0;
    // Whether an entry is stored under exactly the file's full name.
    virtual bool ContainsFile(const IfileObject& file) = 0;
    virtual void RemoveFilesOfGlobalType(int globalType, int revisionScope) = 0;
    virtual void RemoveFilesOfSpecificType(int specificType, int revisionScope) = 0;

    // The error groups in text order; valid until the next change of files.
    virtual ErrorGroupRange GetErrorFileGroups() = 0;
    // The group of that text; null when there is none.
    virtual const ErrorFiles* FindErrorFileGroup(const std::string& text) = 0;
    // Clears the error of every grouped file and empties the groups.
    virtual void UpdateErrorFiles() = 0;

    // Whether a file within the scope has that name in that form (file-name
    // equality: letter case and separators do not matter).
    virtual bool HasFileNamed(const std::string& name, ImodelFMStringFileType form, int revisionScope) = 0;
    virtual bool HasFileOfSpecificType(int specificType, int revisionScope, const IfileManagerFilterParent* extra) = 0;
    virtual bool HasFileOfGlobalType(int globalType, int revisionScope) = 0;
    virtual void GetFiles(std::vector<Entry>& out, int revisionScope, const IfileManagerFilterParent* extra) = 0;
    virtual void GetFiles(std::deque<IfileObjectEx>& out, int revisionScope, const IfileManagerFilterParent* extra) = 0;
    virtual void GetFilesOfSpecificType(int specificType, std::vector<Entry>& out, int revisionScope,
                                        const IfileManagerFilterParent* extra) = 0;
    virtual void GetFilesOfSpecificType(int specificType, std::deque<IfileObjectEx>& out, int revisionScope,
                                        const IfileManagerFilterParent* extra) = 0;
    virtual void GetFilesOfGlobalType(int globalType, std::vector<Entry>& out, int revisionScope,
                                      const IfileManagerFilterParent* extra) = 0;
    virtual void GetFilesOfGlobalType(int globalType, std::deque<IfileObjectEx>& out, int revisionScope,
                                      const IfileManagerFilterParent* extra) = 0;
    virtual void GetFilesOfCurrentRevision(std::deque<IfileObjectEx>& out) = 0;
    // The files of one place-and-route view; -1 gives the files of none.
    virtual void GetFilesOfRevision(int revision, std::deque<IfileObjectEx>& out) = 0;
    // The HDL files that define packages, in every view.
    virtual void GetFilesWith(std::vector<Entry>& out) = 0;
    // Removes the files of one place-and-route view, each one announced.
    virtual void RemoveFilesOfRevision(int revision) = 0;
    // Registers each file of view `from` again under its name in the folder
    // of view `to`; false when a copy could not be registered (the others
    // still are).
    virtual bool RetargetFiles(int from, int to) = 0;
    // Announces every file of a place-and-route view as changed; the
    // argument is not read.
    virtual void UpdateFilesAndNotify(int unused) = 0;
    // The entry stored under exactly the file's full name, else empty.
    // Counts one lookup.
    virtual Entry GetFile(const IfileObject& file) = 0;
    // The first entry within the scope that the matcher accepts, else empty.
    virtual Entry GetFileFor(const IfileObject::IsSameFileName& matcher, int revisionScope) = 0;
    // The files by folder, as their stored names give it: a name's text up
    // to and including its last separator ("/" or "\"; empty for a name
    // without one). Each folder once, in no particular order, with the first
    // of its files in key order and their number; every view's files count.
    // Costs a step per folder, not per file.
    virtual void GetFileFolders(std::vector<Folder>& out) = 0;
    // The files of one such folder (its text exactly), in key order.
    virtual void GetFilesOfFolder(const std::string& folder, std::vector<Entry>& out) = 0;
    // ... only those named `title` after the folder, letter case aside:
    // found by name, without walking the folder.
    virtual void GetFilesOfFolderTitled(const std::string& folder, const std::string& title,
                                        std::vector<Entry>& out) = 0;
    // The entry stored under exactly the file's full name when
    // GetFilesOfSpecificType with the same arguments lists it, else empty:
    // one file asked about without listing them all. Counts no lookup.
    virtual Entry GetFileOfSpecificType(const IfileObject& file, int specificType, int revisionScope,
                                        const IfileManagerFilterParent* extra) = 0;
    // The same for GetFilesOfGlobalType: the entry stored under exactly the
    // file's full name when that query with the same arguments lists it,
    // else empty. Counts no lookup.
    virtual Entry GetFileOfGlobalType(const IfileObject& file, int globalType, int revisionScope,
                                      const IfileManagerFilterParent* extra) = 0;
    // Has the parsed project file take note of each file that the
    // description of place-and-route view `revision` lists; false without a
    // revision manager or when the description cannot be read.
    virtual bool RegisterPresentFiles(int revision, ImodelProjectFileStructure& project,
                                      const std::vector<Iconvert*>& converters) = 0;

    // The project file's file-list block: "LIST FileManager", each file's
    // lines, "ENDLIST". False for a null stream, or when a file could not be
    // written (the block is still closed).
    virtual bool WriteFileList(std::ostream* stream) = 0;
    virtual int GetFileCount() = 0;
    // `count` := the number of files of the parsed project file's file-list
    // block; false when it has none.
    virtual bool ReadFileList(ImodelProjectFileStructure& project, int& count) = 0;
    // Adds the files of the parsed project file's file-list block to the
    // project: every schematic page first, then each file in order,
    // registered and handed to the add-file command (which parses it with
    // `parse`, skipping the units named in `modulesToSkip`); a file the
    // command refuses is listed in the project's files to delete. With
    // `localOnly` a linked file is left out. `stepOneFile` (may be empty) is
    // called for each file handed to the command. `newerOnDisk`, when
    // given, gets, in the block's order, the project entry of each file of
    // the block whose disk stamp is newer than the one the block stored, as
    // the entries stand once every file is added. False only when the
    // project file has no file-list block.
    virtual bool AddFilesToModel(ImodelProjectFileStructure& project, const std::vector<Iconvert*>& converters,
                                 std::vector<std::string>* modulesToSkip, const std::function<void()>& stepOneFile,
                                 bool parse, bool localOnly, std::deque<IfileObject>* newerOnDisk = nullptr) = 0;

    // A plain list of names kept for other parts of the project (list 0
    // only: any other list answers false and changes nothing). Names are
    // compared as file names; each is held once, in insertion order.
    virtual bool AddName(const std::string& name, int list) = 0;
    virtual bool RemoveName(const std::string& name, int list) = 0;
    virtual bool ClearNames(int list) = 0;
    virtual bool HasName(const std::string& name, int list) = 0;
    virtual bool GetNames(std::vector<ImodelFileName>& out, int list) = 0;

    // The number of GetFile calls so far.
    virtual unsigned int GetLookupCount() = 0;

    // The file watcher's two steps over every project file. Without
    // `takePending`, each file reads its disk status and records a change
    // (links that broke are announced and leave the design at once). With
    // it, the recorded changes are acted on: the core workspace and the open
    // constraint editors hear of the files they watch, a core's changed
    // memory files are copied to the simulation folder, and the project
    // update removes the changed cores and adds again every changed file,
    // then the links that came back.
    virtual void HandleDetectedChanges(bool takePending) = 0;

protected:
    IfileManager() = default;
    IfileManager(const IfileManager&) = delete;
    IfileManager& operator=(const IfileManager&) = delete;
};

// The project's file manager, for the project singleton to own.
std::unique_ptr<IfileManager> IfileCreateManager();
