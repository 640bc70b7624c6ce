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

TEST(MdbArgSet, ASetStartsEmptyWhateverTheSetsBeforeItHeld)
{
    MessageRecorder recorder;
    const std::string longText(200, 'x');
    for (int round = 0; round < 20; ++round) {
        const int full = MdbArgSetInit(3);
        MdbArgSetString(full, 0, longText.c_str());
        MdbArgSetInteger(full, 1, round);
        MdbArgSetString(full, 2, "third");
        Emit(full, "%s");
        // The sets that follow reuse what the delivered ones held.
        const int sparse = MdbArgSetInit(4);
        MdbArgSetString(sparse, 1, "only");
        Emit(sparse, "[%s][%s][%s][%s]");
        const int flipped = MdbArgSetInit(1);
        MdbArgSetInteger(flipped, 0, -round);
        Emit(flipped, "%s");
        const int textAgain = MdbArgSetInit(2);
        MdbArgSetInteger(textAgain, 0, 7);
        MdbArgSetString(textAgain, 0, "short");
        Emit(textAgain, "%s|%s");
    }
    const std::vector<std::string> texts = recorder.Texts();
    ASSERT_EQ(texts.size(), 80u);
    for (int round = 0; round < 20; ++round) {
        EXPECT_EQ(texts[4 * round], longText);
        EXPECT_EQ(texts[4 * round + 1], "[][only][][]");
        EXPECT_EQ(texts[4 * round + 2], std::to_string(-round));
        EXPECT_EQ(texts[4 * round + 3], "short|");
    }
}

TEST(MdbArgSet, SetsNeverHandedOnAreDroppedOldestFirst)
{
    MessageRecorder recorder;
    // As many as may wait at once: any set left from before is gone after.
    std::vector<int> waiting;
    for (int i = 0; i < 1024; ++i) {
        waiting.push_back(MdbArgSetInit(1));
        MdbArgSetInteger(waiting.back(), 0, i);
    }
    const int newest = MdbArgSetInit(1);
    EXPECT_EQ(MdbArgSetInteger(waiting.front(), 0, 0), -1);
    EXPECT_EQ(MdbArgSetString(newest, 0, "newest"), 0);
    // The rest are still there, each with its own value, in any order of use.
    Emit(newest, "%s");
    for (std::size_t i = waiting.size() - 1; i >= 1; --i) Emit(waiting[i], "%d");
    const std::vector<std::string> texts = recorder.Texts();
    ASSERT_EQ(texts.size(), 1024u);
    EXPECT_EQ(texts.front(), "newest");
    for (std::size_t i = 1; i < texts.size(); ++i) EXPECT_EQ(texts[i], std::to_string(1024 - i));
}
