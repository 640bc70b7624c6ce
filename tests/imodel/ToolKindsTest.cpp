#include "imodel/names/ImodelToolKinds.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

// The stored keywords, independent of the code under test: the project
// file depends on every one of them.
const char* const kToolKeywords[] = {
    "ideSYNTHESIS",      "ideSIMULATION",        "ideSTIMULUS",    "idePALLADOR",         "ideTORVIX",
    "ideSTRABBEL",       "ideGLIMMOND ",         "ideHDLEDITOR",   "ideOMBRIX",           "ideVIEWDRAW",
    "ideSTIMULUSEDITOR", "idePHYSYNTH",          "ideGENERATEHDL", "ideGENERATEEDIF",     "ideGENERATESYMBOL",
    "ideCHECKHDL",       "ideCHECKSCH",          "ideARM",         "ideIDENTIFYDEBUGGER", "ideIDENTIFYINSTRUMENTOR",
    "idePACKAGER",       "ideCONSTRAINTSEDITOR", "StateNoResult",
};

std::string Flipped(std::string text)
{
    for (char& c : text)
        c = std::isupper(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c))
                                                        : static_cast<char>(std::toupper(c));
    return text;
}

}  // namespace

TEST(ToolKinds, EveryToolKindWritesItsKeywordAndReadsBack)
{
    static_assert(std::size(kToolKeywords) == ImodelFunctionTypeCount);
    for (int value = 0; value < ImodelFunctionTypeCount; ++value) {
        std::string text;
        ImodelWriteToolNameString(static_cast<ImodelFunctionType>(value), text);
        EXPECT_EQ(text, kToolKeywords[value]) << value;
        ImodelFunctionType read = ideHDLEDITOR;
        EXPECT_TRUE(ImodelReadToolNameString(read, text)) << text;
        EXPECT_EQ(read, value) << text;
        read = ideHDLEDITOR;
        EXPECT_TRUE(ImodelReadToolNameString(read, Flipped(text))) << text;
        EXPECT_EQ(read, value) << text;
    }
    EXPECT_EQ(ideCONSTRAINTSEDITOR, 22);
    EXPECT_EQ(idePACKAGER, 21);
}

TEST(ToolKinds, ToolKindEdges)
{
    std::string text = "unchanged";
    ImodelWriteToolNameString(static_cast<ImodelFunctionType>(23), text);
    EXPECT_EQ(text, "unchanged");
    ImodelWriteToolNameString(static_cast<ImodelFunctionType>(-1), text);
    EXPECT_EQ(text, "unchanged");

    ImodelFunctionType kind = ideSIMULATION;
    for (const char* bad : {"ideGLIMMOND", " ideSYNTHESIS", "ideSYNTHESIS ", "", "SYNTHESIS", "StateFailure"}) {
        EXPECT_FALSE(ImodelReadToolNameString(kind, bad)) << bad;
        EXPECT_EQ(kind, ideSIMULATION) << bad;
    }
    EXPECT_TRUE(ImodelReadToolNameString(kind, "statenoresult"));
    EXPECT_EQ(kind, ideCONSTRAINTSEDITOR);
    EXPECT_TRUE(ImodelReadToolNameString(kind, "IDEglimmond "));
    EXPECT_EQ(kind, ideGLIMMOND);
}

TEST(ToolKinds, DesignStatesRoundTripAndDefaultOutsideTheirRange)
{
    const char* const keywords[] = {"Pre_Synthesis", "Post_Synthesis", "Post_Phy_Synthesis", "Post_Layout"};
    for (int value = 0; value < imodelSolvatoStateCount; ++value) {
        std::string text;
        ImodelWriteSolvatoString(static_cast<imodelSolvatoState>(value), text);
        EXPECT_EQ(text, keywords[value]);
        imodelSolvatoState read = Pre_Synthesis;
        EXPECT_TRUE(ImodelReadSolvatoString(read, Flipped(text)));
        EXPECT_EQ(read, value);
    }
    std::string text = "x";
    ImodelWriteSolvatoString(static_cast<imodelSolvatoState>(7), text);
    EXPECT_EQ(text, "Pre_Synthesis");
    ImodelWriteSolvatoString(static_cast<imodelSolvatoState>(-3), text);
    EXPECT_EQ(text, "Pre_Synthesis");

    imodelSolvatoState state = Post_Synthesis;
    EXPECT_FALSE(ImodelReadSolvatoString(state, "Post_Layout "));
    EXPECT_FALSE(ImodelReadSolvatoString(state, "Post-Layout"));
    EXPECT_EQ(state, Post_Synthesis);
}

TEST(ToolKinds, ToolStatesRoundTripAndOutOfDateReadsAsNoResult)
{
    const char* const keywords[] = {"StateNoResult", "StateFailure", "StateSuccess"};
    for (int value = 0; value < imodelToolStateCount; ++value) {
        std::string text;
        ImodelWriteToolStateString(static_cast<imodelToolState>(value), text);
        EXPECT_EQ(text, keywords[value]);
        imodelToolState read = StateFailure;
        EXPECT_TRUE(ImodelReadToolStateString(read, text));
        EXPECT_EQ(read, value);
    }
    imodelToolState state = StateFailure;
    EXPECT_TRUE(ImodelReadToolStateString(state, "statesuccess"));
    EXPECT_EQ(state, StateSuccess);
    EXPECT_TRUE(ImodelReadToolStateString(state, "STATEOUTOFDATE"));
    EXPECT_EQ(state, StateNoResult);

    state = StateSuccess;
    EXPECT_FALSE(ImodelReadToolStateString(state, "StateOutOfDate "));
    EXPECT_FALSE(ImodelReadToolStateString(state, "Success"));
    EXPECT_EQ(state, StateSuccess);

    std::string text = "x";
    ImodelWriteToolStateString(static_cast<imodelToolState>(-1), text);
    EXPECT_EQ(text, "StateNoResult");
    ImodelWriteToolStateString(static_cast<imodelToolState>(3), text);
    EXPECT_EQ(text, "StateNoResult");
}
