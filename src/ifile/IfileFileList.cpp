// The file lists of the project file: plain lists of file values, and the
// member files of the "FileManager" block with their parent links.
#include "ifile/IfileFunctions.h"

#include "iconvert/Iconvert.h"
#include "imodel/names/ImodelLineText.h"
#include "imodel/names/ImodelProjectFileStructure.h"
#include "src/ifile/IfileFileListLines.h"
#include "src/ifile/IfileObjectModel.h"

#include <foundation/Sys.h>

namespace {

// The files a list holds already: equal files are dropped without
// comparing every pair.
template <class File>
ifileSameFileIndex IndexOf(const std::deque<File>& files)
{
    ifileSameFileIndex index;
    for (std::size_t i = 0; i < files.size(); ++i) index.Add(files[i], static_cast<std::ptrdiff_t>(i));
    return index;
}

// Appends the file unless an equal one is there.
template <class File>
void AppendNew(std::deque<File>& files, ifileSameFileIndex& index, File&& file)
{
    // A name that was refused names no file.
    if (file.GetInternalFileName().empty() || index.Find(files, file) != -1) return;
    index.Add(file, static_cast<std::ptrdiff_t>(files.size()));
    files.push_back(std::move(file));
}

}  // namespace

void IfileWriteFileList(const std::deque<IfileObject>& files, std::ostream* stream, const char* opening,
                        const char* closing)
{
    if (!stream) return;
    const std::string first = opening ? opening : "";
    const std::string last = closing ? closing : "";
    if (!ImodelCheckOneLine(*stream, first, "opening line") || !ImodelCheckOneLine(*stream, last, "closing line"))
        return;
    *stream << first << "\n";
    for (const IfileObject& file : files) file.Write(stream);
    *stream << last << "\n";
}

void IfileReadFileList(const std::vector<std::string>& lines, std::deque<IfileObject>& files,
                       const std::vector<Iconvert*>& converters, bool clearFirst)
{
    if (clearFirst) files.clear();
    ifileSameFileIndex index = IndexOf(files);
    for (const std::string& line : lines) {
        // A blank line names no file.
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        if (!IconvertNewFileManagerFileFileNeedsImport(converters, line)) continue;
        AppendNew(files, index, IfileObject(line, converters));
    }
}

namespace {

bool IsOnDisk(const IfileObject& file)
{
    SysStatInfo status;
    return SysPathStat(file.GetFullFileName().GetString(), &status) == 0;
}

}  // namespace

void IfileReadFileList(const std::vector<std::string>& lines, std::deque<IfileObjectEx>& files,
                       const std::vector<Iconvert*>& converters, bool clearFirst, IfileReplacedMembers* replaced)
{
    if (clearFirst) files.clear();
    ifileSameFileIndex index = IndexOf(files);
    for (auto it = lines.begin(); it != lines.end(); ++it) {
        if (!ifileCanStartFile(*it)) {
            // Left over from a damaged block: no file of its own.
            SysDebugPrintf("Error: Line outside of a file ignored: %s\n", it->c_str());
            continue;
        }
        if (!IconvertNewFileManagerFileFileNeedsImport(converters, *it)) {
            it = ifileLastLineOfBlock(it, lines.end());
            continue;
        }
        IfileObjectEx file(it, lines, converters);
        const std::ptrdiff_t kept = file.GetInternalFileName().empty() ? -1 : index.Find(files, file);
        if (kept == -1) {
            AppendNew(files, index, std::move(file));
            continue;
        }
        // Two names that differ in letter case only (a rename on disk that
        // an older release took for a new file): the one whose file is
        // there is the member, in the first one's place. The disk is asked
        // only for such a pair.
        IfileObjectEx& first = files[static_cast<std::size_t>(kept)];
        if (first.GetInternalFileName().GetString() == file.GetInternalFileName().GetString() || IsOnDisk(first) ||
            !IsOnDisk(file))
            continue;
        if (replaced) replaced->emplace_back(first.GetFullFileName().GetString(), file.GetFullFileName().GetString());
        first = std::move(file);
    }
    IfileRestoreParentFiles(files, converters);
    IfileIgnoreCXFAttrs(files);
}

bool IfileGetFileList(ImodelProjectFileStructure& project, std::deque<IfileObjectEx>& files,
                      const std::vector<Iconvert*>& converters, IfileReplacedMembers* replaced)
{
    const ImodelFileObject_LIST* block = project.PeekLIST("FileManager");
    if (!block) return false;
    IfileReadFileList(block->GetLines(), files, converters, true, replaced);
    return true;
}

void IfileRestoreParentFiles(std::deque<IfileObjectEx>& files, const std::vector<Iconvert*>& converters)
{
    // Where each file stands in the list, the first of equal ones.
    const ifileSameFileIndex index = IndexOf(files);
    for (IfileObjectEx& file : files) {
        for (const ImodelFileName& name : file.GetParentFileStr()) {
            if (name.empty()) continue;
            IfileObject parent(name, zorpaFT_UNKNOWN, ImodelFMInternal, false, true);
            for (Iconvert* converter : converters) converter->ConvertObjectFromProjectFile(parent);
            const std::ptrdiff_t found = index.Find(files, parent);
            if (found == -1) {
                SysDebugPrintf("ERROR: Parent file not found: %s\n", name.c_str());
                continue;
            }
            file.AddParentFile(static_cast<const IfileObject&>(files[static_cast<std::size_t>(found)]));
        }
    }
}
