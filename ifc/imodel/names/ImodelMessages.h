// The library's messages to the user: one function per message, declared from
// the rows of ImodelMessages.def (ImodelDisplayFOO_MSG by the row
// IMODEL_LINE(FOO, ...)).
//
// An output line `ImodelDisplay<ID>_MSG` takes the values of its placeholders
// in order and returns what the message database returns. A question
// `ImodelDisplay<ID>_QRY` takes the window that owns the box (null for none)
// and the answer to assume when nobody can answer, then its values; it returns
// the answer as given, which may be a code that is not among the box's
// buttons, so callers compare it only with the codes they expect.
#pragma once

#include <foundation/Mdb.h>

#include <vector>

struct ImodelMessageDef;

// --- the messages of the table -------------------------------------------------

// Each row of the list declares its function (or, for the messages that other
// components word, its definition); the list says what each row declares.
#define IMODEL_LINE(ID, PARAMETERS, ...) IMODEL_LINE_FUNCTION(ID, PARAMETERS);
#define IMODEL_QUERY(ID, PARAMETERS, ...) IMODEL_QUERY_FUNCTION(ID, PARAMETERS);
#define IMODEL_SERIES_QUERY(ID, PARAMETERS, ...) IMODEL_SERIES_QUERY_FUNCTION(ID, PARAMETERS);
#define IMODEL_LINE_DEF(ID, ...) extern const ImodelMessageDef k##ID##_MSG;
#define IMODEL_QUERY_DEF(ID, ...) extern const ImodelMessageDef k##ID##_QRY;
#include "imodel/names/ImodelMessages.def"

// Written by hand: the meter's three functions start, move and end one meter
// rather than emit a message, and the registration emits nothing.

// --- progress meter -----------------------------------------------------------

// Shows "<label>..." until killed; returns what MdbMeterInit returns.
int ImodelInitCOMMAND_METER(void* parent, const char* label);
// Fits the progress callback of the project-file reader.
void ImodelUpdateCOMMAND_METER(unsigned int value);
void ImodelKillCOMMAND_METER();

// --- do-not-show-again --------------------------------------------------------

// Makes SWITCH_BLOCKMODE_WARNING known to the do-not-show-again manager. Runs
// by itself when the library is loaded.
void ImodelRegisterSWITCH_BLOCKMODE_WARNING_QRY();

// --- the table ----------------------------------------------------------------

// One message of the table: its definition and how many values its function
// takes for the placeholders.
struct ImodelMessageEntry {
    const ImodelMessageDef* def;
    int arguments;
};
// Every message of the list in its order, then the meter: for the checks
// that walk the whole table.
const std::vector<ImodelMessageEntry>& ImodelGetMessageTable();
