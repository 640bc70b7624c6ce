// The components of the core workspace: the collection, the table of
// designs with their editors, creation and removal, and what the project
// tells the workspace about its files.
#include "ktwkspace/Workspace.h"

#include "KtwkspaceDebug.h"

#include "ktwkspace/Catalog.h"
#include "ktwkspace/IIDEObject.h"

#include <foundation/Sys.h>
#include <foundation/UtlAscii.h>
#include <ulv/SpiritReadCoreInfo.h>
#include <ulv/VlnvCoreId.h>
#include <vy/IDEVeyrunCallBack.h>

#include <algorithm>
#include <string_view>
#include <unistd.h>
#include <utility>

namespace Ktwkspace {

namespace {

// Removes the folder only when it is empty: what else is in it is kept.
void RemoveEmptyFolder(const std::string& folder)
{
    if (!folder.empty()) ::rmdir(folder.c_str());
}

// A name that can stand for a component and its folder.
bool IsComponentName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\\t\r\n") == std::string::npos;
}

// The core description (SPIRIT, as the project reads it) of a component the
// workspace makes: its identity (vendor, library, the record's name, version
// 1.0), its kind, its HDL library and language and the device it is made for.
std::string DescriptionOf(const WorkspaceComponentRecord& record, const std::string& library,
                          const std::string& language)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Component>\n";
    text += "  <vendor>brennic.com</vendor>\n  <library>" + KtwkspaceXmlText(library) + "</library>\n  <name>" +
            KtwkspaceXmlText(record.id.name) + "</name>\n  <version>1.0</version>\n  <vendorExtension>\n";
    text += "    <coreType>" + std::string(VyIfaces::GetModuleTypeName(record.type)) + "</coreType>\n";
    text += "    <hdlLibrary>" + KtwkspaceXmlText(record.id.library) + "</hdlLibrary>\n";
    if (!language.empty()) text += "    <hdlFormat>" + KtwkspaceXmlText(language) + "</hdlFormat>\n";
    if (!record.family.empty())
        text += "    <supportedDevices><device family=\"" + KtwkspaceXmlText(record.family) + "\" die=\"" +
                KtwkspaceXmlText(record.die) + "\" package=\"" + KtwkspaceXmlText(record.package) +
                "\"/></supportedDevices>\n";
    return text + "  </vendorExtension>\n</Component>\n";
}

// The folder that holds the workspace's folder: the project's.
std::string ParentOf(const std::string& folder)
{
    const std::size_t slash = folder.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string() : folder.substr(0, slash);
}

// A file name as the workspace file keeps it: relative to the folder when
// below it, "../" and the rest when below the project's folder that holds
// it (a project copied or moved keeps its cores then), else in full.
std::string Stored(const std::string& path, const std::string& folder)
{
    const std::string prefix = folder + '/';
    if (path.rfind(prefix, 0) == 0) return path.substr(prefix.size());
    const std::string project = ParentOf(folder);
    if (!project.empty() && path.rfind(project + '/', 0) == 0) return "../" + path.substr(project.size() + 1);
    return path;
}

std::string Resolved(const std::string& path, const std::string& folder)
{
    if (path.empty() || path.front() == '/') return path;
    const std::string project = ParentOf(folder);
    if (!project.empty() && path.rfind("../", 0) == 0) return project + '/' + path.substr(3);
    return folder + '/' + path;
}

// The record's file names, for the file (`store`) or as the workspace holds
// them (resolved).
void StoreFiles(WorkspaceComponentRecord& record, const std::string& folder)
{
    record.definitionFile = Stored(record.definitionFile, folder);
    record.ixfFile = Stored(record.ixfFile, folder);
    for (std::string& file : record.designFiles) file = Stored(file, folder);
}

void ResolveFiles(WorkspaceComponentRecord& record, const std::string& folder)
{
    record.definitionFile = Resolved(record.definitionFile, folder);
    record.ixfFile = Resolved(record.ixfFile, folder);
    for (std::string& file : record.designFiles) file = Resolved(file, folder);
}

bool SameFiles(const WorkspaceComponentRecord& a, const WorkspaceComponentRecord& b)
{
    return a.definitionFile == b.definitionFile && a.ixfFile == b.ixfFile && a.designFiles == b.designFiles;
}

bool SameInstances(const std::vector<VyIfaces::ComponentInstance>& a, const std::vector<VyIfaces::ComponentInstance>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.kind == y.kind && x.instanceName == y.instanceName && x.moduleName == y.moduleName &&
               x.referencedName == y.referencedName && x.core == y.core && x.library == y.library;
    });
}

// Whether the two records make the same component, whatever the state of
// what was made of it (identities aside).
bool SameMaking(const WorkspaceComponentRecord& a, const WorkspaceComponentRecord& b)
{
    return SameFiles(a, b) && a.type == b.type && a.family == b.family && a.die == b.die && a.package == b.package &&
           a.parameters == b.parameters && SameInstances(a.instances, b.instances);
}

}  // namespace

IDEVeyrunCallBack* Workspace::Engine() const { return m_callback ? m_callback->GetVYCallBack() : nullptr; }

std::string Workspace::GetFolder() const
{
    const std::size_t slash = m_fileName.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : m_fileName.substr(0, slash);
}

VyIfaces::IComponent* Workspace::FindComponent(const VyIfaces::ComponentID& id) const
{
    const auto found = m_collection.find(id);
    return found == m_collection.end() ? nullptr : found->second;
}

std::vector<Workspace::DesignEntry> Workspace::GetDesignTable() const
{
    std::vector<DesignEntry> table;
    table.reserve(m_table.size());
    for (const Held& held : m_table) table.push_back({held.component.get(), held.open});
    return table;
}

std::vector<Workspace::Held>::iterator Workspace::FindHeld(const VyIfaces::IComponent* component)
{
    return std::find_if(m_table.begin(), m_table.end(),
                        [&](const Held& held) { return component != nullptr && held.component.get() == component; });
}

void Workspace::Retire(std::vector<Held>::iterator held)
{
    m_collection.erase(held->component->GetComponentID());
    if (m_active == held->component.get()) m_active = nullptr;
    m_retired.push_back(std::move(held->component));
    m_table.erase(held);
}

bool Workspace::Save(const std::vector<const VyIfaces::IComponent*>& leaving) const
{
    WorkspaceSettings settings = m_fileSettings;
    const std::string folder = GetFolder();
    for (const Held& held : m_table) {
        if (std::find(leaving.begin(), leaving.end(), held.component.get()) != leaving.end()) continue;
        WorkspaceComponentRecord record = held.component->GetRecord();
        StoreFiles(record, folder);
        settings.components.push_back(std::move(record));
    }
    try {
        if (SysWriteFileAtomically(m_fileName, KtwkspaceFormatWorkspace(settings))) return true;
        DebugLine(m_fileName + ": cannot be written");
    } catch (const std::invalid_argument& error) {
        DebugLine(m_fileName + ": " + error.what());
    }
    return false;
}

void Workspace::AdoptRecords(const std::vector<WorkspaceComponentRecord>& records)
{
    const std::string folder = GetFolder();
    for (WorkspaceComponentRecord record : records) {
        // Of two lines of one identity the first stands.
        if (FindComponent(record.id) != nullptr) continue;
        ResolveFiles(record, folder);
        auto component = std::make_unique<WorkspaceComponent>(std::move(record));
        component->m_owner = this;
        m_collection.emplace(component->GetComponentID(), component.get());
        m_table.push_back({std::move(component), false});
    }
    m_settings.components.clear();
    m_fileSettings.components.clear();
}

VyIfaces::IComponent* Workspace::AddComponent(WorkspaceComponentRecord record)
{
    if (record.id.name.empty() || FindComponent(record.id) != nullptr) return nullptr;
    auto component = std::make_unique<WorkspaceComponent>(std::move(record));
    component->m_owner = this;
    VyIfaces::IComponent* added = component.get();
    m_collection.emplace(added->GetComponentID(), added);
    m_table.push_back({std::move(component), false});
    if (Save()) return added;
    Retire(FindHeld(added));
    return nullptr;
}

Workspace::CreateResult Workspace::Create(WorkspaceComponentRecord record, const std::string& library)
{
    if (!IsComponentName(record.id.name) || FindComponent(record.id) != nullptr) return {};
    const std::string folder = GetFolder() + '/' + record.id.name;
    record.definitionFile = folder + '/' + record.id.name + ".cxf";
    record.ixfFile = folder + '/' + record.id.name + ".ixf";
    record.state = 1;
    record.family = m_settings.family;
    record.die = m_settings.die;
    record.package = m_settings.package;
    const std::string content = DescriptionOf(record, library, m_settings.language);
    // A file already there is somebody's: never written over, nor taken as
    // the new component's, whose removal would delete it. A folder made here
    // for a component that could not be made goes again.
    const bool folderWasThere = UtlDoesDiskObjectExist(folder);
    if (UtlDoesDiskObjectExist(record.definitionFile) || UtlDoesDiskObjectExist(record.ixfFile) ||
        !UtlValidateOrCreateFolder(folder) || !SysWriteFileAtomically(record.definitionFile, content)) {
        DebugLine(record.definitionFile + ": cannot be created");
        if (!folderWasThere) RemoveEmptyFolder(folder);
        return {};
    }
    const std::string written = record.definitionFile;
    VyIfaces::IComponent* component = AddComponent(std::move(record));
    if (component == nullptr) {
        SysDelete(written);
        if (!folderWasThere) RemoveEmptyFolder(folder);
        return {};
    }
    if (IDEVeyrunCallBack* engine = Engine()) engine->VYAddComponent(component);
    return {true, component};
}

Workspace::CreateResult Workspace::CreateUniqueCore(const VlnvCoreId& core, const std::string& designName)
{
    WorkspaceComponentRecord record;
    record.id = VyIfaces::ComponentID(designName, "work", "");
    record.type = VyIfaces::IComponent::Kiltora;
    // Made of the catalogue's core: the description bears its library.
    return Create(std::move(record), core.library.empty() ? std::string("kiltora") : core.library);
}

Workspace::CreateResult Workspace::CreateVeyrun(const std::string& name)
{
    WorkspaceComponentRecord record;
    record.id = VyIfaces::ComponentID(name, "work", "");
    record.type = VyIfaces::IComponent::Veyrun;
    return Create(std::move(record), "zandrel");
}

bool Workspace::RemoveComponent(const VyIfaces::ComponentID& id, bool fromDisk)
{
    const auto held = FindHeld(FindComponent(id));
    if (held == m_table.end()) return false;
    const WorkspaceComponentRecord record = held->component->GetRecord();
    VyIfaces::IComponent* component = held->component.get();
    // Written first: a component the file still lists stays in memory too,
    // or it would come back at the next open after the project let it go.
    if (!Save({component})) return false;
    Retire(held);
    if (fromDisk) {
        for (const std::string& file : {record.definitionFile, record.ixfFile})
            if (!file.empty() && UtlDoesFileExist(file)) SysDelete(file);
        // The component's own folder, when nothing else is left in it.
        if (!record.definitionFile.empty())
            RemoveEmptyFolder(record.definitionFile.substr(0, record.definitionFile.rfind('/')));
    }
    // Retired, it lives on for whoever is told.
    if (IDEVeyrunCallBack* engine = Engine()) engine->VYRemoveComponent(component);
    return true;
}

bool Workspace::SetCoreParameters(const VyIfaces::ComponentID& id,
                                  const std::vector<std::pair<std::string, std::string>>& parameters)
{
    const auto held = FindHeld(FindComponent(id));
    if (held == m_table.end()) return false;
    WorkspaceComponentRecord& record = held->component->m_record;
    const std::vector<std::pair<std::string, std::string>> before = record.parameters;
    for (const std::pair<std::string, std::string>& given : parameters) {
        if (given.first.empty()) {
            record.parameters = before;
            DebugLine("A parameter of " + id.ToString() + " has no name");
            return false;
        }
        const auto known = std::find_if(record.parameters.begin(), record.parameters.end(),
                                        [&](const auto& parameter) { return parameter.first == given.first; });
        if (known != record.parameters.end())
            known->second = given.second;
        else
            record.parameters.push_back(given);
    }
    if (!Save()) {
        record.parameters = before;
        return false;
    }
    // A core configured anew is made anew: what was made of it is not current.
    if (IDEVeyrunCallBack* engine = Engine())
        engine->VYModifyComponent(held->component.get(), true, IDEVeyrunCallBack::InvalidateComponent);
    return true;
}

bool Workspace::SetComponentLibraryAndPackage(VyIfaces::IComponent* component, const std::string& library,
                                              const std::string& package)
{
    const auto held = FindHeld(component);
    if (held == m_table.end()) return false;
    WorkspaceComponentRecord& record = held->component->m_record;
    const VyIfaces::ComponentID before = record.id;
    const VyIfaces::ComponentID after(before.name, library.empty() ? std::string("work") : library, package);
    const VyIfaces::IComponent* other = FindComponent(after);
    if (other != nullptr && other != component) return false;
    m_collection.erase(before);
    record.id = after;
    m_collection.emplace(after, component);
    if (Save()) return true;
    m_collection.erase(after);
    record.id = before;
    m_collection.emplace(before, component);
    return false;
}

// --- editors ---------------------------------------------------------------------------

bool Workspace::OpenVeyrun(const std::string& name)
{
    VyIfaces::IComponent* design = FindComponent(VyIfaces::ComponentID(name, "work", ""));
    const auto held = FindHeld(design);
    if (held == m_table.end() || design->GetModuleType() != VyIfaces::IComponent::Veyrun) return false;
    // A design whose file went (a copy of the project without it, a file
    // deleted by hand) has nothing to open: the editor would show an empty
    // design and save it over nothing.
    if (!UtlDoesFileExist(design->GetDefinitionFileName())) {
        DebugLine(design->GetDefinitionFileName() + ": the block design's file is missing");
        return false;
    }
    held->open = true;
    m_active = design;
    return true;
}

bool Workspace::ActivateComponent(const VyIfaces::ComponentID& id)
{
    const auto held = FindHeld(FindComponent(id));
    if (held != m_table.end() && held->open) {
        m_active = held->component.get();
        return true;
    }
    VyIfaces::IComponent* editor = FindOpenEditor(id);
    if (editor == nullptr) return false;
    m_active = editor;
    return true;
}

bool Workspace::IsComponentOpen(const VyIfaces::ComponentID& id) const
{
    const VyIfaces::IComponent* component = FindComponent(id);
    const bool heldOpen = std::any_of(m_table.begin(), m_table.end(), [&](const Held& held) {
        return component != nullptr && held.component.get() == component && held.open;
    });
    return heldOpen || FindOpenEditor(id) != nullptr;
}

VyIfaces::IComponent* Workspace::GetActiveVeyrun() const
{
    for (const Held& held : m_table)
        if (held.component.get() == m_active && held.open &&
            held.component->GetModuleType() == VyIfaces::IComponent::Veyrun)
            return held.component.get();
    for (const Editor& editor : m_editors)
        if (editor.component.get() == m_active && editor.open) return editor.component.get();
    return nullptr;
}

void Workspace::PrepareToCloseEditor(VyIfaces::IComponent*) {}

bool Workspace::CloseEditor(VyIfaces::IComponent* component)
{
    const auto held = FindHeld(component);
    if (held != m_table.end()) {
        held->open = false;
        if (m_active == component) m_active = nullptr;
        return true;
    }
    const auto editor = FindEditor(component);
    if (editor == m_editors.end()) return false;
    DiscardEditor(editor);
    return true;
}

// --- editor components -------------------------------------------------------------------

Workspace::~Workspace()
{
    while (!m_editors.empty()) DiscardEditor(m_editors.end() - 1);
}

VyIfaces::IComponent* Workspace::AdoptEditorComponent(std::unique_ptr<VyIfaces::IComponent> component)
{
    if (!component) return nullptr;
    VyIfaces::IComponent* adopted = component.get();
    m_editors.push_back({std::move(component), false});
    m_editorView.push_back(adopted);
    return adopted;
}

bool Workspace::OpenEditor(VyIfaces::IComponent* component)
{
    const auto editor = FindEditor(component);
    if (editor == m_editors.end()) return false;
    editor->open = true;
    m_active = component;
    return true;
}

std::vector<Workspace::Editor>::iterator Workspace::FindEditor(const VyIfaces::IComponent* component)
{
    return std::find_if(m_editors.begin(), m_editors.end(), [&](const Editor& editor) {
        return component != nullptr && editor.component.get() == component;
    });
}

VyIfaces::IComponent* Workspace::FindOpenEditor(const VyIfaces::ComponentID& id) const
{
    for (const Editor& editor : m_editors)
        if (editor.open && editor.component->GetComponentID() == id) return editor.component.get();
    return nullptr;
}

void Workspace::DiscardEditor(std::vector<Editor>::iterator editor)
{
    std::unique_ptr<VyIfaces::IComponent> component = std::move(editor->component);
    m_editors.erase(editor);
    std::erase(m_editorView, component.get());
    if (m_active == component.get()) m_active = nullptr;
    if (VyIfaces::IComponent::DeleteHelper* helper = component->GetDeleteHelper())
        helper->DoDelete(std::move(component));
}

// --- the project's files -----------------------------------------------------------------

bool Workspace::CanRemoveFile(const std::string& fullName, bool) const
{
    return std::none_of(m_table.begin(), m_table.end(), [&](const Held& held) {
        return held.open && UtlIsSameFileName(held.component->GetDefinitionFileName(), fullName);
    });
}

std::vector<const VyIfaces::IComponent*> Workspace::DefinedBy(const std::string& fullName) const
{
    std::vector<const VyIfaces::IComponent*> found;
    for (const Held& held : m_table)
        if (UtlIsSameFileName(held.component->GetDefinitionFileName(), fullName)) found.push_back(held.component.get());
    return found;
}

void Workspace::Retire(const std::vector<const VyIfaces::IComponent*>& leaving)
{
    for (const VyIfaces::IComponent* component : leaving) {
        const auto held = FindHeld(component);
        if (held != m_table.end()) Retire(held);
    }
}

bool Workspace::FileRemoved(const std::string& fullName, bool fromDisk)
{
    if (!fromDisk) return true;
    const std::vector<const VyIfaces::IComponent*> leaving = DefinedBy(fullName);
    if (leaving.empty()) return true;
    // Kept as the file keeps them when it cannot be written.
    if (!Save(leaving)) return false;
    std::vector<VyIfaces::IComponent*> told;
    for (const VyIfaces::IComponent* component : leaving)
        if (const auto held = FindHeld(component); held != m_table.end()) told.push_back(held->component.get());
    Retire(leaving);
    if (IDEVeyrunCallBack* engine = Engine())
        for (VyIfaces::IComponent* component : told) engine->VYRemoveComponent(component);
    return true;
}

bool Workspace::RenameFiles(const std::string& oldName, const std::string& newName, bool ixfToo,
                            const std::function<bool(const WorkspaceComponentRecord&)>& movable)
{
    std::vector<std::pair<WorkspaceComponentRecord*, WorkspaceComponentRecord>> before;
    for (Held& held : m_table) {
        WorkspaceComponentRecord& record = held.component->m_record;
        const bool definition = UtlIsSameFileName(record.definitionFile, oldName) && (!movable || movable(record));
        const bool ixf = ixfToo && UtlIsSameFileName(record.ixfFile, oldName);
        if (!definition && !ixf) continue;
        before.emplace_back(&record, record);
        if (definition) record.definitionFile = newName;
        if (ixf) record.ixfFile = newName;
    }
    if (before.empty() || Save()) return true;
    for (auto& [record, was] : before) *record = std::move(was);
    return false;
}

bool Workspace::FileNameChanged(const std::string& oldName, const std::string& newName)
{
    return RenameFiles(oldName, newName, true, {});
}

bool Workspace::DefinitionMoved(const std::string& oldFile, const std::string& newFile)
{
    // Only a unit of HDL or schematic sources changes its defining file; a
    // described core is its description, and a file that defines another
    // component would then define two.
    if (!DefinedBy(newFile).empty()) return true;
    return RenameFiles(oldFile, newFile, false, [](const WorkspaceComponentRecord& record) {
        return record.type == VyIfaces::IComponent::HDL || record.type == VyIfaces::IComponent::Schematic;
    });
}

bool Workspace::FollowMovedFolder(const std::string& from, const std::string& to)
{
    const auto moved = [&](const std::string& name) {
        const std::string prefix = from + '/';
        if (from.empty() || to.empty() || name.size() <= prefix.size() ||
            !UtlIsSameFileName(name.substr(0, prefix.size()), prefix))
            return name;
        const std::string there = to + '/' + name.substr(prefix.size());
        return UtlDoesDiskObjectExist(there) ? there : name;
    };
    std::vector<std::pair<WorkspaceComponentRecord*, WorkspaceComponentRecord>> before;
    for (Held& held : m_table) {
        WorkspaceComponentRecord& record = held.component->m_record;
        WorkspaceComponentRecord now = record;
        now.definitionFile = moved(now.definitionFile);
        now.ixfFile = moved(now.ixfFile);
        for (std::string& file : now.designFiles) file = moved(file);
        if (now.definitionFile == record.definitionFile && now.ixfFile == record.ixfFile &&
            now.designFiles == record.designFiles)
            continue;
        before.emplace_back(&record, record);
        record = std::move(now);
    }
    // Kept in memory even when the file cannot take it: these are the
    // project's own files the names stand for.
    return before.empty() || Save();
}

void Workspace::FileChanged(const std::string& fullName, const std::string&)
{
    if (UtlIsSameFileName(fullName, m_fileName)) {
        Update();
        return;
    }
    IDEVeyrunCallBack* engine = Engine();
    if (engine == nullptr) return;
    std::vector<VyIfaces::IComponent*> changed;
    for (const Held& held : m_table)
        if (UtlIsSameFileName(held.component->GetDefinitionFileName(), fullName))
            changed.push_back(held.component.get());
    // Told once the walk is over: the environment may change the workspace.
    for (VyIfaces::IComponent* component : changed)
        engine->VYModifyComponent(component, true, IDEVeyrunCallBack::InvalidateComponent);
}

void Workspace::Update()
{
    std::string text;
    std::vector<WorkspaceComponentRecord> records;
    try {
        if (!SysReadFile(m_fileName, text)) throw std::runtime_error(m_fileName + ": cannot be read");
        records = KtwkspaceParseWorkspace(text, m_fileName).components;
    } catch (const std::exception& error) {
        DebugLine(error.what());
        return;
    }
    const std::string folder = GetFolder();
    // What changed, told once the workspace holds what the file says.
    std::vector<VyIfaces::IComponent*> left;
    struct Modified {
        VyIfaces::IComponent* component;
        bool filesChanged;
        bool madeOtherwise;
    };
    std::vector<Modified> modified;
    for (auto held = m_table.begin(); held != m_table.end();) {
        WorkspaceComponentRecord& own = held->component->m_record;
        const auto listed = std::find_if(records.begin(), records.end(),
                                         [&](const WorkspaceComponentRecord& record) { return record.id == own.id; });
        if (listed == records.end()) {
            left.push_back(held->component.get());
            const auto at = held - m_table.begin();
            Retire(held);
            held = m_table.begin() + at;
            continue;
        }
        // The object stays, so that whoever holds it sees what the file says now.
        WorkspaceComponentRecord now = *listed;
        now.id = own.id;
        ResolveFiles(now, folder);
        const bool madeOtherwise = !SameMaking(own, now);
        if (madeOtherwise || own.state != now.state || own.stateBeforeMissing != now.stateBeforeMissing)
            modified.push_back({held->component.get(), !SameFiles(own, now), madeOtherwise});
        own = std::move(now);
        ++held;
    }
    const std::size_t kept = m_table.size();
    AdoptRecords(records);
    IDEVeyrunCallBack* engine = Engine();
    if (engine == nullptr) return;
    std::vector<VyIfaces::IComponent*> came;
    for (std::size_t at = kept; at < m_table.size(); ++at) came.push_back(m_table[at].component.get());
    for (VyIfaces::IComponent* component : left) engine->VYRemoveComponent(component);
    // Only a new state of what was made of it invalidates nothing.
    for (const Modified& change : modified)
        engine->VYModifyComponent(change.component, change.filesChanged,
                                  change.madeOtherwise ? IDEVeyrunCallBack::InvalidateComponent
                                                       : IDEVeyrunCallBack::InvalidateNothing);
    for (VyIfaces::IComponent* component : came) engine->VYAddComponent(component);
}

}  // namespace Ktwkspace

namespace Ktwkspace {

namespace {

// Sub-folders deeper than this are not looked into: no core library nests
// its cores that far, and a loop of links cannot lead the walk astray.
constexpr int kMaxImportDepth = 16;

bool IsCoreDescriptionName(const std::string& name)
{
    return name.size() > 4 && UtlIsSameNoCase(std::string_view(name).substr(name.size() - 4), ".cxf");
}

}  // namespace

Workspace::CreateResult Workspace::CreateCore(const std::string& library, const std::string& name,
                                              const std::string& version, const std::string& designName, bool unique)
{
    const CatalogCore* core = m_catalog ? m_catalog->FindCore(library, name, version) : nullptr;
    if (core == nullptr) {
        DebugLine("The catalogue has no core " + library + ":" + name + ":" + version);
        return {};
    }
    std::string chosen = designName;
    for (int suffix = 1; unique && FindComponent(VyIfaces::ComponentID(chosen, "work", "")) != nullptr; ++suffix)
        chosen = designName + '_' + std::to_string(suffix);
    return CreateUniqueCore(VlnvCoreId(core->vendor, core->library, core->name, core->version), chosen);
}

WorkspaceComponentRecord KtwkspaceRecordOfCore(const SpiritCoreDescription& description, const std::string& fileName)
{
    WorkspaceComponentRecord record;
    if (!description.GetCoreType().empty()) VyIfaces::FindModuleType(description.GetCoreType(), record.type);
    record.state = 0;
    const std::string& library = description.GetHDLLibrary();
    record.id = VyIfaces::ComponentID(description.GetCore().name, library.empty() ? "work" : library, "");
    record.definitionFile = fileName;
    if (!description.GetDevices().empty()) {
        const SpiritDevice& device = description.GetDevices().front();
        record.family = device.family;
        record.die = device.die;
        record.package = device.package;
    }
    record.instances = description.GetInstances();
    return record;
}

bool Workspace::SafeimportCore(const std::string& fileName, CatalogIf*, std::string& importedName, bool always)
{
    importedName.clear();
    const SpiritCoreDescription description(fileName);
    if (!description.IsRead() || description.GetCore().name.empty()) {
        DebugLine(fileName + ": not a core description" +
                  (description.getReadError().empty() ? std::string() : ": " + description.getReadError()));
        return false;
    }
    WorkspaceComponentRecord record = KtwkspaceRecordOfCore(description, fileName);
    VyIfaces::IComponent::VyModuleType known{};
    if (!description.GetCoreType().empty() && !VyIfaces::FindModuleType(description.GetCoreType(), known))
        DebugLine(fileName + ": unknown core type " + description.GetCoreType() + ", taken for a Kiltora core");

    // A description names one core: the components of other identities it
    // defined before (it named another core then) go with this import.
    std::vector<const VyIfaces::IComponent*> renamed = DefinedBy(fileName);
    VyIfaces::IComponent* same = FindComponent(record.id);
    std::erase(renamed, same);
    const auto held = FindHeld(same);
    if (held == m_table.end()) {
        auto component = std::make_unique<WorkspaceComponent>(std::move(record));
        if (component->GetComponentID().name.empty()) return false;
        component->m_owner = this;
        VyIfaces::IComponent* adding = component.get();
        m_collection.emplace(adding->GetComponentID(), adding);
        m_table.push_back({std::move(component), false});
        if (!Save(renamed)) {
            Retire(FindHeld(adding));
            return false;
        }
        Retire(renamed);
        importedName = fileName;
        return true;
    }
    WorkspaceComponentRecord& own = held->component->m_record;
    if (!always && !UtlIsSameFileName(own.definitionFile, fileName)) {
        DebugLine(fileName + ": the component " + own.id.ToString() + " is defined by " + own.definitionFile);
        return false;
    }
    // The identity keeps its letters: it is the collection's key.
    record.id = own.id;
    const WorkspaceComponentRecord before = own;
    own = std::move(record);
    if (!Save(renamed)) {
        own = before;
        return false;
    }
    Retire(renamed);
    importedName = fileName;
    return true;
}

void Workspace::importDirCores(const std::string& folder, CatalogIf* catalog, bool always)
{
    std::string failed;
    for (const std::string& file : SysFindFilesBelow(folder, kMaxImportDepth, IsCoreDescriptionName)) {
        std::string imported;
        if (!SafeimportCore(file, catalog, imported, always)) failed += (failed.empty() ? "" : ", ") + file;
    }
    if (!failed.empty()) throw WSImport_except("cores not imported: " + failed);
}

int Workspace::auditComponents(CatalogIf*)
{
    int marked = 0;
    bool changed = false;
    for (Held& held : m_table) {
        WorkspaceComponentRecord& record = held.component->m_record;
        if (record.definitionFile.empty()) continue;
        const bool there = UtlDoesFileExist(record.definitionFile);
        if (record.state == 2 && record.stateBeforeMissing && there) {
            // Only the audit's own mark goes: a component out of date for
            // another reason stays so.
            record.state = *record.stateBeforeMissing;
            record.stateBeforeMissing.reset();
            changed = true;
        } else if (record.state != 2 && !there) {
            record.stateBeforeMissing = std::exchange(record.state, 2);
            changed = true;
            ++marked;
        }
    }
    if (changed) Save();
    return marked;
}

bool Workspace::OpenComponent(const VyIfaces::ComponentID& id)
{
    const auto held = FindHeld(FindComponent(id));
    if (held == m_table.end()) return false;
    held->open = true;
    m_active = held->component.get();
    return true;
}

// --- the project's libraries and packages ----------------------------------------------

void Workspace::LibraryAdded(const std::string& library)
{
    if (std::none_of(m_libraries.begin(), m_libraries.end(),
                     [&](const std::string& known) { return UtlIsSameNoCase(known, library); }))
        m_libraries.push_back(library);
}

void Workspace::LibraryRemoved(const std::string& library)
{
    std::erase_if(m_libraries, [&](const std::string& known) { return UtlIsSameNoCase(known, library); });
    std::erase_if(m_packages, [&](const DeclaredPackage& known) { return UtlIsSameNoCase(known.library, library); });
}

void Workspace::FileAboutToBeParsed(const std::string& fullName)
{
    std::erase_if(m_packages,
                  [&](const DeclaredPackage& known) { return UtlIsSameFileName(known.fileName, fullName); });
}

void Workspace::PackageDeclared(const std::string& package, const std::string& library, const std::string& fullName)
{
    const auto known = std::find_if(m_packages.begin(), m_packages.end(), [&](const DeclaredPackage& declared) {
        return UtlIsSameNoCase(declared.name, package) && UtlIsSameNoCase(declared.library, library);
    });
    if (known != m_packages.end())
        known->fileName = fullName;
    else
        m_packages.push_back({package, library, fullName});
}

}  // namespace Ktwkspace
