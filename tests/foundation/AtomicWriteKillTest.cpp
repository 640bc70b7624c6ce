// The atomic write under a writer that is killed at any moment: the target
// is always one whole version, and the temporary file the killed writer
// leaves is gone after the next write of the same target.
#include "TempFolder.h"

#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

// Version n: a header that tells its length and letter, then that letter,
// some tens of kilobytes of it, so that a torn write cannot pass as whole.
std::string Version(unsigned n)
{
    const char letter = static_cast<char>('a' + n % 26);
    const std::size_t length = 20000 + (n * 7919) % 40000;
    return std::to_string(length) + " " + letter + "\n" + std::string(length, letter);
}

bool IsWholeVersion(const std::string& text)
{
    const std::size_t blank = text.find(' ');
    const std::size_t end = text.find('\n');
    if (blank == std::string::npos || end != blank + 2) return false;
    const std::size_t length = std::stoul(text.substr(0, blank));
    const char letter = text[blank + 1];
    return text.size() == end + 1 + length && text.find_first_not_of(letter, end + 1) == std::string::npos;
}

// The files beside the target: temporary files of its writers.
std::vector<std::string> Beside(const std::string& folder, const std::string& target)
{
    std::vector<std::string> names;
    SysListFolder(folder, names);
    std::erase(names, target);
    return names;
}

}  // namespace

TEST(AtomicWriteKill, AKilledWriterLeavesTheTargetWholeAndNoTemporaryBehind)
{
    TempFolder folder;
    const std::string target = folder / "project.prj";
    ASSERT_TRUE(SysWriteFileAtomically(target, Version(0)));
    std::mt19937 random(1206);
    // A loaded machine may not run the writer up to its first temporary
    // within the window: rounds go on, the window widening, until one has.
    int window = 4000;
    int killedWithATemporary = 0;
    for (int round = 1; round <= 40 || (killedWithATemporary == 0 && round <= 400); ++round) {
        // The writer tells when it begins, so that the kill lands among its
        // writes however late a loaded machine runs it.
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t writer = ::fork();
        ASSERT_NE(writer, -1);
        if (writer == 0) {
            ::close(started[0]);
            const char ready = 1;
            if (::write(started[1], &ready, 1) != 1) ::_exit(1);
            for (unsigned n = static_cast<unsigned>(round) * 1000;; ++n) SysWriteFileAtomically(target, Version(n));
        }
        ::close(started[1]);
        char ready = 0;
        ASSERT_EQ(::read(started[0], &ready, 1), 1);
        ::close(started[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % window));
        ::kill(writer, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(writer, &status, 0), writer);

        std::string text;
        ASSERT_TRUE(SysReadFile(target, text));
        EXPECT_TRUE(IsWholeVersion(text)) << "round " << round << ": " << text.size() << " bytes";
        const std::vector<std::string> left = Beside(folder.Path(), "project.prj");
        EXPECT_LE(left.size(), 1u) << "round " << round;
        killedWithATemporary += !left.empty();
        if (killedWithATemporary == 0 && round % 10 == 0) window = std::min(window * 2, 1000000);

        ASSERT_TRUE(SysWriteFileAtomically(target, Version(0)));
        EXPECT_TRUE(Beside(folder.Path(), "project.prj").empty()) << "round " << round;
        EXPECT_TRUE(SysReadFile(target, text) && text == Version(0));
    }
    // Most kills land inside a write: the take-over was tested.
    EXPECT_GT(killedWithATemporary, 0);
}
