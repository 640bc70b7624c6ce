// Project member files: construction, state, disk stamp, flags and the
// predicates over them.
#include "ifile/IfileObjectEx.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "ifile/IfilePredecessorObject.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/imodelUtl.h"
#include "src/ifile/IfileObjectModel.h"

#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

#include <algorithm>

namespace {

// A value that may go into the line format: no line break.
bool CheckValue(const std::string& value, const char* what)
{
    return value.find_first_of("\r\n") == std::string::npos || IfileRefuseName(value, what);
}

// Both texts of the options; two empty texts for none.
IfileObjectEx::StimulusOptions OptionsOrEmpty(const boost::shared_ptr<IfileObjectEx::StimulusOptions>& options)
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
        if (const boost::shared_ptr<IfileObjectEx> existing = files->GetFile(file)) CopyFrom(*existing);
}

IfileObjectEx::IfileObjectEx(const IfileObjectEx& other) : IfileObject(other) { CopyFrom(other); }

IfileObjectEx& IfileObjectEx::operator=(const IfileObjectEx& other)
{
    if (this != &other) CopyFrom(other);
    return *this;
}

IfileObjectEx::~IfileObjectEx() = default;

void IfileObjectEx::CopyFrom(const IfileObjectEx& other)
{
    IfileObject::operator=(other);
    m_errorKind = other.m_errorKind;
    m_state = other.m_state;
    m_parents = other.m_parents;
    m_stat = other.m_stat ? std::make_unique<SysStatInfo>(*other.m_stat) : nullptr;
    m_foundOnDisk = other.m_foundOnDisk;
    m_changePending = other.m_changePending;
    m_compileSetting = other.m_compileSetting;
    m_errorText = other.m_errorText;
    m_includedFiles = other.m_includedFiles;
    m_ideReadOnly = other.m_ideReadOnly;
    m_importAsLink = other.m_importAsLink;
    SetPredecessorObject(other.m_predecessor.get());
    m_stimulus = other.m_stimulus ? boost::make_shared<StimulusOptions>(*other.m_stimulus)
                                  : boost::shared_ptr<StimulusOptions>();
    m_usedByAllTools = other.m_usedByAllTools;
    m_structural = other.m_structural;
    m_included = other.m_included;
    m_encrypted = other.m_encrypted;
    m_usedPackages = other.m_usedPackages;
    m_definedPackages = other.m_definedPackages;
    m_library = other.m_library;
    m_constraints = other.m_constraints;
    m_parentNamesRead = other.m_parentNamesRead;
}

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

bool IfileObjectEx::IsBrokenLink() const { return !IsLocalFile() && !m_foundOnDisk; }

// --- state ----------------------------------------------------------------------------------

bool IfileObjectEx::GetStrState(std::string& out) const
{
    switch (m_state) {
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
    if (state == m_state) return;
    m_state = state;
    Imodel& model = Imodel::GetInstance();
    if (ImodelDesignManager* design = model.GetDesignManager()) design->SetNeedSave(true);
    if (model.IsDebugState())
        SysPrintf("File %s is now %s\n", GetInternalFileName().c_str(), state == imodelFileUpToDate ? "UTD" : "OOD");
    AnnounceChange();
}

void IfileObjectEx::SetErrorFile(ImodelErrorFileType kind, const std::string& text)
{
    m_errorKind = kind;
    m_errorText = text;
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
    auto stamp = std::make_unique<SysStatInfo>();
    stamp->size = size;
    stamp->time = time;
    m_stat = std::move(stamp);
    m_foundOnDisk = true;
}

void IfileObjectEx::StoreStatInfo(bool& changed, bool clearPending, bool reportReappearance)
{
    if (clearPending) m_changePending = false;
    const bool foundBefore = m_foundOnDisk;
    changed = false;
    m_foundOnDisk = false;
    auto read = std::make_unique<SysStatInfo>();
    if (SysPathStat(GetFullFileName(), read.get()) == 0) {
        m_foundOnDisk = true;
        // Any difference is a change: a file replaced by an older copy of
        // the same size has changed too.
        if (m_stat) changed = !IsSameDiskTime(m_stat->time, read->time) || m_stat->size != read->size;
        m_stat = std::move(read);
    }
    if (m_foundOnDisk != foundBefore && Imodel::GetInstance().IsLinkingEnabled()) {
        if (m_foundOnDisk && reportReappearance) changed = true;
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
        changed = m_changePending;
        m_changePending = false;
        if (changed && debugTimer) SysPrintf("%s was modified...reloading", GetInternalFileName().c_str());
        return;
    }
    changed = false;
    if (m_changePending) return;
    StoreStatInfo(m_changePending, false, false);
    if (m_changePending && debugTimer)
        SysPrintf("Found modified file: %s, will be reloaded", GetFileTitleAndExt().c_str());
}

void IfileObjectEx::UpdateStatInfo(bool force)
{
    const char* name = GetInternalFileName().c_str();
    if (!force) {
        const bool wasPending = m_changePending;
        bool changed = false;
        StoreStatInfo(changed, true, false);
        if (wasPending || changed) SysDebugPrintf("Skipped file change: %s", name);
        return;
    }
    if (m_changePending) {
        SysDebugPrintf("mem file %s will be re-imported", name);
        return;
    }
    if (!m_stat) return;
    --m_stat->size;
    --m_stat->time;
    SysDebugPrintf("forcing mem file import: %s", name);
}

bool IfileObjectEx::IsSameStatInfo(const IfileObjectEx& other) const
{
    auto time = [](const IfileObjectEx& file) { return file.m_stat ? file.m_stat->time : -1; };
    auto size = [](const IfileObjectEx& file) { return file.m_stat ? file.m_stat->size : -1; };
    return time(*this) == time(other) && size(*this) == size(other);
}

bool IfileObjectEx::IsNewerThan(const SysStatInfo* other) const
{
    if (!m_stat || !other) return false;
    return other->time < m_stat->time || other->size != m_stat->size;
}

// --- flags and values ----------------------------------------------------------------------------

bool IfileObjectEx::SetCompileSetting(const std::string& setting)
{
    if (!CheckValue(setting, "compile setting")) return false;
    m_compileSetting = setting;
    return true;
}

bool IfileObjectEx::SetLibraryName(const std::string& library)
{
    if (!CheckValue(library, "library")) return false;
    m_library = library;
    return true;
}

void IfileObjectEx::AddIncludedFile(const IfileObject& file)
{
    if (IsSelf(file) || std::find(m_includedFiles.begin(), m_includedFiles.end(), file) != m_includedFiles.end())
        return;
    m_includedFiles.push_back(file);
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
    m_stimulus = boost::make_shared<StimulusOptions>(options);
    return true;
}

bool IfileObjectEx::SetStimulusOptions(const boost::shared_ptr<StimulusOptions>& options)
{
    if (options) return SetStimulusOptions(*options);
    m_stimulus.reset();
    return true;
}

// --- predicates ----------------------------------------------------------------------------------

int IfileObjectEx::GetReadOnlyState() const
{
    return (SysHasReadOnlyAttr(GetFullFileName()) ? 1 : 0) | (m_ideReadOnly ? 2 : 0);
}

bool IfileObjectEx::DisplayAsLink(Imodel& model) const
{
    return model.IsWizardInstance() ? m_importAsLink : !IsLocalFile();
}

bool IfileObjectEx::IsBFMFile() const
{
    return GetFileType() == zorpaFT_HDL && !m_usedByAllTools && IsUsedForTool(ideSIMULATION, std::string(), true);
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
    return OptionsOrEmpty(m_stimulus) == OptionsOrEmpty(other.m_stimulus) && GetFileType() == other.GetFileType() &&
           m_state == other.m_state && HasParentFile() == other.HasParentFile() &&
           m_compileSetting == other.m_compileSetting && m_ideReadOnly == other.m_ideReadOnly &&
           m_usedByAllTools == other.m_usedByAllTools && m_structural == other.m_structural &&
           m_included == other.m_included && m_encrypted == other.m_encrypted && m_constraints == other.m_constraints &&
           m_library == other.m_library && SortedParentValues(m_parents) == SortedParentValues(other.m_parents);
}

zorpaFileManagerTypes IfileObjectEx::GetFileTypeAsComponent() const
{
    return m_parents.empty() ? GetFileType() : m_parents.front().first.GetFileType();
}

bool IfileObjectEx::IsSelf(const IfileObject& file) const
{
    return &file == this || GetInternalFileName() == file.GetInternalFileName();
}
