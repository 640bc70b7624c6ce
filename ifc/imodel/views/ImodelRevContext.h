// ImodelRevContext: what the design flow knows of one design unit in a
// place-and-route view (revision): the design state reached, the design
// states that may be reached, the result of each tool, and the flow options.
//
// Two classes answer it: a revision context (ImodelRevContextImpl) for one
// view, and the module context (ImodelContextImpl), which forwards to its
// current view, so the flow can talk to "the module" without knowing which
// view is active.
//
// A tool's result is kept per tool kind and, while the user may choose the
// file a flow step works on (ImodelUserCanSelectFlowFileToUse), per chosen
// file: the flow passes the tool node's kind and its active file (empty when
// the step has no file choice).
#pragma once

#include "imodel/names/ImodelToolKinds.h"

#include <boost/shared_ptr.hpp>

class IfileObjectEx;
class ImodelFlowOptions;
class IprocessFlowObject;
class IprocessToolObject;

class ImodelRevContext {
public:
    virtual ~ImodelRevContext() = default;

    virtual imodelSolvatoState GetSolvatoState() const = 0;
    // A change marks the project as needing a save and reaches the flow.
    virtual void SetSolvatoState(imodelSolvatoState state) = 0;

    // The state recorded for the tool (and its active file); "no result"
    // when there is none.
    virtual imodelToolState GetToolState(ImodelFunctionType tool,
                                         const boost::shared_ptr<IfileObjectEx>& activeFile) const = 0;
    // Records the state of the tool for its active file (a record is made
    // unless the state is "no result"), or, with `allFiles`, for every record
    // the tool has. A change marks the project as needing a save.
    virtual void SetToolState(ImodelFunctionType tool, const boost::shared_ptr<IfileObjectEx>& activeFile,
                              imodelToolState state, bool allFiles) = 0;

    // The same for a tool node of the flow: its active file is the current
    // file of the node's file-selection type while the user may choose flow
    // files (none otherwise). No result for a null node.
    virtual imodelToolState GetToolState(IprocessToolObject* tool) const = 0;
    // `flowObject` is the flow object the change concerns; a module context
    // sets the state in the revisions that the change concerns
    // (ImodelContextImpl::GetRevsUsed). Nothing for a null node.
    virtual void SetToolState(IprocessToolObject* tool, imodelToolState state, IprocessFlowObject* flowObject,
                              bool allFiles) = 0;

    // The design states that may be reached, without duplicates.
    virtual void ResetAccessibleStateList() = 0;
    virtual void AddAccessibleState(imodelSolvatoState state) = 0;
    virtual bool IsStateAccessible(imodelSolvatoState state) const = 0;

    // Nothing to store: design state 0, no tool result, no used file,
    // default flow options.
    virtual bool IsInDefaultState() const = 0;

    // Different options are taken, mark the project as needing a save and
    // reach the flow; equal options change nothing.
    virtual void SetFlowOptions(const ImodelFlowOptions& options) = 0;
    // The view's own options; null for a module context without a current view.
    virtual ImodelFlowOptions* GetFlowOptions() = 0;

protected:
    ImodelRevContext() = default;
    ImodelRevContext(const ImodelRevContext&) = default;
    ImodelRevContext& operator=(const ImodelRevContext&) = default;
};
