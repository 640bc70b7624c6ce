// Visiting every design unit of the open project once: each unit of each
// of the design manager's libraries.
#pragma once

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

template <class Visit>
void itoolForEachDesignUnit(Visit visit)
{
    const ImodelDesignManager::LibraryRange libraries = Imodel::GetInstance().GetDesignManager()->GetLibraries();
    for (auto library = libraries.first; library != libraries.second; ++library) {
        if (!*library || !(*library)->GetModules()) continue;
        for (ImodelModule* module : *(*library)->GetModules())
            if (module) visit(module);
    }
}
