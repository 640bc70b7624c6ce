// What file values ask of the process-wide model and of the name rules,
// shared by the file-value sources.
#pragma once

#include "ifile/IfileObject.h"
#include "imodel/names/ImodelHashPositions.h"
#include "imodel/names/imodelUtl.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class IfileManager;

// The project folder; empty when no project location is set.
const ImodelFileName& ifileProjectFolder();
// The folder's stamp (ImodelDesignManager::GetProjectFolderStamp); 0 while
// there is no design manager.
std::uint64_t ifileProjectFolderStamp();
// The model's file manager; null while the model is being built.
IfileManager* ifileFileManager();

// Whether the character separates folders ("\" too, for names read as given).
inline bool ifileIsSeparator(char c) { return c == '/' || c == '\\'; }
// Whether the text begins with the project token "<project>".
bool ifileStartsWithProjectToken(std::string_view name);
// The text after the project token and one separator following it.
std::string_view ifileStripProjectToken(std::string_view name);
// The keyword of a specific type; "???" outside the type table.
const char* ifileTypeKeyword(int type);
// The text after the last separator when that separator is not the first
// character; else the whole text (a file value's title and extension).
std::string_view ifileTitleOf(std::string_view name);
// The full name of a project-relative name: the folder, one separator, the
// relative name (a file value's full name).
std::string ifileJoinProjectFolder(const std::string& folder, std::string_view relative);
// Whether `full` is exactly what ifileJoinProjectFolder(folder, relative)
// gives, told without making it.
bool ifileIsJoinOf(std::string_view full, std::string_view folder, std::string_view relative);
// Whether a name relative to the project folder leads out of it once "."
// and ".." are resolved ("../x", "a/../../x").
bool ifileClimbsOut(std::string_view relative);
// A stored name (separators "/") with ".", ".." or empty segments made the
// name of the file it denotes, as a command stores a path it is given:
// "<project>/hdl/./a.vhd" and "<project>//hdl/a.vhd" become
// "<project>/hdl/a.vhd", a name that leaves
// the project folder ("<project>/../x.v") the absolute name of the file
// beside it, and an absolute name is resolved. Any other name, the usual
// one, is left as it is.
void ifileResolveDotSegments(std::string& name);

// The file-name key of a file value (ImodelFileNameKey of its stored name):
// two values are equal exactly when their keys are. Lets readers find equal
// files in a set instead of comparing every pair.
inline std::string ifileSameFileKey(const IfileObject& file) { return ImodelFileNameKey(file.GetInternalFileName()); }

// The positions of the files of a list by the hash of their file-name key:
// finds the first file equal to a given one (IfileObject::operator==)
// without comparing every pair and without building keys. An
// open-addressing table: one array, no node per file.
class ifileSameFileIndex {
public:
    ifileSameFileIndex();
    // The position of the first file added that equals `file`, or -1.
    template <class List>
    std::ptrdiff_t Find(const List& list, const IfileObject& file) const
    {
        if (m_table.Size() == 0) return -1;
        const std::size_t found =
            m_table.FindLowest(Hash(file), [&list, &file](std::size_t position) { return list[position] == file; });
        return found == m_table.npos ? -1 : static_cast<std::ptrdiff_t>(found);
    }
    void Add(const IfileObject& file, std::ptrdiff_t position);

private:
    // Positions by hash as elsewhere, at most half the cells taken: a list
    // is read once and searched once per line.
    struct Cells : ImodelHashPositionCells {
        static constexpr std::size_t kFirstCells = 64;
        static constexpr std::size_t kMostTaken = 1;
        static constexpr std::size_t kOfCells = 2;
    };
    std::uint64_t Hash(const IfileObject& file) const;

    std::string m_folder;
    ImodelPositionTable<Cells> m_table;
};
