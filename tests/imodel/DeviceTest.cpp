// The target-device value: members, texts for messages, required members,
// the netlist library's description, and the device keys of the project file.
#include "DeviceTestSupport.h"

#include "imodel/names/ImodelProjectFileStructure.h"

#include <sstream>

namespace {

using DeviceTest = DeviceFixture;

const ImodelDevice kZx7(std::string("ZX7"), "zx7_50", "fg256");

ImodelDevice Device(const std::string& family, const std::string& die = "", const std::string& package = "")
{
    return ImodelDevice(family, die, package);
}

// Reads the device keys of a project file's text.
ImodelDevice ReadDevice(const std::string& text, bool& changed)
{
    ImodelProjectFileStructure file;
    file.Parse("test.prj", text, "");
    ImodelDevice device = Device("stale", "stale", "stale");
    EXPECT_TRUE(device.ReadFromProjectFile(file, changed));
    return device;
}

std::string Written(const ImodelDevice& device)
{
    std::ostringstream stream;
    device.WriteToProjectFile(&stream);
    return stream.str();
}

}  // namespace

TEST_F(DeviceTest, DeviceKeysReadBackAsWrittenAndALineBreakNeverReachesTheFile)
{
    for (const ImodelDevice& device : {kZx7, Device("ZX3"), Device("TN4", "odd \"die\"", " x "), ImodelDevice()}) {
        bool changed = true;
        EXPECT_EQ(ReadDevice("KEY SOLVATO \"8.4\"\n" + Written(device) + "KEY HDLTechnology \"VHDL\"\n", changed),
                  device);
        EXPECT_FALSE(changed);
    }
    // A line break would start a line of its own in the file: the writer
    // refuses the value and fails the stream, so the save writes nothing.
    std::ostringstream refused;
    Device("ZX7", "zx7_50\nKEY Injected \"1\"", "fg256\r").WriteToProjectFile(&refused);
    EXPECT_TRUE(refused.fail());
    EXPECT_EQ(refused.str().find("Injected"), std::string::npos);
}

TEST_F(DeviceTest, AFamilyTheCatalogueDoesNotKnowEmptiesTheDeviceAndSaysSo)
{
    bool changed = false;
    EXPECT_EQ(ReadDevice("KEY VendorTechnology_Family \"ZX8\"\nKEY VendorTechnology_Die \"zx8_1\"\n", changed),
              ImodelDevice());
    EXPECT_TRUE(changed);
    EXPECT_EQ(ReadDevice("KEY VendorTechnology_Family \"zx7\"\n", changed), ImodelDevice());  // exact
    EXPECT_TRUE(changed);
    EXPECT_EQ(ReadDevice("KEY SOLVATO \"8.4\"\n", changed), ImodelDevice());
    EXPECT_FALSE(changed);  // nothing was there to lose
    EXPECT_EQ(ReadDevice("KEY VendorTechnology_Die \"zx7_50\"\n", changed), ImodelDevice());
    EXPECT_TRUE(changed);
}

TEST_F(DeviceTest, TheSingleKeyOfOlderProjectsIsConvertedToInternalNames)
{
    bool changed = true;
    const std::pair<const char*, ImodelDevice> cases[] = {
        {"Brennic ZX7, ZX7-120, BG676 -3", Device("ZX7", "zx7_120", "bg676")},
        {"Brennic ZX3,zx3-25,TQ100 std", Device("ZX3", "zx3_25", "tq100")},
        {"ZX3 -1", Device("ZX3")},                        // no comma: all family, maker or not
        {"Brennic TN4,tn4_15", Device("TN4", "tn4_15")},  // no blank: nothing cut
        {"Brennic ZX7,zx7_50,odd,extra -1", Device("ZX7", "zx7_50", "odd")},
        {"Brennic ZX8,ZX7-50 -1", ImodelDevice()},  // an unknown family empties all
        {"", ImodelDevice()},
    };
    for (const auto& [value, device] : cases)
        EXPECT_EQ(ReadDevice("KEY VendorTechnology \"" + std::string(value) + "\"\n", changed), device) << value;
    // The old key wins over the new ones.
    EXPECT_EQ(ReadDevice("KEY VendorTechnology_Family \"ZX7\"\nKEY VendorTechnology \"Brennic ZX3 std\"\n", changed),
              Device("ZX3"));
}
