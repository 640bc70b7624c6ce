// The design manager: what identifies the open project (its folder and
// name, hence the project file name), the design's HDL libraries of units
// with the root unit, the project's default HDL, the need-save flag and the
// stream of the project file. The project model owns the one design manager.
//
// Library names compare without regard to case. Changes of libraries and of
// the need-save flag are announced as change events.
#pragma once

#include "imodel/names/ImodelFileName.h"

#include <vy/ComponentID.h>
#include <zorpa/ZorpaLibrary.h>

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <deque>
#include <fstream>
#include <string>
#include <utility>

class ImodelModule;

class ImodelDesignManager {
public:
    using Library = ZorpaLibrary<ImodelModule*>;
    using LibraryPtr = boost::shared_ptr<Library>;
    using Libraries = std::deque<LibraryPtr>;
    using LibraryRange = std::pair<Libraries::const_iterator, Libraries::const_iterator>;

    virtual ~ImodelDesignManager() = default;

    // The unit the root id names; null when none.
    virtual ImodelModule* GetRootModule() = 0;
    // The top-level units of "work", as kept by Reset; null before.
    virtual std::deque<ImodelModule*>* GetModuleTree() = 0;
    // Brings the library's top-level list up to date: its packages first,
    // then the units no unit of the same library instantiates. The list is
    // made when next read through GetTopModules or GetModuleTree. Nothing
    // for null.
    virtual void UpdateTopModules(LibraryPtr library) = 0;
    // The library's top-level list as of its last update; null for a null
    // library or one without a list. Read the list through here, not from
    // the library.
    virtual std::deque<ImodelModule*>* GetTopModules(const LibraryPtr& library) = 0;
    // Removes everything, then makes "work" again (announced).
    virtual void Reset() = 0;
    // Destroys every library and unit, announcing it to the views.
    virtual void RemoveAll() = 0;
    // Appends the library (giving it a top-level list) and, with `notify`,
    // announces it. When a library of that name exists, that one takes the
    // given library's location and path and is returned, unannounced.
    // Empty for a null library or a name that cannot be stored (told to the
    // user).
    virtual LibraryPtr AddLibrary(LibraryPtr library, bool notify) = 0;
    // The library of that name, made (and announced with `notify`) when missing.
    virtual LibraryPtr AddLibrary(const std::string& name, bool notify) = 0;
    // Drops the first library of that name from the list, without events
    // and without touching its units.
    virtual void EraseLibrary(const std::string& name) = 0;
    // Makes sure the new library exists (announced when made), announces
    // the old library's removal, moves its units (which take the new name
    // as their library) and top-level list into the new one and drops it.
    // Without the old library only the new one is made. A change of letter
    // case only renames the library in place (IeventLibraryModified).
    virtual void RenameLibrary(const std::string& oldName, const std::string& newName) = 0;
    virtual LibraryRange GetLibraries() const = 0;
    virtual LibraryPtr FindLibraryByName(std::string name) const = 0;

    virtual VyIfaces::ComponentID& GetRootId() = 0;
    // No event.
    virtual void SetRootId(const VyIfaces::ComponentID& id) = 0;
    // The root whose unit went when its file changed on disk, while another
    // stands in for it; the default identifier when none. The file watcher
    // makes it the root again when its unit comes back; a root the user
    // chooses, or the project's close, forgets it.
    virtual const VyIfaces::ComponentID& GetRootThatWent() const = 0;
    virtual void SetRootThatWent(const VyIfaces::ComponentID& id) = 0;

    virtual const ImodelFileName& GetProjectFolder() const = 0;
    // A number that changes whenever the project folder is set or cleared,
    // never the same for two settings in the process (never 0): a full name
    // joined under the folder holds while the number stays.
    virtual std::uint64_t GetProjectFolderStamp() const = 0;
    virtual const ImodelFileName& GetProjectName() const = 0;
    // The project folder, the directory character, the project name and ".prj".
    virtual ImodelFileName GetProjectFileName() const = 0;
    // Whether the manager holds a project-file stream.
    virtual bool HasProjectFileStream() const = 0;
    // Whether a project is open: set by the commands that open or create
    // one once it stands, cleared by ClearProject. Commands that need a
    // project ask this.
    virtual bool IsProjectOpen() const = 0;
    virtual void SetProjectOpen(bool open) = 0;
    // Stores the folder with its separators made valid.
    virtual void SetProjectFolder(const ImodelFileName& folder) = 0;
    virtual void SetProjectName(const ImodelFileName& name) = 0;
    virtual bool IsDefaultVHDL() const = 0;
    // A change marks the project as needing a save.
    virtual void SetDefaultVHDL(bool vhdl) = 0;
    // Without a root unit: true, false, false.
    virtual bool IsRootStructural() = 0;
    virtual bool IsRootSchematic() = 0;
    virtual bool RootHasSubBlocks() = 0;
    // Empties name, folder and root id, resets the design, drops the
    // stream and clears the need-save flag: no project is open afterwards.
    virtual void ClearProject() = 0;
    virtual std::fstream* GetProjectFileStream() = 0;
    // Closes and drops the stream; with `makeNew`, keeps a new unopened one.
    virtual void ResetProjectFileStream(bool makeNew) = 0;
    // A change of the flag is announced with IeventNeedSaveFlagChanged.
    virtual void SetNeedSave(bool needSave) = 0;
    virtual bool GetNeedSave() const = 0;
};
