// Disk statuses that the read-aheads of one operation found, kept for a walk
// over the project's folders that follows it: an open reads every member,
// then walks the folders for the file watcher. While a set is current on a
// thread, each read-ahead that ends on that thread leaves it the status of
// every file it found; the walk takes a file's status from the set instead
// of asking the disk a second time, so the stamp it keeps is the one of the
// text that was read. Sets do not nest: one made while another is current
// stays idle.
#pragma once

#include <foundation/Sys.h>

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class IfileSeenStatuses {
public:
    IfileSeenStatuses();
    ~IfileSeenStatuses();
    IfileSeenStatuses(const IfileSeenStatuses&) = delete;
    IfileSeenStatuses& operator=(const IfileSeenStatuses&) = delete;

    // Keeps `names`, the full names of a read-ahead's files one after the
    // other, for the files then added: each names a part of the text kept.
    const std::string& KeepNames(std::string names);
    // Room for `count` more files.
    void Reserve(std::size_t count);
    // The status the file of full name `name` (a part of kept text) was
    // found with; a file added again keeps the status added last.
    void Add(std::string_view name, const SysStatInfo& info);

    // The current set of this thread, or null.
    static IfileSeenStatuses* Current();
    // The current set's status of the file of full name `path`; null when
    // there is no current set or it does not hold the file. The file added
    // after the one asked for last is answered without a lookup.
    static const SysStatInfo* Find(std::string_view path);

private:
    std::deque<std::string> m_names;
    // Each file once, in the order found; a walk that lists its folders in
    // order mostly asks for the file after the one it asked for last.
    std::vector<std::pair<std::string_view, SysStatInfo>> m_found;
    std::unordered_map<std::string_view, std::size_t> m_index;
    std::size_t m_next = 0;
};
