// The place-and-route tool object. Each operation opens and frees its own
// reader of the project-file library; all state lives in the file lists
// and the model.
#pragma once

#include "imodel/names/ImodelProcess.h"
#include "itool/ItoolPallador.h"

#include <kemlet/KemletContentIf.h>

class itoolPalladorImpl : public ItoolPallador {
public:
    itoolPalladorImpl() = default;

    // --- ItoolWithConstraints ---------------------------------------------------------------
    // The list of the unit's database for the revision (made first when
    // missing), reconciled, as the project's files; false without database.
    bool GetConstraintFileList(Entries& out, ImodelModule* module, ImodelRevContextImpl* revision) override;
    // Writes the list as the database's list; a failure is told to the user
    // ("IDE_PLD_FILE_WRITTEN").
    bool SetConstraintFileList(const Entries& files, ImodelModule* module, ImodelRevContextImpl* revision) override;
    // ... with the optional files' use flags.
    bool SetConstraintFiles(const Entries& files, const ImodelOptionalFiles& optional, ImodelModule* module,
                            ImodelRevContextImpl* revision) override;
    void ConstraintFileRemoved(const IfileObject& file, ImodelModule* module, ImodelRevContextImpl* revision) override;
    // A constraint file (group 104) leaves the list of every project
    // database that names it.
    void ConstraintFileDeleted(const IfileObject& file) override;
    void GetDefaultExtensions(std::vector<std::string>& extensions) override
    {
        ImodelGetDefStrs("PALLADOR_IMPORT_CONSTRAINT_FILES", extensions);
    }
    // The unit's databases whose list names the file lose the tool's result.
    void ConstraintFileChanged(ImodelModule* module, const Entry& file, IprocessFileObject* resultNode,
                               IprocessToolObject* tool) override;
    bool GetUnitsNamingConstraintFile(const IfileObject& file, std::vector<ImodelModule*>& units) override;
    // The list of the database of `file` (the file itself, or the database
    // it derives from), as the project's files; nothing without a file.
    bool GetConstraintFileListEx(const Entry& file, Entries& out, ImodelModule* module, ImodelRevContextImpl* revision,
                                 bool flag) override;
    bool GetToolFileKind(int& kind) override
    {
        kind = 3;
        return true;
    }
    std::string GetToolKey() override { return "PALLADOR"; }

    // --- file lists (itoolPalladorFileList.cpp) ----------------------------------------------
    ReadResult ReadFileList(const ImodelFileName& adb, ImodelModule* module, ImodelRevContextImpl* revision,
                            std::deque<IfileObject>& list, KemletContentIf* content, bool strict) override;
    bool WriteFileList(const ImodelFileName& adb, const std::deque<IfileObject>& list,
                       const ImodelOptionalFiles* optional, bool clearOptional, bool force) override;
    bool EnsureFileListFile(const ImodelFileName& adb, ImodelModule* module, ImodelRevContextImpl* revision) override;
    bool RenameFileInList(const IfileObject& adb, const IfileObject& file, const Entry& renamed) override;
    bool AddVcdFiles(const ImodelFileName& adb) override;
    void ImportLinkedFiles(const ImodelFileName& adb, KemletContentIf& content) override;
    void RegisterDescriptionLinks(const IfileObject& database, const KemletContentIf& content) override;
    void RemoveFileFromList(const ImodelFileName& adb, const IfileObject& file) override;
    void RefreshFileList(const ImodelFileName& adb, ImodelModule* module, ImodelRevContextImpl* revision,
                         bool strict) override;
    bool GetFileListFromCache(const IfileObject& adb, ImodelModule* module, ImodelRevContextImpl* revision,
                              std::deque<IfileObject>& list, bool withOptional, bool strict) override;
    bool GetDefaultInputFiles(std::deque<IfileObject>& list, const std::vector<IprocessFileObject*>& nodes,
                              ImodelModule* module, ImodelRevContextImpl* revision, bool withConstraints) override;
    void GetDefaultConstraintFiles(std::deque<IfileObject>& out, ImodelModule* module,
                                   ImodelRevContextImpl* revision) override;
    // The content's records appended to `list`; with `withOptional` the
    // list is reconciled with the project's constraint files.
    void LoadFileList(const ImodelFileName& adb, const KemletContentIf& content, ImodelModule* module,
                      ImodelRevContextImpl* revision, std::deque<IfileObject>& list, bool withOptional, bool strict,
                      bool& changed);
    // The reconciliation: drops the entries the tool no longer reads and
    // adds the tool constraint files the list lacks, each at its default
    // position, sparing the optional files the user turned off.
    void UpdateConstraintFileList(const ImodelFileName& adb, ImodelModule* module, ImodelRevContextImpl* revision,
                                  std::deque<IfileObject>& list, const std::vector<KemletOptionalFile>& optional,
                                  ImodelFunctionType type, bool strict, bool& changed);
    // The records of a list: full names with their kinds.
    static std::vector<KemletFileRecord> ToRecords(const std::deque<IfileObject>& list);
    // The file kind of the records for a project file, and back.
    static int GetRecordKind(const IfileObject& file);
    static zorpaFileManagerTypes GetRecordType(const KemletFileRecord& record);

    // --- databases --------------------------------------------------------------------------
    IfileObject GetFileListFile(const IfileObject& adb) override;
    IfileObject GetAdbFileFor(const IfileObject& file) override;
    bool GetFileListString(const IfileObject& adb, std::deque<IfileObject>& list, std::string& designName) override;
    bool GetConstraintFilesOfDatabase(const IfileObject& adb, std::deque<IfileObject>& out,
                                      std::string& designName) override;
    bool GetDatabaseInputFiles(const IfileObject& database, std::deque<IfileObject>& inputs,
                               std::string& designName) override;
    bool NeedDeviceUpdate(const IfileObject& adb, const ImodelDevice& device) override;
    bool ResolveStructuralOption(const KemletContentIf* content, ImodelRevContextImpl* revision);
    bool ResolveStructuralOptions(const std::deque<ImodelModule*>* modules, std::set<ImodelModule*>* done) override;
    ImodelRevContextImpl* GetFileRevision(const IfileObject& file, std::string& revisionName,
                                          bool& inCurrentRevision) override;

    // --- back annotation ---------------------------------------------------------------------
    bool GetBAState(ImodelModule* module, imodelFileState& state);
    bool IsBAUsable(ImodelModule* module) override;
    imodelFileState GetBAFilesState(ImodelModule* module) override;
    bool CheckBackAnnotatedFileState(ImodelModule* module, imodelFileState& state) override
    {
        return GetBAState(module, state);
    }
    bool ReadFileListFlags(const ImodelFileName& fileList, bool& layoutCompleted, bool& backAnnotated) override;
    bool ReadModuleFileListFlags(ImodelModule* module, bool& layoutCompleted, bool& backAnnotated) override;
    int GetAdbFileList(const ImodelFileName& database, ImodelModule* module, ImodelContextImpl* context,
                       std::deque<IfileObject>& out) override;

private:
    // Writes the list of the unit's database for the revision, with the
    // optional files' flags when given; a failure is told to the user.
    bool StoreConstraintFileList(const Entries& files, const ImodelOptionalFiles* optional, ImodelModule* module,
                                 ImodelRevContextImpl* revision);
    // What the database's list holds, as the extended-info cache has it
    // (read on the first request); false when it cannot be read.
    bool LoadDescription(const ImodelFileName& file, KemletContentIf& content);
};
