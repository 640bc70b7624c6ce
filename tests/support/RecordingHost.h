// Test double of the host object: keeps the dispatched event batches until
// the test delivers them, and answers like a host without windows or editors
// (the answers a test needs to vary are public fields, or overrides). Installs itself as the host of the
// given model (the process-wide one when null) and puts the previous host
// back when it goes.
#pragma once

#include "imodel/model/ImodelHost.h"

#include <string>
#include <vector>

class Imodel;

class RecordingHost : public ImodelHost {
public:
    explicit RecordingHost(Imodel* model = nullptr);
    ~RecordingHost() override;
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;

    bool runningScript = true;
    bool launchesProcesses = false;
    bool convertProject = true;
    // What the last ConvertProject was given.
    std::vector<Iconvert*> convertedWith;
    bool convertedPackages = false;

    // The batches handed to DispatchEvents and not delivered yet.
    const std::vector<IeventBatch>& Dispatched() const { return m_dispatched; }
    // Delivers the kept batches to the process-wide model's views, as the
    // host's event loop would, and forgets them.
    void DeliverDispatched();

    boost::shared_ptr<IIpMgrCallback> GetIpMgrCallback() override { return nullptr; }
    void* GetParentWindow() override { return nullptr; }
    bool CopyFolder(ImodelCopyDirTool&, bool) override { return false; }
    void ListFolder(const ImodelFileName&, int, zorpaFileManagerTypes, std::deque<IfileObject>&,
                    std::vector<std::string>*, bool) override
    {
    }
    bool LaunchesProcesses() override { return launchesProcesses; }
    void GetToolProfileName(std::string& name, ImodelFunctionType, const std::string&) override { name.clear(); }
    IprofileManager* GetProfileManager() override { return nullptr; }
    bool IsFileModifiedInEditor(const ImodelFileName&) override { return false; }
    bool IsRunningScript() override { return runningScript; }
    IIDEObject* GetIIDEObject() override { return nullptr; }
    void DispatchEvents(const IeventBatch& events) override { m_dispatched.push_back(events); }
    bool LaunchProcess(const std::string&, const std::string&, bool, std::string*) override { return false; }
    void ScanFiles(bool, ItimerManager*) override {}
    void LockFileRemoved(const IfileObject&) override {}
    void SchematicFilesImported(int, int) override {}
    void GetToolProfileOption(std::string& text, ImodelFunctionType, const std::string&) override { text.clear(); }
    void FileAdded(const IfileObject&) override {}
    bool CloseFileInEditor(boost::shared_ptr<IfileObjectEx>, int*, bool) override { return true; }
    bool IsFileOpenInEditor(const ImodelFileName&) override { return false; }
    bool ChooseParamValue(AcmdParam*, const std::string&) override { return false; }
    void PrepareConversion(IcmdReadWriteProject*, std::vector<IThreadCommand*>&, bool& hostHandlesPackages) override
    {
        hostHandlesPackages = false;
    }
    // Runs no step of its own; answers `convertProject`.
    bool ConvertProject(std::vector<IThreadCommand*>&, std::vector<Iconvert*>& converters, bool packages) override
    {
        convertedWith = converters;
        convertedPackages = packages;
        return convertProject;
    }
    void ProjectVersionRead(int, int) override {}
    void ListFolder(const ImodelFileName&, int, zorpaFileManagerTypes, std::deque<IfileObjectEx>&,
                    std::vector<std::string>*, bool) override
    {
    }
    bool CloseDocuments(bool) override { return true; }
    void DeviceChanged(const ImodelDevice&, bool) override {}
    void ProjectOpened() override {}
    void ProjectLocationChanged(const ImodelFileName&, const ImodelFileName&) override {}
    void GetOpenedFiles(std::vector<std::string>& files) override { files.clear(); }
    void ReopenFiles(const std::vector<std::string>&) override {}
    bool AskConvertProject(IcmdOpenProject*) override { return false; }
    void QueueCommand(IcmdAddFileToModel*) override {}

private:
    Imodel* m_model;
    ImodelHost* m_previous;
    std::vector<IeventBatch> m_dispatched;
};
