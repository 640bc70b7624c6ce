#include "TempFolder.h"

#include "kemlet/KemletContentIf.h"
#include "kemlet/KemletIde_pldFileManagerIf.h"

#include <gtest/gtest.h>

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
