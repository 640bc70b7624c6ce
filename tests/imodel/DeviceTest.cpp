// The target-device value: members, differences, texts for messages, the
// required members, the conversion to and from the netlist library's
// description, and the device keys of the project file.
#include "DeviceTestSupport.h"

#include "imodel/names/ImodelProjectFileStructure.h"

#include <sstream>

namespace {

using DeviceTest = DeviceFixture;

const ImodelDevice kZx7(std::string("ZX7"), "zx7_50", "fg256");

// Reads the device keys of a project file's text.
ImodelDevice ReadDevice(const std::string& text, bool& changed)
{
    ImodelProjectFileStructure file;
    file.Parse("test.prj", text, "");
    ImodelDevice device(std::string("stale"), "stale", "stale");
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

TEST_F(DeviceTest, MembersAreReachedByTheirNumberAndOtherNumbersNameNone)
{
    ImodelDevice device(std::string("ZX7"), "zx7_50", "");
    for (const int none : {0, 4, -1}) {
        const auto member = static_cast<imodelDeviceMembers>(none);
        EXPECT_EQ(device.GetMember(member), nullptr);
        std::string out = "kept";
        EXPECT_FALSE(device.GetMember(out, member));
        EXPECT_EQ(out, "kept");
        device.SetMember("changed", member);
        EXPECT_TRUE(device.IsEmptyMember(member));
        EXPECT_FALSE(device.IsMember(member, ""));
    }
    EXPECT_EQ(device, ImodelDevice(std::string("ZX7"), "zx7_50", ""));

    std::string out;
    EXPECT_TRUE(device.GetMember(out, imodelDeviceDie));
    EXPECT_EQ(out, "zx7_50");
    EXPECT_TRUE(device.IsMember(imodelDeviceDie, "zx7_50"));
    EXPECT_FALSE(device.IsMember(imodelDeviceDie, "ZX7_50"));
    EXPECT_TRUE(device.IsEmptyMember(imodelDevicePackage));
    *device.GetMember(imodelDevicePackage) = "fg484";
    EXPECT_EQ(device.GetPackageInternalName(), "fg484");

    device.GetMemberFrom(imodelDeviceFamily, ImodelDevice(std::string("ZX3"), "", ""));
    device.GetMemberFrom(static_cast<imodelDeviceMembers>(7), kZx7);
    EXPECT_EQ(device, ImodelDevice(std::string("ZX3"), "zx7_50", "fg484"));
}

TEST_F(DeviceTest, DifferencesAreExactAndListedFamilyFirst)
{
    std::vector<imodelDeviceMembers> differences = {imodelDeviceNone};
    kZx7.GetAllDifferences(kZx7, differences);
    EXPECT_TRUE(differences.empty());
    EXPECT_FALSE(kZx7 != kZx7);

    const ImodelDevice caseOnly(std::string("ZX7"), "ZX7_50", "fg256");
    kZx7.GetAllDifferences(caseOnly, differences);
    EXPECT_EQ(differences, std::vector<imodelDeviceMembers>{imodelDeviceDie});
    EXPECT_NE(kZx7, caseOnly);

    const ImodelDevice other(std::string("ZX3"), "zx7_50", "tq100");
    kZx7.GetAllDifferences(other, differences);
    EXPECT_EQ(differences, (std::vector<imodelDeviceMembers>{imodelDeviceFamily, imodelDevicePackage}));

    ImodelDevice copy;
    copy = kZx7;
    copy = copy;
    EXPECT_EQ(copy, kZx7);
}

TEST_F(DeviceTest, TheMessageTextShowsExternalNamesAndTheWordForUnset)
{
    EXPECT_EQ(kZx7.FormatDeviceString("UNSET"), "FAM:ZX7 - DIE:ZX7-50 - PKG:FG256");
    EXPECT_EQ(ImodelDevice(std::string("ZX7"), "zx7_50", "").FormatDeviceString("UNSET"),
              "FAM:ZX7 - DIE:ZX7-50 - PKG:UNSET");
    EXPECT_EQ(ImodelDevice().FormatDeviceString("-"), "FAM:- - DIE:- - PKG:-");
    EXPECT_EQ(ImodelDevice().FormatDeviceString(nullptr), "FAM: - DIE: - PKG:");
    // A die without an external name shows as it is.
    EXPECT_EQ(ImodelDevice(std::string("TN4"), "tn4_15", "vq100").FormatDeviceString("UNSET"),
              "FAM:TN4 - DIE:tn4_15 - PKG:VQ100");

    EXPECT_EQ(kZx7.FormatDeviceString({imodelDevicePackage}, "UNSET"), "PKG:FG256");
    EXPECT_EQ(kZx7.FormatDeviceString({imodelDeviceDie, imodelDeviceNone, imodelDevicePackage}, "UNSET"),
              "DIE:ZX7-50 - PKG:FG256");
    EXPECT_EQ(kZx7.FormatDeviceString({}, "UNSET"), "");
}

TEST_F(DeviceTest, RequiredMembersNameTheFirstMissingOneAndAskForIt)
{
    std::string missing;
    EXPECT_TRUE(ImodelDevice().HasAllRequiredMembers(false, imodelDeviceNone, missing, nullptr));
    EXPECT_TRUE(kZx7.HasAllRequiredMembers(false, imodelDevicePackage, missing, nullptr));
    EXPECT_TRUE(missing.empty());
    EXPECT_TRUE(messages.Messages().empty());

    const ImodelDevice familyOnly(std::string("ZX7"), "", "");
    EXPECT_TRUE(familyOnly.HasAllRequiredMembers(false, imodelDeviceFamily, missing, nullptr));
    int window = 0;
    EXPECT_FALSE(familyOnly.HasAllRequiredMembers(false, imodelDeviceDie, missing, &window));
    EXPECT_EQ(missing, "die");
    const auto asked = messages.WithId("PROJECT_SETTING_UNSPECIFIED");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Please specify the die for your project.");
    EXPECT_EQ(asked[0].parent, &window);
    EXPECT_EQ(asked[0].defaultAnswer, MdbOK);
    EXPECT_EQ(asked[0].kind, MdbOKBOX);

    messages.Clear();
    EXPECT_FALSE(ImodelDevice(std::string("ZX7"), "zx7_50", "")
                     .HasAllRequiredMembers(true, imodelDevicePackage, missing, nullptr));
    EXPECT_EQ(missing, "package");
    EXPECT_FALSE(ImodelDevice().HasAllRequiredMembers(true, imodelDevicePackage, missing, nullptr));
    EXPECT_EQ(missing, "family");
    EXPECT_TRUE(messages.Messages().empty()) << "quiet";
}

TEST_F(DeviceTest, TheMandatoryLevelFollowsTheFamilyAndLeavesQFAMAsItWas)
{
    ASSERT_EQ(DefSetFL("QFAM", "ZX7"), 0);
    EXPECT_EQ(ImodelGetMandatoryDeviceLevel(ImodelDevice(std::string("ZX3"), "", "")), imodelDeviceFamily);
    EXPECT_EQ(DefGetFL("QFAM"), "ZX7");
    ASSERT_EQ(DefSetFL("QFAM", "ZX3"), 0);
    EXPECT_EQ(ImodelGetMandatoryDeviceLevel(kZx7), imodelDevicePackage);
    EXPECT_EQ(ImodelGetMandatoryDeviceLevel(ImodelDevice()), imodelDeviceFamily);
    // A family no catalogue entry can name never borrows another family's answer.
    ASSERT_EQ(DefSetFL("QFAM", "ZX7"), 0);
    EXPECT_EQ(ImodelGetMandatoryDeviceLevel(ImodelDevice(std::string("ZX7\nZX7"), "", "")), imodelDeviceFamily);
    EXPECT_EQ(DefGetFL("QFAM"), "ZX7");

    Devices().SetDevice(kZx7);
    EXPECT_EQ(ImodelGetMandatoryDeviceLevel(), imodelDevicePackage);
}

TEST_F(DeviceTest, TheNetlistDescriptionCarriesExternalNamesBothWays)
{
    const BrnDevice brn = kZx7.GetAsBrnDevice();
    EXPECT_EQ(brn.family, "ZX7");
    EXPECT_EQ(brn.die, "ZX7-50");
    EXPECT_EQ(brn.package, "FG256");
    EXPECT_EQ(ImodelDevice(brn), kZx7);
    EXPECT_EQ(ImodelDevice(BrnDevice("ZX7", "zx7-120", "bg676")), ImodelDevice(std::string("ZX7"), "zx7_120", "bg676"));

    // Names the catalogue does not know pass unchanged, both ways.
    const ImodelDevice odd(std::string("TN4"), "tn4_15", "xx99");
    EXPECT_EQ(ImodelDevice(odd.GetAsBrnDevice()), odd);
    EXPECT_EQ(odd.GetDieExternalName(), "tn4_15");
    EXPECT_EQ(ImodelGetExternalDeviceName(""), "");
    EXPECT_EQ(ImodelGetExternalDeviceName(std::string("zx7_50\0x", 8)), std::string("zx7_50\0x", 8));
}

TEST_F(DeviceTest, DeviceKeysReadBackAsWritten)
{
    EXPECT_EQ(Written(kZx7), "KEY VendorTechnology_Family \"ZX7\"\n"
                             "KEY VendorTechnology_Die \"zx7_50\"\n"
                             "KEY VendorTechnology_Package \"fg256\"\n");
    for (const ImodelDevice& device : {kZx7, ImodelDevice(std::string("ZX3"), "", ""),
                                       ImodelDevice(std::string("TN4"), "odd \"die\"", " x "), ImodelDevice()}) {
        bool changed = true;
        EXPECT_EQ(ReadDevice("KEY SOLVATO \"8.4\"\n" + Written(device) + "KEY HDLTechnology \"VHDL\"\n", changed),
                  device);
        EXPECT_FALSE(changed);
    }
    kZx7.WriteToProjectFile(nullptr);

    // A line break would start a line of its own in the file: the writer
    // refuses the value and fails the stream, so the save writes nothing.
    std::ostringstream refused;
    ImodelDevice(std::string("ZX7"), "zx7_50\nKEY Injected \"1\"", "fg256").WriteToProjectFile(&refused);
    EXPECT_TRUE(refused.fail());
    EXPECT_EQ(refused.str().find("Injected"), std::string::npos);

    // Missing keys leave their members empty.
    bool changed = true;
    EXPECT_EQ(ReadDevice("KEY VendorTechnology_Family \"ZX7\"\n", changed), ImodelDevice(std::string("ZX7"), "", ""));
    EXPECT_FALSE(changed);
}

TEST_F(DeviceTest, AFamilyTheCatalogueDoesNotKnowEmptiesTheDeviceAndSaysSo)
{
    bool changed = false;
    EXPECT_EQ(ReadDevice("KEY VendorTechnology_Family \"ZX8\"\nKEY VendorTechnology_Die \"zx8_1\"\n", changed),
              ImodelDevice());
    EXPECT_TRUE(changed);
    // The family compares exactly.
    EXPECT_EQ(ReadDevice("KEY VendorTechnology_Family \"zx7\"\n", changed), ImodelDevice());
    EXPECT_TRUE(changed);
    // Nothing was there to lose.
    EXPECT_EQ(ReadDevice("KEY SOLVATO \"8.4\"\n", changed), ImodelDevice());
    EXPECT_FALSE(changed);
    EXPECT_EQ(ReadDevice("KEY VendorTechnology_Die \"zx7_50\"\n", changed), ImodelDevice());
    EXPECT_TRUE(changed);
}

TEST_F(DeviceTest, TheSingleKeyOfOlderProjectsIsConvertedToInternalNames)
{
    bool changed = true;
    EXPECT_EQ(ReadDevice("KEY VendorTechnology \"Brennic ZX7, ZX7-120, BG676 -3\"\n", changed),
              ImodelDevice(std::string("ZX7"), "zx7_120", "bg676"));
    EXPECT_FALSE(changed);
    EXPECT_EQ(ReadDevice("KEY VendorTechnology \"Brennic ZX3,zx3-25,TQ100 std\"\n", changed),
              ImodelDevice(std::string("ZX3"), "zx3_25", "tq100"));
    // The old key wins over the new ones.
    EXPECT_EQ(ReadDevice("KEY VendorTechnology_Family \"ZX7\"\nKEY VendorTechnology \"Brennic ZX3 std\"\n", changed),
              ImodelDevice(std::string("ZX3"), "", ""));
    // Without a comma the value is all family; without the maker it reads the same.
    EXPECT_EQ(ReadDevice("KEY VendorTechnology \"ZX3 -1\"\n", changed), ImodelDevice(std::string("ZX3"), "", ""));
    // Without any blank nothing is cut.
    EXPECT_EQ(ReadDevice("KEY VendorTechnology \"Brennic TN4,tn4_15\"\n", changed),
              ImodelDevice(std::string("TN4"), "tn4_15", ""));
    // Names that are no external names stay; an unknown family empties all.
    EXPECT_EQ(ReadDevice("KEY VendorTechnology \"Brennic ZX7,zx7_50,odd,extra -1\"\n", changed),
              ImodelDevice(std::string("ZX7"), "zx7_50", "odd"));
    EXPECT_EQ(ReadDevice("KEY VendorTechnology \"Brennic ZX8,ZX7-50 -1\"\n", changed), ImodelDevice());
    EXPECT_TRUE(changed);
    EXPECT_EQ(ReadDevice("KEY VendorTechnology \"\"\n", changed), ImodelDevice());
    EXPECT_FALSE(changed);
}

TEST_F(DeviceTest, EmptyMembersAreFilledWhileTheDeviceStaysAcceptable)
{
    const ImodelDevice current(std::string("ZX7"), "zx7_120", "bg676");
    ImodelDevice device(std::string("ZX7"), "", "");
    device.GetEmptyMembersFrom(current, false);
    EXPECT_EQ(device, current);

    // The die of another family would spoil the device: it is left out.
    device = ImodelDevice(std::string("ZX3"), "", "");
    device.GetEmptyMembersFrom(current, false);
    EXPECT_EQ(device, ImodelDevice(std::string("ZX3"), "", ""));

    // ZX7 needs a whole device: validation completes the package that
    // could not be taken over.
    device = ImodelDevice(std::string("ZX7"), "zx7_50", "");
    device.GetEmptyMembersFrom(current, false);
    EXPECT_EQ(device, ImodelDevice(std::string("ZX7"), "zx7_50", ""));
    device.GetEmptyMembersFrom(current, true);
    EXPECT_EQ(device, ImodelDevice(std::string("ZX7"), "zx7_50", "fg256"));
    EXPECT_TRUE(messages.Messages().empty()) << "validation is quiet";

    // An empty device takes everything.
    device = ImodelDevice();
    device.GetEmptyMembersFrom(current, true);
    EXPECT_EQ(device, current);
}
