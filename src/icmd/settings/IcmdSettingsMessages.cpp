#include "src/icmd/settings/IcmdSettingsMessages.h"

#include "imodel/names/ImodelLineText.h"
#include "imodel/names/ImodelMessageDef.h"
#include "imodel/names/ImodelMessages.h"

namespace {

constexpr ImodelMessageDef kLIBRARY_NOT_IN_PROJECT_MSG{"LIBRARY_NOT_IN_PROJECT", 1021, MdbERROR, MdbLINE,
                                                       "The library '%s' is not in the project."};

}  // namespace

int IcmdDisplayLIBRARY_NOT_IN_PROJECT_MSG(const char* library)
{
    return ImodelEmitOutput(kLIBRARY_NOT_IN_PROJECT_MSG, {library});
}

bool IcmdCheckSingleLine(const std::string& parameter, const std::string& value)
{
    if (ImodelIsOneLine(value)) return true;
    ImodelDisplayINVALID_SIMULATION_PARAM_MSG(parameter.c_str(), "a single line of text");
    return false;
}
