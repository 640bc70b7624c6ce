// organize_cdbs: the order in which the ARM database files of a module go
// to place and route.
//
//   organize_cdbs -module <unit> -file <path> [-file <path> ...]
//
// The named files become the module's order, in the order given (a file
// named twice counts once). A file that is not one of the ARM databases of
// the module or its sub-modules is stored all the same, with a debug line
// saying that place and route will not receive it. A changed order marks
// the project as needing a save and takes the place-and-route results that
// used another order out of date.
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdTCLFileArg.h"
#include "icmd/args/IcmdTCLModuleArg.h"

#include <boost/shared_ptr.hpp>

#include <memory>
#include <string>
#include <vector>

class IfileObjectEx;
class ImodelModule;

class IcmdOrganizeCDBs : public IcmdBase {
public:
    IcmdOrganizeCDBs();
    ~IcmdOrganizeCDBs() override;

    std::string GetName() const override { return "organize_cdbs"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdOrganizeCDBs>(); }
    // Never fails: names the files that are not the module's ARM databases.
    AcmdEnum::Result checkParams() override;
    // Fails only without a module ("ORGANIZE_NO_MODULE").
    AcmdEnum::Result execDo() override;

    // Sets `file`, then `module`.
    void SetParams(const std::vector<boost::shared_ptr<IfileObjectEx>>& files, ImodelModule* module);

private:
    IcmdTCLFileArg m_file;
    IcmdTCLModuleArg m_module;
};
