// The self-test commands of the organize commands, for test scripts:
//
//   test_organize_sources -tool <tool> [-module <unit>] [-file <path> ...]
//   test_organize_constraints -tool <tool> [-module <unit>] [-pallador_view <view>] [-file <path> ...]
//   test_associate_stimulus -module <unit> [-file <path> ...]
//
// Each compares the command's current list with the named files (which
// need not be in the project) and fails with both lists when they differ
// (IcmdDoCompare). The place-and-route list is compared without its
// netlists and sources.
#pragma once

#include "icmd/organize/IcmdOrganizeConstraints.h"
#include "icmd/organize/IcmdOrganizeSources.h"
#include "icmd/organize/IcmdOrganizeStimulus.h"

#include <memory>
#include <string>

template <class Command>
class IcmdTestOrganizedFiles : public Command {
public:
    IcmdTestOrganizedFiles() : Command(true) {}

    std::string GetName() const override { return "test_" + Command::GetName(); }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdTestOrganizedFiles<Command>>(); }
    AcmdEnum::Result execDo() override
    {
        IcmdOrganizeFilesBase::Entries current;
        this->GetCurrentFileList(current, true);
        return IcmdDoCompare(GetName().c_str(), current, this->GetFileArg());
    }
};
