#include "itool/ItoolWithConstraints.h"

#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/names/imodelUtl.h"
#include "itool/ItoolConstraintsManager.h"

#include <foundation/Def.h>

#include <algorithm>

ItoolWithConstraints::ItoolWithConstraints(ImodelFunctionType type) : m_type(type)
{
    ItoolConstraintsManager::Registrations().push_back(this);
}

ItoolWithConstraints::~ItoolWithConstraints()
{
    std::vector<ItoolWithConstraints*>& tools = ItoolConstraintsManager::Registrations();
    auto found = std::find(tools.begin(), tools.end(), this);
    if (found != tools.end()) tools.erase(found);
}

bool ItoolWithConstraints::PassConstraintFilesToParentModules(const std::string& fileType)
{
    std::string upperType = fileType;
    ImodelMakeUpper(upperType);
    DefOverRideGuard toolGuard("QTOOL_TYPE", GetToolKey());
    DefOverRideGuard fileGuard("QFILE_TYPE", upperType);
    int value = 0;
    if (DefGetBoolFL("IDE_PASS_CONSTRAINT_FILES_TO_PARENT_MODULES", &value, __FILE__, __LINE__) != 0) return true;
    return value == 1;
}

void ItoolWithConstraints::GetUsedConstraintFiles(Entries& out, const Entry& file, ImodelModule* module,
                                                  ImodelRevContextImpl* revision, const std::string*)
{
    out.clear();
    Entries listed;
    GetConstraintFileListEx(file, listed, module, revision, false);
    for (const Entry& entry : listed) {
        // The caller compares entries: only the project's own will do.
        Entry known = entry ? IfileManagerGetRealObject(*entry, false) : Entry();
        if (known && std::find(out.begin(), out.end(), known) == out.end()) out.push_back(known);
    }
}

bool ItoolWithConstraints::GetUnitsNamingConstraintFile(const IfileObject&, std::vector<ImodelModule*>&)
{
    return false;
}

void ItoolWithConstraints::GetConstraintFiles(Entries& out, ImodelModule* module, ImodelRevContextImpl* revision)
{
    out.clear();
    GetConstraintFileList(out, module, revision);
}

bool ItoolWithConstraints::SetConstraintFiles(const Entries& files, const ImodelOptionalFiles&, ImodelModule* module,
                                              ImodelRevContextImpl* revision)
{
    return SetConstraintFileList(files, module, revision);
}
