#include "src/icmd/settings/IcmdSettingsMessages.h"

#include "imodel/names/ImodelLineText.h"
#include "imodel/names/ImodelMessages.h"

bool IcmdCheckSingleLine(const std::string& parameter, const std::string& value)
{
    if (ImodelIsOneLine(value)) return true;
    ImodelDisplayINVALID_SIMULATION_PARAM_MSG(parameter.c_str(), ImodelOneLineRule);
    return false;
}
