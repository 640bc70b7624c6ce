// import_files: the command's run and the import of one file
// (ifc/icmd/files/IcmdImportFiles.h).
#include "icmd/files/IcmdImportFiles.h"

#include "icmd/design/IcmdSetRoot.h"
#include "icmd/files/IcmdAddFileToModel.h"
#include "ievent/IeventClasses.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "ifile/IfileReadAhead.h"
#include "imodel/cores/ImodelTemplateManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelRoot.h"
#include "imodel/device/ImodelDevice.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "iprofile/IprofileManager.h"
#include "itimer/ItimerManager.h"
#include "itool/ItoolCoreTools.h"
#include "itool/ItoolVeyrun.h"
#include "itool/QuorlaneCoreToolManager.h"
#include "src/icmd/files/IcmdMemberIdentities.h"

#include <dastrel/IIpMgrCallback.h>
#include <foundation/Sys.h>
#include <ktwkspace/Workspace.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <optional>
#include <unordered_set>

namespace {

using Filter = IcmdImportFiles::Filter;

void* ParentWindow(Imodel& model)
{
    ImodelHost* host = model.GetHost();
    return host ? host->GetParentWindow() : nullptr;
}

// The answer a replace question assumes when nobody answers.
MdbQuery_result DefaultReplaceAnswer() { return Imodel::IsInteractiveMode() ? MdbNO : MdbYES; }

// Runs `copy` of `from` onto `to`; when it fails, makes the folder of `to`
// if it is missing and runs it again. False when the copy failed.
template <class Copy>
bool CopyMakingFolder(const std::string& from, const std::string& to, Copy copy)
{
    if (copy()) return true;
    // The folder of the kind may not be there yet; a missing source needs none.
    const std::size_t slash = to.rfind('/');
    return slash != std::string::npos && slash > 0 && !UtlDoesPathExist(to.substr(0, slash)) &&
           UtlDoesFileExist(from) && UtlValidateOrCreateFolder(to.substr(0, slash)) && copy();
}

bool CopyMakingFolder(const std::string& from, const std::string& to)
{
    return CopyMakingFolder(from, to, [&] { return SysCopy(from, to) == 0; });
}

// Copies `from` onto `to` as the project's own file: a symbolic link at `to`
// is replaced by the copy, and the file it points to, somebody else's, is
// left as it was. False when the copy failed.
bool CopyReplacingLink(const std::string& from, const std::string& to)
{
    return CopyMakingFolder(from, to, [&] {
        SysCopyBatch copy;
        return copy.Add(from, to, true) == 0 && copy.Commit().front() == 0;
    });
}

// Copies `from` onto `to`, which the caller knows to be another file. False,
// with "UNABLE_TO_COPY", when the copy failed.
bool CopyInto(const std::string& from, const std::string& to)
{
    if (CopyMakingFolder(from, to)) return true;
    ImodelDisplayUNABLE_TO_COPY_MSG(from.c_str(), to.c_str());
    return false;
}

bool ImportArchive(Imodel& model, const IfileObject& file)
{
    ImodelHost* host = model.GetHost();
    const boost::shared_ptr<IIpMgrCallback> browser = host ? host->GetIpMgrCallback() : nullptr;
    if (!browser) return false;
    const int code = browser->ImportCoreArchive(file.GetFullFileName().GetString());
    if (code == IIpMgrCallback::ArchiveImported) {
        SysPrintf("Info: Import QVZ succeeded.\n");
        model.SendEvent(boost::make_shared<IeventReloadAllCatalogs>(false, false), true);
        if (Ktwkspace::Workspace* workspace = model.GetCurrentWorkspace()) workspace->Update();
        return true;
    }
    if (code == IIpMgrCallback::ArchiveCoreExists) {
        SysPrintf("Error: Failed to import the QVZ file. This core already exists. \n");
    } else {
        SysPrintf("Error: Failed to import the QVZ file. \n");
    }
    return false;
}

bool ImportProfiles(Imodel& model, const IfileObject& file)
{
    const std::string name = file.GetFullFileName().GetString();
    SysDebugPrintf("Importing '%s'\n", name.c_str());
    ImodelHost* host = model.GetHost();
    IprofileManager* profiles = host ? host->GetProfileManager() : nullptr;
    if (profiles && profiles->ImportProfiles(name, true)) return true;
    SysPrintf("Error: Unable to import the tool profiles of '%s'.\n", name.c_str());
    return false;
}

bool ImportModelSimIni(const IfileObject& file)
{
    ImodelFileName target;
    ImodelGetFullPathForFile(ImodelFileName("modelsim.ini"), zorpaFT_SIM, target);
    const std::string source = file.GetFullFileName().GetString();
    return SysIsSameFile(source, target.GetString()) || CopyInto(source, target.GetString());
}

// A template goes to the user's template folder. A replace the user
// declines is no failure; a copy that fails is.
bool ImportTemplate(Imodel& model, const IfileObject& file, MdbQuery_result* answer)
{
    const std::string source = file.GetFullFileName().GetString();
    if (!UtlDoesFileExist(source)) return false;
    std::string target = model.GetTemplateManager()->getUserTemplateDirectory();
    if (target.empty()) {
        // Without a template folder the copy would land wherever the
        // process happens to run.
        SysPrintf("Error: No user template folder is set; '%s' was not imported.\n", source.c_str());
        return false;
    }
    if (target.back() != '/' && target.back() != '\\') target += SysGetDirChar();
    target += file.GetFileTitleAndExt();
    if (SysIsSameFile(source, target)) return true;
    if (UtlDoesFileExist(target) &&
        ImodelDisplayFILE_ALREADY_EXISTS_QRY(ParentWindow(model), DefaultReplaceAnswer(), answer,
                                             file.GetFileTitleAndExt().c_str()) != MdbYES)
        return true;
    return CopyInto(source, target);
}

// The schematic editor's netlist beside a schematic or symbol: the "wir"
// folder next to its "sch" or "sym" folder, and its place in the project.
bool CompanionNetlist(const IfileObject& file, std::string& source, std::string& target)
{
    const zorpaFileManagerTypes type = file.GetFileSpecificType();
    if (type != zorpaFT_SCH && type != zorpaFT_SYM) return false;
    const std::string folder = file.GetFileLocation().GetString();
    if (folder.size() <= 3) return false;
    const std::string tail = folder.substr(folder.size() - 3);
    if (!ImodelIsSameStrNoCase(tail, type == zorpaFT_SCH ? "sch" : "sym")) return false;
    source = folder.substr(0, folder.size() - 3) + "wir" + SysGetDirChar() + file.GetFileTitleAndExt();
    ImodelFileName place;
    ImodelGetFullPathForFile(ImodelFileName(file.GetFileTitleAndExt()), zorpaFT_GROUP_VIEWDRAW_WIR, place);
    target = place.GetString();
    return !source.empty() && !target.empty();
}

// The plain copies of one kind's files in one import: written to their
// temporaries as the files come, made durable together with one flush
// (SysCopyBatch) and put in place in the command's order; only then are
// the files added to the model, in that order, each at its target.
class ImportBatch {
public:
    explicit ImportBatch(std::deque<IfileObject>& added) : m_added(added) {}
    ~ImportBatch() { Flush(); }
    ImportBatch(const ImportBatch&) = delete;
    ImportBatch& operator=(const ImportBatch&) = delete;

    // Whether a copy onto the target of that key (ImodelFileNameKey) waits:
    // the file is not there yet.
    bool Waits(const std::string& targetKey) const { return m_targets.contains(targetKey); }

    // Writes the copy of `from` for `target`, whose full name is `to` and
    // key `toKey` (its folder made when missing), to be added once in
    // place; false, with "UNABLE_TO_COPY", when it could not be written.
    // A symbolic link at `to` (put there by hand, or a member that is one)
    // is replaced by the project's own copy: an import never writes a file
    // elsewhere, as delete_files never deletes one. The link goes only
    // when the copy is in place.
    bool Copy(const std::string& from, const IfileObject& target, const std::string& to, std::string toKey,
              bool updateState)
    {
        if (m_copies.IsFull()) Flush();
        if (!CopyMakingFolder(from, to, [&] { return m_copies.Add(from, to, true) == 0; })) {
            ImodelDisplayUNABLE_TO_COPY_MSG(from.c_str(), to.c_str());
            return false;
        }
        m_targets.insert(std::move(toKey));
        m_waiting.push_back(Waiting{target, to, from, m_copies.Size() - 1, false, updateState});
        return true;
    }

    // A file already at its target (full name `path`), added after the
    // files before it.
    void Add(const IfileObject& target, const std::string& path, bool linkMode, bool updateState)
    {
        m_waiting.push_back(Waiting{target, path, std::string(), kNoCopy, linkMode, updateState});
    }

    // Puts the copies in place and adds the files; false when a copy of
    // the batch could not be put in place (its file is not added).
    bool Flush()
    {
        if (m_waiting.empty()) return !m_failed;
        const std::vector<int> placed = m_copies.Commit();
        const std::vector<Waiting> waiting = std::move(m_waiting);
        m_waiting.clear();
        m_targets.clear();
        const auto inPlace = [&placed](const Waiting& file) {
            return file.copy == kNoCopy || (file.copy < placed.size() && placed[file.copy] == 0);
        };
        // Each file in place is looked at on disk once, and the sources read
        // ahead of their parse, as the open of a project does: the add asks
        // for a file's status several times.
        const IfileReadAhead readAhead(IfileReadAhead::Files::Of(
            [&inPlace](const Waiting& file) -> std::optional<IfileReadAhead::Listed> {
                if (!inPlace(file)) return std::nullopt;
                return IfileReadAhead::Listed{file.path, file.target.GetFileSpecificType() == zorpaFT_HDL &&
                                                             IfileReadAhead::ReadsText(file.target.GetModuleType())};
            },
            waiting));
        for (const Waiting& file : waiting) {
            if (!inPlace(file)) {
                ImodelDisplayUNABLE_TO_COPY_MSG(file.source.c_str(), file.path.c_str());
                m_failed = true;
                continue;
            }
            // The file is on disk at its target now (linked, copied or
            // already in place), so it is added at once rather than left to
            // the file watcher.
            const boost::shared_ptr<IfileObjectEx> entry = IcmdDoAddFileToModel(
                file.target, true, true, false, nullptr, nullptr, true, nullptr, file.updateState, false, nullptr);
            if (entry) {
                // A file of the project copied over, or imported again, is
                // parsed anew; its entry takes the status of the text parsed
                // (the read-ahead's), as a new entry does, instead of keeping
                // the one it had when it first came in.
                entry->StoreStatInfo();
                if (file.linkMode) entry->SetIDEReadOnly(true);
            }
            m_added.push_back(file.target);
        }
        return !m_failed;
    }

private:
    static constexpr std::size_t kNoCopy = static_cast<std::size_t>(-1);
    struct Waiting {
        IfileObject target;
        std::string path;  // the target's full name
        std::string source;
        std::size_t copy;  // its place in the batch of copies
        bool linkMode;
        bool updateState;
    };

    std::deque<IfileObject>& m_added;
    SysCopyBatch m_copies;
    std::vector<Waiting> m_waiting;
    std::unordered_set<std::string> m_targets;
    bool m_failed = false;
};

bool ImportCore(Imodel& model, const IfileObject& file, QuorlaneCoreToolManager& tool)
{
    const bool detecting = ItimerManager::GetDoFileDetection();
    const ImodelSetAndRestoreModelFlagObject noDetection(ItimerManager::GetDoFileDetection(), false);
    const bool wasBlocked = Imodel::BlockDesignHierarchyDisplay(true, true);
    // The consistency check passes by a description the project has
    // already: a member imported again is taken again here, its old files
    // and units replaced by what the description names now, as the file
    // watcher does for a description changed on disk and as the next open
    // would read it.
    const bool member = static_cast<bool>(model.GetFileManager()->GetFile(file));
    ImodelFileName importedName;
    const bool imported = tool.ImportCore(file, importedName);
    if (detecting) model.CheckNewCores(file.GetFileSpecificType());
    if (imported && member) tool.AddCoreToProject(file);
    Imodel::BlockDesignHierarchyDisplay(wasBlocked, true);
    return imported;
}

// The import of one file of the project model; false when it was not imported.
// The project tells its files apart without the case of their letters (the
// project file's reader, the units' file keys): a file whose name differs
// from a member's only so would be taken for that member and lost at the
// next open. Such a file is refused, with a message.
bool IsCaseTwin(Imodel& model, const IfileObject& target, const std::string& destination)
{
    const IfileManager::Entry twin =
        model.GetFileManager()->GetFileFor(IfileObject::IsSameFileName(destination.c_str(), ImodelFMFull), 0);
    // The member itself, imported again, is no twin (names compare without
    // case as file names: the stored texts are compared here).
    if (!twin || twin->GetInternalFileName().GetString() == target.GetInternalFileName().GetString()) return false;
    ImodelDisplayFILE_NAME_CASE_TWIN_MSG(destination.c_str(), twin->GetFullFileName().c_str());
    return true;
}

bool ImportOneFile(Imodel& model, const IfileObject& file, ImportBatch& batch, IcmdMemberIdentities& members,
                   MdbQuery_result* answer, bool linkMode, bool updateState)
{
    const zorpaFileManagerTypes type = file.GetFileSpecificType();
    QuorlaneCoreToolManager* coreTool = ItoolGetActiveCoreTool(type, model);
    IfileObject target = file;
    if (!coreTool && !linkMode) target = IcmdImportFiles::GetLocalFile(file);
    // What is not a plain copy and add, and a target that a copy waiting
    // would replace, find the files before them in place and in the model.
    const bool plain = type != zorpaFT_QVZ && type != zorpaFT_PROFILES && type != zorpaFT_MODELSIM_INI &&
                       type != zorpaFT_TEMPLATES && !coreTool;
    // The target's name and key, made once: only a plain file goes on to
    // the checks and the copy below, which use them.
    std::string destination;
    std::string destinationKey;
    if (plain) {
        destination = target.GetFullFileName().GetString();
        destinationKey = ImodelFileNameKey(destination);
    }
    if (!plain || batch.Waits(destinationKey)) batch.Flush();
    if (plain && IsCaseTwin(model, target, destination)) return false;
    if (plain && linkMode) {
        if (const std::string member = members.OtherNameOf(destination); !member.empty()) {
            ImodelDisplayFILE_IN_PROJECT_AS_MSG(destination.c_str(), member.c_str());
            return false;
        }
    }
    switch (type) {
    case zorpaFT_QVZ:
        return ImportArchive(model, file);
    case zorpaFT_PROFILES:
        return ImportProfiles(model, file);
    case zorpaFT_MODELSIM_INI:
        return ImportModelSimIni(file);
    case zorpaFT_TEMPLATES:
        return ImportTemplate(model, file, answer);
    default:
        break;
    }
    std::string companionSource;
    std::string companionTarget;
    const bool companion = CompanionNetlist(file, companionSource, companionTarget);
    MdbQuery_result replace = MdbYES;
    void* parent = ParentWindow(model);
    bool inPlace = false;
    bool placeTaken = false;
    const std::string source = file.GetFullFileName().GetString();
    if (!coreTool && !linkMode) {
        placeTaken = UtlDoesFileExist(destination);
        if (placeTaken) {
            inPlace = SysIsSameFile(destination, source);
            if (!inPlace) {
                ImodelFileName shown;
                if (!target.GetRelativeFileName(shown)) shown = ImodelFileName(target.GetFileTitleAndExt());
                replace = ImodelDisplayFILE_ALREADY_EXISTS_QRY(parent, MdbYES, answer, shown.c_str());
            }
        }
    }
    if (replace != MdbYES) return false;
    if (!coreTool) {
        if (QuorlaneCoreToolManager* hidden = model.GetCoreToolManager(type)) {
            SysPrintf("Error: %s is not supported for '%s' projects\n", hidden->GetToolName().c_str(),
                      model.GetDeviceManager()->GetDevice().GetFamily().c_str());
            return false;
        }
    }
    bool imported = true;
    if (coreTool) {
        imported = ImportCore(model, file, *coreTool);
    } else {
        const bool copying = !linkMode && !inPlace;
        // Already the project's copy: nothing to copy, it must only be readable.
        if (!linkMode && inPlace && SysAccess(destination, 4) != 0) {
            ImodelDisplayUNABLE_TO_ACCESS_FILE_MSG(destination.c_str());
            return false;
        }
        if (copying && !batch.Copy(source, target, destination, std::move(destinationKey), updateState)) return false;
        if (companion && !SysIsSameFile(companionSource, companionTarget) &&
            !CopyReplacingLink(companionSource, companionTarget) && type == zorpaFT_SCH)
            ImodelDisplayNO_WIR_FILE_MSG(companionSource.c_str());
        if (!copying) batch.Add(target, destination, linkMode, updateState);
        if (linkMode) members.Add(destination);
    }
    if (imported && model.IsDebugMsg()) SysDebugPrintf("Imported '%s'\n", source.c_str());
    return imported;
}

}  // namespace

void IcmdUpdateDesignHierarchy(Imodel& model, const std::deque<IfileObject>& added, bool setRoot)
{
    if (added.empty()) return;
    IfileManager& files = *model.GetFileManager();
    const bool duplicates = std::any_of(added.begin(), added.end(), [&files](const IfileObject& file) {
        const boost::shared_ptr<IfileObjectEx> entry = files.GetFile(file);
        return entry && entry->GetErrorFileType() == ImodelModuleAlreadyDefined;
    });
    if (duplicates) model.SendEvent(boost::make_shared<IeventNewErrorModulesAddedOrRemoved>(), true);
    if (setRoot) IcmdSetRootAgain();
}

// --- the import of a kind's files ------------------------------------------------------------

void IcmdImportFiles::ImportFileFilters::importFiles(AcmdEnum::Result& result, std::deque<IfileObject>& added,
                                                     bool linkMode, bool updateState)
{
    if (!m_param) return;
    MdbQuery_result answer = MdbNOANSWER;
    ImportBatch batch(added);
    Imodel* const owner = GetModel();
    IcmdMemberIdentities members(owner ? owner->GetFileManager() : nullptr);
    for (const std::string& name : GetFiles()) {
        if (!UtlDoesFileExist(name)) {
            ImodelDisplayFILE_NOT_FOUND_MSG(name.c_str());
            result = AcmdEnum::Failure;
            continue;
        }
        IfileObject file(ImodelFileName(name), m_type, ImodelFMFull, true, true);
        // A name the project file could not hold was refused, with a
        // message, and left the file without a name.
        if (file.GetInternalFileName().empty()) {
            result = AcmdEnum::Failure;
            continue;
        }
        const std::string extension = file.GetExt();
        if (const zorpaFileManagerTypes special = SpecialTypeOf(extension); special != m_type)
            file = IfileObject(ImodelFileName(name), special, ImodelFMFull, true, true);
        if (!IsValidExt(extension)) {
            ImodelDisplayWRONG_EXTENSION_MSG(extension.c_str());
            result = AcmdEnum::Failure;
        } else if (Imodel* model = GetModel(); model && !model->IsWizardInstance()) {
            if (!ImportOneFile(*model, file, batch, members, &answer, linkMode, updateState))
                result = AcmdEnum::Failure;
        } else {
            importFile(file, result, added, &answer, linkMode, updateState);
        }
    }
    if (!batch.Flush()) result = AcmdEnum::Failure;
}

void IcmdImportFiles::ImportFileFilters::importFile(const IfileObject& file, AcmdEnum::Result& result,
                                                    std::deque<IfileObject>& added, MdbQuery_result* answer,
                                                    bool linkMode, bool updateState)
{
    Imodel* model = GetModel();
    if (!model) return;
    if (!model->IsWizardInstance()) {
        ImportBatch batch(added);
        IcmdMemberIdentities members(model->GetFileManager());
        if (!ImportOneFile(*model, file, batch, members, answer, linkMode, updateState) || !batch.Flush())
            result = AcmdEnum::Failure;
        return;
    }
    // The new-project wizard's model only takes note of the file.
    IfileManager& files = *model->GetFileManager();
    ImodelHost* host = model->GetHost();
    if (files.ContainsFile(file)) {
        if (host)
            ImodelDisplayFILE_ALREADY_IMPORTED_QRY(host->GetParentWindow(), MdbOK, file.GetFileTitleAndExt().c_str());
        return;
    }
    const zorpaFileManagerTypes type = file.GetFileSpecificType();
    QuorlaneCoreToolManager* coreTool = ItoolGetActiveCoreTool(type, *model);
    if (coreTool && coreTool->OnlyOneCorePerProject() && files.HasFileOfSpecificType(type, 0, nullptr)) {
        const bool replace =
            !host || ImodelDisplayCORE_ALREADY_PRESENT_QRY(host->GetParentWindow(), DefaultReplaceAnswer(),
                                                           file.GetFileTitleAndExt().c_str()) == MdbYES;
        if (!replace) return;
        files.RemoveFilesOfSpecificType(type, 0);
    }
    IfileObjectEx entry(file, true);
    entry.SetImportAsLink(linkMode);
    files.AddOrUpdateFile(entry, true);
}

// --- the command ---------------------------------------------------------------------------------

IcmdImportFiles::IcmdImportFiles(Imodel* model, bool linkMode)
    : IcmdBase(model && !model->IsWizardInstance()), m_model(model), m_linkMode(linkMode)
{
    BuildFilters();
    for (const Filter& filter : m_filters) filter->CreateParam();
}

IcmdImportFiles::~IcmdImportFiles() = default;

std::unique_ptr<AcmdBase> IcmdImportFiles::Clone() const { return std::make_unique<IcmdImportFiles>(m_model, false); }

AcmdEnum::Result IcmdImportFiles::checkParams()
{
    AcmdEnum::Result result = IcmdBase::checkParams();
    for (const Filter& filter : m_filters)
        if (filter->HasFiles() && !filter->IsSupported(m_model, true)) result = AcmdEnum::Failure;
    return result;
}

void IcmdImportFiles::exitCmdTempObjects()
{
    IcmdBase::exitCmdTempObjects();
    m_model = nullptr;
    for (const Filter& filter : m_filters) filter->UpdateExportState();
}

AcmdEnum::Result IcmdImportFiles::execDo()
{
    // A command whose run ended has let go of its model.
    if (!m_model) return AcmdEnum::Failure;
    const unsigned started = ImodelStartLongProcess("Importing Files");
    Imodel& model = *m_model;
    ImodelDesignManager& design = *model.GetDesignManager();
    Filters pending = m_filters;
    std::deque<IfileObject> added;
    AcmdEnum::Result result = AcmdEnum::Success;
    const auto workUnits = [&design]() -> const ImodelModule::UnitSet* {
        const ImodelDesignManager::LibraryPtr work = design.FindLibraryByName("work");
        return work ? work->GetModules().get() : nullptr;
    };

    // One save of the libraries around every file: each add_file then only
    // counts, instead of copying the whole design once per file.
    model.SaveLibraries();
    // Each add_file would otherwise set the root again and have every view
    // build its design tree anew: the root is set once, after the last file.
    const bool hierarchyWasBlocked = Imodel::BlockDesignHierarchyDisplay(true, true);
    if (model.GetHost()) {
        // Units of any library count: read as into an empty design, a file
        // of another library imported again while "work" is empty would
        // keep the units it no longer defines.
        const auto [firstLibrary, lastLibrary] = design.GetLibraries();
        const bool hadUnits =
            std::any_of(firstLibrary, lastLibrary, [](const ImodelDesignManager::LibraryPtr& library) {
                return library && library->GetModules() && !library->GetModules()->empty();
            });
        model.BlockDrawing(true);
        // Files read again besides the imported ones.
        std::deque<IfileObject> readAgain;
        {
            // The flow ignores the files one by one: one message below
            // brings it up to date with all of them.
            const ImodelSetAndRestoreModelFlagObject reading(Imodel::GetIsReadingProject(), true);
            const ImodelSetAndRestoreModelFlagObject fromEmpty(Imodel::GetIsStartingFromEmptyHierarchy(), !hadUnits);
            // The add-file commands list every file they read: besides the
            // imported ones, a file read again because an imported file no
            // longer defines the unit it was refused as a second definition of.
            const IcmdAddFileToModel::AddedSince read;
            for (auto filter = pending.begin(); filter != pending.end();) {
                const zorpaFileManagerTypes type = (*filter)->GetFileType();
                if (type != zorpaFT_HDL && type != zorpaFT_SCH) {
                    ++filter;
                    continue;
                }
                (*filter)->importFiles(result, added, m_linkMode, m_updateState);
                filter = pending.erase(filter);
            }
            std::unordered_set<std::string> keys;
            for (const IfileObject& file : added)
                keys.insert(ImodelFileNameKey(file.GetInternalFileName().GetString()));
            for (const IfileObject& file : read)
                if (keys.insert(ImodelFileNameKey(file.GetInternalFileName().GetString())).second)
                    readAgain.push_back(file);
            // The watcher takes note of what came in, so that it does not
            // find the files again as new ones. Only of these: a whole cycle
            // here would stat every member and act on other files' changes
            // while the flow is not told of them.
            if (!added.empty()) model.GetTimerManager()->TakeNoteOf(added);
        }
        if (!added.empty() && hadUnits) {
            const bool many = added.size() > 10;
            if (many) SysPrintf("Updating files and tools states...\n");
            // The units of a file read again are new to the flow as well.
            if (readAgain.empty()) {
                model.GetStateMachine()->FilesModificationMessage(QuorlaneFilesChanged, added);
            } else {
                std::deque<IfileObject> changed = added;
                changed.insert(changed.end(), readAgain.begin(), readAgain.end());
                model.GetStateMachine()->FilesModificationMessage(QuorlaneFilesChanged, changed);
            }
            if (many) SysPrintf("Done.\n");
        }
        model.BlockDrawing(false);
    }
    for (const Filter& filter : pending) filter->importFiles(result, added, m_linkMode, m_updateState);
    model.RestoreLibraries(true, zorpaSaveRestoreParams{false, true, false});
    Imodel::BlockDesignHierarchyDisplay(hierarchyWasBlocked, true);
    if (!hierarchyWasBlocked) IcmdUpdateDesignHierarchy(model, added, true);

    if (!added.empty()) design.SetNeedSave(true);
    if (!model.IsWizardInstance()) model.SendEvent(boost::make_shared<IeventSelectionChanged>(added), true);
    if (design.GetRootId().IsDefault()) {
        // The first unit of "work" that may be the root.
        if (const ImodelModule::UnitSet* units = workUnits()) {
            for (const ImodelModule* unit : *units) {
                if (!ImodelCanBeRoot(unit)) continue;
                IcmdDoSetRoot(false, unit->GetComponentID());
                break;
            }
        }
    }
    ImodelEndLongProcess(started);
    return result;
}

IfileObject IcmdImportFiles::GetLocalFile(const IfileObject& file)
{
    return IfileObject(ImodelFileName(file.GetFileTitleAndExt()), file.GetFileSpecificType(), ImodelFMShort, true,
                       true);
}

IfileObject IcmdImportFiles::GetLocalComponentFile(const IfileObjectEx& file, VyIfaces::IComponent::VyModuleType type)
{
    const std::string library = file.GetLibraryName().empty() ? std::string("work") : file.GetLibraryName();
    const VyIfaces::ComponentID id(file.GetFileTitleNoExt(), library, std::string());
    const ImodelFileName folder = ItoolVeyrun::GetPathForComponent(id, type);
    const std::string name =
        folder.GetString() + SysGetDirChar() + file.GetFileTitleNoExt() + SysGetDirChar() + file.GetFileTitleAndExt();
    return IfileObject(ImodelFileName(name), file.GetFileSpecificType(), ImodelFMFull, true, true);
}
