// The unit set's lookup by the name as written, whatever its letter case,
// against the plain lookup by the name lower-cased and against a walk over
// every unit, while units come, go and change their names and files.
#include <zorpa/ZorpaLibrary.h>
#include <zorpa/ZorpaString.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// The least a unit gives the set.
struct Unit {
    // The name as written; its lower-cased form is the order's name.
    std::string written;
    ZorpaUnitOrder order;
    std::uint64_t serial = 0;
    std::string fileKey;
    ZorpaUnitSet<Unit*>* set = nullptr;
    ZorpaUnitSet<Unit*>::Place place{};
    bool sole = false;

    const ZorpaUnitOrder& GetUnitOrder() const { return order; }
    const std::string& GetName() const { return written; }
    std::uint64_t GetUnitSerial() const { return serial; }
    const std::string& GetFileIndexKey() const { return fileKey; }
    void SetUnitSet(ZorpaUnitSet<Unit*>* owner) { set = owner; }
    const ZorpaUnitSet<Unit*>* GetUnitSet() const { return set; }
    void SetUnitPlace(ZorpaUnitSet<Unit*>::Place at) { place = at; }
    ZorpaUnitSet<Unit*>::Place GetUnitPlace() const { return place; }
    void SetUnitSole(bool alone) { sole = alone; }
    bool IsUnitSole() const { return sole; }
};

using UnitSet = ZorpaUnitSet<Unit*>;

std::string Lowered(std::string text)
{
    ZorpaMakeLower(text);
    return text;
}

// The name with each letter in a random case.
std::string AnyCase(const std::string& name, std::mt19937& random)
{
    std::string written = name;
    for (char& c : written)
        if (random() % 2 != 0) c = UtlToUpper(c);
    return written;
}

std::vector<Unit*> Units(UnitSet::Range range) { return std::vector<Unit*>(range.first, range.second); }

// Gives the unit one of the files, or none one time in `noneOneIn`.
void GiveRandomFile(Unit& unit, std::mt19937& random, const std::vector<std::string>& files, unsigned noneOneIn)
{
    unit.order.hasFile = random() % noneOneIn != 0;
    unit.order.file = unit.order.hasFile ? files[random() % files.size()] : std::string();
    unit.fileKey = unit.order.file;
}

// The unit that keeps a newcomer out, by the rule read off the units of its
// name in order: the first of the name when either has no file, else one of
// the same file.
Unit* KeepingOut(const Unit& newcomer, const std::vector<Unit*>& named)
{
    if (!named.empty() && (!newcomer.order.hasFile || !named.front()->order.hasFile)) return named.front();
    for (Unit* unit : named)
        if (unit->order == newcomer.order) return unit;
    return nullptr;
}

}  // namespace

TEST(ZorpaUnitSet, TheUnitsOfANameAsWrittenAreThoseOfTheNameLowerCasedInTheSameOrder)
{
    std::mt19937 random(2911);
    // Names differing in case only, or by the bytes next to the letters
    // ('@', '[', '`', '{') and bytes outside ASCII, which keep their case.
    const std::vector<std::string> names{"alu", "alu_2", "cpu@", "cpu`", "x[0]", "x{0}", "\xC4rger", "\xE4rger",
                                         "a",   "b",     "top",  "TOP_1", "ram_block_with_a_long_name"};
    const std::vector<std::string> files{"/p/a.vhd", "/p/b.vhd", "/p/c.v"};
    const auto pick = [&](const auto& from) { return from[random() % from.size()]; };
    const auto setFile = [&](Unit& unit) { GiveRandomFile(unit, random, files, 3); };

    UnitSet set;
    std::vector<std::unique_ptr<Unit>> outside;
    std::uint64_t serial = 0;
    for (int step = 0; step < 4000; ++step) {
        const int action = static_cast<int>(random() % 10);
        if (action < 5) {
            auto unit = std::make_unique<Unit>();
            unit->written = AnyCase(pick(names), random);
            unit->order.name = Lowered(unit->written);
            unit->serial = ++serial;
            setFile(*unit);
            auto taken = std::move(unit);
            if (!set.Insert(std::move(taken)).second) outside.push_back(std::move(taken));
        } else if (action < 7 && !set.empty()) {
            const std::vector<Unit*> all(set.begin(), set.end());
            outside.push_back(set.Extract(pick(all)));
        } else if (!set.empty()) {
            const std::vector<Unit*> all(set.begin(), set.end());
            Unit* unit = pick(all);
            set.Rekey(unit, [&] {
                unit->written = AnyCase(pick(names), random);
                unit->order.name = Lowered(unit->written);
                if (random() % 2 == 0) setFile(*unit);
            });
        }

        for (int query = 0; query < 4; ++query) {
            const std::string written = AnyCase(pick(names), random);
            const std::string lowered = Lowered(written);
            const std::vector<Unit*> asWritten = Units(set.EqualRangeAsWritten(written));
            ASSERT_EQ(asWritten, Units(set.equal_range(ZorpaUnitName{lowered}))) << written << " at step " << step;
            std::vector<Unit*> walked;
            for (Unit* unit : set)
                if (unit->order.name == lowered) walked.push_back(unit);
            ASSERT_EQ(asWritten, walked) << written << " at step " << step;
            // The first unit of the range a question takes, or none: asked
            // of units with a file, then of every unit, then of none.
            const auto firstTaken = [&](auto take) -> Unit* {
                for (Unit* unit : asWritten)
                    if (take(unit)) return unit;
                return nullptr;
            };
            const auto withFile = [](Unit* unit) { return unit->order.hasFile; };
            const auto any = [](Unit*) { return true; };
            const auto none = [](Unit*) { return false; };
            ASSERT_EQ(set.FindAsWritten(written, withFile), firstTaken(withFile)) << written << " at step " << step;
            ASSERT_EQ(set.FindAsWritten(written, any), firstTaken(any)) << written << " at step " << step;
            ASSERT_EQ(set.FindAsWritten(written, none), nullptr) << written << " at step " << step;
            // A name hashed once answers as the name itself, prefetched or not.
            const ZorpaHashedName hashed(written);
            if (step % 2 == 0) set.PrefetchName(hashed);
            ASSERT_EQ(set.FindAsWritten(hashed, withFile), firstTaken(withFile)) << written << " at step " << step;
            ASSERT_EQ(set.FindAsWritten(hashed, any), firstTaken(any)) << written << " at step " << step;
            // The unit that keeps a newcomer of that name out, against the
            // rule read off the walk.
            Unit newcomer;
            newcomer.written = written;
            newcomer.order.name = lowered;
            setFile(newcomer);
            ASSERT_EQ(set.Conflicting(newcomer), KeepingOut(newcomer, walked)) << written << " at step " << step;
        }
    }
    EXPECT_TRUE(Units(set.EqualRangeAsWritten("no such unit")).empty());
    EXPECT_TRUE(Units(set.EqualRangeAsWritten("")).empty());
}

TEST(ZorpaUnitSet, FoldedHashAndEqualityIgnoreTheCaseOfAsciiLettersOnly)
{
    const ZorpaFoldedHash hash;
    const ZorpaFoldedEqual equal;
    EXPECT_TRUE(equal("Alu_Core", "aLU_cORE"));
    EXPECT_EQ(hash("Alu_Core"), hash("aLU_cORE"));
    // The bytes next to the letters and bytes outside ASCII keep their case.
    EXPECT_FALSE(equal("x@", "x`"));
    EXPECT_FALSE(equal("x[", "x{"));
    EXPECT_FALSE(equal("\xC4", "\xE4"));
    EXPECT_FALSE(equal("alu", "alu "));
}

// Units changed in place (a file given or taken, a name changed or kept,
// several units of one name) stand where a plain sort of every unit puts
// them, and the file and name indexes answer as a walk over the set; so do
// units given another file where they stand, when they keep their name,
// whether or not the set holds others of that name, and while units leave.
// A unit the set calls alone of its name is.
TEST(ZorpaUnitSet, ChangedUnitsStandWhereAPlainSortPutsThem)
{
    std::mt19937 random(3217);
    std::vector<std::string> names{"a", "b", "c", "mid", "top", "z"};
    // Names alike in their first sixteen bytes and more, one the start of
    // another, and bytes above 0x7F, which sort after every letter.
    names.insert(names.end(),
                 {"fifo_sync_rd_ctrl_", "fifo_sync_rd_ctrl", "fifo_sync_wr", "\xE4rger", "top_wrapper_of_"});
    const std::vector<std::string> files{"/p/a.vhd", "/p/b.vhd", "/p/c.v", "/p/d.v"};
    const auto pick = [&](const auto& from) { return from[random() % from.size()]; };
    const auto setFile = [&](Unit& unit) { GiveRandomFile(unit, random, files, 4); };
    UnitSet set;
    std::vector<std::unique_ptr<Unit>> outside;
    std::uint64_t serial = 0;
    for (int step = 0; step < 3000; ++step) {
        if (set.size() < 30 || random() % 4 == 0) {
            auto unit = std::make_unique<Unit>();
            unit->written = pick(names) + std::to_string(random() % 8);
            unit->order.name = unit->written;
            unit->serial = ++serial;
            setFile(*unit);
            if (!set.Insert(std::move(unit)).second) outside.push_back(std::move(unit));
        } else if (random() % 8 == 0) {
            const std::vector<Unit*> all(set.begin(), set.end());
            outside.push_back(set.Extract(pick(all)));
        } else {
            const std::vector<Unit*> all(set.begin(), set.end());
            Unit* unit = pick(all);
            const int kind = static_cast<int>(random() % 4);
            const auto change = [&] {
                if (kind == 0) {
                    unit->written = pick(names) + std::to_string(random() % 8);
                    unit->order.name = unit->written;
                }
                if (kind != 3) setFile(*unit);
            };
            // A change that keeps the name may go either way.
            if (kind == 0 || random() % 3 == 0)
                set.Rekey(unit, change);
            else
                set.RekeyFile(unit, change);
        }
        std::vector<Unit*> sorted(set.begin(), set.end());
        std::sort(sorted.begin(), sorted.end(), [](const Unit* x, const Unit* y) {
            const std::strong_ordering order = x->order <=> y->order;
            return order < 0 || (order == 0 && x->serial < y->serial);
        });
        ASSERT_EQ(std::vector<Unit*>(set.begin(), set.end()), sorted) << "step " << step;
        for (std::size_t at = 0; at < sorted.size(); ++at) {
            const Unit* unit = sorted[at];
            ASSERT_EQ(unit->GetUnitPlace()->get(), unit) << "step " << step;
            const bool alone = (at == 0 || sorted[at - 1]->order.name != unit->order.name) &&
                               (at + 1 == sorted.size() || sorted[at + 1]->order.name != unit->order.name);
            ASSERT_TRUE(alone || !unit->sole) << unit->order.name << " at step " << step;
        }
        for (const std::string& file : files) {
            std::vector<Unit*> walked;
            for (Unit* unit : sorted)
                if (unit->fileKey == file) walked.push_back(unit);
            ASSERT_EQ(set.UnitsOfFileKey(file), walked) << file << " at step " << step;
        }
        const std::string name = pick(names) + std::to_string(random() % 8);
        std::vector<Unit*> named;
        for (Unit* unit : sorted)
            if (unit->order.name == name) named.push_back(unit);
        ASSERT_EQ(Units(set.equal_range(ZorpaUnitName{name})), named) << name << " at step " << step;
    }
}

TEST(ZorpaUnitSet, TakingAllWhileLookingAheadTakesWhatAPlainTakeTakesAndTellsOfEachUnitOnceInOrder)
{
    std::mt19937 random(4409);
    const std::vector<std::string> files{"/p/a.vhd", "/p/b.vhd", "/p/c.v"};
    // Sets shorter than the look-ahead, as long, and much longer.
    for (const int count : {0, 1, 7, 8, 9, 16, 17, 40, 333}) {
        // Two sets alike, one taken plainly and one while looking ahead.
        UnitSet plain;
        UnitSet looked;
        std::vector<std::unique_ptr<Unit>> outside;
        for (int i = 0; i < count; ++i) {
            auto unit = std::make_unique<Unit>();
            unit->written = "u" + std::to_string(random() % 50);
            unit->order.name = unit->written;
            unit->serial = static_cast<std::uint64_t>(i + 1);
            GiveRandomFile(*unit, random, files, 3);
            auto twin = std::make_unique<Unit>(*unit);
            if (!plain.Insert(std::move(unit)).second) outside.push_back(std::move(unit));
            if (!looked.Insert(std::move(twin)).second) outside.push_back(std::move(twin));
        }
        std::vector<std::uint64_t> order;
        for (const Unit* unit : looked) order.push_back(unit->serial);
        std::vector<std::uint64_t> far;
        std::vector<std::uint64_t> near;
        std::vector<std::uint64_t> leftSoFar;
        std::vector<std::unique_ptr<Unit>> taken = looked.TakeAll([&](const Unit* unit, int step) {
            // Nothing is told of after it has left the set.
            EXPECT_EQ(unit->GetUnitSet(), &looked) << "unit " << unit->serial;
            (step == 0 ? far : near).push_back(unit->serial);
        });
        const std::vector<std::unique_ptr<Unit>> plainly = plain.TakeAll();
        ASSERT_EQ(taken.size(), plainly.size()) << count << " units";
        for (std::size_t i = 0; i < taken.size(); ++i) {
            EXPECT_EQ(taken[i]->serial, plainly[i]->serial) << "at " << i << " of " << count;
            EXPECT_EQ(taken[i]->GetUnitSet(), nullptr);
        }
        EXPECT_EQ(far, order) << count << " units";
        EXPECT_EQ(near, order) << count << " units";
        EXPECT_TRUE(looked.empty());
    }
}

TEST(ZorpaUnitSet, UnitsCollectedFromTheIndexesAreTheSetsOwnAndSortBackIntoItsOrder)
{
    // Units come, go and change names and files (so that at times several
    // units of a name have none, which the indexes cannot tell apart): each
    // collection either appends every unit of the set once, which sorted
    // with the set's comparison gives the set's walk, or leaves what the
    // caller held untouched.
    std::mt19937 random(5501);
    const std::vector<std::string> names{"alu", "bus", "core", "dma", "top"};
    std::vector<std::string> files;
    for (int i = 0; i < 40; ++i) files.push_back("/p/f" + std::to_string(i) + (i % 2 ? ".v" : ".vhd"));
    const auto pick = [&](const auto& from) { return from[random() % from.size()]; };
    UnitSet set;
    std::vector<std::unique_ptr<Unit>> outside;
    std::uint64_t serial = 0;
    int collected = 0;
    int refused = 0;
    for (int step = 0; step < 2500; ++step) {
        const unsigned kind = random() % 8;
        if (set.size() < 20 || kind < 4) {
            auto unit = std::make_unique<Unit>();
            unit->written = AnyCase(pick(names) + std::to_string(random() % 30), random);
            unit->order.name = Lowered(unit->written);
            unit->serial = ++serial;
            GiveRandomFile(*unit, random, files, 6);
            if (!set.Insert(std::move(unit)).second) outside.push_back(std::move(unit));
        } else {
            const std::vector<Unit*> all(set.begin(), set.end());
            Unit* unit = pick(all);
            if (kind == 4) {
                outside.push_back(set.Extract(unit));
            } else {
                set.Rekey(unit, [&] { GiveRandomFile(*unit, random, files, kind == 5 ? 2 : 8); });
            }
        }
        const std::vector<Unit*> walked(set.begin(), set.end());
        std::vector<Unit*> held{nullptr, outside.empty() ? nullptr : outside.back().get()};
        const std::vector<Unit*> before = held;
        if (!set.CollectUnordered(held)) {
            ++refused;
            ASSERT_EQ(held, before) << "step " << step;
            continue;
        }
        ++collected;
        ASSERT_EQ(held.size(), before.size() + walked.size()) << "step " << step;
        ASSERT_TRUE(std::equal(before.begin(), before.end(), held.begin())) << "step " << step;
        std::vector<Unit*> units(held.begin() + static_cast<std::ptrdiff_t>(before.size()), held.end());
        std::sort(units.begin(), units.end(), [](const Unit* x, const Unit* y) { return UnitSet::Precedes(*x, *y); });
        ASSERT_EQ(units, walked) << "step " << step;
    }
    EXPECT_GT(collected, 400);
    EXPECT_GT(refused, 0);
}

// Units of new names wait for their places until the order is asked for;
// meanwhile they are found by name and by file, given other files, kept
// out or let in beside others of their name, and taken out, as a plain
// model of the set answers. Once the order is asked for, they stand where a
// plain sort puts them, put in one by one when few and in one walk when
// many against the units in place.
TEST(ZorpaUnitSet, UnitsOfNewNamesTakeTheirPlacesWhenTheOrderIsAskedFor)
{
    std::mt19937 random(6607);
    std::vector<std::string> files;
    for (int i = 0; i < 12; ++i) files.push_back("/p/f" + std::to_string(i) + ".vhd");
    const auto pick = [&](const auto& from) { return from[random() % from.size()]; };
    // Many names, some alike in their first sixteen bytes.
    const auto randomName = [&] {
        const std::string stem = random() % 4 == 0 ? "block_with_a_long_common_stem_" : "u";
        return AnyCase(stem + std::to_string(random() % 3000), random);
    };
    const auto inOrder = [](std::vector<Unit*> units) {
        std::sort(units.begin(), units.end(), [](const Unit* x, const Unit* y) { return UnitSet::Precedes(*x, *y); });
        return units;
    };
    UnitSet set;
    // The units the set holds, as the model knows them, and those it gave back.
    std::vector<Unit*> held;
    std::vector<std::unique_ptr<Unit>> outside;
    std::uint64_t serial = 0;
    for (int round = 0; round < 60; ++round) {
        // Rounds of a few changes and of many, against a set small or large.
        const int changes = static_cast<int>(round % 3 == 0 ? random() % 400 : random() % 12);
        for (int change = 0; change < changes; ++change) {
            const unsigned kind = random() % 16;
            if (held.empty() || kind < 9) {
                auto unit = std::make_unique<Unit>();
                unit->written = randomName();
                unit->order.name = Lowered(unit->written);
                unit->serial = ++serial;
                GiveRandomFile(*unit, random, files, 4);
                Unit* const made = unit.get();
                const auto [standing, taken] = set.Insert(std::move(unit));
                if (taken) {
                    held.push_back(made);
                } else {
                    outside.push_back(std::move(unit));
                    ASSERT_NE(std::find(held.begin(), held.end(), standing), held.end()) << "round " << round;
                }
            } else if (kind < 13) {
                Unit* const unit = pick(held);
                set.RekeyFile(unit, [&] { GiveRandomFile(*unit, random, files, 4); });
            } else if (kind < 14) {
                Unit* const unit = pick(held);
                held.erase(std::find(held.begin(), held.end(), unit));
                outside.push_back(set.Extract(unit));
                ASSERT_EQ(outside.back().get(), unit) << "round " << round;
            } else {
                // What the set finds of a name against the model's units of it.
                const std::string written = randomName();
                const std::string lowered = Lowered(written);
                std::vector<Unit*> named;
                for (Unit* unit : inOrder(held))
                    if (unit->order.name == lowered) named.push_back(unit);
                const auto withFile = [](Unit* unit) { return unit->order.hasFile; };
                Unit* firstWithFile = nullptr;
                for (Unit* unit : named)
                    if (firstWithFile == nullptr && withFile(unit)) firstWithFile = unit;
                ASSERT_EQ(set.FindAsWritten(written, withFile), firstWithFile) << written << " round " << round;
                ASSERT_EQ(set.FindAsWritten(written, [](Unit*) { return false; }), nullptr) << written;
                Unit newcomer;
                newcomer.order.name = lowered;
                GiveRandomFile(newcomer, random, files, 4);
                ASSERT_EQ(set.Conflicting(newcomer), KeepingOut(newcomer, named)) << written << " round " << round;
            }
            ASSERT_EQ(set.size(), held.size()) << "round " << round;
            const std::string& file = pick(files);
            std::vector<Unit*> ofFile;
            for (Unit* unit : inOrder(held))
                if (unit->fileKey == file) ofFile.push_back(unit);
            ASSERT_EQ(set.UnitsOfFileKey(file), ofFile) << file << " round " << round;
        }
        std::vector<Unit*> collected;
        // Refused only when units of one name have no file.
        if (set.CollectUnordered(collected)) {
            ASSERT_EQ(inOrder(collected), inOrder(held)) << "round " << round;
        }
        const std::vector<Unit*> sorted = inOrder(held);
        ASSERT_EQ(std::vector<Unit*>(set.begin(), set.end()), sorted) << "round " << round;
        for (std::size_t at = 0; at < sorted.size(); ++at) {
            ASSERT_EQ(sorted[at]->GetUnitPlace()->get(), sorted[at]) << "round " << round;
            const bool alone = (at == 0 || sorted[at - 1]->order.name != sorted[at]->order.name) &&
                               (at + 1 == sorted.size() || sorted[at + 1]->order.name != sorted[at]->order.name);
            ASSERT_TRUE(alone || !sorted[at]->sole) << sorted[at]->order.name << " round " << round;
        }
    }
    // Taken all at once, waiting or not, in the order.
    for (int i = 0; i < 50; ++i) {
        auto unit = std::make_unique<Unit>();
        unit->written = randomName();
        unit->order.name = Lowered(unit->written);
        unit->serial = ++serial;
        Unit* const made = unit.get();
        if (set.Insert(std::move(unit)).second) held.push_back(made);
    }
    const std::vector<Unit*> sorted = inOrder(held);
    const std::vector<std::unique_ptr<Unit>> all = set.TakeAll();
    ASSERT_EQ(all.size(), sorted.size());
    for (std::size_t at = 0; at < all.size(); ++at) EXPECT_EQ(all[at].get(), sorted[at]) << "at " << at;
    EXPECT_TRUE(set.empty());
}
