// Files and folders on disk: status and stamps, copy, rename, delete,
// folders, listing and atomic writes.
#include "foundation/Sys.h"

#include "TempFolder.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

mode_t PermissionsOf(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

}  // namespace

TEST(SysFile, StampsAre64Bit)
{
    TempFolder temp;
    const std::string file = temp.Write("late.v", "x");
    // A time after 2038 with nanoseconds.
    const struct timespec times[2] = {{4102444800, 123}, {4102444800, 123}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    SysStatInfo info;
    ASSERT_EQ(SysPathStat(file, &info), 0);
    EXPECT_EQ(info.time, 4102444800LL * 1000000000LL + 123);

    // A sparse file larger than 2 and 4 GiB.
    const std::string big = temp / "big.bin";
    const int fd = ::open(big.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    const std::int64_t size = (5LL << 30) + 7;
    const int truncated = ::ftruncate(fd, size);
    ::close(fd);
    ASSERT_EQ(truncated, 0);
    ASSERT_EQ(SysPathStat(big, &info), 0);
    EXPECT_EQ(info.size, size);
}

TEST(SysFile, CopyRenameDeleteAndRefusalsLeaveNothingBehind)
{
    TempFolder temp;
    const std::string source = temp.Write("src.v", std::string("bin\0ary\n", 8));
    ASSERT_EQ(::chmod(source.c_str(), 0640), 0);
    temp.Write("other.v", "old content that is longer");
    EXPECT_EQ(SysCopy(source, temp / "other.v"), 0);
    EXPECT_EQ(temp.Read("other.v"), std::string("bin\0ary\n", 8));
    EXPECT_EQ(PermissionsOf(temp / "other.v"), 0640u);
    EXPECT_EQ(SysCopy(source, source), 0);
    EXPECT_EQ(temp.Read("src.v"), std::string("bin\0ary\n", 8));
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {temp / "missing.v", temp / "x.v"}, {temp.Path(), temp / "x.v"}, {source, temp / "no/folder/x.v"}})
        EXPECT_EQ(SysCopy(from, to), -1) << from << " " << to;
    EXPECT_EQ(temp.List(), (std::vector<std::string>{"other.v", "src.v"}));
    EXPECT_EQ(SysDelete(temp.Path()), -1);
}

// The read-only attribute: file_readonly.tcl.
TEST(SysFile, CreatingFolders)
{
    TempFolder temp;
    EXPECT_EQ(SysMkdir(temp / "private", 0700), 0);
    EXPECT_EQ(SysMkdir(temp / "private"), 0);
    EXPECT_EQ(PermissionsOf(temp / "private"), 0700u);
    EXPECT_EQ(SysMkdir(temp / "missing/child"), -1);
    temp.Write("file", "x");
    EXPECT_TRUE(UtlValidateOrCreateFolder(temp.Path() + "\\win\\sub"));
    EXPECT_TRUE(UtlDoesPathExist(temp / "win/sub"));
    EXPECT_FALSE(UtlValidateOrCreateFolder(temp / "file/below"));
    EXPECT_FALSE(UtlValidateOrCreateFolder(""));
}

TEST(SysFile, RemovingFolderTrees)
{
    TempFolder temp;
    temp.Write("tree/a/b/deep.v", "x");
    temp.Write("tree/top.v", "x");
    temp.Write("outside/keep.v", "keep");
    ASSERT_EQ(::symlink((temp / "outside").c_str(), (temp / "tree/a/link").c_str()), 0);
    ASSERT_EQ(SysSetReadOnlyAttr(temp / "tree/top.v", true), 0);

    // Refusals.
    EXPECT_EQ(SysRemoveFolderRecursively(""), -1);
    EXPECT_EQ(SysRemoveFolderRecursively("/"), -1);
    EXPECT_EQ(SysRemoveFolderRecursively("\\"), -1);
    EXPECT_EQ(SysRemoveFolderRecursively("/tmp/../"), -1);
    EXPECT_EQ(SysRemoveFolderRecursively("relative/tree"), -1);
    EXPECT_EQ(SysRemoveFolderRecursively(temp / "tree/top.v"), -1);
    EXPECT_TRUE(UtlDoesFileExist(temp / "tree/top.v"));

    EXPECT_EQ(SysRemoveFolderRecursively(temp / "tree"), 0);
    EXPECT_FALSE(UtlDoesDiskObjectExist(temp / "tree"));
    EXPECT_EQ(temp.Read("outside/keep.v"), "keep");
    EXPECT_EQ(SysRemoveFolderRecursively(temp / "tree"), 0);

    // A link to a folder is removed itself.
    ASSERT_EQ(::symlink((temp / "outside").c_str(), (temp / "alias").c_str()), 0);
    EXPECT_EQ(SysRemoveFolderRecursively(temp / "alias"), 0);
    EXPECT_FALSE(UtlDoesDiskObjectExist(temp / "alias"));
    EXPECT_EQ(temp.Read("outside/keep.v"), "keep");
}

TEST(SysFile, AtomicWriteRoundTrip)
{
    TempFolder temp;
    const std::string path = temp / "project.prj";
    const std::string content = std::string("line 1\r\nline\0 2\n", 16) + std::string(200000, 'x');
    ASSERT_TRUE(SysWriteFileAtomically(path, content));
    std::string read;
    ASSERT_TRUE(SysReadFile(path, read));
    EXPECT_EQ(read, content);

    // Overwriting keeps the file's permissions and leaves no temporary file.
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(SysWriteFileAtomically(path, "short"));
    EXPECT_EQ(temp.Read("project.prj"), "short");
    EXPECT_EQ(PermissionsOf(path), 0640u);
    EXPECT_EQ(temp.List(), std::vector<std::string>{"project.prj"});

    ASSERT_TRUE(SysWriteFileAtomically(path, ""));
    ASSERT_TRUE(SysReadFile(path, read));
    EXPECT_EQ(read, "");
    read = "untouched";
    EXPECT_FALSE(SysReadFile(temp / "missing", read));
    EXPECT_FALSE(SysReadFile(temp.Path(), read));
    EXPECT_EQ(read, "untouched");
}

// Texts of every size around the reader's steps (its own buffer, the room it
// reads into), random bytes with line ends and NULs, read back whole by
// both readers into a string that held something else; and a file whose
// size the system gives as 0 although it has text.
TEST(SysFile, FilesOfAnySizeReadBackWhole)
{
    TempFolder temp;
    std::mt19937 random(3107);
    std::vector<std::size_t> sizes = {0, 1, 2, 4095, 4096, 4097, 8191, 8192, 65535, 65536, 65537, 131073, 300001};
    for (int i = 0; i < 20; ++i) sizes.push_back(random() % 200000);
    for (const std::size_t size : sizes) {
        std::string content(size, '\0');
        for (char& c : content) c = static_cast<char>(random() % 4 == 0 ? "\n\r\0"[random() % 3] : random() % 256);
        const std::string path = temp / ("sized_" + std::to_string(size));
        ASSERT_TRUE(SysWriteFileAtomically(path, content));
        std::string read = "held before";
        ASSERT_TRUE(SysReadFile(path, read)) << size;
        EXPECT_EQ(read, content) << size;
        SysStatInfo info;
        std::string statRead = "held before";
        ASSERT_EQ(SysStatAndReadFile(path, &info, &statRead, size + 1), 1) << size;
        EXPECT_EQ(statRead, content) << size;
    }
    const std::string environ = "/proc/self/environ";
    std::ifstream plain(environ, std::ios::binary);
    const std::string expected((std::istreambuf_iterator<char>(plain)), std::istreambuf_iterator<char>());
    std::string read;
    ASSERT_TRUE(SysReadFile(environ, read));
    EXPECT_EQ(read, expected);
}

// Only a regular file is replaced whole: a device or a named pipe, named
// itself or through a link, takes the text and stays what it was, and a
// pipe nobody reads is refused at once rather than waited on.
TEST(SysFile, AtomicWriteIntoADeviceOrAPipeKeepsIt)
{
    TempFolder temp;
    const std::string link = temp / "null";
    ASSERT_EQ(::symlink("/dev/null", link.c_str()), 0);
    ASSERT_TRUE(SysWriteFileAtomically(link, "dumped"));
    struct stat st;
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));

    const std::string pipe = temp / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string error;
    EXPECT_FALSE(SysWriteFileAtomically(pipe, "nobody reads", &error));
    EXPECT_NE(error.find(pipe), std::string::npos) << error;
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_TRUE(SysWriteFileAtomically(pipe, "through the pipe"));
    char received[64] = {};
    EXPECT_EQ(::read(reader, received, sizeof received - 1), 16);
    EXPECT_STREQ(received, "through the pipe");
    ::close(reader);
    ASSERT_EQ(::lstat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    error.clear();
    EXPECT_FALSE(SysWriteFileAtomically(temp.Path(), "a folder", &error));
    EXPECT_NE(error.find("Is a directory"), std::string::npos) << error;
    EXPECT_EQ(temp.List(), (std::vector<std::string>{"null", "pipe"}));
}

TEST(SysFile, FailedAtomicWriteKeepsTheOldState)
{
    TempFolder temp;
    // The folder is missing: nothing is written.
    EXPECT_FALSE(SysWriteFileAtomically(temp / "gone/x.prj", "data"));
    EXPECT_FALSE(UtlDoesDiskObjectExist(temp / "gone"));
    EXPECT_FALSE(SysWriteFileAtomically("", "data"));

    // The target is a folder: the rename fails, the folder and its content
    // stay, and the temporary file is removed.
    temp.Write("busy/inner.txt", "keep");
    EXPECT_FALSE(SysWriteFileAtomically(temp / "busy", "data"));
    EXPECT_EQ(temp.Read("busy/inner.txt"), "keep");
    EXPECT_EQ(temp.List(), std::vector<std::string>{"busy"});
}

TEST(SysFile, OnlyRegularFilesAreRead)
{
    TempFolder temp;
    const std::string pipe = temp / "pipe.v";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // A device that never ends, a pipe nobody writes to, a folder: each is
    // refused at once, and the text given stays as it was.
    for (const std::string& path : {std::string("/dev/zero"), pipe, temp.Path()}) {
        std::string text = "untouched";
        EXPECT_FALSE(SysReadFile(path, text)) << path;
        EXPECT_EQ(text, "untouched");
    }
    // A link to a regular file is read through.
    const std::string real = temp.Write("real.v", "module m; endmodule\n");
    ASSERT_EQ(::symlink(real.c_str(), (temp / "link.v").c_str()), 0);
    std::string text;
    ASSERT_TRUE(SysReadFile(temp / "link.v", text));
    EXPECT_EQ(text, "module m; endmodule\n");
}

TEST(SysFile, AFailedAtomicWriteNamesTheFileAndTheSystemsReason)
{
    TempFolder temp;
    temp.Write("busy/inner.txt", "keep");
    std::string error;
    EXPECT_FALSE(SysWriteFileAtomically(temp / "busy", "data", &error));
    EXPECT_EQ(error, "Cannot replace " + (temp / "busy") + ": Is a directory");
    EXPECT_FALSE(SysWriteFileAtomically(temp / "gone/x.prj", "data", &error));
    EXPECT_EQ(error, "Cannot write " + (temp / "gone/x.prj") + ": No such file or directory");

    // A disk that takes no more bytes: in a child whose files may hold 1 KiB.
    const std::string path = temp.Write("big.prj", "old");
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string reason;
        const bool written = SysWriteFileAtomically(path, std::string(4096, 'x'), &reason);
        if (::write(fds[1], reason.data(), reason.size()) < 0) ::_exit(2);
        ::_exit(written ? 1 : 0);
    }
    ::close(fds[1]);
    std::string reason;
    char buffer[256];
    for (ssize_t got; (got = ::read(fds[0], buffer, sizeof buffer)) > 0;) reason.append(buffer, got);
    ::close(fds[0]);
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(reason, "Cannot write " + path + ": File too large");
    EXPECT_EQ(temp.Read("big.prj"), "old");
    EXPECT_EQ(temp.List(), (std::vector<std::string>{"big.prj", "busy"}));
}

TEST(SysFile, AReadOnlyFileIsNotReplaced)
{
    // A file its owner made read-only, in a folder anybody may write to:
    // the rename over it would succeed, the write must not. Run by a user
    // other than root (root may write any file), in a child.
    TempFolder temp;
    ASSERT_EQ(::chmod(temp.Path().c_str(), 0777), 0);
    const std::string path = temp.Write("checked_in.prj", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(3);
        std::string reason;
        const bool written = SysWriteFileAtomically(path, "new", &reason);
        ::_exit(written ? 1 : reason == "Cannot write " + path + ": Permission denied" ? 0 : 2);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(temp.Read("checked_in.prj"), "old");
    EXPECT_EQ(temp.List(), std::vector<std::string>{"checked_in.prj"});
    EXPECT_EQ(PermissionsOf(path), 0444u);
}

TEST(SysFile, AtomicWriteThroughALinkKeepsTheLink)
{
    TempFolder temp;
    const std::string real = temp.Write("real/options.txt", "old");
    const std::string link = temp / "options.txt";
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    ASSERT_TRUE(SysWriteFileAtomically(link, "new"));
    struct stat st;
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(temp.Read("real/options.txt"), "new");
    EXPECT_EQ(temp.List("real"), std::vector<std::string>{"options.txt"});
}

TEST(SysFile, AListingWithStatusesAnswersAsTheListingAndEachStatusDo)
{
    TempFolder temp;
    temp.Write("b.v", "bb");
    temp.Write("a.v", "a");
    temp.Write("sub/c.v", "c");
    ASSERT_EQ(::symlink((temp / "a.v").c_str(), (temp / "link.v").c_str()), 0);
    ASSERT_EQ(::symlink((temp / "gone.v").c_str(), (temp / "broken.v").c_str()), 0);
    std::vector<SysFolderEntry> entries{{"stale", SysStatInfo(), SysFileIdentity()}};
    ASSERT_TRUE(SysListFolderStatus(temp.Path(), entries));
    std::vector<std::string> names;
    for (const SysFolderEntry& entry : entries) {
        names.push_back(entry.name);
        SysStatInfo direct;
        ASSERT_EQ(SysPathStat(temp / entry.name, &direct), 0) << entry.name;
        EXPECT_EQ(entry.info, direct) << entry.name;
        EXPECT_EQ(entry.identity, SysGetFileIdentity(temp / entry.name)) << entry.name;
    }
    // A link has the identity of what it names.
    EXPECT_EQ(entries[0].identity, entries[2].identity);
    EXPECT_NE(entries[0].identity, entries[1].identity);
    // Sorted like the listing, the link to nothing left out.
    std::vector<std::string> listed = temp.List();
    // The plain listing names every entry, the link to nothing included.
    std::vector<std::string> plain{"stale"};
    ASSERT_TRUE(SysListFolder(temp.Path(), plain));
    EXPECT_EQ(plain, listed);
    listed.erase(std::find(listed.begin(), listed.end(), "broken.v"));
    EXPECT_EQ(names, listed);
    EXPECT_EQ(names, (std::vector<std::string>{"a.v", "b.v", "link.v", "sub"}));
    EXPECT_FALSE(SysListFolderStatus(temp / "missing", entries));
    EXPECT_EQ(entries.size(), 4u);
    EXPECT_FALSE(SysListFolderStatus("", entries));

    // A status known already stands for a plain file's look at the disk:
    // only plain files are asked for, in order, and one not answered for is
    // looked at.
    std::vector<std::string> asked;
    SysStatInfo known = entries[1].info;  // b.v, with a size it never had
    known.size = 12345;
    const auto answer = [&](std::string_view name, SysStatInfo& info) {
        asked.emplace_back(name);
        if (name != "b.v") return false;
        info = known;
        return true;
    };
    std::vector<SysFolderEntry> answered;
    ASSERT_TRUE(SysListFolderStatus(temp.Path(), answered, answer));
    EXPECT_EQ(asked, (std::vector<std::string>{"a.v", "b.v"}));
    ASSERT_EQ(answered.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(answered[i].name, entries[i].name);
        const bool isAnswered = entries[i].name == "b.v";
        EXPECT_EQ(answered[i].info, isAnswered ? known : entries[i].info) << entries[i].name;
        EXPECT_EQ(answered[i].identity, isAnswered ? SysFileIdentity() : entries[i].identity) << entries[i].name;
    }

    // A walk's listing takes the folder's own identity and leaves its
    // directories unlooked at: their type alone. A link to a directory is
    // looked at like every link.
    ASSERT_EQ(::symlink((temp / "sub").c_str(), (temp / "linked").c_str()), 0);
    SysFileIdentity self;
    std::vector<SysFolderEntry> walked;
    ASSERT_TRUE(SysListFolderStatus(temp.Path(), walked, answer, self));
    EXPECT_EQ(self, SysGetFileIdentity(temp.Path()));
    std::vector<std::string> walkedNames;
    for (const SysFolderEntry& entry : walked) {
        walkedNames.push_back(entry.name);
        if (entry.name == "sub") {
            EXPECT_TRUE(SysIsDirectory(entry.info));
            EXPECT_EQ(entry.info.time, 0);
            EXPECT_EQ(entry.identity, SysFileIdentity());
        } else if (entry.name == "linked") {
            EXPECT_TRUE(SysIsDirectory(entry.info));
            EXPECT_EQ(entry.identity, SysGetFileIdentity(temp / "sub"));
        }
    }
    EXPECT_EQ(walkedNames, (std::vector<std::string>{"a.v", "b.v", "link.v", "linked", "sub"}));
    EXPECT_FALSE(SysListFolderStatus(temp / "missing", walked, answer, self));
    EXPECT_FALSE(SysListFolderStatus(temp / "a.v", walked, answer, self)) << "a file is no folder";
}

// A folder whose names take more than one block of the system's answer is
// listed whole, in order, by every form of the listing.
TEST(SysFile, AFolderOfManyLongNamesIsListedWhole)
{
    TempFolder temp;
    std::vector<std::string> made;
    for (int i = 0; i < 600; ++i) {
        made.push_back(std::to_string(1000 + i) + std::string(120, 'n') + ".v");
        temp.Write(made.back(), "");
    }
    std::vector<std::string> names;
    ASSERT_TRUE(SysListFolder(temp.Path(), names));
    EXPECT_EQ(names, made);
    std::vector<SysFolderEntry> entries;
    SysFileIdentity self;
    ASSERT_TRUE(SysListFolderStatus(temp.Path(), entries, nullptr, self));
    ASSERT_EQ(entries.size(), made.size());
    for (std::size_t i = 0; i < made.size(); ++i) {
        EXPECT_EQ(entries[i].name, made[i]);
        EXPECT_TRUE(SysIsRegularFile(entries[i].info));
    }
}

// A path written with backslashes (a project from Windows) names the same
// files and folders as with slashes, for every call that takes a path; the
// identity of a folder is the same through a link to it, and zero for
// nothing.
TEST(SysFile, BackslashesAndLinksNameTheSameFiles)
{
    TempFolder temp;
    temp.Write("sub/a.v", "abc");
    ASSERT_EQ(::symlink((temp / "sub").c_str(), (temp / "alias").c_str()), 0);
    const auto backslashed = [](std::string path) {
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    };
    const std::string file = backslashed(temp / "sub/a.v");
    SysStatInfo info;
    ASSERT_EQ(SysPathStat(file, &info), 0);
    EXPECT_EQ(info.size, 3);
    std::string text;
    EXPECT_EQ(SysStatAndReadFile(file, &info, &text, 100), 1);
    EXPECT_EQ(text, "abc");
    EXPECT_TRUE(UtlDoesFileExist(file));
    EXPECT_TRUE(UtlDoesPathExist(backslashed(temp / "sub")));
    std::vector<SysFolderEntry> entries;
    ASSERT_TRUE(SysListFolderStatus(backslashed(temp / "sub"), entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries.front().name, "a.v");
    EXPECT_EQ(SysGetFileIdentity(backslashed(temp / "sub")), SysGetFileIdentity(temp / "alias"));
    EXPECT_NE(SysGetFileIdentity(temp / "sub"), SysGetFileIdentity(temp.Path()));
    EXPECT_EQ(SysGetFileIdentity(temp / "missing"), SysFileIdentity());
    EXPECT_EQ(SysDelete(file), 0);
    EXPECT_FALSE(UtlDoesDiskObjectExist(temp / "sub/a.v"));
}

// A file holds a text when it holds every byte of it and no more; a folder,
// a missing file and a named pipe hold nothing (the pipe is not waited on).
TEST(SysFile, AFileHoldsATextOnlyByteForByte)
{
    TempFolder temp;
    std::string text(200 << 10, 'a');
    for (std::size_t at = 0; at < text.size(); at += 997) text[at] = static_cast<char>('b' + at % 20);
    const std::string path = temp.Write("big.txt", text);
    EXPECT_TRUE(SysFileHolds(path, text));
    for (const std::size_t at : {std::size_t{0}, (std::size_t{64} << 10) + 3, text.size() - 1}) {
        std::string other = text;
        other[at] = '!';
        EXPECT_FALSE(SysFileHolds(path, other)) << at;
    }
    EXPECT_FALSE(SysFileHolds(path, text + "a"));
    EXPECT_FALSE(SysFileHolds(path, text.substr(1)));
    EXPECT_TRUE(SysFileHolds(temp.Write("empty.txt", ""), ""));
    EXPECT_FALSE(SysFileHolds(temp / "missing.txt", ""));
    EXPECT_FALSE(SysFileHolds(temp.Path(), ""));
    ASSERT_EQ(::mkfifo((temp / "pipe").c_str(), 0600), 0);
    EXPECT_FALSE(SysFileHolds(temp / "pipe", ""));
}
