// A choice option whose values are texts; a choice may stand for a file type
// by the type's keyword.
#pragma once

#include "src/imodel/options/imodelTypeChoiceOptionImpl.h"

#include <string>

class imodelStringChoiceOption : public imodelTypeChoiceOptionImpl<std::string> {
protected:
    // The index of the choice whose value is the keyword of file type
    // `type`; -1 when the type has no keyword or no choice holds it.
    int FindFileTypeIndex(int type) const;
};
