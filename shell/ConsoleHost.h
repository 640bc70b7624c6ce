// The host object of the quorlane shell: what a terminal can do for the
// library. It has no windows and no editors, runs scripts, delivers event
// batches at once, keeps what a project hands it to keep (its tool profiles
// and its list of files open in editors), and its core browser lists the
// suite's core catalogue.
#pragma once

#include "imodel/model/ImodelHost.h"
#include "imodel/model/QuorlaneCallBack.h"

#include "ConsoleProfileManager.h"
#include "ievent/IeventView.h"

#include <string>
#include <vector>

class ConsoleHost : public ImodelHost {
public:
    ConsoleHost();
    // Leaves the model without a host when it is the model's host.
    ~ConsoleHost() override;

    // The shell's core browser: it lists the suite's core catalogue.
    boost::shared_ptr<IIpMgrCallback> GetIpMgrCallback() override;
    void* GetParentWindow() override { return nullptr; }
    bool CopyFolder(ImodelCopyDirTool& tool, bool flag) override;
    void ListFolder(const ImodelFileName& pattern, int reserved, zorpaFileManagerTypes type,
                    std::deque<IfileObject>& files, std::vector<std::string>* names, bool includeFolders) override;
    // The shell starts outside programs itself (LaunchProcess).
    bool LaunchesProcesses() override { return true; }
    void GetToolProfileName(std::string& name, ImodelFunctionType kind, const std::string& key) override;
    IprofileManager* GetProfileManager() override { return &m_profiles; }
    bool IsFileModifiedInEditor(const ImodelFileName&) override { return false; }
    bool IsRunningScript() override { return true; }
    // The callback object through which the core libraries reach the project.
    IIDEObject* GetIIDEObject() override { return &m_ideObject; }
    void DispatchEvents(const IeventBatch& events) override;
    // Runs the command line (program and arguments, double quotes grouping
    // words) in `startFolder` and waits for it: a script's next command may
    // need what the program made. With `output` the program answers a
    // question: what it writes (standard output and error, trailing line
    // ends dropped) comes back there, and a program that has not ended
    // within IDE_TOOL_TIME_LIMIT_MS milliseconds (10000 when unset) is
    // stopped, with its children. True when it ran and exited with 0; a
    // program that was stopped or failed is reported.
    bool LaunchProcess(const std::string& commandLine, const std::string& startFolder, bool flag,
                       std::string* output) override;

    void ScanFiles(bool toBaseline, ItimerManager* watcher) override;
    void LockFileRemoved(const IfileObject&) override {}
    void SchematicFilesImported(int, int) override {}
    void GetToolProfileOption(std::string& text, ImodelFunctionType kind, const std::string& key) override;

    void FileAdded(const IfileObject&) override {}
    // The shell's editors are those the project recorded as open: closing a
    // file takes it off that list.
    bool CloseFileInEditor(boost::shared_ptr<IfileObjectEx> file, int* answer, bool fromDisk) override;
    bool IsFileOpenInEditor(const ImodelFileName& fullName) override;
    bool ChooseParamValue(AcmdParam* parameter, const std::string& title) override;

    void PrepareConversion(IcmdReadWriteProject* headerReader, std::vector<IThreadCommand*>& commands,
                           bool& hostHandlesPackages) override;
    bool ConvertProject(std::vector<IThreadCommand*>& commands, std::vector<Iconvert*>& converters,
                        bool hostHandlesPackages) override;
    void ProjectVersionRead(int, int) override {}
    void ListFolder(const ImodelFileName& pattern, int reserved, zorpaFileManagerTypes type,
                    std::deque<IfileObjectEx>& files, std::vector<std::string>* names, bool includeFolders) override;
    bool CloseDocuments(bool) override { return true; }
    void DeviceChanged(const ImodelDevice&, bool) override {}
    void ProjectOpened() override {}
    // Carries the place-and-route lists of a project opened in another
    // folder than it was saved in over to the files of the project's folder.
    void ProjectLocationChanged(const ImodelFileName& oldFolder, const ImodelFileName&) override;
    // The editor files of the project, as its file recorded them.
    void GetOpenedFiles(std::vector<std::string>& files) override { files = m_openedFiles; }
    void ReopenFiles(const std::vector<std::string>& files) override { m_openedFiles = files; }
    bool AskConvertProject(IcmdOpenProject* command) override;
    void QueueCommand(IcmdAddFileToModel* command) override;

    // The shell's one host object.
    static ConsoleHost& GetInstance();
    // Has the watcher check the open project's folders for new and changed
    // files, when file detection is on and nothing blocks it; first takes
    // the descriptions pre-read into their cache.
    static void CheckFiles();
    // Runs CheckFiles every IDE_TIMER_INTERVAL milliseconds (2000 by
    // default) from Tcl's event loop of the calling thread: at the prompt,
    // and while a script waits in vwait, update or after; never in the
    // middle of a command.
    static void StartWatching();

private:
    // What the host keeps of a project goes when the project is closed.
    // It says it hears that event only: a raiser may then leave out the
    // events nobody else hears (a unit's removal at every unit of a closed
    // project).
    class ProjectClosedView : public IeventView {
    public:
        explicit ProjectClosedView(ConsoleHost& host)
            : IeventView(nullptr, IeventHeardBy<ProjectClosedView>()), m_host(host)
        {
        }
        void UpdateView(const IeventProjectClosed&) override;

    private:
        ConsoleHost& m_host;
    };

    QuorlaneCallBack::QuorlaneIIDEObject m_ideObject;
    ConsoleProfileManager m_profiles;
    std::vector<std::string> m_openedFiles;
    ProjectClosedView m_projectClosedView{*this};
    boost::shared_ptr<IIpMgrCallback> m_ipCallback;
};
