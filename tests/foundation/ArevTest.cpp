// Build identity.
#include "foundation/Arev.h"

#include <gtest/gtest.h>

TEST(Arev, KeepsValuesAndTheOrderOfRegistration)
{
    const std::size_t before = ArevGetRegistrationLog().size();
    ArevSetBuildProgram("quorlane");
    ArevSetBuildView("main");
    ArevSetBuildYear("2008");
    ArevSetMajorNumber(8);
    ArevSetMinorNumber(4);
    ArevSetPatchNumber(0);
    ArevSetCaptureNumber(0);
    ArevSetBuildNumber(0);
    ArevSetExternalReleaseName("8.4");
    ArevSetExternalReleaseNameAndNumber("8.4 SP1");
    ArevSetBuildView(nullptr);

    const std::vector<std::string> log = ArevGetRegistrationLog();
    const std::vector<std::string> expected{
        "ArevSetBuildProgram=quorlane",
        "ArevSetBuildView=main",
        "ArevSetBuildYear=2008",
        "ArevSetMajorNumber=8",
        "ArevSetMinorNumber=4",
        "ArevSetPatchNumber=0",
        "ArevSetCaptureNumber=0",
        "ArevSetBuildNumber=0",
        "ArevSetExternalReleaseName=8.4",
        "ArevSetExternalReleaseNameAndNumber=8.4 SP1",
        "ArevSetBuildView=",
    };
    ASSERT_EQ(log.size(), before + expected.size());
    EXPECT_EQ(std::vector<std::string>(log.begin() + static_cast<long>(before), log.end()), expected);

    EXPECT_EQ(ArevGetBuildProgram(), "quorlane");
    EXPECT_EQ(ArevGetBuildView(), "");
    EXPECT_EQ(ArevGetBuildYear(), "2008");
    EXPECT_EQ(ArevGetMajorVerinfoNumber(), 8);
    EXPECT_EQ(ArevGetMinorVerinfoNumber(), 4);
    EXPECT_EQ(ArevGetVerinfoSoftwareRevision(), "8.4");
    EXPECT_EQ(ArevGetReleaseVerinfoString(), "8.4 SP1");

    ArevSetMinorNumber(12);
    EXPECT_EQ(ArevGetVerinfoSoftwareRevision(), "8.12");
}
