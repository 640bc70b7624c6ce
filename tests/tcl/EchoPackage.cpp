// The scenario scripts' own commands, a Tcl package loaded next to the
// library (`load $env(QUORLANE_ECHO_PACKAGE) Quorlaneecho`), never part of
// the product:
//   echo_args          takes every kind of argument and tells what it received;
//   echo_project_args  the same for a command that needs an open project,
//                      whose files must belong to it and whose tools are
//                      those whose sources a module organises;
//   registered_commands  every command registered so far, in registration
//                      order, as a list {name condition options}: the
//                      condition text the command runs under, and its
//                      options a user may give, each {-name takesValue}.
#include "EchoCommand.h"

#include <foundation/AcmdManager.h>
#include <foundation/AcmdParam.h>

#include <tcl.h>

namespace {

void RegisterOnce(std::unique_ptr<AcmdBase> prototype)
{
    AcmdManager& manager = AcmdManager::GetInstance();
    if (manager.FindPrototype(prototype->GetName()) == nullptr) manager.RegisterCommand(std::move(prototype));
}

Tcl_Obj* OptionsOf(const AcmdBase& command)
{
    Tcl_Obj* options = Tcl_NewListObj(0, nullptr);
    for (const AcmdParam* param : command.GetParams()) {
        if (param->IsSuppressed()) continue;
        Tcl_Obj* option[] = {AcmdToTclString("-" + param->GetName()),
                             Tcl_NewBooleanObj(dynamic_cast<const AcmdFlagParam*>(param) == nullptr)};
        Tcl_ListObjAppendElement(nullptr, options, Tcl_NewListObj(2, option));
    }
    return options;
}

int RegisteredCommands(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    if (objc != 1) {
        Tcl_WrongNumArgs(interp, 1, objv, "");
        return TCL_ERROR;
    }
    const AcmdManager& manager = AcmdManager::GetInstance();
    Tcl_Obj* commands = Tcl_NewListObj(0, nullptr);
    for (const std::string& name : manager.GetCommandNames()) {
        // The condition text is asked of a fresh command, as a run makes one.
        const std::unique_ptr<AcmdBase> command = manager.FindPrototype(name)->Clone();
        Tcl_Obj* entry[] = {AcmdToTclString(name), AcmdToTclString(command->GetConditionStr()), OptionsOf(*command)};
        Tcl_ListObjAppendElement(nullptr, commands, Tcl_NewListObj(3, entry));
    }
    Tcl_SetObjResult(interp, commands);
    return TCL_OK;
}

}  // namespace

extern "C" int Quorlaneecho_Init(Tcl_Interp* interp)
{
    RegisterOnce(std::make_unique<EchoCommand>(EchoSetup{"echo_args", false, false}));
    RegisterOnce(std::make_unique<EchoCommand>(EchoSetup{"echo_project_args", true, true}));
    AcmdManager::GetInstance().AttachInterp(interp);
    Tcl_CreateObjCommand(interp, "registered_commands", &RegisteredCommands, nullptr, nullptr);
    return Tcl_PkgProvide(interp, "quorlane_echo", "1.0");
}
