// Whether the flow step of a tool kind is hidden in the project: a hidden
// step takes no part in the flow, and the core tool of a hidden kind is
// left alone.
#pragma once

#include "imodel/names/ImodelToolKinds.h"

class Imodel;

// The core configurator while the model does not integrate it, the
// constraints editor where it is not supported, EDIF generation while
// IDE_GENERATE_EDIF reads 1 and the packager while it is disabled; every
// other kind never. Each call reads the settings afresh.
bool IprocessIsToolHidden(ImodelFunctionType kind, Imodel& model);
