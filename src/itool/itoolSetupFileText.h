// What the writers of the outside tools' set-up files share: a set-up file
// as a list of lines, read whole (LF or CRLF) and written whole through a
// temporary file renamed over the old one, so that a failed write leaves the
// old file as it was and nothing beside it.
#pragma once

#include <string>
#include <vector>

using itoolLines = std::vector<std::string>;

// The lines of a text file, without their line ends (carriage returns at
// the end of a line included); false when the file cannot be read. `bytes`,
// when given, receives the file as it was read.
bool itoolReadLines(const std::string& path, itoolLines& lines, std::string* bytes = nullptr);
// Writes every line followed by a newline; false when the file could not be
// written (the old file is then untouched). A file that holds these bytes
// already is left as it is; `held`, when given, is what the caller has just
// read of it, so that it is not read again to tell.
bool itoolWriteLines(const std::string& path, const itoolLines& lines, const std::string* held = nullptr);

// The line begins with `key` and, after blanks, continues with "=".
bool itoolMapsKey(const std::string& line, const std::string& key);
// The line is a section header: it begins with "[".
bool itoolIsHeader(const std::string& line);
