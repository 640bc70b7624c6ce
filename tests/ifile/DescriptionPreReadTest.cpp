// The reading half of the descriptions' pre-read, on its own thread: what
// it lists and reads, and that it can be stopped and taken from at any
// moment. It touches nothing of the model, so these tests also run under
// ThreadSanitizer (tests/tsan).
#include "TempFolder.h"

#include "src/ifile/ifileDescriptionPreRead.h"

#include <kemlet/KemletIde_pldFileManagerIf.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

// A description of `database` (a full name) listing `files`, as the tool
// writes it (plainly: many are written).
void WriteDescription(const std::string& database, const std::vector<std::string>& files)
{
    KemletContentIf content;
    for (const std::string& file : files) content.AddFile(file, 1);
    const std::filesystem::path path(database);
    std::string text;
    ASSERT_TRUE(KemletFormatDescription(content, KemletWriterPlaceAndRoute, path.filename().string(), text));
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path.parent_path() / (path.stem().string() + ".ide_pld")) << text;
}

std::vector<std::string> Databases(const std::vector<ifileDescriptionPreRead::Description>& read)
{
    std::vector<std::string> names;
    for (const auto& description : read) names.push_back(description.database);
    return names;
}

}  // namespace

TEST(DescriptionPreRead, ItListsTheDescriptionsOfEveryViewFolderAndNothingElse)
{
    TempFolder project;
    const std::string base = project.Path() + "/pallador/";
    WriteDescription(base + "impl2/top.adb", {"/x/a.vhd"});
    WriteDescription(base + "impl1/b.adb", {"/x/b.vhd"});
    WriteDescription(base + "impl1/a.adb", {"/x/c.vhd"});
    WriteDescription(base + "other/z.adb", {"/x/z.vhd"});
    WriteDescription(project.Path() + "/hdl/h.adb", {"/x/h.vhd"});
    project.Write("pallador/impl1/notes.txt", "not a description\n");
    project.Write("pallador/impl3", "a file named like a view folder\n");
    EXPECT_EQ(ifileDescriptionPreRead::ListDatabases(project.Path()),
              (std::vector<std::string>{base + "impl1/a.adb", base + "impl1/b.adb", base + "impl2/top.adb"}));
    EXPECT_TRUE(ifileDescriptionPreRead::ListDatabases(project.Path() + "/missing").empty());
    EXPECT_TRUE(ifileDescriptionPreRead::ListDatabases("").empty());
}

TEST(DescriptionPreRead, UnreadableDescriptionsAreLeftOutAndTheOthersReadAsWritten)
{
    TempFolder project;
    WriteDescription(project.Path() + "/pallador/impl1/good.adb", {"/x/a.vhd", "/x/b.sdc"});
    project.Write("pallador/impl1/bad.ide_pld", "not the description format\n");
    std::vector<ifileDescriptionPreRead::Description> read;
    const std::atomic<bool> stop{false};
    ifileDescriptionPreRead::ReadDatabases(ifileDescriptionPreRead::ListDatabases(project.Path()), stop,
                                           [&read](ifileDescriptionPreRead::Description&& description) {
                                               read.push_back(std::move(description));
                                           });
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read.front().database, project.Path() + "/pallador/impl1/good.adb");
    EXPECT_EQ(read.front().content.GetFileList(), (std::vector<std::string>{"/x/a.vhd", "/x/b.sdc"}));
}

TEST(DescriptionPreRead, WhatTheThreadReadsIsTakenInPiecesAndInOrder)
{
    TempFolder project;
    std::vector<std::string> expected;
    for (int i = 0; i < 200; ++i) {
        const std::string database = project.Path() + "/pallador/impl" + std::to_string(i % 3 + 1) + "/d" +
                                     std::to_string(1000 + i) + ".adb";
        WriteDescription(database, {"/x/f" + std::to_string(i) + ".vhd"});
        expected.push_back(database);
    }
    std::sort(expected.begin(), expected.end());
    ifileDescriptionPreRead preRead(project.Path());
    EXPECT_EQ(preRead.GetProjectFolder(), project.Path());
    std::vector<std::string> taken;
    // Taken while the thread still reads, then once it is done.
    while (!preRead.IsFinished()) {
        const auto piece = preRead.Take();
        for (const std::string& name : Databases(piece)) taken.push_back(name);
    }
    preRead.Wait();
    for (const std::string& name : Databases(preRead.Take())) taken.push_back(name);
    EXPECT_EQ(taken, expected);
    EXPECT_TRUE(preRead.Take().empty());
}

TEST(DescriptionPreRead, AStoppedReadingEndsAtOnceAndKeepsWhatItHadRead)
{
    TempFolder project;
    for (int i = 0; i < 300; ++i)
        WriteDescription(project.Path() + "/pallador/impl1/d" + std::to_string(i) + ".adb", {"/x/f.vhd"});
    {
        ifileDescriptionPreRead preRead(project.Path());
        preRead.Cancel();
        EXPECT_TRUE(preRead.IsFinished());
        const auto read = preRead.Take();
        EXPECT_LE(read.size(), 300u);
        // Whatever was read is whole.
        for (const auto& description : read) EXPECT_EQ(description.content.GetFileList().size(), 1u);
    }
    // A reading left running is stopped and waited for when it goes.
    for (int i = 0; i < 5; ++i) ifileDescriptionPreRead preRead(project.Path());
}
