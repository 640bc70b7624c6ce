// Telling the views once per unit while many files are read in a row.
//
// Each parse tells the views of every unit below and just above the units the
// file defines (ImodelModule::GetAllRelatedModules(set, -1, 1)). When a project
// is read file after file, a unit high in a design of shared blocks is below
// almost every file, and is told of once per file: the read grows with the
// files times the size of the design. While a batch is open, a parse hands
// those units to the batch instead; each unit is told of once, when the
// outermost batch closes, with the event a first telling then carries (added
// while it cannot be shown in a view yet, modified after), and the walk of a
// later file stops at a unit whose whole subtree is gathered already. Units
// destroyed meanwhile are not told of. The views learn of the same units;
// what each holds afterwards is the same.
#pragma once

#include "ievent/IeventModuleRegistry.h"
#include "imodel/design/ImodelModule.h"
#include "zorpa/ZorpaFlatIndex.h"

#include <boost/container/small_vector.hpp>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class ImodelModuleNoticeBatch {
public:
    // Opens a batch; inside another, the units go to the outer one. An
    // outermost batch makes room for `units` notices at once.
    explicit ImodelModuleNoticeBatch(std::size_t units = 0);
    // The outermost batch tells the views of its units.
    ~ImodelModuleNoticeBatch();
    ImodelModuleNoticeBatch(const ImodelModuleNoticeBatch&) = delete;
    ImodelModuleNoticeBatch& operator=(const ImodelModuleNoticeBatch&) = delete;

    // The outermost open batch; null when none is open or batches are off.
    static ImodelModuleNoticeBatch* Current();
    // Batches on (the default) or off; off, every parse tells the views at
    // once, the plain way (for comparing the two).
    static void Enable(bool enabled);

private:
    // The units met in one file, one per place in the unit order as in the
    // set of GetAllRelatedModules, found by their lower-cased name: a file
    // that instantiates a hundred thousand units would otherwise have each
    // compared down a tree with units read from all over memory. Units of
    // one name that stand at different places (other libraries, other
    // files) share the name's entry.
    struct Met {
        ImodelModule* unit;
        // Walked down in this file.
        bool down;
    };
    using MetOfName = boost::container::small_vector<Met, 1>;
    struct NameOfMet {
        std::string_view operator()(const MetOfName& met) const { return met.front().unit->GetUnitOrder().name; }
    };
    using MetIndex = ZorpaFlatIndex<MetOfName, NameOfMet, std::hash<std::string_view>, std::equal_to<>>;

public:
    // A unit the read changed without a walk from it (the units of a file
    // refused for a unit defined twice keep what its parse gave them): no
    // later walk stops at it or above it, so what lies below it now is
    // gathered as the plain way would tell of it.
    void Changed(ImodelModule* unit);

    // The units of one parsed file. Open one per file, hand it the units the
    // file defines (Defined) before walking from any of them, then walk.
    class FileWalk {
    public:
        explicit FileWalk(ImodelModuleNoticeBatch& batch);
        ~FileWalk();
        FileWalk(const FileWalk&) = delete;
        FileWalk& operator=(const FileWalk&) = delete;

        // A unit the file defines: its sub-blocks may have changed.
        void Defined(ImodelModule* unit);
        // The unit alone, as a set insert would take it.
        void Unit(ImodelModule* unit);
        // The unit, its parents and every unit below it that this file's
        // walk has not met yet, as GetAllRelatedModules(set, -1, 1) on one
        // set per file would; a subtree gathered before is not walked again.
        void Related(ImodelModule* root);

    private:
        // The unit met at the place of `unit` in the unit order, and
        // whether `unit` is the first met there.
        std::pair<Met*, bool> Meet(ImodelModule* unit);

        ImodelModuleNoticeBatch& m_batch;
        MetIndex m_met;
    };

private:
    struct Notice {
        ImodelModule* module;
        IeventModuleRegistry::Serial serial;
    };

    // Gives `module` a notice unless this batch gathered it already.
    void Gather(ImodelModule* module);
    // No walk stops at the unit or any unit above it any more.
    void Uncover(ImodelModule* module);
    void Send();

    // Whether this batch gathered `module` (a unit made since at the
    // address of one gathered is not).
    bool Gathered(const ImodelModule* module) const { return module->m_noticeBatch == m_id; }
    // Everything below a unit gathered is no longer known to be gathered.
    void NotAllBelow(ImodelModule* module)
    {
        if (Gathered(module)) module->m_noticeBelow = false;
    }

    bool m_outermost;
    // Numbers the outermost batches (never 0, which no unit was gathered by).
    std::uint32_t m_id = 0;
    std::vector<Notice> m_notices;
    // The index of each file's walk, taken again by the next file's: a read
    // of many files would otherwise make an array per file.
    MetIndex m_metOfLastWalk;
    // Uncover walks up from a unit to every unit above it. A unit uncovered
    // since the last change that could make a unit above it covered again
    // (a unit found whole below, a file's units given new sub-blocks) has
    // every unit above it uncovered still: a walk stops there. Otherwise a
    // file that defines a deep chain from the bottom up would walk the rest
    // of the chain from each of its units.
    std::uint64_t m_coverings = 0;
    struct Uncovered {
        IeventModuleRegistry::Serial serial;
        std::uint64_t at;
    };
    std::unordered_map<const ImodelModule*, Uncovered> m_uncovered;
};
