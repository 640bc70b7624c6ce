#include "icmd/scan/ZorpaParser.h"

#include "ievent/IeventModuleRegistry.h"
#include "ifile/IfileObjectEx.h"
#include "ifile/IfileReadAhead.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/names/ImodelFileName.h"
#include "imodel/names/ImodelVisitAhead.h"
#include "src/icmd/scan/zorpaScanText.h"

#include <foundation/Sys.h>
#include <ndb/CvlLibrary.h>
#include <ndb/NdbWorld.h>
#include <zorpa/ZorpaFind.h>
#include <zorpa/ZorpaString.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <cstdio>
#include <tuple>
#include <utility>

using namespace zorpaScan;

namespace zorpaScan {

ScanWorld::ScanWorld(NdbWorld* given) : m_world(given), m_owned(given == nullptr)
{
    if (m_owned) m_world = NdbCreateDefaultWorld("temp");
}

ScanWorld::~ScanWorld()
{
    if (!m_owned) return;
    CvlLibFree();
    NdbDelAll(m_world);
}

}  // namespace zorpaScan

namespace {

// The byte order mark some editors put before UTF-8 text: no part of the
// first statement.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool StartsWithByteOrderMark(const std::string& text) { return text.compare(0, 3, kByteOrderMark) == 0; }

// Whether NormaliseLineEnds would leave the text as it is.
bool LineEndsAlike(const std::string& text)
{
    return (text.empty() || text.back() == '\n') && text.find('\r') == std::string::npos &&
           !StartsWithByteOrderMark(text);
}

// The text as the statement walk reads it: a leading byte order mark is
// dropped, every line ends with a line feed, a carriage return before a
// line feed (or at the very end) is dropped and a lone one (old Mac line
// ends) becomes a line feed, since comments and directives end with their
// line. Done in place, in one pass.
void NormaliseLineEnds(std::string& text)
{
    if (StartsWithByteOrderMark(text)) text.erase(0, kByteOrderMark.size());
    if (text.find('\r') != std::string::npos) {
        std::size_t out = 0;
        for (std::size_t in = 0; in < text.size(); ++in) {
            if (text[in] != '\r')
                text[out++] = text[in];
            else if (in + 1 < text.size() && text[in + 1] != '\n')
                text[out++] = '\n';
        }
        text.resize(out);
    }
    if (!text.empty() && text.back() != '\n') text.push_back('\n');
}

bool g_lookUpUseClausesEveryTime = false;

}  // namespace

template <class T>
void ZorpaParser<T>::LookUpUseClausesEveryTime(bool everyTime)
{
    g_lookUpUseClausesEveryTime = everyTime;
}

template <class T>
struct ZorpaParser<T>::Clause {
    std::string text;
    bool valid = false;
    ZorpaUseClause parts;
    // What the clause names, as looked up at `lookedUpAt` (m_unitsVersion;
    // 0: not yet): its library, and its package unit when it names one.
    std::uint64_t lookedUpAt = 0;
    LibraryPtr library;
    T package{};
};

template <class T>
ZorpaParser<T>::ZorpaParser(T prototype, T nullModule, zorpaModuleTypes unitKind)
    : m_currentComponent(nullModule), m_unitKind(unitKind), m_foundModules(boost::make_shared<ModuleSet>()),
      m_currentUnit(nullModule), m_prototype(prototype), m_nullModule(nullModule)
{
}

template <class T>
ZorpaParser<T>::~ZorpaParser() = default;

// --- the scan ---------------------------------------------------------------------------------

template <class T>
bool ZorpaParser<T>::parse(const std::string& fileName, const std::string& libraryName, NdbWorld* world, bool readPorts,
                           int, int)
{
    if (m_prototype == m_nullModule) return false;
    std::string text;
    if (!IfileReadPath(fileName, text)) {
        prepare(fileName, libraryName, readPorts);
        std::fputs("Unable to open file!\n", stdout);
        return false;
    }
    const bool parsed = parseText(fileName, libraryName, world, readPorts, std::move(text));
    IfileRecycleText(std::move(text));
    return parsed;
}

template <class T>
bool ZorpaParser<T>::parseText(const std::string& fileName, const std::string& libraryName, NdbWorld* world,
                               bool readPorts, std::string&& text)
{
    NormaliseLineEnds(text);
    return scanText(fileName, libraryName, world, readPorts, text);
}

template <class T>
bool ZorpaParser<T>::parseText(const std::string& fileName, const std::string& libraryName, NdbWorld* world,
                               bool readPorts, const std::string& text)
{
    // Most texts need no change: they are scanned where they lie.
    if (LineEndsAlike(text)) return scanText(fileName, libraryName, world, readPorts, text);
    std::string alike = text;
    NormaliseLineEnds(alike);
    return scanText(fileName, libraryName, world, readPorts, alike);
}

template <class T>
bool ZorpaParser<T>::scanText(const std::string& fileName, const std::string& libraryName, NdbWorld* world,
                              bool readPorts, const std::string& text)
{
    if (m_prototype == m_nullModule) return false;
    prepare(fileName, libraryName, readPorts);
    const ScanWorld scanWorld(world);
    m_world = scanWorld.Get();
    scanStatements(text);
    finishScan();
    return true;
}

template <class T>
void ZorpaParser<T>::prepare(const std::string& fileName, const std::string& libraryName, bool readPorts)
{
    m_fileName = fileName;
    m_libraryName = libraryName;
    const LibraryPtr library = findLibrary(libraryName);
    m_libraryModules = library ? library->GetModules() : boost::make_shared<UnitSet>();
    // The units the file declares take the prototype's file: the library's
    // cell for it, cold in a large design, is prefetched while the text is read.
    if (m_prototype != m_nullModule) m_libraryModules->PrefetchFile(m_prototype->GetFileIndexKey());
    // The set of the last parse is cleared for this one unless the caller
    // still holds it.
    if (m_foundModules.use_count() == 1)
        m_foundModules->clear();
    else
        m_foundModules = boost::make_shared<ModuleSet>();
    m_found.Clear();
    m_structural = true;
    m_includeNames.clear();
    m_includeIndex.clear();
    m_useClauses.clear();
    m_clauses.clear();
    m_packageNames.clear();
    m_packageIndex.clear();
    m_readPorts = readPorts;
    m_alreadyDefined.clear();
    m_takenOverFile.reset();
    m_refused.clear();
    setCurrentUnit(m_nullModule);
    m_currentComponent = m_nullModule;
    m_instanceLibrary = {};
}

template <class T>
void ZorpaParser<T>::scanStatements(const std::string& text)
{
    const char* pos = text.data();
    const char* const end = pos + text.size();
    for (;;) {
        do SkipBlanks(pos, end, true);
        while (skipComment(pos, end));
        if (pos >= end) break;
        // Blanks and comments after what the language's own start of a
        // statement took, if it took anything.
        const char* const start = pos;
        preprocessorLine(pos, end);
        if (pos != start) {
            do SkipBlanks(pos, end, true);
            while (skipComment(pos, end));
            if (pos >= end) break;
        }
        const char* stop = std::min(findStatementEnd(pos, end), end);
        if (stop <= pos) stop = pos + 1;  // every statement moves the walk on
        m_statement = Statement{pos, stop, ++m_statementCount};

        const bool concerns = mayConcernUnits(pos, stop);
        bool handled = false;
        if (!concerns) {
            // Only the structural test is left to ask, below.
        } else if (const std::string_view declared = declaredUnitName(pos, stop); !declared.empty()) {
            handled = true;
            const std::string name(declared);
            if (isUserUnit(declared, m_world)) {
                addDeclaredUnit(name, false);
            } else {
                SysDebugPrintf("ERROR: %s is already defined in the Brennic library.\n", name.c_str());
                // The body that follows is that cell's, not the unit's before it.
                setCurrentUnit(m_nullModule);
            }
        } else if (const std::string_view instance = instantiatedUnitName(pos, stop); !instance.empty()) {
            // A cell of the maker's library is no unit of the design.
            handled = true;
            // The library's name index is cold in a large design: its cell
            // is prefetched while the name is checked.
            const ZorpaHashedName hashed(instance);
            targetModules()->PrefetchName(hashed);
            if (isUserUnit(instance, m_world)) addInstance(std::string(instance), hashed);
            m_instanceLibrary = {};  // a cell's goes with it
        } else if (m_readPorts) {
            // The design units keep no ports: a list read is released here.
            const ZorpaPortList ports = readPorts(pos, stop);
            handled = ports && !ports->empty();
        }
        if (!handled && !(concerns && otherStatement(pos, stop)) && m_structural)
            m_structural = isStructuralStatement(pos, stop);
        pos = stop;
    }
    m_statement = Statement();
}

template <class T>
bool ZorpaParser<T>::preprocessorLine(const char*&, const char*)
{
    return true;
}

template <class T>
bool ZorpaParser<T>::otherStatement(const char*, const char*)
{
    return false;
}

template <class T>
bool ZorpaParser<T>::mayConcernUnits(const char*, const char*)
{
    return true;
}

template <class T>
bool ZorpaParser<T>::isUserUnit(std::string_view name, NdbWorld* world)
{
    return !CvlIsBrennicMacro(name, world);
}

// --- name lists ---------------------------------------------------------------------------------

template <class T>
void ZorpaParser<T>::addUseClause(std::string text)
{
    // Searched from the back: a clause met again is most often the last one.
    std::deque<std::string>& clauses = m_useClauses.Made();
    const auto found = std::find(clauses.rbegin(), clauses.rend(), text);
    if (found != clauses.rend()) {
        const auto index = static_cast<std::size_t>(std::distance(found, clauses.rend()) - 1);
        clauses.erase(clauses.begin() + static_cast<std::ptrdiff_t>(index));
        m_clauses.erase(m_clauses.begin() + static_cast<std::ptrdiff_t>(index));
    }
    Clause clause;
    clause.text = text;
    clause.valid = ZorpaSplitUseClause(text, clause.parts);
    m_clauses.push_back(std::move(clause));
    clauses.push_back(std::move(text));
}

template <class T>
void ZorpaParser<T>::addIncludeName(std::string name)
{
    if (m_includeIndex.insert(name).second) m_includeNames.Made().push_back(std::move(name));
}

template <class T>
void ZorpaParser<T>::addPackageName(const std::string& name)
{
    if (m_packageIndex.insert(name).second) m_packageNames.Made().push_back(name);
}

// --- units ----------------------------------------------------------------------------------------

namespace {

// A unit made for an instance before its declaration was scanned: no file.
template <class T>
bool IsPlaceholder(T unit)
{
    return unit->GetComponentTypeStr() == "Unknown";
}

// Prefetches the first lines of a unit, up to its name.
template <class T>
void PrefetchUnit(T unit)
{
    unit->PrefetchName();
}

bool SameLibrary(const std::string& a, const std::string& b) { return ZorpaCompareNoCase(a, b) == 0; }

// Whether the unit goes by the name. A name written as the unit's own
// matches whatever the unit's case rule: asked first, it spares the rule's
// option look-up in the common case.
template <class T>
bool Names(T unit, const std::string& name)
{
    return unit->GetName() == name || unit->IsSameModule(name);
}

}  // namespace

template <class T>
typename ZorpaParser<T>::LibraryPtr ZorpaParser<T>::findLibrary(const std::string& name) const
{
    for (auto it = m_libraries.first; it != m_libraries.second; ++it)
        if (*it && SameLibrary((*it)->GetName(), name)) return *it;
    return {};
}

template <class T>
const typename ZorpaParser<T>::UnitSetPtr& ZorpaParser<T>::targetModules() const
{
    if (!m_libraryModules) m_libraryModules = boost::make_shared<UnitSet>();
    return m_libraryModules;
}

template <class T>
T ZorpaParser<T>::findInSet(const UnitSet& set, const std::string& name) const
{
    return findInSet(set, name, ZorpaHashedName(name));
}

template <class T>
T ZorpaParser<T>::findInSet(const UnitSet& set, const std::string& name, const ZorpaHashedName& hashed) const
{
    // The unit the name finds first is most often the one: the units after
    // it, cold in a large design, are not touched.
    const T found = set.FindAsWritten(hashed, [&name](T unit) { return Names(unit, name); });
    return found ? found : m_nullModule;
}

template <class T>
void ZorpaParser<T>::setCurrentUnit(T unit)
{
    if (unit == m_currentUnit) return;
    m_currentUnit = unit;
    m_subBlockIndexValid = false;
}

template <class T>
void ZorpaParser<T>::finishScan()
{
    // Units change their place in an ordered set while the scan points them
    // at their file, so the set of units found is made once the scan is over.
    if (m_foundModules.use_count() == 1)
        m_foundModules->clear();
    else
        m_foundModules = boost::make_shared<ModuleSet>();
    typename ModuleSet::sequence_type units = m_foundModules->extract_sequence();
    units.reserve(m_found.Added());
    m_found.ForEach([&units](T unit) { units.push_back(unit); });
    m_found.Clear();
    // Sorted in one go (a file can declare or name thousands of units). Of
    // units alike in the order the first found stays, as it would in a set
    // filled one unit at a time: the sort keeps the order of the found. The
    // few units of most scans are sorted in place, without the buffer of a
    // stable sort.
    const typename ZorpaSet<T>::lessThanTFtor before;
    constexpr std::size_t kSortedInPlace = 16;
    if (units.size() <= kSortedInPlace) {
        for (auto next = units.begin(); next != units.end(); ++next)
            std::rotate(std::upper_bound(units.begin(), next, *next, before), next, next + 1);
    } else {
        std::stable_sort(units.begin(), units.end(), before);
    }
    const auto alike = [&before](T a, T b) { return !before(a, b) && !before(b, a); };
    units.erase(std::unique(units.begin(), units.end(), alike), units.end());
    m_foundModules->adopt_sequence(boost::container::ordered_unique_range, std::move(units));
    // The clauses hold no library beyond the scan.
    for (Clause& clause : m_clauses) {
        clause.library.reset();
        clause.lookedUpAt = 0;
    }
    std::vector<T>().swap(m_subBlocks);
    m_subBlockIndex.Clear();
    m_subBlockIndexValid = false;
    m_world = nullptr;
}

template <class T>
std::pair<T, bool> ZorpaParser<T>::insertIntoLibrary(Owned unit)
{
    ++m_unitsVersion;
    return targetModules()->Insert(std::move(unit));
}

template <class T>
std::pair<T, bool> ZorpaParser<T>::makePlaceholder(const std::string& name)
{
    // A placeholder carries the library's name as the design keeps it, not
    // as this file spells it: the files of a library may spell it in other
    // letters and share the placeholder, whichever of them made it.
    const LibraryPtr library = findLibrary(m_libraryName);
    Owned made = std::remove_pointer_t<T>::MakePlaceholder(name, library ? library->GetName() : m_libraryName);
    const auto [placeholder, taken] = insertIntoLibrary(std::move(made));
    if (taken) m_found.Add(placeholder);
    return {placeholder, taken};
}

template <class T>
T ZorpaParser<T>::addDeclaredUnit(const std::string& name, bool isPackage)
{
    T unit = findInSet(*targetModules(), name);
    bool owned = true;
    bool inserted = false;
    if (unit == m_nullModule) {
        Owned made = m_prototype->Clone(name, std::string(), m_unitKind, isPackage, m_libraryName, std::string());
        made->SetModuleFileName(m_fileName, m_prototype, true);
        // A placeholder whose name differs in case only keeps the new unit
        // out: it is the unit declared, as one found by name would be.
        std::tie(unit, inserted) = insertIntoLibrary(std::move(made));
    }
    // A unit pointed at its file may change its place among those of its name.
    ++m_unitsVersion;
    if (!inserted) {
        // The views hear of the unit once the file is read, through its
        // registration, which lies anywhere in a large design's table.
        IeventModuleRegistry::PrefetchCellOf(unit);
        const boost::shared_ptr<IfileObjectEx> file = unit->GetModuleFile();
        const bool elsewhere = file && !(file->GetFullFileName() == ImodelFileName(m_fileName));
        if (elsewhere) m_alreadyDefined = name;
        // Another file keeps its unit unless this file is to be used anyway;
        // a placeholder or this file's own unit becomes the declared unit.
        owned = !elsewhere || m_useAnyway;
        if (elsewhere && owned && !m_takenOverFile) m_takenOverFile = file;
        if (owned) {
            unit->SetModuleFileName(m_fileName, m_prototype, false);
            unit->SetType(m_unitKind);
            unit->SetIsPackage(isPackage);
            unit->SetDefinedInLibrary(m_libraryName);
        }
    }
    if (m_isMarked && m_isMarked(name)) m_alreadyDefined = name;
    setCurrentUnit(unit);
    m_found.Add(unit);
    if (!owned) return unit;
    // The list is handed over as a copy: one kept by the thread is filled
    // anew, its blocks and texts used again, rather than one made per unit.
    thread_local std::deque<std::string> possible;
    const std::deque<std::string>& clauses = m_useClauses.Get();
    possible.assign(clauses.begin(), clauses.end());
    possible.push_back(m_libraryName);
    unit->SetPossibleLibraries(possible);
    if (const auto* parents = unit->GetParentsList()) {
        // The parents lie anywhere in a large design and each is a wait for
        // its memory: those a few places ahead are prefetched meanwhile, so
        // that the waits overlap.
        constexpr int kAhead = 8;
        auto ahead = parents->begin();
        for (int step = 0; step < kAhead && ahead != parents->end(); ++step, ++ahead) PrefetchUnit(*ahead);
        for (T parent : *parents) {
            if (ahead != parents->end()) PrefetchUnit(*ahead++);
            if (parent->IsPackage()) {
                unit->SetDefinedInPackage(parent->GetName());
                break;
            }
        }
    }
    replacePlaceholders(unit);
    return unit;
}

template <class T>
void ZorpaParser<T>::replacePlaceholders(T unit)
{
    const std::string name = unit->GetName();
    for (auto it = m_libraries.first; it != m_libraries.second; ++it) {
        const LibraryPtr& library = *it;
        if (!library || SameLibrary(library->GetName(), m_libraryName)) continue;
        const T placeholder = findInSet(*library->GetModules(), name);
        if (placeholder == m_nullModule || placeholder == unit || !IsPlaceholder(placeholder)) continue;
        bool allMoved = true;
        if (const auto* parentList = placeholder->GetParentsList()) {
            const std::vector<T> parents(parentList->begin(), parentList->end());
            for (T parent : parents) {
                if (!ZorpaFindModuleInPossibleLib2(name, m_libraryName, parent->GetPossibleLibraries())) {
                    allMoved = false;
                    continue;
                }
                // Every instance of the placeholder becomes one of the unit.
                for (int count = parent->DetachSubBlock(placeholder); count > 0; --count)
                    parent->AddSubBlock(unit, true);
                // The current unit's sub-blocks may have changed: its index
                // is made again from its list when next asked.
                if (parent == m_currentUnit) m_subBlockIndexValid = false;
            }
        }
        if (!allMoved) continue;
        m_found.Erase(placeholder);
        if (m_currentComponent == placeholder) m_currentComponent = m_nullModule;
        if (m_currentUnit == placeholder) setCurrentUnit(m_nullModule);
        m_subBlockIndexValid = false;
        ++m_unitsVersion;
        std::remove_pointer_t<T>::Delete(library->GetModules()->Extract(placeholder), true);
    }
}

template <class T>
T ZorpaParser<T>::enterUnitBody(const std::string& name)
{
    T unit = findInSet(*targetModules(), name);
    if (unit == m_nullModule) unit = makePlaceholder(name).first;
    m_found.Add(unit);
    setCurrentUnit(unit);
    return unit;
}

template <class T>
T ZorpaParser<T>::resolveThroughUseClauses(const std::string& name, const ZorpaHashedName& hashed)
{
    if (m_clauses.empty()) return m_nullModule;
    const boost::shared_ptr<IfileObjectEx> ownFile = m_prototype->GetModuleFile();
    for (Clause& clause : m_clauses) {
        if (!clause.valid || !clause.parts.Names(name)) continue;
        // Looked up once while the libraries' units stay as they are: a
        // file's instances ask the same clauses again and again.
        if (clause.lookedUpAt != m_unitsVersion || g_lookUpUseClausesEveryTime) {
            clause.library = findLibrary(clause.parts.library == "work" ? m_libraryName : clause.parts.library);
            clause.package = clause.library && !clause.parts.package.empty()
                                 ? findInSet(*clause.library->GetModules(), clause.parts.package)
                                 : m_nullModule;
            clause.lookedUpAt = m_unitsVersion;
        }
        const LibraryPtr& library = clause.library;
        if (!library) continue;
        T found = m_nullModule;
        if (clause.parts.package.empty()) {
            found = findInSet(*library->GetModules(), name, hashed);
        } else {
            const T package = clause.package;
            if (package != m_nullModule && package->IsPackage() && package->GetSubBlocks())
                for (T sub : *package->GetSubBlocks())
                    if (Names(sub, name)) {
                        found = sub;
                        break;
                    }
        }
        if (found == m_nullModule) continue;
        const boost::shared_ptr<IfileObjectEx> file = found->GetModuleFile();
        if (!file) continue;  // a placeholder
        // A unit of this very file and library is the one the library
        // lookup that follows finds.
        if (SameLibrary(found->GetDefinedInLibrary(), m_libraryName) && (!ownFile || *file == *ownFile)) continue;
        return found;
    }
    return m_nullModule;
}

template <class T>
T ZorpaParser<T>::resolveInNamedLibrary(const std::string& name, const ZorpaHashedName& hashed,
                                        std::string_view library)
{
    const std::string libraryName(library);
    if (SameLibrary(libraryName, "work") || SameLibrary(libraryName, m_libraryName)) return m_nullModule;
    // The unit sees the library it names, as with "use lib.all": a
    // placeholder made meanwhile goes over to the library's unit of the name
    // once that is declared (replacePlaceholders asks the unit's possible
    // libraries), as does one made again when that unit's file is parsed
    // anew. One entry per library, not per name: a unit that names thousands
    // of the library's units keeps a short list.
    const std::string clause = libraryName + ".all";
    const std::deque<std::string>& possible = m_currentUnit->GetPossibleLibraries();
    if (std::find(possible.begin(), possible.end(), clause) == possible.end()) {
        std::deque<std::string> more = possible;
        more.push_back(clause);
        m_currentUnit->SetPossibleLibraries(more);
    }
    const LibraryPtr named = findLibrary(libraryName);
    if (!named) return m_nullModule;
    const T found = findInSet(*named->GetModules(), name, hashed);
    return found != m_nullModule && found->GetModuleFile() ? found : m_nullModule;
}

template <class T>
bool ZorpaParser<T>::isCurrentUnitOrAncestor(T unit)
{
    // Searched from both ends at once, a unit of the smaller side at a time:
    // up from the current unit through the parents, down from `unit` through
    // the sub-blocks, until the two meet or one side has nothing left. The
    // work follows the smaller of the two sides, however the files come:
    // a design read top down has few units below, one read bottom up few
    // units above. Each side meets a unit once: designs may be cyclic.
    if (unit == m_currentUnit) return true;
    // A unit nothing instantiates yet, as units are in a design read from
    // the bottom up, has nothing above it: links go both ways.
    if (const auto* parents = m_currentUnit->GetParentsList(); parents == nullptr || parents->empty()) return false;
    const auto start = [](SearchSide& side, T first) {
        side.seen.Clear();
        side.seen.Add(first);
        side.pending.assign(1, first);
    };
    SearchSide& up = m_up;
    SearchSide& down = m_down;
    start(up, m_currentUnit);
    start(down, unit);
    while (!up.pending.empty() && !down.pending.empty()) {
        const bool upward = up.seen.Added() <= down.seen.Added();
        SearchSide& side = upward ? up : down;
        const SearchSide& other = upward ? down : up;
        const T next = side.pending.back();
        side.pending.pop_back();
        const auto* links = upward ? next->GetParentsList() : next->GetSubBlocks();
        if (links == nullptr) continue;
        for (T linked : *links) {
            if (other.seen.Contains(linked)) return true;
            if (side.seen.Add(linked)) side.pending.push_back(linked);
        }
    }
    return false;
}

template <class T>
T ZorpaParser<T>::findSubBlockOfCurrentUnit(const std::string& name, std::size_t hash)
{
    if (!m_subBlockIndexValid) {
        m_subBlocks.clear();
        m_subBlockIndex.ClearKeepingRoom();
        m_subBlockIndexValid = true;
        if (const auto* subs = m_currentUnit->GetSubBlocks())
            for (T sub : *subs) enterSubBlock(sub, ZorpaFoldedHash()(sub->GetName()));
    }
    // Of the sub-blocks going by the name, the one entered last answers.
    const std::size_t found =
        m_subBlockIndex.FindLast(hash, [&](std::size_t position) { return Names(m_subBlocks[position], name); });
    return found == ImodelHashPositions::npos ? m_nullModule : m_subBlocks[found];
}

template <class T>
void ZorpaParser<T>::enterSubBlock(T sub, std::size_t hash)
{
    m_subBlockIndex.Add(hash, m_subBlocks.size());
    m_subBlocks.push_back(sub);
}

template <class T>
void ZorpaParser<T>::rememberSubBlockOfCurrentUnit(T sub, std::size_t hash)
{
    if (m_subBlockIndexValid) enterSubBlock(sub, hash);
}

template <class T>
T ZorpaParser<T>::addInstance(const std::string& name)
{
    return addInstance(name, ZorpaHashedName(name));
}

template <class T>
T ZorpaParser<T>::addInstance(const std::string& name, const ZorpaHashedName& hashed)
{
    const std::string_view library = std::exchange(m_instanceLibrary, std::string_view());
    if (!hasCurrentUnit()) return m_nullModule;
    // Once a unit of the file proved to be defined elsewhere, the file's
    // instances count only when the file is used anyway.
    if (!m_alreadyDefined.empty() && !m_useAnyway) return m_nullModule;
    const std::size_t hash = hashed.hash;
    if (const T existing = findSubBlockOfCurrentUnit(name, hash); existing != m_nullModule) return existing;
    T found = library.empty() ? m_nullModule : resolveInNamedLibrary(name, hashed, library);
    if (found == m_nullModule) found = resolveThroughUseClauses(name, hashed);
    if (found == m_nullModule) found = findInSet(*targetModules(), name, hashed);
    bool made = false;
    bool standsIn = false;
    if (found == m_nullModule) {
        std::tie(found, made) = makePlaceholder(name);
        standsIn = !made;
    }
    // Whatever unit the name came to, by its case rule or as the unit that
    // stands in the library for a name differing in case only, may be
    // neither this unit nor one above it.
    if (!made && isCurrentUnitOrAncestor(found)) {
        SysDebugPrintf("Error: the module %s is instantiating itself.\n", found->GetName().c_str());
        // Kept for the caller: the link is made once the cycle is broken.
        m_refused.push_back({m_currentUnit->GetName(), m_currentUnit->GetDefinedInLibrary(), found->GetName(),
                             found->GetDefinedInLibrary()});
        return m_nullModule;
    }
    // A unit found by the name would have been found among the sub-blocks
    // above, so only a placeholder that stands for names differing in case
    // only may already be one; it is one sub-block. (AddSubBlock asks the
    // list again, for its parent link.)
    if (standsIn)
        if (const auto* subs = m_currentUnit->GetSubBlocks(); subs && subs->Contains(found)) return found;
    m_currentUnit->AddSubBlock(found, true);
    // Entered under its own name, which is most often the name as written.
    rememberSubBlockOfCurrentUnit(found, found->GetName() == name ? hash : ZorpaFoldedHash()(found->GetName()));
    if (found->IsPackage()) {
        found->SetDefinedInPackage(found->GetName());
        replacePlaceholders(found);
    }
    return found;
}

template class ZorpaParser<ImodelModule*>;
