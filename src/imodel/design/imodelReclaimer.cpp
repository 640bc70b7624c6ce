#include "src/imodel/design/imodelReclaimer.h"

#include <cstdlib>
#include <system_error>

namespace {

std::thread StartThread(std::function<void()> work) { return std::thread(std::move(work)); }

// Hand-overs joined into one, deleted in the order they came.
struct Joined : imodelReclaimer::Garbage {
    std::vector<std::unique_ptr<imodelReclaimer::Garbage>> parts;
    ~Joined() override
    {
        for (auto& part : parts) part.reset();
    }
};

}  // namespace

imodelReclaimer::imodelReclaimer() : imodelReclaimer(&StartThread) {}

imodelReclaimer::imodelReclaimer(Starter starter) : m_starter(std::move(starter)) {}

imodelReclaimer::~imodelReclaimer() { ShutDown(); }

std::unique_ptr<imodelReclaimer::Garbage> imodelReclaimer::WithKeptBack(std::unique_ptr<Garbage> garbage)
{
    if (m_keptBack.empty()) return garbage;
    auto joined = std::make_unique<Joined>();
    joined->parts = std::move(m_keptBack);
    m_keptBack.clear();
    if (garbage) joined->parts.push_back(std::move(garbage));
    return joined;
}

void imodelReclaimer::HandOverLater(std::unique_ptr<Garbage> garbage)
{
    if (!garbage) return;
    std::unique_lock lock(m_lock);
    if (m_gatherings > 0 && !m_stop) {
        m_keptBack.push_back(std::move(garbage));
        return;
    }
    Enqueue(lock, std::move(garbage), kLooseQueued);
}

void imodelReclaimer::BeginGathering()
{
    std::lock_guard lock(m_lock);
    ++m_gatherings;
}

void imodelReclaimer::EndGathering()
{
    std::unique_lock lock(m_lock);
    if (--m_gatherings > 0) return;
    // Memory alone: it need not wait for the units handed over meanwhile.
    Enqueue(lock, WithKeptBack(nullptr), kLooseQueued);
}

void imodelReclaimer::HandOver(std::unique_ptr<Garbage> garbage)
{
    std::unique_lock lock(m_lock);
    // What a gathering kept back goes with it.
    Enqueue(lock, WithKeptBack(std::move(garbage)), 0);
}

void imodelReclaimer::Enqueue(std::unique_lock<std::mutex>& lock, std::unique_ptr<Garbage> garbage,
                              std::size_t queuedBefore)
{
    if (!garbage) return;
    m_changed.wait(lock, [this, queuedBefore] { return m_queue.size() + (m_deleting ? 1 : 0) <= queuedBefore; });
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
    m_queue.push_back(std::move(garbage));
    m_busy.store(true, std::memory_order_release);
    m_changed.notify_all();
}

void imodelReclaimer::Run()
{
    std::unique_lock lock(m_lock);
    for (;;) {
        // What is queued is deleted before the thread ends.
        m_changed.wait(lock, [this] { return !m_queue.empty() || m_stop; });
        if (m_queue.empty()) return;
        std::unique_ptr<Garbage> garbage = std::move(m_queue.front());
        m_queue.pop_front();
        m_deleting = true;
        lock.unlock();
        garbage.reset();
        lock.lock();
        m_deleting = false;
        ++m_onThread;
        if (m_queue.empty()) m_busy.store(false, std::memory_order_release);
        m_changed.notify_all();
    }
}

void imodelReclaimer::Wait()
{
    // Nothing handed over is left: the thread's last deletion happened
    // before the flag was cleared.
    if (!m_busy.load(std::memory_order_acquire)) return;
    std::unique_lock lock(m_lock);
    m_changed.wait(lock, [this] { return m_queue.empty() && !m_deleting; });
}

bool imodelReclaimer::Busy() const { return m_busy.load(std::memory_order_acquire); }

void imodelReclaimer::ShutDown()
{
    std::thread thread;
    {
        std::unique_lock lock(m_lock);
        m_stop = true;
        m_changed.notify_all();
        thread = std::move(m_thread);
    }
    if (thread.joinable()) thread.join();
    // A thread that never ran leaves the queue here, and a gathering still
    // open what it kept back.
    std::deque<std::unique_ptr<Garbage>> left;
    {
        std::lock_guard lock(m_lock);
        left = std::move(m_queue);
        m_queue.clear();
        if (std::unique_ptr<Garbage> keptBack = WithKeptBack(nullptr)) left.push_back(std::move(keptBack));
        m_inPlace += left.size();
        m_busy.store(false, std::memory_order_release);
    }
    left.clear();
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

imodelReclaimer& Instance();

void WaitForTheReclaimerAtExit() { Instance().Wait(); }

// The library's thread. The process's end first waits for what it is
// freeing: an exit handler registered as the thread starts runs before
// those registered earlier, the leak checker's among them, which must not
// find a closed project half freed (its blocks given back to their pools
// while others of the same chunks are still in use).
std::thread StartTheLibrarysThread(std::function<void()> work)
{
    std::thread thread(std::move(work));
    static const bool waitsAtExit = std::atexit(&WaitForTheReclaimerAtExit) == 0;
    static_cast<void>(waitsAtExit);
    return thread;
}

// Never destroyed: a model destroyed at exit after the guard below still
// hands its units over (they are then deleted in place).
imodelReclaimer& Instance()
{
    static imodelReclaimer* const reclaimer = new imodelReclaimer(&StartTheLibrarysThread);
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

void ImodelFreeLater(std::unique_ptr<ImodelUnreachable> memory) { Instance().HandOverLater(std::move(memory)); }

void ImodelWaitForFreedMemory() { Instance().Wait(); }

ImodelFreeTogether::ImodelFreeTogether() { Instance().BeginGathering(); }

ImodelFreeTogether::~ImodelFreeTogether() { Instance().EndGathering(); }
