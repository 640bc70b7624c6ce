#include "src/icmd/project/IcmdProjectMessages.h"

#include "imodel/names/ImodelMessageDef.h"

namespace {

constexpr ImodelMessageDef kPROJECT_FILE_DAMAGED_MSG{"PROJECT_FILE_DAMAGED", 690, MdbERROR, MdbLINE,
                                                     "The project file '%s' is damaged: %s."};

constexpr ImodelMessageDef kINVALID_PROJECT_NAME_MSG{
    "INVALID_PROJECT_NAME", 691, MdbERROR, MdbLINE,
    "'%s' cannot be the %s of a project: it must be one folder name, without '/', '\\', '..', a double quote or a "
    "control character."};

}  // namespace

int IcmdDisplayPROJECT_FILE_DAMAGED_MSG(const char* fileName, const char* what)
{
    return ImodelEmitOutput(kPROJECT_FILE_DAMAGED_MSG, {fileName, what});
}

int IcmdDisplayINVALID_PROJECT_NAME_MSG(const char* name, const char* what)
{
    return ImodelEmitOutput(kINVALID_PROJECT_NAME_MSG, {name, what});
}
