// File values of the names the tool objects are given, whatever their form.
#pragma once

#include "ifile/IfileObject.h"
#include "imodel/names/ImodelFileName.h"
#include "imodel/names/imodelUtl.h"

// A name with "<project>" is taken as stored, an absolute one as a full
// path, any other as relative to the project folder.
inline IfileObject itoolFileOf(const ImodelFileName& name, zorpaFileManagerTypes type)
{
    const std::string& text = name.GetString();
    const ImodelFMStringFileType form = text.rfind(ImodelProjectToken, 0) == 0                 ? ImodelFMInternal
                                        : !text.empty() && (text[0] == '/' || text[0] == '\\') ? ImodelFMFull
                                                                                               : ImodelFMRelative;
    return IfileObject(name, type, form, true, true);
}
