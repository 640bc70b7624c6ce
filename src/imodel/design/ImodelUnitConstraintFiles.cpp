// The units' own constraint lists letting go of files that left the
// project, file by file or a batch at once.
#include "imodel/design/ImodelUnitConstraintFiles.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"
#include "imodel/views/ImodelContextImpl.h"
#include "src/imodel/design/ImodelModuleNotify.h"
#include "src/imodel/names/imodelUtlProject.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace {

using Keys = std::unordered_set<std::string>;

std::string Key(const IfileObject& file, const std::string& folder)
{
    return ImodelFileNameKey(file.GetInternalFileName().GetString(), folder);
}

// Files of one list in the order they left, with where each name key
// stands among them: a unit looks up the names it holds, not every file.
struct Leaving {
    std::vector<IfileObject> files;
    std::unordered_map<std::string, std::vector<std::size_t>> positions;

    void Add(const IfileObject& file, const std::string& folder)
    {
        positions[Key(file, folder)].push_back(files.size());
        files.push_back(file);
    }
    void Clear()
    {
        files.clear();
        positions.clear();
    }
    // The positions at or after `from` of the files named by `keys`.
    void Collect(const Keys& keys, std::size_t from, std::set<std::size_t>& out) const
    {
        for (const std::string& key : keys) {
            const auto found = positions.find(key);
            if (found == positions.end()) continue;
            const std::vector<std::size_t>& at = found->second;
            out.insert(std::lower_bound(at.begin(), at.end(), from), at.end());
        }
    }
};

// --- the synthesis list -----------------------------------------------------------------

void DropFromSynthesisList(ImodelModule& unit, const IfileObject& file)
{
    const ImodelModule::FileList& listed = unit.GetSynthesisConstraintFileList();
    const auto found = std::find(listed.begin(), listed.end(), file);
    if (found == listed.end()) return;
    ImodelModule::FileList files = listed;
    files.erase(files.begin() + (found - listed.begin()));
    unit.SetSynthesisConstraintFileList(files);
}

// The files from position `from` on, in their order; the list only shrinks,
// so the names it holds now are all that concern it.
void DropSynthesis(ImodelModule& unit, const Leaving& leaving, std::size_t from, const std::string& folder)
{
    const ImodelModule::FileList& listed = unit.GetSynthesisConstraintFileList();
    if (listed.empty() || from >= leaving.files.size()) return;
    Keys keys;
    for (const IfileObject& file : listed) keys.insert(Key(file, folder));
    std::set<std::size_t> pending;
    leaving.Collect(keys, from, pending);
    for (const std::size_t at : pending) DropFromSynthesisList(unit, leaving.files[at]);
}

// --- the physical-synthesis list --------------------------------------------------------

// The names under which the unit's list may meet a file that leaves: its
// entries and, for its flow constraint files, the files the flow gives in
// each revision (the list the removal compares). `flowFiles` tells whether
// it holds any.
Keys PhySynthKeys(const ImodelModule& unit, const std::string& folder, bool& flowFiles)
{
    const ImodelPhySynthesisOptions& options = *unit.GetPhySynthOptions();
    const std::deque<IfileObject>& stored = options.GetConstraintFileList();
    Keys keys;
    for (const IfileObject& file : stored) keys.insert(Key(file, folder));
    flowFiles = std::any_of(stored.begin(), stored.end(),
                            [](const IfileObject& file) { return !ImodelIsGenericConstraint(file); });
    if (!flowFiles || unit.GetContext() == nullptr) return keys;
    auto* module = const_cast<ImodelModule*>(&unit);
    for (ImodelRevContextImpl* revision : unit.GetContext()->GetAllRevs()) {
        std::deque<IfileObject> files;
        options.GetConstraintFileList(files, module, revision, false, nullptr);
        for (const IfileObject& file : files) keys.insert(Key(file, folder));
    }
    return keys;
}

void DropPhySynth(ImodelModule& unit, const Leaving& leaving, std::size_t from, const std::string& folder)
{
    // A unit without options of its own holds the defaults: no file.
    if (std::as_const(unit).GetPhySynthOptions()->GetConstraintFileList().empty() || from >= leaving.files.size())
        return;
    bool flowFiles = false;
    Keys keys = PhySynthKeys(unit, folder, flowFiles);
    std::set<std::size_t> pending;
    leaving.Collect(keys, from, pending);
    while (!pending.empty()) {
        const std::size_t at = *pending.begin();
        pending.erase(pending.begin());
        unit.GetPhySynthOptions()->ConstraintFileRemoved(leaving.files[at], &unit);
        unit.SettlePhySynthOptions();
        if (!flowFiles) continue;
        // The list may now hold the files the flow gave for one revision
        // in place of its flow constraint files: names met only now
        // concern the files that leave after this one.
        Keys now = PhySynthKeys(unit, folder, flowFiles);
        Keys added;
        for (const std::string& key : now)
            if (!keys.contains(key)) added.insert(key);
        leaving.Collect(added, at + 1, pending);
        keys = std::move(now);
    }
}

void Drop(ImodelUnitConstraintList list, ImodelModule& unit, const Leaving& leaving, std::size_t from,
          const std::string& folder)
{
    if (list == ImodelUnitConstraintList::Synthesis)
        DropSynthesis(unit, leaving, from, folder);
    else
        DropPhySynth(unit, leaving, from, folder);
}

// Each unit of each library once; nothing once the model is gone.
void ForEachUnit(const std::function<void(ImodelModule*)>& visit)
{
    if (ImodelAliveDesignManager() != nullptr) ImodelApplyToAllModules(visit);
}

// --- the batch ----------------------------------------------------------------------------

struct Batch {
    int depth = 0;
    std::string folder;
    Leaving synthesis;
    Leaving phySynth;
    // How many files of each list the units that left meanwhile have
    // taken already (by unit serial).
    std::unordered_map<std::uint64_t, std::pair<std::size_t, std::size_t>> taken;

    bool Empty() const { return synthesis.files.empty() && phySynth.files.empty(); }
    void Clear()
    {
        synthesis.Clear();
        phySynth.Clear();
        taken.clear();
    }
    // The files the unit has not taken yet leave its lists; `remember`
    // for a unit that leaves its library.
    void DropFrom(ImodelModule& unit, bool remember)
    {
        const auto found = taken.find(unit.GetUnitSerial());
        const auto [synthesisTaken, phySynthTaken] =
            found == taken.end() ? std::pair<std::size_t, std::size_t>() : found->second;
        DropSynthesis(unit, synthesis, synthesisTaken, folder);
        DropPhySynth(unit, phySynth, phySynthTaken, folder);
        if (remember) taken[unit.GetUnitSerial()] = {synthesis.files.size(), phySynth.files.size()};
    }
};

Batch& TheBatch()
{
    static Batch batch;
    return batch;
}

}  // namespace

void ImodelForgetUnitConstraintFiles(ImodelUnitConstraintList list, const std::vector<IfileObject>& files)
{
    if (files.empty()) return;
    const std::string folder = ImodelUtlProjectFolderText();
    Leaving leaving;
    for (const IfileObject& file : files) leaving.Add(file, folder);
    ForEachUnit([&](ImodelModule* unit) { Drop(list, *unit, leaving, 0, folder); });
}

ImodelConstraintFileBatch::ImodelConstraintFileBatch() { ++TheBatch().depth; }

ImodelConstraintFileBatch::~ImodelConstraintFileBatch()
{
    if (--TheBatch().depth == 0) Settle();
}

bool ImodelConstraintFileBatch::Keep(ImodelUnitConstraintList list, const IfileObject& file)
{
    Batch& batch = TheBatch();
    if (batch.depth == 0) return false;
    if (batch.Empty()) batch.folder = ImodelUtlProjectFolderText();
    (list == ImodelUnitConstraintList::Synthesis ? batch.synthesis : batch.phySynth).Add(file, batch.folder);
    return true;
}

void ImodelConstraintFileBatch::Settle()
{
    Batch& batch = TheBatch();
    if (batch.Empty()) return;
    // Emptied once the walk is done, however it ends.
    struct Emptied {
        Batch& batch;
        ~Emptied() { batch.Clear(); }
    } const emptied{batch};
    ForEachUnit([&](ImodelModule* unit) { batch.DropFrom(*unit, false); });
}

void ImodelConstraintFileBatch::UnitLeaves(ImodelModule& unit)
{
    Batch& batch = TheBatch();
    if (!batch.Empty()) batch.DropFrom(unit, true);
}
