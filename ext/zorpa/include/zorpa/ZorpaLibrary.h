// An HDL library of the HDL parser: its name, two further texts, two
// numbers, the set of its design units and the list of its top-level units.
//
// T is a pointer to a design unit type U. The library owns its units: they
// enter its unit set as std::unique_ptr<U> and leave it the same way, and
// the units still in the set go with it. The list of top-level units is a
// view the project's design manager makes and rebuilds; it owns nothing.
//
// The unit set orders its units by ZorpaUnitOrder (name lower-cased, then a
// unit without defining file, then the defining files' names), which is a
// strict weak order whatever the units hold. A unit whose order changes
// while it stands in a set (its defining file is set or cleared) is changed
// in place and moved by the set when it no longer stands between its
// neighbours (Rekey, RekeyFile), so the set is never out of order.
// The set also keeps an index from the key of each unit's defining file to
// the units of that file, so that the units of one file are found without
// a walk over the library.
//
// What U provides for the set:
//   const ZorpaUnitOrder& GetUnitOrder() const   where it stands;
//   const std::string& GetName() const            its name as written, which
//       lower-cased is the order's name;
//   std::uint64_t GetUnitSerial() const           unique among live units,
//       telling apart units whose orders are equal;
//   const std::string& GetFileIndexKey() const    key of its defining file,
//       empty without one;
//   void SetUnitSet(ZorpaUnitSet<T>*)             the set that holds it
//       (null once it leaves), so that it can have itself re-keyed;
//   ZorpaUnitSet<T>* GetUnitSet() const           that set;
//   void SetUnitPlace(ZorpaUnitSet<T>::Place)     where it stands in that set,
//   ZorpaUnitSet<T>::Place GetUnitPlace() const   kept by the unit, so that
//       the set needs no index of its own from unit to place;
//   void SetUnitSole(bool)                        whether it is sure that no
//   bool IsUnitSole() const                       other unit of its name
//       stands in that set, kept by the unit as well.
#pragma once

#include "zorpa/ZorpaFlatIndex.h"
#include "zorpa/ZorpaString.h"

#include <boost/container/small_vector.hpp>
#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

#include <algorithm>
#include <bit>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

// What the simulator does with a user library before a run.
enum zorpaCompileOption : int {
    ZORPA_NOCOMPILE = 0,
    ZORPA_REFRESH = 1,
    ZORPA_COMPILE = 2,
    ZORPA_RECOMPILE = 3,
    ZORPA_REFRESH_AND_COMPILE = 4  // given to precompiled libraries
};

// Where a design unit stands among the units of a library: by its name
// lower-cased; of units of one name, one without defining file first, then
// by the names of their defining files (byte order).
struct ZorpaUnitOrder {
    std::string name;
    bool hasFile = false;
    std::string file;

    friend std::strong_ordering operator<=>(const ZorpaUnitOrder&, const ZorpaUnitOrder&) = default;
    friend bool operator==(const ZorpaUnitOrder&, const ZorpaUnitOrder&) = default;
};

// A lookup by name alone (lower-cased): every unit of that name matches.
struct ZorpaUnitName {
    std::string lowered;
};

// Sets of design units that do not own them, ordered by the units' own
// order (operator<).
template <class T>
struct ZorpaSet {
    // Orders the pointed-to units; a null entry sorts before every unit. A
    // ZorpaUnitName finds the units of that name.
    struct lessThanTFtor {
        using is_transparent = void;
        bool operator()(const T& a, const T& b) const
        {
            if (!a || !b) return !a && b;
            return *a < *b;
        }
        bool operator()(const T& a, const ZorpaUnitName& b) const { return !a || a->GetUnitOrder().name < b.lowered; }
        bool operator()(const ZorpaUnitName& a, const T& b) const { return b && a.lowered < b->GetUnitOrder().name; }
    };
    using Set = std::set<T, lessThanTFtor>;
};

// How a copy of a library copies one of its units: Copy(unit) returns a new
// unit for the copy to own. The owner of the unit type defines it (the
// project model clones its design units).
template <class T>
struct ZorpaUnitCopier;

// The units of a library, owned, in ZorpaUnitOrder (then by serial).
// Finding a unit, the units of a name or of a file, and taking a unit out
// cost the same however many units the library holds.
//
// A unit of a name the set does not hold yet is found by its name and its
// file at once, but takes its place in the order only when the order is
// next asked for (Settle): the units taken in since are then sorted and
// put in together, in one walk of the order when they are many. Searched
// for one by one, each would wait for memory at most levels of a large
// tree; put in in order, their nodes lie in the order, which the walks of
// the whole library (its end, a restore) then read in sequence. A set read
// from several threads at once is settled first.
template <class T>
class ZorpaUnitSet {
public:
    using Unit = std::remove_pointer_t<T>;
    using Owned = std::unique_ptr<Unit>;

private:
    static bool Before(const Unit& a, const Unit& b)
    {
        const std::strong_ordering order = a.GetUnitOrder() <=> b.GetUnitOrder();
        return order < 0 || (order == 0 && a.GetUnitSerial() < b.GetUnitSerial());
    }
    // The first sixteen bytes of an order's name, zero-padded, as numbers
    // that compare as the bytes do: two names whose prefixes differ compare
    // as their prefixes. A search of a large set is then mostly decided in
    // the tree's own nodes, without a look at each unit, which lies
    // elsewhere in memory and is cold.
    struct NamePrefix {
        std::uint64_t high = 0;
        std::uint64_t low = 0;
        explicit NamePrefix(std::string_view name)
        {
            unsigned char bytes[16] = {};
            std::memcpy(bytes, name.data(), std::min<std::size_t>(name.size(), sizeof bytes));
            for (int i = 0; i < 8; ++i) high = high << 8 | bytes[i];
            for (int i = 8; i < 16; ++i) low = low << 8 | bytes[i];
        }
        friend auto operator<=>(const NamePrefix&, const NamePrefix&) = default;
    };
    // A unit in the set, with the prefix of its name.
    struct Entry {
        Owned unit;
        NamePrefix prefix;
        explicit Entry(Owned owned) : unit(std::move(owned)), prefix(unit->GetUnitOrder().name) {}
        Unit* get() const { return unit.get(); }
    };
    // A unit that a search places, and its prefix.
    struct Probe {
        const Unit* unit;
        NamePrefix prefix;
        explicit Probe(const Unit* probed) : unit(probed), prefix(probed->GetUnitOrder().name) {}
    };
    template <class A, class B>
    static bool EntryBefore(const A& a, const B& b)
    {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        return Before(*a.unit, *b.unit);
    }
    struct Less {
        using is_transparent = void;
        bool operator()(const Entry& a, const Entry& b) const { return EntryBefore(a, b); }
        bool operator()(const Entry& a, const Probe& b) const { return EntryBefore(a, b); }
        bool operator()(const Probe& a, const Entry& b) const { return EntryBefore(a, b); }
    };
    using Storage = std::set<Entry, Less>;
    // The units of one file: nearly always one, held in place. They are
    // kept from the last in the set's order to the first, and taken in as
    // they come, put in that order when next read in order: a file of a
    // hundred thousand units read from the first to the last, or taken out
    // in that order, would otherwise shift all the others at each unit.
    class FileBucket {
    public:
        void Add(Unit* unit)
        {
            if (m_ordered && !m_units.empty() && !Before(*unit, *m_units.back())) m_ordered = false;
            m_units.push_back(unit);
        }
        // Searched from the end, where the first in the set's order stands.
        void Remove(const Unit* unit)
        {
            const auto at = std::find(m_units.rbegin(), m_units.rend(), unit);
            if (at != m_units.rend()) m_units.erase(std::next(at).base());
        }
        bool Empty() const { return m_units.empty(); }
        const Unit* Any() const { return m_units.front(); }
        // In the set's order.
        template <class Take>
        void ForEachInOrder(Take take) const
        {
            if (!m_ordered) {
                std::sort(m_units.begin(), m_units.end(), [](const Unit* a, const Unit* b) { return Before(*b, *a); });
                m_ordered = true;
            }
            for (auto at = m_units.rbegin(); at != m_units.rend(); ++at) take(*at);
        }
        template <class Take>
        void ForEach(Take take) const
        {
            for (Unit* unit : m_units) take(unit);
        }

    private:
        mutable boost::container::small_vector<Unit*, 1> m_units;
        mutable bool m_ordered = true;
    };
    // The indexes' keys are the texts of the units they lead to.
    // The name index leads to the first unit itself, not to its node: a
    // lookup touches the slot and the unit, and the unit knows its place.
    // Its key is the name as written, compared with the case folded: the
    // text a caller then compares (GetName), not a second one.
    struct NameOfFirst {
        std::string_view operator()(const Unit* unit) const { return unit->GetName(); }
    };
    struct FileKeyOfBucket {
        std::string_view operator()(const FileBucket& units) const { return units.Any()->GetFileIndexKey(); }
    };

public:
    // Where a unit stands in the set (kept by the unit).
    using Place = typename Storage::const_iterator;
    // Hands out the units as T, in order; the units cannot be changed
    // through it, only looked at.
    class const_iterator {
    public:
        using iterator_category = std::bidirectional_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = const T*;
        using reference = T;

        const_iterator() = default;
        T operator*() const { return m_at->get(); }
        const_iterator& operator++()
        {
            ++m_at;
            return *this;
        }
        const_iterator operator++(int)
        {
            const const_iterator before = *this;
            ++m_at;
            return before;
        }
        const_iterator& operator--()
        {
            --m_at;
            return *this;
        }
        const_iterator operator--(int)
        {
            const const_iterator before = *this;
            --m_at;
            return before;
        }
        bool operator==(const const_iterator& other) const = default;

    private:
        friend class ZorpaUnitSet;
        explicit const_iterator(Place at) : m_at(at) {}
        Place m_at;
    };
    using iterator = const_iterator;
    using value_type = T;
    using Range = std::pair<const_iterator, const_iterator>;

    ZorpaUnitSet() = default;
    // A copy of each unit (ZorpaUnitCopier), in the same places.
    ZorpaUnitSet(const ZorpaUnitSet& other)
    {
        for (T unit : other) Adopt(ZorpaUnitCopier<T>::Copy(unit));
    }
    ZorpaUnitSet& operator=(const ZorpaUnitSet&) = delete;
    // The units go, each after it has left the set.
    ~ZorpaUnitSet() { clear(); }

    const_iterator begin() const
    {
        Settle();
        return const_iterator(m_units.begin());
    }
    const_iterator end() const { return const_iterator(m_units.end()); }
    std::size_t size() const { return m_units.size() + m_unplaced.size(); }
    bool empty() const { return m_units.empty() && m_unplaced.empty(); }

    // Makes room in the indexes for `count` units at once (a library read
    // again gets about as many as it had).
    void Reserve(std::size_t count)
    {
        m_firstOfName.Reserve(count);
        m_byFile.Reserve(count);
    }

    // Puts the units taken in since the order was last asked for in their
    // places, all at once.
    void Settle() const
    {
        if (m_unplaced.empty()) return;
        std::sort(m_unplaced.begin(), m_unplaced.end(),
                  [](const Entry& a, const Entry& b) { return EntryBefore(a, b); });
        const auto place = [](Place at) { at->unit->SetUnitPlace(at); };
        // Each name is new to the order: a search for each costs less than a
        // walk of the whole order only while the newcomers are few.
        const std::size_t levels = std::bit_width(m_units.size());
        if (m_unplaced.size() * levels < m_units.size()) {
            for (Entry& entry : m_unplaced) place(m_units.insert(std::move(entry)).first);
        } else {
            Place at = m_units.begin();
            for (Entry& entry : m_unplaced) {
                while (at != m_units.end() && EntryBefore(*at, entry)) ++at;
                const Place put = m_units.insert(at, std::move(entry));
                place(put);
                at = std::next(put);
            }
        }
        // The room of a large batch is not kept for the next few.
        constexpr std::size_t kKeptRoom = 1024;
        if (m_unplaced.capacity() > kKeptRoom)
            std::vector<Entry>().swap(m_unplaced);
        else
            m_unplaced.clear();
    }

    // The unit itself; end() when the set does not hold it.
    const_iterator find(const Unit* unit) const { return const_iterator(Located(unit)); }
    bool contains(const Unit* unit) const { return Located(unit) != m_units.end(); }
    // The units of that name, in order.
    Range equal_range(const ZorpaUnitName& name) const { return NamedRange(name.lowered, true); }
    // The units of the name as written, whatever its letter case: those of
    // equal_range for the name lower-cased, found without a lower-cased copy.
    Range EqualRangeAsWritten(std::string_view name) const { return NamedRange(name, false); }
    // The first unit of EqualRangeAsWritten that `take` takes, or null;
    // the units after it are not looked at.
    template <class Take>
    T FindAsWritten(std::string_view name, Take take) const
    {
        return FindAsWritten(ZorpaHashedName(name), take);
    }
    // The same for a name hashed already.
    template <class Take>
    T FindAsWritten(const ZorpaHashedName& name, Take take) const
    {
        Unit* const unit = FirstUnitOf(name);
        if (unit == nullptr) return nullptr;
        // Nearly always the first is taken, or alone of its name: the tree
        // is not walked then.
        if (take(unit)) return unit;
        if (unit->IsUnitSole()) return nullptr;
        const Place first = PlaceOf(*unit);
        for (Place at = std::next(first); at != m_units.end() && SameName(*at, *first); ++at)
            if (take(at->get())) return at->get();
        return nullptr;
    }
    // Prefetches the index cell where a lookup of the name starts: a lookup
    // made a little later finds it loaded.
    void PrefetchName(const ZorpaHashedName& name) const { m_firstOfName.Prefetch(name.hash); }
    // The same for the cell where the units of a file key are kept.
    void PrefetchFile(std::string_view key) const
    {
        if (!key.empty()) m_byFile.PrefetchKey(key);
    }
    // The units standing at that order (they differ by serial only).
    Range equal_range(const ZorpaUnitOrder& order) const
    {
        const auto [named, end] = equal_range(ZorpaUnitName{order.name});
        Place first = named.m_at;
        while (first != end.m_at && first->unit->GetUnitOrder() < order) ++first;
        Place last = first;
        while (last != end.m_at && last->unit->GetUnitOrder() == order) ++last;
        return {const_iterator(first), const_iterator(last)};
    }

    // The unit that keeps `unit` out of the set: a unit of the same name
    // without defining file, or, when `unit` has none, any unit of its name
    // (the first), or a unit of the same name and file. Null when none.
    T Conflicting(const Unit& unit) const
    {
        const ZorpaUnitOrder& order = unit.GetUnitOrder();
        Unit* const first = FirstUnitOf(order.name);
        if (first == nullptr) return nullptr;
        if (!order.hasFile || !first->GetUnitOrder().hasFile) return first;
        if (first->IsUnitSole()) return first->GetUnitOrder() == order ? first : nullptr;
        const auto [same, end] = equal_range(order);
        return same != end ? *same : nullptr;
    }
    // Takes the unit in unless a unit keeps it out (Conflicting): then
    // `unit` stays with the caller. Returns the unit that stands in the set
    // for it and whether it was taken. Nothing is taken for null.
    std::pair<T, bool> Insert(Owned&& unit)
    {
        if (!unit) return {nullptr, false};
        if (T standing = Conflicting(*unit)) return {standing, false};
        return {Adopt(std::move(unit)), true};
    }
    // Hands the unit over to the caller; empty when the set does not hold it.
    Owned Extract(const Unit* unit)
    {
        const Place at = Located(unit);
        if (at == m_units.end()) return nullptr;
        Forget(at);
        Owned taken = std::move(m_units.extract(at).value().unit);
        taken->SetUnitSet(nullptr);
        return taken;
    }
    // Deletes the unit once it has left the set; false when it was not there.
    bool Erase(const Unit* unit) { return Extract(unit) != nullptr; }
    // Hands every unit over to the caller, in order, leaving the set empty.
    std::vector<Owned> TakeAll()
    {
        return TakeAll([](const Unit*, int) {});
    }
    // The same, telling `ahead(unit, step)` of the units some places ahead
    // of the one leaving (each unit hears what it is leaving of): step 0
    // sixteen places ahead, step 1 eight places ahead. A hundred thousand
    // units lie apart in memory; prefetched, their misses overlap.
    template <class Ahead>
    std::vector<Owned> TakeAll(Ahead ahead)
    {
        constexpr int kFar = 16;
        constexpr int kNear = 8;
        Settle();
        std::vector<Owned> units;
        units.reserve(m_units.size());
        m_firstOfName.clear();
        m_byFile.clear();
        auto far = m_units.begin();
        auto near = m_units.begin();
        for (int step = 0; step < kFar && far != m_units.end(); ++step, ++far) ahead(far->get(), 0);
        for (int step = 0; step < kNear && near != m_units.end(); ++step, ++near) ahead(near->get(), 1);
        // Taken out of the nodes in place: the tree goes in one sweep at the
        // end rather than being rebalanced for every unit. The nodes are
        // the set's own (not const objects); none is compared any more.
        for (const Entry& held : m_units) {
            if (far != m_units.end()) ahead((far++)->get(), 0);
            if (near != m_units.end()) ahead((near++)->get(), 1);
            Owned unit(const_cast<Entry&>(held).unit.release());
            unit->SetUnitSet(nullptr);
            units.push_back(std::move(unit));
        }
        m_units.clear();
        return units;
    }
    void clear() { TakeAll(); }

    // Changes where the unit stands: `change` runs on the unit in place, and
    // the unit moves when it no longer stands between its neighbours (an
    // iterator at it is then no longer valid). Most changes keep it there
    // (a placeholder given its file keeps its name): it is neither taken out
    // of the tree nor searched for, both cold in a large set. A unit the set
    // does not hold is only changed.
    template <class Change>
    void Rekey(Unit* unit, Change change)
    {
        Move(unit, change, true);
    }
    // The same for a change that keeps the unit's name, as written too, and
    // changes only what follows the name in the order (its defining file):
    // a unit that stays where it is keeps its name's entry, without a
    // lookup of the name.
    template <class Change>
    void RekeyFile(Unit* unit, Change change)
    {
        Move(unit, change, false);
    }

    // Whether `a` stands before `b` in a set's order.
    static bool Precedes(const Unit& a, const Unit& b) { return Before(a, b); }
    // Every unit, appended to `into` in the order of the indexes' slots,
    // not the set's: a pass over all units that needs no order reads two
    // arrays rather than walking the order's tree, whose nodes lie wherever
    // the units were made. False, with `into` as it was, when the indexes
    // do not account for every unit.
    bool CollectUnordered(std::vector<T>& into) const
    {
        const std::size_t start = into.size();
        into.reserve(start + size());
        // A unit with a defining file stands in that file's bucket; one
        // without leads its name (it sorts first there).
        m_byFile.ForEach(
            [&into](const FileBucket& units) { units.ForEach([&into](Unit* unit) { into.push_back(unit); }); });
        if (into.size() - start < size()) {
            m_firstOfName.ForEach([&into](Unit* unit) {
                if (unit->GetFileIndexKey().empty()) into.push_back(unit);
            });
        }
        if (into.size() - start == size()) return true;
        into.resize(start);
        return false;
    }

    // The units whose defining file has that key (U::GetFileIndexKey), in
    // order; none for the empty key.
    std::vector<T> UnitsOfFileKey(const std::string& key) const
    {
        std::vector<T> units;
        AppendUnitsOfFileKey(key, units);
        return units;
    }
    // The same, appended to `into`.
    void AppendUnitsOfFileKey(const std::string& key, std::vector<T>& into) const
    {
        if (key.empty()) return;
        const std::size_t slot = m_byFile.Find(key);
        if (slot == FileIndex::npos) return;
        m_byFile.At(slot).ForEachInOrder([&into](Unit* unit) { into.push_back(unit); });
    }

private:
    Place Located(const Unit* unit) const
    {
        return unit != nullptr && unit->GetUnitSet() == this ? PlaceOf(*unit) : m_units.end();
    }
    // The place of a unit of the set, settled first when it has none yet.
    Place PlaceOf(const Unit& unit) const
    {
        if (unit.GetUnitPlace() == m_units.end()) Settle();
        return unit.GetUnitPlace();
    }
    // The units of the name, its case folded; with `exact`, none unless the
    // name is written as the units' lower-cased name.
    Range NamedRange(std::string_view name, bool exact) const
    {
        const Unit* unit = FirstUnitOf(name);
        if (unit == nullptr || (exact && unit->GetUnitOrder().name != name)) return {end(), end()};
        const Place first = PlaceOf(*unit);
        Place last = std::next(first);
        // The others of the name follow the first, lower-cased as it is.
        while (last != m_units.end() && SameName(*last, *first)) ++last;
        return {const_iterator(first), const_iterator(last)};
    }
    // The first unit of the name, its case folded; null when there is none.
    Unit* FirstUnitOf(std::string_view name) const { return FirstUnitOf(ZorpaHashedName(name)); }
    Unit* FirstUnitOf(const ZorpaHashedName& name) const
    {
        // The name compared lies in the unit, cold in a large library, and
        // the caller reads and changes the unit next, anywhere in it: the
        // whole unit (up to eight lines) is prefetched together.
        const auto load = [](const Unit* unit) {
            constexpr std::size_t kLine = 64;
            constexpr std::size_t kBytes = std::min<std::size_t>(sizeof(Unit), 8 * kLine);
            for (std::size_t offset = 0; offset < kBytes; offset += kLine)
                __builtin_prefetch(reinterpret_cast<const char*>(unit) + offset);
        };
        const std::size_t slot = m_firstOfName.Find(name.text, name.hash, load);
        return slot == NameIndex::npos ? nullptr : m_firstOfName.At(slot);
    }
    // Where the unit goes: before the first unit of its name that it comes
    // before, or after the last one; a search of the order for a new name.
    Place PlaceFor(const Unit& unit) const
    {
        const Unit* first = FirstUnitOf(unit.GetUnitOrder().name);
        return first == nullptr ? m_units.lower_bound(Probe(&unit)) : PlaceAmongNamed(*first, unit);
    }
    // The same when `first` leads the unit's name.
    Place PlaceAmongNamed(const Unit& first, const Unit& unit) const
    {
        const Place start = PlaceOf(first);
        Place at = start;
        while (at != m_units.end() && SameName(*at, *start) && Before(*at->unit, unit)) ++at;
        return at;
    }
    // Whether two units in the set have one name: mostly told by their
    // prefixes alone.
    static bool SameName(const Entry& a, const Entry& b)
    {
        return a.prefix == b.prefix && a.unit->GetUnitOrder().name == b.unit->GetUnitOrder().name;
    }
    T Adopt(Owned unit)
    {
        T adopted = unit.get();
        adopted->SetUnitSet(this);
        // A new name waits for its place (Settle); the units of a name
        // stand in the order together.
        const Unit* first = FirstUnitOf(adopted->GetUnitOrder().name);
        if (first == nullptr) {
            m_unplaced.emplace_back(std::move(unit));
            Remember(*adopted, m_units.end());
        } else {
            const Place hint = PlaceAmongNamed(*first, *adopted);
            Remember(*adopted, m_units.insert(hint, Entry(std::move(unit))));
        }
        return adopted;
    }
    // Rekey and RekeyFile; the name's entry is taken out before `change`
    // only when the name may change (its key is the written name).
    template <class Change>
    void Move(Unit* unit, Change change, bool renamed)
    {
        if (unit == nullptr || unit->GetUnitSet() != this) {
            change();
            return;
        }
        // Ordered by its name first, a unit alone of its name stays between
        // its neighbours whatever its file: they are not looked at, cold as
        // they are in a large set. It may have no place yet.
        if (!renamed && unit->IsUnitSole()) {
            ForgetFile(*unit);
            change();
            RememberFile(*unit);
            return;
        }
        // A new name may be one that waits for its place.
        if (renamed) Settle();
        const Place at = Located(unit);
        if (renamed) ForgetName(at);
        ForgetFile(*unit);
        change();
        // Out of order until it moves, the unit is reached through `at`
        // alone, and no search compares it with the others.
        const Probe changed(unit);
        const Place next = std::next(at);
        const bool stays = (next == m_units.end() || EntryBefore(changed, *next)) &&
                           (at == m_units.begin() || EntryBefore(*std::prev(at), changed));
        if (!stays) {
            if (!renamed) ForgetName(at);
            auto node = m_units.extract(at);
            node.value().prefix = changed.prefix;
            RememberName(*unit, m_units.insert(PlaceFor(*unit), std::move(node)));
        } else {
            // In place its node is the set's own; the order holds with the new prefix.
            const_cast<Entry&>(*at).prefix = changed.prefix;
            if (renamed) RememberName(*unit, at);
        }
        RememberFile(*unit);
    }
    // Puts the unit, standing at `at` (the order's end while it waits for
    // its place), into the indexes.
    void Remember(Unit& unit, Place at)
    {
        RememberName(unit, at);
        RememberFile(unit);
    }
    // The unit's place, and its name's entry when it comes first there. A
    // unit that finds its name new is alone of it; one that joins a name is
    // not, nor is the unit that was alone there (the first).
    void RememberName(Unit& unit, Place at)
    {
        unit.SetUnitPlace(at);
        const auto [first, made] =
            m_firstOfName.FindOrAdd(unit.GetUnitOrder().name, [&unit](Unit*& fresh) { fresh = &unit; });
        unit.SetUnitSole(made);
        if (made) return;
        Unit*& firstOfName = m_firstOfName.At(first);
        firstOfName->SetUnitSole(false);
        if (Before(unit, *firstOfName)) firstOfName = &unit;
    }
    void RememberFile(Unit& unit)
    {
        const std::string& key = unit.GetFileIndexKey();
        if (key.empty()) return;
        const auto [slot, filed] = m_byFile.FindOrAdd(key, [&unit](FileBucket& fresh) { fresh.Add(&unit); });
        if (!filed) m_byFile.At(slot).Add(&unit);
    }
    // Takes the unit at `at` out of the indexes.
    void Forget(Place at)
    {
        ForgetName(at);
        ForgetFile(*at->unit);
    }
    void ForgetName(Place at)
    {
        Unit& unit = *at->unit;
        unit.SetUnitPlace(m_units.end());
        const std::size_t first = m_firstOfName.Find(unit.GetUnitOrder().name);
        if (first != NameIndex::npos && m_firstOfName.At(first) == &unit) {
            if (unit.IsUnitSole()) {
                m_firstOfName.EraseSlot(first);
                return;
            }
            // The key is the first unit's name: the next of the name lends
            // its own. Left alone there, it is not known to be (that would
            // take a look at the one after it).
            const Place next = std::next(at);
            if (next != m_units.end() && SameName(*next, *at))
                m_firstOfName.At(first) = next->get();
            else
                m_firstOfName.EraseSlot(first);
        }
    }
    // The unit leaves its file's entry (the key it holds now).
    void ForgetFile(Unit& unit)
    {
        const std::string& key = unit.GetFileIndexKey();
        if (key.empty()) return;
        const std::size_t slot = m_byFile.Find(key);
        if (slot == FileIndex::npos) return;
        // The key is the first unit's: the others of the bucket have the same text.
        FileBucket& units = m_byFile.At(slot);
        units.Remove(&unit);
        if (units.Empty()) m_byFile.EraseSlot(slot);
    }

    using NameIndex = ZorpaFlatIndex<Unit*, NameOfFirst, ZorpaFoldedHash, ZorpaFoldedEqual>;
    using FileIndex = ZorpaFlatIndex<FileBucket, FileKeyOfBucket, std::hash<std::string_view>, std::equal_to<>>;

    // Both filled by Settle, from a const call too.
    mutable Storage m_units;
    // Units of names new to the set, not in m_units yet: each has m_units'
    // end as its place and is alone of its name.
    mutable std::vector<Entry> m_unplaced;
    // Where each name begins (found by the name as written as well as
    // lower-cased), and the units of each file key (each unit keeps where it
    // stands itself).
    NameIndex m_firstOfName;
    FileIndex m_byFile;
};

template <class T>
class ZorpaLibrary {
public:
    using ModuleSet = ZorpaUnitSet<T>;
    using ModuleList = std::deque<T>;

    // The path is the name when given empty. The library starts with an
    // empty unit set and no top-level list.
    explicit ZorpaLibrary(const std::string& name, const std::string& location = std::string(),
                          const std::string& path = std::string())
        : m_name(name), m_location(location), m_path(path.empty() ? name : path),
          m_modules(boost::make_shared<ModuleSet>())
    {
    }
    // A copy holds a copy of each unit of `other` (ZorpaUnitCopier) and no
    // top-level list; nothing else is shared with `other`.
    ZorpaLibrary(const ZorpaLibrary& other) { *this = other; }
    // Nothing for the library itself. The units the library held go unless
    // someone else shares its unit set.
    ZorpaLibrary& operator=(const ZorpaLibrary& other)
    {
        if (this == &other) return *this;
        TakeSettingsOf(other);
        m_moduleList.reset();
        m_moduleListStale = false;
        m_modules = boost::make_shared<ModuleSet>(*other.m_modules);
        return *this;
    }
    ~ZorpaLibrary() = default;

    // A library like this one, every setting kept, without units.
    boost::shared_ptr<ZorpaLibrary> CloneEmpty() const
    {
        auto copy = boost::make_shared<ZorpaLibrary>(m_name);
        copy->TakeSettingsOf(*this);
        return copy;
    }
    // Takes the name, texts, number and compile option of `other`; the
    // units stay as they are.
    void TakeSettingsOf(const ZorpaLibrary& other)
    {
        m_name = other.m_name;
        m_location = other.m_location;
        m_path = other.m_path;
        m_number = other.m_number;
        m_compileOption = other.m_compileOption;
    }

    std::string GetName() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }
    // Where the library's sources live; kept and handed on, not read here.
    const std::string& GetLocation() const { return m_location; }
    void SetLocation(const std::string& location) { m_location = location; }
    // The path under which the simulator knows the library (its alias).
    const std::string& GetPath() const { return m_path; }
    void SetPath(const std::string& path) { m_path = path; }
    // A number the parser gives the library; -1 until it does.
    int GetNumber() const { return m_number; }
    void SetNumber(int number) { m_number = number; }
    zorpaCompileOption GetCompileOption() const { return m_compileOption; }
    void SetCompileOption(zorpaCompileOption option) { m_compileOption = option; }

    // The units of the library; never null.
    const boost::shared_ptr<ModuleSet>& GetModules() const { return m_modules; }

    // The top-level units; null until made.
    ModuleList* GetModuleList() const { return m_moduleList.get(); }
    // Makes an empty top-level list when there is none.
    void MakeModuleList()
    {
        if (!m_moduleList) m_moduleList = std::make_unique<ModuleList>();
    }
    void SetModuleList(std::unique_ptr<ModuleList> list) { m_moduleList = std::move(list); }
    // Hands the list over; the library is left without one.
    std::unique_ptr<ModuleList> ReleaseModuleList() { return std::move(m_moduleList); }
    // Whether the top-level list waits to be made again from the units: the
    // one who fills the list marks it when the units changed and makes it
    // when it is next read.
    bool IsModuleListStale() const { return m_moduleListStale; }
    void SetModuleListStale(bool stale) { m_moduleListStale = stale; }

private:
    std::string m_name;
    std::string m_location;
    std::string m_path;
    int m_number = -1;
    zorpaCompileOption m_compileOption = ZORPA_COMPILE;
    boost::shared_ptr<ModuleSet> m_modules;
    std::unique_ptr<ModuleList> m_moduleList;
    bool m_moduleListStale = false;
};
