// The device manager over a catalogue of the tests' own: the lists, checking
// and repairing devices with their messages, external names, family changes
// and the device change a core asks for. Every test ends by checking that no
// query variable stayed overridden (the fixture's TearDown).
#include "DeviceTestSupport.h"
#include "RecordingHost.h"

#include <foundation/Sys.h>

#include <algorithm>

namespace {

using DeviceManagerTest = DeviceFixture;
using Names = std::vector<std::string>;

// IsValidDevice's three outputs.
struct Verdict {
    bool valid = false;
    std::string badValue;
    std::string validList;
    std::string member;
};

Verdict Check(const ImodelDevice& device, imodelDeviceMembers level, bool report = false, void* parent = nullptr)
{
    Verdict verdict;
    verdict.valid =
        Devices().IsValidDevice(verdict.badValue, verdict.validList, verdict.member, level, &device, report, parent);
    return verdict;
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

TEST_F(DeviceManagerTest, TheListsComeFromTheCatalogueAndLeaveTheQueryVariablesAsTheyWere)
{
    ASSERT_EQ(DefSetFL("QFAM", "TN4"), 0);
    ASSERT_EQ(DefSetFL("QDIE", "tn4_15"), 0);

    Names families;
    std::string raw;
    Devices().GetFamilies(families, &raw);
    EXPECT_EQ(families, (Names{"ZX3", "ZX7", "TN4", "QL5"}));
    EXPECT_EQ(raw, "ZX3 ZX7 TN4 QL5");

    Names dies = {"stale"};
    Names external = {"stale"};
    Devices().GetDies("ZX7", dies, &external);
    EXPECT_EQ(dies, (Names{"zx7_50", "zx7_120"}));
    EXPECT_EQ(external, (Names{"ZX7-50", "ZX7-120"}));
    Devices().GetDies("zx3", dies, nullptr);  // conditions ignore case
    EXPECT_EQ(dies, (Names{"zx3_10", "zx3_25"}));
    Devices().GetDies("QL5", dies, &external);
    EXPECT_TRUE(dies.empty() && external.empty());

    Names packages;
    Devices().GetPackages("ZX7", "zx7_50", packages, &external);
    EXPECT_EQ(packages, (Names{"fg256", "fg484"}));
    EXPECT_EQ(external, (Names{"FG256", "FG484"}));
    Devices().GetPackages("ZX7", "zx3_10", packages, &external);
    EXPECT_TRUE(packages.empty() && external.empty());

    // A value no catalogue entry can hold never reads the current family's list.
    Devices().GetDies("TN4\n", dies, &external);
    EXPECT_TRUE(dies.empty() && external.empty());
    Devices().GetPackages("TN4", std::string("tn4_15\0", 7), packages, nullptr);
    EXPECT_TRUE(packages.empty());

    EXPECT_EQ(DefGetFL("QFAM"), "TN4");
    EXPECT_EQ(DefGetFL("QDIE"), "tn4_15");

    EXPECT_TRUE(Devices().IsValidFamily("ZX7", &raw));
    EXPECT_EQ(raw, "ZX3 ZX7 TN4 QL5");
    EXPECT_FALSE(Devices().IsValidFamily("zx7"));
    EXPECT_FALSE(Devices().IsValidFamily(""));
}

TEST_F(DeviceManagerTest, ACatalogueWithoutFamiliesIsEmptyAndRefusesEveryDevice)
{
    DefReset();
    ASSERT_TRUE(DefLoadDefaultsFromText("DEBUG_MSG = 1\n"));
    Imodel::GetInstance().ReloadBoolSettings();
    std::vector<std::string> lines;
    SysSetPrintHook([&](const std::string& line) { lines.push_back(line); });
    const int assertions = SysAssertionCount();

    Names families = {"stale"};
    std::string raw = "stale";
    Devices().GetFamilies(families, &raw);
    EXPECT_TRUE(families.empty());
    EXPECT_EQ(raw, "");
    EXPECT_FALSE(Check(Device("ZX7"), imodelDeviceNone).valid);
    EXPECT_TRUE(Check(ImodelDevice(), imodelDeviceNone).valid);
    EXPECT_FALSE(Validate(ImodelDevice(), imodelDeviceFamily, true).valid);

    SysSetPrintHook({});
    // A reload keeps the cached switch when the variable is gone: switch it off.
    ASSERT_TRUE(DefLoadDefaultsFromText("DEBUG_MSG = 0\n"));
    Imodel::GetInstance().ReloadBoolSettings();
    EXPECT_FALSE(Imodel::GetInstance().IsDebugMsg());
    EXPECT_EQ(SysAssertionCount(), assertions);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.find("\"FAM\"") != std::string::npos; }));
}

TEST_F(DeviceManagerTest, DevicesAreCheckedAsFarAsTheLevelAsks)
{
    std::string bad = "stale", list = "stale", member = "stale";
    EXPECT_FALSE(Devices().IsValidDevice(bad, list, member, imodelDeviceNone, nullptr, true, nullptr));
    EXPECT_EQ(bad + list + member, "");

    EXPECT_TRUE(Check(ImodelDevice(), imodelDeviceNone).valid);
    EXPECT_TRUE(Check(Device("ZX7"), imodelDeviceFamily).valid);
    EXPECT_TRUE(Check(Device("ZX7", "ZX7_120"), imodelDeviceDie).valid) << "die names ignore case";
    EXPECT_TRUE(Check(Device("ZX7", "zx7_120", "BG676"), imodelDevicePackage).valid);
    EXPECT_TRUE(Check(Device("QL5"), imodelDeviceFamily).valid);

    Verdict verdict = Check(ImodelDevice(), imodelDeviceFamily);
    EXPECT_FALSE(verdict.valid);
    EXPECT_EQ(verdict.member, "family");
    EXPECT_EQ(verdict.badValue, "");
    EXPECT_EQ(verdict.validList, "'ZX3' 'ZX7' 'TN4' 'QL5'");

    verdict = Check(Device("ZX7"), imodelDeviceDie);
    EXPECT_FALSE(verdict.valid);
    EXPECT_EQ(verdict.member, "die");
    EXPECT_EQ(verdict.badValue, "");
    EXPECT_EQ(verdict.validList, "'ZX7-50' 'ZX7-120'");

    // A die given at level 0 is checked all the same.
    verdict = Check(Device("ZX7", "zx3_10"), imodelDeviceNone);
    EXPECT_FALSE(verdict.valid);
    EXPECT_EQ(verdict.member, "die");
    EXPECT_EQ(verdict.badValue, "ZX3-10");

    verdict = Check(Device("ZX7", "zx7_50"), imodelDevicePackage);
    EXPECT_FALSE(verdict.valid);
    EXPECT_EQ(verdict.member, "package");
    EXPECT_EQ(verdict.badValue, "");
    EXPECT_EQ(verdict.validList, "'FG256' 'FG484'");

    verdict = Check(Device("TN4", "tn4_15", "cs64"), imodelDeviceFamily);
    EXPECT_FALSE(verdict.valid);
    EXPECT_EQ(verdict.member, "package");
    EXPECT_EQ(verdict.badValue, "CS64");
    EXPECT_EQ(verdict.validList, "'VQ100'");

    // A package without a die.
    EXPECT_FALSE(Check(Device("ZX7", "", "fg256"), imodelDeviceFamily).valid);
    // A family without dies has no valid die.
    EXPECT_FALSE(Check(Device("QL5"), imodelDeviceDie).valid);
    EXPECT_TRUE(messages.Messages().empty()) << "nothing reported unless asked";

    Devices().SetDevice(Device("ZX7", "zx7_50"));
    EXPECT_TRUE(Devices().IsCurrentDeviceValid(bad, list, member, imodelDeviceDie));
    EXPECT_FALSE(Devices().IsCurrentDeviceValid(bad, list, member, imodelDevicePackage));
    EXPECT_EQ(member, "package");
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(DeviceManagerTest, AReportedFailureIsALineWithoutParentWindowAndABoxWithOne)
{
    EXPECT_FALSE(Check(Device("ZX8"), imodelDeviceNone, true).valid);
    EXPECT_FALSE(Check(Device("ZX7", "zx7_50"), imodelDevicePackage, true).valid);
    EXPECT_FALSE(Check(Device("ZX7", "oops"), imodelDeviceFamily, true).valid);
    const auto lines = messages.Records();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].message.id, "WRONG_DEVICE_VALUE");
    EXPECT_EQ(lines[0].message.text,
              "Family 'ZX8' has not been set. Family must be one of the following: 'ZX3' 'ZX7' 'TN4' 'QL5'.");
    EXPECT_EQ(lines[1].message.id, "MISSING_DEVICE_VALUE");
    EXPECT_EQ(lines[1].message.text, "Package is required to continue.");
    // A die the catalogue does not know is named as given.
    EXPECT_EQ(lines[2].message.text,
              "Die 'oops' has not been set. Die must be one of the following: 'ZX7-50' 'ZX7-120'.");
    for (const auto& line : lines) {
        EXPECT_FALSE(line.question);
        EXPECT_EQ(line.message.kind, MdbLINE);
        EXPECT_EQ(line.message.severity, MdbERROR);
    }

    messages.Clear();
    int window = 0;
    EXPECT_FALSE(Check(Device("ZX7", "zx3_25"), imodelDeviceNone, true, &window).valid);
    EXPECT_FALSE(Check(ImodelDevice(), imodelDeviceFamily, true, &window).valid);
    const auto boxes = messages.Records();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].message.text,
              "Die 'ZX3-25' has not been set. Die must be one of the following: 'ZX7-50' 'ZX7-120'.");
    EXPECT_EQ(boxes[1].message.text, "Family is required to continue.");
    for (const auto& box : boxes) {
        EXPECT_TRUE(box.question);
        EXPECT_EQ(box.message.kind, MdbOKBOX);
        EXPECT_EQ(box.message.parent, &window);
        EXPECT_EQ(box.message.defaultAnswer, MdbOK);
    }
}

TEST_F(DeviceManagerTest, RepairingFillsWhatTheLevelRequiresAndDropsWhatIsInvalid)
{
    // Everything from the catalogue's first entries.
    Repair repair = Validate(ImodelDevice(), imodelDevicePackage, false);
    EXPECT_TRUE(repair.valid);
    EXPECT_TRUE(repair.changed);
    EXPECT_EQ(repair.device, Device("ZX3", "zx3_10", "cs64"));
    EXPECT_EQ(messages.Texts(), (Names{"Family is unspecified or invalid; it has been set to ZX3.",
                                       "Die is unspecified or invalid; it has been set to ZX3-10.",
                                       "Package is unspecified or invalid; it has been set to CS64."}));

    messages.Clear();
    repair = Validate(Device("ZX8", "zx7_50", "fg256"), imodelDeviceDie, true);
    EXPECT_TRUE(repair.valid && repair.changed);
    EXPECT_EQ(repair.device, Device("ZX3", "zx3_10"));
    EXPECT_TRUE(messages.Messages().empty()) << "quiet";

    // At level 0 an unknown family is dropped, and told even when quiet.
    repair = Validate(Device("ZX8", "a", "b"), imodelDeviceNone, true);
    EXPECT_TRUE(repair.valid && repair.changed);
    EXPECT_EQ(repair.device, ImodelDevice());
    EXPECT_EQ(messages.Texts(), Names{"Family is invalid, it has been unset."});
    messages.Clear();
    repair = Validate(Device("", "zx7_50"), imodelDeviceNone, false);
    EXPECT_TRUE(repair.valid && repair.changed);
    EXPECT_EQ(repair.device, ImodelDevice());
    EXPECT_TRUE(messages.Messages().empty());

    // Nothing to repair: the flag says so.
    for (const ImodelDevice& sound :
         {Device("ZX7"), Device("ZX7", "ZX7_50"), Device("ZX7", "zx7_50", "fg484"), Device("QL5")}) {
        repair = Validate(sound, imodelDeviceFamily, false);
        EXPECT_TRUE(repair.valid);
        EXPECT_FALSE(repair.changed);
        EXPECT_EQ(repair.device, sound);
    }
    EXPECT_TRUE(messages.Messages().empty());

    // Below the level that needs them, a wrong die or package goes.
    repair = Validate(Device("ZX7", "zx3_10", "fg256"), imodelDeviceFamily, false);
    EXPECT_TRUE(repair.valid && repair.changed);
    EXPECT_EQ(repair.device, Device("ZX7"));
    repair = Validate(Device("ZX7", "zx7_50", "bg676"), imodelDeviceDie, false);
    EXPECT_TRUE(repair.valid && repair.changed);
    EXPECT_EQ(repair.device, Device("ZX7", "zx7_50"));
    EXPECT_EQ(messages.Texts(),
              (Names{"Die is invalid, it has been unset.", "Package is invalid, it has been unset."}));

    // At the level that needs them, the first one is taken.
    messages.Clear();
    repair = Validate(Device("ZX7", "zx3_10", "fg256"), imodelDeviceDie, false);
    EXPECT_TRUE(repair.valid && repair.changed);
    EXPECT_EQ(repair.device, Device("ZX7", "zx7_50"));
    EXPECT_EQ(messages.Texts(), Names{"Die is unspecified or invalid; it has been set to ZX7-50."});
    repair = Validate(Device("ZX7", "zx7_120", "fg256"), imodelDevicePackage, true);
    EXPECT_TRUE(repair.valid && repair.changed);
    EXPECT_EQ(repair.device, Device("ZX7", "zx7_120", "bg676"));

    // No families: nothing to fill in.
    DefReset();
    repair = Validate(Device("ZX7"), imodelDeviceFamily, true);
    EXPECT_FALSE(repair.valid);
}

TEST_F(DeviceManagerTest, ExternalNamesBecomeInternalOnesWithinTheFamily)
{
    std::string die = "zx7-120";
    std::string package = "Bg676";
    Devices().ConvertExtNamesToInt("ZX7", die, package);
    EXPECT_EQ(die, "zx7_120");
    EXPECT_EQ(package, "bg676");

    // Internal names, unknown names and names of another family stay.
    for (const char* stays : {"zx7_50", "nonesuch", "ZX3-10"}) {
        die = stays;
        package = "";
        Devices().ConvertExtNamesToInt("ZX7", die, package);
        EXPECT_EQ(die, stays);
        EXPECT_EQ(package, "");
    }
    die = "";
    package = "FG256";
    Devices().ConvertExtNamesToInt("ZX7", die, package);
    EXPECT_EQ(package, "FG256") << "no die, no packages";
}

TEST_F(DeviceManagerTest, FamiliesHaveDisplayNames)
{
    EXPECT_EQ(Devices().GetFamilyDisplayName("ZX7"), "ZX7 Pro");
    EXPECT_EQ(Devices().GetFamilyDisplayName("ZX3"), "ZX3");
    EXPECT_EQ(Devices().GetFamilyDisplayName(""), "");
    EXPECT_EQ(Devices().GetFamilyDisplayName("odd name"), "odd name");
    EXPECT_EQ(Devices().GetFamilyByDisplayName("Tarnel 4"), "TN4");
    EXPECT_EQ(Devices().GetFamilyByDisplayName("ZX3"), "ZX3");
    EXPECT_EQ(Devices().GetFamilyByDisplayName("tarnel 4"), "tarnel 4");
}

TEST_F(DeviceManagerTest, AFamilyChangeFollowsTheRulesAndTheCatalogue)
{
    int window = 0;
    std::string allowed = "stale";
    // No files: every change is allowed.
    EXPECT_TRUE(Devices().CanChangeFamily("TN4", "ZX3", &window, &allowed));
    EXPECT_EQ(allowed, "");

    AddProjectFile();
    ASSERT_EQ(DefSetFL("FAM", "TN4"), 0);
    // Without FAM_CHANGE_ENABLED only staying, or choosing a first family, is allowed.
    EXPECT_TRUE(Devices().CanChangeFamily("ZX7", "ZX7", &window, nullptr));
    EXPECT_TRUE(Devices().CanChangeFamily("", "ZX7", &window, nullptr));
    EXPECT_FALSE(Devices().CanChangeFamily("ZX3", "ZX7", &window, &allowed));
    EXPECT_EQ(allowed, "");
    EXPECT_TRUE(messages.Messages().empty());

    ASSERT_EQ(DefSetFL("FAM_CHANGE_ENABLED", "1"), 0);
    ASSERT_EQ(DefSetFL("ALL_FAM_CHANGE_ENABLED", "1"), 0);
    EXPECT_TRUE(Devices().CanChangeFamily("TN4", "ZX3", &window, nullptr));
    ASSERT_EQ(DefSetFL("ALL_FAM_CHANGE_ENABLED", "0"), 0);
    EXPECT_TRUE(Devices().CanChangeFamily("ZX3", "zx7", &window, nullptr)) << "case ignored";
    EXPECT_TRUE(Devices().CanChangeFamily("ZX7", "ZX3", &window, nullptr));

    EXPECT_FALSE(Devices().CanChangeFamily("ZX3", "ZX9", nullptr, &allowed));
    EXPECT_EQ(allowed, "ZX7 Pro, Tarnel 4 or QL5");
    EXPECT_TRUE(messages.Messages().empty()) << "no window, no box";
    EXPECT_FALSE(Devices().CanChangeFamily("ZX7", "TN4", &window, &allowed));
    EXPECT_EQ(allowed, "ZX3");
    EXPECT_FALSE(Devices().CanChangeFamily("TN4", "ZX3", &window, &allowed));
    EXPECT_EQ(allowed, "");
    const auto boxes = messages.Records();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].message.id, "FAM_CHANGE_CAN_ONLY_BE");
    EXPECT_EQ(boxes[0].message.text, "ZX7 projects can only be changed to ZX3.");
    EXPECT_EQ(boxes[1].message.id, "FAM_CHANGE_NOT_ALLOWED");
    EXPECT_EQ(boxes[1].message.text, "Family change is not allowed for TN4 projects.");
    for (const auto& box : boxes) {
        EXPECT_EQ(box.message.parent, &window);
        EXPECT_EQ(box.message.defaultAnswer, MdbOK);
    }
    EXPECT_FALSE(Devices().CanChangeFamily("ZX3\n", "ZX7", nullptr, &allowed));

    // The current family is the user's setting again, untouched.
    EXPECT_EQ(DefGetFL("FAM"), "TN4");

    // Block designs: the change from the current device's family.
    Devices().SetDevice(Device("ZX7", "zx7_50"));
    EXPECT_TRUE(Devices().IsCompatibleWithBlockDesigns(Device("ZX3"), nullptr, nullptr));
    EXPECT_FALSE(Devices().IsCompatibleWithBlockDesigns(Device("TN4"), nullptr, nullptr));
}

TEST_F(DeviceManagerTest, ACoreAsksForADeviceChangeAndTheUserDecides)
{
    RecordingHost host;
    const ImodelDevice current = Device("ZX7", "zx7_50", "fg256");
    Devices().SetDevice(current);
    VyIfaces::IComponent::VyModuleType kind = VyIfaces::IComponent::IP;

    // The core names a die only: the package is completed from the catalogue.
    ImodelDevice wanted = Device("ZX7", "zx7_120");
    bool declined = true;
    EXPECT_TRUE(Devices().ChangeDevice(wanted, "fifo_core", &kind, declined));
    EXPECT_FALSE(declined);
    EXPECT_EQ(wanted, Device("ZX7", "zx7_120", "bg676"));
    EXPECT_EQ(Devices().GetDevice(), current) << "the caller applies the change";
    const auto asked = messages.WithId("UPGRADED_DEVICE_FOR_CORE");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, MdbYESNOBOX);
    EXPECT_EQ(asked[0].severity, MdbWARNING);
    EXPECT_EQ(asked[0].defaultAnswer, MdbYES);
    EXPECT_EQ(asked[0].parent, nullptr);
    ASSERT_EQ(asked[0].args.size(), 3u);
    EXPECT_EQ(asked[0].args[0].text, "FAM:ZX7 - DIE:ZX7-50 - PKG:FG256");
    EXPECT_EQ(asked[0].args[1].text, "FAM:ZX7 - DIE:ZX7-120 - PKG:BG676");
    EXPECT_EQ(asked[0].args[2].text, "fifo_core");
    EXPECT_EQ(asked[0].text, "Solvato IDE needs to change your current device settings from\n"
                             "FAM:ZX7 - DIE:ZX7-50 - PKG:FG256\n"
                             "to\n"
                             "FAM:ZX7 - DIE:ZX7-120 - PKG:BG676\n"
                             "to match 'fifo_core' settings.\n"
                             "\n"
                             "Do you still want to import core?");
    const auto& calls = host.Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "GetIIDEObject"), calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(), "GetParentWindow"), calls.end());

    // The user says no.
    messages.Clear();
    messages.AnswerNext("UPGRADED_DEVICE_FOR_CORE", MdbNO);
    wanted = Device("ZX3");
    EXPECT_FALSE(Devices().ChangeDevice(wanted, "fifo_core", nullptr, declined));
    EXPECT_TRUE(declined);
    EXPECT_EQ(wanted, Device("ZX3")) << "the current die and package do not fit ZX3";
    ASSERT_EQ(messages.WithId("UPGRADED_DEVICE_FOR_CORE").size(), 1u);
    EXPECT_EQ(messages.WithId("UPGRADED_DEVICE_FOR_CORE")[0].args[1].text, "FAM:ZX3 - DIE:UNSET - PKG:UNSET");

    // A device outside the catalogue is reported and refused without a question.
    messages.Clear();
    wanted = Device("ZX7", "zx3_10");
    EXPECT_FALSE(Devices().ChangeDevice(wanted, "fifo_core", nullptr, declined));
    EXPECT_FALSE(declined);
    EXPECT_EQ(TextsOf(messages, "WRONG_DEVICE_VALUE"),
              Names{"Die 'ZX3-10' has not been set. Die must be one of the following: 'ZX7-50' 'ZX7-120'."});
    EXPECT_TRUE(messages.WithId("UPGRADED_DEVICE_FOR_CORE").empty());

    // A family change the project may not make is refused without a question.
    messages.Clear();
    AddProjectFile();
    wanted = Device("ZX3", "zx3_10", "cs64");
    EXPECT_FALSE(Devices().ChangeDevice(wanted, "fifo_core", nullptr, declined));
    EXPECT_FALSE(declined);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(DeviceManagerTest, ToolsNameTheDiesTheyDoNotSupport)
{
    ASSERT_EQ(DefSetFL("QTOOL", "synth"), 0);
    std::string text = "stale";
    EXPECT_TRUE(Devices().IsDieSupportedByTool("synth", text));
    EXPECT_EQ(text, "zx7_120");
    EXPECT_FALSE(Devices().IsDieSupportedByTool("place", text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(Devices().IsDieSupportedByTool("synth\r", text));
    EXPECT_EQ(DefGetFL("QTOOL"), "synth");
}

TEST(DeviceCatalogue, TheShippedCatalogueIsCompleteAndConsistent)
{
    DefReset();
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
                std::string bad, list, member;
                EXPECT_TRUE(devices.IsValidDevice(bad, list, member, imodelDevicePackage, &device, false, nullptr));
                EXPECT_EQ(ImodelDevice(device.GetAsBrnDevice()), device);
            }
        }
        const imodelDeviceMembers level = ImodelGetMandatoryDeviceLevel(ImodelDevice(family, "", ""));
        EXPECT_TRUE(level == imodelDeviceFamily || level == imodelDevicePackage);
    }
    // Every family a project may change to exists.
    for (const std::string& family : families) {
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
    std::string bad, list, member;
    EXPECT_TRUE(devices.IsValidDevice(bad, list, member, imodelDevicePackage, &start, false, nullptr)) << member;
    DefReset();
}
