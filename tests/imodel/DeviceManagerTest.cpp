// The device manager over a catalogue of the tests' own: the lists, checking
// and repairing devices with their messages, family changes and the device
// change a core asks for. Every test ends by checking that no query variable
// stayed overridden (the fixture's TearDown).
#include "DeviceTestSupport.h"
#include "PrintCapture.h"
#include "RecordingHost.h"

#include "imodel/names/imodelUtl.h"

#include <foundation/Sys.h>

#include <algorithm>

namespace {

using DeviceManagerTest = DeviceFixture;
using Names = std::vector<std::string>;

// IsValidDevice's outputs in one text: "member 'bad value' list", or "valid".
std::string Check(const ImodelDevice& device, imodelDeviceMembers level, bool report = false, void* parent = nullptr)
{
    std::string bad = "stale", list = "stale", member = "stale";
    if (Devices().IsValidDevice(bad, list, member, level, &device, report, parent)) return "valid";
    return member + " '" + bad + "' " + list;
}

struct Repair {
    bool valid = false;
    bool changed = false;
    ImodelDevice device;
};

Repair Validate(ImodelDevice device, imodelDeviceMembers level, bool quiet)
{
    Repair repair;
    repair.changed = !quiet;  // must be overwritten either way
    repair.valid = Devices().ValidateDevice(device, level, repair.changed, quiet);
    repair.device = device;
    return repair;
}

ImodelDevice Device(const std::string& family, const std::string& die = "", const std::string& package = "")
{
    return ImodelDevice(family, die, package);
}

}  // namespace

TEST_F(DeviceManagerTest, RepairingFillsWhatTheLevelRequiresAndDropsWhatIsInvalid)
{
    Repair repair = Validate(ImodelDevice(), imodelDevicePackage, false);  // all from the first entries
    EXPECT_TRUE(repair.valid && repair.changed);
    EXPECT_EQ(repair.device, Device("ZX3", "zx3_10", "cs64"));
    EXPECT_EQ(messages.Texts(), (Names{"Family is unspecified or invalid; it has been set to ZX3.",
                                       "Die is unspecified or invalid; it has been set to ZX3-10.",
                                       "Package is unspecified or invalid; it has been set to CS64."}));
    messages.Clear();
    // At level 0 an unknown family is dropped, and told even when quiet.
    repair = Validate(Device("ZX8", "a", "b"), imodelDeviceNone, true);
    EXPECT_EQ(repair.device, ImodelDevice());
    EXPECT_EQ(messages.Texts(), Names{"Family is invalid, it has been unset."});
    repair = Validate(Device("ZX7", "zx7_50", "fg484"), imodelDeviceFamily, false);
    EXPECT_TRUE(repair.valid && !repair.changed);  // nothing to repair: the flag says so
    // Below the level that needs them, a wrong die or package goes; at it,
    // the first one is taken.
    EXPECT_EQ(Validate(Device("ZX7", "zx3_10", "fg256"), imodelDeviceFamily, false).device, Device("ZX7"));
    EXPECT_EQ(Validate(Device("ZX7", "zx3_10", "fg256"), imodelDeviceDie, false).device, Device("ZX7", "zx7_50"));
    EXPECT_EQ(Validate(Device("ZX7", "zx7_120", "fg256"), imodelDevicePackage, true).device,
              Device("ZX7", "zx7_120", "bg676"));
}

TEST_F(DeviceManagerTest, AFamilyChangeFollowsTheRulesAndTheCatalogue)
{
    int window = 0;
    std::string allowed = "stale";
    // No files: every change is allowed.
    EXPECT_TRUE(Devices().CanChangeFamily("TN4", "ZX3", &window, &allowed));
    AddProjectFile();
    ASSERT_EQ(DefSetFL("FAM", "TN4"), 0);
    // Without FAM_CHANGE_ENABLED only staying, or choosing a first family, is allowed.
    EXPECT_TRUE(Devices().CanChangeFamily("", "ZX7", &window, nullptr));
    EXPECT_FALSE(Devices().CanChangeFamily("ZX3", "ZX7", &window, &allowed));
    EXPECT_TRUE(messages.Messages().empty());

    ASSERT_EQ(DefSetFL("FAM_CHANGE_ENABLED", "1"), 0);
    ASSERT_EQ(DefSetFL("ALL_FAM_CHANGE_ENABLED", "1"), 0);
    EXPECT_TRUE(Devices().CanChangeFamily("TN4", "ZX3", &window, nullptr));
    ASSERT_EQ(DefSetFL("ALL_FAM_CHANGE_ENABLED", "0"), 0);
    EXPECT_FALSE(Devices().CanChangeFamily("ZX3", "ZX9", nullptr, &allowed));
    EXPECT_EQ(allowed, "ZX7 Pro, Tarnel 4 or QL5");
    EXPECT_FALSE(Devices().CanChangeFamily("ZX7", "TN4", &window, &allowed));
    EXPECT_FALSE(Devices().CanChangeFamily("TN4", "ZX3", &window, &allowed));
    EXPECT_EQ(messages.Texts(),
              (Names{"ZX7 projects can only be changed to ZX3.", "Family change is not allowed for TN4 projects."}));
    EXPECT_FALSE(Devices().CanChangeFamily("ZX3\n", "ZX7", nullptr, &allowed));
    EXPECT_EQ(DefGetFL("FAM"), "TN4");  // the user's setting again, untouched
}

TEST(DeviceCatalogue, TheShippedCatalogueIsCompleteAndConsistent)
{
    const OptionsScope options;
    std::string error;
    ASSERT_TRUE(DefLoadDefaults(QUORLANE_BINARY_DIR "/share/quorlane/options.defaults", &error)) << error;
    ImodelDeviceManager& devices = Devices();
    Names families;
    devices.GetFamilies(families, nullptr);
    ASSERT_GE(families.size(), 2u);
    for (const std::string& family : families) {
        EXPECT_NE(devices.GetFamilyDisplayName(family), family) << family;
        Names dies, externalDies;
        devices.GetDies(family, dies, &externalDies);
        EXPECT_FALSE(dies.empty()) << family;
        for (std::size_t i = 0; i < dies.size(); ++i) {
            EXPECT_NE(externalDies[i], dies[i]) << "external name of " << dies[i];
            Names packages, externalPackages;
            devices.GetPackages(family, dies[i], packages, &externalPackages);
            EXPECT_FALSE(packages.empty()) << dies[i];
            for (std::size_t j = 0; j < packages.size(); ++j) {
                EXPECT_NE(externalPackages[j], packages[j]) << "external name of " << packages[j];
                const ImodelDevice device(family, dies[i], packages[j]);
                EXPECT_EQ(Check(device, imodelDevicePackage), "valid");
                EXPECT_EQ(ImodelDevice(device.GetAsBrnDevice()), device);
            }
        }
        const imodelDeviceMembers level = ImodelGetMandatoryDeviceLevel(ImodelDevice(family, "", ""));
        EXPECT_TRUE(level == imodelDeviceFamily || level == imodelDevicePackage);
        // Every family a project may change to exists.
        ASSERT_EQ(DefOverRideFL("FAM", family.c_str()), 0);
        Names allowed;
        ArgsParse(DefGetFL("FAMILY_CHANGE_ALLOWED").value_or(""), allowed);
        DefUnOverRide("FAM");
        for (const std::string& to : allowed)
            EXPECT_NE(std::find(families.begin(), families.end(), to), families.end()) << family << " -> " << to;
    }
    // The device a new project starts from is a whole, valid one.
    const ImodelDevice start(DefGetFL("FAM").value_or(""), DefGetFL("DIE").value_or(""),
                             DefGetFL("PACKAGE").value_or(""));
    EXPECT_EQ(Check(start, imodelDevicePackage), "valid");
}

TEST_F(DeviceManagerTest, NamesInAnyLetterCaseTakeTheCataloguesSpelling)
{
    const auto converted = [](const std::string& family, std::string die, std::string package) {
        Devices().ConvertExtNamesToInt(family, die, package);
        return ImodelDevice(family, die, package);
    };
    const auto upper = [](std::string text) {
        ImodelMakeUpper(text);
        return text;
    };
    const auto lower = [](std::string text) {
        ImodelMakeLower(text);
        return text;
    };
    Names families;
    Devices().GetFamilies(families, nullptr);
    std::size_t seen = 0;
    for (const std::string& family : families) {
        Names dies, externalDies;
        Devices().GetDies(family, dies, &externalDies);
        for (std::size_t i = 0; i < dies.size(); ++i) {
            Names packages, externalPackages;
            Devices().GetPackages(family, dies[i], packages, &externalPackages);
            for (std::size_t j = 0; j < packages.size(); ++j, ++seen) {
                const ImodelDevice device(family, dies[i], packages[j]);
                // Internal or displayed, in any letter case: the catalogue's internal name.
                for (const bool toUpper : {false, true})
                    for (const bool shown : {false, true}) {
                        const auto spell = [&](const std::string& name) { return toUpper ? upper(name) : lower(name); };
                        const std::string die = spell(shown ? externalDies[i] : dies[i]);
                        const std::string package = spell(shown ? externalPackages[j] : packages[j]);
                        EXPECT_EQ(converted(family, die, package), device) << die << " " << package;
                    }
                EXPECT_EQ(Check(ImodelDevice(family, upper(dies[i]), upper(packages[j])), imodelDevicePackage),
                          "valid");
            }
        }
    }
    EXPECT_GE(seen, 5u);
    // What the catalogue lacks stays as it is, and is refused by the check.
    EXPECT_EQ(converted("ZX3", "ZX3_99", "TQ100"), Device("ZX3", "ZX3_99", "TQ100"));
    EXPECT_EQ(converted("ZX3", "zx7_50", "FG484"), Device("ZX3", "zx7_50", "FG484"));
}

TEST_F(DeviceManagerTest, APackageWithoutItsDieAsksForTheDie)
{
    for (const imodelDeviceMembers level : {imodelDeviceNone, imodelDeviceFamily})
        EXPECT_EQ(Check(Device("ZX3", "", "tq100"), level, true), "die '' ");
    EXPECT_EQ(messages.Texts(), (Names{"Die is required to continue.", "Die is required to continue."}));
    messages.Clear();
    // With the die given, the package is checked against the die's.
    EXPECT_EQ(Check(Device("ZX3", "zx3_25", "cs64"), imodelDeviceFamily), "package 'CS64' 'TQ100'");
    EXPECT_EQ(Check(Device("ZX3", "zx3_25", ""), imodelDeviceFamily), "valid");
}
