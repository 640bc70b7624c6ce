// The components of the core workspace: the collection, the table of
// designs with their editors, creation and removal, and what the project
// tells the workspace about its files.
#include "ktwkspace/Workspace.h"

#include "KtwkspaceDebug.h"

#include <foundation/Sys.h>
#include <ulv/VlnvCoreId.h>

#include <algorithm>

namespace Ktwkspace {

namespace {

constexpr const char* kComponentFileHeader = "KILTORA_COMPONENT 1";

// A name that can stand for a component and its folder.
bool IsComponentName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\\t\r\n") == std::string::npos;
}

const char* KindWord(VyIfaces::IComponent::VyModuleType type)
{
    return type == VyIfaces::IComponent::Veyrun ? "Veyrun" : "Kiltora";
}

// A file name as the workspace file keeps it: relative to the folder when
// below it.
std::string Stored(const std::string& path, const std::string& folder)
{
    const std::string prefix = folder + '/';
    return path.rfind(prefix, 0) == 0 ? path.substr(prefix.size()) : path;
}

std::string Resolved(const std::string& path, const std::string& folder)
{
    if (path.empty() || path.front() == '/') return path;
    return folder + '/' + path;
}

}  // namespace

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

bool Workspace::Save() const
{
    WorkspaceSettings settings = m_fileSettings;
    const std::string folder = GetFolder();
    for (const Held& held : m_table) {
        WorkspaceComponentRecord record = held.component->GetRecord();
        record.definitionFile = Stored(record.definitionFile, folder);
        record.ixfFile = Stored(record.ixfFile, folder);
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
        record.definitionFile = Resolved(record.definitionFile, folder);
        record.ixfFile = Resolved(record.ixfFile, folder);
        auto component = std::make_unique<WorkspaceComponent>(std::move(record));
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
    VyIfaces::IComponent* added = component.get();
    m_collection.emplace(added->GetComponentID(), added);
    m_table.push_back({std::move(component), false});
    if (Save()) return added;
    Retire(FindHeld(added));
    return nullptr;
}

Workspace::CreateResult Workspace::Create(WorkspaceComponentRecord record, const std::string& content)
{
    if (!IsComponentName(record.id.name) || FindComponent(record.id) != nullptr) return {};
    const std::string folder = GetFolder() + '/' + record.id.name;
    record.definitionFile = folder + '/' + record.id.name + ".cxf";
    record.ixfFile = folder + '/' + record.id.name + ".ixf";
    record.state = 1;
    record.family = m_settings.family;
    record.die = m_settings.die;
    record.package = m_settings.package;
    // A file already there is somebody's: never written over.
    if (UtlDoesDiskObjectExist(record.definitionFile) || !UtlValidateOrCreateFolder(folder) ||
        !SysWriteFileAtomically(record.definitionFile, content)) {
        DebugLine(record.definitionFile + ": cannot be created");
        return {};
    }
    const std::string written = record.definitionFile;
    VyIfaces::IComponent* component = AddComponent(std::move(record));
    if (component == nullptr) SysDelete(written);
    return {component != nullptr, component};
}

Workspace::CreateResult Workspace::CreateUniqueCore(const VlnvCoreId& core, const std::string& designName)
{
    WorkspaceComponentRecord record;
    record.id = VyIfaces::ComponentID(designName, "work", "");
    record.type = VyIfaces::IComponent::Kiltora;
    const std::string content = std::string(kComponentFileHeader) + "\nName=" + designName +
                                "\nKind=" + KindWord(record.type) + "\nCore=" + core.ToString() + "\n";
    return Create(std::move(record), content);
}

Workspace::CreateResult Workspace::CreateVeyrun(const std::string& name)
{
    WorkspaceComponentRecord record;
    record.id = VyIfaces::ComponentID(name, "work", "");
    record.type = VyIfaces::IComponent::Veyrun;
    const std::string content =
        std::string(kComponentFileHeader) + "\nName=" + name + "\nKind=" + KindWord(record.type) + "\n";
    return Create(std::move(record), content);
}

bool Workspace::RemoveComponent(const VyIfaces::ComponentID& id, bool fromDisk)
{
    const auto held = FindHeld(FindComponent(id));
    if (held == m_table.end()) return false;
    const WorkspaceComponentRecord record = held->component->GetRecord();
    Retire(held);
    if (!Save()) return false;
    if (fromDisk) {
        for (const std::string& file : {record.definitionFile, record.ixfFile})
            if (!file.empty() && UtlDoesFileExist(file)) SysDelete(file);
    }
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
    held->open = true;
    m_active = design;
    return true;
}

bool Workspace::ActivateComponent(const VyIfaces::ComponentID& id)
{
    const auto held = FindHeld(FindComponent(id));
    if (held == m_table.end() || !held->open) return false;
    m_active = held->component.get();
    return true;
}

bool Workspace::IsComponentOpen(const VyIfaces::ComponentID& id) const
{
    const VyIfaces::IComponent* component = FindComponent(id);
    return std::any_of(m_table.begin(), m_table.end(), [&](const Held& held) {
        return component != nullptr && held.component.get() == component && held.open;
    });
}

VyIfaces::IComponent* Workspace::GetActiveVeyrun() const
{
    for (const Held& held : m_table)
        if (held.component.get() == m_active && held.open &&
            held.component->GetModuleType() == VyIfaces::IComponent::Veyrun)
            return held.component.get();
    return nullptr;
}

void Workspace::PrepareToCloseEditor(VyIfaces::IComponent*) {}

bool Workspace::CloseEditor(VyIfaces::IComponent* component)
{
    const auto held = FindHeld(component);
    if (held == m_table.end()) return false;
    held->open = false;
    if (m_active == component) m_active = nullptr;
    return true;
}

// --- the project's files -----------------------------------------------------------------

bool Workspace::CanRemoveFile(const std::string& fullName, bool) const
{
    return std::none_of(m_table.begin(), m_table.end(), [&](const Held& held) {
        return held.open && UtlIsSameFileName(held.component->GetDefinitionFileName(), fullName);
    });
}

void Workspace::FileRemoved(const std::string& fullName, bool)
{
    bool removed = false;
    for (auto held = m_table.begin(); held != m_table.end();) {
        if (UtlIsSameFileName(held->component->GetDefinitionFileName(), fullName)) {
            const auto at = held - m_table.begin();
            Retire(held);
            held = m_table.begin() + at;
            removed = true;
        } else {
            ++held;
        }
    }
    if (removed) Save();
}

void Workspace::RenameFiles(const std::string& oldName, const std::string& newName, bool ixfToo)
{
    bool renamed = false;
    for (Held& held : m_table) {
        WorkspaceComponentRecord& record = held.component->m_record;
        if (UtlIsSameFileName(record.definitionFile, oldName)) {
            record.definitionFile = newName;
            renamed = true;
        }
        if (ixfToo && UtlIsSameFileName(record.ixfFile, oldName)) {
            record.ixfFile = newName;
            renamed = true;
        }
    }
    if (renamed) Save();
}

void Workspace::FileNameChanged(const std::string& oldName, const std::string& newName)
{
    RenameFiles(oldName, newName, true);
}

void Workspace::DefinitionMoved(const std::string& oldFile, const std::string& newFile)
{
    RenameFiles(oldFile, newFile, false);
}

void Workspace::FileChanged(const std::string& fullName, const std::string&)
{
    if (UtlIsSameFileName(fullName, m_fileName)) Update();
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
    for (auto held = m_table.begin(); held != m_table.end();) {
        WorkspaceComponentRecord& own = held->component->m_record;
        const auto listed = std::find_if(records.begin(), records.end(),
                                         [&](const WorkspaceComponentRecord& record) { return record.id == own.id; });
        if (listed == records.end()) {
            const auto at = held - m_table.begin();
            Retire(held);
            held = m_table.begin() + at;
            continue;
        }
        // The object stays, so that whoever holds it sees what the file says now.
        const VyIfaces::ComponentID id = own.id;
        own = *listed;
        own.id = id;
        own.definitionFile = Resolved(own.definitionFile, folder);
        own.ixfFile = Resolved(own.ixfFile, folder);
        ++held;
    }
    AdoptRecords(records);
}

}  // namespace Ktwkspace
