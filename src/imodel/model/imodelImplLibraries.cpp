// The project model's save and restore of the design's libraries around a
// change of its units (adding a file to the model parses it again).
#include "src/imodel/model/imodelImpl.h"

#include "imodel/design/ImodelDeletedModuleInfo.h"
#include "imodel/design/ImodelDuplicateLibs.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/model/ImodelCommandServices.h"
#include "src/imodel/design/ImodelModuleNotify.h"

#include <utility>

namespace {

// The unit of the kept root id when it still exists with a file.
ImodelModule* KeptRoot(ImodelDesignManager& design, const VyIfaces::ComponentID& id)
{
    const ImodelDesignManager::LibraryPtr library = design.FindLibraryByName(id.library);
    ImodelModule* module = library ? ImodelFindModuleInLib(library, id.name, zorpaMODULE_UNKNOWN, "") : nullptr;
    return module != nullptr && module->GetModuleFile() ? module : nullptr;
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
    ImodelModule* module = root.IsDefault() ? nullptr : KeptRoot(*m_designManager, root);
    if (module == nullptr) return;
    // set_root brings the flow and the views along; it works on the
    // process-wide model. The wizard's model has neither: it takes the id.
    ImodelCommandServices* commands = ImodelCommandServices::Get();
    if (this == &GetInstance() && commands != nullptr) {
        commands->SetRoot(module);
        return;
    }
    m_designManager->SetRootId(module->GetComponentID());
}
