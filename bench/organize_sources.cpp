// organize_sources in "add" mode on a module whose hierarchy holds every
// file of the design: one unit per file, ten sub-blocks each. One command
// names every file, and each is merged into the module's list one at a
// time at its default position.
// Target: linear overall, the time per file the same with 1,000 files as
// with 10,000 (compare the "us_per_file" counters; the fitted complexity
// is N).
#include "icmd/IcmdDoCommand.h"
#include "icmd/organize/IcmdOrganizeSources.h"
#include "ifile/IfileManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;
using Entries = std::vector<Entry>;

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }
IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }

// Linked files (outside any project folder, never read from disk).
Entry LinkedFile(const std::string& name)
{
    const IfileObject value(ImodelFileName("/bench/organize/" + name + ".vhd"), zorpaFT_HDL, ImodelFMFull, true,
                            false);
    return Files().AddOrUpdateFile(IfileObjectEx(value, false), false);
}

// `units` units of "work", unit i defined by file i and a sub-block of unit
// (i-1)/10; the files in the order of their units.
ImodelModule* BuildDesign(int units, Entries& files)
{
    std::vector<ImodelModule*> made;
    for (int i = 0; i < units; ++i) {
        files.push_back(LinkedFile("u" + std::to_string(i)));
        auto unit = std::make_unique<ImodelModule>("u" + std::to_string(i), files.back(), zorpaMODULE_VHDL, false,
                                                   "work", "", false);
        made.push_back(Design().AddLibrary("work", false)->GetModules()->Insert(std::move(unit)).first);
        if (i > 0) made[static_cast<std::size_t>((i - 1) / 10)]->AddSubBlock(made.back(), false);
    }
    return made.front();
}

void BM_OrganizeSourcesAddEachFile(benchmark::State& state)
{
    const int units = static_cast<int>(state.range(0));
    Entries files;
    ImodelModule* top = BuildDesign(units, files);
    Design().SetProjectOpen(true);
    // Named from the leaves up: not the order the hierarchy gives.
    const Entries named(files.rbegin(), files.rend());
    double organizing = 0;
    for (auto _ : state) {
        state.PauseTiming();
        top->SetCustomizedFileList(true, ideSYNTHESIS, Entries());
        auto command = std::make_unique<IcmdOrganizeSources>(false);
        command->SetParams(ideSYNTHESIS, top);
        command->SetMode(IcmdOrganizeFilesBase::Add);
        command->SetUseDefaultParam(false);
        command->SetFilesParam(named);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const bool done = IcmdDoCommand(std::move(command), false);
        organizing += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        Entries stored;
        top->GetCustomizedFileList(ideSYNTHESIS, stored);
        if (!done || stored.size() != files.size()) state.SkipWithError("the list does not hold every file");
        state.ResumeTiming();
    }
    Design().SetProjectOpen(false);
    Design().Reset();
    Files().RemoveAllFiles();
    state.counters["us_per_file"] = organizing * 1e6 / (static_cast<double>(state.iterations()) * units);
    state.SetItemsProcessed(state.iterations() * units);
    state.SetComplexityN(units);
}

}  // namespace

BENCHMARK(BM_OrganizeSourcesAddEachFile)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
