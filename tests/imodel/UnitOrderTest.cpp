// The order of design units and the library sets that keep it: a strict weak
// order whatever names and files the units have, and a set that stays in
// order, with its file index current, while units are added, taken out and
// given other files.
#include "ModuleTreeTestSupport.h"

#include "imodel/design/ImodelFindModule.h"
#include "imodel/names/imodelUtl.h"

#include <algorithm>
#include <map>
#include <random>
#include <sstream>

namespace {

using UnitSet = ImodelModule::UnitSet;

class UnitOrderTest : public DesignFixture {};

// What is wrong with the set, or an empty text.
std::string Broken(const UnitSet& units)
{
    std::ostringstream broken;
    const std::vector<ImodelModule*> all(units.begin(), units.end());
    for (std::size_t i = 0; i + 1 < all.size(); ++i) {
        if (*all[i + 1] < *all[i]) broken << all[i + 1]->GetName() << " stands after a unit above it; ";
    }
    std::map<std::string, std::vector<ImodelModule*>> byFile;
    for (ImodelModule* unit : all) {
        if (!units.contains(unit)) broken << unit->GetName() << " cannot be found; ";
        byFile[unit->GetFileIndexKey()].push_back(unit);
        // The key follows the file the unit holds now, however often it was given one.
        const boost::shared_ptr<IfileObjectEx> file = unit->GetModuleFile();
        const std::string key = file ? ImodelFileNameKey(file->GetInternalFileName().GetString(), std::string()) : "";
        if (unit->GetFileIndexKey() != key) broken << unit->GetName() << " holds the key of another file; ";
        std::string lowered = unit->GetName();
        std::transform(lowered.begin(), lowered.end(), lowered.begin(), ::tolower);
        const auto [first, last] = units.equal_range(ZorpaUnitName{lowered});
        const std::vector<ImodelModule*> named(first, last);
        std::vector<ImodelModule*> expected;
        std::copy_if(all.begin(), all.end(), std::back_inserter(expected),
                     [&](const ImodelModule* other) { return other->GetUnitOrder().name == lowered; });
        if (named != expected) broken << "the units named " << lowered << " are not found together; ";
    }
    for (const auto& [key, owners] : byFile) {
        if (!key.empty() && units.UnitsOfFileKey(key) != owners) broken << "the index of " << key << " is stale; ";
    }
    return broken.str();
}

}  // namespace

TEST_F(UnitOrderTest, ARandomRunOfInsertionsRemovalsAndFileChangesKeepsTheLibraryInOrder)
{
    std::mt19937 random(1202);
    std::vector<boost::shared_ptr<IfileObjectEx>> files;
    for (const std::string name : {"/p/a.vhd", "/p/A.vhd", "/p/b.vhd", "<project>/c.vhd", "/p/d\\e.vhd"})
        files.push_back(File(name));
    const std::vector<std::string> names{"alu", "ALU", "Alu", "cpu", "top"};
    const auto pick = [&](const auto& from) { return from[random() % from.size()]; };
    const auto anyFile = [&] { return random() % 3 == 0 ? boost::shared_ptr<IfileObjectEx>() : pick(files); };
    // A unit of each file, outside the set: a unit given a file by name
    // takes the file of the unit it is given along.
    std::vector<std::unique_ptr<ImodelModule>> carriers;
    for (const auto& file : files) carriers.push_back(MakeModule("carrier", file));

    UnitSet units;
    std::vector<ImodelModule*> held;
    std::vector<std::unique_ptr<ImodelModule>> outside;
    for (int step = 0; step < 4000; ++step) {
        switch (random() % 6) {
        case 0:
        case 1: {
            auto [unit, inserted] = units.Insert(MakeModule(pick(names), anyFile()));
            if (inserted) held.push_back(unit);
            break;
        }
        case 2:
            if (!held.empty()) {
                ImodelModule* unit = pick(held);
                std::erase(held, unit);
                outside.push_back(units.Extract(unit));
                ASSERT_TRUE(outside.back());
            }
            break;
        case 3:
            if (!held.empty()) {
                ImodelModule* carrier = carriers[random() % carriers.size()].get();
                const bool none = random() % 4 == 0;
                pick(held)->SetModuleFileName(none ? "" : carrier->GetFileName(), none ? nullptr : carrier, false);
            }
            break;
        case 4:
            if (!held.empty()) pick(held)->SetNoFile();
            break;
        default:
            if (!outside.empty() && !units.Conflicting(*outside.back())) {
                held.push_back(units.Insert(std::move(outside.back())).first);
                outside.pop_back();
            }
            break;
        }
        ASSERT_EQ(Broken(units), "") << "after step " << step;
        ASSERT_EQ(units.size(), held.size());
    }
}
