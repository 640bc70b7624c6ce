// Starting child processes.
#include "foundation/Sys.h"

#include "TempFolder.h"

#include <chrono>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace {

// Runs a shell script with arguments: sh -c script sh args...
int RunShell(const std::string& script, const std::vector<std::string>& args, int* status,
             const std::string& folder = std::string(), SpnMode mode = SpnWAIT)
{
    std::vector<std::string> argv{"/bin/sh", "-c", script, "sh"};
    argv.insert(argv.end(), args.begin(), args.end());
    return SpnSpawn(argv, status, mode, folder);
}

}  // namespace

TEST(SpnSpawn, ReportsTheExitStatus)
{
    int status = -7;
    EXPECT_EQ(RunShell("exit 0", {}, &status), 1);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(RunShell("exit 3", {}, &status), 1);
    EXPECT_EQ(status, 3);
    // Killed by a signal: not a normal exit.
    EXPECT_EQ(RunShell("kill -9 $$", {}, &status), 1);
    EXPECT_EQ(status, -1);
    // Looked up in PATH.
    EXPECT_EQ(SpnSpawn({"sh", "-c", "exit 5"}, &status, SpnWAIT), 1);
    EXPECT_EQ(status, 5);
    EXPECT_EQ(SpnSpawn({"true"}, nullptr, SpnWAIT), 1);
}

TEST(SpnSpawn, PassesArgumentsExactly)
{
    TempFolder temp;
    const std::vector<std::string> args{"two words", "with \"quotes\"", "", "it's", "$HOME", "back\\slash", "*"};
    int status = -1;
    ASSERT_EQ(RunShell("printf '%s|' \"$@\" > args.txt", args, &status, temp.Path()), 1);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(temp.Read("args.txt"), "two words|with \"quotes\"||it's|$HOME|back\\slash|*|");
}

TEST(SpnSpawn, RunsInItsOwnFolder)
{
    TempFolder temp;
    const std::string before = CwdirGetCurrentDirectory();
    ASSERT_EQ(SysMkdir(temp / "work"), 0);
    int status = -1;
    ASSERT_EQ(SpnSpawn({"/bin/sh", "-c", "pwd -P > where.txt"}, &status, SpnWAIT, temp / "work"), 1);
    EXPECT_EQ(status, 0);
    char* real = ::realpath((temp / "work").c_str(), nullptr);
    ASSERT_NE(real, nullptr);
    EXPECT_EQ(temp.Read("work/where.txt"), std::string(real) + "\n");
    std::free(real);
    EXPECT_EQ(CwdirGetCurrentDirectory(), before);

    // A relative program path is found in the child's folder.
    temp.Write("work/tool.sh", "#!/bin/sh\nexit 4\n");
    ASSERT_EQ(::chmod((temp / "work/tool.sh").c_str(), 0755), 0);
    EXPECT_EQ(SpnSpawn({"./tool.sh"}, &status, SpnWAIT, temp / "work"), 1);
    EXPECT_EQ(status, 4);
    EXPECT_EQ(CwdirGetCurrentDirectory(), before);
}

TEST(SpnSpawn, ReportsWhatCannotStart)
{
    TempFolder temp;
    int status = 99;
    EXPECT_EQ(SpnSpawn({"quorlane-no-such-program-anywhere"}, &status, SpnWAIT), 0);
    EXPECT_EQ(SpnSpawn({temp / "missing"}, &status, SpnWAIT), 0);
    const std::string text = temp.Write("notes.txt", "not a program");
    EXPECT_EQ(SpnSpawn({text}, &status, SpnWAIT), 0);
    EXPECT_EQ(SpnSpawn({temp.Path()}, &status, SpnWAIT), 0);
    EXPECT_EQ(SpnSpawn({"/bin/sh", "-c", "exit 0"}, &status, SpnWAIT, temp / "no-such-folder"), 0);
    EXPECT_EQ(SpnSpawn({}, &status, SpnWAIT), 0);
    EXPECT_EQ(SpnSpawn({""}, &status, SpnWAIT), 0);
    EXPECT_EQ(status, 99);
}
