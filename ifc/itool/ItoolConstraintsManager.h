// The one entry point for the tools that keep constraint-file lists: which
// tool of a kind it is, which optional constraint files are in use for a
// unit and revision, and the reports of a changed or removed constraint
// file to every tool. A process-wide object.
#pragma once

#include "imodel/names/ImodelToolKinds.h"
#include "iprocess/QuorlaneStateMachine.h"

#include <boost/shared_ptr.hpp>

#include <deque>
#include <vector>

class IfileObject;
class IfileObjectEx;
class ImodelModule;
class ImodelRevContextImpl;
class IprocessFileObject;
class ItoolWithConstraints;

class ItoolConstraintsManager {
public:
    using Entries = std::vector<boost::shared_ptr<IfileObjectEx>>;

    static ItoolConstraintsManager& GetInstance();
    // The first registered tool of that kind, in registration order; null
    // when none.
    static ItoolWithConstraints* GetTool(ImodelFunctionType type);
    // A copy of the registration list, in registration order.
    static std::vector<ItoolWithConstraints*> GetAllTools();

    // The flow's optional constraint files (levels 2 and 3) that the tool
    // of `type` uses for the unit and revision: its list's files that are
    // such nodes, or, when the tool keeps no list there, the nodes used by
    // default with their current files. Appends the nodes to `nodes` and,
    // in the second case, the files to `files`; nothing without a flow.
    virtual void GetOptionalFilesUsed(std::vector<IprocessFileObject*>& nodes, Entries& files, ImodelModule* module,
                                      ImodelRevContextImpl* revision, ImodelFunctionType type) = 0;
    // Whether `node` is among those nodes.
    virtual bool IsOptionalFileUsed(IprocessFileObject* node, ImodelModule* module, ImodelRevContextImpl* revision,
                                    ImodelFunctionType type) = 0;
    // An optional constraint file changed (`kind` as the file messages: 0
    // its content, QuorlaneFileChanged) or was removed (1,
    // QuorlaneFileRemoved), for every
    // revision of the unit: a change refreshes the place-and-route lists of
    // the revisions `node` (may be null) takes part in, a removal takes the
    // file out of every tool's lists. Nothing without a unit context.
    virtual void OptionalConstraintFileChanged(const IfileObject& file, IprocessFileObject* node, int kind,
                                               ImodelModule* module) = 0;
    // Refreshes the place-and-route lists of every revision of the units
    // and of the units below them (each unit once).
    virtual void UpdateAllToolConstraintFileList(const std::deque<ImodelModule*>* modules) = 0;
    // False only for a constraint file (group 104) of a core component (a
    // parent of type 33 up its parents) while users must pass component
    // constraints themselves.
    virtual bool ConstraintCanBeRemoved(const IfileObjectEx& file, ImodelFunctionType type, ImodelModule* module) = 0;
    // Keeps the files whose extension the tool of `type` accepts, in their
    // order; nothing when there is no such tool.
    virtual void RemoveUnsupportedCstrs(Entries& files, ImodelFunctionType type) = 0;

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
