// The core workspace of a project: the file "<name>.aws" in the project's
// folder "<name>", which records the device and the HDL the project's cores
// are made for, and the workspace's components (cores and block designs).
// The file is a small text of our own:
//
//   KILTORA_WORKSPACE 1
//   Name=kiltora
//   Family=ZX7
//   Die=...
//   Package=...
//   Language=VHDL
//   Component=<kind> <state> <name> <library> <package> <definition file>
//             <IXF file> <family> <die> <package>
//
// One Component line per component, in the order the workspace got them,
// its ten fields separated by tabs (none may hold a tab); file names below
// the workspace's folder are written relative to it. Lines of other keys
// are skipped; CRLF and LF read alike.
//
// The constructors throw: std::invalid_argument when the file to open is
// not there or a value cannot be stored, version_error for a file of
// another version, std::runtime_error for any other failure (a file that
// cannot be read or written, a malformed file, an existing file in the
// way of a new one). The other operations do not throw.
#pragma once

#include "ktwkspace/WorkspaceComponent.h"

#include <vy/VyLoaderFactory.h>

#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

class IIDEObject;
class VlnvCoreId;

namespace Ktwkspace {

class CatalogIf;

// A workspace file written by another version of the library.
class version_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The values a workspace file holds.
struct WorkspaceSettings {
    std::string name;
    std::string family;
    std::string die;
    std::string package;
    std::string language;
    std::vector<WorkspaceComponentRecord> components;
};

class Workspace {
public:
    // Opens the workspace file `fileName` with the components it lists. The
    // two switches and the text steer the loading of components' designs and
    // the conversion of older workspaces; this library loads no designs and
    // knows no older format, so they change nothing here.
    Workspace(const std::string& fileName, bool interactive, bool loadComponents, bool convert,
              const std::string& convertTo, IIDEObject* callback, CatalogIf* catalog);
    // Creates the workspace `name` for a project: writes
    // "<projectFolder>/<name>/<name>.aws" (the folder made when missing).
    // The number and the two switches steer the real library's first
    // generation of cores, which this library does not do.
    Workspace(const std::string& name, const std::string& projectFolder, const std::string& family,
              const std::string& die, const std::string& package, const std::string& language, bool interactive,
              int generation, bool createFolders, bool save, IIDEObject* callback, CatalogIf* catalog);
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;
    virtual ~Workspace() = default;

    // Registers the block-design commands of the core workspace. This
    // library offers no such command, so it registers nothing; true.
    static bool RegisterVyCommands();

    const std::string& GetFileName() const { return m_fileName; }
    // The settings; their components are empty (the workspace holds them).
    const WorkspaceSettings& GetSettings() const { return m_settings; }
    bool IsInteractive() const { return m_interactive; }

    // The environment's callback object, not owned; may be null.
    void SetIDECallBack(IIDEObject* callback) { m_callback = callback; }
    IIDEObject* GetIDECallBack() const { return m_callback; }
    CatalogIf* GetCatalog() const { return m_catalog; }

    // The device the workspace's cores are made for, kept in memory (the
    // file keeps the device it was created with). True: every family is
    // taken.
    bool setProductFamily(const std::string& family);
    void setPackage(const std::string& package);
    void setTargetDevice(const std::string& die);

    // --- components -----------------------------------------------------------------
    // Every change of the workspace's components is written to its file at
    // once; a change that cannot be written is undone and fails. A component
    // that leaves the workspace stays alive (out of the collection) until the
    // workspace goes, so a pointer somebody kept never dangles.

    using ComponentCollection = std::map<VyIfaces::ComponentID, VyIfaces::IComponent*, Vymodel::ComponentIDLess>;
    // A design of the workspace and whether its editor is open.
    struct DesignEntry {
        VyIfaces::IComponent* component;
        bool open;
    };
    // What a creation gives: success and the new component (null on failure).
    struct CreateResult {
        bool success = false;
        VyIfaces::IComponent* component = nullptr;
    };

    // The components by identity (letter case ignored).
    const ComponentCollection& GetComponentCollection() const { return m_collection; }
    // The component of that identity, or null.
    VyIfaces::IComponent* FindComponent(const VyIfaces::ComponentID& id) const;
    // The workspace's components in the order it got them, with their
    // editors' state.
    std::vector<DesignEntry> GetDesignTable() const;
    // Takes the component in; null, with the component dropped, when its
    // identity is taken, a value cannot be stored or the file not written.
    VyIfaces::IComponent* AddComponent(WorkspaceComponentRecord record);
    // A new core of the core generator for `core`, named `designName` in
    // library "work", made for the workspace's device and not generated yet;
    // its folder "<workspace folder>/<designName>" holds its definition file.
    // Fails when the name is empty, holds a path separator or is taken.
    CreateResult CreateUniqueCore(const VlnvCoreId& core, const std::string& designName);
    // A new, empty block design of that name, made as a core is.
    CreateResult CreateVeyrun(const std::string& name);
    // Takes the component out of the workspace (with `fromDisk` its
    // definition and IXF files are deleted too); false when there is none.
    bool RemoveComponent(const VyIfaces::ComponentID& id, bool fromDisk);
    // Records where the HDL module of the component is declared: its
    // identity takes the library and the package. False when the component
    // is not the workspace's or another one has that identity.
    bool SetComponentLibraryAndPackage(VyIfaces::IComponent* component, const std::string& library,
                                       const std::string& package);

    // --- editors ---------------------------------------------------------------------
    // This library draws no editors: it keeps which components are open and
    // which block design was brought to the front last.

    // Opens the editor of the block design of that name (library "work");
    // false when the workspace has no such block design.
    bool OpenVeyrun(const std::string& name);
    // Brings the open editor of the component to the front; false when it
    // is not open.
    bool ActivateComponent(const VyIfaces::ComponentID& id);
    bool IsComponentOpen(const VyIfaces::ComponentID& id) const;
    // The block design brought to the front last whose editor is still
    // open; null when none.
    VyIfaces::IComponent* GetActiveVeyrun() const;
    // What a user is asked before an editor closes (keep the unsaved
    // changes?); this library's editors hold none, so nobody is asked.
    void PrepareToCloseEditor(VyIfaces::IComponent* component);
    // Closes the component's editor; true when it is closed afterwards,
    // false for a component that is not the workspace's.
    bool CloseEditor(VyIfaces::IComponent* component);

    // --- the project's files ---------------------------------------------------------

    // False while the file defines a component whose editor is open.
    bool CanRemoveFile(const std::string& fullName, bool fromDisk) const;
    // The components the file defines leave the workspace.
    void FileRemoved(const std::string& fullName, bool fromDisk);
    // The components' definition and IXF files of the old name take the new one.
    void FileNameChanged(const std::string& oldName, const std::string& newName);
    // The components defined by the former file are defined by the new one.
    void DefinitionMoved(const std::string& oldFile, const std::string& newFile);
    // A file the workspace watches changed on disk (its full name and its
    // extension): a change of the workspace file itself is read in
    // (Update); this library keeps no copy of the components' own files, so
    // a change of one of them needs nothing more.
    void FileChanged(const std::string& fullName, const std::string& extension);
    // Reads the components of the workspace file again: components listed
    // there that the workspace did not hold come in, those it held that the
    // file no longer lists leave; the others keep their editors' state.
    void Update();

    // The reports the core generator writes with the cores it generates
    // for the project, by kind (1: the compile report). This library
    // generates no cores: it only keeps what was asked for, while it lives.
    void addReport(int kind) { m_reports.insert(kind); }
    void removeReport(int kind) { m_reports.erase(kind); }
    bool HasReport(int kind) const { return m_reports.count(kind) != 0; }

    // Set by the design environment once the workspace is its project's.
    bool ownedByProject = false;

private:
    struct Held {
        std::unique_ptr<WorkspaceComponent> component;
        bool open = false;
    };

    std::string GetFolder() const;
    CreateResult Create(WorkspaceComponentRecord record, const std::string& content);
    std::vector<Held>::iterator FindHeld(const VyIfaces::IComponent* component);
    // Moves the component out of the table and the collection, kept alive.
    void Retire(std::vector<Held>::iterator held);
    void RenameFiles(const std::string& oldName, const std::string& newName, bool ixfToo);
    // Writes the file with the components held now; false when it cannot.
    bool Save() const;
    void AdoptRecords(const std::vector<WorkspaceComponentRecord>& records);

    std::string m_fileName;
    WorkspaceSettings m_settings;
    // The settings as the file holds them (the device set in memory is not
    // written); the components are written from the table.
    WorkspaceSettings m_fileSettings;
    bool m_interactive;
    IIDEObject* m_callback;
    CatalogIf* m_catalog;
    std::set<int> m_reports;
    std::vector<Held> m_table;
    ComponentCollection m_collection;
    std::vector<std::unique_ptr<WorkspaceComponent>> m_retired;
    const VyIfaces::IComponent* m_active = nullptr;
};

// The first line of every workspace file this library writes.
inline constexpr const char* kWorkspaceFileHeader = "KILTORA_WORKSPACE";
inline constexpr int kWorkspaceFileVersion = 1;

// The text of a workspace file for `settings`; throws std::invalid_argument
// for a value that holds a line break.
std::string KtwkspaceFormatWorkspace(const WorkspaceSettings& settings);
// Reads the text of a workspace file (named `name` in messages); throws as
// the opening constructor does.
WorkspaceSettings KtwkspaceParseWorkspace(const std::string& text, const std::string& name);

}  // namespace Ktwkspace
