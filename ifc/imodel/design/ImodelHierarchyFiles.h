// Collecting the files of a design-unit hierarchy (a unit, the units below
// it and the packages its files use) in the order in which an outside tool
// reads them: the HDL files of a tool kind, the defining files, the child
// files of one type attached to the units (constraints, CDB files), the
// package files; and counts and tests over a hierarchy.
//
// Results of project files (entries) compare by object, results of file
// values by file-name equality. Every collection appends to what the caller
// passes in and lists a file once; membership costs no walk over the result.
// A unit met again (shared by several units, or on a cycle of a design that
// instantiates itself) is walked once per call, except by ImodelCountFiles,
// which counts it at each place it stands.
#pragma once

#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTypes.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelToolKinds.h"

#include <deque>
#include <string>
#include <vector>

// The HDL files that a tool kind receives for the unit and everything below
// it, in this order: for synthesis the encrypted HDL files attached to the
// hierarchy; the defining files in hierarchy order (ImodelGetOriginalFileNames,
// for synthesis without the tool-specific choice), keeping only HDL files
// whose package is used for the tool; the HDL file made from a schematic of
// the hierarchy ("<unit>.vhd" in a VHDL design, else ".v"); for simulation
// and stimulus, with IDE_INCLUDE_FOR_SIMULATION_ENABLED, the files of the
// units named in the unit's include-for-simulation list; then only files
// used by the tool, then the packages the unit uses. A customized list of
// the tool in use replaces all of this, while users may customize source
// lists. Files that other files include go to `includedFiles` (may be null)
// rather than into the result. With `notify`, each file taken is checked
// with ImodelWarnIfFileModified. Nothing for null.
void ImodelGetHdlFileNames(ImodelModule::FileEntries& files, ImodelModule* module, ImodelFunctionType tool,
                           std::deque<IfileObject>* includedFiles, bool notify);

// The defining files of the hierarchy, a unit's after those of the units
// below it and of the packages its file uses; for a tool (null: none) also
// the HDL files attached to a unit for that tool, in place of its defining
// file when that one serves synthesis alone; only files of `fileType`
// (null: any). The constraints editor (tool 21) does not enter a unit whose
// block-design component is not an HDL component.
void ImodelGetOriginalFileNames(ImodelModule::FileEntries& files, ImodelModule* module, const ImodelFunctionType* tool,
                                const zorpaFileManagerTypes* fileType, std::deque<IfileObject>* includedFiles,
                                bool notify);
// The same walk sharing the list of packages already searched ("library.package"
// keys, each searched once) with the caller.
void ImodelGetOriginalFileNamesRec(ImodelModule::FileEntries& files, std::deque<std::string>& visited,
                                   ImodelModule* module, const ImodelFunctionType* tool,
                                   const zorpaFileManagerTypes* fileType, std::deque<IfileObject>* includedFiles,
                                   bool notify);

// The files attached to the unit (or, when it has none, to the unit of its
// key in the design) that `select` takes, that the project holds and, for a
// tool, that the tool uses; with a recursive selector also those of the
// units below. With `reorder` the files follow the units' CDB orders, whose
// entries go to `cdbOrders` (may be null).
void ImodelGetChildAssociatedFiles2(ImodelModule* module, ImodelGetChildsFtor& select, std::deque<IfileObject>& files,
                                    const ImodelFunctionType* tool, std::deque<IfileObject>* cdbOrders, bool reorder);
// The same for the files of one type; reordered for CDB files (type 31).
void ImodelGetChildAssociatedFiles(ImodelModule* module, zorpaFileManagerTypes fileType, std::deque<IfileObject>& files,
                                   const ImodelFunctionType* tool, bool recurse, std::deque<IfileObject>* cdbOrders);
// Whether the hierarchy has more than one CDB file.
bool ImodelHasManyCDBFiles(ImodelModule* module);

// Whether the hierarchy uses a file that declares a package; false for null.
bool ImodelHasPackageFiles(ImodelModule* module);

// Appends the package files that the unit uses for simulation and that the
// simulator is given; nothing for other tool kinds or a null unit.
void ImodelAddPackages(ImodelModule* module, ImodelFunctionType tool, ImodelModule::FileEntries& files);

// The number of units with a defining file in the hierarchy, a unit counted
// at each place it stands (once per path; a cycle is not entered again).
// With a `limit` other than -1, a list of sub-blocks is walked no further
// once the count reaches the limit, so the answer is at least the limit
// then and may exceed it. 0 for null. The count is worked out per unit, not
// per path: the time grows with the units and links, and a count beyond
// the range of int answers INT_MAX.
int ImodelCountFiles(ImodelModule* module, int limit);
// Whether a unit of the hierarchy has a defining file with a parent file
// (or ancestor) of the type; false for null.
bool ImodelHasCoreSubBlocks(ImodelModule* module, zorpaFileManagerTypes fileType);
// Whether a unit of the hierarchy is defined by a file of that full name;
// false for null.
bool ImodelIsUsedInHierarchy(const IfileObject& file, ImodelModule* module);
// Whether no unit above the unit is defined by `file`; false for null.
bool ImodelIsTopLevelModuleOfFile(const boost::shared_ptr<IfileObjectEx>& file, ImodelModule* module);
// Appends to `names` the name of each unit of the list, or below it, defined
// by the file of that full name, not looking below such a unit. Nothing
// when either list is null.
void ImodelFindTopLevelModules(const ImodelFileName& file, std::deque<ImodelModule*>* modules,
                               std::vector<std::string>* names);

// Warns the user ("USING_MODIFIED_FILE") when the file is open in an editor
// of the host with changes not saved. Nothing without a host or a file.
void ImodelWarnIfFileModified(const boost::shared_ptr<IfileObjectEx>& file);
