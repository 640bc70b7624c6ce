// new_project, save_project and close_project (open_project stands with
// the interfaces: the host and the core tools reach it).
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/IcmdHDLTypeArg.h"
#include "icmd/IcmdOpenProject.h"
#include "icmd/IcmdTCLDeviceArg.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelFileName.h"

#include <foundation/AcmdParam.h>

#include <memory>
#include <string>
#include <vector>

class Iconvert;
class IcmdReadWriteProject;
class IcmdReadWriteProjectImpl;
class Imodel;

// A project name names one folder entry and stands in the project file:
// no separator, no "." or "..", no control character, no double quote.
bool IcmdIsValidProjectName(const std::string& name);
// A project location is a folder path that stands in the project file
// between double quotes: not empty, no double quote, no line break.
bool IcmdIsValidProjectLocation(const std::string& folder);

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

class IcmdSaveProject : public IcmdBase {
public:
    IcmdSaveProject() : IcmdBase(false) {}

    std::string GetName() const override { return "save_project"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdSaveProject>(); }
    AcmdEnum::Result execDo() override;
    void SetOpenedFiles(std::vector<std::string>* files) { m_openedFiles = files; }

private:
    std::vector<std::string>* m_openedFiles = nullptr;
};

class IcmdCloseProject : public IcmdBase {
public:
    IcmdCloseProject();
    ~IcmdCloseProject() override;

    std::string GetName() const override { return "close_project"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdCloseProject>(); }
    // The close that follows a failed open runs while the project is not
    // open yet.
    bool NeedProjectOpenedToExecute() const override { return m_normalClose; }
    AcmdEnum::Result execDo() override;

    // No save, no message, and the host is told the close is not a normal one.
    void SetCloseBecauseOpenProjectFailed();
    // Empties the model back to no project, without events or messages of its own.
    static void CloseModel();

    AcmdBoolParam save;

private:
    bool m_normalClose = true;
};
