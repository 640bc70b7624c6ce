// Texts in line-oriented files: the project file and its blocks, file
// lists, option records. A value may not hold a line break or another
// control character but the tab (the readers take such a file for damaged);
// a value that the format puts between double quotes may not hold a double
// quote either.
//
// Such texts are refused where they enter the model. Every writer of a
// line-oriented file checks them again with the functions below, so that no
// caller can write one: a text that cannot stand in its place is not
// written, the writer traces it and sets the stream's failbit, and the save
// that collects the lines then writes nothing (the old file stays).
#pragma once

#include <ostream>
#include <string>
#include <string_view>

// No line feed, no carriage return, no other control character but the tab.
bool ImodelIsOneLine(std::string_view text);
// The rule ImodelIsOneLine keeps, as a message names it ("%s must be ...").
inline constexpr const char* ImodelOneLineRule = "a single line of printable text";
// One line without a double quote.
bool ImodelIsQuotable(const std::string& text);

// Traces that the text, a `what`, cannot be written (for writers that fail
// on their own rather than through a stream), and keeps why for
// ImodelTakeRefusedText.
void ImodelTraceRefusedText(std::string_view text, const char* what);
// Why the last text refused on this thread could not be written (empty when
// none was since the last call), for the message of the save that failed.
std::string ImodelTakeRefusedText();
// Refuses the text: traces that `what` cannot be written and fails the
// stream; false.
bool ImodelRefuseText(std::ostream& stream, const std::string& text, const char* what);
// True when the text fits on one line; otherwise refuses it.
bool ImodelCheckOneLine(std::ostream& stream, const std::string& text, const char* what);
// The same for a text written between double quotes.
bool ImodelCheckQuotable(std::ostream& stream, const std::string& text, const char* what);
