// Starting child processes: what the model's launches do not reach (signals,
// programs that cannot start); arguments and the start folder are checked
// through ImodelSystemCall in ProcessLaunchTest.
#include "foundation/Sys.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

TEST(SpnSpawn, ReportsTheExitStatusAndWhatCannotStart)
{
    int status = -7;
    EXPECT_EQ(SpnSpawn({"/bin/sh", "-c", "exit 3"}, &status, SpnWAIT), 1);
    EXPECT_EQ(status, 3);
    EXPECT_EQ(SpnSpawn({"/bin/sh", "-c", "kill -9 $$"}, &status, SpnWAIT), 1);  // killed: not a normal exit
    EXPECT_EQ(status, -1);
    EXPECT_EQ(SpnSpawn({"true"}, nullptr, SpnWAIT), 1);  // looked up in PATH

    TempFolder temp;
    status = 99;
    const std::string text = temp.Write("notes.txt", "not a program");
    for (const std::vector<std::string>& argv : std::vector<std::vector<std::string>>{
             {"quorlane-no-such-program-anywhere"}, {temp / "missing"}, {text}, {temp.Path()}, {}, {""}}) {
        EXPECT_EQ(SpnSpawn(argv, &status, SpnWAIT), 0) << (argv.empty() ? "<none>" : argv[0]);
    }
    EXPECT_EQ(SpnSpawn({"/bin/sh", "-c", "exit 0"}, &status, SpnWAIT, temp / "no-such-folder"), 0);
    EXPECT_EQ(status, 99);
}
