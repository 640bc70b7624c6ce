// Text-valued choice options.
#include "imodelStringChoiceOption.h"

#include "imodel/ImodelFileTypes.h"

int imodelStringChoiceOption::FindFileTypeIndex(int type) const
{
    if (type < 0 || type >= imodelFileManagerTypesCount) return -1;
    return FindValueIndex(imodelFileManagerTypesArray[type].keyword);
}
