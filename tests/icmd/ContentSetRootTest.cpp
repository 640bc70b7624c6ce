// set_root: what the scenario scripts cannot see of it (the root's identity
// and flags, the flow's module, the change events and the need-save flag),
// the in-process entry points, and the root restored when the libraries
// saved before its unit was made anew are restored.
#include "IcmdTestSupport.h"
#include "RecordingView.h"

#include "icmd/design/IcmdSetRoot.h"
#include "imodel/design/ImodelRemoveModules.h"
#include "iprocess/QuorlaneStateMachine.h"

#include <zorpa/ZorpaModule.h>

namespace {

class ContentSetRootTest : public IcmdTest {
protected:
    void SetUp() override
    {
        IcmdTest::SetUp();
        ASSERT_EQ(RegisterCommands({"set_root"}), 1);
        Design().SetProjectOpen(true);
        Design().SetNeedSave(false);
    }
    void TearDown() override
    {
        Flow().DetachModule();
        IcmdTest::TearDown();
    }

    static QuorlaneStateMachine& Flow() { return *Imodel::GetInstance().GetStateMachine(); }

    static ImodelModule* Unit(const std::string& name, bool isPackage = false,
                              boost::shared_ptr<IfileObjectEx> file = nullptr)
    {
        auto unit = std::make_unique<ImodelModule>(name, file, zorpaMODULE_VHDL, isPackage, "work", "", false);
        return Design().AddLibrary("work", false)->GetModules()->Insert(std::move(unit)).first;
    }

    // The root's identity text, the flow's module and the root flags agree.
    void ExpectRoot(const ImodelModule* root)
    {
        EXPECT_EQ(Design().GetRootId(), root ? root->GetComponentID() : VyIfaces::ComponentID());
        EXPECT_EQ(Design().GetRootModule(), root);
        if (root) {
            EXPECT_TRUE(root->IsRoot());
        }
    }

    RecordingView view;
};

}  // namespace

TEST_F(ContentSetRootTest, TheRootComesBackThroughSetRootWhenItsUnitIsMadeAgainAndTheLibrariesRestored)
{
    const boost::shared_ptr<IfileObjectEx> file = AddProjectFile("top.vhd");
    ASSERT_TRUE(IcmdDoSetRoot(false, Unit("top", false, file)));
    Imodel& model = Imodel::GetInstance();
    model.SaveLibraries();
    ImodelRemoveModulesOfFile(file, nullptr, true, false, false, nullptr, nullptr);
    ImodelModule* again = Unit("top", false, file);
    view.Clear();
    model.RestoreLibraries(false, zorpaSaveRestoreParams{false, true, false});
    ExpectRoot(again);
    EXPECT_EQ(view.Count("IeventCurrentRootChanged"), 1);
    EXPECT_EQ(Flow().DetachModule(), again);

    // A root whose unit has no file any more is not made the root again.
    model.SaveLibraries();
    ImodelRemoveModulesOfFile(file, nullptr, true, false, false, nullptr, nullptr);
    Unit("top");
    view.Clear();
    model.RestoreLibraries(false, zorpaSaveRestoreParams{false, true, false});
    EXPECT_EQ(view.Count("IeventCurrentRootChanged"), 0);
}
