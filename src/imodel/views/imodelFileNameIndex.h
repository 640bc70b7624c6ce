// Holders of files (the views that chose them, the tool-state records of a
// view), indexed by the files' names: a file that leaves the project is
// looked for here, not in every unit's views.
//
// The key is the name after its last separator, letter case folded: two
// names of one file share it, and it does not depend on the project folder
// (a "<project>" name keeps its key when the project moves). Files of
// several folders may share a key: the caller compares what it finds.
//
// Holders may be deleted on the reclaimer's thread: the index is locked.
#pragma once

#include "ifile/IfileObject.h"

#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

std::string imodelFileNameKey(const IfileObject& file);

template <class Holder>
class imodelFileNameIndex {
public:
    template <class Files>
    void AddAll(Holder* holder, const Files& files)
    {
        if (files.empty()) return;  // most holders hold none: no lock taken
        const std::lock_guard<std::mutex> held(m_lock);
        for (const IfileObject& file : files) AddLocked(holder, file);
    }
    template <class Files>
    void RemoveAll(Holder* holder, const Files& files)
    {
        if (files.empty()) return;  // most holders hold none: no lock taken
        const std::lock_guard<std::mutex> held(m_lock);
        for (const IfileObject& file : files) RemoveLocked(holder, file);
    }
    void Add(Holder* holder, const IfileObject& file)
    {
        const std::lock_guard<std::mutex> held(m_lock);
        AddLocked(holder, file);
    }
    void Remove(Holder* holder, const IfileObject& file)
    {
        const std::lock_guard<std::mutex> held(m_lock);
        RemoveLocked(holder, file);
    }
    // Whether some holder holds a file of the file's key.
    bool Any(const IfileObject& file)
    {
        const std::lock_guard<std::mutex> held(m_lock);
        return m_byKey.contains(imodelFileNameKey(file));
    }
    // The holders of a file of the file's key, each once.
    std::vector<Holder*> Holding(const IfileObject& file)
    {
        const std::lock_guard<std::mutex> held(m_lock);
        std::vector<Holder*> holders;
        const auto found = m_byKey.find(imodelFileNameKey(file));
        if (found == m_byKey.end()) return holders;
        holders.reserve(found->second.size());
        for (const auto& [holder, count] : found->second) holders.push_back(holder);
        return holders;
    }

private:
    void AddLocked(Holder* holder, const IfileObject& file) { ++m_byKey[imodelFileNameKey(file)][holder]; }
    void RemoveLocked(Holder* holder, const IfileObject& file)
    {
        const auto found = m_byKey.find(imodelFileNameKey(file));
        if (found == m_byKey.end()) return;
        const auto count = found->second.find(holder);
        if (count == found->second.end()) return;
        if (--count->second == 0) found->second.erase(count);
        if (found->second.empty()) m_byKey.erase(found);
    }

    std::mutex m_lock;
    // Per key, the holders of a file of it and how many (one holder may
    // hold files of one name in two folders).
    std::unordered_map<std::string, std::unordered_map<Holder*, unsigned>> m_byKey;
};
