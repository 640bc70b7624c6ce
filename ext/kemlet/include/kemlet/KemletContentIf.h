// The parsed content of one place-and-route description (the "ide_pld" file
// that the place-and-route tool leaves beside each of its databases): which
// program wrote it, the files the database was made from, the outcome of the
// last run, the local copies made while a project was converted, and the
// input files that the layout used.
//
// A listed file is either local or a link; a link may carry the name of the
// local copy made for it.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

class KemletContentIf {
public:
    KemletContentIf() = default;

    // --- what the description says -------------------------------------------------

    // The code of the program that wrote the description (WhoWroteTheFile).
    int GetWhoWroteTheFile() const { return m_writer; }
    // Whether the description lists the file (file-name equality: separators
    // and letter case do not matter).
    bool IsFileInList(const std::string& fullName) const;
    // The listed files, in order; their count is the size.
    const std::vector<std::string>& GetFileList() const { return m_files; }
    // The same files in the same order (file-name equality).
    bool IsSameFileList(const std::vector<std::string>& names) const;
    // Each query answers whether the description states the outcome, and
    // then sets the flag.
    bool GetRunFailed(bool& failed) const { return Answer(m_runFailed, failed); }
    bool GetLayoutCompleted(bool& completed) const { return Answer(m_layoutCompleted, completed); }
    bool GetBackAnnotated(bool& backAnnotated) const { return Answer(m_backAnnotated, backAnnotated); }
    // The input files that the layout used, in order.
    const std::vector<std::string>& GetUsedInputFiles() const { return m_usedInputFiles; }

    // --- conversion ----------------------------------------------------------------------

    // Whether local copies of the linked files were made.
    bool WereLocalCopiesMade() const { return m_localCopiesMade; }
    // The content of the database `databaseName` (as its reader read it)
    // takes the local copies in place of their links; answers whether every
    // listed file is now local. Nothing changes, and the answer is false,
    // for a content read for another database.
    bool UpdateFileToLocal(const std::string& databaseName);
    // The links among the listed files, and the local copy of one ("" when none).
    bool IsLink(const std::string& name) const { return m_localCopies.count(name) != 0; }
    std::string GetLocalCopy(const std::string& link) const;

    // --- building a content ---------------------------------------------------------------

    void SetWhoWroteTheFile(int writer) { m_writer = writer; }
    void SetRunFailed(bool failed) { m_runFailed = failed; }
    void SetLayoutCompleted(bool completed) { m_layoutCompleted = completed; }
    void SetBackAnnotated(bool backAnnotated) { m_backAnnotated = backAnnotated; }
    void SetLocalCopiesMade(bool made) { m_localCopiesMade = made; }
    void AddFile(const std::string& name) { m_files.push_back(name); }
    // A listed file outside the project, with its local copy when one was made.
    void AddLink(const std::string& name, const std::string& localCopy = std::string());
    void AddUsedInputFile(const std::string& name) { m_usedInputFiles.push_back(name); }
    // The database whose description this content was read from.
    const std::string& GetDatabaseName() const { return m_database; }
    void SetDatabaseName(const std::string& database) { m_database = database; }

    bool operator==(const KemletContentIf& other) const = default;

private:
    static bool Answer(const std::optional<bool>& stated, bool& flag);

    int m_writer = 0;
    std::optional<bool> m_runFailed;
    std::optional<bool> m_layoutCompleted;
    std::optional<bool> m_backAnnotated;
    bool m_localCopiesMade = false;
    std::vector<std::string> m_files;
    std::map<std::string, std::string> m_localCopies;  // link -> local copy ("" for none)
    std::vector<std::string> m_usedInputFiles;
    std::string m_database;
};

// A new content, a copy of `source` (empty for null); the caller frees it
// with KemletDeleteFileContent.
KemletContentIf* KemletGetNewFileContent(const KemletContentIf* source);
// Frees the content and sets the pointer to null.
void KemletDeleteFileContent(KemletContentIf*& content);
