#include "src/imodel/design/imodelUnitJournal.h"

#include "imodel/names/ImodelToolKinds.h"
#include "imodel/names/ImodelVisitAhead.h"
#include "imodel/views/ImodelContextImpl.h"

#include <algorithm>
#include <tuple>
#include <unordered_set>

namespace {

// The journals of the changes under way (one per model that saved its
// libraries).
std::vector<imodelUnitJournal*>& Listening()
{
    static std::vector<imodelUnitJournal*> journals;
    return journals;
}

bool g_noteEveryName = false;
bool g_lookUpEveryName = false;
bool g_leavingForGood = false;

// A library is walked in its order on the restore when at least one name
// in this many of its units was touched: a refresh touches them all, a
// file added to a large design a few.
constexpr std::size_t kWalkWhenOneNameIn = 8;

// A unit without a file of its own (it stands where a parent instantiates
// a unit whose file no longer defines it) that holds a stimulus whose steps
// its views do not hold: the parse of the file gave it the stimulus of the
// unit it stands for without the views' states, while the flow did not
// listen, so the stimulus list the restore gives it is no change.
bool StandsInWithoutStimulusSteps(const ImodelModule& unit)
{
    if (unit.GetStimulusList().empty() || unit.GetModuleFile()) return false;
    const ImodelContextImpl* context = unit.GetContext();
    return context == nullptr || context->GetToolState(ideSTIMULUS, nullptr) == StateNoResult;
}

bool HoldsNoUnit(ImodelDesignManager& design)
{
    const auto [first, last] = design.GetLibraries();
    return std::all_of(first, last, [](const ImodelDesignManager::LibraryPtr& library) {
        return !library || !library->GetModules() || library->GetModules()->empty();
    });
}

}  // namespace

imodelUnitJournal::imodelUnitJournal(ImodelDesignManager& design)
    : m_design(design), m_lastSerial(imodelLastUnitSerial()), m_startedEmpty(!g_noteEveryName && HoldsNoUnit(design))
{
    Listening().push_back(this);
    KeepUpTo();
}

void imodelUnitJournal::NoteEveryName(bool every) { g_noteEveryName = every; }

void imodelUnitJournal::LookUpEveryName(bool every) { g_lookUpEveryName = every; }

imodelUnitJournal::~imodelUnitJournal()
{
    std::erase(Listening(), this);
    KeepUpTo();
}

void imodelUnitJournal::KeepUpTo()
{
    std::uint64_t upTo = 0;
    for (const imodelUnitJournal* journal : Listening())
        if (!journal->m_restoring) upTo = std::max(upTo, journal->m_lastSerial);
    ImodelModule::s_keptUpTo = upTo;
}

bool imodelUnitJournal::AnyListening() { return !Listening().empty(); }

void imodelUnitJournal::Touch(const ImodelModule& unit, const ImodelModule::UnitSet* set)
{
    if (set == nullptr) return;
    for (imodelUnitJournal* journal : Listening()) journal->Note(unit, *set);
}

void imodelUnitJournal::Changing(const ImodelModule& unit, const ImodelModule::UnitSet* set)
{
    if (set == nullptr) return;
    // Only the first change of a unit from before counts: its data as it
    // stood then is what the restore gives back. Its name is noted then.
    const std::uint64_t serial = unit.GetUnitSerial();
    for (imodelUnitJournal* journal : Listening())
        if (!journal->m_restoring && serial <= journal->m_lastSerial && !journal->IsKept(serial))
            journal->Note(unit, *set);
}

imodelUnitJournal::LeavingForGood::LeavingForGood(bool forGood) : m_outer(g_leavingForGood)
{
    g_leavingForGood = forGood;
}

imodelUnitJournal::LeavingForGood::~LeavingForGood() { g_leavingForGood = m_outer; }

void imodelUnitJournal::Leave(ImodelModule& unit, const ImodelModule::UnitSet* set)
{
    if (set == nullptr) return;
    // What one journal takes, another could not keep.
    ImodelModule* leaving = g_leavingForGood && Listening().size() == 1 ? &unit : nullptr;
    for (imodelUnitJournal* journal : Listening()) journal->Note(unit, *set, leaving);
}

imodelUnitJournal::Emptying::Emptying(const ImodelModule::UnitSet& set) : m_set(set)
{
    for (imodelUnitJournal* journal : Listening()) {
        if (journal->m_restoring) continue;
        const ImodelDesignManager::Library* library = journal->LibraryOf(set);
        if (library == nullptr) continue;
        Names& names = journal->m_touched[library->GetName()];
        // Names touched before could come again: appended only to a list of
        // the library's own.
        names.appending = names.touched.empty();
        m_names.push_back(&names);
    }
}

imodelUnitJournal::Emptying::~Emptying()
{
    for (Names* names : m_names) {
        names->appending = false;
        if (m_set.empty() && !g_noteEveryName) names->emptied = true;
    }
}

const ImodelDesignManager::Library* imodelUnitJournal::LibraryOf(const ImodelModule::UnitSet& set) const
{
    const auto [first, last] = m_design.GetLibraries();
    const auto library = std::find_if(first, last, [&set](const ImodelDesignManager::LibraryPtr& library) {
        return library && library->GetModules().get() == &set;
    });
    return library == last ? nullptr : library->get();
}

void imodelUnitJournal::Note(const ImodelModule& unit, const ImodelModule::UnitSet& set, ImodelModule* leaving)
{
    if (m_restoring) return;
    // A name matters to the restore only where a unit from before stands or
    // stood; into empty libraries, those were all noted as they came in
    // (the restore looks for any that came otherwise). A project read into
    // an empty design makes every unit: noting each name made the read pay
    // a map of every name, and the restore a walk of it, for nothing.
    const std::uint64_t serial = unit.GetUnitSerial();
    if (m_startedEmpty && serial > m_lastSerial) return;
    // Only the libraries of this design count: not a parser's sets, nor a
    // copy, nor another model's.
    const ImodelDesignManager::Library* library = LibraryOf(set);
    if (library == nullptr) return;
    Names& names = m_touched[library->GetName()];
    // The same for a library emptied during the change (a refresh empties
    // every library and reads every file again).
    if (names.emptied && serial > m_lastSerial) return;
    // The name is restored even when only units made since stand there;
    // a unit from before is kept as it was the first time it was touched.
    Touched& touched = Entry(names, unit.GetUnitOrder().name);
    if (serial > m_lastSerial || !m_kept.Add(serial)) return;
    const std::size_t at = m_before.size();
    m_before.push_back(std::make_unique<Kept>(Kept{
        Before{unit.GetUnitOrder(), serial,
               leaving != nullptr ? ImodelModule::TakeRestorable(*leaving) : ImodelModule::KeepRestorable(unit)}}));
    (touched.first == kNone ? touched.first : m_before[touched.last]->next) = at;
    touched.last = at;
}

bool imodelUnitJournal::IsKept(std::uint64_t serial) const { return m_kept.Contains(serial); }

imodelUnitJournal::Touched& imodelUnitJournal::Entry(const std::string& library, const std::string& name)
{
    return Entry(m_touched[library], name);
}

imodelUnitJournal::Touched& imodelUnitJournal::Entry(Names& names, const std::string& name)
{
    if (names.appending) {
        // A library empties in its order: the name is the last one's or new.
        if (!names.touched.empty() && names.touched.back().name == name) return names.touched.back();
        if (names.touched.empty() || names.touched.back().name < name) {
            Touched& fresh = names.touched.emplace_back();
            fresh.name = name;
            return fresh;
        }
        names.appending = false;
    }
    IndexAppended(names);
    const std::size_t slot = names.byName
                                 .FindOrAdd(name,
                                            [&names, &name](Touched*& fresh) {
                                                fresh = &names.touched.emplace_back();
                                                fresh->name = name;
                                            })
                                 .first;
    names.indexed = names.touched.size();
    return *names.byName.At(slot);
}

void imodelUnitJournal::NoteNamesBesideUnnotedUnits()
{
    // A unit from before that stands in a library without having been noted
    // (its library came whole) takes part in the restore of its name when a
    // unit made since stands beside it, as when every name was noted.
    const auto [first, last] = m_design.GetLibraries();
    for (auto library = first; library != last; ++library) {
        if (!*library || !(*library)->GetModules()) continue;
        const ImodelModule::UnitSet& units = *(*library)->GetModules();
        auto at = units.begin();
        PassNamesBesideUnnoted(
            at, units, nullptr,
            [&](ImodelModule::UnitSet::Range named) {
                Entry((*library)->GetName(), (*named.first)->GetUnitOrder().name);
            },
            [](ImodelModule::UnitSet::Range) {});
    }
}

template <class Found, class Made>
void imodelUnitJournal::PassNamesBesideUnnoted(ImodelModule::UnitSet::const_iterator& at,
                                               const ImodelModule::UnitSet& units, const std::string* bound,
                                               Found found, Made madeOnly) const
{
    while (at != units.end() && (bound == nullptr || (*at)->GetUnitOrder().name < *bound)) {
        const auto first = at;
        const std::string& name = (*at)->GetUnitOrder().name;
        bool unnoted = false;
        bool made = false;
        bool old = false;
        for (; at != units.end() && (*at)->GetUnitOrder().name == name; ++at) {
            const std::uint64_t serial = (*at)->GetUnitSerial();
            if (serial > m_lastSerial) {
                made = true;
            } else {
                old = true;
                if (!IsKept(serial)) unnoted = true;
            }
        }
        if (unnoted && made)
            found(ImodelModule::UnitSet::Range{first, at});
        else if (made && !old)
            madeOnly(ImodelModule::UnitSet::Range{first, at});
    }
}

void imodelUnitJournal::Restore(bool byName, const zorpaSaveRestoreParams& params, bool goneByName,
                                std::vector<ImodelModule*>* took, std::vector<ImodelModule*>* fresh)
{
    if (m_startedEmpty) NoteNamesBesideUnnotedUnits();
    m_restoring = true;
    KeepUpTo();
    m_goneByName = goneByName;
    m_took = took;
    m_fresh = fresh;
    for (auto& [libraryName, names] : m_touched) {
        const ImodelDesignManager::LibraryPtr library = m_design.FindLibraryByName(libraryName);
        if (!library || !library->GetModules()) continue;
        RestoreLibrary(*library->GetModules(), names, byName, params);
    }
    if (fresh != nullptr) AppendUnnotedNewNames();
    m_touched.clear();
    m_before.clear();
    m_kept.Clear();
    m_restoring = false;
    KeepUpTo();
    m_took = nullptr;
    m_fresh = nullptr;
    // A unit that took the data of several units from before is listed
    // once, and not among those that took it when it holds no states from
    // before.
    const bool both = took != nullptr && fresh != nullptr && !took->empty() && !fresh->empty();
    if (took != nullptr && (took->size() > 1 || both)) {
        std::unordered_set<const ImodelModule*> seen;
        if (both) seen.insert(fresh->begin(), fresh->end());
        std::erase_if(*took, [&seen](const ImodelModule* unit) { return !seen.insert(unit).second; });
    }
}

void imodelUnitJournal::RestoreLibrary(ImodelModule::UnitSet& units, Names& names, bool byName,
                                       const zorpaSaveRestoreParams& params)
{
    if (g_lookUpEveryName || names.touched.size() * kWalkWhenOneNameIn < units.size()) {
        // An emptied library holds what was made since: a walk finds the
        // names that were not noted and count.
        if (names.emptied) {
            auto at = units.begin();
            PassNamesBesideUnnoted(
                at, units, nullptr,
                [&](ImodelModule::UnitSet::Range named) { Entry(names, (*named.first)->GetUnitOrder().name); },
                [](ImodelModule::UnitSet::Range) {});
        }
        for (const Touched& touched : names.touched)
            RestoreName(touched, units.equal_range(ZorpaUnitName{touched.name}), byName, params);
        return;
    }
    // A lookup of a name in a large library is a few cold misses (the index
    // cell, the first unit, the one after it); a walk in order goes from
    // node to node. The units and records of names some places ahead are
    // prefetched while the names before them are restored.
    const auto ahead = [this](const Named* named, int step) {
        const Before* record = named->touched->first != kNone ? &m_before[named->touched->first]->before : nullptr;
        const ImodelModule* unit = named->units.first != named->units.second ? *named->units.first : nullptr;
        if (step == 0) {
            if (unit != nullptr) ImodelPrefetch(unit, sizeof(ImodelModule));
            if (record != nullptr) ImodelPrefetch(record, sizeof(Before));
            return;
        }
        if (unit != nullptr && unit->GetContext() != nullptr)
            ImodelPrefetch(unit->GetContext(), sizeof(ImodelContextImpl));
        if (record != nullptr && record->data.m_context)
            ImodelPrefetch(record->data.m_context.get(), sizeof(ImodelContextImpl));
    };
    std::deque<Touched> beside;
    // The walk of an emptied library lists the new names it passes: no
    // second walk looks each name up (a refresh makes every unit anew).
    std::vector<ImodelModule*>* fresh = names.emptied ? m_fresh : nullptr;
    names.newListed = fresh != nullptr;
    ImodelVisitAhead(NamedInOrder(units, names, names.emptied ? &beside : nullptr, fresh), ahead,
                     [&](const Named* named) { RestoreName(*named->touched, named->units, byName, params); });
}

std::vector<imodelUnitJournal::Named> imodelUnitJournal::NamedInOrder(const ImodelModule::UnitSet& units,
                                                                      const Names& names, std::deque<Touched>* beside,
                                                                      std::vector<ImodelModule*>* fresh) const
{
    // The library orders its units by their lower-cased names first, as
    // the names are sorted here (each name stands once).
    std::vector<const Touched*> sorted;
    sorted.reserve(names.touched.size());
    for (const Touched& touched : names.touched) sorted.push_back(&touched);
    const auto byText = [](const Touched* a, const Touched* b) { return a->name < b->name; };
    if (!std::is_sorted(sorted.begin(), sorted.end(), byText)) std::sort(sorted.begin(), sorted.end(), byText);
    std::vector<Named> named;
    named.reserve(sorted.size());
    auto at = units.begin();
    const auto passTo = [&](const std::string* bound) {
        if (beside == nullptr) {
            while (at != units.end() && (bound == nullptr || (*at)->GetUnitOrder().name < *bound)) ++at;
            return;
        }
        // The names passed are not touched: where only units made since
        // stand, none stood before.
        PassNamesBesideUnnoted(
            at, units, bound,
            [&](ImodelModule::UnitSet::Range range) {
                Touched& touched = beside->emplace_back();
                touched.name = (*range.first)->GetUnitOrder().name;
                named.push_back(Named{&touched, range});
            },
            [fresh](ImodelModule::UnitSet::Range made) {
                if (fresh != nullptr) fresh->insert(fresh->end(), made.first, made.second);
            });
    };
    for (const Touched* touched : sorted) {
        passTo(&touched->name);
        const auto first = at;
        while (at != units.end() && (*at)->GetUnitOrder().name == touched->name) ++at;
        named.push_back(Named{touched, {first, at}});
    }
    if (beside != nullptr) passTo(nullptr);
    return named;
}

void imodelUnitJournal::Take(ImodelModule& unit, ImodelModule::Restorable&& data, const zorpaSaveRestoreParams& params)
{
    if (m_took == nullptr) {
        unit.DuplicateModuleInfo(std::move(data), params);
        return;
    }
    const ImodelModule::FileList stimulus = unit.GetStimulusList();
    unit.DuplicateModuleInfo(std::move(data), params);
    if (unit.GetStimulusList() != stimulus || StandsInWithoutStimulusSteps(unit)) m_took->push_back(&unit);
}

void imodelUnitJournal::RestoreName(const Touched& touched, ImodelModule::UnitSet::Range named, bool byName,
                                    const zorpaSaveRestoreParams& params)
{
    // The units of the name before the change, in their order then: those
    // the change touched as they were, the others as they are (kept aside,
    // for a unit may take another's data before its own is read).
    std::vector<Before*>& before = m_restoreOrder;
    before.clear();
    for (std::size_t at = touched.first; at != kNone; at = m_before[at]->next) before.push_back(&m_before[at]->before);
    // The units of the name stay where they are while they take their data.
    const auto [first, last] = named;
    std::vector<ImodelModule*> untouched;
    for (auto at = first; at != last; ++at)
        if ((*at)->GetUnitSerial() <= m_lastSerial && !IsKept((*at)->GetUnitSerial())) untouched.push_back(*at);
    // A name whose only unit from before is untouched and still first would
    // take its own data: nothing to do.
    if (before.empty() && untouched.size() == 1 && *first == untouched.front()) return;
    std::vector<Before> aside;
    aside.reserve(untouched.size());  // no record moves once pointed at
    for (ImodelModule* unit : untouched) {
        aside.push_back(Before{unit->GetUnitOrder(), unit->GetUnitSerial(), ImodelModule::KeepRestorable(*unit)});
        before.push_back(&aside.back());
    }
    // No unit stood at the name: its units are new to the library, with
    // no data to take.
    if (before.empty()) {
        if (m_fresh != nullptr) m_fresh->insert(m_fresh->end(), first, last);
        return;
    }
    // The units made since that take a record's states.
    std::vector<const ImodelModule*> given;
    const auto take = [&](ImodelModule& target, Before& record) {
        Take(target, std::move(record.data), params);
        if (m_fresh != nullptr && params.copyContext) given.push_back(&target);
    };
    std::sort(before.begin(), before.end(), [](const Before* a, const Before* b) {
        return std::tie(a->order, a->serial) < std::tie(b->order, b->serial);
    });
    // Each record gives its data once and is spent: what it holds moves.
    Before* homeless = nullptr;
    bool firstTaken = false;
    for (Before* unit : before) {
        // By file, the record's own order serves: no copy of its names.
        const ZorpaUnitOrder byNameOnly =
            byName ? ZorpaUnitOrder{unit->order.name, false, std::string()} : ZorpaUnitOrder{};
        const ZorpaUnitOrder& place = byName ? byNameOnly : unit->order;
        if (ImodelModule* target = imodelUnitInPlaceOf(place, named)) {
            take(*target, *unit);
            firstTaken = firstTaken || target == *first;
        } else if (homeless == nullptr) {
            homeless = unit;
        }
    }
    // Asked for: the unit's file is gone and another file defines the name
    // now, the data goes with the name, as the project file keeps it (a
    // unit that took data of its own keeps it).
    if (m_goneByName && homeless != nullptr && first != last && !firstTaken) take(**first, *homeless);
    // A unit made since holds no states from before unless it took a
    // record's, and a restore of the lists alone gives none.
    if (m_fresh != nullptr)
        for (auto at = first; at != last; ++at)
            if ((*at)->GetUnitSerial() > m_lastSerial && std::find(given.begin(), given.end(), *at) == given.end())
                m_fresh->push_back(*at);
    // The name's records are spent: they go while they are in the cache,
    // not in a second walk of every record at the end.
    for (std::size_t at = touched.first; at != kNone;) {
        const std::size_t next = m_before[at]->next;
        m_before[at].reset();
        at = next;
    }
}

void imodelUnitJournal::IndexAppended(Names& names)
{
    for (; names.indexed < names.touched.size(); ++names.indexed) {
        Touched& appended = names.touched[names.indexed];
        names.byName.FindOrAdd(appended.name, [&appended](Touched*& fresh) { fresh = &appended; });
    }
}

bool imodelUnitJournal::IsTouched(Names& names, const std::string& name)
{
    IndexAppended(names);
    return names.byName.Find(name) != decltype(names.byName)::npos;
}

void imodelUnitJournal::AppendUnnotedNewNames()
{
    // Only where units made since were not noted: a walk of a library the
    // change filled from empty, which costs what the change made.
    const auto [first, last] = m_design.GetLibraries();
    for (auto library = first; library != last; ++library) {
        if (!*library || !(*library)->GetModules()) continue;
        const auto found = m_touched.find((*library)->GetName());
        Names* names = found == m_touched.end() ? nullptr : &found->second;
        if (!m_startedEmpty && (names == nullptr || !names->emptied)) continue;
        if (names != nullptr && names->newListed) continue;
        const ImodelModule::UnitSet& units = *(*library)->GetModules();
        auto at = units.begin();
        // A name where a unit from before stands is not new; one noted is
        // RestoreName's.
        PassNamesBesideUnnoted(
            at, units, nullptr, [](ImodelModule::UnitSet::Range) {},
            [&](ImodelModule::UnitSet::Range made) {
                if (names == nullptr || !IsTouched(*names, (*made.first)->GetUnitOrder().name))
                    m_fresh->insert(m_fresh->end(), made.first, made.second);
            });
    }
}
