#include "MessageRecorder.h"
#include "RecordingView.h"
#include "TempFolder.h"

#include "imodel/cores/ImodelTemplateManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "src/imodel/design/imodelDesignManagerImpl.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

TEST(ImodelDesignManager, TheProjectFileNameJoinsFolderAndName)
{
    imodelDesignManagerImpl manager;
    EXPECT_EQ(manager.GetProjectFolder(), "");
    manager.SetProjectFolder(std::string("C:\\work\\designs\\alu\\"));
    manager.SetProjectName(std::string("alu"));
    EXPECT_EQ(manager.GetProjectFolder().GetString(), "C:/work/designs/alu");
    EXPECT_EQ(manager.GetProjectName().GetString(), "alu");
    EXPECT_EQ(manager.GetProjectFileName().GetString(), "C:/work/designs/alu/alu.prj");
}

TEST(ImodelDesignManager, TheNeedSaveFlagIsAnnouncedOnlyWhenItChanges)
{
    Imodel::GetInstance();
    RecordingView view;
    imodelDesignManagerImpl manager;
    EXPECT_FALSE(manager.GetNeedSave());

    manager.SetNeedSave(true);
    manager.SetNeedSave(true);
    EXPECT_TRUE(manager.GetNeedSave());
    EXPECT_EQ(view.Count("IeventNeedSaveFlagChanged"), 1);

    manager.SetNeedSave(false);
    EXPECT_EQ(view.Count("IeventNeedSaveFlagChanged"), 2);

    // The default HDL: the same value changes nothing, a new one needs a save.
    manager.SetDefaultVHDL(false);
    EXPECT_FALSE(manager.GetNeedSave());
    manager.SetDefaultVHDL(true);
    EXPECT_TRUE(manager.IsDefaultVHDL());
    EXPECT_TRUE(manager.GetNeedSave());
    EXPECT_EQ(view.Count("IeventNeedSaveFlagChanged"), 3);
    EXPECT_EQ(view.Names().size(), 3u);
}

TEST(ImodelDesignManager, TheStreamIsClosedWhenDroppedAndTheOpenStateIsKeptApart)
{
    TempFolder folder;
    imodelDesignManagerImpl manager;
    EXPECT_FALSE(manager.IsProjectOpen());
    manager.SetProjectOpen(true);
    EXPECT_TRUE(manager.IsProjectOpen());
    EXPECT_FALSE(manager.HasProjectFileStream());
    EXPECT_EQ(manager.GetProjectFileStream(), nullptr);

    manager.ResetProjectFileStream(true);
    ASSERT_TRUE(manager.HasProjectFileStream());
    std::fstream* stream = manager.GetProjectFileStream();
    EXPECT_FALSE(stream->is_open());
    stream->open(folder / "p.prj", std::ios::out);
    ASSERT_TRUE(stream->is_open());
    *stream << "KEY x\n";

    // Dropping the stream closes it first: what was written is on disk.
    manager.ResetProjectFileStream(false);
    EXPECT_FALSE(manager.HasProjectFileStream());
    EXPECT_EQ(folder.Read("p.prj"), "KEY x\n");
}

TEST(ImodelDesignManager, TheModelHandsOutItsManagers)
{
    Imodel& model = Imodel::GetInstance();
    EXPECT_NE(model.GetDesignManager(), nullptr);
    EXPECT_NE(model.GetDeviceManager(), nullptr);
    ASSERT_NE(model.GetRevisionManager(), nullptr);
    EXPECT_EQ(model.GetRevisionManager()->GetCurrentRevisionNumber(), 0);
    EXPECT_EQ(model.GetRevisionManager()->GetRevisionCount(), 0);
    EXPECT_EQ(model.GetRevisionManager()->GetCurrentRevisionName(), "");
}

TEST(ImodelSetAndRestoreModelFlagObject, PutsTheFlagBackOnEveryPath)
{
    bool& flag = Imodel::GetIsReadingProject();
    ASSERT_FALSE(flag);
    {
        ImodelSetAndRestoreModelFlagObject setter(flag, true);
        EXPECT_TRUE(flag);
        setter.Unset();
        EXPECT_FALSE(flag);
        flag = true;  // someone else sets it meanwhile; the setter still restores
    }
    EXPECT_FALSE(flag);
    {
        ImodelSetAndRestoreModelFlagObject outer(flag, true);
        ImodelSetAndRestoreModelFlagObject inner(flag, false);
        EXPECT_FALSE(flag);
    }
    EXPECT_FALSE(flag);
}

namespace {

class ImodelTemplateManagerTest : public testing::Test {
protected:
    // The model (and its own template manager) exists before the options change.
    void SetUp() override
    {
        DefReset();
        Imodel::GetInstance();
    }
    void TearDown() override { DefReset(); }
    TempFolder folder;
};

}  // namespace

TEST_F(ImodelTemplateManagerTest, TheUserTemplateFolderEndsWithASeparatorAndIsCreated)
{
    const std::string templates = folder / "user/templates";
    ASSERT_EQ(DefSetFL("TEMPLATE_DIR", templates.c_str()), 0);
    ImodelTemplateManager manager;
    EXPECT_EQ(manager.getUserTemplateDirectory(), templates + "/");
    EXPECT_TRUE(std::filesystem::is_directory(templates));

    ASSERT_EQ(DefSetFL("TEMPLATE_DIR", (templates + "/").c_str()), 0);
    EXPECT_EQ(manager.getUserTemplateDirectory(), templates + "/");
}

TEST_F(ImodelTemplateManagerTest, NoFolderOptionMeansNoUserTemplateFolder)
{
    MessageRecorder messages;
    ImodelTemplateManager manager;
    EXPECT_EQ(manager.getUserTemplateDirectory(), "");
    ASSERT_EQ(DefSetFL("TEMPLATE_DIR", ""), 0);
    EXPECT_EQ(manager.getUserTemplateDirectory(), "");
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(ImodelTemplateManagerTest, AFolderThatCannotBeMadeIsReportedAndKept)
{
    const std::string blocked = folder.Write("plain_file", "x") + "/templates";
    ASSERT_EQ(DefSetFL("TEMPLATE_DIR", blocked.c_str()), 0);
    MessageRecorder messages;
    ImodelTemplateManager manager;
    EXPECT_EQ(manager.getUserTemplateDirectory(), blocked + "/");
    // Once at construction and once for the query.
    EXPECT_EQ(messages.WithId("UNABLE_TO_CREATE_DIR").size(), 2u);
}

// --- the design's libraries ------------------------------------------------------------

namespace {

using Library = ImodelDesignManager::Library;
using Names = std::vector<std::string>;

ImodelModule* AddUnit(Library& library, const std::string& name, bool isPackage = false)
{
    auto unit =
        std::make_unique<ImodelModule>(name, nullptr, zorpaMODULE_VHDL, isPackage, library.GetName(), "", false);
    return library.GetModules()->Insert(std::move(unit)).first;
}

Names NamesOf(const std::deque<ImodelModule*>& units)
{
    Names names;
    for (const ImodelModule* unit : units) names.push_back(unit->GetName());
    return names;
}

Names LibraryNames(const ImodelDesignManager& manager)
{
    Names names;
    for (auto [it, end] = manager.GetLibraries(); it != end; ++it) names.push_back((*it)->GetName());
    return names;
}

class ImodelDesignLibraries : public ::testing::Test {
protected:
    void SetUp() override { Imodel::GetInstance(); }
    imodelDesignManagerImpl manager;
};

}  // namespace

TEST_F(ImodelDesignLibraries, ResetMakesWorkAndAddingItAgainInAnyCaseSendsNothing)
{
    EXPECT_TRUE(LibraryNames(manager).empty());
    EXPECT_EQ(manager.GetModuleTree(), nullptr);
    RecordingView view;
    manager.Reset();
    EXPECT_EQ(view.Names(), (Names{"IeventModulePreRemoveAll", "IeventModulePostRemoveAll", "IeventLibraryAdded"}));
    EXPECT_EQ(LibraryNames(manager), Names{"work"});
    ASSERT_NE(manager.GetModuleTree(), nullptr);
    EXPECT_TRUE(manager.GetModuleTree()->empty());

    view.Clear();
    const ImodelDesignManager::LibraryPtr work = manager.FindLibraryByName("WORK");
    EXPECT_EQ(manager.AddLibrary("Work", true), work);
    auto replacement = boost::make_shared<Library>("wOrK", "/src", "/sim/work");
    EXPECT_EQ(manager.AddLibrary(replacement, true), work);
    EXPECT_EQ(work->GetLocation(), "/src");
    EXPECT_EQ(work->GetPath(), "/sim/work");
    EXPECT_TRUE(view.Names().empty());
    EXPECT_EQ(manager.AddLibrary(ImodelDesignManager::LibraryPtr(), true), nullptr);

    const ImodelDesignManager::LibraryPtr made = manager.AddLibrary("mylib", false);
    EXPECT_TRUE(view.Names().empty());
    EXPECT_EQ(made->GetPath(), "mylib");
    EXPECT_EQ(made->GetCompileOption(), ZORPA_COMPILE);
    EXPECT_NE(made->GetModuleList(), nullptr);
    manager.AddLibrary("other", true);
    EXPECT_EQ(view.Names(), Names{"IeventLibraryAdded"});
    EXPECT_EQ(LibraryNames(manager), (Names{"work", "mylib", "other"}));
    manager.EraseLibrary("MYLIB");
    manager.EraseLibrary("absent");
    EXPECT_EQ(LibraryNames(manager), (Names{"work", "other"}));

    MessageRecorder messages;
    EXPECT_EQ(manager.AddLibrary("bad\nname", true), nullptr);
    EXPECT_EQ(messages.WithId("INVALID_NAME_CHAR").size(), 1u);
    EXPECT_EQ(LibraryNames(manager), (Names{"work", "other"}));
}

TEST_F(ImodelDesignLibraries, RemoveAllSendsOneBatchBetweenItsOwnEvents)
{
    for (const char* name : {"work", "a", "b"}) AddUnit(*manager.AddLibrary(name, false), "unit");
    RecordingView view;
    manager.RemoveAll();
    ASSERT_EQ(view.Batches().size(), 3u);
    EXPECT_EQ(view.Batches()[0].size(), 3u);
    EXPECT_EQ(view.Names(), (Names{"IeventLibraryRemoved", "IeventLibraryRemoved", "IeventLibraryRemoved",
                                   "IeventModulePreRemoveAll", "IeventModulePostRemoveAll"}));
    EXPECT_TRUE(LibraryNames(manager).empty());
}

TEST_F(ImodelDesignLibraries, RenamingMovesTheUnitsAndACaseChangeRenamesInPlace)
{
    manager.Reset();
    const ImodelDesignManager::LibraryPtr mylib = manager.AddLibrary("mylib", false);
    ImodelModule* alu = AddUnit(*mylib, "alu");
    ImodelModule* fpu = AddUnit(*mylib, "fpu");
    manager.UpdateTopModules(mylib);

    RecordingView view;
    manager.RenameLibrary("mylib", "MyLib");
    EXPECT_EQ(manager.FindLibraryByName("mylib"), mylib);
    EXPECT_EQ(mylib->GetName(), "MyLib");
    EXPECT_EQ(mylib->GetPath(), "MyLib");
    EXPECT_EQ(mylib->GetModules()->size(), 2u);
    EXPECT_EQ(NamesOf(*mylib->GetModuleList()), (Names{"alu", "fpu"}));
    EXPECT_EQ(alu->GetDefinedInLibrary(), "MyLib");
    EXPECT_EQ(view.Count("IeventLibraryModified"), 1);
    EXPECT_EQ(view.Count("IeventLibraryRemoved"), 0);

    view.Clear();
    manager.RenameLibrary("MYLIB", "core");
    EXPECT_EQ(LibraryNames(manager), (Names{"work", "core"}));
    const ImodelDesignManager::LibraryPtr core = manager.FindLibraryByName("core");
    EXPECT_EQ(core->GetModules()->size(), 2u);
    EXPECT_TRUE(mylib->GetModules()->empty());
    EXPECT_EQ(NamesOf(*core->GetModuleList()), (Names{"alu", "fpu"}));
    EXPECT_EQ(fpu->GetDefinedInLibrary(), "core");
    EXPECT_EQ(view.Count("IeventLibraryAdded"), 1);
    EXPECT_EQ(view.Count("IeventLibraryRemoved"), 1);

    // Without the old library only the new one is made.
    manager.RenameLibrary("absent", "fresh");
    EXPECT_EQ(LibraryNames(manager), (Names{"work", "core", "fresh"}));
}

TEST_F(ImodelDesignLibraries, TopModulesArePackagesFirstThenUnitsNoUnitOfTheLibraryUses)
{
    manager.Reset();
    const ImodelDesignManager::LibraryPtr work = manager.FindLibraryByName("work");
    const ImodelDesignManager::LibraryPtr other = manager.AddLibrary("other", false);
    ImodelModule* top = AddUnit(*work, "top");
    ImodelModule* used = AddUnit(*work, "used");
    ImodelModule* shared = AddUnit(*work, "shared");
    AddUnit(*work, "pkg_a", true);
    AddUnit(*work, "pkg_b", true);
    ImodelModule* outside = AddUnit(*other, "outside");
    top->AddSubBlock(used, false);
    outside->AddSubBlock(shared, false);
    manager.UpdateTopModules(work);
    EXPECT_EQ(NamesOf(*manager.GetModuleTree()), (Names{"pkg_b", "pkg_a", "shared", "top"}));
    manager.UpdateTopModules(ImodelDesignManager::LibraryPtr());
}

TEST_F(ImodelDesignLibraries, TheRootIsFoundByItsIdAndClearingForgetsEverything)
{
    manager.Reset();
    EXPECT_EQ(manager.GetRootModule(), nullptr);
    EXPECT_TRUE(manager.IsRootStructural());
    EXPECT_FALSE(manager.IsRootSchematic());
    EXPECT_FALSE(manager.RootHasSubBlocks());

    const ImodelDesignManager::LibraryPtr work = manager.FindLibraryByName("work");
    auto drawing = std::make_unique<ImodelModule>("board", nullptr, zorpaMODULE_SCHEMATIC, false, "", "", false);
    ImodelModule* board = work->GetModules()->Insert(std::move(drawing)).first;
    manager.SetRootId(VyIfaces::ComponentID("board", "work", ""));
    EXPECT_EQ(manager.GetRootModule(), board);
    EXPECT_TRUE(manager.IsRootSchematic());
    EXPECT_FALSE(manager.RootHasSubBlocks());

    manager.SetProjectFolder(std::string("/p"));
    manager.SetProjectName(std::string("alu"));
    manager.ResetProjectFileStream(true);
    manager.SetProjectOpen(true);
    manager.SetNeedSave(true);
    RecordingView view;
    manager.ClearProject();
    EXPECT_FALSE(manager.IsProjectOpen());
    EXPECT_EQ(manager.GetProjectFolder(), "");
    EXPECT_EQ(manager.GetProjectName(), "");
    EXPECT_TRUE(manager.GetRootId().IsDefault());
    EXPECT_EQ(manager.GetRootModule(), nullptr);
    EXPECT_EQ(LibraryNames(manager), Names{"work"});
    EXPECT_TRUE(manager.FindLibraryByName("work")->GetModules()->empty());
    EXPECT_FALSE(manager.HasProjectFileStream());
    EXPECT_FALSE(manager.GetNeedSave());
    EXPECT_EQ(view.Count("IeventLibraryAdded"), 1);
    EXPECT_EQ(view.Count("IeventNeedSaveFlagChanged"), 1);
}
