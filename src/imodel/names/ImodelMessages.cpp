// Every message of the library: each row of ImodelMessages.def defines its
// message and, but for the messages that other components word, its function;
// a second pass over the rows lists them in the table.
#include "imodel/names/ImodelMessages.h"

#include "imodel/model/QuorlaneModule.h"
#include "imodel/names/ImodelMessageDef.h"

#include <string>
#include <vector>

// The definition k<ID><SUFFIX> of a row, whose parameters must be the
// placeholders of its text.
#define IMODEL_DEFINE(ID, SUFFIX, PARAMETERS, SERIAL, SEVERITY, KIND, TEXT, ...)                                       \
    constexpr ImodelMessageDef k##ID##SUFFIX{                                                                          \
        .id = #ID, .serial = SERIAL, .severity = SEVERITY, .kind = KIND, .text = TEXT __VA_OPT__(, ) __VA_ARGS__};     \
    static_assert(ImodelTextTakes(k##ID##SUFFIX.text, {IMODEL_PLACEHOLDERS PARAMETERS}),                               \
                  "the parameters of the row " #ID " are not the placeholders of its text");

// The rows: each defines its message and, but for the _DEF rows, the function
// that ImodelMessages.h declares for it, which emits the message with its
// values in order.
#define IMODEL_LINE(ID, PARAMETERS, SERIAL, SEVERITY, TEXT, ...)                                                       \
    IMODEL_DEFINE(ID, _MSG, PARAMETERS, SERIAL, SEVERITY, MdbLINE, TEXT, __VA_ARGS__)                                  \
    IMODEL_LINE_FUNCTION(ID, PARAMETERS) { return ImodelEmitOutput(k##ID##_MSG, {IMODEL_VALUES PARAMETERS}); }
#define IMODEL_QUERY(ID, PARAMETERS, SERIAL, SEVERITY, KIND, TEXT, ...)                                                \
    IMODEL_DEFINE(ID, _QRY, PARAMETERS, SERIAL, SEVERITY, KIND, TEXT, __VA_ARGS__)                                     \
    IMODEL_QUERY_FUNCTION(ID, PARAMETERS)                                                                              \
    {                                                                                                                  \
        return ImodelEmitQuery(k##ID##_QRY, parent, defaultAnswer, {IMODEL_VALUES PARAMETERS});                        \
    }
#define IMODEL_SERIES_QUERY(ID, PARAMETERS, SERIAL, SEVERITY, KIND, TEXT, ...)                                         \
    IMODEL_DEFINE(ID, _QRY, PARAMETERS, SERIAL, SEVERITY, KIND, TEXT, .queryCode = 3 __VA_OPT__(, ) __VA_ARGS__)       \
    IMODEL_SERIES_QUERY_FUNCTION(ID, PARAMETERS)                                                                       \
    {                                                                                                                  \
        return ImodelEmitQuery(k##ID##_QRY, parent, defaultAnswer, {IMODEL_VALUES PARAMETERS}, answer);                \
    }
#define IMODEL_LINE_DEF(ID, PARAMETERS, SERIAL, SEVERITY, TEXT, ...)                                                   \
    IMODEL_DEFINE(ID, _MSG, PARAMETERS, SERIAL, SEVERITY, MdbLINE, TEXT, __VA_ARGS__)
#define IMODEL_QUERY_DEF(ID, PARAMETERS, SERIAL, SEVERITY, KIND, TEXT, ...)                                            \
    IMODEL_DEFINE(ID, _QRY, PARAMETERS, SERIAL, SEVERITY, KIND, TEXT, __VA_ARGS__)
#include "imodel/names/ImodelMessages.def"
#undef IMODEL_DEFINE

// --- progress meter -----------------------------------------------------------

// Addressed by catalogue and number; the id travels only when it starts.
constexpr ImodelMessageDef kCOMMAND_METER{"COMMAND_METER", 665, MdbMETER, MdbMETERKIND, "%s..."};

int ImodelInitCOMMAND_METER(void* parent, const char* label)
{
    const int argSet = MdbArgSetInit(1);
    MdbArgSetString(argSet, 0, label);
    return MdbMeterInit(parent, argSet, QuorlaneGetModuleHandle(), ImodelMessageCatalogue, kCOMMAND_METER.id,
                        kCOMMAND_METER.severity, kCOMMAND_METER.kind, "", kCOMMAND_METER.text, kCOMMAND_METER.Number());
}

void ImodelUpdateCOMMAND_METER(unsigned int value)
{
    MdbMeterUpdate(QuorlaneGetModuleHandle(), ImodelMessageCatalogue, kCOMMAND_METER.Number(), value);
}

void ImodelKillCOMMAND_METER()
{
    MdbMeterKill(QuorlaneGetModuleHandle(), ImodelMessageCatalogue, kCOMMAND_METER.Number());
}

// --- the table ------------------------------------------------------------------

const std::vector<ImodelMessageEntry>& ImodelGetMessageTable()
{
    // The rows again, each now the entry of its definition.
    static const std::vector<ImodelMessageEntry> table = {
#define IMODEL_LINE(ID, PARAMETERS, ...) {&k##ID##_MSG, IMODEL_COUNT PARAMETERS},
#define IMODEL_QUERY(ID, PARAMETERS, ...) {&k##ID##_QRY, IMODEL_COUNT PARAMETERS},
#define IMODEL_SERIES_QUERY IMODEL_QUERY
#define IMODEL_LINE_DEF IMODEL_LINE
#define IMODEL_QUERY_DEF IMODEL_QUERY
#include "imodel/names/ImodelMessages.def"
        {&kCOMMAND_METER, 1},
    };
    return table;
}

// --- do-not-show-again --------------------------------------------------------

void ImodelRegisterSWITCH_BLOCKMODE_WARNING_QRY()
{
    const std::string key = kSWITCH_BLOCKMODE_WARNING_QRY.dontShowAgainKey;
    const std::string label = "Warn me when Pallador Block mode is changed.";
    MdbDontShowAgainManager::GetInstance().RegisterQuery(key, 1, label, 0, 0);
}

namespace {

// Registered while the library loads, before any question can be asked.
struct BlockModeWarningRegistration {
    BlockModeWarningRegistration() { ImodelRegisterSWITCH_BLOCKMODE_WARNING_QRY(); }
};
const BlockModeWarningRegistration g_blockModeWarningRegistration;

}  // namespace
