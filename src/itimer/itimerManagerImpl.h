// The file watcher's bins, filters and scans.
//
// A bin indexes its baseline by the hash of each file's name key, so that
// a scan costs a lookup per file found and not a walk of the baseline; the
// filters remember which of them watch the folder asked last, so that the
// files of one folder, which the host hands over one after the other, are
// matched by name against those filters only.
#pragma once

#include "imodel/names/ImodelHashPositions.h"
#include "itimer/ItimerManager.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class IfileObjectEx;
class IprocessFileObject;
class itimerManagerImpl;

// A file the host found, with its disk stamp when it had one.
struct itimerFile {
    IfileObject file;
    std::optional<SysStatInfo> stamp;
    std::uint64_t hash = 0;  // of the name key (itimerBin::HashOf)

    // Equal times and sizes (a missing stamp counts as -1 for both).
    bool IsSameStatInfo(const itimerFile& other) const;
};

class itimerBin {
public:
    using Files = std::deque<itimerFile>;

    explicit itimerBin(int type) : m_type(type) {}

    int GetType() const { return m_type; }
    const Files& GetBaseline() const { return m_baseline; }
    const Files& GetFound() const { return m_found; }
    void SetFound(const Files& found) { m_found = found; }
    // The file must bear its hash.
    void AddToBaseline(itimerFile file);
    void AddToFound(itimerFile file) { m_found.push_back(std::move(file)); }
    void Clear();

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    // The position of the baseline entry equal to the file (`hash` its
    // HashOf); npos when none.
    std::size_t FindInBaseline(const IfileObject& file, std::uint64_t hash) const;
    itimerFile& BaselineAt(std::size_t position) { return m_baseline[position]; }
    // Takes out of the baseline every entry the predicate (given the
    // position and the entry) picks, keeping the order of the others.
    template <class Pick>
    void RemoveFromBaseline(const Pick& pick);
    Files TakeFound() { return std::exchange(m_found, {}); }

    // The hash a file is indexed under: its name key's, for the project
    // folder `folder`.
    static std::uint64_t HashOf(const IfileObject& file, const std::string& folder);

private:
    void Reindex();

    int m_type;
    Files m_baseline;
    Files m_found;
    // Baseline positions by name hash: a bin of a hundred thousand files
    // fills and empties with no block per file. Entries are never taken out
    // one by one: a removal rebuilds it.
    ImodelHashPositions m_index;
};

template <class Pick>
void itimerBin::RemoveFromBaseline(const Pick& pick)
{
    Files kept;
    bool removed = false;
    for (std::size_t position = 0; position < m_baseline.size(); ++position) {
        if (pick(position, m_baseline[position])) {
            removed = true;
            continue;
        }
        kept.push_back(std::move(m_baseline[position]));
    }
    m_baseline = std::move(kept);
    if (removed) Reindex();
}

// One wildcard filter: a file-name pattern, folder patterns relative to the
// project folder (each with its depth, the number of separators it holds)
// and the type the files it takes are given.
class itimerFilter {
public:
    // One folder; several; the type's default folder (the view folders for
    // the place-and-route types).
    itimerFilter(std::string pattern, const std::string& folder, int type, itimerBin* bin);
    itimerFilter(std::string pattern, const std::vector<std::string>& folders, int type, itimerBin* bin);
    itimerFilter(std::string pattern, int type, itimerBin* bin);
    // The same filter for another watcher's bin.
    itimerFilter(const itimerFilter& other, itimerBin* bin);
    virtual ~itimerFilter() = default;

    // A folder asked about, measured once for every pattern it is held
    // against.
    class AskedFolder {
    public:
        // The folder's text is kept by reference: never a temporary.
        AskedFolder(const std::string& folder, bool allowLeading);
        AskedFolder(std::string&&, bool) = delete;

    private:
        friend class itimerFilter;
        const std::string& m_text;
        int m_depth;
        bool m_allowLeading;
        std::string m_trimmed;  // without leading and trailing separators
        int m_trimmedDepth = 0;
    };

    void AddFolder(const std::string& folder);
    // Whether the folder is one of the filter's; with `allowLeading` also a
    // folder on the way to one of them.
    bool MatchFolder(const std::string& folder, bool allowLeading) const;
    // The same test against one folder pattern of `depth` separators.
    static bool MatchFolderPattern(const std::string& pattern, int depth, const AskedFolder& folder);
    // Whether the name (title and extension) passes: an integer extension
    // for schematic sheets and symbols, the pattern for every other type.
    bool MatchName(const std::string& titleAndExt, const std::string& extension) const;
    // The name and folder tests, then the file into the bin's baseline or
    // found list; whether it was taken.
    bool TryAdd(const IfileObject& file, const SysStatInfo* stamp, bool toBaseline) const;

    const std::string& GetPattern() const { return m_pattern; }
    int GetType() const { return m_type; }
    itimerBin* GetBin() const { return m_bin; }
    const std::vector<std::pair<std::string, int>>& GetFolders() const { return m_folders; }

    // The default folder of a type's files, as a folder pattern.
    static std::string DefaultFolder(int type);
    // The place-and-route view folders: "pallador", separator, "impl*".
    static std::string RevisionFolder();

private:
    std::string m_pattern;
    std::vector<std::pair<std::string, int>> m_folders;
    int m_type;
    itimerBin* m_bin;
};

class itimerManagerImpl : public ItimerManager {
public:
    static constexpr int kBinCount = 55;

    itimerManagerImpl();
    // A working copy (MakeCopy): the same mark, readiness, lists and
    // filters; no actions and no copy of its own.
    itimerManagerImpl(const itimerManagerImpl& source);
    ~itimerManagerImpl() override;

    void Start() override;
    void Reset() override;
    void ScanGlobalType(int globalType) override;
    void Rescan(std::deque<IfileObject>* imported) override;
    void DetectChanges(bool withWorkspace) override;
    void ScanAndNotify(bool notify, std::deque<IfileObject>* imported) override;
    void TakeNoteOf(const std::deque<IfileObject>& files) override;
    void CopyRevisionFiles(int from, int to) override;
    void BuildFilters() override;
    bool AddFile(const IfileObject& file, const SysStatInfo* stamp, bool toBaseline) override;
    bool MatchFile(const ImodelFileName& name) override;
    void IgnoreNextChange(const IfileObjectEx& file) override;
    bool GetHostMark() const override { return m_hostMark; }
    void SetHostMark(bool mark) override { m_hostMark = mark; }
    bool MakeCopy(std::unique_ptr<ItimerManager>& copy) override;
    void MergeCopy(ItimerManager* copy, bool notify) override;
    void DiscardCopy(std::unique_ptr<ItimerManager>& copy) override;
    bool IsReady() const override { return m_ready; }
    bool IsTypeWatched(int type) const override;

    // Has the host enumerate the folders (filters built first when there
    // are none).
    virtual void StartScan(bool toBaseline);
    // Scans every bin, in bin order.
    virtual void ScanAll(std::deque<IfileObject>* imported);

    // What a scan found and did, for whoever wants to look.
    const std::vector<std::unique_ptr<itimerFilter>>& GetFilters() const { return m_filters; }
    // The bins in their order (flow order once the filters are built).
    std::vector<const itimerBin*> GetBins() const;
    const itimerBin* GetBin(int type) const;
    // The core-configurator outputs seen while the model runs its tests.
    const std::deque<IfileObject>& GetTestedFiles() const { return m_testedFiles; }
    // While the model runs its tests: the filters of the table that have
    // taken no file yet, in table order (empty otherwise).
    const std::vector<const itimerFilter*>& GetTestedFilters() const { return m_testedFilters; }
    // The files passed over at their next detection.
    static std::deque<IfileObject>& GetIgnoreList();

private:
    using Action = bool (itimerManagerImpl::*)(const IfileObject& file);

    void ScanBin(itimerBin& bin, std::deque<IfileObject>* imported);
    void DropCopy();
    void DeleteFilters();
    void SortBinsFlowOrder(const std::vector<IprocessFileObject*>& nodes);
    itimerBin* BinOf(int type) const;
    void Append(std::string pattern, int type);
    void Append(std::string pattern, const std::string& folder, int type);

    // Whether a file found passes the acceptance rules of a scan.
    bool IsAccepted(const itimerFile& found) const;
    // A file found, against the bin's baseline (its entry there at
    // `position`, or none): a new or changed file that passes the
    // acceptance rules enters the baseline, or gives it its new stamp, and
    // is detected (true).
    bool TakeIntoBaseline(itimerBin& bin, const itimerFile& file, std::size_t position) const;
    // Whether a detected file was on the ignore list; it leaves the list.
    static bool SpendIgnored(const IfileObject& file);
    // The first filter that takes a file of that folder and name, or null.
    const itimerFilter* FilterFor(const IfileObject& file);
    // The file as `filter` takes it: typed by the filter, hashed for its bin.
    static itimerFile TakenBy(const itimerFilter& filter, const IfileObject& file, std::optional<SysStatInfo> stamp);
    bool OnIde_pldFileFound(const IfileObject& file);
    bool OnLockFileFound(const IfileObject& file);
    bool OnConfiguratorOutputFound(const IfileObject& file);
    bool OnSynthesisOutputFound(const IfileObject& file);

    bool m_hostMark = false;
    std::vector<const itimerFilter*> m_testedFilters;
    std::deque<IfileObject> m_testedFiles;
    std::vector<std::pair<int, Action>> m_actions;
    std::vector<std::unique_ptr<itimerFilter>> m_filters;
    std::vector<std::pair<int, std::unique_ptr<itimerBin>>> m_bins;
    std::array<itimerBin*, kBinCount> m_binByType{};
    itimerManagerImpl* m_copy = nullptr;    // the working copy handed out
    itimerManagerImpl* m_source = nullptr;  // of a working copy: the watcher it was made from
    bool m_ready = false;

    // The filters that watch the folder asked last (AddFile), in list order.
    std::optional<std::string> m_lastFolder;
    std::vector<const itimerFilter*> m_lastFilters;
    // Every folder pattern of the filters once (MatchFile): many filters
    // share a folder. Made at the first question after the table changed.
    std::vector<std::pair<std::string, int>> m_watchedFolders;
};
