#include <ndb/NdbWorld.h>

#include <gtest/gtest.h>

TEST(NdbWorld, WorldsLiveFromCreationUntilDeletedAndStaleHandlesAreHarmless)
{
    const int before = NdbGetWorldCount();
    NdbWorld* temp = NdbCreateDefaultWorld("temp");
    NdbWorld* other = NdbCreateDefaultWorld(nullptr);
    ASSERT_NE(temp, nullptr);
    ASSERT_NE(temp, other);
    EXPECT_EQ(NdbGetWorldCount(), before + 2);
    EXPECT_EQ(NdbGetWorldName(temp), "temp");
    EXPECT_EQ(NdbGetWorldName(other), "");

    NdbDelAll(temp);
    EXPECT_EQ(NdbGetWorldCount(), before + 1);
    EXPECT_EQ(NdbGetWorldName(temp), "");
    // Deleting again, or deleting nothing, changes nothing.
    NdbDelAll(temp);
    NdbDelAll(nullptr);
    EXPECT_EQ(NdbGetWorldCount(), before + 1);
    EXPECT_EQ(NdbGetWorldName(other), "");

    CvlLibFree();
    NdbDelAll(other);
    EXPECT_EQ(NdbGetWorldCount(), before);
}
