// A unit's data as a restore gives it back (ImodelModule::DuplicateModuleInfo),
// kept apart from any unit. The members carry the unit's own names, so that
// one copy serves a unit and this record alike.
#pragma once

#include "imodel/design/ImodelModule.h"
#include "imodel/views/ImodelContextImpl.h"

struct ImodelModule::Restorable {
    int m_expand = -1;
    bool m_isRoot = false;
    ImodelLazyList<FileList> m_stimulusFiles;
    ImodelAssociationList m_associatedFiles;
    ImodelSynthesisConstraintList m_synthesisConstraintFiles;
    ImodelLazyList<FileList> m_simulationPackagesToIgnore;
    ImodelLazyList<FileList> m_synthesisPackagesToIgnore;
    ImodelAssociationList m_cdbOrder;
    ImodelLazyList<std::vector<typeUserFileList>, ImodelCustomizedListWatch> m_customizedLists;
    ImodelLazyList<std::vector<VyIfaces::ComponentID>> m_simulationModulesToInclude;
    // Belongs to no unit: nothing reaches a unit through it.
    std::unique_ptr<ImodelContextImpl> m_context;
    ImodelUnitPhySynthesisOptions m_phySynthOptions;
    ImodelLazy<std::string> m_vsimParams;
    ImodelLazy<std::optional<SysStatInfo>> m_timeStamp;
};
