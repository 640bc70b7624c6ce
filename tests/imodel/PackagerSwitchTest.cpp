// Which components the core packager may take: a core-generator core when
// the packager and its switch for such cores are on; a component of any
// other kind (block designs included, whose own consent cannot be asked
// yet) never.
#include "imodel/model/Imodel.h"

#include <foundation/Def.h>
#include <vy/IComponent.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

class Component : public VyIfaces::IComponent {
public:
    explicit Component(VyModuleType type) : m_type(type) {}
    const VyIfaces::ComponentID& GetComponentID() const override { return m_id; }
    VyModuleType GetModuleType() const override { return m_type; }
    std::string GetDefinitionFileName() const override { return ""; }
    void Accept(VyIfaces::IComponentVisitor&) override {}

private:
    VyIfaces::ComponentID m_id;
    VyModuleType m_type;
};

// Whether a fresh model (the switches are read once per model) lets the
// packager take a component of that type, under these switch values.
bool Packaged(VyIfaces::IComponent::VyModuleType type, const char* packager, const char* forCores,
              const char* forBlockDesigns = "1")
{
    DefReset();
    DefSetFL("IDE_PACKAGER_ENABLED", packager);
    DefSetFL("IDE_PACKAGER_ENABLED_FOR_KT", forCores);
    DefSetFL("IDE_PACKAGER_ENABLED_FOR_VY", forBlockDesigns);
    DefSetFL("IDE_PACKAGER_ENABLED_FOR_USERIP", "1");
    std::unique_ptr<Imodel> model = Imodel::CreateNewProjectWizardInstance();
    const Component component(type);
    const bool packaged = model->IsPackagerEnabledFor(&component);
    Imodel::DestroyNewProjectWizardInstance(model);
    DefReset();
    return packaged;
}

TEST(ImodelPackagerSwitch, ACoreGeneratorCoreFollowsItsSwitchUnderThePackager)
{
    using Type = VyIfaces::IComponent;
    EXPECT_TRUE(Packaged(Type::Kiltora, "1", "1"));
    EXPECT_FALSE(Packaged(Type::Kiltora, "1", "0"));
    EXPECT_FALSE(Packaged(Type::Kiltora, "1", "2"));  // only 1 is on
    EXPECT_FALSE(Packaged(Type::Kiltora, "0", "1"));

    for (const Type::VyModuleType other : {Type::Dremmet, Type::IP, Type::HDL, Type::Block, Type::Schematic,
                                           Type::Veyrun, Type::GenericCore, Type::UserIP, Type::NoCore})
        EXPECT_FALSE(Packaged(other, "1", "1")) << other;
}

}  // namespace
