#include "iprocess/IprocessTransition.h"

#include "imodel/model/Imodel.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessToolObject.h"

#include <foundation/Sys.h>

#include <algorithm>
#include <type_traits>

template <class From, class To>
void IprocessTransition<From, To>::GetFromsOpt(std::vector<From*>& out, bool withOptional) const
{
    for (std::size_t position = 0; position < m_froms.size(); ++position) {
        const bool optional = std::find(m_optionalInputs.begin(), m_optionalInputs.end(), static_cast<int>(position)) !=
                              m_optionalInputs.end();
        if (withOptional || !optional) out.push_back(m_froms[position]);
    }
}

template <class From, class To>
bool IprocessTransition<From, To>::IsInputOptional(const From* node) const
{
    for (int position : m_optionalInputs)
        if (position >= 0 && static_cast<std::size_t>(position) < m_froms.size() && m_froms[position] == node)
            return true;
    return false;
}

template <class From, class To>
void IprocessTransition<From, To>::SetAutoProcessed(bool autoProcessed)
{
    m_autoProcessed = autoProcessed;
    if constexpr (std::is_same_v<To, IprocessFileObject>)
        for (IprocessFileObject* node : m_tos) node->SetAutoProcessedMark(autoProcessed);
}

template <class From, class To>
bool IprocessTransition<From, To>::DoAttachFromObject(From* node, std::vector<From*>& list)
{
    if (!node) {
        if (Imodel::GetInstance().IsDebugMsg()) SysPrintf("Process Controller: Failed to Attach transition input");
        return false;
    }
    list.push_back(node);
    node->AttachOutputTransition(this);
    return true;
}

template <class From, class To>
bool IprocessTransition<From, To>::DoAttachToObject(To* node, std::vector<To*>& list)
{
    if (!node) {
        if (Imodel::GetInstance().IsDebugMsg()) SysPrintf("Process Controller: Failed to Attach transition output");
        return false;
    }
    list.push_back(node);
    node->AttachInputTransition(this);
    if constexpr (std::is_same_v<To, IprocessFileObject>) node->SetAutoProcessedMark(m_autoProcessed);
    return true;
}

template <class From, class To>
bool IprocessTransition<From, To>::IsObjectUsed(ImodelModule* module, ImodelRevContext* revision) const
{
    if (!IprocessFlowObject::IsObjectUsed(module, revision)) return false;
    for (const From* node : m_froms)
        if (!node->IsObjectUsed(module, revision)) return false;
    for (const To* node : m_tos)
        if (!node->IsObjectUsed(module, revision)) return false;
    return true;
}

template <class From, class To>
bool IprocessTransition<From, To>::IsRevDependent() const
{
    return std::any_of(m_froms.begin(), m_froms.end(), [](const From* node) { return node->IsRevDependent(); }) ||
           std::any_of(m_tos.begin(), m_tos.end(), [](const To* node) { return node->IsRevDependent(); });
}

template class IprocessTransition<IprocessToolObject, IprocessFileObject>;
template class IprocessTransition<IprocessFileObject, IprocessToolObject>;
template class IprocessTransition<IprocessFileObject, IprocessFileObject>;
template class IprocessTransition<IprocessToolObject, IprocessToolObject>;
