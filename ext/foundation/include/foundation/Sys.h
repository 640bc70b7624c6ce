// System layer of the foundation: files, folders, paths, processes, debug
// print and assertions. The only part of the code that touches POSIX.
//
// Paths use "/" as separator; "\" is accepted wherever a path is read.
// Functions that answer int return 0 for success unless stated otherwise.
#pragma once

#include <compare>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// --- debug print --------------------------------------------------------------

// printf-style debug print to stderr (or to the installed hook). Only fixed
// formats are passed by callers; values go in as arguments. SysPrintf always
// prints (its callers decide by their own option); SysDebugPrintf is an
// internal trace that reaches stderr only while the option DEBUG_MSG reads 1
// (an installed hook receives both).
void SysPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void SysDebugPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Redirects the debug print (tests). An empty function restores stderr.
void SysSetPrintHook(std::function<void(const std::string&)> hook);

// --- assertions ---------------------------------------------------------------

// Reports a failed internal assertion (never aborts): a debug line with the
// file, line and text, and a count that tests can read.
void BrnDoAssertion(const char* file, int line, const char* text);
int SysAssertionCount();
#define SysAssert(cond)                                                                                                \
    do {                                                                                                               \
        if (!(cond)) BrnDoAssertion(__FILE__, __LINE__, #cond);                                                        \
    } while (0)

// --- file status --------------------------------------------------------------

// Disk status of a path (links followed): the file-type and permission bits,
// the modification time in nanoseconds since the epoch (held at the limits
// outside the years 1678 to 2262), and the size in bytes.
struct SysStatInfo {
    std::uint32_t mode = 0;
    std::int64_t time = 0;
    std::int64_t size = 0;
};
bool operator==(const SysStatInfo& a, const SysStatInfo& b);
inline bool operator!=(const SysStatInfo& a, const SysStatInfo& b) { return !(a == b); }

int SysPathStat(const std::string& path, SysStatInfo* info);
bool SysIsDirectory(const SysStatInfo& info);
bool SysIsRegularFile(const SysStatInfo& info);
bool UtlDoesFileExist(const std::string& path);        // a regular file (or a link to one)
bool UtlDoesPathExist(const std::string& path);        // a folder
bool UtlDoesDiskObjectExist(const std::string& path);  // anything
// access(2) modes: 0 exists, 2 writable, 4 readable.
int SysAccess(const std::string& path, int mode);
bool SysHasReadOnlyAttr(const std::string& path);
int SysSetReadOnlyAttr(const std::string& path, bool readOnly);

// --- files and folders ----------------------------------------------------------

// Copies a regular file with its permission bits (through a temporary file
// renamed into place).
int SysCopy(const std::string& from, const std::string& to);
// Copies made durable together. Add writes each copy to its temporary beside
// the target (a large one starts its write-back without waiting); Commit
// flushes them all with one sync of each file system they are on, renames
// them over their targets in the order they were added, then syncs each
// folder touched once. A kill at any moment leaves each target as it was or a whole
// copy, and the temporaries of a killed batch are taken over by the next
// write of the same targets, as with the atomic write. Copies not committed
// go with the batch.
class SysCopyBatch {
public:
    SysCopyBatch();
    ~SysCopyBatch();
    SysCopyBatch(const SysCopyBatch&) = delete;
    SysCopyBatch& operator=(const SysCopyBatch&) = delete;

    // 0 when the copy waits in its temporary; -1 when it could not be
    // written (nothing of it is left behind, and it is not in the batch).
    // A `to` that is a symbolic link is written where it points, unless
    // `replaceLink`: then the copy takes the place of the link itself, and
    // the file it pointed to stays as it was.
    int Add(const std::string& from, const std::string& to, bool replaceLink = false);
    // The results of the copies waiting, in the order they were added (0 in
    // place, -1 failed: the target stays as it was); the batch is empty
    // afterwards.
    std::vector<int> Commit();
    std::size_t Size() const;
    // Whether the copies waiting hold as many descriptors as the batch may:
    // commit before adding more.
    bool IsFull() const;

private:
    struct Pending;
    std::vector<Pending> m_pending;
    std::size_t m_limit;
};
// Whether the two paths name one file: the same device and inode when both
// exist (links followed), else the same qualified path.
bool SysIsSameFile(const std::string& a, const std::string& b);
int SysDelete(const std::string& path);
// Replaces an existing `to`; a regular file is also moved between file systems.
int SysRename(const std::string& from, const std::string& to);
// Creates one folder with the permission bits `mode` (less the umask); an
// existing folder is success.
int SysMkdir(const std::string& path, unsigned mode = 0777);
// Creates a folder and every missing parent.
bool UtlValidateOrCreateFolder(const std::string& path);
// Removes a folder only while it is empty (a symbolic link to one is not
// one): -1, and nothing removed, otherwise.
int SysRemoveEmptyFolder(const std::string& path);
// Removes a folder and everything below it; a folder that is not there is
// success. Refuses "", "/" and paths that are not absolute. A symbolic link
// is removed itself, never what it points to.
int SysRemoveFolderRecursively(const std::string& path);
// Replaces `names` by the entries of a folder (names only, without "." and
// ".."), sorted by name. False (and `names` unchanged) when the folder cannot
// be read.
bool SysListFolder(const std::string& path, std::vector<std::string>& names);
// The regular files below `folder` whose names `accept` takes, at most
// `maxDepth` folders down, in path order. Each folder is entered once,
// whatever links lead to it again; a folder that cannot be read is passed.
std::vector<std::string> SysFindFilesBelow(const std::string& folder, int maxDepth,
                                           const std::function<bool(const std::string& name)>& accept);
// Which file or folder a path names, links followed: two paths name the same
// one exactly when their identities are equal. One status lookup, where a
// real path asks after every component. Zero when the path names nothing.
struct SysFileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    auto operator<=>(const SysFileIdentity&) const = default;
};
SysFileIdentity SysGetFileIdentity(const std::string& path);
// An entry of a folder, with the status and the identity of what it names
// (links followed, as SysPathStat does).
struct SysFolderEntry {
    std::string name;
    SysStatInfo info;
    SysFileIdentity identity;
};
// The listing of SysListFolder with each entry's status and identity, taken
// relative to the open folder: a walk over many files pays no full path
// lookup per file, nor one per folder it enters. An entry whose status
// cannot be read (a link to nothing) is left out.
bool SysListFolderStatus(const std::string& path, std::vector<SysFolderEntry>& entries);
// The same listing, where `known` may answer for an entry that the folder
// lists as a regular file: given its name, it fills in the status taken of
// it a moment before and returns true, and the entry is not looked at again
// (its identity stays empty). An entry it does not answer for is looked at.
// It is asked in the order of the names.
bool SysListFolderStatus(const std::string& path, std::vector<SysFolderEntry>& entries,
                         const std::function<bool(std::string_view name, SysStatInfo& info)>& known);
// The same listing for a walk that takes the identity of each folder as it
// lists it (`self`): an entry the folder lists as a directory is not looked
// at, and carries its type alone (no time, size or identity). A link to a
// directory is looked at, as any entry whose type the folder does not give.
bool SysListFolderStatus(const std::string& path, std::vector<SysFolderEntry>& entries,
                         const std::function<bool(std::string_view name, SysStatInfo& info)>& known,
                         SysFileIdentity& self);
// Writes `content` to `path` through a temporary file in the same folder,
// flushed, synced and renamed over the old file: the one atomic write of the
// system. The old file stays when anything fails (`error`, when given, says
// why), and keeps its permission bits otherwise; a file the caller may not
// write is refused, as a plain write would be. A path that is a symbolic
// link writes the file it points to. The temporary file of a writer killed
// half-way is taken over by the next write of the same target. The error
// names the target and gives the system's reason ("Cannot write <path>: No
// space left on device").
bool SysWriteFileAtomically(const std::string& path, const std::string& content, std::string* error = nullptr);
// Whether `path` is a regular file holding exactly `content`: a writer that
// finds it so leaves the file as it is. The file is read a slice at a time
// into a buffer no larger than it, and not at all when its size differs: a
// large file is not held twice to be compared.
bool SysFileHolds(const std::string& path, std::string_view content);
// The whole text of a regular file; false for anything else (a folder, a
// device, a named pipe), which is not read.
bool SysReadFile(const std::string& path, std::string& content);
// The status of a path and, when it is a regular file of at most `maxBytes`
// bytes and `content` is given, its text, from one opening: the status is
// taken from the open file before the text is read, so it is never newer
// than the text. 1 when the text was read, 0 when the path exists and its
// text was not read, -1 when the path does not exist (or cannot be looked at).
// The text goes into the storage `content` holds; when a read is tried and
// fails, `content` is left empty, otherwise as it was.
int SysStatAndReadFile(const std::string& path, SysStatInfo* info, std::string* content, std::size_t maxBytes);
// Flushes a file written by another writer (an archive library) to the disk,
// so that a rename that follows publishes a complete file. 0 on success.
int SysSyncFile(const std::string& path);

// Creates a new file in the temporary folder, named `prefix`, six random
// characters and `suffix`, readable and writable by the user alone (never
// an existing file: the name is taken exclusively), and writes `content`
// to it, flushed and synced. False, with no file left behind and `error`
// (when given) saying why, when it cannot be made or written; `path` gets
// the file's full name otherwise.
bool SysWriteTemporaryFile(const std::string& prefix, const std::string& suffix, const std::string& content,
                           std::string& path, std::string* error = nullptr);
std::string SysGetTemporaryDirectoryName();  // $TMPDIR or /tmp
std::string UtlGetTempDir();                 // same, with a trailing "/"
std::string CwdirGetCurrentDirectory();      // the process's folder; empty on failure

// --- paths ----------------------------------------------------------------------

char SysGetDirChar();  // '/'
// Absolute, with "." and ".." resolved lexically and "\" made "/"; relative
// paths are taken against the process's folder. Links are not followed.
std::string SysGetQualifiedPath(const std::string& path);
std::string UtlGetQualifiedPath(const std::string& path);
// The absolute path with every symbolic link resolved: two paths name the
// same file or folder exactly when their real paths are equal. Empty when
// the path does not exist.
std::string SysGetRealPath(const std::string& path);
// Joins a relative text to a folder and qualifies the result; an absolute
// text is only qualified.
std::string AcmdGetFullPath(const std::string& text, const std::string& folder);
// `name` qualified against `folder` (against the process's folder when
// `folder` is empty); `mustExist` makes a missing file give "".
std::string AcmdGetQualifiedName(const std::string& name, bool mustExist, const std::string& folder);
// "." and ".." resolved lexically and runs of separators made one "/":
// "a/./b/../c" gives "a/c". A root stays ("/", "//" of a network path, "C:/"),
// and ".." at the root stays there; a relative path keeps in front the ".."
// it cannot resolve ("a/../../x" gives "../x"), and one that resolves to
// nothing gives "". Links are not followed; the disk is not looked at.
std::string UtlResolveDots(std::string_view path);
// Every "\" becomes "/" (in place and returned).
std::string& UtlSetValidSeparator(std::string& path);
std::string& UtlSetUniversalValidSeparator(std::string& path);
// Same name after separator normalisation, case ignored.
bool UtlIsSameFileName(const std::string& a, const std::string& b);

// --- strings --------------------------------------------------------------------

// The one set of string helpers: every trim, left or right part and
// replacement in the system goes through these. Case: foundation/UtlAscii.h.

// The first `count` characters; a count past the end (or npos) gives all.
std::string UtlGetLeftString(const std::string& text, std::size_t count);
// The characters from `pos` on; a position past the end (or npos) gives "".
std::string UtlGetRightString(const std::string& text, std::size_t pos);
// The text without the leading, trailing, or both, characters of `chars`.
std::string_view UtlTrimLeft(std::string_view text, std::string_view chars = " \t\r\n");
std::string_view UtlTrimRight(std::string_view text, std::string_view chars = " \t\r\n");
std::string_view UtlTrim(std::string_view text, std::string_view chars = " \t\r\n");
std::string UtlTrimLeftString(const std::string& text, const char* chars = " \t\r\n");
std::string UtlTrimRightString(const std::string& text, const char* chars = " \t\r\n");
// Replaces every occurrence of `from` (non-empty) by `to`; returns the count.
int UtlReplaceAll(std::string& text, const std::string& from, const std::string& to);
// Whether the text fits on one line of a line-oriented file: no line feed,
// no carriage return and no other control character but the tab.
bool UtlIsOneLine(std::string_view text);
// A control character that such a line may not hold: every one but the tab.
inline bool UtlIsLineControl(char c) { return static_cast<unsigned char>(c) < ' ' && c != '\t'; }
// Whole-text decimal conversions (optional sign, surrounding blanks allowed).
bool UtlIsInteger(const std::string& text);
bool UtlIsLong(const std::string& text);
bool UtlConvertToInteger(const std::string& text, int& value);
bool UtlConvertToLong(const std::string& text, long long& value);
// Reads a text option (whole, whatever its length); true when it was read.
bool UtlDefGetStr(const char* name, std::string& value);

// --- wildcards ------------------------------------------------------------------

// "*" matches any run, "?" one character. Answers 1 on a match, else 0 (also
// for a null pattern or text).
// WcmMatch ignores case (ASCII), WcmMatchCase does not. Runs without
// backtracking blow-up (at most pattern length x text length steps).
int WcmMatch(const char* pattern, const char* text);
int WcmMatchCase(const char* pattern, const char* text);

// --- command-line words ---------------------------------------------------------

// Splits a command line into words: blanks separate; a double-quoted part
// (quotes removed, \" inside for a quote) joins blanks into a word, and ""
// is an empty word; an unterminated quote runs to the end of the line. Other
// backslashes stay as they are (Windows paths). Returns the number of words
// appended to `words`; `unterminated`, when given, tells whether a quote was
// left open.
int ArgsParse(const std::string& line, std::vector<std::string>& words, bool* unterminated = nullptr);
// The word as it stands in a command line that ArgsParse reads back as that
// one word: quoted when it is empty or holds a blank or a double quote, or
// when `alwaysQuoted`; trailing backslashes then stay outside the quotes,
// where they cannot escape the closing one.
std::string ArgsQuote(const std::string& word, bool alwaysQuoted = false);

// --- the machine ----------------------------------------------------------------

// The processors the calling thread may run on (a shell started under
// `taskset`, or in a container given a few of a machine's cores, has fewer
// than the machine); at least one.
unsigned SysUsableProcessors();
// A block of `bytes` bytes starting on a multiple of `alignment` (a power
// of two), given back with SysAlignedFree; null when it cannot be had or
// the alignment is not a power of two.
void* SysAlignedAlloc(std::size_t alignment, std::size_t bytes);
void SysAlignedFree(void* memory);  // null: nothing

// --- processes ------------------------------------------------------------------

enum SpnMode {
    SpnWAIT = 0,
    SpnNOWAIT = 1
};
// Starts `argv[0]` with the arguments `argv` in the folder `workDir` (empty:
// the process's folder; the process's own folder never changes). A program
// without "/" is looked up in PATH. With SpnWAIT, waits and stores the exit
// status (-1 when the child did not exit normally); with SpnNOWAIT the child
// runs on (reaped in the background) and `exitStatus` is left as it was.
// A relative program path is taken in the child's folder. Returns 1 when
// the child started, 0 when it could not (program missing or not runnable,
// working folder missing).
int SpnSpawn(const std::vector<std::string>& argv, int* exitStatus, SpnMode mode,
             const std::string& workDir = std::string());

// What a run that collects the child's output found.
struct SpnCaptureResult {
    bool started = false;   // the child started
    bool timedOut = false;  // it had not ended in time and was killed
    int exitStatus = -1;    // its exit status; -1 when it did not exit normally
    std::string output;     // what it wrote on its standard output and error
};
// Starts `argv` as SpnSpawn does, with its standard input empty and its
// standard output and error collected (at most `maxOutput` bytes are kept;
// the rest is read and dropped), and waits at most `timeoutMs` milliseconds
// (a negative limit: no limit). The child leads a process group of its
// own: when it has not ended in time, the whole group is killed, so that a
// program it started cannot keep the run waiting either.
SpnCaptureResult SpnRunCapture(const std::vector<std::string>& argv, int timeoutMs,
                               const std::string& workDir = std::string(), std::size_t maxOutput = 1 << 20);
