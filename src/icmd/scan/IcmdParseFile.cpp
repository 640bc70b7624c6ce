#include "icmd/scan/IcmdParseFile.h"

#include "icmd/IcmdDoCommand.h"
#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/scan/zorpaCreateParser.h"
#include "ievent/IeventClasses.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "ifile/IfileProjectOpening.h"
#include "imodel/design/ImodelDeletedModuleInfo.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleNotices.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/design/ImodelRemoveModules.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/Sys.h>
#include <ktwkspace/Workspace.h>
#include <zorpa/ZorpaString.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

// Whether a name is that of a unit that several project files define, in a
// group whose first file lies in `library`: looked up in the file manager's
// groups for each unit the scanner declares. The library's name is held by
// the caller while the scan runs: two pointers are kept in the function
// itself, with no block made for every file.
ZorpaParser<ImodelModule*>::MarkedNames MarkedNamesIn(const std::string& library)
{
    IfileManager* files = Imodel::GetInstance().GetFileManager();
    if (files == nullptr) return {};
    return [files, library = &library](const std::string& name) {
        const IfileManager::ErrorFiles* group = files->FindErrorFileGroup(name);
        if (group == nullptr || group->empty()) return false;
        const boost::shared_ptr<IfileObjectEx> defining = group->begin()->file.lock();
        return defining && ZorpaCompareNoCase(defining->GetLibraryName(), *library) == 0;
    };
}

// Whether the unit is one the file defines (a schematic's unit stands for
// its last page, which may be another entry of the same name).
bool Defines(const IfileObjectEx& file, const ImodelModule& module)
{
    const boost::shared_ptr<IfileObjectEx> own = module.GetModuleFile();
    return own && (own.get() == &file || own->GetFullFileName() == file.GetFullFileName());
}

// The name and the recorded package of a block-design component.
std::string ComponentName(const VyIfaces::IComponent* component) { return component->GetComponentID().name; }
std::string ComponentPackage(const VyIfaces::IComponent* component) { return component->GetComponentID().package; }

// Tells the open core workspace where the unit of a component is declared.
void RecordComponentPlace(VyIfaces::IComponent* component, const std::string& library, const std::string& package)
{
    if (Ktwkspace::Workspace* workspace = Imodel::GetInstance().GetCurrentWorkspace())
        workspace->SetComponentLibraryAndPackage(component, library, package);
}

std::string Lowered(std::string text)
{
    ZorpaMakeLower(text);
    return text;
}

// A unit of another file that instantiated a unit of the parsed file, with
// the number of its instances.
struct FileUnitUser {
    ImodelModule* user;
    std::uint64_t serial;
    std::string unit;
    std::size_t instances;
};

// Before the file's units go: the units of other files that use them.
std::vector<FileUnitUser> UsersOfFileUnits(const IfileObjectEx& file, const ImodelModule& prototype,
                                           const ImodelDesignManager::LibraryPtr& library)
{
    std::vector<FileUnitUser> users;
    for (ImodelModule* unit : library->GetModules()->UnitsOfFileKey(prototype.GetFileIndexKey())) {
        const ImodelLinkList* parents = unit->GetParentsList();
        if (!Defines(file, *unit) || parents == nullptr) continue;
        for (ImodelModule* user : *parents)
            if (!Defines(file, *user))
                users.push_back({user, user->GetUnitSerial(), unit->GetName(), user->GetSubBlocks()->Count(unit)});
    }
    return users;
}

// Whether the unit still stands in a library of the design (asked before
// it is looked at: a unit deleted since may have left its address to
// another).
bool IsAlive(ImodelModule* unit, std::uint64_t serial)
{
    const auto [first, last] = Design().GetLibraries();
    return std::any_of(first, last,
                       [unit](const ImodelDesignManager::LibraryPtr& library) {
                           return library && library->GetModules()->contains(unit);
                       }) &&
           unit->GetUnitSerial() == serial;
}

// While the file's units were away, a user that reached one of them through
// a package's component was given the package in its place. The user takes
// the unit of that name that the file now declares instead, so that parsing
// a file again keeps the hierarchy as it was.
void RelinkUsers(const std::vector<FileUnitUser>& users, const IfileObjectEx& file, ZorpaParser<ImodelModule*>& parser)
{
    if (users.empty()) return;
    std::unordered_multimap<std::string, ImodelModule*> declared;
    for (auto [at, end] = parser.GetModuleRange(); at != end; ++at)
        if (Defines(file, **at)) declared.emplace(Lowered((*at)->GetName()), *at);
    for (const FileUnitUser& used : users) {
        if (!IsAlive(used.user, used.serial)) continue;
        const auto [from, to] = declared.equal_range(Lowered(used.unit));
        const auto named =
            std::find_if(from, to, [&used](const auto& entry) { return entry.second->IsSameModule(used.unit); });
        if (named == to) continue;
        ImodelModule* unit = named->second;
        const ImodelLinkList* subBlocks = used.user->GetSubBlocks();
        std::size_t missing = used.instances - std::min(used.instances, subBlocks ? subBlocks->Count(unit) : 0);
        if (missing == 0 || subBlocks == nullptr) continue;
        for (ImodelModule* standIn : subBlocks->ToList()) {
            if (missing == 0) break;
            const ImodelLinkList* declaredThere = standIn->GetSubBlocks();
            if (!standIn->IsPackage() || declaredThere == nullptr || !declaredThere->Contains(unit)) continue;
            used.user->RemoveSubBlock(standIn, true);
            used.user->AddSubBlock(unit, true);
            --missing;
        }
    }
}

// Makes the unit of `id` the root again after its file was parsed anew.
// The default id names no unit: the root stays as it is.
void RestoreRoot(const VyIfaces::ComponentID& id)
{
    if (id.IsDefault()) return;
    ImodelModule* module = ImodelFindModule(id);
    if (module == nullptr || !module->GetModuleFile()) return;
    ImodelDesignManager& design = Design();
    if (ImodelModule* previous = design.GetRootModule(); previous != nullptr && previous != module)
        previous->SetIsRoot(false);
    design.SetRootId(module->GetComponentID());
    module->SetIsRoot(true);
}

// A package file is copied into the folder "package" of the project, unless
// it is that very copy or a copy made since the file last changed (same
// size, not older): every parse would otherwise write it again. A member of
// the project lying there under the same title (an older project kept its
// packages there) is the user's own source, never written over.
void CopyIntoPackageFolder(const IfileObjectEx& file)
{
    const std::string project = Design().GetProjectFolder().GetString();
    if (project.empty()) return;
    const std::string folder = project + SysGetDirChar() + "package";
    if (!ImodelValidateOrCreateDirectory(ImodelFileName(folder))) return;
    const std::string from = file.GetFullFileName().GetString();
    const std::string to = folder + SysGetDirChar() + file.GetFileTitleAndExt();
    if (SysIsSameFile(from, to)) return;
    SysStatInfo source;
    SysStatInfo copy;
    const bool there = SysPathStat(to, &copy) == 0;
    if (there && SysPathStat(from, &source) == 0 && SysIsRegularFile(copy) && copy.size == source.size &&
        copy.time >= source.time)
        return;
    // Only a file already there can be lost, and only then is the project
    // asked (at an open, that asks for an index of every member).
    if (there && IfileProjectMember(IfileObject(ImodelFileName(to), zorpaFT_HDL, ImodelFMFull, true, true))) {
        ImodelDisplayPACKAGE_COPY_OVER_MEMBER_MSG(from.c_str(), to.c_str());
        return;
    }
    // A failed copy is no failure of the parse.
    SysCopy(from, to);
}

// The included files as the scanner found them, made absolute against the
// file's folder.
void RecordIncludes(IfileObjectEx& file, const std::deque<std::string>& includes)
{
    file.ClearIncludedFiles();
    if (includes.empty()) return;
    const std::string folder = file.GetFileLocation().GetString();
    for (const std::string& name : includes) {
        const std::string full = AcmdGetQualifiedName(name, false, folder);
        file.AddIncludedFile(IfileObject(ImodelFileName(full), zorpaFT_HDL, ImodelFMFull, false, true));
    }
}

// The files whose last parse left out instances that would have closed a
// cycle, with those instances. A file parsed again takes its entry anew; an
// entry whose file or unit has gone is dropped when next looked at.
struct RefusedOfFile {
    boost::weak_ptr<IfileObjectEx> file;
    std::vector<ZorpaParser<ImodelModule*>::RefusedInstance> refused;
};
std::unordered_map<const IfileObjectEx*, RefusedOfFile>& RefusedFiles()
{
    static std::unordered_map<const IfileObjectEx*, RefusedOfFile> files;
    return files;
}

void NoteRefusedInstances(const boost::shared_ptr<IfileObjectEx>& file, const ZorpaParser<ImodelModule*>& parser)
{
    auto& files = RefusedFiles();
    if (!parser.GetRefusedInstances().empty())
        files[file.get()] = RefusedOfFile{file, parser.GetRefusedInstances()};
    else if (!files.empty())
        files.erase(file.get());
}

ImodelModule* UnitNamed(const std::string& library, const std::string& name)
{
    const ImodelDesignManager::LibraryPtr found = Design().FindLibraryByName(library);
    return found ? ImodelFindModuleInLib(found, name, zorpaMODULE_UNKNOWN, "") : nullptr;
}

// Whether `above` is `unit` or one of its ancestors.
bool IsUnitOrAncestor(ImodelModule* above, ImodelModule* unit)
{
    std::unordered_set<ImodelModule*> seen{unit};
    std::vector<ImodelModule*> pending{unit};
    while (!pending.empty()) {
        ImodelModule* next = pending.back();
        pending.pop_back();
        if (next == above) return true;
        if (const ImodelLinkList* parents = next->GetParentsList())
            for (ImodelModule* parent : *parents)
                if (seen.insert(parent).second) pending.push_back(parent);
    }
    return false;
}

// Whether an instance the file's parse left out would now be linked: its
// unit still stands, defined by the file, and the unit it names is no
// longer that unit or above it (or stands no more).
bool MayLinkNow(const IfileObjectEx& file, const ZorpaParser<ImodelModule*>::RefusedInstance& refused)
{
    ImodelModule* unit = UnitNamed(refused.unitLibrary, refused.unit);
    if (unit == nullptr || !Defines(file, *unit)) return false;
    ImodelModule* named = UnitNamed(refused.namedLibrary, refused.named);
    return named == nullptr || !IsUnitOrAncestor(named, unit);
}

}  // namespace

void IcmdLinkRefusedInstances()
{
    auto& files = RefusedFiles();
    if (files.empty() || Imodel::GetIsReadingProject()) return;
    // The parses below end in restores of their own, which call here again.
    static bool running = false;
    if (running) return;
    const ImodelSetAndRestoreModelFlagObject linking(running, true);
    std::vector<boost::shared_ptr<IfileObjectEx>> again;
    for (auto at = files.begin(); at != files.end();) {
        const boost::shared_ptr<IfileObjectEx> file = at->second.file.lock();
        if (!file) {
            at = files.erase(at);
            continue;
        }
        const auto& refused = at->second.refused;
        if (std::any_of(refused.begin(), refused.end(),
                        [&file](const auto& instance) { return MayLinkNow(*file, instance); }))
            again.push_back(file);
        ++at;
    }
    // Parsed as a refresh parses a file read anew.
    for (const boost::shared_ptr<IfileObjectEx>& file : again)
        IcmdDoAddFileToModel(*file, false, true, false, nullptr, nullptr, false, nullptr, true, false, nullptr);
}

IcmdParseFile::IcmdParseFile()
    : IcmdBase(false), m_library("library", this, AcmdValueType::Single(), false, "library name", "work", false),
      m_fileName("file", this, AcmdValueType::Single(), true, "file to parse", "")
{
    // The file may have left the disk since it was registered: the scanner
    // then reports it and the file's units go.
    m_fileName.SetMayNotExist(true);
}

IcmdParseFile::~IcmdParseFile() = default;

void IcmdParseFile::SetFile(boost::shared_ptr<IfileObjectEx> file)
{
    m_file = std::move(file);
    if (m_file) m_fileName.SetObject(m_file->GetFullFileName().GetString());
}

int IcmdParseFile::SetLibraryName(const std::string& library)
{
    m_library.SetObject(library);
    return 0;
}

std::string IcmdParseFile::GetLibraryName() const { return m_library.GetObject(); }

AcmdEnum::Result IcmdParseFile::execDo()
{
    const std::string named = m_fileName.GetObject();
    if (!m_file && !named.empty()) {
        ImodelDesignManager& design = Design();
        const std::string library = GetLibraryName();
        design.AddLibrary(library, true);
        if (design.GetProjectFolder().empty()) {
            const IfileObject located(ImodelFileName(named), zorpaFT_HDL, ImodelFMFull, true, false);
            design.SetProjectFolder(located.GetFileLocation());
        }
        IfileObjectEx entry(IfileObject(ImodelFileName(named), zorpaFT_HDL, ImodelFMFull, false, true), false);
        entry.SetLibraryName(library);
        if (IfileManager* files = Imodel::GetInstance().GetFileManager()) m_file = files->AddOrUpdateFile(entry, true);
    }
    if (!m_file) return AcmdEnum::Failure;
    return parseFile(m_file);
}

AcmdEnum::Result IcmdParseFile::parseFile(boost::shared_ptr<IfileObjectEx>& file)
{
    if (!file) return AcmdEnum::Failure;
    Imodel& model = Imodel::GetInstance();
    ImodelDesignManager& design = *model.GetDesignManager();
    const std::string& fullName = file->GetFullFileName().GetString();
    int firstPage = -1;
    int lastPage = -1;
    if (file->GetFileSpecificType() == zorpaFT_SCH) IfileFindAllPagesOfSchematic(file, firstPage, lastPage);

    const std::string libraryName = file->GetLibraryName();
    ImodelDesignManager::LibraryPtr library = design.FindLibraryByName(libraryName);
    if (!library) library = design.AddLibrary(libraryName, true);
    // Everything that can refuse the file is asked before its units go.
    if (!library || library->GetModuleList() == nullptr) return AcmdEnum::Failure;
    ImodelModule prototype("prototype", file, zorpaMODULE_UNKNOWN, false, "work", "", false);
    zorpaCreateParser<ImodelModule*> create(&prototype, nullptr);
    create.Visit(file->GetModuleType());
    const boost::shared_ptr<Parser> parser = create.GetParser();
    if (!parser) return AcmdEnum::Failure;

    const bool fromEmpty = Imodel::GetIsStartingFromEmptyHierarchy();
    const bool replacing = !fromEmpty && !m_moveFileToLibrary;
    // The units kept aside and the units removed come only from a design
    // that was not empty: a read into an empty design makes neither per file.
    const auto saved = fromEmpty ? nullptr : boost::make_shared<ImodelModule::UnitSet>();
    // The list is only ever shortened after the removal fills it: the
    // thread's empty one stays empty.
    thread_local RemovedUnits noneRemoved;
    std::optional<RemovedUnits> ownRemoved;
    if (replacing) ownRemoved.emplace();
    RemovedUnits& removed = ownRemoved ? *ownRemoved : noneRemoved;
    VyIfaces::ComponentID rootId;
    std::vector<VyIfaces::IComponent*> components;
    std::vector<FileUnitUser> users;
    if (replacing) {
        AddEvent(boost::make_shared<IeventFilePreParse>(file));
        NotifyAllViews();
        rootId = design.GetRootId();
        users = UsersOfFileUnits(*file, prototype, library);
        ImodelRemoveModulesOfFile(file, saved, false, false, false, &components, &removed);
    }

    parser->SetLibraries(design.GetLibraries());
    parser->SetMarkedNames(MarkedNamesIn(libraryName));
    parser->SetUseAnyway(m_useEvenIfDefined);
    parser->parse(fullName, libraryName, model.GetExistingTempWorld(), false, firstPage, lastPage);
    parser->SetMarkedNames({});
    NoteRefusedInstances(file, *parser);
    RelinkUsers(users, *file, *parser);

    file->SetFileStructural(parser->IsStructural());
    file->SetUsedPackages(parser->GetUseClauses());
    file->SetDefinedPackages(parser->GetPackageNames());
    const std::string alreadyDefined = parser->GetAlreadyDefinedName();
    m_takenOverFile = parser->GetTakenOverFile();
    design.UpdateTopModules(library);

    if (file->HasPackage()) CopyIntoPackageFolder(*file);
    RecordIncludes(*file, parser->GetIncludeNames());

    const bool accepted = !RefusesDuplicate(file, alreadyDefined);
    AddEvent(boost::make_shared<IeventFileAndModulePostParse>(file, accepted ? parser.get() : nullptr));
    bool rootAnnounced = true;
    if (accepted) {
        const unsigned start = ImodelStartLongProcess("Notify - AddModuleAddedEventRec");
        rootAnnounced = AddModuleAddedEventRec(file, true, parser.get(), rootId,
                                               m_moveFileToLibrary ? m_components : &components, removed);
        ImodelEndLongProcess(start);
    } else if (ImodelModuleNoticeBatch* batch = fromEmpty ? ImodelModuleNoticeBatch::Current() : nullptr) {
        // The refused file's units keep the sub-blocks the parse gave them
        // and are told of only when a later walk reaches them.
        const auto [first, last] = parser->GetModuleRange();
        for (auto at = first; at != last; ++at) batch->Changed(*at);
    }
    NotifyAllViews();

    if (!fromEmpty) {
        ImodelDuplicateSubModuleInfo(saved, library->GetModules(), false, zorpaSaveRestoreParams{false, true, false});
        saved->clear();
        if (rootAnnounced) RestoreRoot(rootId);
    }
    return accepted ? AcmdEnum::Success : AcmdEnum::Failure;
}

bool IcmdParseFile::RefusesDuplicate(const boost::shared_ptr<IfileObjectEx>& file, const std::string& alreadyDefined)
{
    if (alreadyDefined.empty()) return false;
    if (m_skipFiles != nullptr && std::find(m_skipFiles->begin(), m_skipFiles->end(),
                                            static_cast<const IfileObject&>(*file)) != m_skipFiles->end())
        return false;
    const bool skipped = m_skipModules != nullptr && std::find(m_skipModules->begin(), m_skipModules->end(),
                                                               alreadyDefined) != m_skipModules->end();
    m_moduleAlreadyDefined = alreadyDefined;
    if (m_useEvenIfDefined) return false;
    if (m_printError && !skipped) ImodelDisplayDUPLICATE_MODULE_MSG(alreadyDefined.c_str());
    NotifyAllViews();
    return true;
}

bool IcmdParseFile::AddModuleAddedEventRec(boost::shared_ptr<IfileObjectEx> file, bool, Parser* parser,
                                           const VyIfaces::ComponentID& rootId,
                                           std::vector<VyIfaces::IComponent*>* components, RemovedUnits& removed)
{
    if (parser == nullptr) return false;
    const ImodelDesignManager::LibraryPtr library = file ? Design().FindLibraryByName(file->GetLibraryName()) : nullptr;
    ImodelModule::ModuleSet related;
    // While a project is read into an empty design, the views hear of each
    // unit once, when the read ends (the root is not asked for then).
    ImodelModuleNoticeBatch* batch =
        Imodel::GetIsStartingFromEmptyHierarchy() ? ImodelModuleNoticeBatch::Current() : nullptr;
    std::optional<ImodelModuleNoticeBatch::FileWalk> walk;
    if (batch != nullptr) walk.emplace(*batch);
    const auto [first, last] = parser->GetModuleRange();
    if (walk)
        for (auto at = first; at != last; ++at)
            if (file && Defines(*file, **at)) walk->Defined(*at);
    const auto relate = [&](ImodelModule* module) {
        if (walk)
            walk->Related(module);
        else
            module->GetAllRelatedModules(related, -1, 1);
    };
    for (auto at = first; at != last; ++at) {
        ImodelModule* module = *at;
        if (!file || !Defines(*file, *module)) {
            if (walk)
                walk->Unit(module);
            else
                related.insert(module);
            continue;
        }
        if (module->IsPackage()) {
            if (const ImodelLinkList* declared = module->GetSubBlocks()) {
                for (ImodelModule* unit : declared->ToList()) {
                    VyIfaces::IComponent* component = unit->GetComponent();
                    if (component == nullptr) continue;
                    const std::string recorded = ComponentPackage(component);
                    if (!m_moveFileToLibrary) {
                        removed.erase(std::remove(removed.begin(), removed.end(), unit), removed.end());
                        const ImodelModule* package =
                            recorded.empty() ? nullptr
                                             : ImodelFindModuleInLib(library, recorded, zorpaMODULE_UNKNOWN, "");
                        if (package == nullptr || !package->IsPackage())
                            RecordComponentPlace(component, module->GetDefinedInLibrary(), module->GetName());
                    } else if (recorded.empty()) {
                        RecordComponentPlace(component, module->GetDefinedInLibrary(), module->GetName());
                    }
                }
            }
            relate(module);
            continue;
        }
        if (components != nullptr && !components->empty()) {
            const auto named = [module](VyIfaces::IComponent* component) {
                return ZorpaCompareNoCase(ComponentName(component), module->GetName()) == 0;
            };
            if (m_moveFileToLibrary) {
                for (VyIfaces::IComponent* component : *components) {
                    if (!named(component)) continue;
                    RecordComponentPlace(component, module->GetDefinedInLibrary(), module->GetDefinedInPackage());
                    module->SetComponent(component);
                }
            } else if (const auto found = std::find_if(components->begin(), components->end(), named);
                       found != components->end()) {
                components->erase(found);
            }
        }
        relate(module);
    }

    bool rootFound = false;
    for (ImodelModule* module : related) {
        if (module->GetComponentID() == rootId) rootFound = true;
        if (module->CanBeDisplayedInAView())
            AddEvent(boost::make_shared<IeventModuleModified>(module));
        else
            AddEvent(boost::make_shared<IeventModuleAdded>(module));
    }
    for (ImodelModule* module : removed) {
        VyIfaces::IComponent* component = module->GetComponent();
        if (component == nullptr) continue;
        const ImodelModule* other = ImodelFindAnotherPackageDeclaringAModule(module, ComponentPackage(component));
        RecordComponentPlace(component, module->GetDefinedInLibrary(), other ? other->GetName() : std::string());
    }
    return rootFound;
}

bool IcmdDoParseFile(const boost::shared_ptr<IfileObjectEx>& file, bool useEvenIfDefined, bool printError,
                     std::deque<IfileObject>* skipFiles, std::vector<std::string>* skipModules,
                     VyIfaces::IComponent* component, bool moveToLibrary,
                     std::vector<VyIfaces::IComponent*>* components, std::string* moduleAlreadyDefined,
                     boost::shared_ptr<IfileObjectEx>* takenOverFile)
{
    auto command = std::make_unique<IcmdParseFile>();
    command->SetFile(file);
    command->UseThisFileEvenIfModulesAreAlreadyDefined(useEvenIfDefined);
    command->PrintErrorIfModulesAreAlreadyDefined(printError);
    command->SetListToSkipForDuplicateErrorMessage(skipFiles, skipModules);
    command->SetComponent(component);
    command->SetMoveFileToLibrary(moveToLibrary);
    command->SetComponents(components);
    if (moduleAlreadyDefined != nullptr) moduleAlreadyDefined->clear();
    if (takenOverFile != nullptr) takenOverFile->reset();
    return IcmdDoCommand<IcmdParseFile>(std::move(command), false,
                                        [moduleAlreadyDefined, takenOverFile](IcmdParseFile& run) {
                                            if (moduleAlreadyDefined != nullptr)
                                                *moduleAlreadyDefined = run.GetModuleAlreadyDefined();
                                            if (takenOverFile != nullptr) *takenOverFile = run.GetTakenOverFile();
                                        });
}
