// The core workspace of a project: the file "<name>.aws" in the project's
// folder "<name>", which records the device and the HDL the project's cores
// are made for, and the workspace's components (cores and block designs).
// The file is XML of our own:
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <workspace version="1" name="kiltora" family="ZX7" die=".." package=".."
//              language="VHDL">
//     <component kind="0" state="1" name="fifo" library="work" package=""
//                definition="fifo/fifo.cxf" ixf="fifo/fifo.ixf"
//                family="ZX7" die=".." devicePackage=".."
//                stateBeforeMissing="0">                   only when out of date for a missing definition
//       <designFile>hdl/fifo.vhd</designFile>              zero or more
//       <instance kind="3" name="u1" module="" reference="" library=""
//                 vendor="" coreLibrary="" core="" version=""/>
//       <parameter name="width" value="8"/>                 zero or more
//     </component>
//   </workspace>
//
// One component element per component, in the order the workspace got
// them; file names below the workspace's folder are written relative to it.
// Elements and attributes of other names are skipped. No value may hold a
// line break or another control character but the tab.
//
// The constructors throw: std::invalid_argument when the file to open is
// not there or a value cannot be stored, version_error for a file of
// another version, std::runtime_error for any other failure (a file that
// cannot be read or written, a malformed file, an existing file in the
// way of a new one). The other operations do not throw, but for
// importDirCores, which throws WSImport_except.
#pragma once

#include "ktwkspace/WorkspaceComponent.h"

#include <vy/VyLoaderFactory.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

class IDEVeyrunCallBack;
class IIDEObject;
class VlnvCoreId;

class SpiritCoreDescription;

namespace Ktwkspace {

class CatalogIf;

// A workspace file written by another version of the library.
class version_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Core descriptions of a folder that could not be imported.
class WSImport_except : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A package that a project file declares, as the project told it.
struct DeclaredPackage {
    std::string name;
    std::string library;
    std::string fileName;
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
    // The editor components go to their deleters (DiscardEditor).
    virtual ~Workspace();

    // Registers the block-design commands of the core workspace. This
    // library offers no such command, so it registers nothing; true.
    static bool RegisterVyCommands();

    const std::string& GetFileName() const { return m_fileName; }
    // The settings; their components are empty (the workspace holds them).
    const WorkspaceSettings& GetSettings() const { return m_settings; }
    // The folder that holds the workspace file and its designs.
    std::string GetDesignFolder() const { return GetFolder(); }
    // The HDL the workspace's cores are written in ("VHDL" or "Verilog").
    const std::string& GetOutputType() const { return m_settings.language; }
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
    //
    // The block-design engine tells the environment (the callback object's
    // IDEVeyrunCallBack) of the changes its components go through, once each
    // change is written: a component made (CreateVeyrun, CreateCore,
    // CreateUniqueCore), configured (SetCoreParameters), taken out
    // (RemoveComponent, FileRemoved from disk), its defining file changed
    // (FileChanged), and what a new reading of the workspace file brings
    // (Update). A core the environment imports (SafeimportCore,
    // importDirCores) is a file it takes in itself: it is not told.

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
    // its folder "<workspace folder>/<designName>" holds its definition
    // file, a core description (SPIRIT) of the new core.
    // Fails when the name is empty, holds a path separator or is taken.
    CreateResult CreateUniqueCore(const VlnvCoreId& core, const std::string& designName);
    // The same with the core of the catalogue of that library, name and
    // version (letter case ignored); with `unique` a name that is taken gets
    // "_1", "_2", ... appended until it is free. Fails when the catalogue
    // offers no such core.
    CreateResult CreateCore(const std::string& library, const std::string& name, const std::string& version,
                            const std::string& designName, bool unique);
    // A new, empty block design of that name, made as a core is.
    CreateResult CreateVeyrun(const std::string& name);
    // Imports the core description `fileName` (SPIRIT, root "Component"):
    // the component it describes, of the kind its core type names (a
    // Kiltora core when it names none), named after the core, in the HDL
    // library it names ("work" when none), made for the first device it
    // supports, generated, with the instances it holds, defined by the file
    // where it lies. `importedName` receives the file that defines the
    // component then. A component of that identity defined by the same file
    // is read again; one defined by another file is replaced only when
    // `always` is set. The components of other identities the file defined
    // (its core renamed since) leave the workspace. False, with nothing changed, for a file that is no
    // core description or a component that cannot be kept.
    bool SafeimportCore(const std::string& fileName, CatalogIf* catalog, std::string& importedName, bool always);
    // Imports every core description ("*.cxf", letter case ignored) of the
    // folder and of its sub-folders, in name order. Throws WSImport_except,
    // naming those that could not be imported, once the others are in.
    void importDirCores(const std::string& folder, CatalogIf* catalog, bool always);
    // Marks as out of date every component whose definition file is gone,
    // and gives back its former state to each one so marked whose file is
    // there again; the number of components marked.
    int auditComponents(CatalogIf* catalog);
    // Takes the component out of the workspace (with `fromDisk` its
    // definition and IXF files are deleted too); false when there is none.
    bool RemoveComponent(const VyIfaces::ComponentID& id, bool fromDisk);
    // Configures the core of that identity with the values, in order (a
    // name set twice keeps its last value). False, with nothing changed,
    // when there is no such core, a name is empty, a name or value cannot
    // be stored, or the file cannot be written.
    bool SetCoreParameters(const VyIfaces::ComponentID& id,
                           const std::vector<std::pair<std::string, std::string>>& parameters);
    // Records where the HDL module of the component is declared: its
    // identity takes the library and the package. False when the component
    // is not the workspace's or another one has that identity.
    bool SetComponentLibraryAndPackage(VyIfaces::IComponent* component, const std::string& library,
                                       const std::string& package);

    // --- editors ---------------------------------------------------------------------
    // This library draws no editors: it keeps which components are open and
    // which block design was brought to the front last. Besides its own
    // components it keeps editor components: components made to edit a
    // file in an editor of the block-design kind (a constraints editor),
    // which are no part of the workspace file and live while their editor
    // may open: closing the editor lets the component go.

    // Takes the editor component in, its editor closed; null for null.
    VyIfaces::IComponent* AdoptEditorComponent(std::unique_ptr<VyIfaces::IComponent> component);
    // The editor component's editor is open and in front; false for a
    // component the workspace did not adopt.
    bool OpenEditor(VyIfaces::IComponent* component);
    const std::vector<VyIfaces::IComponent*>& GetEditorComponents() const { return m_editorView; }

    // Opens the editor of the block design of that name (library "work");
    // false when the workspace has no such block design.
    bool OpenVeyrun(const std::string& name);
    // Opens the editor of the component and brings it to the front; false
    // when the workspace has no such component.
    bool OpenComponent(const VyIfaces::ComponentID& id);
    // Brings the open editor of the component (or of an editor component)
    // of that identity to the front; false when none is open.
    bool ActivateComponent(const VyIfaces::ComponentID& id);
    bool IsComponentOpen(const VyIfaces::ComponentID& id) const;
    // The block design (or editor component) brought to the front last
    // whose editor is still open; null when none.
    VyIfaces::IComponent* GetActiveVeyrun() const;
    // What a user is asked before an editor closes (keep the unsaved
    // changes?); this library's editors hold none, so nobody is asked.
    void PrepareToCloseEditor(VyIfaces::IComponent* component);
    // Closes the component's editor; true when it is closed afterwards,
    // false for a component that is not the workspace's. An editor
    // component goes to its deleter then (or is deleted).
    bool CloseEditor(VyIfaces::IComponent* component);

    // --- the project's files ---------------------------------------------------------

    // False while the file defines a component whose editor is open.
    bool CanRemoveFile(const std::string& fullName, bool fromDisk) const;
    // A file deleted from disk (`fromDisk`) takes the components it defines
    // out of the workspace. A file only taken out of the project leaves them
    // where they are: the project may take it in again (a core added anew,
    // a description read again), and a component leaves the workspace when
    // it is removed as such (RemoveComponent).
    // These three answer false, with the components as the file keeps them,
    // when the file cannot be written; callers may pass over the answer.
    bool FileRemoved(const std::string& fullName, bool fromDisk);
    // The components' definition and IXF files of the old name take the new one.
    bool FileNameChanged(const std::string& oldName, const std::string& newName);
    // The HDL and schematic components defined by the former file are
    // defined by the new one; a described core keeps its description, and
    // nothing moves onto a file that defines a component already.
    bool DefinitionMoved(const std::string& oldFile, const std::string& newFile);
    // The project was copied or moved from the folder `from` to `to`: the
    // file names below `from` (as a workspace written before names were
    // kept relative to the project holds them) take the project's own file
    // where it has one. The file is written again when a name changed;
    // false when it cannot be.
    bool FollowMovedFolder(const std::string& from, const std::string& to);
    // A file the workspace watches changed on disk (its full name and its
    // extension): a change of the workspace file itself is read in
    // (Update); the components the file defines changed with it (the
    // environment is told, to read them again). This library keeps no copy
    // of the components' own files: nothing else is read.
    void FileChanged(const std::string& fullName, const std::string& extension);
    // The project's libraries and the packages its files declare: a file
    // about to be parsed again declares none until it is told anew.
    void LibraryAdded(const std::string& library);
    void LibraryRemoved(const std::string& library);
    void FileAboutToBeParsed(const std::string& fullName);
    void PackageDeclared(const std::string& package, const std::string& library, const std::string& fullName);
    const std::vector<std::string>& GetLibraries() const { return m_libraries; }
    const std::vector<DeclaredPackage>& GetDeclaredPackages() const { return m_packages; }
    // Reads the components of the workspace file again: components listed
    // there that the workspace did not hold come in, those it held that the
    // file no longer lists leave; the others keep their editors' state, and
    // those the file lists otherwise now changed (read again when their
    // files did).
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
    // The environment's side of the block-design engine; null when none.
    IDEVeyrunCallBack* Engine() const;

    struct Held {
        std::unique_ptr<WorkspaceComponent> component;
        bool open = false;
    };
    struct Editor {
        std::unique_ptr<VyIfaces::IComponent> component;
        bool open = false;
    };

    std::string GetFolder() const;
    // Makes the component with its folder and its core description, whose
    // identity is in `library`.
    CreateResult Create(WorkspaceComponentRecord record, const std::string& library);
    std::vector<Held>::iterator FindHeld(const VyIfaces::IComponent* component);
    // Moves the component out of the table and the collection, kept alive.
    void Retire(std::vector<Held>::iterator held);
    void Retire(const std::vector<const VyIfaces::IComponent*>& leaving);
    // The components the file defines, in table order.
    std::vector<const VyIfaces::IComponent*> DefinedBy(const std::string& fullName) const;
    // Gives the definitions (only of the records `movable` takes, all
    // without it) and, with `ixfToo`, the IXF files of the old name the new
    // one; undone when the file cannot be written.
    bool RenameFiles(const std::string& oldName, const std::string& newName, bool ixfToo,
                     const std::function<bool(const WorkspaceComponentRecord&)>& movable);
    // Writes the file with the components held now but those `leaving`;
    // false when it cannot.
    bool Save(const std::vector<const VyIfaces::IComponent*>& leaving = {}) const;
    void AdoptRecords(const std::vector<WorkspaceComponentRecord>& records);
    std::vector<Editor>::iterator FindEditor(const VyIfaces::IComponent* component);
    // An open editor component of that identity; null when none.
    VyIfaces::IComponent* FindOpenEditor(const VyIfaces::ComponentID& id) const;
    // Lets the editor component go: to its deleter, else deleted here.
    void DiscardEditor(std::vector<Editor>::iterator editor);

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
    std::vector<Editor> m_editors;
    std::vector<VyIfaces::IComponent*> m_editorView;
    const VyIfaces::IComponent* m_active = nullptr;
    std::vector<std::string> m_libraries;
    std::vector<DeclaredPackage> m_packages;
};

// The root element of every workspace file this library writes, and the
// version it writes.
inline constexpr const char* kWorkspaceFileRoot = "workspace";
inline constexpr int kWorkspaceFileVersion = 1;

// What the workspace keeps of the core that `description`, read from
// `fileName`, defines (Workspace::SafeimportCore): its identity, its kind
// (a Kiltora core when its core type names none known), the first device
// it supports and its instances.
WorkspaceComponentRecord KtwkspaceRecordOfCore(const SpiritCoreDescription& description, const std::string& fileName);

// The text of a workspace file for `settings`; throws std::invalid_argument
// for a value the file cannot hold.
std::string KtwkspaceFormatWorkspace(const WorkspaceSettings& settings);
// Reads the text of a workspace file (named `name` in messages); throws as
// the opening constructor does.
WorkspaceSettings KtwkspaceParseWorkspace(const std::string& text, const std::string& name);

}  // namespace Ktwkspace
