// Options database files: loading the defaults and the user's settings,
// saving the settings atomically.
#include "foundation/Def.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

namespace {

class DefFileTest : public ::testing::Test {
protected:
    void SetUp() override { DefReset(); }
    void TearDown() override { DefReset(); }

    static std::string Get(const char* name) { return DefGetFL(name).value_or("<none>"); }

    static std::size_t EntriesIn(const std::string& folder)
    {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
        return count;
    }

    TempFolder m_folder;
};

// Values that only survive the line format when written with care.
const std::map<std::string, std::string> kTricky = {
    {"PLAIN", "value"},       {"EMPTY", ""},           {"LEADING", "  leading"}, {"TRAILING", "trailing\t"},
    {"QUOTED", "\"quoted\""}, {"ONE_QUOTE", "\""},     {"QUOTES", "\"\""},       {"HASH", "# not a comment"},
    {"FORMAT", "%s%n%d%%"},   {"EQUALS", "a = b [c]"}, {"MIXED", " \"inner\" "}, {"NON_ASCII", "caf\xc3\xa9"},
    {"A.B-C\"D", "odd name"},
};

TEST_F(DefFileTest, FlushThenAFreshLoadGivesTheSameSettings)
{
    const std::string file = m_folder / "config/quorlane/options";  // folders created on flush
    std::string error;
    ASSERT_TRUE(DefLoadUserSettings(file, &error)) << error;  // missing file: empty settings
    for (const auto& [name, value] : kTricky) ASSERT_EQ(DefSetFL(name.c_str(), value.c_str()), 0) << name;
    ASSERT_EQ(DefOverRideFL("PLAIN", "override"), 0);
    ASSERT_EQ(DefFlush(&error), 0) << error;
    const std::string written = m_folder.Read("config/quorlane/options");

    DefReset();
    ASSERT_TRUE(DefLoadUserSettings(file, &error)) << error;
    for (const auto& [name, value] : kTricky) EXPECT_EQ(Get(name.c_str()), value) << name;
    EXPECT_EQ(Get("PLAIN"), "value") << "overrides are not saved";

    // Sorted by name, one line each; saving again gives the same bytes.
    EXPECT_LT(written.find("A.B-C\"D = "), written.find("EMPTY = "));
    EXPECT_LT(written.find("EMPTY = "), written.find("PLAIN = "));
    EXPECT_NE(written.find("\nLEADING = \"  leading\"\n"), std::string::npos) << written;
    ASSERT_EQ(DefFlush(&error), 0) << error;
    EXPECT_EQ(m_folder.Read("config/quorlane/options"), written);
    EXPECT_EQ(EntriesIn(m_folder / "config/quorlane"), 1u) << "no temporary file left";

    // An unset value is gone from the next save.
    ASSERT_EQ(DefUnset("HASH"), 0);
    ASSERT_EQ(DefFlush(&error), 0) << error;
    DefReset();
    ASSERT_TRUE(DefLoadUserSettings(file, &error)) << error;
    EXPECT_FALSE(DefGetFL("HASH"));
    EXPECT_EQ(Get("FORMAT"), "%s%n%d%%");
}

TEST_F(DefFileTest, MalformedFilesReplaceNothing)
{
    std::string error;
    ASSERT_TRUE(DefLoadDefaults(m_folder.Write("good.defaults", "KEEP = default\n"), &error)) << error;
    const std::string userFile = m_folder.Write("options", "MINE = 1\n");
    ASSERT_TRUE(DefLoadUserSettings(userFile, &error)) << error;

    const std::string badDefaults = m_folder.Write("bad.defaults", "KEEP = other\nbroken line\n");
    EXPECT_FALSE(DefLoadDefaults(badDefaults, &error));
    EXPECT_EQ(error, badDefaults + ":2: expected \"=\" after broken");
    EXPECT_FALSE(DefLoadDefaults(m_folder / "missing.defaults", &error));
    EXPECT_NE(error.find("missing.defaults"), std::string::npos) << error;
    EXPECT_FALSE(DefLoadDefaults(m_folder.Path(), &error)) << "a folder is no file";
    EXPECT_EQ(Get("KEEP"), "default");

    // Scoped values, choices and external names belong in the defaults.
    for (const char* line : {"X[QFAM=ZX7] = 1", "@choices X = a", "@hidden X = a", "@ext a = b", "bad"}) {
        const std::string bad = m_folder.Write("bad.options", std::string("OTHER = 2\n") + line + "\n");
        EXPECT_FALSE(DefLoadUserSettings(bad, &error)) << line;
        EXPECT_NE(error.find("bad.options:2: "), std::string::npos) << error;
    }
    EXPECT_FALSE(DefLoadUserSettings(m_folder.Path(), &error));
    EXPECT_EQ(Get("MINE"), "1");
    EXPECT_FALSE(DefGetFL("OTHER"));

    // The refused file is not adopted: the next save goes to the good one.
    ASSERT_EQ(DefSetFL("MINE", "2"), 0);
    ASSERT_EQ(DefFlush(&error), 0) << error;
    EXPECT_EQ(m_folder.Read("options"), "# Quorlane user settings, written by Quorlane.\nMINE = 2\n");
    EXPECT_EQ(m_folder.Read("bad.options"), "OTHER = 2\nbad\n");
}

TEST_F(DefFileTest, AFailedFlushKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    std::string error;
    EXPECT_EQ(DefFlush(&error), 0) << "no file remembered: nothing to write";

    // The folder cannot be made: a regular file took its name after the load.
    ASSERT_TRUE(DefLoadUserSettings(m_folder / "plain-file/options", &error)) << error;
    m_folder.Write("plain-file", "x");
    ASSERT_EQ(DefSetFL("A", "1"), 0);
    EXPECT_NE(DefFlush(&error), 0);
    EXPECT_NE(error.find("plain-file"), std::string::npos) << error;
    EXPECT_EQ(m_folder.Read("plain-file"), "x");

    // Without rights on the folder (root has them anyway).
    const std::string old = m_folder.Write("locked/options", "A = old\n");
    ASSERT_TRUE(DefLoadUserSettings(old, &error)) << error;
    ASSERT_EQ(DefSetFL("A", "new"), 0);
    if (geteuid() != 0) {
        ASSERT_EQ(chmod((m_folder / "locked").c_str(), 0555), 0);
        EXPECT_NE(DefFlush(&error), 0);
        EXPECT_NE(error.find("locked"), std::string::npos) << error;
        chmod((m_folder / "locked").c_str(), 0755);
        EXPECT_EQ(m_folder.Read("locked/options"), "A = old\n");
        EXPECT_EQ(EntriesIn(m_folder / "locked"), 1u);
    }
    EXPECT_EQ(Get("A"), "new") << "a failed save keeps the settings in memory";
}

}  // namespace
