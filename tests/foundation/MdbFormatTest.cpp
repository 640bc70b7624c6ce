// Message formatting and argument sets.
#include "MessageRecorder.h"

#include <foundation/Mdb.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

MdbArg Str(const std::string& text) { return MdbArg{false, text, 0}; }
MdbArg Int(int value) { return MdbArg{true, std::string(), value}; }

constexpr std::uint32_t kNumber = (1200u << 16) | 600u;

void Emit(int args, const char* text)
{
    MdbOutput(args, nullptr, "Quorlane", "TEST", MdbINFO, MdbLINE, text, kNumber, 0);
}

}  // namespace

TEST(MdbFormat, PlaceholdersTakeArgumentsInOrderAndArgumentsAreNeverFormats)
{
    EXPECT_EQ(MdbFormat("v%d.%d", {Int(8), Int(-4)}), "v8.-4");
    EXPECT_EQ(MdbFormat("%s|%d", {Int(42), Str("text")}), "42|text");  // each kind prints as itself
    EXPECT_EQ(MdbFormat("100%% of %s, 5%%", {Str("x")}), "100% of x, 5%");
    EXPECT_EQ(MdbFormat("[%s][%s][%d]", {Str("a")}), "[a][][]");
    EXPECT_EQ(MdbFormat("<%s>", {Str("%s %d %n %% %x")}), "<%s %d %n %% %x>");
    EXPECT_EQ(MdbFormat("%s%s", {Str("%"), Str("s")}), "%s");
    // Unknown conversions and a lone percent at the end print as they stand.
    EXPECT_EQ(MdbFormat("%n %x %5s 50%", {Str("a")}), "%n %x %5s 50%");
}

TEST(MdbArgSet, BadHandlesAndIndexesAreIgnored)
{
    MessageRecorder recorder;
    EXPECT_EQ(MdbArgSetString(0, 0, "x"), -1);
    EXPECT_EQ(MdbArgSetInteger(123456789, 0, 1), -1);

    const int args = MdbArgSetInit(1);
    EXPECT_EQ(MdbArgSetString(args, 1, "past the end"), -1);
    EXPECT_EQ(MdbArgSetString(args, -1, "before the start"), -1);
    EXPECT_EQ(MdbArgSetString(args, 0, "kept"), 0);
    Emit(args, "%s %s");
    Emit(0, "none: %s.");
    Emit(-5, "unknown: %s.");
    EXPECT_EQ(recorder.Texts(), (std::vector<std::string>{"kept ", "none: .", "unknown: ."}));

    // Counts out of range are clamped, not trusted.
    const int empty = MdbArgSetInit(-3);
    EXPECT_NE(empty, 0);
    EXPECT_EQ(MdbArgSetString(empty, 0, "x"), -1);
    const int huge = MdbArgSetInit(1 << 30);
    EXPECT_EQ(MdbArgSetString(huge, 63, "last"), 0);
    EXPECT_EQ(MdbArgSetString(huge, 64, "beyond"), -1);
    Emit(empty, "");
    Emit(huge, "");
}

TEST(MdbArgSet, SetsFromTwoThreadsStayApart)
{
    MessageRecorder recorder;
    constexpr int kPerThread = 400;
    auto work = [](const std::string& name) {
        for (int i = 0; i < kPerThread; ++i) {
            const int args = MdbArgSetInit(2);
            MdbArgSetString(args, 0, name.c_str());
            MdbArgSetInteger(args, 1, i);
            Emit(args, "%s %d");
        }
    };
    std::thread first(work, "first");
    std::thread second(work, "second");
    first.join();
    second.join();

    std::vector<int> next(2, 0);
    for (const std::string& text : recorder.Texts()) {
        const int who = text.rfind("first ", 0) == 0 ? 0 : 1;
        const std::string expected = (who == 0 ? "first " : "second ") + std::to_string(next[who]++);
        EXPECT_EQ(text, expected);
    }
    EXPECT_EQ(next, (std::vector<int>{kPerThread, kPerThread}));
}
