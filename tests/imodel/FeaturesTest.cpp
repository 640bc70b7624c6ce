// Feature switches, timing lines, the string helpers and the folder-copy
// description.
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelCopyDirTool.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"

#include <foundation/Arev.h>
#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

class FeaturesTest : public ::testing::Test {
protected:
    void SetUp() override { DefReset(); }
    void TearDown() override
    {
        SysSetPrintHook({});
        DefReset();
    }

    // Everything the debug print receives from now on.
    std::string& CapturePrint()
    {
        SysSetPrintHook([this](const std::string& text) { m_printed += text; });
        return m_printed;
    }

private:
    std::string m_printed;
};

struct SimpleSwitch {
    bool (*function)();
    const char* variable;
};

// Written out here, independently of the library's own list.
const SimpleSwitch kSimpleSwitches[] = {
    {ImodelVeyrunSupportsSchematics, "IDE_VEYRUN_SUPPORTS_SCH"},
    {ImodelVeyrunSupportsLinks, "IDE_VEYRUN_SUPPORTS_LINKS"},
    {ImodelUserCanSelectFlowFileToUse, "IDE_SELECT_FLOW_FILE_FEATURE_ENABLED"},
    {ImodelParseEDIFLibraryInfo, "IDE_PARSE_EDIF_LIBRARY_INFO"},
    {ImodelGetTimerFileListFromThread, "IDE_GET_FILE_LIST_FROM_THREAD"},
    {ImodelRestoreOpenedViewAtStartup, "IDE_RESTORE_OPENED_VIEWS"},
    {ImodelCreateZipOnConvert, "IDE_CREATE_ZIP_ON_CONVERT_ENABLED"},
    {ImodelRemoveUnusedCommonFiles, "IDE_REMOVE_UNUSED_COMMON_FILES"},
    {ImodelIsMixedHDLEnabled, "IDE_MIXED_HDL_ENABLED"},
    {ImodelIsConstraintEditorEnabled, "IDE_CONSTRAINTS_EDITOR_ENABLED"},
    {ImodelUserCanBothOpenTextualAndGraphicalEditor, "IDE_USER_CAN_OPEN_TEXT_AND_GRAPH_EDITOR"},
    {ImodelUserMustPassComponentConstraints, "IDE_USER_MUST_PASS_COMPONENT_CSTRS"},
    {ImodelUseSynplifyXMLOutputFile, "IDE_USE_SYNPLIFY_XML_OUTPUT"},
    {ImodelSaveFileTimeStampInProjectFile, "IDE_SAVE_FILE_STAMPS_IN_PRJ"},
    {ImodelAllowUserToCustomizeSourceFileList, "IDE_ORGANIZE_SOURCES_ENABLED"},
    {ImodelAllowUserToOrganizePackages, "IDE_ORGANIZE_PACKAGES_ENABLED"},
    {ImodelIsSynplifyImplementationsEnabled, "IDE_SYNPLIFY_IMPL_ENABLED"},
    {ImodelIsBlockEnabled, "IS_IDE_BLOCK_ENABLED"},
    {ImodelIsVeyrunEnabled, "IDE_VEYRUN_ENABLED"},
    {ImodelCountLongProcessTime, "IDE_DEBUG_TIME"},
};

TEST_F(FeaturesTest, SimpleSwitchIsOnExactlyWhenItsVariableReadsOneAtEachCall)
{
    for (const SimpleSwitch& entry : kSimpleSwitches) {
        SCOPED_TRACE(entry.variable);
        EXPECT_FALSE(entry.function());
        DefSetFL(entry.variable, "1");
        EXPECT_TRUE(entry.function());
        DefSetFL(entry.variable, "2");
        EXPECT_FALSE(entry.function());
        DefSetFL(entry.variable, "TRUE");  // a boolean text reads as 1
        EXPECT_TRUE(entry.function());
        DefSetFL(entry.variable, "0");
        EXPECT_FALSE(entry.function());
        DefSetFL(entry.variable, "not a number");
        EXPECT_FALSE(entry.function());
        DefUnset(entry.variable);
    }
}

TEST_F(FeaturesTest, NegatedSwitchesAreOnWhenTheirVariableIsUnset)
{
    EXPECT_TRUE(ImodelVHDLPackagesInPackageFolder());
    EXPECT_TRUE(ImodelIsConstraintEditorUsable());
    DefSetFL("IDE_MIXED_HDL_ENABLED", "1");
    DefSetFL("SORRIN_VIEW_HIDDEN", "1");
    EXPECT_FALSE(ImodelVHDLPackagesInPackageFolder());
    EXPECT_FALSE(ImodelIsConstraintEditorUsable());
    DefSetFL("IDE_MIXED_HDL_ENABLED", "2");
    DefSetFL("SORRIN_VIEW_HIDDEN", "0");
    EXPECT_TRUE(ImodelVHDLPackagesInPackageFolder());
    EXPECT_TRUE(ImodelIsConstraintEditorUsable());
}

TEST_F(FeaturesTest, CombinedSwitchesNeedEveryPart)
{
    DefSetFL("IDE_MIXED_HDL_VISIBLE", "1");
    EXPECT_FALSE(ImodelIsMixedHDLVisible());
    DefSetFL("IDE_MIXED_HDL_ENABLED", "1");
    EXPECT_TRUE(ImodelIsMixedHDLVisible());
    EXPECT_TRUE(ImodelShowVHDLCommands());

    EXPECT_FALSE(ImodelIsConstraintEditorSupported());
    DefSetFL("IDE_CONSTRAINTS_EDITOR_ENABLED", "1");
    EXPECT_TRUE(ImodelIsConstraintEditorSupported());
    DefSetFL("SORRIN_VIEW_NOSUPPORT", "1");
    EXPECT_FALSE(ImodelIsConstraintEditorSupported());

    DefSetFL("IDE_GRAPHICAL_CONSTRAINTS_IS_DEFAULT", "1");
    EXPECT_TRUE(ImodelOpenGraphicalConstraintsEditorByDefault());
    DefSetFL("SORRIN_VIEW_HIDDEN", "1");
    EXPECT_FALSE(ImodelOpenGraphicalConstraintsEditorByDefault());

    DefSetFL("IS_IDE_BLOCK_ENABLED", "1");
    EXPECT_FALSE(ImodelIsBlockModeSupported());
    DefSetFL("IDE_BLOCK_MODE", "0");  // known to the options database, whatever its value
    EXPECT_TRUE(ImodelIsBlockModeSupported());
    DefSetFL("IS_IDE_BLOCK_ENABLED", "0");
    EXPECT_FALSE(ImodelIsBlockModeSupported());
}

TEST_F(FeaturesTest, SwitchesThatAskTheProject)
{
    Imodel& model = Imodel::GetInstance();
    ImodelGlobalFlowOptions& flow = *model.GetGlobalFlowOptions();
    ImodelDesignManager& design = *model.GetDesignManager();
    const bool vhdl = design.IsDefaultVHDL();

    design.SetDefaultVHDL(true);
    EXPECT_TRUE(ImodelShowVHDLCommands());
    design.SetDefaultVHDL(false);
    EXPECT_FALSE(ImodelShowVHDLCommands());
    design.SetDefaultVHDL(vhdl);

    EXPECT_FALSE(ImodelIsDisableTimerVisible());
    flow.EnableFileDetection = false;
    EXPECT_TRUE(ImodelIsDisableTimerVisible());
    flow.EnableFileDetection = true;
    DefSetFL("IDE_DISABLE_TIMER_OPTION_VISIBLE", "1");
    EXPECT_TRUE(ImodelIsDisableTimerVisible());

    DefSetFL("IS_IDE_BLOCK_ENABLED", "1");
    DefSetFL("IDE_BLOCK_MODE", "1");
    EXPECT_FALSE(ImodelIsPublishBlockCommandEnabled());
    flow.NoIOMode = true;
    EXPECT_TRUE(ImodelIsPublishBlockCommandEnabled());
    DefUnset("IDE_BLOCK_MODE");
    EXPECT_FALSE(ImodelIsPublishBlockCommandEnabled());
    flow.SetDefault();
}

TEST_F(FeaturesTest, VersionsAndNames)
{
    int minor = -1;
    int major = -1;
    ImodelGetIdeMinorMajor(minor, major);
    EXPECT_EQ(ArevGetMinorVerinfoNumber(), minor);
    EXPECT_EQ(ArevGetMajorVerinfoNumber(), major);
    DefSetFL("IDE_MAJOR", "11");
    DefSetFL("IDE_MINOR", "not a number");
    ImodelGetIdeMinorMajor(minor, major);
    EXPECT_EQ(11, major);
    EXPECT_EQ(ArevGetMinorVerinfoNumber(), minor);

    std::string text = "kept";
    EXPECT_FALSE(ImodelDefGetStr("IDE_NO_SUCH_VARIABLE", text));
    DefSetFL("IDE_SOME_TEXT", "a b = c");
    EXPECT_TRUE(ImodelDefGetStr("IDE_SOME_TEXT", text));
    EXPECT_EQ("a b = c", text);

    EXPECT_EQ("Kiltora", ImodelGetCoreToolString());
    EXPECT_EQ("Kiltora Core", ImodelGetCoreString(true, ideARM));
    DefSetFL("IDE_VEYRUN_ENABLED", "1");
    EXPECT_EQ("Veyrun", ImodelGetCoreToolString());
    EXPECT_EQ("Dremmet Component", ImodelGetCoreString(true, ideARM));
    EXPECT_EQ("Veyrun Component", ImodelGetCoreString(true, ideSYNTHESIS));
    EXPECT_EQ("Component", ImodelGetCoreString(false, ideARM));
    EXPECT_STREQ("Package", ImodelGetPackageName(true));
    EXPECT_STREQ("Verilog Header", ImodelGetPackageName(false));
}

// The number in "Info: Done (took <n>ms).\n".
long TookFromLine(const std::string& text)
{
    long took = -1;
    const std::size_t at = text.find("Info: Done (took ");
    if (at == std::string::npos || std::sscanf(text.c_str() + at, "Info: Done (took %ldms).", &took) != 1) return -1;
    return took;
}

TEST_F(FeaturesTest, LongProcessLinesOnlyWithTiming)
{
    std::string& printed = CapturePrint();
    EXPECT_EQ(0u, ImodelStartLongProcess("Reading"));
    ImodelEndLongProcess(0);
    EXPECT_EQ("", printed);

    DefSetFL("IDE_DEBUG_TIME", "1");
    const unsigned start = ImodelStartLongProcess("Reading %s project");
    EXPECT_EQ("Info: Reading %s project\n", printed);  // the label is a value, never a format
    printed.clear();
    ImodelSleep(25);
    ImodelEndLongProcess(start);
    EXPECT_GE(TookFromLine(printed), 25) << printed;
    EXPECT_EQ('\n', printed.back());
}

TEST_F(FeaturesTest, TimerActionNeedsTheDebugTimerSettingAndElapsedTime)
{
    DefSetFL("DEBUG_TIMER", "1");
    Imodel::GetInstance().ReloadBoolSettings();
    std::string& printed = CapturePrint();

    ImodelStartTimerAction();
    ImodelSleep(5);
    ImodelEndTimerAction("scan");
    long took = -1;
    ASSERT_EQ(1, std::sscanf(printed.c_str(), "scan took %ld", &took)) << printed;
    EXPECT_GE(took, 5);
    EXPECT_EQ(std::string::npos, printed.find('\n'));

    // Less than a millisecond prints nothing; a few tries make one such run certain.
    bool silent = false;
    for (int i = 0; i < 20 && !silent; ++i) {
        printed.clear();
        ImodelStartTimerAction();
        ImodelEndTimerAction("quick");
        silent = printed.empty();
    }
    EXPECT_TRUE(silent);

    ImodelGetTimerCounter() -= 1000;  // the counter is the shared start value
    printed.clear();
    DefSetFL("DEBUG_TIMER", "0");
    Imodel::GetInstance().ReloadBoolSettings();
    ImodelEndTimerAction("off");
    EXPECT_EQ("", printed);
}

TEST_F(FeaturesTest, SleepWaitsAtLeastTheTimeGiven)
{
    const auto before = std::chrono::steady_clock::now();
    ImodelSleep(30);
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(30));
    ImodelSleep(0);
    ImodelSleep(-7);
}

TEST_F(FeaturesTest, StringHelpersStayInRange)
{
    EXPECT_EQ("ab", ImodelGetLeftString("abc", 2));
    EXPECT_EQ("abc", ImodelGetLeftString("abc", 10));
    EXPECT_EQ("", ImodelGetLeftString("abc", -1));
    EXPECT_EQ("bc", ImodelGetRightString("abc", 2));
    EXPECT_EQ("abc", ImodelGetRightString("abc", 10));
    EXPECT_EQ("", ImodelGetRightString("abc", -3));
    EXPECT_EQ("", ImodelGetRightString("", 2));

    std::string text = "//a/b//";
    ImodelTrimLeftString(text, '/');
    EXPECT_EQ("a/b//", text);
    ImodelTrimRightString(text, '/');
    EXPECT_EQ("a/b", text);
    text = "////";
    ImodelTrimRightString(text, '/');
    EXPECT_EQ("", text);
    text = "xx";
    ImodelTrimLeftString(text, 'x');
    EXPECT_EQ("", text);

    text = "a Constraints b Constraints";
    EXPECT_EQ(2, ImodelReplaceAll(text, " Constraints", "", 0));
    EXPECT_EQ("a b", text);
    text = "aaaa";
    EXPECT_EQ(2, ImodelReplaceAll(text, "a", "bb", 2));
    EXPECT_EQ("aabbbb", text);
    EXPECT_EQ(0, ImodelReplaceAll(text, "a", "c", 100));
    EXPECT_EQ(0, ImodelReplaceAll(text, "", "c", 0));
    EXPECT_EQ("aabbbb", text);
    text = "aaa";
    EXPECT_EQ(1, ImodelReplaceAll(text, "aa", "a", 0));  // no overlapping second hit
    EXPECT_EQ("aa", text);

    text = "one\r\ntwo\r";
    ImodelRemoveWindowsEOL(text);
    EXPECT_EQ("one\ntwo", text);

    EXPECT_EQ(3, ImodelCount("a.b.c.", '.'));
    EXPECT_EQ(0, ImodelCount("", '.'));
}

TEST_F(FeaturesTest, CopyDirToolNamesTargetsAndReadOnlyCopies)
{
    ImodelCopyDirTool tool("/src/core", "/dst/core", "*.v");
    EXPECT_EQ("*.v", tool.GetFilter());
    EXPECT_EQ("/src/core", tool.GetSourceFolder().GetString());
    EXPECT_EQ("/dst/core", tool.GetTargetFolder().GetString());

    ImodelFileName target;
    EXPECT_TRUE(tool.NeedToCopyFolder("/src/core/sub", target));
    EXPECT_EQ("/dst/core/sub", target.GetString());
    EXPECT_TRUE(tool.NeedToCopyFolder("C:\\src\\core\\other\\", target));
    EXPECT_EQ("/dst/core/other", target.GetString());

    bool readOnly = true;
    EXPECT_TRUE(tool.NeedToCopyFile("/src/core/top.vhd", target, readOnly));
    EXPECT_EQ("/dst/core/top.vhd", target.GetString());
    EXPECT_FALSE(readOnly);

    std::vector<ImodelFileName> exempt = {"vhd", ".Log"};
    tool.MakeCopiedFilesReadOnly(true, &exempt);
    EXPECT_TRUE(tool.NeedToCopyFile("/src/core/top.VHD", target, readOnly));
    EXPECT_FALSE(readOnly);
    EXPECT_TRUE(tool.NeedToCopyFile("/src/core/run.log", target, readOnly));
    EXPECT_FALSE(readOnly);
    EXPECT_TRUE(tool.NeedToCopyFile("/src/core/top.v", target, readOnly));
    EXPECT_TRUE(readOnly);
    EXPECT_TRUE(tool.NeedToCopyFile("/src/core/Makefile", target, readOnly));
    EXPECT_TRUE(readOnly);
    EXPECT_TRUE(tool.NeedToCopyFile("/src/core/.vhd", target, readOnly));  // a dot-file has no extension
    EXPECT_TRUE(readOnly);

    tool.MakeCopiedFilesReadOnly(false, nullptr);
    EXPECT_TRUE(tool.NeedToCopyFile("/src/core/top.v", target, readOnly));
    EXPECT_FALSE(readOnly);

    tool.ChangeFoldersForRecurseCall("/src/core/sub", "/dst/core/sub/");
    EXPECT_TRUE(tool.NeedToCopyFile("/src/core/sub/a.v", target, readOnly));
    EXPECT_EQ("/dst/core/sub/a.v", target.GetString());
    EXPECT_EQ("/src/core/sub", tool.GetSourceFolder().GetString());

    ImodelCopyDirTool intoRoot("/src", "/", "");
    EXPECT_TRUE(intoRoot.NeedToCopyFile("/src/a.v", target, readOnly));
    EXPECT_EQ("/a.v", target.GetString());
}

}  // namespace
