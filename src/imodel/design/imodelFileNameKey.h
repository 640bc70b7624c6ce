// The key of the model's file-name comparison (ImodelIsSameFileName): two
// names that it finds equal have the same key when the same project folder
// expands "<project>" on both. Given an empty folder, "<project>" is kept
// as it stands, which makes the key independent of where the project lies.
//
// It follows the rules of ImodelIsSameFileName here, as the names component
// has no key function of its own to export yet; this is the one place in
// the design units that states them, to be replaced by that function.
#pragma once

#include "imodel/names/imodelUtl.h"

#include <string>

inline std::string imodelFileNameKey(const std::string& name, const std::string& projectFolder)
{
    std::string key = name;
    if (!projectFolder.empty() && key.rfind(ImodelProjectToken, 0) == 0)
        key.replace(0, std::char_traits<char>::length(ImodelProjectToken), projectFolder);
    ImodelSetValidSeparator(key, false);
    ImodelMakeUpper(key);
    return key;
}
