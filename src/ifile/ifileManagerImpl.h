// The file manager. Besides the map of entries by full name it keeps
// indexes that answer the common questions without walking every file: by
// specific type, by place-and-route view, by every form of a file's name
// (for lookups by name) and, for removals, by the names of parent files.
// Each index lists map elements in key order, so answers come out in the
// order a walk over the map would give. The name indexes depend on the
// project folder (it stands for "<project>") and are rebuilt when it changes.
#pragma once

#include "ifile/IfileListener.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

class ifileManagerImpl : public IfileManager {
public:
    // The project's files by full name, with their indexes kept in step by
    // every insertion, re-keying and erasure.
    class FileListMap {
    public:
        using Map = std::map<ImodelFileName, Entry>;
        using const_iterator = Map::const_iterator;
        struct ByKey {
            bool operator()(const_iterator a, const_iterator b) const { return a->first < b->first; }
        };
        // Map elements in key order.
        using Bucket = std::set<const_iterator, ByKey>;

        FileListMap() = default;
        FileListMap(const FileListMap&) = delete;
        FileListMap& operator=(const FileListMap&) = delete;
        virtual ~FileListMap() = default;

        // Files the entry under its full name; false, with nothing changed,
        // for an empty entry or a name already present.
        bool Insert(const Entry& entry);
        // Takes the element stored under `oldName` and files the entry under
        // its own full name. False, with nothing changed, for an empty
        // entry, an unknown old name, or a new name that another element
        // holds.
        bool Rekey(const Entry& entry, const IfileObject& oldName);
        // Erases the element; the element after it.
        const_iterator Erase(const_iterator element);

        const Map& Elements() const { return m_map; }
        const_iterator Find(const ImodelFileName& key) const { return m_map.find(key); }
        std::size_t Size() const { return m_map.size(); }
        bool Empty() const { return m_map.empty(); }

        const Bucket& OfSpecificType(int type) const;
        const Bucket& OfRevision(int revision) const;
        // The elements of every specific type of the group, in key order.
        std::vector<const_iterator> OfGlobalType(int globalType) const;
        // The elements that have `name` in one of their name forms (file-name
        // equality), in key order.
        const Bucket& Named(const std::string& name);

    private:
        // Rebuilds the name index when the project folder changed.
        void SyncNameIndex();
        void AddToIndexes(const_iterator element);
        void RemoveFromIndexes(const_iterator element);

        Map m_map;
        std::unordered_map<int, Bucket> m_byType;
        std::unordered_map<int, Bucket> m_byRevision;
        std::unordered_map<std::string, Bucket> m_byName;
        std::string m_nameIndexFolder;
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

    ifileManagerImpl() = default;

    void AddListener(IfileListener* listener) override;
    void RemoveListener(IfileListener* listener) override;
    void RemoveAllFiles() override;
    void UpdateFiles(const IfileManagerFilterParent& filter) override;
    void AnnounceFileChange(const IfileObject& file) override;
    void AddFiles(const std::deque<IfileObject>& first, const std::deque<IfileObject>& second) override;
    Entry AddOrUpdateFile(const IfileObjectEx& file, bool trackErrors) override;
    void RemoveFile(const IfileObject& file) override;
    bool RenameFileKey(const Entry& entry, const IfileObject& oldName) override;
    bool ContainsFile(const IfileObject& file) override;
    void RemoveFilesOfGlobalType(int globalType, int revisionScope) override;
    void RemoveFilesOfSpecificType(int specificType, int revisionScope) override;
    ErrorGroupRange GetErrorFileGroups() override;
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
    bool RegisterPresentFiles(int revision, ImodelProjectFileStructure& project,
                              const std::vector<Iconvert*>& converters) override;
    bool WriteFileList(std::ostream* stream) override;
    int GetFileCount() override;
    bool ReadFileList(ImodelProjectFileStructure& project, int& count) override;
    bool AddName(const std::string& name, int list) override;
    bool RemoveName(const std::string& name, int list) override;
    bool ClearNames(int list) override;
    bool HasName(const std::string& name, int list) override;
    bool GetNames(std::vector<ImodelFileName>& out, int list) override;
    unsigned int GetLookupCount() override;
    ~ifileManagerImpl() override;

private:
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
    // Calls `tell` for every listener still registered, in registration
    // order; a listener may add or remove listeners meanwhile.
    void TellListeners(const std::function<void(IfileListener&)>& tell);

    // The first entry in key order within the scope that has `name` in
    // `form`; the name index keeps the search to the files of that name.
    Entry FirstNamed(const std::string& name, ImodelFMStringFileType form, int revisionScope);
    // Whether the map holds that very entry.
    bool IsRegistered(const Entry& file) const;
    // Takes the removed entry out of every group (and a group's lone
    // remaining file without an error kind); empty groups go.
    void LeaveErrorGroups(const Entry& removed);
    // Puts the file into, or takes it out of, the group of its error text.
    void TrackError(const Entry& file, ImodelErrorFileType kind, const std::string& text);
    // Drops the members that are gone or no longer registered.
    void PruneErrorGroup(ErrorFiles& group) const;

    // Remembers the entry as a child of each of its parents.
    void IndexParents(const IfileObjectEx& child);
    // Rebuilds the parent index when the project folder changed.
    void SyncParentIndex();
    // The registered files that may list `parent` as a parent, in key
    // order. Known children that are gone are forgotten on the way.
    std::vector<FileListMap::const_iterator> PossibleChildrenOf(const IfileObject& parent);
    // Forgets the children of the parent's name key that no longer list a
    // parent of that key.
    void ForgetFormerChildren(const IfileObject& parent, const std::vector<FileListMap::const_iterator>& children);

    std::uint32_t m_lookupCount = 0;
    std::vector<IfileListener*> m_listeners;
    FileListMap m_files;
    ErrorGroups m_errorGroups;
    std::vector<ImodelFileName> m_names;
    bool m_removing = false;
    // Name key of a parent (ImodelFileNameKey) -> full names of the files
    // that listed such a parent when they were indexed. Names that no longer
    // qualify are dropped when the parent's removal visits them.
    std::unordered_map<std::string, std::set<ImodelFileName>> m_childrenByParentKey;
    std::string m_parentIndexFolder;
};
