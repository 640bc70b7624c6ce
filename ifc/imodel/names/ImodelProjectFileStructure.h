// ImodelProjectFileStructure: the project file as read into memory, on the
// parsed structure of the project-file library (keys and named blocks, see
// kemlet/KemletFileStructure.h). On top of it the model keeps the file-list
// sections of older project files with the type their files get by
// default, counts the files the lists name for the progress meter, and does
// the two halves of reading the file lists: taking note of the files that
// exist, and removing afterwards those that are named but missing.
//
// The project reader makes one per read, asks it for sections in its own
// order, and deletes it at the end.
#pragma once

#include "imodel/names/ImodelCaseOnDisk.h"
#include "imodel/names/ImodelFileName.h"
#include "imodel/names/ImodelFileTypes.h"

#include <kemlet/KemletFileStructure.h>

#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

class Iconvert;

class ImodelProjectFileStructure : public KemletFileStructure {
public:
    // (file name, file type) pairs.
    using FileList = std::vector<std::pair<ImodelFileName, zorpaFileManagerTypes>>;
    // A file-list section of older project files and the type its files
    // get by default.
    using Section = std::pair<std::string, zorpaFileManagerTypes>;

    ImodelProjectFileStructure();
    ~ImodelProjectFileStructure() override;

    // --- the parsed structure ---------------------------------------------------------

    bool Read(const char* fileName, const std::string& stop) override;
    void Parse(const char* source, const std::string& text, const std::string& stop) override;
    std::unique_ptr<ImodelFileObject_KEY> GetKEY(const char* name, bool take) override;
    std::unique_ptr<ImodelFileObject_LIST> GetLIST(const char* name, bool take) override;
    const ImodelFileObject_LIST* PeekLIST(const char* name) const override;
    const std::string& Damage() const override;

    // Empties `lines`, then fills it with the lines of the named block
    // (`take` as for the lookup); false when there is no such block.
    bool GetLIST(std::vector<std::string>& lines, const char* name, bool take);
    // Skips the rest of a block whose "LIST" line was already consumed:
    // removes lines from the front up to and including the line that closes
    // it (nested blocks counted), or all of them when none does.
    static bool EatCurrentLIST(std::vector<std::string>& lines);

    // --- file lists ---------------------------------------------------------------------

    // The file-list sections of older project files, in reading order.
    const std::vector<Section>& GetSections() const { return m_sections; }
    // The number of files the project file names, for the progress meter:
    // the file manager's count of its own block when it has one, else the
    // number of lines of the older sections.
    void GetFileListCount(int& count);

    // The names on disk of member files renamed there in letter case only,
    // for this read: each folder is listed once.
    ImodelCaseOnDisk& CaseOnDisk() { return m_caseOnDisk; }

    // Takes note of one file named by a file list, with the section's
    // default type, once the converters of an older project adjusted it. A
    // missing file renamed on disk in letter case only (CaseOnDisk) takes
    // the name on disk, and the user is told. A missing file is marked for
    // removal (AddFileToDelete): false. An
    // existing file of another view (`known`) is registered with the file
    // manager; any other existing file is added by the add-file command
    // (updated and parsed unless `noUpdate`) when the converters want it.
    // Either is recorded among the files read by its name after the last
    // directory character (files of the place-and-route group apart): true.
    bool AddFilePresent(const ImodelFileName& name, zorpaFileManagerTypes type, bool noUpdate,
                        const std::vector<Iconvert*>& converters, bool known);
    // Marks a file that the project names but that does not exist for
    // removal, once per file (file-name equality).
    void AddFileToDelete(const ImodelFileName& name, zorpaFileManagerTypes type);
    // Tells the user of each file marked for removal ("OLD_FILE_NOT_FOUND",
    // not while a saved copy is reopened), takes it out of the model
    // (delete_files_from_model, with its view made current for the time)
    // and empties the list.
    void DeleteFiles();

    const FileList& GetFilesToDelete() const { return m_filesToDelete; }
    // The files read, by name after the last directory character: those of
    // every group but place and route, and those of place and route.
    const FileList& GetFilesRead() const { return m_filesRead; }
    const FileList& GetPalladorFilesRead() const { return m_palladorFilesRead; }

private:
    struct StructureDeleter {
        void operator()(KemletFileStructure* structure) const { KemletFileDeleteStructure(structure); }
    };

    FileList m_filesToDelete;
    std::unordered_set<std::string> m_filesToDeleteKeys;  // same-file keys of m_filesToDelete
    FileList m_filesRead;
    FileList m_palladorFilesRead;
    std::vector<Section> m_sections;
    ImodelCaseOnDisk m_caseOnDisk;
    std::unique_ptr<KemletFileStructure, StructureDeleter> m_parsed;
};
