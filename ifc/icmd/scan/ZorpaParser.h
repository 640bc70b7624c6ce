// The HDL scanner framework: finds the design units of one source file
// without compiling it (the entities, modules and packages it declares, the
// units each of them instantiates, the use clauses and libraries it names
// and, on request, the ports) and enters them into the design's libraries.
//
// T is a pointer to a design unit (ImodelModule*). The language scanners
// (VHDL, Verilog, schematic) give the lexical operations; the framework
// reads the file once into memory, walks it statement by statement and
// does the bookkeeping of units, placeholders and use clauses. Positions are
// pointers into that one buffer and tokens are views into it: nothing is
// copied that is not kept. zorpaCreateParser makes the scanner of a kind.
#pragma once

#include "icmd/scan/ZorpaPort.h"
#include "ievent/IeventAddressSet.h"
#include "imodel/names/ImodelHashPositions.h"

#include <zorpa/ZorpaLibrary.h>
#include <zorpa/ZorpaModule.h>
#include <zorpa/ZorpaString.h>

#include <boost/container/flat_set.hpp>
#include <boost/shared_ptr.hpp>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

class IfileObjectEx;
class ImodelModule;
class NdbWorld;

template <class T>
class ZorpaParser {
public:
    using Library = ZorpaLibrary<T>;
    using LibraryPtr = boost::shared_ptr<Library>;
    using Libraries = std::deque<LibraryPtr>;
    using LibraryRange = std::pair<typename Libraries::const_iterator, typename Libraries::const_iterator>;
    // The units of a library, owned by it.
    using UnitSet = typename Library::ModuleSet;
    using UnitSetPtr = boost::shared_ptr<UnitSet>;
    using Owned = typename UnitSet::Owned;
    // The units a scan found, not owned, in the units' order: a sorted
    // array, made once per scan (most scans find one or two).
    using ModuleSet = boost::container::flat_set<T, typename ZorpaSet<T>::lessThanTFtor>;
    using ModuleSetPtr = boost::shared_ptr<ModuleSet>;
    using ModuleRange = std::pair<typename ModuleSet::const_iterator, typename ModuleSet::const_iterator>;

    // Every unit is made by cloning `prototype`; `nullModule` stands for no
    // unit.
    ZorpaParser(T prototype, T nullModule, zorpaModuleTypes unitKind);
    virtual ~ZorpaParser();
    ZorpaParser(const ZorpaParser&) = delete;
    ZorpaParser& operator=(const ZorpaParser&) = delete;

    // --- what the caller sets before a parse ----------------------------------------

    // The design's libraries; units go into the one named at parse.
    void SetLibraries(LibraryRange libraries) { m_libraries = libraries; }
    // Whether a unit name is one that several project files define (the
    // name compared exactly); asked for each unit the file declares.
    using MarkedNames = std::function<bool(const std::string&)>;
    void SetMarkedNames(MarkedNames isMarked) { m_isMarked = std::move(isMarked); }
    // Whether the file is used even when one of its units is defined by
    // another file: its instantiations are then still recorded.
    void SetUseAnyway(bool useAnyway) { m_useAnyway = useAnyway; }
    // Every scan looks up what each use clause names at each instance, as
    // the plain way does, rather than once while the libraries stay as they
    // are (for comparisons).
    static void LookUpUseClausesEveryTime(bool everyTime);

    // --- the scan -----------------------------------------------------------------------

    // Reads the file and scans it. False, with the result sets fresh and
    // empty, without a prototype or when the file cannot be opened ("Unable
    // to open file!" on the standard output); true otherwise, whatever the
    // file held. Without a netlist world a temporary one is used. The page
    // numbers serve the schematic scanner only.
    virtual bool parse(const std::string& fileName, const std::string& libraryName, NdbWorld* world, bool readPorts,
                       int firstPage = -1, int lastPage = -1);
    // Scans the content of a file already read, as parse does after reading.
    // Line ends are made alike first: in the text given, or, when the caller
    // keeps it, in a copy made only when they are not alike already.
    bool parseText(const std::string& fileName, const std::string& libraryName, NdbWorld* world, bool readPorts,
                   std::string&& text);
    bool parseText(const std::string& fileName, const std::string& libraryName, NdbWorld* world, bool readPorts,
                   const std::string& text);

    // --- what the caller reads after a parse ----------------------------------------------

    // Every unit the file declared and every placeholder made for it (each
    // once), and every unit of another file whose body the file holds.
    ModuleRange GetModuleRange() const { return {m_foundModules->cbegin(), m_foundModules->cend()}; }
    const ModuleSetPtr& GetFoundModules() const { return m_foundModules; }
    // The target library's own unit set (a fresh one, owned by the scanner,
    // when the library is not among the design's).
    const UnitSetPtr& GetLibraryModules() const { return targetModules(); }
    // No statement of the file shows behaviour.
    bool IsStructural() const { return m_structural; }
    // A unit of the file that another file already defines, or that is
    // among the marked names; empty when there is none.
    const std::string& GetAlreadyDefinedName() const { return m_alreadyDefined; }
    // The file that defined the first unit the file took over, used anyway
    // while another file defined it; null when it took none.
    const boost::shared_ptr<IfileObjectEx>& GetTakenOverFile() const { return m_takenOverFile; }
    // An instance left out because it would have closed a cycle: the unit
    // that holds it and the unit it names, each with its library.
    struct RefusedInstance {
        std::string unit;
        std::string unitLibrary;
        std::string named;
        std::string namedLibrary;
    };
    const std::vector<RefusedInstance>& GetRefusedInstances() const { return m_refused; }
    // Included files, as written, each once (Verilog).
    const std::deque<std::string>& GetIncludeNames() const { return m_includeNames.Get(); }
    // Use clauses, each once, the latest last (VHDL).
    const std::deque<std::string>& GetUseClauses() const { return m_useClauses.Get(); }
    // Packages the file declares, each once (VHDL).
    const std::deque<std::string>& GetPackageNames() const { return m_packageNames.Get(); }
    const std::string& GetFileName() const { return m_fileName; }
    const std::string& GetLibraryName() const { return m_libraryName; }
    zorpaModuleTypes GetUnitKind() const { return m_unitKind; }

    // --- the lexical operations of a language ----------------------------------------------
    // The position operations move `pos` past what they consume; the
    // statement operations look at the statement [start, end) only.

    // Skips comments starting at `pos`; whether any was skipped.
    virtual bool skipComment(const char*& pos, const char* end) = 0;
    // Lines and words handled at a statement's start; always true.
    virtual bool preprocessorLine(const char*& pos, const char* end);
    // Statements of the language that declare nothing and instantiate
    // nothing; whether the statement was handled.
    virtual bool otherStatement(const char* start, const char* end);
    // False when none of the statement operations but the structural test
    // can find anything in the statement, as its first word tells: most
    // statements of a design body are passed over that way.
    virtual bool mayConcernUnits(const char* start, const char* end);
    // Whether the name is not a cell of the device maker's cell library.
    virtual bool isUserUnit(std::string_view name, NdbWorld* world);
    // Where the statement that starts at `pos` ends (after its last character).
    virtual const char* findStatementEnd(const char* pos, const char* end) = 0;
    // The next token; empty when there is none at the position.
    virtual std::string_view readToken(const char*& pos, const char* end, bool anyText, bool newlineIsBlank,
                                       bool backslashIsPlain) = 0;
    // The unit the statement declares; empty for none.
    virtual std::string_view declaredUnitName(const char* start, const char* end) = 0;
    // The unit the statement instantiates; empty for none.
    virtual std::string_view instantiatedUnitName(const char* start, const char* end) = 0;
    // The ports the statement declares; null or empty for none.
    virtual ZorpaPortList readPorts(const char* start, const char* end) = 0;
    // False when the statement shows behaviour.
    virtual bool isStructuralStatement(const char* start, const char* end) = 0;

protected:
    // Steps 2 and 3 of a parse: the target library's set, fresh result sets
    // and name lists, structural true, no current unit.
    void prepare(const std::string& fileName, const std::string& libraryName, bool readPorts);
    // Walks the text statement by statement.
    void scanStatements(const std::string& text);
    // parseText once the line ends are alike.
    bool scanText(const std::string& fileName, const std::string& libraryName, NdbWorld* world, bool readPorts,
                  const std::string& text);
    // Makes the set of the units found and drops the scan's indexes.
    void finishScan();
    // A declared unit of the file; the unit that now stands for the name.
    T addDeclaredUnit(const std::string& name, bool isPackage);
    // An instance in the current unit; the unit instantiated (the existing
    // one or a new placeholder), or the null module when nothing was added.
    T addInstance(const std::string& name);
    // The same for a name hashed already (ZorpaHashedName of `name`).
    T addInstance(const std::string& name, const ZorpaHashedName& hashed);
    // The library that the instance the statement operations found next
    // names itself (VHDL's "entity lib.unit"), a view into the text; empty
    // for none. The next addInstance takes it and clears it.
    void setInstanceLibrary(std::string_view library) { m_instanceLibrary = library; }
    // Makes the named unit of the target library the current unit, as the
    // body of an architecture does: the unit declared in the file or
    // elsewhere, or a placeholder until its declaration is scanned.
    T enterUnitBody(const std::string& name);
    // Records a use clause (moved to the back when already there).
    void addUseClause(std::string text);
    void addIncludeName(std::string name);
    void addPackageName(const std::string& name);
    void setCurrentUnit(T unit);
    T currentUnit() const { return m_currentUnit; }
    bool hasCurrentUnit() const { return m_currentUnit != m_nullModule; }
    T nullModule() const { return m_nullModule; }
    T prototype() const { return m_prototype; }
    void setStructural(bool structural) { m_structural = structural; }
    bool readsPorts() const { return m_readPorts; }
    NdbWorld* world() const { return m_world; }
    void setWorld(NdbWorld* world) { m_world = world; }
    void setFileName(const std::string& fileName) { m_fileName = fileName; }

    // The statement the walk hands to the statement operations, numbered
    // from 1; empty outside the walk (an operation called on its own). A
    // language scanner may keep what it learnt of the statement while it
    // found its end, and use it while the walk is at that statement.
    struct Statement {
        const char* start = nullptr;
        const char* end = nullptr;
        std::uint64_t number = 0;
    };
    const Statement& currentStatement() const { return m_statement; }

    // The unit component being declared in a package (VHDL).
    T m_currentComponent;

private:
    struct Clause;
    // A list of names made on its first name: a std::deque takes two blocks
    // as it is made, and a scanner is made for every file, most of which
    // name nothing of the kind.
    class NameList {
    public:
        const std::deque<std::string>& Get() const { return m_names ? *m_names : None(); }
        std::deque<std::string>& Made()
        {
            if (!m_names) m_names.emplace();
            return *m_names;
        }
        void clear()
        {
            if (m_names) m_names->clear();
        }

    private:
        static const std::deque<std::string>& None()
        {
            static const std::deque<std::string> none;
            return none;
        }
        std::optional<std::deque<std::string>> m_names;
    };
    // Units each held once, in the order first added; kept from one use to
    // the next, so that a use makes no block once they have grown (a
    // search runs for every instance of a file).
    using DistinctUnits = IeventAddressSet<T>;
    // The library of that name among the design's, empty when none.
    LibraryPtr findLibrary(const std::string& name) const;
    // The target library's unit set; an empty one of the scanner's own
    // until a parse names the library (made on demand: the parse that
    // follows the scanner's making nearly always replaces it).
    const UnitSetPtr& targetModules() const;
    // The unit of the name in the set (a placeholder or a unit of any file).
    T findInSet(const UnitSet& set, const std::string& name) const;
    T findInSet(const UnitSet& set, const std::string& name, const ZorpaHashedName& hashed) const;
    // The unit the use clauses make visible under that name, or the null module.
    T resolveThroughUseClauses(const std::string& name, const ZorpaHashedName& hashed);
    // The unit of that name declared in `library`, an instance's own choice
    // of another library than the file's, or the null module.
    T resolveInNamedLibrary(const std::string& name, const ZorpaHashedName& hashed, std::string_view library);
    // Whether `unit` is the current unit or above it.
    bool isCurrentUnitOrAncestor(T unit);
    // The sub-block of that name of the current unit, or the null module.
    // `hash` is the name's folded hash (ZorpaFoldedHash), as each index
    // below keys names: an instance's name is hashed once.
    T findSubBlockOfCurrentUnit(const std::string& name, std::size_t hash);
    void rememberSubBlockOfCurrentUnit(T sub, std::size_t hash);
    void enterSubBlock(T sub, std::size_t hash);
    // Placeholders of the unit's name in the other libraries hand their
    // parents over to the unit where the parents may see it.
    void replacePlaceholders(T unit);
    // A placeholder for the name, and whether it was made: a unit whose
    // name differs in case only stands for it in the library, and is the
    // answer instead.
    std::pair<T, bool> makePlaceholder(const std::string& name);
    // The unit inserted, or the unit that keeps it out of the library
    // (then false, and the unit given is dropped).
    std::pair<T, bool> insertIntoLibrary(Owned unit);

    std::string m_fileName;
    std::string m_libraryName = "work";
    zorpaModuleTypes m_unitKind;
    bool m_structural = true;
    NameList m_includeNames;
    NameList m_useClauses;
    NameList m_packageNames;
    bool m_readPorts = false;
    bool m_useAnyway = false;
    std::string m_alreadyDefined;
    boost::shared_ptr<IfileObjectEx> m_takenOverFile;
    std::vector<RefusedInstance> m_refused;
    MarkedNames m_isMarked;
    mutable UnitSetPtr m_libraryModules;
    ModuleSetPtr m_foundModules;
    // The units found while the scan runs, in order; the set is made at its
    // end.
    DistinctUnits m_found;
    LibraryRange m_libraries;
    T m_currentUnit;
    std::string_view m_instanceLibrary;
    T m_prototype;
    T m_nullModule;

    // Indexes that keep the bookkeeping linear in the size of the file.
    NdbWorld* m_world = nullptr;
    Statement m_statement;
    std::uint64_t m_statementCount = 0;
    std::unordered_set<std::string> m_includeIndex;
    std::unordered_set<std::string> m_packageIndex;
    std::vector<Clause> m_clauses;
    // Counts the changes of the libraries' units this scan makes: what a use
    // clause names is looked up again only after one.
    std::uint64_t m_unitsVersion = 1;
    // Sub-blocks of the current unit by the hash of their folded name: a
    // name as written is hashed folded, and each candidate is then asked
    // whether it goes by the name, so no name is copied or compared twice.
    // The one entered last answers first.
    std::vector<T> m_subBlocks;
    ImodelHashPositions m_subBlockIndex;
    bool m_subBlockIndexValid = false;
    struct SearchSide {
        DistinctUnits seen;
        std::vector<T> pending;
    };
    SearchSide m_up;
    SearchSide m_down;
};

extern template class ZorpaParser<ImodelModule*>;
