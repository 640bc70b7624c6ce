// open_project: the header, the full read under the progress meter (the
// conversion of older projects stands in IcmdOpenProjectConversion.cpp), the
// project folders, the announcements, the files changed on disk since the
// last save, and the save that follows every open.
#include "icmd/project/IcmdOpenProject.h"

#include "icmd/IcmdDoCommand.h"
#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/project/IcmdCloseProject.h"
#include "icmd/project/IcmdNewProject.h"
#include "icmd/project/IcmdSaveProject.h"
#include "icmd/scan/IcmdParseFile.h"
#include "iconvert/Iconvert.h"
#include "ievent/IeventClasses.h"
#include "ifile/IfileExtendedInfoManager.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileProjectOpening.h"
#include "ifile/IfileReadAhead.h"
#include "ifile/IfileSeenStatuses.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFreeLater.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "iprocess/IprocessManager.h"
#include "itimer/ItimerManager.h"
#include "itool/ItoolCoreTools.h"
#include "itool/ItoolModelSimPathOptions.h"
#include "itool/ItoolPallador.h"
#include "itool/ItoolSetupFiles.h"
#include "itool/QuorlaneCoreToolManager.h"
#include "src/icmd/project/IcmdOpenProjectQueue.h"
#include "src/icmd/project/IcmdProjectMeter.h"
#include "src/icmd/project/IcmdReadWriteProjectImpl.h"

#include <foundation/AcmdManager.h>
#include <foundation/Def.h>
#include <foundation/Dvchk.h>
#include <foundation/Sys.h>
#include <zorpa/ZorpaModule.h>

#include <optional>
#include <set>

namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

}  // namespace

IcmdOpenProject::IcmdOpenProject()
    : IcmdBase(true), file("file", this, AcmdValueType::Single(), true, "project file", std::string()),
      m_zipMode(ImodelCreateZipOnConvert())
{
    if (!m_zipMode) return;
    do_backup_on_convert = std::make_unique<AcmdBoolParam>("do_backup_on_convert", this, AcmdValueType::Single(), false,
                                                           true, "backup project before converting");
    backup_file = std::make_unique<AcmdFileNameParam>("backup_file", this, AcmdValueType::Single(), false,
                                                      "backup archive file name", std::string());
    backup_file->AddFilter("ZIP File", {"zip"});
    backup_file->SetAcceptsEmptyText(false);
}

IcmdOpenProject::~IcmdOpenProject() = default;

void IcmdOpenProject::SetProjectFileName(const ImodelFileName& name)
{
    file.SetObject(SysGetQualifiedPath(name.GetString()));
}

AcmdEnum::Result IcmdOpenProject::ParseArgs(const std::vector<std::string>& args)
{
    const AcmdEnum::Result parsed = IcmdBase::ParseArgs(args);
    // "-file" alone is the option without its value, not a project file's
    // name; a word the parse refused for its NUL names no file either.
    const std::string& word = args.size() == 1 ? args.front() : std::string();
    if (args.size() != 1 || word.find('\0') != std::string::npos ||
        (word.starts_with('-') && FindParam(word.substr(1)) != nullptr))
        return parsed;
    file.SetValueTexts(args);
    return AcmdEnum::Success;
}

namespace {

// A project file reached through a symbolic link is opened where it lies:
// its members are named from its own folder, and taken from the link's
// folder they would all be missing, and dropped by the open's save.
std::string ProjectFileBehindLink(const std::string& name)
{
    const std::size_t slash = name.rfind(SysGetDirChar());
    if (slash == std::string::npos) return name;
    const std::string real = SysGetRealPath(name);
    const std::string realFolder = SysGetRealPath(slash == 0 ? name.substr(0, 1) : name.substr(0, slash));
    if (real.empty() || realFolder.empty()) return name;
    const std::string separator = realFolder.ends_with(SysGetDirChar()) ? "" : std::string(1, SysGetDirChar());
    const std::string inFolder = realFolder + separator + name.substr(slash + 1);
    return real == inFolder || !real.ends_with(".prj") ? name : real;
}

}  // namespace

AcmdEnum::Result IcmdOpenProject::checkParams()
{
    const std::string name = AcmdGetFullPath(file.GetObject(), AcmdManager::GetInstance().GetCurrentFolder());
    if (!UtlDoesFileExist(name)) {
        ImodelDisplayPROJECT_NOT_FOUND_MSG(name.c_str());
        return AcmdEnum::Failure;
    }
    if (!name.ends_with(".prj")) {
        ImodelDisplayPROJECT_FILE_NOT_PRJ_MSG(name.c_str());
        return AcmdEnum::Failure;
    }
    file.SetObject(ProjectFileBehindLink(name));
    if (do_backup_on_convert && backup_file && do_backup_on_convert->GetObject()) SetDefaultZipPath();
    if (Design().IsProjectOpen() && !IcmdDoCloseProject(false, false)) return AcmdEnum::Failure;
    return AcmdEnum::Success;
}

void IcmdOpenProject::SetThePlace()
{
    const std::string path = file.GetObject();
    const std::size_t slash = path.rfind(SysGetDirChar());
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
    std::string title = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = title.rfind('.');
    if (dot != std::string::npos && dot > 0) title.erase(dot);
    ImodelDesignManager& design = Design();
    design.SetProjectFolder(ImodelFileName(folder));
    design.SetProjectName(ImodelFileName(title));
    if (!ImodelIsValidPathName(title) || !ImodelIsValidPathName(folder)) ImodelDisplayINVALIDCHAR_MSG();
}

AcmdEnum::Result IcmdOpenProject::Prepare()
{
    DestroyConverters();
    m_threadCommands.clear();
    IcmdReadWriteProjectImpl header(ideProjectFileHeader, Design().GetProjectFileStream(), m_converterList, nullptr,
                                    false);
    if (header.Do(0, 100) != AcmdEnum::Success) return AcmdEnum::Failure;
    if (PrepareConvertProject(&header)) return AcmdEnum::Success;
    DestroyConverters();
    IcmdCloseProject::CloseModel();
    return AcmdEnum::Failure;
}

void IcmdOpenProject::ThreadExecutionProlog(AcmdEnum::Result& result)
{
    IcmdBase::ThreadExecutionProlog(result);
    if (!m_zipMode || result != AcmdEnum::Success) return;
    m_prepared = true;
    try {
        SetThePlace();
        Design().ResetProjectFileStream(true);
        Design().Reset();
        result = Prepare();
    } catch (...) {
        ImodelDisplayINTERNAL_ERROR_OPEN_PRJ_MSG(file.GetObject().c_str());
        result = AcmdEnum::Failure;
    }
    // execDo does not run after a refusal: nothing of the project may stay.
    if (result != AcmdEnum::Success) {
        DestroyConverters();
        IcmdCloseProject::CloseModel();
    }
}

AcmdEnum::Result IcmdOpenProject::execDo()
{
    // The project closed before may still be being freed: reading a design
    // meanwhile would hold both in memory and make the two threads contend
    // for the allocator, slower than freeing first.
    ImodelWaitForFreedMemory();
    const IcmdProjectMeter meter("Opening project");
    const unsigned started = ImodelStartLongProcess("Opening Project");
    AcmdEnum::Result result = AcmdEnum::Failure;
    try {
        result = do_execDo();
    } catch (...) {
        ImodelDisplayINTERNAL_ERROR_OPEN_PRJ_MSG(file.GetObject().c_str());
        DefSetBool("IDE_OPEN_MRU_PROJECT", false);
        DefFlush();
        result = AcmdEnum::Failure;
    }
    if (result != AcmdEnum::Success) {
        m_reader.reset();
        DestroyConverters();
        if (!Design().GetProjectFolder().empty() || Design().HasProjectFileStream()) IcmdDoCloseProject(false, true);
        m_drawingBlocker.reset();
        Imodel::BlockProcessDisplay(false, true);
    }
    ImodelEndLongProcess(started);
    return result;
}

AcmdEnum::Result IcmdOpenProject::do_execDo()
{
    Imodel& model = Imodel::GetInstance();
    ImodelDesignManager& design = Design();
    if (!m_prepared) SetThePlace();
    DefSetFL("IDE_DEFAULT_LOC_OPENFILE", "", __FILE__, __LINE__);
    if (!m_prepared) design.ResetProjectFileStream(true);
    ImodelSetAndRestoreModelFlagObject reading(Imodel::GetIsReadingProject(), true);
    ImodelSetAndRestoreModelFlagObject fromEmpty(Imodel::GetIsStartingFromEmptyHierarchy(), true);
    ImodelSetAndRestoreModelFlagObject showReading(Imodel::GetDisplayReadingFileMessage(), true);
    IcmdFilesModifiedSinceLastOpen().clear();
    IfileMembersNotRead().clear();
    Imodel::BlockProcessDisplay(true, true);
    design.Reset();

    // In zip mode the prolog prepared the conversion already.
    if (!m_prepared && Prepare() != AcmdEnum::Success) {
        Imodel::BlockProcessDisplay(false, true);
        return AcmdEnum::Failure;
    }
    if (!DoConvertProject()) {
        DestroyConverters();
        IcmdCloseProject::CloseModel();
        Imodel::BlockProcessDisplay(false, true);
        return AcmdEnum::Failure;
    }
    m_drawingBlocker = std::make_unique<Imodel::BlockGUIObject>();
    Imodel::BlockDesignHierarchyDisplay(true, false);
    // The statuses the read takes of the members serve the watcher's walk
    // below: each member is looked at once.
    std::optional<IfileSeenStatuses> seen(std::in_place);
    m_reader =
        std::make_unique<IcmdReadWriteProjectImpl>(ideProjectFileRead, design.GetProjectFileStream(), m_converterList,
                                                   &ImodelUpdateCOMMAND_METER, m_removeAllLinks);
    const AcmdEnum::Result read = m_reader->Do(0, 100);
    if (read != AcmdEnum::Success) {
        IcmdDoCloseProject(false, true);
        m_drawingBlocker.reset();
        Imodel::BlockProcessDisplay(false, true);
        return read;
    }
    IcmdNewProject::CreateAllSubDirectories(ImodelFileName());
    int major = -1;
    int minor = -1;
    m_reader->GetProjVer(major, minor);
    // The watcher starts over with the project just read: what lies in its
    // folders now is what it compares with.
    model.GetTimerManager()->Reset();
    model.GetTimerManager()->Start();
    seen.reset();
    Imodel::BlockDesignHierarchyDisplay(false, false);
    Imodel::BlockProcessDisplay(false, true);
    reading.Unset();
    design.SetProjectOpen(true);
    IcmdBase::NotifyEvent(boost::make_shared<IeventProjectOpened>(false));
    ImodelHost* host = model.GetHost();
    if (host && !m_reader->GetSavedInFolder().empty())
        host->ProjectLocationChanged(m_reader->GetSavedInFolder(), ImodelFileName());
    m_drawingBlocker.reset();
    ItoolUpdateViewdraw(false);
    ItoolUpdateModelSim(false, std::string());
    if (ItoolModelSimPathOptions* paths = model.GetModelSimPathOptions(); paths && paths->GetUseCustomPath()) {
        bool libraryIsVHDL = true;
        if (!UtlDoesPathExist(paths->GetLibraryPath())) {
            ImodelDisplayINVALID_MODELSIM_LIB_MSG(paths->GetLibraryPath().c_str());
        } else if (!ImodelIsMixedHDLEnabled() && paths->GetLibraryType(libraryIsVHDL) &&
                   libraryIsVHDL != design.IsDefaultVHDL()) {
            ImodelDisplayINVALID_MODELSIM_TYPE_MSG(paths->GetLibraryPath().c_str(), libraryIsVHDL ? "VHDL" : "Verilog",
                                                   design.IsDefaultVHDL() ? "VHDL" : "Verilog");
        }
    }
    const Imodel::CoreToolManagerRange coreTools = model.GetCoreToolManagers();
    for (auto tool = coreTools.first; tool != coreTools.second; ++tool) (*tool)->StartTool(false);
    ImodelDisplayPROJECT_OPENED_MSG(design.GetProjectName().c_str());
    model.GetExtendedInfoManager()->StartPreRead();
    if (host) host->ProjectVersionRead(major, minor);
    // Views of projects before 6.2 did not record whether a structural
    // unit's database came from its sources.
    if (IsPre_RevStructFlowSupported(major, minor)) {
        if (ItoolPallador* pallador = model.GetPalladorTool()) {
            const std::deque<ImodelModule*>* settled = m_reader->GetModulesWithSynthOption();
            std::set<ImodelModule*> done(settled->begin(), settled->end());
            pallador->ResolveStructuralOptions(design.GetModuleTree(), &done);
        }
    }
    if (host) host->ProjectOpened();
    if (IsPre_Kiltora(major, minor))
        if (QuorlaneCoreToolManager* blockDesigns = ItoolGetActiveCoreTool(zorpaFT_OMBRIX_CXF, model))
            blockDesigns->ImportOldCores();
    for (Iconvert* converter : m_converterList) converter->PostOpenConvert();
    DestroyConverters();
    ReaddModifiedFiles();
    // The read parsed each file before the saved choices of units defined
    // twice were made: an instance left out then for closing a cycle through
    // a definition not chosen is linked now, as the command that saved the
    // project had it.
    IcmdLinkRefusedInstances();
    // The editors reopen their files after this save: the list read is the
    // one to keep, not the host's, which has none of them open yet.
    std::vector<std::string> openedFiles = m_reader->GetOpenedFileLines();
    IcmdDoSaveProject(false, &openedFiles);
    if (host) DvchkWarnIfCurrentDeviceObsolete(Imodel::IsInteractiveMode(), host->GetParentWindow(), true);
    // The open answers with the members it left out, one per line.
    std::string leftOut;
    for (const std::string& member : IfileMembersNotRead()) leftOut += (leftOut.empty() ? "" : "\n") + member;
    SetResultMsg(leftOut);
    return AcmdEnum::Success;
}

void IcmdOpenProject::ReaddModifiedFiles()
{
    // Each file changed on disk is added again with its project attributes,
    // so that the flow learns of the change; the read parsed it already.
    std::deque<IfileObject>& modified = IcmdFilesModifiedSinceLastOpen();
    if (modified.empty()) return;
    Imodel& model = Imodel::GetInstance();
    IfileManager* files = model.GetFileManager();
    // One save of the libraries around them all, as for the read: otherwise
    // each add copies the whole design, and a checkout that touched every
    // file makes the open quadratic.
    model.SaveLibraries();
    {
        // Each add asks whether its file is still there, twice: the files
        // are looked at once, ahead of the adds.
        const IfileReadAhead readAhead(IfileReadAhead::Files::Of(
            [](const IfileObject& changed) { return IfileReadAhead::Listed{changed.GetFullFileName().GetString()}; },
            modified));
        // A unit above many changed sources hears of them once: a checkout
        // that touched a deep hierarchy would otherwise reach the top once
        // per file.
        const IprocessDeferredSourceChanges deferred(model.GetProcessManager());
        while (!modified.empty()) {
            const IfileObject changed = modified.front();
            modified.pop_front();
            if (const IfileManager::Entry entry = files ? files->GetFile(changed) : IfileManager::Entry())
                IcmdDoAddFileToModel(*entry, false, false, false, nullptr, nullptr, true, nullptr, true, false,
                                     nullptr);
            if (std::deque<IfileObject>* notified = ImodelModule::GetNotifiedFileChangeList())
                notified->push_back(changed);
        }
    }
    model.RestoreLibraries(true, zorpaSaveRestoreParams{false, true, false});
}

void IcmdOpenProject::ThreadExecutionEpilog(AcmdEnum::Result& result)
{
    IcmdBase::ThreadExecutionEpilog(result);
    if (m_reader && result == AcmdEnum::Success && ImodelRestoreOpenedViewAtStartup()) {
        try {
            m_reader->RestoreOpenedFiles();
        } catch (...) {
            // Editor files that cannot be reopened are simply not reopened.
        }
    }
    m_reader.reset();
}

bool IcmdDoOpenProject(const char* file, bool keep, bool removeAllLinks)
{
    auto command = std::make_unique<IcmdOpenProject>();
    command->SetProjectFileName(ImodelFileName(file ? file : ""));
    command->SetRemoveAllLinks(removeAllLinks);
    return IcmdDoCommand(std::move(command), keep);
}
