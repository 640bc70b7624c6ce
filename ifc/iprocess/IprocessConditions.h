// The conditions under which the objects of the design flow take part, the
// revision-dependence tests of the state machines, and the checks that ask
// the user before a tool runs on a design whose block-design components are
// not ready.
//
// Every condition reads the current project, options and host on each call;
// nothing is cached. A missing module, revision, flow option set, host,
// profile manager or component gives the answer its line states.
#pragma once

#include "imodel/design/ImodelLinkList.h"
#include "imodel/names/ImodelToolKinds.h"
#include "iprocess/IprocessFlowObject.h"

#include <deque>
#include <string>

class Imodel;
class ImodelModule;
class ImodelRevContext;

// --- families and options -----------------------------------------------------------

// The options variable IDE_ZEVORU_FAM (IDE_TORVIX_FAM) can be read and is
// not empty.
bool IprocessIsFamilyOKForZEVORU();
bool IprocessIsFamilyOKForTORVIX();
// The programming family is set and EXPORT_PROGRAMMING_TYPES holds the text
// "EXPORT_PDB" (letter case counts).
bool IprocessIsFamilyOKForPDB();
// Whether the host's active tool of the kind is the one of `key`; false
// without a host, a profile manager or an active tool.
bool IprocessIsToolActivated(const char* key, ImodelFunctionType tool);

// --- conditions (IprocessCondition) -------------------------------------------------------

// IprocessIsFamilyOKForTORVIX, as a condition.
bool IprocessIsTorvixEnable(ImodelModule* module, ImodelRevContext* revision);
// The revision's flow option UsePhySynth; false without module, revision or
// flow options.
bool IprocessUsePhySynth(ImodelModule* module, ImodelRevContext* revision);
// The project's block mode (NoIOMode), unless ENABLE_BLOCK_POST_LAYOUT reads 1.
bool IprocessHideBlockPostLayoutTools(ImodelModule* module, ImodelRevContext* revision);
// The module's own file is a synthesized EDIF netlist (type 3).
bool IprocessIsEDIFFlow(ImodelModule* module, ImodelRevContext* revision);
// With module, revision and flow options: a structural module that the
// revision routes around synthesis and physical synthesis, or an EDIF
// netlist module.
bool IprocessHideSynthesisTool(ImodelModule* module, ImodelRevContext* revision);
// Synthesis is hidden for a module that is not an EDIF netlist.
bool IprocessHideEdifNetlist(ImodelModule* module, ImodelRevContext* revision);
// Whether `condition` holds only where `other` holds, for every module and
// revision (the same condition, or one defined as `other` and more).
bool IprocessConditionImplies(IprocessCondition condition, IprocessCondition other);
// The host's active synthesis tool is Synplify ("SYNPLIFY7_EXT").
bool IprocessIsSynplifyProfileActivated(ImodelModule* module, ImodelRevContext* revision);
// The programming family is set, Synplify is the synthesis tool and
// synthesis is not hidden.
bool IprocessIsIdentifyDebuggerEnabled(ImodelModule* module, ImodelRevContext* revision);
// The programming input chosen is the PDB file, the family exports PDB
// files and the programming tool is not "TORVIX3X_EXT".
bool IprocessIsPDBUsed(ImodelModule* module, ImodelRevContext* revision);
// The model's cached IDE_PACKAGER_ENABLED.
bool IprocessIsPackagerEnabled(ImodelModule* module, ImodelRevContext* revision);

// The name of a condition of this header (its function name); empty for any
// other function.
std::string IprocessGetConditionName(IprocessCondition condition);

// --- dependence on the place-and-route view -------------------------------------------------

// Place and route, programming, device programmer and silicon probe.
bool IprocessIsToolRevDependent(ImodelFunctionType tool);
// The type's group is the place-and-route group (103).
bool IprocessIsFileRevDependent(int type);
// Only post-layout.
bool IprocessIsStateRevDependent(imodelSolvatoState state);
// Synthesis, physical synthesis and place and route keep log files.
bool IprocessIsToolSupported_ForNToN_LogFile_StateMachine(ImodelFunctionType tool);
// Whether the flow step of a tool kind is hidden (a hidden tool node is not
// used): the core configurator while it is not integrated, the constraints
// editor while it is not supported, EDIF generation while IDE_GENERATE_EDIF
// reads 1, the packager while it is not enabled.
bool IprocessIsToolHidden(ImodelFunctionType tool, Imodel& model);

// --- component checks -------------------------------------------------------------------

// The answers one run of checks got. Each question is asked at most once per
// run; its answer then holds for every further component of its kind.
struct IprocessComponentQuestions {
    enum Answer {
        NotAsked,
        Accepted,  // go on
        Refused    // abort
    };
    Answer componentsWithErrors = NotAsked;
    Answer componentsOutOfDate = NotAsked;
};

// A check of one module within a run: true to go on.
using IprocessComponentCheck = bool (*)(ImodelModule* module, IprocessComponentQuestions& questions,
                                        const std::string& action);

// A module without block-design component, or with a ready one, passes. A
// component with errors asks "COMPONENT_NOT_READY", one out of date
// "COMPONENT_NOT_UPTODATE", each at most once per run, with `action` (the
// operation that would be aborted) and OK as the default answer; OK goes on.
// False for a null module.
bool IprocessCheckFlowForModule(ImodelModule* module, IprocessComponentQuestions& questions, const std::string& action);
// False for a Synplify DSP component (and a null module); the other
// arguments are not read.
bool IprocessCheckIsNotDSP(ImodelModule* module, IprocessComponentQuestions& questions, const std::string& action);
// Depth first over the list, each module's sub-blocks before the module,
// stopping at the first failure. Every module is checked once per call, so a
// cyclic hierarchy ends (a module met again answers as it did: its verdict
// depends only on its component and the answers already given). A null list
// passes.
bool IprocessCheckSubBlocks(const ImodelLinkList* subBlocks, IprocessComponentCheck check,
                            IprocessComponentQuestions& questions, const std::string& action);
// The module's sub-blocks, then the module itself; a null module passes.
bool IprocessCheckModule(ImodelModule* module, IprocessComponentCheck check, IprocessComponentQuestions& questions,
                         const std::string& action);
// IprocessCheckFlowForModule over the root's hierarchy with fresh answers;
// passes without a root.
bool IprocessCheckFlowForSourceFiles(const std::string& action);
// Some module of the root's hierarchy has a Synplify DSP component; false
// without a root.
bool IprocessCheckRootHasDSP();
