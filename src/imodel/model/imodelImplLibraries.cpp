// The project model's save and restore of the design's libraries around a
// change of its units (adding a file to the model parses it again).
#include "src/imodel/model/imodelImpl.h"

#include "imodel/design/ImodelDeletedModuleInfo.h"
#include "imodel/design/ImodelDuplicateLibs.h"
#include "imodel/design/ImodelFindModule.h"
#include "src/imodel/design/ImodelModuleNotify.h"

#include <utility>

namespace {

// Makes the unit of the kept root id the root again when it still exists
// with a file. The command set_root (IcmdDoSetRoot), which would also bring
// the flow and the views along, is not part of the library yet; the model
// restores what it keeps itself: the root id and the units' root flags.
void MakeRootAgain(ImodelDesignManager& design, const VyIfaces::ComponentID& id)
{
    const ImodelDesignManager::LibraryPtr library = design.FindLibraryByName(id.library);
    ImodelModule* module = library ? ImodelFindModuleInLib(library, id.name, zorpaMODULE_UNKNOWN, "") : nullptr;
    if (module == nullptr || !module->GetModuleFile()) return;
    if (ImodelModule* previous = design.GetRootModule(); previous != nullptr && previous != module)
        previous->SetIsRoot(false);
    design.SetRootId(module->GetComponentID());
    module->SetIsRoot(true);
}

}  // namespace

void imodelImpl::SaveLibraries()
{
    if (m_savedLibraries.depth++ > 0) return;
    if (QuorlaneStateMachine* flow = ImodelAliveStateMachine()) flow->DetachModule();
    m_savedLibraries.rootId = m_designManager->GetRootId();
    ImodelDuplicateLibs(*m_designManager, m_savedLibraries.libraries);
}

void imodelImpl::RestoreLibraries(bool byName, const zorpaSaveRestoreParams& params)
{
    // A restore without its save has nothing to put back: the depth stays at 0.
    if (m_savedLibraries.depth == 0 || --m_savedLibraries.depth > 0) return;
    ImodelRestoreLibs(*m_designManager, m_savedLibraries.libraries, byName, params);
    ImodelDestroyLibs(m_savedLibraries.libraries);
    const VyIfaces::ComponentID root = std::exchange(m_savedLibraries.rootId, VyIfaces::ComponentID());
    if (!root.IsDefault()) MakeRootAgain(*m_designManager, root);
}
