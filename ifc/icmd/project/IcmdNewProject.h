// new_project: creates a project in a new folder and opens it.
//
//   new_project -location <folder> -name <name> -hdl VHDL|VERILOG -family <family> -die <die> -package <package>
//
// The folder must not exist yet. It is made with the folders the tools use
// and the first place-and-route view, the device and the default HDL are
// set, the outside tools' set-up files are written and the project file is
// saved; a project whose folders or file cannot be made is not created. An
// open project is closed (and saved) first.
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdHDLTypeArg.h"
#include "icmd/args/IcmdTCLDeviceArg.h"

#include <foundation/AcmdParam.h>

#include <memory>
#include <string>

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

    // Takes folder, name, HDL and device from the new-project wizard's model
    // (nothing for null).
    void SetParams(Imodel* wizard);

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
};

// Creates a project named `name` in the new folder `folder`; true when it
// succeeded (kept in the command history with `keep`).
bool IcmdDoNewProject(bool keep, const std::string& name, const std::string& folder, bool isVHDL,
                      const std::string& family, const std::string& die, const std::string& package);
