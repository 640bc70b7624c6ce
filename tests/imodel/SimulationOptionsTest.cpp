// The simulator settings: defaults, project-file lines and the refusal of
// texts that would break the line-oriented project file.
#include "imodel/options/ImodelSimulationOptions.h"

#include "MessageRecorder.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

class SimulationOptionsTest : public ::testing::Test {
protected:
    void SetUp() override { DefReset(); }
    void TearDown() override { DefReset(); }
};

std::string Written(const ImodelSimulationOptions& options)
{
    std::ostringstream out;
    options.WriteSimulationOptions(&out);
    return out.str();
}

// Reads the lines as the project reader does: defaults first, then each
// line split at its first "=".
ImodelSimulationOptions ReadBack(const std::string& text)
{
    ImodelSimulationOptions options;
    options.SetDefault();
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const std::size_t equal = line.find('=');
        if (equal != std::string::npos) options.ReadSimulationOption(line.substr(0, equal), line.substr(equal + 1));
    }
    return options;
}

TEST_F(SimulationOptionsTest, DefaultsAndTheirLines)
{
    const ImodelSimulationOptions options;
    EXPECT_EQ("UseAutomaticDoFile=true\n"
              "IncludeWaveDo=false\n"
              "Type=max\n"
              "RunTime=1000ns\n"
              "Resolution=1ns\n"
              "VsimOpt=\n"
              "EntityName=testbench\n"
              "TopInstanceName=<top>_0\n"
              "DoFileName=\n"
              "DoFileName2=wave.do\n"
              "DoFileParams=\n"
              "DisplayDUTWave=false\n"
              "LogAllSignals=false\n"
              "DumpVCD=false\n"
              "VCDFileName=power.vcd\n",
              Written(options));
    EXPECT_EQ(1, options.UseAutomaticDoFile);
    EXPECT_EQ(0, options.DumpVCD);

    DefSetFL("IDE_SIMULATION_RUNTIME", "5us");
    DefSetFL("IDE_SIMULATION_RESOLUTION", "10ps");
    ImodelSimulationOptions configured;
    EXPECT_EQ("5us", configured.RunTime);
    EXPECT_EQ("10ps", configured.Resolution);
    configured.RunTime = "1ms";
    EXPECT_FALSE(configured == ImodelSimulationOptions());
    configured.SetDefault();
    EXPECT_EQ("5us", configured.RunTime);
    EXPECT_TRUE(configured == ImodelSimulationOptions());
}

TEST_F(SimulationOptionsTest, ChangedRecordReadsBackEqual)
{
    ImodelSimulationOptions options;
    options.UseAutomaticDoFile = 0;
    options.IncludeWaveDo = 1;
    options.Type = "typ";
    options.RunTime = "-all";
    options.Resolution = "100ps";
    options.VsimOpt = "-t ps -G a=b";
    options.EntityName = "tb_top";
    options.TopInstanceName = "uut";
    options.DoFileName = "<project>/my file.do";
    options.DoFileName2 = "";
    options.DisplayDUTWave = 1;
    options.LogAllSignals = 1;
    options.DoFileParams = " \"quoted\" x=1 ";
    options.DumpVCD = 1;
    options.VCDFileName = "C:\\sim\\out.vcd";

    const ImodelSimulationOptions back = ReadBack(Written(options));
    EXPECT_TRUE(back == options) << Written(back);
    EXPECT_EQ(Written(options), Written(back));

    ImodelSimulationOptions copy(options);
    EXPECT_TRUE(copy == options);
    copy.DoFileParams += " ";
    EXPECT_FALSE(copy == options);
    copy = options;
    EXPECT_TRUE(copy == options);
}

TEST_F(SimulationOptionsTest, FlagsReadTrueInAnyCaseAndKeysExactly)
{
    ImodelSimulationOptions options;
    EXPECT_TRUE(options.ReadSimulationOption("DumpVCD", "TRUE"));
    EXPECT_EQ(1, options.DumpVCD);
    EXPECT_TRUE(options.ReadSimulationOption("DumpVCD", "True"));
    EXPECT_EQ(1, options.DumpVCD);
    EXPECT_TRUE(options.ReadSimulationOption("DumpVCD", "1"));
    EXPECT_EQ(0, options.DumpVCD);
    EXPECT_TRUE(options.ReadSimulationOption("UseAutomaticDoFile", "truex"));
    EXPECT_EQ(0, options.UseAutomaticDoFile);

    const ImodelSimulationOptions before = options;
    EXPECT_FALSE(options.ReadSimulationOption("runtime", "5us"));
    EXPECT_FALSE(options.ReadSimulationOption("CompilePackage", "true"));
    EXPECT_FALSE(options.ReadSimulationOption("", ""));
    EXPECT_TRUE(options == before);

    const ImodelSimulationOptions onlyRunTime = ReadBack("RunTime=5us\n");
    ImodelSimulationOptions expected;
    expected.RunTime = "5us";
    EXPECT_TRUE(onlyRunTime == expected);
}

TEST_F(SimulationOptionsTest, TextsWithALineBreakAreRefused)
{
    MessageRecorder messages;
    ImodelSimulationOptions options;
    EXPECT_TRUE(options.CheckTexts());
    EXPECT_TRUE(messages.Records().empty());

    options.VsimOpt = "-t ps\nquit";
    EXPECT_FALSE(options.CheckTexts());
    options.VsimOpt.clear();
    options.VCDFileName = "power.vcd\r";
    EXPECT_FALSE(options.CheckTexts());

    const auto refusals = messages.WithId("INVALID_SIMULATION_PARAM");
    ASSERT_EQ(2u, refusals.size());
    EXPECT_EQ("VsimOpt must be a single line of text", refusals[0].text);
    EXPECT_EQ("VCDFileName must be a single line of text", refusals[1].text);
    EXPECT_EQ(1, refusals[0].severity);
}

}  // namespace
