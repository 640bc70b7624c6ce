#include "imodel/model/ImodelFlowServices.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelContextImpl.h"
#include "iprocess/IprocessConditions.h"
#include "itimer/ItimerManager.h"

#include <sstream>

namespace {

// The folder a word of the lists stands for.
std::string FolderOfWord(const std::string& word)
{
    static const std::pair<const char*, const char*> variables[] = {
        {"IDE_COMPONENT_FOLDER", "component"},    {"IDE_KILTORA_FOLDER", "kiltora"},
        {"IDE_DREMMET_FOLDER", "dremmet"},        {"IDE_HDL_FOLDER", "hdl"},
        {"IDE_CONSTRAINTS_FOLDER", "constraint"},
    };
    for (const auto& [variable, folder] : variables)
        if (word == variable) return folder;
    return word;
}

// The folder is `listed` or lies below it: a folder "hdl" does not hold
// the files of "hdlx".
bool IsSameOrBelow(const std::string& folder, std::string listed)
{
    while (!listed.empty() && (listed.back() == '/' || listed.back() == '\\')) listed.pop_back();
    if (listed.empty() || folder.size() < listed.size()) return false;
    if (!ImodelIsSameFileName(folder.substr(0, listed.size()), listed)) return false;
    return folder.size() == listed.size() || folder[listed.size()] == '/' || folder[listed.size()] == '\\';
}

// The folders an option lists; false when it lists none.
bool ListedFolders(const char* variable, std::string& value)
{
    return ImodelDefGetStr(variable, value) && value.find_first_not_of(" \t") != std::string::npos;
}

bool IsFolderListed(const IfileObjectEx& file, const char* variable)
{
    // The option first: it mostly lists nothing.
    std::string value;
    if (!ListedFolders(variable, value)) return false;
    ImodelFileName folder;
    if (!file.GetRelativeFolder(folder)) return false;
    std::istringstream words(value);
    std::string word;
    while (words >> word)
        if (IsSameOrBelow(folder, FolderOfWord(word))) return true;
    return false;
}

}  // namespace

void ImodelGetStateString(imodelSolvatoState state, std::string& out, ImodelModule* module)
{
    ImodelRevContext* context = module ? module->GetContext() : nullptr;
    switch (state) {
    case Pre_Synthesis:
        out = IprocessHideSynthesisTool(module, context) ? "Pre-Layout" : "Pre-Synthesis";
        break;
    case Post_Synthesis:
        out = IprocessIsEDIFFlow(module, context) ? "Pre-Layout" : "Post-Synthesis";
        break;
    case Post_Phy_Synthesis:
        out = "Post-Physical Synthesis";
        break;
    case Post_Layout:
        out = "Post-Layout";
        break;
    default:
        out.clear();
        break;
    }
}

bool ImodelNotifyChangeToWS(const IfileObjectEx& file)
{
    return IsFolderListed(file, "IDE_NOTIFY_WS_FILECHANGED_FROM");
}

bool ImodelNotifiesChangesToWS()
{
    std::string value;
    return ListedFolders("IDE_NOTIFY_WS_FILECHANGED_FROM", value);
}

bool ImodelTrackCXFChange(const IfileObjectEx& file) { return !IsFolderListed(file, "IDE_IGNORE_CXF_CHANGES_FROM"); }

void ImodelScanFilesOfGroup(int group)
{
    if (ItimerManager* watcher = Imodel::GetInstance().GetTimerManager()) watcher->ScanGlobalType(group);
}
