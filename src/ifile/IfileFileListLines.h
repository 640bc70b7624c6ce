// The shape of the lines of the project file's file-list block, as the
// readers see them: a file's first line (its stored name, "," and keyword),
// member lines KEYWORD=value, and the bare words ENDFILE,
// BEGIN_USE_CONSTRAINT and END_USE_CONSTRAINT.
//
// A file's block runs from its first line to its ENDFILE line. A truncated
// block ends before the first line that cannot belong to it (a line that is
// neither a member line nor a bare word of the block), so that a missing
// ENDFILE never lets one file swallow the next.
#pragma once

#include <string>
#include <string_view>
#include <vector>

using ifileLineIterator = std::vector<std::string>::const_iterator;

inline constexpr const char* ifileEndFile = "ENDFILE";
inline constexpr const char* ifileBeginConstraint = "BEGIN_USE_CONSTRAINT";
inline constexpr const char* ifileEndConstraint = "END_USE_CONSTRAINT";

// The line without a trailing carriage return (CRLF files read like LF ones).
std::string_view ifileWithoutLineEnd(std::string_view line);
// Whether the line is the bare word (trailing blanks and line end ignored).
bool ifileIsBlockWord(std::string_view line, const char* word);
// Whether the line is KEYWORD=value with an upper-case keyword.
bool ifileIsMemberLine(const std::string& line);
// When the line is `keyword`=value: the value without one enclosing double
// quote at either end.
bool ifileMemberValue(const char* keyword, const std::string& line, std::string& value);
// Whether the line can begin a file: not blank and no line of a file's block.
bool ifileCanStartFile(const std::string& line);
// The end of the block whose member lines begin at `first`: its ENDFILE
// line, else the first line that cannot belong to it, else `end`.
ifileLineIterator ifileFileBlockEnd(ifileLineIterator first, ifileLineIterator end);
// The last line of the block that begins with the file line `start`: its
// ENDFILE line, or the last line that belongs to a truncated block.
ifileLineIterator ifileLastLineOfBlock(ifileLineIterator start, ifileLineIterator end);
