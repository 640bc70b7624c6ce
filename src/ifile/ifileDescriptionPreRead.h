// The reading half of the pre-read of a project's place-and-route
// descriptions: "<project>/pallador/impl*/*.ide_pld", each read as the
// description of the database beside it (same folder and title, "adb").
//
// It knows nothing of the model: it takes the project folder as text, reads
// files and parses them, and keeps what it read for the thread that drives
// the model to take (Take). Run on a thread of its own, it can be stopped
// between two files (Cancel); the destructor stops it and waits for it, so
// it never outlives its owner.
#pragma once

#include <kemlet/KemletContentIf.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ifileDescriptionPreRead {
public:
    // One description read: the full name of its database and what it says.
    struct Description {
        std::string database;
        KemletContentIf content;
    };

    // The databases whose description lies in a view folder of the project,
    // in listing order (folders, then files, each in name order).
    static std::vector<std::string> ListDatabases(const std::string& projectFolder);
    // Reads the description of each listed database until `stop` is set,
    // handing each one read to `read`; unreadable ones are left out.
    static void ReadDatabases(const std::vector<std::string>& databases, const std::atomic<bool>& stop,
                              const std::function<void(Description&&)>& read);

    // Starts reading the descriptions below `projectFolder` on a new thread.
    explicit ifileDescriptionPreRead(std::string projectFolder);
    // Stops the reading and waits for the thread.
    ~ifileDescriptionPreRead();
    ifileDescriptionPreRead(const ifileDescriptionPreRead&) = delete;
    ifileDescriptionPreRead& operator=(const ifileDescriptionPreRead&) = delete;

    // The folder the reading was started for.
    const std::string& GetProjectFolder() const { return m_projectFolder; }
    // Asks the thread to stop after the file it is on, and waits for it.
    void Cancel();
    // Waits until every description was read (or the reading stopped).
    void Wait();
    // Whether the thread has ended.
    bool IsFinished() const { return m_finished.load(); }
    // The descriptions read since the last call, in reading order.
    std::vector<Description> Take();

private:
    void Run();

    const std::string m_projectFolder;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_finished{false};
    std::mutex m_lock;
    std::vector<Description> m_read;  // under m_lock
    std::thread m_thread;
};
