// What was read from a file, kept by the file's full name with the size and
// time it had: a file that did not change on disk is not read again. The
// derived-file records are made again at every announcement of their file,
// most of them for a change of its state alone.
#pragma once

#include <foundation/Sys.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

template <class Value>
class ifileReadCache {
public:
    // The value read for the file as it is on disk now: the kept one when
    // the file has the size and time it had then, else `read`'s answer,
    // kept for next time. A file whose status cannot be read is read every
    // time and nothing is kept.
    Value Get(const std::string& path, const std::function<Value()>& read)
    {
        SysStatInfo status;
        if (SysPathStat(path, &status) != 0) return read();
        {
            const std::lock_guard<std::mutex> lock(m_lock);
            const auto found = m_items.find(path);
            if (found != m_items.end() && found->second.size == status.size && found->second.time == status.time)
                return found->second.value;
        }
        Value value = read();
        const std::lock_guard<std::mutex> lock(m_lock);
        // Kept for the files of one project; the oldest entries are not
        // worth an order of their own.
        if (m_items.size() >= kMaxItems) m_items.clear();
        m_items.insert_or_assign(path, Item{status.size, status.time, value});
        return value;
    }

private:
    static constexpr std::size_t kMaxItems = 1 << 16;
    struct Item {
        std::int64_t size;
        std::int64_t time;
        Value value;
    };
    std::mutex m_lock;
    std::unordered_map<std::string, Item> m_items;
};
