// What every in-process entry point (IcmdDo...) shares once it has built its
// command and called its setters: the command runs through the command
// manager with the caller's keep flag; with keep the manager takes it into
// its history, otherwise it is deleted before the call returns. An entry
// point that reads results from its command does so in `inspect`, which sees
// the command after its run, while it still exists.
#pragma once

#include <foundation/AcmdEnum.h>
#include <foundation/AcmdManager.h>

#include <functional>
#include <memory>
#include <utility>

// True exactly when the run's result is 0; a null command does not run and
// answers false.
template <typename Command>
bool IcmdDoCommand(std::unique_ptr<Command> command, bool keep, const std::function<void(Command&)>& inspect = nullptr)
{
    if (!command) return false;
    Command& run = *command;
    AcmdManager& manager = AcmdManager::GetInstance();
    const AcmdEnum::Result result = keep ? manager.RunAndKeep(std::move(command)) : manager.Run(command.get(), false);
    if (inspect) inspect(run);
    return result == AcmdEnum::Success;
}
