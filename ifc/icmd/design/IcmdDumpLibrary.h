// dump_library: every library of the design with the hierarchy of its
// top-level units, as it was last rebuilt. Run in process only: the host
// builds the command, names the file (TclcmdDumpBaseCmd::SetDumpFileName; no
// file hands the text back as the result) and runs it through the command
// manager.
//
// Per library a line with its name, then its units, three blanks deeper per
// level: "Package: " for a package, the name, a blank, "[library] " when the
// unit is defined in another library (exact comparison), and "(" its file's
// title ")", or "(?)" for a unit without file.
#pragma once

#include <ulv/TclcmdDumpBaseCmd.h>

#include <memory>
#include <string>

class IcmdDumpLibrary : public TclcmdDumpBaseCmd {
public:
    IcmdDumpLibrary() = default;
    ~IcmdDumpLibrary() override;

    std::string GetName() const override { return "dump_library"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdDumpLibrary>(); }
    AcmdEnum::Result DoDump(std::ostream& out) override;
};
