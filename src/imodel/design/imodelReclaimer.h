// imodelReclaimer: frees, on a thread of its own, memory that nothing else
// can reach any more. Closing a project of a hundred thousand units spends
// most of its time in cache misses on units that lie apart in memory; once
// everything others can see has been done on the calling thread (events,
// registries, counts), what is left is pure memory and need not hold the
// command up.
//
// At most one hand-over is pending: a new one first waits for everything
// handed over before it to be freed, and so does anything that needs the
// memory back (Wait). The thread is started on the first hand-over; when
// it cannot be started, or once the reclaimer has shut down (the library's
// unload or the process's exit), a hand-over is deleted on the calling
// thread. Shutting down frees what is pending and joins the thread. The
// process's end waits for the library's thread before objects of static
// duration go.
//
// A close has more than one thing to free (the file map, then the design):
// while a gathering is open (BeginGathering; ImodelFreeTogether for the
// library's reclaimer), memory that nothing counts (HandOverLater) is kept
// back and goes with the next hand-over, or at the gathering's end; what
// goes at the end is queued behind a hand-over not yet freed (memory alone
// waits for no unit), so that no part of a close waits for another part to
// be freed. Memory handed over later is queued so, at most two deep.
//
// What is handed over must be destroyable on any thread: its destructors
// touch nothing but their own memory and atomic counts (shared and weak
// pointers' counts among them); no last reference to a shared object whose
// destructor touches global state may be among it. How the units and the
// file map keep this rule: docs/threads-and-speed.md.
#pragma once

#include "imodel/design/ImodelFreeLater.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

class imodelReclaimer {
public:
    // What a hand-over holds: anything, destroyed whole.
    using Garbage = ImodelUnreachable;
    template <class T>
    struct Kept : Garbage {
        explicit Kept(T&& kept) : value(std::move(kept)) {}
        T value;
    };
    // Starts the thread that runs `work`; throws (std::system_error) when it cannot.
    using Starter = std::function<std::thread(std::function<void()> work)>;

    imodelReclaimer();
    explicit imodelReclaimer(Starter starter);
    // Shuts down (below).
    ~imodelReclaimer();
    imodelReclaimer(const imodelReclaimer&) = delete;
    imodelReclaimer& operator=(const imodelReclaimer&) = delete;

    // Waits for the hand-over before, then lets the thread delete `garbage`
    // (on the calling thread when there is no thread). Nothing for null.
    void HandOver(std::unique_ptr<Garbage> garbage);
    template <class T>
    void HandOverValue(T&& value)
    {
        HandOver(std::make_unique<Kept<std::remove_cvref_t<T>>>(std::forward<T>(value)));
    }
    // Memory that nothing reaches and nothing waits for (no unit, no count
    // that Wait stands for): kept back while a gathering is open, to go with
    // the next hand-over or at the gathering's end; queued now otherwise
    // (behind at most one hand-over, which it does not wait for).
    void HandOverLater(std::unique_ptr<Garbage> garbage);
    // A gathering is open from its beginning to its end (they nest); at
    // the outermost end what was kept back is queued as memory handed over
    // later is.
    void BeginGathering();
    void EndGathering();
    // Returns once nothing handed over is left to delete. Cheap when nothing
    // is. What a gathering keeps back is not waited for: it is not handed
    // over yet, and nothing counts it.
    void Wait();
    // Whether something handed over is still to be deleted (for tests: it
    // may end at any moment).
    bool Busy() const;
    // Deletes what is pending, joins the thread; later hand-overs are
    // deleted on the calling thread.
    void ShutDown();
    // How many hand-overs the thread has deleted, and whether one was
    // deleted on the calling thread instead (tests).
    std::uint64_t ReclaimedOnThread() const;
    std::uint64_t ReclaimedInPlace() const;

private:
    void Run();
    // What was kept back, joined with `garbage` (either may be empty).
    std::unique_ptr<Garbage> WithKeptBack(std::unique_ptr<Garbage> garbage);
    // Queues `garbage` once at most `queuedBefore` hand-overs are queued or
    // being deleted (deletes it here when there is no thread).
    void Enqueue(std::unique_lock<std::mutex>& lock, std::unique_ptr<Garbage> garbage, std::size_t queuedBefore);
    // Memory alone may queue behind one hand-over.
    static constexpr std::size_t kLooseQueued = 1;

    Starter m_starter;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    // Handed over, not yet being deleted, in hand-over order.
    std::deque<std::unique_ptr<Garbage>> m_queue;
    // Kept back by an open gathering, in hand-over order.
    std::vector<std::unique_ptr<Garbage>> m_keptBack;
    int m_gatherings = 0;
    bool m_deleting = false;
    bool m_stop = false;
    bool m_startFailed = false;
    std::uint64_t m_onThread = 0;
    std::uint64_t m_inPlace = 0;
    // Read without the lock by Wait: set while something is queued or being deleted.
    std::atomic<bool> m_busy{false};
    std::thread m_thread;
};

// The library's reclaimer; shut down when the library is unloaded or the
// process exits, after which hand-overs are deleted in place.
imodelReclaimer& imodelTheReclaimer();
