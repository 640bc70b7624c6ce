// The programming tool's input file choice.
#include "src/imodel/options/imodelTorvixInputOption.h"

#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelFileTypes.h"

imodelTorvixInputOption::imodelTorvixInputOption()
{
    AddChoice("Use STAPL file", imodelFileManagerTypesArray[zorpaFT_STP].keyword);
    AddChoice("Use PDB file", imodelFileManagerTypesArray[zorpaFT_PDB].keyword);
    SetCurrentIndex(0);
    std::string configured;
    SetDefaultIndex(ImodelDefGetStr("IDE_TORVIX_INPUT_DEFAULT", configured) ? FindValueIndex(configured)
                                                                            : GetPDBIndex());
}

std::string imodelTorvixInputOption::GetKey() { return "TorvixInputFile"; }

std::string imodelTorvixInputOption::FromString(const std::string& text) { return text; }

std::string imodelTorvixInputOption::ToString(const std::string& value) { return value; }

std::string imodelTorvixInputOption::GetNoValue() { return std::string(); }

int imodelTorvixInputOption::GetPDBIndex() const { return FindFileTypeIndex(zorpaFT_PDB); }
