#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "iprocess/IprocessDisplay.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "itool/ItoolVeyrun.h"
#include "src/imodel/model/imodelImpl.h"

#include "RecordingHost.h"
#include "RecordingView.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

// Owns a wizard instance for one test.
struct WizardModel {
    Imodel* model = Imodel::CreateNewProjectWizardInstance();
    ~WizardModel() { Imodel::DestroyNewProjectWizardInstance(model); }
    Imodel* operator->() const { return model; }
};

class RecordingDisplay : public IprocessDisplay {
public:
    std::vector<bool> requests;
    bool IsRefreshPending() override { return false; }
    void SetRefreshPending(bool) override {}
    void RequestRefresh(bool flag) override { requests.push_back(flag); }
    void ShowModuleFlow(ImodelModule*, IprocessFlow*) override {}
    ImodelModule* GetShownModule() override { return nullptr; }
    IprocessDisplayItemOwner* GetItemOwner() override { return nullptr; }
};

class ImodelSingleton : public ::testing::Test {
protected:
    void SetUp() override { DefReset(); }
    void TearDown() override
    {
        DefReset();
        Imodel::SetIsInteractiveMode(false);
    }
};

}  // namespace

TEST_F(ImodelSingleton, ProcessWideModelIsStableAndComplete)
{
    Imodel& model = Imodel::GetInstance();
    EXPECT_EQ(&Imodel::GetInstance(), &model);
    EXPECT_TRUE(Imodel::IsAlive(&model));
    EXPECT_FALSE(model.IsWizardInstance());
    EXPECT_NE(model.GetRevisionManager(), nullptr);
    EXPECT_NE(model.GetDesignManager(), nullptr);
    EXPECT_NE(model.GetDeviceManager(), nullptr);
    EXPECT_NE(model.GetFileManager(), nullptr);
    EXPECT_NE(model.GetExtendedInfoManager(), nullptr);
    EXPECT_NE(model.GetTimerManager(), nullptr);
    EXPECT_NE(model.GetGlobalFlowOptions(), nullptr);
    EXPECT_NE(model.GetSimulationOptions(), nullptr);
    EXPECT_NE(model.GetModelSimPathOptions(), nullptr);
    EXPECT_NE(model.GetTemplateManager(), nullptr);
    EXPECT_NE(model.GetPalladorTool(), nullptr);
    EXPECT_NE(model.GetPhySynthTool(), nullptr);
    EXPECT_NE(model.GetSynthesisTool(), nullptr);

    // The one option object, found by its variable; nothing for other names.
    ASSERT_EQ(model.GetOptions().size(), 1u);
    EXPECT_EQ(model.FindOption("OMBRIXU_COMPILE_REPORT_PREF"), model.GetOptions().front());
    EXPECT_EQ(model.FindOption("NO_SUCH_OPTION"), nullptr);
    EXPECT_EQ(model.FindOption(nullptr), nullptr);

    // The block-design tool manager answers core types 33 and 34.
    QuorlaneCoreToolManager* veyrun = model.GetCoreToolManager(33);
    ASSERT_NE(veyrun, nullptr);
    EXPECT_EQ(model.GetCoreToolManager(34), veyrun);
    EXPECT_EQ(model.GetCoreToolManager(5), nullptr);
    EXPECT_EQ(ItoolVeyrun::GetInstance(), dynamic_cast<ItoolVeyrun*>(veyrun));
    const Imodel::CoreToolManagerRange range = model.GetCoreToolManagers();
    ASSERT_EQ(range.second - range.first, 1);

    EXPECT_TRUE(model.GetEmptyList().empty());
    EXPECT_EQ(&model.GetEmptyList(), &model.GetEmptyList());
    EXPECT_EQ(model.SetHasNetlistModules(true), true);
    EXPECT_TRUE(model.HasNetlistModules());
    EXPECT_EQ(model.SetHasNetlistModules(false), false);
    EXPECT_TRUE(model.CanChangeFamily());  // no file in the project
    EXPECT_TRUE(model.CanChangeAllFamilies());
}

TEST_F(ImodelSingleton, WizardInstanceIsASecondCompleteModel)
{
    Imodel& processWide = Imodel::GetInstance();
    ImodelDesignManager* processWideDesign = processWide.GetDesignManager();
    Imodel* wizard = Imodel::CreateNewProjectWizardInstance();
    ASSERT_NE(wizard, nullptr);
    EXPECT_NE(wizard, &processWide);
    EXPECT_TRUE(wizard->IsWizardInstance());
    EXPECT_TRUE(wizard->CanChangeFamily());
    EXPECT_TRUE(Imodel::IsAlive(wizard));
    EXPECT_NE(wizard->GetDesignManager(), nullptr);
    EXPECT_NE(wizard->GetDesignManager(), processWideDesign);
    EXPECT_NE(wizard->GetFileManager(), processWide.GetFileManager());
    EXPECT_NE(wizard->GetCoreToolManager(33), nullptr);
    EXPECT_NE(wizard->GetCoreToolManager(33), processWide.GetCoreToolManager(33));
    EXPECT_EQ(&wizard->GetConstraintsManager(), &processWide.GetConstraintsManager());
    // GetInstance keeps answering the process-wide model meanwhile.
    EXPECT_EQ(&Imodel::GetInstance(), &processWide);

    // A view of the wizard that outlives it neither crashes nor reaches it.
    auto view = std::make_unique<RecordingView>(wizard);
    const Imodel* gone = wizard;
    Imodel::DestroyNewProjectWizardInstance(wizard);
    EXPECT_EQ(wizard, nullptr);
    EXPECT_FALSE(Imodel::IsAlive(gone));
    view.reset();

    Imodel::DestroyNewProjectWizardInstance(wizard);  // null: nothing
    EXPECT_EQ(wizard, nullptr);
    // Handing over the process-wide model does not destroy it.
    Imodel* processWidePointer = &processWide;
    Imodel::DestroyNewProjectWizardInstance(processWidePointer);
    EXPECT_EQ(processWidePointer, nullptr);
    EXPECT_TRUE(Imodel::IsAlive(&processWide));
    EXPECT_EQ(processWide.GetDesignManager(), processWideDesign);
    EXPECT_FALSE(Imodel::IsAlive(nullptr));
}

TEST_F(ImodelSingleton, StateMachineCreatesTheProcessManagerWithItsDefaultFlowOnce)
{
    WizardModel wizard;
    QuorlaneStateMachine* machine = wizard->GetStateMachine();
    ASSERT_NE(machine, nullptr);
    IprocessManager* processes = wizard->GetProcessManager();
    EXPECT_EQ(machine, static_cast<QuorlaneStateMachine*>(processes));
    EXPECT_EQ(wizard->GetStateMachine(), machine);
    IprocessFlow* flow = processes->GetFlowForModule(nullptr);
    ASSERT_NE(flow, nullptr);
    EXPECT_EQ(flow->GetName(), "DEFAULT");
}

TEST_F(ImodelSingleton, InstallFolderDropsTrailingSeparatorsAndNeedsAName)
{
    EXPECT_EQ(imodelImpl::InstallFolderFrom("/opt/brennic/\\"), "/opt/brennic");
    EXPECT_EQ(imodelImpl::InstallFolderFrom("C:\\Brennic"), "C:\\Brennic");
    EXPECT_FALSE(imodelImpl::InstallFolderFrom(nullptr));
    EXPECT_FALSE(imodelImpl::InstallFolderFrom(""));
    EXPECT_FALSE(imodelImpl::InstallFolderFrom("/\\//"));

    ASSERT_EQ(setenv("BRENNIC_SW_DIR", "/opt/brennic/\\", 1), 0);
    {
        WizardModel wizard;
        auto* impl = dynamic_cast<imodelImpl*>(wizard.model);
        ASSERT_NE(impl, nullptr);
        EXPECT_EQ(impl->GetInstallFolder(), "/opt/brennic");
        EXPECT_EQ(impl->GetCatalogPath(), "/opt/brennic/data/kiltora_catalog.xml");
    }

    // No folder: no catalogue, and a debug line only when DEBUG_MSG is on.
    std::vector<std::string> printed;
    SysSetPrintHook([&printed](const std::string& line) { printed.push_back(line); });
    ASSERT_EQ(setenv("BRENNIC_SW_DIR", "//", 1), 0);
    {
        WizardModel wizard;
        auto* impl = dynamic_cast<imodelImpl*>(wizard.model);
        EXPECT_EQ(impl->GetInstallFolder(), "");
        EXPECT_EQ(impl->GetCatalogPath(), "");
    }
    EXPECT_TRUE(printed.empty());
    DefSetFL("DEBUG_MSG", "1");
    ASSERT_EQ(unsetenv("BRENNIC_SW_DIR"), 0);
    {
        WizardModel wizard;
    }
    SysSetPrintHook({});
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_NE(printed[0].find("BRENNIC_SW_DIR"), std::string::npos);
    setenv("BRENNIC_SW_DIR", "", 1);
    DefUnset("DEBUG_MSG");
}

TEST_F(ImodelSingleton, ScopedFlagSetterPutsTheOldValueBack)
{
    bool& reading = Imodel::GetIsReadingProject();
    const bool before = reading;
    {
        ImodelSetAndRestoreModelFlagObject setter(reading, !before);
        EXPECT_EQ(Imodel::GetIsReadingProject(), !before);
        setter.Unset();
        EXPECT_EQ(reading, before);
        reading = !before;  // changed again after Unset: the destructor restores
    }
    EXPECT_EQ(reading, before);
}

TEST_F(ImodelSingleton, DisplayBlocksAnswerTheFormerStateAndRefreshOnlyInteractively)
{
    ASSERT_TRUE(Imodel::GetUpdateTree());
    EXPECT_FALSE(Imodel::BlockDesignHierarchyDisplay(true, false));
    EXPECT_FALSE(Imodel::GetUpdateTree());
    EXPECT_TRUE(Imodel::BlockDesignHierarchyDisplay(false, false));
    EXPECT_TRUE(Imodel::GetUpdateTree());

    RecordingDisplay display;
    IprocessManager* processes = Imodel::GetInstance().GetProcessManager();
    ASSERT_NE(processes, nullptr);
    processes->SetProcessDisplay(&display);

    EXPECT_FALSE(Imodel::BlockProcessDisplay(true, true));
    EXPECT_TRUE(Imodel::BlockProcessDisplay(false, true));  // batch use: no refresh
    EXPECT_TRUE(display.requests.empty());

    Imodel::SetIsInteractiveMode(true);
    EXPECT_FALSE(Imodel::BlockProcessDisplay(true, true));
    EXPECT_FALSE(Imodel::GetUpdateProcessDisplay());
    EXPECT_TRUE(Imodel::BlockProcessDisplay(false, false));
    EXPECT_TRUE(display.requests.empty());
    Imodel::BlockProcessDisplay(true, false);
    EXPECT_TRUE(Imodel::BlockProcessDisplay(false, true));
    EXPECT_EQ(display.requests, std::vector<bool>{false});
    EXPECT_TRUE(Imodel::GetUpdateProcessDisplay());

    processes->SetProcessDisplay(nullptr);
}

TEST_F(ImodelSingleton, RunningScriptIsTheHostsAnswerElseBatchUse)
{
    ASSERT_EQ(Imodel::GetInstance().GetHost(), nullptr);
    EXPECT_TRUE(Imodel::IsRunningScript());
    Imodel::SetIsInteractiveMode(true);
    EXPECT_FALSE(Imodel::IsRunningScript());
    {
        RecordingHost host;
        EXPECT_TRUE(Imodel::IsRunningScript());
        host.runningScript = false;
        EXPECT_FALSE(Imodel::IsRunningScript());
        EXPECT_EQ(host.Calls(), (std::vector<std::string>{"IsRunningScript", "IsRunningScript"}));
    }
    EXPECT_EQ(Imodel::GetInstance().GetHost(), nullptr);
}
