// One design flow: a graph of file nodes and tool nodes joined by
// transitions, and the state machines that keep the states of files, tools
// and the design current. The process manager owns its flows; the project
// has one, "DEFAULT".
//
// The flow is a change-message sink that hands every message on to its
// machines with the module concerned attached, and a flow object whose use
// test picks the flow for a module (a module naming another flow does not
// use it).
#pragma once

#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelToolKinds.h"
#include "iprocess/IprocessFlowObject.h"
#include "iprocess/IprocessTransition.h"
#include "iprocess/QuorlaneStateMachine.h"

#include <boost/shared_ptr.hpp>

#include <memory>
#include <string>
#include <vector>

class IfileObjectEx;
class IprocessFileObject;
class IprocessToolObject;

class IprocessFlow : public QuorlaneStateMachine, public IprocessFlowObject {
public:
    using FileNodes = std::vector<IprocessFileObject*>;
    using ToolNodes = std::vector<IprocessToolObject*>;

    // The nodes in flow order (the order of creation).
    virtual const FileNodes& GetFileObjects() const = 0;
    virtual const ToolNodes& GetToolObjects() const = 0;
    // The first node of the file type (tool kind), or null.
    virtual IprocessFileObject* GetFileObject(zorpaFileManagerTypes type) const = 0;
    virtual IprocessToolObject* GetToolObject(ImodelFunctionType tool) const = 0;
    // The first used input of the tool for the unit and revision, or null.
    virtual IprocessFileObject* GetFirstUsedInputFile(ImodelFunctionType tool, ImodelModule* module,
                                                      ImodelRevContext* revision) const = 0;
    // Builds the graph once; later calls change nothing.
    virtual bool BuildFlow() = 0;
    virtual std::string GetName() const = 0;
    // Sets the attached module's message object; the former one, null
    // without an attached module.
    virtual IprocessFlowObject* SwapMessageObject(IprocessFlowObject* object) = 0;
    // The flow owns the machine from then on; it receives no message from
    // the flow.
    virtual void AddStateMachine(std::unique_ptr<QuorlaneStateMachine> machine) = 0;
    // The machines added by AddStateMachine, in order.
    virtual std::vector<QuorlaneStateMachine*> GetStateMachines() const = 0;
    // Appends the transition of that number to the list of its kind; false
    // when the flow has none.
    virtual bool GetTransition(int id, std::vector<IprocessToolToToolTransition*>& toolToTool,
                               std::vector<IprocessToolToFileTransition*>& toolToFile,
                               std::vector<IprocessFileToToolTransition*>& fileToTool,
                               std::vector<IprocessFileToFileTransition*>& fileToFile) const = 0;
    // Orders the nodes as the flow holds them; nodes of another flow last.
    virtual void SortFilesFlowOrder(FileNodes& nodes) const = 0;
    // Whether a package file concerns the tool for the modules; no package
    // file concerns a tool of this flow.
    virtual bool IsFileConcerningTool(const boost::shared_ptr<IfileObjectEx>& file, IprocessToolObject* tool,
                                      const std::vector<ImodelModule*>& modules) const = 0;
    // The chain of tools, in order, from the HDL sources to the target node
    // for the unit; false when none leads there.
    virtual bool FindToolPath(IprocessFileObject* target, ToolNodes& tools, ImodelModule* module) const = 0;
    // Makes the machines that receive the flow's messages, once: the file
    // states first, one machine per tool that keeps states, the design state
    // last.
    virtual void CreateStateMachines() = 0;
    // The design states the user may aim for with the unit, the default
    // (pre-synthesis) first; nothing before CreateStateMachines.
    virtual void GetSupportedStates(std::vector<imodelSolvatoState>& out, ImodelModule* module) const = 0;
    // The file nodes whose files reach the state for the unit; false when no
    // used step stands for it.
    virtual bool GetFilesRequiredForState(imodelSolvatoState state, FileNodes& out, ImodelModule* module) const = 0;

    bool IsRevDependent() const override { return false; }

protected:
    IprocessFlow() = default;
};
