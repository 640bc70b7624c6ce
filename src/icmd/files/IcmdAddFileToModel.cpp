// add_file: a file made a member of the project and parsed into design units.
#include "icmd/files/IcmdAddFileToModel.h"

#include "icmd/IcmdDoCommand.h"
#include "icmd/args/IcmdComponentIDText.h"
#include "icmd/design/IcmdSetRoot.h"
#include "icmd/files/IcmdDeleteFilesFromModel.h"
#include "icmd/files/IcmdUseSourceFile.h"
#include "icmd/scan/IcmdParseFile.h"
#include "ievent/IeventClasses.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfilePredecessorObject.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelRemoveModules.h"
#include "imodel/design/ImodelRoot.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "itool/ItoolConstraintsManager.h"
#include "itool/ItoolCoreTools.h"
#include "itool/ItoolWithConstraints.h"
#include "itool/QuorlaneCoreToolManager.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>
#include <zorpa/ZorpaString.h>

#include <boost/make_shared.hpp>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

// What parse_file leaves behind saving and restoring the libraries.
const zorpaSaveRestoreParams kParseRestore{false, true, false};

std::unique_ptr<std::deque<IfileObject>>& AddedFileList()
{
    static std::unique_ptr<std::deque<IfileObject>> list;
    return list;
}

Imodel& Model() { return Imodel::GetInstance(); }
IfileManager& Files() { return *Model().GetFileManager(); }
ImodelDesignManager& Design() { return *Model().GetDesignManager(); }

// The unit of that name in the file's library, of any kind.
ImodelModule* FindInLibraryOf(const IfileObjectEx& file, const std::string& name)
{
    const ImodelDesignManager::LibraryPtr library = Design().FindLibraryByName(file.GetLibraryName());
    return library ? ImodelFindModuleInLib(library, name, zorpaMODULE_UNKNOWN, "") : nullptr;
}

// Of the files that define the unit `name` and are refused as its
// duplicates, the one an open of the project makes its definition: the
// first in the order the project file lists its files, in a library where
// no file defines the unit any more. None when every library of those
// files still has the unit's definition.
Entry FirstOfLeftDuplicates(const std::string& name, const IfileManager::ErrorFiles& group)
{
    Entry first;
    for (const IfileErrorFile& member : group) {
        const Entry file = member.file.lock();
        if (!file || file->GetErrorFileType() != ImodelModuleAlreadyDefined) continue;
        const ImodelModule* defined = FindInLibraryOf(*file, name);
        if (defined && defined->GetModuleFile()) continue;
        if (!first || file->GetInternalFileName() < first->GetInternalFileName()) first = file;
    }
    return first;
}

// The group of the units named `name` that several files define, one of
// which left it: its one file left is cleared of its error and added again
// as the unit's definition, or, when the unit lost its definition while
// several files still define it, the first of them (in the project file's
// order, as an open gives it) defines it. Whether it did either.
bool FreeDefinition(IfileManager& files, const std::string& name, const IfileManager::ErrorFiles& group)
{
    if (group.empty()) return false;
    if (group.size() > 1) {
        // Without it the design would change at every reopen.
        const Entry first = FirstOfLeftDuplicates(name, group);
        if (!first) return false;
        // The group changes with the choice: the name is kept apart.
        const std::string unit = name;
        IcmdDoUseDefinition(false, first, unit, true, true);
        ImodelDisplayDEFINITION_GIVEN_TO_FIRST_MSG(unit.c_str(), first->GetFileTitleAndExt().c_str());
        return true;
    }
    const Entry single = group.begin()->file.lock();
    if (!single) return false;
    IfileObjectEx freed(*single);
    freed.SetErrorFile(ImodelNoError, "");
    files.AddOrUpdateFile(freed, true);
    IcmdDoAddFileToModel(freed, true, true, true, nullptr, nullptr, true, nullptr, true, false, nullptr);
    return true;
}

// The file's units leave the design and the file is one of the files
// refused for `unit`, as use_source_file leaves the file it does not choose.
void LeaveAsRefused(IfileManager& files, const Entry& file, const std::string& unit)
{
    IcmdDoDeleteFileFromModel(file, false, false, false, nullptr);
    IfileObjectEx refused(*file);
    refused.SetErrorFile(ImodelModuleAlreadyDefined, unit);
    files.AddOrUpdateFile(refused, true);
}

}  // namespace

IcmdAddFileToModel::IcmdAddFileToModel() : IcmdBase(false) {}

IcmdAddFileToModel::~IcmdAddFileToModel() = default;

int IcmdAddFileToModel::SetFile(const IfileObject& file)
{
    m_file.emplace(file, true);
    return 0;
}

int IcmdAddFileToModel::SetFile(const IfileObjectEx& file)
{
    m_file.emplace(file);
    return 0;
}

bool IcmdAddFileToModel::NeedDelayedExecution()
{
    if (!m_file) return true;
    if (Files().GetFile(*m_file)) return false;
    if (Model().IsDebugMsg()) SysDebugPrintf("add_file: the file is not in the project yet\n");
    return true;
}

void IcmdAddFileToModel::SetUpAddedFileList() { AddedFileList() = std::make_unique<std::deque<IfileObject>>(); }

void IcmdAddFileToModel::TearDownAddedFileList() { AddedFileList().reset(); }

std::deque<IfileObject>* IcmdAddFileToModel::GetAddedFiles() { return AddedFileList().get(); }

AcmdEnum::Result IcmdAddFileToModel::execDo()
{
    if (!m_file) return AcmdEnum::Failure;
    Imodel& model = Model();
    const bool source = m_file->IsASourceFile();
    if (source) model.SaveLibraries();
    m_readingProject = Imodel::GetIsReadingProject();
    if (std::deque<IfileObject>* added = GetAddedFiles()) added->push_back(*m_file);

    AcmdEnum::Result result = AcmdEnum::Success;
    if (m_file->IsLocalFile() && !ImodelDoesFileExist(m_file->GetFullFileName().GetString())) {
        // A file of the project folder that is not there is not added.
        result = AcmdEnum::Failure;
    } else {
        if (m_file->GetFileSpecificType() == zorpaFT_ADB && !m_readingProject) {
            // A database added again is no longer among the names kept for
            // the databases that went.
            ImodelFileName relative;
            ImodelGetRelativeFileName(m_file->GetFullFileName(), relative, true, zorpaFT_ADB);
            Files().RemoveName(relative.GetString(), 0);
        }
        QuorlaneCoreToolManager* coreTool = ItoolGetActiveCoreTool(m_file->GetFileSpecificType(), model);
        if (coreTool && ItoolIsMainCoreFile(&*m_file)) {
            if (model.HasNetlistModules()) ImodelRemoveAllModulesOfAType(zorpaMODULE_NETLIST);
            if (m_readingProject || coreTool->AddCoreToProject(*m_file))
                m_added = Files().AddOrUpdateFile(*m_file, true);
        } else if (source) {
            AddSourceFile();
        } else {
            AddOtherFile();
        }
    }
    if (source) model.RestoreLibraries(true, kParseRestore);
    return result;
}

void IcmdAddFileToModel::AddSourceFile()
{
    Imodel& model = Model();
    IfileManager& files = Files();
    m_added = files.AddOrUpdateFile(*m_file, false);
    const ImodelErrorFileType previousKind = m_added ? m_added->GetErrorFileType() : ImodelParseError;
    const std::string previousText = m_added ? m_added->GetModuleAlreadyDefined() : std::string();
    const bool wasUsedDuplicate = previousKind == ImodelNoError && !previousText.empty();
    if (wasUsedDuplicate) m_useEvenIfDefined = true;
    // A file that is not parsed keeps what its last parse found.
    const bool parsing = m_parse && m_added && !m_added->IsBrokenLink();
    if (parsing)
        m_file->SetErrorFile(ImodelNoError, "");
    else if (m_added)
        m_file->SetErrorFile(previousKind, previousText);

    if (parsing) {
        if (model.HasNetlistModules()) ImodelRemoveAllModulesOfAType(zorpaMODULE_NETLIST);
        if (Imodel::GetDisplayReadingFileMessage()) ImodelDisplayREADING_FILE_MSG(m_file->GetFileTitleAndExt().c_str());
        // The file chosen for a unit that another file defines meanwhile
        // (parsed in another library, or freed while this one was out of the
        // design) takes the unit back as use_source_file gives it: the other
        // file's units leave first, so that the unit keeps none of its
        // sub-blocks, and that file is one of the unit's refused files. Kept
        // as the definition too, the group would hold two choices and an
        // open would keep one.
        if (wasUsedDuplicate)
            if (const ImodelModule* unit = FindInLibraryOf(*m_file, previousText))
                if (const Entry other = unit->GetModuleFile(); other && !(*other == *m_added))
                    LeaveAsRefused(files, other, previousText);
        std::string alreadyDefined;
        Entry takenOver;
        const auto parse = [&](std::string* defined, Entry* taken) {
            return IcmdDoParseFile(m_added, m_useEvenIfDefined, m_printError, m_skipFiles, m_skipModules, m_component,
                                   m_moveToLibrary, m_components, defined, taken);
        };
        bool parsed = parse(&alreadyDefined, &takenOver);
        // Kept as the definition of a unit it defined beside another file,
        // the file now defines a unit that a third file defines: used
        // anyway, it took that unit over with the third file's sub-blocks.
        // It takes the unit as use_source_file gives it instead: the third
        // file's units leave, that file is refused for the unit, and the
        // file is parsed again into a unit of its own sub-blocks alone.
        if (wasUsedDuplicate && parsed && takenOver && !(*takenOver == *m_added) && !alreadyDefined.empty()) {
            LeaveAsRefused(files, takenOver, alreadyDefined);
            std::string again;
            parsed = parse(&again, nullptr);
        }
        if (!parsed) m_file->SetErrorFile(ImodelParseError, "");
        Imodel::GetFileCreatedBySolvato() = false;
        if (!alreadyDefined.empty()) {
            m_file->SetErrorFile(m_useEvenIfDefined ? ImodelNoError : ImodelModuleAlreadyDefined, alreadyDefined);
            // The file that defined the unit first stays its definition, in
            // the same group of files.
            const ImodelModule* defined = FindInLibraryOf(*m_file, alreadyDefined);
            if (const Entry other = defined ? defined->GetModuleFile() : Entry()) {
                IfileObjectEx marked(*other);
                marked.SetErrorFile(ImodelNoError, alreadyDefined);
                files.AddOrUpdateFile(marked, true);
            }
        }
        ChooseRoot(!parsed, Design().GetRootId());
    }
    m_added = files.AddOrUpdateFile(*m_file, true);

    const ImodelErrorFileType kind = m_file->GetErrorFileType();
    const bool clean = kind == ImodelNoError && m_file->GetModuleAlreadyDefined().empty();
    const bool wasDuplicate = wasUsedDuplicate || previousKind == ImodelModuleAlreadyDefined;
    // The file in use for a unit defined twice that no longer defines it
    // (kept as the definition only while it did) frees the other file too.
    const bool freeing = (!m_useEvenIfDefined || wasUsedDuplicate) && m_parse && wasDuplicate;
    if (freeing && (clean || kind == ImodelParseError)) {
        AddFileIfItIsTheOnlyOneToDefinedAModule();
    } else if (freeing && ZorpaCompareNoCase(IcmdReadComponentID(m_file->GetModuleAlreadyDefined()).name,
                                             IcmdReadComponentID(previousText).name) != 0) {
        // So does a file that now defines another unit defined twice
        // instead (a text may name the unit as "unit::library"): only the
        // unit it left is freed, the one it now defines is not.
        if (const IfileManager::ErrorFiles* group = files.FindErrorFileGroup(previousText))
            FreeDefinition(files, previousText, *group);
    }
    if (Imodel::GetUpdateTree() && previousKind == ImodelNoError && kind == ImodelModuleAlreadyDefined &&
        !m_useEvenIfDefined)
        model.SendEvent(boost::make_shared<IeventNewErrorModulesAddedOrRemoved>(), true);
    // While a project is read the flow takes no message about sources (it
    // works out every state once the read ends): no list is made per file.
    if (m_added && !Imodel::GetIsReadingProject()) {
        const std::deque<IfileObject> changed{static_cast<const IfileObject&>(*m_added)};
        model.GetStateMachine()->FilesModificationMessage(QuorlaneFilesChanged, changed);
    }
}

void IcmdAddFileToModel::ChooseRoot(bool parseFailed, const VyIfaces::ComponentID& before)
{
    ImodelDesignManager& design = Design();
    bool restoreRoot = false;
    bool rootSet = false;
    if (parseFailed) {
        if (m_file->GetErrorFileType() == ImodelParseError)
            IcmdDoDeleteFileFromModel(m_added, false, true, false, nullptr);
        if (design.GetRootId() != before && !IcmdDoSetRoot(false, before)) restoreRoot = true;
    }
    const ImodelModule* formerRoot = design.GetRootModule();
    if (Imodel::GetUpdateTree()) {
        VyIfaces::ComponentID id = design.GetRootId();
        if (id.IsDefault())
            if (const ImodelModule* first = ImodelGetFirstValidRoot()) id = first->GetComponentID();
        if (!id.IsDefault() && IcmdDoSetRoot(false, id)) rootSet = true;
    }
    if (restoreRoot && IcmdDoSetRoot(false, before)) rootSet = true;
    if (design.GetRootModule() != formerRoot && !rootSet) IcmdDoSetRoot(false, design.GetRootId());
}

void IcmdAddFileToModel::AddOtherFile()
{
    Imodel& model = Model();
    IfileManager& files = Files();
    const bool known = files.ContainsFile(*m_file);
    m_added = files.AddOrUpdateFile(*m_file, true);
    if (!m_added) return;
    const zorpaFileManagerTypes type = m_added->GetFileSpecificType();
    if (type == zorpaFT_SYN_SDC && !known)
        if (const IfilePredecessorObject* record = m_added->GetPredecessorObject())
            if (ImodelModule* module = record->GetModulePtr())
                module->GetPhySynthOptions()->ConstraintFileAdded(m_added, module);
    const bool constraint = m_added->GetFileGlobalType() == zorpaFT_GROUP_CONSTRAINT;
    model.GetStateMachine()->FileModificationMessage(
        m_updateState && constraint ? QuorlaneConstraintFileChanged : QuorlaneFileChanged, m_added);

    ImodelHost* host = model.GetHost();
    if (!host || m_readingProject) return;
    const ImodelGlobalFlowOptions& flow = *model.GetGlobalFlowOptions();
    if (type == zorpaFT_SYN_EDN && m_generateEdif) {
        int runDrc = 0;
        DefGetBoolFL("IDE_RUN_DRC", &runDrc, __FILE__, __LINE__);
        if (flow.GenerateHDLAfterSynthesis || (runDrc == 1 && flow.RunDRCAfterSynthesis)) host->FileAdded(*m_added);
    } else if (type == zorpaFT_ZEVORU_EDN && flow.GenerateHDLAfterPhySynthesis) {
        host->FileAdded(*m_added);
    }
}

void IcmdAddFileToModel::AddFileIfItIsTheOnlyOneToDefinedAModule()
{
    IfileManager& files = Files();
    const IfileManager::ErrorGroupRange groups = files.GetErrorFileGroups();
    // The groups change under the walk: it ends at the first freed.
    for (auto group = groups.first; group != groups.second; ++group)
        if (group->second && FreeDefinition(files, group->first, *group->second)) return;
}

namespace {

Entry RunAddFile(std::unique_ptr<IcmdAddFileToModel> command, std::deque<IfileObject>* skipFiles,
                 std::vector<std::string>* skipModules, bool updateFileManager, bool parse, bool useEvenIfDefined,
                 bool printError, VyIfaces::IComponent* component, bool updateState, bool moveToLibrary,
                 std::vector<VyIfaces::IComponent*>* components)
{
    command->SetSkipList(skipFiles);
    command->SetSkipModuleList(skipModules);
    command->SetUpdateFileManager(updateFileManager);
    command->SetParseTheFile(parse);
    command->SetUseThisFileEvenIfModulesAreAlreadyDefined(useEvenIfDefined);
    command->SetPrintErrorIfModulesAreAlreadyDefined(printError);
    command->SetUpdateState(updateState);
    command->SetComponent(component);
    command->SetMoveFileToLibrary(moveToLibrary);
    command->SetComponents(components);
    Entry added;
    IcmdDoCommand<IcmdAddFileToModel>(std::move(command), false,
                                      [&added](IcmdAddFileToModel& run) { added = run.GetAddedFileObject(); });
    return added;
}

// A file value or a registered file: the command takes either as it stands.
template <class File>
boost::shared_ptr<IfileObjectEx> AddFileToModel(const File& file, bool updateFileManager, bool parse,
                                                bool useEvenIfDefined, std::deque<IfileObject>* skipFiles,
                                                std::vector<std::string>* skipModules, bool printError,
                                                VyIfaces::IComponent* component, bool updateState, bool moveToLibrary,
                                                std::vector<VyIfaces::IComponent*>* components)
{
    auto command = std::make_unique<IcmdAddFileToModel>();
    command->SetFile(file);
    return RunAddFile(std::move(command), skipFiles, skipModules, updateFileManager, parse, useEvenIfDefined,
                      printError, component, updateState, moveToLibrary, components);
}

}  // namespace

boost::shared_ptr<IfileObjectEx> IcmdDoAddFileToModel(const IfileObjectEx& file, bool updateFileManager, bool parse,
                                                      bool useEvenIfDefined, std::deque<IfileObject>* skipFiles,
                                                      std::vector<std::string>* skipModules, bool printError,
                                                      VyIfaces::IComponent* component, bool updateState,
                                                      bool moveToLibrary,
                                                      std::vector<VyIfaces::IComponent*>* components)
{
    return AddFileToModel(file, updateFileManager, parse, useEvenIfDefined, skipFiles, skipModules, printError,
                          component, updateState, moveToLibrary, components);
}

boost::shared_ptr<IfileObjectEx> IcmdDoAddFileToModel(const IfileObject& file, bool updateFileManager, bool parse,
                                                      bool useEvenIfDefined, std::deque<IfileObject>* skipFiles,
                                                      std::vector<std::string>* skipModules, bool printError,
                                                      VyIfaces::IComponent* component, bool updateState,
                                                      bool moveToLibrary,
                                                      std::vector<VyIfaces::IComponent*>* components)
{
    return AddFileToModel(file, updateFileManager, parse, useEvenIfDefined, skipFiles, skipModules, printError,
                          component, updateState, moveToLibrary, components);
}
