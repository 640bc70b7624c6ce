// The project-wide flow switches: defaults, project-file lines, value
// semantics and the notices of a change.
#include "ievent/IeventClasses.h"
#include "ievent/IeventView.h"
#include "imodel/model/Imodel.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"

#include "MessageRecorder.h"
#include "RecordingHost.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

class GlobalFlowOptionsTest : public ::testing::Test {
protected:
    void SetUp() override { DefReset(); }
    void TearDown() override { DefReset(); }
};

std::string Written(const ImodelGlobalFlowOptions& options)
{
    std::ostringstream out;
    options.WriteGlobalFlowOptions(&out);
    return out.str();
}

// Reads the lines as the project reader does: defaults first, then each
// "key=value" line split at its first "=".
ImodelGlobalFlowOptions ReadBack(const std::string& text)
{
    ImodelGlobalFlowOptions options;
    options.SetDefault();
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const std::size_t equal = line.find('=');
        if (equal != std::string::npos) options.ReadGlobalFlowOptions(line.substr(0, equal), line.substr(equal + 1));
    }
    return options;
}

bool ImodelGlobalFlowOptions::*const kSwitches[] = {
    &ImodelGlobalFlowOptions::GenerateHDLAfterSynthesis,
    &ImodelGlobalFlowOptions::GenerateHDLAfterPhySynthesis,
    &ImodelGlobalFlowOptions::RunDRCAfterSynthesis,
    &ImodelGlobalFlowOptions::UpdateViewDrawIni,
    &ImodelGlobalFlowOptions::UpdateModelSimIni,
    &ImodelGlobalFlowOptions::EnableFileDetection,
    &ImodelGlobalFlowOptions::NoIOMode,
    &ImodelGlobalFlowOptions::GenerateHDLFromSchematic,
};

TEST_F(GlobalFlowOptionsTest, DefaultsAndTheirLines)
{
    ImodelGlobalFlowOptions options;
    EXPECT_EQ("GenerateHDLAfterSynthesis=FALSE\n"
              "GenerateHDLAfterPhySynthesis=FALSE\n"
              "RunDRCAfterSynthesis=FALSE\n"
              "UpdateViewDrawIni=TRUE\n"
              "UpdateModelSimIni=TRUE\n"
              "NoIOMode=FALSE\n"
              "GenerateHDLFromSchematic=TRUE\n"
              "TorvixInputFile=pdb\n",
              Written(options));
    EXPECT_TRUE(options.IsPDBUsed());
    EXPECT_TRUE(options.IsTimerOptionDefault());
    EXPECT_EQ("pdb", options.GetDefaultProgrammingOutput());

    DefSetFL("IDE_DRC_OPT", "1");
    DefSetFL("IDE_TORVIX_INPUT_DEFAULT", "stp");
    ImodelGlobalFlowOptions configured;
    EXPECT_TRUE(configured.RunDRCAfterSynthesis);
    EXPECT_FALSE(configured.IsPDBUsed());
    EXPECT_EQ("stp", configured.GetDefaultProgrammingOutput());

    // File detection is written only when it is off.
    configured.EnableFileDetection = false;
    EXPECT_FALSE(configured.IsTimerOptionDefault());
    EXPECT_NE(std::string::npos, Written(configured).find("\nEnableFileDetection=FALSE\nNoIOMode="));
    configured.SetDefault();
    EXPECT_TRUE(configured.EnableFileDetection);
    EXPECT_EQ(std::string::npos, Written(configured).find("EnableFileDetection"));
}

TEST_F(GlobalFlowOptionsTest, EveryCombinationReadsBackEqual)
{
    for (unsigned bits = 0; bits < 256; ++bits) {
        for (const char* input : {"stp", "pdb", "none"}) {
            ImodelGlobalFlowOptions options;
            for (unsigned i = 0; i < 8; ++i) options.*kSwitches[i] = (bits >> i) & 1u;
            options.ReadGlobalFlowOptions("TorvixInputFile", input);
            const ImodelGlobalFlowOptions back = ReadBack(Written(options));
            ASSERT_TRUE(back == options) << bits << " " << input << "\n" << Written(options);
            ASSERT_EQ(Written(options), Written(back));
        }
    }
}

TEST_F(GlobalFlowOptionsTest, OnlyUpperCaseTrueIsTrueAndKeysCompareExactly)
{
    ImodelGlobalFlowOptions options;
    options.ReadGlobalFlowOptions("RunDRCAfterSynthesis", "True");
    EXPECT_FALSE(options.RunDRCAfterSynthesis);
    options.ReadGlobalFlowOptions("RunDRCAfterSynthesis", "TRUE");
    EXPECT_TRUE(options.RunDRCAfterSynthesis);
    options.ReadGlobalFlowOptions("UpdateModelSimIni", "1");
    EXPECT_FALSE(options.UpdateModelSimIni);
    options.ReadGlobalFlowOptions("UpdateModelSimIni", "TRUE ");
    EXPECT_FALSE(options.UpdateModelSimIni);

    const ImodelGlobalFlowOptions before = options;
    options.ReadGlobalFlowOptions("nOIOmODE", "TRUE");
    options.ReadGlobalFlowOptions("Unknown", "TRUE");
    options.ReadGlobalFlowOptions("torvixinputfile", "stp");
    EXPECT_TRUE(options == before);
}

TEST_F(GlobalFlowOptionsTest, CopiesAreEqualAndTheProgrammingInputCounts)
{
    ImodelGlobalFlowOptions options;
    options.NoIOMode = true;
    options.ReadGlobalFlowOptions("TorvixInputFile", "stp");
    const ImodelGlobalFlowOptions copy(options);
    EXPECT_TRUE(copy == options);
    EXPECT_EQ("stp", copy.GetDefaultProgrammingOutput());

    ImodelGlobalFlowOptions other;
    other.NoIOMode = true;
    EXPECT_TRUE(other != options);  // they differ in the programming input only
    other = options;
    EXPECT_TRUE(other == options);
    other.ReadGlobalFlowOptions("TorvixInputFile", "xyz");
    EXPECT_EQ("", other.GetDefaultProgrammingOutput());
    EXPECT_FALSE(other.IsPDBUsed());
    EXPECT_NE(std::string::npos, Written(other).find("\nTorvixInputFile=\n"));
    options = other;
    EXPECT_TRUE(options == other);
}

// Counts the flow-option notices that reach the views.
class FlowNoticeView : public IeventView {
public:
    void UpdateView(const IeventDesignFlowOptionsChanged&) override { ++notices; }
    int notices = 0;
};

TEST_F(GlobalFlowOptionsTest, NotifyChangesWarnsOfBlockModeAndTellsTheFlow)
{
    MessageRecorder messages;
    FlowNoticeView view;
    const ImodelGlobalFlowOptions old;

    ImodelGlobalFlowOptions changed = old;
    changed.UpdateModelSimIni = false;
    changed.NotifyChanges(old, true);
    EXPECT_TRUE(messages.Records().empty());
    EXPECT_EQ(0, view.notices);

    changed = old;
    changed.EnableFileDetection = false;
    changed.NotifyChanges(old, false);
    EXPECT_EQ(0, view.notices);
    changed.NotifyChanges(old, true);
    EXPECT_EQ(1, view.notices);
    EXPECT_TRUE(messages.Records().empty());

    changed = old;
    changed.NoIOMode = true;
    changed.NotifyChanges(old, true);
    EXPECT_EQ(2, view.notices);
    const auto warnings = messages.Records();
    ASSERT_EQ(1u, warnings.size());
    EXPECT_TRUE(warnings[0].question);
    EXPECT_EQ("SWITCH_BLOCKMODE_WARNING", warnings[0].message.id);
    EXPECT_EQ(MdbOK, warnings[0].message.defaultAnswer);
    EXPECT_EQ(nullptr, warnings[0].message.parent);

    // With a host, the host's window owns the question.
    RecordingHost host;
    changed.NotifyChanges(old, false);
    EXPECT_EQ(2u, messages.Records().size());
    EXPECT_EQ(2, view.notices);
    EXPECT_EQ((std::vector<std::string>{"GetParentWindow"}), host.Calls());
}

}  // namespace
