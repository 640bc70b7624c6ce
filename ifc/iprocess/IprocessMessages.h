// The design flow's messages to the user: the two questions asked before a
// tool runs on a design whose block-design components are not ready, and
// the warning that a layout used an out-of-date file. The two questions may
// be silenced for good; their keys are registered while the library loads.
#pragma once

#include "imodel/names/ImodelToolKinds.h"

#include <foundation/Mdb.h>

#include <string>

// "Your design contains some components with error(s).\nClick Cancel to
// abort %s." (OK and Cancel); the answer as given.
MdbQuery_result IprocessDisplayCOMPONENT_NOT_READY_QRY(void* parent, MdbQuery_result defaultAnswer, const char* action);
// "Your design contains some components that are out of date.\nClick Cancel
// to abort %s." (OK and Cancel).
MdbQuery_result IprocessDisplayCOMPONENT_NOT_UPTODATE_QRY(void* parent, MdbQuery_result defaultAnswer,
                                                          const char* action);
// "%s completed layout, but it used the out-of-date file: %s. Your design
// will remain in pre-layout state."
int IprocessDisplayLAYOUT_IGNORED_OOD_FILE_MSG(const char* layoutFile, const char* outOfDateFile);

// The don't-show-again keys "iprocessCOMPONENT_NOT_READY_QRY" and
// "iprocessCOMPONENT_NOT_UPTODATE_QRY".
void IprocessRegisterCOMPONENT_NOT_READY_QRY();
void IprocessRegisterCOMPONENT_NOT_UPTODATE_QRY();

// The host's managed profile of a tool kind: its tool-list text and its
// tool name; empty without a host, a profile manager or such a profile.
std::string IprofileGetToolListStr(ImodelFunctionType kind);
std::string IprofileGetProfileToolName(ImodelFunctionType kind);
