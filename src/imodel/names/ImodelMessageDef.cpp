#include "imodel/names/ImodelMessageDef.h"

#include "imodel/model/QuorlaneModule.h"

namespace {

// An argument set holding the values in order; consumed by the call it is
// handed to.
int MakeArgSet(std::initializer_list<ImodelMessageArg> args)
{
    const int argSet = MdbArgSetInit(static_cast<int>(args.size()));
    int index = 0;
    for (const ImodelMessageArg& arg : args) {
        if (arg.isInteger) {
            MdbArgSetInteger(argSet, index, arg.integer);
        } else {
            MdbArgSetString(argSet, index, arg.text);
        }
        ++index;
    }
    return argSet;
}

}  // namespace

int ImodelEmitOutput(const ImodelMessageDef& message, std::initializer_list<ImodelMessageArg> args)
{
    const int argSet = MakeArgSet(args);
    return MdbOutput(argSet, QuorlaneGetModuleHandle(), ImodelMessageCatalogue, message.id, message.severity,
                     message.kind, message.text, message.Number(), message.secondNumber);
}

MdbQuery_result ImodelEmitQuery(const ImodelMessageDef& message, void* parent, MdbQuery_result defaultAnswer,
                                std::initializer_list<ImodelMessageArg> args, MdbQuery_result* answerPointer)
{
    const int argSet = MakeArgSet(args);
    return MdbQuery(parent, argSet, QuorlaneGetModuleHandle(), ImodelMessageCatalogue, message.id, message.severity,
                    message.kind, message.text, message.Number(), defaultAnswer, message.secondNumber,
                    message.queryCode, answerPointer, message.dontShowAgainKey);
}
