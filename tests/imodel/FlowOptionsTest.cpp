// A view's flow options: every combination through the project file and
// back, and what the reader makes of damaged or older blocks.
#include "ProjectFileBlock.h"

#include "imodel/views/ImodelFlowOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Lines = std::vector<std::string>;

TEST(FlowOptions, EveryCombinationReadsBackThroughTheProjectFile)
{
    for (const bool phy : {false, true}) {
        for (const bool synth : {false, true}) {
            ImodelFlowOptions written;
            written.UsePhySynth = phy;
            written.UseSynth = synth;
            // Only the fresh value is default, as comparing with one says.
            EXPECT_EQ(written.IsDefault(), written == ImodelFlowOptions());
            ImodelFlowOptions reset = written;
            reset.SetDefault();
            EXPECT_TRUE(reset.IsDefault());
            const std::string text = WrittenBy([&](std::ostream* stream) { written.WriteFlowOptions(stream); });
            Lines lines = ProjectFileBlock(text, "FlowOptions");
            lines.push_back("ENDLIST");
            lines.push_back("NEXT SECTION");
            ImodelFlowOptions read;
            read.UsePhySynth = !phy;
            read.UseSynth = !synth;
            bool hasUseSynth = false;
            read.ReadFlowOptions(lines, hasUseSynth);
            EXPECT_TRUE(read == written);
            EXPECT_FALSE(read != written);
            EXPECT_TRUE(hasUseSynth);
            EXPECT_EQ(lines, Lines{"NEXT SECTION"});
        }
    }
}

TEST(FlowOptions, ReadingStartsFromTheDefaultsAndStopsAtTheFirstWholeEndList)
{
    ImodelFlowOptions options;
    options.UsePhySynth = true;
    options.UseSynth = false;
    Lines lines = {"ENDLIST", "UsePhySynth=TRUE"};
    bool hasUseSynth = false;
    options.ReadFlowOptions(lines, hasUseSynth);
    EXPECT_TRUE(options == ImodelFlowOptions());
    EXPECT_FALSE(hasUseSynth);
    EXPECT_EQ(lines, Lines{"UsePhySynth=TRUE"});

    // "TRUE" in any case is true; keys are case-sensitive; stray lines are
    // skipped; CRLF reads alike; "ENDLIST " is no end.
    lines = {"UsePhySynth=tRuE\r", "usesynth=TRUE", "garbage", "UseSynth=\r", "ENDLIST ", "ENDLIST\r", "after"};
    options.ReadFlowOptions(lines, hasUseSynth);
    EXPECT_TRUE(options.UsePhySynth);
    EXPECT_FALSE(options.UseSynth);
    EXPECT_TRUE(hasUseSynth);
    EXPECT_EQ(lines, Lines{"after"});

    // A block that runs out of lines ends without error.
    lines = {"UseSynth=FALSE"};
    options.ReadFlowOptions(lines, hasUseSynth);
    EXPECT_TRUE(lines.empty());
    options.WriteFlowOptions(nullptr);
}
