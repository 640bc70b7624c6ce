// The design unit record: construction, copies, destruction, key and order,
// the defining file and its stamp, and the class-wide state.
#include "imodel/design/ImodelModule.h"

#include "ievent/IeventClasses.h"
#include "ievent/IeventModuleRegistry.h"
#include "ievent/IeventView.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelVisitAhead.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"
#include "imodel/views/ImodelContextImpl.h"
#include "iprocess/IprocessDisplay.h"
#include "iprocess/IprocessManager.h"
#include "src/imodel/design/ImodelModuleNotify.h"
#include "src/imodel/design/imodelReclaimer.h"
#include "src/imodel/design/imodelRestorable.h"
#include "src/imodel/design/imodelRetire.h"
#include "src/imodel/design/imodelUnitFileIndex.h"
#include "src/imodel/design/imodelUnitJournal.h"
#include "src/imodel/model/imodelImpl.h"

#include <foundation/Sys.h>
#include <zorpa/ZorpaString.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <type_traits>
#include <unordered_set>
#include <utility>

namespace {

std::string LibraryOrWork(const std::string& library) { return library.empty() ? "work" : library; }

std::string Lowered(std::string text)
{
    ZorpaMakeLower(text);
    return text;
}

std::atomic<std::uint64_t>& LastSerial()
{
    static std::atomic<std::uint64_t> last{0};
    return last;
}

std::uint64_t NextSerial() { return ++LastSerial(); }

std::atomic<std::size_t>& LiveUnits()
{
    static std::atomic<std::size_t> live{0};
    return live;
}

// Set while units retired together are deleted on this thread
// (imodelRetiredUnits): their destructors only free memory.
constinit thread_local bool t_deletingRetired = false;

// What events write into a unit that a view is shown.
void MarkDisplayable(ImodelModule* module) { module->SetCanBeDisplayedInAView(true); }

// One list per distinct set of library names, shared by the units that
// name them. A list no unit holds any more leaves the pool when the pool
// next doubles.
using LibraryNames = std::deque<std::string>;
std::shared_ptr<const LibraryNames> SharedLibraryNames(const LibraryNames& names)
{
    static std::map<LibraryNames, std::weak_ptr<const LibraryNames>> pool;
    static std::size_t purgeAt = 64;
    auto& entry = pool[names];
    if (std::shared_ptr<const LibraryNames> held = entry.lock()) return held;
    auto made = std::make_shared<const LibraryNames>(names);
    entry = made;
    if (pool.size() >= purgeAt) {
        std::erase_if(pool, [](const auto& kept) { return kept.second.expired(); });
        purgeAt = std::max<std::size_t>(64, 2 * pool.size());
    }
    return made;
}

}  // namespace

// --- construction ---------------------------------------------------------------------

ImodelModuleData::ImodelModuleData(const VyIfaces::ComponentID& key, zorpaModuleTypes kind, bool isPackage,
                                   bool isSpirit)
    : m_isPackage(isPackage), m_isSpirit(isSpirit), m_key(key), m_order{Lowered(key.name), false, std::string()},
      m_kind(kind)
{
}

ImodelModule::ImodelModule(const std::string& name, boost::shared_ptr<IfileObjectEx> file, zorpaModuleTypes kind,
                           bool isPackage, const std::string& library, const std::string& package, bool isSpirit)
    : ImodelModuleData(VyIfaces::ComponentID(name, LibraryOrWork(library), package), kind, isPackage, isSpirit),
      m_serial(NextSerial()), m_context(std::make_unique<ImodelContextImpl>(name, this))
{
    ChangeFile(file);
    RegisterWithEvents();
}

ImodelModule::ImodelModule(const ImodelModule& other)
    : ImodelModuleData(static_cast<const ImodelModuleData&>(other)), m_serial(NextSerial())
{
    if (other.m_context) m_context = std::make_unique<ImodelContextImpl>(*other.m_context, this, true);
    // It holds the lists of `other`.
    if (other.NamesAnyFile()) ListsMayChange();
    RegisterWithEvents();
    // The parents are not taken over: they do not list the copy as a
    // sub-block, and a one-sided link would outlive them.
    if (other.m_subBlocks) LinkSubBlocks(*other.m_subBlocks);
}

void ImodelModule::RegisterWithEvents()
{
    static const bool markerSet = (IeventModuleRegistry::SetDisplayMarker(&MarkDisplayable), true);
    (void)markerSet;
    IeventModuleRegistry::Register(this, m_serial);
    ++LiveUnits();
}

ImodelModule::~ImodelModule()
{
    // Even a retired unit: the index would hand its address out.
    if (m_inFileIndex) imodelUnitFileIndex::Gone(*this);
    // A unit retired with the others of a closed project: what others could
    // see of its going is done, only its memory is left.
    if (t_deletingRetired) return;
    // Events built from here on leave the unit alone, and a batch that
    // carries it reaches the views before it is gone.
    IeventModuleRegistry::Destruction destruction(this);
    m_timeStamp.Reset();
    Unlink(false);
    m_context.reset();
    if (GetTestedModule() == this) GetTestedModule() = nullptr;
    AnnounceDestruction();
    // The process manager must not keep a unit that is gone as its current
    // one, display or not.
    if (Imodel* model = ImodelAliveModel())
        if (IprocessManager* processes = static_cast<imodelImpl*>(model)->PeekProcessManager())
            processes->DetachIfCurrent(this);
    --LiveUnits();
}

namespace {

// Nobody can tell units that go from gone, when `going` tells which units
// go: no view hears a removal, the process display and manager hold none
// of them (a model without its process manager would make one for a unit
// a view was shown).
template <class Going>
bool NobodyWatches(Going going)
{
    Imodel* model = ImodelAliveModel();
    IprocessManager* processes = model ? static_cast<imodelImpl*>(model)->PeekProcessManager() : nullptr;
    IprocessDisplay* display = processes ? processes->GetProcessDisplay() : nullptr;
    return !IeventView::MayBeHeard<IeventModuleRemoved>() && (model == nullptr || processes != nullptr) &&
           !going(display ? display->GetShownModule() : nullptr) &&
           !going(processes ? processes->GetCurrentModule() : nullptr);
}

}  // namespace

bool imodelNobodyWatchesUnitsOf(const std::vector<const ImodelModule::UnitSet*>& sets)
{
    return NobodyWatches([&sets](const ImodelModule* unit) {
        return unit != nullptr && std::any_of(sets.begin(), sets.end(), [unit](const ImodelModule::UnitSet* set) {
                   return set != nullptr && set->contains(unit);
               });
    });
}

void imodelRetireUnwatched(imodelRetiredUnits& retired)
{
    const std::vector<ImodelModule::Owned>& units = retired.units;
    const auto going = [&units](const ImodelModule* unit) {
        return unit != nullptr && std::any_of(units.begin(), units.end(),
                                              [unit](const ImodelModule::Owned& owned) { return owned.get() == unit; });
    };
    // The units of the last close count until they are gone.
    imodelTheReclaimer().Wait();
    if (units.size() == LiveUnits()) {
        // Every unit alive goes: each link leads to a unit that goes too,
        // and the lists go with the units' memory.
        ImodelModule::HierarchyChanged();
    } else {
        ImodelModule::UnlinkTogether(units);
    }
    ImodelModule*& tested = ImodelModule::GetTestedModule();
    if (going(tested)) tested = nullptr;
    // The units lie apart in memory: each is prefetched some places ahead.
    const auto unitAhead = [](const ImodelModule::Owned* unit, int step) {
        if (step == 0) (*unit)->PrefetchContext();
    };
    std::size_t contexts = 0;
    ImodelVisitAhead(units, unitAhead, [&contexts](const ImodelModule::Owned* unit) {
        if ((*unit)->GetContext() != nullptr) ++contexts;
    });
    // A closed project's contexts are all the contexts there are: the
    // waiting lists go whole, and no context is looked at.
    if (!ImodelContextImpl::EmptyWaitingListsIfOnly(contexts, retired.waitingLists)) {
        const auto contextAhead = [&unitAhead](const ImodelModule::Owned* unit, int step) {
            if (step == 0)
                unitAhead(unit, step);
            else if (const ImodelContextImpl* context = (*unit)->GetContext())
                ImodelPrefetch(context, sizeof(ImodelContextImpl));
        };
        ImodelVisitAhead(units, contextAhead, [](const ImodelModule::Owned* unit) {
            if (const ImodelContextImpl* context = (*unit)->GetContext()) context->LeaveWaitingLists();
        });
    }
    IeventModuleRegistry::ForgetAll(units);
    LiveUnits() -= units.size();
}

bool imodelRetireLibrariesQuietly(imodelRetiredUnits::Libraries& libraries, imodelRetiredUnits& retired)
{
    std::size_t count = 0;
    for (const auto& library : libraries) {
        if (!library) continue;
        // Someone else could still reach the units through them.
        if (library.use_count() != 1 || library->GetModules().use_count() != 1) return false;
        count += library->GetModules()->size();
    }
    // Nothing to retire: the libraries go as they are, and the units of the
    // last close need not be waited for.
    if (count == 0) return false;
    // Every unit alive goes: a unit the display or the manager holds goes.
    if (!NobodyWatches([](const ImodelModule* unit) { return unit != nullptr; })) return false;
    // The units of the last close count until they are gone.
    imodelTheReclaimer().Wait();
    // A change under way notes each unit that leaves its library.
    if (count != LiveUnits() || imodelUnitJournal::AnyListening() || !ImodelContextImpl::OnlyContextsOfUnits())
        return false;
    if (!IeventModuleRegistry::ForgetAllIfOnly(count)) return false;
    // Every context alive is a unit's that goes: the waiting lists go whole.
    ImodelContextImpl::EmptyWaitingListsIfOnly(ImodelContextImpl::ContextsOfUnits(), retired.waitingLists);
    LiveUnits() -= count;
    ImodelModule::GetTestedModule() = nullptr;
    ImodelModule::HierarchyChanged();
    retired.libraries = std::move(libraries);
    libraries.clear();
    return true;
}

bool imodelDeletingRetired() { return t_deletingRetired; }

imodelRetiredUnits::~imodelRetiredUnits()
{
    const bool outer = t_deletingRetired;
    t_deletingRetired = true;
    // A library's units leave it, then go.
    libraries.clear();
    units.clear();
    t_deletingRetired = outer;
}

void ImodelModule::AnnounceDestruction()
{
    if (!m_displayable) return;
    Imodel* model = ImodelAliveModel();
    // The unit is being destroyed: the event goes to the views at once, as
    // the delivery would find by looking into it. Sent at once it never
    // reaches the host, and its delivery only tells the views: when none
    // hears it (a shell without views closing a project of a hundred
    // thousand units), nobody could tell it apart from none.
    if (model != nullptr && IeventView::MayBeHeard<IeventModuleRemoved>())
        model->SendEvent(boost::make_shared<IeventModuleRemoved>(this), false);
    IprocessManager* processes = model ? model->GetProcessManager() : nullptr;
    IprocessDisplay* display = processes ? processes->GetProcessDisplay() : nullptr;
    if (display == nullptr || display->GetShownModule() != this) return;
    // The display must not keep showing a unit that is gone.
    const bool wasBlocked = Imodel::BlockProcessDisplay(false, true);
    processes->AttachModule(nullptr);
    display->SetRefreshPending(true);
    processes->RefreshProcessDisplay();
    Imodel::BlockProcessDisplay(wasBlocked, true);
}

ImodelModule::Owned ImodelModule::Clone(const ImodelModule* source)
{
    if (source == nullptr) return nullptr;
    auto clone =
        std::make_unique<ImodelModule>(source->GetName(), source->GetModuleFile(), source->m_kind, source->m_isPackage,
                                       source->m_key.library, source->m_key.package, false);
    clone->DuplicateModuleInfo(source, {true, true, false});
    return clone;
}

ImodelModule::Owned ImodelModule::Clone(const std::string& name, const std::string& fileName, zorpaModuleTypes kind,
                                        bool isPackage, const std::string& library, const std::string& package) const
{
    boost::shared_ptr<IfileObjectEx> file = GetModuleFile();
    if (!fileName.empty()) {
        Imodel* model = ImodelAliveModel();
        IfileManager* files = model ? model->GetFileManager() : nullptr;
        const IfileObject wanted(ImodelFileName(fileName), zorpaFT_UNKNOWN, ImodelFMFull, true, true);
        file = files ? files->GetFile(wanted) : boost::shared_ptr<IfileObjectEx>();
    }
    return std::make_unique<ImodelModule>(name, file, kind, isPackage, library, package, false);
}

ImodelModule::Owned ImodelModule::MakePlaceholder(const std::string& name, const std::string& library)
{
    // Made without a file rather than with one taken away at once: the
    // file's texts would be copied only to be freed. It is announced as a
    // unit whose file was taken away (SetNoFile) is.
    Owned made =
        std::make_unique<ImodelModule>(name, nullptr, zorpaMODULE_UNKNOWN, false, library, std::string(), false);
    made->NotifyChanged(true, false, false);
    return made;
}

void ImodelModule::Delete(Owned module, bool fromUseClause)
{
    if (fromUseClause) ImodelNotifyEvent(boost::make_shared<IeventModuleRemovedFromUseClause>(module.get()));
    module.reset();
}

void ImodelModule::DuplicateModuleInfo(const ImodelModule* source, const zorpaSaveRestoreParams& params)
{
    if (source == nullptr || source == this) return;
    DuplicateFrom(*source, params);
}

void ImodelModule::DuplicateModuleInfo(Restorable&& source, const zorpaSaveRestoreParams& params)
{
    DuplicateFrom(std::move(source), params);
}

template <class Source>
void ImodelModule::DuplicateFrom(Source&& source, const zorpaSaveRestoreParams& params)
{
    constexpr bool spent = !std::is_lvalue_reference_v<Source>;
    KeptDataMayChange();
    m_expand = source.m_expand;
    m_isRoot = source.m_isRoot;
    if (params.copyLists) {
        m_stimulusFiles = source.m_stimulusFiles;
        m_associatedFiles = source.m_associatedFiles;
        m_synthesisConstraintFiles = source.m_synthesisConstraintFiles;
        // The user's own lists come back with the unit, as its other
        // choices do: a refresh would otherwise drop them. A plain copy of
        // a unit holds none (it starts without): it clears nothing.
        if (!source.m_customizedLists.empty()) m_customizedLists = source.m_customizedLists;
    }
    if (params.mergeAssociated && m_associatedFiles.Get() != source.m_associatedFiles.Get() && GetModuleFile())
        MergeAssociatedFiles(source.m_associatedFiles.Get());
    m_simulationPackagesToIgnore = source.m_simulationPackagesToIgnore;
    m_synthesisPackagesToIgnore = source.m_synthesisPackagesToIgnore;
    m_simulationModulesToInclude = source.m_simulationModulesToInclude;
    m_cdbOrder = source.m_cdbOrder;
    if (source.m_context) {
        if (!m_context)
            m_context = std::make_unique<ImodelContextImpl>(*source.m_context, this, params.copyContext);
        else if constexpr (spent)
            m_context->TakeContextInfo(*source.m_context, params.copyContext);
        else
            m_context->DuplicateContextInfo(source.m_context.get(), params.copyContext);
    }
    if (params.copyLists) {
        m_phySynthOptions = source.m_phySynthOptions;
        m_vsimParams = source.m_vsimParams;
    }
    m_timeStamp = source.m_timeStamp;
    // A refresh gives every unit its data back: only those whose lists name
    // a file now, or did, are the index's concern.
    if (m_inFileIndex || NamesAnyFile()) ListsMayChange();
}

ImodelModule::Restorable ImodelModule::KeepRestorable(const ImodelModule& unit)
{
    return RestorableOf(unit, KeptContext(unit));
}

ImodelModule::Restorable ImodelModule::TakeRestorable(ImodelModule& unit)
{
    // Its own context serves where the copy would be alike: the unit is
    // deleted without a look at it.
    std::unique_ptr<ImodelContextImpl> context;
    if (unit.m_context && unit.m_context->CopiedWholeIsAlike(unit.GetName())) {
        context = std::move(unit.m_context);
        context->LeaveUnit();
    } else {
        context = KeptContext(unit);
    }
    return RestorableOf(std::move(unit), std::move(context));
}

std::unique_ptr<ImodelContextImpl> ImodelModule::KeptContext(const ImodelModule& unit)
{
    // What a clone of the unit would give: its context starts as a new
    // unit's does and takes the unit's.
    auto context = std::make_unique<ImodelContextImpl>(unit.GetName(), nullptr);
    if (unit.m_context) context->DuplicateContextInfo(unit.m_context.get(), true);
    return context;
}

template <class Unit>
ImodelModule::Restorable ImodelModule::RestorableOf(Unit&& unit, std::unique_ptr<ImodelContextImpl> context)
{
    // Made in one go, in place: a record made empty first would look up the
    // default options only to overwrite them. A unit that goes gives up
    // its lists.
    return Restorable{
        .m_expand = unit.m_expand,
        .m_isRoot = unit.m_isRoot,
        .m_stimulusFiles = std::forward<Unit>(unit).m_stimulusFiles,
        .m_associatedFiles = std::forward<Unit>(unit).m_associatedFiles,
        .m_synthesisConstraintFiles = std::forward<Unit>(unit).m_synthesisConstraintFiles,
        .m_simulationPackagesToIgnore = std::forward<Unit>(unit).m_simulationPackagesToIgnore,
        .m_synthesisPackagesToIgnore = std::forward<Unit>(unit).m_synthesisPackagesToIgnore,
        .m_cdbOrder = std::forward<Unit>(unit).m_cdbOrder,
        .m_customizedLists = std::forward<Unit>(unit).m_customizedLists,
        .m_simulationModulesToInclude = std::forward<Unit>(unit).m_simulationModulesToInclude,
        .m_context = std::move(context),
        .m_phySynthOptions = std::forward<Unit>(unit).m_phySynthOptions,
        .m_vsimParams = std::forward<Unit>(unit).m_vsimParams,
        .m_timeStamp = std::forward<Unit>(unit).m_timeStamp,
    };
}

void ImodelModule::MergeAssociatedFiles(const FileList& files)
{
    Imodel* model = ImodelAliveModel();
    IfileManager* project = model ? model->GetFileManager() : nullptr;
    if (project == nullptr) return;
    for (const IfileObject& file : files) {
        const FileList& own = m_associatedFiles.Get();
        if (std::find(own.begin(), own.end(), file) == own.end() && project->GetFile(file))
            m_associatedFiles.Use().push_back(file);
    }
}

// --- key, identity and order ---------------------------------------------------------------

bool ImodelModule::SetDefinedInLibrary(const std::string& library)
{
    if (!IfileCheckStorableName(library, "library")) return false;
    m_key.library = library;
    NotifyChanged(true, false, false);
    return true;
}

bool ImodelModule::SetDefinedInPackage(const std::string& package)
{
    if (!IfileCheckStorableName(package, "package")) return false;
    m_key.package = package;
    return true;
}

void ImodelModule::SetType(zorpaModuleTypes kind)
{
    m_kind = kind;
    NotifyChanged(true, false, false);
}

bool ImodelModule::IsModuleKeySensitive() const
{
    if (ImodelIsMixedHDLEnabled()) {
        zorpaModuleIsKeySensitiveVisitor visitor;
        visitor.Visit(m_kind);
        return visitor.IsKeySensitive();
    }
    const ImodelDesignManager* design = ImodelAliveDesignManager();
    return design == nullptr || !design->IsDefaultVHDL();
}

bool ImodelModule::IsSameModule(const std::string& name) const
{
    return IsModuleKeySensitive() ? name == m_key.name : ImodelIsSameStrNoCase(name, m_key.name);
}

bool ImodelModule::IsSameModule(const VyIfaces::ComponentID& key) const
{
    return IsSameModule(key.name) && ImodelIsSameStrNoCase(key.library, m_key.library);
}

bool ImodelModule::operator==(const ImodelModule& other) const
{
    if (this == &other) return true;
    if (!IsSameModule(other.m_key)) return false;
    const boost::shared_ptr<IfileObjectEx> file = GetModuleFile();
    const boost::shared_ptr<IfileObjectEx> otherFile = other.GetModuleFile();
    return !file || !otherFile || *file == *otherFile;
}

std::string ImodelModule::GetNiceComponentName(const std::string& separator) const
{
    if (m_key.name.empty() || m_key.library.empty() || m_key.library == "work") return m_key.name;
    return m_key.name + separator + m_key.library;
}

// --- flags and simple values ---------------------------------------------------------------

bool ImodelModule::SetVSimParams(const std::string& params)
{
    // A line break would split the project file's line; quotes are fine here.
    if (params.find_first_of("\r\n") != std::string::npos) {
        IfileCheckStorableName(params, "simulator parameters");
        return false;
    }
    KeptDataMayChange();
    m_vsimParams.Set(params, params.empty());
    return true;
}

bool ImodelModule::IsPhySynthCustomized() const { return m_phySynthOptions.Get().IsCustomized(); }

const std::deque<std::string>& ImodelModule::GetPossibleLibraries() const
{
    static const LibraryNames none;
    return m_possibleLibraries ? *m_possibleLibraries : none;
}

void ImodelModule::SetPossibleLibraries(const std::deque<std::string>& libraries)
{
    m_possibleLibraries = libraries.empty() ? nullptr : SharedLibraryNames(libraries);
}

// --- defining file and time stamp -------------------------------------------------------------

ImodelFileName ImodelModule::GetModuleFullFileName() const
{
    const boost::shared_ptr<IfileObjectEx> file = GetModuleFile();
    return file ? file->GetFullFileName() : ImodelFileName();
}

std::uint64_t imodelLastUnitSerial() { return LastSerial(); }

std::size_t imodelLiveUnitCount() { return LiveUnits(); }

void ImodelModule::SetUnitSet(UnitSet* set)
{
    // Entering a library or leaving it: a change under way keeps note. A
    // retired unit leaves a library nobody else can reach, on any thread.
    if (!t_deletingRetired) {
        if (set != nullptr)
            imodelUnitJournal::Touch(*this, set);
        else
            imodelUnitJournal::Leave(*this, m_unitSet);
    }
    m_unitSet = set;
}

void ImodelModule::KeepDataOfChange() const { imodelUnitJournal::Changing(*this, m_unitSet); }

void ImodelModule::SetIsRoot(bool isRoot)
{
    if (isRoot == m_isRoot) return;
    imodelUnitJournal::Touch(*this, m_unitSet);
    m_isRoot = isRoot;
}

void ImodelModule::ChangeFile(const boost::shared_ptr<IfileObjectEx>& file)
{
    imodelUnitJournal::Touch(*this, m_unitSet);
    HierarchyChanged();
    const auto assign = [this, &file] {
        m_file = file;
        m_order.hasFile = file != nullptr;
        if (!file) {
            m_order.file.clear();
            m_fileIndexKey.clear();
            m_fileIndexKeyIsFile = false;
            return;
        }
        // A unit given a file of the name it holds already keeps its texts
        // (a scan points a unit it declares at the file when it makes the
        // unit and again once the unit stands in its library): the key
        // follows from the name alone.
        const std::string& name = file->GetInternalFileName().GetString();
        if (m_order.file == name && (m_fileIndexKeyIsFile || !m_fileIndexKey.empty())) return;
        m_order.file = name;
        m_fileIndexKey = ImodelFileNameKey(m_order.file, std::string());
        m_fileIndexKeyIsFile = m_fileIndexKey == m_order.file;
        if (m_fileIndexKeyIsFile) std::string().swap(m_fileIndexKey);
    };
    // The unit keeps its name: only its file's place in the order changes.
    if (m_unitSet != nullptr)
        m_unitSet->RekeyFile(this, assign);
    else
        assign();
    if (file && m_context) m_context->FileGiven();
}

void ImodelModule::SetNoFile()
{
    ChangeFile(nullptr);
    m_kind = zorpaMODULE_UNKNOWN;
    NotifyChanged(true, false, false);
}

void ImodelModule::SaveTimeStamp()
{
    imodelUnitJournal::Touch(*this, m_unitSet);
    const boost::shared_ptr<IfileObjectEx> file = GetModuleFile();
    const SysStatInfo* stamp = file ? file->GetStatInfo() : nullptr;
    if (stamp != nullptr)
        m_timeStamp.Use() = *stamp;
    else
        m_timeStamp.Reset();
}

bool ImodelModule::IsSameFileStamps(const IfileObjectEx& file) const
{
    const SysStatInfo* stamp = file.GetStatInfo();
    const std::optional<SysStatInfo>& kept = m_timeStamp.Get();
    return stamp != nullptr && kept && stamp->time == kept->time && stamp->size == kept->size;
}

bool ImodelModule::IsModuleManagedByComponentCollection() const
{
    const boost::shared_ptr<IfileObjectEx> file = GetModuleFile();
    return file && file->HasParentFileOfType(zorpaFT_OMBRIX_CXF, false);
}

// --- hierarchy questions ------------------------------------------------------------------

namespace {

// A unit whose file has a type (not a schematic) and says it is not structural.
bool HasNonStructuralFile(const ImodelModule& module)
{
    const boost::shared_ptr<IfileObjectEx> file = module.GetModuleFile();
    return file && file->GetFileSpecificType() != zorpaFT_SCH && !file->IsFileStructural();
}

}  // namespace

// Works out IsStructural for every unit reachable from a unit whose answer
// is not known at the current version of the hierarchy, each unit once:
// the units of a cycle (a strongly connected part, found as Tarjan finds
// them) share their answer, which is false when one of them, or a unit
// below them, has a file that says it is not structural. Its own stack
// keeps a deep hierarchy off the call stack.
class imodelStructuralWalk {
public:
    explicit imodelStructuralWalk(std::uint64_t version) : m_version(version) {}

    void Run(const ImodelModule* start)
    {
        Enter(start);
        while (!m_frames.empty()) {
            Frame& frame = m_frames.back();
            const ImodelLinkList* subs = frame.unit->GetSubBlocks();
            if (subs != nullptr && frame.at != subs->end()) {
                const ImodelModule* sub = *frame.at++;
                if (Known(*sub)) {
                    m_state[frame.unit].nonStructural |= !sub->m_structural;
                } else if (const auto found = m_state.find(sub); found == m_state.end()) {
                    Enter(sub);
                } else if (found->second.onStack) {
                    State& own = m_state[frame.unit];
                    own.low = std::min(own.low, found->second.index);
                }
                continue;
            }
            const ImodelModule* unit = frame.unit;
            m_frames.pop_back();
            State& state = m_state[unit];
            if (state.low == state.index) Settle(unit);
            if (!m_frames.empty()) {
                State& parent = m_state[m_frames.back().unit];
                const State& child = m_state[unit];
                parent.low = std::min(parent.low, child.low);
                parent.nonStructural |= child.nonStructural;
            }
        }
    }

private:
    struct State {
        std::size_t index = 0;
        std::size_t low = 0;
        bool onStack = true;
        bool nonStructural = false;
    };
    struct Frame {
        const ImodelModule* unit;
        ImodelLinkList::const_iterator at;
    };

    bool Known(const ImodelModule& unit) const { return unit.m_structuralVersion == m_version; }

    void Enter(const ImodelModule* unit)
    {
        const std::size_t index = m_state.size();
        m_state[unit] = State{index, index, true, HasNonStructuralFile(*unit)};
        m_stack.push_back(unit);
        const ImodelLinkList* subs = unit->GetSubBlocks();
        m_frames.push_back({unit, subs ? subs->begin() : ImodelLinkList::const_iterator()});
    }

    // `root` closes a cycle (or stands alone): its units get their answer.
    void Settle(const ImodelModule* root)
    {
        const auto first = std::find(m_stack.rbegin(), m_stack.rend(), root).base() - 1;
        bool nonStructural = false;
        for (auto member = first; member != m_stack.end(); ++member) nonStructural |= m_state[*member].nonStructural;
        for (auto member = first; member != m_stack.end(); ++member) {
            State& state = m_state[*member];
            state.onStack = false;
            state.nonStructural = nonStructural;
            (*member)->m_structural = !nonStructural;
            (*member)->m_structuralVersion = m_version;
        }
        m_stack.erase(first, m_stack.end());
    }

    std::uint64_t m_version;
    std::unordered_map<const ImodelModule*, State> m_state;
    std::vector<const ImodelModule*> m_stack;
    std::vector<Frame> m_frames;
};

bool ImodelModule::IsStructural() const
{
    if (m_structuralVersion != s_hierarchyVersion) imodelStructuralWalk(s_hierarchyVersion).Run(this);
    return m_structural;
}

bool ImodelModule::HasSubBlocks() const
{
    zorpaModuleIsHDL visitor;
    visitor.Visit(m_kind);
    return visitor.IsHDL() || ImodelHasSubHdlBlocks(GetSubBlocks());
}

// --- class-wide state ----------------------------------------------------------------------

ImodelModule*& ImodelModule::GetTestedModule()
{
    static ImodelModule* tested = nullptr;
    return tested;
}

ImodelModule::FileList*& ImodelModule::GetNotifiedFileChangeList()
{
    static FileList* list = nullptr;
    return list;
}

bool& ImodelModule::IsRemovingTempModule()
{
    static bool removing = false;
    return removing;
}

std::vector<ImodelModule*>& ImodelModule::CannotBeSetAsRootList()
{
    static std::vector<ImodelModule*> list;
    return list;
}
