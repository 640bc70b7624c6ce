// A read-ahead answers status and read requests for its files exactly as the
// disk does, whatever order they come in: files present, missing, empty,
// too large to hold, folders and named pipes, read once or twice, asked for
// out of order and from other threads, with the texts read handed back for
// later files; nested read-aheads stay idle and nothing is answered from a
// read-ahead that ended.
#include "TempFolder.h"

#include "ifile/IfileReadAhead.h"
#include "ifile/IfileSeenStatuses.h"

#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <utility>
#include <vector>

namespace {

struct Answer {
    int stat = -1;
    SysStatInfo info;
    bool read = false;
    std::string text;
};

bool operator==(const Answer& a, const Answer& b)
{
    return a.stat == b.stat && (a.stat != 0 || a.info == b.info) && a.read == b.read && a.text == b.text;
}

Answer FromDisk(const std::string& path)
{
    Answer answer;
    answer.stat = SysPathStat(path, &answer.info);
    answer.read = SysReadFile(path, answer.text);
    return answer;
}

Answer FromReadAhead(const std::string& path)
{
    Answer answer;
    answer.stat = IfileStatPath(path, &answer.info);
    answer.read = IfileReadPath(path, answer.text);
    return answer;
}

class ReadAhead : public ::testing::Test {
protected:
    // Enough files for the helpers to run, of every kind.
    void MakeFiles(int count)
    {
        std::uniform_int_distribution<int> kind(0, 9);
        for (int i = 0; i < count; ++i) {
            const std::string name = "f" + std::to_string(i);
            switch (kind(m_random)) {
            case 0:
                m_paths.push_back(m_temp / name);  // missing
                break;
            case 1:
                m_paths.push_back(m_temp.Write(name, ""));
                break;
            case 2:
                m_paths.push_back(m_temp.Write(name + "/inner", "x").substr(0, (m_temp / name).size()));
                break;
            case 3:
                // Texts of a few kilobytes, some beyond the blocks handed back.
                m_paths.push_back(m_temp.Write(name, std::string(static_cast<std::size_t>(i * 37 % 20000), 'k')));
                break;
            default:
                m_paths.push_back(m_temp.Write(name, std::string(static_cast<std::size_t>(i % 97), 'a' + i % 26)));
                break;
            }
        }
        m_paths.push_back(m_temp.Write("large", std::string((1u << 20) + 1, 'L')));
        const std::string pipe = m_temp / "pipe";
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
        m_paths.push_back(pipe);
    }

    // Every file, some to be read; the last one read whatever `readSome`.
    IfileReadAhead::Files Listed(bool readSome, bool readLast = false) const
    {
        IfileReadAhead::Files files;
        for (std::size_t i = 0; i < m_paths.size(); ++i)
            files.Add(m_paths[i], (readSome && i % 3 != 0) || (readLast && i + 1 == m_paths.size()));
        return files;
    }

    std::mt19937 m_random{20261207};
    TempFolder m_temp;
    std::vector<std::string> m_paths;
};

}  // namespace

TEST_F(ReadAhead, AnswersAsTheDiskInAnyOrder)
{
    MakeFiles(600);
    std::vector<Answer> expected;
    for (const std::string& path : m_paths) {
        if (path.ends_with("/pipe")) {
            Answer pipe;
            pipe.stat = SysPathStat(path, &pipe.info);
            expected.push_back(pipe);  // its reading would wait for a writer
        } else {
            expected.push_back(FromDisk(path));
        }
    }
    // The usual limits, then a window of a few files and a budget of a few
    // bytes, so that texts are dropped behind the reader and helpers stop
    // at the budget.
    IfileReadAhead::Limits tiny;
    tiny.window = 8;
    tiny.batch = 2;
    tiny.maxBytesAhead = 64;
    tiny.minFilesForHelpers = 1;
    for (const auto& [readSome, limits] : {std::pair(true, IfileReadAhead::Limits()),
                                           std::pair(false, IfileReadAhead::Limits()), std::pair(true, tiny)}) {
        const IfileReadAhead readAhead(Listed(readSome), limits);
        // Mostly in order, with jumps back and ahead; some files twice.
        std::vector<std::size_t> order(m_paths.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        for (int swaps = 0; swaps < 60; ++swaps) {
            std::uniform_int_distribution<std::size_t> at(0, order.size() - 1);
            std::swap(order[at(m_random)], order[at(m_random)]);
        }
        order.insert(order.end(), order.begin(), order.begin() + 50);
        for (std::size_t index : order) {
            const std::string& path = m_paths[index];
            if (path.ends_with("/pipe")) {
                SysStatInfo info;
                EXPECT_EQ(IfileStatPath(path, &info), 0);
                EXPECT_TRUE(SysIsRegularFile(info) == false);
                continue;
            }
            Answer answer = FromReadAhead(path);
            EXPECT_EQ(answer, expected[index]) << path;
            // Its block holds a later file's text, whatever their sizes.
            IfileRecycleText(std::move(answer.text));
        }
        // A file the read-ahead does not list, and another thread, go to the disk.
        const std::string other = m_temp.Write("other", "other");
        EXPECT_EQ(FromReadAhead(other), FromDisk(other));
        std::thread([&] { EXPECT_EQ(FromReadAhead(m_paths[5]), FromDisk(m_paths[5])); }).join();
    }
}

TEST_F(ReadAhead, StatusIsTakenOnceAndNothingOutlivesTheReadAhead)
{
    MakeFiles(100);
    const std::string changing = m_temp.Write("changing", "before");
    m_paths.push_back(changing);
    {
        const IfileReadAhead outer(Listed(true, true));  // the changing file read
        // Made while another is current: idle, and the outer one still answers.
        IfileReadAhead::Files alone;
        alone.Add(changing, true);
        const IfileReadAhead inner(std::move(alone));
        // The text comes with the status taken before it; after the file
        // changes, the status stays the one taken, and the text, handed out
        // once, comes from the disk.
        std::string text;
        ASSERT_TRUE(IfileReadPath(changing, text));
        EXPECT_EQ(text, "before");
        SysStatInfo first;
        ASSERT_EQ(IfileStatPath(changing, &first), 0);
        EXPECT_EQ(first.size, 6);
        m_temp.Write("changing", "after, longer");
        SysStatInfo second;
        ASSERT_EQ(IfileStatPath(changing, &second), 0);
        EXPECT_EQ(second, first);
        ASSERT_TRUE(IfileReadPath(changing, text));
        EXPECT_EQ(text, "after, longer");
    }
    EXPECT_EQ(FromReadAhead(changing), FromDisk(changing));
}

// Every file asked for in the list's order, then, after each changed on
// disk, asked again in a random order: the status first taken answers, the
// file found in the list by its name however the requests jump.
TEST_F(ReadAhead, FilesAskedOutOfOrderAfterAnInOrderPassAreFoundInTheList)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 300; ++i)
        paths.push_back(m_temp.Write("f" + std::to_string(i), std::string(static_cast<std::size_t>(i % 7 + 1), 'x')));
    IfileReadAhead::Files listed;
    for (const std::string& path : paths) listed.Add(path, false);
    const IfileReadAhead readAhead(std::move(listed));
    std::vector<SysStatInfo> first(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) ASSERT_EQ(IfileStatPath(paths[i], &first[i]), 0) << paths[i];
    for (std::size_t i = 0; i < paths.size(); ++i) m_temp.Write("f" + std::to_string(i), std::string(20 + i, 'y'));
    std::vector<std::size_t> order(paths.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), m_random);
    for (std::size_t i : order) {
        SysStatInfo again;
        ASSERT_EQ(IfileStatPath(paths[i], &again), 0) << paths[i];
        EXPECT_EQ(again, first[i]) << paths[i];
        SysStatInfo disk;
        ASSERT_EQ(SysPathStat(paths[i], &disk), 0);
        EXPECT_NE(disk.size, again.size) << paths[i];
    }
}

// With too few files for helpers, the reader looks at each file itself: a
// file to be read is read when its status is asked for, so that the text
// handed out later is the one the status describes, and a file not to be
// read is read from the disk when asked.
TEST_F(ReadAhead, TheReaderTakesTheTextWithTheStatusOfAFileToBeRead)
{
    const std::string read = m_temp.Write("read.vhd", "entity a is end;");
    const std::string other = m_temp.Write("other.txt", "first");
    const IfileReadAhead readAhead({{read, true}, {other, false}});
    SysStatInfo readInfo;
    SysStatInfo otherInfo;
    ASSERT_EQ(IfileStatPath(read, &readInfo), 0);
    ASSERT_EQ(IfileStatPath(other, &otherInfo), 0);
    m_temp.Write("read.vhd", "entity b is end; -- longer");
    m_temp.Write("other.txt", "second, longer");
    std::string text;
    ASSERT_TRUE(IfileReadPath(read, text));
    EXPECT_EQ(text, "entity a is end;");
    EXPECT_EQ(static_cast<std::int64_t>(text.size()), readInfo.size);
    ASSERT_TRUE(IfileReadPath(other, text));
    EXPECT_EQ(text, "second, longer");
    EXPECT_EQ(otherInfo.size, 5);
}

// Many read-aheads of a file or two under one set, as an operation may
// make: each file is kept, the earlier ones too.
TEST_F(ReadAhead, ASetKeepsTheFilesOfManySmallReadAheads)
{
    MakeFiles(400);
    const IfileSeenStatuses seen;
    for (std::size_t i = 0; i < m_paths.size(); ++i) {
        if (m_paths[i].ends_with("/pipe")) continue;
        const IfileReadAhead readAhead({{m_paths[i], false}});
        IfileStatPath(m_paths[i], nullptr);
    }
    for (const std::string& path : m_paths) {
        SysStatInfo disk;
        if (path.ends_with("/pipe") || SysPathStat(path, &disk) != 0) {
            EXPECT_EQ(IfileSeenStatuses::Find(path), nullptr) << path;
            continue;
        }
        const SysStatInfo* status = IfileSeenStatuses::Find(path);
        ASSERT_NE(status, nullptr) << path;
        EXPECT_EQ(*status, disk) << path;
    }
}

// Under an open's set of seen statuses, a read-ahead leaves it the status of
// every file it found, helpers' finds included, as they were found: a file
// changed since keeps the status of its read. Missing files are left out,
// and nothing is left once the set has gone.
TEST_F(ReadAhead, EveryStatusFoundIsLeftToTheSetOfSeenStatuses)
{
    MakeFiles(300);
    const std::string changing = m_temp.Write("changing", "before");
    m_paths.push_back(changing);
    SysStatInfo read;
    {
        const IfileSeenStatuses seen;
        const IfileSeenStatuses inner;  // idle: the first one stays current
        EXPECT_EQ(IfileSeenStatuses::Current(), &seen);
        {
            const IfileReadAhead readAhead(Listed(true));
            // Half of the files asked for; the helpers run ahead over others.
            for (std::size_t i = 0; i < m_paths.size(); i += 2)
                if (!m_paths[i].ends_with("/pipe")) IfileStatPath(m_paths[i], nullptr);
            ASSERT_EQ(IfileStatPath(changing, &read), 0);
            // Found by no read-ahead yet: nothing to find.
            EXPECT_EQ(IfileSeenStatuses::Find(changing), nullptr);
        }
        m_temp.Write("changing", "after, longer");
        std::size_t found = 0;
        std::size_t askedOnDisk = 0;
        for (std::size_t i = 0; i < m_paths.size(); ++i) {
            const SysStatInfo* status = IfileSeenStatuses::Find(m_paths[i]);
            SysStatInfo disk;
            const bool onDisk = SysPathStat(m_paths[i], &disk) == 0;
            if (onDisk && i % 2 == 0 && !m_paths[i].ends_with("/pipe")) ++askedOnDisk;
            if (!onDisk) {
                EXPECT_EQ(status, nullptr) << m_paths[i];
            }
            if (status == nullptr) {
                EXPECT_TRUE(i % 2 == 1 || !onDisk) << m_paths[i];  // every file asked for was found
                continue;
            }
            ++found;
            EXPECT_EQ(*status, m_paths[i] == changing ? read : disk) << m_paths[i];
        }
        // What the helpers found besides depends on how far they ran.
        EXPECT_GE(found, askedOnDisk);
        EXPECT_GT(askedOnDisk, m_paths.size() / 4);
        EXPECT_EQ(IfileSeenStatuses::Find(m_temp / "never listed"), nullptr);
        // Asked for backwards, each file gives what it gave in order.
        for (std::size_t i = m_paths.size(); i-- > 0;) {
            const SysStatInfo* status = IfileSeenStatuses::Find(m_paths[i]);
            if (!status || m_paths[i] == changing) continue;
            SysStatInfo disk;
            ASSERT_EQ(SysPathStat(m_paths[i], &disk), 0);
            EXPECT_EQ(*status, disk) << m_paths[i];
        }
        // Found again by a later read-ahead: the status found last.
        {
            const IfileReadAhead again({{changing, false}});
            IfileStatPath(changing, nullptr);
        }
        SysStatInfo now;
        ASSERT_EQ(SysPathStat(changing, &now), 0);
        ASSERT_NE(IfileSeenStatuses::Find(changing), nullptr);
        EXPECT_EQ(*IfileSeenStatuses::Find(changing), now);
        EXPECT_NE(now, read);
    }
    EXPECT_EQ(IfileSeenStatuses::Current(), nullptr);
    EXPECT_EQ(IfileSeenStatuses::Find(changing), nullptr);
    // A read-ahead with no set current leaves nothing behind.
    {
        const IfileReadAhead readAhead({{changing, true}});
        IfileStatPath(changing, nullptr);
    }
    const IfileSeenStatuses later;
    EXPECT_EQ(IfileSeenStatuses::Find(changing), nullptr);
}
