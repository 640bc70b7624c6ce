// new_project, open_project, save_project and close_project.
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/IcmdHDLTypeArg.h"
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

class IcmdOpenProject : public IcmdBase {
public:
    IcmdOpenProject();
    ~IcmdOpenProject() override;

    std::string GetName() const override { return "open_project"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdOpenProject>(); }
    bool NeedProjectOpenedToExecute() const override { return false; }
    std::string GetStatus() const override { return "Opening project"; }
    // "open_project <path>": a single word is the file.
    AcmdEnum::Result ParseArgs(const std::vector<std::string>& args) override;
    AcmdEnum::Result checkParams() override;
    AcmdEnum::Result execDo() override;
    void ThreadExecutionEpilog(AcmdEnum::Result& result) override;

    void SetProjectFileName(const ImodelFileName& file);
    void SetRemoveAllLinks(bool removeAll) { m_removeAllLinks = removeAll; }

    // Version tests on a project's version.
    static bool IsPre_RevStructFlowSupported(int major, int minor) { return major < 6 || (major == 6 && minor < 2); }
    static bool IsPre_Kiltora(int major, int) { return major < 7; }

    AcmdFileNameParam file;

private:
    AcmdEnum::Result do_execDo();
    void SetThePlace();
    // Reads the header and decides on conversion; false refuses the open.
    AcmdEnum::Result Prepare(std::vector<Iconvert*>& converters);
    bool PrepareConvertProject(IcmdReadWriteProject* header, std::vector<Iconvert*>& converters);
    bool DoConvertProject(std::vector<Iconvert*>& converters);
    void ReaddModifiedFiles();

    bool m_removeAllLinks = false;
    bool m_needsConversion = false;
    int m_projectMajor = -1;
    int m_projectMinor = -1;
    std::unique_ptr<IcmdReadWriteProjectImpl> m_reader;
    std::unique_ptr<Imodel::BlockGUIObject> m_drawingBlocker;
};
