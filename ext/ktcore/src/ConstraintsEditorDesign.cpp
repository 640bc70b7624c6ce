#include "ktcore/ConstraintsEditorDesign.h"

#include <foundation/Sys.h>

#include <utility>

namespace Brndesign {

namespace {

// What a port adds to its line after its name.
class RangeText : public Vymodel::VyPortVisitor {
public:
    void Visit(Vymodel::VyBusPort* port) override
    {
        const auto [left, right] = port->GetBusRange();
        text = " " + std::to_string(left) + ":" + std::to_string(right);
    }

    std::string text;
};

bool HoldsLineBreak(const std::string& value) { return value.find_first_of("\r\n") != std::string::npos; }

}  // namespace

ConstraintsEditorDesign::ConstraintsEditorDesign(std::string editorFile, std::string constraintFile,
                                                 VyIfaces::ComponentID id, bool outside, BrnDevice device)
    : m_editorFile(std::move(editorFile)), m_constraintFile(std::move(constraintFile)), m_id(std::move(id)),
      m_outside(outside), m_device(std::move(device))
{
}

bool ConstraintsEditorDesign::InitFromSourceFile(const VyIfaces::ComponentID& unit, const std::string& sourceFile,
                                                 int fileType)
{
    InitNoPortList();
    m_unitId = unit;
    if (fileType != 1) return false;
    const boost::shared_ptr<Vymodel::VyModule> module =
        Vymodel::VyLoaderFactory::LoadModule(sourceFile, nullptr, unit.name);
    if (!module) return false;
    m_unit = module->GetName();
    m_sourceFile = sourceFile;
    m_ports = module->GetPorts(false);
    return true;
}

void ConstraintsEditorDesign::InitNoPortList()
{
    m_unit.clear();
    m_sourceFile.clear();
    m_ports.clear();
    m_packages.clear();
}

std::string ConstraintsEditorDesign::Format() const
{
    std::string text = "CONSTRAINTS_EDITOR 1\n";
    text += "Constraints=" + m_constraintFile + "\n";
    text += std::string("Outside=") + (m_outside ? "1" : "0") + "\n";
    text += "Unit=" + m_unit + "\n";
    for (const auto& port : m_ports) {
        RangeText range;
        port->Accept(range);
        text += "Port=" + port->GetDirection().toString() + " " + port->GetName() + range.text + "\n";
    }
    for (const auto& [package, file] : m_packages) text += "Package=" + package + " " + file + "\n";
    return text;
}

bool ConstraintsEditorDesign::Save() const
{
    if (m_editorFile.empty() || HoldsLineBreak(m_constraintFile) || HoldsLineBreak(m_unit)) return false;
    for (const auto& port : m_ports)
        if (HoldsLineBreak(port->GetName())) return false;
    for (const auto& [package, file] : m_packages)
        if (HoldsLineBreak(package) || HoldsLineBreak(file)) return false;
    return SysWriteFileAtomically(m_editorFile, Format());
}

}  // namespace Brndesign
