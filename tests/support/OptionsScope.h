// The options database of one test: emptied when the test starts and again
// when it ends, with the test's own defaults loaded in between.
#pragma once

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <string>

class OptionsScope {
public:
    explicit OptionsScope(const std::string& defaults = "")
    {
        DefReset();
        std::string error;
        if (!defaults.empty()) {
            EXPECT_TRUE(DefLoadDefaultsFromText(defaults, &error)) << error;
        }
    }
    ~OptionsScope() { DefReset(); }
    OptionsScope(const OptionsScope&) = delete;
    OptionsScope& operator=(const OptionsScope&) = delete;
};

// A fixture whose options database starts and ends empty.
class OptionsFixture : public ::testing::Test {
protected:
    OptionsScope options;
};
