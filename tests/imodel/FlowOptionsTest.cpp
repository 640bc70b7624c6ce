#include "TextLines.h"
#include "imodel/views/ImodelFlowOptions.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

}  // namespace

TEST(FlowOptions, DefaultsCopiesAndComparison)
{
    ImodelFlowOptions options;
    EXPECT_FALSE(options.UsePhySynth);
    EXPECT_TRUE(options.UseSynth);

    ImodelFlowOptions other(options);
    EXPECT_TRUE(options == other);
    EXPECT_FALSE(options != other);
    other.UsePhySynth = true;
    EXPECT_FALSE(options == other);
    EXPECT_TRUE(options != other);
    options = other;
    EXPECT_TRUE(options == other);
    const ImodelFlowOptions& self = options;
    options = self;
    EXPECT_TRUE(options.UsePhySynth);
    options.SetDefault();
    EXPECT_FALSE(options.UsePhySynth);
    EXPECT_TRUE(options.UseSynth);
    EXPECT_TRUE(options == options);
}

TEST(FlowOptions, WriteThenReadGivesEveryCombinationBack)
{
    for (const bool phy : {false, true}) {
        for (const bool synth : {false, true}) {
            ImodelFlowOptions written;
            written.UsePhySynth = phy;
            written.UseSynth = synth;
            std::ostringstream stream;
            written.WriteFlowOptions(&stream);
            EXPECT_EQ(stream.str(), std::string("LIST FlowOptions\nUsePhySynth=") + (phy ? "TRUE" : "FALSE") +
                                        "\nUseSynth=" + (synth ? "TRUE" : "FALSE") + "\nENDLIST\n");

            std::vector<std::string> lines = TextLines(stream.str());
            lines.erase(lines.begin());  // the caller takes the LIST line
            lines.push_back("NEXT SECTION");
            ImodelFlowOptions read;
            read.UsePhySynth = !phy;
            read.UseSynth = !synth;
            bool hasUseSynth = false;
            read.ReadFlowOptions(lines, hasUseSynth);
            EXPECT_TRUE(read == written);
            EXPECT_TRUE(hasUseSynth);
            EXPECT_EQ(lines, std::vector<std::string>{"NEXT SECTION"});
        }
    }
}

TEST(FlowOptions, ReadingKeepsDefaultsForWhatIsMissing)
{
    ImodelFlowOptions options;
    options.UsePhySynth = true;
    options.UseSynth = false;
    std::vector<std::string> lines = {"ENDLIST", "UsePhySynth=TRUE"};
    bool hasUseSynth = false;
    options.ReadFlowOptions(lines, hasUseSynth);
    EXPECT_FALSE(options.UsePhySynth);
    EXPECT_TRUE(options.UseSynth);
    EXPECT_FALSE(hasUseSynth);
    EXPECT_EQ(lines, std::vector<std::string>{"UsePhySynth=TRUE"});  // stops at the first ENDLIST

    // The flag is never cleared by the reader.
    lines = {"UsePhySynth=true", "ENDLIST"};
    hasUseSynth = true;
    options.ReadFlowOptions(lines, hasUseSynth);
    EXPECT_TRUE(hasUseSynth);
    EXPECT_TRUE(options.UsePhySynth);
    EXPECT_TRUE(lines.empty());
}

TEST(FlowOptions, ValuesKeysAndUnendedBlocks)
{
    ImodelFlowOptions options;
    bool hasUseSynth = false;
    // "TRUE" in any case is true; anything else, the empty value included, false.
    std::vector<std::string> lines = {"UsePhySynth=tRuE", "UseSynth=", "ENDLIST"};
    options.ReadFlowOptions(lines, hasUseSynth);
    EXPECT_TRUE(options.UsePhySynth);
    EXPECT_FALSE(options.UseSynth);
    EXPECT_TRUE(hasUseSynth);

    // Keys are case-sensitive; unknown lines and lines without "=" are skipped;
    // a block that runs out of lines ends without error.
    lines = {"usephysynth=TRUE", "UseSynth=yes", "garbage", "UsePhySynth = TRUE", "=TRUE"};
    hasUseSynth = false;
    options.ReadFlowOptions(lines, hasUseSynth);
    EXPECT_FALSE(options.UsePhySynth);
    EXPECT_FALSE(options.UseSynth);
    EXPECT_TRUE(hasUseSynth);
    EXPECT_TRUE(lines.empty());

    // A block written on Windows reads alike.
    lines = {"UsePhySynth=TRUE\r", "UseSynth=FALSE\r", "ENDLIST\r", "after"};
    options.ReadFlowOptions(lines, hasUseSynth);
    EXPECT_TRUE(options.UsePhySynth);
    EXPECT_FALSE(options.UseSynth);
    EXPECT_EQ(lines, std::vector<std::string>{"after"});

    // "ENDLIST" must be the whole line.
    lines = {"ENDLIST ", "UseSynth=FALSE", "ENDLIST"};
    options.ReadFlowOptions(lines, hasUseSynth);
    EXPECT_FALSE(options.UseSynth);
    EXPECT_TRUE(lines.empty());

    options.WriteFlowOptions(nullptr);  // nothing to write to: nothing happens
}
