// Schematics scanned through the wire files of their pages.
#include "ScanDesignSupport.h"

namespace {

class SchematicScan : public ScanDesignFixture {
protected:
    void SetUp() override
    {
        ScanDesignFixture::SetUp();
        ScanDesign().SetDefaultVHDL(false);
    }
};

}  // namespace

TEST_F(SchematicScan, PagesFoundOnDiskAreScannedFromTheLastDownToTheFirst)
{
    m_folder.Write("wir/top.1", "I 1 page1 1 0 0\n");
    m_folder.Write("wir/top.2", "V 2\r\nI 7 page2 1 0 0\r\nN 3\r\n");
    m_folder.Write("wir/top.3", "I 9 page3 1 0 0\n");
    const std::string page3 = m_folder.Write("sch/top.3", "");
    Enter(page3, "work", zorpaFT_SCH);
    const Result result = Scan("sch/top.1", "", zorpaMODULE_SCHEMATIC);
    EXPECT_TRUE(result.parsed);
    EXPECT_EQ(Tree(), "TOP\n"
                      "  PAGE3 ?\n"
                      "  PAGE2 ?\n"
                      "  PAGE1 ?\n");
    // The unit stands for the schematic's last page.
    ASSERT_NE(Unit("TOP"), nullptr);
    EXPECT_EQ(Unit("TOP")->GetFileName(), page3);
    EXPECT_EQ(Unit("TOP")->GetModuleType(), zorpaMODULE_SCHEMATIC);
}

TEST_F(SchematicScan, HdlBlocksKeepTheirNameAndOddSymbolsAreSkipped)
{
    m_folder.Write("wir/cpu.1", "I 1 alu 1 0 0\n"
                                "AS 0 VHDL=Alu\n"
                                "I 2 reg8 1 0 0\n"
                                "I 3 ? 1 0 0\n"
                                "I 4 builtin:gnd 1 0 0\n"
                                "I 5\n"
                                "I\n"
                                "I 6 cpu 1 0 0\n"
                                "AS 0 VERILOG=Mem=Core\n"
                                "I 7 core 1 0 0\n");
    const Result result = Scan("sch/cpu.1", "", zorpaMODULE_SCHEMATIC, "work", false, {}, 1, 1);
    EXPECT_TRUE(result.parsed);
    // Given pages are taken as they are: the unit keeps the schematic's file.
    EXPECT_EQ(Tree(), "CPU\n"
                      "  Alu ?\n"
                      "  REG8 ?\n"
                      "  Core ?\n");
    EXPECT_EQ(Unit("CPU")->GetFileName(), m_folder / "sch/cpu.1");
}

TEST_F(SchematicScan, AMissingPageIsReportedAndTheOthersAreStillRead)
{
    m_folder.Write("wir/blk.2", "I 1 sub 1 0 0\n");
    testing::internal::CaptureStdout();
    const Result result = Scan("sch/blk.1", "", zorpaMODULE_SCHEMATIC, "work", false, {}, 1, 3);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Unable to open file!\nUnable to open file!\n");
    EXPECT_TRUE(result.parsed);
    EXPECT_EQ(Tree(), "BLK\n"
                      "  SUB ?\n");
}

TEST_F(SchematicScan, OnlyTheFilesOwnNameGivesThePageAndPagesStopAtTheFirstGap)
{
    // The dot of a folder is no extension: the schematic "top" has page 0.
    m_folder.Write("my.design/wir/top.0", "I 1 zero 1 0 0\n");
    m_folder.Write("my.design/wir/top.1", "I 1 one 1 0 0\n");
    m_folder.Write("my.design/wir/top.3", "I 1 three 1 0 0\n");
    const Result result = Scan("my.design/sch/top", "", zorpaMODULE_SCHEMATIC);
    EXPECT_TRUE(result.parsed);
    EXPECT_EQ(Tree(), "TOP\n"
                      "  ONE ?\n"
                      "  ZERO ?\n");
    // A page number past the range of numbers ends the search.
    m_folder.Write("wir/big.2147483647", "I 1 last 1 0 0\n");
    Clear();
    EXPECT_TRUE(Scan("sch/big.2147483647", "", zorpaMODULE_SCHEMATIC).parsed);
    EXPECT_EQ(Tree(), "BIG\n"
                      "  LAST ?\n");
}
