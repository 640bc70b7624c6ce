// Starting outside programs: the exact argument vector, quoted program
// paths, exit status, start folder, messages and the search path.
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelProcess.h"

#include "MessageRecorder.h"
#include "OptionsScope.h"
#include "TempFolder.h"

#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

// Writes every argument on a line of its own to "args.txt" and the folder it
// runs in to "where.txt", both in its working folder; exits with its status.
const char* const kRecorder = "#!/bin/sh\n"
                              "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > args.txt\n"
                              "pwd -P > where.txt\n"
                              "exit 0\n";

std::string Executable(const TempFolder& folder, const std::string& name, const std::string& script)
{
    const std::string path = folder.Write(name, script);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path;
}

// Sets an environment variable for the length of a test.
class EnvironmentGuard {
public:
    EnvironmentGuard(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name)) m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~EnvironmentGuard()
    {
        if (m_old)
            setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

using ProcessLaunchTest = OptionsFixture;

TEST_F(ProcessLaunchTest, ACommandLineBecomesTheExactArgumentVectorInItsStartFolder)
{
    TempFolder folder;
    const std::string program = Executable(folder, "my tools/record", kRecorder);
    std::filesystem::create_directories(folder / "run here");
    const std::string before = CwdirGetCurrentDirectory();
    int status = -7;
    EXPECT_TRUE(ImodelSystemCall("\"" + program + "\" -a  \"two words\" \"\"", &status, folder / "run here"));
    EXPECT_EQ(0, status);
    EXPECT_EQ("-a\ntwo words\n\n", folder.Read("run here/args.txt"));
    EXPECT_EQ(std::filesystem::canonical(folder / "run here").string(),
              UtlTrimRightString(folder.Read("run here/where.txt"), "\n"));
    EXPECT_EQ(before, CwdirGetCurrentDirectory());
    // A line without a blank is the program alone: it is not its own argument.
    const std::string plain = Executable(folder, "record", kRecorder);
    EXPECT_TRUE(ImodelSystemCall(plain, nullptr, folder.Path()));
    EXPECT_EQ("", folder.Read("args.txt"));
}

TEST_F(ProcessLaunchTest, ExitStatusAndFailuresToStart)
{
    TempFolder folder;
    const std::string failing = Executable(folder, "fail", "#!/bin/sh\nexit 3\n");
    int status = 0;
    EXPECT_FALSE(ImodelSystemCall(failing + " arg", &status));
    EXPECT_EQ(3, status);

    status = 0;
    EXPECT_FALSE(ImodelSystemCall(folder / "missing", &status));
    EXPECT_EQ(-1, status);
    status = 0;
    EXPECT_FALSE(ImodelSystemCall("", &status));
    EXPECT_EQ(-1, status);
    EXPECT_FALSE(ImodelSystemCall("   ", nullptr));
    EXPECT_FALSE(ImodelSystemCall(Executable(folder, "ok", kRecorder), nullptr, folder / "no such folder"));
}

TEST_F(ProcessLaunchTest, CreateProcessAnnouncesAndReportsTheTool)
{
    TempFolder folder;
    const std::string program = Executable(folder, "record", kRecorder);
    MessageRecorder messages;
    EXPECT_TRUE(ImodelCreateProcess(program + " -batch", folder.Path(), "Simulator", false, nullptr, false));
    EXPECT_EQ("-batch\n", folder.Read("args.txt"));
    EXPECT_FALSE(ImodelCreateProcess(folder / "missing", "", "Simulator", false, nullptr, false));
    EXPECT_FALSE(ImodelCreateProcess(folder / "missing", "", "Synthesis", true, nullptr, false));
    EXPECT_FALSE(ImodelCreateProcess(folder / "missing", "", "", true, nullptr, false));  // no name: nothing said
    EXPECT_EQ(
        messages.Texts(),
        (std::vector<std::string>{
            "Starting Simulator...", "Starting Simulator...", "Unable to start Simulator.", "Starting Synthesis...",
            "Unable to start Synthesis.\nFrom the Project menu, select 'Profile...' and change the Synthesis "
            "profile."}));
}

TEST_F(ProcessLaunchTest, FullExePathSearchesPathElementsInOrder)
{
    TempFolder folder;
    std::filesystem::create_directories(folder / "first");
    const std::string tool = Executable(folder, "second/tool", kRecorder);
    Executable(folder, "third/tool", kRecorder);

    const std::string search = ":" + folder / "first" + "::" + folder / "second/" + ":" + folder / "third";
    EnvironmentGuard path("PATH", search.c_str());
    std::string name = "tool";
    EXPECT_TRUE(ImodelGetFullExePath(name));
    EXPECT_EQ(tool, name);

    // A name with a folder that exists stays as it is.
    std::string withFolder = tool;
    EXPECT_TRUE(ImodelGetFullExePath(withFolder));
    EXPECT_EQ(tool, withFolder);

    // Nothing is appended on this platform, and a name not found keeps its
    // normalised separators.
    std::string missing = "sub\\tool.exe";
    EXPECT_FALSE(ImodelGetFullExePath(missing));
    EXPECT_EQ("sub/tool.exe", missing);
    std::string empty;
    EXPECT_FALSE(ImodelGetFullExePath(empty));

    EnvironmentGuard noPath("PATH", nullptr);
    name = "tool";
    EXPECT_FALSE(ImodelGetFullExePath(name));
    EXPECT_EQ("tool", name);
}

}  // namespace
