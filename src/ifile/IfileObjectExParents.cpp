// Parent files and per-tool use of project member files, and the free
// functions over parent lists.
#include "ifile/IfileObjectEx.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/imodelUtl.h"
#include "itool/ItoolVeyrun.h"
#include "src/ifile/IfileObjectModel.h"

#include <boost/make_shared.hpp>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

// Files already reached by a walk up the parents, by their file-name key.
class VisitedFiles {
public:
    explicit VisitedFiles(const IfileObject& start) { m_keys.insert(ImodelFileNameKey(start.GetInternalFileName())); }
    // True the first time a file is seen.
    bool Enter(const IfileObject& file) { return m_keys.insert(ImodelFileNameKey(file.GetInternalFileName())).second; }

private:
    std::unordered_set<std::string> m_keys;
};

// Profiles are stored joined by ",": a profile may hold neither "," nor a
// line break.
bool CheckProfiles(const IfileObjectEx::type_Filter& filter)
{
    for (const std::set<std::string>* profiles : {&filter.usedProfiles, &filter.skippedProfiles})
        for (const std::string& profile : *profiles)
            if (profile.find_first_of(",\r\n") != std::string::npos) return IfileRefuseName(profile, "tool profile");
    return true;
}

std::string Joined(const std::set<std::string>& profiles)
{
    std::string text;
    for (auto profile = profiles.begin(); profile != profiles.end(); ++profile)
        text += (profile == profiles.begin() ? "" : ", ") + *profile;
    return text;
}

}  // namespace

// --- parents ----------------------------------------------------------------------------------

IfileObjectEx::ParentFiles::const_iterator IfileObjectEx::FindParent(const IfileObject& file) const
{
    const ParentFiles& parents = Rare().parents;
    return std::find_if(parents.begin(), parents.end(), [&](const ParentFile& parent) {
        return &parent.first == &file || parent.first.GetInternalFileName() == file.GetInternalFileName();
    });
}

void IfileObjectEx::AddParentFile(const ParentFile& parent)
{
    if (IsSelf(parent.first) || FindParent(parent.first) != Rare().parents.end()) return;
    UseRare().parents.push_back(parent);
    AnnounceChangeInProject();
}

void IfileObjectEx::AddParentFile(const IfileObject& parent) { AddParentFile(ParentFile(parent, Entry())); }

void IfileObjectEx::AddParentFilesFrom(const IfileObjectEx& other)
{
    // A copy: the other entry may be this one.
    const ParentFiles parents = other.Rare().parents;
    for (const ParentFile& parent : parents) AddParentFile(parent);
}

void IfileObjectEx::SetSingleParentFile(const IfileObject& parent)
{
    // A copy: `parent` may be one of the parents cleared here.
    const IfileObject kept = parent;
    TakeOutOfRare([](RareFields& rare) { rare.parents.clear(); });
    AddParentFile(kept);
}

void IfileObjectEx::SetNoParent()
{
    TakeOutOfRare([](RareFields& rare) { rare.parents.clear(); });
    AnnounceChangeInProject();
}

bool IfileObjectEx::RemoveParentFile(const IfileObject& parent)
{
    const auto found = FindParent(parent);
    if (found == Rare().parents.end()) return false;
    TakeOutOfRare([found](RareFields& rare) { rare.parents.erase(found); });
    AnnounceChangeInProject();
    return true;
}

std::deque<IfileObject> IfileObjectEx::GetParentFiles() const
{
    std::deque<IfileObject> files;
    IfileGetSimpleObjectsFromWeak(Rare().parents, files);
    return files;
}

IfileObjectEx::ParentFiles IfileObjectEx::GetParentFilesOfType(zorpaFileManagerTypes type) const
{
    ParentFiles parents;
    std::copy_if(Rare().parents.begin(), Rare().parents.end(), std::back_inserter(parents),
                 [type](const ParentFile& parent) { return parent.first.GetFileType() == type; });
    return parents;
}

void IfileObjectEx::UpdateParentFilePtr(const IfileObject& file, const boost::shared_ptr<IfileObjectEx>& entry)
{
    // Nothing is made for a file without parents.
    for (ParentFile& parent : Rare().parents)
        if (&parent.first == &file || parent.first.GetInternalFileName() == file.GetInternalFileName())
            parent.second = entry;
}

void IfileObjectEx::RenameParent(const IfileObject& from, const IfileObject& to,
                                 const boost::shared_ptr<IfileObjectEx>& entry)
{
    if (Rare().parents.empty()) return;
    const std::string key = ImodelFileNameKey(from.GetInternalFileName().GetString());
    for (ParentFile& parent : UseRare().parents) {
        if (ImodelFileNameKey(parent.first.GetInternalFileName().GetString()) != key) continue;
        parent.first.SetFileName(to.GetInternalFileName(), ImodelFMInternal, false);
        if (entry) parent.second = entry;
    }
}

bool IfileObjectEx::AnyAncestor(bool recursive, const std::function<bool(const IfileObject&)>& match) const
{
    VisitedFiles visited(*this);
    // The entries still to walk; a standalone entry lives only here.
    std::vector<Entry> pending;
    Entry held;
    const IfileObjectEx* current = this;
    for (;;) {
        for (ParentFile& parent : current->Rare().parents) {
            if (match(parent.first)) return true;
            if (recursive && visited.Enter(parent.first)) pending.push_back(IfileGetAndUpdateFileObject(parent));
        }
        if (pending.empty()) return false;
        held = std::move(pending.back());
        pending.pop_back();
        current = held.get();
    }
}

bool IfileObjectEx::IsChildOfFile(const IfileObject& file, bool recursive) const
{
    return AnyAncestor(recursive, [&](const IfileObject& parent) {
        return &parent == &file || parent.GetInternalFileName() == file.GetInternalFileName();
    });
}

bool IfileObjectEx::HasParentFileOfType(zorpaFileManagerTypes type, bool recursive) const
{
    return AnyAncestor(recursive, [type](const IfileObject& parent) { return parent.GetFileType() == type; });
}

bool IfileObjectEx::HasMultipleParentsRec(zorpaFileManagerTypes type) const
{
    VisitedFiles visited(*this);
    Entry held;
    const IfileObjectEx* current = this;
    for (;;) {
        ParentFile* single = nullptr;
        int count = 0;
        for (ParentFile& parent : current->Rare().parents)
            if (parent.first.GetFileType() == type && ++count == 1) single = &parent;
        if (count != 1) return count > 1;
        if (!visited.Enter(single->first)) return false;
        held = IfileGetAndUpdateFileObject(*single);
        current = held.get();
    }
}

boost::shared_ptr<IfileObjectEx> IfileObjectEx::GetSingleTopLevelParentFileObject() const
{
    ParentFiles& parents = Rare().parents;
    if (parents.size() != 1) return Entry();
    VisitedFiles visited(*this);
    visited.Enter(parents.front().first);
    Entry top = IfileGetAndUpdateFileObject(parents.front());
    while (top->Rare().parents.size() == 1 && visited.Enter(top->Rare().parents.front().first))
        top = IfileGetAndUpdateFileObject(top->Rare().parents.front());
    return top;
}

VyIfaces::IComponent* IfileObjectEx::GetTopParentComponent() const
{
    const Entry top = GetSingleTopLevelParentFileObject();
    return top ? ItoolVeyrun::FindSingleComponentFromDefFile(*top) : nullptr;
}

bool IfileObjectEx::IsCommonCoreFile(zorpaFileManagerTypes type) const
{
    if (HasMultipleParentsRec(type)) return true;
    if (GetParentFilesOfType(type).size() != 1) return false;
    const Entry top = GetSingleTopLevelParentFileObject();
    ImodelFileName folder;
    ImodelFileName topFolder;
    if (top && top->GetFileType() == type && GetRelativeFolder(folder) && top->GetRelativeFolder(topFolder)) {
        const std::string& mine = folder;
        const std::string& theirs = topFolder;
        const bool insideTop =
            mine.size() >= theirs.size() && ImodelIsSameFileName(mine.substr(0, theirs.size()), theirs);
        const std::size_t separator = mine.find('/');
        // Outside the top parent's folder, under the same top-level folder.
        if (!insideTop && separator == theirs.find('/') &&
            ImodelIsSameFileName(mine.substr(0, separator), theirs.substr(0, separator)))
            return true;
    }
    return IsDremmetCommonFile();
}

// --- component attributes -------------------------------------------------------------------------

namespace {

// Whether the file defines a block-design component whose description the
// parse on open can read: a description that is not on disk is not parsed,
// and its files keep what the project stored for them.
bool DefinesReadableComponent(const IfileObject& file)
{
    return ItoolVeyrun::FindSingleComponentFromDefFile(file) != nullptr &&
           UtlDoesFileExist(file.GetFullFileName().GetString());
}

}  // namespace

bool IfileObjectEx::WillBeParsedOnOpen() const { return WillBeParsedOnOpen(DefinesReadableComponent); }

bool IfileObjectEx::WillBeParsedOnOpen(const std::function<bool(const IfileObject&)>& definesReadableComponent) const
{
    if (!Imodel::GetInstance().ParseCxfOnOpen()) return false;
    if (GetFileSpecificType() == zorpaFT_OMBRIX_CXF) return definesReadableComponent(*this);
    const ParentFiles& parents = Rare().parents;
    const bool ofADescription = std::any_of(parents.begin(), parents.end(), [](const ParentFile& parent) {
        return parent.first.GetFileSpecificType() == zorpaFT_OMBRIX_CXF;
    });
    return ofADescription && std::any_of(parents.begin(), parents.end(), [&](const ParentFile& parent) {
               return definesReadableComponent(parent.first);
           });
}

void IfileObjectEx::ResetCXFAttributes()
{
    TakeOutOfRare([](RareFields& rare) {
        rare.parents.clear();
        rare.constraints.clear();
        rare.compileSetting.clear();
        rare.stimulus.reset();
    });
    m_fields.usedByAllTools = true;
    m_fields.included = false;
    m_fields.encrypted = false;
}

void IfileObjectEx::UpdateCFXAttrs()
{
    if (WillBeParsedOnOpen()) ResetCXFAttributes();
}

void IfileIgnoreCXFAttrs(std::deque<IfileObjectEx>& files)
{
    if (!Imodel::GetInstance().ParseCxfOnOpen()) return;
    // The files of a core share its description: each description is asked
    // once, not once per file.
    std::unordered_map<std::string, bool> defines;
    const auto definesReadableComponent = [&defines](const IfileObject& file) {
        const auto [at, first] = defines.try_emplace(ifileSameFileKey(file), false);
        if (first) at->second = DefinesReadableComponent(file);
        return at->second;
    };
    for (IfileObjectEx& file : files)
        if (file.WillBeParsedOnOpen(definesReadableComponent)) file.ResetCXFAttributes();
}

// --- per-tool use ---------------------------------------------------------------------------------

bool IfileObjectEx::SetUseForTool(const type_Filter& filter)
{
    if (!CheckProfiles(filter)) return false;
    bool merged = false;
    std::vector<type_Filter>& constraints = UseRare().constraints;
    for (type_Filter& constraint : constraints) {
        if (constraint.toolKind != filter.toolKind) continue;
        constraint.usedProfiles.insert(filter.usedProfiles.begin(), filter.usedProfiles.end());
        constraint.skippedProfiles.insert(filter.skippedProfiles.begin(), filter.skippedProfiles.end());
        merged = true;
    }
    if (!merged) constraints.push_back(filter);
    return true;
}

bool IfileObjectEx::SetUseForTool(const std::vector<type_Filter>& filters)
{
    // All or nothing: a refused profile leaves the constraints as they were.
    if (!std::all_of(filters.begin(), filters.end(), CheckProfiles)) return false;
    for (const type_Filter& filter : filters) SetUseForTool(filter);
    return true;
}

bool IfileObjectEx::AddConstraintsFrom(const IfileObjectEx& other)
{
    if (!other.m_fields.usedByAllTools) m_fields.usedByAllTools = false;
    // A copy: the other entry may be this one.
    const std::vector<type_Filter> constraints = other.Rare().constraints;
    return SetUseForTool(constraints);
}

void IfileObjectEx::ResetUseForToolList()
{
    TakeOutOfRare([](RareFields& rare) { rare.constraints.clear(); });
}

void IfileObjectEx::ResetUseForToolList(ImodelFunctionType kind)
{
    TakeOutOfRare([kind](RareFields& rare) {
        std::erase_if(rare.constraints, [kind](const type_Filter& constraint) { return constraint.toolKind == kind; });
    });
}

bool IfileObjectEx::IsUsedForTool(ImodelFunctionType kind, const std::string& profile, bool checkProfile) const
{
    if (m_fields.usedByAllTools) return true;
    const std::vector<type_Filter>& constraints = Rare().constraints;
    return std::any_of(constraints.begin(), constraints.end(), [&](const type_Filter& constraint) {
        if (constraint.toolKind != kind) return false;
        if (!checkProfile) return true;
        const auto& used = constraint.usedProfiles;
        const auto& skipped = constraint.skippedProfiles;
        return (used.empty() && skipped.empty()) || used.count(profile) != 0 ||
               (!skipped.empty() && skipped.count(profile) == 0);
    });
}

std::string IfileObjectEx::GetUseForToolDebugStr(char separator) const
{
    if (m_fields.usedByAllTools) return "Used by all tools";
    std::string text;
    for (const type_Filter& constraint : Rare().constraints) {
        if (!text.empty()) text += separator;
        std::string keyword;
        ImodelWriteToolNameString(constraint.toolKind, keyword);
        text += "Used for " + keyword;
        if (!constraint.usedProfiles.empty()) text += " if profile [" + Joined(constraint.usedProfiles) + "]";
        if (!constraint.skippedProfiles.empty()) text += " if not profile [" + Joined(constraint.skippedProfiles) + "]";
    }
    return text.empty() ? "Not used by any tool" : text;
}

// --- free functions over parent lists -------------------------------------------------------------

boost::shared_ptr<IfileObjectEx> IfileGetAndUpdateFileObject(IfileObjectEx::ParentFile& parent)
{
    if (Entry live = parent.second.lock()) return live;
    if (IfileManager* files = ifileFileManager()) {
        if (Entry registered = files->GetFile(parent.first)) {
            parent.second = registered;
            return registered;
        }
    }
    return boost::make_shared<IfileObjectEx>(parent.first, false);
}

void IfileGetRealObjectsFromWeak(IfileObjectEx::ParentFiles& parents,
                                 std::vector<boost::shared_ptr<IfileObjectEx>>& out)
{
    out.clear();
    for (IfileObjectEx::ParentFile& parent : parents) out.push_back(IfileGetAndUpdateFileObject(parent));
}

void IfileGetWeakObjectsFromReal(const std::vector<boost::shared_ptr<IfileObjectEx>>& entries,
                                 IfileObjectEx::ParentFiles& out)
{
    out.clear();
    for (const Entry& entry : entries) out.emplace_back(*entry, entry);
}

void IfileGetWeakObjectsFromSimple(const std::deque<IfileObject>& files, IfileObjectEx::ParentFiles& out)
{
    out.clear();
    for (const IfileObject& file : files) out.emplace_back(file, Entry());
}

void IfileGetSimpleObjectsFromWeak(const IfileObjectEx::ParentFiles& parents, std::deque<IfileObject>& out)
{
    out.clear();
    for (const IfileObjectEx::ParentFile& parent : parents) out.push_back(parent.first);
}

void IfileAddUniqueObject(std::deque<boost::shared_ptr<IfileObjectEx>>& entries,
                          const boost::shared_ptr<IfileObjectEx>& entry)
{
    const bool present =
        std::any_of(entries.begin(), entries.end(), [&](const Entry& other) { return *other == *entry; });
    if (!present) entries.push_back(entry);
}

bool IfileIsSameList(const std::vector<boost::shared_ptr<IfileObjectEx>>& first,
                     const std::vector<boost::shared_ptr<IfileObjectEx>>& second)
{
    return std::equal(first.begin(), first.end(), second.begin(), second.end(),
                      [](const Entry& a, const Entry& b) { return *a == *b; });
}
