// Which components the core packager may take: a core-generator core when
// the packager and its switch for such cores are on; a block design when
// the packager, its switch for block designs and the design itself (once
// generated) consent; a component of any other kind never.
#include "imodel/model/Imodel.h"

#include <foundation/Def.h>
#include <vy/IComponent.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

class Component : public VyIfaces::IComponent {
public:
    explicit Component(VyModuleType type, int packaging = 1) : m_type(type), m_packaging(packaging) {}
    const VyIfaces::ComponentID& GetComponentID() const override { return m_id; }
    VyModuleType GetModuleType() const override { return m_type; }
    std::string GetDefinitionFileName() const override { return ""; }
    void Accept(VyIfaces::IComponentVisitor&) override {}
    int GetPackagingState() const override { return m_packaging; }

private:
    VyIfaces::ComponentID m_id;
    VyModuleType m_type;
    int m_packaging;
};

// Whether a fresh model (the switches are read once per model) lets the
// packager take a component of that type, under these switch values.
bool Packaged(VyIfaces::IComponent::VyModuleType type, const char* packager, const char* forCores,
              const char* forBlockDesigns = "1", int packaging = 0)
{
    DefReset();
    DefSetFL("IDE_PACKAGER_ENABLED", packager);
    DefSetFL("IDE_PACKAGER_ENABLED_FOR_KT", forCores);
    DefSetFL("IDE_PACKAGER_ENABLED_FOR_VY", forBlockDesigns);
    DefSetFL("IDE_PACKAGER_ENABLED_FOR_USERIP", "1");
    std::unique_ptr<Imodel> model = Imodel::CreateNewProjectWizardInstance();
    const Component component(type, packaging);
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
                                           Type::GenericCore, Type::UserIP, Type::NoCore})
        EXPECT_FALSE(Packaged(other, "1", "1")) << other;
}

TEST(ImodelPackagerSwitch, ABlockDesignNeedsItsSwitchAndItsOwnConsent)
{
    using Type = VyIfaces::IComponent;
    EXPECT_TRUE(Packaged(Type::Veyrun, "1", "0", "1", 0));
    EXPECT_FALSE(Packaged(Type::Veyrun, "1", "1", "0", 0));
    EXPECT_FALSE(Packaged(Type::Veyrun, "1", "1", "1", 1));
    EXPECT_FALSE(Packaged(Type::Veyrun, "0", "1", "1", 0));
}

}  // namespace
