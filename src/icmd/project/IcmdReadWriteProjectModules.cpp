// Per-module information in the project file: the per-module blocks of
// "NewModulesInfo", the older one-list-per-kind layout that is still written
// beside them and read when they are absent, and the process states.
#include "src/icmd/project/IcmdReadWriteProjectImpl.h"

#include "icmd/args/IcmdComponentIDText.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "ifile/IfileProjectOpening.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/names/ImodelAddressOrder.h"
#include "imodel/names/ImodelSplitWork.h"
#include "imodel/names/ImodelVisitAhead.h"
#include "imodel/options/ImodelPhySynthesisDefaults.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "src/icmd/project/IcmdProjectFileText.h"

#include <foundation/Sys.h>

#include <algorithm>
#include <bit>
#include <exception>
#include <memory>
#include <span>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

const char* KindListName(ideModuleInfoType kind)
{
    switch (kind) {
    case ideExcludePackageForSynthesis:
        return "ExcludePackageForSynthesis";
    case ideExcludePackageForSimulation:
        return "ExcludePackageForSimulation";
    case ideIncludeModuleForSimulation:
        return "IncludeModuleForSimulation";
    case ideCDBOrder:
        return "CDBOrder";
    }
    return "";
}

bool StartsWith(const std::string& line, const char* prefix) { return line.rfind(prefix, 0) == 0; }

// A module's stimulus and associated files: to fill when reading, to write
// as they stand (asking for a list to fill makes one).
std::deque<IfileObject>& Stimulus(ImodelModule& module) { return *module.GetStimulusListPtr(); }
std::deque<IfileObject>& Associated(ImodelModule& module) { return module.GetAssociatedFileList(); }
const std::deque<IfileObject>& StimulusAsIs(const ImodelModule& module) { return module.GetStimulusList(); }
const std::deque<IfileObject>& AssociatedAsIs(const ImodelModule& module)
{
    return module.GetAssociatedFileListConst();
}

bool UsesCustomizedList(const ImodelModule& module)
{
    const auto& lists = module.GetCustomizedFileLists();
    return std::any_of(lists.begin(), lists.end(), [](const auto& list) { return list.IsUsed(); });
}

bool HasStates(const ImodelModule& module)
{
    const ImodelContextImpl* context = module.GetContext();
    return context && !context->IsInDefaultState();
}

// The lines of a block whose opening line was taken, up to its matching
// ENDLIST (nested blocks whole); `line` ends after that ENDLIST, or at `end`.
void CollectBlock(std::vector<std::string>::const_iterator& line, std::vector<std::string>::const_iterator end,
                  std::vector<std::string>& out)
{
    out.clear();
    std::size_t depth = 1;
    for (; line != end; ++line) {
        if (StartsWith(*line, "ENDLIST")) {
            if (--depth == 0) {
                ++line;
                return;
            }
        } else if (StartsWith(*line, "LIST ")) {
            ++depth;
        }
        out.push_back(*line);
    }
}

}  // namespace

bool IcmdReadWriteProjectImpl::TakeSubList(const std::string& name, LineIterator& line, LineIterator end, Lines& out)
{
    if (line == end || *line != "LIST " + name) return false;
    ++line;
    CollectBlock(line, end, out);
    return true;
}

// --- per-module blocks ------------------------------------------------------------------------------

bool IcmdReadWriteProjectImpl::ModuleKindIsEmpty(ImodelModule& module, ideModuleInfoType kind)
{
    // A list that is empty stays so when brought up to date; asking for it
    // would make one.
    switch (kind) {
    case ideExcludePackageForSynthesis:
        return !module.HasPackagesToIgnore(ideSYNTHESIS) || module.GetSynthesisPackageToIgnoreList()->empty();
    case ideExcludePackageForSimulation:
        return !module.HasPackagesToIgnore(ideSIMULATION) || module.GetSimulationPackageToIgnoreList()->empty();
    case ideIncludeModuleForSimulation:
        return std::as_const(module).GetSimulationModuleToIncludeList()->empty();
    case ideCDBOrder:
        return module.GetCDBOrder().empty();
    }
    return true;
}

void IcmdReadWriteProjectImpl::WriteModuleKind(ImodelModule& module, ideModuleInfoType kind)
{
    switch (kind) {
    case ideExcludePackageForSynthesis:
        for (const IfileObject& file : *module.GetSynthesisPackageToIgnoreList()) file.Write(Out());
        break;
    case ideExcludePackageForSimulation:
        for (const IfileObject& file : *module.GetSimulationPackageToIgnoreList()) file.Write(Out());
        break;
    case ideIncludeModuleForSimulation:
        for (const VyIfaces::ComponentID& id : *std::as_const(module).GetSimulationModuleToIncludeList()) {
            const std::string text = IcmdWriteComponentID(id);
            if (IcmdIsStorableValue(text)) m_out << text << "\n";
        }
        break;
    case ideCDBOrder:
        for (const IfileObject& file : module.GetCDBOrder()) file.Write(Out());
        break;
    }
}

void IcmdReadWriteProjectImpl::ReadModuleFiles(const Lines& lines, FileList& into, const int* defaultType)
{
    IfileManager* files = Imodel::GetInstance().GetFileManager();
    for (const std::string& line : lines) {
        if (line.empty() || !IcmdIsStorableValue(line)) continue;
        IfileObject file;
        if (line.find(',') == std::string::npos) {
            if (!defaultType) continue;
            file = IfileObject(ImodelFileName(line), static_cast<zorpaFileManagerTypes>(*defaultType), ImodelFMInternal,
                               true, false);
            IfileNamesInCopy::Apply(file);
            IfileRenamesInCase::Apply(file);
        } else {
            file = IfileObject(line, m_converters);
        }
        // Only members of the project belong to a module's lists.
        if (!files || !files->ContainsFile(file)) continue;
        if (std::find(into.begin(), into.end(), file) == into.end()) into.push_back(file);
    }
}

void IcmdReadWriteProjectImpl::ReadModuleKind(ImodelModule& module, ideModuleInfoType kind, const Lines& lines)
{
    static constexpr int kHdl = zorpaFT_HDL;
    static constexpr int kCdb = zorpaFT_ARM_DB;
    switch (kind) {
    case ideExcludePackageForSynthesis:
        ReadModuleFiles(lines, *module.GetSynthesisPackageToIgnoreList(), &kHdl);
        break;
    case ideExcludePackageForSimulation:
        ReadModuleFiles(lines, *module.GetSimulationPackageToIgnoreList(), &kHdl);
        break;
    case ideIncludeModuleForSimulation:
        for (const std::string& line : lines)
            if (!line.empty()) module.GetSimulationModuleToIncludeList()->push_back(IcmdReadComponentID(line));
        break;
    case ideCDBOrder: {
        FileList order = module.GetCDBOrder();
        ReadModuleFiles(lines, order, &kCdb);
        module.SetCDBOrder(order, false);
        break;
    }
    }
}

unsigned IcmdReadWriteProjectImpl::FactsOf(ImodelModule& module)
{
    unsigned facts = FactsWithoutPackages(module);
    if (!ModuleKindIsEmpty(module, ideExcludePackageForSimulation)) facts |= kSimulationPackages;
    if (!ModuleKindIsEmpty(module, ideExcludePackageForSynthesis)) facts |= kSynthesisPackages;
    return facts;
}

unsigned IcmdReadWriteProjectImpl::FactsWithoutPackages(const ImodelModule& module) const
{
    unsigned facts = 0;
    const auto note = [&facts](bool holds, ModuleFact fact) {
        if (holds) facts |= fact;
    };
    note(!module.GetAssociatedFileListConst().empty(), kAssociated);
    note(ImodelIsPhySynthCustomized(*module.GetPhySynthOptions(), m_defaultUseSynplifySDC), kPhySynthesis);
    note(!module.GetCDBOrder().empty(), kCdbOrder);
    note(!module.GetSimulationModuleToIncludeList()->empty(), kIncluded);
    note(UsesCustomizedList(module), kCustomizedInUse);
    note(!module.GetCustomizedFileLists().empty(), kCustomizedLists);
    note(!module.GetStimulusList().empty(), kStimulus);
    note(!module.GetSynthesisConstraintFileList().empty(), kConstraints);
    note(HasStates(module), kStates);
    return facts;
}

bool IcmdReadWriteProjectImpl::WriteModuleInfo(ImodelModule* module)
{
    return module && WriteModuleInfo(*module, FactsOf(*module));
}

bool IcmdReadWriteProjectImpl::WriteModuleInfo(ImodelModule& module, unsigned facts)
{
    // The module file alone makes no block.
    if ((facts & ~kCustomizedLists) == 0) return false;
    const std::string id = IcmdWriteComponentID(module.GetComponentID());
    if (id.empty() || !IcmdIsStorableValue(id)) return false;
    m_out << "LIST \"" << id << "\"\n";
    if (const auto file = module.GetModuleFile()) m_out << "FILE \"" << file->GetWriteFileLine() << "\"\n";
    if (facts & kAssociated)
        IfileWriteFileList(module.GetAssociatedFileListConst(), Out(), "LIST Other_Association", "ENDLIST");
    if (facts & kPhySynthesis) {
        m_out << "LIST PhySynthesisOptions\n";
        std::as_const(module).GetPhySynthOptions()->WriteToFile(Out());
        m_out << "ENDLIST\n";
    }
    for (const auto& [kind, fact] :
         {std::pair{ideCDBOrder, kCdbOrder}, std::pair{ideIncludeModuleForSimulation, kIncluded},
          std::pair{ideExcludePackageForSimulation, kSimulationPackages},
          std::pair{ideExcludePackageForSynthesis, kSynthesisPackages}}) {
        if (!(facts & fact)) continue;
        m_out << "LIST " << KindListName(kind) << "\n";
        WriteModuleKind(module, kind);
        m_out << "ENDLIST\n";
    }
    if (facts & kCustomizedInUse) {
        m_out << "LIST UserCustomizedFileList\n";
        for (const auto& list : module.GetCustomizedFileLists())
            if (list.IsUsed()) list.WriteToFile(Out());
        m_out << "ENDLIST \n";
    }
    if (facts & kStimulus) IfileWriteFileList(module.GetStimulusList(), Out(), "LIST AssociatedStimulus", "ENDLIST");
    if (facts & kConstraints)
        IfileWriteFileList(module.GetSynthesisConstraintFileList(), Out(), "LIST SynthesisConstraints", "ENDLIST");
    if (facts & kStates) {
        m_out << "LIST ProjectState5.1\n";
        module.GetContext()->WriteStates(Out());
        m_out << "ENDLIST\n";
    }
    m_out << "ENDLIST\n";
    return true;
}

void IcmdReadWriteProjectImpl::TakeDesignFacts()
{
    // Each module of the design once: what it has to write, for the block of
    // "NewModulesInfo" and for the lists of the older layout and the states,
    // which are written after it and need not walk the hierarchy for a kind
    // of setting no module has.
    if (m_designFacts) return;
    m_designFacts = 0;
    m_modulesWithStates.clear();
    if (m_unitFactsThread.joinable()) {
        m_unitFactsThread.join();
    } else {
        GatherUnitFacts();
    }
    UnitFacts gathered = std::exchange(m_unitFacts, UnitFacts());
    if (gathered.failure) std::rethrow_exception(gathered.failure);
    for (const auto& [module, asked] : gathered.kept) {
        // A unit listing packages to leave out has its lists brought up to
        // date as it is asked: asked here, in order.
        const unsigned facts = asked == kAskOnThisThread ? FactsOf(*module) : asked;
        *m_designFacts |= facts;
        // A unit with nothing to write, or only its customized lists
        // (written elsewhere), makes no block.
        if ((facts & ~kCustomizedLists) != 0) m_moduleFacts.emplace_back(module, facts);
        if (facts & kStates) m_modulesWithStates.push_back(module);
    }
}

void IcmdReadWriteProjectImpl::StartGatheringUnitFacts()
{
    // Walking the libraries' units waits for memory at every unit, as
    // writing the file list does for every file: the two go side by side.
    // Until the units are asked for, the save only reads files and options.
    // A small design is not worth a thread.
    if (m_designFacts || m_unitFactsThread.joinable()) return;
    std::size_t total = 0;
    const auto libraries = Imodel::GetInstance().GetDesignManager()->GetLibraries();
    for (auto library = libraries.first; library != libraries.second; ++library)
        if (*library) {
            const auto& units = *(*library)->GetModules();
            // The thread only reads the sets: each is put in order here.
            units.Settle();
            total += units.size();
        }
    if (total < kUnitsPerSlice) return;
    try {
        m_unitFactsThread = std::thread([this] { GatherUnitFacts(); });
    } catch (const std::system_error&) {
        // Gathered when first asked for, on the calling thread.
    }
}

void IcmdReadWriteProjectImpl::GatherUnitFacts()
{
    try {
        std::vector<const UnitSet*> sets;
        std::size_t total = 0;
        const auto libraries = Imodel::GetInstance().GetDesignManager()->GetLibraries();
        for (auto library = libraries.first; library != libraries.second; ++library) {
            if (!*library) continue;
            sets.push_back((*library)->GetModules().get());
            total += sets.back()->size();
        }
        // Every unit is asked, but only those with something to write need
        // the libraries' order: the units are taken from the libraries'
        // indexes, which lie in two arrays, and those with facts are put in
        // order once asked.
        std::vector<ImodelModule*>& units = m_unitFacts.units;
        units.clear();
        units.reserve(total);
        std::vector<char> inOrder;
        for (const UnitSet* set : sets) {
            const std::size_t start = units.size();
            inOrder.push_back(!set->CollectUnordered(units));
            if (inOrder.back()) {
                WalkInOrder(*set, units);
            } else {
                // Asked in the order they lie in memory, which is mostly the
                // order they were made in: a unit's neighbours share its
                // pages and cache lines, and so do their contexts.
                ImodelSortByAddress(units.data() + start, units.data() + units.size());
            }
        }
        m_unitFacts.facts.assign(units.size(), 0);
        ImodelSplitWork(units.size(), ImodelSlicesFor(units.size(), kUnitsPerSlice),
                        [this](std::size_t, std::size_t first, std::size_t last) { AskUnits(first, last); });
        KeepUnitsWithFacts(sets, inOrder);
    } catch (...) {
        m_unitFacts.failure = std::current_exception();
    }
}

void IcmdReadWriteProjectImpl::WalkInOrder(const UnitSet& set, std::vector<ImodelModule*>& units)
{
    // From both ends at once: walking the tree waits for each node before
    // the next can be found, and the two waits overlap.
    const std::size_t start = units.size();
    units.resize(start + set.size());
    std::size_t front = start;
    std::size_t back = units.size();
    auto forward = set.begin();
    auto backward = set.end();
    while (front < back) {
        units[front++] = *forward++;
        if (front < back) units[--back] = *--backward;
    }
}

void IcmdReadWriteProjectImpl::KeepUnitsWithFacts(const std::vector<const UnitSet*>& sets,
                                                  const std::vector<char>& inOrder)
{
    // Each library's units with something to write (or to be asked on the
    // saving thread), in the library's order. A few are sorted; when many
    // have facts, a walk of the library's order costs less than sorting
    // them, which compares units scattered in memory.
    const std::vector<ImodelModule*>& units = m_unitFacts.units;
    const std::vector<unsigned>& facts = m_unitFacts.facts;
    std::vector<std::pair<ImodelModule*, unsigned>>& kept = m_unitFacts.kept;
    std::vector<std::pair<ImodelModule*, unsigned>> library;
    std::size_t start = 0;
    for (std::size_t which = 0; which < sets.size(); ++which) {
        const std::size_t end = start + sets[which]->size();
        library.clear();
        for (std::size_t i = start; i < end; ++i)
            if (facts[i] != 0) library.emplace_back(units[i], facts[i]);
        if (!inOrder[which]) PutInOrder(*sets[which], library);
        kept.insert(kept.end(), library.begin(), library.end());
        start = end;
    }
}

void IcmdReadWriteProjectImpl::PutInOrder(const UnitSet& set, std::vector<std::pair<ImodelModule*, unsigned>>& units)
{
    const std::size_t count = units.size();
    if (count <= 64 || count * static_cast<std::size_t>(std::bit_width(count)) <= set.size()) {
        std::sort(units.begin(), units.end(),
                  [](const auto& a, const auto& b) { return UnitSet::Precedes(*a.first, *b.first); });
        return;
    }
    std::unordered_map<const ImodelModule*, unsigned> factsOf(units.begin(), units.end());
    std::vector<ImodelModule*> walked;
    WalkInOrder(set, walked);
    units.clear();
    for (ImodelModule* unit : walked)
        if (const auto found = factsOf.find(unit); found != factsOf.end()) units.emplace_back(unit, found->second);
}

void IcmdReadWriteProjectImpl::AskUnits(std::size_t first, std::size_t last)
{
    // Most units have nothing to save: looking at each is mostly waiting
    // for memory (the unit, its context), prefetched some units ahead.
    // Asking a unit only reads it, but for the package lists, which are
    // brought up to date against the file manager: such a unit is left to
    // the thread that saves.
    std::vector<unsigned>& facts = m_unitFacts.facts;
    std::size_t at = first;
    const std::span<const ImodelModule* const> slice(m_unitFacts.units.data() + first, last - first);
    ImodelVisitAhead(slice, &ImodelPrefetchUnitAhead, [&](const ImodelModule* module) {
        facts[at++] = module->HasPackagesToIgnore() ? kAskOnThisThread : FactsWithoutPackages(*module);
    });
}

bool IcmdReadWriteProjectImpl::DesignHas(unsigned facts)
{
    TakeDesignFacts();
    return (*m_designFacts & facts) != 0;
}

void IcmdReadWriteProjectImpl::ReadModuleInfo(ImodelModule* module, LineIterator& line, LineIterator end)
{
    Lines sub;
    while (line != end) {
        if (StartsWith(*line, "FILE")) {
            std::string text = line->substr(4);
            text.erase(0, text.find_first_not_of(" \t\""));
            text.erase(text.find_last_not_of(" \t\"") + 1);
            if (!module->GetModuleFile() && !text.empty() && IcmdIsStorableValue(text)) {
                const IfileObject file(text, m_converters);
                module->SetModuleFileName(file.GetFullFileName().GetString(), nullptr, false);
            }
            ++line;
        } else if (TakeSubList("Other_Association", line, end, sub)) {
            ReadModuleFiles(sub, module->GetAssociatedFileList(), nullptr);
        } else if (TakeSubList("PhySynthesisOptions", line, end, sub)) {
            sub.push_back("ENDLIST");
            if (ImodelPhySynthesisOptions* options = module->GetPhySynthOptions())
                options->ReadFromFile(sub, m_converters);
        } else if (TakeSubList(KindListName(ideCDBOrder), line, end, sub)) {
            ReadModuleKind(*module, ideCDBOrder, sub);
        } else if (TakeSubList(KindListName(ideIncludeModuleForSimulation), line, end, sub)) {
            ReadModuleKind(*module, ideIncludeModuleForSimulation, sub);
        } else if (TakeSubList(KindListName(ideExcludePackageForSimulation), line, end, sub)) {
            ReadModuleKind(*module, ideExcludePackageForSimulation, sub);
        } else if (TakeSubList(KindListName(ideExcludePackageForSynthesis), line, end, sub)) {
            ReadModuleKind(*module, ideExcludePackageForSynthesis, sub);
        } else if (TakeSubList("UserCustomizedFileList", line, end, sub)) {
            module->ReadCustomizedSourceFileList(sub, m_converters);
        } else if (TakeSubList("AssociatedStimulus", line, end, sub)) {
            ReadModuleFiles(sub, *module->GetStimulusListPtr(), nullptr);
        } else if (TakeSubList("SynthesisConstraints", line, end, sub)) {
            FileList constraints = module->GetSynthesisConstraintFileList();
            ReadModuleFiles(sub, constraints, nullptr);
            module->SetSynthesisConstraintFileList(constraints);
        } else if (TakeSubList("ProjectState5.1", line, end, sub)) {
            ReadModuleStates(module, sub, false);
        } else {
            return;
        }
    }
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_NewModuleInfo(double)
{
    if (Writing()) {
        m_out << "LIST NewModulesInfo\n";
        std::set<const ImodelModule*> written;
        TakeDesignFacts();
        for (const auto& [module, facts] : m_moduleFacts) {
            if (!WriteModuleInfo(*module, facts)) continue;
            if (const ImodelModule* removed = ImodelModule::FindDeletedModuleInfo(module)) written.insert(removed);
        }
        // The settings of modules that left the project survive a save.
        for (const ImodelModule::Owned& removed : ImodelModule::GetRemovedModuleList())
            if (!written.count(removed.get())) WriteModuleInfo(removed.get());
        m_out << "ENDLIST\n";
        return true;
    }
    if (!FullRead()) return true;
    Lines lines;
    m_newModuleInfo = TakeList(lines, "NewModulesInfo", true);
    // A list that runs to the end of the file is reported as such.
    if (!m_newModuleInfo || !m_damage.empty()) return true;
    for (LineIterator line = lines.begin(); line != lines.end();) {
        const std::string& head = *line;
        std::string text;
        if (head.find(' ') == std::string::npos || !StartsWith(head, "LIST ") ||
            !IcmdQuotedText(head.substr(head.find(' ') + 1), text) || text.empty())
            return Damaged("the module head '" + head + "' of NewModulesInfo has no quoted module");
        ++line;
        const VyIfaces::ComponentID id = IcmdReadComponentID(text);
        ImodelModule* module = ImodelFindModule(id);
        std::unique_ptr<ImodelModule> temporary;
        if (!module) {
            temporary = std::make_unique<ImodelModule>(id.name, nullptr, zorpaMODULE_UNKNOWN, false, id.library,
                                                       id.package, false);
            module = temporary.get();
        }
        ReadModuleInfo(module, line, lines.end());
        // What is left of the block up to its ENDLIST is not ours to read.
        Lines rest;
        CollectBlock(line, lines.end(), rest);
        if (temporary) {
            const auto file = temporary->GetModuleFile();
            if (file && !file->IsLocalFile()) ImodelModule::SaveDeletedModuleInfo(temporary.get());
        }
    }
    return true;
}

// --- the older layout -------------------------------------------------------------------------------

const std::vector<ImodelModule*>& IcmdReadWriteProjectImpl::TreeOrder()
{
    if (!m_treeOrder) m_treeOrder = ImodelUnitsInTreeOrder(Imodel::GetInstance().GetDesignManager()->GetModuleTree());
    return *m_treeOrder;
}

const std::vector<ImodelModule*>& IcmdReadWriteProjectImpl::FirstOfEachName()
{
    // The older layout writes a name once, for the first module of that name
    // that a walk along every path meets (whether that module has something
    // to write or not): the first of each name in the order in which a walk
    // visiting each module once meets them.
    if (m_firstOfEachName) return *m_firstOfEachName;
    m_firstOfEachName.emplace();
    std::unordered_set<std::string_view> names;
    for (ImodelModule* module : TreeOrder())
        if (names.insert(module->GetName()).second) m_firstOfEachName->push_back(module);
    return *m_firstOfEachName;
}

void IcmdReadWriteProjectImpl::WriteModuleListInfo(ideModuleInfoType kind)
{
    m_out << "LIST " << KindListName(kind) << "\n";
    // The names are walked only when a module has data of the kind.
    static const std::pair<ideModuleInfoType, ModuleFact> kFacts[] = {
        {ideCDBOrder, kCdbOrder},
        {ideIncludeModuleForSimulation, kIncluded},
        {ideExcludePackageForSimulation, kSimulationPackages},
        {ideExcludePackageForSynthesis, kSynthesisPackages}};
    const auto fact =
        std::find_if(std::begin(kFacts), std::end(kFacts), [kind](const auto& entry) { return entry.first == kind; });
    const std::vector<ImodelModule*> none;
    for (ImodelModule* module : fact != std::end(kFacts) && DesignHas(fact->second) ? FirstOfEachName() : none) {
        if (ModuleKindIsEmpty(*module, kind) || !IcmdIsStorableValue(module->GetName())) continue;
        m_out << "LIST " << module->GetName() << "\n";
        WriteModuleKind(*module, kind);
        m_out << "ENDLIST\n";
    }
    m_out << "ENDLIST\n";
}

bool IcmdReadWriteProjectImpl::ReadModuleListInfo(ideModuleInfoType kind)
{
    Lines lines;
    if (!TakeList(lines, KindListName(kind), true)) return true;
    Lines block;
    for (LineIterator line = lines.begin(); line != lines.end();) {
        if (!StartsWith(*line, "LIST ")) {
            ++line;
            continue;
        }
        const std::string text = line->substr(line->find(' ') + 1);
        ++line;
        CollectBlock(line, lines.end(), block);
        if (ImodelModule* module = ImodelFindModule(IcmdReadComponentID(text))) ReadModuleKind(*module, kind, block);
    }
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_ModuleInfo_Type(ideModuleInfoType kind)
{
    if (Writing()) {
        WriteModuleListInfo(kind);
    } else if (FullRead() && !m_newModuleInfo) {
        ReadModuleListInfo(kind);
    }
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_ModuleInfo(double)
{
    for (ideModuleInfoType kind :
         {ideExcludePackageForSimulation, ideExcludePackageForSynthesis, ideIncludeModuleForSimulation, ideCDBOrder})
        ProjectFileObject_ModuleInfo_Type(kind);
    return true;
}

void IcmdReadWriteProjectImpl::WriteModuleAssociation(FileListAsIs list, ModuleFact fact)
{
    if (!DesignHas(fact)) return;
    for (ImodelModule* module : FirstOfEachName()) {
        if (list(*module).empty() || !IcmdIsStorableValue(module->GetName())) continue;
        IfileWriteFileList(list(*module), Out(), ("LIST " + module->GetName()).c_str(), "ENDLIST");
    }
}

void IcmdReadWriteProjectImpl::ReadModuleAssociation(LineIterator& line, LineIterator end, FileListOf list,
                                                     const int* defaultType)
{
    const std::string text = line->substr(line->find(' ') + 1);
    ++line;
    Lines block;
    CollectBlock(line, end, block);
    if (ImodelModule* module = ImodelFindModule(IcmdReadComponentID(text)))
        ReadModuleFiles(block, list(*module), defaultType);
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_StimulusAssociation(double)
{
    if (Writing()) {
        m_out << "LIST AssociatedStimulus\n";
        WriteModuleAssociation(&StimulusAsIs, kStimulus);
        m_out << "ENDLIST\n";
        return true;
    }
    if (!FullRead()) return true;
    Lines lines;
    const bool found = TakeList(lines, "StimulusAssociation", true) || TakeList(lines, "AssociatedStimulus", true);
    if (!found || m_newModuleInfo) return true;
    IfileManager* files = Imodel::GetInstance().GetFileManager();
    for (LineIterator line = lines.begin(); line != lines.end();) {
        std::string moduleText;
        std::string fileName;
        if (StartsWith(*line, "LIST ")) {
            ReadModuleAssociation(line, lines.end(), &Stimulus, nullptr);
            continue;
        }
        // The oldest form: one association per line, module then test bench.
        if (IcmdSplitAtLastComma(*line, moduleText, fileName) && files) {
            const IfileObject bench(ImodelFileName(fileName), zorpaFT_TB_HDL, ImodelFMInternal, true, false);
            const IfileManager::Entry entry = files->GetFile(bench);
            ImodelModule* module = ImodelFindModule(IcmdReadComponentID(moduleText));
            if (entry && entry->GetFileType() == zorpaFT_TB_HDL && module) {
                std::deque<IfileObject> stimulus = module->GetStimulusList();
                stimulus.push_back(static_cast<const IfileObject&>(*entry));
                module->SetNewStimulusList(stimulus, nullptr);
            }
        }
        ++line;
    }
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_Other_Association(double)
{
    if (Writing()) {
        m_out << "LIST Other_Association\n";
        WriteModuleAssociation(&AssociatedAsIs, kAssociated);
        m_out << "ENDLIST\n";
        return true;
    }
    if (!FullRead()) return true;
    Lines lines;
    if (!TakeList(lines, "Other_Association", true) || m_newModuleInfo) return true;
    for (LineIterator line = lines.begin(); line != lines.end();) {
        if (StartsWith(*line, "LIST ")) {
            ReadModuleAssociation(line, lines.end(), &Associated, nullptr);
        } else {
            ++line;
        }
    }
    return true;
}

void IcmdReadWriteProjectImpl::WriteCustomizedSourceFileLists()
{
    // A module goes once, at the first place a walk of the hierarchy meets
    // it. Its block names the module alone, so a copy per place it stands
    // in says nothing more, and the places of a module deep in shared
    // blocks are exponentially many.
    // A module whose lists are all out of use (kept, not saved) would write
    // an empty block, which an open drops: it has none.
    if (!DesignHas(kCustomizedLists)) return;
    const auto inUse = [](const auto& list) { return list.IsUsed(); };
    for (ImodelModule* module : TreeOrder()) {
        const auto& lists = module->GetCustomizedFileLists();
        if (std::any_of(lists.begin(), lists.end(), inUse)) module->WriteCustomizedSourceFileList(Out());
    }
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_CustomizedSourceFilesList(double)
{
    if (Writing()) {
        m_out << "LIST UserCustomizedFileList\n";
        WriteCustomizedSourceFileLists();
        m_out << "ENDLIST\n";
        return true;
    }
    if (!FullRead()) return true;
    Lines lines;
    if (!TakeList(lines, "UserCustomizedFileList", true) || m_newModuleInfo) return true;
    for (LineIterator line = lines.begin(); line != lines.end();) {
        std::string text;
        if (!StartsWith(*line, "LIST") || !IcmdQuotedText(*line, text)) {
            ++line;
            continue;
        }
        ++line;
        Lines block;
        CollectBlock(line, lines.end(), block);
        if (ImodelModule* module = ImodelFindModule(IcmdReadComponentID(text))) {
            block.push_back("ENDLIST");
            module->ReadCustomizedSourceFileList(block, m_converters);
        }
    }
    return true;
}

void IcmdReadWriteProjectImpl::WritePhySynthesis()
{
    // Once per module, as the customized source lists.
    if (!DesignHas(kPhySynthesis)) return;
    for (ImodelModule* module : TreeOrder()) {
        const ImodelPhySynthesisOptions& options = *std::as_const(*module).GetPhySynthOptions();
        if (!ImodelIsPhySynthCustomized(options, m_defaultUseSynplifySDC) || !IcmdIsStorableValue(module->GetName()))
            continue;
        m_out << "LIST \"" << module->GetName() << "\"\n";
        options.WriteToFile(Out());
        m_out << "ENDLIST\n";
    }
}

// --- process states ---------------------------------------------------------------------------------

void IcmdReadWriteProjectImpl::WriteStates(ImodelModule* module)
{
    if (!module || !HasStates(*module)) return;
    const std::string id = IcmdWriteComponentID(module->GetComponentID());
    if (id.empty() || !IcmdIsStorableValue(id)) return;
    m_out << "LIST \"" << id << "\"\n";
    module->GetContext()->WriteStates(Out());
    m_out << "ENDLIST\n";
}

void IcmdReadWriteProjectImpl::ReadModuleStates(ImodelModule* module, Lines& lines, bool top)
{
    ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    if (!context) return;
    lines.push_back("ENDLIST");
    int major = -1;
    int minor = -1;
    GetProjVer(major, minor);
    const bool older = top && (major < 6 || (major == 6 && minor < 2));
    bool useSynth = false;
    std::string last;
    std::vector<std::string> outOfDate;
    context->ReadStates(lines, last, useSynth, m_parser.GetFilesRead(), m_parser.GetPalladorFilesRead(), older,
                        outOfDate, m_converters);
    if (top && useSynth) m_modulesWithSynthOption.push_back(module);
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_State(double)
{
    Imodel& model = Imodel::GetInstance();
    if (Writing()) {
        m_out << "LIST ProjectState5.1\n";
        TakeDesignFacts();
        for (ImodelModule* module : m_modulesWithStates) WriteStates(module);
        m_out << "ENDLIST\n";
        return true;
    }
    if (!FullRead()) return true;
    if (!m_newModuleInfo) {
        Lines lines;
        Lines block;
        if (TakeList(lines, "ProjectState5.1", true)) {
            for (LineIterator line = lines.begin(); line != lines.end();) {
                std::string text;
                if (!StartsWith(*line, "LIST") || !IcmdQuotedText(*line, text)) {
                    ++line;
                    continue;
                }
                ++line;
                CollectBlock(line, lines.end(), block);
                ReadModuleStates(ImodelFindModule(IcmdReadComponentID(text)), block, true);
            }
        } else if (TakeList(lines, "ProjectState", true)) {
            if (model.IsDebugMsg()) SysDebugPrintf("Process Engine: Restoring 5.0 state\n");
            Restore2_3ProjectStates();
            for (const std::string& line : lines) {
                if (!StartsWith(line, "VALUE")) continue;
                const std::size_t first = line.find('"');
                const std::size_t second = first == std::string::npos ? first : line.find('"', first + 1);
                if (second == std::string::npos) continue;
                const std::string moduleText = line.substr(first + 1, second - first - 1);
                std::string rest = line.substr(second + 1);
                rest.erase(0, rest.find_first_not_of(' '));
                const std::size_t semicolon = rest.find(';');
                int tools = -1;
                int files = -1;
                if (semicolon != std::string::npos) {
                    tools = IcmdLeadingNumber(rest.substr(0, semicolon));
                    if (semicolon + 1 < rest.size()) files = IcmdLeadingNumber(rest.substr(semicolon + 1));
                }
                Restore5_0ProjectState(ImodelFindModule(IcmdReadComponentID(moduleText)), tools, files);
            }
        } else {
            if (model.IsDebugMsg()) SysDebugPrintf("Process Engine: Restoring 2.3 state\n");
            Restore2_3ProjectStates();
        }
    }
    ImodelSetAndRestoreModelFlagObject notReading(Imodel::GetIsReadingProject(), false);
    m_parser.DeleteFiles();
    return true;
}

void IcmdReadWriteProjectImpl::Restore2_3ProjectStates()
{
    Imodel& model = Imodel::GetInstance();
    if (!model.GetHost()) return;
    ImodelSetAndRestoreModelFlagObject notReading(Imodel::GetIsReadingProject(), false);
    for (ImodelModule* module : ImodelUnitsInTreeOrder(model.GetDesignManager()->GetModuleTree())) {
        IprocessFlow* flow = module->GetContext() ? model.GetProcessManager()->GetFlowForModule(module) : nullptr;
        if (!flow) continue;
        // The states are worked out again from the files of the module's flow.
        for (IprocessFileObject* node : flow->GetFileObjects()) {
            const auto file = node ? node->GetFileManagerObject(module, module->GetContext(), false, false, false)
                                   : IfileManager::Entry();
            if (file && UtlDoesFileExist(file->GetFullFileName().GetString()))
                model.GetStateMachine()->FileModificationMessage(QuorlaneFileChanged, file);
        }
    }
}

void IcmdReadWriteProjectImpl::Restore5_0ProjectState(ImodelModule* module, int toolStates, int fileStates)
{
    ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    if (!context || !Imodel::GetInstance().GetHost()) return;
    if (toolStates != -1) {
        static constexpr imodelToolState kToolStates[] = {StateNoResult, StateFailure, StateNoResult, StateSuccess};
        for (int position = 0; position < 4; ++position) {
            const int digit = GetStateFromID(toolStates, position);
            if (digit > 3) continue;
            const imodelToolState state = kToolStates[digit];
            context->SetToolState(static_cast<ImodelFunctionType>(position), nullptr, state, state == StateNoResult);
        }
    }
    if (fileStates != -1) {
        static constexpr imodelSolvatoState kDesignStates[] = {Pre_Synthesis, Post_Synthesis, Post_Layout};
        const int digit = GetStateFromID(fileStates, 0);
        if (digit <= 2) context->SetSolvatoState(kDesignStates[digit]);
        // The synthesis netlist, the back-annotated HDL netlist and SDF file:
        // only a digit 2 changes something, marking an existing file out of date.
        static constexpr zorpaFileManagerTypes kNetlists[] = {zorpaFT_SYN_EDN, zorpaFT_BA_HDL, zorpaFT_BA_SDF};
        IprocessFlow* flow = Imodel::GetInstance().GetProcessManager()->GetFlowForModule(module);
        for (int position = 1; flow && position <= 3; ++position) {
            if (GetStateFromID(fileStates, position) != 2) continue;
            IprocessFileObject* node = flow->GetFileObject(kNetlists[position - 1]);
            const auto file =
                node ? node->GetFileManagerObject(module, context, false, false, false) : IfileManager::Entry();
            if (!file || !UtlDoesFileExist(file->GetFullFileName().GetString())) continue;
            file->SetFileState(imodelFileOutOfDate);
            if (position == 1)
                if (ImodelRevContextImpl* current = context->GetCurRevContext())
                    current->SetToolStateForFile(ideSYNTHESIS, file, StateNoResult);
        }
    }
}
