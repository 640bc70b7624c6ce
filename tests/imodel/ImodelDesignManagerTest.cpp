// The design manager: project name and stream, the need-save flag, the
// user template folder, and the design's libraries with their events.
#include "MessageRecorder.h"
#include "OptionsScope.h"
#include "RecordingView.h"
#include "TempFolder.h"

#include "imodel/cores/ImodelTemplateManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "src/imodel/design/imodelDesignManagerImpl.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <filesystem>
#include <string>
#include <vector>

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

class ImodelDesignManagerTest : public ::testing::Test {
protected:
    void SetUp() override { Imodel::GetInstance(); }
    imodelDesignManagerImpl manager;
};

}  // namespace

TEST_F(ImodelDesignManagerTest, NameFlagsAndStream)
{
    manager.SetProjectFolder(std::string("C:\\work\\designs\\alu\\"));
    manager.SetProjectName(std::string("alu"));
    EXPECT_EQ(manager.GetProjectFileName().GetString(), "C:/work/designs/alu/alu.prj");

    // The need-save flag is announced only when it changes; the default HDL
    // needs a save only when it changes.
    RecordingView view;
    manager.SetNeedSave(true);
    manager.SetNeedSave(true);
    manager.SetNeedSave(false);
    manager.SetDefaultVHDL(false);
    EXPECT_FALSE(manager.GetNeedSave());
    manager.SetDefaultVHDL(true);
    EXPECT_TRUE(manager.GetNeedSave());
    EXPECT_EQ(view.Count("IeventNeedSaveFlagChanged"), 3);

    // Dropping the stream closes it first: what was written is on disk.
    TempFolder folder;
    manager.ResetProjectFileStream(true);
    std::fstream* stream = manager.GetProjectFileStream();
    stream->open(folder / "p.prj", std::ios::out);
    *stream << "KEY x\n";
    manager.ResetProjectFileStream(false);
    EXPECT_FALSE(manager.HasProjectFileStream());
    EXPECT_EQ(folder.Read("p.prj"), "KEY x\n");
}

TEST(ImodelTemplateManager, TheUserFolderEndsWithOneSeparatorAndOneThatCannotBeMadeIsReported)
{
    Imodel::GetInstance();  // the model's own template manager exists before the options change
    const OptionsScope options;
    TempFolder folder;
    ASSERT_EQ(DefSetFL("TEMPLATE_DIR", (folder / "made/here/").c_str()), 0);
    EXPECT_EQ(ImodelTemplateManager().getUserTemplateDirectory(), folder / "made/here/");
    EXPECT_TRUE(std::filesystem::is_directory(folder / "made/here"));

    const std::string blocked = folder.Write("plain_file", "x") + "/templates";
    ASSERT_EQ(DefSetFL("TEMPLATE_DIR", blocked.c_str()), 0);
    MessageRecorder messages;
    ImodelTemplateManager manager;
    EXPECT_EQ(manager.getUserTemplateDirectory(), blocked + "/");
    EXPECT_EQ(messages.WithId("UNABLE_TO_CREATE_DIR").size(), 2u);  // at construction and for the query
}

TEST_F(ImodelDesignManagerTest, ResetMakesWorkAndAddingAnExistingLibraryInAnyCaseSendsNothing)
{
    RecordingView view;
    manager.Reset();
    EXPECT_EQ(view.Names(), (Names{"IeventModulePreRemoveAll", "IeventModulePostRemoveAll", "IeventLibraryAdded"}));
    EXPECT_EQ(LibraryNames(manager), Names{"work"});
    view.Clear();
    const ImodelDesignManager::LibraryPtr work = manager.FindLibraryByName("WORK");
    EXPECT_EQ(manager.AddLibrary("Work", true), work);
    EXPECT_EQ(manager.AddLibrary(boost::make_shared<Library>("wOrK", "/src", "/sim/work"), true), work);
    EXPECT_EQ(work->GetLocation(), "/src");
    EXPECT_TRUE(view.Names().empty());
    EXPECT_EQ(manager.AddLibrary(ImodelDesignManager::LibraryPtr(), true), nullptr);

    manager.AddLibrary("mylib", false);
    manager.AddLibrary("other", true);
    EXPECT_EQ(view.Names(), Names{"IeventLibraryAdded"});
    manager.EraseLibrary("MYLIB");
    EXPECT_EQ(LibraryNames(manager), (Names{"work", "other"}));
    MessageRecorder messages;
    EXPECT_EQ(manager.AddLibrary("bad\nname", true), nullptr);
    EXPECT_EQ(messages.WithId("INVALID_NAME_CHAR").size(), 1u);

    // Removing everything sends one batch between its own events.
    AddUnit(*work, "unit");
    view.Clear();
    manager.RemoveAll();
    ASSERT_EQ(view.Batches().size(), 3u);
    EXPECT_EQ(view.Names(), (Names{"IeventLibraryRemoved", "IeventLibraryRemoved", "IeventModulePreRemoveAll",
                                   "IeventModulePostRemoveAll"}));
}

TEST_F(ImodelDesignManagerTest, RenamingMovesTheUnitsAndACaseChangeRenamesInPlace)
{
    manager.Reset();
    const ImodelDesignManager::LibraryPtr mylib = manager.AddLibrary("mylib", false);
    ImodelModule* alu = AddUnit(*mylib, "alu");
    AddUnit(*mylib, "fpu");
    manager.UpdateTopModules(mylib);
    RecordingView view;
    manager.RenameLibrary("mylib", "MyLib");
    EXPECT_EQ(manager.FindLibraryByName("mylib"), mylib);
    EXPECT_EQ(mylib->GetPath(), "MyLib");
    EXPECT_EQ(alu->GetDefinedInLibrary(), "MyLib");
    EXPECT_EQ(view.Count("IeventLibraryModified"), 1);
    EXPECT_EQ(view.Count("IeventLibraryRemoved"), 0);

    manager.RenameLibrary("MYLIB", "core");
    const ImodelDesignManager::LibraryPtr core = manager.FindLibraryByName("core");
    EXPECT_EQ(NamesOf(*core->GetModuleList()), (Names{"alu", "fpu"}));
    EXPECT_TRUE(mylib->GetModules()->empty());
    EXPECT_EQ(alu->GetDefinedInLibrary(), "core");
    EXPECT_EQ(view.Count("IeventLibraryRemoved"), 1);
    manager.RenameLibrary("absent", "fresh");  // without the old library only the new one is made
    EXPECT_EQ(LibraryNames(manager), (Names{"work", "core", "fresh"}));
}
