// Removing the units of a file: placeholders for their users, data kept for
// their return, events while the units exist, and the files still needed.
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

TEST_F(RemoveModulesTest, AUnitThatGoesLeavesItsUsersAPlaceholderAndItsDataBehind)
{
    const Entry fileB = ProjectFile("b.vhd");
    ImodelModule* a = Unit("A", ProjectFile("a.vhd"));
    ImodelModule* b = Unit("B", fileB);
    a->AddSubBlock(b, false);
    a->AddSubBlock(b, false);  // every instance is replaced
    b->SetExpand(4);
    TestComponent component({"B", "work", ""}, VyIfaces::IComponent::HDL);
    b->SetComponent(&component);
    RecordingView view;
    auto kept = boost::make_shared<ImodelModule::UnitSet>();
    std::vector<VyIfaces::IComponent*> components;
    ImodelRemoveModulesOfFile(fileB, kept, true, true, false, &components, nullptr);

    ImodelModule* placeholder = Find("B");
    ASSERT_NE(placeholder, nullptr);
    EXPECT_TRUE(placeholder->IsUnknown());
    EXPECT_EQ(SubBlocks(a), (std::vector<ImodelModule*>{placeholder, placeholder}));
    EXPECT_EQ(Parents(placeholder), std::vector<ImodelModule*>{a});
    EXPECT_EQ(Carried<IeventModuleAdded>(view), (std::vector<std::vector<ImodelModule*>>{{placeholder}}));
    // What stays of B: its component for the caller, an unlinked copy, its data.
    EXPECT_EQ(components, std::vector<VyIfaces::IComponent*>{&component});
    ASSERT_EQ(kept->size(), 1u);
    EXPECT_EQ((*kept->begin())->GetModuleFile(), fileB);
    EXPECT_EQ((*kept->begin())->GetSubBlocks(), nullptr);
    const ImodelModule* entry = ImodelModule::FindDeletedModuleInfo(placeholder);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->GetExpand(), 4);
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
    std::deque<ImodelModule*> modules{top};
    ImodelUpdateStimulusAssociation(*bench, &modules);
    EXPECT_EQ(top->GetStimulusList(), ImodelModule::FileList{*keep});
    EXPECT_TRUE(sub->GetStimulusList().empty());
    EXPECT_EQ(other->GetStimulusList().size(), 1u);
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
