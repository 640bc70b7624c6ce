// The library's answer to the suite's core libraries: the IIDEObject through
// which they ask the project for its folders, device, HDL modules and tool
// launches. The host builds one and hands it out (ImodelHost::GetIIDEObject);
// every answer comes from the process-wide project model. It holds no data.
#pragma once

#include <ktwkspace/IIDEObject.h>

namespace QuorlaneCallBack {

class QuorlaneIIDEObject : public IIDEObject {
public:
    QuorlaneIIDEObject() = default;

    // The block-design tool manager; null when the model has none.
    IDEVeyrunCallBack* GetVYCallBack() override;
    std::string GetBaseIDEFolder(const VyIfaces::ComponentID& id, VyIfaces::IComponent::VyModuleType type) override;
    // Runs the executable with its arguments in `folder` and waits for it
    // (the host, when it launches programs, gets `wait`); true when the
    // tool ran and exited with 0.
    bool LaunchTool(const std::string& executable, const std::string& arguments, const std::string& folder,
                    bool wait) override;
    bool IsInteractiveMode() override;
    bool IsDefaultVHDLType() const override;
    std::string GetSolvatoProjectFolder() override;
    // The current device with external die and package names.
    BrnDevice GetCurrentDevice() const override;
    // The active tool of the core configurator's profile ("NO_PROFILE" when
    // there is none).
    bool GetDremmetProfile(std::string& info, std::string& executable, std::string& toolKey) override;
    // The device manager's device change for a core; the device comes back
    // completed, with external die and package names.
    bool DeviceUpgradeAllowed(BrnDevice& device, const std::string& coreName, VyIfaces::IComponent::VyModuleType* kind,
                              bool& declined) override;
    bool CanChangeFamily() const override;
    bool GetVHDLLibraryAndPackage(const std::string& file, const std::string& module, std::string& library,
                                  std::string& package) const override;
    // The VHDL and Verilog modules of the design's libraries, in library
    // order, whose files are top files of the project (not included by
    // another file).
    void GetUserHDLModulesInProject(std::vector<boost::shared_ptr<Vymodel::ModuleInfo>>& modules,
                                    bool localOnly) override;
    // With `block` false the project's files in `folder` first take their
    // new disk stamps, so that what the library wrote is not reported as
    // changed; either way the file watcher's blocking follows `block`.
    void UpdateTimerFileDetection(const std::string& folder, bool block) override;
    // The host's parent window; null without a host.
    void* GetParentWindow() override;
    // Runs the core configurator of the core-console profile in the project
    // folder on the core ("CONFIGURE:<vendor:library:name:version>") and
    // waits for it; true when it ran and exited with 0. `output` is emptied;
    // without a configurator it says so.
    bool ConfigureCore(const VlnvCoreId& core, std::string& output) override;
};

}  // namespace QuorlaneCallBack
