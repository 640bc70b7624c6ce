// The watcher's filters: which folder and which name a file must have to be
// taken, and as which type; the table the watcher builds for a project and
// the order of its bins.
#include "WatcherTestSupport.h"

#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "src/imodel/design/imodelReclaimer.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <random>
#include <thread>

namespace {

// The type a file of the project would be taken as; -1 when no filter takes it.
int TypeOf(const std::string& relativeName)
{
    itimerManagerImpl watcher;
    watcher.BuildFilters();
    const std::string full =
        Imodel::GetInstance().GetDesignManager()->GetProjectFolder().GetString() + "/" + relativeName;
    SysStatInfo stamp;
    stamp.size = 10;
    if (!watcher.AddFile(IfileObject(ImodelFileName(full), zorpaFT_UNKNOWN, ImodelFMFull, true, true), &stamp, false))
        return -1;
    for (const itimerBin* bin : watcher.GetBins())
        if (!bin->GetFound().empty()) return bin->GetFound().front().file.GetFileSpecificType();
    return -1;
}

}  // namespace

TEST(WatcherFilter, AFolderMatchesAtItsDepthAndAsTheWayToAWatchedFolder)
{
    const itimerFilter filter("*.sdf", std::vector<std::string>{"pallador/impl*", "hdl"}, zorpaFT_SDF, nullptr);
    EXPECT_EQ(filter.GetFolders(), (std::vector<std::pair<std::string, int>>{{"pallador/impl*", 1}, {"hdl", 0}}));
    EXPECT_TRUE(filter.MatchFolder("pallador/impl1", false));
    EXPECT_TRUE(filter.MatchFolder("PALLADOR/Impl12", false));
    EXPECT_TRUE(filter.MatchFolder("hdl", false));
    // "*" crosses separators in the matcher: the depth keeps deeper folders out.
    EXPECT_FALSE(filter.MatchFolder("pallador/impl1/sub", false));
    EXPECT_FALSE(filter.MatchFolder("hdl/sub", false));
    EXPECT_FALSE(filter.MatchFolder("pallador", false));
    // On the way to a watched folder, with leading and trailing separators.
    EXPECT_TRUE(filter.MatchFolder("pallador", true));
    EXPECT_TRUE(filter.MatchFolder("/pallador/", true));
    EXPECT_FALSE(filter.MatchFolder("palladorx", true));
    EXPECT_FALSE(filter.MatchFolder("hdl/sub", true));
    EXPECT_FALSE(filter.MatchFolder("pallador/impl1/sub", true));
    // A separator written twice counts once; a backslash is a separator too.
    const itimerFilter doubled("*.v", "a//b\\c", zorpaFT_HDL, nullptr);
    EXPECT_EQ(doubled.GetFolders().front().first, "a//b/c");
    EXPECT_TRUE(doubled.MatchFolder("a/b", true));
    EXPECT_TRUE(doubled.MatchFolder("a", true));
}

namespace {

// The folder test written out plainly, one pattern after the other.
bool PlainMatchFolder(const std::vector<std::pair<std::string, int>>& patterns, const std::string& folder,
                      bool allowLeading)
{
    const auto separators = [](const std::string& text) { return std::count(text.begin(), text.end(), '/'); };
    for (const auto& [pattern, depth] : patterns) {
        if (WcmMatch(pattern.c_str(), folder.c_str())) {
            if (separators(folder) == depth) return true;
            continue;
        }
        if (!allowLeading) continue;
        std::string trimmed = folder;
        while (!trimmed.empty() && trimmed.front() == '/') trimmed.erase(0, 1);
        while (!trimmed.empty() && trimmed.back() == '/') trimmed.pop_back();
        // The pattern's first components, as many as the folder has.
        std::vector<std::string> components(1);
        for (std::size_t i = 0; i < pattern.size(); ++i) {
            if (pattern[i] != '/')
                components.back() += pattern[i];
            else if (i == 0 || pattern[i - 1] != '/')
                components.emplace_back();
        }
        const auto wanted = static_cast<std::size_t>(separators(trimmed));
        if (components.size() < wanted + 1) continue;
        std::string leading = components[0];
        for (std::size_t k = 1; k <= wanted; ++k) leading += "/" + components[k];
        if (WcmMatch(leading.c_str(), trimmed.c_str())) return true;
    }
    return false;
}

}  // namespace

TEST(WatcherFilter, RandomFoldersMatchAsAPlainPatternByPatternTestMatchesThem)
{
    std::mt19937 random(31);
    const std::vector<std::string> patternParts{"a", "b", "ab", "*", "?", "impl*", "/", "//"};
    const std::vector<std::string> folderParts{"a", "b", "ab", "impl1", "/", "//", "A"};
    const auto text = [&random](const std::vector<std::string>& parts, int most) {
        std::string made;
        for (int n = std::uniform_int_distribution<int>(0, most)(random); n > 0; --n)
            made += parts[std::uniform_int_distribution<std::size_t>(0, parts.size() - 1)(random)];
        return made;
    };
    int matched = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::string> folders;
        for (int n = std::uniform_int_distribution<int>(1, 3)(random); n > 0; --n)
            folders.push_back(text(patternParts, 5));
        const itimerFilter filter("*.v", folders, zorpaFT_HDL, nullptr);
        const std::string folder = text(folderParts, 5);
        for (const bool allowLeading : {false, true}) {
            const bool expected = PlainMatchFolder(filter.GetFolders(), folder, allowLeading);
            EXPECT_EQ(filter.MatchFolder(folder, allowLeading), expected)
                << "folder \"" << folder << "\", first pattern \"" << filter.GetFolders().front().first << "\"";
            matched += expected;
        }
    }
    // Both answers come often enough for the comparison to mean something.
    EXPECT_GT(matched, 300);
    EXPECT_LT(matched, 5700);
}

TEST(WatcherFilter, SchematicPagesAndSymbolsAreTakenByTheirNumber)
{
    const itimerFilter pages("*.[0-9]*", "sch", zorpaFT_SCH, nullptr);
    EXPECT_TRUE(pages.MatchName("cpu.1", "1"));
    EXPECT_TRUE(pages.MatchName("cpu.12", "12"));
    EXPECT_FALSE(pages.MatchName("cpu.a1", "a1"));
    EXPECT_FALSE(pages.MatchName("cpu.1a", "1a"));
    const itimerFilter sources("*.vhd", "hdl", zorpaFT_HDL, nullptr);
    EXPECT_TRUE(sources.MatchName("A.VHD", "VHD"));
    EXPECT_FALSE(sources.MatchName("a.vhdl", "vhdl"));
}

class WatcherTable : public WatcherTest {};

TEST_F(WatcherTable, VerilogSourcesAreTakenOnlyForVerilogOrMixedProjects)
{
    // The project is VHDL.
    EXPECT_EQ(TypeOf("hdl/a.vhd"), zorpaFT_HDL);
    EXPECT_EQ(TypeOf("hdl/a.v"), -1);
    EXPECT_EQ(TypeOf("hdl/a.h"), zorpaFT_HDL);
    Design().SetDefaultVHDL(false);
    EXPECT_EQ(TypeOf("hdl/a.v"), zorpaFT_HDL);
    EXPECT_EQ(TypeOf("hdl/a.vhd"), -1);
    DefSetFL("IDE_MIXED_HDL_ENABLED", "1");
    EXPECT_EQ(TypeOf("hdl/a.v"), zorpaFT_HDL);
    EXPECT_EQ(TypeOf("hdl/a.vhd"), zorpaFT_HDL);
    DefUnset("IDE_MIXED_HDL_ENABLED");
    Design().SetDefaultVHDL(true);
}

TEST_F(WatcherTable, EachKindIsTakenInItsFolderAndNotOneLevelDeeper)
{
    EXPECT_EQ(TypeOf("hdl/sub/a.vhd"), -1);
    EXPECT_EQ(TypeOf("a.vhd"), -1);
    EXPECT_EQ(TypeOf("pallador/impl1/alu.ide_pld"), zorpaFT_IDE_PLD);
    EXPECT_EQ(TypeOf("pallador/impl7/alu.lok"), zorpaFT_LOK);
    EXPECT_NE(TypeOf("pallador/impl1/alu.sdf"), -1);
    EXPECT_EQ(TypeOf("pallador/impl1/sub/alu.sdf"), -1);
    EXPECT_EQ(TypeOf("pallador/impl1/timing.rpt"), zorpaFT_LOG);
    EXPECT_EQ(TypeOf("pallador/impl1/simulation/out.txt"), zorpaFT_TXT);
    EXPECT_EQ(TypeOf("pallador/impl1/out.txt"), -1);
    // A name with two dots has no valid extension.
    EXPECT_EQ(TypeOf("hdl/a.b.vhd"), -1);
}

TEST_F(WatcherTable, MatchFileLetsTheHostIntoWatchedFoldersAndTheWayToThem)
{
    Watcher().BuildFilters();
    const auto match = [this](const std::string& name) { return Watcher().MatchFile(ImodelFileName(Path(name))); };
    EXPECT_TRUE(match("hdl"));
    EXPECT_TRUE(match("pallador"));
    EXPECT_TRUE(match("pallador/impl3"));
    EXPECT_FALSE(match("hdl/deeper"));
    EXPECT_FALSE(match("unrelated"));
    EXPECT_FALSE(Watcher().MatchFile(ImodelFileName(m_folder / "elsewhere")));
    // It answers as the filters of the table do, one after the other, and
    // follows the table when it is made again with other folders.
    const auto anyFilter = [](const std::string& name) {
        return std::any_of(Impl().GetFilters().begin(), Impl().GetFilters().end(),
                           [&name](const auto& filter) { return filter->MatchFolder(name, true); });
    };
    const std::vector<std::string> asked{"hdl",        "synthesis",  "synthesis/impl1", "pallador/impl2/simulation",
                                         "pallador/x", "simulation", "constraint",      "dremmet/a",
                                         "dremmet/a/b"};
    for (const char* implementations : {"0", "1", "0"}) {
        DefOverRideGuard guard("IDE_SYNPLIFY_IMPL_ENABLED", implementations);
        Watcher().BuildFilters();
        for (const std::string& name : asked) EXPECT_EQ(match(name), anyFilter(name)) << name << implementations;
        EXPECT_EQ(match("synthesis/impl1"), implementations[0] == '1');
    }
}

TEST_F(WatcherTable, BinsStandInFlowOrderWithTheDescriptionsAfterTheFirstDatabase)
{
    Watcher().BuildFilters();
    std::vector<int> order;
    for (const itimerBin* bin : Impl().GetBins()) order.push_back(bin->GetType());
    EXPECT_EQ(order.size(), static_cast<std::size_t>(itimerManagerImpl::kBinCount));
    const IprocessFlow& flow = *Imodel::GetInstance().GetProcessManager()->GetFlowForModule(nullptr);
    std::vector<int> nodes;
    for (const IprocessFileObject* node : flow.GetFileObjects()) nodes.push_back(node->GetFileType());
    const auto at = [&order](int type) { return std::find(order.begin(), order.end(), type) - order.begin(); };
    // Types without a node first, then each node's type in the flow's order.
    std::vector<int> nodeTypes;
    for (int type : nodes)
        if (std::find(nodeTypes.begin(), nodeTypes.end(), type) == nodeTypes.end()) nodeTypes.push_back(type);
    for (std::size_t i = 1; i < nodeTypes.size(); ++i)
        EXPECT_LT(at(nodeTypes[i - 1]), at(nodeTypes[i])) << nodeTypes[i - 1] << " before " << nodeTypes[i];
    for (int type = 0; type < itimerManagerImpl::kBinCount; ++type) {
        if (std::find(nodes.begin(), nodes.end(), type) != nodes.end() || type == zorpaFT_IDE_PLD) continue;
        EXPECT_LT(at(type), at(nodeTypes.front())) << type;
    }
    EXPECT_EQ(at(zorpaFT_IDE_PLD), at(zorpaFT_ADB) + 1);
    for (int type = 0; type < itimerManagerImpl::kBinCount; ++type) EXPECT_TRUE(Watcher().IsTypeWatched(type));
    EXPECT_FALSE(Watcher().IsTypeWatched(itimerManagerImpl::kBinCount));
}

// A bin's baseline lookup against a plain walk of the baseline: the entry
// of that file and hash added last. Names crowd onto a few hashes (and a
// file may come twice), through additions, removals and clearing.
TEST(WatcherBin, FindsWhatAPlainWalkOfTheBaselineFinds)
{
    std::mt19937 random(28);
    std::vector<IfileObject> names;
    for (int i = 0; i < 40; ++i)
        names.emplace_back(ImodelFileName("/p/hdl/f" + std::to_string(i) + ".vhd"), zorpaFT_HDL, ImodelFMFull, true,
                           true);
    const auto plain = [](const itimerBin& bin, const IfileObject& file, std::uint64_t hash) {
        const itimerBin::Files& baseline = bin.GetBaseline();
        for (std::size_t i = baseline.size(); i-- > 0;)
            if (baseline[i].hash == hash && baseline[i].file == file) return i;
        return itimerBin::npos;
    };
    for (int round = 0; round < 8; ++round) {
        itimerBin bin(zorpaFT_HDL);
        // Few hashes: most lookups pass over other files of their hash.
        const std::uint64_t hashes = 1 + random() % 7;
        for (int step = 0; step < 250; ++step) {
            const unsigned what = random() % 20;
            if (what < 15) {
                const std::size_t name = random() % names.size();
                bin.AddToBaseline(itimerFile{names[name], std::nullopt, name % hashes});
            } else if (what < 19) {
                const unsigned cut = random() % 4;
                bin.RemoveFromBaseline(
                    [&](std::size_t position, const itimerFile&) { return (position + step) % 4 == cut; });
            } else if (random() % 8 == 0) {
                bin.Clear();
            }
            for (std::size_t name = 0; name < names.size(); ++name) {
                for (const std::uint64_t hash : {name % hashes, (name + 1) % hashes}) {
                    ASSERT_EQ(bin.FindInBaseline(names[name], hash), plain(bin, names[name], hash))
                        << "round " << round << " step " << step;
                }
            }
        }
    }
}

TEST(WatcherBin, AClearedBinFindsWhatItTakesAgainAndAHostsDataIsLetGoOfOnTheSpot)
{
    // Bins of every size about the point where their lists go to the
    // reclaimer: once cleared a bin is empty, takes files again and finds
    // them as a plain walk does; a list whose file carries a host's data is
    // freed on the calling thread, and what the reclaimer takes is freed by
    // the wait.
    imodelReclaimer& reclaimer = imodelTheReclaimer();
    std::mt19937 random(32);
    for (int round = 0; round < 24; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        itimerBin bin(zorpaFT_HDL);
        const int count = 150 + static_cast<int>(random() % 300);
        const bool withHostData = round % 4 == 0;
        std::thread::id releasedBy;
        for (int i = 0; i < count; ++i) {
            IfileObject name(ImodelFileName("/p/hdl/f" + std::to_string(i) + ".vhd"), zorpaFT_HDL, ImodelFMFull, true,
                             true);
            if (withHostData && i == count / 2)
                name.SetClientData(boost::shared_ptr<void>(new int(1), [&releasedBy](void* data) {
                    delete static_cast<int*>(data);
                    releasedBy = std::this_thread::get_id();
                }));
            if (i % 5 == 0)
                bin.AddToFound(itimerFile{name, std::nullopt, static_cast<std::uint64_t>(i)});
            else
                bin.AddToBaseline(itimerFile{name, std::nullopt, static_cast<std::uint64_t>(i)});
        }
        reclaimer.Wait();
        bin.Clear();
        reclaimer.Wait();
        EXPECT_TRUE(bin.GetBaseline().empty());
        EXPECT_TRUE(bin.GetFound().empty());
        if (withHostData) {
            EXPECT_EQ(releasedBy, std::this_thread::get_id());
        }
        std::vector<IfileObject> again;
        for (int i = 0; i < count / 3; ++i) {
            again.emplace_back(ImodelFileName("/p/hdl/g" + std::to_string(i) + ".vhd"), zorpaFT_HDL, ImodelFMFull, true,
                               true);
            bin.AddToBaseline(itimerFile{again.back(), std::nullopt, static_cast<std::uint64_t>(i % 7)});
        }
        for (std::size_t i = 0; i < again.size(); ++i) {
            EXPECT_EQ(bin.FindInBaseline(again[i], i % 7), i);
            EXPECT_EQ(bin.FindInBaseline(again[i], (i + 1) % 7), itimerBin::npos);
        }
    }
}

// In test mode the watcher lists the filters of its table and takes each off
// as it takes a file, so that a test run tells the filters it never reached.
TEST_F(WatcherTable, ATestRunListsTheFiltersThatTookNoFile)
{
    struct TestMode {
        TestMode() { Imodel::IsRunningTests() = true; }
        ~TestMode() { Imodel::IsRunningTests() = false; }
    };
    itimerManagerImpl watcher;
    const std::string folder = Imodel::GetInstance().GetDesignManager()->GetProjectFolder().GetString() + "/";
    const auto add = [&](ItimerManager& to, const std::string& name) {
        SysStatInfo stamp;
        stamp.size = 10;
        return to.AddFile(IfileObject(ImodelFileName(folder + name), zorpaFT_UNKNOWN, ImodelFMFull, true, true), &stamp,
                          false);
    };
    const auto untested = [&watcher] {
        std::vector<const itimerFilter*> left;
        for (const auto& filter : watcher.GetFilters()) left.push_back(filter.get());
        return left;
    };
    // The filter that takes a file, found by a plain walk of the table.
    const auto takerOf = [&](const std::string& name) -> const itimerFilter* {
        const IfileObject file(ImodelFileName(folder + name), zorpaFT_UNKNOWN, ImodelFMFull, true, true);
        ImodelFileName relative;
        file.GetRelativeFolder(relative);
        for (const auto& filter : watcher.GetFilters())
            if (filter->MatchFolder(relative.GetString(), false) &&
                filter->MatchName(file.GetFileTitleAndExt(), file.GetExt()))
                return filter.get();
        return nullptr;
    };

    watcher.BuildFilters();
    EXPECT_TRUE(watcher.GetTestedFilters().empty());
    const TestMode testing;
    watcher.BuildFilters();
    std::vector<const itimerFilter*> expected = untested();
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(watcher.GetTestedFilters(), expected);
    for (const std::string name : {"hdl/a.vhd", "hdl/b.vhd", "hdl/c.h", "pallador/impl1/alu.lok", "unrelated/x.vhd"}) {
        const itimerFilter* taker = takerOf(name);
        EXPECT_EQ(add(watcher, name), taker != nullptr) << name;
        std::erase(expected, taker);
        EXPECT_EQ(watcher.GetTestedFilters(), expected) << name;
    }
    // A working copy lists none; what it takes leaves the watcher's list as it is.
    std::unique_ptr<ItimerManager> copy;
    ASSERT_TRUE(watcher.MakeCopy(copy));
    EXPECT_TRUE(dynamic_cast<itimerManagerImpl&>(*copy).GetTestedFilters().empty());
    EXPECT_TRUE(add(*copy, "pallador/impl1/alu.sdf"));
    EXPECT_EQ(watcher.GetTestedFilters(), expected);
    watcher.DiscardCopy(copy);
    // A table made again lists every filter again; a reset forgets them with the table.
    watcher.BuildFilters();
    EXPECT_EQ(watcher.GetTestedFilters(), untested());
    watcher.Reset();
    EXPECT_TRUE(watcher.GetTestedFilters().empty());
}
