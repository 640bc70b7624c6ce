// The project's file manager: queries in name order, listeners before views,
// parents and their children, error groups, keys, the file-list block through
// the project-file reader, views, schematic pages and the free functions.
#include "IfileObjectTestSupport.h"
#include "ProjectFileBlock.h"
#include "RecordingView.h"
#include "TempFolder.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileListener.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFilterParent.h"
#include "ifile/IfileManagerFunctions.h"
#include "imodel/design/ImodelFreeLater.h"
#include "imodel/model/Imodel.h"
#include "src/ifile/ifileManagerImpl.h"
#include "src/imodel/design/imodelReclaimer.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Entry = IfileManager::Entry;
using Names = std::vector<std::string>;

class RecordingListener : public IfileListener {
public:
    Names calls;
    std::function<void()> onEmpty;
    std::function<void()> onUpdate;

    void EmptyFileList() override
    {
        if (onEmpty) onEmpty();
        calls.push_back("empty");
    }
    void UpdateFile(const Entry& file, bool isNew) override
    {
        calls.push_back((isNew ? "new " : "update ") + file->GetFileTitleAndExt());
        if (onUpdate) onUpdate();
    }
    void RemoveFile(const Entry& file) override { calls.push_back("remove " + file->GetFileTitleAndExt()); }
};

// The model's file manager over a fresh project folder, emptied before and
// after each test.
class FileManagerTest : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    void Clear()
    {
        files.RemoveAllFiles();
        files.UpdateErrorFiles();
        files.ClearNames(0);
    }

    // A member file of the project, created on disk.
    IfileObjectEx Member(const std::string& relative, zorpaFileManagerTypes type) const
    {
        project.Write(relative, "");
        return IfileObjectEx(IfileObject(relative, type, ImodelFMRelative, false, true), false);
    }
    Entry Add(const std::string& relative, zorpaFileManagerTypes type)
    {
        return files.AddOrUpdateFile(Member(relative, type), false);
    }
    static IfileObject Named(const std::string& relative)
    {
        return IfileObject(relative, zorpaFT_UNKNOWN, ImodelFMRelative, false, true);
    }

    TempFolder project;
    ProjectFolderScope folder{project.Path()};
    IfileManager& files = *Imodel::GetInstance().GetFileManager();
};

// The file events a view received (a file's first state also marks the
// project as needing a save, which has an event of its own).
Names FileEvents(const RecordingView& view)
{
    Names names;
    for (const std::string& name : view.Names())
        if (name.rfind("IeventFile", 0) == 0) names.push_back(name);
    return names;
}

template <class Files>
Names Stored(const Files& list)
{
    Names names;
    for (const auto& file : list) {
        if constexpr (std::is_same_v<typename Files::value_type, Entry>)
            names.push_back(file->GetInternalFileName());
        else
            names.push_back(file.GetInternalFileName());
    }
    return names;
}

}  // namespace

TEST_F(FileManagerTest, QueriesAnswerInTheTextOrderOfFullNames)
{
    Add("src/b.v", zorpaFT_HDL);
    Add("src/a.v", zorpaFT_HDL);
    IfileObjectEx package = Member("src/A.vhd", zorpaFT_HDL);
    package.SetDefinedPackages({"pkg"});
    files.AddOrUpdateFile(package, false);
    Add("pallador/impl0/top.adb", zorpaFT_ADB);
    Add("pallador/impl1/top.adb", zorpaFT_ADB);
    Add("constraints/c.pdc", zorpaFT_PDC);

    std::vector<Entry> entries(3);
    files.GetFilesOfSpecificType(zorpaFT_HDL, entries, 0, nullptr);
    EXPECT_EQ(Stored(entries), (Names{"<project>/src/A.vhd", "<project>/src/a.v", "<project>/src/b.v"}));
    files.GetFilesWith(entries);
    EXPECT_EQ(Stored(entries), Names{"<project>/src/A.vhd"});
    // Scope 1 keeps the files of no view and of the current one (0).
    std::deque<IfileObjectEx> copies;
    files.GetFilesOfSpecificType(zorpaFT_ADB, copies, 1, nullptr);
    EXPECT_EQ(Stored(copies), Names{"<project>/pallador/impl0/top.adb"});
    files.GetFilesOfRevision(1, copies);
    EXPECT_EQ(Stored(copies), Names{"<project>/pallador/impl1/top.adb"});
    EXPECT_TRUE(files.HasFileOfGlobalType(ImodelGetGlobalType(zorpaFT_PDC), 0));
    const IfileManagerFilterRevDependentFiles ofAView(true);
    EXPECT_FALSE(files.HasFileOfSpecificType(zorpaFT_HDL, 0, &ofAView));

    // Name lookups against a walk: FileManagerIndexTest. GetFile takes exact keys.
    EXPECT_TRUE(files.GetFile(Named("src/b.v")));
    EXPECT_FALSE(files.GetFile(Named("SRC/B.V")));

    // "<project>" follows the project folder.
    ProjectFolderScope moved("/moved/prj");
    EXPECT_TRUE(files.HasFileNamed("/moved/prj/src/b.v", ImodelFMFull, 0));
}

TEST_F(FileManagerTest, ListenersHearOfChangesBeforeTheViews)
{
    RecordingView view;
    RecordingListener first;
    RecordingListener second;
    files.AddListener(&first);
    files.AddListener(&second);
    files.AddListener(&first);
    const Entry added = Add("a.v", zorpaFT_HDL);
    EXPECT_EQ(Add("a.v", zorpaFT_HDL), added);
    EXPECT_EQ(first.calls, (Names{"new a.v", "update a.v"}));
    EXPECT_EQ(second.calls, first.calls);
    EXPECT_EQ(FileEvents(view), (Names{"IeventFileAddedOrModified", "IeventFileAddedOrModified"}));

    // A missing local file is not registered and nobody is told.
    first.calls.clear();
    PrintCapture trace;
    EXPECT_FALSE(files.AddOrUpdateFile(IfileObjectEx(Named("gone.v"), false), false));
    EXPECT_TRUE(trace.Holds("Error: Cannot access file <project>/gone.v"));
    files.AnnounceFileChange(Named("other.v"));
    EXPECT_TRUE(first.calls.empty());

    // A file named in both lists is not updated, the others are, in one batch.
    Add("b.v", zorpaFT_HDL);
    Add("c.v", zorpaFT_HDL);
    first.calls.clear();
    view.Clear();
    files.AddFiles({Named("a.v"), Named("b.v")}, {Named("B.V"), Named("c.v")});
    EXPECT_EQ(first.calls, (Names{"update a.v", "update c.v"}));
    ASSERT_EQ(view.Batches().size(), 1u);

    // A listener may take another one off while it is told.
    first.calls.clear();
    second.calls.clear();
    first.onUpdate = [&] { files.RemoveListener(&second); };
    Add("d.v", zorpaFT_HDL);
    EXPECT_EQ(first.calls, Names{"new d.v"});
    EXPECT_TRUE(second.calls.empty());
    files.RemoveListener(&first);
}

// What every file of a filtered update is told, against a plain reference:
// each listener hears of the files that pass, in key order, and the views
// get one batch of their events in the same order; once told, nothing but
// the views' kept batches holds the files any more. Each listener hears of
// every file before the next hears of any: one taken off meanwhile hears
// nothing.
TEST_F(FileManagerTest, UpdatingManyFilesTellsEachListenerAndTheViewsOfThePassingFilesInKeyOrder)
{
    std::mt19937 random(7);
    const zorpaFileManagerTypes types[] = {zorpaFT_HDL, zorpaFT_PDC, zorpaFT_ADB};
    std::vector<int> order(90);
    for (int i = 0; i < static_cast<int>(order.size()); ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), random);
    std::map<std::string, Entry> hdl;
    for (const int i : order) {
        const zorpaFileManagerTypes type = types[random() % 3];
        const Entry entry = Add("f" + std::to_string(i) + ".v", type);
        ASSERT_TRUE(entry);
        if (type == zorpaFT_HDL) hdl.emplace(entry->GetInternalFileName().GetString(), entry);
    }
    ASSERT_GE(hdl.size(), 10u);
    // Key order of the stored names is their text order here.
    Names expected;
    std::vector<long> counts;
    for (const auto& [name, entry] : hdl) {
        expected.push_back("update " + entry->GetFileTitleAndExt());
        counts.push_back(entry.use_count());
    }

    RecordingView view;
    RecordingListener first;
    RecordingListener second;
    files.AddListener(&first);
    files.AddListener(&second);
    files.UpdateFiles(IfileManagerFilterSameFileType(zorpaFT_HDL));
    EXPECT_EQ(first.calls, expected);
    EXPECT_EQ(second.calls, expected);
    ASSERT_EQ(view.Batches().size(), 1u);
    Names told;
    for (const boost::shared_ptr<Ievent>& event : view.Batches().front()) {
        const auto* added = dynamic_cast<const IeventFileAddedOrModified*>(event.get());
        ASSERT_NE(added, nullptr);
        EXPECT_FALSE(added->AreNewFiles());
        told.push_back("update " + added->GetFiles().front()->GetFileTitleAndExt());
    }
    EXPECT_EQ(told, expected);
    view.Clear();
    std::size_t at = 0;
    for (const auto& [name, entry] : hdl) EXPECT_EQ(entry.use_count(), counts[at++]) << name;

    // The first takes the second off at its third file: the second, told
    // after the first, hears of none.
    first.calls.clear();
    second.calls.clear();
    first.onUpdate = [&] {
        if (first.calls.size() == 3) files.RemoveListener(&second);
    };
    files.UpdateFiles(IfileManagerFilterSameFileType(zorpaFT_HDL));
    EXPECT_EQ(first.calls, expected);
    EXPECT_TRUE(second.calls.empty());
    files.RemoveListener(&first);
}

TEST_F(FileManagerTest, RemovingAParentAnnouncesItsChildrenAgainAndRemovingAllTellsOnce)
{
    const Entry core = Add("core.cxf", zorpaFT_OMBRIX_CXF);
    IfileObjectEx x = Member("x.v", zorpaFT_HDL);
    IfileObjectEx y = Member("y.v", zorpaFT_HDL);
    x.AddParentFile(*core);
    y.AddParentFile(*core);
    const Entry childY = files.AddOrUpdateFile(y, false);
    files.AddOrUpdateFile(x, false);
    Add("z.v", zorpaFT_HDL);

    RecordingView view;
    RecordingListener listener;
    files.AddListener(&listener);
    {
        // The children are found under the folder of the moment.
        ProjectFolderScope moved(project.Path() + "/moved");
        files.RemoveFile(Named("core.cxf"));
    }
    EXPECT_EQ(listener.calls, (Names{"remove core.cxf", "remove x.v", "new x.v", "remove y.v", "new y.v"}));
    EXPECT_EQ(FileEvents(view), (Names{"IeventFileRemoved", "IeventFileRemoved", "IeventFileAddedOrModified",
                                       "IeventFileRemoved", "IeventFileAddedOrModified"}));
    EXPECT_EQ(core->GetFileState(), imodelFileAbsent);
    EXPECT_FALSE(childY->HasParentFile());

    view.Clear();
    listener.calls.clear();
    listener.onEmpty = [&view] { EXPECT_EQ(FileEvents(view), Names{"IeventFileRemoveAll"}); };
    files.RemoveAllFiles();
    files.RemoveListener(&listener);
    EXPECT_EQ(FileEvents(view), Names{"IeventFileRemoveAll"});
    EXPECT_EQ(listener.calls, Names{"empty"});
    EXPECT_EQ(childY->GetFileState(), imodelFileAbsent);
}

TEST_F(FileManagerTest, ErrorGroupsHoldOnlyLiveRegisteredFiles)
{
    IfileObjectEx defining = Member("a.v", zorpaFT_HDL);
    defining.SetErrorFile(ImodelModuleAlreadyDefined, "top");
    IfileObjectEx usedAnyway = Member("b.v", zorpaFT_HDL);
    usedAnyway.SetErrorFile(ImodelNoError, "top");
    const Entry a = files.AddOrUpdateFile(defining, true);
    const Entry b = files.AddOrUpdateFile(usedAnyway, true);
    IfileManager::ErrorGroupRange groups = files.GetErrorFileGroups();
    ASSERT_EQ(std::distance(groups.first, groups.second), 1);
    ASSERT_EQ(groups.first->second->size(), 2u);
    EXPECT_EQ(groups.first->second->begin()->file.lock(), a);

    // The defining file goes: the other one is in error beside nobody.
    files.RemoveFile(*a);
    groups = files.GetErrorFileGroups();
    EXPECT_EQ(groups.first, groups.second);

    // A file shown as its core, which the project does not hold, joins no group.
    IfileObjectEx generated = Member("gen.v", zorpaFT_HDL);
    generated.AddParentFile(IfileObject("cores/c.cxf", zorpaFT_OMBRIX_CXF, ImodelFMRelative, false, true));
    generated.SetErrorFile(ImodelModuleAlreadyDefined, "other");
    ASSERT_TRUE(files.AddOrUpdateFile(generated, true));
    groups = files.GetErrorFileGroups();
    EXPECT_EQ(groups.first, groups.second);

    // Clearing the errors reaches the registered files of the groups.
    files.AddOrUpdateFile(defining, true);
    const Entry again = files.GetFile(defining);
    files.UpdateErrorFiles();
    EXPECT_EQ(again->GetErrorFileType(), ImodelNoError);
    EXPECT_EQ(b->GetModuleAlreadyDefined(), "top");
}

TEST_F(FileManagerTest, RenamingAKeyNeverLosesAnEntry)
{
    const Entry a = Add("a.v", zorpaFT_HDL);
    Add("b.v", zorpaFT_HDL);
    const IfileObject oldName = *a;
    a->SetFileName("b.v", ImodelFMRelative, true);
    EXPECT_FALSE(files.RenameFileKey(a, oldName));
    EXPECT_EQ(files.GetFile(oldName), a);
    EXPECT_EQ(files.GetFileCount(), 2);

    // Successful re-keyings against a walk: FileManagerIndexTest.
    EXPECT_FALSE(files.RenameFileKey(Entry(), *a));
    EXPECT_FALSE(files.RenameFileKey(a, Named("unknown.v")));

    // The name list holds each file once, by file-name equality.
    EXPECT_FALSE(files.AddName("a", 1));
    EXPECT_TRUE(files.AddName("/prj/a.adb", 0));
    EXPECT_TRUE(files.AddName("/PRJ\\A.ADB", 0));
    std::vector<ImodelFileName> names;
    EXPECT_TRUE(files.GetNames(names, 0));
    EXPECT_EQ(names, std::vector<ImodelFileName>{"/prj/a.adb"});
    EXPECT_TRUE(files.RemoveName("/prj/A.ADB", 0));
    EXPECT_FALSE(files.HasName("/prj/a.adb", 0));
}

TEST_F(FileManagerTest, TheFileListBlockReadsBackThroughTheProjectFileReader)
{
    // Every attribute of the block: IfileFileListTest; whole project files:
    // project_round_trip.tcl.
    EXPECT_FALSE(files.WriteFileList(nullptr));
    Add("b.v", zorpaFT_HDL);
    Add("a.sch", zorpaFT_SCH);
    Add("c.v", zorpaFT_HDL);
    const std::string written = WrittenBy([&](std::ostream* stream) { EXPECT_TRUE(files.WriteFileList(stream)); });
    ImodelProjectFileStructure parsed;
    parsed.Parse("test.prj", "KEY SOLVATO \"8.4\"\n" + written, "");
    int count = -1;
    EXPECT_TRUE(files.ReadFileList(parsed, count));
    EXPECT_EQ(count, 3);

    // Without a file-list block the files of a view's description are
    // taken: those on disk as present, the others for removal.
    ImodelProjectFileStructure withoutBlock;
    withoutBlock.Parse("old.prj", "KEY SOLVATO \"8.4\"\n", "");
    EXPECT_FALSE(files.ReadFileList(withoutBlock, count));
    project.Write("pallador/impl1/impl.prj_pld", "FILE \"x.adb\"\nFILE \"gone.adb\"\n");
    project.Write("pallador/impl1/x.adb", "");
    EXPECT_TRUE(files.RegisterPresentFiles(1, withoutBlock, {}));
    EXPECT_EQ(withoutBlock.GetPalladorFilesRead().size(), 1u);
    ASSERT_EQ(withoutBlock.GetFilesToDelete().size(), 1u);
    EXPECT_EQ(withoutBlock.GetFilesToDelete()[0].first, project.Path() + "/pallador/impl1/gone.adb");

    // A failed stream is no success.
    std::ostringstream failed;
    failed.setstate(std::ios::badbit);
    EXPECT_FALSE(files.WriteFileList(&failed));
}

TEST(IfileManager, AManagerGoingAwayLeavesItsEntriesAbsentAndUnlinked)
{
    TempFolder project;
    ProjectFolderScope folder(project.Path());
    // Files go in key order: the parent first, while its child is still there.
    project.Write("a.v", "");
    project.Write("c.v", "");
    Entry parent;
    Entry child;
    {
        ifileManagerImpl files;
        parent = files.AddOrUpdateFile(
            IfileObjectEx(IfileObject("a.v", zorpaFT_HDL, ImodelFMRelative, false, true), false), false);
        IfileObjectEx c(IfileObject("c.v", zorpaFT_HDL, ImodelFMRelative, false, true), false);
        c.AddParentFile(*parent);
        child = files.AddOrUpdateFile(c, false);
        ASSERT_TRUE(child->HasParentFile());
    }
    EXPECT_EQ(parent->GetFileState(), imodelFileAbsent);
    EXPECT_EQ(child->GetFileState(), imodelFileAbsent);
    EXPECT_FALSE(child->HasParentFile());
}

namespace {

// What a file entry shows once it has left the manager.
std::string Snapshot(const Entry& file)
{
    std::string text = file->GetInternalFileName().GetString() + " state " + std::to_string(file->GetFileState()) + " error " +
                       std::to_string(file->GetErrorFileType()) + " '" + file->GetModuleAlreadyDefined() + "' parents";
    for (const IfileObjectEx::ParentFile& parent : file->GetParentFileList())
        text += " " + parent.first.GetInternalFileName().GetString();
    return text;
}

}  // namespace

TEST_F(FileManagerTest, RemovingAllLeavesTheEntriesAsRemovingEachInKeyOrder)
{
    // Random projects of files with parents among them (themselves
    // included), parents from outside and error groups: removing all at once
    // leaves every entry as removing the files one by one in key order does.
    std::mt19937 random(28);
    const auto pick = [&random](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
    const ImodelErrorFileType kinds[] = {ImodelNoError, ImodelModuleAlreadyDefined, ImodelNoError};
    for (int round = 0; round < 12; ++round) {
        const int count = 1 + pick(40);
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i)
            names.push_back((pick(3) == 0 ? "sub/" : "") + std::string(pick(2) ? "F" : "f") + std::to_string(i) +
                            ".vhd");
        std::vector<std::vector<std::string>> parents(names.size());
        for (auto& list : parents)
            for (int p = pick(4); p > 0; --p)
                list.push_back(pick(5) == 0 ? "outside" + std::to_string(pick(3)) + ".cxf"
                                            : names[static_cast<std::size_t>(pick(count))]);
        std::vector<std::pair<ImodelErrorFileType, std::string>> errors;
        for (int i = 0; i < count; ++i) errors.emplace_back(kinds[pick(3)], pick(2) ? "unit" + std::to_string(pick(4)) : "");

        const auto fill = [&] {
            std::vector<Entry> entries;
            for (std::size_t i = 0; i < names.size(); ++i) {
                IfileObjectEx file = Member(names[i], zorpaFT_HDL);
                for (const std::string& parent : parents[i]) file.AddParentFile(Named(parent));
                file.SetErrorFile(errors[i].first, errors[i].second);
                entries.push_back(files.AddOrUpdateFile(file, true));
                EXPECT_TRUE(entries.back());
            }
            return entries;
        };
        const auto shown = [](const std::vector<Entry>& entries) {
            std::vector<std::string> texts;
            for (const Entry& entry : entries) texts.push_back(Snapshot(entry));
            return texts;
        };

        const std::vector<Entry> one = fill();
        std::vector<Entry> inOrder;
        files.GetFiles(inOrder, 0, nullptr);
        for (const Entry& entry : inOrder) files.RemoveFile(*entry);
        EXPECT_FALSE(files.GetErrorFileGroups().first != files.GetErrorFileGroups().second);
        const std::vector<std::string> expected = shown(one);

        const std::vector<Entry> all = fill();
        files.RemoveAllFiles();
        std::vector<Entry> left;
        files.GetFiles(left, 0, nullptr);
        EXPECT_TRUE(left.empty());
        EXPECT_FALSE(files.GetErrorFileGroups().first != files.GetErrorFileGroups().second);
        ASSERT_EQ(shown(all), expected) << "round " << round;
        // The emptied manager takes the files again and finds them by name.
        fill();
        for (std::size_t i = 0; i < names.size(); ++i) EXPECT_TRUE(files.ContainsFile(Named(names[i]))) << names[i];
        files.RemoveAllFiles();
    }
}

TEST_F(FileManagerTest, RemovingAllLetsGoOfTheFilesAtOnceAndTheMapsMemoryLater)
{
    // Random projects whose files others hold, weakly or not at all, while
    // the map's memory goes to the reclaimer: once RemoveAllFiles returns,
    // before anything is freed, the files nobody else holds are gone (their
    // weak references expire then, as when the map was emptied on the spot),
    // those held are held by their holders alone, and the emptied manager
    // takes files again and finds them, kept in its own memory. Inside a
    // close's gathering the map is kept back until the gathering ends.
    imodelReclaimer& reclaimer = imodelTheReclaimer();
    std::mt19937 random(32);
    const auto pick = [&random](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const int count = 1 + pick(300);
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i)
            names.push_back((pick(4) == 0 ? "sub/" : "") + std::string("u") + std::to_string(i) + ".vhd");
        std::vector<Entry> held;
        std::vector<boost::weak_ptr<IfileObjectEx>> watched;
        std::vector<bool> isHeld;
        for (std::size_t i = 0; i < names.size(); ++i) {
            IfileObjectEx file = Member(names[i], zorpaFT_HDL);
            for (int p = pick(3); p > 0; --p) file.AddParentFile(Named(names[static_cast<std::size_t>(pick(count))]));
            const Entry entry = files.AddOrUpdateFile(file, true);
            ASSERT_TRUE(entry);
            watched.push_back(entry);
            isHeld.push_back(pick(3) == 0);
            if (isHeld.back()) held.push_back(entry);
        }
        const bool gathered = round % 2 == 1;
        reclaimer.Wait();
        const std::uint64_t handedBefore = reclaimer.ReclaimedOnThread() + reclaimer.ReclaimedInPlace();
        {
            std::optional<ImodelFreeTogether> together;
            if (gathered) together.emplace();
            files.RemoveAllFiles();
            for (std::size_t i = 0; i < watched.size(); ++i) {
                EXPECT_EQ(watched[i].expired(), !isHeld[i]) << names[i];
                if (const Entry file = watched[i].lock()) {
                    EXPECT_EQ(file->GetFileState(), imodelFileAbsent);
                    EXPECT_EQ(file.use_count(), 2) << "only its holder and this lock hold " << names[i];
                }
            }
            // Kept back: nothing is handed over until the gathering ends.
            if (gathered) {
                EXPECT_FALSE(reclaimer.Busy());
            }
            // The manager is empty and takes files again, whatever becomes of
            // the memory it let go of.
            EXPECT_EQ(files.GetFileCount(), 0);
            for (std::size_t i = 0; i < names.size(); i += 3)
                EXPECT_TRUE(files.AddOrUpdateFile(Member(names[i], zorpaFT_HDL), false));
        }
        reclaimer.Wait();
        EXPECT_EQ(reclaimer.ReclaimedOnThread() + reclaimer.ReclaimedInPlace(), handedBefore + 1);
        for (std::size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(files.ContainsFile(Named(names[i])), i % 3 == 0) << names[i];
        std::vector<Entry> all;
        files.GetFiles(all, 0, nullptr);
        EXPECT_EQ(all.size(), (names.size() + 2) / 3);
        files.RemoveFile(Named(names[0]));
        EXPECT_FALSE(files.ContainsFile(Named(names[0])));
        files.RemoveAllFiles();
        reclaimer.Wait();
    }
}

namespace {

// All a file shows that removing it keeps or clears: its names, texts, state,
// error and parents.
std::string Shown(const IfileObjectEx& file)
{
    std::string text = file.GetInternalFileName().GetString() + " | " + file.GetFullFileName().GetString() +
                       " | state " + std::to_string(file.GetFileState()) + " error " +
                       std::to_string(file.GetErrorFileType()) + " '" + file.GetModuleAlreadyDefined() + "' library '" +
                       file.GetLibraryName() + "' compile '" + file.GetCompileSetting() + "' parents";
    for (const IfileObjectEx::ParentFile& parent : file.GetParentFileList())
        text += " " + parent.first.GetInternalFileName().GetString();
    return text;
}

// A host's data on a file: notes on which thread it was let go of.
struct NotedRelease {
    explicit NotedRelease(std::optional<std::thread::id>& releasedOn) : releasedOn(releasedOn) {}
    ~NotedRelease() { releasedOn = std::this_thread::get_id(); }
    std::optional<std::thread::id>& releasedOn;
};

}  // namespace

TEST_F(FileManagerTest, RemovingAllLeavesHeldFilesAsRemovingEachDoesAndTheOthersGoAtOnce)
{
    // Random projects of files with long and short names, compile settings,
    // libraries and error texts, parents among them and full names asked or
    // not; each file is held by others strongly, weakly only, or not at all,
    // and some carry a host's data. Removing all at once inside a close's
    // gathering leaves every file held as removing the files one by one in
    // key order does, before and after the reclaimer has freed what was let
    // go of. The files nobody else holds are gone when it returns, and their
    // host's data was let go of on this thread.
    imodelReclaimer& reclaimer = imodelTheReclaimer();
    std::mt19937 random(33);
    const auto pick = [&random](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
    const std::string longText(40, 'x');
    const ImodelErrorFileType kinds[] = {ImodelNoError, ImodelModuleAlreadyDefined, ImodelParseError};
    for (int round = 0; round < 16; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const int count = 1 + pick(200);
        struct Made {
            std::string name, compile, library, error;
            ImodelErrorFileType kind;
            std::vector<std::string> parents;
            bool askFullName, hostData;
            int held;  // 0 by nobody else, 1 strongly, 2 weakly only
        };
        std::vector<Made> made(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            Made& file = made[static_cast<std::size_t>(i)];
            file.name = pick(2) ? "a_folder_with_a_long_name_" + std::to_string(pick(3)) + "/unit_" + longText + "_" +
                                      std::to_string(i) + ".vhd"
                                : "u" + std::to_string(i) + ".vhd";
            file.compile = std::vector<std::string>{"", "-O", "-define=" + longText}[static_cast<std::size_t>(pick(3))];
            file.library = pick(2) ? "work" : "library_" + longText;
            file.kind = kinds[pick(3)];
            file.error = pick(2) ? "" : pick(2) ? "unit" : "unit_" + longText;
            file.askFullName = pick(2) == 0;
            file.hostData = pick(6) == 0;
            file.held = pick(3);
        }
        for (Made& file : made)
            for (int p = pick(3); p > 0; --p) file.parents.push_back(made[static_cast<std::size_t>(pick(count))].name);

        std::vector<std::optional<std::thread::id>> releasedOn(made.size());
        const auto fill = [&] {
            std::vector<Entry> entries;
            for (std::size_t i = 0; i < made.size(); ++i) {
                IfileObjectEx file = Member(made[i].name, zorpaFT_HDL);
                for (const std::string& parent : made[i].parents) file.AddParentFile(Named(parent));
                EXPECT_TRUE(file.SetCompileSetting(made[i].compile));
                EXPECT_TRUE(file.SetLibraryName(made[i].library));
                file.SetErrorFile(made[i].kind, made[i].error);
                entries.push_back(files.AddOrUpdateFile(file, true));
                EXPECT_TRUE(entries.back());
                if (made[i].askFullName) entries.back()->GetFullFileName();
                releasedOn[i].reset();
                if (made[i].hostData) entries.back()->SetClientData(boost::make_shared<NotedRelease>(releasedOn[i]));
            }
            return entries;
        };

        // The plain way: every file held, removed one at a time.
        std::vector<Entry> expected;
        {
            const std::vector<Entry> entries = fill();
            std::vector<Entry> inOrder;
            files.GetFiles(inOrder, 0, nullptr);
            for (const Entry& entry : inOrder) files.RemoveFile(*entry);
            expected = entries;
        }
        std::vector<std::string> expectedShown;
        for (const Entry& entry : expected) expectedShown.push_back(Shown(*entry));
        expected.clear();

        std::vector<Entry> held(made.size());
        std::vector<boost::weak_ptr<IfileObjectEx>> watched(made.size());
        {
            const std::vector<Entry> entries = fill();
            for (std::size_t i = 0; i < made.size(); ++i) {
                watched[i] = entries[i];
                if (made[i].held == 1) held[i] = entries[i];
            }
        }
        const auto heldAsExpected = [&] {
            for (std::size_t i = 0; i < made.size(); ++i) {
                if (held[i]) {
                    EXPECT_EQ(Shown(*held[i]), expectedShown[i]);
                }
            }
        };
        reclaimer.Wait();
        {
            ImodelFreeTogether together;
            files.RemoveAllFiles();
            for (std::size_t i = 0; i < made.size(); ++i) {
                EXPECT_EQ(watched[i].expired(), made[i].held != 1) << made[i].name;
                if (made[i].hostData && made[i].held != 1) {
                    EXPECT_EQ(releasedOn[i], std::this_thread::get_id()) << made[i].name;
                } else {
                    EXPECT_FALSE(releasedOn[i]) << made[i].name;
                }
            }
            heldAsExpected();
        }
        reclaimer.Wait();
        heldAsExpected();
        // The host's data of a held file goes with its last holder.
        for (std::size_t i = 0; i < made.size(); ++i) {
            held[i].reset();
            EXPECT_EQ(releasedOn[i].has_value(), made[i].hostData) << made[i].name;
        }
    }
}
