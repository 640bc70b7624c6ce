#include "src/icmd/project/IcmdSaveAsMessages.h"

#include "imodel/names/ImodelMessageDef.h"

namespace {

constexpr ImodelMessageDef kSAVE_AS_NO_COPY_MSG{
    "SAVE_AS_NO_COPY", 710, MdbERROR, MdbLINE,
    "Unable to copy the project to '%s': there is no host application to copy its folder."};
constexpr ImodelMessageDef kSAVE_AS_INSIDE_PROJECT_MSG{
    "SAVE_AS_INSIDE_PROJECT", 711, MdbERROR, MdbLINE,
    "The project cannot be saved as '%s': that folder lies inside the project folder '%s'."};
constexpr ImodelMessageDef kSAVE_AS_LINKS_NOT_REPLACED_MSG{
    "SAVE_AS_LINKS_NOT_REPLACED", 712, MdbERROR, MdbLINE,
    "The %d linked files of the project cannot be replaced by local copies: the unlink command is not available."};

}  // namespace

int IcmdDisplaySAVE_AS_NO_COPY_MSG(const char* folder) { return ImodelEmitOutput(kSAVE_AS_NO_COPY_MSG, {folder}); }

int IcmdDisplaySAVE_AS_INSIDE_PROJECT_MSG(const char* folder, const char* project)
{
    return ImodelEmitOutput(kSAVE_AS_INSIDE_PROJECT_MSG, {folder, project});
}

int IcmdDisplaySAVE_AS_LINKS_NOT_REPLACED_MSG(int links)
{
    return ImodelEmitOutput(kSAVE_AS_LINKS_NOT_REPLACED_MSG, {links});
}
