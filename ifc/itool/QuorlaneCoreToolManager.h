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

protected:
    QuorlaneCoreToolManager() = default;
    QuorlaneCoreToolManager(const QuorlaneCoreToolManager&) = delete;
    QuorlaneCoreToolManager& operator=(const QuorlaneCoreToolManager&) = delete;
};
