#include "imodel/model/QuorlaneCallBack.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFilterParent.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/ImodelProcess.h"
#include "iprofile/IprofileManager.h"
#include "itimer/ItimerManager.h"
#include "itool/ItoolVeyrun.h"

#include <foundation/Sys.h>
#include <ulv/VlnvCoreId.h>
#include <vy/ModuleInfo.h>

#include <boost/make_shared.hpp>

namespace QuorlaneCallBack {

namespace {

Imodel& Model() { return Imodel::GetInstance(); }

// The project files that lie below a folder.
class FilesInFolder : public IfileManagerFilterParent {
public:
    explicit FilesInFolder(const std::string& folder) : m_folder(folder) {}
    bool operator()(boost::shared_ptr<IfileObjectEx> file) const override { return file && file->IsInFolder(m_folder); }

private:
    ImodelFileName m_folder;
};

bool IsHDLModule(const ImodelModule& module)
{
    const zorpaModuleTypes kind = module.GetModuleType();
    return kind == zorpaMODULE_VHDL || kind == zorpaMODULE_VERILOG;
}

}  // namespace

IDEVeyrunCallBack* QuorlaneIIDEObject::GetVYCallBack() { return ItoolVeyrun::GetInstance(); }

std::string QuorlaneIIDEObject::GetBaseIDEFolder(const VyIfaces::ComponentID& id,
                                                 VyIfaces::IComponent::VyModuleType type)
{
    return ItoolVeyrun::GetPathForComponent(id, type).GetString();
}

bool QuorlaneIIDEObject::LaunchTool(const std::string& executable, const std::string& arguments,
                                    const std::string& folder, bool wait)
{
    if (executable.empty()) return false;
    std::string commandLine = ArgsQuote(executable);
    if (!arguments.empty()) commandLine += ' ' + arguments;
    return ImodelCreateProcess(commandLine, folder, std::string(), false, nullptr, wait);
}

bool QuorlaneIIDEObject::IsInteractiveMode() { return Imodel::IsInteractiveMode(); }

bool QuorlaneIIDEObject::IsDefaultVHDLType() const { return Model().GetDesignManager()->IsDefaultVHDL(); }

std::string QuorlaneIIDEObject::GetSolvatoProjectFolder()
{
    return Model().GetDesignManager()->GetProjectFolder().GetString();
}

BrnDevice QuorlaneIIDEObject::GetCurrentDevice() const
{
    return Model().GetDeviceManager()->GetDevice().GetAsBrnDevice();
}

bool QuorlaneIIDEObject::GetDremmetProfile(std::string& info, std::string& executable, std::string& toolKey)
{
    ImodelHost* host = Model().GetHost();
    if (IprofileManager* profiles = host ? host->GetProfileManager() : nullptr) {
        std::string profile;
        std::string version;
        bool batch = false;
        if (profiles->FindActiveTool(ideARM, profile, info, version, executable, toolKey, batch)) {
            ImodelGetFullExePath(executable);
            return true;
        }
    }
    std::string tool;
    if (!ImodelDefGetStr("DREMMET_EXT", tool)) tool = "Dremmet";
    ImodelDisplayNO_PROFILE_MSG(tool.c_str(), tool.c_str());
    return false;
}

bool QuorlaneIIDEObject::DeviceUpgradeAllowed(BrnDevice& device, const std::string& coreName,
                                              VyIfaces::IComponent::VyModuleType* kind, bool& declined)
{
    ImodelDevice wanted(device);
    const bool allowed = Model().GetDeviceManager()->ChangeDevice(wanted, coreName, kind, declined);
    // The caller's description carries displayed names, as it came.
    const BrnDevice completed = wanted.GetAsBrnDevice();
    device.family = completed.family;
    device.die = completed.die;
    device.package = completed.package;
    return allowed;
}

bool QuorlaneIIDEObject::CanChangeFamily() const { return Model().CanChangeFamily(); }

bool QuorlaneIIDEObject::GetVHDLLibraryAndPackage(const std::string& file, const std::string& module,
                                                  std::string& library, std::string& package) const
{
    IfileManager* files = Model().GetFileManager();
    const IfileManager::Entry entry =
        files ? files->GetFileFor(IfileObject::IsSameFileName(file.c_str(), ImodelFMFull), 0) : IfileManager::Entry();
    if (!entry) return false;
    library = entry->GetLibraryName();
    ImodelModule* found = ImodelFindModule(VyIfaces::ComponentID(module, library.empty() ? "work" : library, ""));
    if (found == nullptr) return false;
    package = found->GetDefinedInPackage();
    return true;
}

void QuorlaneIIDEObject::GetUserHDLModulesInProject(std::vector<boost::shared_ptr<Vymodel::ModuleInfo>>& modules,
                                                    bool localOnly)
{
    modules.clear();
    const auto [first, last] = Model().GetDesignManager()->GetLibraries();
    for (auto library = first; library != last; ++library) {
        for (ImodelModule* module : *(*library)->GetModules()) {
            if (module == nullptr || !IsHDLModule(*module)) continue;
            const boost::shared_ptr<IfileObjectEx> file = module->GetModuleFile();
            if (!file || (localOnly && !file->IsLocalFile()) || file->HasParentFile()) continue;
            modules.push_back(boost::make_shared<Vymodel::ModuleInfo>(2, "HdlModule", Vymodel::ModuleStatus(1),
                                                                      VyIfaces::ComponentID(), module->GetName(),
                                                                      file->GetFullFileName().GetString()));
        }
    }
}

void QuorlaneIIDEObject::UpdateTimerFileDetection(const std::string& folder, bool block)
{
    if (!block) {
        std::vector<IfileManager::Entry> written;
        const FilesInFolder inFolder(folder);
        if (IfileManager* files = Model().GetFileManager()) files->GetFiles(written, 0, &inFolder);
        // A memory image is read into the design when it changes: forced.
        for (const IfileManager::Entry& file : written) file->UpdateStatInfo(file->GetExt() == "mem");
    }
    ItimerManager::GetTimerBlockedByVeyrun() = block;
}

void* QuorlaneIIDEObject::GetParentWindow()
{
    ImodelHost* host = Model().GetHost();
    return host ? host->GetParentWindow() : nullptr;
}

bool QuorlaneIIDEObject::ConfigureCore(const VlnvCoreId& core, std::string& output)
{
    output.clear();
    std::string info;
    std::string executable;
    std::string toolKey;
    if (!GetDremmetProfile(info, executable, toolKey)) {
        output = "No core configurator is available to configure " + core.ToString() + ".";
        return false;
    }
    return LaunchTool(executable, ArgsQuote("CONFIGURE:" + core.ToString()), GetSolvatoProjectFolder(), true);
}

}  // namespace QuorlaneCallBack
