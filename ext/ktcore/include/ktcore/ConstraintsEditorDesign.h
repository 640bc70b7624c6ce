// The design of the graphical constraints editor: the constraint file it
// edits, the design unit whose ports it shows (none: it shows no port
// list), the device it was made for, and the editor file in which it keeps
// what it shows. The editor has no window here: what it would show is
// written to its editor file when it is opened, in this form
//
//   CONSTRAINTS_EDITOR 1
//   Constraints=<the constraint file>
//   Outside=0|1                      the file is not a file of the project
//   Unit=<name>                      empty: no port list
//   Port=<IN|OUT|INOUT> <name> [<left>:<right>]     one per port, in order
//   Package=<name> <file>            one per package the unit's source uses
#pragma once

#include <ndb/BrnDevice.h>
#include <vy/ComponentID.h>
#include <vy/IComponent.h>
#include <vy/VyLoaderFactory.h>

#include <string>
#include <utility>
#include <vector>

namespace Brndesign {

class ConstraintsEditorDesign : public VyIfaces::IDesignObject {
public:
    // `id` is the identity of the editor's component; `outside` tells a
    // constraint file that is not the project's.
    ConstraintsEditorDesign(std::string editorFile, std::string constraintFile, VyIfaces::ComponentID id, bool outside,
                            BrnDevice device);

    // Shows the ports of the unit `unit` defined in `sourceFile`, of core
    // file type `fileType` (1, an HDL source; any other type holds no
    // ports). False, with no port list, when the ports cannot be read.
    bool InitFromSourceFile(const VyIfaces::ComponentID& unit, const std::string& sourceFile, int fileType);
    // Shows no port list.
    void InitNoPortList();
    // The unit whose constraints the editor edits, whether or not it shows
    // its ports; none (an empty name) when the editor edits a file alone.
    void SetUnitID(const VyIfaces::ComponentID& unit) { m_unitId = unit; }
    const VyIfaces::ComponentID& GetUnitID() const { return m_unitId; }
    // The source file whose ports it shows; empty when none.
    const std::string& GetSourceFileName() const { return m_sourceFile; }
    // The packages the source file uses, each with the file that declares
    // it, as the environment tells them: where the ports' types come from.
    using Packages = std::vector<std::pair<std::string, std::string>>;
    void SetPackages(Packages packages) { m_packages = std::move(packages); }
    const Packages& GetPackages() const { return m_packages; }

    const std::string& GetEditorFileName() const { return m_editorFile; }
    const std::string& GetConstraintFileName() const { return m_constraintFile; }
    const VyIfaces::ComponentID& GetComponentID() const { return m_id; }
    bool IsOutsideProject() const { return m_outside; }
    const BrnDevice& GetDevice() const { return m_device; }
    // The unit whose ports it shows; empty when none.
    const std::string& GetDesignName() const { return m_unit; }
    const Vymodel::VyModule::Ports& GetPorts() const { return m_ports; }

    // The editor file's text.
    std::string Format() const;
    // Writes the editor file (atomically); false when it cannot be written
    // or a name would break its lines.
    bool Save() const;

private:
    std::string m_editorFile;
    std::string m_constraintFile;
    VyIfaces::ComponentID m_id;
    bool m_outside;
    BrnDevice m_device;
    std::string m_unit;
    VyIfaces::ComponentID m_unitId;
    std::string m_sourceFile;
    Vymodel::VyModule::Ports m_ports;
    Packages m_packages;
};

}  // namespace Brndesign
