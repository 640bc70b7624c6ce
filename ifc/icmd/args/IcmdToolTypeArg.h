// The `tool` argument: a kind of flow tool, by its keyword ("synthesis",
// "simulation", ...), typed in any letter case. A filter narrows the kinds a
// command offers; a refused keyword's message lists only those.
#pragma once

#include "imodel/names/ImodelToolKinds.h"

#include <foundation/AcmdParam.h>

#include <string>

class IcmdToolTypeArg : public AcmdEnumParam<ImodelFunctionType> {
public:
    using Filter = bool (*)(ImodelFunctionType);

    // Every kind the tool-name table names, in value order, that `filter`
    // accepts (all of them without a filter).
    IcmdToolTypeArg(AcmdBase* owner, bool required, ImodelFunctionType defaultKind, Filter filter);

    // A keyword of the offered kinds; when the filter offers none, the
    // refusal says so (the framework would list no choice).
    bool GetObjectFromString(const char* text, ImodelFunctionType& out, bool report, void* parentWindow) override;

    // The kind's stored name without "ide", lower-cased and without blanks
    // at either end; empty for a kind outside the table.
    static std::string GetStringForTool(ImodelFunctionType kind);

    // Synthesis and simulation: the tools whose sources a module organises.
    static bool OrganizeSourcesSupported(ImodelFunctionType kind);
    // The kinds for which a tool with constraint files is registered.
    static bool OrganizeConstraintsSupported(ImodelFunctionType kind);
    // The kinds whose tool profile the user manages in the host.
    static bool ProfilesSupported(ImodelFunctionType kind);
};
