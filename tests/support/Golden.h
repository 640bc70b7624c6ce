// Checked-in golden files: one generated dump of a whole product table is
// compared with tests/data/golden/<name>. With QUORLANE_UPDATE_GOLDEN=1 the
// dump is written there instead; review the difference before committing it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

inline void ExpectMatchesGolden(const std::string& name, const std::string& dump)
{
    const std::filesystem::path path = std::filesystem::path(QUORLANE_TEST_DATA_DIR) / "golden" / name;
    const char* update = std::getenv("QUORLANE_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << dump;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path << " is missing; QUORLANE_UPDATE_GOLDEN=1 writes it";
    std::ostringstream golden;
    golden << in.rdbuf();
    EXPECT_EQ(golden.str(), dump) << "the table differs from " << path << "; QUORLANE_UPDATE_GOLDEN=1 rewrites it";
}

// A text on one line of a dump: line breaks, tabs and backslashes escaped.
inline std::string GoldenText(const std::string& text)
{
    std::string escaped;
    for (const char c : text) {
        if (c == '\n')
            escaped += "\\n";
        else if (c == '\t')
            escaped += "\\t";
        else if (c == '\\')
            escaped += "\\\\";
        else
            escaped += c;
    }
    return escaped;
}
