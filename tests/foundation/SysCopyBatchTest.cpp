// Copies made durable together: what a committed batch leaves is what the
// copies one by one leave, targets replaced in the order the copies were
// added; a copy that cannot be written leaves nothing, and a batch that
// goes uncommitted leaves the targets as they were and no temporary behind.
#include "TempFolder.h"

#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

TEST(SysCopyBatch, CommittedCopiesEqualTheirSourcesAndReplaceInOrder)
{
    TempFolder from;
    TempFolder to;
    std::mt19937 random(29);
    std::vector<std::string> sources;
    for (int i = 0; i < 40; ++i) {
        std::string text(random() % 70000, 'a');
        for (char& c : text) c = static_cast<char>('a' + random() % 26);
        sources.push_back(from.Write("s" + std::to_string(i) + ".v", text));
    }
    // The last copy onto t3: it keeps its source's permissions.
    ::chmod(sources[33].c_str(), 0600);
    to.Write("t1.v", "old text");

    SysCopyBatch batch;
    // Three sources onto t0, t1, ... with every fourth onto t1 again: the
    // last added wins, as copies one after another would.
    std::vector<std::string> expected(10);
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const std::size_t target = i % 4 == 0 ? 1 : i % 10;
        ASSERT_EQ(batch.Add(sources[i], to / ("t" + std::to_string(target) + ".v")), 0) << i;
        expected[target] = from.Read("s" + std::to_string(i) + ".v");
    }
    EXPECT_EQ(batch.Size(), sources.size());
    const std::vector<int> results = batch.Commit();
    EXPECT_EQ(results, std::vector<int>(sources.size(), 0));
    EXPECT_EQ(batch.Size(), 0u);
    for (std::size_t t = 0; t < expected.size(); ++t)
        EXPECT_EQ(to.Read("t" + std::to_string(t) + ".v"), expected[t]) << t;
    // Only the targets are left: every temporary became one.
    EXPECT_EQ(to.List().size(), expected.size());
    struct stat st;
    ASSERT_EQ(::stat((to / "t3.v").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(SysCopyBatch, CopiesThatCannotBeWrittenOrAreNotCommittedLeaveNothing)
{
    TempFolder from;
    TempFolder to;
    const std::string source = from.Write("a.v", "module a; endmodule\n");
    to.Write("kept.v", "kept");
    {
        SysCopyBatch batch;
        EXPECT_EQ(batch.Add(from / "missing.v", to / "m.v"), -1);
        EXPECT_EQ(batch.Add(source, to / "no_such_folder/a.v"), -1);
        EXPECT_EQ(batch.Add(from.Path(), to / "folder.v"), -1);  // not a regular file
        EXPECT_EQ(batch.Add(source, ""), -1);
        EXPECT_EQ(batch.Size(), 0u);
        EXPECT_EQ(batch.Add(source, to / "kept.v"), 0);
        EXPECT_EQ(batch.Add(source, to / "new.v"), 0);
        // Not committed: the batch goes with its temporaries.
    }
    EXPECT_EQ(to.List(), std::vector<std::string>{"kept.v"});
    EXPECT_EQ(to.Read("kept.v"), "kept");

    SysCopyBatch empty;
    EXPECT_TRUE(empty.Commit().empty());
    EXPECT_FALSE(empty.IsFull());
}

TEST(SysCopyBatch, AFullBatchStillCommitsEveryCopy)
{
    TempFolder from;
    TempFolder to;
    const std::string source = from.Write("a.v", "module a; endmodule\n");
    // Few descriptors: the batch is full early.
    struct rlimit before;
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &before), 0);
    struct rlimit few = before;
    few.rlim_cur = std::min<rlim_t>(before.rlim_cur, 256);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &few), 0);
    SysCopyBatch batch;
    ::setrlimit(RLIMIT_NOFILE, &before);
    int added = 0;
    // The batch says when it holds as many temporaries as it may.
    while (!batch.IsFull() && added < 5000)
        ASSERT_EQ(batch.Add(source, to / ("c" + std::to_string(added++) + ".v")), 0);
    EXPECT_TRUE(batch.IsFull());
    EXPECT_GE(added, 16);
    EXPECT_EQ(batch.Commit(), std::vector<int>(static_cast<std::size_t>(added), 0));
    EXPECT_EQ(to.List().size(), static_cast<std::size_t>(added));
}

// A copy stops reading its source at the size it saw, and gives the copy
// the source's permission bits whether or not a new file already has them:
// sizes around the read buffer and modes around the umask.
TEST(SysCopyBatch, CopiesOfEverySizeAroundTheBufferAndEveryModeEqualTheirSources)
{
    TempFolder from;
    TempFolder to;
    std::mt19937 random(2929);
    const std::vector<std::size_t> sizes = {0, 1, 4095, 65535, 65536, 65537, 131071, 131072, 131073, 300000};
    const std::vector<mode_t> modes = {0644, 0600, 0664, 0755, 0444, 0640, 0666};
    const mode_t umaskBefore = ::umask(022);
    for (const mode_t mask : {mode_t{022}, mode_t{077}, mode_t{002}}) {
        ::umask(mask);
        SysCopyBatch batch;
        std::vector<std::pair<std::string, std::string>> copies;  // source name, target name
        for (std::size_t i = 0; i < sizes.size() * 2; ++i) {
            std::string text(sizes[i % sizes.size()], ' ');
            for (char& c : text) c = static_cast<char>(random());
            const std::string name = "m" + std::to_string(mask) + "_" + std::to_string(i);
            const std::string source = from.Write(name, text);
            ASSERT_EQ(::chmod(source.c_str(), modes[random() % modes.size()]), 0);
            ASSERT_EQ(batch.Add(source, to / name), 0) << name;
            copies.emplace_back(source, name);
        }
        ASSERT_EQ(batch.Commit(), std::vector<int>(copies.size(), 0));
        for (const auto& [source, name] : copies) {
            EXPECT_EQ(to.Read(name), from.Read(name)) << name;
            struct stat original;
            struct stat copy;
            ASSERT_EQ(::stat(source.c_str(), &original), 0);
            ASSERT_EQ(::stat((to / name).c_str(), &copy), 0);
            EXPECT_EQ(copy.st_mode & 07777, original.st_mode & 07777) << name << " under umask " << mask;
        }
    }
    ::umask(umaskBefore);
}

// A temporary left by a killed writer, locked by nobody, is taken over and
// removed; one a live writer holds (locked) is left alone and the copy goes
// through a name of its own. Either way the target ends whole and no
// temporary of this batch stays behind.
TEST(SysCopyBatch, StaleTemporariesAreTakenOverAndLiveOnesLeftAlone)
{
    TempFolder from;
    TempFolder to;
    const std::string source = from.Write("a.v", "module a; endmodule\n");
    to.Write(".stale.v.tmp", "half a copy");
    const std::string live = to.Write(".live.v.tmp", "another writer's copy");
    const int held = ::open(live.c_str(), O_WRONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    {
        SysCopyBatch batch;
        ASSERT_EQ(batch.Add(source, to / "stale.v"), 0);
        ASSERT_EQ(batch.Add(source, to / "live.v"), 0);
        EXPECT_EQ(batch.Commit(), (std::vector<int>{0, 0}));
    }
    EXPECT_EQ(to.Read("stale.v"), from.Read("a.v"));
    EXPECT_EQ(to.Read("live.v"), from.Read("a.v"));
    EXPECT_EQ(to.Read(".live.v.tmp"), "another writer's copy");
    EXPECT_EQ(to.List(), (std::vector<std::string>{".live.v.tmp", "live.v", "stale.v"}));
    ::close(held);
}

// A target that is a symbolic link: written where it points, unless the
// copy is asked to replace the link; then the link becomes a file of its
// own and what it pointed to stays. Uncommitted, the link stays as it was.
TEST(SysCopyBatch, ALinkAtTheTargetIsWrittenThroughOrReplacedAsAsked)
{
    TempFolder from;
    TempFolder to;
    TempFolder elsewhere;
    const std::string source = from.Write("new.v", "module n; endmodule\n");
    const std::string outside = elsewhere.Write("o.v", "outside\n");
    for (const char* name : {"through.v", "replaced.v", "kept.v"})
        ASSERT_EQ(::symlink(outside.c_str(), (to / name).c_str()), 0);
    ASSERT_EQ(::symlink((elsewhere / "nothing.v").c_str(), (to / "dangling.v").c_str()), 0);
    {
        SysCopyBatch batch;
        ASSERT_EQ(batch.Add(source, to / "kept.v", true), 0);
    }
    struct stat st;
    ASSERT_EQ(::lstat((to / "kept.v").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));

    SysCopyBatch batch;
    ASSERT_EQ(batch.Add(source, to / "replaced.v", true), 0);
    ASSERT_EQ(batch.Add(source, to / "dangling.v", true), 0);
    EXPECT_EQ(batch.Commit(), std::vector<int>(2, 0));
    for (const char* name : {"replaced.v", "dangling.v"}) {
        ASSERT_EQ(::lstat((to / name).c_str(), &st), 0) << name;
        EXPECT_TRUE(S_ISREG(st.st_mode)) << name;
        EXPECT_EQ(to.Read(name), "module n; endmodule\n") << name;
    }
    EXPECT_EQ(elsewhere.Read("o.v"), "outside\n");
    EXPECT_EQ(elsewhere.List(), std::vector<std::string>{"o.v"});

    // Without the ask, the file pointed to takes the copy and the link stays.
    ASSERT_EQ(batch.Add(source, to / "through.v"), 0);
    EXPECT_EQ(batch.Commit(), std::vector<int>(1, 0));
    ASSERT_EQ(::lstat((to / "through.v").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(elsewhere.Read("o.v"), "module n; endmodule\n");
    // Only the links and the files: no temporary left in either folder.
    EXPECT_EQ(to.List(), (std::vector<std::string>{"dangling.v", "kept.v", "replaced.v", "through.v"}));
    EXPECT_EQ(elsewhere.List(), std::vector<std::string>{"o.v"});
}
