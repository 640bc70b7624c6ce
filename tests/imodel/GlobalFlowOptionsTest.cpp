// The project-wide flow switches: every
// combination through the project file and back, and strict reading.
#include "OptionsScope.h"
#include "ProjectFileBlock.h"

#include "imodel/options/ImodelGlobalFlowOptions.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using GlobalFlowOptionsTest = OptionsFixture;

std::string Written(const ImodelGlobalFlowOptions& options)
{
    return WrittenBy([&](std::ostream* stream) { options.WriteGlobalFlowOptions(stream); });
}

// Read as the project reader does: defaults first, then each line.
ImodelGlobalFlowOptions ReadBack(const std::string& text)
{
    ImodelGlobalFlowOptions options;
    options.SetDefault();
    ReadKeyValueLines(
        text, [&](const std::string& key, const std::string& value) { options.ReadGlobalFlowOptions(key, value); });
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

}  // namespace

TEST_F(GlobalFlowOptionsTest, EveryCombinationReadsBackEqualThroughTheProjectFile)
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
