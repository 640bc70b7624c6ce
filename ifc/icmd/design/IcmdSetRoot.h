// set_root: chooses the root module of the design, the unit at the top of
// the hierarchy from which the project's flow is built.
//
//   set_root -module <name[::library[::package]]>
//   set_root <name[::library[::package]]>     the module as one bare word
//
// A module that cannot be the root (a package) or a name that names no module
// fails the command and leaves the root as it was. The root's identity is
// stored in the design, the flow of the new root becomes current, and the
// views hear IeventCurrentRootChanged each time, also when the root stays
// the same; only a change marks the project as needing a save.
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdTCLModuleArg.h"

#include <memory>
#include <string>
#include <vector>

class ImodelModule;
namespace VyIfaces {
class ComponentID;
}

class IcmdSetRoot : public IcmdBase {
public:
    IcmdSetRoot();
    ~IcmdSetRoot() override;

    std::string GetName() const override { return "set_root"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdSetRoot>(); }
    // Exactly one word is the module's text, whatever the option parser
    // makes of it: the module may be given without its option.
    AcmdEnum::Result ParseArgs(const std::vector<std::string>& args) override;
    // A module that may not be the root is refused ("CANNOT_SET_ROOT").
    AcmdEnum::Result checkParams() override;
    AcmdEnum::Result execDo() override;

    // The module to make the root; null: none (the module is not required then).
    void SetRootModule(ImodelModule* module);
    // The module of that identity, looked for when the command runs; the
    // default identity: none.
    void SetRootName(const VyIfaces::ComponentID& id);

private:
    IcmdTCLModuleArg m_module;
    // Given its words (the user's command, not the project's own choice):
    // the root that went with its file is no longer to come back.
    bool m_chosenByUser = false;
};

// The module of that identity becomes the root; the default identity (no
// name) leaves the design without a root. True when set_root succeeded.
bool IcmdDoSetRoot(bool keep, const VyIfaces::ComponentID& id);
// The module becomes the root; null leaves the design without a root.
bool IcmdDoSetRoot(bool keep, ImodelModule* module);

// After files were parsed with the design tree held back: the root is set
// again (the first unit that may be the root when there is none), so that
// every view builds its tree from it.
void IcmdSetRootAgain();
