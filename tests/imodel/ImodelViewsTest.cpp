#include "ievent/IeventClasses.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

#include "ConsoleHost.h"
#include "RecordingHost.h"
#include "RecordingView.h"

#include <foundation/Def.h>

#include <boost/make_shared.hpp>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

boost::shared_ptr<Ievent> Library(const std::string& name) { return boost::make_shared<IeventLibraryAdded>(name); }

// Views of a wizard instance, so that no other view of the process hears
// the test's events; the delivery conditions are those of the process-wide
// model all the same.
class ImodelViews : public ::testing::Test {
protected:
    void SetUp() override { DefReset(); }
    void TearDown() override
    {
        Imodel::DestroyNewProjectWizardInstance(model);
        Imodel::SetIsInteractiveMode(false);
        DefReset();
    }

    std::unique_ptr<Imodel> model = Imodel::CreateNewProjectWizardInstance();
};

}  // namespace

TEST_F(ImodelViews, ViewsHearEachBatchOnceInRegistrationOrder)
{
    Names order;
    RecordingView first(model);
    RecordingView second(model);
    first.onBatch = [&order] { order.push_back("first"); };
    second.onBatch = [&order] { order.push_back("second"); };
    model->RegisterView(&first);  // already registered: stays first, told once
    model->RegisterView(nullptr);

    model->SendEvent(Library("lib"), true);
    EXPECT_EQ(order, (Names{"first", "second"}));
    ASSERT_EQ(first.Batches().size(), 1u);
    EXPECT_EQ(first.Names(), Names{"IeventLibraryAdded"});

    const IeventBatch batch = {Library("a"), boost::make_shared<IeventNeedSaveFlagChanged>(), Library("b")};
    model->SendEvents(batch, false);
    EXPECT_EQ(second.Names(),
              (Names{"IeventLibraryAdded", "IeventLibraryAdded", "IeventNeedSaveFlagChanged", "IeventLibraryAdded"}));
    EXPECT_EQ(second.Batches().back()[0], batch[0]);  // shared, not copied

    model->SendEvents({}, true);  // an empty batch still reaches every view
    EXPECT_EQ(first.Batches().size(), 3u);

    model->UnregisterView(&first);
    model->UnregisterView(&first);  // absent: nothing
    model->SendEvent(Library("c"), true);
    EXPECT_EQ(first.Batches().size(), 3u);
    EXPECT_EQ(second.Batches().size(), 4u);
}

TEST_F(ImodelViews, HostDispatchesOnlyWhenAllFourConditionsHold)
{
    RecordingView view(model);
    RecordingHost host;  // on the process-wide model
    Imodel::SetIsInteractiveMode(true);
    model->SendEvent(Library("deferred"), true);
    EXPECT_TRUE(view.Batches().empty());
    ASSERT_EQ(host.Dispatched().size(), 1u);
    model->SendEvent(Library("caller wants it now"), false);
    Imodel::SetIsInteractiveMode(false);
    model->SendEvent(Library("batch use"), true);
    Imodel::SetIsInteractiveMode(true);
    DefSetFL("IDE_SAFE_UPDATE_VIEWS", "0");
    Imodel::GetInstance().ReloadBoolSettings();
    model->SendEvent(Library("unsafe update"), true);
    DefSetFL("IDE_SAFE_UPDATE_VIEWS", "1");
    Imodel::GetInstance().ReloadBoolSettings();
    Imodel::GetInstance().SetHost(nullptr);
    model->SendEvent(Library("no host"), true);
    Imodel::GetInstance().SetHost(&host);
    EXPECT_EQ(view.Batches().size(), 4u);
    EXPECT_EQ(host.Dispatched().size(), 1u);
    // The host delivers later, to the process-wide model's views.
    RecordingView processWideView;
    host.DeliverDispatched();
    EXPECT_EQ(processWideView.Names(), std::vector<std::string>{"IeventLibraryAdded"});
}

TEST_F(ImodelViews, ConsoleHostLeavesTheModelWhenItGoes)
{
    {
        ConsoleHost console;
        Imodel::GetInstance().SetHost(&console);
    }
    EXPECT_EQ(Imodel::GetInstance().GetHost(), nullptr);
}

TEST_F(ImodelViews, SuspendedViewsHearNothingUntilTheOutermostRestore)
{
    RecordingView kept(model);
    auto gone = std::make_unique<RecordingView>(model);
    model->RestoreViews();  // nothing suspended: changes nothing
    model->SendEvent(Library("a"), true);
    EXPECT_EQ(kept.Batches().size(), 1u);
    EXPECT_EQ(gone->Batches().size(), 1u);

    model->SuspendViews();
    model->SuspendViews();
    RecordingView meanwhile(model);
    gone.reset();  // destroyed while put aside: never told again
    model->SendEvent(Library("b"), true);
    EXPECT_EQ(kept.Batches().size(), 1u);
    EXPECT_EQ(meanwhile.Batches().size(), 1u);

    model->RestoreViews();  // the inner restore: still suspended
    model->SendEvent(Library("c"), true);
    EXPECT_EQ(kept.Batches().size(), 1u);
    EXPECT_EQ(meanwhile.Batches().size(), 2u);

    model->RestoreViews();
    model->SendEvent(Library("d"), true);
    EXPECT_EQ(kept.Batches().size(), 2u);
    // A view registered while suspended goes with the suspension.
    EXPECT_EQ(meanwhile.Batches().size(), 2u);
}

TEST_F(ImodelViews, ViewsChangingTheListDuringDeliveryAreSafe)
{
    RecordingView first(model);
    auto second = std::make_unique<RecordingView>(model);
    RecordingView third(model);
    std::unique_ptr<RecordingView> added;
    first.onBatch = [&] {
        second.reset();  // destroyed before it is told
        model->UnregisterView(&third);
        if (!added) added = std::make_unique<RecordingView>(model);
    };
    model->SendEvent(Library("x"), true);
    EXPECT_EQ(first.Batches().size(), 1u);
    EXPECT_TRUE(third.Batches().empty());
    EXPECT_TRUE(added->Batches().empty());  // not in this batch's list
    model->SendEvent(Library("y"), true);
    EXPECT_EQ(added->Batches().size(), 1u);

    // A view that destroys the model it is told by ends the delivery.
    RecordingView last(model);
    first.onBatch = [&] { Imodel::DestroyNewProjectWizardInstance(model); };
    model->SendEvent(Library("z"), true);
    EXPECT_EQ(model, nullptr);
    EXPECT_EQ(last.Batches().size(), 0u);
}

TEST_F(ImodelViews, TheRemovalOfAUnitBeingDestroyedNeverWaitsForTheHost)
{
    RecordingView view;  // on the process-wide model, which hears the unit's removal
    RecordingHost host;
    Imodel::SetIsInteractiveMode(true);

    auto unit = std::make_unique<ImodelModule>("top", boost::shared_ptr<IfileObjectEx>(), zorpaMODULE_VHDL, false,
                                               "work", "", false);
    unit->SetCanBeDisplayedInAView(true);
    unit.reset();

    // Delivered at once, while the unit still existed; a deferred batch
    // would have carried a dangling unit to the host.
    EXPECT_TRUE(host.Dispatched().empty());
    ASSERT_EQ(view.Batches().size(), 1u);
    EXPECT_EQ(view.Names(), Names{"IeventModuleRemoved"});

    // Other events still go through the host.
    Imodel::GetInstance().SendEvent(Library("deferred"), true);
    EXPECT_EQ(host.Dispatched().size(), 1u);
}
