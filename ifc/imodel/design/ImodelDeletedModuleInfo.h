// Carrying the user's data of design units over to the unit objects that
// replace them when files are parsed again or the libraries are restored
// (ImodelModule::DuplicateModuleInfo applied to whole collections). The data
// kept for removed units is ImodelModule's removed-unit list.
#pragma once

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"

#include <zorpa/ZorpaModule.h>

#include <boost/shared_ptr.hpp>

#include <deque>

// For each unit of `from`, in set order, the unit of `to` that stands in
// its place in the set order takes its data: the unit of the same name
// (letter case ignored) and the same file, or of the same name when either
// has no file; with `byName`, the first unit of the same name whatever its
// file. Without `byName`, a unit made again from another file takes
// nothing, unless `goneByName` is set: then a unit of `from` that finds no
// unit in its place gives its data to the first unit of its name in `to`
// when that unit took none of its own (the data follows the name, as the
// project file keeps it). Nothing unless both sets exist.
void ImodelDuplicateSubModuleInfo(boost::shared_ptr<ImodelModule::UnitSet> from,
                                  boost::shared_ptr<ImodelModule::UnitSet> to, bool byName,
                                  const zorpaSaveRestoreParams& params, bool goneByName = false);

// Brings the data of the units of the saved libraries into the units of the
// design's library of the same name (letter case ignored), as
// ImodelDuplicateSubModuleInfo does. A saved library whose name the design
// no longer has gives nothing. The first form works on the process-wide
// design.
void ImodelRestoreLibs(ImodelDesignManager::Libraries& saved, bool byName, const zorpaSaveRestoreParams& params);
void ImodelRestoreLibs(ImodelDesignManager& design, ImodelDesignManager::Libraries& saved, bool byName,
                       const zorpaSaveRestoreParams& params, bool goneByName = false);

// Inserts a clone of each unit of `from` into `to`; a clone that a unit
// already there keeps out (ZorpaUnitSet::Conflicting) is dropped. Nothing
// when either is empty.
void ImodelDuplicateSet(boost::shared_ptr<ImodelModule::UnitSet> from, boost::shared_ptr<ImodelModule::UnitSet> to);

// Appends a clone of each unit of `from` (nulls left out) to `to`, in
// order. Nothing when either is null.
void ImodelDuplicateList(const std::deque<ImodelModule*>* from, ImodelModule::OwnedList* to);
