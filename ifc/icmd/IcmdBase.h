// The base of the library's commands: the rule that a command needs an open
// project, the change events a command collects while it works and hands to
// the views in one batch, and the binding of a command to the running design
// environment.
#pragma once

#include "ievent/Ievent.h"

#include <foundation/AcmdBase.h>

#include <boost/shared_ptr.hpp>

#include <string>

class IcmdVisitor;

class IcmdBase : public AcmdBase {
public:
    // With `bindToEnvironment`, a command built while the library runs
    // interactively under a host that supplies its environment object keeps
    // the window that owns that environment's questions.
    explicit IcmdBase(bool bindToEnvironment);
    // Events still pending are dropped, never delivered.
    ~IcmdBase() override;

    // True when the command may run without a project or a project is open;
    // otherwise false, and with `report` the user is told which command
    // needs one ("NO_PROJECT_LOADED").
    bool CanExecuteNow(bool report) const override;
    // "a project must be opened" for a command that needs a project, else
    // the framework's text.
    std::string GetConditionStr() override;

    // Keeps the event for the next NotifyAllViews.
    void AddEvent(boost::shared_ptr<Ievent> event);
    // Hands the pending events to the model as one batch, in the order they
    // were added, and forgets them; an empty list makes an empty batch.
    void NotifyAllViews();
    // Hands one event to the model at once, ahead of any batch a running
    // command still holds.
    static void NotifyEvent(boost::shared_ptr<Ievent> event);

    virtual bool NeedProjectOpenedToExecute() const { return true; }
    // A question for the code that runs commands; the library does not ask it.
    virtual bool NeedDelayedExecution() { return true; }
    // Double dispatch for a visitor of commands; nothing by default.
    virtual void Accept(IcmdVisitor& /*visitor*/) {}

private:
    IeventBatch m_pendingEvents;
};
