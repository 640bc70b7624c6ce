// The watcher over a project's folders as the host walks them: what a
// detection cycle imports, hands to an action, passes over or reports, and
// that it does so once.
#include "WatcherTestSupport.h"

#include "src/ifile/ifileManagerImpl.h"

#include "RecordingView.h"
#include "ifile/IfileExtendedInfoManager.h"
#include "ifile/IfileObjectEx.h"
#include "ifile/IfileReadAhead.h"
#include "ifile/IfileSeenStatuses.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessListener.h"
#include "iprocess/IprocessManager.h"
#include "iprocess/QuorlaneStateMachine.h"

#include <kemlet/KemletIde_pldFileManagerIf.h>

#include <map>
#include <optional>
#include <random>
#include <tuple>

namespace {

const std::string kLeaf = "entity leaf is end;\narchitecture rtl of leaf is begin end;\n";

}  // namespace

TEST_F(WatcherTest, ANewSourceIsImportedOnceAndAFileFoundAgainWithTheSameStampIsNot)
{
    ASSERT_TRUE(Watcher().IsReady());
    EXPECT_GT(host.scans, 0);
    Write("hdl/leaf.vhd", kLeaf);
    Watcher().Rescan(nullptr);
    EXPECT_EQ(Adds("leaf.vhd"), 1);
    EXPECT_TRUE(InProject("hdl/leaf.vhd"));
    EXPECT_EQ(Units(), std::set<std::string>{"leaf"});
    EXPECT_EQ(services.roots.size(), 1u);  // the only unit becomes the root

    // Found again, unchanged: nothing to do; the project update had nothing either.
    Watcher().Rescan(nullptr);
    Watcher().Rescan(nullptr);
    EXPECT_EQ(Adds("leaf.vhd"), 1);
    EXPECT_EQ(Updated("leaf.vhd"), 0);
    EXPECT_EQ(Baseline(zorpaFT_HDL), std::set<std::string>{"leaf.vhd"});
}

TEST_F(WatcherTest, AnEditedSourceIsRecordedByTheFirstPassAndAddedAgainByTheSecond)
{
    Write("hdl/leaf.vhd", kLeaf);
    Watcher().Rescan(nullptr);
    ASSERT_TRUE(InProject("hdl/leaf.vhd"));
    Write("hdl/leaf.vhd", "entity leaf is port (x : in bit); end;\narchitecture rtl of leaf is begin end;\n");
    Touch("hdl/leaf.vhd", 5);

    // The first pass records the change on the file; the project is untouched.
    Watcher().DetectChanges(true);
    EXPECT_EQ(Updated("leaf.vhd"), 0);
    // The second adds it again through the project update, not as a new file.
    Watcher().ScanAndNotify(true, nullptr);
    EXPECT_EQ(Updated("leaf.vhd"), 1);
    EXPECT_EQ(Adds("leaf.vhd"), 1);
    Watcher().Rescan(nullptr);
    EXPECT_EQ(Updated("leaf.vhd"), 1);
}

TEST_F(WatcherTest, ARemovedLockFileIsToldOnceAndANewOneIsNeverImported)
{
    Write("pallador/impl1/alu.lok", "locked\n");
    Watcher().Rescan(nullptr);
    EXPECT_EQ(Adds("alu.lok"), 0);
    EXPECT_FALSE(InProject("pallador/impl1/alu.lok"));
    EXPECT_EQ(Baseline(zorpaFT_LOK), std::set<std::string>{"alu.lok"});

    std::filesystem::remove(Path("pallador/impl1/alu.lok"));
    Watcher().Rescan(nullptr);
    Watcher().Rescan(nullptr);
    EXPECT_EQ(host.removedLocks, std::vector<std::string>{"alu.lok"});
    EXPECT_TRUE(Baseline(zorpaFT_LOK).empty());
}

TEST_F(WatcherTest, EmptyFilesAndNetlistsWithoutTheirEdifWaitUntilTheyMayCome)
{
    // An empty file is a tool's file still being written.
    Write("hdl/empty.vhd", "");
    Write("synthesis/alu.vhd", "entity alu is end;\n");
    Watcher().Rescan(nullptr);
    EXPECT_FALSE(InProject("hdl/empty.vhd"));
    EXPECT_FALSE(InProject("synthesis/alu.vhd"));
    // Refused files are not in the baseline: they are met as new once they qualify.
    Write("hdl/empty.vhd", kLeaf);
    Touch("hdl/empty.vhd", 3);
    Watcher().Rescan(nullptr);
    EXPECT_TRUE(InProject("hdl/empty.vhd"));
}

TEST_F(WatcherTest, AFileOnTheIgnoreListIsPassedOverOnceThenTakenAsUsual)
{
    Write("hdl/leaf.vhd", kLeaf);
    const IfileObjectEx leaf(IfileObject(ImodelFileName(Path("hdl/leaf.vhd")), zorpaFT_HDL, ImodelFMFull, true, true),
                             false);
    Watcher().IgnoreNextChange(leaf);
    Watcher().IgnoreNextChange(leaf);  // listed once however often it is asked
    Watcher().Rescan(nullptr);
    EXPECT_EQ(Adds("leaf.vhd"), 0);
    EXPECT_TRUE(itimerManagerImpl::GetIgnoreList().empty());
    Touch("hdl/leaf.vhd", 4);
    Watcher().Rescan(nullptr);
    EXPECT_EQ(Adds("leaf.vhd"), 1);
}

TEST_F(WatcherTest, ARescanWithinARescanDoesNothing)
{
    Write("hdl/leaf.vhd", kLeaf);
    int nested = 0;
    // A view that asks for a cycle while the cycle's import is announced.
    class RescanningView : public RecordingView {
    public:
        explicit RescanningView(int& count) : m_count(count) {}
        void UpdateView(const IeventFileAddedOrModified&) override
        {
            const int before = m_count;
            Imodel::GetInstance().GetTimerManager()->Rescan(nullptr);
            m_count = before + 1;
        }

    private:
        int& m_count;
    } view(nested);
    const int scansBefore = host.scans;
    Watcher().Rescan(nullptr);
    EXPECT_GT(nested, 0);
    EXPECT_EQ(host.scans, scansBefore + 1);
    EXPECT_EQ(Adds("leaf.vhd"), 1);
}

TEST_F(WatcherTest, AWorkingCopyIsHandedOutOnceAndMergesWhatItFound)
{
    std::unique_ptr<ItimerManager> copy;
    std::unique_ptr<ItimerManager> second;
    ASSERT_TRUE(Watcher().MakeCopy(copy));
    EXPECT_FALSE(Watcher().MakeCopy(second));
    EXPECT_TRUE(copy->IsReady());

    // The host fills the copy (as it could on a thread of its own) and merges.
    Write("hdl/leaf.vhd", kLeaf);
    ConsoleHost::GetInstance().ScanFiles(false, copy.get());
    EXPECT_EQ(Adds("leaf.vhd"), 0);
    Watcher().MergeCopy(copy.get(), true);
    EXPECT_EQ(Adds("leaf.vhd"), 1);
    // Scanning dropped the copy: a second merge does nothing, a new copy may be made.
    EXPECT_FALSE(copy->IsReady());
    Write("hdl/more.vhd", "entity more is end;\narchitecture a of more is begin end;\n");
    ConsoleHost::GetInstance().ScanFiles(false, copy.get());
    Watcher().MergeCopy(copy.get(), true);
    EXPECT_EQ(Adds("more.vhd"), 0);
    Watcher().DiscardCopy(copy);
    EXPECT_EQ(copy, nullptr);
    ASSERT_TRUE(Watcher().MakeCopy(second));
    // A copy that outlives nothing: the watcher forgets it when it goes.
    second.reset();
    ASSERT_TRUE(Watcher().MakeCopy(second));
    Watcher().Reset();
    EXPECT_FALSE(second->IsReady());
}

TEST_F(WatcherTest, AViewsFilesAreFoundInANewViewOnlyWhileTheyAreThere)
{
    Write("pallador/impl1/alu.sdf", "(DELAYFILE)\n");
    Watcher().Rescan(nullptr);
    EXPECT_EQ(Adds("alu.sdf"), 1);
    const boost::shared_ptr<IfileObjectEx> sdf = Files().GetFile(
        IfileObject(ImodelFileName(Path("pallador/impl1/alu.sdf")), zorpaFT_UNKNOWN, ImodelFMFull, true, true));
    ASSERT_TRUE(sdf);
    const itimerBin& bin = *Impl().GetBin(sdf->GetFileSpecificType());
    Watcher().CopyRevisionFiles(1, 2);
    ASSERT_EQ(bin.GetBaseline().size(), 2u);
    EXPECT_EQ(bin.GetBaseline().back().file.GetRevNum(), 2);
    // The copy in view 2 names a file that is not there: it vanishes at the next scan.
    Watcher().Rescan(nullptr);
    EXPECT_EQ(bin.GetBaseline().size(), 1u);
}

// A folder that links lead to by other names, or back up to the project
// folder, is walked once: its files are found under the first name met.
TEST_F(WatcherTest, AFolderThatLinksLeadToAgainIsWalkedOnce)
{
    Write("pallador/impl1/alu.sdf", "(DELAYFILE)\n");
    std::filesystem::create_directory_symlink(Path("pallador/impl1"), Path("pallador/impl2"));
    std::filesystem::create_directory_symlink(Path(""), Path("pallador/impl3"));
    Watcher().Rescan(nullptr);
    EXPECT_EQ(Adds("alu.sdf"), 1);
    EXPECT_TRUE(InProject("pallador/impl1/alu.sdf"));
    EXPECT_FALSE(InProject("pallador/impl2/alu.sdf"));
}

// An open walks the folders after it has read every member: the walk keeps
// the status each file was read with, though the file changed since, and
// looks at every other file. Out of the open it looks at the disk.
TEST_F(WatcherTest, TheBaselineOfAnOpenKeepsTheStatusEachFileWasReadWith)
{
    const std::string leaf = Write("hdl/leaf.vhd", kLeaf);
    const std::string other = Write("hdl/other.vhd", kLeaf);
    const auto stampOf = [](const std::string& name) -> std::optional<SysStatInfo> {
        for (const itimerFile& file : Impl().GetBin(zorpaFT_HDL)->GetBaseline())
            if (file.file.GetFileTitleAndExt() == name) return file.stamp;
        return std::nullopt;
    };
    const auto onDisk = [](const std::string& path) {
        SysStatInfo info;
        EXPECT_EQ(SysPathStat(path, &info), 0) << path;
        return info;
    };
    SysStatInfo read;
    {
        const IfileSeenStatuses seen;
        {
            const IfileReadAhead readAhead({{leaf, true}, {Path("hdl/gone.vhd"), false}});
            ASSERT_EQ(IfileStatPath(leaf, &read), 0);
            EXPECT_NE(IfileStatPath(Path("hdl/gone.vhd"), nullptr), 0);
        }
        Write("hdl/leaf.vhd", std::string(kLeaf) + "-- edited after the read\n");
        Write("hdl/other.vhd", std::string(kLeaf) + "-- edited too\n");
        // A file missing at the read and there at the walk is looked at.
        const std::string gone = Write("hdl/gone.vhd", kLeaf);
        Watcher().Reset();
        Watcher().Start();
        EXPECT_EQ(stampOf("leaf.vhd"), read);
        EXPECT_EQ(stampOf("other.vhd"), onDisk(other));
        EXPECT_EQ(stampOf("gone.vhd"), onDisk(gone));
    }
    Watcher().Reset();
    Watcher().Start();
    EXPECT_EQ(stampOf("leaf.vhd"), onDisk(leaf));
    EXPECT_NE(onDisk(leaf).size, read.size);
}

TEST_F(WatcherTest, NothingHappensWhileTheWatcherIsNotReady)
{
    Watcher().Reset();
    EXPECT_FALSE(Watcher().IsReady());
    Write("hdl/leaf.vhd", kLeaf);
    Watcher().Rescan(nullptr);
    Watcher().ScanGlobalType(zorpaFT_GROUP_CONSTRAINT);
    EXPECT_TRUE(services.adds.empty());
    Watcher().Start();
    // The file was there at the start: it is the baseline, not a new file.
    Watcher().Rescan(nullptr);
    EXPECT_TRUE(services.adds.empty());
}

// Random files appear, change, vanish and come back in the watched
// folders: after every cycle the baseline of each bin is what lies on disk
// in its folders, and exactly the files that came or changed since the cycle
// before were imported or handed to their action.
TEST_F(WatcherTest, TheBaselineFollowsTheDiskAndOnlyWhatCameOrChangedIsTaken)
{
    std::mt19937 random(31);
    const std::vector<std::string> names{"hdl/a.vhd",       "hdl/b.vhd",       "hdl/c.vhd",        "hdl/d.h",
                                         "stimulus/t1.vhd", "stimulus/t2.vhd", "simulation/run.do"};
    std::map<std::string, int> version;  // files on disk and how often they were written
    std::map<std::string, int> taken;    // imports expected per file
    int second = 10;
    for (int round = 0; round < 12; ++round) {
        for (const std::string& name : names) {
            switch (random() % 4) {
            case 0:
                if (version.count(name)) {
                    std::filesystem::remove(Path(name));
                    version.erase(name);
                }
                break;
            case 1: {
                const bool existed = version.count(name) != 0;
                const int written = ++version[name];
                const std::string stem = std::filesystem::path(name).stem().string();
                Write(name, name.ends_with(".do") ? "run " + std::to_string(written) + "\n"
                                                  : "entity " + stem + " is end;\n-- " + std::to_string(written) +
                                                        "\narchitecture a of " + stem + " is begin end;\n");
                Touch(name, ++second);
                // A new file is imported; a changed one that the project holds is
                // added again by the project update, not by the scan.
                if (!existed && !InProject(name)) ++taken[name];
                break;
            }
            default:
                break;
            }
        }
        Watcher().Rescan(nullptr);
        std::set<std::string> onDisk;
        for (const auto& [name, count] : version) onDisk.insert(std::filesystem::path(name).filename().string());
        std::set<std::string> inBaselines;
        for (int type : {zorpaFT_HDL, zorpaFT_TB_HDL, zorpaFT_DO})
            for (const std::string& name : Baseline(type)) inBaselines.insert(name);
        EXPECT_EQ(inBaselines, onDisk) << "round " << round;
        for (const auto& [name, count] : taken)
            EXPECT_EQ(Adds(std::filesystem::path(name).filename().string()), count) << name;
    }
}

// A project whose only unit "top" was synthesized: its netlist is up to
// date and the design stands after synthesis.
class SynthesizedTopTest : public WatcherTest {
protected:
    void SetUp() override
    {
        WatcherTest::SetUp();
        Write("hdl/top.vhd", "entity top is end;\narchitecture rtl of top is begin end;\n");
        Watcher().Rescan(nullptr);
        ImodelModule* top = Design().GetRootModule();
        ASSERT_TRUE(top && top->GetName() == "top");
        ImodelRevContextImpl* view = top->GetContext()->GetCurRevContext();
        IprocessManager& processes = *Imodel::GetInstance().GetProcessManager();
        const IprocessFileObject& netlistNode = *processes.GetFileObject(zorpaFT_SYN_EDN, top);
        const std::optional<IfileObject> netlistName = netlistNode.CreateDefaultIfileObject(top, view);
        ASSERT_TRUE(netlistName);
        ImodelFileName relative;
        netlistName->GetRelativeFileName(relative);
        Write(relative.GetString(), "(edif top (design top (cellRef top (libraryRef work))))\n");
        IfileObjectEx netlistMember(*netlistName, false);
        netlistMember.SetFileState(imodelFileUpToDate);
        netlist = Files().AddOrUpdateFile(netlistMember, false);
        ASSERT_TRUE(netlist);
        flow = processes.GetFlowForModule(top);
        view->SetToolState(flow->GetToolObject(ideSYNTHESIS), StateSuccess, nullptr, false);
        Imodel::GetInstance().GetStateMachine()->UpdateFileDependentStatesForModule(top);
        Watcher().Rescan(nullptr);
        ASSERT_EQ(netlist->GetFileState(), imodelFileUpToDate);
        ASSERT_EQ(top->GetContext()->GetCurRevContext()->GetSolvatoState(), Post_Synthesis);
    }
    void EditTop(int seconds)
    {
        Write("hdl/top.vhd", "entity top is end;\narchitecture rtl of top is begin end;\n-- edited\n");
        Touch("hdl/top.vhd", seconds);
    }
    // The edit was taken: "top" read again, its netlist out of date and the
    // design back before synthesis.
    void ExpectEditTaken()
    {
        EXPECT_EQ(Updated("top.vhd"), 1);
        ImodelModule* top = Design().GetRootModule();
        ASSERT_TRUE(top);
        EXPECT_EQ(netlist->GetFileState(), imodelFileOutOfDate);
        EXPECT_EQ(top->GetContext()->GetCurRevContext()->GetToolState(flow->GetToolObject(ideSYNTHESIS)),
                  StateNoResult);
        EXPECT_EQ(top->GetContext()->GetCurRevContext()->GetSolvatoState(), Pre_Synthesis);
    }

    boost::shared_ptr<IfileObjectEx> netlist;
    IprocessFlow* flow = nullptr;
};

// A source edited on disk, as the user meets it: after the next cycle the
// synthesis result and everything made from it are out of date, and the
// design is back before synthesis.
TEST_F(SynthesizedTopTest, AnEditedSourceTakesTheSynthesisResultOutOfDateAndTheDesignBackBeforeSynthesis)
{
    EditTop(7);
    Watcher().Rescan(nullptr);
    ExpectEditTaken();
}

// An import between the edit and the next cycle takes note of the files it
// brought in only: the edit is still the next cycle's to find, and the flow
// hears of it as of any other.
TEST_F(SynthesizedTopTest, AnImportBeforeTheNextCycleLeavesAnEditOnDiskToThatCycle)
{
    EditTop(7);
    m_folder.Write("src/other.vhd", "entity other is end;\narchitecture rtl of other is begin end;\n");
    ASSERT_EQ(Eval("import_files -hdl_source ../src/other.vhd"), TCL_OK) << result;
    ASSERT_TRUE(InProject("hdl/other.vhd"));
    EXPECT_EQ(Baseline(zorpaFT_HDL), (std::set<std::string>{"other.vhd", "top.vhd"}));
    EXPECT_EQ(Updated("top.vhd"), 0);
    Watcher().Rescan(nullptr);
    ExpectEditTaken();
    // The imported file is known to the watcher: it is not taken again.
    EXPECT_EQ(Adds("other.vhd"), 0);
    EXPECT_EQ(Updated("other.vhd"), 0);
}

// Random imports, with random edits on disk of files the project already
// holds: each import takes note of its own files only, giving them the
// baseline entries a whole cycle gives them, and leaves every other entry
// as it was; the next cycle then adds each edited file again, once, and
// takes none of the imported ones.
TEST_F(WatcherTest, AnImportTakesNoteOfItsFilesAsACycleWouldAndLeavesTheRestToTheNextCycle)
{
    // Each baseline entry as a cycle finds it again: its name as stored, the
    // hash it is found by, its type and its stamp.
    using Entry = std::tuple<std::string, std::uint64_t, int, std::int64_t, std::int64_t>;
    using Stamps = std::map<std::string, Entry>;
    const auto baselines = [] {
        Stamps stamps;
        std::size_t entries = 0;
        for (const itimerBin* bin : Impl().GetBins())
            for (const itimerFile& file : bin->GetBaseline()) {
                ++entries;
                stamps[file.file.GetFileTitleAndExt()] =
                    Entry(file.file.GetInternalFileName().GetString(), file.hash, file.file.GetFileSpecificType(),
                          file.stamp ? file.stamp->size : -1, file.stamp ? file.stamp->time : -1);
            }
        EXPECT_EQ(entries, stamps.size());
        return stamps;
    };
    std::mt19937 random(2931);
    std::vector<std::string> members;
    std::map<std::string, int> edits;
    int second = 10;
    for (int round = 0; round < 5; ++round) {
        for (const std::string& member : members)
            if (random() % 3 == 0) {
                const std::string stem = std::filesystem::path(member).stem().string();
                Write("hdl/" + member, "entity " + stem + " is end;\narchitecture a of " + stem +
                                           " is begin end;\n-- " + std::to_string(second) + "\n");
                Touch("hdl/" + member, ++second);
                ++edits[member];
            }
        std::vector<std::string> imported;
        std::string arguments;
        for (int count = 1 + static_cast<int>(random() % 3); count > 0; --count) {
            const std::string stem = "u" + std::to_string(round) + "_" + std::to_string(count);
            // Some are empty: the project then holds an empty source.
            m_folder.Write("src/" + stem + ".vhd",
                           random() % 4 == 0
                               ? std::string()
                               : "entity " + stem + " is end;\narchitecture a of " + stem + " is begin end;\n");
            imported.push_back(stem + ".vhd");
            arguments += " ../src/" + stem + ".vhd";
        }
        const Stamps before = baselines();
        ASSERT_EQ(Eval("import_files -hdl_source {" + arguments + "}"), TCL_OK) << result;
        Stamps noted = baselines();
        for (const std::string& name : imported) {
            ASSERT_TRUE(InProject("hdl/" + name)) << name;
            EXPECT_TRUE(noted.count(name)) << name;
        }
        Watcher().Rescan(nullptr);
        const Stamps cycled = baselines();
        for (const std::string& name : imported) {
            EXPECT_EQ(noted[name], cycled.at(name)) << "round " << round << " " << name;
            EXPECT_EQ(Adds(name), 0) << name;
            EXPECT_EQ(Updated(name), 0) << name;
            noted.erase(name);
        }
        EXPECT_EQ(noted, before) << "round " << round;
        for (const auto& [name, count] : edits) EXPECT_EQ(Updated(name), count) << "round " << round << " " << name;
        members.insert(members.end(), imported.begin(), imported.end());
    }
}

// Random histories on disk of sources in the HDL folder, a source elsewhere
// in the project and linked sources outside it (edited, removed, brought
// back; some cycles cut after their first step), played twice in the same
// folder: taking the recorded changes by walking only the files that have
// one answers as walking every file, with the same project updates, adds,
// messages and units after every cycle.
TEST_F(WatcherTest, TakingTheRecordedChangesOfTheChangedFilesAloneAnswersAsWalkingEveryFile)
{
    const std::vector<std::string> names{"hdl/a.vhd",      "hdl/b.vhd",     "hdl/c.vhd",
                                         "cores/ip/x.vhd", "../ext/l1.vhd", "../ext/l2.vhd"};
    const auto text = [](const std::string& name, int version) {
        const std::string stem = std::filesystem::path(name).stem().string();
        return "entity " + stem + " is end;\n-- " + std::to_string(version) + "\narchitecture a of " + stem +
               " is begin end;\n";
    };
    const auto history = [&](bool everyFile) {
        ifileManagerImpl::TakeChangesWalkingEveryFile() = everyFile;
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, true);
        std::filesystem::remove_all(m_folder / "alu");
        std::filesystem::remove_all(m_folder / "ext");
        EXPECT_TRUE(NewAluProject());
        std::size_t updatesBefore = services.updates.size();
        std::size_t addsBefore = services.adds.size();
        std::size_t messagesBefore = messages.Texts().size();
        // The files outside the HDL folder are members from the start.
        for (const std::string& name : names)
            if (!name.starts_with("hdl/")) {
                Write(name, text(name, 0));
                Files().AddOrUpdateFile(
                    IfileObjectEx(IfileObject(ImodelFileName(Path(name)), zorpaFT_HDL, ImodelFMFull, true, true),
                                  false),
                    false);
            }
        std::mt19937 random(3101);
        std::vector<std::string> log;
        int second = 10;
        for (int round = 0; round < 14; ++round) {
            for (const std::string& name : names) {
                switch (random() % 5) {
                case 0:
                case 1:
                    Write(name, text(name, round + 1));
                    Touch(name, ++second);
                    break;
                case 2:
                    std::filesystem::remove(Path(name));
                    break;
                default:
                    break;
                }
            }
            if (random() % 4 == 0)
                Watcher().DetectChanges(true);  // the rest of the cycle comes with the next one
            else
                Watcher().Rescan(nullptr);
            std::string line = "round " + std::to_string(round) + ":";
            for (std::size_t i = updatesBefore; i < services.updates.size(); ++i) {
                line += " update(";
                for (const auto& file : services.updates[i].first) line += " -" + file->GetFileTitleAndExt();
                for (const auto& file : services.updates[i].second) line += " +" + file->GetFileTitleAndExt();
                line += ")";
            }
            for (std::size_t i = addsBefore; i < services.adds.size(); ++i) line += " add " + services.adds[i].name;
            const std::vector<std::string> texts = messages.Texts();
            for (std::size_t i = messagesBefore; i < texts.size(); ++i) line += " [" + texts[i] + "]";
            for (const std::string& unit : Units()) line += " " + unit;
            log.push_back(line);
            updatesBefore = services.updates.size();
            addsBefore = services.adds.size();
            messagesBefore = texts.size();
        }
        ifileManagerImpl::TakeChangesWalkingEveryFile() = false;
        return log;
    };
    const std::vector<std::string> plain = history(true);
    const std::vector<std::string> pendingOnly = history(false);
    EXPECT_EQ(plain, pendingOnly);
    // The history does reach the project update.
    EXPECT_GT(services.updates.size(), 20u);
}

// The host's listener on the flow: what it hears of descriptions.
class DescriptionListener : public IprocessListener {
public:
    DescriptionListener() { Imodel::GetInstance().GetProcessManager()->SetListener(this); }
    ~DescriptionListener() override { Imodel::GetInstance().GetProcessManager()->SetListener(nullptr); }
    void ConstraintListChanged(ImodelModule*, std::uint32_t, ImodelFunctionType) override {}
    void DisplayItemsMessage1(std::uint32_t, ImodelModule*) override {}
    void Ide_pldFileDetected(KemletContentIf* content, boost::shared_ptr<IfileObjectEx> file) override
    {
        detected.push_back(file ? file->GetFileTitleAndExt() : "");
        listed = content ? content->GetFileList().size() : 0;
    }
    void InputFileListChanged(boost::shared_ptr<IfileObjectEx> file, ImodelFunctionType) override
    {
        changed.push_back(file ? file->GetFileTitleAndExt() : "");
    }
    std::vector<std::string> detected;
    std::vector<std::string> changed;
    std::size_t listed = 0;
};

TEST_F(WatcherTest, ADescriptionWrittenInAViewIsCachedToldToTheFlowAndAnswersWhoDependsOnAFile)
{
    Write("pallador/impl1/alu.adb", "database\n");
    Watcher().Rescan(nullptr);
    ASSERT_TRUE(InProject("pallador/impl1/alu.adb"));
    const DescriptionListener listener;
    RecordingView view;
    const auto describe = [this](const std::vector<std::string>& files, int seconds) {
        KemletContentIf content;
        for (const std::string& file : files) content.AddFile(Path(file), 1);
        std::string text;
        ASSERT_TRUE(KemletFormatDescription(content, KemletWriterPlaceAndRoute, "alu.adb", text));
        Write("pallador/impl1/alu.ide_pld", text);
        Touch("pallador/impl1/alu.ide_pld", seconds);
    };
    describe({"hdl/top.vhd", "constraint/alu.pdc"}, 2);
    Watcher().Rescan(nullptr);
    EXPECT_EQ(Adds("alu.ide_pld"), 0);  // its action takes it
    EXPECT_EQ(listener.detected, std::vector<std::string>{"alu.adb"});
    EXPECT_EQ(listener.listed, 2u);
    EXPECT_EQ(view.Count("IeventToolInputListChanged"), 1);
    std::deque<IfileObject> dependents;
    IfileExtendedInfoManager& cache = *Imodel::GetInstance().GetExtendedInfoManager();
    cache.GetDependentFiles(IfileObject(ImodelFileName(Path("hdl/top.vhd")), zorpaFT_HDL, ImodelFMFull, true, true),
                            dependents);
    ASSERT_EQ(dependents.size(), 1u);
    EXPECT_EQ(dependents.front().GetFileTitleAndExt(), "alu.adb");
    // Unchanged: not read again. Rewritten: read again and told again.
    Watcher().Rescan(nullptr);
    EXPECT_EQ(listener.detected.size(), 1u);
    describe({"hdl/top.vhd"}, 4);
    Watcher().Rescan(nullptr);
    EXPECT_EQ(listener.detected.size(), 2u);
    EXPECT_EQ(listener.listed, 1u);
}

// A source renamed on disk in the case of its letters only is the member
// under its new name, found by the scan that sees the rename or, the
// baseline made again since, by the first that sees a change; a file of
// the other case beside the member is not taken for a rename.
TEST_F(WatcherTest, ASourceRenamedInCaseOnlyIsTheMemberUnderItsNewName)
{
    namespace fs = std::filesystem;
    const auto members = [] {
        std::vector<IfileManager::Entry> entries;
        Files().GetFiles(entries, 0, nullptr);
        std::set<std::string> names;
        for (const auto& entry : entries) names.insert(entry->GetFileTitleAndExt());
        return names;
    };
    Write("hdl/MID.vhd", "entity MID is end;\narchitecture rtl of MID is begin end;\n");
    Watcher().Rescan(nullptr);
    ASSERT_EQ(members(), std::set<std::string>{"MID.vhd"});
    const IfileManager::Entry member =
        Files().GetFile(IfileObject(ImodelFileName(Path("hdl/MID.vhd")), zorpaFT_UNKNOWN, ImodelFMFull, true, true));
    ASSERT_TRUE(member);

    // Renamed, nothing else: the same entry takes the name, nothing is parsed.
    fs::rename(Path("hdl/MID.vhd"), Path("hdl/mid.vhd"));
    Watcher().Rescan(nullptr);
    EXPECT_EQ(members(), std::set<std::string>{"mid.vhd"});
    EXPECT_EQ(member->GetFileTitleAndExt(), "mid.vhd");
    EXPECT_EQ(Baseline(zorpaFT_HDL), std::set<std::string>{"mid.vhd"});
    ASSERT_EQ(services.renames.size(), 1u);
    EXPECT_EQ(services.renames[0], std::make_pair(std::string("MID.vhd"), Path("hdl/mid.vhd")));
    EXPECT_EQ(Adds("mid.vhd"), 0);
    EXPECT_EQ(Units(), std::set<std::string>{"MID"});
    Watcher().Rescan(nullptr);
    EXPECT_EQ(services.renames.size(), 1u);

    // Renamed back while the watcher starts over (its baseline made from the
    // disk as it is now), then edited: the member follows at the edit.
    fs::rename(Path("hdl/mid.vhd"), Path("hdl/MID.vhd"));
    Watcher().Reset();
    Watcher().Start();
    Write("hdl/MID.vhd", "entity MID is port (p : in bit); end;\narchitecture rtl of MID is begin end;\n");
    Touch("hdl/MID.vhd", 7);
    Watcher().Rescan(nullptr);
    EXPECT_EQ(members(), std::set<std::string>{"MID.vhd"});
    EXPECT_EQ(services.renames.size(), 2u);
    EXPECT_EQ(Units(), std::set<std::string>{"MID"});

    // Another file of the other case beside it: two files; the member keeps its name.
    fs::copy_file(Path("hdl/MID.vhd"), Path("hdl/mid.vhd"));
    Touch("hdl/mid.vhd", 9);
    Watcher().Rescan(nullptr);
    Watcher().Rescan(nullptr);
    EXPECT_EQ(services.renames.size(), 2u);
    EXPECT_TRUE(InProject("hdl/MID.vhd"));
}
