#include "imodel/names/ImodelToolKinds.h"

#include "imodel/names/imodelUtl.h"

#include <array>

namespace {

// Part of the project-file format: see the header before touching an entry.
constexpr std::array<const char*, ImodelFunctionTypeCount> kToolNames = {
    "ideSYNTHESIS",      "ideSIMULATION",        "ideSTIMULUS",    "idePALLADOR",         "ideTORVIX",
    "ideSTRABBEL",       "ideGLIMMOND ",         "ideHDLEDITOR",   "ideOMBRIX",           "ideVIEWDRAW",
    "ideSTIMULUSEDITOR", "idePHYSYNTH",          "ideGENERATEHDL", "ideGENERATEEDIF",     "ideGENERATESYMBOL",
    "ideCHECKHDL",       "ideCHECKSCH",          "ideARM",         "ideIDENTIFYDEBUGGER", "ideIDENTIFYINSTRUMENTOR",
    "idePACKAGER",       "ideCONSTRAINTSEDITOR", "StateNoResult",
};

constexpr std::array<const char*, imodelSolvatoStateCount> kSolvatoNames = {"Pre_Synthesis", "Post_Synthesis",
                                                                            "Post_Phy_Synthesis", "Post_Layout"};

constexpr std::array<const char*, imodelToolStateCount> kToolStateNames = {"StateNoResult", "StateFailure",
                                                                           "StateSuccess"};

// The keyword of `value`, or null outside the table.
template <std::size_t N>
const char* KeywordOf(const std::array<const char*, N>& table, int value)
{
    return (value >= 0 && value < static_cast<int>(N)) ? table[value] : nullptr;
}

// The first value whose keyword equals `text` without regard to case.
template <typename Enum, std::size_t N>
bool ReadKeyword(const std::array<const char*, N>& table, Enum& value, const std::string& text)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (ImodelIsSameStrNoCase(text, table[i])) {
            value = static_cast<Enum>(i);
            return true;
        }
    }
    return false;
}

}  // namespace

void ImodelWriteToolNameString(ImodelFunctionType kind, std::string& out)
{
    if (const char* keyword = KeywordOf(kToolNames, kind)) out = keyword;
}

void ImodelWriteSolvatoString(imodelSolvatoState state, std::string& out)
{
    const char* keyword = KeywordOf(kSolvatoNames, state);
    out = keyword ? keyword : kSolvatoNames[Pre_Synthesis];
}

void ImodelWriteToolStateString(imodelToolState state, std::string& out)
{
    const char* keyword = KeywordOf(kToolStateNames, state);
    out = keyword ? keyword : kToolStateNames[StateNoResult];
}

bool ImodelReadToolNameString(ImodelFunctionType& kind, const std::string& text)
{
    return ReadKeyword(kToolNames, kind, text);
}

bool ImodelReadSolvatoString(imodelSolvatoState& state, const std::string& text)
{
    return ReadKeyword(kSolvatoNames, state, text);
}

bool ImodelReadToolStateString(imodelToolState& state, const std::string& text)
{
    // Projects of older versions stored an out-of-date result; it means no result now.
    if (ImodelIsSameStrNoCase(text, "StateOutOfDate")) {
        state = StateNoResult;
        return true;
    }
    return ReadKeyword(kToolStateNames, state, text);
}
