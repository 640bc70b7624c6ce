// The reader and writer of the place-and-route description that belongs to
// one design database: the file beside it with the same title and the
// extension "ide_pld".
//
// The description is a text file of our own line format:
//
//   KEMLET_IDE_PLD 1               header and format version
//   WRITER <code>                  the program that wrote it (WhoWroteTheFile)
//   DATABASE <file name>           the database it was written for
//   DESIGN <name>                  the design the database holds
//   FAMILY <name>                  the device the database was made for;
//   DIE <name>                     each line left out when not stated
//   PACKAGE <name>
//   SYNTHESIZED 0|1                made from a synthesized netlist
//   RUN_FAILED 0|1                 the outcome of the last run; each of these
//   LAYOUT_COMPLETED 0|1           three lines is left out when the run did
//   BACK_ANNOTATED 0|1             not state it
//   LOCAL_COPIES 0|1               local copies of the links were made
//   FILE <name>                    a listed local file, in order with
//   LINK <name>                    a listed file outside the project,
//   COPY <name>                    the local copy of the LINK above it
//   KIND <number>                  the kind of the file listed above it
//   FORMAT <text>                  the format of the file listed above it
//   USED <name>                    an input file the layout used, in order
//   OPTIONAL <flag> <name>         an optional constraint file and its flag
//
// A name is the rest of its line (blanks and commas included); no name may
// hold a line break. A file inside the project (the folder of the project
// file the writer was given, when the description lies inside it and that
// file is there; otherwise the nearest folder at or above the description's
// that holds a project file, "*.prj") is named relative to the
// description's folder: the way up to the project folder,
// then the path inside it ("../../synthesis/top.edn"), so that
// the descriptions of a project copied or moved elsewhere name the files of
// that project and not those of the original; any other file is named by
// its absolute name. A relative name is read against the description's
// folder; the absolute names of older descriptions read as they stand. Lines of other keywords are ignored, so later versions
// may add some; a line of a known keyword with a bad value makes the file
// unreadable. CRLF files read like LF ones. The writer always states the
// database it writes for.
#pragma once

#include "kemlet/KemletContentIf.h"

#include <string>

// Who wrote a description. The project manager writes with its own code, so
// that it can tell its own descriptions from those the tool left.
enum WhoWroteTheFile : int {
    KemletWriterUnknown = 0,
    KemletWriterPlaceAndRoute = 1,  // the place-and-route tool
    KemletWriterProjectManager = 2  // this program
};

// Called with the database's name after its description was written.
using KemletReloadCallback = void (*)(const char* databaseName);

class KemletIde_pldFileManagerIf {
public:
    KemletIde_pldFileManagerIf(const std::string& database, WhoWroteTheFile writer, KemletReloadCallback callback);

    const std::string& GetDatabaseName() const { return m_database; }
    // The description's file name.
    const std::string& GetFileName() const { return m_fileName; }
    // Whether the description exists and can be read.
    bool IsReady() const;
    // Reads the description into `content` (which then belongs to this
    // database); false, with `content` unchanged, when it cannot be read.
    bool Read(KemletContentIf* content) const;
    // Writes the content with this manager's writer code, for this
    // manager's database, through a temporary file renamed over the old
    // one; false, with the old file kept, when a name or value holds a line
    // break or the file cannot be written. A description that already holds
    // exactly that text is left as it is. The reload callback hears of
    // every written description.
    bool Write(const KemletContentIf& content) const;
    // The project file of the project the description belongs to, when the
    // caller knows it: its folder is then the project's as long as the
    // description lies inside it and the file is there, and the folders
    // between are not searched for another project file (a view folder
    // holds a description per unit, and every write would list it).
    void SetProjectFile(const std::string& projectFile) { m_projectFile = projectFile; }

private:
    std::string m_database;
    std::string m_fileName;
    std::string m_projectFile;
    WhoWroteTheFile m_writer;
    KemletReloadCallback m_callback;
};

// The content of a description's text; false, with `content` unchanged,
// for a text that is not a readable description. Relative names are taken
// against `folder`, the description's folder (kept as written when empty).
bool KemletParseDescription(const std::string& text, KemletContentIf& content,
                            const std::string& folder = std::string());
// The text of a description of `content` written by `writer` for the
// database file `databaseTitle` (its name without folder; none when empty).
// Names inside `projectFolder` are written relative to `folder`, the
// description's folder (every name as it stands when either is empty).
// Nothing (false) when a name or value cannot be stored.
bool KemletFormatDescription(const KemletContentIf& content, WhoWroteTheFile writer, const std::string& databaseTitle,
                             std::string& text, const std::string& folder = std::string(),
                             const std::string& projectFolder = std::string());

// A reader and writer for the description of the database `file`; null for
// an empty name. The caller frees it with KemletDeleteFileManager.
KemletIde_pldFileManagerIf* KemletGetNewFileManager(const char* file, WhoWroteTheFile writer,
                                                    KemletReloadCallback callback);
// Frees the manager and sets the pointer to null.
void KemletDeleteFileManager(KemletIde_pldFileManagerIf*& manager);
