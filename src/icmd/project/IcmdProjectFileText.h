// Small rules of the project file's text shared by its readers and writers.
#pragma once

#include <string>
#include <string_view>

// The leading decimal number of a text (blanks and a sign allowed in front,
// anything after the digits ignored), held within the range of int; 0 when
// the text starts with no number.
int IcmdLeadingNumber(const std::string& text);
// Whether a value can stand in a line of the project file between double
// quotes: no line break or other control character but the tab, and no double quote.
bool IcmdIsStorableValue(const std::string& value);
// Editors of old wrote the end-of-file byte 0x1A after the last line: a
// text that ends with it (line breaks after it aside) ends before it. A 0x1A
// with anything else after it is left where it is.
void IcmdDropEndOfFileMark(std::string& text);
// Where the text of a project file stops short of a whole last line, as a
// copy cut off midway leaves it: "it ends at line 9 with 'K', which is not a
// whole line", or inside a key's value, or inside a list that has no
// ENDLIST. Empty when its last line (blank lines aside) is a whole
// statement: a key with its value, or an ENDLIST; a last line of any other
// text outside every list is no statement at all, and is read as before.
// Only a text whose last line is not an ENDLIST or a whole key is walked.
std::string IcmdWhereCutShort(std::string_view text);
// The text between the first and the last double quote of a line; false
// when the line holds fewer than two.
bool IcmdQuotedText(const std::string& line, std::string& text);
// Splits "text,word" at its last comma (file names may hold commas, the
// words after them never do); false without a comma.
bool IcmdSplitAtLastComma(const std::string& line, std::string& before, std::string& after);
// A project name names one folder entry and stands in the project file:
// no separator, no "." or "..", no control character, no double quote.
bool IcmdIsValidProjectName(const std::string& name);
// The same rule for the name of a new design, which becomes a folder of the
// project; a name that breaks it is told (INVALID_DESIGN_NAME): false.
bool IcmdCheckDesignName(const std::string& name);
// A project location is a folder path that stands in the project file
// between double quotes: not empty, no double quote, no line break.
bool IcmdIsValidProjectLocation(const std::string& folder);
// Makes the module named by the component-id text the root again, when it
// exists and may be the root; otherwise the root stays as it is and the
// user is told.
void IcmdRestoreActiveRoot(const std::string& text);
