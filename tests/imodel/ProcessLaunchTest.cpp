// Starting outside programs: the exact argument vector, quoted program
// paths and the start folder.
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelProcess.h"

#include "OptionsScope.h"
#include "TempFolder.h"

#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// Writes every argument on a line of its own to "args.txt" and the folder it
// runs in to "where.txt", both in its working folder; exits with its status.
const char* const kRecorder = "#!/bin/sh\n"
                              "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > args.txt\n"
                              "pwd -P > where.txt\n"
                              "exit 0\n";

std::string Executable(const TempFolder& folder, const std::string& name, const std::string& script)
{
    const std::string path = folder.Write(name, script);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path;
}

using ProcessLaunchTest = OptionsFixture;

TEST_F(ProcessLaunchTest, ACommandLineBecomesTheExactArgumentVectorInItsStartFolder)
{
    TempFolder folder;
    const std::string program = Executable(folder, "my tools/record", kRecorder);
    std::filesystem::create_directories(folder / "run here");
    const std::string before = CwdirGetCurrentDirectory();
    int status = -7;
    EXPECT_TRUE(ImodelSystemCall("\"" + program + "\" -a  \"two words\" \"\"", &status, folder / "run here"));
    EXPECT_EQ(0, status);
    EXPECT_EQ("-a\ntwo words\n\n", folder.Read("run here/args.txt"));
    EXPECT_EQ(std::filesystem::canonical(folder / "run here").string(),
              UtlTrimRightString(folder.Read("run here/where.txt"), "\n"));
    EXPECT_EQ(before, CwdirGetCurrentDirectory());
    // A line without a blank is the program alone: it is not its own argument.
    const std::string plain = Executable(folder, "record", kRecorder);
    EXPECT_TRUE(ImodelSystemCall(plain, nullptr, folder.Path()));
    EXPECT_EQ("", folder.Read("args.txt"));
}

}  // namespace
