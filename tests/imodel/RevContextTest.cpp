#include "ContextTestProject.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/views/ImodelRevContextImpl.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <string>

using RevContext = ContextTestProject;

TEST_F(RevContext, UsedFilesHoldOneFilePerType)
{
    ImodelRevContextImpl rev("impl_1", nullptr);
    const IfileObject first = File("synthesis/top.edn", zorpaFT_SYN_EDN);
    const IfileObject second = File("synthesis/alt.edn", zorpaFT_SYN_EDN);
    const IfileObject timing = File("constraint/top.sdc", zorpaFT_SDC);
    rev.UseFile(first, true);
    rev.UseFile(timing, false);
    rev.UseFile(second, true);
    ASSERT_EQ(rev.GetUsedFiles().size(), 2u);
    EXPECT_FALSE(rev.IsFileUsed(first));
    EXPECT_TRUE(rev.IsFileUsed(File("SYNTHESIS/ALT.EDN", zorpaFT_SYN_EDN)));  // another spelling
    EXPECT_FALSE(rev.IsValidUsedFile(rev.GetUsedFile(zorpaFT_PDC)));
    ImodelRevContextImpl other("impl_2", nullptr);
    other.UseFile(timing, false);
    EXPECT_FALSE(rev.IsValidUsedFile(other.GetUsedFile(zorpaFT_SDC)));
}

TEST_F(RevContext, CopiesTakeTheFlowOptionsAndUsedFilesAndWithAllEverything)
{
    DefOverRideGuard choice("IDE_SELECT_FLOW_FILE_FEATURE_ENABLED", "1");
    const auto file = Entry("synthesis/top.edn", zorpaFT_SYN_EDN, false);
    ImodelRevContextImpl original("impl_1", nullptr);
    original.SetSolvatoState(Post_Layout);
    original.SetToolStateForFile(idePALLADOR, file, StateSuccess);
    ImodelFlowOptions options;
    options.UsePhySynth = true;
    original.SetFlowOptions(options);
    original.UseFile(*file, false);
    ImodelRevContextImpl partial(original, nullptr, false);
    EXPECT_EQ(partial.GetSolvatoState(), Pre_Synthesis);
    EXPECT_EQ(partial.GetToolStateForFile(idePALLADOR, file), StateNoResult);
    EXPECT_EQ(*partial.GetFlowOptions(), options);
    EXPECT_TRUE(partial.IsFileUsed(*file));
    // The whole copy is independent; a removed file loses its results in it alone.
    ImodelRevContextImpl whole(original, nullptr, true);
    EXPECT_EQ(whole.GetSolvatoState(), Post_Layout);
    whole.NotifyFileRemoved(file);
    EXPECT_EQ(whole.GetToolStateForFile(idePALLADOR, file), StateNoResult);
    EXPECT_EQ(original.GetToolStateForFile(idePALLADOR, file), StateSuccess);
}
