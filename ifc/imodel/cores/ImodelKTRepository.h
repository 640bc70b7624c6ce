// The catalogue of the core generator's cores. Its location is the
// plug-in's, else the options variable "KILTORACORE_CATALOG_LOC"; the
// location "mockup" stands for built-in sample cores.
#pragma once

#include "imodel/cores/ImodelRepository.h"

class ImodelKTRepository : public ImodelRepository {
public:
    ImodelKTRepository();

    std::string GetLocation() const override;
    void CreateNewPlugin(const std::string& name) override;
    std::string GetGotFromText() const override;
    void Accept(ImodelRepVisitor& visitor) override;
};
