// The manager of one kind of core tool, found by the file type of the core
// files it owns. The project model owns a list of them.
#pragma once

#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelToolKinds.h"

#include <string>

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
