#include "src/itool/itoolPalladorImpl.h"
#include "src/itool/itoolPhySynthImpl.h"
#include "src/itool/itoolSynthesisImpl.h"

std::unique_ptr<ItoolPallador> ItoolCreatePallador() { return std::make_unique<itoolPalladorImpl>(); }
std::unique_ptr<ItoolPhySynth> ItoolCreatePhySynth() { return std::make_unique<itoolPhySynthImpl>(); }
std::unique_ptr<ItoolSynthesis> ItoolCreateSynthesis() { return std::make_unique<itoolSynthesisImpl>(); }
