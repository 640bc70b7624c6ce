// The state machines of a flow. The flow hands every change message to its
// machines in creation order with the unit concerned attached: the file
// states first (out of date downstream of a change), then one machine per
// tool that keeps results (synthesis, physical synthesis, place and route
// from their log files; the probe and programming from their outputs; the
// stimulus tools from the unit's stimulus list), then the design state of
// every revision of the unit, which so sees the states the same message
// already updated.
#pragma once

#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlowObject.h"
#include "iprocess/QuorlaneStateMachine.h"

#include <memory>
#include <vector>

class IprocessFlow;
class IprocessInvalidationRevisionFilter;
class IprocessToolObject;
class ImodelContextImpl;
class ImodelRevContext;

// The common base: the attached unit (null between messages) and the flow.
// Every message does nothing here.
class IprocessParentStateMachine : public QuorlaneStateMachine {
public:
    explicit IprocessParentStateMachine(IprocessFlow* flow) : m_flow(flow) {}

    void FileModificationMessage(QuorlaneStateMachineStringMessage, boost::shared_ptr<IfileObjectEx>) override {}
    void FilesModificationMessage(QuorlaneStateMachineMultipleFilesMessages, const std::deque<IfileObject>&) override {}
    void UsedFileChanged(ImodelModule*, ImodelRevContextImpl*, zorpaFileManagerTypes) override {}
    void InputFileListChanged(boost::shared_ptr<IfileObjectEx>, ImodelFunctionType) override {}
    void CDBOrderChanged(ImodelModule*) override {}
    void DeviceChangedMessage(const std::vector<imodelDeviceMembers>&, const ImodelDevice&,
                              ImodelFunctionType*) override
    {
    }
    void FunctionTypeMessage(QuorlaneStateMachineTypeMessage, ImodelFunctionType, ImodelModule*) override {}
    void ForceToolStateMessage(imodelToolState, ImodelFunctionType, ImodelModule*,
                               boost::shared_ptr<IfileObjectEx>) override
    {
    }
    void Ide_pldFileDetected(KemletContentIf*, boost::shared_ptr<IfileObjectEx>) override {}
    void UpdateFileDependentStates() override {}
    void UpdateFileDependentStatesForModule(ImodelModule*) override {}
    void ComponentChanged(VyIfaces::IComponent*, IDEVeyrunCallBack::InvalidateMessage) override {}
    void AttachModule(ImodelModule* module) override { m_module = module; }
    ImodelModule* DetachModule() override;

protected:
    // The tool's inputs changed: with `invalidate`, what the tool made from
    // the file goes out of date; otherwise the tool hears that one of its
    // constraint files changed. The tool is the message object meanwhile.
    void ToolInputModified(const boost::shared_ptr<IfileObjectEx>& file, IprocessToolObject* tool, bool invalidate);
    // ... for every tool of the flow, in flow order.
    void ToolInputModified(const boost::shared_ptr<IfileObjectEx>& file, bool invalidate);
    // Propagates from the file through the files derived from it.
    void PropagateFrom(const boost::shared_ptr<IfileObjectEx>& file, const IprocessInvalidationRevisionFilter* filter);
    // Everything downstream of the node or tool goes out of date.
    void InvalidateFrom(IprocessFileObject* node);
    void InvalidateFrom(IprocessToolObject* tool);
    // The module context of the attached unit, or null.
    ImodelContextImpl* Context() const;
    // Whether the attached unit has no result left that a source change
    // could take away: every tool state of every revision is "no result"
    // and every derived file of the unit is out of date already. Going
    // out of date again then changes no state and tells nobody. Always
    // false while the plain way is asked for.
    bool HasNothingLeftToInvalidate() const;
    // ... only the tool states.
    bool HasNoToolResultLeft() const;

public:
    // Tests compare the states the early exit above leaves with those of
    // the plain way (true: every invalidation is walked in full).
    static bool& PlainInvalidation();

protected:
    IprocessFlow* m_flow;
    ImodelModule* m_module = nullptr;
};

// Makes a flow object the attached unit's message object for a scope and
// puts the former one back.
class IprocessMessageObjectScope {
public:
    IprocessMessageObjectScope(IprocessFlow* flow, IprocessFlowObject* object);
    ~IprocessMessageObjectScope();
    IprocessMessageObjectScope(const IprocessMessageObjectScope&) = delete;
    IprocessMessageObjectScope& operator=(const IprocessMessageObjectScope&) = delete;

private:
    IprocessFlow* m_flow;
    IprocessFlowObject* m_former;
};

// Keeps file states current by starting invalidations.
class IprocessFileStateMachine : public IprocessParentStateMachine {
public:
    using IprocessParentStateMachine::IprocessParentStateMachine;

    void FileModificationMessage(QuorlaneStateMachineStringMessage kind,
                                 boost::shared_ptr<IfileObjectEx> file) override;
    void FilesModificationMessage(QuorlaneStateMachineMultipleFilesMessages kind,
                                  const std::deque<IfileObject>& files) override;
    // Ignored without a file.
    void InputFileListChanged(boost::shared_ptr<IfileObjectEx> file, ImodelFunctionType tool) override;
    void CDBOrderChanged(ImodelModule* module) override;
    void DeviceChangedMessage(const std::vector<imodelDeviceMembers>& differences, const ImodelDevice& device,
                              ImodelFunctionType* tool) override;
    void FunctionTypeMessage(QuorlaneStateMachineTypeMessage kind, ImodelFunctionType tool,
                             ImodelModule* module) override;
    void Ide_pldFileDetected(KemletContentIf* content, boost::shared_ptr<IfileObjectEx> file) override;
    void ComponentChanged(VyIfaces::IComponent* component, IDEVeyrunCallBack::InvalidateMessage kind) override;

private:
    void ContentChanged(const boost::shared_ptr<IfileObjectEx>& file);
};

// The base of the machines that watch one tool node.
class IprocessToolNodeStateMachine : public IprocessParentStateMachine {
public:
    IprocessToolNodeStateMachine(IprocessFlow* flow, IprocessToolObject* tool)
        : IprocessParentStateMachine(flow), m_tool(tool)
    {
    }

protected:
    // Sets the tool's state in the revisions of the unit where the tool is used.
    void SetToolState(imodelToolState state, bool allFiles);

    IprocessToolObject* m_tool;
};

// Synthesis, physical synthesis and place and route: their results come
// from the runs' log files and are kept per file.
class Iprocess_NToN_LogFile_StateMachine : public IprocessToolNodeStateMachine {
public:
    using IprocessToolNodeStateMachine::IprocessToolNodeStateMachine;
    static bool IsToolSupported(ImodelFunctionType tool);

    void FileModificationMessage(QuorlaneStateMachineStringMessage kind,
                                 boost::shared_ptr<IfileObjectEx> file) override;
    void FilesModificationMessage(QuorlaneStateMachineMultipleFilesMessages kind,
                                  const std::deque<IfileObject>& files) override;
    void DeviceChangedMessage(const std::vector<imodelDeviceMembers>& differences, const ImodelDevice& device,
                              ImodelFunctionType* tool) override;
    void FunctionTypeMessage(QuorlaneStateMachineTypeMessage kind, ImodelFunctionType tool,
                             ImodelModule* module) override;
    void ForceToolStateMessage(imodelToolState state, ImodelFunctionType tool, ImodelModule* module,
                               boost::shared_ptr<IfileObjectEx> file) override;
    void Ide_pldFileDetected(KemletContentIf* content, boost::shared_ptr<IfileObjectEx> file) override;

private:
    // The from-nodes of every input transition, optional ones included; a
    // node may appear more than once.
    IprocessFileObject::Nodes GetAllInputFilesUsed() const;
    void ResetInput(const boost::shared_ptr<IfileObjectEx>& file, IprocessFileObject* input);
};

// A machine whose state is computed from the files whatever the message.
class IprocessFileStateDependentStateMachine : public IprocessParentStateMachine {
public:
    using IprocessParentStateMachine::IprocessParentStateMachine;

    virtual void UpdateState() = 0;

    void FileModificationMessage(QuorlaneStateMachineStringMessage, boost::shared_ptr<IfileObjectEx>) override
    {
        UpdateState();
    }
    void FilesModificationMessage(QuorlaneStateMachineMultipleFilesMessages, const std::deque<IfileObject>&) override
    {
        UpdateState();
    }
    void UsedFileChanged(ImodelModule*, ImodelRevContextImpl*, zorpaFileManagerTypes) override { UpdateState(); }
    void InputFileListChanged(boost::shared_ptr<IfileObjectEx>, ImodelFunctionType) override { UpdateState(); }
    void CDBOrderChanged(ImodelModule*) override { UpdateState(); }
    void DeviceChangedMessage(const std::vector<imodelDeviceMembers>&, const ImodelDevice&,
                              ImodelFunctionType*) override
    {
        UpdateState();
    }
    void FunctionTypeMessage(QuorlaneStateMachineTypeMessage, ImodelFunctionType, ImodelModule*) override
    {
        UpdateState();
    }
    void ForceToolStateMessage(imodelToolState, ImodelFunctionType, ImodelModule*,
                               boost::shared_ptr<IfileObjectEx>) override
    {
        UpdateState();
    }
    void Ide_pldFileDetected(KemletContentIf*, boost::shared_ptr<IfileObjectEx>) override { UpdateState(); }
    void UpdateFileDependentStates() override { UpdateState(); }
    void UpdateFileDependentStatesForModule(ImodelModule*) override { UpdateState(); }
    void ComponentChanged(VyIfaces::IComponent*, IDEVeyrunCallBack::InvalidateMessage) override { UpdateState(); }
};

// The probe and programming: success when every state output is there and
// up to date.
class IprocessToolStateMachine : public IprocessFileStateDependentStateMachine {
public:
    IprocessToolStateMachine(IprocessFlow* flow, IprocessToolObject* tool)
        : IprocessFileStateDependentStateMachine(flow), m_tool(tool)
    {
    }
    static bool IsToolSupported(ImodelFunctionType tool);
    void UpdateState() override;

private:
    IprocessToolObject* m_tool;
};

// The stimulus tools: success as soon as the unit has a stimulus file.
class IprocessStimulusStateMachine : public IprocessFileStateDependentStateMachine {
public:
    IprocessStimulusStateMachine(IprocessFlow* flow, IprocessToolObject* tool)
        : IprocessFileStateDependentStateMachine(flow), m_tool(tool)
    {
    }
    static bool IsToolSupported(ImodelFunctionType tool);
    void UpdateState() override;

private:
    IprocessToolObject* m_tool;
};

// A tool whose state only its runner sets; the flow makes none.
class IprocessExternalControlledStateMachine : public IprocessToolNodeStateMachine {
public:
    using IprocessToolNodeStateMachine::IprocessToolNodeStateMachine;
    static bool IsToolSupported(ImodelFunctionType) { return false; }
    void ForceToolStateMessage(imodelToolState state, ImodelFunctionType tool, ImodelModule* module,
                               boost::shared_ptr<IfileObjectEx> file) override;
};

// One design state and the tool whose results reach it.
class IprocessSolvatoStateConstraint : public IprocessFlowObject {
public:
    IprocessSolvatoStateConstraint(imodelSolvatoState state, IprocessToolObject* tool) : m_state(state), m_tool(tool) {}
    imodelSolvatoState GetState() const { return m_state; }

    // Used when the tool is; a synthesis state also in the EDIF flow.
    bool IsObjectUsed(ImodelModule* module, ImodelRevContext* revision) const override;
    bool IsRevDependent() const override { return false; }
    // Reached: every state output of the tool is up to date. Accessible:
    // every one exists in the project. False when nothing can be decided.
    virtual bool CheckState(ImodelModule* module, ImodelRevContext* revision, bool& reached, bool& accessible) const;
    // The tool's state outputs for the unit and revision.
    virtual void GetFiles(IprocessFileObject::Nodes* out, ImodelModule* module, ImodelRevContext* revision) const;
    // How many files CheckState has looked up so far: a check that looked
    // up none answered the same for every view of the unit.
    unsigned GetFileLookups() const { return m_fileLookups; }
    IprocessToolObject* GetTool() const { return m_tool; }
    // Whether, wherever the constraint is used, its tool has a state output
    // to look up: a unit whose tools' outputs are not known and hold no
    // result then never reaches the state, nor may reach it.
    bool AlwaysChecksAnOutput() const;

protected:
    imodelSolvatoState m_state;
    IprocessToolObject* m_tool;
    mutable unsigned m_fileLookups = 0;
};

// Post-layout: also needs place and route to have succeeded on inputs that
// are still current.
class IprocessSolvatoStateConstraint_Tool : public IprocessSolvatoStateConstraint {
public:
    using IprocessSolvatoStateConstraint::IprocessSolvatoStateConstraint;
    static bool IsToolSupported(const IprocessToolObject* tool);
    bool CheckState(ImodelModule* module, ImodelRevContext* revision, bool& reached, bool& accessible) const override;
};

// The design state of every revision of the unit and the states it may
// reach (those whose files all exist in the project).
class IprocessSolvatoStateMachine : public IprocessFileStateDependentStateMachine {
public:
    IprocessSolvatoStateMachine(IprocessFlow* flow, imodelSolvatoState defaultState)
        : IprocessFileStateDependentStateMachine(flow), m_default(defaultState)
    {
    }

    // Nothing for a null tool.
    void AddConstraint(imodelSolvatoState state, IprocessToolObject* tool);
    void UpdateState() override;
    void GetSupportedStates(std::vector<imodelSolvatoState>& out, ImodelModule* module) const;
    bool GetFilesRequiredForState(imodelSolvatoState state, IprocessFileObject::Nodes& out, ImodelModule* module) const;

    // Tests compare the states given by one answer per kind of view with
    // those of the plain way (true: every view is worked out on its own).
    static bool& PlainStates();

    imodelSolvatoState GetDefaultState() const { return m_default; }
    // Whether every constraint always checks a tool output: a unit without
    // results whose tools' outputs are not known holds the default state
    // alone in every view, whatever its views' options.
    bool ChecksOutputsOnly() const;

private:
    imodelSolvatoState GetState(ImodelRevContextImpl* revision) const;
    unsigned FileLookups() const;
    // Whether a file of any tool output is known: only then can a check
    // look one up.
    bool AnyStateFileKnown() const;

    std::vector<std::unique_ptr<IprocessSolvatoStateConstraint>> m_constraints;
    imodelSolvatoState m_default;
};

// The revision of the unit that a file of a place-and-route view belongs to;
// null for a file of no view, a null unit or a unit without a context.
ImodelRevContextImpl* IprocessGetFileContext(const IfileObject& file, ImodelModule* module);
