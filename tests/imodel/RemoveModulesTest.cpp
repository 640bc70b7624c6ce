// Removing the units of a file: placeholders for their users and data kept
// for their return.
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
                if (const auto* found = dynamic_cast<const Event*>(event.get()))
                    carried.emplace_back(found->GetModules().begin(), found->GetModules().end());
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
