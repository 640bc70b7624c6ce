#include "CoreServicesTestSupport.h"

#include "imodel/model/QuorlaneCallBack.h"

#include <vy/ModuleInfo.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using QuorlaneCallBack::QuorlaneIIDEObject;

class CallBackTest : public CoreServicesFixture {
protected:
    QuorlaneIIDEObject callback;
};

}  // namespace

TEST_F(CallBackTest, FoldersOfComponentsAreMadeInTheProjectByKind)
{
    const VyIfaces::ComponentID id("fifo", "mylib", "");
    EXPECT_EQ(callback.GetBaseIDEFolder(id, VyIfaces::IComponent::Kiltora), project / "kiltora");
    EXPECT_EQ(callback.GetBaseIDEFolder(id, VyIfaces::IComponent::IP), project / "dremmet");
    EXPECT_EQ(callback.GetBaseIDEFolder(id, VyIfaces::IComponent::Veyrun), project / "component/mylib");
    EXPECT_TRUE(std::filesystem::is_directory(project / "component/mylib"));
    EXPECT_EQ(callback.GetBaseIDEFolder(id, VyIfaces::IComponent::BrennicCell), "");
    // A library is one folder: it never leads out of "component".
    for (const char* library : {"..", "a/b", "..\\x", ""})
        EXPECT_EQ(callback.GetBaseIDEFolder(VyIfaces::ComponentID("fifo", library, ""), VyIfaces::IComponent::Block),
                  "")
            << library;
    design.SetProjectFolder(ImodelFileName());
    EXPECT_EQ(callback.GetBaseIDEFolder(id, VyIfaces::IComponent::Kiltora), "");
}
