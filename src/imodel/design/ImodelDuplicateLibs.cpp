#include "imodel/design/ImodelDuplicateLibs.h"

#include "src/imodel/design/ImodelModuleNotify.h"

#include <boost/make_shared.hpp>

void ImodelDuplicateLibs(const ImodelDesignManager& design, ImodelDesignManager::Libraries& copies)
{
    const auto [first, last] = design.GetLibraries();
    for (auto library = first; library != last; ++library) {
        if (*library) copies.push_back(boost::make_shared<ImodelDesignManager::Library>(**library));
    }
}

void ImodelDuplicateLibs(ImodelDesignManager::Libraries& copies)
{
    if (const ImodelDesignManager* design = ImodelAliveDesignManager()) ImodelDuplicateLibs(*design, copies);
}
