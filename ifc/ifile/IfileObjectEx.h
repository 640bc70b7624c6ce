// IfileObjectEx: a file as a member of the project: the file value plus its
// state in the design flow, the disk stamp from which changes are found, its
// error kind, flags, HDL library and packages, stimulus options, parent
// files, per-tool use and the record of what it was derived from.
//
// The file manager owns every member file of the project
// (boost::shared_ptr<IfileObjectEx>); other holders keep the file value with a
// weak reference. A member file also exists standalone, made by value, while
// a project file is read or when a caller asks for a file the project does
// not hold.
//
// Texts that go into the project file's line format (library, compile
// setting, stimulus options, tool profiles) may not hold a line break, and a
// profile no ","; setters refuse them with a message and change nothing.
#pragma once

#include "ifile/IfileObject.h"
#include "ifile/IfilePredecessorObject.h"
#include "ifile/IfileSharedList.h"
#include "imodel/names/ImodelLazy.h"
#include "imodel/names/ImodelToolKinds.h"

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>
#include <foundation/Sys.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class Imodel;
class ImodelModule;
class ImodelRevContextImpl;
namespace VyIfaces {
class IComponent;
}

// The state of a member file in the design flow.
enum imodelFileState : int {
    imodelFileAbsent = 0,    // not part of the active flow; written "absent"
    imodelFileUpToDate = 1,  // "utd"
    imodelFileOutOfDate = 2  // "ood"
};

// The kind of error a member file is in, set by the parse commands.
enum ImodelErrorFileType : int {
    ImodelNoError = 0,              // with a text: defines a module defined elsewhere, used anyway
    ImodelParseError = 1,           // the file could not be parsed
    ImodelModuleAlreadyDefined = 2  // defines a module already defined, not used
};

class IfileObjectEx : public IfileObject {
public:
    // A parent: its file value and a weak reference to its project entry,
    // which may be empty or expired and is resolved on demand.
    using ParentFile = std::pair<IfileObject, boost::weak_ptr<IfileObjectEx>>;
    using ParentFiles = std::vector<ParentFile>;
    using Packages = std::deque<std::string>;
    using PackageRange = std::pair<Packages::const_iterator, Packages::const_iterator>;

    // The module under test and the simulation time of a stimulus file.
    class StimulusOptions {
    public:
        StimulusOptions(const std::string& moduleUnderTest, const std::string& simulationTime)
            : m_moduleUnderTest(moduleUnderTest), m_simulationTime(simulationTime)
        {
        }
        StimulusOptions(const StimulusOptions&) = default;
        StimulusOptions& operator=(const StimulusOptions&) = default;
        virtual ~StimulusOptions() = default;

        bool operator==(const StimulusOptions& other) const;
        const std::string& GetModuleUnderTest() const { return m_moduleUnderTest; }
        const std::string& GetSimulationTime() const { return m_simulationTime; }

        // The MODULE_UNDER_TEST and SIMULATION_TIME lines.
        void Write(std::ostream* stream) const;
        // Takes a MODULE_UNDER_TEST or SIMULATION_TIME line into the file's
        // options (two empty texts when it had none); false for other lines.
        static bool Read(const std::string& line, IfileObjectEx& file);

    private:
        std::string m_moduleUnderTest;
        std::string m_simulationTime;
    };

    // One tool constraint: the file is used by a tool kind, in the used
    // profiles (all when both sets are empty) and not in the skipped ones.
    class type_Filter {
    public:
        // An empty profile leaves the used set empty.
        type_Filter(ImodelFunctionType kind, const std::string& profile);
        bool operator==(const type_Filter& other) const = default;

        ImodelFunctionType toolKind;
        std::set<std::string> usedProfiles;
        std::set<std::string> skippedProfiles;
    };

    // Default attributes; with `copyExisting`, the project's entry for the
    // same file is copied when there is one.
    IfileObjectEx(const IfileObject& file, bool copyExisting);
    // A member file read from the lines of the project file's file-list
    // block, `it` standing on its first line (the stored name, "," and the
    // type keyword). On return `it` stands on the last line of its block:
    // its "ENDFILE" line, or, for a truncated block, the last line that
    // belongs to it.
    IfileObjectEx(std::vector<std::string>::const_iterator& it, const std::vector<std::string>& lines,
                  const std::vector<Iconvert*>& converters);
    // The values are copied; the predecessor record is cloned for the copy,
    // which owns the clone.
    IfileObjectEx(const IfileObjectEx& other);
    IfileObjectEx(IfileObjectEx&& other);
    IfileObjectEx& operator=(const IfileObjectEx& other);
    IfileObjectEx& operator=(IfileObjectEx&& other);
    ~IfileObjectEx() override;

    virtual bool IsDisplayedInDesignHierarchy() const;
    // A schematic or HDL source; an HDL file, while the model has a host, only
    // when it is used by the synthesis tool of the host's synthesis profile.
    virtual bool IsASourceFile() const;
    virtual bool HasSourceFileType() const;
    // Outside the project and not found on disk at the last reading.
    virtual bool IsBrokenLink() const;

    // --- state ----------------------------------------------------------------------

    imodelFileState GetFileState() const { return m_fields.state; }
    bool IsFileInProject() const { return m_fields.state != imodelFileAbsent; }
    void SetAbsent() { m_fields.state = imodelFileAbsent; }
    // "utd", "ood" or "absent"; always true.
    bool GetStrState(std::string& out) const;
    // Up to date or out of date; absent is refused (traced). A change marks
    // the project as needing a save and is announced.
    void SetFileState(imodelFileState state);
    void SetErrorFile(ImodelErrorFileType kind, const std::string& text);
    // For a member file whose last reference goes next, on this thread:
    // moves the texts it keeps on the heap (names, compile setting, error
    // text, library) to `out`, so that their memory is freed elsewhere.
    // Nothing else is touched; the file is not used after.
    void MoveHeapTextsOut(std::vector<std::string>& out);
    ImodelErrorFileType GetErrorFileType() const { return m_fields.errorKind; }
    const std::string& GetModuleAlreadyDefined() const { return Rare().errorText; }
    // Announces the file to the views when it is in the project.
    void UpdateFileDisplay() const;

    // --- disk stamp -------------------------------------------------------------------
    // Times and sizes are 64-bit throughout: sizes past 2 GiB and times past
    // 2038 compare correctly.

    static constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;
    // Whether a stored time and a time read from disk are the same; a stored
    // time on a whole second (older project files keep seconds) is compared
    // to the second.
    static bool IsSameDiskTime(std::int64_t stored, std::int64_t onDisk);

    // The last disk status read; null when it never was.
    const SysStatInfo* GetStatInfo() const { return m_fields.stat ? &*m_fields.stat : nullptr; }
    // A stamp of the status' size and time; nothing for null.
    void StoreStatInfo(const SysStatInfo* info);
    void StoreStatInfo(std::int64_t size, std::int64_t time);
    // Reads the disk status. `changed` is true when a stamp existed and the
    // time or the size differ (any difference, also an older copy of the same
    // size), or, with `reportReappearance`, when the file came back while
    // linking is enabled. The first reading never reports a change.
    void StoreStatInfo(bool& changed, bool clearPending, bool reportReappearance);
    void StoreStatInfo();
    // Two steps of change detection: without `takePending` a change found
    // is kept pending; with it the pending change is handed out and cleared.
    void StoreStatInfoEx(bool& changed, bool takePending);
    // Whether a change was found and not yet handed out.
    bool IsChangePending() const { return m_fields.changePending; }
    // Without `force`: accepts the disk as it is (a pending change is
    // dropped). With `force`: makes the next reading report a change.
    void UpdateStatInfo(bool force);
    // Whether the last reading of the disk status found the file.
    bool IsFoundOnDisk() const { return m_fields.foundOnDisk; }
    // Equal time and size (a missing stamp counts as -1 for both).
    bool IsSameStatInfo(const IfileObjectEx& other) const;
    // The other stamp is older, or of another size; false when either is
    // missing. A stamp on a whole second is older only by a whole second.
    bool IsNewerThan(const SysStatInfo* other) const;

    // --- flags and values ---------------------------------------------------------------

    const std::string& GetCompileSetting() const { return Rare().compileSetting; }
    bool SetCompileSetting(const std::string& setting);
    bool IsUsedByAllTools() const { return m_fields.usedByAllTools; }
    void SetUsedByAllTools(bool used) { m_fields.usedByAllTools = used; }
    bool IsIDEReadOnly() const { return m_fields.ideReadOnly; }
    void SetIDEReadOnly(bool readOnly) { m_fields.ideReadOnly = readOnly; }
    bool ImportAsLink() const { return m_fields.importAsLink; }
    void SetImportAsLink(bool link) { m_fields.importAsLink = link; }
    bool IsIncludedFile() const { return m_fields.included; }
    void SetIsIncludedFile(bool included) { m_fields.included = included; }
    bool IsEncryptedFile() const { return m_fields.encrypted; }
    void SetIsEncryptedFile(bool encrypted) { m_fields.encrypted = encrypted; }
    // Whether some file value, anywhere, is marked encrypted: without one,
    // no file of a change needs looking up to know it is not.
    static bool AnyFileIsEncrypted();
    bool IsFileStructural() const { return m_fields.structural; }
    void SetFileStructural(bool structural);
    const std::string& GetLibraryName() const { return m_fields.library; }
    bool SetLibraryName(const std::string& library);
    void SetUsedPackages(const std::deque<std::string>& packages) { m_fields.usedPackages.Assign(packages); }
    void SetDefinedPackages(const std::deque<std::string>& packages);
    PackageRange GetUsedPackages() const
    {
        return {m_fields.usedPackages.Get().begin(), m_fields.usedPackages.Get().end()};
    }
    PackageRange GetDefinedPackages() const
    {
        return {m_fields.definedPackages.Get().begin(), m_fields.definedPackages.Get().end()};
    }
    bool HasPackage() const { return !m_fields.definedPackages.IsEmpty(); }
    const std::deque<IfileObject>& GetIncludedFiles() const { return m_fields.includedFiles.Get(); }
    // Whether some file value, anywhere, holds included files: without one,
    // no collection of a hierarchy's files drops a file as included.
    static bool AnyFileIncludesFiles();
    // Counts the times a file value that defined no package came to define
    // some (set, or assigned from a value that defines some): while the
    // count stands, no file that held none has gained any.
    static std::uint64_t PackageDefinerChanges();
    void ClearIncludedFiles() { m_fields.includedFiles.Clear(); }
    // Nothing for this file itself or a file already included.
    void AddIncludedFile(const IfileObject& file);
    IfilePredecessorObject* GetPredecessorObject() const { return m_predecessor.get(); }
    // Holds a clone of `record` owned by this file (none for null).
    void SetPredecessorObject(const IfilePredecessorObject* record);
    // The module of the record and the revision the file belongs to (the
    // current one for a file of no view); false without record, module,
    // module context or that revision.
    bool GetModuleAndContext(ImodelModule*& module, ImodelRevContextImpl*& revision) const;
    // Shared by copies of the file, and never changed in place.
    const boost::shared_ptr<const StimulusOptions>& GetStimulusOptions() const { return Rare().stimulus; }
    bool SetStimulusOptions(const StimulusOptions& options);
    // Holds a copy of the pointee; none for an empty pointer.
    bool SetStimulusOptions(const boost::shared_ptr<const StimulusOptions>& options);

    // --- predicates ---------------------------------------------------------------------

    // 1: read-only on disk; 2: read-only in the tool.
    int GetReadOnlyState() const;
    // For the wizard's model the import-as-link flag, else: not local.
    bool DisplayAsLink(Imodel& model) const;
    bool IsBFMFile() const;
    // The project-relative folder holds "IDENTIFY" (any case).
    bool IsInstrumentedByIdentify() const;
    // The file lies in the IP configurator's common folder.
    bool IsDremmetCommonFile() const;
    // Same name, type, state, parents present, compile setting, flags,
    // constraints, library, stimulus options and parents (and stamps when
    // asked); error, packages, included files and predecessor are ignored.
    bool IsIdentical(const IfileObjectEx& other, bool compareStamps) const;
    // The type of the first parent, else the file's own.
    zorpaFileManagerTypes GetFileTypeAsComponent() const;
    // The file's kind in the unit's order of constraint files
    // (imodelConstraintFlowType): 0 for sources and netlists (types 2, 3,
    // 16, 30, 31); 1 for a constraint file (group 104) with parents; else
    // the optional constraint level (2 or 3) of the flow's node of its type,
    // 4 when it has none.
    int GetOrderFileType(ImodelModule* module) const;
    // An out-of-date programming file (pdb) made from a design database
    // whose layout succeeded in its unit's view: the programming tool can
    // make it again from that database.
    bool IsOODPDBThanCanBeUpdatedFromTorvix() const;

    // --- parents ------------------------------------------------------------------------
    // Every walk up the parents keeps a visited set: parent links read from a
    // project file may form a cycle.

    // Nothing for this file itself or a parent already there; a change of a
    // file in the project is announced.
    void AddParentFile(const ParentFile& parent);
    void AddParentFile(const IfileObject& parent);
    void AddParentFilesFrom(const IfileObjectEx& other);
    void SetSingleParentFile(const IfileObject& parent);
    void SetNoParent();
    // Removes the first parent equal to `parent`; false when there is none.
    bool RemoveParentFile(const IfileObject& parent);
    const ParentFiles& GetParentFileList() const { return Rare().parents; }
    std::deque<IfileObject> GetParentFiles() const;
    ParentFiles GetParentFilesOfType(zorpaFileManagerTypes type) const;
    bool HasParentFile() const { return !Rare().parents.empty(); }
    // The PARENT names read from the project file.
    const std::vector<ImodelFileName>& GetParentFileStr() const { return Rare().parentNamesRead; }
    // Points every parent equal to `file` at `entry`.
    void UpdateParentFilePtr(const IfileObject& file, const boost::shared_ptr<IfileObjectEx>& entry);
    // Every parent that is `from` (by file-name key) takes the name of `to`,
    // and points at `entry` when one is given: a parent renamed on disk in
    // letter case, or given a new name while the project is open.
    void RenameParent(const IfileObject& from, const IfileObject& to,
                      const boost::shared_ptr<IfileObjectEx>& entry = nullptr);
    // Whether `file` is a parent (with `recursive`, an ancestor).
    bool IsChildOfFile(const IfileObject& file, bool recursive) const;
    bool HasParentFileOfType(zorpaFileManagerTypes type, bool recursive) const;
    // More than one parent of the type, here or up the single chain of them.
    bool HasMultipleParentsRec(zorpaFileManagerTypes type) const;
    // The top of the chain of single parents; empty unless the file has
    // exactly one parent.
    boost::shared_ptr<IfileObjectEx> GetSingleTopLevelParentFileObject() const;
    // The block-design component that the top of that chain defines (the
    // block-design tool's first component of that file); null when the
    // file has no single chain of parents or its top defines none.
    VyIfaces::IComponent* GetTopParentComponent() const;
    // A core file shared by several cores of the type.
    bool IsCommonCoreFile(zorpaFileManagerTypes type) const;

    // --- component attributes -------------------------------------------------------------
    // The parents, compile setting, stimulus options, tool constraints and
    // the used-by-all-tools, included and encrypted flags: what a core's
    // description gives its files. (The read-only mark is stored with them,
    // but the project keeps it.)

    // Whether opening the project parses the core description that gives
    // the file its component attributes: a description that defines a
    // block-design component, or a file of one (a direct parent of type
    // "ombrix_cxf", and a parent that defines a component); only while cores
    // are parsed on open, and only for a description on disk, which the
    // parse can read.
    bool WillBeParsedOnOpen() const;
    bool NeedReadCXFAttrFromProjectFile() const { return !WillBeParsedOnOpen(); }
    // Drops the component attributes when the parse on open gives them anew.
    void UpdateCFXAttrs();

    // --- per-tool use ------------------------------------------------------------------

    const std::vector<type_Filter>& GetFilters() const { return Rare().constraints; }
    // Adds the profiles to every constraint of the same tool kind, or
    // appends the constraint. A profile holding "," or a line break is refused.
    bool SetUseForTool(const type_Filter& filter);
    bool SetUseForTool(const std::vector<type_Filter>& filters);
    bool AddConstraintsFrom(const IfileObjectEx& other);
    void ResetUseForToolList();
    void ResetUseForToolList(ImodelFunctionType kind);
    bool IsUsedForTool(ImodelFunctionType kind, const std::string& profile, bool checkProfile) const;
    std::string GetUseForToolDebugStr(char separator) const;

    // --- the file-list block of the project file ---------------------------------------

    // The file's lines of the block, VALUE to "ENDFILE". False, with nothing
    // written, for a null stream or a file whose name or values cannot be
    // stored in the line format.
    bool WriteFileManagerFile(std::ostream* stream) const;
    // The component attributes: parents, compile setting, stimulus options,
    // tool constraints and flags.
    void WriteCXFAttrs(std::ostream* stream) const;
    // The same lines appended to a text (the block of many files is made in
    // one text); false, with `out` as it was, when the file cannot be
    // stored.
    bool AppendFileManagerFile(std::string& out) const;
    // The same with the stamps written or not (the caller asked the switch
    // ImodelSaveFileTimeStampInProjectFile once for many files).
    bool AppendFileManagerFile(std::string& out, bool withStamps) const;
    // The same, tracing nothing when the file cannot be stored: for a pass
    // that formats files on several threads and, when one cannot be stored,
    // walks them again the plain way (which traces it).
    bool AppendFileManagerFileQuietly(std::string& out, bool withStamps) const;
    bool AppendCXFAttrs(std::string& out) const;
    // KEYWORD="value"; the set form joins the elements with "," and writes
    // nothing for an empty set.
    static void WriteMemberElement(const char* keyword, const std::string& value, std::ostream* stream);
    static void WriteMemberElement(const char* keyword, const std::set<std::string>& values, std::ostream* stream);
    static const char* GetBoolStr(bool value) { return value ? "TRUE" : "FALSE"; }
    // Flips `flag` only for the word of the opposite value.
    static void ReadBool(const std::string& text, bool& flag);
    // "ood" 2, "utd" 1, anything else 0; always true.
    static bool ReadStrState(const std::string& text, imodelFileState& state);

protected:
    // Reads the member lines of the block that begins at `it`.
    void MyReadFromFile(std::vector<std::string>::const_iterator& it, const std::vector<std::string>& lines);
    // The component attributes of a fresh entry of the same name and type.
    // The parent names read from the project file stay.
    void ResetCXFAttributes();

private:
    friend void IfileIgnoreCXFAttrs(std::deque<IfileObjectEx>& files);

    using LineIterator = std::vector<std::string>::const_iterator;
    using Reader = void (IfileObjectEx::*)(const std::string&);

    // WillBeParsedOnOpen with the test whether a file defines a component
    // whose description the parse can read.
    bool WillBeParsedOnOpen(const std::function<bool(const IfileObject&)>& definesReadableComponent) const;

    // Reads one line of the block ending at `stop`; `it` ends on the last
    // line it took.
    void ReadMemberLine(LineIterator& it, LineIterator stop);
    // Calls `reader` with the value when the line is `keyword`=value.
    bool ReadMemberElement(const char* keyword, const std::string& line, Reader reader);
    // One tool-constraint block, from the line after BEGIN_USE_CONSTRAINT up
    // to END_USE_CONSTRAINT, bounded by its file's block; `it` ends on its
    // last line.
    void ReadUseForToolSetting(LineIterator& it, LineIterator stop);
    void ReadLibrary(const std::string& value) { m_fields.library = value; }
    void ReadState(const std::string& value) { ReadStrState(value, m_fields.state); }
    void ReadTime(const std::string& value);
    void ReadSize(const std::string& value);
    void ReadParent(const std::string& value) { UseRare().parentNamesRead.emplace_back(value); }
    void ReadCompileFlag(const std::string& value) { SetRareText(&RareFields::compileSetting, value); }
    void ReadUseForAnyTool(const std::string& value) { m_fields.usedByAllTools = value != "FALSE"; }
    void ReadIsReadOnly(const std::string& value) { m_fields.ideReadOnly = value == "TRUE"; }
    void ReadIsIncluded(const std::string& value) { ReadBool(value, m_fields.included); }
    void ReadIsEncrypted(const std::string& value);
    SysStatInfo& StampToRead();

    // Traces that the file cannot be written; false.
    bool CannotBeStored() const;
    void AnnounceChange() const;
    void AnnounceChangeInProject() const;
    ParentFiles::const_iterator FindParent(const IfileObject& file) const;
    // Whether `match` holds for a parent (with `recursive`, for an ancestor,
    // each one visited once).
    bool AnyAncestor(bool recursive, const std::function<bool(const IfileObject&)>& match) const;
    bool IsSelf(const IfileObject& file) const;
    // Before an assignment from `other`.
    void TellHierarchyIfStructureChanges(const IfileObjectEx& other) const;
    // Takes every value of `other`; a value being made that copies the
    // project's entry is no member file, and is not counted as one that came
    // to define packages.
    void CopyValues(const IfileObjectEx& other);

    // Counts the include lists that hold something.
    struct IncludeListCount {
        static void Made();
        static void Gone();
    };

    // The encrypted mark, counted over every value that holds it set.
    class EncryptedMark {
    public:
        EncryptedMark() = default;
        EncryptedMark(const EncryptedMark& other) noexcept { *this = other.m_set; }
        EncryptedMark& operator=(const EncryptedMark& other) noexcept { return *this = other.m_set; }
        EncryptedMark& operator=(bool set) noexcept
        {
            if (set != m_set) Flip();
            return *this;
        }
        ~EncryptedMark() { *this = false; }
        operator bool() const { return m_set; }

    private:
        void Flip() noexcept;
        bool m_set = false;
    };

    // The values very few member files have, in one block made when the
    // first of them is set and dropped when all are empty again: held inline
    // they would cost each of a project's files their full size.
    struct RareFields {
        // The weak references are a cache refreshed by the read-only walks.
        mutable ParentFiles parents;
        std::vector<ImodelFileName> parentNamesRead;
        std::vector<type_Filter> constraints;
        std::string compileSetting;
        std::string errorText;
        // Never changed in place: copies share it.
        boost::shared_ptr<const StimulusOptions> stimulus;

        bool IsEmpty() const;
    };

    // Everything a member file holds but its derived-file record, held by
    // value: copying them is copying the member file. (The record is cloned
    // for its new owner.) The flags sit together at the end, where they
    // leave no padding between the larger members.
    struct Fields {
        ImodelErrorFileType errorKind = ImodelNoError;
        imodelFileState state = imodelFileAbsent;
        std::optional<SysStatInfo> stat;
        IfileSharedList<IfileObject, IncludeListCount> includedFiles;
        IfileSharedList<std::string> usedPackages;
        IfileSharedList<std::string> definedPackages;
        std::string library = "work";
        ImodelLazy<RareFields> rare;
        bool foundOnDisk = true;
        bool changePending = false;
        bool ideReadOnly = false;
        bool importAsLink = false;
        bool usedByAllTools = true;
        bool structural = true;
        bool included = false;
        EncryptedMark encrypted;
    };

    // The rare values; empty ones when the file has none (nothing is made).
    const RareFields& Rare() const { return m_fields.rare.Get(); }
    // The rare values to change, made when the file had none. Only for a
    // change that sets something: a file that reads or clears them keeps
    // none.
    RareFields& UseRare() { return m_fields.rare.Use(); }
    // Drops the block once nothing in it is set.
    void DropRareIfEmpty();
    // Takes something out of the rare values when the file has a block,
    // then drops the block if nothing is left in it; makes none.
    template <class TakeOut>
    void TakeOutOfRare(TakeOut takeOut)
    {
        if (!m_fields.rare.Made()) return;
        takeOut(UseRare());
        DropRareIfEmpty();
    }
    // Sets one of the rare texts; an empty one makes no block.
    void SetRareText(std::string RareFields::*text, const std::string& value);

    Fields m_fields;
    std::unique_ptr<IfilePredecessorObject> m_predecessor;
};
