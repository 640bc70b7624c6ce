// Free functions over file values and member files: the type keywords,
// lists of file values, parent lists and the file lists of the project file.
#pragma once

#include "ifile/IfileObjectEx.h"

#include <boost/shared_ptr.hpp>

#include <deque>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

class Iconvert;
class ImodelProjectFileStructure;

// --- types ----------------------------------------------------------------------

// The keyword of a specific type; "???" and false outside the type table.
bool IfileGetStrType(std::string& out, int type);
bool ImodelIsHDLType(zorpaFileManagerTypes type);

// Whether a text can stand in the project file's line format: no line break
// or other control character but the tab, no double quote (a file name goes
// between quotes), and "<project>" nowhere but at its start.
bool IfileIsStorableName(const std::string& name);
// Tells the user that a name (of the kind `what`: "file", "library", ...)
// cannot be used ("INVALID_NAME_CHAR"); answers false.
bool IfileRefuseName(const std::string& name, const char* what);
// IfileIsStorableName, refusing a name that fails it.
bool IfileCheckStorableName(const std::string& name, const char* what);
// Whether a library's name can stand alone on a line of the project file's
// list of libraries: no line break, and not read back as anything but itself
// (the opening or the end of a list, "LIST ...", "ENDLIST...", a key that
// ends the list, "KEY ...", or a quoted value, "VALUE \"...").
bool IfileIsStorableLibraryName(const std::string& name);

// --- lists of file values ------------------------------------------------------------

// Two HDL files of the list disagree on the language.
bool IfileIsMixedHDLList(const std::deque<IfileObject>& files);
// The language (true: VHDL) of the first or of the last HDL file of the
// list; the project's default language when it has none.
bool IfileGetListHDLType(const std::deque<IfileObject>& files, bool first);
// False as soon as a converter vetoes the line; true without converters.
bool IconvertNewFileManagerFileFileNeedsImport(const std::vector<Iconvert*>& converters, const std::string& line);

// --- parent lists ------------------------------------------------------------------------

// The live entry of a parent: the weak reference, else the project's entry
// (which the reference then keeps), else a new standalone entry of the file
// value, not added to the project. Never empty.
boost::shared_ptr<IfileObjectEx> IfileGetAndUpdateFileObject(IfileObjectEx::ParentFile& parent);
void IfileGetRealObjectsFromWeak(IfileObjectEx::ParentFiles& parents,
                                 std::vector<boost::shared_ptr<IfileObjectEx>>& out);
void IfileGetWeakObjectsFromReal(const std::vector<boost::shared_ptr<IfileObjectEx>>& entries,
                                 IfileObjectEx::ParentFiles& out);
void IfileGetWeakObjectsFromSimple(const std::deque<IfileObject>& files, IfileObjectEx::ParentFiles& out);
void IfileGetSimpleObjectsFromWeak(const IfileObjectEx::ParentFiles& parents, std::deque<IfileObject>& out);
// Appends the entry unless an equal file is there.
void IfileAddUniqueObject(std::deque<boost::shared_ptr<IfileObjectEx>>& entries,
                          const boost::shared_ptr<IfileObjectEx>& entry);
// Same length and equal file values position by position.
bool IfileIsSameList(const std::vector<boost::shared_ptr<IfileObjectEx>>& first,
                     const std::vector<boost::shared_ptr<IfileObjectEx>>& second);

// --- file lists of the project file -------------------------------------------------------
// A reader receives the lines of one LIST section as the project-file parser
// delivers them: a file's first line is the text of its VALUE line between
// the quotes; the opening and closing lines are not part of them.

// The opening text, one VALUE line per file, the closing text, each with an
// end of line; nothing for a null stream.
void IfileWriteFileList(const std::deque<IfileObject>& files, std::ostream* stream, const char* opening,
                        const char* closing);
// One file value per line, duplicates (by file equality) dropped.
void IfileReadFileList(const std::vector<std::string>& lines, std::deque<IfileObject>& files,
                       const std::vector<Iconvert*>& converters, bool clearFirst);
// Members whose name another name of the list replaced: the full name
// dropped and the full name kept, in list order.
using IfileReplacedMembers = std::vector<std::pair<std::string, std::string>>;
// The member files of a "FileManager" block: one block per file, the first
// of two equal files kept, unless the two names differ in letter case and
// only the later one's file is on disk: the later then takes the first one's
// place (and the pair is appended to `replaced`, when given). Then the
// parents named by PARENT lines are linked, and the component attributes
// that opening the project gives anew are dropped (IfileIgnoreCXFAttrs).
void IfileReadFileList(const std::vector<std::string>& lines, std::deque<IfileObjectEx>& files,
                       const std::vector<Iconvert*>& converters, bool clearFirst,
                       IfileReplacedMembers* replaced = nullptr);
// The member files of the parsed project file's "FileManager" block, read as
// above into `files` (emptied first); false, with `files` untouched, when the
// block is missing.
bool IfileGetFileList(ImodelProjectFileStructure& project, std::deque<IfileObjectEx>& files,
                      const std::vector<Iconvert*>& converters, IfileReplacedMembers* replaced = nullptr);
// Links the parents that the entries' PARENT lines name to the entries of
// the list; a name that is not in the list is traced and dropped.
void IfileRestoreParentFiles(std::deque<IfileObjectEx>& files, const std::vector<Iconvert*>& converters);
// Every entry whose component attributes the parse of its core on open
// gives anew (IfileObjectEx::WillBeParsedOnOpen) has them reset: what the
// project file stored would otherwise be merged into what the description
// says now.
void IfileIgnoreCXFAttrs(std::deque<IfileObjectEx>& files);
