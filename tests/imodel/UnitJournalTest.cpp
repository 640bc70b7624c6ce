// The save and restore of the libraries around a change of the design's
// units keeps only what the change touches. On random designs and random
// changes (files parsed again, their units gone and back under the same or
// other names, units of new names, roots moved, file stamps kept), the
// units come out of the restore with the data they would get from a copy of
// every library taken at the start, by name and by file. A change into empty
// libraries restores as noting every name would. The restore lists the
// units at names new to their library.
#include "ReparseTestSupport.h"
#include "src/imodel/design/imodelUnitJournal.h"

#include "imodel/design/ImodelDeletedModuleInfo.h"
#include "imodel/design/ImodelDestroyLib.h"
#include "imodel/design/ImodelDuplicateLibs.h"
#include "imodel/design/ImodelFreeLater.h"
#include "imodel/design/ImodelRemoveModules.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "iprocess/QuorlaneStateMachine.h"

#include <gtest/gtest.h>

#include <zorpa/ZorpaString.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using FileList = ImodelModule::FileList;

class UnitJournalTest : public ReparseFixture {
protected:
    void SetUp() override
    {
        ReparseFixture::SetUp();
        // The units' contexts hold a view: their states go and come back.
        AddView("impl_1");
    }
    static Imodel& Model() { return Imodel::GetInstance(); }

    // Units u0.. over files f0.. (one to three units a file), each with
    // data of its own: lists, expand value, CDB order.
    void MakeDesign(std::mt19937& random, int files)
    {
        m_files.clear();
        m_names.clear();
        for (int f = 0; f < files; ++f) m_files.push_back(ProjectFile("f" + std::to_string(f) + ".vhd"));
        m_extra = ProjectFile("tb.vhd", zorpaFT_TB_HDL);
        for (int f = 0; f < files; ++f) {
            const int count = 1 + static_cast<int>(random() % 3);
            for (int u = 0; u < count; ++u) {
                const std::string name = "u" + std::to_string(m_names.size());
                m_names.push_back(name);
                ImodelModule* unit = Unit(name, m_files[f]);
                unit->SetExpand(static_cast<int>(random() % 3));
                if (random() % 2) unit->SetNewStimulusList({*m_extra}, nullptr);
                if (random() % 2) unit->AddAssociatedFile(*m_files[random() % m_files.size()]);
                if (random() % 3 == 0) unit->SetCDBOrder({*m_files[random() % m_files.size()]}, false);
                GiveOtherData(random, *unit);
            }
        }
    }

    // The rest of what a restore gives back, drawn from `random`: states of
    // the unit's views (some with their views made), simulator parameters,
    // options, packages left out.
    void GiveOtherData(std::mt19937& random, ImodelModule& unit)
    {
        ImodelContextImpl& context = *unit.GetContext();
        if (random() % 4 == 0) {
            ASSERT_TRUE(context.AddRevision("impl_2"));
        }
        if (random() % 2) context.SetSolvatoState(static_cast<imodelSolvatoState>(random() % imodelSolvatoStateCount));
        if (random() % 3 == 0) {
            ASSERT_TRUE(unit.SetVSimParams("-t " + std::to_string(random() % 4)));
        }
        if (random() % 3 == 0) {
            ASSERT_TRUE(unit.GetPhySynthOptions()->SetLogSynthEffort(std::to_string(random() % 4)));
        }
        if (random() % 4 == 0) unit.GetSimulationPackageToIgnoreList()->push_back(*m_files[random() % m_files.size()]);
        // A context whose views are not made yet holds the flow's answer in
        // the sample its views will copy.
        if (random() % 2 == 0) {
            if (ImodelRevContextImpl* sample = context.PendingSample()) {
                sample->SetSolvatoState(static_cast<imodelSolvatoState>(random() % imodelSolvatoStateCount));
                sample->AddAccessibleState(static_cast<imodelSolvatoState>(random() % imodelSolvatoStateCount));
            }
        }
    }

    // What a re-parse and its neighbours do to the units, drawn from `random`.
    void Change(std::mt19937& random)
    {
        const int steps = 1 + static_cast<int>(random() % 6);
        for (int step = 0; step < steps; ++step) {
            const Entry& file = m_files[random() % m_files.size()];
            switch (random() % 5) {
            case 0:
            case 1: {
                // The file's units go and come back, some under their old
                // names, some under a name another file already uses.
                std::vector<std::string> names;
                for (ImodelModule* unit : Design().FindLibraryByName("work")->GetModules()->UnitsOfFileKey(
                         ImodelFileNameKey(file->GetInternalFileName().GetString())))
                    names.push_back(unit->GetName());
                ImodelRemoveModulesOfFile(file, nullptr, true, false, false, nullptr, nullptr);
                for (const std::string& name : names)
                    if (random() % 4 != 0) NewUnit(random() % 3 == 0 ? Drawn(random) : name, file);
                break;
            }
            case 2:
                NewUnit("n" + std::to_string(random() % 20), file);
                break;
            case 3:
                if (ImodelModule* unit = Find(Drawn(random))) unit->SetIsRoot(!unit->IsRoot());
                break;
            default:
                if (ImodelModule* unit = Find(Drawn(random))) unit->SaveTimeStamp();
                break;
            }
        }
    }

    // What else changes a unit's data, by any means a caller has, drawn
    // from `random`: its expansion, lists, options, package and unit
    // choices, customized lists, root flag, file stamp, and its views'
    // states, options and used files.
    void ChangeData(std::mt19937& random, ImodelModule& unit)
    {
        const Entry& file = m_files[random() % m_files.size()];
        ImodelContextImpl* context = unit.GetContext();
        ImodelRevContextImpl* view = context != nullptr ? context->GetCurRevContext() : nullptr;
        switch (random() % 16) {
        case 0:
            unit.SetExpand(static_cast<int>(random() % 3));
            break;
        case 1:
            EXPECT_TRUE(unit.SetVSimParams("-t " + std::to_string(random() % 4)));
            break;
        case 2:
            EXPECT_TRUE(unit.GetPhySynthOptions()->SetLogSynthEffort(std::to_string(random() % 4)));
            break;
        case 3:
            unit.SetNewStimulusList(random() % 2 ? FileList{*m_extra} : FileList{}, nullptr);
            break;
        case 4:
            unit.AddAssociatedFile(*file);
            break;
        case 5:
            unit.SetCDBOrder({*file}, random() % 2 == 0);
            break;
        case 6:
            unit.GetSimulationPackageToIgnoreList()->push_back(*file);
            break;
        case 7:
            unit.SetCustomizedFileList(random() % 2 == 0, ideSIMULATION, {file});
            break;
        case 8:
            unit.GetSimulationModuleToIncludeList()->push_back(VyIfaces::ComponentID{Drawn(random), "work", ""});
            break;
        case 9:
            unit.SetIsRoot(!unit.IsRoot());
            break;
        case 10:
            unit.SaveTimeStamp();
            break;
        case 11:
            if (context) context->SetSolvatoState(static_cast<imodelSolvatoState>(random() % imodelSolvatoStateCount));
            break;
        case 12:
            if (context) context->SetToolState(ideSYNTHESIS, nullptr, StateSuccess, false);
            break;
        case 13:
            if (view) view->UseFile(*file, false);
            break;
        case 14:
            if (view) {
                ImodelFlowOptions options = std::as_const(*view).GetFlowOptions();
                options.UsePhySynth = !options.UsePhySynth;
                view->SetFlowOptions(options);
            }
            break;
        default:
            if (view) view->AddAccessibleState(static_cast<imodelSolvatoState>(random() % imodelSolvatoStateCount));
            break;
        }
    }

    // A few units of any library, from before the change or made during
    // it, change their data (ChangeData).
    void ChangeSomeData(std::mt19937& random)
    {
        for (int i = 0, count = 1 + static_cast<int>(random() % 5); i < count; ++i) {
            const std::vector<ImodelModule*> units = AllUnits();
            if (units.empty()) return;
            ChangeData(random, *units[random() % units.size()]);
        }
    }

    // Change() and ChangeSomeData() mixed, with the libraries' list put in
    // another order and units of a second library parsed again.
    void ChangeAnyHow(std::mt19937& random)
    {
        for (int step = 0, steps = 1 + static_cast<int>(random() % 4); step < steps; ++step) {
            switch (random() % 4) {
            case 0:
                Change(random);
                break;
            case 1: {
                // A library leaves the list and comes back at its end.
                const std::string name = random() % 2 ? "work" : "lib2";
                if (const ImodelDesignManager::LibraryPtr library = Design().FindLibraryByName(name)) {
                    Design().EraseLibrary(name);
                    Design().AddLibrary(library, false);
                }
                break;
            }
            case 2:
                // A unit of the second library goes and comes back from
                // its file or another one.
                if (ImodelModule* unit = Find("v" + std::to_string(random() % 4), "lib2")) {
                    const std::string name = unit->GetName();
                    const Entry file = random() % 2 ? unit->GetModuleFile() : m_files[random() % m_files.size()];
                    Design().FindLibraryByName("lib2")->GetModules()->Erase(unit);
                    Design().FindLibraryByName("lib2")->GetModules()->Insert(
                        std::make_unique<ImodelModule>(name, file, zorpaMODULE_VHDL, false, "lib2", "", false));
                }
                break;
            default:
                ChangeSomeData(random);
                break;
            }
        }
    }

    // MakeDesign, and units v0..v3 of a second library, each with data of
    // its own.
    void MakeTwoLibraries(std::mt19937& random, int files)
    {
        MakeDesign(random, files);
        for (int v = 0; v < 4; ++v) {
            ImodelModule* unit = Unit("v" + std::to_string(v), m_files[random() % m_files.size()], "lib2");
            unit->SetExpand(static_cast<int>(random() % 3));
            GiveOtherData(random, *unit);
        }
    }

    void NewUnit(const std::string& name, const Entry& file)
    {
        auto made = std::make_unique<ImodelModule>(name, file, zorpaMODULE_VHDL, false, "work", "", false);
        Design().FindLibraryByName("work")->GetModules()->Insert(std::move(made));
    }

    std::string Drawn(std::mt19937& random) const { return m_names[random() % m_names.size()]; }

    // A change into the empty libraries of a project of four files, drawn
    // from `random`: units made during it, units made before it that come
    // in one by one or with a library that comes whole, units of those names
    // beside them, units gone with their file, data changed on the way. What
    // the libraries hold after the restore.
    //
    // With `emptied`, the libraries hold units at the start, and the change
    // may empty every library (as a refresh does) and have a library of the
    // emptied one's name come whole in its place.
    std::string ChangeIntoEmptyLibraries(std::mt19937& random, bool byName, bool emptied = false)
    {
        for (int f = 0; f < 4; ++f) m_files.push_back(ProjectFile("f" + std::to_string(f) + ".vhd"));
        const auto name = [&random] { return "a" + std::to_string(random() % 5); };
        const auto file = [&] { return random() % 4 == 0 ? Entry() : m_files[random() % m_files.size()]; };
        const auto made = [&](const std::string& library) {
            // Drawn in this order whatever order a compiler gives arguments.
            const std::string unitName = name();
            const Entry unitFile = file();
            auto unit = std::make_unique<ImodelModule>(unitName, unitFile, zorpaMODULE_VHDL, false, library, "", false);
            unit->SetExpand(static_cast<int>(random() % 3));
            return unit;
        };
        // Units from before the change, in no library yet.
        std::vector<std::unique_ptr<ImodelModule>> waiting;
        for (int i = 0, count = 1 + static_cast<int>(random() % 4); i < count; ++i) waiting.push_back(made("work"));
        const auto whole = boost::make_shared<ImodelDesignManager::Library>("lib3");
        whole->MakeModuleList();
        for (int i = 0, count = static_cast<int>(random() % 3); i < count; ++i)
            whole->GetModules()->Insert(made("lib3"));
        const auto wholeWork = boost::make_shared<ImodelDesignManager::Library>("work");
        wholeWork->MakeModuleList();
        if (emptied) {
            for (int i = 0, count = 1 + static_cast<int>(random() % 4); i < count; ++i)
                Design().AddLibrary("work", false)->GetModules()->Insert(made("work"));
            for (int i = 0, count = 1 + static_cast<int>(random() % 3); i < count; ++i)
                wholeWork->GetModules()->Insert(made("work"));
        }

        Model().SaveLibraries();
        for (int step = 0, steps = 4 + static_cast<int>(random() % 12); step < steps; ++step) {
            switch (random() % (emptied ? 8 : 6)) {
            case 0:
                Design().AddLibrary("work", false)->GetModules()->Insert(made("work"));
                break;
            case 1:
                if (!waiting.empty()) {
                    Design().AddLibrary("work", false)->GetModules()->Insert(std::move(waiting.back()));
                    waiting.pop_back();
                }
                break;
            case 2:
                Design().AddLibrary(whole, false);
                break;
            case 3:
                if (Design().FindLibraryByName("lib3")) whole->GetModules()->Insert(made("lib3"));
                break;
            case 4:
                if (ImodelModule* unit = Find(name())) unit->SetExpand(static_cast<int>(random() % 3));
                break;
            case 6:
                Design().Reset();
                break;
            case 7:
                // An emptied "work" gives its place to one that comes whole.
                if (const auto work = Design().FindLibraryByName("work");
                    work && work != wholeWork && work->GetModules()->empty()) {
                    Design().EraseLibrary("work");
                    Design().AddLibrary(wholeWork, false);
                }
                break;
            default:
                ImodelRemoveModulesOfFile(m_files[random() % m_files.size()], nullptr, true, false, false, nullptr,
                                          nullptr);
                break;
            }
        }
        std::vector<ImodelModule*> fresh;
        Model().RestoreLibraries(byName, zorpaSaveRestoreParams{false, true, false}, {&fresh});
        const std::string after = Dump() + "lib3:\n" + Dump("lib3") + "new names:\n" + Described(fresh);
        waiting.clear();
        Design().Reset();
        wholeWork->GetModules()->clear();
        Files().RemoveAllFiles();
        ImodelModule::ClearRemovedModuleList();
        m_files.clear();
        return after;
    }

    // For each seed up to `seeds`, by name and by file: the change with the
    // short cuts (the restore walking the library in order, or looking each
    // name up) leaves what it leaves when every name is noted. The changes
    // differ from one another: more than `distinct` outcomes.
    void ExpectTheShortCutsToRestoreAsNotingEveryNameDoes(unsigned seeds, bool emptied, std::size_t distinct)
    {
        std::set<std::string> outcomes;
        for (unsigned seed = 1; seed <= seeds; ++seed) {
            for (const bool byName : {true, false}) {
                imodelUnitJournal::NoteEveryName(true);
                std::mt19937 plain(seed);
                const std::string expected = ChangeIntoEmptyLibraries(plain, byName, emptied);
                imodelUnitJournal::NoteEveryName(false);
                for (const bool everyName : {false, true}) {
                    imodelUnitJournal::LookUpEveryName(everyName);
                    std::mt19937 quick(seed);
                    EXPECT_EQ(ChangeIntoEmptyLibraries(quick, byName, emptied), expected)
                        << "seed " << seed << (byName ? " by name" : " by file")
                        << (everyName ? ", each name looked up" : "");
                }
                imodelUnitJournal::LookUpEveryName(false);
                outcomes.insert(expected);
            }
        }
        EXPECT_GT(outcomes.size(), distinct);
    }

    // The units, one line each (library, name, file), sorted.
    static std::string Described(const std::vector<ImodelModule*>& units)
    {
        std::vector<std::string> lines;
        for (const ImodelModule* unit : units)
            lines.push_back(unit->GetComponentID().library + ":" + unit->GetName() + " @" +
                            (unit->GetModuleFile() ? unit->GetModuleFile()->GetFileTitleAndExt() : "-") + "\n");
        std::sort(lines.begin(), lines.end());
        std::string text;
        for (const std::string& line : lines) text += line;
        return text;
    }

    // Every unit of the library with what a restore gives back, in set order.
    static std::string Dump(const std::string& library = "work")
    {
        std::ostringstream out;
        const ImodelDesignManager::LibraryPtr found = Design().FindLibraryByName(library);
        if (!found) return out.str();
        for (const ImodelModule* unit : *found->GetModules()) DumpUnit(out, *unit);
        return out.str();
    }
    // A unit with what a restore gives back.
    static void DumpUnit(std::ostream& out, const ImodelModule& unit)
    {
        out << unit.GetName() << " @" << (unit.GetModuleFile() ? unit.GetModuleFile()->GetFileTitleAndExt() : "-")
            << " expand " << unit.GetExpand() << " root " << unit.IsRoot() << " stimulus "
            << unit.GetStimulusList().size() << " associated " << unit.GetAssociatedFileListConst().size() << " cdb "
            << unit.GetCDBOrder().size() << " vsim '" << unit.GetVSimParams() << "' effort "
            << unit.GetPhySynthOptions()->GetLogSynthEffort() << " ignored "
            << (unit.HasPackagesToIgnore(ideSIMULATION) ? "yes" : "no") << " customized "
            << unit.GetCustomizedFileLists().size() << (unit.UseCustomizedFileList(ideSIMULATION) ? " used" : "")
            << " included " << unit.GetSimulationModuleToIncludeList()->size() << " stamped "
            << (unit.GetModuleFile() && unit.IsSameFileStamps(*unit.GetModuleFile())) << "\n";
        // A context whose views are not made yet shows its sample: writing
        // its views would make them, and the restore would copy those.
        if (const ImodelContextImpl* context = unit.GetContext(); context && context->Pending()) {
            if (const ImodelRevContextImpl* sample = context->GetPendingSample()) sample->WriteStates(&out);
        } else if (context) {
            context->WriteStates(&out);
        }
    }

    // The units after `change` on the design that `make` builds from a
    // generator seeded with `seed`, restored once from a copy of every
    // library taken before the change and once through the model's save and
    // restore (nested: only the outer pair counts, `later` changing the
    // units between the inner restore and the outer one); and as they were
    // before.
    struct Restored {
        std::string before;
        std::string copied;
        std::string journaled;
    };
    template <class Make, class ChangeOf, class Later = void (*)(std::mt19937&)>
    Restored RestoreBothWays(
        unsigned seed, Make make, ChangeOf change, bool byName, const zorpaSaveRestoreParams& params,
        bool goneByName = false, Later later = [](std::mt19937&) {})
    {
        Restored restored;
        std::mt19937 first(seed);
        make(first);
        restored.before = DumpAll();
        ImodelDesignManager::Libraries copies;
        ImodelDuplicateLibs(Design(), copies);
        const std::uint64_t lastBefore = imodelLastUnitSerial();
        change(first);
        later(first);
        // A restore of the lists without the states has the flow work out
        // the stimulus steps again for each unit whose stimulus it changed,
        // and the states of each unit made during the change (it holds none
        // from before), as the model's restore does.
        std::vector<std::pair<ImodelModule*, FileList>> stimuli;
        if (!params.copyContext)
            for (ImodelModule* unit : AllUnits()) stimuli.emplace_back(unit, unit->GetStimulusList());
        ImodelRestoreLibs(Design(), copies, byName, params, goneByName);
        ImodelDestroyLibs(copies);
        for (const auto& [unit, stimulus] : stimuli)
            if (unit->GetStimulusList() != stimulus || unit->GetUnitSerial() > lastBefore)
                Model().GetStateMachine()->UpdateFileDependentStatesForModule(unit);
        restored.copied = DumpAll();
        Clear();

        std::mt19937 second(seed);
        make(second);
        EXPECT_EQ(DumpAll(), restored.before);
        std::set<std::pair<std::string, std::string>> standing;
        for (const ImodelModule* unit : AllUnits())
            standing.emplace(unit->GetComponentID().library, unit->GetUnitOrder().name);
        Model().SaveLibraries();
        Model().SaveLibraries();
        const std::uint64_t lastSaved = imodelLastUnitSerial();
        change(second);
        // The inner restore knows nothing of new units yet: it lists every unit.
        std::vector<ImodelModule*> inner;
        Model().RestoreLibraries(byName, params, {&inner, goneByName});
        EXPECT_EQ(inner.size(), AllUnits().size());
        later(second);
        // Asked for, the units made since that hold no states from before
        // are the caller's to have the flow work out.
        std::vector<ImodelModule*> fresh;
        Model().RestoreLibraries(byName, params, {&fresh, goneByName});
        if (!params.copyContext)
            for (ImodelModule* unit : fresh) Model().GetStateMachine()->UpdateFileDependentStatesForModule(unit);
        restored.journaled = DumpAll();
        // Every unit at a name where no unit stood is among them, each once,
        // and none from before.
        std::vector<ImodelModule*> newNames;
        for (ImodelModule* unit : AllUnits())
            if (!standing.contains({unit->GetComponentID().library, unit->GetUnitOrder().name}))
                newNames.push_back(unit);
        const std::set<ImodelModule*> listed(fresh.begin(), fresh.end());
        EXPECT_EQ(listed.size(), fresh.size());
        for (ImodelModule* unit : newNames) EXPECT_TRUE(listed.contains(unit)) << unit->GetName();
        for (ImodelModule* unit : fresh) EXPECT_GT(unit->GetUnitSerial(), lastSaved) << unit->GetName();
        // A sample a record gave up belongs to the unit that took it.
        for (ImodelModule* unit : AllUnits()) {
            const ImodelContextImpl* context = unit->GetContext();
            if (const ImodelRevContextImpl* sample = context ? context->GetPendingSample() : nullptr) {
                EXPECT_EQ(sample->GetModule(), unit) << unit->GetName();
            }
        }
        Clear();
        return restored;
    }
    // The units of every library of the design.
    static std::vector<ImodelModule*> AllUnits()
    {
        std::vector<ImodelModule*> units;
        const auto [first, last] = Design().GetLibraries();
        for (auto library = first; library != last; ++library)
            if (*library && (*library)->GetModules())
                units.insert(units.end(), (*library)->GetModules()->begin(), (*library)->GetModules()->end());
        return units;
    }
    // Every library with its units, in the order of the libraries' names:
    // the order of the list is not what a restore gives back.
    static std::string DumpAll()
    {
        std::vector<std::string> names;
        const auto [first, last] = Design().GetLibraries();
        for (auto library = first; library != last; ++library)
            if (*library) names.push_back((*library)->GetName());
        std::sort(names.begin(), names.end());
        std::string text;
        for (const std::string& name : names) text += name + ":\n" + Dump(name);
        return text;
    }
    void Clear()
    {
        Design().Reset();
        Files().RemoveAllFiles();
        ImodelModule::ClearRemovedModuleList();
    }

    std::vector<Entry> m_files;
    Entry m_extra;
    std::vector<std::string> m_names;
};

}  // namespace

TEST_F(UnitJournalTest, RestoreGivesWhatACopyOfEveryLibraryGives)
{
    constexpr zorpaSaveRestoreParams kCopyLists{false, true, false};
    int differed = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        for (const bool byName : {true, false}) {
            // The same design and change twice: once restored from a copy
            // of every library, once through the model's save and restore.
            const Restored restored = RestoreBothWays(
                seed, [this](std::mt19937& random) { MakeDesign(random, 6); },
                [this](std::mt19937& random) { Change(random); }, byName, kCopyLists);
            EXPECT_EQ(restored.journaled, restored.copied) << "seed " << seed << (byName ? " by name" : " by file");
            differed += restored.copied != restored.before;
        }
    }
    // The changes were felt: the restore had work to do.
    EXPECT_GT(differed, 10);
}

TEST_F(UnitJournalTest, WhateverChangesTheUnitsTheRestoreGivesWhatACopyOfEveryLibraryGives)
{
    // Beside files parsed again: data changed through the units' own
    // operations and their views', before and after the inner restore,
    // libraries put in another order, units of a second library made again.
    // By name, by file, and by file with the data following a gone unit's
    // name; the views' states given back whole or not.
    int differed = 0;
    for (unsigned seed = 1; seed <= 30; ++seed) {
        for (const auto& [byName, goneByName] : {std::pair{true, false}, {false, false}, {false, true}}) {
            const zorpaSaveRestoreParams params{seed % 2 == 0, true, false};
            const Restored restored = RestoreBothWays(
                seed, [this](std::mt19937& random) { MakeTwoLibraries(random, 5); },
                [this](std::mt19937& random) { ChangeAnyHow(random); }, byName, params, goneByName,
                [this](std::mt19937& random) { ChangeSomeData(random); });
            EXPECT_EQ(restored.journaled, restored.copied)
                << "seed " << seed << (byName ? " by name" : " by file") << (goneByName ? ", gone by name" : "")
                << (params.copyContext ? ", states whole" : "");
            differed += restored.copied != restored.before;
        }
    }
    EXPECT_GT(differed, 20);
}

TEST_F(UnitJournalTest, TheUnitsMadeDuringAChangeThatHoldNoStatesFromBeforeAreListedOnce)
{
    // The units a restore lists, by name and library, sorted.
    const auto names = [](const std::vector<ImodelModule*>& units) {
        std::vector<std::string> out;
        for (const ImodelModule* unit : units) out.push_back(unit->GetName() + "::" + unit->GetComponentID().library);
        std::sort(out.begin(), out.end());
        return out;
    };
    using Names = std::vector<std::string>;
    const Entry file = ProjectFile("top.vhd");
    const Entry other = ProjectFile("other.vhd");
    const Entry bench = ProjectFile("tb.vhd", zorpaFT_TB_HDL);
    for (const bool states : {true, false}) {
        SCOPED_TRACE(states ? "states given back" : "lists given back alone");
        const zorpaSaveRestoreParams params{states, true, false};
        Unit("top", file)->SetNewStimulusList({*bench}, nullptr);
        Unit("mid", file);
        ImodelModule* leaf = Unit("leaf", other);
        std::vector<ImodelModule*> took;
        std::vector<ImodelModule*> fresh;
        {
            // The file's units go and come back, with a unit of a new name
            // and one instantiated under a name no unit had; another unit
            // is only touched, in another library a unit comes.
            imodelUnitJournal journal(Design());
            ImodelRemoveModulesOfFile(file, nullptr, true, false, false, nullptr, nullptr);
            NewUnit("top", file);
            NewUnit("MID", file);
            NewUnit("new1", file);
            Unit("placed");
            leaf->SetIsRoot(true);
            Unit("top", other, "lib2");
            journal.Restore(true, params, false, &took, &fresh);
        }
        // Only the units of new names took no record; without the states,
        // every unit made since holds none from before, and is left out of
        // those that took a stimulus.
        EXPECT_EQ(names(fresh), states ? (Names{"new1::work", "placed::work", "top::lib2"})
                                       : (Names{"MID::work", "new1::work", "placed::work", "top::lib2", "top::work"}));
        EXPECT_EQ(names(took), states ? Names{"top::work"} : Names{});
        Clear();

        // Into empty libraries and into libraries emptied: the units made
        // since are not noted one by one, and are listed all the same.
        for (const bool emptied : {false, true}) {
            SCOPED_TRACE(emptied ? "emptied" : "empty");
            if (emptied) Unit("top", file);
            fresh.clear();
            imodelUnitJournal journal(Design());
            if (emptied) Design().Reset();
            NewUnit("top", file);
            NewUnit("mid", file);
            Unit("top", other, "lib2");
            journal.Restore(true, params, false, nullptr, &fresh);
            EXPECT_EQ(names(fresh), emptied && states ? (Names{"mid::work", "top::lib2"})
                                                      : (Names{"mid::work", "top::lib2", "top::work"}));
            Clear();
        }
    }
}

TEST_F(UnitJournalTest, AUnitGoneAndBackUnderAnotherFileTakesTheDataOfItsName)
{
    const Entry first = ProjectFile("first.vhd");
    const Entry second = ProjectFile("second.vhd");
    const Entry bench = ProjectFile("tb.vhd", zorpaFT_TB_HDL);
    ImodelModule* mid = Unit("mid", first);
    ImodelModule* other = Unit("other", second);
    mid->SetNewStimulusList({*bench}, nullptr);
    mid->SetExpand(2);
    other->SetExpand(1);

    Model().SaveLibraries();
    ImodelRemoveModulesOfFile(first, nullptr, true, false, false, nullptr, nullptr);
    ImodelModule* again = Unit("MID", second);
    EXPECT_EQ(again->GetExpand(), -1);
    Model().RestoreLibraries(true, zorpaSaveRestoreParams{false, true, false});

    EXPECT_EQ(again->GetStimulusList(), FileList{*bench});
    EXPECT_EQ(again->GetExpand(), 2);
    EXPECT_EQ(other->GetExpand(), 1);
    // Nothing is kept once the change is over: the next one starts afresh.
    Model().SaveLibraries();
    Model().RestoreLibraries(true, zorpaSaveRestoreParams{false, true, false});
    EXPECT_EQ(again->GetExpand(), 2);
}

TEST_F(UnitJournalTest,
       ByFileAUnitWhoseFileWentGivesItsDataToTheNewUnitOfItsNameOnlyWhenAskedAndNotToOneWithDataOfItsOwn)
{
    const Entry first = ProjectFile("first.vhd");
    const Entry second = ProjectFile("second.vhd");
    const Entry third = ProjectFile("third.vhd");
    const Entry bench = ProjectFile("tb.vhd", zorpaFT_TB_HDL);
    for (const bool goneByName : {false, true}) {
        SCOPED_TRACE(goneByName ? "the data follows the name" : "by file alone");
        ImodelModule* mid = Unit("mid", first);
        mid->SetNewStimulusList({*bench}, nullptr);
        mid->SetExpand(2);
        ImodelModule* top = Unit("top", first);
        top->SetExpand(1);
        ImodelModule* kept = Unit("top", third);
        kept->SetExpand(0);

        Model().SaveLibraries();
        ImodelRemoveModulesOfFile(first, nullptr, true, false, false, nullptr, nullptr);
        // mid comes back from another file; top stands on in its other file,
        // which keeps its own data.
        ImodelModule* again = Unit("mid", second);
        Model().RestoreLibraries(false, zorpaSaveRestoreParams{false, true, false}, {nullptr, goneByName});

        EXPECT_EQ(again->GetStimulusList(), goneByName ? FileList{*bench} : FileList{});
        EXPECT_EQ(again->GetExpand(), goneByName ? 2 : -1);
        EXPECT_EQ(kept->GetExpand(), 0);
        Clear();
    }
}

TEST_F(UnitJournalTest, AChangeIntoEmptyLibrariesRestoresAsNotingEveryNameDoes)
{
    ExpectTheShortCutsToRestoreAsNotingEveryNameDoes(60, false, 50);
}

TEST_F(UnitJournalTest, AChangeThatEmptiesTheLibrariesRestoresAsNotingEveryNameDoes)
{
    // After a library is emptied, the units made in it are not noted one by
    // one; the restore finds the names where they stand beside units from
    // before that were never noted (a library that came whole in its place).
    ExpectTheShortCutsToRestoreAsNotingEveryNameDoes(80, true, 60);
}

TEST_F(UnitJournalTest, AUnitFromBeforeInALibraryThatCameWholeGivesItsDataToTheFirstOfItsName)
{
    const Entry file = ProjectFile("f.vhd");
    const Entry earlier = ProjectFile("e.vhd");
    const auto whole = boost::make_shared<ImodelDesignManager::Library>("lib3");
    whole->MakeModuleList();
    auto before = std::make_unique<ImodelModule>("a1", file, zorpaMODULE_VHDL, false, "lib3", "", false);
    before->SetExpand(2);
    whole->GetModules()->Insert(std::move(before));
    for (const bool every : {true, false}) {
        imodelUnitJournal::NoteEveryName(every);
        Model().SaveLibraries();
        Design().AddLibrary(whole, false);
        auto made = std::make_unique<ImodelModule>("A1", earlier, zorpaMODULE_VHDL, false, "lib3", "", false);
        made->SetExpand(0);
        const auto [unit, inserted] = whole->GetModules()->Insert(std::move(made));
        ASSERT_TRUE(inserted);
        Model().RestoreLibraries(true, zorpaSaveRestoreParams{false, true, false});
        EXPECT_EQ(unit->GetExpand(), 2) << (every ? "noting every name" : "noting units from before");
        whole->GetModules()->Erase(unit);
        Design().EraseLibrary("lib3");
    }
    imodelUnitJournal::NoteEveryName(false);
}

TEST_F(UnitJournalTest, NamesOfUnitsMadeSinceFallAmongTheNamesOfUnitsFromBeforeWhereverTheyComeInOrder)
{
    // A library that came whole holds units from before that were never
    // touched; the change takes one of them out and makes units of their
    // names and of a name between them. Each name's restore takes place,
    // whether the new names come after the touched ones or among them.
    const Entry file = ProjectFile("f.vhd");
    const Entry earlier = ProjectFile("e.vhd");
    // A design that holds units: the change does not start from empty ones.
    Unit("w0", file);
    for (const bool between : {false, true}) {
        const auto whole = boost::make_shared<ImodelDesignManager::Library>("lib4");
        whole->MakeModuleList();
        ImodelModule* first = nullptr;
        ImodelModule* last = nullptr;
        for (const char* name : {"a1", "c1"}) {
            auto before = std::make_unique<ImodelModule>(name, file, zorpaMODULE_VHDL, false, "lib4", "", false);
            before->SetExpand(name[0] == 'a' ? 2 : 1);
            (name[0] == 'a' ? first : last) = before.get();
            whole->GetModules()->Insert(std::move(before));
        }
        Model().SaveLibraries();
        Design().AddLibrary(whole, false);
        // Taken out: a touched name, in the journal's order of names.
        whole->GetModules()->Erase(between ? last : first);
        std::vector<ImodelModule*> made;
        for (const char* name : {"A1", "B1", "C1"}) {
            auto unit = std::make_unique<ImodelModule>(name, earlier, zorpaMODULE_VHDL, false, "lib4", "", false);
            unit->SetExpand(0);
            made.push_back(whole->GetModules()->Insert(std::move(unit)).first);
        }
        Model().RestoreLibraries(true, zorpaSaveRestoreParams{false, true, false});
        const std::string label = between ? "c1 taken out" : "a1 taken out";
        // Each first unit of a name takes what stood first at it.
        EXPECT_EQ(made[0]->GetExpand(), 2) << label;
        EXPECT_EQ(made[1]->GetExpand(), 0) << label;
        EXPECT_EQ(made[2]->GetExpand(), 1) << label;
        for (ImodelModule* unit : made) whole->GetModules()->Erase(unit);
        Design().EraseLibrary("lib4");
    }
}

TEST_F(UnitJournalTest, AChangeThatEmptiesTheLibrariesAndFillsThemAgainRestoresAsACopyOfEveryLibrary)
{
    // What refresh does: every unit goes, then the files' units come back,
    // in another order, some under other names or files, some not at all.
    // The views' states come back whole, or only their options and files.
    const auto refill = [this](std::mt19937& random) {
        Design().Reset();
        std::vector<std::string> names = m_names;
        std::shuffle(names.begin(), names.end(), random);
        for (const std::string& name : names) {
            if (random() % 5 == 0) continue;
            const std::string written = random() % 4 == 0 ? Drawn(random) : name;
            std::string unitName = written;
            if (random() % 3 == 0) ZorpaMakeUpper(unitName);
            NewUnit(unitName, m_files[random() % m_files.size()]);
        }
        for (int i = 0, count = static_cast<int>(random() % 8); i < count; ++i)
            NewUnit("n" + std::to_string(random() % 20), m_files[random() % m_files.size()]);
    };
    int differed = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        for (const bool byName : {true, false}) {
            const bool whole = seed % 2 == 0;
            // Enough names that the journal's table of names grows a few times.
            const Restored restored = RestoreBothWays(
                seed, [this](std::mt19937& random) { MakeDesign(random, 40); }, refill, byName,
                zorpaSaveRestoreParams{whole, true, false});
            EXPECT_EQ(restored.journaled, restored.copied)
                << "seed " << seed << (byName ? " by name" : " by file") << (whole ? ", states whole" : "");
            differed += restored.copied != restored.before;
        }
    }
    EXPECT_GT(differed, 12);
}

TEST_F(UnitJournalTest, ALibraryWalkedInItsOrderRestoresAsALookupOfEachNameAndAsACopyOfEveryLibrary)
{
    // Most of the library touched (a refresh: every unit goes and comes
    // back, some under other names, in another letter case or another
    // file, some not at all) or a few names of it (a file parsed again): the
    // restore walks the library or looks each name up. Both must give what
    // a copy of every library gives, by name and by file.
    constexpr zorpaSaveRestoreParams kCopyLists{true, true, false};
    const auto change = [this](std::mt19937& random) {
        if (random() % 3 == 0) {
            Change(random);
            return;
        }
        // Some units are touched first, in no order: their names come
        // first among the touched ones.
        for (int i = 0, count = static_cast<int>(random() % 6); i < count; ++i)
            if (ImodelModule* unit = Find(Drawn(random))) unit->SetIsRoot(!unit->IsRoot());
        Design().Reset();
        std::vector<std::string> names = m_names;
        std::shuffle(names.begin(), names.end(), random);
        for (const std::string& name : names) {
            if (random() % 6 == 0) continue;
            std::string unitName = random() % 5 == 0 ? Drawn(random) : name;
            if (random() % 3 == 0) ZorpaMakeUpper(unitName);
            NewUnit(unitName, m_files[random() % m_files.size()]);
        }
        for (int i = 0, count = static_cast<int>(random() % 8); i < count; ++i)
            NewUnit("n" + std::to_string(random() % 20), m_files[random() % m_files.size()]);
        if (ImodelModule* unit = Find(Drawn(random))) unit->SetIsRoot(true);
    };
    int walked = 0;
    for (unsigned seed = 1; seed <= 16; ++seed) {
        const int files = 2 + static_cast<int>(seed * 7 % 50);
        for (const bool byName : {true, false}) {
            std::string lookedUp;
            for (const bool everyName : {true, false}) {
                imodelUnitJournal::LookUpEveryName(everyName);
                const Restored restored = RestoreBothWays(
                    seed, [this, files](std::mt19937& random) { MakeDesign(random, files); }, change, byName,
                    kCopyLists);
                EXPECT_EQ(restored.journaled, restored.copied)
                    << "seed " << seed << (byName ? " by name" : " by file")
                    << (everyName ? ", each name looked up" : ", the library walked when most was touched");
                // No record of a unit outlives the restore: every context
                // left belongs to a unit. The units cleared away are freed
                // on the reclaimer's thread, which counts as it goes.
                ImodelWaitForFreedMemory();
                EXPECT_TRUE(ImodelContextImpl::OnlyContextsOfUnits()) << "seed " << seed;
                if (everyName)
                    lookedUp = restored.journaled;
                else
                    walked += restored.journaled == lookedUp;
            }
        }
    }
    imodelUnitJournal::LookUpEveryName(false);
    EXPECT_EQ(walked, 32);
}

TEST_F(UnitJournalTest, WhatAUnitThatGoesGivesUpRestoresAsWhatACopyOfItKeeps)
{
    // A unit that is deleted without a look at it gives up its data to the
    // record of it, its context too when a copy would be alike. Restored,
    // the record gives what a copy of a twin keeps: whether the unit's
    // views are made or waiting, with a sample or without, and whether the
    // project's views changed since the unit was made (a unit in no library
    // is not told of them).
    std::mt19937 random(11);
    MakeDesign(random, 4);
    constexpr int kUnits = 48;
    const auto made = [this](unsigned seed) {
        std::mt19937 drawn(seed);
        auto unit = std::make_unique<ImodelModule>("s" + std::to_string(seed), m_files[drawn() % m_files.size()],
                                                   zorpaMODULE_VHDL, false, "work", "", false);
        if (drawn() % 2) unit->SetNewStimulusList({*m_extra}, nullptr);
        if (drawn() % 2) unit->AddAssociatedFile(*m_files[drawn() % m_files.size()]);
        GiveOtherData(drawn, *unit);
        return unit;
    };
    std::vector<std::pair<std::unique_ptr<ImodelModule>, std::unique_ptr<ImodelModule>>> twins;
    // Made before a view came, before the current view changed, and since.
    for (unsigned seed = 0; seed < kUnits; ++seed) {
        twins.emplace_back(made(seed), made(seed));
        if (seed == kUnits / 3) AddView("impl_3");
        if (seed == 2 * kUnits / 3) {
            ASSERT_TRUE(Imodel::GetInstance().GetRevisionManager()->SetActiveView("impl_1", false, false));
        }
    }
    const zorpaSaveRestoreParams params{true, true, false};
    const std::size_t unitsContexts = ImodelContextImpl::ContextsOfUnits();
    // The views of a context as a unit without one of its own would take
    // them whole.
    const auto views = [](const ImodelContextImpl& context) {
        std::string names;
        for (const ImodelRevContextImpl* view : context.GetAllRevs())
            names += view->GetName() + (context.IsCurRevContext(view) ? "* " : " ");
        return names;
    };
    int tookContext = 0;
    for (auto& [copied, going] : twins) {
        const ImodelContextImpl* own = going->GetContext();
        ImodelModule::Restorable taken = ImodelModule::TakeRestorable(*going);
        ImodelModule::Restorable kept = ImodelModule::KeepRestorable(*copied);
        // A context taken belongs to no unit until one takes it.
        ASSERT_TRUE(taken.m_context);
        EXPECT_EQ(taken.m_context->GetModule(), nullptr);
        if (const ImodelRevContextImpl* sample = taken.m_context->GetPendingSample()) {
            EXPECT_EQ(sample->GetModule(), nullptr);
        }
        tookContext += taken.m_context.get() == own;
        std::ostringstream fromKept;
        std::ostringstream fromTaken;
        for (auto [record, out] : {std::pair{&kept, &fromKept}, std::pair{&taken, &fromTaken}}) {
            ImodelModule restored(going->GetName(), going->GetModuleFile(), zorpaMODULE_VHDL, false, "work", "", false);
            restored.DuplicateModuleInfo(std::move(*record), params);
            DumpUnit(*out, restored);
        }
        EXPECT_EQ(fromTaken.str(), fromKept.str()) << going->GetName();
        EXPECT_EQ(views(*taken.m_context), views(*kept.m_context)) << going->GetName();
        copied.reset();
        going.reset();
    }
    // Some contexts served as they were, some were copied.
    EXPECT_GT(tookContext, 0);
    EXPECT_LT(tookContext, kUnits);
    EXPECT_EQ(ImodelContextImpl::ContextsOfUnits(), unitsContexts - 2 * kUnits);
    Clear();
    ImodelWaitForFreedMemory();
    EXPECT_TRUE(ImodelContextImpl::OnlyContextsOfUnits());
}
