// The parsed content of one place-and-route description (the "ide_pld" file
// that the place-and-route tool leaves beside each of its databases): which
// program wrote it, which database and design it describes, the device it
// was made for, the files the database was made from (each with its kind of
// file and, for a stimulus dump, its format), the optional constraint files
// with their use flag, the outcome of the last run, the local copies made
// while a project was converted, and the input files that the layout used.
//
// A listed file is either local or a link; a link may carry the name of the
// local copy made for it. File names compare as file names everywhere:
// separators and letter case do not matter.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// One listed file: its name, its kind of file (a code of the project
// manager's; -1 when the description does not say) and its format ("vcd"
// for a stimulus dump, else empty).
struct KemletFileRecord {
    std::string name;
    int kind = -1;
    std::string format;

    bool operator==(const KemletFileRecord& other) const = default;
};

// An optional constraint file and its flag (0: used, 1: not used).
struct KemletOptionalFile {
    std::string name;
    int flag = 0;

    bool operator==(const KemletOptionalFile& other) const = default;
};

// Whether two names in a description name the same file.
bool KemletIsOptionalSameFileName(const std::string& a, const std::string& b);

class KemletContentIf {
public:
    KemletContentIf() = default;

    // --- what the description says -------------------------------------------------

    // The code of the program that wrote the description (WhoWroteTheFile).
    int GetWhoWroteTheFile() const { return m_writer; }
    // Whether the description lists the file.
    bool IsFileInList(const std::string& fullName) const;
    // The listed files, in order; their count is the size.
    const std::vector<std::string>& GetFileList() const { return m_files; }
    // The same files in the same order.
    bool IsSameFileList(const std::vector<std::string>& names) const;
    // The listed files with their kinds and formats, in order.
    std::vector<KemletFileRecord> GetRecords() const;
    // The same files, kinds and formats in the same order.
    bool IsSameRecords(const std::vector<KemletFileRecord>& records) const;
    // Each query answers whether the description states the outcome, and
    // then sets the flag.
    bool GetRunFailed(bool& failed) const { return Answer(m_runFailed, failed); }
    bool GetLayoutCompleted(bool& completed) const { return Answer(m_layoutCompleted, completed); }
    bool GetBackAnnotated(bool& backAnnotated) const { return Answer(m_backAnnotated, backAnnotated); }
    // Whether the database was made from a synthesized netlist.
    bool GetSynthesizedFlow(bool& synthesized) const { return Answer(m_synthesizedFlow, synthesized); }
    // The input files that the layout used, in order.
    const std::vector<std::string>& GetUsedInputFiles() const { return m_usedInputFiles; }
    // The name of the design the database holds; empty when not stated.
    const std::string& GetDesignName() const { return m_designName; }
    // The device the database was made for; empty texts when not stated.
    const std::string& GetFamily() const { return m_family; }
    const std::string& GetDie() const { return m_die; }
    const std::string& GetPackage() const { return m_package; }

    // --- which database it describes ----------------------------------------------------

    // The database whose description this content was read from (set by the reader).
    const std::string& GetDatabaseName() const { return m_database; }
    void SetDatabaseName(const std::string& database) { m_database = database; }
    // The file name (without folder) of the database the description was
    // written for; empty when the description does not say.
    const std::string& GetDescribedDatabase() const { return m_describedDatabase; }
    void SetDescribedDatabase(const std::string& title) { m_describedDatabase = title; }
    // Whether the content describes `database`: it names no database, or
    // one of the same file name. A description copied or renamed from
    // another database's does not.
    bool IsContentOf(const std::string& database) const;

    // --- optional constraint files ---------------------------------------------------------

    const std::vector<KemletOptionalFile>& GetOptionalFiles() const { return m_optionalFiles; }
    // The entry of that file; null when there is none.
    const KemletOptionalFile* FindOptionalFile(const std::string& name) const;
    // Sets the flag of the file's entry, appending one when there is none.
    void SetOptionalFile(const std::string& name, int flag);
    void ClearOptionalFiles() { m_optionalFiles.clear(); }
    // The entries become `files`, in order, the last flag of a file kept.
    void SetOptionalFiles(const std::vector<KemletOptionalFile>& files);

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

    // --- building and changing a content -----------------------------------------------------

    void SetWhoWroteTheFile(int writer) { m_writer = writer; }
    void SetRunFailed(bool failed) { m_runFailed = failed; }
    void SetLayoutCompleted(bool completed) { m_layoutCompleted = completed; }
    void SetBackAnnotated(bool backAnnotated) { m_backAnnotated = backAnnotated; }
    void SetSynthesizedFlow(bool synthesized) { m_synthesizedFlow = synthesized; }
    void SetLocalCopiesMade(bool made) { m_localCopiesMade = made; }
    void SetDesignName(const std::string& name) { m_designName = name; }
    void SetDevice(const std::string& family, const std::string& die, const std::string& package);
    void AddFile(const std::string& name, int kind = -1, const std::string& format = std::string());
    // A listed file outside the project, with its local copy when one was made.
    void AddLink(const std::string& name, const std::string& localCopy = std::string());
    // Sets the kind and format of the last listed file; false when none is listed.
    bool SetLastFileAttributes(int kind, const std::string& format);
    // The listed files become the records, in order; a link that stays
    // listed stays a link.
    void SetRecords(const std::vector<KemletFileRecord>& records);
    void AddUsedInputFile(const std::string& name) { m_usedInputFiles.push_back(name); }
    // Every listed, used or optional entry naming the file `from` names `to`
    // instead; whether anything changed.
    bool RenameFile(const std::string& from, const std::string& to);

    bool operator==(const KemletContentIf& other) const = default;

private:
    struct Attributes {
        int kind = -1;
        std::string format;
        bool operator==(const Attributes& other) const = default;
    };

    static bool Answer(const std::optional<bool>& stated, bool& flag);

    int m_writer = 0;
    std::string m_describedDatabase;
    std::string m_designName;
    std::string m_family;
    std::string m_die;
    std::string m_package;
    std::optional<bool> m_runFailed;
    std::optional<bool> m_layoutCompleted;
    std::optional<bool> m_backAnnotated;
    std::optional<bool> m_synthesizedFlow;
    bool m_localCopiesMade = false;
    std::vector<std::string> m_files;
    std::vector<Attributes> m_attributes;              // one per listed file
    std::map<std::string, std::string> m_localCopies;  // link -> local copy ("" for none)
    std::vector<std::string> m_usedInputFiles;
    std::vector<KemletOptionalFile> m_optionalFiles;
    std::string m_database;
};

// A new content, a copy of `source` (empty for null); the caller frees it
// with KemletDeleteFileContent.
KemletContentIf* KemletGetNewFileContent(const KemletContentIf* source);
// Frees the content and sets the pointer to null.
void KemletDeleteFileContent(KemletContentIf*& content);
