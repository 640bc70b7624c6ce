// The file manager. Besides the map of entries by full name it keeps
// indexes that answer the common questions without walking every file: by
// specific type, by place-and-route view, by every form of a file's name
// (for lookups by name), by folder and, for removals, by the names of
// parent files.
// Each index lists map elements in key order, so answers come out in the
// order a walk over the map would give.
//
// The name indexes hold 64-bit hashes of file-name keys (ImodelFileNameKey),
// not the keys: every file they give is checked by the caller's matcher, so
// two names of the same hash only cost a check. They depend on the project
// folder (it stands for "<project>") and are rebuilt when it changes. Every
// element remembers what it was filed under, so that it leaves the indexes
// exactly as it came in, whatever became of its entry meanwhile.
#pragma once

#include "ievent/Ievent.h"
#include "ifile/IfileListener.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "src/ifile/ifileNodePool.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class ifileManagerImpl : public IfileManager {
public:
    // The project's files by full name, with their indexes kept in step by
    // every insertion, re-keying and erasure.
    class FileListMap {
    public:
        struct Element;
        // The map's nodes and those of its type and view indexes come from
        // the map's own pool (ifileNodePool).
        using Map = std::map<ImodelFileName, Element, std::less<ImodelFileName>,
                             ifilePoolAllocator<std::pair<const ImodelFileName, Element>>>;
        using const_iterator = Map::const_iterator;
        struct ByKey {
            bool operator()(const_iterator a, const_iterator b) const { return a->first < b->first; }
        };
        // Map elements in key order.
        using Bucket = std::set<const_iterator, ByKey, ifilePoolAllocator<const_iterator>>;

        // Map elements by 64-bit hashes: an open-addressing table (linear
        // probing in one array, no node per hash) of two words a cell. Most
        // hashes have one element; the elements of a hash that has several
        // are kept in key order. The table keeps the hashes without their two
        // lowest bits (the cell's kind takes them): hashes that differ there
        // only share a cell, which costs the caller's matcher a check.
        class HashIndex {
        public:
            HashIndex() = default;
            HashIndex(HashIndex&& other) noexcept;
            HashIndex& operator=(HashIndex&& other) noexcept;
            ~HashIndex();

            void Add(std::uint64_t hash, const_iterator element);
            // Asks for the cell where a look-up of the hash starts.
            void Prefetch(std::uint64_t hash) const;
            void Remove(std::uint64_t hash, const_iterator element);
            // Calls `visit` for the elements of the hash in key order until it
            // answers true; true when it did.
            bool Any(std::uint64_t hash, const std::function<bool(const_iterator)>& visit) const;
            // An element of each of about `count` cells spread evenly over
            // the table, appended to `out` (the elements of a bucket count
            // as one).
            void Sample(std::size_t count, std::vector<const_iterator>& out) const;
            // Room for `count` more hashes without growing, and no more than
            // that room when the table has to be made larger: a table filled
            // to a known size holds no cells it will not use.
            void Reserve(std::size_t count);
            void Clear();
            bool Empty() const { return m_used == 0; }
            std::size_t Cells() const { return m_cells.size(); }

        private:
            enum Kind : std::uint64_t {
                kFree = 0,
                kSingle = 1,
                kBucket = 2
            };
            static constexpr std::uint64_t kKindBits = 3;
            struct Cell {
                Cell() : bucket(nullptr) {}
                std::uint64_t tag = 0;  // the hash without its kind bits, and the kind
                union {
                    const_iterator single;  // kSingle
                    Bucket* bucket;         // kBucket, owned by the cell
                };
                Kind Which() const { return static_cast<Kind>(tag & kKindBits); }
                std::uint64_t Key() const { return tag & ~kKindBits; }
            };
            static std::uint64_t KeyOf(std::uint64_t hash) { return hash & ~kKindBits; }
            std::size_t Home(std::uint64_t key) const;
            std::size_t Next(std::size_t cell) const { return cell + 1 == m_cells.size() ? 0 : cell + 1; }
            // The cell of the key, or the free cell where it would go.
            std::size_t Probe(std::uint64_t key) const;
            // Whether `used` hashes fit with the probes kept short.
            bool HasRoomFor(std::size_t used) const { return used * 10 <= m_cells.size() * 7; }
            void Rehash(std::size_t size);
            void Free(std::size_t cell);
            void DeleteBuckets();

            std::vector<Cell> m_cells;
            std::size_t m_used = 0;
        };

        // What the map holds for one file: its entry, and what the indexes
        // filed it under.
        struct Element {
            explicit Element(Entry file) : entry(std::move(file)) {}
            Entry entry;
            int type = 0;
            int revision = -1;
            std::uint8_t nameCount = 0;
            std::array<std::uint64_t, 4> names{};  // hashes of its name forms
            std::vector<std::uint64_t> parents;    // hashes of its parents' names (the manager's)
        };

        FileListMap() = default;
        FileListMap(const FileListMap&) = delete;
        FileListMap& operator=(const FileListMap&) = delete;
        virtual ~FileListMap() = default;

        // Files the entry under its full name; false, with nothing changed,
        // for an empty entry or a name already present. Entries that come
        // in key order (a project file being read) cost no search.
        bool Insert(const Entry& entry, const_iterator* inserted = nullptr);
        // Takes the element stored under `oldName` and files the entry under
        // its own full name. False, with nothing changed, for an empty
        // entry, an unknown old name, or a new name that another element
        // holds.
        bool Rekey(const Entry& entry, const IfileObject& oldName);
        // Erases the element; the element after it.
        const_iterator Erase(const_iterator element);
        // Erases every element and empties the indexes at once.
        void Clear();
        // Makes room in the indexes for `files` more files, `named` of them
        // in the project folder (filed under four forms of their name, the
        // others under two): a project read into the map fills its indexes
        // without growing them a step at a time, each step moving every
        // entry to a new table.
        void Reserve(std::size_t files, std::size_t named);
        // Leaves the map empty, as Clear does, and gives its elements,
        // indexes and the pool of their nodes to the map returned, whose
        // destruction frees them (on any thread, once no entry is left in
        // it: see TakeEntry).
        std::unique_ptr<FileListMap> Release();
        // Moves the element's entry out, the element left filed as it was
        // (for a map that is about to be emptied).
        Entry TakeEntry(const Map::value_type& element)
        {
            ++m_changes;
            return std::move(const_cast<Element&>(element.second).entry);
        }
        // Grows with every change of the elements or of what they hold:
        // whatever was found in the map stands while it stands.
        std::uint64_t Changes() const { return m_changes; }

        const Map& Elements() const { return m_map; }
        // Up to `count` distinct elements in key order, spread over the map
        // as hashing spreads names: where a walk of the map can be cut into
        // parts of about equal size, found without walking it.
        std::vector<const_iterator> Spread(std::size_t count) const;
        const_iterator Find(const ImodelFileName& key) const;
        // Asks for the cell where Find of the key starts.
        void Prefetch(const ImodelFileName& key) const;
        std::size_t Size() const { return m_map.size(); }
        bool Empty() const { return m_map.empty(); }

        const Bucket& OfSpecificType(int type) const;
        // The elements by folder: the text of a key up to and including its
        // last separator ("/" or "\"; empty for a key without one), each
        // folder with its elements in key order.
        struct FolderHash {
            using is_transparent = void;
            std::size_t operator()(std::string_view folder) const { return std::hash<std::string_view>()(folder); }
        };
        using FolderIndex = std::unordered_map<std::string, Bucket, FolderHash, std::equal_to<>>;
        static std::string_view FolderOf(std::string_view key);
        const FolderIndex& Folders() const { return m_byFolder; }
        // The elements of a place-and-route view, in key order; for -1 the
        // elements of no view.
        std::vector<const_iterator> OfRevision(int revision) const;
        // The elements of every specific type of the group, in key order.
        std::vector<const_iterator> OfGlobalType(int globalType) const;
        // Calls `visit` for the elements that may have `name` in one of their
        // name forms, in key order, until it answers true; true when it did.
        bool AnyNamed(const std::string& name, const std::function<bool(const_iterator)>& visit);

        // The parent index: the elements that listed a parent of that name
        // when they were last filed, in key order.
        bool AnyChildOf(const IfileObject& parent, const std::function<bool(const_iterator)>& visit);
        // Whether any element is filed under a parent: when none is, no
        // file has a child and nothing need be asked file by file.
        bool AnyFiledUnderParent();
        // Files the element under the names of its entry's present parents.
        void FileParents(const_iterator element);

    private:
        Element& Mutable(const_iterator element) { return const_cast<Element&>(element->second); }
        // Rebuilds the name and parent indexes when the project folder changed.
        void SyncFolder();
        std::uint64_t Hash(const std::string& name) const;
        void AddToIndexes(const_iterator element);
        void RemoveFromIndexes(const_iterator element);
        void FileNames(const_iterator element);
        void UnfileNames(const_iterator element);
        void UnfileParents(const_iterator element);

        // First: the containers below give their nodes back to it. Held
        // apart, so that the nodes and the pool can leave together (Release).
        std::unique_ptr<ifileNodePool> m_pool = std::make_unique<ifileNodePool>();
        Map m_map{Map::key_compare(), Map::allocator_type(m_pool.get())};
        // The map's elements by the hash of their exact name (ExactHash): a
        // lookup hashes the name once instead of comparing it along a path
        // of the tree, and the index keeps no block per file.
        static std::uint64_t ExactHash(const ImodelFileName& key);
        HashIndex m_exact;
        std::unordered_map<int, Bucket> m_byType;
        // Only elements of a view: most files are of none.
        std::unordered_map<int, Bucket> m_byRevision;
        HashIndex m_byName;
        HashIndex m_byParent;
        FolderIndex m_byFolder;
        std::string m_indexFolder;
        std::uint64_t m_changes = 0;
    };

    // Strips one parent from the entries it is applied to and keeps those
    // whose parent list changed.
    class ActionRemoveParent {
    public:
        explicit ActionRemoveParent(const IfileObject& parent) : m_parent(parent) {}
        virtual ~ActionRemoveParent() = default;
        virtual void operator()(Entry file);
        const FileListMap& GetChangedFiles() const { return m_changed; }

    private:
        IfileObject m_parent;
        FileListMap m_changed;
    };

    // The manager's own filters (ifileManagerFilters.h).
    class FilterListParent;
    class FilterSameRev;
    class FilterSameGlobalType;
    class FilterSameSpecificType;
    class FilterSameFile;

    ifileManagerImpl() = default;

    void AddListener(IfileListener* listener) override;
    void RemoveListener(IfileListener* listener) override;
    void RemoveAllFiles() override;
    void UpdateFiles(const IfileManagerFilterParent& filter) override;
    void AnnounceFileChange(const IfileObject& file) override;
    void AddFiles(const std::deque<IfileObject>& first, const std::deque<IfileObject>& second) override;
    Entry AddOrUpdateFile(const IfileObjectEx& file, bool trackErrors) override;
    void PrefetchEntryOf(const IfileObject& file) const override;
    void RemoveFile(const IfileObject& file) override;
    bool RenameFileKey(const Entry& entry, const IfileObject& oldName) override;
    void ParentRenamed(const IfileObject& oldName, const Entry& entry) override;
    bool ContainsFile(const IfileObject& file) override;
    void RemoveFilesOfGlobalType(int globalType, int revisionScope) override;
    void RemoveFilesOfSpecificType(int specificType, int revisionScope) override;
    ErrorGroupRange GetErrorFileGroups() override;
    const ErrorFiles* FindErrorFileGroup(const std::string& text) override;
    void UpdateErrorFiles() override;
    bool HasFileNamed(const std::string& name, ImodelFMStringFileType form, int revisionScope) override;
    bool HasFileOfSpecificType(int specificType, int revisionScope, const IfileManagerFilterParent* extra) override;
    bool HasFileOfGlobalType(int globalType, int revisionScope) override;
    void GetFiles(std::vector<Entry>& out, int revisionScope, const IfileManagerFilterParent* extra) override;
    void GetFiles(std::deque<IfileObjectEx>& out, int revisionScope, const IfileManagerFilterParent* extra) override;
    void GetFilesOfSpecificType(int specificType, std::vector<Entry>& out, int revisionScope,
                                const IfileManagerFilterParent* extra) override;
    void GetFilesOfSpecificType(int specificType, std::deque<IfileObjectEx>& out, int revisionScope,
                                const IfileManagerFilterParent* extra) override;
    void GetFilesOfGlobalType(int globalType, std::vector<Entry>& out, int revisionScope,
                              const IfileManagerFilterParent* extra) override;
    void GetFilesOfGlobalType(int globalType, std::deque<IfileObjectEx>& out, int revisionScope,
                              const IfileManagerFilterParent* extra) override;
    void GetFilesOfCurrentRevision(std::deque<IfileObjectEx>& out) override;
    void GetFilesOfRevision(int revision, std::deque<IfileObjectEx>& out) override;
    void GetFilesWith(std::vector<Entry>& out) override;
    void RemoveFilesOfRevision(int revision) override;
    bool RetargetFiles(int from, int to) override;
    void UpdateFilesAndNotify(int unused) override;
    Entry GetFile(const IfileObject& file) override;
    Entry GetFileFor(const IfileObject::IsSameFileName& matcher, int revisionScope) override;
    void GetFileFolders(std::vector<Folder>& out) override;
    void GetFilesOfFolder(const std::string& folder, std::vector<Entry>& out) override;
    void GetFilesOfFolderTitled(const std::string& folder, const std::string& title, std::vector<Entry>& out) override;
    Entry GetFileOfSpecificType(const IfileObject& file, int specificType, int revisionScope,
                                const IfileManagerFilterParent* extra) override;
    Entry GetFileOfGlobalType(const IfileObject& file, int globalType, int revisionScope,
                              const IfileManagerFilterParent* extra) override;
    bool RegisterPresentFiles(int revision, ImodelProjectFileStructure& project,
                              const std::vector<Iconvert*>& converters) override;
    bool WriteFileList(std::ostream* stream) override;
    int GetFileCount() override;
    bool ReadFileList(ImodelProjectFileStructure& project, int& count) override;
    bool AddFilesToModel(ImodelProjectFileStructure& project, const std::vector<Iconvert*>& converters,
                         std::vector<std::string>* modulesToSkip, const std::function<void()>& stepOneFile, bool parse,
                         bool localOnly, std::deque<IfileObject>* newerOnDisk = nullptr) override;
    bool AddName(const std::string& name, int list) override;
    bool RemoveName(const std::string& name, int list) override;
    bool ClearNames(int list) override;
    bool HasName(const std::string& name, int list) override;
    bool GetNames(std::vector<ImodelFileName>& out, int list) override;
    unsigned int GetLookupCount() override;
    void HandleDetectedChanges(bool takePending) override;
    // Taking the recorded changes walks only the files that have one; set,
    // it walks every file as the first step does (for the tests that
    // compare the two).
    static bool& TakeChangesWalkingEveryFile();
    ~ifileManagerImpl() override;

private:
    // HandleDetectedChanges, by the kind of file changed on disk: each kind
    // looks at a file the snapshot holds and notes what it comes to; the
    // workspace is then told, and the project updated, once.
    struct DetectedChanges;
    struct ChangedFile;
    std::vector<Entry> ChangedFilesSnapshot(bool takePending) const;
    // A file the workspace watches (any kind).
    static void DetectWorkspaceFileChange(ChangedFile& file, DetectedChanges& changes);
    // An HDL file outside the folder "hdl": a core's.
    static void DetectCoreHdlChange(ChangedFile& file, DetectedChanges& changes);
    // A core description, then not looked at as a watched file.
    static void DetectCoreDescriptionChange(ChangedFile& file, DetectedChanges& changes);
    // A core's memory file, copied to the simulation folder.
    static void DetectCoreMemoryFileChange(ChangedFile& file, DetectedChanges& changes);
    // A file outside the project folder (a link), changed, broken or back.
    static void DetectLinkChange(ChangedFile& file, DetectedChanges& changes);
    // Any other file of a type the watcher watches: an edited source.
    static void DetectWatchedFileChange(ChangedFile& file, DetectedChanges& changes);
    static void NotifyWorkspaceOfChanges(DetectedChanges& changes);
    static void UpdateProjectWithChanges(DetectedChanges& changes);
    // Removes one element: its error, its place as a parent of other files,
    // then, with `notify`, the announcements; the element after it.
    FileListMap::const_iterator EraseFile(FileListMap::const_iterator element, bool notify);
    // Erases the elements filed under these keys one by one, each
    // announced; keys gone meanwhile are skipped.
    void EraseFiles(const std::vector<ImodelFileName>& keys);
    // Announces the entries of `list` that pass the filter (null: all) to
    // every listener, then to the views in one batch; `asNew` announces each
    // as removed and added again.
    void NotifyFiles(bool asNew, const FileListMap& list, const IfileManagerFilterParent* filter);
    // Announces, as UpdateFiles with a filter IfileManagerFilterIsOneOf on
    // `named` would, the entries equal to a named file: found by name
    // rather than by asking every file.
    void NotifyNamedFiles(const std::deque<IfileObject>& named);
    // Tells every listener of each of `files`, then sends `batch` (one or,
    // with `asNew`, two events per file, in the files' order); empties both.
    void Announce(bool asNew, std::vector<Entry>& files, IeventBatch& batch);
    // Calls `tell` for every listener still registered, in registration
    // order; a listener may add or remove listeners meanwhile.
    template <class Tell>
    void TellListeners(const Tell& tell)
    {
        // The listeners are told from a copy of the list, on the stack when
        // it is short; a listener is looked for again only once the list
        // changed.
        constexpr std::size_t kOnStack = 32;
        std::array<IfileListener*, kOnStack> onStack;
        std::vector<IfileListener*> onHeap;
        IfileListener* const* listeners = m_listeners.data();
        const std::size_t count = m_listeners.size();
        if (count <= kOnStack) {
            std::copy(m_listeners.begin(), m_listeners.end(), onStack.begin());
            listeners = onStack.data();
        } else {
            onHeap = m_listeners;
            listeners = onHeap.data();
        }
        const std::uint64_t changed = m_listenersChanged;
        for (std::size_t i = 0; i < count; ++i)
            if (m_listenersChanged == changed || IsListening(listeners[i])) tell(*listeners[i]);
    }
    bool IsListening(IfileListener* listener) const;

    // The first entry in key order within the scope that has `name` in
    // `form`; the name index keeps the search to the files of that name.
    Entry FirstNamed(const std::string& name, ImodelFMStringFileType form, int revisionScope);
    // Whether the map holds that very entry.
    bool IsRegistered(const Entry& file) const;
    // Takes the removed entry out of every group (and a group's lone
    // remaining file without an error kind); empty groups go.
    void LeaveErrorGroups(const Entry& removed);
    // Gives the file the error and puts the file shown for it into, or
    // takes it out of, the group of the error text. `formerText` is the
    // file's text before it took the error: the one group it may be in.
    void TrackError(const Entry& file, const std::string& formerText, ImodelErrorFileType kind,
                    const std::string& text);
    // Takes the file out of the group of that text, if there; the group
    // goes when empty.
    void LeaveErrorGroup(const Entry& file, const std::string& text);
    // Puts the file into the group of that text, made when missing (none
    // for an empty text).
    void JoinErrorGroup(const Entry& file, const std::string& text);
    // Drops the members that are gone or no longer registered.
    void PruneErrorGroup(ErrorFiles& group) const;

    // Grows by one whenever an entry leaves the map.
    std::size_t RemovalMark() const;
    // Puts the file's entry into `newer` when its disk stamp is newer than
    // the file's.
    void NoteIfNewerOnDisk(const IfileObjectEx& file, std::deque<IfileObject>& newer);

    std::uint32_t m_lookupCount = 0;
    // Entries ever put into the map: with its size, tells whether any left.
    std::size_t m_inserted = 0;
    std::vector<IfileListener*> m_listeners;
    std::uint64_t m_listenersChanged = 0;  // counts additions and removals
    FileListMap m_files;
    // The HDL elements that defined packages when last looked for, in key
    // order: a file that gains packages changes PackageDefinerChanges, a
    // file that enters, leaves or moves changes the map, and either sends
    // the next look over the map again. A file that since lost its
    // packages is dropped when asked.
    struct PackageFiles {
        bool known = false;
        std::uint64_t mapChanges = 0;
        std::uint64_t definerChanges = 0;
        std::vector<FileListMap::const_iterator> elements;
    };
    PackageFiles m_packageFiles;
    ErrorGroups m_errorGroups;
    std::vector<ImodelFileName> m_names;
    bool m_removing = false;
};
