// The base of the tool framework's dump commands: a command that writes a
// text dump for scripts and for diagnosis. Each dump command writes its text
// in DoDump; the base decides where it goes:
//   -file <path>  the dump is written to that file (taken against the command
//                 manager's folder), replacing it whole, or not at all;
//   no -file      the dump is the command's result (its last line end left
//                 out), for a script to print or to look at.
// A dump command may offer the base's switch -verbose (RegisterVerboseParam).
// A DoDump that fails writes nothing anywhere and fails the command.
#pragma once

#include <foundation/AcmdBase.h>
#include <foundation/AcmdParam.h>

#include <memory>
#include <ostream>
#include <string>

class TclcmdDumpBaseCmd : public AcmdBase {
public:
    TclcmdDumpBaseCmd();
    ~TclcmdDumpBaseCmd() override;

    // Runs DoDump into a buffer, then writes the file or sets the result.
    AcmdEnum::Result execDo() override;
    // Writes the dump through `out` only; Success or Failure.
    virtual AcmdEnum::Result DoDump(std::ostream& out) = 0;

    // For runs in process: the file to write; empty hands the text back as
    // the result.
    void SetDumpFileName(const std::string& fileName);
    // Whether the verbose switch was given (false when the command has none).
    bool IsVerbose() const;

protected:
    // Adds the switch -verbose after the parameters made so far.
    void RegisterVerboseParam();

private:
    AcmdFileNameParam m_file;
    std::unique_ptr<AcmdFlagParam> m_verbose;
};
