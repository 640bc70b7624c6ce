#include "imodel/model/Imodel.h"
#include "src/imodel/model/imodelImpl.h"

#include "OptionsScope.h"
#include "RecordingView.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

// Owns a wizard instance for one test.
struct WizardModel {
    std::unique_ptr<Imodel> model = Imodel::CreateNewProjectWizardInstance();
    ~WizardModel() { Imodel::DestroyNewProjectWizardInstance(model); }
    Imodel* operator->() const { return model.get(); }
};

class ImodelSingleton : public OptionsFixture {
protected:
    void TearDown() override { Imodel::SetIsInteractiveMode(false); }
};

}  // namespace

TEST_F(ImodelSingleton, WizardInstanceIsASecondCompleteModel)
{
    Imodel& processWide = Imodel::GetInstance();
    std::unique_ptr<Imodel> wizard = Imodel::CreateNewProjectWizardInstance();
    ASSERT_NE(wizard, nullptr);
    EXPECT_TRUE(wizard->IsWizardInstance());
    EXPECT_NE(wizard->GetDesignManager(), processWide.GetDesignManager());
    EXPECT_NE(wizard->GetCoreToolManager(33), processWide.GetCoreToolManager(33));
    EXPECT_EQ(&Imodel::GetInstance(), &processWide);
    // A view of the wizard that outlives it neither crashes nor reaches it.
    auto view = std::make_unique<RecordingView>(wizard);
    const Imodel* gone = wizard.get();
    Imodel::DestroyNewProjectWizardInstance(wizard);
    EXPECT_EQ(wizard, nullptr);
    EXPECT_FALSE(Imodel::IsAlive(gone));
    view.reset();
}

TEST_F(ImodelSingleton, InstallFolderDropsTrailingSeparatorsAndNeedsAName)
{
    EXPECT_EQ(imodelImpl::InstallFolderFrom("/opt/brennic/\\"), "/opt/brennic");
    EXPECT_FALSE(imodelImpl::InstallFolderFrom(nullptr));
    EXPECT_FALSE(imodelImpl::InstallFolderFrom("/\\//"));
    ASSERT_EQ(setenv("BRENNIC_SW_DIR", "/opt/brennic/\\", 1), 0);
    {
        WizardModel wizard;
        EXPECT_EQ(dynamic_cast<imodelImpl*>(wizard.model.get())->GetCatalogPath(), "/opt/brennic/data/kiltora_catalog.xml");
    }
    // No folder: no catalogue.
    ASSERT_EQ(setenv("BRENNIC_SW_DIR", "//", 1), 0);
    {
        WizardModel wizard;
        EXPECT_EQ(dynamic_cast<imodelImpl*>(wizard.model.get())->GetCatalogPath(), "");
    }
    setenv("BRENNIC_SW_DIR", "", 1);
}
