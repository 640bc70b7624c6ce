// A command of the tests only, never registered by the library: it carries
// one parameter of every kind the library's commands take, and its result
// tells what each parameter that was given received, one line per
// parameter in the command's order. The scenario scripts load it as a Tcl
// package (tests/tcl/EchoPackage.cpp); unit tests build it in code.
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdHDLTypeArg.h"
#include "icmd/args/IcmdTCLComponentArg.h"
#include "icmd/args/IcmdTCLDeviceArg.h"
#include "icmd/args/IcmdTCLFileArg.h"
#include "icmd/args/IcmdTCLModuleAndRevArg.h"
#include "icmd/args/IcmdToolTypeArg.h"

#include <foundation/AcmdParam.h>

#include <memory>
#include <string>

struct EchoSetup {
    std::string name = "echo_args";
    bool needsProject = false;
    // The files must belong to the project and the tools are those whose
    // sources a module organises.
    bool projectArguments = false;
};

class EchoCommand : public IcmdBase {
public:
    using Setup = EchoSetup;

    explicit EchoCommand(Setup setup = Setup());
    ~EchoCommand() override;

    std::string GetName() const override { return m_setup.name; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<EchoCommand>(m_setup); }
    AcmdEnum::Result execDo() override;
    bool NeedProjectOpenedToExecute() const override { return m_setup.needsProject; }

    // How many echo commands were destroyed so far.
    static int DestroyedCount();

private:
    Setup m_setup;

public:
    AcmdStringParam text;
    AcmdFileNameParam fileName;
    AcmdFolderNameParam folder;
    AcmdBoolParam boolean;
    AcmdFlagParam verbose;
    AcmdEnumParam<int> speed;
    AcmdStringParam words;
    IcmdTCLFileArg files;
    IcmdTCLModuleAndRevArg view;
    IcmdTCLComponentArg components;
    IcmdTCLDeviceArg device;
    IcmdHDLTypeArg hdl;
    IcmdToolTypeArg tool;
};
