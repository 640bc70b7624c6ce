// Options database: preference variables with defaults.
//
// Three layers answer a lookup, the first that holds the variable wins:
//   1. overrides (DefOverRideFL), a stack per variable, innermost first;
//   2. the user's settings (DefSetFL, DefSetInt, DefSetBool; saved by DefFlush);
//   3. the installed defaults, where a definition may be scoped by condition
//      variables ("DIE[QFAM=ZX7] = ..."): a scoped definition answers when every
//      condition variable currently has the named value (compared without
//      regard to case); the most specific matching definition (the one with
//      the most conditions) wins, among equally specific ones the one written
//      last; without a match the plain definition answers.
// The current value of a condition variable is its override, else its user
// value, else its plain default: its own scoped definitions are not consulted,
// so conditions never recurse. A condition variable without a value matches
// no condition. Variable names compare exactly.
//
// A variable may also carry a list of allowed values (its choices, scoped the
// same way, each visible or hidden) and every value may carry an external
// (displayed) name.
//
// Read functions return 0 when the variable was read, non-zero otherwise.
// Values are plain text: nothing here interprets them as formats.
// All functions are safe to call from any thread (one lock guards the data).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// --- reading ---------------------------------------------------------------

// Boolean read: TRUE/FALSE, T/F, YES/NO, ON/OFF (any case) read as 1/0, any
// other integer text as that integer. *value is left unchanged on failure.
int DefGetBoolFL(const char* name, int* value, const char* file = nullptr, int line = 0);
// Integer read; fails when the value is not a whole decimal integer (blanks
// around it are allowed) or does not fit an int. *value is left unchanged on
// failure.
int DefGetIntFL(const char* name, int* value, const char* file = nullptr, int line = 0);
// Text read; `value` is left unchanged on failure. The buffer form copies at
// most size-1 characters and always terminates the buffer (when size > 0); a
// value that does not fit fails the read, and every failure leaves the buffer
// empty.
int DefGetStrFL(const char* name, std::string& value, const char* file = nullptr, int line = 0);
int DefGetStrFL(const char* name, char* buffer, std::size_t size, const char* file = nullptr, int line = 0);
// The value text, or nothing when the variable has no value.
std::optional<std::string> DefGetFL(const char* name, const char* file = nullptr, int line = 0);
// Grows at every change of any layer: an answer read while it held one
// value holds until it moves (read the count before the answer).
std::uint64_t DefChangeCount();

// The visible choices of a variable under the current conditions, in their
// order: the most specific matching "@choices" list without the words of the
// most specific matching "@hidden" list. Returns 0 when a choice list
// matches; the output is emptied otherwise.
int DefGetAllVisList(const char* name, std::vector<std::string>& values);
// The same list as one text, values separated by one blank; a value that is
// empty or holds a blank or a double quote is written in double quotes (with
// \" for a quote), so that splitting the text into command-line words
// (ArgsParse) gives the list back. Buffer form as DefGetStrFL.
int DefGetAllVisList(const char* name, char* buffer, std::size_t size);

// External (displayed) name of an internal value; flag 1 asks internal ->
// external, 0 external -> internal (when several internal values share an
// external name, the one defined first answers). Names compare exactly.
// Returns 0 when a name was found; the output is emptied otherwise.
int DefGetExtValue(const char* value, int flag, std::string& out);
int DefGetExtValue(const char* value, int flag, char* buffer, std::size_t size);

// True when the variable is defined in any layer (a value, a scoped value or
// a choice list).
bool DefIsOptSupported(const char* name);

// --- writing ---------------------------------------------------------------
//
// A name must be non-empty and hold no blank, line break, "=", "[" or "]",
// and may not begin with "#" or "@"; a value may hold no line break. Writes
// that break these rules are refused with a non-zero result, change nothing
// and print a line naming the caller's file and line (when given).

// Sets the user's value.
int DefSetFL(const char* name, const char* value, const char* file = nullptr, int line = 0);
int DefSetInt(const char* name, int value);
int DefSetBool(const char* name, bool value);  // stored as "1" or "0"
// Removes the user's value, so the default answers again. Removing a value
// that is not there succeeds.
int DefUnset(const char* name);

// Pushes a temporary value that hides every other layer until the matching
// DefUnOverRide. Overrides nest; a DefUnOverRide without an override is
// ignored (and answers non-zero). Overrides are never saved.
int DefOverRideFL(const char* name, const char* value, const char* file = nullptr, int line = 0);
int DefUnOverRide(const char* name);

// RAII form of an override, undone on every path.
class DefOverRideGuard {
public:
    DefOverRideGuard(const char* name, const std::string& value);
    ~DefOverRideGuard();
    DefOverRideGuard(const DefOverRideGuard&) = delete;
    DefOverRideGuard& operator=(const DefOverRideGuard&) = delete;

private:
    std::string m_name;
    bool m_active;
};

// --- files -----------------------------------------------------------------
//
// One format for the installed defaults and the user's settings, one
// statement per line (LF or CRLF). Blank lines and lines whose first
// non-blank character is "#" are skipped; a "#" elsewhere is plain text.
//   NAME = value                       a plain value: the rest of the line,
//                                      trimmed; when it then begins and ends
//                                      with a double quote, those two quotes
//                                      are removed (so "  x " keeps its blanks)
//   NAME[COND=val,COND2=val] = value   a scoped value (defaults only); each
//                                      condition names a variable once, with
//                                      a non-empty value
//   @choices NAME[...] = v1 v2 ...     the visible choices of NAME (scope
//                                      optional, defaults only)
//   @hidden NAME[...] = v3 ...         allowed but hidden choices: left out of
//                                      the visible list (defaults only)
//   @ext internal = external name      the external name of a value (defaults
//                                      only; the internal value is the trimmed
//                                      text before "=", the external name is
//                                      read like a value)
// Blanks are spaces and tabs. Words of a choice list are split like
// command-line words (ArgsParse): blanks separate, double quotes group a word
// holding blanks, \" inside quotes stands for a quote; an unterminated quote
// is an error. A later definition of the same name and scope replaces an
// earlier one.
//
// Loading replaces one layer as a whole or nothing: a malformed line fails
// the load with "<file>:<line>: <problem>" and leaves every layer as it was.
// The error text goes to `error` when given, else to the debug print.

// Replaces the installed defaults with the file's content.
bool DefLoadDefaults(const std::string& path, std::string* error = nullptr);
bool DefLoadDefaultsFromText(const std::string& text, std::string* error = nullptr);
// Replaces the user's settings with the file's content (plain values only)
// and remembers the file for DefFlush. A missing file gives empty settings
// and succeeds; an unreadable or malformed one replaces nothing (the file
// remembered before stays, so a bad file is never written over) and fails.
bool DefLoadUserSettings(const std::string& path, std::string* error = nullptr);
// Writes the user's settings, sorted by name, to the remembered file: to a
// temporary file in the same folder (missing folders are created), flushed,
// synced and renamed over the old one; a file reached through a symbolic link
// is written where the link points. Values that would not read back as they
// are (blanks at either end, enclosing quotes) are written in double quotes.
// Returns 0 on success; without a remembered file there is nothing to write
// (0). On failure the old file stays, the temporary file is removed and the
// reason goes to `error` when given, else to the debug print.
int DefFlush(std::string* error = nullptr);
// Forgets every layer and the user file (tests and re-initialisation).
void DefReset();
