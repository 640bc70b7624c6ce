// The design manager: the project file stream and the design's libraries
// with their events.
#include "MessageRecorder.h"
#include "RecordingView.h"
#include "TempFolder.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "src/imodel/design/imodelDesignManagerImpl.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

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

TEST_F(ImodelDesignManagerTest, DroppingTheStreamClosesItFirstSoWhatWasWrittenIsOnDisk)
{
    TempFolder folder;
    manager.ResetProjectFileStream(true);
    std::fstream* stream = manager.GetProjectFileStream();
    stream->open(folder / "p.prj", std::ios::out);
    *stream << "KEY x\n";
    manager.ResetProjectFileStream(false);
    EXPECT_FALSE(manager.HasProjectFileStream());
    EXPECT_EQ(folder.Read("p.prj"), "KEY x\n");
}
