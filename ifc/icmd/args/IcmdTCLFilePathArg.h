// The `file` argument of a command that only names a file for another
// program and never takes it into the project (create_core's core
// description): its value is the file's full path, not an entry of the
// project. A text that begins with "<project>" names a file below the
// project folder; any other text is taken against the command manager's
// folder. The file must exist. Since the name goes into no project list,
// every name the system can hold is taken, also one that the project file
// could not (a double quote, a line break).
#pragma once

#include <foundation/AcmdParam.h>

#include <string>

class IcmdTCLFilePathArg : public AcmdFileNameParam {
public:
    IcmdTCLFilePathArg(AcmdBase* owner, bool required);

    // The full path; an empty text gives no file and succeeds. A text that
    // names no file ("<project>" alone, or without a project) or a file
    // that does not exist is reported and fails.
    bool GetObjectFromString(const char* text, std::string& out, bool report, void* parentWindow) override;
    // An optional argument without a file is left out of an exported command.
    bool ExportParam() const override;
};
