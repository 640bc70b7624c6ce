// Text-valued choice options.
#include "src/imodel/options/imodelStringChoiceOption.h"

#include "imodel/names/ImodelFileTypes.h"

int imodelStringChoiceOption::FindFileTypeIndex(int type) const
{
    if (type < 0 || type >= imodelFileManagerTypesCount) return -1;
    return FindValueIndex(imodelFileManagerTypesArray[type].keyword);
}
