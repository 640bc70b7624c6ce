// Starting child processes: what the model's launches do not reach (signals,
// programs that cannot start, runs that collect output under a time limit);
// arguments and the start folder are checked through ImodelSystemCall in
// ProcessLaunchTest. With them, the private temporary files and the search
// for files below a folder.
#include "foundation/Sys.h"

#include "foundation/UtlAscii.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

TEST(SpnSpawn, ReportsTheExitStatusAndWhatCannotStart)
{
    int status = -7;
    EXPECT_EQ(SpnSpawn({"/bin/sh", "-c", "exit 3"}, &status, SpnWAIT), 1);
    EXPECT_EQ(status, 3);
    EXPECT_EQ(SpnSpawn({"/bin/sh", "-c", "kill -9 $$"}, &status, SpnWAIT), 1);  // killed: not a normal exit
    EXPECT_EQ(status, -1);
    EXPECT_EQ(SpnSpawn({"true"}, nullptr, SpnWAIT), 1);  // looked up in PATH

    TempFolder temp;
    status = 99;
    const std::string text = temp.Write("notes.txt", "not a program");
    for (const std::vector<std::string>& argv : std::vector<std::vector<std::string>>{
             {"quorlane-no-such-program-anywhere"}, {temp / "missing"}, {text}, {temp.Path()}, {}, {""}}) {
        EXPECT_EQ(SpnSpawn(argv, &status, SpnWAIT), 0) << (argv.empty() ? "<none>" : argv[0]);
    }
    EXPECT_EQ(SpnSpawn({"/bin/sh", "-c", "exit 0"}, &status, SpnWAIT, temp / "no-such-folder"), 0);
    EXPECT_EQ(status, 99);
}

namespace {

// Whether the process has ended, asked for a while: gone, or a zombie that
// waits for whoever inherited it to reap it.
bool HasEnded(pid_t pid)
{
    for (int attempt = 0; attempt < 200; ++attempt) {
        std::string stat;
        if (::kill(pid, 0) != 0 || !SysReadFile("/proc/" + std::to_string(pid) + "/stat", stat)) return true;
        const std::size_t close = stat.rfind(')');
        if (close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'Z') return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

}  // namespace

TEST(SpnRunCapture, CollectsOutputAndErrorsInTheirOrderWithTheExitStatus)
{
    TempFolder temp;
    SpnCaptureResult run = SpnRunCapture({"/bin/sh", "-c", "echo out; echo err >&2; pwd; exit 5"}, -1, temp.Path());
    EXPECT_TRUE(run.started);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitStatus, 5);
    EXPECT_EQ(run.output, "out\nerr\n" + SysGetRealPath(temp.Path()) + "\n");

    // The child's input is empty: a program that reads it ends at once.
    run = SpnRunCapture({"/bin/sh", "-c", "cat; echo read all"}, 10000);
    EXPECT_EQ(run.output, "read all\n");
    EXPECT_EQ(run.exitStatus, 0);

    // Output beyond the limit is read and dropped: the child is never held up.
    run = SpnRunCapture({"/bin/sh", "-c", "head -c 200000 /dev/zero | tr '\\0' x; echo; exit 0"}, -1, "", 1000);
    EXPECT_EQ(run.output, std::string(1000, 'x'));
    EXPECT_EQ(run.exitStatus, 0);

    for (const std::vector<std::string>& argv :
         std::vector<std::vector<std::string>>{{"quorlane-no-such-program-anywhere"}, {}, {temp.Path()}}) {
        run = SpnRunCapture(argv, 1000);
        EXPECT_FALSE(run.started);
        EXPECT_TRUE(run.output.empty());
    }
    EXPECT_FALSE(SpnRunCapture({"/bin/sh", "-c", "exit 0"}, 1000, temp / "no-such-folder").started);
}

TEST(SpnRunCapture, AChildPastItsTimeIsStoppedWithWhatItStarted)
{
    TempFolder temp;
    const std::string pidFile = temp / "sleeper";
    const SpnCaptureResult run =
        SpnRunCapture({"/bin/sh", "-c", "sleep 60 & echo $! > '" + pidFile + "'; echo started; wait"}, 300);
    EXPECT_TRUE(run.started);
    EXPECT_TRUE(run.timedOut);
    EXPECT_EQ(run.exitStatus, -1);
    EXPECT_EQ(run.output, "started\n");
    int sleeper = 0;
    ASSERT_TRUE(UtlConvertToInteger(temp.Read("sleeper").substr(0, temp.Read("sleeper").find('\n')), sleeper));
    EXPECT_TRUE(HasEnded(sleeper));
}

TEST(SpnRunCapture, AChildThatEndedIsNotWaitedForBecauseOfWhatItLeftRunning)
{
    // The program the child started keeps the output open; the child's end
    // ends the run all the same, long before the limit.
    const SpnCaptureResult run = SpnRunCapture({"/bin/sh", "-c", "(sleep 3) & echo parent"}, 60000);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.output, "parent\n");
}

TEST(SysWriteTemporaryFile, EachFileIsNewPrivateAndHoldsItsText)
{
    TempFolder temp;
    const char* before = std::getenv("TMPDIR");
    const std::string saved = before ? before : "";
    ::setenv("TMPDIR", temp.Path().c_str(), 1);
    std::set<std::string> names;
    for (int i = 0; i < 40; ++i) {
        std::string path;
        const std::string content = "line " + std::to_string(i) + "\n[x] $y \"z\"\n";
        ASSERT_TRUE(SysWriteTemporaryFile("packager-", ".tcl", content, path));
        EXPECT_TRUE(names.insert(path).second) << path;
        EXPECT_EQ(path.rfind(temp.Path() + "/packager-", 0), 0u) << path;
        EXPECT_EQ(path.substr(path.size() - 4), ".tcl");
        std::string read;
        ASSERT_TRUE(SysReadFile(path, read));
        EXPECT_EQ(read, content);
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
    }
    std::vector<std::string> listed;
    ASSERT_TRUE(SysListFolder(temp.Path(), listed));
    EXPECT_EQ(listed.size(), names.size());

    // A name that would lead elsewhere, or a folder where nothing can be
    // made: false, a reason, and no file.
    std::string path = "unchanged";
    std::string error;
    EXPECT_FALSE(SysWriteTemporaryFile("../escape-", ".tcl", "x", path, &error));
    EXPECT_EQ(path, "unchanged");
    EXPECT_FALSE(error.empty());
    ::setenv("TMPDIR", "/proc", 1);
    error.clear();
    EXPECT_FALSE(SysWriteTemporaryFile("packager-", ".tcl", "x", path, &error));
    EXPECT_NE(error.find("/proc"), std::string::npos) << error;
    ASSERT_TRUE(SysListFolder(temp.Path(), listed));
    EXPECT_EQ(listed.size(), names.size());
    if (before)
        ::setenv("TMPDIR", saved.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
}

TEST(SysFindFilesBelow, EachFileOnceInPathOrderWithinTheDepth)
{
    TempFolder temp;
    temp.Write("a/one.cxf", "");
    temp.Write("a/b/two.CXF", "");
    temp.Write("a/b/c/three.cxf", "");
    temp.Write("a/skip.txt", "");
    // A link back up would lead the walk round for ever.
    ASSERT_EQ(::symlink((temp / "a").c_str(), (temp / "a/b/loop").c_str()), 0);
    const auto cxf = [](const std::string& name) {
        return name.size() > 4 && UtlIsSameNoCase(std::string_view(name).substr(name.size() - 4), ".cxf");
    };
    EXPECT_EQ(SysFindFilesBelow(temp / "a", 16, cxf),
              (std::vector<std::string>{temp / "a/b/c/three.cxf", temp / "a/b/two.CXF", temp / "a/one.cxf"}));
    EXPECT_EQ(SysFindFilesBelow(temp / "a", 1, cxf),
              (std::vector<std::string>{temp / "a/b/two.CXF", temp / "a/one.cxf"}));
    EXPECT_TRUE(SysFindFilesBelow(temp / "missing", 16, cxf).empty());
}
