#include "RecordingView.h"
#include "ReparseTestSupport.h"

#include "imodel/design/ImodelRemoveModules.h"

#include <gtest/gtest.h>

namespace {

using ModuleSet = ImodelModule::ModuleSet;
using ModuleList = ImodelModule::ModuleList;

class RemoveModulesTest : public ReparseFixture {
protected:
    static void Remove(const Entry& file, bool save = false)
    {
        ImodelRemoveModulesOfFile(file, nullptr, true, save, false, nullptr, nullptr);
    }
    static std::vector<ImodelModule*> SubBlocks(const ImodelModule* unit)
    {
        const ImodelLinkList* list = unit->GetSubBlocks();
        return list ? std::vector<ImodelModule*>(list->begin(), list->end()) : std::vector<ImodelModule*>();
    }
    static std::vector<ImodelModule*> Parents(const ImodelModule* unit)
    {
        const ImodelLinkList* list = unit->GetParentsList();
        return list ? std::vector<ImodelModule*>(list->begin(), list->end()) : std::vector<ImodelModule*>();
    }
    // The modules of each event of that class the view received, in order.
    template <class Event>
    static std::vector<std::vector<ImodelModule*>> Carried(const RecordingView& view)
    {
        std::vector<std::vector<ImodelModule*>> carried;
        for (const IeventBatch& batch : view.Batches())
            for (const auto& event : batch)
                if (const auto* found = dynamic_cast<const Event*>(event.get())) carried.push_back(found->GetModules());
        return carried;
    }
};

}  // namespace

TEST_F(RemoveModulesTest, RemovingTheFileOfTheRootLeavesNoRoot)
{
    const Entry file = ProjectFile("top.vhd");
    ImodelModule* top = Unit("top", file);
    Unit("other", ProjectFile("other.vhd"));
    Design().SetRootId(top->GetComponentID());
    ASSERT_EQ(Design().GetRootModule(), top);

    Remove(file);

    EXPECT_EQ(Find("top"), nullptr);
    EXPECT_NE(Find("other"), nullptr);
    const VyIfaces::ComponentID& root = Design().GetRootId();
    EXPECT_EQ(root.name, "");
    EXPECT_EQ(root.library, "");
    EXPECT_EQ(root.package, "");
    EXPECT_EQ(Design().GetRootModule(), nullptr);
}

TEST_F(RemoveModulesTest, AUnitThatGoesLeavesItsUsersAPlaceholderAndItsDataBehind)
{
    const Entry fileA = ProjectFile("a.vhd");
    const Entry fileB = ProjectFile("b.vhd");
    ImodelModule* a = Unit("A", fileA);
    ImodelModule* b = Unit("B", fileB);
    a->AddSubBlock(b, false);
    b->SetExpand(4);
    TestComponent component({"B", "work", ""}, VyIfaces::IComponent::HDL);
    b->SetComponent(&component);
    RecordingView view;
    auto kept = boost::make_shared<ImodelModule::UnitSet>();
    std::vector<VyIfaces::IComponent*> components;

    ImodelRemoveModulesOfFile(fileB, kept, true, true, false, &components, nullptr);

    ASSERT_EQ(SubBlocks(a).size(), 1u);
    ImodelModule* placeholder = SubBlocks(a).front();
    EXPECT_NE(placeholder, b);
    EXPECT_EQ(placeholder->GetName(), "B");
    EXPECT_TRUE(placeholder->IsUnknown());
    EXPECT_FALSE(placeholder->GetModuleFile());
    EXPECT_EQ(placeholder->GetDefinedInLibrary(), "work");
    EXPECT_EQ(Find("B"), placeholder);
    EXPECT_EQ(Parents(placeholder), std::vector<ImodelModule*>{a});
    EXPECT_EQ(Carried<IeventModuleAdded>(view), (std::vector<std::vector<ImodelModule*>>{{placeholder}}));

    // What stays of B: its component for the caller, an unlinked copy, its data.
    EXPECT_EQ(components, std::vector<VyIfaces::IComponent*>{&component});
    ASSERT_EQ(kept->size(), 1u);
    const ImodelModule* copy = *kept->begin();
    EXPECT_EQ(copy->GetName(), "B");
    EXPECT_EQ(copy->GetModuleFile(), fileB);
    EXPECT_EQ(copy->GetExpand(), 4);
    EXPECT_EQ(copy->GetSubBlocks(), nullptr);
    EXPECT_EQ(copy->GetParentsList(), nullptr);
    const ImodelModule* entry = ImodelModule::FindDeletedModuleInfo(placeholder);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->GetExpand(), 4);
}

TEST_F(RemoveModulesTest, SubBlocksWithoutFileGoWithTheirLastUser)
{
    const Entry fileA = ProjectFile("a.vhd");
    ImodelModule* a = Unit("A", fileA);
    ImodelModule* c = Unit("C", ProjectFile("c.vhd"));
    ImodelModule* onlyA = Unit("X");
    ImodelModule* shared = Unit("Y");
    a->AddSubBlock(onlyA, false);
    a->AddSubBlock(shared, false);
    c->AddSubBlock(shared, false);

    Remove(fileA);

    EXPECT_EQ(Find("A"), nullptr);
    EXPECT_EQ(Find("X"), nullptr);
    EXPECT_EQ(Find("Y"), shared);
    EXPECT_EQ(Parents(shared), std::vector<ImodelModule*>{c});
}

TEST_F(RemoveModulesTest, EveryInstanceOfAUnitThatGoesIsReplaced)
{
    const Entry fileB = ProjectFile("b.vhd");
    ImodelModule* a = Unit("A", ProjectFile("a.vhd"));
    ImodelModule* b = Unit("B", fileB);
    a->AddSubBlock(b, false);
    a->AddSubBlock(b, false);

    Remove(fileB);

    ImodelModule* placeholder = Find("B");
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(SubBlocks(a), (std::vector<ImodelModule*>{placeholder, placeholder}));
    EXPECT_EQ(Parents(placeholder), std::vector<ImodelModule*>{a});
}

TEST_F(RemoveModulesTest, UsersInOtherLibrariesShareOnePlaceholderThere)
{
    const Entry fileB = ProjectFile("b.vhd");
    ImodelModule* b = Unit("B", fileB);
    ImodelModule* user1 = Unit("U1", ProjectFile("u1.vhd", zorpaFT_HDL, "other"), "other");
    ImodelModule* user2 = Unit("U2", ProjectFile("u2.vhd", zorpaFT_HDL, "other"), "other");
    user1->AddSubBlock(b, false);
    user2->AddSubBlock(b, false);

    Remove(fileB);

    ImodelModule* placeholder = Find("B", "other");
    ASSERT_NE(placeholder, nullptr);
    EXPECT_TRUE(placeholder->IsUnknown());
    EXPECT_EQ(placeholder->GetDefinedInLibrary(), "other");
    EXPECT_EQ(SubBlocks(user1), std::vector<ImodelModule*>{placeholder});
    EXPECT_EQ(SubBlocks(user2), std::vector<ImodelModule*>{placeholder});
    EXPECT_EQ(UnitCount("other"), 3u);
    EXPECT_EQ(Find("B"), nullptr);  // none in the unit's own library: nobody there used it
}

TEST_F(RemoveModulesTest, AUnitOfTheSameNameInTheLibraryTakesOverItsUsers)
{
    const Entry fileB = ProjectFile("b.vhd");
    ImodelModule* a = Unit("A", ProjectFile("a.vhd"));
    ImodelModule* b = Unit("B", fileB);
    ImodelModule* otherB = Unit("B", ProjectFile("b2.vhd"));
    a->AddSubBlock(b, false);
    RecordingView view;

    Remove(fileB);

    EXPECT_EQ(SubBlocks(a), std::vector<ImodelModule*>{otherB});
    EXPECT_EQ(Parents(otherB), std::vector<ImodelModule*>{a});
    EXPECT_EQ(UnitCount(), 2u);
    EXPECT_TRUE(Carried<IeventModuleAdded>(view).empty());
}

TEST_F(RemoveModulesTest, APackageDeclaringTheUnitTakesItsPlaceForUsersThatSeeIt)
{
    const Entry fileB = ProjectFile("b.vhd");
    ImodelModule* a = Unit("A", ProjectFile("a.vhd"));
    ImodelModule* b = Unit("B", fileB);
    a->AddSubBlock(b, false);
    a->SetPossibleLibraries({"lib2.components.all", "work"});
    ImodelModule* package =
        Unit("components", ProjectFile("components.vhd", zorpaFT_HDL, "lib2"), "lib2", zorpaMODULE_VHDL, true);
    package->AddSubBlock(Unit("B", nullptr, "lib2"), false);

    Remove(fileB);

    EXPECT_EQ(SubBlocks(a), std::vector<ImodelModule*>{package});
    EXPECT_EQ(Find("B"), nullptr);
}

TEST_F(RemoveModulesTest, ForgettingDropsTheDataKeptForTheFileAndAMissingLibraryRemovesNothing)
{
    const Entry fileB = LinkedFile("b.vhd");
    Unit("B", fileB);
    Remove(fileB, true);
    ASSERT_EQ(ImodelModule::GetRemovedModuleList().size(), 1u);
    // The file's units left already: only the kept data goes.
    ImodelRemoveModulesOfFile(fileB, nullptr, true, false, true, nullptr, nullptr);
    EXPECT_TRUE(ImodelModule::GetRemovedModuleList().empty());

    const Entry elsewhere = ProjectFile("x.vhd", zorpaFT_HDL, "nolib");
    Unit("X", elsewhere);
    elsewhere->SetLibraryName("gone");
    ImodelRemoveModulesOfFile(elsewhere, nullptr, true, false, false, nullptr, nullptr);
    ImodelRemoveModulesOfFile(nullptr, nullptr, true, false, false, nullptr, nullptr);
    EXPECT_NE(Find("X"), nullptr);
}

TEST_F(RemoveModulesTest, TheWorkspaceLearnsOfComponentsAndPackageUsers)
{
    TestComponent unitComponent({"alu", "work", ""}, VyIfaces::IComponent::HDL);
    TestComponent inPackage({"add", "work", "Arith"}, VyIfaces::IComponent::HDL);
    TestComponent elsewhere({"mul", "work", "other"}, VyIfaces::IComponent::HDL);
    ImodelModule* alu = Unit("alu", ProjectFile("alu.vhd"));
    alu->SetComponent(&unitComponent);
    ImodelModule* arith = Unit("arith", ProjectFile("arith.vhd"), "work", zorpaMODULE_VHDL, true);
    ImodelModule* add = Unit("add");
    ImodelModule* mul = Unit("mul");
    add->SetComponent(&inPackage);
    mul->SetComponent(&elsewhere);
    arith->AddSubBlock(add, false);
    arith->AddSubBlock(mul, false);

    std::vector<VyIfaces::IComponent*> components;
    std::deque<ImodelModule*> users;
    ImodelNotifyWorkspaceWhenModulesAreRemoved(alu, false, nullptr, &users);
    EXPECT_EQ(alu->GetComponent(), &unitComponent);  // kept while nobody takes it
    ImodelNotifyWorkspaceWhenModulesAreRemoved(alu, false, &components, &users);
    EXPECT_EQ(components, std::vector<VyIfaces::IComponent*>{&unitComponent});
    EXPECT_EQ(alu->GetComponent(), nullptr);

    ImodelNotifyWorkspaceWhenModulesAreRemoved(arith, true, &components, &users);
    EXPECT_TRUE(users.empty());
    ImodelNotifyWorkspaceWhenModulesAreRemoved(arith, false, &components, &users);
    EXPECT_EQ(users, std::deque<ImodelModule*>{add});
    ImodelNotifyWorkspaceWhenModulesAreRemoved(nullptr, false, &components, &users);
    EXPECT_EQ(components.size(), 1u);
}

TEST_F(RemoveModulesTest, RemovingAKindAnnouncesTheUnitsWhileTheyExist)
{
    RecordingView view;
    ImodelRemoveAllModulesOfAType(zorpaMODULE_NETLIST);
    ASSERT_EQ(Carried<IeventModuleRemoved>(view).size(), 1u);
    EXPECT_TRUE(Carried<IeventModuleRemoved>(view)[0].empty());
    ImodelRemoveAllModulesOfAType(zorpaMODULE_NETLIST, nullptr);

    ImodelModule* top = Unit("top", ProjectFile("top.edf", zorpaFT_SYN_EDN), "work", zorpaMODULE_NETLIST);
    ImodelModule* core = Unit("core", ProjectFile("core.edf", zorpaFT_SYN_EDN, "lib2"), "lib2", zorpaMODULE_NETLIST);
    ImodelModule* hdl = Unit("hdl", ProjectFile("hdl.vhd"));
    top->AddSubBlock(hdl, false);
    Design().SetRootId(top->GetComponentID());
    std::vector<std::size_t> unitsWhenTold;
    view.onBatch = [&] { unitsWhenTold.push_back(UnitCount() + UnitCount("lib2")); };
    view.Clear();

    ImodelRemoveAllModulesOfAType(zorpaMODULE_NETLIST);

    EXPECT_EQ(Carried<IeventModuleRemoved>(view), (std::vector<std::vector<ImodelModule*>>{{top}, {core}}));
    ASSERT_GE(unitsWhenTold.size(), 1u);
    EXPECT_EQ(unitsWhenTold[0], 3u);
    EXPECT_EQ(Find("top"), nullptr);
    EXPECT_EQ(Find("core", "lib2"), nullptr);
    EXPECT_EQ(Find("hdl"), hdl);
    EXPECT_EQ(hdl->GetParentsList()->size(), 0u);
    EXPECT_EQ(Design().GetRootId().name, "");
}

TEST_F(RemoveModulesTest, AStimulusFileLeavesEveryUnitOfTheHierarchy)
{
    const Entry bench = ProjectFile("tb.vhd", zorpaFT_TB_HDL);
    const Entry keep = ProjectFile("tb2.vhd", zorpaFT_TB_HDL);
    ImodelModule* top = Unit("top", ProjectFile("top.vhd"));
    ImodelModule* sub = Unit("sub", ProjectFile("sub.vhd"));
    ImodelModule* other = Unit("other", ProjectFile("other.vhd"));
    top->AddSubBlock(sub, false);
    sub->AddSubBlock(top, false);  // a design that instantiates itself
    top->SetNewStimulusList({*bench, *keep}, nullptr);
    sub->SetNewStimulusList({*bench}, nullptr);
    other->SetNewStimulusList({*bench}, nullptr);
    Design().SetNeedSave(false);

    std::deque<ImodelModule*> modules{top};
    ImodelUpdateStimulusAssociation(*bench, &modules);

    EXPECT_EQ(top->GetStimulusList(), ImodelModule::FileList{*keep});
    EXPECT_TRUE(sub->GetStimulusList().empty());
    EXPECT_EQ(other->GetStimulusList().size(), 1u);
    EXPECT_TRUE(Design().GetNeedSave());

    Design().SetNeedSave(false);
    ImodelUpdateStimulusAssociation(*bench, &modules);
    ImodelUpdateStimulusAssociation(*bench, nullptr);
    EXPECT_FALSE(Design().GetNeedSave());
}

TEST_F(RemoveModulesTest, AFileStillNeededByAFileThatStaysIsNotRemovedWithTheOthers)
{
    const Entry removed = ProjectFile("a.vhd");
    const Entry usedByRemoved = ProjectFile("b.vhd");
    const Entry usedByStaying = ProjectFile("c.vhd");
    const Entry chain = ProjectFile("d.vhd");
    ImodelModule* a = Unit("A", removed);
    ImodelModule* b = Unit("B", usedByRemoved);
    ImodelModule* c = Unit("C", usedByStaying);
    ImodelModule* d = Unit("D", chain);
    ImodelModule* staying = Unit("S", ProjectFile("s.vhd"));
    a->AddSubBlock(b, false);
    b->AddSubBlock(d, false);  // D is reached through B, which goes too
    staying->AddSubBlock(c, false);

    ImodelModule::FileEntries result{removed};
    ImodelGetCommonFilesWeCanRemove({removed}, {usedByRemoved, usedByStaying, chain}, result);

    EXPECT_EQ(result, (ImodelModule::FileEntries{usedByRemoved, chain}));
}
