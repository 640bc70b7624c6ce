// The factories of the rows of the model's command table: each makes the
// prototype of one command class for the project model, with the arguments
// its row gives. A row is given its factory as soon as its command class is
// built; a row without one is not registered.
#pragma once

#include <foundation/AcmdBase.h>

#include <functional>
#include <memory>

class Imodel;

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
