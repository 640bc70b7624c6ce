// The core workspace of a project: the file "<name>.aws" in the project's
// folder "<name>", which records the device and the HDL the project's cores
// are made for. The file is a small text of our own:
//
//   KILTORA_WORKSPACE 1
//   Name=kiltora
//   Family=ZX7
//   Die=...
//   Package=...
//   Language=VHDL
//
// Lines of other keys are skipped; CRLF and LF read alike.
//
// The constructors throw: std::invalid_argument when the file to open is
// not there or a value cannot be stored, version_error for a file of
// another version, std::runtime_error for any other failure (a file that
// cannot be read or written, a malformed file, an existing file in the
// way of a new one). The other operations do not throw.
#pragma once

#include <set>
#include <stdexcept>
#include <string>

class IIDEObject;
namespace VyIfaces {
class ComponentID;
class IComponent;
}  // namespace VyIfaces

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
};

class Workspace {
public:
    // Opens the workspace file `fileName`. The two switches and the text
    // steer the loading of components and the conversion of older
    // workspaces; this library keeps no components and knows no older
    // format, so they change nothing here.
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

    // The component of that identity, or null. This library keeps no
    // components, so none is found.
    VyIfaces::IComponent* FindComponent(const VyIfaces::ComponentID& id) const;

    // The reports the core generator writes with the cores it generates
    // for the project, by kind (1: the compile report). This library
    // generates no cores: it only keeps what was asked for, while it lives.
    void addReport(int kind) { m_reports.insert(kind); }
    void removeReport(int kind) { m_reports.erase(kind); }
    bool HasReport(int kind) const { return m_reports.count(kind) != 0; }

    // Set by the design environment once the workspace is its project's.
    bool ownedByProject = false;

private:
    std::string m_fileName;
    WorkspaceSettings m_settings;
    bool m_interactive;
    IIDEObject* m_callback;
    CatalogIf* m_catalog;
    std::set<int> m_reports;
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
