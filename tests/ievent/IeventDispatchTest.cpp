#include "RecordingView.h"

#include "ievent/IeventClasses.h"
#include "imodel/model/Imodel.h"

#include <boost/make_shared.hpp>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

TEST(IeventDispatch, AnEmptyBatchOrAnEmptyPointerDeliversNothing)
{
    RecordingView view;
    view.UpdateViews({});
    view.UpdateViews({boost::shared_ptr<Ievent>(), boost::make_shared<IeventProjectClosed>()});
    EXPECT_EQ(view.Names(), (std::vector<std::string>{"IeventProjectClosed"}));
}

TEST(IeventView, RegistersWithTheModelItIsMadeFor)
{
    Imodel* wizard = Imodel::CreateNewProjectWizardInstance();
    ASSERT_NE(wizard, nullptr);
    RecordingView processWideView;
    {
        RecordingView wizardView(wizard);
        wizard->SendEvent(boost::make_shared<IeventLibraryAdded>("work"), false);
        EXPECT_EQ(wizardView.Names(), (std::vector<std::string>{"IeventLibraryAdded"}));
        EXPECT_TRUE(processWideView.Names().empty());
    }
    // The view left the wizard's list when it went.
    RecordingView laterView(wizard);
    wizard->SendEvent(boost::make_shared<IeventLibraryAdded>("work"), false);
    EXPECT_EQ(laterView.Count("IeventLibraryAdded"), 1);
    Imodel::DestroyNewProjectWizardInstance(wizard);
}

TEST(IeventView, OutlivingItsModelIsSafe)
{
    Imodel* wizard = Imodel::CreateNewProjectWizardInstance();
    ASSERT_NE(wizard, nullptr);
    auto view = std::make_unique<RecordingView>(wizard);
    Imodel::DestroyNewProjectWizardInstance(wizard);
    EXPECT_EQ(wizard, nullptr);
    // The destructor must not reach the destroyed model.
    view.reset();
}
