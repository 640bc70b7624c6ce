// A feature switch kept between reads answers as a read of the options
// made afresh, whatever changed the options in between: user values set
// and unset, overrides pushed and popped, defaults loaded (also scoped by a
// condition whose variable changes), user settings loaded, the whole
// database reset.
#include "imodel/model/ImodelFeatures.h"
#include "imodel/options/ImodelPhySynthesisDefaults.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace {

constexpr std::array<const char*, 6> kValues = {"1", "0", "2", "yes", "off", "x"};

struct Checked {
    const char* name;
    bool (*kept)();
};

// Switches kept in memos of their own (one per switch, as the library does).
bool DebugTime() { return ImodelCountLongProcessTime(); }
bool MixedHDL() { return ImodelIsMixedHDLEnabled(); }
bool SynplifySDC() { return ImodelDefaultUseSynplifySDC(); }
bool Local()
{
    static ImodelSwitchMemo memo("SWITCH_MEMO_TEST_LOCAL");
    return memo.IsOn();
}

const std::array<Checked, 4> kChecked = {{{ImodelCountLongProcessTimeOption, &DebugTime},
                                          {ImodelIsMixedHDLEnabledOption, &MixedHDL},
                                          {"IDE_PASS_SYNPLIFY_SDC_BY_DEFAULT", &SynplifySDC},
                                          {"SWITCH_MEMO_TEST_LOCAL", &Local}}};

}  // namespace

TEST(ImodelSwitchMemo, AKeptSwitchAnswersAsAFreshReadAfterEveryKindOfChange)
{
    std::mt19937 random(20261207);
    const auto pick = [&random](std::size_t size) { return std::uniform_int_distribution<std::size_t>(0, size - 1)(random); };
    const std::string userFile = ::testing::TempDir() + "switch_memo_user_" + std::to_string(::getpid()) + ".opt";
    DefReset();
    int overrides = 0;
    for (int step = 0; step < 3000; ++step) {
        const char* name = kChecked[pick(kChecked.size())].name;
        const char* value = kValues[pick(kValues.size())];
        switch (pick(9)) {
        case 0:
        case 1:
            DefSetFL(name, value);
            break;
        case 2:
            DefUnset(name);
            break;
        case 3:
            DefOverRideFL(name, value);
            ++overrides;
            break;
        case 4:
            if (overrides > 0) {
                DefUnOverRide(name);
                --overrides;
            }
            break;
        case 5:
            // A default scoped by a condition: the answer moves with the
            // condition variable's own value.
            DefLoadDefaultsFromText(std::string(name) + " = " + value + "\n" + name + "[QFAM=ZX3] = " +
                                        kValues[pick(kValues.size())] + "\n",
                                    nullptr);
            break;
        case 6:
            DefSetFL("QFAM", pick(2) == 0 ? "ZX3" : "ZX7");
            break;
        case 7: {
            std::ofstream(userFile) << name << " = " << value << "\n";
            DefLoadUserSettings(userFile, nullptr);
            break;
        }
        default:
            if (pick(20) == 0) {
                DefReset();
                overrides = 0;
            }
            break;
        }
        // Asked twice: the second answer comes from the memo when nothing
        // changed, the first after the change.
        for (int ask = 0; ask < 2; ++ask)
            for (const Checked& checked : kChecked)
                ASSERT_EQ(checked.kept(), ImodelIsSwitchOn(checked.name))
                    << checked.name << " at step " << step << ", ask " << ask;
    }
    DefReset();
    std::remove(userFile.c_str());
}

TEST(ImodelSwitchMemo, TheChangeCountMovesAtEveryWriteAndNotAtReads)
{
    DefReset();
    std::uint64_t count = DefChangeCount();
    const auto moved = [&count] {
        const std::uint64_t now = DefChangeCount();
        const bool changed = now != count;
        count = now;
        return changed;
    };
    EXPECT_TRUE((DefSetFL("SWITCH_MEMO_A", "1"), moved()));
    int value = 0;
    EXPECT_FALSE((DefGetBoolFL("SWITCH_MEMO_A", &value), moved()));
    EXPECT_FALSE((ImodelIsSwitchOn("SWITCH_MEMO_B"), moved()));
    EXPECT_TRUE((DefOverRideFL("SWITCH_MEMO_A", "0"), moved()));
    EXPECT_TRUE((DefUnOverRide("SWITCH_MEMO_A"), moved()));
    EXPECT_TRUE((DefUnset("SWITCH_MEMO_A"), moved()));
    EXPECT_TRUE((DefLoadDefaultsFromText("SWITCH_MEMO_A = 1\n", nullptr), moved()));
    EXPECT_TRUE((DefReset(), moved()));
    // A refused write changes nothing.
    EXPECT_FALSE((DefSetFL("", "1"), moved()));
}
