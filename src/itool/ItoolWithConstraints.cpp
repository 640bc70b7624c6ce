#include "itool/ItoolWithConstraints.h"

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

void ItoolWithConstraints::GetUsedConstraintFiles(std::vector<boost::shared_ptr<IfileObjectEx>>& out,
                                                  const boost::shared_ptr<IfileObjectEx>&, ImodelModule*,
                                                  ImodelRevContextImpl*, const std::string*)
{
    out.clear();
}

void ItoolWithConstraints::GetConstraintFiles(std::vector<boost::shared_ptr<IfileObjectEx>>& out, ImodelModule*,
                                              ImodelRevContextImpl*)
{
    out.clear();
}

void ItoolWithConstraints::ConstraintFileChanged(ImodelModule*, const boost::shared_ptr<IfileObjectEx>&,
                                                 IprocessFileObject*, IprocessToolObject*)
{
}
