
#include "imodel/design/ImodelModule.h"
#include "iprocess/IprocessManager.h"
#include "imodel/model/Imodel.h"
#include "iprocess/IprocessDisplay.h"
#include "iprocess/IprocessFlow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records the calls the process manager makes on the host's display.
class RecordingDisplay : public IprocessDisplay {
public:
    bool IsRefreshPending() override { return pending; }
    void SetRefreshPending(bool value) override
    {
        pending = value;
        calls.push_back(value ? "pending" : "not pending");
    }
    void RequestRefresh(bool flag) override { calls.push_back(flag ? "request true" : "request false"); }
    void ShowModuleFlow(ImodelModule* module, IprocessFlow* flow) override
    {
        shownModule = module;
        calls.push_back("show " + (flow ? flow->GetName() : std::string("no flow")));
    }
    ImodelModule* GetShownModule() override { return shownModule; }
    IprocessDisplayItemOwner* GetItemOwner() override { return owner; }

    IprocessDisplayItemOwner* owner = nullptr;
    bool pending = false;
    ImodelModule* shownModule = nullptr;
    std::vector<std::string> calls;
};

// The process-wide model's process manager, left as it was found.
class IprocessManagerTest : public testing::Test {
protected:
    void SetUp() override
    {
        manager = Imodel::GetInstance().GetProcessManager();
        ASSERT_NE(manager, nullptr);
    }
    void TearDown() override
    {
        manager->SetProcessDisplay(nullptr);
        manager->SetListener(nullptr);
        manager->AttachModule(nullptr);
        Imodel::SetIsInteractiveMode(false);
        Imodel::GetUpdateProcessDisplay() = true;
    }

    IprocessManager* manager = nullptr;
    ImodelModule unitA{"a", nullptr, zorpaMODULE_VHDL, false, "", "", false};
    ImodelModule unitB{"b", nullptr, zorpaMODULE_VHDL, false, "", "", false};
    ImodelModule* moduleA = &unitA;
    ImodelModule* moduleB = &unitB;
};

}  // namespace

TEST_F(IprocessManagerTest, AttachingAModuleAsksTheDisplayForOneRefreshInInteractiveMode)
{
    RecordingDisplay display;
    manager->SetProcessDisplay(&display);
    EXPECT_EQ(manager->GetProcessDisplay(), &display);

    // Batch use: the display is never asked.
    manager->AttachModule(moduleA);
    EXPECT_TRUE(display.calls.empty());
    EXPECT_EQ(manager->GetCurrentModule(), moduleA);

    Imodel::SetIsInteractiveMode(true);
    manager->AttachModule(moduleA);  // already attached: nothing
    EXPECT_TRUE(display.calls.empty());
    manager->AttachModule(moduleB);
    EXPECT_EQ(display.calls, (std::vector<std::string>{"pending", "request true"}));
    // A refresh is pending: further changes are covered by it.
    EXPECT_EQ(manager->DetachModule(), moduleB);
    EXPECT_EQ(display.calls.size(), 2u);

    manager->AttachModule(moduleA);
    manager->RefreshProcessDisplay();
    EXPECT_EQ(display.shownModule, moduleA);
    EXPECT_EQ(display.calls, (std::vector<std::string>{"pending", "request true", "show DEFAULT", "not pending"}));
    manager->RefreshProcessDisplay();  // nothing pending
    EXPECT_EQ(display.calls.size(), 4u);

    manager->DetachIfCurrent(moduleB);
    EXPECT_EQ(manager->GetCurrentModule(), moduleA);
    manager->DetachIfCurrent(moduleA);
    EXPECT_EQ(manager->GetCurrentModule(), nullptr);
}
