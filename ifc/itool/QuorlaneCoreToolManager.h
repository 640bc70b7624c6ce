// The manager of one kind of core tool, found by the file type of the core
// files it owns. The project model owns a list of them.
#pragma once

#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelToolKinds.h"

#include <ktcore/DesignBase.h>

#include <boost/shared_ptr.hpp>

#include <string>
#include <utility>

class IfileObject;
class IfileObjectEx;
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
    // The root element of its SPIRIT files.
    virtual const char* GetXmlSPIRITNode() = 0;
    // Brings the tool's databases to the project's current device; false
    // when the tool refuses the device.
    virtual bool UpdateDataBase() = 0;
    // Opens the tool's own window; false when it has none to open.
    virtual bool OpenTool() = 0;
    // Opens the core that the file defines; false when the tool cannot.
    virtual bool OpenCore(const IfileObject& file) = 0;
    // Imports the core file into the tool's workspace, giving the name the
    // core has there; false when it was not imported.
    virtual bool ImportCore(const IfileObject& file, ImodelFileName& newName) = 0;
    // Takes the core the file defines out of the tool (`fromDisk`: its files
    // too); false when the tool keeps it.
    virtual bool RemoveCore(const IfileObjectEx& file, bool fromDisk) = 0;
    // Brings the core file's core into the project (its files and units);
    // add_file asks it outside a project read and keeps the core file only
    // when it answers true.
    virtual bool AddCoreToProject(const IfileObject& coreFile) = 0;
    // Reads the core of a core file the project holds again over the
    // project's entries, as an open reads it (its sources parsed as the
    // core's, the unit it stands for made anew), after one of its files
    // changed on disk; false when the tool reads no core so.
    virtual bool ReadCoreAgain(const IfileObject& coreFile);
    // Whether a project holds at most one core of the tool.
    virtual bool OnlyOneCorePerProject() = 0;
    // Whether a core's files come in read-only.
    virtual bool ImportCoreFilesInReadOnly() = 0;
    // Brings the cores of an older project generation into the tool; false
    // when they could not be.
    virtual bool ImportOldCores() = 0;
    // Brings the tool's database of a project written by the version
    // major.minor to the current layout; false when it cannot.
    virtual bool ConvertDataBase(int major, int minor) = 0;
    virtual void SaveNewWorkspaceTimeStamp() = 0;
    // Checks the tool's cores against the project (after the time stamp was
    // saved) and adds what the project lacks; true when the check ran.
    virtual bool CheckNewCoresCreated() = 0;
    // Adds the tool's cores to the project again.
    virtual void Refresh() = 0;
    // Starts the tool for the open project (`skipAudit`: without checking
    // its cores first); false when it cannot start.
    virtual bool StartTool(bool skipAudit) = 0;
    virtual bool StopTool() = 0;
    // The tool's status of the core the file defines: (false, a default
    // status) when the tool keeps none.
    virtual std::pair<bool, Brndesign::CoreStatus> GetCoreState(boost::shared_ptr<IfileObjectEx> file);

protected:
    QuorlaneCoreToolManager() = default;
    QuorlaneCoreToolManager(const QuorlaneCoreToolManager&) = delete;
    QuorlaneCoreToolManager& operator=(const QuorlaneCoreToolManager&) = delete;
};
