#include <ktwkspace/Workspace.h>

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

using Ktwkspace::Workspace;

namespace {

std::unique_ptr<Workspace> Open(const std::string& path)
{
    return std::make_unique<Workspace>(path, false, true, false, "", nullptr, nullptr);
}

std::unique_ptr<Workspace> Create(const std::string& projectFolder, const std::string& family = "ZX7")
{
    return std::make_unique<Workspace>("kiltora", projectFolder, family, "zx7a", "pq208", "Verilog", true, 0, true,
                                       true, nullptr, nullptr);
}

}  // namespace

TEST(KtwkspaceWorkspace, ACreatedWorkspaceIsWrittenInItsFolderAndOpensWithItsSettings)
{
    TempFolder project;
    const auto created = Create(project.Path() + "/");
    EXPECT_EQ(created->GetFileName(), project / "kiltora/kiltora.aws");
    EXPECT_FALSE(created->ownedByProject);
    EXPECT_EQ(project.Read("kiltora/kiltora.aws"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<workspace version=\"1\" name=\"kiltora\" "
              "family=\"ZX7\" die=\"zx7a\" package=\"pq208\" language=\"Verilog\">\n</workspace>\n");

    EXPECT_EQ(Open(created->GetFileName())->GetFileName(), created->GetFileName());
}

TEST(KtwkspaceWorkspace, CreationNeverWritesOverAFileAndRefusesWhatCannotBeStored)
{
    TempFolder project;
    const std::string existing = project.Write("kiltora/kiltora.aws", "somebody's workspace\n");
    EXPECT_THROW(Create(project.Path()), std::runtime_error);
    EXPECT_EQ(project.Read("kiltora/kiltora.aws"), "somebody's workspace\n");

    // A device the file cannot hold and a file where the folder should be
    // are in the library's own workspace tests.
    TempFolder other;
    EXPECT_THROW(Create(""), std::invalid_argument);
    EXPECT_THROW(
        std::make_unique<Workspace>("../x", other.Path(), "", "", "", "VHDL", false, 0, true, true, nullptr, nullptr),
        std::invalid_argument);
    EXPECT_FALSE(std::filesystem::exists(other / "kiltora"));
}

TEST(KtwkspaceWorkspace, OpeningTellsAMissingFileFromAnotherVersionAndFromABadFile)
{
    TempFolder folder;
    EXPECT_THROW(Open(folder / "missing.aws"), std::invalid_argument);
    folder.Write("v2.aws", "<workspace version='2' name='kiltora'/>");
    EXPECT_THROW(Open(folder / "v2.aws"), Ktwkspace::version_error);
    for (const char* bad : {"", "hello\n", "<workspace version='one'/>", "<workspace/>", "<workspaces version='1'/>",
                            "<workspace version='1' family='a&#13;b'/>", "<workspace version='1'>",
                            "<!DOCTYPE workspace [<!ENTITY e 'x'>]><workspace version='1' name='&e;'/>",
                            "<workspace version='1'><component kind='13' state='1' name='x'/></workspace>",
                            "<workspace version='1'><component kind='0' state='1' name=''/></workspace>"}) {
        folder.Write("bad.aws", bad);
        try {
            Open(folder / "bad.aws");
            ADD_FAILURE() << "opened: " << bad;
        } catch (const Ktwkspace::version_error&) {
            ADD_FAILURE() << "a version error for: " << bad;
        } catch (const std::invalid_argument&) {
            ADD_FAILURE() << "taken for a missing file: " << bad;
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find("bad.aws"), std::string::npos) << error.what();
        }
    }
}
