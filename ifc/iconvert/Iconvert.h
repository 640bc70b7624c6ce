// A converter of projects written by older versions. The open of such a
// project makes the converters its version calls for; the host's conversion
// runs each one's PreOpenConvert before the project file is read (files are
// moved into the current layout there), the project reader hands the list
// to every reader of project-file lines, which asks each converter in order
// (whether a file or an older file group is still wanted, older type
// keywords, renamed files), and the open ends with each one's
// PostOpenConvert. An empty list means the project needs no conversion.
//
// The base answers every question neutrally (everything is imported,
// nothing is renamed) except that a file it moved itself is renamed to where
// it went. The kinds override what they need.
#pragma once

#include "ifile/IfileObject.h"
#include "imodel/names/ImodelFileName.h"
#include "imodel/names/ImodelFileTypes.h"

#include <deque>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class IfileObjectEx;
class ImodelProjectFileStructure;

class Iconvert {
public:
    // Told the meter position while files are moved.
    using MeterCallback = void (*)(unsigned int position);

    // One file move, in the order the moves were tried. A failed move
    // records the old file as both old and new.
    struct CopiedFileType {
        IfileObject oldFile;
        IfileObject newFile;
        bool moved = false;
    };

    explicit Iconvert(int timerRatio = 1);
    virtual ~Iconvert();

    // Whether a file named by an older file-group list is added to the project.
    virtual bool FileNeedsImport(const ImodelFileName& name, int type);
    // Whether the file of a project-file line (name, ",", type keyword) is read.
    virtual bool FileNeedsImport(const std::string& line);
    // Whether an older file-group list of the project file is read at all.
    virtual bool OldFileGroupNeedsImport(const std::string& group, int type, ImodelProjectFileStructure& project);
    // Told of every file line read, with its name and type keyword, before
    // the keyword is translated; may change both.
    virtual void FoundNewProjectFile(ImodelFileName& name, std::string& keyword);
    // Translates a type keyword of an older version; true when it did.
    virtual bool IsOldStrType(const std::string& keyword, zorpaFileManagerTypes& type);
    // Renames a file value read from the project file that the conversion
    // moved; a file whose move failed keeps its name.
    virtual void ConvertObjectFromProjectFile(IfileObject& file);
    virtual bool NeedConvertTempFolder() const;
    // The work on disk before the project file is read; false fails it.
    virtual bool PreOpenConvert();
    // The work once the project is open.
    virtual bool PostOpenConvert();
    // The meter range of the work on disk and where its positions go (null:
    // nowhere).
    virtual void SetTimerInfo(unsigned int start, unsigned int end, MeterCallback callback);
    virtual int GetTimerRatio() const;
    // Runs on the parsed project file before the member files are added.
    virtual void ConvertWorkspace(ImodelProjectFileStructure& project);

    const std::vector<CopiedFileType>& GetMovedFiles() const { return m_movedFiles; }
    // The files the conversion leaves out of the project, each once.
    const std::deque<IfileObject>& GetSkippedFiles() const { return m_skippedFiles; }

protected:
    Iconvert(const Iconvert&) = default;
    Iconvert& operator=(const Iconvert&) = default;

    // `folder`/<title>[_<n>].<extension> of the file, typed as the file;
    // moves `n` on.
    static IfileObject GetFile(const IfileObject& file, const ImodelFileName& folder, int& n);
    // The first of title.ext, title_1.ext, title_2.ext, ... in `folder` that
    // does not exist on disk.
    static IfileObject GetNextAvailableFile(const IfileObject& file, const ImodelFileName& folder);
    // The files of `folder` with the extension `extension`, as files of
    // `type`, in name order, as the host lists them; none without a host.
    void GetFolder(std::deque<IfileObjectEx>& out, const ImodelFileName& folder, zorpaFileManagerTypes type,
                   const char* extension);
    // Moves the file into `toFolder` under the first free name (told to the
    // user, "MOVED"); a move that fails is told ("FAILED_TO_MOVE") and leaves
    // the file where it is. The meter goes to position + step when that is
    // short of the end.
    void MoveFile(const IfileObject& file, const ImodelFileName& toFolder, const std::string& label,
                  unsigned int position, float step);
    // Moves every file of `fromFolder` with the extension into `toFolder`,
    // the meter going from `start` to `end` over them. Always true.
    bool MoveAllFiles(const ImodelFileName& fromFolder, const ImodelFileName& toFolder, const std::string& label,
                      zorpaFileManagerTypes type, unsigned int start, unsigned int end, const std::string& extension);
    void AddSkippedFile(const IfileObject& file);
    void AddSkippedFiles(const std::deque<IfileObject>& files);
    void Meter(unsigned int position) const;
    // The key two file values share exactly when they name the same file.
    static std::string SameFileKey(const IfileObject& file);

    MeterCallback m_meter = nullptr;
    unsigned int m_start = 0;
    unsigned int m_end = 0;

private:
    int m_timerRatio;
    std::vector<CopiedFileType> m_movedFiles;
    // Same-file key of an old file -> its first successful move.
    std::unordered_map<std::string, std::size_t> m_movedIndex;
    std::deque<IfileObject> m_skippedFiles;
    std::unordered_set<std::string> m_skippedKeys;
};
