// String helpers, number conversions, command-line words, debug print and
// assertion reports.
#include "foundation/Sys.h"

#include "foundation/Def.h"

#include "TempFolder.h"

#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

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

TEST(SysPrint, InternalTracesReachTheTerminalOnlyWithDebugMsg)
{
    TempFolder folder;
    const std::string captured = folder / "stderr";
    DefReset();
    {
        // Redirect stderr to a file for the duration.
        std::fflush(stderr);
        const int saved = dup(STDERR_FILENO);
        const int file = open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(file, 0);
        dup2(file, STDERR_FILENO);
        close(file);

        SysDebugPrintf("hidden %d\n", 1);
        SysPrintf("shown %d\n", 2);
        DefSetFL("DEBUG_MSG", "1");
        SysDebugPrintf("shown %d\n", 3);

        std::fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
    DefReset();
    EXPECT_EQ(folder.Read("stderr"), "shown 2\nshown 3\n");
}
