// Feature switches, timing of long operations and small utilities of the
// project model.
//
// A feature switch is one read of an options variable, asked again at every
// call (the values that must not be read on hot paths are the model's cached
// named settings, Imodel::IsDebugMsg and its siblings). A switch is on exactly
// when the variable can be read and holds 1; an unreadable variable is off.
#pragma once

#include "imodel/names/ImodelToolKinds.h"

#include <atomic>
#include <cstdint>
#include <string>

// --- feature switches -----------------------------------------------------------

// (function, options variable): on when the variable reads 1.
#define IMODEL_SIMPLE_FEATURE_SWITCHES(X)                                                                              \
    X(ImodelVeyrunSupportsSchematics, "IDE_VEYRUN_SUPPORTS_SCH")                                                       \
    X(ImodelVeyrunSupportsLinks, "IDE_VEYRUN_SUPPORTS_LINKS")                                                          \
    X(ImodelUserCanSelectFlowFileToUse, "IDE_SELECT_FLOW_FILE_FEATURE_ENABLED")                                        \
    X(ImodelParseEDIFLibraryInfo, "IDE_PARSE_EDIF_LIBRARY_INFO")                                                       \
    X(ImodelGetTimerFileListFromThread, "IDE_GET_FILE_LIST_FROM_THREAD")                                               \
    X(ImodelRestoreOpenedViewAtStartup, "IDE_RESTORE_OPENED_VIEWS")                                                    \
    X(ImodelCreateZipOnConvert, "IDE_CREATE_ZIP_ON_CONVERT_ENABLED")                                                   \
    X(ImodelRemoveUnusedCommonFiles, "IDE_REMOVE_UNUSED_COMMON_FILES")                                                 \
    X(ImodelIsMixedHDLEnabled, "IDE_MIXED_HDL_ENABLED")                                                                \
    X(ImodelIsConstraintEditorEnabled, "IDE_CONSTRAINTS_EDITOR_ENABLED")                                               \
    X(ImodelUserCanBothOpenTextualAndGraphicalEditor, "IDE_USER_CAN_OPEN_TEXT_AND_GRAPH_EDITOR")                       \
    X(ImodelUserMustPassComponentConstraints, "IDE_USER_MUST_PASS_COMPONENT_CSTRS")                                    \
    X(ImodelUseSynplifyXMLOutputFile, "IDE_USE_SYNPLIFY_XML_OUTPUT")                                                   \
    X(ImodelSaveFileTimeStampInProjectFile, "IDE_SAVE_FILE_STAMPS_IN_PRJ")                                             \
    X(ImodelAllowUserToCustomizeSourceFileList, "IDE_ORGANIZE_SOURCES_ENABLED")                                        \
    X(ImodelAllowUserToOrganizePackages, "IDE_ORGANIZE_PACKAGES_ENABLED")                                              \
    X(ImodelIsSynplifyImplementationsEnabled, "IDE_SYNPLIFY_IMPL_ENABLED")                                             \
    X(ImodelIsBlockEnabled, "IS_IDE_BLOCK_ENABLED")                                                                    \
    X(ImodelIsVeyrunEnabled, "IDE_VEYRUN_ENABLED")                                                                     \
    X(ImodelCountLongProcessTime, "IDE_DEBUG_TIME")

// Each switch, and the name of its variable for the messages that name it
// (<function>Option).
#define IMODEL_DECLARE_FEATURE_SWITCH(function, variable)                                                              \
    bool function();                                                                                                   \
    inline constexpr const char* function##Option = variable;
IMODEL_SIMPLE_FEATURE_SWITCHES(IMODEL_DECLARE_FEATURE_SWITCH)
#undef IMODEL_DECLARE_FEATURE_SWITCH

// Whether the options variable `name` can be read and holds 1.
bool ImodelIsSwitchOn(const char* name);

// ImodelIsSwitchOn of one variable, read again only once the options have
// changed since: long operations and every new unit ask for theirs at each
// file, and a read takes the options' lock and a hash lookup.
class ImodelSwitchMemo {
public:
    explicit constexpr ImodelSwitchMemo(const char* name) : m_name(name) {}
    bool IsOn();

private:
    const char* m_name;
    // (options change count + 1) * 2 + answer; 0 before the first read.
    std::atomic<std::uint64_t> m_kept{0};
};

// "IDE_MIXED_HDL_ENABLED" is not 1 (on also when it cannot be read).
bool ImodelVHDLPackagesInPackageFolder();
// "IDE_MIXED_HDL_VISIBLE" is 1 and mixed HDL is enabled.
bool ImodelIsMixedHDLVisible();
// Mixed HDL is visible, else the project's default HDL is VHDL.
bool ImodelShowVHDLCommands();
// The editor is enabled and "SORRIN_VIEW_NOSUPPORT" is not 1.
bool ImodelIsConstraintEditorSupported();
// "SORRIN_VIEW_HIDDEN" is not 1 (on also when it cannot be read).
bool ImodelIsConstraintEditorUsable();
// "IDE_GRAPHICAL_CONSTRAINTS_IS_DEFAULT" is 1 and "SORRIN_VIEW_HIDDEN" is not.
bool ImodelOpenGraphicalConstraintsEditorByDefault();
// "IDE_DISABLE_TIMER_OPTION_VISIBLE" is 1, else the project's file
// detection differs from its default.
bool ImodelIsDisableTimerVisible();
// Block mode is enabled and the options database knows "IDE_BLOCK_MODE".
bool ImodelIsBlockModeSupported();
// Block mode is supported and the project's block mode (NoIOMode) is on.
bool ImodelIsPublishBlockCommandEnabled();

// --- options and versions -----------------------------------------------------------

// Reads a text variable whole; true when it could be read.
bool ImodelDefGetStr(const char* name, std::string& value);
// The design environment's version, minor then major, from "IDE_MINOR" and
// "IDE_MAJOR"; a variable that cannot be read gives the build's own number.
void ImodelGetIdeMinorMajor(int& minor, int& major);
// "Veyrun" when the block-design tool is enabled, else "Kiltora".
std::string ImodelGetCoreToolString();
// What a core made by the tool is called: with the block-design tool
// enabled "Component", preceded by the kind ("Dremmet" for the core
// configurator, "Veyrun" for every other tool) and a blank when `withKind`
// is set; otherwise "Kiltora Core".
std::string ImodelGetCoreString(bool withKind, ImodelFunctionType tool);
// What a header of shared declarations is called in the HDL: "Package" for
// VHDL, "Verilog Header" otherwise.
const char* ImodelGetPackageName(bool vhdl);

// --- timing ---------------------------------------------------------------------
// Clock values are milliseconds of a steady clock. The lines go to the debug
// print only while "IDE_DEBUG_TIME" reads 1.

// Prints "Info: <label>" and returns the clock; 0 (and nothing printed) when
// timing is off.
unsigned ImodelStartLongProcess(const char* label);
// Prints "Info: Done (took <n>ms)." with the time since `start`.
void ImodelEndLongProcess(unsigned start);

// The start of the current timed action: one process-wide value, so nested
// or concurrent timed actions overwrite each other.
long& ImodelGetTimerCounter();
void ImodelStartTimerAction();
// With the model's DEBUG_TIMER setting, prints "<label> took <n>" when at
// least one millisecond passed since ImodelStartTimerAction.
void ImodelEndTimerAction(const char* label);

// Sleeps for `ms` milliseconds; other values return at once.
void ImodelSleep(long ms);

// --- strings --------------------------------------------------------------------

// The first or last `count` characters; a count past the length gives the
// whole text, a negative count the empty text.
std::string ImodelGetLeftString(const std::string& text, int count);
std::string ImodelGetRightString(const std::string& text, int count);
// Removes every leading, respectively trailing, occurrence of `c`.
void ImodelTrimLeftString(std::string& text, char c);
void ImodelTrimRightString(std::string& text, char c);
// Replaces every occurrence of `from` (not empty) by `to` at or after
// `start`; returns the number of replacements. A start past the end
// replaces nothing.
int ImodelReplaceAll(std::string& text, const std::string& from, const std::string& to, unsigned start);
// "\r\n" becomes "\n", and a carriage return that ends the text goes.
void ImodelRemoveWindowsEOL(std::string& text);
// How often `c` occurs in `text`.
int ImodelCount(const std::string& text, char c);
