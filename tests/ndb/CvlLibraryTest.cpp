#include "TempFolder.h"

#include <foundation/Def.h>
#include <ndb/CvlLibrary.h>
#include <ndb/NdbWorld.h>

#include <gtest/gtest.h>

// The cell library is the Verilog file named by VERILOGLIB, read once until
// it is freed; a design names its cells in any case.
TEST(CvlLibrary, CellsOfTheNamedLibraryAreMacrosUntilTheLibraryIsFreed)
{
    TempFolder folder;
    const std::string library = folder.Write("cells.v", "module AND2(input A, B, output O); endmodule\n"
                                                        "module FD(input D, C, output Q); endmodule\n");
    NdbWorld* world = NdbCreateDefaultWorld("temp");
    CvlLibFree();
    DefUnset("VERILOGLIB");
    EXPECT_FALSE(CvlIsBrennicMacro("AND2", world));  // no library set

    ASSERT_EQ(DefSetFL("VERILOGLIB", library.c_str()), 0);
    EXPECT_FALSE(CvlIsBrennicMacro("AND2", world));  // still the library read before
    CvlLibFree();
    EXPECT_TRUE(CvlIsBrennicMacro("AND2", world));
    EXPECT_TRUE(CvlIsBrennicMacro("and2", world));
    EXPECT_TRUE(CvlIsBrennicMacro("Fd", nullptr));
    EXPECT_FALSE(CvlIsBrennicMacro("", world));

    folder.Write("cells.v", "module OR2(input A, B, output O); endmodule\n");
    CvlLibFree();
    EXPECT_FALSE(CvlIsBrennicMacro("AND2", world));
    EXPECT_TRUE(CvlIsBrennicMacro("OR2", world));

    ASSERT_EQ(DefSetFL("VERILOGLIB", (folder / "missing.v").c_str()), 0);
    CvlLibFree();
    EXPECT_FALSE(CvlIsBrennicMacro("OR2", world));  // an unreadable library has no cells
    DefUnset("VERILOGLIB");
    CvlLibFree();
    NdbDelAll(world);
}
