// A file node of the design flow: one kind of file (one file type) that a
// flow step reads or writes. It knows the project's files of its type (it
// listens to the file manager and has each file's derived-file record
// made), names and finds the file the flow expects for a design unit and a
// revision (the current file: the user's choice for the revision, else a
// default file named after the unit or after the upstream file the user
// chose), computes a state that looks through automatic conversions, and
// walks the graph through the transitions and tool nodes attached to it.
//
// Nodes, tools and transitions belong to their flow; a node refers to its
// transitions by plain pointers, in attachment order. Walks append to the
// caller's lists, never clear them, and never add an entry twice.
#pragma once

#include "ifile/IfileListener.h"
#include "ifile/IfileObject.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/names/ImodelFileName.h"
#include "imodel/names/ImodelFileTypes.h"
#include "iprocess/IprocessTransition.h"

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class IfileManager;
class ImodelModule;
class ImodelRevContext;
class ImodelRevContextImpl;
class IprocessToolObject;

// Where a file stands in a design unit's order of constraint files; the
// flow's optional constraint files are the levels 2 and 3.
enum imodelConstraintFlowType : int {
    imodelConstraintFlowSource = 0,             // sources and netlists
    imodelConstraintFlowComponent = 1,          // constraint files of a component
    imodelConstraintFlowSynthesis = 2,          // the synthesis constraint file
    imodelConstraintFlowPhysicalSynthesis = 3,  // the physical-synthesis constraint files
    imodelConstraintFlowOther = 4               // every other file
};

class IprocessFileObject : public IprocessFlowObject, public IfileListener {
public:
    using Entry = boost::shared_ptr<IfileObjectEx>;
    using Entries = std::vector<Entry>;
    using Nodes = std::vector<IprocessFileObject*>;
    using Tools = std::vector<IprocessToolObject*>;

    // Sets the files of the node that pass its test out of date.
    class InvalidateAllFilter {
    public:
        // `revisions` (may be null, not owned): a file of a place-and-route
        // view passes only when its view's number is listed.
        explicit InvalidateAllFilter(const std::vector<unsigned int>* revisions) : m_revisions(revisions) {}
        virtual ~InvalidateAllFilter() = default;
        // A file that is given and passes ShouldInvalidate becomes out of date.
        virtual void operator()(const Entry& file) const;
        virtual bool ShouldInvalidate(const Entry& file) const;

    private:
        const std::vector<unsigned int>* m_revisions;
    };
    // ... and that derive from the module (without a module, every file).
    class InvalidateModuleSpecificFilter : public InvalidateAllFilter {
    public:
        InvalidateModuleSpecificFilter(ImodelModule* module, const std::vector<unsigned int>* revisions)
            : InvalidateAllFilter(revisions), m_module(module)
        {
        }
        bool ShouldInvalidate(const Entry& file) const override;

    private:
        ImodelModule* m_module;
    };
    // ... and whose derived-file record has `file` as predecessor (with
    // `recursive`, up the chain). The file must outlive the filter.
    class InvalidateHasPredecessorFilter : public InvalidateAllFilter {
    public:
        InvalidateHasPredecessorFilter(const IfileObject& file, bool recursive,
                                       const std::vector<unsigned int>* revisions)
            : InvalidateAllFilter(revisions), m_file(file), m_recursive(recursive)
        {
        }
        bool ShouldInvalidate(const Entry& file) const override;

    private:
        const IfileObject& m_file;
        bool m_recursive;
    };

    // A node of `type`; `isHDL` makes its extension follow the project's
    // language, a non-empty `constantName` is its default title for every
    // unit. The node listens to `fileManager` (none when null) while it lives.
    IprocessFileObject(zorpaFileManagerTypes type, const std::string& suffix, bool isHDL, const std::string& extension,
                       const std::string& constantName, IfileManager* fileManager);
    ~IprocessFileObject() override;

    // The base test; an optional constraint file also needs its extension to
    // be a constraint kind of the family.
    bool IsObjectUsed(ImodelModule* module, ImodelRevContext* revision) const override;
    // The type belongs to the place-and-route group.
    bool IsRevDependent() const override;

    // --- the project's files of the node's type (IfileListener) -----------------------------
    // The HDL-source node (type 2) tracks no file.

    void EmptyFileList() override;
    // A file of the node's type joins the known files (once) and, unless
    // derived-file records are being refreshed, has its record made.
    void UpdateFile(const Entry& file, bool isNew) override;
    void RemoveFile(const Entry& file) override;
    // Takes the file manager's files of the node's type that it does not
    // know yet, as if each were new: for a node made after the files.
    void AdoptProjectFiles();
    // The known files, in the order the file manager reported them.
    const Entries& GetKnownFiles() const;
    // Whether it knows a file: one that knows none finds none, whatever the
    // unit, view or name asked for, so a caller may answer without making
    // the name.
    bool KnowsAnyFile() const { return !m_known.empty(); }

    // --- settings ---------------------------------------------------------------------------

    zorpaFileManagerTypes GetFileType() const { return m_type; }
    // The default file lies in a folder named after the unit plus `text`.
    void SetSubFolder(bool subFolder, const char* text);
    bool IsAutoProcessed() const { return m_autoProcessed; }
    // Set by the file-to-file transitions that lead here.
    void SetAutoProcessedMark(bool autoProcessed) { m_autoProcessed = autoProcessed; }
    // Whether the user may choose which file of the type the flow uses.
    void UserCanSelectFileToUse(bool canSelect) { m_userChoice = canSelect; }
    bool UserCanSelectFileToUse() const { return m_userChoice; }
    void SetOptionalConstraintFileLevel(imodelConstraintFlowType level, bool usedByDefault);
    imodelConstraintFlowType GetOptionalConstraintFileLevel() const { return m_constraintLevel; }
    bool IsUsedByDefault() const { return m_usedByDefault; }
    bool IsOptionalConstraintFile() const;
    std::string GetConstantFileName() const { return m_constantName; }
    bool HasConstantFileName() const { return !m_constantName.empty(); }
    // Whether the node looks for numbered variants of its default file.
    void SetHandlePredecessor(bool handle) { m_handlePredecessor = handle; }
    bool DoHandlePredecessor() const { return m_handlePredecessor; }
    bool IsHDL() const { return m_isHDL; }
    std::string GetAppend() const { return m_suffix; }
    // The back-annotated files of place and route (types 13 and 14).
    static bool IsBAFiles(int type);
    bool IsBAFiles() const { return IsBAFiles(m_type); }

    // --- names ------------------------------------------------------------------------------

    // The extension; "vhd" or "v" after the project's language for an HDL node.
    std::string GetExt() const;
    // "*" + suffix + "." + extension; for an HDL node without `ownLanguage`,
    // the other language's extension.
    std::string GetFilter(bool ownLanguage) const;
    // The title of the default file for a base name: the constant name, or
    // [base + sub-folder text + "/"] + base + suffix + "." + extension. False
    // with "Internal Error" for an empty base, with "Special File with ID: "
    // and the type for a node without extension.
    bool GetDefaultFlowFileTitle(ImodelFileName& out, const std::string& baseName) const;
    // The base name a derived file gives to the nodes downstream: its title
    // without this node's suffix, with the implementation folder of a
    // synthesis file in front, or with its netlist variant folder behind.
    std::string GetBasisName(const IfileObject& file, zorpaFileManagerTypes type) const;
    // The default file value for a base name: in the default folder of the
    // type, or, for a revision-dependent node, in the folder of view
    // `revisionNumber` (none for -1).
    std::optional<IfileObject> CreateDefaultIfileObject(const std::string& baseName, int revisionNumber) const;
    // ... for the view of the revision (a revision-dependent node only).
    std::optional<IfileObject> CreateDefaultIfileObject(const std::string& baseName, ImodelModule* module,
                                                        ImodelRevContextImpl* revision) const;
    // ... named after the unit, or, while users choose flow files, after the
    // current file of the upstream node that lets them choose. None without
    // a module.
    std::optional<IfileObject> CreateDefaultIfileObject(ImodelModule* module, ImodelRevContextImpl* revision) const;
    // The current file's name in `form`; false (and empty) for the
    // HDL-source node or without a current file.
    bool GetFlowFileName(ImodelFileName& out, ImodelModule* module, ImodelRevContext* revision,
                         ImodelFMStringFileType form, bool create, bool numbered) const;
    // ... for the unit's current revision.
    bool GetFlowFileName(ImodelFileName& out, ImodelModule* module, ImodelFMStringFileType form, bool create) const;

    // --- files ------------------------------------------------------------------------------

    // The known file equal to the value; without one and with `create`, a
    // new entry of the value, not added to the project.
    Entry GetFileManagerObject(const IfileObject& value, bool create) const;
    // ... of the default value for the name and view number.
    Entry GetFileManagerObject(const std::string& baseName, int revisionNumber, bool create) const;
    // The current file for the unit and revision (the module context stands
    // for its current revision). With `notInProject`, a file the project
    // holds is passed over for a default one; with `numbered`, a default
    // file that belongs to another unit gives way to the first of its
    // numbered variants base_1, base_2, ... that does not.
    Entry GetFileManagerObject(ImodelModule* module, ImodelRevContext* revision, bool create, bool notInProject,
                               bool numbered) const;
    // The current file exists and equals `file`.
    bool IsFileManagerObject(ImodelModule* module, ImodelRevContext* revision, const Entry& file) const;
    // Every file a user may pick for the node, the one to propose first.
    void GetUsableFileList(Entries& out, ImodelModule* module, ImodelRevContextImpl* revision) const;
    // A known file derives from the unit; unless `allRevisions`, only files
    // of the current view count.
    bool HasOneFileOf(ImodelModule* module, bool allRevisions) const;
    // The known files whose unit is the module, in the order of
    // GetKnownFiles(); none without a module.
    Entries GetKnownFilesOfModule(ImodelModule* module) const;
    // Whether every file GetKnownFilesOfModule would give is out of date,
    // asked without copying them; `unitKey` is UnitKeyOfModule(module),
    // made once by a caller asking every node of a flow.
    bool AreKnownFilesOfModuleOutOfDate(ImodelModule* module, const std::string& unitKey) const;
    // Whether every known file of any unit is out of date: then the answer
    // above is true for every module.
    bool AreKnownFilesOfUnitsOutOfDate() const;
    // The key the known files of the module are indexed under.
    static std::string UnitKeyOfModule(const ImodelModule& module);
    // Tells the derived-file record of every known file of the change.
    void NotifyFileChanged(const IfileObject& changed);
    // Applies the filter to every known file, in order.
    void InvalidateAllFiles(const InvalidateAllFilter& filter);
    // The same for a filter of the unit (null: every file), applied only to
    // the known files whose unit bears the unit's name, in order: what
    // InvalidateAllFiles does with that filter, without asking every file.
    void InvalidateFilesOfModule(const InvalidateModuleSpecificFilter& filter, ImodelModule* module);
    // Appends the known files that are among the candidates (same entry).
    void AddRelatedFilesUsingOneOf(const Entries& candidates, Entries& out) const;
    // Appends the known files derived from `source`: with `anyDependency`,
    // those whose record depends on it; otherwise those whose predecessor is
    // it, or, with `viaConstraint`, whose generating tool uses it as a
    // constraint file.
    void AddRelatedFilesUsing(const Entry& source, bool anyDependency, bool viaConstraint, Entries& out) const;

    // --- states -----------------------------------------------------------------------------

    // The stored state of the unit's current file, looking through automatic
    // conversions: an automatically made file counts as its inputs do.
    imodelFileState GetIntelligentFileState(ImodelModule* module) const;
    // 0 when a node of the group is absent (unless it is an optional input
    // of `transition`), else 2 when one is out of date, else 1; 0 for a
    // null or empty group or without a module.
    static imodelFileState GetGroupOfFilesState(const Nodes* group, ImodelModule* module,
                                                const IprocessFileToFileTransition* transition, bool intelligent);

    // --- graph walks ------------------------------------------------------------------------

    // The node a file of this node is derived from: the first source of a
    // file-to-file transition counted for the state, else the first input
    // (other than the HDL sources) of the tool that makes this node, or of a
    // sibling output of that tool.
    IprocessFileObject* GetPredecessorFileObject() const;
    // Every tool and file upstream (with `recursive`, transitively); no use
    // condition is tested. False when a list is missing.
    bool GetAllFilesAndToolsPrecedingYou(Nodes* files, Tools* tools, bool recursive, ImodelModule* module,
                                         ImodelRevContext* revision) const;
    // The inputs of the tools that make this node, then the sources of the
    // file-to-file transitions that lead here.
    void GetAllFilesDirectlyPrecedingYou(Nodes& files) const;
    // Every file downstream and the log-file tools on the way (synthesis,
    // physical synthesis, place and route). False without both lists.
    bool GetAllFilesAndToolsUsingYouRec(Nodes* files, Tools* tools) const;
    // The first tool upstream that has this node among its outputs.
    IprocessToolObject* GetToolGeneratingMe(ImodelModule* module, ImodelRevContext* revision) const;
    // The generating tool is directly followed by a tool of the kind.
    bool IsConstraintFileUsedForTool(ImodelModule* module, ImodelRevContext* revision, ImodelFunctionType tool) const;
    // ... for a node used by default.
    bool IsConstraintFileUsedByDefault(ImodelModule* module, ImodelRevContext* revision, ImodelFunctionType tool) const;
    // Searches upstream, through used transitions and the used inputs of
    // the tools, for a used node that lets the user choose its file; the
    // nodes passed go to `path`, the one found last.
    bool GetFlowToUsedPredecessorAllowingFileSelection(Nodes& path, ImodelModule* module,
                                                       ImodelRevContextImpl* revision) const;
    IprocessFileObject* GetUsedPredecessorAllowingFileSelection(ImodelModule* module,
                                                                ImodelRevContextImpl* revision) const;
    // The used automatic file-to-file transitions that lead here (for an
    // automatically made node only), or leave here.
    bool GetAutoProcessingInputs(std::vector<IprocessFileToFileTransition*>& out, ImodelModule* module) const;
    bool GetAutoProcessingOutputs(std::vector<IprocessFileToFileTransition*>& out, ImodelModule* module) const;
    // The used tools that make this node; always true.
    bool GetAlUsedToolsPrecedingYou(Tools& tools, ImodelModule* module) const;
    // The used tools of the used transitions that make this node; without a
    // module, every tool that makes it.
    void AddFromToolsList(Tools& tools, ImodelModule* module) const;
    void AddFromToolsList(Tools& tools) const;
    // The used tools that read this node through used transitions.
    void AddToToolsList(Tools& tools, ImodelModule* module, ImodelRevContext* revision) const;

    // --- transitions (attached by the transitions themselves) ---------------------------------

    void AttachOutputTransition(IprocessFileToToolTransition* transition) { m_toTools.push_back(transition); }
    void AttachOutputTransition(IprocessFileToFileTransition* transition) { m_toFiles.push_back(transition); }
    void AttachInputTransition(IprocessToolToFileTransition* transition) { m_fromTools.push_back(transition); }
    void AttachInputTransition(IprocessFileToFileTransition* transition) { m_fromFiles.push_back(transition); }
    const std::vector<IprocessFileToToolTransition*>& GetOutputToolTransitions() const { return m_toTools; }
    const std::vector<IprocessFileToFileTransition*>& GetOutputFileTransitions() const { return m_toFiles; }
    const std::vector<IprocessToolToFileTransition*>& GetInputToolTransitions() const { return m_fromTools; }
    const std::vector<IprocessFileToFileTransition*>& GetInputFileTransitions() const { return m_fromFiles; }

    // The numbered variants tried for a current file before the last one is
    // taken as it is.
    static constexpr int kMaxNumberedVariants = 1000;

private:
    bool TracksFiles() const { return m_type != zorpaFT_HDL; }
    bool IsKnown(const Entry& file) const { return file && m_known.count(file.get()) != 0; }
    // One step of the upstream search.
    bool SearchUpstreamFrom(IprocessFileObject* node, Nodes& path, ImodelModule* module,
                            ImodelRevContextImpl* revision) const;
    bool DoesFileDependOfConstraint(const Entry& file, const Entry& constraint) const;
    // --- the known files by the name of their unit and by their predecessor ------------------
    // A file's unit and predecessor come from its record and the records up
    // its chain, which change with the files of other nodes. The indexes
    // hold while no file of any node came or went or changed its unit or
    // predecessor since they were made (one count for every node); a node
    // whose indexes do not hold any more makes them again when asked.
    static std::uint64_t& UnitIndexGeneration();
    static std::string UnitKeyOf(const Entry& file);
    static Entry PredecessorOf(const Entry& file);
    void ReindexFile(const Entry& file, bool isNew);
    void UpdateIndexes() const;
    void DropIndexes() const;
    // The indexed files under the key (current indexes), or null.
    const Entries* FilesOfUnitKey(const std::string& unitKey) const;

    // What a file was indexed under. An absent predecessor is a new entry
    // at each asking: its name tells whether it changed.
    struct IndexedFile {
        std::string unitKey;
        const IfileObjectEx* predecessor = nullptr;
        ImodelFileName predecessorName;
    };
    // Predecessor entries are named by address only, never reached through
    // it: the lookup asks each file found again.
    mutable std::unordered_map<const IfileObjectEx*, IndexedFile> m_indexed;
    mutable std::unordered_map<std::string, Entries> m_byUnit;
    mutable std::unordered_map<const IfileObjectEx*, Entries> m_byPredecessor;
    mutable std::uint64_t m_indexGeneration = 0;

    // The files reported, some of which may have been removed since (those
    // no longer in m_known; m_removed counts them).
    mutable Entries m_files;
    mutable std::size_t m_removed = 0;
    std::unordered_set<const IfileObjectEx*> m_known;
    zorpaFileManagerTypes m_type;
    std::string m_suffix;
    std::string m_subFolderText;
    bool m_subFolder = false;
    std::string m_extension;
    bool m_isHDL;
    std::string m_constantName;
    bool m_handlePredecessor = true;
    bool m_autoProcessed = false;
    bool m_userChoice = false;
    imodelConstraintFlowType m_constraintLevel = imodelConstraintFlowOther;
    bool m_usedByDefault = false;
    std::vector<IprocessFileToToolTransition*> m_toTools;
    std::vector<IprocessFileToFileTransition*> m_toFiles;
    std::vector<IprocessToolToFileTransition*> m_fromTools;
    std::vector<IprocessFileToFileTransition*> m_fromFiles;
    IfileManager* m_fileManager;
};

// The module of a derived file (its record's); null for a null file or a
// file without record.
ImodelModule* IprocessGetModulePtr(IfileObjectEx* file);
// The current file of a type for a unit and revision, through the flow of
// the unit; empty when the flow has no node of the type.
boost::shared_ptr<IfileObjectEx> IprocessGetCurrentFile(ImodelModule* module, ImodelRevContextImpl* revision,
                                                        zorpaFileManagerTypes type, bool create, bool notInProject);
// ... in the unit's current revision; empty without a module or context.
boost::shared_ptr<IfileObjectEx> IprocessGetCurrentFile(ImodelModule* module, zorpaFileManagerTypes type, bool create,
                                                        bool notInProject);
// For an STP programming file, the STP file of a chain: its name with "1"
// before the extension (the project's entry, else a new one); empty for any
// other file.
boost::shared_ptr<IfileObjectEx> IprocessGetMultSTPFileIfAny(const boost::shared_ptr<IfileObjectEx>& file);
// Whether a file can serve the unit and revision as a flow file: a file not
// in the project can; otherwise its record must derive from the unit,
// belong to view `revisionNumber` (unless -1) and, when `path` is given,
// match the path of upstream nodes link by link.
bool IprocessIsRelatedFileOK(const boost::shared_ptr<IfileObjectEx>& file, const std::vector<IprocessFileObject*>& path,
                             int revisionNumber, ImodelModule* module, ImodelRevContextImpl* revision);
