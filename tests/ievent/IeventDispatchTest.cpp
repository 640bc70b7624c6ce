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

TEST(IeventView, OutlivingItsModelIsSafe)
{
    std::unique_ptr<Imodel> wizard = Imodel::CreateNewProjectWizardInstance();
    ASSERT_NE(wizard, nullptr);
    auto view = std::make_unique<RecordingView>(wizard.get());
    Imodel::DestroyNewProjectWizardInstance(wizard);
    EXPECT_EQ(wizard, nullptr);
    // The destructor must not reach the destroyed model.
    view.reset();
}
