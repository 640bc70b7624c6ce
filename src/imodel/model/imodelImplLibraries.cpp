// The project model's save and restore of the design's libraries around a
// change of its units (adding a file to the model parses it again).
#include "src/imodel/model/imodelImpl.h"

#include "imodel/design/ImodelFindModule.h"
#include "imodel/model/ImodelCommandServices.h"
#include "src/imodel/design/ImodelModuleNotify.h"

#include <utility>
#include <vector>

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
    // Not a copy of every library: what the change touches is kept as it
    // is touched (each unit's data before its first change, whatever makes
    // it), so that a change costs what it changes.
    m_savedLibraries.journal = std::make_unique<imodelUnitJournal>(*m_designManager);
}

void imodelImpl::RestoreLibraries(bool byName, const zorpaSaveRestoreParams& params, const RestoreExtras& extras)
{
    std::vector<ImodelModule*>* const fresh = extras.fresh;
    // A restore without its save has nothing to put back: the depth stays at 0.
    if (m_savedLibraries.depth == 0) return;
    if (--m_savedLibraries.depth > 0) {
        // Which units are new is known at the outer change's end only: every
        // unit is listed (the flow works out a unit's states the same again).
        if (fresh != nullptr) {
            const auto [first, last] = m_designManager->GetLibraries();
            for (auto library = first; library != last; ++library)
                if (*library && (*library)->GetModules())
                    fresh->insert(fresh->end(), (*library)->GetModules()->begin(), (*library)->GetModules()->end());
        }
        return;
    }
    // Units given their stimulus back without their views' states (a content
    // command's restore) had the stimulus steps worked out by the flow while
    // they stood without it, and a unit left without a file where its file
    // no longer defines it was given its stimulus by the parse while the flow
    // did not listen: the flow works them out again, as an open of the saved
    // project does. Otherwise the saved project would lack them until opened
    // again.
    //
    // A unit made during the change holds no states from before: such a
    // restore gives the lists back alone, and a unit of a name new to its
    // library has nothing to take. The flow heard of it only when one of
    // the change's files defines it (an import parses its files as a read
    // does and then tells the flow of the files): a unit that a file only
    // instantiates, a netlist's unit among them, was not told. The flow
    // works out the states of each, as an open does (a unit named as a
    // netlist's unit has that netlist's synthesis state). Only those: the
    // others kept theirs, and asking of every unit would make a change cost
    // the whole design. A read works out every unit's states once it ends.
    //
    // A caller that asks for those units (a refresh, whose units take their
    // states whole while the project counts as being read) has the flow
    // work them out itself.
    std::vector<ImodelModule*> took;
    std::vector<ImodelModule*> made;
    const bool restatesUnits = !params.copyContext && this == &GetInstance();
    const bool statesFresh = restatesUnits && !GetIsReadingProject();
    std::vector<ImodelModule*>* listed = fresh != nullptr ? fresh : statesFresh ? &made : nullptr;
    if (const std::unique_ptr<imodelUnitJournal> journal = std::move(m_savedLibraries.journal))
        journal->Restore(byName, params, extras.goneByName, restatesUnits ? &took : nullptr, listed);
    if (QuorlaneStateMachine* flow = took.empty() && made.empty() ? nullptr : ImodelAliveStateMachine()) {
        for (ImodelModule* unit : took) flow->UpdateFileDependentStatesForModule(unit);
        for (ImodelModule* unit : made) flow->UpdateFileDependentStatesForModule(unit);
    }
    const VyIfaces::ComponentID root = std::exchange(m_savedLibraries.rootId, VyIfaces::ComponentID());
    ImodelModule* module = root.IsDefault() ? nullptr : KeptRoot(*m_designManager, root);
    // set_root brings the flow and the views along; it works on the
    // process-wide model. The wizard's model has neither: it takes the id.
    ImodelCommandServices* commands = this == &GetInstance() ? ImodelCommandServices::Get() : nullptr;
    if (module != nullptr) {
        if (commands != nullptr)
            commands->SetRoot(module);
        else
            m_designManager->SetRootId(module->GetComponentID());
    }
    // A change that broke a cycle lets the instances left out for it in.
    if (commands != nullptr) commands->LinkRefusedInstances();
}
