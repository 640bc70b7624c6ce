// Options database: layers, scoped lookups, choices, external names, writes.
#include "foundation/Def.h"
#include "foundation/Sys.h"

#include "OptionsScope.h"
#include "PrintCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

class DefTest : public OptionsFixture {
protected:
    static void Load(const std::string& text)
    {
        std::string error;
        ASSERT_TRUE(DefLoadDefaultsFromText(text, &error)) << error;
    }

    static std::string Get(const char* name) { return DefGetFL(name).value_or("<none>"); }

    static std::vector<std::string> Visible(const char* name)
    {
        std::vector<std::string> values{"stale"};
        DefGetAllVisList(name, values);
        return values;
    }
};

using Words = std::vector<std::string>;

const char* const kCatalogue = R"(# a small device catalogue
FAM = ZX7
@choices FAM = ZX7 ZX9 QL3
@choices DIE[QFAM=ZX7] = zx7a zx7b
@choices DIE[QFAM=ZX9] = zx9a
@choices PACKAGE[QFAM=ZX7,QDIE=zx7a] = pq208 fg256
FAMILY_CHANGE_ALLOWED = 
FAMILY_CHANGE_ALLOWED[FAM=ZX7] = ZX9 QL3
IS_DEVICE_SELECTION_MANDATORY[QFAM=QL3] = 1
)";

TEST_F(DefTest, ScopedValuesFollowTheCurrentFamilyAndFallBackToThePlainValue)
{
    Load(kCatalogue);
    EXPECT_EQ(Get("FAMILY_CHANGE_ALLOWED"), "ZX9 QL3");  // FAM from the plain default

    ASSERT_EQ(DefSetFL("FAM", "zx9"), 0);  // condition values ignore case
    EXPECT_EQ(Get("FAMILY_CHANGE_ALLOWED"), "");
    ASSERT_EQ(DefSetFL("FAM", "zx7"), 0);
    EXPECT_EQ(Get("FAMILY_CHANGE_ALLOWED"), "ZX9 QL3");

    // Query variables: no value, no match; overridden, the scoped value.
    Words dies{"stale"};
    EXPECT_NE(DefGetAllVisList("DIE", dies), 0) << "no list without a family";
    EXPECT_EQ(dies, Words{});
    {
        DefOverRideGuard family("QFAM", "ZX9");
        EXPECT_EQ(Visible("DIE"), Words{"zx9a"});
    }
    {
        DefOverRideGuard family("QFAM", "ZX7");
        DefOverRideGuard die("QDIE", "ZX7A");
        EXPECT_EQ(Visible("DIE"), (Words{"zx7a", "zx7b"}));
        EXPECT_EQ(Visible("PACKAGE"), (Words{"pq208", "fg256"}));
    }
    EXPECT_EQ(Visible("PACKAGE"), Words{});
}

TEST_F(DefTest, TheMostSpecificMatchingDefinitionWins)
{
    Load(R"(PASS = plain
PASS[QTOOL_TYPE=SYNPLIFY7_EXT] = tool
PASS[QFILE_TYPE=SDC] = type
PASS[QFILE_TYPE=SDC,QTOOL_TYPE=SYNPLIFY7_EXT] = both
PASS[QFILE_TYPE=PDC] = old
PASS[ QFILE_TYPE = pdc ] = replaced
)");
    EXPECT_EQ(Get("PASS"), "plain");
    DefOverRideGuard tool("QTOOL_TYPE", "SYNPLIFY7_EXT");
    EXPECT_EQ(Get("PASS"), "tool");
    {
        DefOverRideGuard type("QFILE_TYPE", "SDC");
        EXPECT_EQ(Get("PASS"), "both");
    }
    // Two matching definitions of one condition each: the one written last.
    DefOverRideGuard type("QFILE_TYPE", "PDC");
    EXPECT_EQ(Get("PASS"), "replaced");
    DefOverRideGuard otherTool("QTOOL_TYPE", "PRECISION_EXT");
    EXPECT_EQ(Get("PASS"), "replaced");
}

TEST_F(DefTest, ConditionVariablesAreReadThroughEveryLayerWithoutRecursion)
{
    Load(R"(QFAM = ZX7
QFAM[FAM=ZX9] = QL3
V = plain
V[QFAM=ZX7] = zx7
V[QFAM=QL3] = ql3
A[B=1] = 1
B[A=1] = 1
)");
    EXPECT_EQ(Get("V"), "zx7");  // plain default of the condition variable
    ASSERT_EQ(DefSetFL("FAM", "ZX9"), 0);
    EXPECT_EQ(Get("QFAM"), "QL3");
    EXPECT_EQ(Get("V"), "zx7") << "a condition variable's own scoped values are not consulted";
    ASSERT_EQ(DefSetFL("QFAM", "QL3"), 0);
    EXPECT_EQ(Get("V"), "ql3");
    {
        DefOverRideGuard family("QFAM", "unknown");
        EXPECT_EQ(Get("V"), "plain");
    }
    // Conditions on each other: no value, no match, no endless descent.
    EXPECT_FALSE(DefGetFL("A"));
    ASSERT_EQ(DefSetFL("B", "1"), 0);
    EXPECT_EQ(Get("A"), "1");
}

TEST_F(DefTest, ABackgroundReaderSeesWholeValuesWhileTheDatabaseChanges)
{
    Load(kCatalogue);
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!stop) {
            const std::string value = DefGetFL("VALUE").value_or("a");
            if (value != "a" && value != std::string(64, 'b')) ++torn;
            Words families;
            DefGetAllVisList("FAM", families);
            if (!families.empty() && families != (Words{"ZX7", "ZX9", "QL3"})) ++torn;
        }
    });
    for (int i = 0; i < 2000; ++i) {
        DefSetFL("VALUE", i % 2 ? "a" : std::string(64, 'b').c_str());
        DefOverRideGuard family("QFAM", i % 2 ? "ZX7" : "ZX9");
        if (i % 100 == 0) Load(kCatalogue);
    }
    stop = true;
    reader.join();
    EXPECT_EQ(torn, 0);
}

TEST_F(DefTest, OverridesNestAndAreUndone)
{
    Load("MODE = default\n");
    ASSERT_EQ(DefSetFL("MODE", "user"), 0);
    ASSERT_EQ(DefOverRideFL("MODE", "outer"), 0);
    ASSERT_EQ(DefOverRideFL("MODE", "inner"), 0);
    ASSERT_EQ(DefSetFL("MODE", "changed"), 0);
    EXPECT_EQ(Get("MODE"), "inner") << "an override hides the user's value";
    EXPECT_EQ(DefUnOverRide("MODE"), 0);
    EXPECT_EQ(Get("MODE"), "outer");
    EXPECT_EQ(DefUnOverRide("MODE"), 0);
    EXPECT_NE(DefUnOverRide("MODE"), 0);
    EXPECT_EQ(Get("MODE"), "changed") << "a stray undo changes nothing";
    {
        DefOverRideGuard refused("BAD NAME", "x");
    }
    EXPECT_FALSE(DefGetFL("BAD NAME"));
}

TEST_F(DefTest, BooleanIntegerAndTextReads)
{
    for (const auto& [text, expected] :
         std::vector<std::pair<const char*, int>>{{"Yes", 1}, {"on", 1}, {"Off", 0}, {" -3 ", -3}}) {
        ASSERT_EQ(DefSetFL("B", text), 0);
        int value = 99;
        EXPECT_EQ(DefGetBoolFL("B", &value, __FILE__, __LINE__), 0) << text;
        EXPECT_EQ(value, expected) << text;
    }
    for (const char* bad : {"maybe", "", "12abc", "99999999999"}) {
        ASSERT_EQ(DefSetFL("B", bad), 0);
        int value = 99;
        EXPECT_NE(DefGetBoolFL("B", &value), 0) << bad;
        EXPECT_NE(DefGetIntFL("B", &value), 0) << bad;
        EXPECT_EQ(value, 99) << "unchanged after a failed read of " << bad;
    }
    // Buffer form: whole values only, always terminated.
    ASSERT_EQ(DefSetFL("S", "abcd"), 0);
    char small[4] = "xxx";
    EXPECT_NE(DefGetStrFL("S", small, sizeof small), 0);
    EXPECT_STREQ(small, "");
    EXPECT_NE(DefGetStrFL("S", static_cast<char*>(nullptr), 8), 0);
}

TEST_F(DefTest, JoinedChoicesSplitBackIntoTheSameWords)
{
    const Words words{"plain", "two words", "", "quote\"inside", "back\\slash", "ends with\\", "mid\\\"both x"};
    const std::string list = R"(plain "two words" "" "quote\"inside" back\slash "ends with"\ "mid\\"both x")";
    Load("@choices W = " + list + "\n");
    ASSERT_EQ(Visible("W"), words);
    char buffer[256];
    ASSERT_EQ(DefGetAllVisList("W", buffer, sizeof buffer), 0);
    EXPECT_EQ(buffer, list);
    Words split;
    ArgsParse(buffer, split);
    EXPECT_EQ(split, words) << buffer;
    Load(std::string("@choices W = ") + buffer + "\n");
    EXPECT_EQ(Visible("W"), words) << buffer;
}

TEST_F(DefTest, WritesThatCannotBeStoredAreRefusedAndReported)
{
    PrintCapture printed;
    ASSERT_EQ(DefSetFL("KEEP", "old"), 0);
    const std::pair<const char*, const char*> kRefused[] = {
        {"", "x"},         {"A B", "x"},  {"A\tB", "x"},    {"A=B", "x"},    {"A[B", "x"},   {"#A", "x"},
        {"@choices", "x"}, {"A\nB", "x"}, {"KEEP", "a\nb"}, {"KEEP", "a\r"}, {nullptr, "x"}, {"KEEP", nullptr}};
    for (const auto& [name, value] : kRefused) {
        EXPECT_NE(DefSetFL(name, value, "caller.cpp", 42), 0) << (name ? name : "null");
        EXPECT_NE(DefOverRideFL(name, value), 0);
    }
    EXPECT_EQ(Get("KEEP"), "old");
    EXPECT_TRUE(printed.Holds("caller.cpp:42"));
    EXPECT_TRUE(printed.Holds("line break"));
    // Everything else is a fine name or value.
    EXPECT_EQ(DefSetFL("A-B.C\"D", " # \"%s\" \t"), 0);
    EXPECT_EQ(Get("A-B.C\"D"), " # \"%s\" \t");
}

TEST_F(DefTest, DefaultsTextReadsCommentsBlanksQuotesAndCrlf)
{
    Load("# comment\r\n\r\n   # indented comment\r\nA = 1 # not a comment\r\n  B=  \"  padded \"  \r\n"
         "C =\r\nD = \"\r\nE = \"\"\r\nF=\"\"\"\"\r\nG = a = b");
    EXPECT_EQ(Get("A"), "1 # not a comment");
    EXPECT_EQ(Get("B"), "  padded ");
    EXPECT_EQ(Get("D"), "\"");
    EXPECT_EQ(Get("F"), "\"\"");
    EXPECT_EQ(Get("G"), "a = b");
    EXPECT_FALSE(DefGetFL("# comment"));
}

TEST_F(DefTest, AMalformedDefaultsTextReplacesNothing)
{
    Load("KEEP = 1\n@choices KEEP = a\n");
    for (const char* line : {"A B = 1", "= 1", "A", "X[QFAM=ZX7 = 1", "X[QFAM] = 1", "X[QFAM=a=b] = 1", "X]Y = 1",
                             "@choices X = \"open", "@unknown X = 1", "@ext x =", "X = a\rb"}) {
        std::string error;
        EXPECT_FALSE(DefLoadDefaultsFromText("# first\nGOOD = 1\n" + std::string(line) + "\n", &error)) << line;
        EXPECT_NE(error.find(":3: "), std::string::npos) << line << " -> " << error;
    }
    std::string error;
    EXPECT_FALSE(DefLoadDefaultsFromText(std::string("X = a\0b\n", 8), &error));
    EXPECT_EQ(Get("KEEP"), "1");
    EXPECT_EQ(Visible("KEEP"), Words{"a"});
    EXPECT_FALSE(DefGetFL("GOOD"));
    // Without an error text asked for, the reason goes to the debug print.
    PrintCapture printed;
    EXPECT_FALSE(DefLoadDefaultsFromText("\n\nbad line\n"));
    EXPECT_TRUE(printed.Holds(":3: expected \"=\" after bad")) << printed.Text();
}

}  // namespace

TEST_F(DefTest, LookupsFollowEveryChangeOfTheLayersTheyDependOn)
{
    // Random writes, unsets and overrides of a value and of the variables
    // its scoped defaults depend on; each read agrees with a plain model.
    Load("A = plain\nA[B=x] = bx\nA[B=x,C=y] = bxcy\nB = d\n");
    struct Layers {
        std::map<std::string, std::string> user;
        std::map<std::string, std::vector<std::string>> overrides;
        std::optional<std::string> Upper(const std::string& name) const
        {
            if (const auto found = overrides.find(name); found != overrides.end() && !found->second.empty())
                return found->second.back();
            if (const auto found = user.find(name); found != user.end()) return found->second;
            return std::nullopt;
        }
    } model;
    const auto is = [&model](const std::string& name, const char* value, const char* plain) {
        const std::string current = model.Upper(name).value_or(plain);
        return current.size() == 1 && std::tolower(current[0]) == value[0];
    };
    const auto expected = [&](const std::string& name) -> std::string {
        if (const auto upper = model.Upper(name)) return *upper;
        if (name == "B") return "d";
        if (name == "C") return "<none>";
        if (is("B", "x", "d") && is("C", "y", "")) return "bxcy";
        return is("B", "x", "d") ? "bx" : "plain";
    };
    std::mt19937 random(7);
    const std::vector<std::string> names{"A", "B", "C"};
    const std::vector<std::string> values{"x", "X", "y", "z"};
    std::vector<std::string> pushed;  // undone at the end
    for (int step = 0; step < 2000; ++step) {
        const std::string& name = names[random() % names.size()];
        const std::string& value = values[random() % values.size()];
        switch (random() % 4) {
        case 0:
            ASSERT_EQ(DefSetFL(name.c_str(), value.c_str()), 0);
            model.user[name] = value;
            break;
        case 1:
            DefUnset(name.c_str());
            model.user.erase(name);
            break;
        case 2:
            ASSERT_EQ(DefOverRideFL(name.c_str(), value.c_str()), 0);
            model.overrides[name].push_back(value);
            pushed.push_back(name);
            break;
        default:
            if (!model.overrides[name].empty()) {
                ASSERT_EQ(DefUnOverRide(name.c_str()), 0);
                model.overrides[name].pop_back();
                pushed.erase(std::find(pushed.rbegin(), pushed.rend(), name).base() - 1);
            }
            break;
        }
        for (const std::string& read : names) ASSERT_EQ(Get(read.c_str()), expected(read)) << "step " << step;
    }
    for (const std::string& name : pushed) DefUnOverRide(name.c_str());
}
