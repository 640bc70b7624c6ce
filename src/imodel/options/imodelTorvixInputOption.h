// The file that the programming tool takes: the STAPL file ("stp") or the
// PDB file ("pdb"). Key "TorvixInputFile". The default comes from the options
// variable "IDE_TORVIX_INPUT_DEFAULT" (the PDB file when it is unset); a new
// object selects the STAPL file until its owner calls SetDefault.
#pragma once

#include "src/imodel/options/imodelStringChoiceOption.h"

#include <string>

class imodelTorvixInputOption : public imodelStringChoiceOption {
public:
    imodelTorvixInputOption();

    std::string GetKey() override;
    std::string FromString(const std::string& text) override;
    std::string ToString(const std::string& value) override;
    std::string GetNoValue() override;

    // The index of the PDB choice.
    int GetPDBIndex() const;
};
