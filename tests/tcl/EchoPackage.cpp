// The scenario scripts' own commands, a Tcl package loaded next to the
// library (`load $env(QUORLANE_ECHO_PACKAGE) Quorlaneecho`), never part of
// the product:
//   echo_args          takes every kind of argument and tells what it received;
//   echo_project_args  the same for a command that needs an open project,
//                      whose files must belong to it and whose tools are
//                      those whose sources a module organises.
#include "EchoCommand.h"

#include <foundation/AcmdManager.h>

#include <tcl.h>

namespace {

void RegisterOnce(std::unique_ptr<AcmdBase> prototype)
{
    AcmdManager& manager = AcmdManager::GetInstance();
    if (manager.FindPrototype(prototype->GetName()) == nullptr) manager.RegisterCommand(std::move(prototype));
}

}  // namespace

extern "C" int Quorlaneecho_Init(Tcl_Interp* interp)
{
    RegisterOnce(std::make_unique<EchoCommand>(EchoSetup{"echo_args", false, false}));
    RegisterOnce(std::make_unique<EchoCommand>(EchoSetup{"echo_project_args", true, true}));
    AcmdManager::GetInstance().AttachInterp(interp);
    return Tcl_PkgProvide(interp, "quorlane_echo", "1.0");
}
