// The manager of one kind of core tool, found by the file type of the core
// files it owns. The project model owns a list of them.
#pragma once

#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelToolKinds.h"

#include <string>

class IfileObject;
class ImodelFileName;

class QuorlaneCoreToolManager {
public:
    virtual ~QuorlaneCoreToolManager() = default;

    // The file type of the core files it owns.
    virtual zorpaFileManagerTypes GetCoreType() = 0;
    // The flow tool kind it stands for.
    virtual ImodelFunctionType GetToolType() = 0;
    // The tool's display name.
    virtual std::string GetToolName() = 0;
    // Brings the tool's databases to the project's current device; false
    // when the tool refuses the device.
    virtual bool UpdateDataBase() = 0;
    // Imports the core file into the tool's workspace, giving the name the
    // core has there; false when it was not imported. A tool without a
    // workspace of its own imports nothing.
    virtual bool ImportCore(const IfileObject& file, ImodelFileName& newName);
    // Brings the tool's database of a project written by the version
    // major.minor to the current layout; false when it cannot. A tool that
    // keeps no database has nothing to convert.
    virtual bool ConvertDataBase(int major, int minor);
    virtual void SaveNewWorkspaceTimeStamp() = 0;
    // Checks the tool's cores against the project (after the time stamp was
    // saved) and reports what it finds; true when the check ran.
    virtual bool CheckNewCoresCreated() = 0;
    // Adds the tool's cores to the project again.
    virtual void Refresh() = 0;

    // Whether the core file may become a member of the project (add_file
    // asks outside a project read). A manager that keeps no list of its
    // own takes every core file.
    virtual bool AddCoreToProject(const IfileObject& /*coreFile*/) { return true; }
    // Imports a core file given from outside the project (import_files),
    // under `newName` when that is not empty; true when imported. A manager
    // that imports no core files refuses each one.
    virtual bool ImportCore(const IfileObject& /*coreFile*/, const ImodelFileName& /*newName*/) { return false; }
    // Whether a project holds at most one core of the tool.
    virtual bool OnlyOneCorePerProject() { return false; }

protected:
    QuorlaneCoreToolManager() = default;
    QuorlaneCoreToolManager(const QuorlaneCoreToolManager&) = delete;
    QuorlaneCoreToolManager& operator=(const QuorlaneCoreToolManager&) = delete;
};
