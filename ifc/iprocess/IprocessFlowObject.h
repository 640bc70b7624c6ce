// The common base of everything in a design flow (file nodes, tool nodes,
// transitions, the flow itself): two lists of conditions that decide, for a
// design unit and a revision, whether the object takes part.
//
// An object is used when none of its ignore conditions holds and either it
// has no use condition or at least one of them holds: use conditions are
// alternatives, not requirements. Conditions are called in the order they
// were attached; the first that decides ends the test.
#pragma once

#include <vector>

class ImodelModule;
class ImodelRevContext;

// A plain function of the design unit and the revision; either may be null.
using IprocessCondition = bool (*)(ImodelModule* module, ImodelRevContext* revision);

class IprocessFlowObject {
public:
    IprocessFlowObject() = default;
    // Flow objects refer to one another by address: never copied.
    IprocessFlowObject(const IprocessFlowObject&) = delete;
    IprocessFlowObject& operator=(const IprocessFlowObject&) = delete;
    virtual ~IprocessFlowObject() = default;

    virtual bool IsObjectUsed(ImodelModule* module, ImodelRevContext* revision) const;
    // Whether the object's results differ from one place-and-route view to
    // another.
    virtual bool IsRevDependent() const = 0;

    // Append, without a duplicate check.
    void AttachUseConstraint(IprocessCondition condition);
    void AttachIgnoreConstraint(IprocessCondition condition);
    // Appends the other's ignore conditions, then its use conditions, each in
    // its order, behind this object's own. Nothing for null.
    void CopyConstraints(const IprocessFlowObject* other);
    void ClearConditions();

    const std::vector<IprocessCondition>& GetUseConditions() const { return m_use; }
    const std::vector<IprocessCondition>& GetIgnoreConditions() const { return m_ignore; }

private:
    std::vector<IprocessCondition> m_use;
    std::vector<IprocessCondition> m_ignore;
};
