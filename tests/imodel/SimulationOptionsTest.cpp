// The simulator settings: defaults, a changed record through the project
// file and back, and the refusal of texts that would break the file.
#include "MessageRecorder.h"
#include "OptionsScope.h"
#include "ProjectFileBlock.h"

#include "imodel/options/ImodelSimulationOptions.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using SimulationOptionsTest = OptionsFixture;

std::string Written(const ImodelSimulationOptions& options)
{
    return WrittenBy([&](std::ostream* stream) { options.WriteSimulationOptions(stream); });
}

ImodelSimulationOptions ReadBack(const std::string& text)
{
    ImodelSimulationOptions options;
    options.SetDefault();
    ReadKeyValueLines(
        text, [&](const std::string& key, const std::string& value) { options.ReadSimulationOption(key, value); });
    return options;
}

}  // namespace

TEST_F(SimulationOptionsTest, AChangedRecordReadsBackEqualThroughTheProjectFile)
{
    ImodelSimulationOptions options;
    options.UseAutomaticDoFile = 0;
    options.IncludeWaveDo = 1;
    options.Type = "typ";
    options.RunTime = "-all";
    options.VsimOpt = "-t ps -G a=b";
    options.DoFileName = "<project>/my file.do";
    options.DoFileName2 = "";
    options.DoFileParams = " \"quoted\" x=1 ";
    options.DumpVCD = 1;
    options.VCDFileName = "C:\\sim\\out.vcd";
    const ImodelSimulationOptions back = ReadBack(Written(options));
    EXPECT_TRUE(back == options) << Written(back);
    EXPECT_EQ(Written(options), Written(back));
}

TEST_F(SimulationOptionsTest, TextsWithALineBreakAreRefused)
{
    MessageRecorder messages;
    ImodelSimulationOptions options;
    EXPECT_TRUE(options.CheckTexts());
    options.VsimOpt = "-t ps\nquit";
    EXPECT_FALSE(options.CheckTexts());
    options.VsimOpt.clear();
    options.VCDFileName = "power.vcd\r";
    EXPECT_FALSE(options.CheckTexts());
    const auto refusals = messages.WithId("INVALID_SIMULATION_PARAM");
    ASSERT_EQ(2u, refusals.size());
    EXPECT_EQ("VsimOpt must be a single line of text", refusals[0].text);
    EXPECT_EQ("VCDFileName must be a single line of text", refusals[1].text);
}
