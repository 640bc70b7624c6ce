// The design flow over a project of 1,000 design units, each with its
// synthesis netlist and place-and-route database: building the flow (which
// has every file's derived-file record made), asking each unit's current
// files and states, and the cost of a change of a netlist's state alone
// (nothing is read: the record's netlist is kept by size and time) against a
// change on disk (the netlist, 2 MB here, is read again).
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFilterParent.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "itimer/ItimerManager.h"

#include <benchmark/benchmark.h>
#include <foundation/Sys.h>

#include <string>
#include <vector>

namespace {

constexpr int kUnits = 1000;
constexpr std::size_t kLargeNetlistBytes = 2 << 20;

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }
IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }
IprocessFlow& Flow() { return *Imodel::GetInstance().GetProcessManager()->GetFlowForModule(nullptr); }

std::string Netlist(const std::string& cell) { return "(edif x (design " + cell + " (cellRef " + cell + ")))\n"; }

// A project folder of its own with one view, 1,000 units and their files.
class Project {
public:
    Project() : m_folder(SysGetTemporaryDirectoryName() + "/quorlane_bench_flow")
    {
        SysRemoveFolderRecursively(m_folder);
        UtlValidateOrCreateFolder(m_folder);
        Design().Reset();
        Design().SetProjectFolder(m_folder);
        std::vector<std::string> views{"VALUE=\"impl1\",NUM=1", "CURREV=1"};
        Imodel::GetInstance().GetRevisionManager()->ReadRevisions(views);
        Imodel::GetInstance().GetProcessManager();
        for (int i = 0; i < kUnits; ++i) {
            const std::string name = "u" + std::to_string(i);
            auto unit = std::make_unique<ImodelModule>(name, nullptr, zorpaMODULE_VERILOG, false, "", "", false);
            m_units.push_back(Design().FindLibraryByName("work")->GetModules()->Insert(std::move(unit)).first);
            Add(zorpaFT_SYN_EDN, m_units.back(), i == 0 ? Large(name) : Netlist(name));
            Add(zorpaFT_ADB, m_units.back(), "");
        }
    }
    ~Project() { SysRemoveFolderRecursively(m_folder); }

    const std::vector<ImodelModule*>& Units() const { return m_units; }
    boost::shared_ptr<IfileObjectEx> FirstNetlist() const { return m_firstNetlist; }

private:
    static std::string Large(const std::string& cell)
    {
        std::string text = "(edif x (comment \"";
        text.append(kLargeNetlistBytes, 'n');
        return text + "\") " + Netlist(cell) + ")\n";
    }
    void Add(zorpaFileManagerTypes type, ImodelModule* unit, const std::string& content)
    {
        const auto value =
            Flow().GetFileObject(type)->CreateDefaultIfileObject(unit, unit->GetContext()->GetCurRevContext());
        UtlValidateOrCreateFolder(value->GetFileLocation());
        SysWriteFileAtomically(value->GetFullFileName(), content);
        IfileObjectEx file(*value, false);
        file.SetFileState(imodelFileUpToDate);
        const auto entry = Files().AddOrUpdateFile(file, false);
        if (!m_firstNetlist && type == zorpaFT_SYN_EDN) m_firstNetlist = entry;
    }

    std::string m_folder;
    std::vector<ImodelModule*> m_units;
    boost::shared_ptr<IfileObjectEx> m_firstNetlist;
};

Project& TheProject()
{
    static Project project;
    return project;
}

void BM_BuildFlow(benchmark::State& state)
{
    TheProject();
    // A watcher of its own, which the second flow resets.
    const std::unique_ptr<ItimerManager> watcher = ItimerCreateManager();
    for (auto _ : state) {
        // A second flow, listening to the project's files and making their records.
        auto manager = IprocessCreateManager();
        IprocessCreateDefaultFlow(*manager, *watcher, &Files());
        state.PauseTiming();
        manager.reset();
        state.ResumeTiming();
    }
    // The default flow's records again.
    Files().UpdateFiles(IfileManagerFilterSameFileType(zorpaFT_SYN_EDN));
    state.SetItemsProcessed(state.iterations() * 2 * kUnits);
}

void BM_CurrentFiles(benchmark::State& state)
{
    const Project& project = TheProject();
    const IprocessFileObject& netlists = *Flow().GetFileObject(zorpaFT_SYN_EDN);
    const IprocessFileObject& databases = *Flow().GetFileObject(zorpaFT_ADB);
    for (auto _ : state)
        for (ImodelModule* unit : project.Units()) {
            benchmark::DoNotOptimize(netlists.GetFileManagerObject(unit, unit->GetContext(), true, false, true));
            benchmark::DoNotOptimize(databases.GetFileManagerObject(unit, unit->GetContext(), true, false, true));
        }
    state.SetItemsProcessed(state.iterations() * 2 * kUnits);
}

void BM_GroupStates(benchmark::State& state)
{
    const Project& project = TheProject();
    const IprocessFileObject& databases = *Flow().GetFileObject(zorpaFT_ADB);
    const std::vector<IprocessFileObject*> group{Flow().GetFileObject(zorpaFT_SYN_EDN),
                                                 Flow().GetFileObject(zorpaFT_ADB)};
    for (auto _ : state)
        for (ImodelModule* unit : project.Units()) {
            benchmark::DoNotOptimize(databases.GetIntelligentFileState(unit));
            benchmark::DoNotOptimize(IprocessFileObject::GetGroupOfFilesState(&group, unit, nullptr, false));
        }
    state.SetItemsProcessed(state.iterations() * 2 * kUnits);
}

// The 2 MB netlist changes state: its record is made again from the kept top cell.
void BM_NetlistStateChange(benchmark::State& state)
{
    const auto netlist = TheProject().FirstNetlist();
    bool outOfDate = false;
    for (auto _ : state) {
        outOfDate = !outOfDate;
        netlist->SetFileState(outOfDate ? imodelFileOutOfDate : imodelFileUpToDate);
    }
    netlist->SetFileState(imodelFileUpToDate);
    state.SetItemsProcessed(state.iterations());
}

// The same after the netlist was written again: it is read whole.
void BM_NetlistChangedOnDisk(benchmark::State& state)
{
    const auto netlist = TheProject().FirstNetlist();
    std::string content;
    SysReadFile(netlist->GetFullFileName(), content);
    bool outOfDate = false;
    for (auto _ : state) {
        state.PauseTiming();
        SysWriteFileAtomically(netlist->GetFullFileName(), content);
        content.push_back(' ');
        state.ResumeTiming();
        outOfDate = !outOfDate;
        netlist->SetFileState(outOfDate ? imodelFileOutOfDate : imodelFileUpToDate);
    }
    netlist->SetFileState(imodelFileUpToDate);
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_CurrentFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupStates)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NetlistStateChange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NetlistChangedOnDisk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildFlow)->Unit(benchmark::kMillisecond);
