#include "RecordingView.h"

#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "iprocess/IprocessDisplay.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessListener.h"
#include "iprocess/IprocessManager.h"
#include "itimer/ItimerManager.h"
#include "src/iprocess/iprocessManagerImpl.h"

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

class RecordingListener : public IprocessListener {
public:
    void ConstraintListChanged(ImodelModule* module, std::uint32_t value, ImodelFunctionType tool) override
    {
        calls.push_back("constraints " + std::to_string(value) + " " + std::to_string(tool));
        lastModule = module;
    }
    void DisplayItemsMessage1(std::uint32_t, ImodelModule*) override { calls.push_back("items"); }
    void Ide_pldFileDetected(KemletContentIf*, boost::shared_ptr<IfileObjectEx>) override
    {
        calls.push_back("ide_pld");
    }
    void InputFileListChanged(boost::shared_ptr<IfileObjectEx>, ImodelFunctionType tool) override
    {
        calls.push_back("inputs " + std::to_string(tool));
    }

    ImodelModule* lastModule = nullptr;
    std::vector<std::string> calls;
};

class CountingWatcher : public ItimerManager {
public:
    void Reset() override { ++resets; }
    void CopyRevisionFiles(int, int) override {}
    int resets = 0;
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

TEST_F(IprocessManagerTest, TheStateMachineIsTheProcessManagerWithItsFlowDefault)
{
    Imodel& model = Imodel::GetInstance();
    EXPECT_EQ(model.GetStateMachine(), static_cast<QuorlaneStateMachine*>(manager));
    EXPECT_EQ(model.GetProcessManager(), manager);

    IprocessFlow* flow = manager->GetFlowForModule(nullptr);
    ASSERT_NE(flow, nullptr);
    EXPECT_EQ(flow->GetName(), "DEFAULT");
    // The one flow serves every module.
    EXPECT_EQ(manager->GetFileObject(zorpaFT_HDL, nullptr), flow->GetFileObject(zorpaFT_HDL));
    EXPECT_EQ(manager->GetToolObject(ideSYNTHESIS, nullptr), flow->GetToolObject(ideSYNTHESIS));
}

TEST(IprocessManager, TheDefaultFlowIsMadeOnceAndResetsTheWatcher)
{
    iprocessManagerImpl manager;
    EXPECT_EQ(manager.GetFlowForModule(nullptr), nullptr);
    CountingWatcher watcher;
    manager.CreateDefaultFlow(watcher, nullptr);
    EXPECT_EQ(watcher.resets, 1);
    ASSERT_NE(manager.GetFlowForModule(nullptr), nullptr);
    EXPECT_EQ(manager.GetFlowForModule(nullptr)->GetName(), "DEFAULT");
}

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

TEST_F(IprocessManagerTest, ABlockedDisplayIsMarkedPendingWithoutARequest)
{
    RecordingDisplay display;
    manager->SetProcessDisplay(&display);
    Imodel::SetIsInteractiveMode(true);
    Imodel::GetUpdateProcessDisplay() = false;
    manager->UpdateProcessDisplay(true);
    EXPECT_EQ(display.calls, (std::vector<std::string>{"pending"}));
}

TEST_F(IprocessManagerTest, FlowOptionsChangedTellsTheViews)
{
    RecordingDisplay display;
    manager->SetProcessDisplay(&display);
    Imodel::SetIsInteractiveMode(true);
    RecordingView view;
    manager->FlowOptionsChanged(true);
    EXPECT_EQ(display.calls, (std::vector<std::string>{"pending", "request false"}));
    // Without a host the event reaches the views at once.
    EXPECT_EQ(view.Names(), (std::vector<std::string>{"IeventDesignFlowOptionsChanged"}));
}

TEST_F(IprocessManagerTest, TheListenerHearsOfItsMessagesFirst)
{
    RecordingListener listener;
    // No listener yet: nothing to tell, nothing breaks.
    manager->ConstraintListChanged(moduleA, 7, idePHYSYNTH);
    manager->SetListener(&listener);
    manager->ConstraintListChanged(moduleA, 7, idePHYSYNTH);
    manager->InputFileListChanged(boost::shared_ptr<IfileObjectEx>(), idePALLADOR);
    manager->Ide_pldFileDetected(nullptr, boost::shared_ptr<IfileObjectEx>());
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"constraints 7 11", "inputs 3", "ide_pld"}));
    EXPECT_EQ(listener.lastModule, moduleA);
}
