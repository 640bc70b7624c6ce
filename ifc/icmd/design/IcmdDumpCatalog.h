// dump_catalog: the target device and the core catalogue offered for it.
//
//   dump_catalog [-file <path>] [-dump_version <bool>] [-show_latest_version_only <bool>]
//
// Without an open project the one line "ERROR - No Project is open.".
// Otherwise, with -dump_version, "Version: " and the software revision; then
// "Family: ", "Die: " (its displayed name), an empty line, and the lines of
// the catalogue that the host's core browser lists for the device (none
// without a host or a browser).
#pragma once

#include <foundation/AcmdParam.h>
#include <ulv/TclcmdDumpBaseCmd.h>

#include <memory>
#include <string>

class IcmdDumpCatalog : public TclcmdDumpBaseCmd {
public:
    IcmdDumpCatalog();
    ~IcmdDumpCatalog() override;

    std::string GetName() const override { return "dump_catalog"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdDumpCatalog>(); }
    AcmdEnum::Result DoDump(std::ostream& out) override;

private:
    AcmdBoolParam m_dumpVersion;
    AcmdBoolParam m_latestOnly;
};
