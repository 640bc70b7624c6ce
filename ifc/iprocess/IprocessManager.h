// The process manager: the one object through which every change message
// of the project reaches the design flow (Imodel::GetStateMachine hands it
// out as its QuorlaneStateMachine). It owns the flows, finds the flow of a
// module, keeps the attached module, and keeps the host's process display
// and listener.
#pragma once

#include "iprocess/QuorlaneStateMachine.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

class IprocessDisplay;
class IprocessFileObject;
class IprocessFlow;
class IprocessListener;
class IprocessToolObject;

class IprocessManager : public QuorlaneStateMachine {
public:
    // The first flow that the module uses (IprocessFlow::IsObjectUsed with
    // its module context), else the first flow; null without flows.
    virtual IprocessFlow* GetFlowForModule(ImodelModule* module) = 0;
    // The node of the module's flow for a file type or tool kind, or null.
    virtual IprocessFileObject* GetFileObject(zorpaFileManagerTypes type, ImodelModule* module) = 0;
    virtual IprocessToolObject* GetToolObject(ImodelFunctionType tool, ImodelModule* module) = 0;
    virtual ImodelModule* GetCurrentModule() = 0;

    // Asks the host's display for a refresh, in interactive mode only.
    virtual void UpdateProcessDisplay(bool flag) = 0;
    // Updates the file-dependent states when asked, refreshes the display
    // and sends IeventDesignFlowOptionsChanged.
    virtual void FlowOptionsChanged(bool updateStates) = 0;
    // Called by the host when it refreshes its display.
    virtual void RefreshProcessDisplay() = 0;
    // A module's constraint list changed for a tool kind.
    virtual void ConstraintListChanged(ImodelModule* module, std::uint32_t value, ImodelFunctionType tool) = 0;
    // Detaches the module when it is the attached one.
    virtual void DetachIfCurrent(ImodelModule* module) = 0;
    // The host's objects, not owned; null until the host sets them.
    virtual void SetProcessDisplay(IprocessDisplay* display) = 0;
    virtual IprocessDisplay* GetProcessDisplay() = 0;
    virtual void SetListener(IprocessListener* listener) = 0;
    // Relays of the host's values to the items of its display (and, for the
    // first, to its listener); the values are passed on unread. The first
    // reaches the items only while the display shows `module`, the other two
    // also for a null module.
    virtual void DisplayItemsMessage1(std::uint32_t value, ImodelModule* module) = 0;
    virtual void DisplayItemsMessage2(std::uint32_t value, ImodelModule* module) = 0;
    virtual void DisplayItemsMessage3(ImodelModule* module) = 0;

    // Appends the files that a simulation (1) or stimulus (2) tool reads for
    // the unit in that design state: the current files of its default inputs,
    // the unit's HDL files (with `extra` taking the included ones) and the
    // HDL files associated with the hierarchy. Nothing for other tools.
    virtual void GetHdlFilesOfModule(ImodelFunctionType tool, imodelSolvatoState state,
                                     std::vector<boost::shared_ptr<IfileObjectEx>>& out, ImodelModule* module,
                                     std::deque<IfileObject>* extra) = 0;

    // While a deferral is open, the source changes (FilesModificationMessage)
    // that come in a row are gathered, their files each once, and routed as
    // one message of their kind before any other message and when the
    // outermost deferral closes: a unit that several of them concern hears
    // of it once, and ends in the same state. Deferrals nest.
    virtual void DeferSourceChanges(bool defer) = 0;

    // A revision changed its design state, a tool state or a used file.
    virtual void DesignStateOfRevisionChanged(ImodelRevContextImpl* revision) = 0;
    virtual void ToolStateOfRevisionChanged(ImodelFunctionType tool, ImodelRevContextImpl* revision) = 0;
    virtual void UsedFileOfRevisionChanged(zorpaFileManagerTypes type, ImodelRevContextImpl* revision) = 0;
};

// Source changes deferred for the life of the object (none without a manager).
class IprocessDeferredSourceChanges {
public:
    explicit IprocessDeferredSourceChanges(IprocessManager* manager) : m_manager(manager)
    {
        if (m_manager) m_manager->DeferSourceChanges(true);
    }
    ~IprocessDeferredSourceChanges()
    {
        if (m_manager) m_manager->DeferSourceChanges(false);
    }
    IprocessDeferredSourceChanges(const IprocessDeferredSourceChanges&) = delete;
    IprocessDeferredSourceChanges& operator=(const IprocessDeferredSourceChanges&) = delete;

private:
    IprocessManager* m_manager;
};

class IfileManager;
class ItimerManager;

// The process manager, for the project singleton to own. The singleton keeps
// it before its default flow is made (IprocessCreateDefaultFlow), so that a
// caller asking meanwhile gets this one rather than making a second.
std::unique_ptr<IprocessManager> IprocessCreateManager();
// Creates and builds the flow "DEFAULT", whose file nodes listen to the
// model's file manager, then resets the file watcher, whose filters depend
// on the flow.
void IprocessCreateDefaultFlow(IprocessManager& manager, ItimerManager& watcher, IfileManager* fileManager);
