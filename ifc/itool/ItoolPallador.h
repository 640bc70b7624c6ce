// The place-and-route tool: its constraint files and the file list it
// keeps beside each design database (type 4): the description (type 40,
// extension "ide_pld") naming every file the database is built from, each
// with its kind, and the optional constraint files with their use flag.
// The tool writes those lists; this object decides what goes into them,
// keeps them in step with the project's constraint files, and reads
// device, structural and back-annotation settings back from them. The
// project model owns the one object; it keeps no state of its own.
//
// Database names may be given in any form (full, project-relative or with
// "<project>"); the lists hold full names.
#pragma once

#include "ifile/IfileObjectEx.h"
#include "imodel/names/ImodelFileName.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"
#include "itool/ItoolWithConstraints.h"

#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

class ImodelDevice;
class ImodelContextImpl;
class ImodelModule;
class KemletContentIf;
class KemletIde_pldFileManagerIf;
struct KemletFileRecord;

// The reader and writer of a database's file list as the project writes it:
// it names the files of the project the model has open (the view folder,
// which holds a list per unit, is not searched for a project file), and
// each list written is loaded into the extended-info cache again, so that
// the cache never answers with what the list held before.
KemletIde_pldFileManagerIf ItoolPalladorListFile(const ImodelFileName& fullDatabase);

class ItoolPallador : public ItoolWithConstraints {
public:
    // What ReadFileList found.
    enum ReadResult : int {
        ReadListRead = 0,    // the database's list was read
        ReadNothing = 1,     // no list, or one that cannot be read
        ReadOtherDesign = 2  // the list describes another database: not loaded
    };

    // Reads the database's list into `list` (appended) and reconciles it
    // with the project's constraint files for the unit and revision (with
    // `strict`, as the tool will use them); the file is written back when
    // the reconciliation changed it, or with `strict`, but never over a
    // list that could not be read or that describes another database; a
    // missing list is created. `content` (may be null) receives what was read.
    virtual ReadResult ReadFileList(const ImodelFileName& adb, ImodelModule* module, ImodelRevContextImpl* revision,
                                    std::deque<IfileObject>& list, KemletContentIf* content, bool strict) = 0;
    // Writes the list (and sets the optional records' flags, after clearing
    // the old ones with `clearOptional`) when it differs from what is on
    // disk; an equal list leaves the file untouched. False when the file
    // could not be written.
    virtual bool WriteFileList(const ImodelFileName& adb, const std::deque<IfileObject>& list,
                               const ImodelOptionalFiles* optional, bool clearOptional, bool force) = 0;
    // Makes sure the database has a list: a missing one is created with the
    // default inputs and constraint files of the unit and revision; an
    // existing one is made writable. Whether it exists afterwards.
    virtual bool EnsureFileListFile(const ImodelFileName& adb, ImodelModule* module,
                                    ImodelRevContextImpl* revision) = 0;
    // The list names `renamed` in place of `file`; true when it was written.
    virtual bool RenameFileInList(const IfileObject& adb, const IfileObject& file, const Entry& renamed) = 0;
    // Appends every project stimulus dump (VCD, type 24) the list lacks;
    // true when the list was written.
    virtual bool AddVcdFiles(const ImodelFileName& adb) = 0;
    // Reads the list into `content` and registers the files outside the
    // project that it names (RegisterDescriptionLinks).
    virtual void ImportLinkedFiles(const ImodelFileName& adb, KemletContentIf& content) = 0;
    // Makes a link (create_links) of each file outside the project folder
    // that a description just read for the database names and the project
    // does not hold; a file that is not on disk is passed over. Both are told
    // as debug lines. Nothing for a description of another database. A
    // description read again while its walk runs is not walked a second time.
    virtual void RegisterDescriptionLinks(const IfileObject& database, const KemletContentIf& content) = 0;
    // Takes every entry equal to `file` out of the list.
    virtual void RemoveFileFromList(const ImodelFileName& adb, const IfileObject& file) = 0;
    // Reads the list, reconciling and writing it back as ReadFileList does.
    virtual void RefreshFileList(const ImodelFileName& adb, ImodelModule* module, ImodelRevContextImpl* revision,
                                 bool strict) = 0;
    // The database's list (as the extended information of the database),
    // reconciled for the unit and revision, appended to `list`; false when
    // none can be read.
    virtual bool GetFileListFromCache(const IfileObject& adb, ImodelModule* module, ImodelRevContextImpl* revision,
                                      std::deque<IfileObject>& list, bool withOptional, bool strict) = 0;
    // The default inputs of the flow nodes for the unit and revision (the
    // unit's HDL files for the HDL node), with `withConstraints` followed by
    // the default constraint files; false without unit, revision or nodes.
    virtual bool GetDefaultInputFiles(std::deque<IfileObject>& list, const std::vector<IprocessFileObject*>& nodes,
                                      ImodelModule* module, ImodelRevContextImpl* revision, bool withConstraints) = 0;
    // The project's tool constraint files whose flow node is used by
    // default, each at its default position.
    virtual void GetDefaultConstraintFiles(std::deque<IfileObject>& out, ImodelModule* module,
                                           ImodelRevContextImpl* revision) = 0;
    // The database's list file (type 40).
    virtual IfileObject GetFileListFile(const IfileObject& adb) = 0;
    // The design database (type 4) beside a file: same folder and title.
    virtual IfileObject GetAdbFileFor(const IfileObject& file) = 0;
    // The files of a database's list (not reconciled) and its design name;
    // false for a file of another type or when the list cannot be read.
    virtual bool GetFileListString(const IfileObject& adb, std::deque<IfileObject>& list, std::string& designName) = 0;
    // The constraint files that the database's description lists, in its
    // order, into `out` (emptied first), and the design name it gives;
    // false for a file of another type or a description that cannot be read.
    virtual bool GetConstraintFilesOfDatabase(const IfileObject& adb, std::deque<IfileObject>& out,
                                              std::string& designName) = 0;
    // The input files and design name of a database; false for a file of
    // another type or when its list cannot be read.
    virtual bool GetDatabaseInputFiles(const IfileObject& database, std::deque<IfileObject>& inputs,
                                       std::string& designName) = 0;
    // Whether the database was made for another family, die or package.
    virtual bool NeedDeviceUpdate(const IfileObject& adb, const ImodelDevice& device) = 0;
    // For the structural units (below `modules` too) with revisions: a
    // database made from source files turns the revision's synthesis off;
    // a database whose list does not say is warned about
    // ("CONSIDER_MODULE_AS_RTL"). Units in `done` are skipped and added.
    virtual bool ResolveStructuralOptions(const std::deque<ImodelModule*>* modules, std::set<ImodelModule*>* done) = 0;
    // Whether the back-annotated files can be used: the layout completed,
    // and when they were made their state allows it.
    virtual bool IsBAUsable(ImodelModule* module) = 0;
    // The group state of the back-annotated file nodes (0 without unit).
    virtual imodelFileState GetBAFilesState(ImodelModule* module) = 0;
    // When the back-annotated files are usable: `state` becomes up to date
    // (1) at post-layout, out of date (2) before. Answers false.
    virtual bool CheckBackAnnotatedFileState(ImodelModule* module, imodelFileState& state) = 0;
    // The layout-completed and back-annotated flags of a list file; false
    // (both false) when it does not exist or cannot be read.
    virtual bool ReadFileListFlags(const ImodelFileName& fileList, bool& layoutCompleted, bool& backAnnotated) = 0;
    // ... of the unit's own database.
    virtual bool ReadModuleFileListFlags(ImodelModule* module, bool& layoutCompleted, bool& backAnnotated) = 0;
    // The view of a file: its revision context for the unit of its
    // derived-file record (null when none), the view's name and whether it
    // is the current one.
    virtual ImodelRevContextImpl* GetFileRevision(const IfileObject& file, std::string& revisionName,
                                                  bool& inCurrentRevision) = 0;

    // The file list recorded in the design database (`database`, a full
    // name) for the unit, into `out` (emptied first); 0 when it was read.
    virtual int GetAdbFileList(const ImodelFileName& database, ImodelModule* module, ImodelContextImpl* context,
                               std::deque<IfileObject>& out) = 0;

    // The flow's back-annotated file nodes (types 13 and 14); false, with
    // `nodes` empty, when the unit has no flow.
    static bool GetBAFiles(std::vector<IprocessFileObject*>& nodes, ImodelModule* module);
    // The revisions whose constraint lists wait for an update; set by
    // callers outside the library, null when none is kept.
    static std::vector<ImodelRevContextImpl*>*& GetConstraintFilesNeeded();

protected:
    ItoolPallador() : ItoolWithConstraints(idePALLADOR) {}
};

// The place-and-route tool object, for the project singleton to own.
std::unique_ptr<ItoolPallador> ItoolCreatePallador();
