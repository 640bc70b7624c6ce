#include "iprocess/IprocessFlowObject.h"

bool IprocessFlowObject::IsObjectUsed(ImodelModule* module, ImodelRevContext* revision) const
{
    for (IprocessCondition ignore : m_ignore)
        if (ignore(module, revision)) return false;
    if (m_use.empty()) return true;
    for (IprocessCondition use : m_use)
        if (use(module, revision)) return true;
    return false;
}

void IprocessFlowObject::AttachUseConstraint(IprocessCondition condition) { m_use.push_back(condition); }

void IprocessFlowObject::AttachIgnoreConstraint(IprocessCondition condition) { m_ignore.push_back(condition); }

void IprocessFlowObject::CopyConstraints(const IprocessFlowObject* other)
{
    if (!other) return;
    // Copies first: the other may be this object.
    const std::vector<IprocessCondition> ignore = other->m_ignore;
    const std::vector<IprocessCondition> use = other->m_use;
    m_ignore.insert(m_ignore.end(), ignore.begin(), ignore.end());
    m_use.insert(m_use.end(), use.begin(), use.end());
}

void IprocessFlowObject::ClearConditions()
{
    std::vector<IprocessCondition>().swap(m_use);
    std::vector<IprocessCondition>().swap(m_ignore);
}
