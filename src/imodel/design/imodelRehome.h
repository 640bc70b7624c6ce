// Handing the users of one design unit over to another.
#pragma once

#include "imodel/design/ImodelModule.h"

// Every parent of `from` uses `to` in its place, instance for instance, and
// signals the change; `from` is left without parents.
inline void imodelRehome(ImodelModule* from, ImodelModule* to)
{
    if (from == nullptr || to == nullptr || from == to || from->GetParentsList() == nullptr) return;
    const ImodelModule::ModuleList parents = from->GetParentsList()->ToList();
    for (ImodelModule* parent : parents) {
        const int instances = parent->DetachSubBlock(from);
        for (int i = 0; i < instances; ++i) parent->AddSubBlock(to, true);
    }
}
