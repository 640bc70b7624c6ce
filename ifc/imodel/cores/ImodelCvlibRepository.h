// The cells of the device maker's cell library, the Verilog library named
// by the options variable "VERILOGLIB", without the supply cells. It has no
// plug-in and needs no host: the library's modules are read directly.
#pragma once

#include "imodel/cores/ImodelRepository.h"

#include <string>
#include <utility>
#include <vector>

class ImodelCvlibRepository : public ImodelRepository {
public:
    using CellList = std::vector<std::string>;

    ImodelCvlibRepository();

    // Always "cvlib".
    std::string GetLocation() const override;
    void CreateNewPlugin(const std::string& name) override;
    // Drops the cell list; the state becomes "not loaded yet".
    void RemovePlugin() override;
    // Lists the cells afresh: "loaded" when the library was read, "unreadable"
    // (and no cells) when "VERILOGLIB" is unset or names nothing readable.
    // Announces readiness either way; always true.
    bool LoadPlugin() override;
    std::string GetGotFromText() const override;
    void Accept(ImodelRepVisitor& visitor) override;

    // The cell names in load order; valid until the list changes.
    std::pair<CellList::const_iterator, CellList::const_iterator> GetBrennicCells() const;

private:
    CellList m_cells;
};
