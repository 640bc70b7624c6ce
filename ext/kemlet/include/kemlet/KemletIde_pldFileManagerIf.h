// The reader and writer of the place-and-route description that belongs to
// one design database: the file beside it with the same title and the
// extension "ide_pld".
//
// The description is a text file of our own line format:
//
//   KEMLET_IDE_PLD 1               header and format version
//   WRITER <code>                  the program that wrote it (WhoWroteTheFile)
//   RUN_FAILED 0|1                 the outcome of the last run; each of these
//   LAYOUT_COMPLETED 0|1           three lines is left out when the run did
//   BACK_ANNOTATED 0|1             not state it
//   LOCAL_COPIES 0|1               local copies of the links were made
//   FILE <name>                    a listed local file, in order with
//   LINK <name>                    a listed file outside the project,
//   COPY <name>                    the local copy of the LINK above it
//   USED <name>                    an input file the layout used, in order
//
// A name is the rest of its line (blanks and commas included); no name may
// hold a line break. Lines of other keywords are ignored, so later versions
// may add some; a line of a known keyword with a bad value makes the file
// unreadable. CRLF files read like LF ones.
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
    // Writes the content with this manager's writer code, through a
    // temporary file renamed over the old one; false, with the old file
    // kept, when a name holds a line break or the file cannot be written.
    bool Write(const KemletContentIf& content) const;

private:
    std::string m_database;
    std::string m_fileName;
    WhoWroteTheFile m_writer;
    KemletReloadCallback m_callback;
};

// A reader and writer for the description of the database `file`; null for
// an empty name. The caller frees it with KemletDeleteFileManager.
KemletIde_pldFileManagerIf* KemletGetNewFileManager(const char* file, WhoWroteTheFile writer,
                                                    KemletReloadCallback callback);
// Frees the manager and sets the pointer to null.
void KemletDeleteFileManager(KemletIde_pldFileManagerIf*& manager);
