// The core-description reader: which descriptions are valid, the devices a
// core supports (relaxed where the catalogue does not know them) and the
// device check, the HDL kind, the component instances of a Dremmet core,
// and descriptions written to harm.
#include "ixml/IxmlSPIRITCoreReader.h"

#include "DebugCapture.h"
#include "MessageRecorder.h"
#include "SpiritCoreProject.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class IxmlSPIRITCoreReaderTest : public SpiritCoreProject {
protected:
    std::unique_ptr<IxmlSPIRITCoreReader> Read(const std::string& text, VyIfaces::IComponent* component = nullptr,
                                               const std::string& root = "Component", bool quiet = false)
    {
        const std::string path = project.Write("cores/core.cxf", text);
        return std::make_unique<IxmlSPIRITCoreReader>(CoreFile(path), root, component, quiet);
    }

    static std::string Devices(const IxmlSPIRITCoreReader& reader)
    {
        std::string text;
        for (const ImodelDevice& device : reader.GetDevicesSupported())
            text +=
                device.GetFamily() + "/" + device.GetDieInternalName() + "/" + device.GetPackageInternalName() + " ";
        return text;
    }

    MessageRecorder messages;
};

TEST_F(IxmlSPIRITCoreReaderTest, ValidityFollowsTheRootElementWithoutRegardToCase)
{
    EXPECT_TRUE(Read(SpiritCoreWriter("fifo").Text(), nullptr, "COMPONENT")->IsCoreValid());
    EXPECT_TRUE(messages.Messages().empty());

    EXPECT_FALSE(Read(SpiritCoreWriter("fifo").Text(), nullptr, "workspace")->IsCoreValid());
    EXPECT_FALSE(Read("<Component><name>x</Component>")->IsCoreValid());
    EXPECT_FALSE(Read("", nullptr)->IsCoreValid());
    const IxmlSPIRITCoreReader missing(CoreFile(project / "none.cxf"), "Component", nullptr, false);
    EXPECT_FALSE(missing.IsCoreValid());
    // Each refusal is told once, naming the file; a quiet reader tells nothing.
    EXPECT_EQ(messages.WithId("INVALID_CORE").size(), 4u);
    EXPECT_NE(messages.WithId("INVALID_CORE").back().text.find("none.cxf"), std::string::npos);
    EXPECT_FALSE(Read("<other/>", nullptr, "Component", true)->IsCoreValid());
    EXPECT_EQ(messages.WithId("INVALID_CORE").size(), 4u);
}

TEST_F(IxmlSPIRITCoreReaderTest, TheHDLKindIsKeptOnlyWhenTheDescriptionGivesOne)
{
    bool vhdl = true;
    EXPECT_TRUE(Read(SpiritCoreWriter("a").Hdl("Verilog").Text())->GetHDLType(vhdl));
    EXPECT_FALSE(vhdl);
    EXPECT_TRUE(Read(SpiritCoreWriter("a").Hdl("vhdl").Text())->GetHDLType(vhdl));
    EXPECT_TRUE(vhdl);
    vhdl = false;
    EXPECT_FALSE(Read(SpiritCoreWriter("a").Text())->GetHDLType(vhdl));
    EXPECT_FALSE(Read(SpiritCoreWriter("a").Hdl("SystemC").Text())->GetHDLType(vhdl));
    EXPECT_FALSE(vhdl);
}

TEST_F(IxmlSPIRITCoreReaderTest, TheDeviceCheckMatchesEntriesMemberByMember)
{
    ImodelDevice completed("untouched", "", "");
    EXPECT_TRUE(Read(SpiritCoreWriter("any").Text())
                    ->IsDeviceSupported(ImodelDevice("ZX7", "zx7_50", "fg256"), completed, false));
    EXPECT_EQ(completed.GetFamily(), "untouched");

    const auto reader = Read(SpiritCoreWriter("some").Device("ZX7").Device("ZX3", "ZX3-10", "TQ100").Text());
    EXPECT_EQ(Devices(*reader), "ZX7// ZX3/zx3_10/tq100 ");
    // A family alone matches every die and package of the family.
    EXPECT_TRUE(reader->IsDeviceSupported(ImodelDevice("ZX7", "zx7_50", "fg256"), completed, false));
    EXPECT_EQ(completed, ImodelDevice());
    // An exact match completes nothing.
    EXPECT_TRUE(reader->IsDeviceSupported(ImodelDevice("ZX3", "zx3_10", "tq100"), completed, false));
    EXPECT_EQ(completed, ImodelDevice());
    // A device that leaves members empty gets the entry's.
    EXPECT_TRUE(reader->IsDeviceSupported(ImodelDevice("ZX3", "", ""), completed, false));
    EXPECT_EQ(completed, ImodelDevice("", "zx3_10", "tq100"));
    EXPECT_TRUE(messages.Messages().empty());

    // A member both name differently: no match, told unless quiet.
    EXPECT_FALSE(reader->IsDeviceSupported(ImodelDevice("ZX3", "zx3_25", "tq100"), completed, true));
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_FALSE(reader->IsDeviceSupported(ImodelDevice("ZX3", "zx3_25", ""), completed, false));
    ASSERT_EQ(messages.WithId("INVALID_CORE_DEVICE").size(), 1u);
    EXPECT_NE(messages.WithId("INVALID_CORE_DEVICE")[0].text.find("core.cxf"), std::string::npos);
}

TEST_F(IxmlSPIRITCoreReaderTest, DevicesTheCatalogueDoesNotKnowAreRelaxedFromThePackageUp)
{
    const std::string text = SpiritCoreWriter("relaxed")
                                 .Device("ZX3", "ZX3-10", "QFN9")
                                 .Device("ZX3", "ZX3-99", "TQ100")
                                 .Device("ZX9", "x", "y")
                                 .Device("ZX7", "zx7_50", "fg256")
                                 .Text();
    EXPECT_EQ(Devices(*Read(text)), "ZX3/zx3_10/ ZX3// // ZX7/zx7_50/fg256 ");

    // With the check asked for, only a core of the core generator is relaxed.
    DefSetFL("IDE_SPIRIT_VERIFY_DEVICE_VALID", "1");
    EXPECT_EQ(Devices(*Read(text)), "ZX3/zx3_10/ ZX3// // ZX7/zx7_50/fg256 ");
    TestComponent generated(VyIfaces::IComponent::Kiltora, "relaxed");
    EXPECT_EQ(Devices(*Read(text, &generated)), "ZX3/zx3_10/ ZX3// // ZX7/zx7_50/fg256 ");
    EXPECT_TRUE(messages.Messages().empty());
    TestComponent user(VyIfaces::IComponent::UserIP, "relaxed");
    EXPECT_EQ(Devices(*Read(text, &user)), "ZX7/zx7_50/fg256 ");
    EXPECT_EQ(messages.WithId("UNSUPPORTED_CORE_DEVICE").size(), 3u);
    EXPECT_EQ(Devices(*Read(text, &user, "Component", true)), "ZX7/zx7_50/fg256 ");
    EXPECT_EQ(messages.WithId("UNSUPPORTED_CORE_DEVICE").size(), 3u);
}

TEST_F(IxmlSPIRITCoreReaderTest, ADremmetCoreListsTheDescriptionsOfItsInstancesInsideItsFolder)
{
    TestComponent dremmet(VyIfaces::IComponent::Dremmet, "top");
    const std::string text = SpiritCoreWriter("top")
                                 .Instance("<instanceName>u1</instanceName>")
                                 .Instance("<instanceName>u2</instanceName><vendorExtension><instancePath>sub\\deep"
                                           "</instancePath></vendorExtension>")
                                 .Instance("<instanceName>u3</instanceName><vendorExtension><instancePath>"
                                           "</instancePath></vendorExtension>")
                                 .Instance("<moduleName>nameless</moduleName>")
                                 .Instance("<instanceName>evil</instanceName><vendorExtension><instancePath>"
                                           "../../../etc</instancePath></vendorExtension>")
                                 .Instance("<instanceName>abs</instanceName><vendorExtension><instancePath>/tmp"
                                           "</instancePath></vendorExtension>")
                                 .Text();
    const auto reader = Read(text, &dremmet);
    EXPECT_TRUE(reader->IsCoreValid());
    std::vector<std::string> names;
    for (const IfileObject& file : reader->GetComponents()) names.push_back(file.GetFullFileName().GetString());
    EXPECT_EQ(names, (std::vector<std::string>{project / "cores/u1/u1.cxf", project / "cores/sub/deep/u2.cxf",
                                               project / "cores/u3/u3.cxf"}));
    EXPECT_EQ(messages.WithId("SPIRIT_FILE_OUTSIDE_CORE").size(), 2u);

    // Without a list of instances a Dremmet core is no valid core.
    EXPECT_FALSE(Read(SpiritCoreWriter("top").Text(), &dremmet)->IsCoreValid());
}

TEST_F(IxmlSPIRITCoreReaderTest, HostileDescriptionsAreRefusedWithoutReadingOutside)
{
    const std::string secret = project.Write("secret.txt", "SECRET");
    const std::string external = "<?xml version=\"1.0\"?>\n<!DOCTYPE Component [<!ENTITY x SYSTEM \"file://" + secret +
                                 "\">]>\n<Component><name>&x;</name></Component>\n";
    const std::string expansion = "<!DOCTYPE Component [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]>"
                                  "<Component><name>&b;</name></Component>";
    DebugCapture debug;
    for (const std::string& text : {external, expansion}) {
        const auto reader = Read(text);
        EXPECT_FALSE(reader->IsCoreValid());
        EXPECT_FALSE(reader->getRootAtom().has_value());
    }
    EXPECT_EQ(messages.WithId("INVALID_CORE").size(), 2u);
    EXPECT_EQ(debug.Text().find("SECRET"), std::string::npos);
}

}  // namespace
