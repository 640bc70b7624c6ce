#include "FlowProject.h"

#include "ifile/IfileManagerFunctions.h"

using SchematicPages = FlowProject;

// A page number beyond the range of page numbers is no number: page 0.
TEST_F(SchematicPages, AnOutOfRangePageNumberCountsAsPageZero)
{
    Add("sch/top.99999999999999999999", zorpaFT_SCH);
    const auto next = Add("sch/top.1", zorpaFT_SCH);
    auto huge = Files().GetFile(
        IfileObject("<project>/sch/top.99999999999999999999", zorpaFT_SCH, ImodelFMInternal, true, true));
    ASSERT_TRUE(huge);
    int first = -1;
    int last = -1;
    IfileFindAllPagesOfSchematic(huge, first, last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 1);
    EXPECT_EQ(huge, next);
}
