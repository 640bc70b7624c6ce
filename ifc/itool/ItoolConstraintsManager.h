// The one entry point for the tools that keep constraint-file lists: which
// tool of a kind it is, and (with the constraint work) which optional
// constraint files are used. A process-wide object.
#pragma once

#include "imodel/names/ImodelToolKinds.h"

#include <vector>

class IfileObject;
class ImodelModule;
class IprocessFileObject;
class ItoolWithConstraints;

class ItoolConstraintsManager {
public:
    static ItoolConstraintsManager& GetInstance();
    // The first registered tool of that kind, in registration order; null
    // when none.
    static ItoolWithConstraints* GetTool(ImodelFunctionType type);
    // A copy of the registration list, in registration order.
    static std::vector<ItoolWithConstraints*> GetAllTools();
    // An optional constraint file of the unit changed (`kind` as the file
    // messages: 0 its content, 1 it was removed): every revision of the unit
    // is to refresh its constraint-file lists. The lists come with the tool
    // work; until then there is nothing to refresh. Nothing for a unit
    // without a context.
    virtual void OptionalConstraintFileChanged(const IfileObject& file, IprocessFileObject* node, int kind,
                                               ImodelModule* module);

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
