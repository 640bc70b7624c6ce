// The constraint files the design units keep themselves (the synthesis list
// and the list of the physical-synthesis options) letting go of files that
// left the project: one file at a time, or the thousands one delete_files
// takes out in one walk of the units for the whole batch.
#pragma once

#include "ifile/IfileObject.h"

#include <vector>

class ImodelModule;

// The unit lists a file that leaves is taken out of.
enum class ImodelUnitConstraintList {
    Synthesis,
    PhySynthesis
};

// Every unit of every library lets go of the files as the walk of all units
// for each file in turn would: the synthesis list loses its first entry
// equal to the file (once for each time the file is given); the
// physical-synthesis list goes through
// ImodelPhySynthesisOptions::ConstraintFileRemoved, which tells the flow.
// A unit is asked only about the files its lists may name (file-name
// equality); a unit whose options are the defaults names none and gets no
// record of its own.
void ImodelForgetUnitConstraintFiles(ImodelUnitConstraintList list, const std::vector<IfileObject>& files);

// Constraint files that leave the project one after another in one command
// (delete_files of thousands of them): while a batch is open the files kept
// (Keep) leave the units' lists in one walk of the units when the outermost
// batch ends, each unit taking them in the order they were kept. A unit that
// leaves its library meanwhile first takes the files kept so far, so that
// what is kept of it holds what the walk for each file would have left. A
// unit made meanwhile takes the files kept before it as well: they have
// left the project. For the main thread, where commands run.
class ImodelConstraintFileBatch {
public:
    ImodelConstraintFileBatch();
    ~ImodelConstraintFileBatch();
    ImodelConstraintFileBatch(const ImodelConstraintFileBatch&) = delete;
    ImodelConstraintFileBatch& operator=(const ImodelConstraintFileBatch&) = delete;

    // False when no batch is open: the caller takes the file out now.
    static bool Keep(ImodelUnitConstraintList list, const IfileObject& file);
    // The files kept so far leave the lists now; the batch stays open (for
    // a step that may make the units again, as a refresh).
    static void Settle();
    // Told by the removal of units before a unit leaves its library.
    static void UnitLeaves(ImodelModule& unit);
};
