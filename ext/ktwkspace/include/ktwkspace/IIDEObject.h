// What the suite's core libraries (core workspace, block-design engine, bus
// definitions, core console) ask of the design environment that drives
// them: where a component's files go, which device is targeted, which HDL
// modules the project has, and the launch of a tool. The environment
// implements it and hands it to the libraries; they never own it.
#pragma once

#include <ndb/BrnDevice.h>
#include <vy/ComponentID.h>
#include <vy/IComponent.h>

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

class IDEVeyrunCallBack;
class VlnvCoreId;
namespace Vymodel {
class ModuleInfo;
}

class IIDEObject {
public:
    virtual ~IIDEObject() = default;

    // The environment's side of the block-design engine; null when none.
    virtual IDEVeyrunCallBack* GetVYCallBack() = 0;
    // The folder for the files of a component of that kind.
    virtual std::string GetBaseIDEFolder(const VyIfaces::ComponentID& id, VyIfaces::IComponent::VyModuleType type) = 0;
    // Runs `executable` with `arguments` in `folder`; true when it ran well.
    virtual bool LaunchTool(const std::string& executable, const std::string& arguments, const std::string& folder,
                            bool wait) = 0;
    virtual bool IsInteractiveMode() = 0;
    virtual bool IsDefaultVHDLType() const = 0;
    virtual std::string GetSolvatoProjectFolder() = 0;
    virtual BrnDevice GetCurrentDevice() const = 0;
    // The core console's tool: its executable (full path) and the
    // environment's texts about it; false when no tool is set up.
    virtual bool GetDremmetProfile(std::string& info, std::string& executable, std::string& toolKey) = 0;
    // Whether the project may move to the device a core needs; `device`
    // comes back completed. `declined` tells that the user said no.
    virtual bool DeviceUpgradeAllowed(BrnDevice& device, const std::string& coreName,
                                      VyIfaces::IComponent::VyModuleType* kind, bool& declined) = 0;
    virtual bool CanChangeFamily() const = 0;
    // The library of a project file and the package that defines one of its
    // modules; false when the file or the module is unknown.
    virtual bool GetVHDLLibraryAndPackage(const std::string& file, const std::string& module, std::string& library,
                                          std::string& package) const = 0;
    // The project's own HDL modules (with `localOnly`, only those whose
    // files lie in the project folder).
    virtual void GetUserHDLModulesInProject(std::vector<boost::shared_ptr<Vymodel::ModuleInfo>>& modules,
                                            bool localOnly) = 0;
    // Brackets a library's writing into `folder`: `block` true before, false
    // after, so that the environment does not take the files for changes.
    virtual void UpdateTimerFileDetection(const std::string& folder, bool block) = 0;
    // The window that owns the libraries' question boxes; null when none.
    virtual void* GetParentWindow() = 0;
    // Has the environment's core configurator configure the user core;
    // `output` receives what the configurator reports. True when configured.
    virtual bool ConfigureCore(const VlnvCoreId& core, std::string& output) = 0;

protected:
    IIDEObject() = default;
    IIDEObject(const IIDEObject&) = default;
    IIDEObject& operator=(const IIDEObject&) = default;
};
