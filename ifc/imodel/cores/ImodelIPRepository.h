// The catalogue of IP cores. Its location is the plug-in's, else the
// host's default catalogue location; it is looked for on disk before a
// re-create, and loading it only checks that a plug-in was made.
#pragma once

#include "imodel/cores/ImodelRepository.h"

class ImodelIPRepository : public ImodelRepository {
public:
    ImodelIPRepository();

    bool IsVault() override { return true; }
    std::string GetLocation() const override;
    void CreateNewPlugin(const std::string& name) override;
    bool LoadPlugin() override;
    std::string GetGotFromText() const override;
    void Accept(ImodelRepVisitor& visitor) override;
};
