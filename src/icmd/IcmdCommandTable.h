// The library's Tcl commands in the fixed order of their registration. A row
// whose command class is not built yet has no factory and is left out, so
// the command manager never knows a command that cannot do its job. A row
// gets its factory (IcmdFactoryOf or IcmdFactoryForModel, with the
// constructor arguments of the row) as soon as its class exists.
#pragma once

#include <foundation/AcmdBase.h>

#include <functional>
#include <memory>
#include <vector>

class Imodel;

// Makes the prototype of one command class for the project model.
using IcmdCommandFactory = std::function<std::unique_ptr<AcmdBase>(Imodel&)>;

// Makes `Command(args...)`.
template <class Command, class... Args>
IcmdCommandFactory IcmdFactoryOf(Args... args)
{
    return [=](Imodel&) -> std::unique_ptr<AcmdBase> { return std::make_unique<Command>(args...); };
}

// Makes `Command(&model, args...)`, for the commands built for a model.
template <class Command, class... Args>
IcmdCommandFactory IcmdFactoryForModel(Args... args)
{
    return [=](Imodel& model) -> std::unique_ptr<AcmdBase> { return std::make_unique<Command>(&model, args...); };
}

struct IcmdCommandRow {
    const char* name;  // the Tcl name, which the command's GetName answers
    bool linkingOnly;  // registered only while linking is enabled
    // Makes the prototype for the given project model; empty while the
    // command's class is not built.
    IcmdCommandFactory factory;
};

// The 41 rows, in registration order.
const std::vector<IcmdCommandRow>& IcmdGetCommandTable();

// Hands the command manager one prototype of each row that has a factory, in
// row order; the linking rows only when `linkingEnabled`. A name the manager
// already knows is not registered again. Returns how many were registered.
int IcmdRegisterCommandRows(const std::vector<IcmdCommandRow>& rows, Imodel& model, bool linkingEnabled);
