#include "iconvert/IconvertOmbrix.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelProjectFileStructure.h"
#include "imodel/names/imodelUtl.h"
#include "src/iconvert/IconvertFolders.h"

#include <foundation/Sys.h>

#include <unordered_map>

namespace {

std::string UpperTitle(const IfileObject& file)
{
    std::string title = file.GetFileTitleAndExt();
    ImodelMakeUpper(title);
    return title;
}

// The file named by a project-file line: the text before its last comma
// (all of it without one), in its stored form.
IfileObject FileOfLine(const std::string& line)
{
    const std::size_t comma = line.rfind(',');
    const std::string name = comma == std::string::npos ? line : line.substr(0, comma);
    return IfileObject(ImodelFileName(name), zorpaFT_UNKNOWN, ImodelFMInternal, true, false);
}

}  // namespace

bool IconvertOmbrix::IsReplaced(const IfileObject& file) const { return m_replacedKeys.count(SameFileKey(file)) != 0; }

bool IconvertOmbrix::FileNeedsImport(const ImodelFileName& name, int)
{
    return !IsReplaced(IfileObject(name, zorpaFT_UNKNOWN, ImodelFMInternal, true, false));
}

bool IconvertOmbrix::FileNeedsImport(const std::string& line)
{
    const IfileObject file = FileOfLine(line);
    ImodelFileName folder;
    const bool inCoreFolder = file.GetRelativeFolder(folder) && ImodelIsSameFileName(folder, "ombrix");
    if (!inCoreFolder && !IsReplaced(file)) return true;
    AddSkippedFile(file);
    return false;
}

bool IconvertOmbrix::OldFileGroupNeedsImport(const std::string& group, int, ImodelProjectFileStructure& project)
{
    if (group != "GENFiles") return true;
    std::vector<std::string> lines;
    project.GetLIST(lines, group.c_str(), false);
    for (const std::string& line : lines) {
        const IfileObject named(ImodelFileName(line), zorpaFT_GEN, ImodelFMInternal, true, false);
        ImodelFileName full;
        ImodelGetFullPathForFile(named.GetFileTitleAndExt(), zorpaFT_GROUP_OMBRIX, full);
        AddSkippedFile(IfileObject(full, zorpaFT_GEN, ImodelFMFull, true, true));
    }
    return false;
}

bool IconvertOmbrix::PreOpenConvert()
{
    if (!Imodel::GetInstance().GetHost()) return true;
    std::deque<IfileObjectEx> hdl;
    std::deque<IfileObjectEx> generated;
    GetFolder(hdl, IconvertFolderOfType(zorpaFT_HDL), zorpaFT_HDL, "v*");
    GetFolder(generated, IconvertFolderOfType(zorpaFT_GROUP_OMBRIX), zorpaFT_GEN, "v*");
    std::unordered_map<std::string, const IfileObjectEx*> byTitle;
    for (const IfileObjectEx& file : generated) byTitle.emplace(UpperTitle(file), &file);
    Meter(m_start);
    const unsigned int range = m_end > m_start ? m_end - m_start : 0;
    for (std::size_t i = 0; i < hdl.size(); ++i) {
        const IfileObjectEx& kept = hdl[i];
        Meter(m_start + static_cast<unsigned int>(range * i / hdl.size()));
        const auto found = byTitle.find(UpperTitle(kept));
        if (found == byTitle.end()) continue;
        const std::string from = kept.GetFullFileName();
        const std::string to = found->second->GetFullFileName();
        // Only a copy that took place replaces the generated file; the HDL
        // copy is then the same file twice and stays out of the project.
        if (SysCopy(from, to) != 0) {
            SysDebugPrintf("Kiltora convert: Failed to copy %s\n", from.c_str());
            continue;
        }
        if (UtlDoesFileExist(to) && m_replacedKeys.insert(SameFileKey(kept)).second) m_replacedFiles.push_back(kept);
    }
    Meter(m_end);
    AddSkippedFiles(m_replacedFiles);
    return true;
}
