// Taking design units out of the design when their file leaves the project,
// is parsed again or changes library: the units go without leaving dangling
// links (the units that instantiated them keep a sub-block of the same
// name), the block-design workspace learns which components went, the root
// is cleared when it goes, and the units' data may be kept for when they
// come back. Also: which files may leave together with others, removing
// every unit of one kind, and dropping test benches from the units.
// Emptying whole libraries is ImodelDestroyLib.h.
#pragma once

#include "imodel/design/ImodelModule.h"

#include <vy/IComponent.h>
#include <zorpa/ZorpaLibrary.h>
#include <zorpa/ZorpaModule.h>

#include <boost/shared_ptr.hpp>

#include <deque>
#include <vector>

// Removes from the file's library every unit that the file defines. Each
// unit's parents get a replacement sub-block (ImodelRemoveModuleInOtherLib),
// its sub-blocks without file that no other unit uses go too, and it is
// deleted; the root id is emptied when the root goes. `kept` (may be empty)
// receives an unlinked copy of each unit (one that a unit there keeps out,
// ZorpaUnitSet::Conflicting, is dropped); with `save` the unit's data is
// kept for when it comes back, with `forget` the data kept for the file's
// units is dropped. `components` (may be null) receives the block-design
// components of the units; `packageUsers` (may be null) the units whose
// component lies in a removed package, when `updateNow` leaves them to the
// caller. Placeholders put into the library are announced with one
// IeventModuleAdded. Nothing for a file whose library does not exist.
void ImodelRemoveModulesOfFile(const boost::shared_ptr<IfileObjectEx>& file,
                               boost::shared_ptr<ImodelModule::UnitSet> kept, bool updateNow, bool save, bool forget,
                               std::vector<VyIfaces::IComponent*>* components, std::deque<ImodelModule*>* packageUsers);

// Puts into `kept` an unlinked copy of each unit the file defines (as
// ImodelRemoveModulesOfFile keeps them), with its lists: for the units the
// file makes anew elsewhere, as in another library, to take their data
// back (ImodelDuplicateSubModuleInfo). Nothing when either is missing.
void ImodelKeepCopiesOfUnitsOfFile(const boost::shared_ptr<IfileObjectEx>& file,
                                   const boost::shared_ptr<ImodelModule::UnitSet>& kept);

// The units the file defines in its library, in the library's set order,
// found through the library's file index; none when either is missing.
std::vector<ImodelModule*> ImodelUnitsOfFile(const boost::shared_ptr<IfileObjectEx>& file);

// Gives each parent of `module` (those defined by `file` aside) a sub-block
// in its place, one per instance: the package through which the parent's
// use clauses reach a unit of that name, else a unit of that name in the
// parent's library, else a placeholder of unknown kind without file. A
// placeholder for the unit's own library goes to `readd` once (which owns
// it), for the caller to put into `library`; one for another library is put
// into it at once. Nothing when an argument is missing, the unit has no parents or its
// library does not exist.
void ImodelRemoveModuleInOtherLib(ImodelModule* module, const boost::shared_ptr<IfileObjectEx>& file,
                                  boost::shared_ptr<ZorpaLibrary<ImodelModule*>> library,
                                  ImodelModule::OwnedList* readd);

// Hands the block-design component of a unit that goes to `components` (the
// unit forgets it); for a package, the sub-blocks whose component lies in
// the package go to `packageUsers` unless `updateNow` is set.
void ImodelNotifyWorkspaceWhenModulesAreRemoved(ImodelModule* module, bool updateNow,
                                                std::vector<VyIfaces::IComponent*>* components,
                                                std::deque<ImodelModule*>* packageUsers);

// Removes and deletes every unit of the kind from the library, emptying the
// root id when the root is among them. One IeventModuleRemoved with the
// units goes out first, also when there is none. Nothing for null.
void ImodelRemoveAllModulesOfAType(zorpaModuleTypes kind, boost::shared_ptr<ZorpaLibrary<ImodelModule*>> library);
// The same for every library of the design, in order.
void ImodelRemoveAllModulesOfAType(zorpaModuleTypes kind);

// `result` becomes the candidates that may leave along with the removed
// files: a candidate that defines a unit still needed by a unit of a file
// that stays (looking through the units of candidates) is left out.
void ImodelGetCommonFilesWeCanRemove(const ImodelModule::FileEntries& removed,
                                     const ImodelModule::FileEntries& candidates, ImodelModule::FileEntries& result);

// Drops the stimulus file from the stimulus list of each unit of the list
// and of every unit below them, then of every other unit of the design (a
// unit of another library that no unit of the list uses): the file has
// left the project. Each change marks the project as needing a save and
// tells the design flow.
void ImodelUpdateStimulusAssociation(const IfileObject& stimulus, std::deque<ImodelModule*>* modules);
// The same for several files in one walk: each unit reached drops every
// entry naming one of them (file-name equality), the others keep their
// order, and a unit whose list changed is stored back once. The lists end
// as the walk for each file in turn leaves them.
void ImodelUpdateStimulusAssociation(const std::vector<IfileObject>& stimuli, std::deque<ImodelModule*>* modules);

// Test-bench files that leave the design one after another in one command
// (delete_files of thousands of them): while a batch is open, the files
// kept (Keep) leave the stimulus lists of every unit in one walk when the
// outermost batch ends, not in one walk each. A unit that
// ImodelRemoveModulesOfFile takes out meanwhile first drops the files kept
// so far, so that whatever is kept of it holds what the walk for each file
// in turn would have left; a unit made meanwhile (a definition added again)
// drops the files kept before it as well: they have left the project. For
// the main thread, where commands run.
class ImodelStimulusBatch {
public:
    ImodelStimulusBatch();
    ~ImodelStimulusBatch();
    ImodelStimulusBatch(const ImodelStimulusBatch&) = delete;
    ImodelStimulusBatch& operator=(const ImodelStimulusBatch&) = delete;

    // False when no batch is open: the caller drops the file now.
    static bool Keep(const IfileObject& stimulus);
    // The files kept so far leave the lists now; the batch stays open (for
    // a step that may rebuild the units, as a refresh).
    static void Settle();
};
