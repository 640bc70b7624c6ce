// Disk statuses that a walk over the project's folders (the file watcher's)
// took a moment ago. While a set is current on a thread, a member file of
// that thread that reads its disk status (IfileObjectEx::StoreStatInfo) and
// names one of the set's files takes the status from the set instead of
// asking the disk a second time: what a request a moment earlier would have
// found. Files are looked up by the hash of their name key, without building
// a name; the set refers to the files it was given, which must outlive it.
// Sets do not nest: one made while another is current stays idle.
#pragma once

#include "ifile/IfileObject.h"

#include <foundation/Sys.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class IfileKnownStatuses {
public:
    // `files` is how many files will be added (the table is made for them).
    explicit IfileKnownStatuses(std::size_t files);
    ~IfileKnownStatuses();
    IfileKnownStatuses(const IfileKnownStatuses&) = delete;
    IfileKnownStatuses& operator=(const IfileKnownStatuses&) = delete;

    // The status of the file, as it was just found; `hash` is the hash of
    // its name key (ImodelFileNameKeyHash of its stored name).
    void Add(const IfileObject& file, std::uint64_t hash, const SysStatInfo& info);
    // The status the set holds for the file; null when none.
    const SysStatInfo* Find(const IfileObject& file) const;

    // The current set's status of the file; null when there is no current
    // set or it does not hold the file.
    static const SysStatInfo* Current(const IfileObject& file);

private:
    struct Slot {
        std::uint64_t hash = 0;
        const IfileObject* file = nullptr;  // null: a free slot
        SysStatInfo info;
    };

    std::vector<Slot> m_slots;  // open addressing, linear probing
    std::string m_folder;       // the project folder the hashes were made with
    bool m_current = false;
};
