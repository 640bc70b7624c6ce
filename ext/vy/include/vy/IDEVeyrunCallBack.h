// The object through which the block-design engine reports back to the
// design environment that drives it. The environment implements it and
// hands it out; the engine never owns it.
#pragma once

#include "vy/ComponentID.h"

#include <string>
#include <utility>
#include <vector>

namespace VyIfaces {
class IComponent;
}

class IDEVeyrunCallBack {
public:
    // What a change of a component invalidates in the design flow.
    enum InvalidateMessage : int {
        InvalidateNothing = 0,
        InvalidateSynthesis = 1,  // the synthesis results of the units using it
        InvalidateLayout = 2,     // their place-and-route results
        InvalidateComponent = 3   // everything made from the component
    };

    virtual ~IDEVeyrunCallBack() = default;

    // A component of the engine changed; with `reparse` its files are to be
    // read again.
    virtual void VYModifyComponent(VyIfaces::IComponent* component, bool reparse, InvalidateMessage message) = 0;
    // The engine took a new component in.
    virtual void VYAddComponent(VyIfaces::IComponent* component) = 0;
    // A component left the engine.
    virtual void VYRemoveComponent(VyIfaces::IComponent* component) = 0;
    // The packages the file uses, each with the full name of the file that
    // declares it (pairs of package name and file name).
    virtual void VYGetUsedPackages(const std::string& fileName,
                                   std::vector<std::pair<std::string, std::string>>& packages) = 0;
    // The engine wrote a constraint file for the component.
    virtual void NewConstraintFileAdded(const std::string& fileName, const VyIfaces::ComponentID& id) = 0;

protected:
    IDEVeyrunCallBack() = default;
    IDEVeyrunCallBack(const IDEVeyrunCallBack&) = default;
    IDEVeyrunCallBack& operator=(const IDEVeyrunCallBack&) = default;
};
