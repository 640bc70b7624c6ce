// Re-parsing a large design: keeping the data of removed units and
// collecting the HDL files of a hierarchy should cost the same per unit with
// 20,000 units as with 2,000 (compare the items per second of the sizes).
#include "ifile/IfileManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelHierarchyFiles.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }
IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }

// Linked files (outside any project folder, never read from disk).
boost::shared_ptr<IfileObjectEx> LinkedFile(int index)
{
    const IfileObject value(ImodelFileName("/bench/src/u" + std::to_string(index) + ".vhd"), zorpaFT_HDL, ImodelFMFull,
                            true, false);
    return Files().AddOrUpdateFile(IfileObjectEx(value, false), false);
}

void BM_KeepRemovedUnits(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    std::vector<std::unique_ptr<ImodelModule>> units;
    for (int i = 0; i < count; ++i)
        units.push_back(std::make_unique<ImodelModule>("u" + std::to_string(i), nullptr, zorpaMODULE_VHDL, false,
                                                       "work", "", false));
    for (auto _ : state) {
        // Every key saved twice: the second save replaces the first.
        for (int pass = 0; pass < 2; ++pass)
            for (const auto& unit : units) ImodelModule::SaveDeletedModuleInfo(unit.get());
        state.PauseTiming();
        ImodelModule::ClearRemovedModuleList();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 2 * count);
}

// A unit put into "work", which owns it from then on.
ImodelModule* AddUnit(const std::string& name, int fileIndex)
{
    auto unit = std::make_unique<ImodelModule>(name, LinkedFile(fileIndex), zorpaMODULE_VHDL, false, "work", "", false);
    return Design().FindLibraryByName("work")->GetModules()->Insert(std::move(unit)).first;
}

// A top unit over `count` units, each with its own file, every tenth unit
// also used by the one before it.
void BM_CollectHdlFiles(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Design().Reset();
    ImodelModule* top = AddUnit("top", -1);
    ImodelModule* previous = nullptr;
    for (int i = 0; i < count; ++i) {
        ImodelModule* unit = AddUnit("u" + std::to_string(i), i);
        top->AddSubBlock(unit, false);
        if (previous != nullptr && i % 10 == 0) previous->AddSubBlock(unit, false);
        previous = unit;
    }
    for (auto _ : state) {
        ImodelModule::FileEntries files;
        ImodelGetHdlFileNames(files, top, ideSIMULATION, nullptr, false);
        benchmark::DoNotOptimize(files.data());
    }
    state.SetItemsProcessed(state.iterations() * count);
    Design().Reset();
    Files().RemoveAllFiles();
}

}  // namespace

BENCHMARK(BM_KeepRemovedUnits)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollectHdlFiles)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
