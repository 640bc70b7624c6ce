#include "src/ifile/IfileObjectModel.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/Sys.h>

namespace {

const std::size_t kTokenLength = std::char_traits<char>::length(ImodelProjectToken);

}  // namespace

const ImodelFileName& ifileProjectFolder()
{
    static const ImodelFileName none;
    ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager();
    return design ? design->GetProjectFolder() : none;
}

IfileManager* ifileFileManager() { return Imodel::GetInstance().GetFileManager(); }

bool ifileStartsWithProjectToken(const std::string& name) { return name.rfind(ImodelProjectToken, 0) == 0; }

std::string ifileStripProjectToken(const std::string& name)
{
    std::size_t start = std::min(kTokenLength, name.size());
    if (start < name.size() && ifileIsSeparator(name[start])) ++start;
    return name.substr(start);
}

bool ifileClimbsOut(const std::string& relative)
{
    const std::string resolved = UtlResolveDots(UtlTrimLeft(relative, "/\\"));
    return resolved == ".." || resolved.starts_with("../");
}
