#include "src/icmd/project/IcmdProjectMessages.h"

#include "imodel/names/ImodelMessageDef.h"

namespace {

constexpr ImodelMessageDef kPROJECT_FILE_DAMAGED_MSG{"PROJECT_FILE_DAMAGED", 690, MdbERROR, MdbLINE,
                                                     "The project file '%s' is damaged: %s."};

}  // namespace

int IcmdDisplayPROJECT_FILE_DAMAGED_MSG(const char* fileName, const char* what)
{
    return ImodelEmitOutput(kPROJECT_FILE_DAMAGED_MSG, {fileName, what});
}
