#include "ConsoleHost.h"

#include "imodel/Imodel.h"

ConsoleHost::~ConsoleHost()
{
    Imodel& model = Imodel::GetInstance();
    if (Imodel::IsAlive(&model) && model.GetHost() == this) model.SetHost(nullptr);
}

ConsoleHost& ConsoleHost::GetInstance()
{
    static ConsoleHost host;
    return host;
}

// The catalogue plug-ins of the core repositories come with the
// IP-repository work; until then there is no factory to hand out.
boost::shared_ptr<IIpMgrCallback> ConsoleHost::GetIpMgrCallback() { return {}; }

// The terminal's folder copy comes with save_project_as, its first user;
// until then nothing is copied and the copy reports failure.
bool ConsoleHost::CopyFolder(ImodelCopyDirTool&, bool) { return false; }

// Folder listings fill project-file values, which come with the
// project-files work; until then nothing is listed.
void ConsoleHost::ListFolder(const ImodelFileName&, int, zorpaFileManagerTypes, std::deque<IfileObject>&,
                             std::vector<std::string>*, bool)
{
}

void ConsoleHost::ListFolder(const ImodelFileName&, int, zorpaFileManagerTypes, std::deque<IfileObjectEx>&,
                             std::vector<std::string>*, bool)
{
}

// The shell keeps no tool profiles: no profile is current.
void ConsoleHost::GetToolProfileName(std::string& name, ImodelFunctionType, const std::string&) { name.clear(); }

void ConsoleHost::GetToolProfileOption(std::string& text, ImodelFunctionType, const std::string&) { text.clear(); }

// A terminal has no event loop to defer to: the views hear of the batch now.
void ConsoleHost::DispatchEvents(const IeventBatch& events)
{
    Imodel& model = Imodel::GetInstance();
    if (Imodel::IsAlive(&model)) model.SendEvents(events, false);
}

// LaunchesProcesses is false: the library starts programs itself and never
// asks this host to.
bool ConsoleHost::LaunchProcess(const std::string&, const std::string&, bool, std::string*) { return false; }

// The scan of the watched folders comes with the file-detection work; until
// then there is nothing to hand back to the watcher.
void ConsoleHost::ScanFiles(bool, ItimerManager*) {}

// Nobody is asked at a terminal: the parameter keeps its value.
bool ConsoleHost::ChooseParamValue(AcmdParam*, const std::string&) { return false; }

// The conversion of projects written by older versions comes with the
// conversion work of open_project; until then this host cannot convert, and
// an open that needs a conversion fails.
void ConsoleHost::PrepareConversion(IcmdReadWriteProject*, std::vector<IThreadCommand*>&, bool& hostHandlesPackages)
{
    hostHandlesPackages = false;
}

bool ConsoleHost::ConvertProject(std::vector<IThreadCommand*>&, std::vector<Iconvert*>&, bool) { return false; }

// The question is asked only when no script runs, and the shell always runs
// one; should it be asked, the open stops.
bool ConsoleHost::AskConvertProject(IcmdOpenProject*) { return false; }

// Queued add-file commands come with the add-file work, which makes the
// first of them; none can reach this host before.
void ConsoleHost::QueueCommand(IcmdAddFileToModel*) {}
