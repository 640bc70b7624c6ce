#include "CoreServicesTestSupport.h"

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
#include <string>
#include <vector>

namespace {

using QuorlaneCallBack::QuorlaneIIDEObject;

class CallBackTest : public CoreServicesFixture {
protected:
    // A project file registered with the file manager (written on disk).
    IfileManager::Entry AddProjectFile(const std::string& relative, const std::string& content)
    {
        project.Write(relative, content);
        return model.GetFileManager()->AddOrUpdateFile(
            IfileObjectEx(IfileObject(relative, zorpaFT_UNKNOWN, ImodelFMRelative, false, true), false), false);
    }

    QuorlaneIIDEObject callback;
};

// A host whose launcher records what it is handed.
class ToolLaunchingHost : public RecordingHost {
public:
    ToolLaunchingHost() { launchesProcesses = true; }
    bool LaunchProcess(const std::string& commandLine, const std::string& startFolder, bool flag, std::string*) override
    {
        launched = commandLine + " | " + startFolder + " | " + (flag ? "wait" : "no wait");
        return true;
    }
    std::string launched;
};

}  // namespace

TEST_F(CallBackTest, ALaunchedToolRunsWithItsArgumentsInItsFolder)
{
    // An executable whose path holds a blank stays one word (exit status and
    // start folder are ImodelSystemCall's, checked in ProcessLaunchTest).
    const std::string folder = project / "run";
    std::filesystem::create_directories(folder);
    const std::string tool = project.Write("my tools/tool.sh", "#!/bin/sh\necho \"$1|$2\" > out.txt\n");
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
    EXPECT_TRUE(callback.LaunchTool(tool, "\"two words\" three", folder, false));
    EXPECT_EQ(project.Read("run/out.txt"), "two words|three\n");

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

TEST_F(CallBackTest, FoldersOfComponentsAreMadeInTheProjectByKind)
{
    const VyIfaces::ComponentID id("fifo", "mylib", "");
    EXPECT_EQ(callback.GetBaseIDEFolder(id, VyIfaces::IComponent::Kiltora), project / "kiltora");
    EXPECT_EQ(callback.GetBaseIDEFolder(id, VyIfaces::IComponent::IP), project / "dremmet");
    EXPECT_EQ(callback.GetBaseIDEFolder(id, VyIfaces::IComponent::Veyrun), project / "component/mylib");
    EXPECT_TRUE(std::filesystem::is_directory(project / "component/mylib"));
    EXPECT_EQ(callback.GetBaseIDEFolder(id, VyIfaces::IComponent::BrennicCell), "");
    // A library is one folder: it never leads out of "component".
    for (const char* library : {"..", "a/b", "..\\x", ""})
        EXPECT_EQ(callback.GetBaseIDEFolder(VyIfaces::ComponentID("fifo", library, ""), VyIfaces::IComponent::Block),
                  "")
            << library;
    design.SetProjectFolder(ImodelFileName());
    EXPECT_EQ(callback.GetBaseIDEFolder(id, VyIfaces::IComponent::Kiltora), "");
}
