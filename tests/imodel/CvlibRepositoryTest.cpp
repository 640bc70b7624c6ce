#include "RepositoryTestSupport.h"
#include "TempFolder.h"

#include "imodel/cores/ImodelCvlibRepository.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

class CvlibRepositoryTest : public testing::Test {
protected:
    CvlibRepositoryTest()
    {
        const std::string library = folder.Write("cells.v", "module OR2(input A, B, output Y); endmodule\n"
                                                            "module VCC(output Y); endmodule\n"
                                                            "module AND2(input A, B, output Y); endmodule\n"
                                                            "module GND(output Y); endmodule\n"
                                                            "module PWR(output Y); endmodule\n");
        DefSetFL("VERILOGLIB", library.c_str());
    }
    ~CvlibRepositoryTest() override { DefUnset("VERILOGLIB"); }

    Lines Cells() const
    {
        const auto [first, last] = repository.GetBrennicCells();
        return Lines(first, last);
    }

    TempFolder folder;
    ImodelCvlibRepository repository;
    RepositoryEventRecorder recorder{&repository};
};

TEST_F(CvlibRepositoryTest, AnUnsetOrUnreadableLibraryListsNothing)
{
    repository.LoadPlugin();
    ASSERT_EQ(Cells().size(), 2u);
    DefUnset("VERILOGLIB");
    recorder.lines.clear();
    EXPECT_TRUE(repository.LoadPlugin());
    EXPECT_TRUE(Cells().empty());
    EXPECT_EQ(repository.GetPluginState(), CatalogUnreadable);
    EXPECT_EQ(recorder.lines, (Lines{"changed cvlib 0", "ready cvlib"}));

    const std::string missing = folder / "missing.v";
    DefSetFL("VERILOGLIB", missing.c_str());
    DebugCapture debug;
    const int assertions = SysAssertionCount();
    EXPECT_TRUE(repository.LoadPlugin());
    EXPECT_TRUE(Cells().empty());
    EXPECT_EQ(repository.GetPluginState(), CatalogUnreadable);
    EXPECT_EQ(debug.Text(), "ERROR: Unable to read the cell library " + missing + "\n");
    EXPECT_EQ(SysAssertionCount(), assertions);
}

}  // namespace
