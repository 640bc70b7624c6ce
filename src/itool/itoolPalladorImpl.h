// The place-and-route tool object. Its constraint-file lists and database
// file lists come with the place-and-route work.
#pragma once

#include "imodel/names/ImodelProcess.h"
#include "itool/ItoolPallador.h"

class itoolPalladorImpl : public ItoolPallador {
public:
    itoolPalladorImpl() = default;

    bool GetToolFileKind(int& kind) override
    {
        kind = 3;
        return true;
    }
    std::string GetToolKey() override { return "PALLADOR"; }
    void GetDefaultExtensions(std::vector<std::string>& extensions) override
    {
        ImodelGetDefStrs("PALLADOR_IMPORT_CONSTRAINT_FILES", extensions);
    }
};
