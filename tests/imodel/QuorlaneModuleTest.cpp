#include "imodel/model/QuorlaneModule.h"

#include <foundation/Arev.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

TEST(QuorlaneModule, FirstLoadRegistersTheBuildIdentityOnceInOrder)
{
    // Other tests of this program may have loaded the module already.
    int handle = 0;
    const int loads = QuorlaneGetLoadCount();

    EXPECT_EQ(QuorlaneInit(&handle), 0);
    EXPECT_EQ(QuorlaneInit(&handle + 1), 0);
    EXPECT_EQ(QuorlaneGetLoadCount(), loads + 2);
    EXPECT_EQ(QuorlaneGetModuleHandle(), &handle + 1);

    const std::vector<std::string> log = ArevGetRegistrationLog();
    ASSERT_EQ(log.size(), 10u);
    EXPECT_EQ(log[0], "ArevSetBuildProgram=quorlane");
    EXPECT_EQ(log[1].rfind("ArevSetBuildView=", 0), 0u);
    EXPECT_GT(log[1].size(), std::strlen("ArevSetBuildView="));
    const std::vector<std::string> rest = {
        "ArevSetBuildYear=2008",          "ArevSetMajorNumber=8",
        "ArevSetMinorNumber=4",           "ArevSetPatchNumber=0",
        "ArevSetCaptureNumber=0",         "ArevSetBuildNumber=0",
        "ArevSetExternalReleaseName=8.4", "ArevSetExternalReleaseNameAndNumber=8.4",
    };
    EXPECT_EQ(std::vector<std::string>(log.begin() + 2, log.end()), rest);
    EXPECT_EQ(ArevGetReleaseVerinfoString(), "8.4");

    QuorlaneExit();
    EXPECT_EQ(QuorlaneGetLoadCount(), loads + 1);
    QuorlaneExit();
    for (int i = 0; i < loads + 1; ++i) QuorlaneExit();  // one more than loaded
    EXPECT_EQ(QuorlaneGetLoadCount(), 0);

    // Loaded again in the same process: the identity is not registered twice.
    for (int i = 0; i < loads + 1; ++i) QuorlaneInit(&handle);
    EXPECT_EQ(ArevGetRegistrationLog().size(), 10u);
    QuorlaneExit();
}

TEST(QuorlaneModule, VersionRecordIsFilledWhateverItHeld)
{
    QuorlaneVersionInfo record;
    std::memset(&record, 0xAB, sizeof record);
    EXPECT_EQ(QuorlaneGetVersionInfo(&record), &record);
    EXPECT_STREQ(record.program, "quorlane");
    EXPECT_STREQ(record.empty, "");
    EXPECT_STREQ(record.zero, "0");
    for (std::uint32_t word : record.reserved) EXPECT_EQ(word, 0u);
    EXPECT_EQ(QuorlaneGetVersionInfo(nullptr), nullptr);
    EXPECT_EQ(QuorlaneInitLibraries(), 0);
}
