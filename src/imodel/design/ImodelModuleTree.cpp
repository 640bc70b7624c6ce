#include "imodel/design/ImodelModuleTree.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/ImodelVisitAhead.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelContextImpl.h"
#include "src/imodel/design/imodelHierarchyWalk.h"

#include <foundation/Sys.h>
#include <zorpa/ZorpaString.h>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

using ModuleList = ImodelModule::ModuleList;
using Units = std::unordered_set<const ImodelModule*>;
// Which list a walk follows from a unit: its sub-blocks or its parents.
using Next = const ImodelLinkList* (ImodelModule::*)() const;

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

// The first unit, depth-first in list order and a unit before the units its
// `next` list holds, for which `match` holds. Each unit is looked at once:
// a unit met again found nothing the first time, and a unit met again below
// itself would close a cycle. The walk keeps its own stack, so a deep
// hierarchy does not exhaust the call stack.
template <class List, class Match>
ImodelModule* FirstInTree(const List* modules, Next next, Match match)
{
    if (modules == nullptr) return nullptr;
    Units seen;
    std::vector<std::pair<const ImodelLinkList*, ImodelLinkList::const_iterator>> stack;
    for (ImodelModule* top : *modules) {
        if (top == nullptr || !seen.insert(top).second) continue;
        if (match(*top)) return top;
        if (const ImodelLinkList* below = (top->*next)()) stack.emplace_back(below, below->begin());
        while (!stack.empty()) {
            auto& [list, at] = stack.back();
            if (at == list->end()) {
                stack.pop_back();
                continue;
            }
            ImodelModule* module = *at++;
            if (!seen.insert(module).second) continue;
            if (match(*module)) return module;
            if (const ImodelLinkList* below = (module->*next)()) stack.emplace_back(below, below->begin());
        }
    }
    return nullptr;
}

template <class List>
ImodelModule* FirstBelow(const List* modules, auto match)
{
    return FirstInTree(modules, &ImodelModule::GetSubBlocks, match);
}

bool IsHDL(const ImodelModule& module)
{
    return module.GetModuleType() == zorpaMODULE_VHDL || module.GetModuleType() == zorpaMODULE_VERILOG;
}

// The search for the next match goes once along every path. So that units
// shared by many parents do not make it exponential, it remembers the units
// whose whole sub-tree it walked without a result, apart for the two states
// of the walk: testing names, or still looking for the starting unit.
// Walking such a unit again in the same state gives the same nothing.
class MatchSearch {
public:
    MatchSearch(const std::string& name, ImodelModule*& start, bool caseSensitive, bool wildcard)
        : m_name(name), m_start(start), m_caseSensitive(caseSensitive), m_wildcard(wildcard)
    {
    }

    template <class List>
    ImodelModule* Search(const List* modules)
    {
        if (modules == nullptr) return nullptr;
        for (ImodelModule* module : *modules)
            if (module != nullptr && !m_onPath.contains(module))
                if (ImodelModule* found = Visit(module)) return found;
        return nullptr;
    }

private:
    struct Frame {
        ImodelModule* module;
        Units* known;
        const ImodelLinkList* subBlocks;
        ImodelLinkList::const_iterator at;
    };

    // The unit and what lies below it, with an explicit stack.
    ImodelModule* Visit(ImodelModule* root)
    {
        std::vector<Frame> stack;
        if (ImodelModule* found = Enter(root, stack)) return found;
        while (!stack.empty()) {
            Frame& frame = stack.back();
            if (frame.subBlocks == nullptr || frame.at == frame.subBlocks->end()) {
                // Nothing below it matched: the same walk would find nothing again.
                m_onPath.erase(frame.module);
                frame.known->insert(frame.module);
                stack.pop_back();
                continue;
            }
            ImodelModule* sub = *frame.at++;
            if (m_onPath.contains(sub)) continue;
            if (ImodelModule* found = Enter(sub, stack)) return found;
        }
        return nullptr;
    }

    // The unit when it matches; otherwise its sub-blocks are to be walked
    // (a frame pushed), unless the walk knows them to hold nothing.
    ImodelModule* Enter(ImodelModule* module, std::vector<Frame>& stack)
    {
        const bool testing = m_start == nullptr;
        Units& known = testing ? m_testedWithoutMatch : m_passedBeforeStart;
        if (known.contains(module)) return nullptr;
        if (testing && Matches(module->GetName())) return module;
        if (m_start == module) m_start = nullptr;
        m_onPath.insert(module);
        const ImodelLinkList* subBlocks = module->GetSubBlocks();
        stack.push_back({module, &known, subBlocks, subBlocks ? subBlocks->begin() : ImodelLinkList::const_iterator()});
        return nullptr;
    }

    bool Matches(const std::string& candidate) const
    {
        if (m_wildcard) return (m_caseSensitive ? WcmMatchCase : WcmMatch)(m_name.c_str(), candidate.c_str()) == 1;
        return m_caseSensitive ? candidate == m_name : ImodelIsSameStrNoCase(candidate, m_name);
    }

    const std::string& m_name;
    ImodelModule*& m_start;
    bool m_caseSensitive;
    bool m_wildcard;
    Units m_onPath;
    Units m_testedWithoutMatch;
    Units m_passedBeforeStart;
};

// --- the simulator parameters ---------------------------------------------------------------

// Simulator parameters longer than this are no command line any simulator
// takes: a hierarchy whose shared units repeat theirs that often is refused.
constexpr std::size_t kMaxVSimParams = std::size_t{16} << 20;

// The parameters go along every path, so a unit used in many places adds
// its own (and its sub-blocks') at each. The walk first works out how long
// the text of each unit's sub-tree is, then writes each sub-tree once and
// copies it where the unit stands again: the time grows with the units, the
// links and the text written, not with the number of paths.
class VSimParamsWalk {
public:
    explicit VSimParamsWalk(const ImodelModule* top) : m_sizes(top, OwnSize) {}

    void AppendTo(const ImodelModule* top, std::string& params)
    {
        // Each unit's parameters with the blank before them.
        const std::uint64_t total = m_sizes.Of(top);
        if (total == 0) return;
        if (total > kMaxVSimParams || params.size() > kMaxVSimParams - total) {
            const std::string text = "The simulator parameters of the hierarchy of " + top->GetName() +
                                     " would be longer than " + std::to_string(kMaxVSimParams) +
                                     " characters; none were added.";
            ImodelDisplayDEBUG_MSG(text.c_str());
            return;
        }
        params.reserve(params.size() + total + 1);
        Write(top, params);
    }

private:
    static std::uint64_t OwnSize(const ImodelModule& module)
    {
        const std::size_t size = module.GetVSimParams().size();
        return size == 0 ? 0 : size + 1;
    }

    struct Frame {
        const ImodelModule* module;
        std::size_t start;
        ImodelLinkList::const_iterator at;
    };

    void Write(const ImodelModule* top, std::string& params)
    {
        std::vector<Frame> stack;
        Begin(top, params, stack);
        while (!stack.empty()) {
            Frame& frame = stack.back();
            const ImodelLinkList* subBlocks = frame.module->GetSubBlocks();
            if (subBlocks == nullptr || frame.at == subBlocks->end()) {
                m_written[frame.module] = {frame.start, params.size() - frame.start};
                stack.pop_back();
                continue;
            }
            const ImodelModule* sub = *frame.at++;
            // A link that closes a cycle, or a sub-tree without parameters.
            if (!m_sizes.Order().Follows(frame.module, sub) || m_sizes.Of(sub) == 0) continue;
            if (const auto written = m_written.find(sub); written != m_written.end()) {
                Separate(params);
                params.append(params.data() + written->second.first, written->second.second);
            } else {
                Begin(sub, params, stack);
            }
        }
    }

    // Writes the unit's own parameters and opens its frame.
    void Begin(const ImodelModule* module, std::string& params, std::vector<Frame>& stack)
    {
        const std::string& own = module->GetVSimParams();
        const std::size_t start = params.size() + (params.empty() ? 0 : 1);
        if (!own.empty()) {
            Separate(params);
            params += own;
        }
        const ImodelLinkList* subBlocks = module->GetSubBlocks();
        stack.push_back({module, start, subBlocks ? subBlocks->begin() : ImodelLinkList::const_iterator()});
    }

    static void Separate(std::string& params)
    {
        if (!params.empty()) params += ' ';
    }

    imodelHierarchyWalk::SizeMap m_sizes;
    // Where each unit's sub-tree stands in the text written: start, length.
    std::unordered_map<const ImodelModule*, std::pair<std::size_t, std::size_t>> m_written;
};

// --- the dump -------------------------------------------------------------------------------

// A dump deeper, or longer, than these is no text anyone reads; the limits
// keep a pathological hierarchy from exhausting the memory.
constexpr std::size_t kMaxDumpDepth = 1000;
constexpr std::size_t kMaxDumpLines = 1000000;

void DumpUnit(std::ostream& out, const std::string& indent, const ImodelModule& module, const std::string& library)
{
    out << indent << module.GetName();
    const std::string unitLibrary = module.GetDefinedInLibrary();
    if (!unitLibrary.empty() && unitLibrary != library) out << " [" << unitLibrary << "]";
    const boost::shared_ptr<IfileObjectEx> file = module.GetModuleFile();
    out << " (" << (file ? file->GetFileTitleAndExt() : std::string("?")) << ")\n";
}

template <class List>
std::vector<const ImodelModule*> Level(const List& modules, bool sorted)
{
    std::vector<const ImodelModule*> units;
    std::copy_if(modules.begin(), modules.end(), std::back_inserter(units),
                 [](const ImodelModule* module) { return module != nullptr; });
    if (sorted)
        std::stable_sort(units.begin(), units.end(),
                         [](const ImodelModule* a, const ImodelModule* b) { return *a < *b; });
    return units;
}

}  // namespace

// --- searching ---------------------------------------------------------------------------------

ImodelModule* ImodelFindModuleInTree(const std::string& name, ImodelUnitListRef modules)
{
    if (name.empty()) return nullptr;
    return modules.With([&](const auto* list) {
        return FirstBelow(list, [&](const ImodelModule& module) { return module.IsSameModule(name); });
    });
}

ImodelModule* ImodelFindModuleMatch(const std::string& name, ImodelUnitListRef modules, ImodelModule*& start,
                                    bool caseSensitive, bool wildcard)
{
    MatchSearch search(name, start, caseSensitive, wildcard);
    return modules.With([&](const auto* list) { return search.Search(list); });
}

ImodelModule* ImodelFindModuleMatch(const std::string& name, ImodelModule* start, bool caseSensitive, bool wildcard)
{
    const ModuleList* tree = Design().GetModuleTree();
    const bool fromStart = start == nullptr;
    if (ImodelModule* found = ImodelFindModuleMatch(name, tree, start, caseSensitive, wildcard)) return found;
    if (fromStart) return nullptr;
    ImodelModule* noStart = nullptr;
    return ImodelFindModuleMatch(name, tree, noStart, caseSensitive, wildcard);
}

ImodelModule* ImodelFindAnotherPackageDeclaringAModule(const ImodelModule* module, const std::string& name)
{
    const ImodelLinkList* parents = module ? module->GetParentsList() : nullptr;
    if (parents == nullptr) return nullptr;
    const auto found = std::find_if(parents->begin(), parents->end(), [&](const ImodelModule* parent) {
        return parent->IsPackage() && (name.empty() || ZorpaCompareNoCase(parent->GetName(), name) != 0);
    });
    return found == parents->end() ? nullptr : *found;
}

// --- questions ------------------------------------------------------------------------------------

bool ImodelIsLoop(const ImodelModule* module, ImodelUnitListRef modules)
{
    if (module == nullptr) return false;
    return modules.With([&](const auto* list) {
        return FirstBelow(list, [&](const ImodelModule& other) { return other == *module; }) != nullptr;
    });
}

bool ImodelHasSubHdlBlocks(ImodelUnitListRef modules)
{
    return modules.With([](const auto* list) { return FirstBelow(list, IsHDL) != nullptr; });
}

bool ImodelHasModule()
{
    const auto [first, last] = Design().GetLibraries();
    return std::any_of(first, last, [](const ImodelDesignManager::LibraryPtr& library) {
        return library && library->GetModules() && !library->GetModules()->empty();
    });
}

bool ImodelIsModuleDependentOfLibrary(const ImodelModule* module,
                                      boost::shared_ptr<ZorpaLibrary<ImodelModule*>> library)
{
    const boost::shared_ptr<IfileObjectEx> file = module ? module->GetModuleFile() : nullptr;
    if (!file || !library) return false;
    if (ZorpaCompareNoCase(file->GetLibraryName(), library->GetName()) == 0) return true;
    const auto [first, last] = file->GetUsedPackages();
    return std::any_of(first, last, [&](const std::string& used) {
        const std::size_t dot = used.find('.');
        return dot != std::string::npos && ZorpaCompareNoCase(used.substr(0, dot), library->GetName()) == 0;
    });
}

bool ImodelIsTopLevelModuleOfFileRec(const boost::shared_ptr<IfileObjectEx>& file, ImodelUnitListRef parents)
{
    if (parents.IsNull() || !file) return true;
    return parents.With([&](const auto* list) {
        return FirstInTree(list, &ImodelModule::GetParentsList,
                           [&](const ImodelModule& module) { return module.GetModuleFile() == file; }) == nullptr;
    });
}

bool ImodelIsUsedInHierarchy(const IfileObject& file)
{
    const ImodelFileName name = file.GetFullFileName();
    return FirstBelow(Design().GetModuleTree(), [&](const ImodelModule& module) {
               const ImodelFileName own = module.GetModuleFullFileName();
               return !own.empty() && own == name;
           }) != nullptr;
}

// --- operations on the tree ---------------------------------------------------------------------

void ImodelApplyToAllModules(const ImodelModifyModuleFtor& ftor)
{
    ImodelApplyToAllModules([&ftor](ImodelModule* module) { ftor(module); });
}

void ImodelApplyToAllModules(const std::function<void(ImodelModule*)>& visit)
{
    const auto [first, last] = Design().GetLibraries();
    for (auto library = first; library != last; ++library) {
        if (!*library || !(*library)->GetModules()) continue;
        // Sized from the set: a copy of its iterator range would walk its
        // tree twice, once to count, and a large library's nodes are cold.
        const ImodelModule::UnitSet& units = *(*library)->GetModules();
        std::vector<ImodelModule*> modules;
        modules.reserve(units.size());
        for (ImodelModule* unit : units) modules.push_back(unit);
        ImodelVisitAhead(modules, &ImodelPrefetchUnitAhead, [&visit](ImodelModule* module) {
            if (module) visit(module);
        });
    }
}

void ImodelPrefetchUnitAhead(const ImodelModule* unit, int stage)
{
    if (unit == nullptr) return;
    if (stage == 0) {
        ImodelPrefetch(unit, sizeof(ImodelModule));
    } else if (const ImodelContextImpl* context = unit->GetContext()) {
        ImodelPrefetch(context, sizeof(ImodelContextImpl));
    }
}

std::vector<ImodelModule*> ImodelUnitsInTreeOrder(ImodelUnitListRef modules)
{
    std::vector<ImodelModule*> units;
    modules.With([&units](const auto* list) {
        FirstBelow(list, [&units](ImodelModule& module) {
            units.push_back(&module);
            return false;
        });
    });
    return units;
}

void ImodelDestroyTree(ImodelModule::OwnedList modules)
{
    // Every unit leaves the list before the first goes.
    const ImodelModule::OwnedList doomed = std::move(modules);
}

void ImodelAppendVSimParams(const ImodelModule* module, std::string& params)
{
    if (module != nullptr) VSimParamsWalk(module).AppendTo(module, params);
}

void ImodelDumpHierarchy(std::ostream& out, const std::string& indent, ImodelUnitListRef modules, bool sorted,
                         const ImodelDumpLine& line)
{
    struct Step {
        const ImodelModule* owner;  // null for the given list
        std::vector<const ImodelModule*> units;
        std::size_t next = 0;
        std::string indent;
    };
    std::vector<Step> stack;
    modules.With([&](const auto* list) {
        if (list != nullptr) stack.push_back({nullptr, Level(*list, sorted), 0, indent});
    });
    std::unordered_set<const ImodelModule*> onPath;
    std::size_t lines = 0;
    while (!stack.empty()) {
        Step& step = stack.back();
        if (step.next == step.units.size()) {
            onPath.erase(step.owner);
            stack.pop_back();
            continue;
        }
        const ImodelModule* module = step.units[step.next++];
        if (lines++ == kMaxDumpLines) {
            out << step.indent << "... (the dump stops after " << kMaxDumpLines << " lines)\n";
            return;
        }
        line(out, step.indent, *module);
        const ImodelLinkList* subBlocks = module->GetSubBlocks();
        if (subBlocks == nullptr || subBlocks->empty() || onPath.contains(module)) continue;
        std::string below = step.indent + "   ";
        if (stack.size() == kMaxDumpDepth) {
            out << below << "... (levels below " << kMaxDumpDepth << " are not shown)\n";
            continue;
        }
        onPath.insert(module);
        stack.push_back({module, Level(*subBlocks, sorted), 0, std::move(below)});
    }
}

std::ostream& ImodelDumpTree(std::ostream& out, const std::string& indent, ImodelUnitListRef modules,
                             const std::string& library)
{
    ImodelDumpHierarchy(out, indent, modules, true,
                        [&](std::ostream& to, const std::string& at, const ImodelModule& module) {
                            DumpUnit(to, at, module, library);
                        });
    return out;
}
