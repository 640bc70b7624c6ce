#include "src/imodel/design/imodelDesignManagerImpl.h"

#include "ievent/IeventClasses.h"
#include "ifile/IfileFunctions.h"
#include "imodel/design/ImodelDestroyLib.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "src/imodel/design/ImodelModuleNotify.h"
#include "src/imodel/design/imodelRehome.h"
#include "src/imodel/design/imodelTopUnits.h"

#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <atomic>
#include <unordered_set>

namespace {

constexpr const char* kWork = "work";

}  // namespace

imodelDesignManagerImpl::~imodelDesignManagerImpl()
{
    ResetProjectFileStream(false);
    ImodelDestroyLibs(m_libraries);
}

// --- libraries --------------------------------------------------------------------------------

imodelDesignManagerImpl::Libraries::const_iterator imodelDesignManagerImpl::FindLibrary(const std::string& name) const
{
    return std::find_if(m_libraries.begin(), m_libraries.end(), [&name](const LibraryPtr& library) {
        return library && ImodelIsSameStrNoCase(library->GetName(), name);
    });
}

ImodelDesignManager::LibraryPtr imodelDesignManagerImpl::FindLibraryByName(std::string name) const
{
    const auto found = FindLibrary(name);
    return found == m_libraries.end() ? LibraryPtr() : *found;
}

void imodelDesignManagerImpl::Announce(const LibraryPtr& library, bool notify) const
{
    if (notify) ImodelNotifyEvent(boost::make_shared<IeventLibraryAdded>(library->GetName()));
}

ImodelDesignManager::LibraryPtr imodelDesignManagerImpl::AddLibrary(LibraryPtr library, bool notify)
{
    // The name goes into the project file on a line of its own.
    if (!library || !IfileCheckStorableName(library->GetName(), "library")) return LibraryPtr();
    if (LibraryPtr existing = FindLibraryByName(library->GetName())) {
        existing->SetLocation(library->GetLocation());
        existing->SetPath(library->GetPath());
        return existing;
    }
    m_libraries.push_back(library);
    library->MakeModuleList();
    Announce(library, notify);
    return library;
}

ImodelDesignManager::LibraryPtr imodelDesignManagerImpl::AddLibrary(const std::string& name, bool notify)
{
    if (LibraryPtr existing = FindLibraryByName(name)) return existing;
    return AddLibrary(boost::make_shared<Library>(name), notify);
}

void imodelDesignManagerImpl::EraseLibrary(const std::string& name)
{
    const auto found = FindLibrary(name);
    if (found != m_libraries.end()) m_libraries.erase(found);
}

void imodelDesignManagerImpl::RenameLibrary(const std::string& oldName, const std::string& newName)
{
    if (ImodelIsSameStrNoCase(oldName, newName)) {
        if (LibraryPtr library = FindLibraryByName(oldName))
            RenameInPlace(library, newName);
        else
            AddLibrary(newName, true);
        return;
    }
    const bool existed = FindLibraryByName(newName) != nullptr;
    const LibraryPtr renamed = AddLibrary(newName, true);
    const LibraryPtr old = FindLibraryByName(oldName);
    if (!renamed || !old) return;
    // A library made for the new name keeps what the user set on the old
    // one; a path that was only the old name becomes the new name.
    if (!existed) {
        renamed->SetLocation(old->GetLocation());
        renamed->SetCompileOption(old->GetCompileOption());
        if (old->GetPath() != old->GetName()) renamed->SetPath(old->GetPath());
    }
    ImodelNotifyEvent(boost::make_shared<IeventLibraryRemoved>(old->GetName()));
    renamed->SetModuleList(old->ReleaseModuleList());
    MoveUnits(old, renamed);
    EraseLibrary(oldName);
    // The list came with the units; units that gave way are gone from it.
    UpdateTopModules(renamed);
}

void imodelDesignManagerImpl::RenameInPlace(const LibraryPtr& library, const std::string& newName)
{
    const std::string oldName = library->GetName();
    if (oldName == newName || !IfileCheckStorableName(newName, "library")) return;
    library->SetName(newName);
    if (library->GetPath() == oldName) library->SetPath(newName);
    for (ImodelModule* unit : *library->GetModules()) {
        if (unit != nullptr && unit->GetDefinedInLibrary() == oldName) unit->SetDefinedInLibrary(newName);
    }
    ImodelNotifyEvent(boost::make_shared<IeventLibraryModified>(oldName, newName));
}

namespace {

// Puts a unit into a library's set. A unit of the same name without file
// (a placeholder) gives way to a defined unit, its users taking the defined
// one; a moved placeholder, or a second unit of the same name and file,
// gives way to the unit already there, its users taking that one. Units of
// one name defined by different files both stand. Returns the unit when it
// entered the set.
ImodelModule* PlaceUnit(ImodelModule::UnitSet& units, ImodelModule::Owned unit)
{
    for (;;) {
        const auto [standing, inserted] = units.Insert(std::move(unit));
        if (inserted) return standing;
        if (unit->GetUnitOrder().hasFile && !standing->GetUnitOrder().hasFile) {
            ImodelModule::Owned placeholder = units.Extract(standing);
            imodelRehome(placeholder.get(), unit.get());
            ImodelModule::Delete(std::move(placeholder), false);
            continue;
        }
        imodelRehome(unit.get(), standing);
        ImodelModule::Delete(std::move(unit), false);
        return nullptr;
    }
}

}  // namespace

void imodelDesignManagerImpl::MoveUnits(const LibraryPtr& from, const LibraryPtr& to)
{
    ImodelModule::UnitSet& units = *to->GetModules();
    std::unordered_set<const ImodelModule*> moved;
    std::vector<std::string> duplicates;
    for (ImodelModule::Owned& unit : from->GetModules()->TakeAll()) {
        if (ImodelIsSameStrNoCase(unit->GetDefinedInLibrary(), from->GetName()))
            unit->SetDefinedInLibrary(to->GetName());
        const ImodelModule* placed = PlaceUnit(units, std::move(unit));
        if (placed == nullptr) continue;
        moved.insert(placed);
        // A second definition of a name the library had already: the user
        // must choose one, as when a file defines a unit defined elsewhere.
        const auto [first, last] = units.equal_range(ZorpaUnitName{placed->GetUnitOrder().name});
        const bool meetsOther = std::any_of(first, last, [&moved](const ImodelModule* other) {
            return !moved.contains(other) && other->GetUnitOrder().hasFile;
        });
        if (meetsOther && std::find(duplicates.begin(), duplicates.end(), placed->GetName()) == duplicates.end())
            duplicates.push_back(placed->GetName());
    }
    for (const std::string& name : duplicates) ImodelDisplayDUPLICATE_MODULE_MSG(name.c_str());
}

void imodelDesignManagerImpl::UpdateTopModules(LibraryPtr library)
{
    if (library) imodelTopUnits::MarkStale(*library);
}

std::deque<ImodelModule*>* imodelDesignManagerImpl::GetTopModules(const LibraryPtr& library)
{
    return library ? imodelTopUnits::Current(*library) : nullptr;
}

std::deque<ImodelModule*>* imodelDesignManagerImpl::GetModuleTree()
{
    // Asked of "work" each time: a pointer kept from Reset would dangle once
    // "work" is erased or renamed.
    const LibraryPtr work = FindLibraryByName(kWork);
    return GetTopModules(work);
}

void imodelDesignManagerImpl::Reset()
{
    RemoveAll();
    AddLibrary(kWork, true);
}

void imodelDesignManagerImpl::RemoveAll()
{
    IeventBatch removed;
    for (const LibraryPtr& library : m_libraries) {
        if (library) removed.push_back(boost::make_shared<IeventLibraryRemoved>(library->GetName()));
    }
    if (Imodel* model = ImodelAliveModel()) model->SendEvents(removed, true);
    ImodelNotifyEvent(boost::make_shared<IeventModulePreRemoveAll>());
    ImodelDestroyLibs(m_libraries);
    ImodelNotifyEvent(boost::make_shared<IeventModulePostRemoveAll>());
}

// --- the root ---------------------------------------------------------------------------------

ImodelModule* imodelDesignManagerImpl::GetRootModule()
{
    // Looked up in this manager's own libraries (the wizard's model has its own).
    const LibraryPtr library = FindLibraryByName(m_rootId.library);
    return library ? ImodelFindModuleInLib(library, m_rootId.name, zorpaMODULE_UNKNOWN, "") : nullptr;
}

bool imodelDesignManagerImpl::IsRootStructural()
{
    const ImodelModule* root = GetRootModule();
    return root == nullptr || root->IsStructural();
}

bool imodelDesignManagerImpl::IsRootSchematic()
{
    const ImodelModule* root = GetRootModule();
    return root != nullptr && root->IsSchematic();
}

bool imodelDesignManagerImpl::RootHasSubBlocks()
{
    const ImodelModule* root = GetRootModule();
    return root != nullptr && root->HasSubBlocks();
}

// --- the project ------------------------------------------------------------------------------

ImodelFileName imodelDesignManagerImpl::GetProjectFileName() const
{
    ImodelFileName fileName = m_projectFolder;
    fileName += SysGetDirChar();
    fileName += m_projectName.GetString();
    fileName += ".prj";
    return fileName;
}

std::uint64_t imodelDesignManagerImpl::NewFolderStamp()
{
    static std::atomic<std::uint64_t> last{0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

void imodelDesignManagerImpl::SetProjectFolder(const ImodelFileName& folder)
{
    m_projectFolder = folder;
    ImodelSetValidSeparator(m_projectFolder, true);
    m_projectFolderStamp = NewFolderStamp();
}

void imodelDesignManagerImpl::SetDefaultVHDL(bool vhdl)
{
    if (vhdl == m_defaultVHDL) return;
    m_defaultVHDL = vhdl;
    SetNeedSave(true);
}

void imodelDesignManagerImpl::ClearProject()
{
    m_projectName.clear();
    m_projectFolder.clear();
    m_projectFolderStamp = NewFolderStamp();
    m_rootId = VyIfaces::ComponentID();
    m_rootThatWent = VyIfaces::ComponentID();
    Reset();
    ResetProjectFileStream(false);
    m_projectOpen = false;
    SetNeedSave(false);
}

void imodelDesignManagerImpl::ResetProjectFileStream(bool makeNew)
{
    if (m_projectFileStream && m_projectFileStream->is_open()) m_projectFileStream->close();
    m_projectFileStream.reset();
    if (!makeNew) return;
    m_projectFileStream = std::make_unique<std::fstream>();
    // The stream holds the project file open while the project is open;
    // the project is read and written whole by other means, never through
    // it, so it keeps no buffer (8 KB, as much as a small project's units).
    m_projectFileStream->rdbuf()->pubsetbuf(nullptr, 0);
}

void imodelDesignManagerImpl::SetNeedSave(bool needSave)
{
    if (needSave == m_needSave) return;
    m_needSave = needSave;
    ImodelNotifyEvent(boost::make_shared<IeventNeedSaveFlagChanged>());
}
