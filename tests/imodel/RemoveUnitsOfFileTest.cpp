// Removing the units of a file finds them through the library's file index:
// by every name under which the file-name comparison finds the file (with
// or without "<project>", another letter case, backslashes), in the
// library's order, and not the units of other files.
#include "ReparseTestSupport.h"

#include "imodel/design/ImodelRemoveModules.h"

#include <gtest/gtest.h>

namespace {

class RemoveUnitsOfFileTest : public ReparseFixture {
protected:
    // A file value of that full name, outside the file manager.
    Entry Named(const std::string& name)
    {
        m_named.push_back(MakeFile(name));
        m_named.back()->SetLibraryName("work");
        return m_named.back();
    }
    // The units removed, by the components handed back, in removal order.
    std::vector<std::string> RemovedBy(const Entry& file)
    {
        std::vector<VyIfaces::IComponent*> components;
        ImodelRemoveModulesOfFile(file, nullptr, true, false, false, &components, nullptr);
        std::vector<std::string> names;
        for (const VyIfaces::IComponent* component : components) names.push_back(component->GetComponentID().name);
        return names;
    }
    ImodelModule* WithComponent(const std::string& name, const Entry& file)
    {
        ImodelModule* unit = Unit(name, file);
        m_components.push_back(
            std::make_unique<TestComponent>(VyIfaces::ComponentID(name, "work", ""), VyIfaces::IComponent::HDL));
        unit->SetComponent(m_components.back().get());
        return unit;
    }

    std::vector<Entry> m_named;
    std::vector<std::unique_ptr<TestComponent>> m_components;
};

}  // namespace

TEST_F(RemoveUnitsOfFileTest, TheUnitsOfAFileAreFoundUnderEveryNameOfIt)
{
    const Entry stored = ProjectFile("src/alu.vhd");
    ASSERT_EQ(stored->GetInternalFileName().GetString().rfind("<project>", 0), 0u);
    WithComponent("shift", stored);
    WithComponent("add", stored);
    WithComponent("Mul", stored);
    WithComponent("other", ProjectFile("src/alu2.vhd"));

    // The full name, in another case and with backslashes, finds the units
    // stored under "<project>", in the library's order.
    std::string full = m_project.Path() + "\\SRC\\Alu.vhd";
    EXPECT_EQ(RemovedBy(Named(full)), (std::vector<std::string>{"add", "Mul", "shift"}));
    EXPECT_NE(Find("other"), nullptr);

    // And the other way round: units of a full name, removed by the
    // project's entry stored under "<project>".
    const Entry fullName = Named(m_project.Path() + "/src/cpu.vhd");
    WithComponent("cpu", fullName);
    WithComponent("bus", fullName);
    const Entry cpu = ProjectFile("src/cpu.vhd");
    EXPECT_EQ(RemovedBy(cpu), (std::vector<std::string>{"bus", "cpu"}));
    EXPECT_EQ(RemovedBy(cpu), std::vector<std::string>{});
    EXPECT_NE(Find("other"), nullptr);
}

TEST_F(RemoveUnitsOfFileTest, AUnitGivenAnotherFileLeavesWithThatFile)
{
    const Entry first = ProjectFile("first.vhd");
    const Entry second = ProjectFile("second.vhd");
    ImodelModule* moved = WithComponent("moved", first);
    WithComponent("stays", first);
    ASSERT_TRUE(moved->SetModuleFileName(second->GetFullFileName().GetString(), nullptr, false));

    EXPECT_EQ(RemovedBy(first), std::vector<std::string>{"stays"});
    EXPECT_EQ(RemovedBy(second), std::vector<std::string>{"moved"});
    moved = WithComponent("moved", first);
    moved->SetNoFile();
    EXPECT_EQ(RemovedBy(first), std::vector<std::string>{});
    EXPECT_EQ(Find("moved"), moved);
}
