#include "imodel/design/ImodelModuleTree.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/Sys.h>
#include <zorpa/ZorpaString.h>

#include <algorithm>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

using ModuleList = ImodelModule::ModuleList;
using Units = std::unordered_set<const ImodelModule*>;
// Which list a walk follows from a unit: its sub-blocks or its parents.
using Next = const ModuleList* (ImodelModule::*)() const;

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

// The first unit, depth-first in list order and a unit before the units its
// `next` list holds, for which `match` holds. Each unit is looked at once:
// a unit met again found nothing the first time, and a unit met again below
// itself would close a cycle. The walk keeps its own stack, so a deep
// hierarchy does not exhaust the call stack.
template <class Match>
ImodelModule* FirstInTree(const ModuleList* modules, Next next, Match match)
{
    Units seen;
    std::vector<std::pair<const ModuleList*, std::size_t>> stack;
    if (modules != nullptr) stack.emplace_back(modules, 0);
    while (!stack.empty()) {
        auto& [list, index] = stack.back();
        if (index == list->size()) {
            stack.pop_back();
            continue;
        }
        ImodelModule* module = (*list)[index++];
        if (module == nullptr || !seen.insert(module).second) continue;
        if (match(*module)) return module;
        if (const ModuleList* below = (module->*next)()) stack.emplace_back(below, 0);
    }
    return nullptr;
}

ImodelModule* FirstBelow(const ModuleList* modules, auto match)
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

    ImodelModule* Search(const ModuleList* modules)
    {
        if (modules == nullptr) return nullptr;
        for (ImodelModule* module : *modules)
            if (module != nullptr && !m_onPath.contains(module))
                if (ImodelModule* found = Visit(module)) return found;
        return nullptr;
    }

private:
    ImodelModule* Visit(ImodelModule* module)
    {
        const bool testing = m_start == nullptr;
        Units& known = testing ? m_testedWithoutMatch : m_passedBeforeStart;
        if (known.contains(module)) return nullptr;
        if (testing && Matches(module->GetName())) return module;
        if (m_start == module) m_start = nullptr;
        m_onPath.insert(module);
        ImodelModule* found = Search(module->GetSubBlocks());
        m_onPath.erase(module);
        // Once the start is passed, the units passed before it are not asked
        // about again: remembering one of them does no harm.
        if (found == nullptr) known.insert(module);
        return found;
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

void AppendVSimParams(const ImodelModule* module, std::string& params, Units& onPath)
{
    if (module == nullptr || !onPath.insert(module).second) return;
    const std::string& own = module->GetVSimParams();
    if (!own.empty()) {
        if (!params.empty()) params += ' ';
        params += own;
    }
    if (const ModuleList* subBlocks = module->GetSubBlocks())
        for (const ImodelModule* sub : *subBlocks) AppendVSimParams(sub, params, onPath);
    onPath.erase(module);
}

void DumpUnit(std::ostream& out, const std::string& indent, const ImodelModule& module, const std::string& library)
{
    out << indent << module.GetName();
    const std::string unitLibrary = module.GetDefinedInLibrary();
    if (!unitLibrary.empty() && unitLibrary != library) out << " [" << unitLibrary << "]";
    const boost::shared_ptr<IfileObjectEx> file = module.GetModuleFile();
    out << " (" << (file ? file->GetFileTitleAndExt() : std::string("?")) << ")\n";
}

void DumpLevel(std::ostream& out, const std::string& indent, const ModuleList* modules, const std::string& library,
               Units& onPath)
{
    if (modules == nullptr) return;
    std::vector<const ImodelModule*> sorted;
    std::copy_if(modules->begin(), modules->end(), std::back_inserter(sorted),
                 [](const ImodelModule* module) { return module != nullptr; });
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const ImodelModule* a, const ImodelModule* b) { return *a < *b; });
    for (const ImodelModule* module : sorted) {
        DumpUnit(out, indent, *module, library);
        if (!onPath.insert(module).second) continue;
        DumpLevel(out, indent + "   ", module->GetSubBlocks(), library, onPath);
        onPath.erase(module);
    }
}

}  // namespace

// --- searching ---------------------------------------------------------------------------------

ImodelModule* ImodelFindModuleInTree(const std::string& name, const std::deque<ImodelModule*>* modules)
{
    if (name.empty()) return nullptr;
    return FirstBelow(modules, [&](const ImodelModule& module) { return module.IsSameModule(name); });
}

ImodelModule* ImodelFindModuleMatch(const std::string& name, const std::deque<ImodelModule*>* modules,
                                    ImodelModule*& start, bool caseSensitive, bool wildcard)
{
    return MatchSearch(name, start, caseSensitive, wildcard).Search(modules);
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
    const ModuleList* parents = module ? module->GetParentsList() : nullptr;
    if (parents == nullptr) return nullptr;
    const auto found = std::find_if(parents->begin(), parents->end(), [&](const ImodelModule* parent) {
        return parent != nullptr && parent->IsPackage() &&
               (name.empty() || ZorpaCompareNoCase(parent->GetName(), name) != 0);
    });
    return found == parents->end() ? nullptr : *found;
}

// --- questions ------------------------------------------------------------------------------------

bool ImodelIsLoop(const ImodelModule* module, const std::deque<ImodelModule*>* modules)
{
    if (module == nullptr) return false;
    return FirstBelow(modules, [&](const ImodelModule& other) { return other == *module; }) != nullptr;
}

bool ImodelHasSubHdlBlocks(const std::deque<ImodelModule*>* modules) { return FirstBelow(modules, IsHDL) != nullptr; }

bool ImodelHasModule()
{
    const auto [first, last] = Design().GetLibraries();
    return std::any_of(first, last, [](const ImodelDesignManager::LibraryPtr& library) {
        return library && library->GetModules() &&
               std::any_of(library->GetModules()->begin(), library->GetModules()->end(),
                           [](const ImodelModule* module) { return module != nullptr; });
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

bool ImodelIsTopLevelModuleOfFileRec(const boost::shared_ptr<IfileObjectEx>& file,
                                     const std::deque<ImodelModule*>* parents)
{
    if (parents == nullptr || !file) return true;
    return FirstInTree(parents, &ImodelModule::GetParentsList,
                       [&](const ImodelModule& module) { return module.GetModuleFile() == file; }) == nullptr;
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
    const auto [first, last] = Design().GetLibraries();
    for (auto library = first; library != last; ++library) {
        if (!*library || !(*library)->GetModules()) continue;
        for (ImodelModule* module : *(*library)->GetModules())
            if (module != nullptr) ftor(module);
    }
}

void ImodelDestroyTree(std::unique_ptr<std::deque<ImodelModule*>> modules)
{
    // A unit listed several times is deleted once.
    if (modules) ImodelModule::DeleteModules(std::vector<ImodelModule*>(modules->begin(), modules->end()));
}

void ImodelAppendVSimParams(const ImodelModule* module, std::string& params)
{
    Units onPath;
    AppendVSimParams(module, params, onPath);
}

std::ostream& ImodelDumpTree(std::ostream& out, const std::string& indent, const std::deque<ImodelModule*>* modules,
                             const std::string& library)
{
    Units onPath;
    DumpLevel(out, indent, modules, library, onPath);
    return out;
}
