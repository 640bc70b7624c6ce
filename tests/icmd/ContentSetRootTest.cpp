// set_root: what the scenario scripts cannot see of it (the root's identity
// and flags, the flow's module, the change events and the need-save flag),
// the in-process entry points, and the root restored after a re-parse.
#include "IcmdTestSupport.h"
#include "RecordingView.h"

#include "icmd/IcmdSetRoot.h"
#include "imodel/design/ImodelRemoveModules.h"
#include "iprocess/QuorlaneStateMachine.h"

#include <zorpa/ZorpaModule.h>

namespace {

class ContentSetRootTest : public IcmdTest {
protected:
    void SetUp() override
    {
        IcmdTest::SetUp();
        Manager().RegisterCommand(IcmdSetRootFactory()(Imodel::GetInstance()));
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

TEST_F(ContentSetRootTest, TheBareWordAndTheOptionChooseTheSameModuleAndOnlyAChangeNeedsASave)
{
    ImodelModule* top = Unit("top");
    ImodelModule* other = Unit("other");
    for (const std::string script : {"set_root top", "set_root -module top", "set_root top::work"}) {
        const bool first = Design().GetRootModule() == nullptr;
        Design().SetNeedSave(false);
        view.Clear();
        ASSERT_EQ(Eval(script), TCL_OK) << result;
        ExpectRoot(top);
        // The event goes out each time; the project needs a save only when
        // the root changed.
        EXPECT_EQ(view.Count("IeventCurrentRootChanged"), 1) << script;
        EXPECT_EQ(Design().GetNeedSave(), first) << script;
        EXPECT_EQ(view.Count("IeventNeedSaveFlagChanged"), first ? 1 : 0) << script;
    }
    EXPECT_EQ(Flow().DetachModule(), top);

    ASSERT_EQ(Eval("set_root other"), TCL_OK) << result;
    ExpectRoot(other);
    EXPECT_FALSE(top->IsRoot());
    EXPECT_EQ(Flow().DetachModule(), other);
}

TEST_F(ContentSetRootTest, TheRootComesBackThroughSetRootWhenItsFileIsParsedAgain)
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
