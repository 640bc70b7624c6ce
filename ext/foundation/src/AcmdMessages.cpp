#include <foundation/AcmdMessages.h>
#include <foundation/Mdb.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace {

struct MessageDef {
    AcmdMsg message;
    const char* id;
    int severity;
    const char* format;
};

// In the order of AcmdMsg; the message number is 0x0AC0 in the upper half and
// the position in this table, from 1, in the lower half.
constexpr std::array kMessages{
    MessageDef{AcmdMsg::ArgInvalid, "ARG_INVALID", MdbERROR, "invalid value '%s' for -%s (%s): expected %s."},
    MessageDef{AcmdMsg::ArgNotFound, "ARG_NOT_FOUND", MdbERROR, "cannot find %s '%s'."},
    MessageDef{AcmdMsg::FolderDoesNotExist, "FOLDER_DOES_NOT_EXIST", MdbERROR,
               "the folder '%s' given for -%s does not exist."},
    MessageDef{AcmdMsg::FileDoesNotExist, "FILE_DOES_NOT_EXIST", MdbERROR,
               "the file '%s' given for -%s does not exist."},
    MessageDef{AcmdMsg::InvalidList, "INVALID_LIST", MdbERROR,
               "the value of -%s is not a well-formed Tcl list (unbalanced braces or quotes): %s"},
    MessageDef{AcmdMsg::UnknownOption, "UNKNOWN_OPTION", MdbERROR, "unknown option '%s'.\nUsage: %s"},
    MessageDef{AcmdMsg::MissingValue, "MISSING_VALUE", MdbERROR, "option '%s' needs a value.\nUsage: %s"},
    MessageDef{AcmdMsg::UnexpectedArgument, "UNEXPECTED_ARGUMENT", MdbERROR,
               "unexpected argument '%s': options are given as -name value.\nUsage: %s"},
    MessageDef{AcmdMsg::DuplicateOption, "DUPLICATE_OPTION", MdbERROR,
               "option '%s' may be given only once.\nUsage: %s"},
    MessageDef{AcmdMsg::MissingRequired, "MISSING_REQUIRED", MdbERROR, "missing required option -%s (%s).\nUsage: %s"},
    MessageDef{AcmdMsg::InvalidValue, "INVALID_VALUE", MdbERROR, "invalid value '%s' for -%s: expected %s."},
    MessageDef{AcmdMsg::Deprecated, "DEPRECATED_OPTION", MdbWARNING, "option -%s is deprecated."},
    MessageDef{AcmdMsg::DeprecatedReplaced, "DEPRECATED_OPTION", MdbWARNING,
               "option -%s is deprecated; use -%s instead."},
    MessageDef{AcmdMsg::InternalError, "INTERNAL_ERROR", MdbERROR, "internal error: %s"},
    MessageDef{AcmdMsg::DuplicateCommand, "DUPLICATE_COMMAND", MdbERROR, "the command '%s' is already registered."},
    MessageDef{AcmdMsg::JournalNotOpened, "JOURNAL_NOT_OPENED", MdbERROR, "cannot open the journal file '%s'."},
    MessageDef{AcmdMsg::JournalNotWritten, "JOURNAL_NOT_WRITTEN", MdbWARNING,
               "cannot write the journal file '%s'; the journal is no longer written to it."},
};

constexpr bool TableInEnumOrder()
{
    for (std::size_t i = 0; i < kMessages.size(); ++i) {
        if (static_cast<std::size_t>(kMessages[i].message) != i) return false;
    }
    return true;
}
static_assert(TableInEnumOrder(), "kMessages must follow the order of AcmdMsg");

constexpr std::uint32_t kNumberBlock = 0x0AC00000u;

thread_local std::vector<std::string> t_commands;

}  // namespace

void AcmdReport(AcmdMsg message, const std::vector<std::string>& args)
{
    const std::size_t index = static_cast<std::size_t>(message);
    const MessageDef& def = kMessages.at(index);
    // Both formats are fixed texts; the command name is an argument.
    std::vector<std::string> all;
    std::string format = def.format;
    if (!t_commands.empty()) {
        format = std::string("%s: ") + def.format;
        all.push_back(t_commands.back());
    }
    all.insert(all.end(), args.begin(), args.end());

    const int argSet = MdbArgSetInit(static_cast<int>(all.size()));
    for (std::size_t i = 0; i < all.size(); ++i) {
        MdbArgSetString(argSet, static_cast<int>(i), all[i].c_str());
    }
    MdbOutput(argSet, nullptr, "Acmd", def.id, def.severity, MdbLINE, format.c_str(),
              kNumberBlock + static_cast<std::uint32_t>(index + 1), 0);
}

AcmdCommandScope::AcmdCommandScope(const std::string& commandName) { t_commands.push_back(commandName); }

AcmdCommandScope::~AcmdCommandScope() { t_commands.pop_back(); }

void AcmdDisplayArgInvalidErrorMessage(const std::string& name, const std::string& text, const std::string& allowed,
                                       const std::string& displayName, void* /*parentWindow: no dialogs here*/)
{
    AcmdReport(AcmdMsg::ArgInvalid, {text, name, displayName, allowed});
}

void AcmdDisplayArgNotFoundErrorMessage(const std::string& displayName, const std::string& text)
{
    AcmdReport(AcmdMsg::ArgNotFound, {displayName, text});
}

void AcmdDisplayFolderDoesNotExistErrorMessage(const std::string& name, const std::string& path,
                                               void* /*parentWindow: no dialogs here*/)
{
    AcmdReport(AcmdMsg::FolderDoesNotExist, {path, name});
}
