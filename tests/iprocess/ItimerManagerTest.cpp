#include "itimer/ItimerManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

namespace {

class ItimerManagerTest : public testing::Test {
protected:
    void SetUp() override
    {
        DefReset();
        Imodel::GetInstance().ReloadBoolSettings();
    }
    void TearDown() override
    {
        Imodel::GetInstance().GetGlobalFlowOptions()->EnableFileDetection = true;
        DefReset();
        Imodel::GetInstance().ReloadBoolSettings();
    }
};

}  // namespace

TEST_F(ItimerManagerTest, FileDetectionNeedsTheOptionAndTheProjectSwitch)
{
    Imodel& model = Imodel::GetInstance();
    ASSERT_NE(model.GetTimerManager(), nullptr);
    EXPECT_TRUE(ItimerManager::IsAutoFileDetectionEnabled());

    model.GetGlobalFlowOptions()->EnableFileDetection = false;
    EXPECT_FALSE(ItimerManager::IsAutoFileDetectionEnabled());
    model.GetGlobalFlowOptions()->EnableFileDetection = true;

    ASSERT_EQ(DefSetFL("IDE_TIMER_ENABLED", "0"), 0);
    model.ReloadBoolSettings();
    EXPECT_FALSE(ItimerManager::IsAutoFileDetectionEnabled());

    // The model keeps the last value it read: read it back as on.
    ASSERT_EQ(DefSetFL("IDE_TIMER_ENABLED", "1"), 0);
    model.ReloadBoolSettings();
    EXPECT_TRUE(ItimerManager::IsAutoFileDetectionEnabled());
}
