// A flow tool as a step that leaves a result: its tool kind, the name of
// the tool that serves it in the host's profiles, and the type of file it
// makes.
#pragma once

#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelToolKinds.h"

#include <string>

class Itool {
public:
    virtual ~Itool() = default;

    virtual ImodelFunctionType GetToolType() = 0;
    // The tool name of the host's profile of the kind; "" without one.
    virtual std::string GetProfileToolName() = 0;
    virtual zorpaFileManagerTypes GetResultFileType() = 0;

protected:
    Itool() = default;
    Itool(const Itool&) = default;
    Itool& operator=(const Itool&) = default;
};
