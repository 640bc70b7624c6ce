// Wildcard matching.
#include "foundation/Sys.h"

#include <gtest/gtest.h>

TEST(WcmMatch, StarsAndQuestionMarks)
{
    struct Case {
        const char* pattern;
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"*", "", 1},           {"", "a", 0},          {"??", "a", 0},
        {"*.v", "top.vhd", 0},  {"t?p.*", "top.v", 1}, {"a*b*c", "aXbYbZc", 1},
        {"a*b*c", "aXbYc.", 0}, {"a**b", "ab", 1},     {"*?", "", 0},
        {"***", "", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(WcmMatch(c.pattern, c.text), c.expected) << c.pattern << " " << c.text;
}

TEST(WcmMatch, CaseHandling)
{
    EXPECT_EQ(WcmMatch("*.VHD", "Top.vhd"), 1);
    EXPECT_EQ(WcmMatch("TOP?v", "top.V"), 1);
    EXPECT_EQ(WcmMatchCase("*.VHD", "Top.vhd"), 0);
    EXPECT_EQ(WcmMatchCase("*.vhd", "Top.vhd"), 1);
    EXPECT_EQ(WcmMatch(nullptr, "a"), 0);
    EXPECT_EQ(WcmMatch("*", nullptr), 0);
}

TEST(WcmMatch, PathologicalPatternsFinish)
{
    const std::string text(20000, 'a');
    EXPECT_EQ(WcmMatch("a*a*a*a*a*a*a*a*a*b", text.c_str()), 0);
    EXPECT_EQ(WcmMatch("*a*a*a*a*a*a*a*a*a", text.c_str()), 1);
    const std::string stars = std::string(5000, '*') + "b";
    EXPECT_EQ(WcmMatch(stars.c_str(), text.c_str()), 0);
    EXPECT_EQ(WcmMatch((std::string(3000, '?') + "*").c_str(), text.c_str()), 1);
}
