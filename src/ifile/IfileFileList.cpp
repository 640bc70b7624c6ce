// The file lists of the project file: plain lists of file values, and the
// member files of the "FileManager" block with their parent links.
#include "ifile/IfileFunctions.h"

#include "iconvert/Iconvert.h"
#include "imodel/names/ImodelLineText.h"
#include "src/ifile/IfileFileListLines.h"
#include "src/ifile/IfileObjectModel.h"

#include <foundation/Sys.h>

#include <unordered_map>
#include <unordered_set>

namespace {

// The keys of the files a list holds already: equal files are dropped
// without comparing every pair.
template <class File>
std::unordered_set<std::string> KeysOf(const std::deque<File>& files)
{
    std::unordered_set<std::string> keys;
    for (const File& file : files) keys.insert(ifileSameFileKey(file));
    return keys;
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
    std::unordered_set<std::string> keys = KeysOf(files);
    for (const std::string& line : lines) {
        // A blank line names no file.
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        if (!IconvertNewFileManagerFileFileNeedsImport(converters, line)) continue;
        IfileObject file(line, converters);
        // A name that was refused names no file.
        if (!file.GetInternalFileName().empty() && keys.insert(ifileSameFileKey(file)).second) files.push_back(file);
    }
}

void IfileReadFileList(const std::vector<std::string>& lines, std::deque<IfileObjectEx>& files,
                       const std::vector<Iconvert*>& converters, bool clearFirst)
{
    if (clearFirst) files.clear();
    std::unordered_set<std::string> keys = KeysOf(files);
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
        if (!file.GetInternalFileName().empty() && keys.insert(ifileSameFileKey(file)).second)
            files.push_back(std::move(file));
    }
    IfileRestoreParentFiles(files, converters);
}

void IfileRestoreParentFiles(std::deque<IfileObjectEx>& files, const std::vector<Iconvert*>& converters)
{
    // Where each file stands in the list, the first of equal ones.
    std::unordered_map<std::string, std::size_t> positions;
    for (std::size_t i = 0; i < files.size(); ++i) positions.emplace(ifileSameFileKey(files[i]), i);
    for (IfileObjectEx& file : files) {
        for (const ImodelFileName& name : file.GetParentFileStr()) {
            if (name.empty()) continue;
            IfileObject parent(name, zorpaFT_UNKNOWN, ImodelFMInternal, false, true);
            for (Iconvert* converter : converters) converter->ConvertObjectFromProjectFile(parent);
            const auto found = positions.find(ifileSameFileKey(parent));
            if (found == positions.end()) {
                SysDebugPrintf("ERROR: Parent file not found: %s\n", name.c_str());
                continue;
            }
            file.AddParentFile(static_cast<const IfileObject&>(files[found->second]));
        }
    }
}
