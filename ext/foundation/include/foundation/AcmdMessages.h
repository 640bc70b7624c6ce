// Messages of the command framework (catalogue "Acmd"). Every message text is
// a fixed format; parameter names, values and command names only ever go in
// as arguments.
//
// While a command is being parsed or run, its name is put in front of every
// framework message ("open_project: ..."), so an error always names the
// command it belongs to.
#pragma once

#include <string>
#include <vector>

enum class AcmdMsg {
    ArgInvalid,   // a keyword that matches no choice
    ArgNotFound,  // a text that names no object
    FolderDoesNotExist,
    FileDoesNotExist,
    InvalidList,  // a list value that is not a well-formed Tcl list
    UnknownOption,
    MissingValue,
    UnexpectedArgument,  // a bare word where an option was expected
    DuplicateOption,
    MissingRequired,
    InvalidValue,  // a value that fails the parameter's own check
    Deprecated,
    DeprecatedReplaced,
    InternalError,  // an exception thrown by a command's hook
    DuplicateCommand,
    JournalNotOpened,
    JournalNotWritten,
};

// Outputs the message with its arguments, in the order of the format's
// placeholders.
void AcmdReport(AcmdMsg message, const std::vector<std::string>& args);

// The command whose messages are being emitted on this thread, for the time
// the scope lives. Scopes nest: the innermost names the messages.
class AcmdCommandScope {
public:
    explicit AcmdCommandScope(const std::string& commandName);
    ~AcmdCommandScope();
    AcmdCommandScope(const AcmdCommandScope&) = delete;
    AcmdCommandScope& operator=(const AcmdCommandScope&) = delete;
};

// A keyword that matches none of `allowed` ("a, b or c") was given for the
// parameter `name`, shown to the user as `displayName`.
void AcmdDisplayArgInvalidErrorMessage(const std::string& name, const std::string& text, const std::string& allowed,
                                       const std::string& displayName, void* parentWindow);
// `text` names no object of the kind `displayName`.
void AcmdDisplayArgNotFoundErrorMessage(const std::string& displayName, const std::string& text);
// The folder `path` given for the parameter `name` does not exist.
void AcmdDisplayFolderDoesNotExistErrorMessage(const std::string& name, const std::string& path, void* parentWindow);
