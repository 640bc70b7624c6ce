#include "src/imodel/views/imodelFileNameIndex.h"

#include "imodel/names/imodelUtl.h"

std::string imodelFileNameKey(const IfileObject& file)
{
    const std::string& name = file.GetInternalFileName().GetString();
    std::string key = name.substr(name.find_last_of("/\\") + 1);
    ImodelMakeUpper(key);
    return key;
}
