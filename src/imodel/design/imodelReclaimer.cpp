#include "src/imodel/design/imodelReclaimer.h"

#include <system_error>

namespace {

std::thread StartThread(std::function<void()> work) { return std::thread(std::move(work)); }

}  // namespace

imodelReclaimer::imodelReclaimer() : imodelReclaimer(&StartThread) {}

imodelReclaimer::imodelReclaimer(Starter starter) : m_starter(std::move(starter)) {}

imodelReclaimer::~imodelReclaimer() { ShutDown(); }

void imodelReclaimer::HandOver(std::unique_ptr<Garbage> garbage)
{
    if (!garbage) return;
    std::unique_lock lock(m_lock);
    m_changed.wait(lock, [this] { return !m_pending && !m_deleting; });
    if (!m_stop && !m_startFailed && !m_thread.joinable()) {
        try {
            m_thread = m_starter([this] { Run(); });
        } catch (const std::system_error&) {
            // No thread: the memory is given back here, as it was before.
            m_startFailed = true;
        }
    }
    if (m_stop || m_startFailed) {
        ++m_inPlace;
        lock.unlock();
        garbage.reset();
        return;
    }
    m_pending = std::move(garbage);
    m_busy.store(true, std::memory_order_release);
    m_changed.notify_all();
}

void imodelReclaimer::Run()
{
    std::unique_lock lock(m_lock);
    for (;;) {
        m_changed.wait(lock, [this] { return m_pending || m_stop; });
        if (!m_pending) return;
        std::unique_ptr<Garbage> garbage = std::move(m_pending);
        m_deleting = true;
        lock.unlock();
        garbage.reset();
        lock.lock();
        m_deleting = false;
        ++m_onThread;
        m_busy.store(false, std::memory_order_release);
        m_changed.notify_all();
    }
}

void imodelReclaimer::Wait()
{
    // Nothing handed over is left: the thread's last deletion happened
    // before the flag was cleared.
    if (!m_busy.load(std::memory_order_acquire)) return;
    std::unique_lock lock(m_lock);
    m_changed.wait(lock, [this] { return !m_pending && !m_deleting; });
}

bool imodelReclaimer::Busy() const { return m_busy.load(std::memory_order_acquire); }

void imodelReclaimer::ShutDown()
{
    std::thread thread;
    {
        std::unique_lock lock(m_lock);
        // What is pending is deleted by the thread before it ends.
        m_stop = true;
        m_changed.notify_all();
        thread = std::move(m_thread);
    }
    if (thread.joinable()) thread.join();
    // A thread that never ran leaves the pending hand-over here.
    std::unique_ptr<Garbage> left;
    {
        std::lock_guard lock(m_lock);
        left = std::move(m_pending);
        if (left) ++m_inPlace;
        m_busy.store(false, std::memory_order_release);
    }
    left.reset();
}

std::uint64_t imodelReclaimer::ReclaimedOnThread() const
{
    std::lock_guard lock(m_lock);
    return m_onThread;
}

std::uint64_t imodelReclaimer::ReclaimedInPlace() const
{
    std::lock_guard lock(m_lock);
    return m_inPlace;
}

namespace {

// Never destroyed: a model destroyed at exit after the guard below still
// hands its units over (they are then deleted in place).
imodelReclaimer& Instance()
{
    static imodelReclaimer* const reclaimer = new imodelReclaimer;
    return *reclaimer;
}

// Built when the library is loaded, so destroyed after the models made
// later: the unload or the exit joins the thread, and nothing handed over
// outlives it.
struct ShutDownAtUnload {
    ShutDownAtUnload() { Instance(); }
    ~ShutDownAtUnload() { Instance().ShutDown(); }
};
const ShutDownAtUnload g_shutDownAtUnload;

}  // namespace

imodelReclaimer& imodelTheReclaimer() { return Instance(); }
