#include "ievent/IeventClasses.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

#include "RecordingHost.h"
#include "RecordingView.h"

#include <foundation/Def.h>

#include <boost/make_shared.hpp>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
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

TEST_F(ImodelViews, AViewMadeWhereADestroyedOneLayDuringADeliveryWaitsForTheNextBatch)
{
    // The allocator may give a new view the address of one just destroyed:
    // the place is reused here on purpose, so the case never depends on it.
    RecordingView first(model);
    std::optional<RecordingView> slot(std::in_place, model);
    const RecordingView* const place = &*slot;
    bool replaced = false;
    first.onBatch = [&] {
        if (replaced) return;
        replaced = true;
        slot.reset();
        slot.emplace(model);
    };
    model->SendEvent(Library("x"), true);
    ASSERT_EQ(&*slot, place);
    EXPECT_TRUE(slot->Batches().empty());
    model->SendEvent(Library("y"), true);
    EXPECT_EQ(slot->Batches().size(), 1u);
    EXPECT_EQ(first.Batches().size(), 2u);
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
