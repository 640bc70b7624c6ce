// Zip archives of a folder: what they hold, that they never hold
// themselves, and that an archive of the same name is replaced only by a
// complete one.
#include "TempFolder.h"

#include <fenwold/Zipper.h>
#include <foundation/Sys.h>

#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

// Entry name -> content ("/" for a folder); empty when the file is no archive.
std::map<std::string, std::string> Entries(const std::string& archive)
{
    std::map<std::string, std::string> entries;
    int error = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_RDONLY, &error);
    if (!zip) return entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        const std::string name = zip_get_name(zip, static_cast<zip_uint64_t>(i), 0);
        zip_stat_t stat;
        zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &stat);
        std::string content(static_cast<std::size_t>(stat.size), '\0');
        if (zip_file_t* file = zip_fopen_index(zip, static_cast<zip_uint64_t>(i), 0)) {
            zip_fread(file, content.data(), stat.size);
            zip_fclose(file);
        }
        entries[name] = name.back() == '/' ? "/" : content;
    }
    zip_discard(zip);
    return entries;
}

std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    SysListFolder(folder, names);
    return names;
}

}  // namespace

TEST(Zipper, TheArchiveHoldsTheFolderUnderItsNameOnceAndNeverItself)
{
    TempFolder temp;
    temp.Write("alu/alu.prj", "KEY SOLVATO \"7.1\"\n");
    temp.Write("alu/hdl/alu.vhd", "entity alu is end;\n");
    std::filesystem::create_directories(temp / "alu/pallador/impl1");
    // A link back up the tree is followed once, a link to nothing is left out.
    std::filesystem::create_directory_symlink(temp / "alu", temp / "alu/hdl/loop");
    std::filesystem::create_symlink(temp / "nowhere", temp / "alu/hdl/dangling.vhd");
    // An older archive inside the folder is replaced, not archived.
    const std::string archive = temp.Write("alu/backup.zip", "an older archive");

    Fenwold::Zipper zipper(archive, 0, 0);
    ASSERT_TRUE(zipper.AddFolderToZip(temp / "alu", 0)) << zipper.GetError();
    ASSERT_TRUE(zipper.CloseZip()) << zipper.GetError();

    const std::map<std::string, std::string> expected = {
        {"alu/", "/"},          {"alu/alu.prj", "KEY SOLVATO \"7.1\"\n"},
        {"alu/hdl/", "/"},      {"alu/hdl/alu.vhd", "entity alu is end;\n"},
        {"alu/pallador/", "/"}, {"alu/pallador/impl1/", "/"},
    };
    EXPECT_EQ(Entries(archive), expected);
    EXPECT_EQ(Names(temp / "alu"), (std::vector<std::string>{"alu.prj", "backup.zip", "hdl", "pallador"}));
}

TEST(Zipper, AnArchiveThatFailsLeavesTheOlderOneAsItWasAndNothingBehind)
{
    TempFolder temp;
    temp.Write("alu/alu.prj", "project");
    const std::string gone = temp.Write("alu/hdl/gone.vhd", "read when the archive is written");
    const std::string archive = temp.Write("alu.zip", "the older archive");

    {
        // A file that is gone when the archive is written fails it.
        Fenwold::Zipper zipper(archive, 0, 0);
        ASSERT_TRUE(zipper.AddFolderToZip(temp / "alu", 0));
        SysDelete(gone);
        EXPECT_FALSE(zipper.CloseZip());
        EXPECT_FALSE(zipper.GetError().empty());
    }
    {
        // So does a folder that is not there, and the archive is not written.
        Fenwold::Zipper zipper(archive, 0, 0);
        EXPECT_FALSE(zipper.AddFolderToZip(temp / "missing", 0));
        EXPECT_FALSE(zipper.CloseZip());
    }
    {
        // An archive dropped before it was closed is not written either.
        Fenwold::Zipper zipper(archive, 0, 0);
        ASSERT_TRUE(zipper.AddFolderToZip(temp / "alu", 0));
    }
    EXPECT_EQ(temp.Read("alu.zip"), "the older archive");
    EXPECT_EQ(Names(temp.Path()), (std::vector<std::string>{"alu", "alu.zip"}));

    // A complete archive replaces it.
    Fenwold::Zipper zipper(archive, 0, 0);
    ASSERT_TRUE(zipper.AddFolderToZip(temp / "alu", 0));
    ASSERT_TRUE(zipper.CloseZip());
    EXPECT_EQ(Entries(archive).count("alu/alu.prj"), 1u);
    EXPECT_EQ(Names(temp.Path()), (std::vector<std::string>{"alu", "alu.zip"}));
}
