// The steps of the design flow and their results: the tool kind
// (ImodelFunctionType), the design state of a place-and-route view
// (imodelSolvatoState) and the result of one tool run (imodelToolState),
// with their keywords in the project file.
//
// The keyword tables are part of the project-file format. The tool-kind
// table has 23 entries; from kind 18 on the keywords are those of the
// neighbouring kind (kind 21, the packager, is stored as
// "ideCONSTRAINTSEDITOR"; kind 22, the constraints editor, as
// "StateNoResult"), and kind 6 is stored with a trailing blank
// ("ideGLIMMOND "). Stored projects depend on it: never "fix" the table.
#pragma once

#include <string>

// The enumerators are named after what the flow builds for the kind; the
// comment gives the stored keyword where it differs.
enum ImodelFunctionType : int {
    ideSYNTHESIS = 0,
    ideSIMULATION = 1,
    ideSTIMULUS = 2,
    idePALLADOR = 3,  // place and route
    ideTORVIX = 4,    // programming
    ideSTRABBEL = 5,  // device programmer
    ideGLIMMOND = 6,  // silicon probe; "ideGLIMMOND " (trailing blank)
    ideHDLEDITOR = 7,
    ideOMBRIX = 8,    // older core generator
    ideVIEWDRAW = 9,  // schematic editor
    ideSTIMULUSEDITOR = 10,
    idePHYSYNTH = 11,
    ideGENERATEHDL = 12,
    ideGENERATEEDIF = 13,
    ideGENERATESYMBOL = 14,
    ideCHECKHDL = 15,
    ideCHECKSCH = 16,
    ideARM = 17,                   // core configurator (folder "dremmet")
    ideRESERVED = 18,              // no flow node; "ideIDENTIFYDEBUGGER"
    ideIDENTIFYDEBUGGER = 19,      // "ideIDENTIFYINSTRUMENTOR"
    ideIDENTIFYINSTRUMENTOR = 20,  // no flow node; "idePACKAGER"
    idePACKAGER = 21,              // "ideCONSTRAINTSEDITOR"
    ideCONSTRAINTSEDITOR = 22      // "StateNoResult"
};
constexpr int ImodelFunctionTypeCount = 23;

// Design state of a revision; only Post_Layout depends on the revision.
enum imodelSolvatoState : int {
    Pre_Synthesis = 0,  // default
    Post_Synthesis = 1,
    Post_Phy_Synthesis = 2,
    Post_Layout = 3
};
constexpr int imodelSolvatoStateCount = 4;

// Result of one tool run.
enum imodelToolState : int {
    StateNoResult = 0,  // default; the older keyword "StateOutOfDate" reads as this
    StateFailure = 1,
    StateSuccess = 2
};
constexpr int imodelToolStateCount = 3;

// Writers never fail. A tool kind outside 0..22 leaves `out` unchanged; a
// design state outside 0..3 writes "Pre_Synthesis"; a tool state outside
// 0..2 writes "StateNoResult".
void ImodelWriteToolNameString(ImodelFunctionType kind, std::string& out);
void ImodelWriteSolvatoString(imodelSolvatoState state, std::string& out);
void ImodelWriteToolStateString(imodelToolState state, std::string& out);

// Readers match the whole text without regard to letter case (no blanks
// trimmed), try the keywords in value order and store the first match.
// No match: false, and the output is left unchanged.
bool ImodelReadToolNameString(ImodelFunctionType& kind, const std::string& text);
bool ImodelReadSolvatoString(imodelSolvatoState& state, const std::string& text);
bool ImodelReadToolStateString(imodelToolState& state, const std::string& text);
