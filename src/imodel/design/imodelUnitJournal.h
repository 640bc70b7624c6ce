// What a change of the design's units (adding files to the model) did to
// the units that stood before it, kept from the change's start to its end
// (Imodel::SaveLibraries to Imodel::RestoreLibraries): each such unit's data
// as it was the first time the change touched it (it left its library, its
// file changed, or anything the restore gives back was about to change:
// its lists, options, views' states and choices, root flag, file stamp),
// and the names of the units that came and went. The restore gives
// the units that stand at those names afterwards their data from before, as
// a copy of every library taken at the start would, at the cost of what the
// change touched rather than of the whole design.
#pragma once

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/names/ImodelSerialSet.h"
#include "src/imodel/design/imodelRestorable.h"

#include <zorpa/ZorpaFlatIndex.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class imodelUnitJournal {
    struct Names;

public:
    explicit imodelUnitJournal(ImodelDesignManager& design);
    ~imodelUnitJournal();
    imodelUnitJournal(const imodelUnitJournal&) = delete;
    imodelUnitJournal& operator=(const imodelUnitJournal&) = delete;

    // The units that stand at the touched names take the data of the units
    // that stood there before (ImodelRestoreLibs on a copy of the libraries).
    // With `goneByName` (by file only), a unit whose file no longer defines
    // it gives its data to the first unit of its name when that unit took
    // none of its own.
    // With `took`, each unit whose stimulus list the restore changed is
    // appended to it, once, and so is each unit without a file that took a
    // record and holds a stimulus without its steps. With `fresh`, each unit
    // made during the change that holds no states of a unit from before is
    // appended to it, once, and left out of `took`: a unit of a name new to
    // its library, one that took no record, and, where the restore gives
    // the lists back without the states (params.copyContext false), every
    // unit made since.
    void Restore(bool byName, const zorpaSaveRestoreParams& params, bool goneByName = false,
                 std::vector<ImodelModule*>* took = nullptr, std::vector<ImodelModule*>* fresh = nullptr);

    // Told by a unit before it changes in a way the restore undoes; `set`
    // is the unit set it is in, enters or leaves (null: none).
    static void Touch(const ImodelModule& unit, const ImodelModule::UnitSet* set);
    // Told by a unit before what the restore gives back changes otherwise
    // (ImodelModule::KeptDataMayChange): a unit from before the change is
    // kept as it stands unless it was already.
    static void Changing(const ImodelModule& unit, const ImodelModule::UnitSet* set);
    // The same for a unit leaving `set`: while units leave for good (see
    // LeavingForGood), what is kept of it is taken from it.
    static void Leave(ImodelModule& unit, const ImodelModule::UnitSet* set);
    // While one stands with `forGood`, units that leave their library are
    // deleted afterwards without anyone looking at them first.
    class LeavingForGood {
    public:
        explicit LeavingForGood(bool forGood);
        ~LeavingForGood();
        LeavingForGood(const LeavingForGood&) = delete;
        LeavingForGood& operator=(const LeavingForGood&) = delete;

    private:
        bool m_outer;
    };
    // While one stands for a unit set, the set's units all leave it in its
    // order (ZorpaUnitSet::TakeAll): their names are kept in that order,
    // without a lookup each. Once they are gone, every unit from before that
    // stood in the set's library has been noted as it left: units made since
    // in that library are not noted one by one.
    class Emptying {
    public:
        explicit Emptying(const ImodelModule::UnitSet& set);
        ~Emptying();
        Emptying(const Emptying&) = delete;
        Emptying& operator=(const Emptying&) = delete;

    private:
        const ImodelModule::UnitSet& m_set;
        // Of each journal that keeps note of the set's library.
        std::vector<Names*> m_names;
    };
    // Whether a change under way keeps note (Touch does something).
    static bool AnyListening();

    // Every journal notes the name of every unit made during its change, as
    // it once did (for comparing the short cuts for changes into empty or
    // emptied libraries with the plain way).
    static void NoteEveryName(bool every);
    // Every name is looked up in its library on the restore, however many
    // there are (for comparing the walk of a library in order with the
    // plain way).
    static void LookUpEveryName(bool every);

private:
    struct Before {
        ZorpaUnitOrder order;
        std::uint64_t serial = 0;
        // Not a clone: a refresh keeps one for every unit of the design.
        ImodelModule::Restorable data;
    };
    // A unit from before as first touched, and the next of its name.
    struct Kept {
        Before before;
        std::size_t next = kNone;
    };
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    // The units from before of one lower-cased name, chained through
    // m_before (a name nearly always has one: no list of its own).
    struct Touched {
        std::string name;
        std::size_t first = kNone;
        std::size_t last = kNone;
    };
    struct NameOfTouched {
        std::string_view operator()(const Touched* touched) const { return touched->name; }
    };
    // The names of a library in the order first touched, found through one
    // array: a refresh notes every unit of the design, and a tree of their
    // names cost a search with a cache miss at each level for every unit.
    // Each name's restore concerns the units of that name alone, so the
    // order of the names does not matter to it.
    //
    // While a library empties (Emptying), its names come in its order: they
    // are appended, and go into the index once a name is looked up.
    struct Names {
        std::deque<Touched> touched;
        ZorpaFlatIndex<Touched*, NameOfTouched, std::hash<std::string_view>, std::equal_to<>> byName;
        // touched[0, indexed) stand in byName.
        std::size_t indexed = 0;
        // The library is emptying and the names come in order.
        bool appending = false;
        // Every unit from before that stood in the library has been noted as
        // it left: units made since are not noted. A name where only units
        // made since stand has nothing to restore, unless a unit from before
        // that was never noted (its library came whole) stands beside them:
        // the restore walks the library for those.
        bool emptied = false;
        // The restore's walk of the library in order listed its new names.
        bool newListed = false;
    };
    friend class Emptying;
    // The entry of the name in the library's names, made empty when new.
    Touched& Entry(const std::string& library, const std::string& name);
    Touched& Entry(Names& names, const std::string& name);
    // The names appended since the last lookup go into the index.
    static void IndexAppended(Names& names);
    bool IsKept(std::uint64_t serial) const;
    // Units up to which serial a journal keeps data (ImodelModule::s_keptUpTo).
    static void KeepUpTo();
    // The library of this design whose unit set is `set`; null when none
    // is (a parser's set, a copy, another model's).
    const ImodelDesignManager::Library* LibraryOf(const ImodelModule::UnitSet& set) const;

    // `leaving`: the unit goes for good, what is kept of it may be taken.
    void Note(const ImodelModule& unit, const ImodelModule::UnitSet& set, ImodelModule* leaving = nullptr);
    // Started on empty libraries: the names of units made since that share
    // a name with a unit from before that was never noted.
    void NoteNamesBesideUnnotedUnits();
    // Walks the units from `at` on, up to the first unit whose name is not
    // before `bound` (to the end when null), and calls `found(range)` with
    // the units of each name where a unit made since stands beside a unit
    // from before that was never noted.
    // `madeOnly(range)` with those of each name where only units made since
    // stand.
    template <class Found, class Made>
    void PassNamesBesideUnnoted(ImodelModule::UnitSet::const_iterator& at, const ImodelModule::UnitSet& units,
                                const std::string* bound, Found found, Made madeOnly) const;
    // The units that stand at the touched names of one library take the
    // data of those that stood there.
    void RestoreLibrary(ImodelModule::UnitSet& units, Names& names, bool byName, const zorpaSaveRestoreParams& params);
    // A touched name and the units of the library that stand at it now.
    struct Named {
        const Touched* touched;
        ImodelModule::UnitSet::Range units;
    };
    // Every touched name of the library with its units, found in one walk
    // of the library in its order; with `beside`, also each name where a
    // unit made since stands beside a unit from before never noted (its
    // entry made there).
    // With `fresh`, the units of each name passed where only units made
    // since stand are appended to it.
    std::vector<Named> NamedInOrder(const ImodelModule::UnitSet& units, const Names& names, std::deque<Touched>* beside,
                                    std::vector<ImodelModule*>* fresh) const;
    // The unit takes a record's data (noted in m_took when its stimulus list
    // changes, or when it stands without a file and without its stimulus steps).
    void Take(ImodelModule& unit, ImodelModule::Restorable&& data, const zorpaSaveRestoreParams& params);
    void RestoreName(const Touched& touched, ImodelModule::UnitSet::Range named, bool byName,
                     const zorpaSaveRestoreParams& params);
    // Whether the name has an entry among the library's touched names.
    bool IsTouched(Names& names, const std::string& name);
    // Appends to m_fresh the units of the names new to their library that
    // were not noted: in every library of a change that started on empty
    // libraries, in the libraries it emptied. The names noted are left to
    // RestoreName.
    void AppendUnnotedNewNames();

    ImodelDesignManager& m_design;
    // Units made after the start are not from before the change.
    std::uint64_t m_lastSerial;
    std::map<std::string, Names> m_touched;
    // Every unit kept, in the order touched, each record a block of its
    // own: the restore frees a name's records as soon as they are used,
    // while they are in the cache, and the list left is a list of nulls.
    std::vector<std::unique_ptr<Kept>> m_before;
    // Their serials.
    ImodelSerialSet m_kept;
    // The records of the name being restored (one list for every name).
    std::vector<Before*> m_restoreOrder;
    bool m_restoring = false;
    bool m_goneByName = false;
    // Where the restore under way lists the units whose stimulus steps the
    // flow works out again (null: nowhere).
    std::vector<ImodelModule*>* m_took = nullptr;
    // Where it lists the units made since that hold no states from before
    // (null: nowhere).
    std::vector<ImodelModule*>* m_fresh = nullptr;
    // The design's libraries held no unit at the start (a project read into
    // an empty design): units made since are not noted one by one.
    bool m_startedEmpty = false;
};

// The serial of the unit made last (units made later have larger ones).
std::uint64_t imodelLastUnitSerial();
// How many units are alive (made and not yet destroyed).
std::size_t imodelLiveUnitCount();

// The unit of `to` that takes the data of a unit that stood at `order`: the
// first of its name when either has no file, else the one of the same file.
ImodelModule* imodelUnitInPlaceOf(const ZorpaUnitOrder& order, const ImodelModule::UnitSet& to);
// The same among `named`, the units of the order's name in `to`.
ImodelModule* imodelUnitInPlaceOf(const ZorpaUnitOrder& order, ImodelModule::UnitSet::Range named);
