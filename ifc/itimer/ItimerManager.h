// The file watcher: finds the files that appeared or changed on disk in the
// folders where the design tools write, and brings them into the project.
// The project model owns the one watcher; the host drives it.
//
// It keeps, for every file type 0 to 54, a bin of two lists: the baseline
// (the files seen before) and the files found by the latest enumeration. The
// host enumerates the watched folders (ImodelHost::ScanFiles) and hands each
// file back through AddFile, which sorts it into the bin of its type by the
// watcher's wildcard filters (a file-name pattern, folder patterns relative
// to the project folder and a type). A scan compares the two lists of each
// bin: new and changed files are added to the project (add_file) or handed
// to the action of their type (a place-and-route description, a lock file,
// a core-configurator output, a synthesis result); a vanished lock file is
// told to the host.
//
// A detection cycle: Start once (the enumeration fills the baselines), then
// Rescan for each check: DetectChanges (the enumeration fills the found
// lists, the file manager records which project files changed on disk) and
// ScanAndNotify (every bin scanned in flow order, then the file manager acts
// on what it recorded, ending in the project update).
#pragma once

#include "ifile/IfileObject.h"
#include "imodel/names/ImodelFileName.h"

#include <foundation/Sys.h>

#include <deque>
#include <memory>

class IfileObjectEx;

class ItimerManager {
public:
    virtual ~ItimerManager() = default;

    // Makes the watcher ready and fills the baselines from the disk.
    virtual void Start() = 0;
    // Not ready; every list emptied, the filters forgotten (they depend on
    // the flow and the project), a working copy handed out dropped.
    virtual void Reset() = 0;
    // Scans the bins of the types of one group (104: constraint files), when ready.
    virtual void ScanGlobalType(int globalType) = 0;
    // One detection cycle, when ready and no cycle is running anywhere in
    // the process (the work of a cycle may ask for another). `imported`
    // (may be null) is handed to add_file as its skip list.
    virtual void Rescan(std::deque<IfileObject>* imported) = 0;
    // The first half of a cycle: the enumeration fills the found lists and
    // the file manager records the project files changed on disk.
    virtual void DetectChanges(bool withWorkspace) = 0;
    // The second half: every bin scanned; with `notify`, the file manager
    // acts on the changes it recorded.
    virtual void ScanAndNotify(bool notify, std::deque<IfileObject>* imported) = 0;
    // Takes note of files just brought into the project (import_files), when
    // ready and no cycle is running: each one a filter watches enters its
    // bin's baseline with its disk stamp, as a cycle would take it. Nothing
    // else is looked at: a change on disk to any other file stays for the
    // next cycle to find and act on.
    virtual void TakeNoteOf(const std::deque<IfileObject>& files) = 0;
    // Adds, for every watched file of view `from`, the same file under the
    // folder of view `to`.
    virtual void CopyRevisionFiles(int from, int to) = 0;
    // Builds the filter table for the project and the flow as they are now.
    virtual void BuildFilters() = 0;
    // Offers a file found on disk, with its disk stamp (null for none), to
    // the filters: the first that takes it puts it into its bin's baseline
    // or found list. False when no filter takes it.
    virtual bool AddFile(const IfileObject& file, const SysStatInfo* stamp, bool toBaseline) = 0;
    // Whether a file or folder of that name lies in, or on the way to, a
    // watched folder: the host enters a folder only when it does.
    virtual bool MatchFile(const ImodelFileName& name) = 0;
    // The file's next detection is passed over once.
    virtual void IgnoreNextChange(const IfileObjectEx& file) = 0;
    // A mark of the host's own; nothing in the library reads it.
    virtual bool GetHostMark() const = 0;
    virtual void SetHostMark(bool mark) = 0;
    // A working copy of the watcher for the host to fill (on a thread of
    // its own, if it likes) and merge back; false, with nothing done, while
    // another copy is handed out.
    virtual bool MakeCopy(std::unique_ptr<ItimerManager>& copy) = 0;
    // Takes the found lists of the copy handed out and scans; nothing for
    // any other copy or one the watcher dropped meanwhile.
    virtual void MergeCopy(ItimerManager* copy, bool notify) = 0;
    // Forgets the copy handed out, and deletes `copy`.
    virtual void DiscardCopy(std::unique_ptr<ItimerManager>& copy) = 0;
    virtual bool IsReady() const = 0;
    // Whether the watcher keeps a bin for files of that type.
    virtual bool IsTypeWatched(int type) const = 0;

    // Process-wide switches for the host, set by other components: file
    // detection is wanted (cleared by import_files while it works), and the
    // block-design tool blocks scanning while it writes into a folder.
    static bool& GetDoFileDetection();
    static bool& GetTimerBlockedByVeyrun();
    // Whether the host should watch for changed files: IDE_TIMER_ENABLED
    // and the project's file-detection switch.
    static bool IsAutoFileDetectionEnabled();

protected:
    ItimerManager() = default;
    ItimerManager(const ItimerManager&) = default;
    ItimerManager& operator=(const ItimerManager&) = delete;
};

// The file watcher, for the project singleton to own.
std::unique_ptr<ItimerManager> ItimerCreateManager();
