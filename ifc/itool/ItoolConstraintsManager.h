// The one entry point for the tools that keep constraint-file lists: which
// tool of a kind it is, and (with the constraint work) which optional
// constraint files are used. A process-wide object.
#pragma once

#include "imodel/names/ImodelToolKinds.h"

#include <vector>

class ItoolWithConstraints;

class ItoolConstraintsManager {
public:
    static ItoolConstraintsManager& GetInstance();
    // The first registered tool of that kind, in registration order; null
    // when none.
    static ItoolWithConstraints* GetTool(ImodelFunctionType type);
    // A copy of the registration list, in registration order.
    static std::vector<ItoolWithConstraints*> GetAllTools();

protected:
    ItoolConstraintsManager() = default;
    virtual ~ItoolConstraintsManager() = default;
    ItoolConstraintsManager(const ItoolConstraintsManager&) = delete;
    ItoolConstraintsManager& operator=(const ItoolConstraintsManager&) = delete;

private:
    friend class ItoolWithConstraints;
    // Tools are listed, not owned.
    static std::vector<ItoolWithConstraints*>& Registrations();
};
