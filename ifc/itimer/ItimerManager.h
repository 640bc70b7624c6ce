// The file watcher: finds files that appeared or changed on disk in the
// folders where the design tools write, driven by the host. The project
// model owns the one watcher.
#pragma once

#include <memory>

class ItimerManager {
public:
    virtual ~ItimerManager() = default;

    // Forgets the filters and the per-type file lists (they depend on the flow).
    virtual void Reset() = 0;
    // Adds, for every watched file of view `from`, the same file under the
    // folder of view `to`.
    virtual void CopyRevisionFiles(int from, int to) = 0;

    // Process-wide switches for the host, set by other components: file
    // detection is wanted (cleared by import_files while it works), and the
    // block-design tool blocks scanning while it writes into a folder.
    static bool& GetDoFileDetection();
    static bool& GetTimerBlockedByVeyrun();
    // Whether the host should watch for changed files: IDE_TIMER_ENABLED
    // and the project's file-detection switch.
    static bool IsAutoFileDetectionEnabled();

protected:
    ItimerManager() = default;
    ItimerManager(const ItimerManager&) = delete;
    ItimerManager& operator=(const ItimerManager&) = delete;
};

// The file watcher, for the project singleton to own.
std::unique_ptr<ItimerManager> ItimerCreateManager();
