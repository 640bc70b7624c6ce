// open_project: closes the open project, reads the header of the project
// file and decides from its version whether the project opens as it is, is
// refused, or is converted first (the question, the backup of the project
// file or a zip archive of the project folder, the converters and the
// host's conversion), reads the whole file, brings the project folders and
// the outside tools' set-up files up to date, announces the project, takes
// in the files changed on disk since the last save and saves once.
//
// In zip mode (the option IDE_CREATE_ZIP_ON_CONVERT_ENABLED reads 1 when the
// command is made) the command has two more parameters, for the archive,
// and the conversion questions are asked in the prolog, before execDo.
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/IcmdVisitor.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelFileName.h"
#include "imodel/names/ImodelProjectVersions.h"

#include <foundation/AcmdParam.h>

#include <memory>
#include <string>
#include <vector>

class Iconvert;
class IThreadCommand;
class IcmdReadWriteProject;
class IcmdReadWriteProjectImpl;

// The version tests (IsPre_Kiltora, ...) are the model's: the tools' own
// conversions ask them too; the command answers them as its own.
class IcmdOpenProject : public IcmdBase, public ImodelProjectVersions {
public:
    IcmdOpenProject();
    ~IcmdOpenProject() override;

    std::string GetName() const override { return "open_project"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdOpenProject>(); }
    bool NeedProjectOpenedToExecute() const override { return false; }
    std::string GetStatus() const override { return "Opening project"; }
    // A host that treats opening a project apart recognises the command so.
    void Accept(IcmdVisitor& visitor) override { visitor.Visit(*this); }
    // "open_project <path>": a single word is the file.
    AcmdEnum::Result ParseArgs(const std::vector<std::string>& args) override;
    AcmdEnum::Result checkParams() override;
    // In zip mode: the place of the project, the header and the conversion
    // questions.
    void ThreadExecutionProlog(AcmdEnum::Result& result) override;
    AcmdEnum::Result execDo() override;
    void ThreadExecutionEpilog(AcmdEnum::Result& result) override;

    void SetProjectFileName(const ImodelFileName& file);
    void SetRemoveAllLinks(bool removeAll) { m_removeAllLinks = removeAll; }
    // The browse filter of the archive name; "" outside zip mode.
    std::string GetBrowseFilter() const;
    // Whether the archive may be written: true without a backup, or when no
    // file holds its name, else the user's answer to replacing that file.
    bool ValidateBackupOptions();
    // An empty archive name becomes the project folder's name with ".zip",
    // beside the project folder (/work/alu/alu.prj gives /work/alu.zip).
    void SetDefaultZipPath();

    // The converters the open chose, in their order; empty while none.
    const std::vector<Iconvert*>& GetConverters() const { return m_converterList; }

    AcmdFileNameParam file;
    // Zip mode only.
    std::unique_ptr<AcmdBoolParam> do_backup_on_convert;
    std::unique_ptr<AcmdFileNameParam> backup_file;

private:
    AcmdEnum::Result do_execDo();
    void SetThePlace();
    // Reads the header and decides on conversion; a refusal closes the model.
    AcmdEnum::Result Prepare();
    bool PrepareConvertProject(IcmdReadWriteProject* header);
    bool DoConvertProject();
    bool WriteBackupArchive();
    void AddConverter(std::unique_ptr<Iconvert> converter);
    void DestroyConverters();
    void ReaddModifiedFiles();

    bool m_zipMode = false;
    bool m_removeAllLinks = false;
    bool m_needsConversion = false;
    bool m_convertPackages = false;
    bool m_prepared = false;
    int m_projectMajor = -1;
    int m_projectMinor = -1;
    std::vector<std::unique_ptr<Iconvert>> m_converters;
    // The same converters as the readers and the host take them.
    std::vector<Iconvert*> m_converterList;
    // The host's own steps of the conversion; the host owns them.
    std::vector<IThreadCommand*> m_threadCommands;
    std::unique_ptr<IcmdReadWriteProjectImpl> m_reader;
    std::unique_ptr<Imodel::BlockGUIObject> m_drawingBlocker;
};

// Opens the project file (made absolute); `removeAllLinks` goes to the file
// manager while it reads its file list. True when it succeeded (kept in the
// command history with `keep`).
bool IcmdDoOpenProject(const char* file, bool keep, bool removeAllLinks);
