// Project member files: construction, state, disk stamp, flags and the
// predicates over them.
#include "ifile/IfileObjectEx.h"

#include "ifile/IfileKnownStatuses.h"
#include "ifile/IfileReadAhead.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "ifile/IfilePredecessorObject.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/imodelUtl.h"
#include "src/ifile/IfileObjectModel.h"

#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <atomic>

namespace {

// The include lists that hold something, of every file value.
std::atomic<std::size_t>& IncludeLists()
{
    static std::atomic<std::size_t> lists{0};
    return lists;
}

// The times a file value came to define packages.
std::atomic<std::uint64_t>& PackageDefiners()
{
    static std::atomic<std::uint64_t> changes{0};
    return changes;
}

// The file values marked encrypted.
std::atomic<std::size_t>& EncryptedValues()
{
    static std::atomic<std::size_t> values{0};
    return values;
}

// A value that may go into the line format: no line break.
bool CheckValue(const std::string& value, const char* what)
{
    return value.find_first_of("\r\n") == std::string::npos || IfileRefuseName(value, what);
}

// Both texts of the options; two empty texts for none.
IfileObjectEx::StimulusOptions OptionsOrEmpty(const boost::shared_ptr<const IfileObjectEx::StimulusOptions>& options)
{
    return options ? *options : IfileObjectEx::StimulusOptions(std::string(), std::string());
}

std::vector<IfileObject> SortedParentValues(const IfileObjectEx::ParentFiles& parents)
{
    std::vector<IfileObject> values;
    values.reserve(parents.size());
    for (const IfileObjectEx::ParentFile& parent : parents) values.push_back(parent.first);
    std::sort(values.begin(), values.end());
    return values;
}

}  // namespace

// --- stimulus options and tool constraints -----------------------------------------------

bool IfileObjectEx::StimulusOptions::operator==(const StimulusOptions& other) const
{
    return this == &other ||
           (m_moduleUnderTest == other.m_moduleUnderTest && m_simulationTime == other.m_simulationTime);
}

IfileObjectEx::type_Filter::type_Filter(ImodelFunctionType kind, const std::string& profile) : toolKind(kind)
{
    if (!profile.empty()) usedProfiles.insert(profile);
}

// --- construction -------------------------------------------------------------------------

IfileObjectEx::IfileObjectEx(const IfileObject& file, bool copyExisting) : IfileObject(file)
{
    if (!copyExisting) return;
    if (IfileManager* files = ifileFileManager())
        if (const boost::shared_ptr<IfileObjectEx> existing = files->GetFile(file)) CopyValues(*existing);
}

IfileObjectEx::IfileObjectEx(const IfileObjectEx& other) : IfileObject(other), m_fields(other.m_fields)
{
    SetPredecessorObject(other.m_predecessor.get());
}

IfileObjectEx::IfileObjectEx(IfileObjectEx&& other) : IfileObject(std::move(other)), m_fields(std::move(other.m_fields))
{
    // The record knows its owner: the new owner gets a clone of its own.
    SetPredecessorObject(other.m_predecessor.get());
}

void IfileObjectEx::CopyValues(const IfileObjectEx& other)
{
    TellHierarchyIfStructureChanges(other);
    IfileObject::operator=(other);
    m_fields = other.m_fields;
    SetPredecessorObject(other.m_predecessor.get());
}

IfileObjectEx& IfileObjectEx::operator=(const IfileObjectEx& other)
{
    if (this == &other) return *this;
    // A member file may be given packages this way.
    const bool definesAnew = !HasPackage() && other.HasPackage();
    CopyValues(other);
    if (definesAnew) ++PackageDefiners();
    return *this;
}

IfileObjectEx& IfileObjectEx::operator=(IfileObjectEx&& other)
{
    if (this == &other) return *this;
    TellHierarchyIfStructureChanges(other);
    const bool definesAnew = !HasPackage() && other.HasPackage();
    IfileObject::operator=(std::move(other));
    m_fields = std::move(other.m_fields);
    if (definesAnew) ++PackageDefiners();
    SetPredecessorObject(other.m_predecessor.get());
    return *this;
}

IfileObjectEx::~IfileObjectEx() = default;

// --- virtual predicates -------------------------------------------------------------------

bool IfileObjectEx::IsDisplayedInDesignHierarchy() const
{
    return GetFileType() == zorpaFT_OMBRIX_CXF || IsASourceFile();
}

bool IfileObjectEx::IsASourceFile() const
{
    if (!HasSourceFileType()) return false;
    ImodelHost* host = Imodel::GetInstance().GetHost();
    if (GetFileType() != zorpaFT_HDL || !host) return true;
    std::string profile;
    host->GetToolProfileOption(profile, ideSYNTHESIS, "SYNPLIFY7_EXT");
    return IsUsedForTool(ideSYNTHESIS, profile, true);
}

bool IfileObjectEx::HasSourceFileType() const { return GetFileType() == zorpaFT_SCH || GetFileType() == zorpaFT_HDL; }

bool IfileObjectEx::IsBrokenLink() const { return !IsLocalFile() && !m_fields.foundOnDisk; }

// --- state ----------------------------------------------------------------------------------

bool IfileObjectEx::GetStrState(std::string& out) const
{
    switch (m_fields.state) {
    case imodelFileUpToDate:
        out = "utd";
        break;
    case imodelFileOutOfDate:
        out = "ood";
        break;
    default:
        out = "absent";
        break;
    }
    return true;
}

void IfileObjectEx::SetFileState(imodelFileState state)
{
    if (state == imodelFileAbsent) {
        SysDebugPrintf("Error: in IfileObject::SetFileState() for '%s'.\n", GetInternalFileName().c_str());
        return;
    }
    if (state == m_fields.state) return;
    m_fields.state = state;
    Imodel& model = Imodel::GetInstance();
    if (ImodelDesignManager* design = model.GetDesignManager()) design->SetNeedSave(true);
    if (model.IsDebugState())
        SysPrintf("File %s is now %s\n", GetInternalFileName().c_str(), state == imodelFileUpToDate ? "UTD" : "OOD");
    AnnounceChange();
}

void IfileObjectEx::SetErrorFile(ImodelErrorFileType kind, const std::string& text)
{
    m_fields.errorKind = kind;
    SetRareText(&RareFields::errorText, text);
}

void IfileObjectEx::MoveHeapTextsOut(std::vector<std::string>& out)
{
    IfileObject::MoveHeapTextsOut(out);
    if (m_fields.rare.Made()) {
        MoveHeapText(UseRare().compileSetting, out);
        MoveHeapText(UseRare().errorText, out);
    }
    MoveHeapText(m_fields.library, out);
}

void IfileObjectEx::UpdateFileDisplay() const { AnnounceChangeInProject(); }

void IfileObjectEx::AnnounceChangeInProject() const
{
    if (IsFileInProject()) AnnounceChange();
}

void IfileObjectEx::AnnounceChange() const
{
    // The manager tells its listeners and the views about a file it holds,
    // and ignores any other.
    if (IfileManager* files = ifileFileManager()) files->AnnounceFileChange(*this);
}

// --- disk stamp --------------------------------------------------------------------------------

bool IfileObjectEx::IsSameDiskTime(std::int64_t stored, std::int64_t onDisk)
{
    // A stamp on a whole second came from a project file that kept seconds
    // only: compare to the second, or every file of an older project would
    // count as changed when it is first opened.
    if (stored % kNanosecondsPerSecond != 0) return stored == onDisk;
    const auto seconds = [](std::int64_t time) {
        return time / kNanosecondsPerSecond - (time % kNanosecondsPerSecond < 0 ? 1 : 0);
    };
    return seconds(stored) == seconds(onDisk);
}

void IfileObjectEx::StoreStatInfo(const SysStatInfo* info)
{
    if (info) StoreStatInfo(info->size, info->time);
}

void IfileObjectEx::StoreStatInfo(std::int64_t size, std::int64_t time)
{
    SysStatInfo stamp;
    stamp.size = size;
    stamp.time = time;
    m_fields.stat = stamp;
    m_fields.foundOnDisk = true;
}

void IfileObjectEx::StoreStatInfo(bool& changed, bool clearPending, bool reportReappearance)
{
    if (clearPending) m_fields.changePending = false;
    const bool foundBefore = m_fields.foundOnDisk;
    changed = false;
    m_fields.foundOnDisk = false;
    SysStatInfo read;
    // A walk over the folders may have found the file a moment ago.
    const SysStatInfo* known = IfileKnownStatuses::Current(*this);
    if (known) read = *known;
    if (known || IfileStatPath(GetFullFileName(), &read) == 0) {
        m_fields.foundOnDisk = true;
        // Any difference is a change: a file replaced by an older copy of
        // the same size has changed too.
        if (m_fields.stat)
            changed = !IsSameDiskTime(m_fields.stat->time, read.time) || m_fields.stat->size != read.size;
        m_fields.stat = read;
    }
    if (m_fields.foundOnDisk != foundBefore && Imodel::GetInstance().IsLinkingEnabled()) {
        if (m_fields.foundOnDisk && reportReappearance) changed = true;
        AnnounceChangeInProject();
    }
}

void IfileObjectEx::StoreStatInfo()
{
    bool changed = false;
    StoreStatInfo(changed, false, false);
}

void IfileObjectEx::StoreStatInfoEx(bool& changed, bool takePending)
{
    const bool debugTimer = Imodel::GetInstance().IsDebugTimer();
    if (takePending) {
        changed = m_fields.changePending;
        m_fields.changePending = false;
        if (changed && debugTimer) SysPrintf("%s was modified...reloading", GetInternalFileName().c_str());
        return;
    }
    changed = false;
    if (m_fields.changePending) return;
    StoreStatInfo(m_fields.changePending, false, false);
    if (m_fields.changePending && debugTimer)
        SysPrintf("Found modified file: %s, will be reloaded", GetFileTitleAndExt().c_str());
}

void IfileObjectEx::UpdateStatInfo(bool force)
{
    const char* name = GetInternalFileName().c_str();
    if (!force) {
        const bool wasPending = m_fields.changePending;
        bool changed = false;
        StoreStatInfo(changed, true, false);
        if (wasPending || changed) SysDebugPrintf("Skipped file change: %s", name);
        return;
    }
    if (m_fields.changePending) {
        SysDebugPrintf("mem file %s will be re-imported", name);
        return;
    }
    if (!m_fields.stat) return;
    --m_fields.stat->size;
    --m_fields.stat->time;
    SysDebugPrintf("forcing mem file import: %s", name);
}

bool IfileObjectEx::IsSameStatInfo(const IfileObjectEx& other) const
{
    auto time = [](const IfileObjectEx& file) { return file.m_fields.stat ? file.m_fields.stat->time : -1; };
    auto size = [](const IfileObjectEx& file) { return file.m_fields.stat ? file.m_fields.stat->size : -1; };
    return time(*this) == time(other) && size(*this) == size(other);
}

bool IfileObjectEx::IsNewerThan(const SysStatInfo* other) const
{
    if (!m_fields.stat || !other) return false;
    if (other->size != m_fields.stat->size) return true;
    // A stamp of an older project file holds the second only: a file
    // written within that second is not newer than it.
    return other->time < m_fields.stat->time && !IsSameDiskTime(other->time, m_fields.stat->time);
}

// --- flags and values ----------------------------------------------------------------------------

bool IfileObjectEx::SetCompileSetting(const std::string& setting)
{
    if (!CheckValue(setting, "compile setting")) return false;
    SetRareText(&RareFields::compileSetting, setting);
    return true;
}

bool IfileObjectEx::RareFields::IsEmpty() const
{
    return parents.empty() && parentNamesRead.empty() && constraints.empty() && compileSetting.empty() &&
           errorText.empty() && !stimulus;
}

void IfileObjectEx::DropRareIfEmpty()
{
    if (m_fields.rare.Made() && Rare().IsEmpty()) m_fields.rare.Reset();
}

void IfileObjectEx::SetRareText(std::string RareFields::*text, const std::string& value)
{
    if (value.empty()) return TakeOutOfRare([text](RareFields& rare) { (rare.*text).clear(); });
    UseRare().*text = value;
}

bool IfileObjectEx::SetLibraryName(const std::string& library)
{
    if (!IfileIsStorableLibraryName(library) && !IfileRefuseName(library, "library")) return false;
    m_fields.library = library;
    return true;
}

void IfileObjectEx::IncludeListCount::Made() { ++IncludeLists(); }
void IfileObjectEx::IncludeListCount::Gone() { --IncludeLists(); }
bool IfileObjectEx::AnyFileIncludesFiles() { return IncludeLists().load() != 0; }
std::uint64_t IfileObjectEx::PackageDefinerChanges() { return PackageDefiners().load(); }

void IfileObjectEx::SetDefinedPackages(const std::deque<std::string>& packages)
{
    const bool definesAnew = !HasPackage() && !packages.empty();
    m_fields.definedPackages.Assign(packages);
    if (definesAnew) ++PackageDefiners();
}

void IfileObjectEx::EncryptedMark::Flip() noexcept
{
    m_set = !m_set;
    if (m_set)
        ++EncryptedValues();
    else
        --EncryptedValues();
}

bool IfileObjectEx::AnyFileIsEncrypted() { return EncryptedValues().load() != 0; }

void IfileObjectEx::ReadIsEncrypted(const std::string& value)
{
    bool encrypted = m_fields.encrypted;
    ReadBool(value, encrypted);
    m_fields.encrypted = encrypted;
}

void IfileObjectEx::SetFileStructural(bool structural)
{
    if (structural == m_fields.structural) return;
    m_fields.structural = structural;
    ImodelModule::HierarchyChanged();
}

void IfileObjectEx::TellHierarchyIfStructureChanges(const IfileObjectEx& other) const
{
    // Whether the units of a hierarchy are structural follows their files.
    if (other.m_fields.structural != m_fields.structural || other.GetFileSpecificType() != GetFileSpecificType())
        ImodelModule::HierarchyChanged();
}

void IfileObjectEx::AddIncludedFile(const IfileObject& file)
{
    if (IsSelf(file) ||
        std::find(GetIncludedFiles().begin(), GetIncludedFiles().end(), file) != GetIncludedFiles().end())
        return;
    m_fields.includedFiles.Append(file);
}

void IfileObjectEx::SetPredecessorObject(const IfilePredecessorObject* record)
{
    m_predecessor = record ? record->Clone(this) : nullptr;
}

bool IfileObjectEx::SetStimulusOptions(const StimulusOptions& options)
{
    if (!CheckValue(options.GetModuleUnderTest(), "module under test") ||
        !CheckValue(options.GetSimulationTime(), "simulation time"))
        return false;
    UseRare().stimulus = boost::make_shared<StimulusOptions>(options);
    return true;
}

bool IfileObjectEx::SetStimulusOptions(const boost::shared_ptr<const StimulusOptions>& options)
{
    if (options) return SetStimulusOptions(*options);
    TakeOutOfRare([](RareFields& rare) { rare.stimulus.reset(); });
    return true;
}

// --- predicates ----------------------------------------------------------------------------------

int IfileObjectEx::GetReadOnlyState() const
{
    return (SysHasReadOnlyAttr(GetFullFileName()) ? 1 : 0) | (m_fields.ideReadOnly ? 2 : 0);
}

bool IfileObjectEx::DisplayAsLink(Imodel& model) const
{
    return model.IsWizardInstance() ? m_fields.importAsLink : !IsLocalFile();
}

bool IfileObjectEx::IsBFMFile() const
{
    return GetFileType() == zorpaFT_HDL && !m_fields.usedByAllTools &&
           IsUsedForTool(ideSIMULATION, std::string(), true);
}

bool IfileObjectEx::IsInstrumentedByIdentify() const
{
    ImodelFileName folder;
    if (!GetRelativeFolder(folder)) return false;
    std::string upper = folder;
    ImodelMakeUpper(upper);
    return upper.find("IDENTIFY") != std::string::npos;
}

bool IfileObjectEx::IsDremmetCommonFile() const
{
    ImodelFileName relative;
    ImodelFileName common;
    if (!GetRelativeFileName(relative) ||
        !ImodelGetRelativeFileName(ImodelFileName("common"), common, false, zorpaFT_GROUP_DREMMET))
        return false;
    const std::string prefix = common.GetString() + SysGetDirChar();
    const std::string& name = relative;
    return name.size() >= prefix.size() && ImodelIsSameFileName(name.substr(0, prefix.size()), prefix);
}

bool IfileObjectEx::IsIdentical(const IfileObjectEx& other, bool compareStamps) const
{
    if (this == &other) return true;
    if (GetInternalFileName() != other.GetInternalFileName()) return false;
    if (compareStamps && !IsSameStatInfo(other)) return false;
    const RareFields& mine = Rare();
    const RareFields& theirs = other.Rare();
    return OptionsOrEmpty(mine.stimulus) == OptionsOrEmpty(theirs.stimulus) && GetFileType() == other.GetFileType() &&
           m_fields.state == other.m_fields.state && HasParentFile() == other.HasParentFile() &&
           mine.compileSetting == theirs.compileSetting && m_fields.ideReadOnly == other.m_fields.ideReadOnly &&
           m_fields.usedByAllTools == other.m_fields.usedByAllTools &&
           m_fields.structural == other.m_fields.structural && m_fields.included == other.m_fields.included &&
           bool(m_fields.encrypted) == bool(other.m_fields.encrypted) && mine.constraints == theirs.constraints &&
           m_fields.library == other.m_fields.library &&
           SortedParentValues(mine.parents) == SortedParentValues(theirs.parents);
}

zorpaFileManagerTypes IfileObjectEx::GetFileTypeAsComponent() const
{
    const ParentFiles& parents = Rare().parents;
    return parents.empty() ? GetFileType() : parents.front().first.GetFileType();
}

bool IfileObjectEx::IsSelf(const IfileObject& file) const
{
    return &file == this || GetInternalFileName() == file.GetInternalFileName();
}
