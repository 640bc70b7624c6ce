// A design unit made only to compare or search with: the key of a set
// search, the key of the root while units are deleted, the probe of a
// package search. It is destroyed while the model knows it is a temporary
// unit (ImodelModule::IsRemovingTempModule), so that its end touches
// nothing of the model.
#pragma once

#include "imodel/design/ImodelModule.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"

#include <memory>
#include <string>

class imodelTempUnit {
public:
    imodelTempUnit(const std::string& name, boost::shared_ptr<IfileObjectEx> file, zorpaModuleTypes kind,
                   bool isPackage, const std::string& library, const std::string& package)
        : m_unit(std::make_unique<ImodelModule>(name, file, kind, isPackage, library, package, false))
    {
    }
    ~imodelTempUnit()
    {
        ImodelSetAndRestoreModelFlagObject removing(ImodelModule::IsRemovingTempModule(), true);
        m_unit.reset();
    }
    imodelTempUnit(const imodelTempUnit&) = delete;
    imodelTempUnit& operator=(const imodelTempUnit&) = delete;

    ImodelModule* get() const { return m_unit.get(); }

private:
    std::unique_ptr<ImodelModule> m_unit;
};
