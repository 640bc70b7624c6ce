// Starting child processes with posix_spawn. The child gets its own working
// folder through the spawn's file actions; the process's folder never changes.
#include "foundation/Sys.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

// Spawn attributes and file actions, released on every path.
class SpawnSetup {
public:
    SpawnSetup() { m_ok = posix_spawn_file_actions_init(&m_actions) == 0; }
    ~SpawnSetup()
    {
        if (m_ok) posix_spawn_file_actions_destroy(&m_actions);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    bool SetFolder(const std::string& folder)
    {
        return m_ok && (folder.empty() || posix_spawn_file_actions_addchdir_np(&m_actions, folder.c_str()) == 0);
    }
    // The child reads nothing and writes its output and errors into `fd`.
    bool CollectOutput(int fd)
    {
        return m_ok && posix_spawn_file_actions_addopen(&m_actions, 0, "/dev/null", O_RDONLY, 0) == 0 &&
               posix_spawn_file_actions_adddup2(&m_actions, fd, 1) == 0 &&
               posix_spawn_file_actions_adddup2(&m_actions, fd, 2) == 0;
    }
    const posix_spawn_file_actions_t* Actions() const { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions;
    bool m_ok = false;
};

// Spawn attributes that make the child lead a process group of its own.
class GroupLeader {
public:
    GroupLeader()
    {
        m_ok = posix_spawnattr_init(&m_attributes) == 0 &&
               posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETPGROUP) == 0 &&
               posix_spawnattr_setpgroup(&m_attributes, 0) == 0;
    }
    ~GroupLeader() { posix_spawnattr_destroy(&m_attributes); }
    GroupLeader(const GroupLeader&) = delete;
    GroupLeader& operator=(const GroupLeader&) = delete;

    bool IsReady() const { return m_ok; }
    const posix_spawnattr_t* Attributes() const { return &m_attributes; }

private:
    posix_spawnattr_t m_attributes;
    bool m_ok = false;
};

// Both ends of a pipe, closed on every path.
class Pipe {
public:
    Pipe() { m_ok = ::pipe2(m_fds, O_CLOEXEC) == 0; }
    ~Pipe()
    {
        CloseWriteEnd();
        if (m_ok) ::close(m_fds[0]);
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    bool IsOpen() const { return m_ok; }
    int ReadEnd() const { return m_fds[0]; }
    int WriteEnd() const { return m_fds[1]; }
    void CloseWriteEnd()
    {
        if (m_ok && m_fds[1] >= 0) ::close(m_fds[1]);
        m_fds[1] = -1;
    }

private:
    int m_fds[2] = {-1, -1};
    bool m_ok = false;
};

int ExitStatusOf(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

int WaitFor(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return ExitStatusOf(status);
}

// Whether the child has ended; its exit status then.
bool HasEnded(pid_t pid, int& exitStatus)
{
    int status = 0;
    pid_t done = 0;
    do {
        done = ::waitpid(pid, &status, WNOHANG);
    } while (done < 0 && errno == EINTR);
    if (done == 0) return false;
    exitStatus = done == pid ? ExitStatusOf(status) : -1;
    return true;
}

// Appends what the pipe holds now; false once it is closed by every writer.
bool ReadAvailable(int fd, std::string& output, std::size_t maxOutput)
{
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            const std::size_t room = output.size() < maxOutput ? maxOutput - output.size() : 0;
            output.append(buffer, std::min(room, static_cast<std::size_t>(got)));
            continue;
        }
        if (got == 0) return false;
        if (errno == EINTR) continue;
        return errno == EAGAIN || errno == EWOULDBLOCK;
    }
}

// A child that nobody waits for is reaped in the background, so it leaves
// no zombie behind.
void ReapLater(pid_t pid)
{
    try {
        std::thread([pid] { WaitFor(pid); }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the child is reaped when the process ends.
    }
}

}  // namespace

int SpnSpawn(const std::vector<std::string>& argv, int* exitStatus, SpnMode mode, const std::string& workDir)
{
    if (argv.empty() || argv.front().empty()) return 0;
    std::vector<std::string> args(argv);
    UtlSetValidSeparator(args.front());
    std::vector<char*> pointers;
    pointers.reserve(args.size() + 1);
    for (std::string& arg : args) pointers.push_back(arg.data());
    pointers.push_back(nullptr);

    std::string folder = workDir;
    SpawnSetup setup;
    if (!setup.SetFolder(UtlSetValidSeparator(folder))) return 0;

    const std::string& program = args.front();
    const bool searchPath = program.find('/') == std::string::npos;
    // The child writes to the same streams: what is held back goes first.
    std::fflush(nullptr);
    pid_t pid = 0;
    const int error = searchPath
                          ? posix_spawnp(&pid, program.c_str(), setup.Actions(), nullptr, pointers.data(), environ)
                          : posix_spawn(&pid, program.c_str(), setup.Actions(), nullptr, pointers.data(), environ);
    // A missing program, a program that cannot run or a bad working folder.
    if (error != 0) return 0;

    if (mode == SpnNOWAIT) {
        ReapLater(pid);
        return 1;
    }
    const int status = WaitFor(pid);
    if (exitStatus) *exitStatus = status;
    return 1;
}

SpnCaptureResult SpnRunCapture(const std::vector<std::string>& argv, int timeoutMs, const std::string& workDir,
                               std::size_t maxOutput)
{
    SpnCaptureResult result;
    if (argv.empty() || argv.front().empty()) return result;
    std::vector<std::string> args(argv);
    UtlSetValidSeparator(args.front());
    std::vector<char*> pointers;
    pointers.reserve(args.size() + 1);
    for (std::string& arg : args) pointers.push_back(arg.data());
    pointers.push_back(nullptr);

    std::string folder = workDir;
    Pipe pipe;
    SpawnSetup setup;
    GroupLeader group;
    if (!pipe.IsOpen() || !group.IsReady() || !setup.SetFolder(UtlSetValidSeparator(folder)) ||
        !setup.CollectOutput(pipe.WriteEnd()))
        return result;
    // The read end does not block: the loop below waits in poll only.
    ::fcntl(pipe.ReadEnd(), F_SETFL, ::fcntl(pipe.ReadEnd(), F_GETFL) | O_NONBLOCK);

    const std::string& program = args.front();
    pid_t pid = 0;
    const int error =
        program.find('/') == std::string::npos
            ? posix_spawnp(&pid, program.c_str(), setup.Actions(), group.Attributes(), pointers.data(), environ)
            : posix_spawn(&pid, program.c_str(), setup.Actions(), group.Attributes(), pointers.data(), environ);
    if (error != 0) return result;
    result.started = true;
    pipe.CloseWriteEnd();

    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    // A grandchild may keep the pipe open after the child ended: the child's
    // end, not the pipe's, ends the run. Short polls notice either.
    constexpr int kPollSliceMs = 20;
    bool open = true;
    for (;;) {
        int remaining = kPollSliceMs;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) break;
            remaining = static_cast<int>(std::min<long long>(left, kPollSliceMs));
        }
        if (open) {
            pollfd watched{pipe.ReadEnd(), POLLIN, 0};
            if (::poll(&watched, 1, remaining) > 0) open = ReadAvailable(pipe.ReadEnd(), result.output, maxOutput);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(remaining));
        }
        if (HasEnded(pid, result.exitStatus)) {
            if (open) ReadAvailable(pipe.ReadEnd(), result.output, maxOutput);
            return result;
        }
    }
    // Out of time: the child and whatever it started go.
    ::kill(-pid, SIGKILL);
    WaitFor(pid);
    result.timedOut = true;
    result.exitStatus = -1;
    if (open) ReadAvailable(pipe.ReadEnd(), result.output, maxOutput);
    return result;
}
