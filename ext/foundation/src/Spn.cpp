// Starting child processes with posix_spawn. The child gets its own working
// folder through the spawn's file actions; the process's folder never changes.
#include "foundation/Sys.h"

#include <cerrno>
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
    const posix_spawn_file_actions_t* Actions() const { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions;
    bool m_ok = false;
};

int WaitFor(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
