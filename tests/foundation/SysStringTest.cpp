// Number conversions and command-line words (the debug print is checked
// through PrintCapture in every suite and shell_starts_clean.tcl).
#include "foundation/Sys.h"

#include <climits>
#include <gtest/gtest.h>

#include <random>

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

// A word quoted for a command line is read back as that one word, whatever
// it holds: blanks of every kind, quotes, backslashes (at its end too,
// where they could escape the closing quote), or nothing.
TEST(SysString, QuotedWordsReadBackAsThemselves)
{
    EXPECT_EQ(ArgsQuote("plain"), "plain");
    EXPECT_EQ(ArgsQuote("plain", true), "\"plain\"");
    EXPECT_EQ(ArgsQuote("my tools\\"), "\"my tools\"\\");
    std::mt19937 random(7);
    const std::string alphabet = "ab \t\r\n\"\\";
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::string> line(1 + random() % 4);
        for (std::string& word : line)
            for (std::size_t length = random() % 7; length > 0; --length) word += alphabet[random() % alphabet.size()];
        const bool always = random() % 2 == 0;
        std::string text;
        for (const std::string& word : line) text += ArgsQuote(word, always) + " ";
        std::vector<std::string> words;
        ASSERT_EQ(ArgsParse(text, words), static_cast<int>(line.size())) << text;
        ASSERT_EQ(words, line) << text;
    }
}
