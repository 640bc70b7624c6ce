// Test double of the host object: records the name of every operation the
// library calls, keeps the dispatched event batches until the test delivers
// them, and answers like a host without windows or editors (the answers a
// test needs to vary are public fields). Installs itself as the host of the
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

    // The operations called, in order.
    const std::vector<std::string>& Calls() const { return m_calls; }
    // The batches handed to DispatchEvents and not delivered yet.
    const std::vector<IeventBatch>& Dispatched() const { return m_dispatched; }
    // Delivers the kept batches to the process-wide model's views, as the
    // host's event loop would, and forgets them.
    void DeliverDispatched();

    boost::shared_ptr<IIpMgrCallback> GetIpMgrCallback() override { return Record("GetIpMgrCallback", nullptr); }
    void* GetParentWindow() override { return Record("GetParentWindow", nullptr); }
    bool CopyFolder(ImodelCopyDirTool&, bool) override { return Record("CopyFolder", false); }
    void ListFolder(const ImodelFileName&, int, zorpaFileManagerTypes, std::deque<IfileObject>&,
                    std::vector<std::string>*, bool) override
    {
        Record("ListFolder");
    }
    bool LaunchesProcesses() override { return Record("LaunchesProcesses", launchesProcesses); }
    void GetToolProfileName(std::string& name, ImodelFunctionType, const std::string&) override
    {
        Record("GetToolProfileName");
        name.clear();
    }
    IprofileManager* GetProfileManager() override { return Record("GetProfileManager", nullptr); }
    bool IsFileModifiedInEditor(const ImodelFileName&) override { return Record("IsFileModifiedInEditor", false); }
    bool IsRunningScript() override { return Record("IsRunningScript", runningScript); }
    IIDEObject* GetIIDEObject() override { return Record("GetIIDEObject", nullptr); }
    void DispatchEvents(const IeventBatch& events) override
    {
        Record("DispatchEvents");
        m_dispatched.push_back(events);
    }
    bool LaunchProcess(const std::string&, const std::string&, bool, std::string*) override
    {
        return Record("LaunchProcess", false);
    }
    void ScanFiles(bool, ItimerManager*) override { Record("ScanFiles"); }
    void LockFileRemoved(const IfileObject&) override { Record("LockFileRemoved"); }
    void SchematicFilesImported(int, int) override { Record("SchematicFilesImported"); }
    void GetToolProfileOption(std::string& text, ImodelFunctionType, const std::string&) override
    {
        Record("GetToolProfileOption");
        text.clear();
    }
    void FileAdded(const IfileObject&) override { Record("FileAdded"); }
    bool CloseFileInEditor(boost::shared_ptr<IfileObjectEx>, int*, bool) override
    {
        return Record("CloseFileInEditor", true);
    }
    bool IsFileOpenInEditor(const ImodelFileName&) override { return Record("IsFileOpenInEditor", false); }
    bool ChooseParamValue(AcmdParam*, const std::string&) override { return Record("ChooseParamValue", false); }
    void PrepareConversion(IcmdReadWriteProject*, std::vector<IThreadCommand*>&, bool& hostHandlesPackages) override
    {
        Record("PrepareConversion");
        hostHandlesPackages = false;
    }
    bool ConvertProject(std::vector<IThreadCommand*>&, std::vector<Iconvert*>&, bool) override
    {
        return Record("ConvertProject", false);
    }
    void ProjectVersionRead(int, int) override { Record("ProjectVersionRead"); }
    void ListFolder(const ImodelFileName&, int, zorpaFileManagerTypes, std::deque<IfileObjectEx>&,
                    std::vector<std::string>*, bool) override
    {
        Record("ListFolder");
    }
    bool CloseDocuments(bool) override { return Record("CloseDocuments", true); }
    void DeviceChanged(const ImodelDevice&, bool) override { Record("DeviceChanged"); }
    void ProjectOpened() override { Record("ProjectOpened"); }
    void ProjectLocationChanged(const ImodelFileName&, const ImodelFileName&) override
    {
        Record("ProjectLocationChanged");
    }
    void GetOpenedFiles(std::vector<std::string>& files) override
    {
        Record("GetOpenedFiles");
        files.clear();
    }
    void ReopenFiles(const std::vector<std::string>&) override { Record("ReopenFiles"); }
    bool AskConvertProject(IcmdOpenProject*) override { return Record("AskConvertProject", false); }
    void QueueCommand(IcmdAddFileToModel*) override { Record("QueueCommand"); }

private:
    void Record(const char* operation) { m_calls.push_back(operation); }
    template <class Answer>
    Answer Record(const char* operation, Answer answer)
    {
        m_calls.push_back(operation);
        return answer;
    }

    Imodel* m_model;
    ImodelHost* m_previous;
    std::vector<std::string> m_calls;
    std::vector<IeventBatch> m_dispatched;
};
