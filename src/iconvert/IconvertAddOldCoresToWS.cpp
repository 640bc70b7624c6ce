#include "iconvert/IconvertAddOldCoresToWS.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/names/ImodelProjectFileStructure.h"
#include "imodel/names/imodelUtl.h"
#include "itool/ItoolVeyrun.h"

#include <foundation/Sys.h>

void IconvertAddOldCoresToWS::FoundNewProjectFile(ImodelFileName& name, std::string& keyword)
{
    if (keyword == "arm" || keyword == "block_cxf") m_foundFiles.emplace_back(keyword, name);
}

void IconvertAddOldCoresToWS::ConvertObjectFromProjectFile(IfileObject& file)
{
    for (const auto& [from, to] : m_folderPairs) {
        if (!file.IsInFolder(from)) continue;
        std::string folder = from.GetString();
        ImodelSetValidSeparator(folder, true);
        std::string full = file.GetFullFileName();
        ImodelSetValidSeparator(full, false);
        file.SetFileName(ImodelFileName(to.GetString() + full.substr(folder.size())), ImodelFMFull, true);
        return;
    }
}

void IconvertAddOldCoresToWS::ConvertWorkspace(ImodelProjectFileStructure& project)
{
    // A converter of its own collects the cores while the member files are
    // read once more; the list that the open reads stays untouched.
    IconvertAddOldCoresToWS collector;
    std::vector<std::string> lines;
    if (project.GetLIST(lines, "FileManager", false)) {
        std::deque<IfileObjectEx> files;
        IfileReadFileList(lines, files, {&collector}, true);
    }
    ItoolVeyrun* tool = ItoolVeyrun::GetInstance();
    if (!tool) return;
    for (const auto& [keyword, name] : collector.GetFoundFiles()) {
        const IfileObject core(name, tool->GetCoreType(), ImodelFMInternal, true, false);
        if (keyword != "block_cxf" && !(keyword == "arm" && ImodelIsSameStrNoCase(core.GetExt(), "qvp"))) continue;
        ImodelFileName imported;
        if (!tool->ImportCore(core, imported)) {
            SysDebugPrintf("Failed to add %s into WS\n", core.GetFullFileName().c_str());
        } else if (!imported.empty() && imported != core.GetFullFileName()) {
            const IfileObject moved(imported, tool->GetCoreType(), ImodelFMFull, true, false);
            m_folderPairs.emplace_back(core.GetFileLocation(), moved.GetFileLocation());
        }
        m_convertedFiles.emplace_back(keyword, name);
    }
}
