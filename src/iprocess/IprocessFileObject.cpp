// File nodes: the files they know, their naming and the current file of a
// design unit. States, walks and invalidation filters are in
// IprocessFileObjectGraph.cpp.
#include "iprocess/IprocessFileObject.h"

#include "ifile/IfileManager.h"
#include "ifile/IfilePredecessorObject.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "iprocess/IprocessManager.h"

#include <boost/make_shared.hpp>
#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <algorithm>

namespace {

bool IsProjectVHDL()
{
    const ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager();
    return design && design->IsDefaultVHDL();
}

// The revision an operation works in: a revision context as given, the
// unit's module context standing for its current revision.
ImodelRevContextImpl* RevisionOf(ImodelModule* module, ImodelRevContext* revision)
{
    ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    if (context && revision == context) return context->GetCurRevContext();
    return dynamic_cast<ImodelRevContextImpl*>(revision);
}

int RevisionNumberOf(ImodelModule* module, ImodelRevContextImpl* revision)
{
    const ImodelRevisionManager* views = Imodel::GetInstance().GetRevisionManager();
    return views ? views->GetRevisionNumberOfContext(module, revision) : -1;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

// --- construction and the files of the type -------------------------------------------------------

IprocessFileObject::IprocessFileObject(zorpaFileManagerTypes type, const std::string& suffix, bool isHDL,
                                       const std::string& extension, const std::string& constantName,
                                       IfileManager* fileManager)
    : m_type(type), m_suffix(suffix), m_extension(extension), m_isHDL(isHDL), m_constantName(constantName),
      m_fileManager(fileManager)
{
    if (m_fileManager) m_fileManager->AddListener(this);
}

IprocessFileObject::~IprocessFileObject()
{
    if (m_fileManager) m_fileManager->RemoveListener(this);
}

void IprocessFileObject::EmptyFileList()
{
    m_files.clear();
    m_known.clear();
    m_removed = 0;
    DropIndexes();
    ++UnitIndexGeneration();
}

void IprocessFileObject::UpdateFile(const Entry& file, bool isNew)
{
    if (!TracksFiles() || !file || file->GetFileSpecificType() != m_type) return;
    const bool added = m_known.insert(file.get()).second;
    if (added) {
        // A file removed and added again must not stand twice.
        GetKnownFiles();
        m_files.push_back(file);
    }
    if (IfilePredecessorUpdatesEnabled()) IfileCreatePredecessorObject(file, *this, isNew);
    ReindexFile(file, added);
}

void IprocessFileObject::RemoveFile(const Entry& file)
{
    if (!TracksFiles() || !file || file->GetFileSpecificType() != m_type) return;
    // The list drops its removed files when it is next read: removing every
    // file of a type costs one pass, not one per file.
    if (m_known.erase(file.get()) == 0) return;
    ++m_removed;
    // The indexes let go of the file at once; they are made again when asked.
    DropIndexes();
    ++UnitIndexGeneration();
}

const IprocessFileObject::Entries& IprocessFileObject::GetKnownFiles() const
{
    if (m_removed != 0) {
        std::erase_if(m_files, [this](const Entry& file) { return m_known.count(file.get()) == 0; });
        m_removed = 0;
    }
    return m_files;
}

void IprocessFileObject::AdoptProjectFiles()
{
    if (!TracksFiles() || !m_fileManager) return;
    Entries files;
    m_fileManager->GetFilesOfSpecificType(m_type, files, 0, nullptr);
    for (const Entry& file : files)
        if (!IsKnown(file)) UpdateFile(file, true);
}

// --- settings --------------------------------------------------------------------------------------

void IprocessFileObject::SetSubFolder(bool subFolder, const char* text)
{
    m_subFolder = subFolder;
    m_subFolderText = text ? text : "";
}

void IprocessFileObject::SetOptionalConstraintFileLevel(imodelConstraintFlowType level, bool usedByDefault)
{
    m_constraintLevel = level;
    m_usedByDefault = usedByDefault;
}

bool IprocessFileObject::IsOptionalConstraintFile() const
{
    return m_constraintLevel == imodelConstraintFlowSynthesis ||
           m_constraintLevel == imodelConstraintFlowPhysicalSynthesis;
}

bool IprocessFileObject::IsBAFiles(int type) { return type == zorpaFT_BA_SDF || type == zorpaFT_BA_HDL; }

bool IprocessFileObject::IsObjectUsed(ImodelModule* module, ImodelRevContext* revision) const
{
    if (!IprocessFlowObject::IsObjectUsed(module, revision)) return false;
    return !IsOptionalConstraintFile() || ImodelIsConstraintFileSupported(m_extension.c_str(), std::string());
}

bool IprocessFileObject::IsRevDependent() const { return ImodelGetGlobalType(m_type) == zorpaFT_GROUP_PALLADOR; }

// --- names -----------------------------------------------------------------------------------------

std::string IprocessFileObject::GetExt() const
{
    if (!m_isHDL) return m_extension;
    return IsProjectVHDL() ? "vhd" : "v";
}

std::string IprocessFileObject::GetFilter(bool ownLanguage) const
{
    const std::string extension = m_isHDL && !ownLanguage ? (IsProjectVHDL() ? "v" : "vhd") : GetExt();
    return "*" + m_suffix + "." + extension;
}

bool IprocessFileObject::GetDefaultFlowFileTitle(ImodelFileName& out, const std::string& baseName) const
{
    if (baseName.empty()) {
        out = "Internal Error";
        return false;
    }
    const std::string extension = GetExt();
    if (extension.empty()) {
        out = "Special File with ID: " + std::to_string(m_type);
        return false;
    }
    if (!m_constantName.empty()) {
        out = m_constantName;
        return true;
    }
    out.clear();
    if (m_subFolder) out = baseName + m_subFolderText + SysGetDirChar();
    out += baseName + m_suffix + "." + extension;
    return true;
}

std::string IprocessFileObject::GetBasisName(const IfileObject& file, zorpaFileManagerTypes type) const
{
    std::string title = file.GetFileTitleNoExt();
    if (!m_suffix.empty() && EndsWith(title, m_suffix)) title.erase(title.size() - m_suffix.size());

    ImodelFileName relativeFolder;
    const bool hasRelativeFolder = file.GetRelativeFolder(relativeFolder);
    const std::string& folder = relativeFolder.GetString();
    if (ImodelIsSynplifyImplementationsEnabled() && ImodelGetGlobalType(type) == zorpaFT_GROUP_SYNTHESIS) {
        // A synthesis implementation lives in a folder of its own below the
        // type's folder: its name comes first.
        if (!hasRelativeFolder) return title;
        ImodelFileName typeFolder;
        ImodelGetPathForFile(m_type, typeFolder);
        const std::string prefix = typeFolder.GetString() + SysGetDirChar();
        if (prefix.size() < folder.size() && ImodelIsSameFileName(folder.substr(0, prefix.size()), prefix))
            title = folder.substr(prefix.size()) + SysGetDirChar() + title;
        return title;
    }
    const std::size_t separator = folder.find(SysGetDirChar());
    if (hasRelativeFolder && file.GetFileSpecificType() == zorpaFT_SYN_EDN && separator != std::string::npos) {
        // A netlist variant in a folder below the synthesis folder.
        std::string variant = folder.substr(separator + 1);
        const std::size_t identify = variant.find("synthesis_identify");
        if (identify != std::string::npos)
            variant.replace(identify, std::string("synthesis_identify").size(), "identify");
        title += "_" + variant;
    }
    return title;
}

std::optional<IfileObject> IprocessFileObject::CreateDefaultIfileObject(const std::string& baseName,
                                                                        int revisionNumber) const
{
    ImodelFileName title;
    if (!GetDefaultFlowFileTitle(title, baseName)) return std::nullopt;
    if (!IsRevDependent()) return IfileObject(title, m_type, ImodelFMShort, false, true);
    if (revisionNumber == -1) return std::nullopt;
    ImodelFileName relative;
    ImodelGetRelativeFileName(title, relative, false, m_type, ImodelGetFullPathParam(revisionNumber));
    return IfileObject(relative, m_type, ImodelFMRelative, false, true);
}

std::optional<IfileObject> IprocessFileObject::CreateDefaultIfileObject(const std::string& baseName,
                                                                        ImodelModule* module,
                                                                        ImodelRevContextImpl* revision) const
{
    return CreateDefaultIfileObject(baseName, IsRevDependent() ? RevisionNumberOf(module, revision) : -1);
}

std::optional<IfileObject> IprocessFileObject::CreateDefaultIfileObject(ImodelModule* module,
                                                                        ImodelRevContextImpl* revision) const
{
    if (!module) return std::nullopt;
    std::string baseName = module->GetName();
    if (ImodelUserCanSelectFlowFileToUse()) {
        // Named after the file the user chose upstream.
        if (const IprocessFileObject* chooser = GetUsedPredecessorAllowingFileSelection(module, revision))
            if (const Entry chosen = chooser->GetFileManagerObject(module, revision, true, false, true))
                baseName = chooser->GetBasisName(*chosen, m_type);
    }
    return CreateDefaultIfileObject(baseName, module, revision);
}

bool IprocessFileObject::GetFlowFileName(ImodelFileName& out, ImodelModule* module, ImodelRevContext* revision,
                                         ImodelFMStringFileType form, bool create, bool numbered) const
{
    out.clear();
    if (!TracksFiles()) return false;
    const Entry file = GetFileManagerObject(module, revision, create, false, numbered);
    if (!file) return false;
    file->GetFileNameString(out, form);
    return true;
}

bool IprocessFileObject::GetFlowFileName(ImodelFileName& out, ImodelModule* module, ImodelFMStringFileType form,
                                         bool create) const
{
    out.clear();
    if (!module) return false;
    return GetFlowFileName(out, module, module->GetContext(), form, create, true);
}

// --- files -----------------------------------------------------------------------------------------

IprocessFileObject::Entry IprocessFileObject::GetFileManagerObject(const IfileObject& value, bool create) const
{
    // The file manager's name index finds the entry equal to the value; a
    // walk over the known files is needed only for a node that listens to
    // no manager, or for an entry the manager holds twice under names that
    // differ in letter case alone.
    Entry found;
    bool walk = !m_fileManager;
    if (m_fileManager) {
        const IfileObject::IsSameFileName sameName(value.GetInternalFileName().c_str(), ImodelFMInternal);
        found = m_fileManager->GetFileFor(sameName, 0);
        if (found && !IsKnown(found)) {
            found.reset();
            walk = true;
        }
    }
    if (walk) {
        const Entries& files = GetKnownFiles();
        const auto known =
            std::find_if(files.begin(), files.end(), [&value](const Entry& file) { return *file == value; });
        if (known != files.end()) found = *known;
    }
    if (!found && create) found = boost::make_shared<IfileObjectEx>(value, false);
    return found;
}

IprocessFileObject::Entry IprocessFileObject::GetFileManagerObject(const std::string& baseName, int revisionNumber,
                                                                   bool create) const
{
    const std::optional<IfileObject> value = CreateDefaultIfileObject(baseName, revisionNumber);
    return value ? GetFileManagerObject(*value, create) : Entry();
}

IprocessFileObject::Entry IprocessFileObject::GetFileManagerObject(ImodelModule* module, ImodelRevContext* revision,
                                                                   bool create, bool notInProject, bool numbered) const
{
    ImodelRevContextImpl* current = RevisionOf(module, revision);
    if (!current) return Entry();

    if (ImodelUserCanSelectFlowFileToUse()) {
        const auto chosen = current->GetUsedFile(m_type);
        if (current->IsValidUsedFile(chosen)) {
            Entry file = GetFileManagerObject(*chosen, create);
            if (!notInProject || !file || !file->IsFileInProject()) return file;
        }
    }

    const std::optional<IfileObject> value = CreateDefaultIfileObject(module, current);
    Entry file = value ? GetFileManagerObject(*value, create) : Entry();
    if (!file || !file->IsFileInProject() || !numbered || !m_handlePredecessor) return file;

    // The default file belongs to the project: it serves when it derives
    // from this unit, else the first numbered variant that does (or that
    // the project does not hold yet).
    const int revisionNumber = file->GetRevNum();
    Nodes path;
    GetFlowToUsedPredecessorAllowingFileSelection(path, module, current);
    const auto qualifies = [&](const Entry& candidate) {
        if (notInProject && candidate && candidate->IsFileInProject()) return false;
        return IprocessIsRelatedFileOK(candidate, path, revisionNumber, module, current);
    };
    if (qualifies(file)) return file;
    const std::string baseName = GetBasisName(*file, m_type);
    for (int number = 1; number <= kMaxNumberedVariants; ++number) {
        const std::optional<IfileObject> variant =
            CreateDefaultIfileObject(baseName + "_" + std::to_string(number), module, current);
        if (!variant) break;
        file = GetFileManagerObject(*variant, create);
        if (qualifies(file)) break;
    }
    return file;
}

bool IprocessFileObject::IsFileManagerObject(ImodelModule* module, ImodelRevContext* revision, const Entry& file) const
{
    const Entry current = GetFileManagerObject(module, revision, true, false, true);
    return current && file && *current == *file;
}

void IprocessFileObject::GetUsableFileList(Entries& out, ImodelModule* module, ImodelRevContextImpl* revision) const
{
    out.clear();
    if (!module || !revision) return;
    const std::optional<IfileObject> defaultValue = CreateDefaultIfileObject(module, revision);
    const int revisionNumber = IsRevDependent() ? RevisionNumberOf(module, revision) : -1;
    Nodes path;
    GetFlowToUsedPredecessorAllowingFileSelection(path, module, revision);

    std::unordered_set<const IfileObjectEx*> listed;
    if (m_userChoice) {
        // A known file is related when its record names the unit: the index
        // by unit gives those, in known-file order, without a walk over every
        // file of the type for each unit and view asked (a project opened
        // with thousands of chosen files missing asks once for each). Known
        // files are in the project but while they are being removed; only
        // the files the test scripts name without writing them may be
        // related otherwise.
        const bool walk = Imodel::IsRunningTests();
        const Entries ofUnit = walk ? Entries() : GetKnownFilesOfModule(module);
        for (const Entry& file : walk ? GetKnownFiles() : ofUnit)
            if (IprocessIsRelatedFileOK(file, path, revisionNumber, module, revision) &&
                listed.insert(file.get()).second)
                out.push_back(file);
    }

    Entry front;
    if (defaultValue) {
        const Entry file = GetFileManagerObject(*defaultValue, true);
        if (IprocessIsRelatedFileOK(file, path, revisionNumber, module, revision)) {
            if (!listed.count(file.get())) front = file;
        } else if (out.empty()) {
            const Entry current = GetFileManagerObject(module, revision, true, false, true);
            if (current && !listed.count(current.get())) front = current;
        }
    }
    if (!front) return;
    if (!m_userChoice && ImodelUserCanSelectFlowFileToUse()) {
        // The user's choice for the type comes first.
        const auto chosen = revision->GetUsedFile(m_type);
        if (revision->IsValidUsedFile(chosen)) front = GetFileManagerObject(*chosen, true);
    }
    out.insert(out.begin(), front);
}

bool IprocessFileObject::HasOneFileOf(ImodelModule* module, bool allRevisions) const
{
    const Entries files = GetKnownFilesOfModule(module);
    return std::any_of(files.begin(), files.end(),
                       [allRevisions](const Entry& file) { return allRevisions || file->IsInCurRev(); });
}

void IprocessFileObject::NotifyFileChanged(const IfileObject& changed)
{
    // A record may announce its file meanwhile: walk a copy.
    const Entries files = GetKnownFiles();
    for (const Entry& file : files)
        if (IfilePredecessorObject* record = file->GetPredecessorObject()) record->FileChanged(changed);
    // A record may have read its inputs again, and its unit with them.
    ++UnitIndexGeneration();
}

void IprocessFileObject::InvalidateAllFiles(const InvalidateAllFilter& filter)
{
    const Entries files = GetKnownFiles();
    for (const Entry& file : files) filter(file);
}

void IprocessFileObject::InvalidateFilesOfModule(const InvalidateModuleSpecificFilter& filter, ImodelModule* module)
{
    if (!module) {
        InvalidateAllFiles(filter);
        return;
    }
    // A copy: making a file out of date has its record made again.
    for (const Entry& file : GetKnownFilesOfModule(module)) filter(file);
}

namespace {

bool IsFileOfModule(const IfileObjectEx& file, const ImodelModule& module)
{
    const IfilePredecessorObject* record = file.GetPredecessorObject();
    return record && module.IsSameModule(record->GetComponentID());
}

}  // namespace

std::string IprocessFileObject::UnitKeyOfModule(const ImodelModule& module)
{
    std::string key = module.GetName();
    ImodelMakeUpper(key);
    return key;
}

const IprocessFileObject::Entries* IprocessFileObject::FilesOfUnitKey(const std::string& unitKey) const
{
    UpdateIndexes();
    const auto bucket = m_byUnit.find(unitKey);
    return bucket == m_byUnit.end() ? nullptr : &bucket->second;
}

IprocessFileObject::Entries IprocessFileObject::GetKnownFilesOfModule(ImodelModule* module) const
{
    Entries files;
    if (!module) return files;
    if (const Entries* indexed = FilesOfUnitKey(UnitKeyOfModule(*module)))
        for (const Entry& file : *indexed)
            if (IsFileOfModule(*file, *module)) files.push_back(file);
    return files;
}

bool IprocessFileObject::AreKnownFilesOfModuleOutOfDate(ImodelModule* module, const std::string& unitKey) const
{
    const Entries* indexed = module ? FilesOfUnitKey(unitKey) : nullptr;
    return !indexed || std::all_of(indexed->begin(), indexed->end(), [module](const Entry& file) {
        return file->GetFileState() == imodelFileOutOfDate || !IsFileOfModule(*file, *module);
    });
}

bool IprocessFileObject::AreKnownFilesOfUnitsOutOfDate() const
{
    const Entries& files = GetKnownFiles();
    return std::all_of(files.begin(), files.end(), [](const Entry& file) {
        return file->GetFileState() == imodelFileOutOfDate || !file->GetPredecessorObject();
    });
}

// --- the known files by the name of their unit and by their predecessor -----------------------------

std::uint64_t& IprocessFileObject::UnitIndexGeneration()
{
    // Starts above the count of a node that never made its indexes.
    static std::uint64_t generation = 1;
    return generation;
}

std::string IprocessFileObject::UnitKeyOf(const Entry& file)
{
    const IfilePredecessorObject* record = file ? file->GetPredecessorObject() : nullptr;
    if (!record) return std::string();
    // Units compare by name, without letter case unless the unit says so:
    // the upper-cased name holds every unit that may match.
    std::string key = record->GetComponentID().name;
    ImodelMakeUpper(key);
    return key;
}

IprocessFileObject::Entry IprocessFileObject::PredecessorOf(const Entry& file)
{
    const IfilePredecessorObject* record = file ? file->GetPredecessorObject() : nullptr;
    return record ? record->GetPredecessorFile() : Entry();
}

void IprocessFileObject::ReindexFile(const Entry& file, bool isNew)
{
    if (isNew || m_indexGeneration != UnitIndexGeneration()) {
        // A new file may be what the records of other nodes' files name;
        // in indexes that do not hold, the file's former unit and
        // predecessor are not known. Either way every index is made again
        // when next asked.
        ++UnitIndexGeneration();
        return;
    }
    // The file's record was made again: its unit may have changed, and so
    // may those of the files derived from it, or its predecessor (by name:
    // one the project does not hold is a new entry at each asking).
    const auto indexed = m_indexed.find(file.get());
    if (indexed == m_indexed.end() || indexed->second.unitKey != UnitKeyOf(file)) {
        ++UnitIndexGeneration();
        return;
    }
    const Entry now = PredecessorOf(file);
    const IndexedFile& former = indexed->second;
    if (!former.predecessor != !now || (now && !(now->GetInternalFileName() == former.predecessorName)))
        ++UnitIndexGeneration();
}

void IprocessFileObject::DropIndexes() const
{
    // Swapped out, not cleared: a cleared table keeps its buckets and costs
    // their count at each later clearing.
    if (!m_indexed.empty()) decltype(m_indexed)().swap(m_indexed);
    if (!m_byUnit.empty()) decltype(m_byUnit)().swap(m_byUnit);
    if (!m_byPredecessor.empty()) decltype(m_byPredecessor)().swap(m_byPredecessor);
    m_indexGeneration = 0;
}

void IprocessFileObject::UpdateIndexes() const
{
    if (m_indexGeneration == UnitIndexGeneration()) return;
    DropIndexes();
    for (const Entry& file : GetKnownFiles()) {
        IndexedFile& indexed = m_indexed[file.get()];
        indexed.unitKey = UnitKeyOf(file);
        m_byUnit[indexed.unitKey].push_back(file);
        if (const Entry predecessor = PredecessorOf(file)) {
            indexed.predecessor = predecessor.get();
            indexed.predecessorName = predecessor->GetInternalFileName();
            m_byPredecessor[predecessor.get()].push_back(file);
        }
    }
    m_indexGeneration = UnitIndexGeneration();
}

void IprocessFileObject::AddRelatedFilesUsingOneOf(const Entries& candidates, Entries& out) const
{
    std::unordered_set<const IfileObjectEx*> wanted;
    for (const Entry& candidate : candidates) wanted.insert(candidate.get());
    std::unordered_set<const IfileObjectEx*> listed;
    for (const Entry& file : out) listed.insert(file.get());
    for (const Entry& file : GetKnownFiles())
        if (wanted.count(file.get()) && listed.insert(file.get()).second) out.push_back(file);
}

void IprocessFileObject::AddRelatedFilesUsing(const Entry& source, bool anyDependency, bool viaConstraint,
                                              Entries& out) const
{
    if (!source) return;
    std::unordered_set<const IfileObjectEx*> listed;
    for (const Entry& file : out) listed.insert(file.get());
    if (!anyDependency && !viaConstraint) {
        // The files made from the source, by the index, in the known order;
        // each is asked again so that the answer is the record's own.
        UpdateIndexes();
        const auto derived = m_byPredecessor.find(source.get());
        if (derived == m_byPredecessor.end()) return;
        for (const Entry& file : derived->second)
            if (PredecessorOf(file) == source && listed.insert(file.get()).second) out.push_back(file);
        return;
    }
    for (const Entry& file : GetKnownFiles()) {
        const IfilePredecessorObject* record = file->GetPredecessorObject();
        if (!record) continue;
        bool related = false;
        if (anyDependency)
            related = record->IsDependingOfFile(*source);
        else
            related =
                record->GetPredecessorFile() == source || (viaConstraint && DoesFileDependOfConstraint(file, source));
        if (related && listed.insert(file.get()).second) out.push_back(file);
    }
}

// --- free functions ----------------------------------------------------------------------------------

ImodelModule* IprocessGetModulePtr(IfileObjectEx* file)
{
    const IfilePredecessorObject* record = file ? file->GetPredecessorObject() : nullptr;
    return record ? record->GetModulePtr() : nullptr;
}

boost::shared_ptr<IfileObjectEx> IprocessGetCurrentFile(ImodelModule* module, ImodelRevContextImpl* revision,
                                                        zorpaFileManagerTypes type, bool create, bool notInProject)
{
    const IprocessFileObject* node = Imodel::GetInstance().GetProcessManager()->GetFileObject(type, module);
    return node ? node->GetFileManagerObject(module, revision, create, notInProject, true) : nullptr;
}

boost::shared_ptr<IfileObjectEx> IprocessGetCurrentFile(ImodelModule* module, zorpaFileManagerTypes type, bool create,
                                                        bool notInProject)
{
    if (!module || !module->GetContext()) return nullptr;
    return IprocessGetCurrentFile(module, module->GetContext()->GetCurRevContext(), type, create, notInProject);
}

boost::shared_ptr<IfileObjectEx> IprocessGetMultSTPFileIfAny(const boost::shared_ptr<IfileObjectEx>& file)
{
    if (!file || file->GetFileSpecificType() != zorpaFT_STP) return nullptr;
    std::string name = file->GetInternalFileName();
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return nullptr;
    name.insert(dot, "1");
    const IfileObject chained(name, zorpaFT_STP, ImodelFMInternal, true, false);
    IfileManager* files = Imodel::GetInstance().GetFileManager();
    if (const boost::shared_ptr<IfileObjectEx> entry = files ? files->GetFile(chained) : nullptr) return entry;
    return boost::make_shared<IfileObjectEx>(chained, false);
}

bool IprocessIsRelatedFileOK(const boost::shared_ptr<IfileObjectEx>& file, const std::vector<IprocessFileObject*>& path,
                             int revisionNumber, ImodelModule* module, ImodelRevContextImpl* revision)
{
    if (!file || !file->IsFileInProject()) return true;
    const IfilePredecessorObject* record = file->GetPredecessorObject();
    bool related = record && record->IsSameModule(module);
    if (!related && Imodel::IsRunningTests() && module) {
        // The regression scripts name files they never write: such a file
        // belongs to the unit its name gives.
        int importMissing = 0;
        const IprocessFileObject* node =
            Imodel::GetInstance().GetProcessManager()->GetFileObject(file->GetFileSpecificType(), module);
        related = DefGetBoolFL("QUORLANE_IMPORT_NON_EXISTING_FILES", &importMissing, __FILE__, __LINE__) == 0 &&
                  importMissing == 1 && !UtlDoesFileExist(file->GetFullFileName()) && node &&
                  module->IsSameModule(node->GetBasisName(*file, file->GetFileSpecificType()));
    }
    if (!related) return false;
    if (revisionNumber != -1 && file->GetRevNum() != revisionNumber) return false;
    if (!path.empty() && (!record || !record->HasPredecessors(path, module, revision))) return false;
    return true;
}
