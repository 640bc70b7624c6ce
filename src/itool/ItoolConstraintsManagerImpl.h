// The constraints manager has no state of its own beyond the registration
// list of the tools.
#pragma once

#include "itool/ItoolConstraintsManager.h"

class ItoolConstraintsManagerImpl : public ItoolConstraintsManager {
public:
    ItoolConstraintsManagerImpl() = default;
    ~ItoolConstraintsManagerImpl() override = default;

    void GetOptionalFilesUsed(std::vector<IprocessFileObject*>& nodes, Entries& files, ImodelModule* module,
                              ImodelRevContextImpl* revision, ImodelFunctionType type) override;
    bool IsOptionalFileUsed(IprocessFileObject* node, ImodelModule* module, ImodelRevContextImpl* revision,
                            ImodelFunctionType type) override;
    void OptionalConstraintFileChanged(const IfileObject& file, IprocessFileObject* node, int kind,
                                       ImodelModule* module) override;
    void UpdateAllToolConstraintFileList(const std::deque<ImodelModule*>* modules) override;
    bool ConstraintCanBeRemoved(const IfileObjectEx& file, ImodelFunctionType type, ImodelModule* module) override;
    void RemoveUnsupportedCstrs(Entries& files, ImodelFunctionType type) override;
};
