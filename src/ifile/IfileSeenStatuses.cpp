#include "ifile/IfileSeenStatuses.h"

#include "imodel/design/ImodelFreeLater.h"

#include <utility>

namespace {

thread_local IfileSeenStatuses* t_current = nullptr;

}  // namespace

IfileSeenStatuses::IfileSeenStatuses()
{
    if (t_current) return;  // an idle set inside another
    t_current = this;
    m_current = true;
}

IfileSeenStatuses::~IfileSeenStatuses()
{
    if (m_current) t_current = nullptr;
    // A node per member of a large project: freed off the caller's path.
    if (m_found.size() >= kImodelFreedLaterFrom) ImodelFreeLaterWhole(std::move(m_found), std::move(m_names));
}

const std::string& IfileSeenStatuses::KeepNames(std::string names) { return m_names.emplace_back(std::move(names)); }

void IfileSeenStatuses::Reserve(std::size_t count) { m_found.reserve(m_found.size() + count); }

void IfileSeenStatuses::Add(std::string_view name, const SysStatInfo& info) { m_found.insert_or_assign(name, info); }

IfileSeenStatuses* IfileSeenStatuses::Current() { return t_current; }

const SysStatInfo* IfileSeenStatuses::Find(std::string_view path)
{
    if (!t_current) return nullptr;
    const auto found = t_current->m_found.find(path);
    return found == t_current->m_found.end() ? nullptr : &found->second;
}
