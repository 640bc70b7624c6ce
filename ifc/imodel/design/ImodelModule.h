// ImodelModule: one design unit of the project (an HDL entity or module, a
// package, a schematic, a netlist, a core or a block-design component),
// found by parsing a design file. Units live in the design's libraries
// (ZorpaLibrary<ImodelModule*>, owned by the design manager) and are linked
// to each other as sub-blocks and parents.
//
// A unit carries the per-unit data of the project: its revision contexts and
// physical-synthesis options (owned), its stimulus, constraint, package and
// CDB file lists, its customized file lists per tool kind and its place in
// the design flow. It never owns its defining file: when the file manager
// drops the file, GetModuleFile answers empty.
//
// Links: B is in A's sub-block list exactly when A is in B's parent list.
// A unit stands at most once in a parent list; a sub-block list may hold a
// unit several times. Every operation that links or unlinks keeps this, and
// a unit that is destroyed unlinks itself from both sides first, so no list
// ever points at a destroyed unit. User designs may instantiate themselves:
// every walk over the links keeps a visited set.
//
// A unit stands in at most one library, which owns it (ZorpaUnitSet). Its
// place there (GetUnitOrder) is its lower-cased name, then no defining file
// before a defining file, then the file's name; when the unit's file is set
// or cleared, the library moves it to its new place. The order is taken from
// the file when it is set, so a file the file manager drops later does not
// move the unit.
#pragma once

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelLinkList.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelLazy.h"
#include "imodel/names/ImodelLazyList.h"
#include "imodel/names/ImodelToolKinds.h"
#include "imodel/names/ImodelVisitAhead.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"

#include <foundation/Sys.h>
#include <vy/ComponentID.h>
#include <vy/IComponent.h>
#include <zorpa/ZorpaLibrary.h>
#include <zorpa/ZorpaModule.h>

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

class Iconvert;
class ImodelContextImpl;
class IprocessFlowObject;
template <class T>
class ImodelObjectValidityChecker;

// The unit's links, first in the unit. A scan of a large design links
// each instance to a unit met anywhere in it, cold: the name lookup and the
// link read the name (ImodelModuleData's first values), the package flag
// and the parent list's ends, so these share the unit's first two cache
// lines, and the parent list lies in the unit rather than in a block of its
// own. A copy starts without links.
struct ImodelUnitLinks {
    // None until the first parent is linked, and none again once the unit
    // is unlinked (GetParentsList answers null then).
    std::optional<ImodelLinkList> m_parents;
    std::unique_ptr<ImodelLinkList> m_subBlocks;
};

// The synthesis constraint lists that exist, of units and of the records
// a restore gives back: a file that leaves the project is looked for in
// them, not in every unit (most units have none).
struct ImodelSynthesisListWatch {
    static void Made(const std::deque<IfileObject>& list);
    static void Gone(const std::deque<IfileObject>& list);
    // Whether one of them names the file.
    static bool AnyNames(const IfileObject& file);
};
using ImodelSynthesisConstraintList = ImodelLazyList<std::deque<IfileObject>, ImodelSynthesisListWatch>;

// The associated-file lists and CDB orders that exist, of units, of the
// records a restore gives back and of the removed-unit list: the files
// that leave the project are taken out of them in one pass over the lists,
// not looked for unit by unit (most units have none).
struct ImodelAssociationListWatch {
    static void Made(const std::deque<IfileObject>& list);
    static void Gone(const std::deque<IfileObject>& list);
    // Takes every entry naming one of `files` (the file-name key) out of
    // every such list, the others kept in their order; the number taken out.
    static std::size_t Forget(const std::vector<IfileObject>& files);
};
using ImodelAssociationList = ImodelLazyList<std::deque<IfileObject>, ImodelAssociationListWatch>;

// The customized source lists that exist (each unit's lists per tool kind),
// of units, of the records a restore gives back and of the removed-unit
// list: the files that leave the project are taken out of them in one pass,
// as for the associated files. Defined below ImodelModule, whose lists they
// are.
struct ImodelCustomizedListWatch;

// The values of a unit that a copy takes over as they are (ImodelModule's
// copy constructor); the unit's links, contexts, display flag and
// customized lists are not among them.
struct ImodelModuleData {
    ImodelModuleData(const VyIfaces::ComponentID& key, zorpaModuleTypes kind, bool isPackage, bool isSpirit);

    // Read with the name by every instance (see ImodelUnitLinks).
    bool m_isPackage;
    bool m_isSpirit;
    VyIfaces::ComponentID m_key;
    boost::weak_ptr<IfileObjectEx> m_file;
    // The unit's place in its library and the key of its file in the
    // library's file index; both follow the key and the file as set.
    ZorpaUnitOrder m_order;
    // Empty when the key is the file's name as stored (nearly always): the
    // unit then keeps that text once.
    std::string m_fileIndexKey;
    bool m_fileIndexKeyIsFile = false;
    bool m_isRoot = false;
    zorpaModuleTypes m_kind;
    int m_expand = -1;
    // The values below that few units have take a pointer each until set.
    ImodelLazy<std::string> m_vsimParams;
    ImodelLazy<std::optional<SysStatInfo>> m_timeStamp;
    ImodelLazyList<std::deque<IfileObject>> m_stimulusFiles;
    ImodelAssociationList m_associatedFiles;
    ImodelSynthesisConstraintList m_synthesisConstraintFiles;
    ImodelLazyList<std::deque<IfileObject>> m_simulationPackagesToIgnore;
    ImodelLazyList<std::deque<IfileObject>> m_synthesisPackagesToIgnore;
    ImodelAssociationList m_cdbOrder;
    ImodelLazyList<std::vector<VyIfaces::ComponentID>> m_simulationModulesToInclude;
    ImodelLazy<std::string> m_flowName;
    // Shared by the units that name the same libraries (most units of a design).
    std::shared_ptr<const std::deque<std::string>> m_possibleLibraries;
    ImodelUnitPhySynthesisOptions m_phySynthOptions;
    IprocessFlowObject* m_messageObject = nullptr;
    // A cache of the lookup through the block-design tool.
    mutable VyIfaces::IComponent* m_component = nullptr;
};

// Aligned to a cache line, so that what an instance touches (see
// ImodelUnitLinks) takes two lines.
class alignas(64) ImodelModule : private ImodelUnitLinks, private ImodelModuleData {
public:
    using ModuleList = std::deque<ImodelModule*>;
    // Units looked at together, not owned (GetAllRelatedModules).
    using ModuleSet = ZorpaSet<ImodelModule*>::Set;
    // The units of a library, owned.
    using UnitSet = ZorpaUnitSet<ImodelModule*>;
    using Owned = std::unique_ptr<ImodelModule>;
    using OwnedList = std::deque<Owned>;
    using FileList = std::deque<IfileObject>;
    using FileEntries = std::vector<boost::shared_ptr<IfileObjectEx>>;
    // Project files by object.
    using FileObjects = std::unordered_set<const IfileObjectEx*>;
    using LineIterator = std::vector<std::string>::const_iterator;

    // The user's explicit, ordered list of files for one tool kind; it
    // replaces the files worked out from the hierarchy while in use.
    class typeUserFileList {
    public:
        explicit typeUserFileList(ImodelFunctionType kind) : m_kind(kind) {}
        typeUserFileList(bool use, ImodelFunctionType kind, const FileEntries& files);

        bool IsUsed() const { return m_use; }
        void SetUse(bool use) { m_use = use; }
        ImodelFunctionType GetToolKind() const { return m_kind; }
        // The files as (value, weak entry) pairs, resolved again on demand.
        IfileObjectEx::ParentFiles& GetFiles() { return m_files; }
        const IfileObjectEx::ParentFiles& GetFiles() const { return m_files; }

        // Same use flag, tool kind and file values in the same order.
        bool operator==(const typeUserFileList& other) const;

        // The list's block of the project file: "LIST" and the quoted tool
        // keyword, "USE_LIST=TRUE|FALSE", the "FILELIST" block, "ENDLIST".
        // False, with nothing written, for a null stream.
        bool WriteToFile(std::ostream* stream) const;

    private:
        bool m_use = false;
        ImodelFunctionType m_kind;
        IfileObjectEx::ParentFiles m_files;
    };

    // --- construction ---------------------------------------------------------------

    // Library "work" and package "" when given empty. The unit is known to
    // the change events from here on.
    ImodelModule(const std::string& name, boost::shared_ptr<IfileObjectEx> file, zorpaModuleTypes kind, bool isPackage,
                 const std::string& library, const std::string& package, bool isSpirit);
    // Copies the key, file, flags, stamps, options, contexts and file lists.
    // The copy shares the source's sub-blocks (each lists the copy as a
    // further parent) and starts with no parents, not displayable and
    // without customized lists.
    explicit ImodelModule(const ImodelModule& other);
    ImodelModule& operator=(const ImodelModule&) = delete;
    // Unlinks the unit from its sub-blocks and parents (without events);
    // a unit that views have seen is announced as removed.
    virtual ~ImodelModule();
    // Lie side by side with the others of their kind, in chunks a walk over
    // every one runs through quickly (ImodelBlockPool).
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;

    // A new unit with the key, file, kind and package flag of `source` that
    // takes the source's data; empty for a null source.
    static Owned Clone(const ImodelModule* source);
    // A new unit with these values; its file is the project's file of that
    // name when a name is given, else this unit's file.
    Owned Clone(const std::string& name, const std::string& fileName, zorpaModuleTypes kind, bool isPackage,
                const std::string& library, const std::string& package) const;
    // A unit of that name in that library, of unknown kind and without a
    // file: what a parse makes for a unit it names before a file defines it.
    static Owned MakePlaceholder(const std::string& name, const std::string& library);
    // Deletes the unit (nothing for an empty one); with `fromUseClause`,
    // first announces that a use clause no longer names it.
    static void Delete(Owned module, bool fromUseClause);

    // Takes the user's data of `source` (expansion, root flag, package and
    // CDB lists, contexts, stamp; with `copyLists` also the stimulus,
    // associated and constraint lists, the options and the simulator
    // parameters). Key, file, kind, flags, links and customized lists stay.
    void DuplicateModuleInfo(const ImodelModule* source, const zorpaSaveRestoreParams& params);
    // What DuplicateModuleInfo takes from a unit, kept without the unit (a
    // clone is a whole unit made, registered and destroyed): a change that
    // empties the libraries keeps it for every unit.
    struct Restorable;
    static Restorable KeepRestorable(const ImodelModule& unit);
    // The same from a unit that is deleted afterwards without a look at it:
    // what it holds moves into the record.
    static Restorable TakeRestorable(ImodelModule& unit);
    // The record is spent: what it holds may move over.
    void DuplicateModuleInfo(Restorable&& source, const zorpaSaveRestoreParams& params);
    // Told before what DuplicateModuleInfo takes from the unit changes, by
    // whatever means (its views' states and choices included): a change of
    // the design's units under way (Imodel::SaveLibraries) keeps it as it
    // was, for the restore. A comparison when none is under way, or for a
    // unit made since it began.
    void KeptDataMayChange() const
    {
        if (m_serial <= s_keptUpTo) KeepDataOfChange();
    }

    // --- data kept for units that come back ------------------------------------------
    // A unit removed while its file may return leaves a clone of itself in
    // the removed-unit list, one per key (name, library and package, letter
    // case ignored). A unit made again later for that key from the same file
    // takes the clone's data back.

    using RemovedList = OwnedList;
    // The clones, in no particular order; changed through the operations below.
    static const RemovedList& GetRemovedModuleList();
    // The entry of the unit's key; null for a null unit or none.
    static const ImodelModule* FindDeletedModuleInfo(const ImodelModule* module);
    // Keeps the unit's data and its file's stamp, in place of an earlier
    // entry of its key. Nothing for null.
    static void SaveDeletedModuleInfo(ImodelModule* module);
    // Gives the unit the data of the entry of its key, which is used up,
    // when the unit is defined by `file`; the user hears whether the file
    // came back unchanged (states restored) or changed (then the design flow
    // hears of the change too). Otherwise nothing changes.
    static void RestoreDeletedModuleInfo(ImodelModule* module, boost::shared_ptr<IfileObjectEx> file);
    // Gives the unit the lists and views' states of the entry of its key,
    // which is used up, whatever file defines the unit now (a core's
    // description in the place of its source that went); false when there
    // is no entry. The caller has the flow work out the states that hang on
    // those lists.
    static bool TakeDeletedModuleInfo(ImodelModule* module);
    // The same for every entry of `file` (that object) whose unit the
    // design holds again from that file: a linked file that came back.
    static void RestoreDeletedModuleInfoOfFile(const boost::shared_ptr<IfileObjectEx>& file);
    // Forgets the entries of the units defined by `file` (that object).
    static void RemoveDeletedModuleInfo(boost::shared_ptr<IfileObjectEx> file);
    // Forgets every entry.
    static void ClearRemovedModuleList();

    // --- key, identity and order -------------------------------------------------

    const std::string& GetName() const { return m_key.name; }
    const VyIfaces::ComponentID& GetComponentID() const { return m_key; }
    std::string GetDefinedInLibrary() const { return m_key.library; }
    std::string GetDefinedInPackage() const { return m_key.package; }
    // A name that cannot be stored in the project file is refused with a
    // message and changes nothing; false then.
    bool SetDefinedInLibrary(const std::string& library);
    bool SetDefinedInPackage(const std::string& package);
    zorpaModuleTypes GetModuleType() const { return m_kind; }
    bool IsType(zorpaModuleTypes kind) const { return m_kind == kind; }
    // Signals the change.
    void SetType(zorpaModuleTypes kind);

    // Whether names of this unit compare with case: in a Verilog project
    // yes, in a VHDL project no; with mixed HDL enabled, only for Verilog
    // units.
    bool IsModuleKeySensitive() const;
    bool IsSameModule(const std::string& name) const;
    // The name as above and the library ignoring case; the package is not
    // compared.
    bool IsSameModule(const VyIfaces::ComponentID& key) const;
    // Same name and library (as IsSameModule) and, when both still have a
    // file, the same file.
    bool operator==(const ImodelModule& other) const;
    bool operator!=(const ImodelModule& other) const { return !(*this == other); }
    // By GetUnitOrder: lower-cased names; of one name, a unit without file
    // before a unit with one, then the files' names. A strict weak order.
    bool operator<(const ImodelModule& other) const { return m_order < other.m_order; }
    // The unit's place among the units of a library.
    const ZorpaUnitOrder& GetUnitOrder() const { return m_order; }
    // Unique among the units ever built, from 1: tells apart units of one
    // place in a library, and the change events know the unit by it.
    std::uint64_t GetUnitSerial() const { return m_serial; }
    // The key of the defining file in the library's file index (the file
    // name as stored, with the file-name rules' separators and case); empty
    // without a file.
    const std::string& GetFileIndexKey() const { return m_fileIndexKeyIsFile ? m_order.file : m_fileIndexKey; }
    // The name; with the library after `separator` when it is not "work".
    std::string GetNiceComponentName(const std::string& separator) const;

    // --- flags and simple values ----------------------------------------------------

    bool IsPackage() const { return m_isPackage; }
    void SetIsPackage(bool isPackage) { m_isPackage = isPackage; }
    bool IsSpiritModule() const { return m_isSpirit; }
    void SetIsSpiritModule(bool isSpirit) { m_isSpirit = isSpirit; }
    bool IsSchematic() const { return m_kind == zorpaMODULE_SCHEMATIC; }
    bool IsUnknown() const { return m_kind == zorpaMODULE_UNKNOWN; }
    bool IsRoot() const { return m_isRoot; }
    void SetIsRoot(bool isRoot);
    int GetExpand() const { return m_expand; }
    void SetExpand(int expand)
    {
        if (expand == m_expand) return;
        KeptDataMayChange();
        m_expand = expand;
    }
    // Once a view has been shown the unit, its removal is announced.
    bool CanBeDisplayedInAView() const { return m_displayable; }
    void SetCanBeDisplayedInAView(bool displayable) { m_displayable = displayable; }
    const std::string& GetVSimParams() const { return m_vsimParams.Get(); }
    // Refused with a message (false) when it holds a line break.
    bool SetVSimParams(const std::string& params);
    std::string GetFlowName() const { return m_flowName.Get(); }
    void SetFlowName(const std::string& name) { m_flowName.Set(name, name.empty()); }
    const std::deque<std::string>& GetPossibleLibraries() const;
    void SetPossibleLibraries(const std::deque<std::string>& libraries);
    // The list to change; read through the const one, which makes none.
    std::vector<VyIfaces::ComponentID>* GetSimulationModuleToIncludeList()
    {
        KeptDataMayChange();
        return &m_simulationModulesToInclude.Use();
    }
    const std::vector<VyIfaces::ComponentID>* GetSimulationModuleToIncludeList() const
    {
        return &m_simulationModulesToInclude.Get();
    }

    // The flow object attached to the unit, not owned.
    IprocessFlowObject* GetMessageObject() const { return m_messageObject; }
    void SetMessageObject(IprocessFlowObject* object) { m_messageObject = object; }
    void UnSetMessageObject() { m_messageObject = nullptr; }

    // Owned; the context is null only for a copy of a unit that had none.
    ImodelContextImpl* GetContext() const { return m_context.get(); }
    // Prefetch the unit's memory ahead of a walk over many units: its first
    // lines up to its name (what a lookup of the name and a link read), or
    // the line that holds its context's pointer.
    void PrefetchName() const
    {
        const auto end = reinterpret_cast<std::uintptr_t>(&m_key.name + 1);
        ImodelPrefetch(this, end - reinterpret_cast<std::uintptr_t>(this));
    }
    void PrefetchContext() const { ImodelPrefetch(&m_context, sizeof m_context); }
    // The options to change; read through the const one, which makes none.
    ImodelPhySynthesisOptions* GetPhySynthOptions()
    {
        ListsMayChange();
        return &m_phySynthOptions.Use();
    }
    const ImodelPhySynthesisOptions* GetPhySynthOptions() const { return &m_phySynthOptions.Get(); }
    // Gives the options' memory back when a change left them the defaults.
    void SettlePhySynthOptions() { m_phySynthOptions.Settle(); }
    bool IsPhySynthCustomized() const;

    // Units that may die while referenced get no ids: there is no checker.
    // Whether a unit an event names still lives is the change events' own
    // registry's to tell (IeventModuleRegistry, by the unit's serial).
    static ImodelObjectValidityChecker<ImodelModule>* GetValidityChecker() { return nullptr; }

    // --- defining file and time stamp ----------------------------------------------

    // Empty when the unit has no file or the file is gone.
    boost::shared_ptr<IfileObjectEx> GetModuleFile() const { return m_file.lock(); }
    ImodelFileName GetModuleFullFileName() const;
    std::string GetFileName() const { return GetModuleFullFileName().GetString(); }
    // Drops the file, makes the unit of unknown kind and signals the change.
    // Like SetModuleFileName, it moves the unit in its library: an iterator
    // of the library at the unit is no longer valid.
    void SetNoFile();
    // Points the unit at the project's file of that full name (the file of
    // `other` when it has that name; none for an empty name), without a
    // signal. With `restore`, a unit now defined by a linked file takes the
    // data kept for its key (RestoreDeletedModuleInfo). False when `other`
    // is given and the unit already had a file of that name, unless both
    // files are schematics of the same extension.
    bool SetModuleFileName(const std::string& fileName, ImodelModule* other, bool restore);
    // Keeps a copy of the file's disk stamp (none without file or stamp).
    void SaveTimeStamp();
    // Whether the file's stamp has the time and size kept by SaveTimeStamp;
    // false when either stamp is missing.
    bool IsSameFileStamps(const IfileObjectEx& file) const;
    // The file lies below a core-generator core file (type 33).
    bool IsModuleManagedByComponentCollection() const;

    // --- hierarchy ------------------------------------------------------------------

    // Null until the first sub-block (parent) is linked. Change them through
    // the operations below only.
    const ImodelLinkList* GetSubBlocks() const { return m_subBlocks.get(); }
    const ImodelLinkList* GetParentsList() const { return m_parents ? &*m_parents : nullptr; }
    // The unit and every unit below it is structural (its file, when it has
    // a typed one, says so). Worked out once for the units below it until
    // the hierarchy changes.
    bool IsStructural() const;
    // A link, a unit's file or a file's structural flag changed: answers
    // worked out from the hierarchy below a unit are worked out again.
    static void HierarchyChanged() { ++s_hierarchyVersion; }
    // A file of a place-and-route view derives from the unit (of the current
    // view only, unless `allRevisions`); false without a context or flow.
    bool HasRevDependentData(bool allRevisions);
    // An HDL unit, or a unit with an HDL unit somewhere below it.
    bool HasSubBlocks() const;

    // Nothing for null; signals the change when the parent is new.
    void AddParent(ImodelModule* parent);
    // Links `sub` below this unit: a package goes to the front, anything
    // else to the back (a unit may be added several times).
    void AddSubBlock(ImodelModule* sub, bool notify);
    // Removes the first occurrence of `sub`; with `updateParent`, this unit
    // leaves `sub`'s parents once no occurrence of `sub` remains.
    void RemoveSubBlock(ImodelModule* sub, bool updateParent);
    // Unlinks the unit from every sub-block and parent (each signals its
    // change) and drops both lists.
    void DestroySubBlockList(bool notify);
    // Units about to be deleted together (no signal): their lists are
    // dropped, and only a unit outside them is taken out of their lists
    // rather than every unit out of every list one by one.
    static void UnlinkTogether(const std::vector<Owned>& units);
    // Takes every occurrence of `sub` out of the sub-blocks and this unit
    // out of `sub`'s parents, signalling neither; the number of occurrences.
    int DetachSubBlock(ImodelModule* sub);
    // Puts `replacement` in the place of every occurrence of `sub`, in the
    // same order among the other sub-blocks; `sub` leaves the parents of
    // its own and this unit joins `replacement`'s. The number of
    // occurrences.
    int ReplaceSubBlock(ImodelModule* sub, ImodelModule* replacement);
    // The unit's sub-blocks become the units of `list` (none for null),
    // nulls left out.
    void SetSubBlocks(std::unique_ptr<ModuleList> list);
    // The unit's sub-blocks become the units of `list`, shared; nothing for null.
    void DuplicateList(ImodelUnitListRef list);
    // Adds the unit and, `down` levels down and `up` levels up (-1: all,
    // 0: none), every unit linked to it that the set does not hold yet.
    void GetAllRelatedModules(ModuleSet& set, int down, int up);
    // Whether a unit above this one, defined by a file outside both lists,
    // still needs it: parents defined by a removed file are looked through.
    bool HasParentNotInListRec(const FileEntries& keptFiles, const FileEntries& removedFiles) const;
    bool HasParentNotInListRec(const FileObjects& keptFiles, const FileObjects& removedFiles) const;

    // Appends the files of the hierarchy below the unit that declare
    // packages, in hierarchy order, and drops every file of `files` that
    // declares none.
    void GetAllPackagesUsed(FileEntries& files);

    // One IeventModuleModified with the unit, its parents and its
    // sub-blocks as asked, those not displayable left out.
    void NotifyChanged(bool self, bool parents, bool subBlocks);

    // --- file lists --------------------------------------------------------------------

    const FileList& GetStimulusList() const { return m_stimulusFiles.Get(); }
    FileList* GetStimulusListPtr()
    {
        ListsMayChange();
        return &m_stimulusFiles.Use();
    }
    const FileList& GetAssociatedFileListConst() const { return m_associatedFiles.Get(); }
    FileList& GetAssociatedFileList()
    {
        KeptDataMayChange();
        return m_associatedFiles.Use();
    }
    const FileList& GetSynthesisConstraintFileList() const { return m_synthesisConstraintFiles.Get(); }
    const FileList& GetCDBOrder() const { return m_cdbOrder.Get(); }
    // Both add the file unless an equal one is there.
    void AddAssociatedFile(const IfileObjectEx& file);
    void AddSynthesisConstraintFile(const IfileObject& file);
    // Drops every entry the file manager does not hold.
    static void UpdateList(FileList* list);
    // Whether the unit lists a package to leave out for the tool kind
    // (simulation or synthesis), or for either (the lists as they stand, not
    // brought up to date).
    bool HasPackagesToIgnore(ImodelFunctionType kind) const
    {
        return !(kind == ideSYNTHESIS ? m_synthesisPackagesToIgnore : m_simulationPackagesToIgnore).empty();
    }
    bool HasPackagesToIgnore() const { return HasPackagesToIgnore(ideSIMULATION) || HasPackagesToIgnore(ideSYNTHESIS); }
    // Brought up to date with UpdateList first.
    FileList* GetSimulationPackageToIgnoreList();
    FileList* GetSynthesisPackageToIgnoreList();
    // Whether a package file goes to the tool kind (simulation or synthesis).
    bool IsPackageUsed(ImodelFunctionType kind, const IfileObject& package);
    // Each setter that changes a list marks the project as needing a save
    // and tells the design flow.
    void SetSynthesisConstraintFileList(const FileList& files);
    void SetCDBOrder(const FileList& order, bool notify);
    bool SetNewStimulusList(const FileList& files, void* unused);
    // Sorts the files by the CDB order; files outside it go last.
    void UpdateCDBListWithExpectedOrder(FileList& files) const;
    // Every entry equal to `oldFile` in the package, CDB, stimulus,
    // constraint and customized lists names `newFile` instead (nothing for
    // an empty `newFile`). Always true.
    bool updateModel(const IfileObjectEx& oldFile, boost::shared_ptr<IfileObjectEx> newFile, bool unused);
    // Calls `visit` with every entry of the lists updateModel brings in line
    // (the physical-synthesis constraints among them).
    template <class Visit>
    void ForEachFileUpdateModelSees(Visit&& visit) const;

    // --- customized file lists --------------------------------------------------------
    // At most one list per tool kind is looked at: the first of that kind.

    bool UseCustomizedFileList(ImodelFunctionType kind) const;
    // Returns the old flag; false, creating nothing, without a list.
    bool SetUseCustomizedFileList(ImodelFunctionType kind, bool use);
    // The list's files resolved through the file manager; false without a list.
    bool GetCustomizedFileList(ImodelFunctionType kind, FileEntries& files);
    void SetCustomizedFileList(bool use, ImodelFunctionType kind, const FileEntries& files);
    void RemoveCustomizedFileList(ImodelFunctionType kind);
    const std::vector<typeUserFileList>& GetCustomizedFileLists() const { return m_customizedLists.Get(); }
    // The lists of `other`, as they stand (a copy of a unit starts without).
    void SetCustomizedFileLists(const ImodelModule& other)
    {
        ListsMayChange();
        m_customizedLists = other.m_customizedLists;
    }
    // The unit's block: "LIST" and the quoted unit name, each list in use,
    // "ENDLIST". Nothing without lists; false, with nothing written, for a
    // null stream or a name the line format cannot hold (told to the user).
    bool WriteCustomizedSourceFileList(std::ostream* stream) const;
    // Reads the lists of one unit block, `it` standing behind its opening
    // line; returns with `it` behind the block's "ENDLIST", or on the line
    // that opens the next block when the "ENDLIST" is missing. An inner list
    // ends at its "ENDLIST" or before the next "LIST" line, whichever comes
    // first. Lines may be raw ("VALUE \"...\"") or as the project-file
    // parser delivers them (the text between the quotes).
    void ReadCustomizedSourceFileList(LineIterator& it, LineIterator end, const std::vector<Iconvert*>& converters);
    // The same over `lines`, consuming the lines read.
    void ReadCustomizedSourceFileList(std::vector<std::string>& lines, const std::vector<Iconvert*>& converters);

    // --- block-design component -------------------------------------------------------

    // The unit's block-design component, not owned: the cached one, else
    // the one the block-design tool finds (kept when found); null when none.
    VyIfaces::IComponent* GetComponent() const;
    void SetComponent(VyIfaces::IComponent* component) { m_component = component; }
    void UnreferenceComponent() { m_component = nullptr; }
    // The file type under which the unit's file shows as a component; 5
    // without file.
    zorpaFileManagerTypes GetComponentType() const;
    // The component kind (VyIfaces::IComponent::VyModuleType), -1 for none.
    int GetVyModuleType() const;
    std::string GetComponentTypeStr() const;
    static int GetVyModuleType(VyIfaces::IComponent* component);
    static std::string GetComponentTypeStr(VyIfaces::IComponent* component);

    // --- class-wide state ----------------------------------------------------------------

    static ImodelModule*& GetTestedModule();
    static bool IsTestedModule(const ImodelModule* module) { return module != nullptr && module == GetTestedModule(); }
    // Installed by a caller that collects the files whose change was
    // announced; null otherwise.
    static FileList*& GetNotifiedFileChangeList();
    static bool& IsRemovingTempModule();
    // Filled by callers outside the library; read by the root choice.
    static std::vector<ImodelModule*>& CannotBeSetAsRootList();

private:
    friend class ZorpaUnitSet<ImodelModule*>;
    friend class imodelStructuralWalk;
    friend class ImodelModuleNoticeBatch;
    friend class imodelUnitFileIndex;
    friend class imodelUnitJournal;

    // Told before the unit's file lists may change: the index of the units
    // naming a file looks at the unit again when next asked.
    void ListsMayChange();
    // Whether a list updateModel brings in line names a file.
    bool NamesAnyFile() const;

    typeUserFileList* getCustomizedFileList(ImodelFunctionType kind);
    const typeUserFileList* getCustomizedFileList(ImodelFunctionType kind) const;
    void RegisterWithEvents();
    // DuplicateModuleInfo from a unit or a spent record of one.
    template <class Source>
    void DuplicateFrom(Source&& source, const zorpaSaveRestoreParams& params);
    // KeepRestorable and TakeRestorable: a fresh context that took the
    // unit's, and the record with a given context.
    static std::unique_ptr<ImodelContextImpl> KeptContext(const ImodelModule& unit);
    template <class Unit>
    static Restorable RestorableOf(Unit&& unit, std::unique_ptr<ImodelContextImpl> context);
    // The library set that holds the unit; null outside one.
    void SetUnitSet(UnitSet* set);
    const UnitSet* GetUnitSet() const { return m_unitSet; }
    // Where the unit stands in that set, kept for the set.
    void SetUnitPlace(UnitSet::Place place) { m_unitPlace = place; }
    UnitSet::Place GetUnitPlace() const { return m_unitPlace; }
    // Whether that set is sure no other unit of its name stands there.
    void SetUnitSole(bool sole) { m_soleOfName = sole; }
    bool IsUnitSole() const { return m_soleOfName; }
    // Points the unit at `file` (none for empty), its library moving it.
    void ChangeFile(const boost::shared_ptr<IfileObjectEx>& file);
    // Appends the units of `list` as sub-blocks (nulls left out), each
    // taking this unit as parent.
    void LinkSubBlocks(const ModuleList& list);
    void LinkSubBlocks(const ImodelLinkList& list);
    // Takes this unit out of its sub-blocks' parent lists and its parents'
    // sub-block lists, dropping its own lists; `signal` has each unit that
    // changed signal it.
    void Unlink(bool signal);
    // Take `module` out of this unit's parent list (its one entry) or
    // sub-block list (every entry); whether it was there.
    bool ForgetParent(const ImodelModule* module);
    bool ForgetSubBlock(const ImodelModule* module);
    // Appends the files the project holds that the associated list lacks.
    void MergeAssociatedFiles(const FileList& files);
    void AnnounceDestruction();

    // Counts the changes of the hierarchy (HierarchyChanged).
    static inline std::uint64_t s_hierarchyVersion = 1;
    // Units of serials up to this one stood before a change of the design's
    // units under way (0: none is): their data may have to be kept.
    static inline std::uint64_t s_keptUpTo = 0;
    void KeepDataOfChange() const;

    std::uint64_t m_serial;
    UnitSet* m_unitSet = nullptr;
    UnitSet::Place m_unitPlace{};
    // IsStructural as worked out at a version of the hierarchy (0: never).
    mutable std::uint64_t m_structuralVersion = 0;
    mutable bool m_structural = true;
    bool m_displayable = false;
    // Set while UnlinkTogether drops the links among the units that go.
    bool m_goingTogether = false;
    bool m_soleOfName = false;
    // Set while the index of the units naming a file has the unit to look at again.
    bool m_listsChanged = false;
    // Set once the index has heard of the unit: it hears of its going. Units
    // whose lists never named a file (nearly all) cost the index nothing.
    bool m_inFileIndex = false;
    // The batch of notices that gathered the unit last (0: none), and
    // whether everything below the unit is gathered in it: kept with the
    // unit, which a read has at hand each time it asks, where the batch's
    // list of a hundred thousand notices would be a cache miss per question.
    std::uint32_t m_noticeBatch = 0;
    bool m_noticeBelow = false;
    std::unique_ptr<ImodelContextImpl> m_context;
    ImodelLazyList<std::vector<typeUserFileList>, ImodelCustomizedListWatch> m_customizedLists;
};

template <class Visit>
void ImodelModule::ForEachFileUpdateModelSees(Visit&& visit) const
{
    for (const auto* list :
         {&m_simulationPackagesToIgnore.Get(), &m_synthesisPackagesToIgnore.Get(), &m_stimulusFiles.Get(),
          &m_cdbOrder.Get(), &m_synthesisConstraintFiles.Get(), &m_phySynthOptions.Get().GetConstraintFileList()})
        for (const IfileObject& file : *list) visit(file);
    for (const typeUserFileList& customized : m_customizedLists.Get())
        for (const IfileObjectEx::ParentFile& entry : customized.GetFiles()) visit(entry.first);
}

struct ImodelCustomizedListWatch {
    using Lists = std::vector<ImodelModule::typeUserFileList>;
    static void Made(const Lists& lists);
    static void Gone(const Lists& lists);
    // Takes every entry naming one of `files` (the file-name key) out of
    // every customized list, the others kept in their order (a list left
    // empty stays, as the user may make one); the number taken out.
    static std::size_t Forget(const std::vector<IfileObject>& files);
};

// A copy of a library of design units holds clones of its units, each with
// the unit's data.
template <>
struct ZorpaUnitCopier<ImodelModule*> {
    static ImodelModule::Owned Copy(const ImodelModule* unit) { return ImodelModule::Clone(unit); }
};
