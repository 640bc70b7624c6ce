#include <zorpa/ZorpaString.h>

#include <gtest/gtest.h>

TEST(ZorpaString, CaseChangesAreAsciiOnly)
{
    std::string text = "Top_Level.VHD \xC4";
    ZorpaMakeUpper(text);
    EXPECT_EQ(text, "TOP_LEVEL.VHD \xC4");
    ZorpaMakeLower(text);
    EXPECT_EQ(text, "top_level.vhd \xC4");
}

TEST(ZorpaString, LeftAndRightPartsClampTheirCountAndCompareNoCaseOrdersLikeLowerCase)
{
    EXPECT_EQ(ZorpaGetLeftString("ab", 10), "ab");
    EXPECT_EQ(ZorpaGetRightString("", 3), "");
    EXPECT_EQ(ZorpaCompareNoCase("Work", "wORK"), 0);
    EXPECT_LT(ZorpaCompareNoCase("alpha", "Beta"), 0);
    EXPECT_LT(ZorpaCompareNoCase("lib", "library"), 0);
}

TEST(ZorpaString, SeparatorsBecomeSlashesAndFoldersLoseTrailingOnes)
{
    std::string file = "C:\\proj\\hdl\\a.v";
    ZorpaSetValidSeparator(file, false);
    EXPECT_EQ(file, "C:/proj/hdl/a.v");

    std::string keepsTrailing = "a\\b\\";
    ZorpaSetValidSeparator(keepsTrailing, false);
    EXPECT_EQ(keepsTrailing, "a/b/");

    const std::pair<std::string, std::string> folders[] = {
        {"a\\b\\", "a/b"}, {"/a/b//", "/a/b"}, {"/", "/"}, {"//", "//"}, {"\\\\", "//"}, {"", ""}, {"x", "x"}};
    for (const auto& [input, expected] : folders) {
        std::string folder = input;
        ZorpaSetValidSeparator(folder, true);
        EXPECT_EQ(folder, expected) << input;
    }
}

TEST(ZorpaString, WindowsLineEndsLoseTheirCarriageReturn)
{
    std::string text = "line 1\r\nline 2\r\n\r\nlast\r";
    ZorpaRemoveWindowsEOL(text);
    EXPECT_EQ(text, "line 1\nline 2\n\nlast");

    std::string inner = "a\rb\n";
    ZorpaRemoveWindowsEOL(inner);
    EXPECT_EQ(inner, "a\rb\n");  // a lone carriage return inside a line stays
}
