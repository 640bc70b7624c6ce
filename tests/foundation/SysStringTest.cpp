// Number conversions and command-line words (the debug print is checked
// through PrintCapture in every suite and shell_starts_clean.tcl).
#include "foundation/Sys.h"

#include <climits>
#include <gtest/gtest.h>

TEST(SysString, WholeTextNumbers)
{
    int value = 42;
    EXPECT_TRUE(UtlConvertToInteger(" -17 ", value));
    EXPECT_EQ(value, -17);
    value = 42;
    for (const char* bad : {"", "  ", "12a", "1 2", "2/impl", "+-3", "--3", "+", "-", "0x10", "2147483648", "1.5"}) {
        EXPECT_FALSE(UtlConvertToInteger(bad, value)) << bad;
        EXPECT_FALSE(UtlIsInteger(bad)) << bad;
    }
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(UtlIsInteger("007"));

    long long big = 0;
    EXPECT_TRUE(UtlConvertToLong("-9223372036854775808", big));
    EXPECT_EQ(big, LLONG_MIN);
    EXPECT_FALSE(UtlConvertToLong("9223372036854775808", big));
    EXPECT_EQ(big, LLONG_MIN);
    EXPECT_TRUE(UtlIsLong("2147483648"));
}

TEST(SysString, CommandLineWords)
{
    std::vector<std::string> words{"kept"};
    EXPECT_EQ(ArgsParse("  vlog  -work\twork \"my file.v\" ", words), 4);
    EXPECT_EQ(words, (std::vector<std::string>{"kept", "vlog", "-work", "work", "my file.v"}));
    words.clear();
    EXPECT_EQ(ArgsParse("a\"b c\"d \"say \\\"hi\\\"\" \"\" C:\\tools\\x.exe", words), 4);
    EXPECT_EQ(words, (std::vector<std::string>{"ab cd", "say \"hi\"", "", "C:\\tools\\x.exe"}));
    words.clear();
    EXPECT_EQ(ArgsParse("tool \"unterminated  rest", words), 2);
    EXPECT_EQ(words.back(), "unterminated  rest");
    // No limit on the number of words.
    std::string many;
    for (int i = 0; i < 5000; ++i) many += "w" + std::to_string(i) + " ";
    words.clear();
    EXPECT_EQ(ArgsParse(many, words), 5000);
}
