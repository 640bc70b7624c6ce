// The place-and-route tool's file lists: reading, reconciling with the
// project's constraint files, writing only what changed, and the small
// edits (rename, removal, stimulus dumps).
#include "src/itool/itoolPalladorImpl.h"

#include "ifile/IfileExtendedInfoManager.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelHierarchyFiles.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTypes.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelCommandServices.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelContextImpl.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "iprocess/IprocessToolObject.h"
#include "itool/ItoolFunctions.h"
#include "src/itool/itoolNames.h"

#include <foundation/Sys.h>
#include <kemlet/KemletIde_pldFileManagerIf.h>

#include <algorithm>
#include <unordered_set>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;
using Entries = std::vector<Entry>;

ImodelFileName FullName(const ImodelFileName& adb) { return itoolFileOf(adb, zorpaFT_ADB).GetFullFileName(); }

void ReloadDescription(const char* database)
{
    if (!database) return;
    if (IfileExtendedInfoManager* cache = Imodel::GetInstance().GetExtendedInfoManager())
        cache->ReloadInfo(IfileObject(ImodelFileName(database), zorpaFT_ADB, ImodelFMFull, true, true),
                          Imodel::GetNotifyConstraintListChanged());
}

// The key under which two names in a list are the same file.
std::string SameFileKey(const std::string& name) { return ImodelFileNameKey(name, std::string()); }

bool Contains(const std::deque<IfileObject>& list, const IfileObject& file)
{
    return std::find(list.begin(), list.end(), file) != list.end();
}

bool Contains(const Entries& files, const IfileObject& file)
{
    return std::any_of(files.begin(), files.end(), [&file](const Entry& each) { return each && *each == file; });
}

// The design states whose inputs place and route reads, the most processed first.
constexpr imodelSolvatoState kInputStates[] = {Post_Phy_Synthesis, Post_Synthesis, Pre_Synthesis};

}  // namespace

KemletIde_pldFileManagerIf ItoolPalladorListFile(const ImodelFileName& fullDatabase)
{
    KemletIde_pldFileManagerIf manager(fullDatabase.GetString(), KemletWriterProjectManager, &ReloadDescription);
    if (const ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager())
        manager.SetProjectFile(design->GetProjectFileName().GetString());
    return manager;
}

ItoolPallador::ReadResult itoolPalladorImpl::ReadFileList(const ImodelFileName& adb, ImodelModule* module,
                                                          ImodelRevContextImpl* revision, std::deque<IfileObject>& list,
                                                          KemletContentIf* content, bool strict)
{
    if (adb.empty()) return ReadNothing;
    const ImodelFileName name = FullName(adb);
    const KemletIde_pldFileManagerIf manager = ItoolPalladorListFile(name);
    KemletContentIf own;
    KemletContentIf& read = content ? *content : own;
    const bool existed = UtlDoesDiskObjectExist(manager.GetFileName());
    ReadResult result = ReadNothing;
    bool changed = false;
    if (existed && manager.Read(&read)) {
        result = read.IsContentOf(name) ? ReadListRead : ReadOtherDesign;
        if (result == ReadListRead) LoadFileList(name, read, module, revision, list, true, strict, changed);
    }
    // Written back over a list of its own, or where there was none: never
    // over another design's list, nor over one that could not be read.
    if ((changed || strict) && (result == ReadListRead || !existed)) WriteFileList(name, list, nullptr, strict, false);
    return result;
}

bool itoolPalladorImpl::WriteFileList(const ImodelFileName& adb, const std::deque<IfileObject>& list,
                                      const ImodelOptionalFiles* optional, bool clearOptional, bool force)
{
    if (adb.empty()) return false;
    const ImodelFileName name = FullName(adb);
    const KemletIde_pldFileManagerIf manager = ItoolPalladorListFile(name);
    const std::vector<KemletFileRecord> records = ToRecords(list);
    KemletContentIf content;
    const bool exists = UtlDoesDiskObjectExist(manager.GetFileName());
    // What the tool noted of another design does not carry over to this one.
    if (exists && manager.Read(&content) && !content.IsContentOf(name)) content = KemletContentIf();
    const bool listChanged = !content.IsSameRecords(records);
    if (listChanged) content.SetRecords(records);
    if (clearOptional) content.ClearOptionalFiles();
    bool optionalChanged = false;
    if (optional) {
        for (const auto& [file, state] : *optional) {
            const KemletOptionalFile* entry = content.FindOptionalFile(file);
            if (entry && entry->flag == state) continue;
            content.SetOptionalFile(file, state);
            optionalChanged = true;
        }
    }
    if (!listChanged && !optionalChanged) return true;
    // A list the user made read-only is only written when forced.
    if (exists && !force && SysHasReadOnlyAttr(manager.GetFileName())) return false;
    return manager.Write(content);
}

bool itoolPalladorImpl::EnsureFileListFile(const ImodelFileName& adb, ImodelModule* module,
                                           ImodelRevContextImpl* revision)
{
    if (adb.empty()) return false;
    const ImodelFileName name = FullName(adb);
    const KemletIde_pldFileManagerIf manager = ItoolPalladorListFile(name);
    const std::string& file = manager.GetFileName();
    bool created = false;
    if (!UtlDoesDiskObjectExist(file)) created = manager.Write(KemletContentIf()) && UtlDoesFileExist(file);
    const bool exists = UtlDoesFileExist(file);
    if (exists) SysSetReadOnlyAttr(file, false);
    if (created) {
        IprocessFlow* flow = Imodel::GetInstance().GetProcessManager()->GetFlowForModule(module);
        const IprocessToolObject* tool = flow ? flow->GetToolObject(idePALLADOR) : nullptr;
        const IprocessFileToToolTransition* input = nullptr;
        for (imodelSolvatoState state : kInputStates) {
            if (!tool || input) break;
            input = tool->GetDefaultInputFileTransition(state, true, false, module, revision, -1);
        }
        std::vector<IprocessFileObject*> nodes;
        if (input) input->GetFromsOpt(nodes, true);
        if (!nodes.empty() && nodes.front() && nodes.front()->GetFileType() != zorpaFT_ADB) {
            std::deque<IfileObject> files;
            ImodelOptionalFiles states;
            GetDefaultInputFiles(files, nodes, module, revision, true);
            ItoolCreateNewFileStatesVector(idePALLADOR, module, revision, files, states);
            WriteFileList(name, files, &states, false, false);
        }
    }
    if (!exists && Imodel::GetInstance().IsDebugMsg()) SysDebugPrintf("No ide_pld file for design %s\n", name.c_str());
    return exists;
}

bool itoolPalladorImpl::RenameFileInList(const IfileObject& adb, const IfileObject& file, const Entry& renamed)
{
    if (!renamed) return false;
    const ImodelFileName name = adb.GetFullFileName();
    const KemletIde_pldFileManagerIf manager = ItoolPalladorListFile(name);
    KemletContentIf content;
    if (!manager.Read(&content) || !content.IsContentOf(name)) return false;
    if (!content.RenameFile(file.GetFullFileName(), renamed->GetFullFileName())) return false;
    return manager.Write(content);
}

bool itoolPalladorImpl::AddVcdFiles(const ImodelFileName& adb)
{
    if (adb.empty()) return false;
    const ImodelFileName name = FullName(adb);
    const KemletIde_pldFileManagerIf manager = ItoolPalladorListFile(name);
    KemletContentIf content;
    if (!manager.Read(&content) || !content.IsContentOf(name)) return false;
    std::unordered_set<std::string> listed;
    for (const std::string& each : content.GetFileList()) listed.insert(SameFileKey(each));
    Entries dumps;
    Imodel::GetInstance().GetFileManager()->GetFilesOfSpecificType(zorpaFT_VCD, dumps, 0, nullptr);
    bool changed = false;
    for (const Entry& dump : dumps) {
        const std::string full = dump->GetFullFileName().GetString();
        if (!listed.insert(SameFileKey(full)).second) continue;
        content.AddFile(full, GetRecordKind(*dump), "vcd");
        changed = true;
    }
    return changed && manager.Write(content);
}

void itoolPalladorImpl::ImportLinkedFiles(const ImodelFileName& adb, KemletContentIf& content)
{
    if (adb.empty()) return;
    const ImodelFileName name = FullName(adb);
    if (!ItoolPalladorListFile(name).Read(&content)) return;
    RegisterDescriptionLinks(IfileObject(name, zorpaFT_ADB, ImodelFMFull, true, true), content);
}

void itoolPalladorImpl::RegisterDescriptionLinks(const IfileObject& database, const KemletContentIf& content)
{
    const ImodelFileName name = database.GetFullFileName();
    if (name.empty() || !content.IsContentOf(name)) return;
    // The add of a link may have the description loaded again: the walk
    // under way covers what that load would find.
    static std::unordered_set<std::string> walking;
    const std::string key = SameFileKey(name.GetString());
    if (!walking.insert(key).second) return;
    struct Leave {
        const std::string& key;
        ~Leave() { walking.erase(key); }
    } leave{key};

    std::deque<IfileObject> list;
    bool changed = false;
    LoadFileList(name, content, nullptr, nullptr, list, false, false, changed);
    IfileManager* files = Imodel::GetInstance().GetFileManager();
    if (files == nullptr) return;
    ImodelCommandServices* commands = ImodelCommandServices::Get();
    const bool debug = Imodel::GetInstance().IsDebugMsg();
    for (const IfileObject& file : list) {
        // A file of the project folder that the project lacks was taken out
        // of it by the user; a link would bring it back, marked read-only.
        if (file.IsLocalFile() || files->GetFile(file)) continue;
        const std::string title = file.GetFileTitleAndExt();
        if (!UtlDoesFileExist(file.GetFullFileName().GetString())) {
            if (debug) SysDebugPrintf("Ignoring %s: broken link used by pallador\n", title.c_str());
        } else if (commands && commands->CreateLink(file) && debug) {
            SysDebugPrintf("Added %s link used by pallador\n", title.c_str());
        }
    }
}

void itoolPalladorImpl::RemoveFileFromList(const ImodelFileName& adb, const IfileObject& file)
{
    std::deque<IfileObject> list;
    if (ReadFileList(adb, nullptr, nullptr, list, nullptr, false) != ReadListRead) return;
    if (std::erase(list, file) != 0) WriteFileList(adb, list, nullptr, false, false);
}

void itoolPalladorImpl::RefreshFileList(const ImodelFileName& adb, ImodelModule* module, ImodelRevContextImpl* revision,
                                        bool strict)
{
    std::deque<IfileObject> list;
    ReadFileList(adb, module, revision, list, nullptr, strict);
}

bool itoolPalladorImpl::GetFileListFromCache(const IfileObject& adb, ImodelModule* module,
                                             ImodelRevContextImpl* revision, std::deque<IfileObject>& list,
                                             bool withOptional, bool strict)
{
    const ImodelFileName name = adb.GetFullFileName();
    KemletContentIf content;
    if (!LoadDescription(name, content) || !content.IsContentOf(name)) return false;
    bool changed = false;
    LoadFileList(name, content, module, revision, list, withOptional, strict, changed);
    return true;
}

void itoolPalladorImpl::LoadFileList(const ImodelFileName& adb, const KemletContentIf& content, ImodelModule* module,
                                     ImodelRevContextImpl* revision, std::deque<IfileObject>& list, bool withOptional,
                                     bool strict, bool& changed)
{
    const std::string folder = IfileObject(adb, zorpaFT_ADB, ImodelFMFull, false, false).GetFileLocation();
    for (const KemletFileRecord& record : content.GetRecords()) {
        std::string name = record.name;
        ImodelSetValidSeparator(name, false);
        // A name the tool wrote relative to its database lies beside it.
        if (name.empty() || name[0] != '/') name = AcmdGetFullPath(name, folder);
        KemletFileRecord resolved = record;
        resolved.name = name;
        list.emplace_back(name, GetRecordType(resolved), ImodelFMFull, true, true);
    }
    if (withOptional)
        UpdateConstraintFileList(adb, module, revision, list, content.GetOptionalFiles(), idePALLADOR, strict, changed);
}

void itoolPalladorImpl::UpdateConstraintFileList(const ImodelFileName& adb, ImodelModule* module,
                                                 ImodelRevContextImpl* revision, std::deque<IfileObject>& list,
                                                 const std::vector<KemletOptionalFile>& optional,
                                                 ImodelFunctionType type, bool strict, bool& changed)
{
    // Which database the revision uses, when the user chose one.
    ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    ImodelRevContextImpl* own = context && revision ? context->FindRevisionEx(revision) : nullptr;
    bool usesValidDatabase = false;
    bool usesThisDatabase = false;
    if (own) {
        const auto used = own->GetUsedFile(zorpaFT_ADB);
        usesValidDatabase = own->IsValidUsedFile(used);
        usesThisDatabase = usesValidDatabase && used->GetFullFileName() == adb;
    }

    Entries constraints;
    if (usesThisDatabase)
        ItoolGetAllTCFForAdb(adb, module, revision, constraints, true);
    else
        ItoolGetAllTCF(type, module, revision, constraints, true, nullptr);

    std::deque<IfileObject> childConstraints;
    const bool componentConstraints = ImodelUserMustPassComponentConstraints();
    if (componentConstraints && module) {
        ImodelGetAssociatedCstrsFtor select(type, module);
        ImodelGetChildAssociatedFiles2(module, select, childConstraints, &type, nullptr, false);
    }

    const IprocessFlow* flow = module ? Imodel::GetInstance().GetProcessManager()->GetFlowForModule(module) : nullptr;
    const auto nodeOf = [flow](const IfileObject& file) {
        return flow ? flow->GetFileObject(file.GetFileSpecificType()) : nullptr;
    };

    // Pruning: what the tool no longer reads leaves the list.
    const IprocessToolObject* tool = flow ? flow->GetToolObject(type) : nullptr;
    if (revision && usesValidDatabase && tool) {
        std::vector<IprocessFileObject*> inputs;
        tool->GetAllUsedInputFiles(inputs, module, revision);
        const auto dropped = std::remove_if(list.begin(), list.end(), [&](const IfileObject& entry) {
            const IprocessFileObject* node = nodeOf(entry);
            if (!node || std::find(inputs.begin(), inputs.end(), node) != inputs.end()) return false;
            return !(strict && Contains(constraints, entry) &&
                     node->IsConstraintFileUsedForTool(module, revision, type));
        });
        if (dropped != list.end()) {
            list.erase(dropped, list.end());
            changed = true;
        }
    }

    // Adding: the tool constraint files the list lacks, sparing the
    // optional files the user turned off.
    for (const Entry& file : constraints) {
        if (Contains(list, *file)) continue;
        const std::string full = file->GetFullFileName().GetString();
        const auto record = std::find_if(optional.begin(), optional.end(), [&full](const KemletOptionalFile& each) {
            return KemletIsOptionalSameFileName(each.name, full);
        });
        const IprocessFileObject* node = nodeOf(*file);
        bool add = false;
        if (record == optional.end())
            add = !node || node->IsConstraintFileUsedByDefault(module, revision, type);
        else if (record->flag == 0)
            add = !(strict && node && !node->IsConstraintFileUsedForTool(module, revision, type));
        if (!add) continue;
        ItoolInsertInDefaultPos(*file, list, module);
        changed = true;
    }
    for (const IfileObject& file : childConstraints) {
        if (Contains(list, file)) continue;
        ItoolInsertInDefaultPos(IfileObjectEx(file, true), list, module);
        changed = true;
    }
}

bool itoolPalladorImpl::GetDefaultInputFiles(std::deque<IfileObject>& list,
                                             const std::vector<IprocessFileObject*>& nodes, ImodelModule* module,
                                             ImodelRevContextImpl* revision, bool withConstraints)
{
    if (!module || !revision || nodes.empty() || !nodes.front()) return false;
    for (const IprocessFileObject* node : nodes) {
        if (!node) continue;
        if (node->GetFileType() == zorpaFT_HDL) {
            if (module->IsStructural()) continue;
            ImodelModule::FileEntries sources;
            ImodelGetHdlFileNames(sources, module, idePALLADOR, nullptr, false);
            for (const Entry& source : sources)
                if (source) list.push_back(*source);
        } else if (const Entry file = node->GetFileManagerObject(module, revision, true, false, true)) {
            list.push_back(*file);
        }
    }
    if (withConstraints) {
        std::deque<IfileObject> constraints;
        GetDefaultConstraintFiles(constraints, module, revision);
        list.insert(list.end(), constraints.begin(), constraints.end());
    }
    return true;
}

void itoolPalladorImpl::GetDefaultConstraintFiles(std::deque<IfileObject>& out, ImodelModule* module,
                                                  ImodelRevContextImpl* revision)
{
    Entries constraints;
    ItoolGetAllTCF(idePALLADOR, module, revision, constraints, true, nullptr);
    const IprocessFlow* flow = Imodel::GetInstance().GetProcessManager()->GetFlowForModule(module);
    for (const Entry& file : constraints) {
        if (!file->IsFileInProject()) continue;
        // A user's constraint file has no node of its own: it is used.
        const IprocessFileObject* node = flow ? flow->GetFileObject(file->GetFileSpecificType()) : nullptr;
        if (node && !node->IsConstraintFileUsedByDefault(module, revision, idePALLADOR)) continue;
        ItoolInsertInDefaultPos(*file, out, module);
    }
}
