// The converters move files between the project's type folders.
#pragma once

#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/imodelUtl.h"

// The project folder of files of `type`, with a closing separator.
inline ImodelFileName IconvertFolderOfType(int type)
{
    ImodelFileName folder;
    ImodelGetFullPathForFile(type, folder);
    ImodelSetValidSeparator(folder, true);
    return folder;
}
