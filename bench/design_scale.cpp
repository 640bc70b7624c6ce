// The design model at scale.
// - Removing the units of many files: the time per removed unit should be
//   the same in a library of 10,000, 30,000 and 100,000 units (compare the
//   "us_per_unit" counters).
// - One cell used by every unit: building the design and removing the
//   cell's file should cost the same per unit at every size.
// - Counting the files of a shared hierarchy (a diamond): the time should
//   grow with the levels, not double with each.
// - Units arriving in random name order, the library's top-level list
//   brought up to date after each, as parsing does per file: the time per
//   unit should be the same at 30,000 and 100,000 units.
#include "ifile/IfileManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelHierarchyFiles.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelRemoveModules.h"
#include "imodel/model/Imodel.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }
IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }

// Linked files (outside any project folder, never read from disk).
Entry LinkedFile(const std::string& name)
{
    const IfileObject value(ImodelFileName("/bench/design/" + name + ".vhd"), zorpaFT_HDL, ImodelFMFull, true, false);
    return Files().AddOrUpdateFile(IfileObjectEx(value, false), false);
}

// A unit put into "work", which owns it from then on.
ImodelModule* AddUnit(const std::string& name, const Entry& file)
{
    auto unit = std::make_unique<ImodelModule>(name, file, zorpaMODULE_VHDL, false, "work", "", false);
    return Design().AddLibrary("work", false)->GetModules()->Insert(std::move(unit)).first;
}

void Clear()
{
    Design().Reset();
    Files().RemoveAllFiles();
}

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// `units` units, each defined by a file of its own, in a tree of fan-out 10
// (unit i is a sub-block of unit (i-1)/10); the units of `files` files,
// spread over the library, are removed, their parents keeping placeholders.
void BM_RemoveUnitsOfFiles(benchmark::State& state)
{
    const int units = static_cast<int>(state.range(0));
    const int files = static_cast<int>(state.range(1));
    double removing = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<Entry> entries;
        std::vector<ImodelModule*> made;
        for (int i = 0; i < units; ++i) {
            entries.push_back(LinkedFile("u" + std::to_string(i)));
            made.push_back(AddUnit("u" + std::to_string(i), entries.back()));
            if (i > 0) made[(i - 1) / 10]->AddSubBlock(made.back(), false);
        }
        const int step = units / files;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < files; ++i)
            ImodelRemoveModulesOfFile(entries[i * step], nullptr, true, false, false, nullptr, nullptr);
        removing += Seconds(start);
        state.PauseTiming();
        Clear();
        state.ResumeTiming();
    }
    state.counters["us_per_unit"] = removing * 1e6 / (static_cast<double>(state.iterations()) * files);
    state.SetItemsProcessed(state.iterations() * files);
}

// `units` units, each with a file of its own, all using one cell; then the
// cell's file is removed, every user keeping a placeholder in its place.
void BM_SharedCell(benchmark::State& state)
{
    const int units = static_cast<int>(state.range(0));
    double building = 0;
    double removing = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<Entry> entries;
        for (int i = 0; i < units; ++i) entries.push_back(LinkedFile("user" + std::to_string(i)));
        const Entry cellFile = LinkedFile("cell");
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        ImodelModule* cell = AddUnit("cell", cellFile);
        for (int i = 0; i < units; ++i) AddUnit("user" + std::to_string(i), entries[i])->AddSubBlock(cell, true);
        building += Seconds(start);
        start = std::chrono::steady_clock::now();
        ImodelRemoveModulesOfFile(cellFile, nullptr, true, false, false, nullptr, nullptr);
        removing += Seconds(start);
        state.PauseTiming();
        Clear();
        state.ResumeTiming();
    }
    const double runs = static_cast<double>(state.iterations()) * units;
    state.counters["build_us_per_unit"] = building * 1e6 / runs;
    state.counters["remove_us_per_unit"] = removing * 1e6 / runs;
    state.SetItemsProcessed(state.iterations() * units);
}

// A diamond of `levels` levels: each level's two units use both units of
// the next; every unit has a file. The count goes along every path.
void BM_CountFilesOfDiamond(benchmark::State& state)
{
    const int levels = static_cast<int>(state.range(0));
    ImodelModule* top = AddUnit("top", LinkedFile("top"));
    std::vector<ImodelModule*> above{top};
    for (int level = 0; level < levels; ++level) {
        std::vector<ImodelModule*> here;
        for (int side = 0; side < 2; ++side) {
            const std::string name = "d" + std::to_string(level) + "_" + std::to_string(side);
            here.push_back(AddUnit(name, LinkedFile(name)));
        }
        for (ImodelModule* parent : above)
            for (ImodelModule* sub : here) parent->AddSubBlock(sub, false);
        above = here;
    }
    for (auto _ : state) benchmark::DoNotOptimize(ImodelCountFiles(top, -1));
    Clear();
}

// `units` units put into "work" in random name order, each one in four a
// sub-block of a unit put earlier; the top-level list is brought up to date
// after each unit and read once at the end.
void BM_TopUnitsInRandomOrder(benchmark::State& state)
{
    const int units = static_cast<int>(state.range(0));
    std::vector<int> order(static_cast<std::size_t>(units));
    for (int i = 0; i < units; ++i) order[static_cast<std::size_t>(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    double adding = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const Entry file = LinkedFile("random");
        const ImodelDesignManager::LibraryPtr work = Design().AddLibrary("work", false);
        std::vector<ImodelModule*> made;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < units; ++i) {
            made.push_back(AddUnit("u" + std::to_string(order[static_cast<std::size_t>(i)]), file));
            if (i % 4 == 3) made[static_cast<std::size_t>(i / 2)]->AddSubBlock(made.back(), false);
            Design().UpdateTopModules(work);
        }
        benchmark::DoNotOptimize(Design().GetModuleTree()->size());
        adding += Seconds(start);
        state.PauseTiming();
        Clear();
        state.ResumeTiming();
    }
    state.counters["us_per_unit"] = adding * 1e6 / (static_cast<double>(state.iterations()) * units);
    state.SetItemsProcessed(state.iterations() * units);
}

}  // namespace

BENCHMARK(BM_TopUnitsInRandomOrder)->Arg(30000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveUnitsOfFiles)
    ->ArgsProduct({{10000, 30000, 100000}, {1000, 10000}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SharedCell)->Arg(10000)->Arg(30000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountFilesOfDiamond)->DenseRange(14, 20, 2)->Unit(benchmark::kMillisecond);
