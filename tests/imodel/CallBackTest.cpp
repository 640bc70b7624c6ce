#include "CoreServicesTestSupport.h"
#include "MessageRecorder.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/QuorlaneCallBack.h"
#include "iprofile/IprofileManager.h"
#include "itool/ItoolVeyrun.h"

#include <vy/ModuleInfo.h>

#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using QuorlaneCallBack::QuorlaneIIDEObject;
using Modules = std::vector<boost::shared_ptr<Vymodel::ModuleInfo>>;

class CallBackTest : public CoreServicesFixture {
protected:
    // A member file of that full name, alive for the rest of the test.
    boost::shared_ptr<IfileObjectEx> File(const std::string& fullName)
    {
        auto file = boost::make_shared<IfileObjectEx>(
            IfileObject(ImodelFileName(fullName), zorpaFT_HDL, ImodelFMFull, true, false), false);
        m_files.push_back(file);
        return file;
    }
    // A unit put into the library, which owns it from then on.
    ImodelModule* AddUnit(const std::string& library, const std::string& name, boost::shared_ptr<IfileObjectEx> file,
                          zorpaModuleTypes kind = zorpaMODULE_VHDL, const std::string& package = "")
    {
        auto unit = std::make_unique<ImodelModule>(name, file, kind, false, library, package, false);
        return design.AddLibrary(library, false)->GetModules()->Insert(std::move(unit)).first;
    }
    // A project file registered with the file manager (written on disk).
    IfileManager::Entry AddProjectFile(const std::string& relative, const std::string& content)
    {
        project.Write(relative, content);
        return model.GetFileManager()->AddOrUpdateFile(
            IfileObjectEx(IfileObject(relative, zorpaFT_UNKNOWN, ImodelFMRelative, false, true), false), false);
    }

    QuorlaneIIDEObject callback;

private:
    std::vector<boost::shared_ptr<IfileObjectEx>> m_files;
};

std::vector<std::string> Describe(const Modules& modules)
{
    std::vector<std::string> lines;
    for (const auto& info : modules) {
        EXPECT_EQ(info->GetKind(), 2);
        EXPECT_EQ(info->GetType(), "HdlModule");
        EXPECT_EQ(info->GetStatus().GetState(), 1);
        EXPECT_TRUE(info->GetComponentID().IsDefault());
        lines.push_back(info->GetModuleName() + " " + info->GetFileName());
    }
    return lines;
}

// A host whose launcher records what it is handed.
class ToolLaunchingHost : public RecordingHost {
public:
    ToolLaunchingHost() { launchesProcesses = true; }
    bool LaunchProcess(const std::string& commandLine, const std::string& startFolder, bool flag,
                       std::string* output) override
    {
        RecordingHost::LaunchProcess(commandLine, startFolder, flag, output);
        launched = commandLine + " | " + startFolder + " | " + (flag ? "wait" : "no wait");
        return true;
    }
    std::string launched;
};

// A profile manager with one active tool.
class OneToolProfiles : public IprofileManager {
public:
    bool FindActiveTool(ImodelFunctionType kind, std::string& profile, std::string& info, std::string& version,
                        std::string& executable, std::string& toolKey, bool& batch) override
    {
        askedKind = kind;
        profile = "p";
        info = "configurator";
        version = "1";
        executable = "sh";
        toolKey = "DREMMET_EXT";
        batch = false;
        return true;
    }
    void BeginProjectRead() override {}
    void EndProjectRead() override {}
    void AddProjectProfile(ImodelFunctionType, const std::string&, const std::string&, const std::string&,
                           const std::string&, bool) override
    {
    }
    void GetProjectProfile(ImodelFunctionType, std::string&, std::string&, std::string&, std::string&, std::string&,
                           bool&) override
    {
    }
    const std::vector<IprofileManagedProfile>& GetProfileList() const override { return m_profiles; }

    int askedKind = -1;

private:
    std::vector<IprofileManagedProfile> m_profiles;
};

class ProfileHost : public RecordingHost {
public:
    IprofileManager* GetProfileManager() override { return &profiles; }
    OneToolProfiles profiles;
};

}  // namespace

TEST_F(CallBackTest, TheProjectsOwnTopHdlModulesAreListedLibraryByLibrary)
{
    const std::string outside = "/elsewhere/linked.vhd";
    AddUnit("work", "alu", File(project / "hdl/alu.vhd"));
    AddUnit("work", "ctrl", File(project / "hdl/ctrl.v"), zorpaMODULE_VERILOG);
    AddUnit("work", "board", File(project / "sch/board.sch"), zorpaMODULE_SCHEMATIC);
    AddUnit("work", "linked", File(outside));
    AddUnit("work", "nofile", nullptr);
    auto included = File(project / "hdl/inc.v");
    included->AddParentFile(
        IfileObject(ImodelFileName(project / "hdl/ctrl.v"), zorpaFT_HDL, ImodelFMFull, true, false));
    AddUnit("work", "inner", included, zorpaMODULE_VERILOG);
    AddUnit("lib2", "fir", File(project / "hdl/fir.vhd"));

    Modules modules{boost::make_shared<Vymodel::ModuleInfo>(0, "stale", Vymodel::ModuleStatus(0),
                                                            VyIfaces::ComponentID(), "stale", "")};
    callback.GetUserHDLModulesInProject(modules, false);
    EXPECT_EQ(Describe(modules),
              (std::vector<std::string>{"alu " + (project / "hdl/alu.vhd"), "ctrl " + (project / "hdl/ctrl.v"),
                                        "linked " + outside, "fir " + (project / "hdl/fir.vhd")}));

    callback.GetUserHDLModulesInProject(modules, true);
    EXPECT_EQ(Describe(modules),
              (std::vector<std::string>{"alu " + (project / "hdl/alu.vhd"), "ctrl " + (project / "hdl/ctrl.v"),
                                        "fir " + (project / "hdl/fir.vhd")}));
}

TEST_F(CallBackTest, TheLibraryAndPackageOfAModuleComeFromItsProjectFile)
{
    IfileManager::Entry file = AddProjectFile("hdl/pkg.vhd", "-- vhdl\n");
    ASSERT_TRUE(file);
    file->SetLibraryName("mylib");
    AddUnit("mylib", "adder", file, zorpaMODULE_VHDL, "arith");

    std::string library = "old";
    std::string package = "old";
    EXPECT_TRUE(callback.GetVHDLLibraryAndPackage(project / "hdl/pkg.vhd", "ADDER", library, package));
    EXPECT_EQ(library, "mylib");
    EXPECT_EQ(package, "arith");

    // A file of the project whose module is missing: the library only.
    library = package = "old";
    EXPECT_FALSE(callback.GetVHDLLibraryAndPackage(project / "hdl/pkg.vhd", "missing", library, package));
    EXPECT_EQ(library, "mylib");
    EXPECT_EQ(package, "old");

    // A file the project does not have: nothing.
    library = "old";
    EXPECT_FALSE(callback.GetVHDLLibraryAndPackage(project / "hdl/other.vhd", "adder", library, package));
    EXPECT_EQ(library, "old");
}

TEST_F(CallBackTest, ALaunchedToolRunsWithItsArgumentsInItsFolder)
{
    const std::string folder = project / "run";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(callback.LaunchTool("/bin/sh", "-c \"pwd > where.txt\"", folder, true));
    EXPECT_EQ(project.Read("run/where.txt"), folder + "\n");

    // An executable whose path holds a blank stays one word.
    const std::string tool = project.Write("my tools/tool.sh", "#!/bin/sh\necho \"$1|$2\" > out.txt\n");
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
    EXPECT_TRUE(callback.LaunchTool(tool, "\"two words\" three", folder, false));
    EXPECT_EQ(project.Read("run/out.txt"), "two words|three\n");

    // A failing tool, a missing one, none at all.
    EXPECT_FALSE(callback.LaunchTool("/bin/sh", "-c \"exit 3\"", folder, true));
    EXPECT_FALSE(callback.LaunchTool(project / "missing", "", folder, true));
    EXPECT_FALSE(callback.LaunchTool("", "x", folder, true));

    // A host that launches programs gets the command line and the folder.
    ToolLaunchingHost host;
    EXPECT_TRUE(callback.LaunchTool("/opt/tool", "-a b", "/work/folder", true));
    EXPECT_EQ(host.launched, "/opt/tool -a b | /work/folder | wait");
    EXPECT_TRUE(callback.LaunchTool("/opt/my tool", "", "/work/folder", false));
    EXPECT_EQ(host.launched, "\"/opt/my tool\" | /work/folder | no wait");
}

TEST_F(CallBackTest, TheFileWatcherIsBlockedWhileALibraryWritesAndTheWrittenFilesAreTakenAsTheyAre)
{
    IfileManager::Entry data = AddProjectFile("ip/data.txt", "1");
    IfileManager::Entry image = AddProjectFile("ip/image.mem", "1");
    IfileManager::Entry other = AddProjectFile("other/x.txt", "1");
    ASSERT_TRUE(data && image && other);
    ASSERT_NE(data->GetStatInfo(), nullptr);

    callback.UpdateTimerFileDetection(project / "ip", true);
    EXPECT_TRUE(ItimerManager::GetTimerBlockedByVeyrun());
    project.Write("ip/data.txt", "written");
    project.Write("ip/image.mem", "written");
    project.Write("other/x.txt", "written");
    // Blocking touches no file.
    EXPECT_EQ(data->GetStatInfo()->size, 1);

    callback.UpdateTimerFileDetection(project / "ip", false);
    EXPECT_FALSE(ItimerManager::GetTimerBlockedByVeyrun());
    // Ordinary files take their new stamps; a memory image is forced to be
    // read again; files elsewhere are left to the watcher.
    EXPECT_EQ(data->GetStatInfo()->size, 7);
    EXPECT_EQ(image->GetStatInfo()->size, 0);
    EXPECT_EQ(other->GetStatInfo()->size, 1);
}

TEST_F(CallBackTest, TheCoreConsoleProfileComesFromTheHostOrIsReportedMissing)
{
    std::string info;
    std::string executable;
    std::string key;
    {
        MessageRecorder messages;
        EXPECT_FALSE(callback.GetDremmetProfile(info, executable, key));
        ASSERT_EQ(messages.WithId("NO_PROFILE").size(), 1u);
        EXPECT_NE(messages.WithId("NO_PROFILE")[0].text.find("Dremmet"), std::string::npos);

        DefSetFL("DREMMET_EXT", "Configurator");
        EXPECT_FALSE(callback.GetDremmetProfile(info, executable, key));
        ASSERT_EQ(messages.WithId("NO_PROFILE").size(), 2u);
        EXPECT_NE(messages.WithId("NO_PROFILE")[1].text.find("Configurator"), std::string::npos);
    }

    ProfileHost host;
    MessageRecorder messages;
    EXPECT_TRUE(callback.GetDremmetProfile(info, executable, key));
    EXPECT_EQ(host.profiles.askedKind, 17);
    EXPECT_EQ(info, "configurator");
    EXPECT_EQ(key, "DREMMET_EXT");
    // The executable comes back as a full path.
    EXPECT_EQ(executable.front(), '/');
    EXPECT_TRUE(std::filesystem::exists(executable));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(CallBackTest, FoldersOfComponentsAreMadeInTheProjectByKind)
{
    const VyIfaces::ComponentID id("fifo", "mylib", "");
    EXPECT_EQ(callback.GetBaseIDEFolder(id, VyIfaces::IComponent::Kiltora), project / "kiltora");
    EXPECT_EQ(callback.GetBaseIDEFolder(id, VyIfaces::IComponent::IP), project / "dremmet");
    EXPECT_EQ(callback.GetBaseIDEFolder(id, VyIfaces::IComponent::HDL), project / "component/mylib");
    EXPECT_EQ(callback.GetBaseIDEFolder(id, VyIfaces::IComponent::Veyrun), project / "component/mylib");
    EXPECT_TRUE(std::filesystem::is_directory(project / "component/mylib"));
    EXPECT_TRUE(std::filesystem::is_directory(project / "dremmet"));
    EXPECT_EQ(callback.GetBaseIDEFolder(id, VyIfaces::IComponent::GenericCore), "");
    EXPECT_EQ(callback.GetBaseIDEFolder(id, VyIfaces::IComponent::BrennicCell), "");

    // A library is one folder: it never leads out of "component".
    for (const char* library : {"..", "a/b", "..\\x", ""})
        EXPECT_EQ(callback.GetBaseIDEFolder(VyIfaces::ComponentID("fifo", library, ""), VyIfaces::IComponent::Block),
                  "")
            << library;
    EXPECT_FALSE(std::filesystem::exists(project / "a"));

    // No project, no folder.
    design.SetProjectFolder(ImodelFileName());
    EXPECT_EQ(callback.GetBaseIDEFolder(id, VyIfaces::IComponent::Kiltora), "");
}

TEST_F(CallBackTest, TheProjectIsDescribedAsTheModelHasIt)
{
    EXPECT_EQ(callback.GetVYCallBack(), static_cast<IDEVeyrunCallBack*>(ItoolVeyrun::GetInstance()));
    EXPECT_NE(callback.GetVYCallBack(), nullptr);
    EXPECT_EQ(callback.GetSolvatoProjectFolder(), project.Path());
    EXPECT_TRUE(callback.IsDefaultVHDLType());
    design.SetDefaultVHDL(false);
    EXPECT_FALSE(callback.IsDefaultVHDLType());
    EXPECT_FALSE(callback.IsInteractiveMode());
    Imodel::SetIsInteractiveMode(true);
    EXPECT_TRUE(callback.IsInteractiveMode());

    // The device with the displayed names of die and package.
    ASSERT_TRUE(DefLoadDefaultsFromText("@ext zx7a = ZX7 A\n@ext pq208 = PQ 208\n"));
    const BrnDevice device = callback.GetCurrentDevice();
    EXPECT_EQ(device.family, "ZX7");
    EXPECT_EQ(device.die, "ZX7 A");
    EXPECT_EQ(device.package, "PQ 208");

    // A project without files may change family.
    EXPECT_TRUE(callback.CanChangeFamily());
    EXPECT_EQ(callback.GetParentWindow(), nullptr);
    RecordingHost host;
    EXPECT_EQ(callback.GetParentWindow(), nullptr);
    EXPECT_EQ(host.Calls().back(), "GetParentWindow");
}

TEST_F(CallBackTest, ADeviceUpgradeFollowsTheDeviceManager)
{
    // The catalogue knows no family: the device is refused as it is.
    BrnDevice device("NOPE", "d1", "p1");
    bool declined = false;
    MessageRecorder messages;
    EXPECT_FALSE(callback.DeviceUpgradeAllowed(device, "fifo", nullptr, declined));
    EXPECT_FALSE(declined);
    EXPECT_EQ(device.family, "NOPE");
    EXPECT_EQ(device.die, "d1");
    EXPECT_EQ(device.package, "p1");
}
