// The synthesis tool object. Its constraint-file lists and the reading of
// synthesis results come with the synthesis work.
#pragma once

#include "imodel/names/ImodelProcess.h"
#include "itool/ItoolSynthesis.h"

class itoolSynthesisImpl : public ItoolSynthesis {
public:
    itoolSynthesisImpl() = default;

    // Synthesis keeps no list kind of its own.
    bool GetToolFileKind(int&) override { return false; }
    std::string GetToolKey() override { return "SYNTHESIS"; }
    void GetDefaultExtensions(std::vector<std::string>& extensions) override
    {
        ImodelGetDefStrs("SYNTHESIS_CONSTRAINTS_LIST", extensions);
    }
};
