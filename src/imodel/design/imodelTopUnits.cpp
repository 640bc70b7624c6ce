#include "src/imodel/design/imodelTopUnits.h"

#include "imodel/names/imodelUtl.h"

#include <boost/weak_ptr.hpp>

#include <algorithm>
#include <compare>
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

using Library = ZorpaLibrary<ImodelModule*>;
using UnitSet = ImodelModule::UnitSet;

// Where a unit stands in a top-level list: its place in the library's order
// and whether it is a package, as they were when it was placed.
struct Key {
    ZorpaUnitOrder order;
    std::uint64_t serial = 0;
    bool isPackage = false;
};

Key KeyOf(const ImodelModule& unit) { return Key{unit.GetUnitOrder(), unit.GetUnitSerial(), unit.IsPackage()}; }

bool Before(const Key& a, const Key& b)
{
    const std::strong_ordering order = a.order <=> b.order;
    return order < 0 || (order == 0 && a.serial < b.serial);
}

// What the units of one set told since its list was last brought up to date.
struct Changes {
    boost::weak_ptr<UnitSet> set;
    std::vector<std::pair<const ImodelModule*, std::uint64_t>> touched;
    std::vector<std::pair<const ImodelModule*, Key>> leaving;
    // Too much was told: the list is made anew.
    bool overflow = false;
};

// A library's list as it was last made, each unit with its key: packages
// first, in falling order, then the other units in rising order.
struct Kept {
    boost::weak_ptr<Library> library;
    boost::weak_ptr<UnitSet> set;
    const std::deque<ImodelModule*>* list = nullptr;
    std::string name;
    std::vector<std::pair<ImodelModule*, Key>> entries;
    std::size_t packages = 0;
};

std::unordered_map<const UnitSet*, Changes>& Journal()
{
    static std::unordered_map<const UnitSet*, Changes> journal;
    return journal;
}

std::unordered_map<const Library*, Kept>& Lists()
{
    static std::unordered_map<const Library*, Kept> lists;
    return lists;
}

// The changes of a set whose list is kept here; null for any other set.
Changes* ChangesOf(const UnitSet* set)
{
    if (set == nullptr) return nullptr;
    auto& journal = Journal();
    const auto found = journal.find(set);
    if (found == journal.end()) return nullptr;
    // Another set at the address of one that is gone.
    if (found->second.set.expired()) {
        journal.erase(found);
        return nullptr;
    }
    return found->second.overflow ? nullptr : &found->second;
}

// Changes of a set that nobody asks about pile up only so far.
void Bound(Changes& changes, const UnitSet& set)
{
    if (changes.touched.size() + changes.leaving.size() <= 4 * set.size() + 1024) return;
    changes.overflow = true;
    changes.touched = {};
    changes.leaving = {};
}

bool IsTop(const ImodelModule& unit, const std::string& library)
{
    const ImodelLinkList* parents = unit.GetParentsList();
    return parents == nullptr || std::none_of(parents->begin(), parents->end(), [&library](const ImodelModule* parent) {
               return parent != nullptr && ImodelIsSameStrNoCase(parent->GetComponentID().library, library);
           });
}

// Where the key stands, or would stand, among the kept entries.
std::size_t PlaceOf(const Kept& kept, const Key& key)
{
    const auto begin = kept.entries.begin();
    const auto packagesEnd = begin + static_cast<std::ptrdiff_t>(kept.packages);
    const auto at = key.isPackage
                        ? std::lower_bound(begin, packagesEnd, key,
                                           [](const auto& entry, const Key& k) { return Before(k, entry.second); })
                        : std::lower_bound(packagesEnd, kept.entries.end(), key,
                                           [](const auto& entry, const Key& k) { return Before(entry.second, k); });
    return static_cast<std::size_t>(at - begin);
}

bool StandsAt(const Kept& kept, std::size_t place, const ImodelModule* unit, const Key& key)
{
    if (place >= kept.entries.size()) return false;
    const auto& [standing, standingKey] = kept.entries[place];
    return standing == unit && standingKey.serial == key.serial && standingKey.order == key.order;
}

void Erase(Kept& kept, std::deque<ImodelModule*>& list, std::size_t place)
{
    if (kept.entries[place].second.isPackage) --kept.packages;
    kept.entries.erase(kept.entries.begin() + static_cast<std::ptrdiff_t>(place));
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(place));
}

void Insert(Kept& kept, std::deque<ImodelModule*>& list, std::size_t place, ImodelModule* unit, Key key)
{
    if (key.isPackage) ++kept.packages;
    kept.entries.insert(kept.entries.begin() + static_cast<std::ptrdiff_t>(place), {unit, std::move(key)});
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(place), unit);
}

// Brings the kept list up to date with what the set's units told.
void Apply(Kept& kept, Changes& changes, const UnitSet& set, std::deque<ImodelModule*>& list)
{
    for (const auto& [unit, key] : changes.leaving) {
        const std::size_t place = PlaceOf(kept, key);
        if (StandsAt(kept, place, unit, key)) Erase(kept, list, place);
    }
    std::unordered_set<const ImodelModule*> seen;
    for (const auto& [told, serial] : changes.touched) {
        // A unit no longer in the set told so when it left: it is not
        // looked at, as it may be gone.
        if (!seen.insert(told).second || !set.contains(told) || told->GetUnitSerial() != serial) continue;
        ImodelModule* unit = *set.find(told);
        Key key = KeyOf(*unit);
        const std::size_t place = PlaceOf(kept, key);
        const bool standing = StandsAt(kept, place, unit, key);
        const bool top = IsTop(*unit, kept.name);
        if (standing && !top)
            Erase(kept, list, place);
        else if (!standing && top)
            Insert(kept, list, place, unit, std::move(key));
    }
    changes.touched.clear();
    changes.leaving.clear();
}

// Whether the list still looks as it was left here: a list put in place or
// edited by someone else is made anew.
bool Matches(const Kept& kept, const std::deque<ImodelModule*>& list)
{
    if (kept.entries.size() != list.size()) return false;
    return list.empty() || (list.front() == kept.entries.front().first && list.back() == kept.entries.back().first);
}

void Prune()
{
    std::erase_if(Lists(), [](const auto& entry) { return entry.second.library.expired(); });
    std::erase_if(Journal(), [](const auto& entry) { return entry.second.set.expired(); });
}

}  // namespace

namespace imodelTopUnits {

void Touched(const ImodelModule& unit, const ImodelModule::UnitSet* set)
{
    Changes* changes = ChangesOf(set);
    if (changes == nullptr) return;
    changes->touched.emplace_back(&unit, unit.GetUnitSerial());
    Bound(*changes, *set);
}

void Leaving(const ImodelModule& unit, const ImodelModule::UnitSet* set)
{
    Changes* changes = ChangesOf(set);
    if (changes == nullptr) return;
    changes->leaving.emplace_back(&unit, KeyOf(unit));
    Bound(*changes, *set);
}

void Rebuild(ZorpaLibrary<ImodelModule*>& library)
{
    library.MakeModuleList();
    std::deque<ImodelModule*>& top = *library.GetModuleList();
    top.clear();
    const std::string name = library.GetName();
    for (ImodelModule* unit : *library.GetModules()) {
        if (unit == nullptr || !IsTop(*unit, name)) continue;
        if (unit->IsPackage())
            top.push_front(unit);
        else
            top.push_back(unit);
    }
}

void Update(const boost::shared_ptr<ZorpaLibrary<ImodelModule*>>& library)
{
    if (!library) return;
    Prune();
    library->MakeModuleList();
    std::deque<ImodelModule*>& list = *library->GetModuleList();
    const boost::shared_ptr<UnitSet>& set = library->GetModules();
    auto kept = Lists().find(library.get());
    Changes* changes = ChangesOf(set.get());
    const bool current = kept != Lists().end() && changes != nullptr && kept->second.library.lock() == library &&
                         kept->second.set.lock() == set && kept->second.name == library->GetName() &&
                         kept->second.list == &list && Matches(kept->second, list);
    if (current) {
        Apply(kept->second, *changes, *set, list);
        return;
    }
    // Made anew from every unit, and kept up to date from now on.
    Rebuild(*library);
    Kept made{library, set, &list, library->GetName(), {}, 0};
    for (ImodelModule* unit : list) {
        made.entries.emplace_back(unit, KeyOf(*unit));
        if (unit->IsPackage()) ++made.packages;
    }
    Lists()[library.get()] = std::move(made);
    Journal()[set.get()] = Changes{set, {}, {}, false};
}

}  // namespace imodelTopUnits
