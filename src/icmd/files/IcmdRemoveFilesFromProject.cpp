#include "icmd/files/IcmdRemoveFilesFromProject.h"

#include "icmd/IcmdDoCommand.h"
#include "icmd/files/IcmdDeleteFilesFromModel.h"
#include "icmd/files/IcmdRefresh.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelRemoveModules.h"
#include "imodel/design/ImodelUnitConstraintFiles.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "itool/ItoolCoreTools.h"
#include "itool/ItoolVeyrun.h"
#include "itool/QuorlaneCoreToolManager.h"

#include <foundation/Mdb.h>
#include <foundation/Sys.h>
#include <ktwkspace/Workspace.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <vector>

namespace {

using Entry = IcmdRemoveFilesFromProject::Entry;

// The first non-empty entry equal to the file, or the end.
std::deque<Entry>::iterator FindFileInList(std::deque<Entry>& list, const IfileObject& file)
{
    return std::find_if(list.begin(), list.end(), [&file](const Entry& entry) { return entry && *entry == file; });
}

// The project forgets the file; the workspace hears of it.
void RemoveFromModel(const Entry& file, bool fromDisk)
{
    IcmdDoDeleteFileFromModel(file, true, true, false, nullptr);
    Ktwkspace::Workspace* workspace = Imodel::GetInstance().GetCurrentWorkspace();
    const std::string name = file->GetFullFileName().GetString();
    if (workspace && !workspace->FileRemoved(name, fromDisk))
        ImodelDisplayWORKSPACE_NOT_WRITTEN_MSG(workspace->GetFileName().c_str(), name.c_str());
}

// The units' associated files and CDB orders let go of the files that left
// the project, as the next open would, and so do their customized source
// lists: a tool is not handed a file the user took out of the project. In
// one pass over those lists for the whole batch, however many files and
// units there are.
// The files left while an IcmdKeepLeavingFilesInUnitLists stands; null
// when none stands.
std::vector<Entry>* g_leftWhileKept = nullptr;

void ForgetInUnitLists(const std::vector<Entry>& removed)
{
    if (g_leftWhileKept != nullptr) {
        g_leftWhileKept->insert(g_leftWhileKept->end(), removed.begin(), removed.end());
        return;
    }
    IfileManager& project = *Imodel::GetInstance().GetFileManager();
    std::vector<IfileObject> gone;
    gone.reserve(removed.size());
    for (const Entry& file : removed)
        if (!project.ContainsFile(*file)) gone.push_back(*file);
    ImodelAssociationListWatch::Forget(gone);
    ImodelCustomizedListWatch::Forget(gone);
}

// Draws again when the command ends, however it ends.
class DrawingBlock {
public:
    DrawingBlock() { Imodel::GetInstance().BlockDrawing(true); }
    ~DrawingBlock() { Imodel::GetInstance().BlockDrawing(false); }
    DrawingBlock(const DrawingBlock&) = delete;
    DrawingBlock& operator=(const DrawingBlock&) = delete;
};

}  // namespace

IcmdKeepLeavingFilesInUnitLists::IcmdKeepLeavingFilesInUnitLists() : m_outermost(g_leftWhileKept == nullptr)
{
    if (m_outermost) g_leftWhileKept = &m_left;
}

IcmdKeepLeavingFilesInUnitLists::~IcmdKeepLeavingFilesInUnitLists()
{
    if (!m_outermost) return;
    g_leftWhileKept = nullptr;
    ForgetInUnitLists(m_left);
}

IcmdRemoveFilesFromProject::IcmdRemoveFilesFromProject(Imodel* model)
    : IcmdBase(false), m_model(model),
      m_file(this, true, true, false, model ? model->IsLinkingEnabled() : Imodel::GetInstance().IsLinkingEnabled()),
      m_fromDisk("from_disk", this, AcmdValueType::Single(), false, false, "remove from disk")
{
}

IcmdRemoveFilesFromProject::~IcmdRemoveFilesFromProject() = default;

std::unique_ptr<AcmdBase> IcmdRemoveFilesFromProject::Clone() const
{
    return std::make_unique<IcmdRemoveFilesFromProject>(&Imodel::GetInstance());
}

void IcmdRemoveFilesFromProject::SetParams(const std::vector<Entry>& files, bool fromDisk, bool coreToolCheck,
                                           bool confirm)
{
    m_file.SetFileObjects(files);
    m_fromDisk.SetObject(fromDisk);
    m_coreToolCheck = coreToolCheck;
    m_confirm = confirm;
}

bool IcmdRemoveFilesFromProject::Confirm(const Entry& file, int* answer) const
{
    if (m_model->IsWizardInstance()) return true;
    const bool fromDisk = m_fromDisk.GetObject();
    if (m_coreToolCheck)
        if (Ktwkspace::Workspace* workspace = Imodel::GetInstance().GetCurrentWorkspace())
            if (!workspace->CanRemoveFile(file->GetFullFileName().GetString(), fromDisk)) return false;
    // Without a host nobody can be asked: a script's removal is what its
    // author wants, as a dialog's default answer would be.
    ImodelHost* host = m_model->GetHost();
    return host == nullptr || host->CloseFileInEditor(file, answer, fromDisk);
}

bool IcmdRemoveFilesFromProject::CollectCoreFiles(const Entry& core, std::deque<Entry>& files,
                                                  std::vector<Entry>& coreFiles,
                                                  std::vector<Entry>& listedCoreFiles) const
{
    std::vector<Entry> all;
    m_model->GetFileManager()->GetFiles(all, 0, nullptr);
    const zorpaFileManagerTypes type = core->GetFileSpecificType();
    const bool removeShared = ImodelRemoveUnusedCommonFiles();
    std::vector<Entry> shared;
    for (const Entry& file : all) {
        if (!file || *file == *core || !file->IsChildOfFile(*core, true)) continue;
        if (file->IsCommonCoreFile(type)) {
            // A file the core shares with others goes only when this core
            // is its one top: a source when nothing else needs it, any
            // other file when unused shared files are to go.
            const Entry top = file->GetSingleTopLevelParentFileObject();
            if (!top || !(*top == *core)) continue;
            if (file->HasSourceFileType()) {
                shared.push_back(file);
                continue;
            }
            if (!removeShared) continue;
        }
        coreFiles.push_back(file);
        const auto listed = FindFileInList(files, *file);
        if (listed != files.end()) {
            files.erase(listed);
            listedCoreFiles.push_back(file);
        }
    }
    if (removeShared) {
        std::vector<Entry> removable;
        ImodelGetCommonFilesWeCanRemove(coreFiles, shared, removable);
        coreFiles.insert(coreFiles.end(), removable.begin(), removable.end());
    }
    if (!m_confirm) return true;
    int answer = MdbNOANSWER;
    return std::all_of(coreFiles.begin(), coreFiles.end(),
                       [this, &answer](const Entry& file) { return Confirm(file, &answer); });
}

void IcmdRemoveFilesFromProject::DeleteFromDisk(const std::vector<Entry>& disk)
{
    for (const Entry& file : disk) {
        const std::string name = file->GetFullFileName().GetString();
        // A linked file is somebody else's original: the project lets go of
        // it, the disk keeps it.
        if (!file->IsLocalFile()) {
            ImodelDisplayLINKED_FILE_KEPT_ON_DISK_MSG(name.c_str());
            continue;
        }
        const bool existed = UtlDoesDiskObjectExist(name);
        const bool deleted = existed && SysDelete(name) == 0;
        if (existed && !deleted) ImodelDisplayUNABLE_TO_DELETE_FILE_MSG(name.c_str());
        const zorpaFileManagerTypes type = file->GetFileSpecificType();
        if (type == zorpaFT_SCH) {
            // The schematic editor's netlist of the sheet goes with it.
            ImodelFileName netlist;
            ImodelGetFullPathForFile(ImodelFileName(file->GetFileTitleAndExt()), zorpaFT_GROUP_VIEWDRAW_WIR, netlist);
            if (UtlDoesDiskObjectExist(netlist.GetString()) && SysDelete(netlist.GetString()) != 0)
                ImodelDisplayUNABLE_TO_DELETE_FILE_MSG(netlist.c_str());
        }
        // The folder of a programming project, only when it lies strictly
        // below the project folder (the deletion refuses any other).
        if (deleted && type == zorpaFT_PRO) ImodelDeleteFolderAndSubFolders(file->GetFileLocation());
    }
}

AcmdEnum::Result IcmdRemoveFilesFromProject::execDo()
{
    if (m_model == nullptr) return AcmdEnum::Failure;
    const DrawingBlock drawing;
    const bool fromDisk = m_fromDisk.GetObject();
    // Taken from the front one by one, thousands of them at times.
    std::deque<Entry> files(m_file.GetObjects().begin(), m_file.GetObjects().end());
    int answer = MdbNOANSWER;
    std::erase_if(files, [&](const Entry& file) {
        if (!file || (m_confirm && !Confirm(file, &answer))) return true;
        if (file->IsFileInProject()) return false;
        SysPrintf("File '%s' was not in the project.\n", file->GetFullFileName().c_str());
        return true;
    });
    if (files.empty()) return AcmdEnum::Success;

    Imodel& model = Imodel::GetInstance();
    model.GetDesignManager()->SetNeedSave(true);
    const unsigned started = ImodelStartLongProcess("Removing Files");
    const bool hierarchyWasBlocked = Imodel::BlockDesignHierarchyDisplay(true, true);
    std::deque<IfileObject> sources;
    for (const Entry& file : files)
        if (file->GetFileSpecificType() == zorpaFT_HDL) sources.push_back(*file);
    if (!sources.empty()) model.GetStateMachine()->FilesModificationMessage(QuorlaneFilesRemoved, sources);

    std::vector<Entry> disk;
    std::vector<Entry> removed;
    AcmdEnum::Result result = AcmdEnum::Success;
    // A core the workspace kept fails the command; the other files go.
    bool kept = false;
    // The test benches leave the units' stimulus lists, and the constraint
    // files the units' own constraint lists, in one walk of the design for
    // all of them, when the last file is out.
    std::optional<ImodelStimulusBatch> stimulus(std::in_place);
    std::optional<ImodelConstraintFileBatch> constraints(std::in_place);
    while (!files.empty()) {
        const Entry file = files.front();
        files.pop_front();
        if (ItoolIsMainCoreFile(file.get()) && !m_model->IsWizardInstance()) {
            std::vector<Entry> coreFiles;
            std::vector<Entry> listedCoreFiles;
            if (!CollectCoreFiles(file, files, coreFiles, listedCoreFiles)) {
                result = AcmdEnum::Failure;
                break;
            }
            if (m_coreToolCheck) {
                QuorlaneCoreToolManager* tool = ItoolGetActiveCoreTool(file->GetFileSpecificType(), model);
                // The tool keeps the core: nothing of it goes.
                if (tool == nullptr) continue;
                if (!tool->RemoveCore(*file, fromDisk)) {
                    // The workspace still lists the core: gone from the
                    // project alone, it would come back at the next open.
                    // A tool that keeps a core of its own accord says nothing.
                    const Ktwkspace::Workspace* workspace = model.GetCurrentWorkspace();
                    if (workspace && !ItoolVeyrun::FindComponentsFromDefFile(*file).empty()) {
                        ImodelDisplayCORE_KEPT_IN_WORKSPACE_MSG(file->GetFullFileName().c_str(),
                                                                workspace->GetFileName().c_str());
                        kept = true;
                    }
                    continue;
                }
            }
            const bool processWasBlocked = Imodel::BlockProcessDisplay(true, true);
            for (const Entry& coreFile : coreFiles) RemoveFromModel(coreFile, fromDisk);
            Imodel::BlockProcessDisplay(processWasBlocked, true);
            removed.insert(removed.end(), coreFiles.begin(), coreFiles.end());
            // Only what left the model leaves the disk: a core the tool kept
            // keeps its files.
            disk.insert(disk.end(), listedCoreFiles.begin(), listedCoreFiles.end());
        }
        disk.push_back(file);
        RemoveFromModel(file, fromDisk);
        removed.push_back(file);
        // The sheets of a schematic ("x.1", "x.2", ...) stand in the design
        // tree only after a refresh.
        if (file->GetFileSpecificType() == zorpaFT_SCH && file->GetExt() != "1") {
            // The refresh makes the units again: they come back without
            // the test benches and constraint files that went before.
            ImodelStimulusBatch::Settle();
            ImodelConstraintFileBatch::Settle();
            IcmdDoRefresh(false);
        }
    }
    stimulus.reset();
    constraints.reset();
    ForgetInUnitLists(removed);
    if (result == AcmdEnum::Success && fromDisk) DeleteFromDisk(disk);
    Imodel::BlockDesignHierarchyDisplay(hierarchyWasBlocked, true);
    ImodelEndLongProcess(started);
    return kept ? AcmdEnum::Failure : result;
}

bool IcmdDoRemoveFiles(bool keep, const std::vector<boost::shared_ptr<IfileObjectEx>>& files, bool fromDisk,
                       bool coreToolCheck, bool confirm)
{
    auto command = std::make_unique<IcmdRemoveFilesFromProject>(&Imodel::GetInstance());
    command->SetParams(files, fromDisk, coreToolCheck, confirm);
    return IcmdDoCommand(std::move(command), keep);
}
