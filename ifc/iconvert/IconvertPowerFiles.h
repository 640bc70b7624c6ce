// Power-analysis inputs of projects before 8.1: the value-change dumps
// (".vcd") and switching-activity files (".saif") lived with the constraint
// files and now live in the simulation folder.
#pragma once

#include "iconvert/Iconvert.h"

class IconvertPowerFiles : public Iconvert {
public:
    IconvertPowerFiles() : Iconvert(1) {}

    bool PreOpenConvert() override;
};
