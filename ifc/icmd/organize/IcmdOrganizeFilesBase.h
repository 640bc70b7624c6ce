// The base of the commands that set the ordered list of files one module
// passes to one tool (organize_sources, organize_constraints,
// associate_stimulus) and of their self-test commands:
//
//   <command> [-file <path> ...] [-mode new|add|remove] ...
//
// The named files change the current list by mode: "new" (the default)
// keeps what the command must keep (UpdateActualListForNew) and appends the
// named files in their order; "add" puts each named file not yet listed at
// its default position; "remove" takes out the named files the command lets
// go. A file is listed once, however often it is named. Before anything
// changes, every named file that cannot be associated is reported, each
// followed by the files that can be ("remove" names files to drop and
// checks none). The concrete command says which files are current and
// allowed and stores the new list in the model.
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdTCLFileArg.h"
#include "imodel/names/ImodelToolKinds.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"

#include <foundation/AcmdParam.h>

#include <boost/shared_ptr.hpp>

#include <memory>
#include <string>
#include <vector>

class IfileObjectEx;
class ImodelModule;
class IcmdOrganizeFilesVisitor;

class IcmdOrganizeFilesBase : public IcmdBase {
public:
    using Entry = boost::shared_ptr<IfileObjectEx>;
    using Entries = std::vector<Entry>;

    enum ModifyMode : int { New = 0, Add = 1, Remove = 2 };

    // A self-test command has no `mode` and takes files outside the
    // project too (they name the expected list).
    explicit IcmdOrganizeFilesBase(bool selfTest);
    ~IcmdOrganizeFilesBase() override;

    using IcmdBase::Accept;
    virtual void Accept(IcmdOrganizeFilesVisitor& visitor) = 0;
    // The list as the model holds it now.
    virtual void GetCurrentFileList(Entries& out, bool forTest) = 0;
    // The list the suite works out when the user has not organized it.
    virtual void GetDefaultFileList(Entries& out) = 0;
    virtual bool IsUsingDefaultList() = 0;
    // The files that may be named.
    virtual void GetAllowedFileList(Entries& out) = 0;
    // The allowed file stored under exactly the name of `file`, found
    // without making the whole allowed list; empty when only the list can
    // tell (so by default). Lets a command naming one file of a large
    // project check it at the cost of one lookup.
    virtual Entry FindAllowedFile(const Entry& file);
    // Stores the new list with the use states of the tool's optional files;
    // false when it could not be stored.
    virtual bool ApplyNewFileList(const Entries& list, const ImodelOptionalFiles& optional) = 0;
    // Whether the file may leave the list; unless `silent`, a refusal is
    // told to the user.
    virtual bool CanBeRemoved(const Entry& file, bool silent) = 0;
    virtual void GetOptionalFileList(Entries list, ImodelOptionalFiles& out) = 0;
    // What the refusal of a file names as its target.
    virtual std::string GetAssociateToWhat() = 0;
    // Prunes the current list before the named files come in ("new").
    virtual void UpdateActualListForNew(Entries& current, const Entries& requested) = 0;
    virtual ImodelModule* GetModule() const = 0;
    virtual bool IsNewFileListValid(const Entries& list, void* context) = 0;
    virtual ImodelFunctionType GetToolType() const = 0;
    // The tool's keyword with a capital ("DAVIRI" for physical synthesis).
    virtual std::string GetToolNameForDialog();
    // Whether the command has a `use_default` parameter.
    virtual void GetCommonInfoForDialog(bool& hasUseDefault);
    // Whether the suite's own list is used unless the user says otherwise:
    // always without `use_default`, else its default.
    virtual bool UseSolvatoListByDefault();
    // Nothing for a command without `use_default`.
    virtual void SetUseDefaultParam(bool useDefault);

    // In-process callers (the host's dialog) set the parameters here.
    void SetMode(ModifyMode mode);
    void SetFilesParam(const Entries& files);
    // Inserts the file at its default position for the module.
    void AddFileToList(Entries& list, const Entry& file);

    // Fails without a module ("ORGANIZE_NO_MODULE"), and for each named
    // file that cannot be associated (unless the mode is "remove").
    AcmdEnum::Result checkParams() override;
    // Merges the named files into the current list and stores the result.
    AcmdEnum::Result execDo() override;

protected:
    IcmdTCLFileArg& GetFileArg() { return m_file; }
    bool HasUseDefaultParam() const { return m_useDefault != nullptr; }
    // The value of `use_default`; true without the parameter.
    bool GetUseDefault() const;
    // Made by organize_sources alone.
    void CreateUseDefaultParam();

private:
    ModifyMode GetMode() const;
    // Whether every named file was found allowed one by one
    // (FindAllowedFile): then none is refused and the allowed list is not
    // made. False when no file is named.
    bool AllNamedFilesFoundAllowed();
    // The current list merged with the named files by mode, each file once.
    Entries Merge(ModifyMode mode, const Entries& current, const Entries& requested);

    IcmdTCLFileArg m_file;
    std::unique_ptr<AcmdEnumParam<ModifyMode>> m_mode;
    std::unique_ptr<AcmdBoolParam> m_useDefault;
};

// The self-test commands' comparison: success when `current` names the
// files of `expected` in their order (a file named twice counts once);
// otherwise "SCRIPT_TCL_TEST_LIST_FAILED" with both lists, and failure.
AcmdEnum::Result IcmdDoCompare(const char* name, const IcmdOrganizeFilesBase::Entries& current,
                               IcmdTCLFileArg& expected);
