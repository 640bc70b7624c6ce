#include "ifile/IfileKnownStatuses.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/imodelUtl.h"

#include <bit>

namespace {

thread_local const IfileKnownStatuses* t_current = nullptr;

}  // namespace

IfileKnownStatuses::IfileKnownStatuses(std::size_t files)
    : m_slots(std::bit_ceil(files * 2 + 1)),
      m_folder(Imodel::GetInstance().GetDesignManager()->GetProjectFolder().GetString())
{
    if (t_current) return;  // an idle set inside another
    t_current = this;
    m_current = true;
}

IfileKnownStatuses::~IfileKnownStatuses()
{
    if (m_current) t_current = nullptr;
}

void IfileKnownStatuses::Add(const IfileObject& file, std::uint64_t hash, const SysStatInfo& info)
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        Slot& slot = m_slots[at];
        if (slot.file && !(slot.hash == hash && *slot.file == file)) continue;
        slot = Slot{hash, &file, info};
        return;
    }
}

const SysStatInfo* IfileKnownStatuses::Find(const IfileObject& file) const
{
    const std::uint64_t hash = ImodelFileNameKeyHash(file.GetInternalFileName().GetString(), m_folder);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = hash & mask; m_slots[at].file; at = (at + 1) & mask)
        if (m_slots[at].hash == hash && *m_slots[at].file == file) return &m_slots[at].info;
    return nullptr;
}

const SysStatInfo* IfileKnownStatuses::Current(const IfileObject& file)
{
    return t_current ? t_current->Find(file) : nullptr;
}
