#include "ifile/IfileSeenStatuses.h"

#include "imodel/design/ImodelFreeLater.h"

#include <algorithm>
#include <utility>

namespace {

thread_local IfileSeenStatuses* t_current = nullptr;

}  // namespace

IfileSeenStatuses::IfileSeenStatuses()
{
    if (!t_current) t_current = this;  // else an idle set inside another
}

IfileSeenStatuses::~IfileSeenStatuses()
{
    if (t_current == this) t_current = nullptr;
    // A node per member of a large project: freed off the caller's path.
    if (m_index.size() >= kImodelFreedLaterFrom)
        ImodelFreeLaterWhole(std::move(m_index), std::move(m_found), std::move(m_names));
}

const std::string& IfileSeenStatuses::KeepNames(std::string names) { return m_names.emplace_back(std::move(names)); }

void IfileSeenStatuses::Reserve(std::size_t count)
{
    // Grown by half at least: many small read-aheads must not each move
    // and rehash all that came before.
    const std::size_t wanted = m_found.size() + count;
    if (wanted <= m_found.capacity()) return;
    const std::size_t room = std::max(wanted, m_found.capacity() + m_found.capacity() / 2);
    m_found.reserve(room);
    m_index.reserve(room);
}

void IfileSeenStatuses::Add(std::string_view name, const SysStatInfo& info)
{
    // A file found again keeps its place, with the status found last.
    const auto [at, added] = m_index.try_emplace(name, m_found.size());
    if (added)
        m_found.emplace_back(name, info);
    else
        m_found[at->second].second = info;
}

IfileSeenStatuses* IfileSeenStatuses::Current() { return t_current; }

const SysStatInfo* IfileSeenStatuses::Find(std::string_view path)
{
    IfileSeenStatuses* seen = t_current;
    if (!seen) return nullptr;
    std::size_t at = seen->m_next;
    if (at >= seen->m_found.size() || seen->m_found[at].first != path) {
        const auto found = seen->m_index.find(path);
        if (found == seen->m_index.end()) return nullptr;
        at = found->second;
    }
    seen->m_next = at + 1;
    return &seen->m_found[at].second;
}
