// VHDL packages of projects before 7.2 that kept them in a "package"
// folder of their own: with mixed HDL enabled packages live with the other
// HDL files, so every ".vhd" file of that folder moves into the HDL folder.
#pragma once

#include "iconvert/Iconvert.h"

class IconvertPackages : public Iconvert {
public:
    IconvertPackages() : Iconvert(1) {}

    bool PreOpenConvert() override;
    // Removes the old "package" folder once every move succeeded and it is
    // empty; anything left in it stays.
    bool PostOpenConvert() override;
};
