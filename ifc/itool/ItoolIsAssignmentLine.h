// The test by which the simulator's set-up files are rewritten: whether a
// line assigns a value to a key.
#pragma once

#include <string>

// True when the line begins with `key` and what follows it, past any
// blanks, begins with "=" ("key=x" and "key  = x" do; " key = x" and
// "keyX = x" do not).
bool ItoolIsAssignmentLine(const std::string& line, const std::string& key);
