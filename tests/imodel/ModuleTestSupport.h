// Helpers of the design-unit tests: member files made by value, units owned
// by the test, and a fixture that puts the model's HDL and options back.
#pragma once

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

#include <foundation/Def.h>
#include <vy/IComponent.h>

#include <boost/make_shared.hpp>

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A member file of the given full name, not added to the project.
inline boost::shared_ptr<IfileObjectEx> MakeFile(const std::string& name, zorpaFileManagerTypes type = zorpaFT_HDL)
{
    return boost::make_shared<IfileObjectEx>(IfileObject(ImodelFileName(name), type, ImodelFMFull, true, false), false);
}

inline std::unique_ptr<ImodelModule> MakeModule(const std::string& name,
                                                boost::shared_ptr<IfileObjectEx> file = nullptr,
                                                zorpaModuleTypes kind = zorpaMODULE_VHDL, bool isPackage = false,
                                                const std::string& library = "")
{
    return std::make_unique<ImodelModule>(name, file, kind, isPackage, library, "", false);
}

// A block-design component of a given kind, known by its identity.
class TestComponent : public VyIfaces::IComponent {
public:
    TestComponent(const VyIfaces::ComponentID& id, VyModuleType type) : m_id(id), m_type(type) {}
    const VyIfaces::ComponentID& GetComponentID() const override { return m_id; }
    VyModuleType GetModuleType() const override { return m_type; }
    std::string GetDefinitionFileName() const override { return ""; }
    void Accept(VyIfaces::IComponentVisitor& visitor) override
    {
        if (m_type == UserIP) return visitor.VisitUserIPCore(*this);
        visitor.VisitHDLComponent(*this);
    }

private:
    VyIfaces::ComponentID m_id;
    VyModuleType m_type;
};

inline ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

// Starts from a Verilog project with default options and leaves it so.
class ModuleFixture : public ::testing::Test {
protected:
    void SetUp() override { Restore(); }
    void TearDown() override { Restore(); }

private:
    static void Restore()
    {
        DefReset();
        Design().SetDefaultVHDL(false);
        Design().SetNeedSave(false);
    }
};
