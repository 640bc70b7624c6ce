// A transition: a named, numbered edge of the flow graph from one or more
// nodes to one or more nodes. It says for which design state it is the
// default input of its target and whether it counts for the design state;
// a file-to-file transition may regenerate its targets automatically.
//
// A transition takes part for a design unit when its own conditions hold
// and every one of its nodes takes part. Attaching a node also lists the
// transition on the node; nodes and transitions belong to the flow and refer
// to one another by plain pointers, in attachment order.
#pragma once

#include "imodel/names/ImodelToolKinds.h"
#include "iprocess/IprocessFlowObject.h"

#include <string>
#include <vector>

class IprocessFileObject;
class IprocessToolObject;

template <class From, class To>
class IprocessTransition : public IprocessFlowObject {
public:
    IprocessTransition(int id, const std::string& name, imodelSolvatoState defaultState, bool usedForState)
        : m_defaultState(defaultState), m_usedForState(usedForState), m_name(name), m_id(id)
    {
    }
    // Default state pre-synthesis.
    IprocessTransition(int id, const std::string& name, bool usedForState)
        : IprocessTransition(id, name, Pre_Synthesis, usedForState)
    {
    }

    int GetID() const { return m_id; }
    const std::string& GetName() const { return m_name; }
    imodelSolvatoState GetDefaultState() const { return m_defaultState; }
    bool IsUsedForState() const { return m_usedForState; }
    bool IsAutoProcessed() const { return m_autoProcessed; }

    std::vector<From*>* GetFroms() { return &m_froms; }
    const std::vector<From*>& GetFromsList() const { return m_froms; }
    std::vector<To*>* GetTos() { return &m_tos; }
    const std::vector<To*>& GetTosList() const { return m_tos; }
    // Appends the from-nodes in order; without `withOptional`, those at an
    // optional position are left out.
    void GetFromsOpt(std::vector<From*>& out, bool withOptional) const;
    // Whether the node stands in the from-list at an optional position.
    bool IsInputOptional(const From* node) const;
    // Marks the input at that position of the from-list as one that may be
    // absent.
    void AddOptionalInput(int position) { m_optionalInputs.push_back(position); }
    const std::vector<int>& GetOptionalInputs() const { return m_optionalInputs; }

    // Sets the flag and, when the targets are file nodes, their
    // auto-processed mark.
    void SetAutoProcessed(bool autoProcessed);

    // A null node is refused (traced with DEBUG_MSG); otherwise the node is
    // appended and the transition is listed on it.
    bool AttachFromObject(From* node) { return DoAttachFromObject(node, m_froms); }
    bool AttachToObject(To* node) { return DoAttachToObject(node, m_tos); }
    bool DoAttachFromObject(From* node, std::vector<From*>& list);
    bool DoAttachToObject(To* node, std::vector<To*>& list);

    bool IsObjectUsed(ImodelModule* module, ImodelRevContext* revision) const override;
    // Some node depends on the revision.
    bool IsRevDependent() const override;

private:
    std::vector<From*> m_froms;
    std::vector<int> m_optionalInputs;
    std::vector<To*> m_tos;
    imodelSolvatoState m_defaultState;
    bool m_usedForState;
    bool m_autoProcessed = false;
    std::string m_name;
    int m_id;
};

using IprocessToolToFileTransition = IprocessTransition<IprocessToolObject, IprocessFileObject>;
using IprocessFileToToolTransition = IprocessTransition<IprocessFileObject, IprocessToolObject>;
using IprocessFileToFileTransition = IprocessTransition<IprocessFileObject, IprocessFileObject>;
using IprocessToolToToolTransition = IprocessTransition<IprocessToolObject, IprocessToolObject>;

extern template class IprocessTransition<IprocessToolObject, IprocessFileObject>;
extern template class IprocessTransition<IprocessFileObject, IprocessToolObject>;
extern template class IprocessTransition<IprocessFileObject, IprocessFileObject>;
extern template class IprocessTransition<IprocessToolObject, IprocessToolObject>;
