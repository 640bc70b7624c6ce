// Starting outside programs, and the helpers around it: finding an
// executable on the search path, splitting a command line into words,
// reading word lists from the options database, and mapping a tool's
// displayed name back to its internal name.
//
// Programs run in their own start folder; the process's folder never
// changes. When the host launches programs itself, it is asked instead.
#pragma once

#include <string>
#include <vector>

// Starts a tool and waits for it: announces it ("CALLING_TOOL") when
// `toolName` is given, lets the host launch it when the host launches
// processes (handing it `flag` and `output`), else runs the command line in
// `startFolder` (the process's folder when empty). True when the tool was
// started and ended well; a failure is reported ("NO_TOOL", or
// "NO_TOOL_PROFILE" with `profileHint`) when `toolName` is given.
bool ImodelCreateProcess(const std::string& commandLine, const std::string& startFolder, const std::string& toolName,
                         bool profileHint, std::string* output, bool flag);

// Runs a command line and waits: word 0 is the program (looked up on the
// search path when it holds no "/"), the other words its arguments; double
// quotes group blanks into a word. Stores the exit status (-1 when the
// program could not start or did not exit normally) when `exitStatus` is
// given. True when the program ran and exited with 0.
bool ImodelSystemCall(const std::string& commandLine, int* exitStatus = nullptr,
                      const std::string& startFolder = std::string());

// Completes an executable's name to a full path in place: a name with a
// folder that exists stays; otherwise the first folder of "PATH" (split at
// ":") that holds it wins. False when none does (or the name is empty); the
// name keeps its separators made "/".
bool ImodelGetFullExePath(std::string& name);

// Replaces `words` by the words of `line` (blanks separate, double quotes
// group).
void ImodelParseArgs(const std::string& line, std::vector<std::string>& words);

// Replaces `words` by the words of the options variable `name`; empty when
// the variable cannot be read.
void ImodelGetDefStrs(const char* name, std::vector<std::string>& words);

// `listVariable` names a list of options variables; the first of them whose
// value is `displayedName` exactly is the internal name (true). Otherwise
// `internalName` is emptied and the result is false.
bool ImodelGetInternalToolName(const char* listVariable, const char* displayedName, std::string& internalName);

// Makes every "\" of a command line "/".
void ImodelSecureCommandLine(std::string& commandLine);
