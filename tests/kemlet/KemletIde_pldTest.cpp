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

TEST(KemletIde_pld, WhatOurWriterWritesReadsBackWithEveryField)
{
    TempFolder folder;
    const std::string database = folder / "top.adb";
    KemletIde_pldFileManagerIf* tool = KemletGetNewFileManager(database.c_str(), KemletWriterPlaceAndRoute, Reloaded);
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->GetFileName(), folder / "top.ide_pld");
    g_reloaded.clear();
    ASSERT_TRUE(tool->Write(ToolRun()));
    EXPECT_EQ(g_reloaded, std::vector<std::string>{database});
    EXPECT_EQ(folder.Read("top.ide_pld"), "KEMLET_IDE_PLD 1\nWRITER 1\nRUN_FAILED 0\nLAYOUT_COMPLETED 1\n"
                                          "BACK_ANNOTATED 1\nLOCAL_COPIES 1\nFILE /prj/top/synthesis/top.edn\n"
                                          "LINK /shared/ip/pll.edn\nCOPY /prj/top/pallador/impl1/pll.edn\n"
                                          "LINK /shared/io, v2.pdc\nUSED /prj/top/synthesis/top.edn\n"
                                          "USED /shared/io, v2.pdc\n");
    KemletDeleteFileManager(tool);
    EXPECT_EQ(tool, nullptr);

    // The project manager reads it as the cache does.
    KemletContentIf* content = KemletGetNewFileContent(nullptr);
    KemletIde_pldFileManagerIf* reader = KemletGetNewFileManager(database.c_str(), KemletWriterProjectManager, nullptr);
    ASSERT_TRUE(reader->Read(content));
    KemletContentIf expected = ToolRun();
    expected.SetWhoWroteTheFile(KemletWriterPlaceAndRoute);
    expected.SetDatabaseName(database);
    EXPECT_TRUE(*content == expected);
    EXPECT_TRUE(content->IsFileInList("\\shared\\io, v2.pdc"));
    // Conversion: the copies replace their links; one link has none.
    EXPECT_FALSE(content->UpdateFileToLocal(database));
    EXPECT_TRUE(content->IsFileInList("/prj/top/pallador/impl1/pll.edn"));
    EXPECT_FALSE(content->IsFileInList("/shared/ip/pll.edn"));
    // Our own rewrite carries our code.
    ASSERT_TRUE(reader->Write(*content));
    KemletContentIf again;
    ASSERT_TRUE(reader->Read(&again));
    EXPECT_EQ(again.GetWhoWroteTheFile(), KemletWriterProjectManager);
    KemletDeleteFileContent(content);
    KemletDeleteFileManager(reader);
}

TEST(KemletIde_pld, WhatCannotBeReadOrWrittenIsRefused)
{
    TempFolder folder;
    EXPECT_EQ(KemletGetNewFileManager("", KemletWriterProjectManager, nullptr), nullptr);
    EXPECT_EQ(KemletGetNewFileManager(nullptr, KemletWriterProjectManager, nullptr), nullptr);

    KemletIde_pldFileManagerIf manager(folder / "a.b.adb", KemletWriterProjectManager, nullptr);
    EXPECT_EQ(manager.GetFileName(), folder / "a.b.ide_pld");
    KemletContentIf kept;
    kept.AddFile("/keep/me.edn");
    EXPECT_FALSE(manager.Read(&kept));  // no description
    EXPECT_FALSE(manager.Read(nullptr));

    for (const std::string text :
         {"not a description\n", "KEMLET_IDE_PLD 1\nRUN_FAILED yes\n", "KEMLET_IDE_PLD 1\nCOPY /orphan.edn\n",
          "KEMLET_IDE_PLD 1\nFILE\n", "KEMLET_IDE_PLD 1\nWRITER two\n"}) {
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
