#include <foundation/Brennic.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

// Reads like C's atoi wherever atoi is defined, and holds the limits where
// atoi is not.
TEST(BrennicAToI, ReadsTheLeadingNumberAsAtoiAndHoldsTheLimits)
{
    for (const char* text :
         {"0", "7", "-1", "+15", "  42abc", "\t-8 downto", "abc", "", "-", "2147483647", "-2147483648", "007", "1e3"})
        EXPECT_EQ(BrennicAToI(text), std::atoi(text)) << '"' << text << '"';
    EXPECT_EQ(BrennicAToI("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(BrennicAToI("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(BrennicAToI("2147483648"), INT_MAX);
    // A view ends where it ends, whatever follows in memory.
    const std::string text = "12345";
    EXPECT_EQ(BrennicAToI(std::string_view(text).substr(0, 2)), 12);
}
