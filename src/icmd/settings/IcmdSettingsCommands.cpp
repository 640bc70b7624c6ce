// The in-process entry points and the table factories of the settings commands.
#include "icmd/settings/IcmdSettingsCommands.h"

#include "icmd/IcmdDoCommand.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"
#include "imodel/options/ImodelSimulationOptions.h"
#include "itool/ItoolModelSimPathOptions.h"
#include "src/icmd/settings/IcmdChangeProjectSettings.h"
#include "src/icmd/settings/IcmdModelSimOptions.h"
#include "src/icmd/settings/IcmdSimulationOptions.h"
#include "src/icmd/settings/IcmdUserLibraryOptions.h"

bool IcmdDoProjectSettings(bool keep, bool isVHDL, const ImodelGlobalFlowOptions& options)
{
    auto command = std::make_unique<IcmdChangeProjectSettings>();
    command->SetHDLType(isVHDL);
    command->SetSwitchesFrom(options);
    return IcmdDoCommand(std::move(command), keep);
}

bool IcmdDoSetSimulationOptions(bool keep, const ImodelSimulationOptions& options)
{
    auto command = std::make_unique<IcmdSimulationOptions>();
    command->SetDefaultOptions(&options);
    return IcmdDoCommand(std::move(command), keep);
}

bool IcmdDoSetModelSimLibOptions(bool keep, const ItoolModelSimPathOptions& options, bool* flushNeeded)
{
    auto command = std::make_unique<IcmdModelSimOptions>();
    command->SetDefaultOptions(&options);
    return IcmdDoCommand<IcmdModelSimOptions>(std::move(command), keep, [flushNeeded](IcmdModelSimOptions& run) {
        if (flushNeeded) *flushNeeded = run.GetFlushNeeded();
    });
}

bool IcmdDoSetUserLibOptions(bool keep, const std::string& library, const std::string& path, zorpaCompileOption option)
{
    auto command = std::make_unique<IcmdUserLibraryOptions>();
    command->SetValues(library, path, option);
    return IcmdDoCommand(std::move(command), keep);
}

IcmdCommandFactory IcmdProjectSettingsFactory() { return IcmdFactoryOf<IcmdChangeProjectSettings>(); }
IcmdCommandFactory IcmdSimulationOptionsFactory() { return IcmdFactoryOf<IcmdSimulationOptions>(); }
IcmdCommandFactory IcmdModelSimOptionsFactory() { return IcmdFactoryOf<IcmdModelSimOptions>(); }
IcmdCommandFactory IcmdUserLibraryOptionsFactory() { return IcmdFactoryOf<IcmdUserLibraryOptions>(); }
