#include "TempFolder.h"

#include "kemlet/KemletContentIf.h"
#include "kemlet/KemletIde_pldFileManagerIf.h"

#include <foundation/Sys.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

// What the place-and-route tool leaves after a run.
KemletContentIf ToolRun()
{
    KemletContentIf content;
    content.SetRunFailed(false);
    content.SetLayoutCompleted(true);
    content.SetBackAnnotated(true);
    content.SetLocalCopiesMade(true);
    content.AddFile("/prj/top/synthesis/top.edn");
    content.AddLink("/shared/ip/pll.edn", "/prj/top/pallador/impl1/pll.edn");
    content.AddLink("/shared/io, v2.pdc");
    content.AddUsedInputFile("/prj/top/synthesis/top.edn");
    content.AddUsedInputFile("/shared/io, v2.pdc");
    return content;
}

std::vector<std::string> g_reloaded;
void Reloaded(const char* database) { g_reloaded.push_back(database); }

}  // namespace

TEST(KemletIde_pld, WhatTheToolWritesReadsBackWithEveryField)
{
    TempFolder folder;
    const std::string database = folder / "top.adb";
    KemletIde_pldFileManagerIf tool(database, KemletWriterPlaceAndRoute, Reloaded);
    g_reloaded.clear();
    ASSERT_TRUE(tool.Write(ToolRun()));
    EXPECT_EQ(g_reloaded, std::vector<std::string>{database});

    // The project manager reads it as the cache does.
    KemletContentIf content;
    ASSERT_TRUE(KemletIde_pldFileManagerIf(database, KemletWriterProjectManager, nullptr).Read(&content));
    KemletContentIf expected = ToolRun();
    expected.SetWhoWroteTheFile(KemletWriterPlaceAndRoute);
    expected.SetDatabaseName(database);
    expected.SetDescribedDatabase("top.adb");
    EXPECT_TRUE(content == expected);
    EXPECT_TRUE(content.IsFileInList("\\shared\\io, v2.pdc"));
}

TEST(KemletIde_pld, WhatCannotBeReadOrWrittenIsRefused)
{
    TempFolder folder;

    KemletIde_pldFileManagerIf manager(folder / "a.b.adb", KemletWriterProjectManager, nullptr);
    EXPECT_EQ(manager.GetFileName(), folder / "a.b.ide_pld");
    KemletContentIf kept;
    kept.AddFile("/keep/me.edn");
    EXPECT_FALSE(manager.Read(&kept));  // no description
    EXPECT_FALSE(manager.Read(nullptr));

    for (const std::string text :
         {"not a description\n", "KEMLET_IDE_PLD 1\nRUN_FAILED yes\n", "KEMLET_IDE_PLD 1\nCOPY /orphan.edn\n",
          "KEMLET_IDE_PLD 1\nFILE\n", "KEMLET_IDE_PLD 1\nWRITER two\n", "KEMLET_IDE_PLD 1\nKIND 3\n",
          "KEMLET_IDE_PLD 1\nFILE /a.edn\nKIND -2\n", "KEMLET_IDE_PLD 1\nFILE /a.edn\nCOPY /b.edn\n",
          "KEMLET_IDE_PLD 1\nLINK /a.edn\nCOPY /b.edn\nCOPY /c.edn\n", "KEMLET_IDE_PLD 1\nOPTIONAL x /a.sdc\n",
          "KEMLET_IDE_PLD 1\nOPTIONAL 0\n", "KEMLET_IDE_PLD 1\nDESIGN\n", "KEMLET_IDE_PLD 1\nSYNTHESIZED 2\n"}) {
        folder.Write("a.b.ide_pld", text);
        EXPECT_FALSE(manager.Read(&kept)) << text;
        EXPECT_EQ(kept.GetFileList(), std::vector<std::string>{"/keep/me.edn"});
    }

    // CRLF, blank lines and keywords of later versions read all the same.
    folder.Write("a.b.ide_pld", "KEMLET_IDE_PLD 1\r\nWRITER 1\r\n\r\nDEVICE x\r\nFILE /a b.edn\r\n");
    KemletContentIf read;
    ASSERT_TRUE(manager.Read(&read));
    EXPECT_EQ(read.GetFileList(), std::vector<std::string>{"/a b.edn"});

    // A name the format cannot hold leaves the old file as it was.
    const std::string before = folder.Read("a.b.ide_pld");
    KemletContentIf broken;
    broken.AddFile("/two\nlines.edn");
    EXPECT_FALSE(manager.Write(broken));
    KemletContentIf empty;
    empty.AddUsedInputFile("");
    EXPECT_FALSE(manager.Write(empty));
    EXPECT_EQ(folder.Read("a.b.ide_pld"), before);
}

TEST(KemletIde_pld, TheProjectManagersRecordsRoundTripWithKindsFormatsAndOptionalFiles)
{
    TempFolder folder;
    KemletContentIf content;
    content.SetDesignName("top");
    content.SetDevice("ZX7", "ZX7D100", "FG256");
    content.SetSynthesizedFlow(false);
    content.AddFile("/prj/synthesis/top.edn", 0);
    content.AddLink("/shared/io.pdc", "/prj/io.pdc");
    content.SetLastFileAttributes(12, "");
    content.AddFile("/prj/stim/run.vcd", 13, "vcd");
    content.AddFile("/prj/notes.txt");
    content.SetOptionalFile("/prj/synthesis/top_sdc.sdc", 1);
    content.SetOptionalFile("/prj/phy/top_zevoru.pdc", 0);
    content.SetOptionalFile("/PRJ/SYNTHESIS/top_sdc.sdc", 0);  // the same file: its flag changes

    KemletIde_pldFileManagerIf manager(folder / "top.adb", KemletWriterProjectManager, nullptr);
    ASSERT_TRUE(manager.Write(content));
    KemletContentIf read;
    ASSERT_TRUE(manager.Read(&read));
    KemletContentIf expected = content;
    expected.SetWhoWroteTheFile(KemletWriterProjectManager);
    expected.SetDescribedDatabase("top.adb");
    expected.SetDatabaseName(folder / "top.adb");
    EXPECT_TRUE(read == expected);
    EXPECT_TRUE(read.IsSameRecords(content.GetRecords()));
    std::vector<KemletFileRecord> otherKind = content.GetRecords();
    otherKind[2].format.clear();
    EXPECT_FALSE(read.IsSameRecords(otherKind));
    ASSERT_NE(read.FindOptionalFile("/prj/phy/TOP_zevoru.pdc"), nullptr);
    EXPECT_EQ(read.FindOptionalFile("/prj/other.pdc"), nullptr);

    // A rename reaches every list.
    read.SetRecords({{"/shared/io.pdc", 12, ""}, {"/prj/synthesis/top.edn", 0, ""}});
    read.AddUsedInputFile("/prj/synthesis/top.edn");
    EXPECT_TRUE(read.RenameFile("/PRJ/synthesis/top.edn", "/prj/synthesis/top_1.edn"));
    EXPECT_FALSE(read.RenameFile("/prj/absent.edn", "/prj/x.edn"));
    EXPECT_EQ(read.GetFileList(), (std::vector<std::string>{"/shared/io.pdc", "/prj/synthesis/top_1.edn"}));
    EXPECT_EQ(read.GetUsedInputFiles(), std::vector<std::string>{"/prj/synthesis/top_1.edn"});
}

TEST(KemletIde_pld, ADescriptionCopiedFromAnotherDatabaseIsNotItsContent)
{
    TempFolder folder;
    KemletContentIf content;
    content.AddFile("/prj/a.edn");
    EXPECT_TRUE(content.IsContentOf(folder / "any.adb"));  // says nothing of its database
    folder.Write("impl1/top.adb", "");
    KemletIde_pldFileManagerIf first(folder / "impl1/top.adb", KemletWriterProjectManager, nullptr);
    ASSERT_TRUE(first.Write(content));
    folder.Write("impl1/other.ide_pld", folder.Read("impl1/top.ide_pld"));
    folder.Write("impl2/top.ide_pld", folder.Read("impl1/top.ide_pld"));

    KemletContentIf read;
    ASSERT_TRUE(
        KemletIde_pldFileManagerIf(folder / "impl1/other.adb", KemletWriterProjectManager, nullptr).Read(&read));
    EXPECT_FALSE(read.IsContentOf(read.GetDatabaseName()));
    ASSERT_TRUE(KemletIde_pldFileManagerIf(folder / "impl2/top.adb", KemletWriterProjectManager, nullptr).Read(&read));
    EXPECT_TRUE(read.IsContentOf(folder / "impl2/TOP.adb"));  // the same design in another view
}

namespace {

// A place-and-route view's description in the project `project`, as the
// project manager keeps it: the netlist first, then the constraint files
// in the user's order, a link outside the project with its local copy, and
// an optional file.
KemletContentIf ViewList(const std::string& project, const std::string& shared)
{
    KemletContentIf content;
    content.AddFile(project + "/synthesis/top.edn", 0);
    content.AddFile(project + "/constraint/timing.sdc", 10);
    content.AddLink(shared + "/io.pdc", project + "/pallador/impl1/io.pdc");
    content.SetLastFileAttributes(12, "");
    content.AddFile(project + "/constraint/pins.pdc", 12);
    content.AddUsedInputFile(project + "/synthesis/top.edn");
    content.SetOptionalFile(project + "/constraint/extra.sdc", 1);
    return content;
}

KemletContentIf ReadView(const std::string& database)
{
    KemletContentIf content;
    EXPECT_TRUE(KemletIde_pldFileManagerIf(database, KemletWriterProjectManager, nullptr).Read(&content)) << database;
    return content;
}

// What a description says, apart from which database it was read for.
KemletContentIf Said(KemletContentIf content)
{
    content.SetDatabaseName(std::string());
    return content;
}

// The content as the project manager writes it for the database top.adb.
KemletContentIf Described(KemletContentIf content)
{
    content.SetWhoWroteTheFile(KemletWriterProjectManager);
    content.SetDescribedDatabase("top.adb");
    return content;
}

}  // namespace

TEST(KemletIde_pld, AProjectCopiedOrMovedElsewhereListsItsOwnFiles)
{
    TempFolder folder;
    folder.Write("alu/alu.prj", "");
    folder.Write("alu/pallador/impl1/top.adb", "");
    const std::string alu = folder / "alu";
    const std::string shared = folder / "shared";
    const std::string database = alu + "/pallador/impl1/top.adb";
    const KemletContentIf written = Described(ViewList(alu, shared));
    ASSERT_TRUE(KemletIde_pldFileManagerIf(database, KemletWriterProjectManager, nullptr).Write(written));

    // The files of the project are named from the description's folder;
    // the file outside it keeps its full name.
    const std::string text = folder.Read("alu/pallador/impl1/top.ide_pld");
    EXPECT_NE(text.find("FILE ../../synthesis/top.edn\n"), std::string::npos) << text;
    EXPECT_NE(text.find("LINK " + shared + "/io.pdc\nCOPY ../../pallador/impl1/io.pdc\n"), std::string::npos) << text;
    EXPECT_NE(text.find("OPTIONAL 1 ../../constraint/extra.sdc\n"), std::string::npos) << text;
    EXPECT_EQ(text.find(alu), std::string::npos) << text;
    EXPECT_TRUE(Said(ReadView(database)) == Said(written));

    // A copy names the copy's files, in the same order; the original is left as it was.
    std::filesystem::copy(alu, folder / "cp", std::filesystem::copy_options::recursive);
    const std::string cp = folder / "cp";
    EXPECT_TRUE(Said(ReadView(cp + "/pallador/impl1/top.adb")) == Described(ViewList(cp, shared)));
    EXPECT_EQ(folder.Read("alu/pallador/impl1/top.ide_pld"), text);

    // So does a project moved deeper, and what is written there stays its own.
    std::filesystem::create_directories(folder / "moved");
    std::filesystem::rename(cp, folder / "moved/cp");
    const std::string moved = folder / "moved/cp";
    KemletContentIf read = ReadView(moved + "/pallador/impl1/top.adb");
    EXPECT_TRUE(Said(read) == Described(ViewList(moved, shared)));
    read.SetRecords({{moved + "/synthesis/top.edn", 0, ""}, {moved + "/constraint/pins.pdc", 12, ""}});
    ASSERT_TRUE(
        KemletIde_pldFileManagerIf(moved + "/pallador/impl1/top.adb", KemletWriterProjectManager, nullptr).Write(read));
    EXPECT_EQ(ReadView(moved + "/pallador/impl1/top.adb").GetFileList(),
              (std::vector<std::string>{moved + "/synthesis/top.edn", moved + "/constraint/pins.pdc"}));
    EXPECT_EQ(folder.Read("moved/cp/pallador/impl1/top.ide_pld").find(folder.Path()), std::string::npos);
}

TEST(KemletIde_pld, OlderDescriptionsWithFullNamesReadAsTheyStand)
{
    TempFolder folder;
    folder.Write("cp/cp.prj", "");
    folder.Write("cp/pallador/impl1/top.adb", "");
    const std::string cp = folder / "cp";
    const std::string alu = folder / "alu";  // where the description was written
    std::string old;
    ASSERT_TRUE(KemletFormatDescription(ViewList(alu, "/shared"), KemletWriterProjectManager, "top.adb", old));
    EXPECT_NE(old.find("FILE " + alu + "/synthesis/top.edn\n"), std::string::npos);
    folder.Write("cp/pallador/impl1/top.ide_pld", old);
    const std::string database = cp + "/pallador/impl1/top.adb";
    KemletContentIf read = ReadView(database);
    EXPECT_TRUE(Said(read) == Described(ViewList(alu, "/shared")));

    // Written back, a name of this project becomes relative; the names of
    // the other project stay as they were.
    read.SetRecords({{cp + "/synthesis/top.edn", 0, ""}, {alu + "/constraint/pins.pdc", 12, ""}});
    ASSERT_TRUE(KemletIde_pldFileManagerIf(database, KemletWriterProjectManager, nullptr).Write(read));
    const std::string text = folder.Read("cp/pallador/impl1/top.ide_pld");
    EXPECT_NE(text.find("FILE ../../synthesis/top.edn\nKIND 0\nFILE " + alu + "/constraint/pins.pdc\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(ReadView(database).GetFileList(),
              (std::vector<std::string>{cp + "/synthesis/top.edn", alu + "/constraint/pins.pdc"}));
}

TEST(KemletIde_pld, RelativeNamesRoundTripAndFollowTheirProject)
{
    // Descriptions at several depths of a project, naming files inside it,
    // in a sibling folder whose name begins like the project's, and
    // elsewhere; names given with the separators and dots a caller may use.
    const std::string project = "/work/p";
    const std::vector<std::string> folders = {"/work/p", "/work/p/pallador", "/work/p/pallador/impl1", "/work/p/a/b/c"};
    const std::vector<std::string> inside = {"/work/p/top.edn", "/work/p/pallador/impl1/io.pdc",
                                             "/work/p/constraint/a b, c.sdc", "/work/p/x/./y/../z.sdc"};
    const std::vector<std::string> outside = {"/work/pq/top.edn", "/work/top.edn", "/other/p/io.pdc", "C:/lib/io.pdc",
                                              "\\\\server\\lib\\io.pdc"};
    unsigned seed = 20261210;
    const auto next = [&seed](std::size_t bound) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<std::size_t>((seed >> 8) % bound);
    };
    for (int round = 0; round < 200; ++round) {
        const std::string folder = folders[next(folders.size())];
        KemletContentIf content;
        std::vector<bool> isInside;
        for (std::size_t count = 1 + next(5); count > 0; --count) {
            const bool in = next(2) == 0;
            content.AddFile(in ? inside[next(inside.size())] : outside[next(outside.size())]);
            isInside.push_back(in);
        }
        std::string text;
        ASSERT_TRUE(KemletFormatDescription(content, KemletWriterProjectManager, "top.adb", text, folder, project));
        EXPECT_EQ(text.find("/work/p/"), std::string::npos) << text;

        // Read in place: the same files, in the same order.
        KemletContentIf read;
        ASSERT_TRUE(KemletParseDescription(text, read, folder));
        ASSERT_EQ(read.GetFileList().size(), content.GetFileList().size());
        for (std::size_t i = 0; i < content.GetFileList().size(); ++i)
            EXPECT_TRUE(UtlIsSameFileName(read.GetFileList()[i], UtlResolveDots(content.GetFileList()[i])) ||
                        read.GetFileList()[i] == content.GetFileList()[i])
                << read.GetFileList()[i] << " for " << content.GetFileList()[i] << " in " << folder;

        // Read after the project moved: its own files moved with it.
        const std::string movedFolder = "/moved/q" + folder.substr(project.size());
        KemletContentIf moved;
        ASSERT_TRUE(KemletParseDescription(text, moved, movedFolder));
        for (std::size_t i = 0; i < content.GetFileList().size(); ++i) {
            const std::string& name = content.GetFileList()[i];
            const std::string expected = isInside[i] ? "/moved/q" + UtlResolveDots(name).substr(project.size()) : name;
            EXPECT_EQ(moved.GetFileList()[i], expected) << "in " << folder;
        }
    }
}

TEST(KemletIde_pld, TheProjectFileAWriterGivesWritesWhatTheSearchForOneWrites)
{
    // Projects with views at several depths, a project whose file the
    // writer names but that has none (another one above it), a second
    // project, and folders outside any project (one named as long as the
    // project's).
    TempFolder folder;
    folder.Write("alu/alu.prj", "");
    folder.Write("other/other.prj", "");
    folder.Write("outer/outer.prj", "");
    const std::string alu = folder / "alu";
    const std::vector<std::string> views = {
        alu + "/pallador/impl1", alu + "/pallador/impl2",         alu,
        alu + "/a/b/c",          folder / "other/pallador/impl1", folder / "outer/inner/pallador/impl1",
        folder / "loose/impl1",  folder / "blu/pallador/impl1"};
    for (const std::string& view : views) std::filesystem::create_directories(view);
    const std::vector<std::string> projectFiles = {alu + "/alu.prj", alu + "/./x/../alu.prj",
                                                   folder / "outer/inner/inner.prj", ""};
    const std::vector<std::string> names = {alu + "/synthesis/top.edn",
                                            alu + "/constraint/io pins.pdc",
                                            alu + "/pallador/impl1/io.pdc",
                                            alu + "/a/b/c/deep.sdc",
                                            folder / "other/constraint/x.sdc",
                                            folder / "outer/shared.pdc",
                                            folder / "loose/impl1/t.sdc",
                                            folder / "blu/b.sdc",
                                            "/elsewhere/lib/io.pdc"};
    unsigned seed = 1560;
    const auto next = [&seed](std::size_t bound) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<std::size_t>((seed >> 8) % bound);
    };
    for (int round = 0; round < 200; ++round) {
        const std::string database = views[next(views.size())] + "/top.adb";
        const std::string projectFile = projectFiles[next(projectFiles.size())];
        KemletContentIf content;
        for (std::size_t count = 1 + next(4); count > 0; --count) content.AddFile(names[next(names.size())], 12);
        content.AddUsedInputFile(names[next(names.size())]);
        content.SetOptionalFiles({{names[next(names.size())], static_cast<int>(next(2))}});

        const std::string description =
            database.substr(folder.Path().size() + 1, database.size() - folder.Path().size() - 4) + "ide_pld";
        ASSERT_TRUE(KemletIde_pldFileManagerIf(database, KemletWriterProjectManager, nullptr).Write(content));
        const std::string searched = folder.Read(description);
        ASSERT_NE(searched, "");
        std::filesystem::remove(folder / description);
        KemletIde_pldFileManagerIf given(database, KemletWriterProjectManager, nullptr);
        given.SetProjectFile(projectFile);
        ASSERT_TRUE(given.Write(content));
        EXPECT_EQ(folder.Read(description), searched) << description << " in the project of " << projectFile;
    }
}

TEST(KemletIde_pld, TheGivenProjectIsTheOneAStrayProjectFileBelowItDoesNotReplace)
{
    TempFolder folder;
    folder.Write("alu/alu.prj", "");
    folder.Write("alu/pallador/impl1/old.prj", "");
    const std::string alu = folder / "alu";
    KemletContentIf content;
    content.AddFile(alu + "/synthesis/top.edn", 0);
    content.AddFile(alu + "/pallador/impl1/io.pdc", 12);
    KemletIde_pldFileManagerIf manager(alu + "/pallador/impl1/top.adb", KemletWriterProjectManager, nullptr);
    manager.SetProjectFile(alu + "/alu.prj");
    ASSERT_TRUE(manager.Write(content));
    const std::string text = folder.Read("alu/pallador/impl1/top.ide_pld");
    EXPECT_NE(text.find("FILE ../../synthesis/top.edn\nKIND 0\nFILE ../../pallador/impl1/io.pdc\n"), std::string::npos)
        << text;
}

TEST(KemletIde_pld, ADescriptionThatHoldsTheTextAlreadyIsLeftAsItIs)
{
    TempFolder folder;
    folder.Write("alu/alu.prj", "");
    const std::string database = folder / "alu/pallador/impl1/top.adb";
    const std::string description = folder / "alu/pallador/impl1/top.ide_pld";
    std::filesystem::create_directories(folder / "alu/pallador/impl1");
    KemletIde_pldFileManagerIf manager(database, KemletWriterProjectManager, Reloaded);
    manager.SetProjectFile(folder / "alu/alu.prj");
    KemletContentIf content;
    content.AddFile(folder / "alu/constraint/io.pdc", 12);
    ASSERT_TRUE(manager.Write(content));
    const std::string text = folder.Read("alu/pallador/impl1/top.ide_pld");

    // A second name for the file: a write in its place would leave the
    // second name alone on the old file.
    std::filesystem::create_hard_link(description, folder / "alu/seen.ide_pld");
    g_reloaded.clear();
    ASSERT_TRUE(manager.Write(content));
    EXPECT_EQ(std::filesystem::hard_link_count(description), 2u);
    EXPECT_EQ(g_reloaded, std::vector<std::string>{database});

    // Another text is written in its place.
    content.AddFile(folder / "alu/constraint/t.sdc", 10);
    ASSERT_TRUE(manager.Write(content));
    EXPECT_EQ(std::filesystem::hard_link_count(description), 1u);
    EXPECT_EQ(folder.Read("alu/seen.ide_pld"), text);
    EXPECT_NE(folder.Read("alu/pallador/impl1/top.ide_pld").find("FILE ../../constraint/t.sdc\n"), std::string::npos);
}
