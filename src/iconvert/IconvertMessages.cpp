#include "src/iconvert/IconvertMessages.h"

#include "imodel/names/ImodelMessageDef.h"
#include "imodel/names/ImodelMessages.h"

int IconvertDisplayMOVED_MSG(const char* label, const char* from, const char* to)
{
    return ImodelEmitOutput(kMOVED_MSG, {label, from, to});
}

int IconvertDisplayFAILED_TO_MOVE_MSG(const char* from, const char* to)
{
    return ImodelEmitOutput(kFAILED_TO_MOVE_MSG, {from, to});
}
