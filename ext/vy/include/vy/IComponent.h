// A component of the block-design tool: a core, an HDL or schematic unit or
// a block design, known by its identity. The block-design library owns its
// components; the project holds them by plain pointer.
#pragma once

#include "vy/ComponentID.h"
#include "vy/IComponentVisitor.h"

#include <ulv/SpiritReadCoreInfo.h>

#include <memory>
#include <string>
#include <vector>

class BrnDevice;
class VyengineCore;

namespace VyIfaces {

// The design a component holds, as the library that made it knows it (a
// core design of the core-design library, for one); callers cast it to the
// kind they know.
class IDesignObject {
public:
    virtual ~IDesignObject() = default;

protected:
    IDesignObject() = default;
    IDesignObject(const IDesignObject&) = default;
    IDesignObject& operator=(const IDesignObject&) = default;
};

// An instance a component holds of another core, module or design.
using ComponentInstance = SpiritComponentInstance;

class IComponent {
public:
    // The kinds of component; the values are stored by callers.
    enum VyModuleType : int {
        Kiltora = 0,
        Dremmet = 1,
        IP = 2,
        HDL = 3,
        Block = 4,
        Schematic = 5,
        Veyrun = 6,
        GenericCore = 7,
        SynplifyDSP = 8,
        BrennicCell = 9,
        UserIP = 10,
        SpiritDesign = 11,
        NoCore = 12
    };

    // What a component's owner hands the component to when it lets it go:
    // the deleter takes it out of whatever it keeps and deletes it.
    class DeleteHelper {
    public:
        virtual ~DeleteHelper() = default;
        virtual void DoDelete(std::unique_ptr<IComponent> component) = 0;

    protected:
        DeleteHelper() = default;
        DeleteHelper(const DeleteHelper&) = default;
        DeleteHelper& operator=(const DeleteHelper&) = default;
    };

    virtual ~IComponent() = default;

    virtual const ComponentID& GetComponentID() const = 0;
    virtual VyModuleType GetModuleType() const = 0;
    // The full path of the file that defines the component; may be empty.
    virtual std::string GetDefinitionFileName() const = 0;
    // Calls the visitor's visit operation for the component's own kind.
    virtual void Accept(IComponentVisitor& visitor) = 0;
    // The build status the engine keeps: 0 ready, 1 or 3 errors, any other
    // value out of date. A component the engine keeps no status for is ready.
    virtual int GetStatus() const { return 0; }

    // The state of the component's generated files: 0 generated, 1 saved
    // (not generated since), 2 out of date; a component the engine keeps no
    // such state for answers -1.
    virtual int GetState() const { return -1; }
    // The full path of the component's IXF file (its generated description);
    // empty when it has none.
    virtual std::string GetIXFFileName() const { return std::string(); }
    // The name under which an editor of the component is shown.
    virtual std::string GetDisplayName() const { return GetComponentID().name; }
    // Whether what the component holds was made for a device and must be
    // made again for `device`; a component tied to no device answers false.
    virtual bool DependsOnDevice(const BrnDevice& /*device*/) const { return false; }
    // The design the component holds; null for a component without one.
    virtual IDesignObject* GetDesignObject() const { return nullptr; }
    // 0 when the component may go into the core packager as it is; a
    // component the engine keeps no packaging state for answers 1.
    virtual int GetPackagingState() const { return 1; }
    // The instances the component holds, in its order.
    virtual std::vector<ComponentInstance> GetInstances() const { return {}; }
    // Opens the component's editor and brings it to the front; false when
    // it cannot be opened (a component without an editor answers false).
    virtual bool Open() { return false; }
    // The engine of the component's open editor; null when none draws it.
    virtual const VyengineCore* GetEngine() const { return nullptr; }
    // The deleter its owner hands it to when it lets it go; null: the owner
    // deletes it itself. A component that cannot be let go keeps none.
    virtual void SetDeleteHelper(DeleteHelper* /*helper*/) {}
    virtual DeleteHelper* GetDeleteHelper() const { return nullptr; }

protected:
    IComponent() = default;
    IComponent(const IComponent&) = default;
    IComponent& operator=(const IComponent&) = default;
};

// The name of a kind, as the component-type name table gives it ("Kiltora",
// "Dremmet", ...; 13 is "common"); "Unknown" for a value outside it.
const char* GetModuleTypeName(int type);
// The kind of that name (letter case ignored); false, with `type`
// unchanged, for a name of no kind.
bool FindModuleType(const std::string& name, IComponent::VyModuleType& type);

}  // namespace VyIfaces
