// new_project: creates a project in a new folder and opens it.
//
//   new_project -location <folder> -name <name> -hdl VHDL|VERILOG -family <family> -die <die> -package <package>
//
// The folder must not exist yet. It is made with the folders the tools use
// and the first place-and-route view, the device and the default HDL are
// set, the outside tools' set-up files are written and the project file is
// saved; a project whose folders or file cannot be made is not created. An
// open project is closed (and saved) first.
//
// Run from the new-project wizard, the command then imports the files the
// wizard collected (import_files) and links those it marked as links
// (create_links), in the order of the design flow. A file that cannot be
// imported or linked is reported; the project stays created and open.
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdHDLTypeArg.h"
#include "icmd/args/IcmdTCLDeviceArg.h"
#include "ifile/IfileObjectEx.h"

#include <foundation/AcmdParam.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

class Imodel;
class ImodelFileName;

class IcmdNewProject : public IcmdBase {
public:
    IcmdNewProject();
    ~IcmdNewProject() override;

    std::string GetName() const override { return "new_project"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdNewProject>(); }
    bool NeedProjectOpenedToExecute() const override { return false; }
    AcmdEnum::Result checkParams() override;
    AcmdEnum::Result execDo() override;

    // Takes folder, name, HDL and device from the new-project wizard's model,
    // and every file of its file manager in flow order: those marked to be
    // imported as links go to the link list, the others to the import list
    // (nothing for null).
    void SetParams(Imodel* wizard);
    const std::deque<IfileObjectEx>& GetImportList() const { return m_importList; }
    const std::deque<IfileObjectEx>& GetLinkList() const { return m_linkList; }

    // Appends this command, then the import commands it ran, in their
    // order; false when `out` is still empty.
    bool GetInnerCmds(std::vector<AcmdBase*>& out);

    // Creates the project's sub-folders under `folder` (the project folder
    // when empty), stopping at the first that fails (told to the user), and
    // the first place-and-route view when the project has none.
    static bool CreateAllSubDirectories(const ImodelFileName& folder);
    // Makes sure the folder `folder`/`name` exists; false, told, when it cannot be made.
    static bool DoCreateProjectFolder(const char* folder, const char* name);

    AcmdFolderNameParam location;
    AcmdStringParam name;
    IcmdHDLTypeArg hdl;
    IcmdTCLDeviceArg device;

protected:
    // Runs an import command on the new project, with the model not marked
    // as reading a project meanwhile (the flow hears of the files), and
    // keeps it as an inner command; nothing for null.
    virtual void ExecuteImportCmd(std::unique_ptr<AcmdBase> command);

private:
    std::deque<IfileObjectEx> m_importList;
    std::deque<IfileObjectEx> m_linkList;
    std::vector<std::unique_ptr<AcmdBase>> m_innerCmds;
};

// Creates a project named `name` in the new folder `folder`; true when it
// succeeded (kept in the command history with `keep`).
bool IcmdDoNewProject(bool keep, const std::string& name, const std::string& folder, bool isVHDL,
                      const std::string& family, const std::string& die, const std::string& package);
// The same with the choices and the files that the new-project wizard's
// model (Imodel::CreateNewProjectWizardInstance) holds; the caller keeps the
// model.
bool IcmdDoNewProject(bool keep, Imodel& wizard);
