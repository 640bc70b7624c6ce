// Line format of the options files (described in foundation/Def.h): the
// parsed content, the parser, the rules for names and values the format can
// hold, and the quoting the writer needs.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

struct DefCondition {
    std::string name;
    std::string value;
};
// Sorted by name; empty for a plain definition.
using DefScope = std::vector<DefCondition>;

template <class T>
struct DefScoped {
    DefScope scope;
    T data;
};

using DefWords = std::vector<std::string>;

struct DefVariable {
    std::vector<DefScoped<std::string>> values;  // in the order written
    std::vector<DefScoped<DefWords>> visible;
    std::vector<DefScoped<DefWords>> hidden;
};

struct DefContent {
    std::map<std::string, DefVariable> variables;
    std::map<std::string, std::string> externalOf;  // internal -> external
    std::map<std::string, std::string> internalOf;  // external -> first internal
};

enum class DefTextKind {
    Defaults,      // every statement
    UserSettings,  // plain values only
};

// Parses `text`; on a malformed line returns false with
// "<source>:<line>: <problem>" in `error`.
bool DefTextParse(std::string_view text, const std::string& source, DefTextKind kind, DefContent& content,
                  std::string& error);

// Why a name or value cannot be stored, or nullptr when it can.
const char* DefTextNameProblem(std::string_view name);
const char* DefTextValueProblem(std::string_view value);

// The value as written after "NAME = ", quoted when reading would change it.
std::string DefTextQuoteValue(const std::string& value);
// Words joined by one blank, each quoted when splitting needs it.
std::string DefTextJoinWords(const DefWords& words);
