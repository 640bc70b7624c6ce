// Free functions over file values: storable names, HDL languages of lists
// and the converters' veto.
#include "ifile/IfileFunctions.h"

#include "iconvert/Iconvert.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelLineText.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"

#include <algorithm>
#include <string_view>

bool IfileIsStorableName(const std::string& name)
{
    // "<project>" stands for the project folder at the start of a name only:
    // found further on, the name would be taken for one in the project.
    return ImodelIsQuotable(name) && name.find(ImodelProjectToken, 1) == std::string::npos;
}

bool IfileRefuseName(const std::string& name, const char* what)
{
    ImodelHost* host = Imodel::GetInstance().GetHost();
    ImodelDisplayINVALID_NAME_CHAR_QRY(host ? host->GetParentWindow() : nullptr, MdbOK, name.c_str(), what);
    return false;
}

bool IfileCheckStorableName(const std::string& name, const char* what)
{
    return IfileIsStorableName(name) || IfileRefuseName(name, what);
}

bool IfileIsStorableLibraryName(const std::string& name)
{
    const std::string_view text(name);
    return ImodelIsOneLine(text) && !text.starts_with("LIST ") && !text.starts_with("ENDLIST") &&
           !text.starts_with("KEY ") && !text.starts_with("VALUE \"");
}

bool IfileIsMixedHDLList(const std::deque<IfileObject>& files)
{
    bool seen = false;
    bool firstIsVHDL = false;
    for (const IfileObject& file : files) {
        bool isVHDL = false;
        if (!file.IsFileHDL(isVHDL)) continue;
        if (seen && isVHDL != firstIsVHDL) return true;
        seen = true;
        firstIsVHDL = isVHDL;
    }
    return false;
}

bool IfileGetListHDLType(const std::deque<IfileObject>& files, bool first)
{
    ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager();
    const bool projectIsVHDL = design && design->IsDefaultVHDL();
    bool firstIsVHDL = projectIsVHDL;
    bool lastIsVHDL = projectIsVHDL;
    bool found = false;
    for (const IfileObject& file : files) {
        bool isVHDL = false;
        if (!file.IsFileHDL(isVHDL)) continue;
        if (!found) firstIsVHDL = isVHDL;
        found = true;
        lastIsVHDL = isVHDL;
    }
    return first ? firstIsVHDL : lastIsVHDL;
}

bool IconvertNewFileManagerFileFileNeedsImport(const std::vector<Iconvert*>& converters, const std::string& line)
{
    return std::all_of(converters.begin(), converters.end(),
                       [&](Iconvert* converter) { return converter->FileNeedsImport(line); });
}
