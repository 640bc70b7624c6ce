// The shared steps of the in-process entry points: the result, the keep flag
// and the life of the command.
#include "IcmdTestSupport.h"

#include "icmd/IcmdDoCommand.h"

using IcmdDoCommandTest = IcmdTest;

TEST_F(IcmdDoCommandTest, TrueExactlyOnSuccessAndTheCommandStaysOnlyWhenKept)
{
    for (const bool keep : {false, true}) {
        for (const bool succeeds : {true, false}) {
            const std::size_t history = Manager().GetHistory().size();
            const int destroyed = EchoCommand::DestroyedCount();
            auto command = std::make_unique<EchoCommand>(EchoSetup{"echo_project_args", !succeeds, false});
            command->text.SetObject("in process");
            std::string seen;
            EXPECT_EQ(IcmdDoCommand<EchoCommand>(std::move(command), keep,
                                                 [&](EchoCommand& run) { seen = run.GetResultMsg(); }),
                      succeeds);
            EXPECT_EQ(seen, succeeds ? "string: in process" : "");
            EXPECT_EQ(Manager().GetHistory().size(), history + (keep ? 1 : 0));
            EXPECT_EQ(EchoCommand::DestroyedCount(), destroyed + (keep ? 0 : 1));
        }
    }
    EXPECT_FALSE(IcmdDoCommand(std::unique_ptr<EchoCommand>(), true));
}
