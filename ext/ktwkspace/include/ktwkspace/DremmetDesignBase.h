// The designs of the IP-core configurator (the core console of the suite,
// an outside program): a new design of a core is made by running the
// configurator of the design environment's core-console profile in the
// design's own folder. This library has no configurator of its own; it
// runs the environment's through the environment object.
#pragma once

#include <vy/ComponentID.h>
#include <vy/IComponent.h>

#include <string>

class IIDEObject;

namespace Brndesign {

// The configurator's record of a core: its identity.
struct DremmetCore {
    std::string vendor;
    std::string library;
    std::string name;
    std::string version;
};

class DremmetDesignBase {
public:
    DremmetDesignBase() = delete;

    // The folder of the design `id` of that kind: its name below the
    // environment's base folder for such components; empty without an
    // environment or a base folder.
    static std::string GetDesignFolder(IIDEObject* environment, const VyIfaces::ComponentID& id,
                                       VyIfaces::IComponent::VyModuleType type);
    // Opens the configurator on the design `id` in its folder (made when
    // missing): the configurator runs there with "DESIGN:<name>", preceded
    // by "CORE:<vendor:library:name:version>" unless `existing` (the design
    // is there already), and is waited for when `wait`. True when it ran
    // and ended well; false without an environment, a configurator (the
    // environment says why), a folder, or when the run failed.
    static bool OpenQVGUI(IIDEObject* environment, bool existing, bool wait, const DremmetCore& core,
                          const VyIfaces::ComponentID& id, VyIfaces::IComponent::VyModuleType type);
};

}  // namespace Brndesign
