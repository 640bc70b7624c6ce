#include "src/iconvert/IconvertMessages.h"

#include "imodel/names/ImodelMessageDef.h"

namespace {

constexpr ImodelMessageDef kFAILED_TO_MOVE_MSG{
    "FAILED_TO_MOVE", 800, MdbERROR, MdbLINE,
    "Unable to move the file '%s' to '%s'. You may need to re-import the file."};
constexpr ImodelMessageDef kMOVED_MSG{"MOVED", 801, MdbNOTICE, MdbLINE, "Moved %s: \"%s\" to \"%s\"."};

}  // namespace

int IconvertDisplayMOVED_MSG(const char* label, const char* from, const char* to)
{
    return ImodelEmitOutput(kMOVED_MSG, {label, from, to});
}

int IconvertDisplayFAILED_TO_MOVE_MSG(const char* from, const char* to)
{
    return ImodelEmitOutput(kFAILED_TO_MOVE_MSG, {from, to});
}
