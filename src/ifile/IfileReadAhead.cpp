// The helpers claim the listed files in order, a batch at a time, at most a
// window of files (and a budget of unread text) ahead of the reader's
// furthest request. The reader claims a file that no helper has reached and
// looks at it itself, so it never waits for the helpers to catch up, only for
// a file a helper is on. A file once looked at is read without a lock.
#include "ifile/IfileReadAhead.h"

#include "ifile/IfileSeenStatuses.h"
#include "imodel/design/ImodelFreeLater.h"
#include "imodel/names/ImodelVisitAhead.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

constexpr unsigned kMaxHelpers = 4;

// Whether a text holds a block of its own, beyond the room inside it.
bool HoldsBlock(const std::string& text) { return text.capacity() > std::string().capacity(); }

enum class State {
    Pending,
    Claimed,
    Done
};
enum class Status {
    Missing,
    Found,
    Unknown
};

}  // namespace

class IfileReadAhead::Impl {
public:
    Impl(Files files, const Limits& limits);
    ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    static constexpr std::size_t kNotListed = static_cast<std::size_t>(-1);
    // The index of a listed path, or kNotListed.
    std::size_t IndexOf(const std::string& path);
    int Stat(std::size_t index, SysStatInfo* info);
    bool Read(std::size_t index, std::string& text);
    // Takes back a text the reader is done with: its block holds a later
    // file's text (the reader's).
    void Recycle(std::string&& text);
    // Hands the statuses found, with the names, to `seen`.
    void LeaveStatuses(IfileSeenStatuses& seen);

private:
    struct Slot {
        std::atomic<State> state{State::Pending};
        bool read = false;  // the reader will read its text
        // Written by whoever claimed the slot, read once it is done.
        Status status = Status::Unknown;
        SysStatInfo info;
        bool hasText = false;
        std::string text;  // the reader's once the slot is done
    };

    std::size_t Count() const { return m_pathStarts.size() - 1; }
    std::string_view PathOf(std::size_t index) const
    {
        return std::string_view(m_paths).substr(m_pathStarts[index], m_pathStarts[index + 1] - m_pathStarts[index]);
    }
    // Reads into `spare`'s block when one is given.
    void Look(std::size_t index, bool withText, std::string* spare = nullptr);
    void Finish(Slot& slot);
    // The slot once looked at. A slot nobody has claimed yet the caller
    // looks at itself, reading the text of a file to be read within the
    // budget, or whenever it asks for the text.
    Slot& Reach(std::size_t index, bool forText);
    // Prefetches the slots some places after `index`.
    void PrefetchAhead(std::size_t index) const;
    void MoveWindow(std::size_t reached);
    void Help();
    // Text of `bytes` bytes is no longer held.
    void GiveBack(std::size_t bytes);

    const Limits m_limits;
    // Every listed path, one after the other, and where each starts (one
    // more for the end): the reader compares the path it asks for with the
    // next ones, which it then reads in order rather than each wherever it
    // was made (cold by then in a large project).
    std::string m_paths;
    std::vector<std::size_t> m_pathStarts;
    // Every slot in one block, built in place (slots hold atomics): not an
    // allocation per few files, out of memory a refresh has just freed.
    std::unique_ptr<Slot[]> m_slots;
    std::unordered_map<std::string_view, std::size_t> m_index;  // the reader's
    bool m_indexMade = false;                                   // the reader's
    std::size_t m_lastAsked = 0;                                // the reader's
    std::size_t m_wokenAt = 0;   // m_reached when the helpers were last woken (the reader's)
    std::size_t m_dropped = 0;   // texts before this one are given up (the reader's)
    std::size_t m_heldBack = 0;  // bytes taken and not yet given back (the reader's)
    static constexpr std::size_t kGivenBackAtOnce = 64u << 10;
    std::vector<std::thread> m_helpers;
    bool m_stopping = false;  // under the lock
    // Texts the reader is done with, handed to the helpers a batch at a
    // time. A text freed on the reader's thread would go back to the
    // helper's heap, whose lock the helper holds while it reads the next:
    // a wait, and a wake, for many files.
    std::vector<std::string> m_returned;  // the reader's
    static constexpr std::size_t kRecycledBytes = 16u << 10;

    // What the helpers take and change, file after file, lies on cache
    // lines apart from what the reader alone uses: those lines do not
    // travel from core to core with every file.
    alignas(64) std::mutex m_lock;
    std::condition_variable m_helpersWake;
    std::condition_variable m_lookedAt;
    std::size_t m_next = 0;                             // the next file for a helper (under the lock)
    std::vector<std::string> m_spare;                   // blocks for the helpers' texts (under the lock)
    alignas(64) std::atomic<std::size_t> m_reached{0};  // one past the reader's furthest request
    // Both changed by the helpers at every file, which then find the flag
    // on the line they hold already.
    alignas(64) std::atomic<std::size_t> m_bytesAhead{0};
    std::atomic<bool> m_readerWaiting{false};
};

namespace {

thread_local IfileReadAhead::Impl* t_current = nullptr;

}  // namespace

IfileReadAhead::Impl::Impl(Files files, const Limits& limits)
    : m_limits(limits), m_paths(std::move(files.m_paths)), m_pathStarts(std::move(files.m_starts)),
      m_slots(std::make_unique<Slot[]>(files.Size()))
{
    for (std::size_t i = 0; i < files.Size(); ++i) m_slots[i].read = files.m_read[i];
    if (Count() < m_limits.minFilesForHelpers || m_limits.window == 0 || m_limits.batch == 0) return;
    const unsigned processors = SysUsableProcessors();
    const unsigned helpers = std::min(kMaxHelpers, processors > 1 ? processors - 1 : 0u);
    for (unsigned i = 0; i < helpers; ++i) {
        try {
            m_helpers.emplace_back([this] { Help(); });
        } catch (const std::system_error&) {
            break;  // fewer helpers, or none: the reader looks itself
        }
    }
}

IfileReadAhead::Impl::~Impl()
{
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_stopping = true;
    }
    m_helpersWake.notify_all();
    for (std::thread& helper : m_helpers) helper.join();
    if (IfileSeenStatuses* seen = IfileSeenStatuses::Current()) LeaveStatuses(*seen);
    // The index is a node per file, made long before: freeing it is a cold
    // walk, done off the reader's path. It names paths in m_paths, which go
    // with it.
    if (m_index.size() >= kImodelFreedLaterFrom) ImodelFreeLaterWhole(std::move(m_index), std::move(m_paths));
}

void IfileReadAhead::Impl::LeaveStatuses(IfileSeenStatuses& seen)
{
    // The names go with the statuses: the index, freed below, still points
    // into them but is not read again.
    const std::string& names = seen.KeepNames(std::move(m_paths));
    seen.Reserve(Count());
    for (std::size_t i = 0; i < Count(); ++i) {
        const Slot& slot = m_slots[i];
        if (slot.state.load() == State::Done && slot.status == Status::Found)
            seen.Add(std::string_view(names).substr(m_pathStarts[i], m_pathStarts[i + 1] - m_pathStarts[i]), slot.info);
    }
}

std::size_t IfileReadAhead::Impl::IndexOf(const std::string& path)
{
    // The reader mostly asks for the file it asked for last, or the next.
    for (std::size_t at = m_lastAsked; at < Count() && at <= m_lastAsked + 1; ++at)
        if (PathOf(at) == path) return m_lastAsked = at;
    // Made on the first request out of order only: a reader that follows
    // the list never pays a hash and a node per file.
    if (!m_indexMade) {
        m_indexMade = true;
        m_index.reserve(Count());
        for (std::size_t i = 0; i < Count(); ++i) m_index.emplace(PathOf(i), i);
    }
    const auto found = m_index.find(path);
    if (found == m_index.end()) return kNotListed;
    return m_lastAsked = found->second;
}

void IfileReadAhead::Impl::Look(std::size_t index, bool withText, std::string* spare)
{
    Slot& slot = m_slots[index];
    try {
        const std::string path(PathOf(index));
        if (!withText) {
            slot.status = SysPathStat(path, &slot.info) == 0 ? Status::Found : Status::Missing;
            return;
        }
        std::string text;
        if (spare != nullptr) text.swap(*spare);
        const int got = SysStatAndReadFile(path, &slot.info, &text, m_limits.maxTextBytes);
        slot.status = got < 0 ? Status::Missing : Status::Found;
        if (got == 1) {
            slot.text = std::move(text);
            slot.hasText = true;
        } else if (spare != nullptr) {
            text.swap(*spare);  // for the next file
        }
    } catch (const std::bad_alloc&) {
        slot.status = Status::Unknown;  // the reader asks the disk itself
        slot.hasText = false;
        slot.text.clear();
    }
}

void IfileReadAhead::Impl::Finish(Slot& slot)
{
    m_bytesAhead += slot.text.size();
    slot.state.store(State::Done);
    if (m_readerWaiting.load()) {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_lookedAt.notify_all();
    }
}

void IfileReadAhead::Impl::Help()
{
    std::vector<std::string> spare;
    for (;;) {
        std::size_t first = 0;
        std::size_t last = 0;
        {
            std::unique_lock<std::mutex> lock(m_lock);
            // Blocks left from the batch before go back for any helper.
            for (std::string& text : spare) m_spare.push_back(std::move(text));
            spare.clear();
            m_helpersWake.wait(lock, [this] {
                return m_stopping || m_next >= Count() ||
                       (m_next < m_reached.load() + m_limits.window && m_bytesAhead.load() < m_limits.maxBytesAhead);
            });
            if (m_stopping || m_next >= Count()) return;
            // Files the reader has passed are left to it.
            first = std::max(m_next, m_reached.load());
            last = std::min(Count(), first + m_limits.batch);
            m_next = last;
            while (spare.size() < last - first && !m_spare.empty()) {
                spare.push_back(std::move(m_spare.back()));
                m_spare.pop_back();
            }
        }
        for (std::size_t i = first; i < last; ++i) {
            Slot& slot = m_slots[i];
            State expected = State::Pending;
            if (!slot.state.compare_exchange_strong(expected, State::Claimed)) continue;
            std::string* const block = spare.empty() ? nullptr : &spare.back();
            // Over the budget a helper takes the status alone.
            Look(i, slot.read && m_bytesAhead.load() < m_limits.maxBytesAhead, block);
            if (block != nullptr && !HoldsBlock(*block)) spare.pop_back();
            Finish(slot);
        }
    }
}

void IfileReadAhead::Impl::GiveBack(std::size_t bytes)
{
    // Given back a few dozen files at a time: the count is on a line the
    // helpers change at every file, and a budget of megabytes does not
    // notice a sixteenth of itself held back a while.
    m_heldBack += bytes;
    if (m_heldBack < std::min<std::size_t>(kGivenBackAtOnce, m_limits.maxBytesAhead / 16)) return;
    bytes = std::exchange(m_heldBack, 0);
    const std::size_t before = m_bytesAhead.fetch_sub(bytes);
    if (!m_helpers.empty() && before >= m_limits.maxBytesAhead && before - bytes < m_limits.maxBytesAhead) {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_helpersWake.notify_all();
    }
}

void IfileReadAhead::Impl::MoveWindow(std::size_t reached)
{
    // The helpers read it under the lock, which the wake below takes: no
    // fence of its own is needed, and none holds the reader up.
    m_reached.store(reached, std::memory_order_release);
    // Texts far behind the reader will not be asked for any more. A file a
    // helper is still on is waited for at the next move.
    for (; m_dropped + m_limits.window < reached; ++m_dropped) {
        Slot& behind = m_slots[m_dropped];
        const State state = behind.state.load();
        if (state == State::Claimed) break;
        if (state != State::Done || !behind.hasText) continue;
        const std::size_t size = behind.text.size();
        behind.hasText = false;
        std::string().swap(behind.text);
        GiveBack(size);
    }
    // The slot the next move looks at, last touched a window of files ago.
    if (m_dropped < Count()) ImodelPrefetch(&m_slots[m_dropped]);
    // The helpers are woken when the window has moved on by a good part of
    // itself, not at every file.
    if (!m_helpers.empty() && reached >= m_wokenAt + std::max<std::size_t>(1, m_limits.window / 4)) {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_wokenAt = reached;
        m_helpersWake.notify_all();
    }
}

void IfileReadAhead::Impl::PrefetchAhead(std::size_t index) const
{
    // The slots were written on the helpers' cores, and a large project's
    // lie far apart: those the reader comes to next are prefetched while it
    // parses, with the start of a text already read.
    constexpr std::size_t kFar = 8;
    constexpr std::size_t kNear = 4;
    if (index + kFar < Count()) ImodelPrefetch(&m_slots[index + kFar], sizeof(Slot));
    if (index + kNear < Count()) {
        const Slot& near = m_slots[index + kNear];
        if (near.state.load(std::memory_order_acquire) == State::Done && near.hasText)
            ImodelPrefetch(near.text.data(), std::min<std::size_t>(near.text.size(), 256));
    }
}

IfileReadAhead::Impl::Slot& IfileReadAhead::Impl::Reach(std::size_t index, bool forText)
{
    Slot& slot = m_slots[index];
    PrefetchAhead(index);
    if (index >= m_reached.load()) MoveWindow(index + 1);
    if (slot.state.load() == State::Done) return slot;
    State expected = State::Pending;
    if (slot.state.compare_exchange_strong(expected, State::Claimed)) {
        // A file to be read is read with its status, as a helper does: its
        // status comes with the open, and the read that follows needs no
        // second lookup.
        std::string* const block = m_returned.empty() ? nullptr : &m_returned.back();
        Look(index, slot.read && (forText || m_bytesAhead.load() < m_limits.maxBytesAhead), block);
        if (block != nullptr && !HoldsBlock(*block)) m_returned.pop_back();
        Finish(slot);
        return slot;
    }
    std::unique_lock<std::mutex> lock(m_lock);
    m_readerWaiting.store(true);
    m_lookedAt.wait(lock, [&slot] { return slot.state.load() == State::Done; });
    m_readerWaiting.store(false);
    return slot;
}

int IfileReadAhead::Impl::Stat(std::size_t index, SysStatInfo* info)
{
    const Slot& slot = Reach(index, false);
    switch (slot.status) {
    case Status::Found:
        if (info) *info = slot.info;
        return 0;
    case Status::Missing:
        return -1;
    case Status::Unknown:
        break;
    }
    return SysPathStat(std::string(PathOf(index)), info);
}

bool IfileReadAhead::Impl::Read(std::size_t index, std::string& text)
{
    Slot& slot = Reach(index, true);
    if (!slot.hasText) return SysReadFile(std::string(PathOf(index)), text);
    const std::size_t size = slot.text.size();
    text = std::move(slot.text);
    slot.text = std::string();
    slot.hasText = false;
    GiveBack(size);
    return true;
}

void IfileReadAhead::Impl::Recycle(std::string&& text)
{
    if (m_helpers.empty() || !HoldsBlock(text) || text.capacity() > kRecycledBytes) return;
    m_returned.push_back(std::move(text));
    if (m_returned.size() < m_limits.batch) return;
    // At most two batches' blocks per helper are kept.
    const std::size_t most = m_limits.batch * m_helpers.size() * 2;
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        for (std::string& returned : m_returned) {
            if (m_spare.size() >= most) break;
            m_spare.push_back(std::move(returned));
        }
    }
    // Those the helpers have no room for go on the reader's thread.
    m_returned.clear();
}

IfileReadAhead::IfileReadAhead(Files files, const Limits& limits)
{
    if (t_current) return;  // an idle read-ahead inside another
    m_impl = std::make_unique<Impl>(std::move(files), limits);
    t_current = m_impl.get();
}

IfileReadAhead::~IfileReadAhead()
{
    if (m_impl && t_current == m_impl.get()) t_current = nullptr;
}

int IfileStatPath(const std::string& path, SysStatInfo* info)
{
    if (t_current)
        if (const std::size_t index = t_current->IndexOf(path); index != IfileReadAhead::Impl::kNotListed)
            return t_current->Stat(index, info);
    return SysPathStat(path, info);
}

void IfileRecycleText(std::string&& text)
{
    if (t_current) t_current->Recycle(std::move(text));
}

bool IfileReadPath(const std::string& path, std::string& text)
{
    if (t_current)
        if (const std::size_t index = t_current->IndexOf(path); index != IfileReadAhead::Impl::kNotListed)
            return t_current->Read(index, text);
    return SysReadFile(path, text);
}
