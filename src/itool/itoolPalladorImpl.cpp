#include "src/itool/itoolPalladorImpl.h"

#include "ifile/IfileExtendedInfoManager.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfilePredecessorObject.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/device/ImodelDevice.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "itool/ItoolFunctions.h"
#include "src/itool/itoolNames.h"

#include <foundation/Sys.h>
#include <kemlet/KemletIde_pldFileManagerIf.h>

#include <initializer_list>
#include <unordered_set>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;
using Entries = std::vector<Entry>;

IprocessManager& Processes() { return *Imodel::GetInstance().GetProcessManager(); }

// The kinds of file the records use, by specific type.
int KindOfType(zorpaFileManagerTypes type)
{
    switch (type) {
    case zorpaFT_SYN_EDN:
    case zorpaFT_ZEVORU_EDN:
    case zorpaFT_VIEWDRAW_EDN:
        return 0;
    case zorpaFT_CVL:
        return 3;
    case zorpaFT_CRT:
        return 4;
    case zorpaFT_DCF:
        return 5;
    case zorpaFT_PIN:
        return 6;
    case zorpaFT_LOC:
        return 7;
    case zorpaFT_SEG:
        return 8;
    case zorpaFT_BA_SDF:
        return 9;
    case zorpaFT_SDC:
    case zorpaFT_ZEVORU_SDC:
    case zorpaFT_SYN_SDC:
        return 10;
    case zorpaFT_GCF:
    case zorpaFT_ZEVORU_GCF:
        return 11;
    case zorpaFT_PDC:
    case zorpaFT_ZEVORU_PDC:
        return 12;
    case zorpaFT_VCD:
        return 13;
    case zorpaFT_SAIF:
        return 14;
    case zorpaFT_ARM_DB:
        return 15;
    default:
        return 16;
    }
}

bool EndsWithNoCase(const std::string& text, const std::string& suffix)
{
    return suffix.size() <= text.size() && ImodelIsSameStrNoCase(text.substr(text.size() - suffix.size()), suffix);
}

// Whether a file looks like one of the node: its extension, the node's
// name suffix, and the node's folder (or one below it).
bool LooksLikeNodeFile(const IfileObject& file, const IprocessFileObject& node)
{
    if (!ImodelIsSameStrNoCase(file.GetExt(), node.GetExt())) return false;
    if (!EndsWithNoCase(file.GetFileTitleNoExt(), node.GetAppend())) return false;
    ImodelFileName folder;
    ImodelFileName nodeFolder;
    if (!file.GetRelativeFolder(folder)) return false;
    ImodelGetPathForFile(node.GetFileType(), nodeFolder);
    const std::string& own = folder.GetString();
    const std::string& expected = nodeFolder.GetString();
    return ImodelIsSameFileName(own, expected) || (own.size() > expected.size() && own[expected.size()] == '/' &&
                                                   ImodelIsSameFileName(own.substr(0, expected.size()), expected));
}

// The first of the candidate types whose flow node the file looks like;
// `fallback` when none does.
zorpaFileManagerTypes ResolveByNode(const IfileObject& file, std::initializer_list<zorpaFileManagerTypes> candidates,
                                    zorpaFileManagerTypes fallback)
{
    const IprocessFlow* flow = Processes().GetFlowForModule(nullptr);
    for (zorpaFileManagerTypes type : candidates) {
        const IprocessFileObject* node = flow ? flow->GetFileObject(type) : nullptr;
        if (node && LooksLikeNodeFile(file, *node)) return type;
    }
    return fallback;
}

}  // namespace

std::unique_ptr<ItoolPallador> ItoolCreatePallador() { return std::make_unique<itoolPalladorImpl>(); }

std::vector<ImodelRevContextImpl*>*& ItoolPallador::GetConstraintFilesNeeded()
{
    static std::vector<ImodelRevContextImpl*>* revisions = nullptr;
    return revisions;
}

bool ItoolPallador::GetBAFiles(std::vector<IprocessFileObject*>& nodes, ImodelModule* module)
{
    nodes.clear();
    const IprocessFlow* flow = module ? Processes().GetFlowForModule(module) : nullptr;
    if (!flow) return false;
    for (zorpaFileManagerTypes type : {zorpaFT_BA_SDF, zorpaFT_BA_HDL})
        if (IprocessFileObject* node = flow->GetFileObject(type); node && IprocessFileObject::IsBAFiles(type))
            nodes.push_back(node);
    return true;
}

bool itoolPalladorImpl::LoadDescription(const ImodelFileName& file, KemletContentIf& content)
{
    // The description is the extended information of its database, kept by
    // the cache (which the writes below keep in step); a file-list name
    // stands for the database beside it.
    const IfileObject database = GetAdbFileFor(itoolFileOf(file, zorpaFT_ADB));
    IfileExtendedInfoManager* cache = Imodel::GetInstance().GetExtendedInfoManager();
    const std::unique_ptr<KemletContentIf> cached =
        cache ? IfileCastFromADBInfo(cache->GetInfo(database, true)) : nullptr;
    if (!cached) return false;
    content = *cached;
    return true;
}

// --- records ----------------------------------------------------------------------------

int itoolPalladorImpl::GetRecordKind(const IfileObject& file)
{
    if (file.GetFileSpecificType() == zorpaFT_HDL) {
        bool isVHDL = false;
        return file.IsFileHDL(isVHDL) && isVHDL ? 2 : 1;
    }
    return KindOfType(file.GetFileSpecificType());
}

zorpaFileManagerTypes itoolPalladorImpl::GetRecordType(const KemletFileRecord& record)
{
    const IfileObject file(record.name, zorpaFT_UNKNOWN, ImodelFMFull, true, true);
    switch (record.kind) {
    case 1:
    case 2:
        return zorpaFT_HDL;
    case 3:
        return zorpaFT_CVL;
    case 4:
        return zorpaFT_CRT;
    case 5:
        return zorpaFT_DCF;
    case 6:
        return zorpaFT_PIN;
    case 7:
        return zorpaFT_LOC;
    case 8:
        return zorpaFT_SEG;
    case 9:
        return zorpaFT_BA_SDF;
    case 13:
        return zorpaFT_VCD;
    case 14:
        return zorpaFT_SAIF;
    case 15:
        return zorpaFT_ARM_DB;
    case 0:
        return ResolveByNode(file, {zorpaFT_SYN_EDN, zorpaFT_ZEVORU_EDN, zorpaFT_VIEWDRAW_EDN}, zorpaFT_SYN_EDN);
    case 10:
        return ResolveByNode(file, {zorpaFT_SDC, zorpaFT_ZEVORU_SDC, zorpaFT_SYN_SDC}, zorpaFT_SDC);
    case 11:
        return ResolveByNode(file, {zorpaFT_GCF, zorpaFT_ZEVORU_GCF}, zorpaFT_GCF);
    case 12:
        return ResolveByNode(file, {zorpaFT_PDC, zorpaFT_ZEVORU_PDC}, zorpaFT_PDC);
    case -1: {
        // A list that does not say (the tool's own): the flow's nodes, else
        // the constraint files by extension.
        const IprocessFlow* flow = Processes().GetFlowForModule(nullptr);
        if (flow)
            for (const IprocessFileObject* node : flow->GetFileObjects())
                if (node->GetFileType() != zorpaFT_HDL && LooksLikeNodeFile(file, *node)) return node->GetFileType();
        const int type = ImodelGetSpecificFileType(zorpaFT_GROUP_CONSTRAINT, file.GetInternalFileName());
        return type >= 0 && type < imodelFileManagerTypesCount ? static_cast<zorpaFileManagerTypes>(type)
                                                               : zorpaFT_UNKNOWN;
    }
    default:
        return zorpaFT_UNKNOWN;
    }
}

std::vector<KemletFileRecord> itoolPalladorImpl::ToRecords(const std::deque<IfileObject>& list)
{
    std::vector<KemletFileRecord> records;
    records.reserve(list.size());
    for (const IfileObject& file : list) {
        const int kind = GetRecordKind(file);
        records.push_back({file.GetFullFileName().GetString(), kind, kind == 13 ? "vcd" : ""});
    }
    return records;
}

// --- constraint files ----------------------------------------------------------------------

bool itoolPalladorImpl::GetConstraintFileList(Entries& out, ImodelModule* module, ImodelRevContextImpl* revision)
{
    ImodelFileName adb;
    if (!ItoolGetAdbFileName(module, revision, adb, ImodelFMRelative, false, true)) return false;
    EnsureFileListFile(adb, module, revision);
    std::deque<IfileObject> list;
    GetFileListFromCache(itoolFileOf(adb, zorpaFT_ADB), module, revision, list, true, false);
    Entries known;
    IfileManagerGetRealObjects(list, known, false);
    out.insert(out.end(), known.begin(), known.end());
    return true;
}

bool itoolPalladorImpl::SetConstraintFileList(const Entries& files, ImodelModule* module,
                                              ImodelRevContextImpl* revision)
{
    return StoreConstraintFileList(files, nullptr, module, revision);
}

bool itoolPalladorImpl::SetConstraintFiles(const Entries& files, const ImodelOptionalFiles& optional,
                                           ImodelModule* module, ImodelRevContextImpl* revision)
{
    return StoreConstraintFileList(files, &optional, module, revision);
}

bool itoolPalladorImpl::StoreConstraintFileList(const Entries& files, const ImodelOptionalFiles* optional,
                                                ImodelModule* module, ImodelRevContextImpl* revision)
{
    ImodelFileName adb;
    std::deque<IfileObject> list;
    IfileManagerGetSimpleObjects(files, list);
    if (!ItoolGetAdbFileName(module, revision, adb, ImodelFMFull, false, true) ||
        !WriteFileList(adb, list, optional, false, false)) {
        ImodelDisplayIDE_PLD_FILE_WRITTEN_MSG();
        return false;
    }
    return true;
}

void itoolPalladorImpl::ConstraintFileRemoved(const IfileObject& file, ImodelModule* module,
                                              ImodelRevContextImpl* revision)
{
    ImodelFileName adb;
    if (ItoolGetAdbFileName(module, revision, adb, ImodelFMFull, false, true)) RemoveFileFromList(adb, file);
}

void itoolPalladorImpl::ConstraintFileDeleted(const IfileObject& file)
{
    if (file.GetFileGlobalType() != zorpaFT_GROUP_CONSTRAINT) return;
    const std::string name = file.GetFullFileName().GetString();
    Entries databases;
    Imodel::GetInstance().GetFileManager()->GetFilesOfSpecificType(zorpaFT_ADB, databases, 0, nullptr);
    for (const Entry& database : databases) {
        const ImodelFileName adb = database->GetFullFileName();
        KemletContentIf content;
        if (LoadDescription(adb, content) && content.IsFileInList(name)) RemoveFileFromList(adb, file);
    }
}

void itoolPalladorImpl::ConstraintFileChanged(ImodelModule* module, const Entry& file, IprocessFileObject*,
                                              IprocessToolObject* tool)
{
    if (!module || !file || !tool) return;
    const IprocessFileObject* databases = Processes().GetFileObject(zorpaFT_ADB, module);
    if (!databases) return;
    const std::string name = file->GetFullFileName().GetString();
    for (const Entry& database : databases->GetKnownFiles()) {
        KemletContentIf content;
        if (!database || !LoadDescription(database->GetFullFileName(), content) || !content.IsFileInList(name))
            continue;
        ImodelModule* itsModule = nullptr;
        ImodelRevContextImpl* revision = nullptr;
        if (database->GetModuleAndContext(itsModule, revision) && itsModule == module)
            revision->SetToolStateForFile(tool, database, StateNoResult);
    }
}

bool itoolPalladorImpl::GetUnitsNamingConstraintFile(const IfileObject&, std::vector<ImodelModule*>&)
{
    // The lists lie in the databases' files, one read each: with any
    // database in the project the units are asked one by one.
    const IprocessFileObject* databases = Processes().GetFileObject(zorpaFT_ADB, nullptr);
    if (databases && databases->KnowsAnyFile()) return false;
    Entries known;
    Imodel::GetInstance().GetFileManager()->GetFilesOfSpecificType(zorpaFT_ADB, known, 0, nullptr);
    return known.empty();
}

bool itoolPalladorImpl::GetConstraintFileListEx(const Entry& file, Entries& out, ImodelModule*, ImodelRevContextImpl*,
                                                bool)
{
    // The database of the file: itself, or the one up its chain of predecessors.
    Entry database = file;
    std::unordered_set<const IfileObjectEx*> seen;
    while (database && database->GetFileSpecificType() != zorpaFT_ADB && seen.insert(database.get()).second) {
        const IfilePredecessorObject* predecessor = database->GetPredecessorObject();
        database = predecessor ? predecessor->GetPredecessorFile() : Entry();
    }
    if (!database || database->GetFileSpecificType() != zorpaFT_ADB) return false;
    std::deque<IfileObject> list;
    std::string designName;
    if (!GetFileListString(*database, list, designName)) return false;
    Entries known;
    IfileManagerGetRealObjects(list, known, false);
    out.insert(out.end(), known.begin(), known.end());
    return true;
}

// --- databases --------------------------------------------------------------------------

IfileObject itoolPalladorImpl::GetFileListFile(const IfileObject& adb)
{
    const KemletIde_pldFileManagerIf manager(adb.GetFullFileName().GetString(), KemletWriterProjectManager, nullptr);
    return IfileObject(manager.GetFileName(), zorpaFT_IDE_PLD, ImodelFMFull, true, true);
}

IfileObject itoolPalladorImpl::GetAdbFileFor(const IfileObject& file)
{
    const std::string name =
        file.GetFileLocation().GetString() + SysGetDirChar() + file.GetFileTitleNoExt() + "." + "adb";
    return IfileObject(name, zorpaFT_ADB, ImodelFMFull, true, true);
}

bool itoolPalladorImpl::GetFileListString(const IfileObject& adb, std::deque<IfileObject>& list,
                                          std::string& designName)
{
    designName.clear();
    if (adb.GetFileSpecificType() != zorpaFT_ADB) return false;
    KemletContentIf content;
    const ReadResult read = ReadFileList(adb.GetFullFileName(), nullptr, nullptr, list, &content, false);
    if (read == ReadListRead) designName = content.GetDesignName();
    return read == ReadListRead;
}

bool itoolPalladorImpl::GetConstraintFilesOfDatabase(const IfileObject& adb, std::deque<IfileObject>& out,
                                                     std::string& designName)
{
    out.clear();
    designName.clear();
    KemletContentIf content;
    if (adb.GetFileSpecificType() != zorpaFT_ADB || !LoadDescription(adb.GetFullFileName(), content)) return false;
    designName = content.GetDesignName();
    for (const KemletFileRecord& record : content.GetRecords()) {
        const zorpaFileManagerTypes type = GetRecordType(record);
        if (ImodelGetGlobalType(type) == zorpaFT_GROUP_CONSTRAINT)
            out.emplace_back(record.name, type, ImodelFMFull, true, true);
    }
    return true;
}

bool itoolPalladorImpl::GetDatabaseInputFiles(const IfileObject& database, std::deque<IfileObject>& inputs,
                                              std::string& designName)
{
    inputs.clear();
    return GetFileListString(database, inputs, designName);
}

bool itoolPalladorImpl::NeedDeviceUpdate(const IfileObject& adb, const ImodelDevice& device)
{
    KemletContentIf content;
    if (!LoadDescription(adb.GetFullFileName(), content)) return false;
    return content.GetFamily() != device.GetFamily() || content.GetDie() != device.GetDieInternalName() ||
           content.GetPackage() != device.GetPackageInternalName();
}

bool itoolPalladorImpl::ResolveStructuralOption(const KemletContentIf* content, ImodelRevContextImpl* revision)
{
    bool synthesized = false;
    if (!content || !revision || !content->GetSynthesizedFlow(synthesized)) return false;
    if (synthesized) return true;
    ImodelFlowOptions options = *revision->GetFlowOptions();
    options.UseSynth = false;
    revision->SetFlowOptions(options);
    return true;
}

bool itoolPalladorImpl::ResolveStructuralOptions(const std::deque<ImodelModule*>* modules,
                                                 std::set<ImodelModule*>* done)
{
    if (!modules || !done) return false;
    // A design may instantiate itself: each unit is walked once.
    std::unordered_set<ImodelModule*> walked;
    std::vector<ImodelModule*> pending(modules->rbegin(), modules->rend());
    while (!pending.empty()) {
        ImodelModule* module = pending.back();
        pending.pop_back();
        if (!module || !walked.insert(module).second) continue;
        if (module->HasRevDependentData(true) && module->IsStructural() && done->insert(module).second) {
            for (ImodelRevContextImpl* revision : module->GetContext()->GetAllRevs()) {
                ImodelFileName adb;
                if (!ItoolGetAdbFileName(module, revision, adb, ImodelFMFull, false, true)) continue;
                KemletContentIf content;
                if (!LoadDescription(adb, content)) continue;
                if (!ResolveStructuralOption(&content, revision))
                    ImodelDisplayCONSIDER_MODULE_AS_RTL_MSG(
                        itoolFileOf(adb, zorpaFT_ADB).GetRelativeOrFullFileName().c_str());
            }
        }
        if (const auto* children = module->GetSubBlocks())
            pending.insert(pending.end(), children->rbegin(), children->rend());
    }
    return true;
}

ImodelRevContextImpl* itoolPalladorImpl::GetFileRevision(const IfileObject& file, std::string& revisionName,
                                                         bool& inCurrentRevision)
{
    Imodel& model = Imodel::GetInstance();
    inCurrentRevision = file.IsInCurRev();
    const ImodelRevisionManager* views = model.GetRevisionManager();
    revisionName = views ? views->GetRevisionNameByNumber(file.GetRevNum()) : std::string();
    const Entry entry = model.GetFileManager()->GetFile(file);
    const IfilePredecessorObject* predecessor = entry ? entry->GetPredecessorObject() : nullptr;
    ImodelModule* module = predecessor ? predecessor->GetModulePtr() : nullptr;
    ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    if (!context) return nullptr;
    return revisionName.empty() ? context->GetCurRevContext() : context->FindRevision(revisionName);
}

// --- back annotation ---------------------------------------------------------------------

imodelFileState itoolPalladorImpl::GetBAFilesState(ImodelModule* module)
{
    if (!module) return imodelFileAbsent;
    std::vector<IprocessFileObject*> nodes;
    GetBAFiles(nodes, module);
    return IprocessFileObject::GetGroupOfFilesState(&nodes, module, nullptr, false);
}

bool itoolPalladorImpl::IsBAUsable(ImodelModule* module)
{
    bool layoutCompleted = false;
    bool backAnnotated = false;
    if (!ReadModuleFileListFlags(module, layoutCompleted, backAnnotated) || !layoutCompleted) return false;
    if (!backAnnotated) return true;
    switch (GetBAFilesState(module)) {
    case imodelFileAbsent:
        return true;
    case imodelFileOutOfDate:
        return module->GetContext() && module->GetContext()->GetSolvatoState() == Post_Layout;
    default:
        return false;
    }
}

bool itoolPalladorImpl::GetBAState(ImodelModule* module, imodelFileState& state)
{
    if (module && module->GetContext() && IsBAUsable(module))
        state = module->GetContext()->GetSolvatoState() < Post_Layout ? imodelFileOutOfDate : imodelFileUpToDate;
    return false;
}

bool itoolPalladorImpl::ReadFileListFlags(const ImodelFileName& fileList, bool& layoutCompleted, bool& backAnnotated)
{
    layoutCompleted = false;
    backAnnotated = false;
    if (!UtlDoesFileExist(fileList.GetString())) return false;
    KemletContentIf content;
    if (!LoadDescription(fileList, content)) return false;
    content.GetLayoutCompleted(layoutCompleted);
    content.GetBackAnnotated(backAnnotated);
    return true;
}

bool itoolPalladorImpl::ReadModuleFileListFlags(ImodelModule* module, bool& layoutCompleted, bool& backAnnotated)
{
    layoutCompleted = false;
    backAnnotated = false;
    ImodelFileName adb;
    if (!module || !ItoolGetAdbFileName(module, module->GetContext(), adb, ImodelFMFull, true, true)) return false;
    return ReadFileListFlags(GetFileListFile(itoolFileOf(adb, zorpaFT_ADB)).GetFullFileName(), layoutCompleted,
                             backAnnotated);
}

int itoolPalladorImpl::GetAdbFileList(const ImodelFileName& database, ImodelModule* module, ImodelContextImpl* context,
                                      std::deque<IfileObject>& out)
{
    out.clear();
    ImodelRevContextImpl* revision = context ? context->FindRevisionEx(context) : nullptr;
    return ReadFileList(database, module, revision, out, nullptr, false);
}
