// The host object: what the application that drives the library does for
// it (windows, editors, tool profiles, folder walks, process launches,
// deferred event delivery, project conversion). The host registers one with
// Imodel::SetHost; every caller asks Imodel::GetHost and does without it
// when it is null (batch and script use).
//
// Every operation is pure: each host states every answer itself, so that no
// answer is assumed by accident. A host without windows or editors answers
// with the neutral value (no parent window, nothing open, nothing chosen).
#pragma once

#include "ievent/Ievent.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelToolKinds.h"

#include <boost/shared_ptr.hpp>

#include <deque>
#include <string>
#include <vector>

class AcmdParam;
class IIDEObject;
class IIpMgrCallback;
class IThreadCommand;
class IcmdAddFileToModel;
class IcmdOpenProject;
class IcmdReadWriteProject;
class Iconvert;
class IfileObject;
class IfileObjectEx;
class ImodelCopyDirTool;
class ImodelDevice;
class ImodelFileName;
class IprofileManager;
class ItimerManager;

class ImodelHost {
public:
    virtual ~ImodelHost() = default;

    // The factory of the core catalogue plug-ins; may be empty.
    virtual boost::shared_ptr<IIpMgrCallback> GetIpMgrCallback() = 0;
    // The window that owns question boxes, or null.
    virtual void* GetParentWindow() = 0;
    // Copies the tool's source folder to its target, asking the tool before
    // each folder and file; true on success.
    virtual bool CopyFolder(ImodelCopyDirTool& tool, bool flag) = 0;
    // Fills `files` with the entries matching the wildcard `pattern`, as
    // files of `type`; `names`, when given, receives the entry names. With
    // `includeFolders` sub-folders are listed too. Callers pass 0 for
    // `reserved`.
    virtual void ListFolder(const ImodelFileName& pattern, int reserved, zorpaFileManagerTypes type,
                            std::deque<IfileObject>& files, std::vector<std::string>* names, bool includeFolders) = 0;
    // True when the host starts outside programs itself (LaunchProcess).
    virtual bool LaunchesProcesses() = 0;
    // The name of the current profile of a tool kind, for the profile key.
    virtual void GetToolProfileName(std::string& name, ImodelFunctionType kind, const std::string& key) = 0;
    // The tool-profile manager, or null.
    virtual IprofileManager* GetProfileManager() = 0;
    // True when the file is open in an editor with unsaved changes.
    virtual bool IsFileModifiedInEditor(const ImodelFileName& fullName) = 0;
    // True while a script runs.
    virtual bool IsRunningScript() = 0;
    // The object handed to the suite's core libraries, or null.
    virtual IIDEObject* GetIIDEObject() = 0;
    // Takes a batch of events and delivers every event of it to the views
    // later (IeventView::UpdateViews), on a thread of its choice.
    virtual void DispatchEvents(const IeventBatch& events) = 0;
    // Starts a program in `startFolder`; true when it was started. `flag`
    // and `output` are the launcher's own.
    virtual bool LaunchProcess(const std::string& commandLine, const std::string& startFolder, bool flag,
                               std::string* output) = 0;

    // The file watcher: the host enumerates the watched folders and hands
    // every file back through ItimerManager::AddFile with `toBaseline`.
    virtual void ScanFiles(bool toBaseline, ItimerManager* watcher) = 0;
    // A lock file seen before is gone.
    virtual void LockFileRemoved(const IfileObject& file) = 0;
    // A scan imported schematic or symbol files while the root is a schematic.
    virtual void SchematicFilesImported(int first, int second) = 0;
    // The profile text of a tool kind for the key (the synthesis profile
    // decides which HDL files are synthesis sources).
    virtual void GetToolProfileOption(std::string& text, ImodelFunctionType kind, const std::string& key) = 0;

    // add_file added a synthesis or physical-synthesis netlist.
    virtual void FileAdded(const IfileObject& file) = 0;
    // True when the file may go: not open in an editor, or closed by the
    // host. `answer` carries the answer of a series of questions (80: none yet).
    virtual bool CloseFileInEditor(boost::shared_ptr<IfileObjectEx> file, int* answer, bool fromDisk) = 0;
    virtual bool IsFileOpenInEditor(const ImodelFileName& fullName) = 0;
    // Lets the user choose a value of an enumerated parameter; false when
    // the user refuses.
    virtual bool ChooseParamValue(AcmdParam* parameter, const std::string& title) = 0;

    // Conversion of a project written by an older version. PrepareConversion
    // sets `hostHandlesPackages` when the host converts the packages itself;
    // ConvertProject runs the conversion (false fails the open);
    // AskConvertProject asks the conversion question (false stops the open)
    // and may set the command's backup parameters.
    virtual void PrepareConversion(IcmdReadWriteProject* headerReader, std::vector<IThreadCommand*>& commands,
                                   bool& hostHandlesPackages) = 0;
    virtual bool ConvertProject(std::vector<IThreadCommand*>& commands, std::vector<Iconvert*>& converters,
                                bool hostHandlesPackages) = 0;
    virtual void ProjectVersionRead(int major, int minor) = 0;
    // As the other ListFolder, into project member files.
    virtual void ListFolder(const ImodelFileName& pattern, int reserved, zorpaFileManagerTypes type,
                            std::deque<IfileObjectEx>& files, std::vector<std::string>* names, bool includeFolders) = 0;
    // Closes the host's documents; false refuses the close. `normalClose`
    // is false when the close follows a failed open.
    virtual bool CloseDocuments(bool normalClose) = 0;
    // Reading a project file changed the device.
    virtual void DeviceChanged(const ImodelDevice& device, bool flag) = 0;
    virtual void ProjectOpened() = 0;
    // The project file recorded another saved-in folder.
    virtual void ProjectLocationChanged(const ImodelFileName& oldFolder, const ImodelFileName& name) = 0;
    // The files open in the host's editors, and opening them again.
    virtual void GetOpenedFiles(std::vector<std::string>& files) = 0;
    virtual void ReopenFiles(const std::vector<std::string>& files) = 0;
    virtual bool AskConvertProject(IcmdOpenProject* command) = 0;
    // Takes a prepared add-file command to run later; the host owns it from then on.
    virtual void QueueCommand(IcmdAddFileToModel* command) = 0;

protected:
    ImodelHost() = default;
    ImodelHost(const ImodelHost&) = default;
    ImodelHost& operator=(const ImodelHost&) = default;
};
