// The shared steps of the in-process entry points: the result, the keep flag
// and the life of the command.
#include "IcmdTestSupport.h"

#include "icmd/IcmdDoCommand.h"

namespace {

using IcmdDoCommandTest = IcmdTest;

std::unique_ptr<EchoCommand> Echo(bool needsProject)
{
    auto command = std::make_unique<EchoCommand>(EchoSetup{"echo_project_args", needsProject, false});
    command->text.SetObject("in process");
    return command;
}

}  // namespace

TEST_F(IcmdDoCommandTest, TrueExactlyOnSuccessAndTheCommandStaysOnlyWhenKept)
{
    for (const bool keep : {false, true}) {
        for (const bool succeeds : {true, false}) {
            const std::size_t history = Manager().GetHistory().size();
            const int destroyed = EchoCommand::DestroyedCount();
            std::string seen;
            const bool done = IcmdDoCommand<EchoCommand>(Echo(!succeeds), keep,
                                                         [&](EchoCommand& command) { seen = command.GetResultMsg(); });
            EXPECT_EQ(done, succeeds);
            EXPECT_EQ(seen, succeeds ? "string: in process" : "");
            EXPECT_EQ(Manager().GetHistory().size(), history + (keep ? 1 : 0));
            EXPECT_EQ(EchoCommand::DestroyedCount(), destroyed + (keep ? 0 : 1));
        }
    }
    EXPECT_FALSE(IcmdDoCommand(std::unique_ptr<EchoCommand>(), true));
}
