// The command base: commands registered from the table rows, and the
// delivery of change events.
#include "IcmdTestSupport.h"
#include "RecordingView.h"

#include "ievent/IeventClasses.h"
#include "src/icmd/IcmdCommandTable.h"

#include <boost/make_shared.hpp>
#include <boost/weak_ptr.hpp>

namespace {

using IcmdBaseTest = IcmdTest;

}  // namespace

TEST_F(IcmdBaseTest, TableRowsGivenAFactoryRegisterTheirCommand)
{
    // save_project and close_project given the echo command under their
    // names, as each command's own work will give its class.
    std::vector<IcmdCommandRow> rows = IcmdGetCommandTable();
    for (IcmdCommandRow& row : rows) {
        const std::string name = row.name;
        row.factory = name == "save_project" || name == "close_project"
                          ? IcmdFactoryOf<EchoCommand>(EchoSetup{name, true, false})
                          : IcmdCommandFactory();
    }
    Manager().Reset();
    ASSERT_EQ(IcmdRegisterCommandRows(rows, Imodel::GetInstance(), true), 2);
    for (const std::string name : {"save_project", "close_project"}) {
        EXPECT_EQ(Eval(name), TCL_ERROR);
        EXPECT_EQ(result, "You must load a project to execute '" + name + "'.");
        Design().SetProjectOpen(true);
        EXPECT_EQ(Eval(name + " -string done"), TCL_OK) << result;
        Design().SetProjectOpen(false);
    }
}

TEST_F(IcmdBaseTest, PendingEventsGoOutAsOneBatchOnceAndDieWithTheirCommand)
{
    RecordingView view;
    boost::weak_ptr<Ievent> dropped;
    {
        EchoCommand command;
        command.AddEvent(boost::make_shared<IeventProjectClosed>());
        command.AddEvent(boost::make_shared<IeventStatusBarContentChanged>());
        // A single event goes out at once, ahead of the pending batch.
        IcmdBase::NotifyEvent(boost::make_shared<IeventNeedSaveFlagChanged>());
        command.NotifyAllViews();
        command.NotifyAllViews();  // nothing is delivered twice
        EXPECT_EQ(view.Names(),
                  (Texts{"IeventNeedSaveFlagChanged", "IeventProjectClosed", "IeventStatusBarContentChanged"}));
        ASSERT_EQ(view.Batches().size(), 3u);
        EXPECT_EQ(view.Batches()[1].size(), 2u);
        EXPECT_TRUE(view.Batches()[2].empty());

        const auto kept = boost::make_shared<IeventProjectClosed>();
        dropped = kept;
        command.AddEvent(kept);
    }
    // The command went without sending: its event reached no view and is gone.
    EXPECT_EQ(view.Batches().size(), 3u);
    EXPECT_TRUE(dropped.expired());
}
