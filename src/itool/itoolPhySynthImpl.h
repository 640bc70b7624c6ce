// The physical-synthesis tool object. Its constraint-file lists come with
// the physical-synthesis options of the modules.
#pragma once

#include "imodel/names/ImodelProcess.h"
#include "itool/ItoolPhySynth.h"

class itoolPhySynthImpl : public ItoolPhySynth {
public:
    itoolPhySynthImpl() = default;

    bool GetToolFileKind(int& kind) override
    {
        kind = 2;
        return true;
    }
    std::string GetToolKey() override { return "DAVIRI"; }
    void GetDefaultExtensions(std::vector<std::string>& extensions) override
    {
        ImodelGetDefStrs("PHYSYNTH_CONSTRAINTS_LIST", extensions);
    }
};
