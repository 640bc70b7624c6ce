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
