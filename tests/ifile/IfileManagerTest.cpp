#include "IfileObjectTestSupport.h"
#include "MessageRecorder.h"
#include "RecordingView.h"
#include "TempFolder.h"

#include "ifile/IfileExtendedInfoManager.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileListener.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFilterParent.h"
#include "ifile/IfileManagerFunctions.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelProjectFileStructure.h"
#include "src/ifile/ifileManagerImpl.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Entry = IfileManager::Entry;

class RecordingListener : public IfileListener {
public:
    std::vector<std::string> calls;
    std::function<void()> onEmpty;
    std::function<void()> onUpdate;

    void EmptyFileList() override
    {
        if (onEmpty) onEmpty();
        calls.push_back("empty");
    }
    void UpdateFile(Entry file, bool isNew) override
    {
        calls.push_back((isNew ? "new " : "update ") + file->GetFileTitleAndExt());
        if (onUpdate) onUpdate();
    }
    void RemoveFile(Entry file) override { calls.push_back("remove " + file->GetFileTitleAndExt()); }
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
std::vector<std::string> FileEvents(const RecordingView& view)
{
    std::vector<std::string> names;
    for (const std::string& name : view.Names())
        if (name.rfind("IeventFile", 0) == 0) names.push_back(name);
    return names;
}

template <class Files>
std::vector<std::string> Stored(const Files& list)
{
    std::vector<std::string> names;
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
    Add("top.sch", zorpaFT_SCH);
    Add("pallador/impl0/top.adb", zorpaFT_ADB);
    Add("pallador/impl1/top.adb", zorpaFT_ADB);
    Add("constraints/c.pdc", zorpaFT_PDC);
    EXPECT_EQ(files.GetFileCount(), 7);

    std::vector<Entry> entries(3);
    files.GetFilesOfSpecificType(zorpaFT_HDL, entries, 0, nullptr);
    EXPECT_EQ(Stored(entries),
              (std::vector<std::string>{"<project>/src/A.vhd", "<project>/src/a.v", "<project>/src/b.v"}));
    files.GetFilesWith(entries);
    EXPECT_EQ(Stored(entries), std::vector<std::string>{"<project>/src/A.vhd"});

    // Scope 1 keeps the files of no view and of the current one (0).
    std::deque<IfileObjectEx> copies;
    files.GetFilesOfSpecificType(zorpaFT_ADB, copies, 1, nullptr);
    EXPECT_EQ(Stored(copies), std::vector<std::string>{"<project>/pallador/impl0/top.adb"});
    files.GetFilesOfGlobalType(zorpaFT_GROUP_PALLADOR, copies, 0, nullptr);
    EXPECT_EQ(Stored(copies),
              (std::vector<std::string>{"<project>/pallador/impl0/top.adb", "<project>/pallador/impl1/top.adb"}));
    EXPECT_TRUE(files.HasFileOfGlobalType(ImodelGetGlobalType(zorpaFT_PDC), 0));
    EXPECT_FALSE(files.HasFileOfGlobalType(ImodelGetGlobalType(zorpaFT_VCD), 0));
    const IfileManagerFilterRevDependentFiles ofAView(true);
    EXPECT_FALSE(files.HasFileOfSpecificType(zorpaFT_HDL, 0, &ofAView));

    files.GetFilesOfRevision(1, copies);
    EXPECT_EQ(Stored(copies), std::vector<std::string>{"<project>/pallador/impl1/top.adb"});
    files.GetFilesOfRevision(-1, copies);
    EXPECT_EQ(copies.size(), 5u);
    files.GetFilesOfRevision(7, copies);
    EXPECT_TRUE(copies.empty());
    files.GetFiles(entries, 1, &ofAView);
    EXPECT_EQ(Stored(entries), std::vector<std::string>{"<project>/pallador/impl0/top.adb"});

    // Exact keys for GetFile, file-name equality for the name queries.
    const unsigned int lookups = files.GetLookupCount();
    EXPECT_TRUE(files.GetFile(Named("src/b.v")));
    EXPECT_FALSE(files.GetFile(Named("SRC/B.V")));
    EXPECT_EQ(files.GetLookupCount(), lookups + 2);
    EXPECT_FALSE(files.ContainsFile(Named("SRC/B.V")));
    EXPECT_TRUE(files.HasFileNamed(project.Path() + "/SRC\\B.V", ImodelFMFull, 0));
    EXPECT_TRUE(files.HasFileNamed("<project>/src/B.v", ImodelFMInternal, 0));
    EXPECT_TRUE(files.HasFileNamed("src/b.v", ImodelFMRelative, 0));
    EXPECT_TRUE(files.HasFileNamed("C.PDC", ImodelFMShort, 0));
    EXPECT_FALSE(files.HasFileNamed("src/c.v", ImodelFMRelative, 0));
    EXPECT_FALSE(files.HasFileNamed("pallador/impl1/top.adb", ImodelFMRelative, 1));
    EXPECT_TRUE(files.HasFileNamed("pallador/impl1/top.adb", ImodelFMRelative, 0));
    // The first file in key order of that short name.
    const Entry first = files.GetFileFor(IfileObject::IsSameFileName("top.adb", ImodelFMShort), 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->GetInternalFileName(), "<project>/pallador/impl0/top.adb");
    EXPECT_FALSE(files.GetFileFor(IfileObject::IsSameFileName("top.v", ImodelFMShort), 0));

    // "<project>" follows the project folder.
    ProjectFolderScope moved("/moved/prj");
    EXPECT_TRUE(files.HasFileNamed("/moved/prj/src/b.v", ImodelFMFull, 0));
    EXPECT_FALSE(files.HasFileNamed(project.Path() + "/src/b.v", ImodelFMFull, 0));
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
    ASSERT_TRUE(added);
    EXPECT_EQ(added->GetFileState(), imodelFileUpToDate);
    EXPECT_EQ(Add("a.v", zorpaFT_HDL), added);
    EXPECT_EQ(first.calls, (std::vector<std::string>{"new a.v", "update a.v"}));
    EXPECT_EQ(second.calls, first.calls);
    EXPECT_EQ(FileEvents(view), (std::vector<std::string>{"IeventFileAddedOrModified", "IeventFileAddedOrModified"}));

    // A missing local file is not registered and nobody is told.
    view.Clear();
    first.calls.clear();
    PrintCapture trace;
    EXPECT_FALSE(files.AddOrUpdateFile(IfileObjectEx(Named("gone.v"), false), false));
    EXPECT_TRUE(trace.Holds("Error: Cannot access file <project>/gone.v"));

    files.AnnounceFileChange(Named("other.v"));
    EXPECT_TRUE(first.calls.empty());
    EXPECT_TRUE(FileEvents(view).empty());
    files.AnnounceFileChange(Named("a.v"));
    EXPECT_EQ(first.calls, std::vector<std::string>{"update a.v"});
    EXPECT_EQ(FileEvents(view), std::vector<std::string>{"IeventFileAddedOrModified"});

    // A file named in both lists is not updated, the others are, in one batch.
    Add("b.v", zorpaFT_HDL);
    Add("c.v", zorpaFT_HDL);
    first.calls.clear();
    view.Clear();
    files.AddFiles({Named("a.v"), Named("b.v")}, {Named("B.V"), Named("c.v")});
    EXPECT_EQ(first.calls, (std::vector<std::string>{"update a.v", "update c.v"}));
    ASSERT_EQ(view.Batches().size(), 1u);
    EXPECT_EQ(view.Batches()[0].size(), 2u);
    view.Clear();
    files.UpdateFiles(IfileManagerFilterIsOneOf({}));
    ASSERT_EQ(view.Batches().size(), 1u);
    EXPECT_TRUE(view.Batches()[0].empty());

    // A listener may take another one off while it is told.
    first.calls.clear();
    second.calls.clear();
    first.onUpdate = [&] { files.RemoveListener(&second); };
    Add("d.v", zorpaFT_HDL);
    EXPECT_EQ(first.calls, std::vector<std::string>{"new d.v"});
    EXPECT_TRUE(second.calls.empty());
    files.RemoveListener(&first);
}

TEST_F(FileManagerTest, RemovingAParentAnnouncesItsChildrenAgain)
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
    files.RemoveListener(&listener);

    EXPECT_EQ(listener.calls,
              (std::vector<std::string>{"remove core.cxf", "remove x.v", "new x.v", "remove y.v", "new y.v"}));
    EXPECT_EQ(FileEvents(view),
              (std::vector<std::string>{"IeventFileRemoved", "IeventFileRemoved", "IeventFileAddedOrModified",
                                        "IeventFileRemoved", "IeventFileAddedOrModified"}));
    EXPECT_EQ(core->GetFileState(), imodelFileAbsent);
    EXPECT_FALSE(childY->HasParentFile());
    EXPECT_EQ(files.GetFileCount(), 3);

    // Removing everything tells the views once, before the listeners.
    view.Clear();
    files.AddListener(&listener);
    listener.calls.clear();
    listener.onEmpty = [&view] { EXPECT_EQ(FileEvents(view), std::vector<std::string>{"IeventFileRemoveAll"}); };
    files.RemoveAllFiles();
    files.RemoveListener(&listener);
    EXPECT_EQ(FileEvents(view), std::vector<std::string>{"IeventFileRemoveAll"});
    EXPECT_EQ(listener.calls, std::vector<std::string>{"empty"});
    EXPECT_EQ(files.GetFileCount(), 0);
    EXPECT_EQ(childY->GetFileState(), imodelFileAbsent);
}

TEST_F(FileManagerTest, RemovalsByTypeAndViewStayWithinTheirScope)
{
    Add("a.v", zorpaFT_HDL);
    Add("pallador/impl0/a.adb", zorpaFT_ADB);
    Add("pallador/impl1/a.adb", zorpaFT_ADB);
    Add("pallador/impl1/a.pro", zorpaFT_PRO);
    files.RemoveFilesOfSpecificType(zorpaFT_ADB, 1);
    EXPECT_FALSE(files.ContainsFile(Named("pallador/impl0/a.adb")));
    EXPECT_TRUE(files.ContainsFile(Named("pallador/impl1/a.adb")));
    files.RemoveFilesOfGlobalType(zorpaFT_GROUP_PALLADOR, 1);
    EXPECT_EQ(files.GetFileCount(), 3);
    files.RemoveFilesOfRevision(1);
    EXPECT_EQ(files.GetFileCount(), 1);
    EXPECT_TRUE(files.ContainsFile(Named("a.v")));
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
    EXPECT_EQ(groups.first->first, "top");
    ASSERT_EQ(groups.first->second->size(), 2u);
    EXPECT_EQ(groups.first->second->begin()->file.lock(), a);

    // The file of kind 2 goes: the one using its module anyway is no longer
    // in error beside anybody, and the group goes.
    files.RemoveFile(*a);
    groups = files.GetErrorFileGroups();
    EXPECT_EQ(groups.first, groups.second);

    // A file shown as its core, which the project does not hold, joins no
    // group: the group would hold an entry that nobody keeps.
    IfileObjectEx generated = Member("gen.v", zorpaFT_HDL);
    generated.AddParentFile(IfileObject("cores/c.cxf", zorpaFT_OMBRIX_CXF, ImodelFMRelative, false, true));
    generated.SetErrorFile(ImodelModuleAlreadyDefined, "other");
    const Entry g = files.AddOrUpdateFile(generated, true);
    ASSERT_TRUE(g);
    groups = files.GetErrorFileGroups();
    EXPECT_EQ(groups.first, groups.second);

    // Clearing the errors reaches the registered files of the groups.
    files.AddOrUpdateFile(defining, true);
    const Entry again = files.GetFile(defining);
    EXPECT_EQ(again->GetErrorFileType(), ImodelModuleAlreadyDefined);
    files.UpdateErrorFiles();
    EXPECT_EQ(again->GetErrorFileType(), ImodelNoError);
    EXPECT_EQ(again->GetModuleAlreadyDefined(), "");
    groups = files.GetErrorFileGroups();
    EXPECT_EQ(groups.first, groups.second);
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

    a->SetFileName("pallador/impl1/c.v", ImodelFMRelative, true);
    EXPECT_TRUE(files.RenameFileKey(a, oldName));
    EXPECT_FALSE(files.ContainsFile(oldName));
    EXPECT_EQ(files.GetFile(*a), a);
    EXPECT_TRUE(files.HasFileNamed("C.V", ImodelFMShort, 0));
    EXPECT_FALSE(files.HasFileNamed("a.v", ImodelFMShort, 0));
    std::deque<IfileObjectEx> ofView;
    files.GetFilesOfRevision(1, ofView);
    EXPECT_EQ(Stored(ofView), std::vector<std::string>{"<project>/pallador/impl1/c.v"});
    EXPECT_FALSE(files.RenameFileKey(Entry(), *a));
    EXPECT_FALSE(files.RenameFileKey(a, Named("unknown.v")));
}

TEST_F(FileManagerTest, TheNameListHoldsEachFileOnce)
{
    std::vector<ImodelFileName> names{"stale"};
    EXPECT_FALSE(files.AddName("a", 1));
    EXPECT_FALSE(files.GetNames(names, 1));
    EXPECT_EQ(names.size(), 1u);
    EXPECT_TRUE(files.AddName("/prj/a.adb", 0));
    EXPECT_TRUE(files.AddName("/PRJ\\A.ADB", 0));
    EXPECT_TRUE(files.AddName("/prj/b.adb", 0));
    EXPECT_TRUE(files.HasName("/prj/A.adb", 0));
    EXPECT_FALSE(files.HasName("/prj/a.adb", 1));
    EXPECT_TRUE(files.GetNames(names, 0));
    EXPECT_EQ(names, (std::vector<ImodelFileName>{"/prj/a.adb", "/prj/b.adb"}));
    EXPECT_TRUE(files.RemoveName("/prj/A.ADB", 0));
    EXPECT_TRUE(files.RemoveName("/prj/none", 0));
    EXPECT_FALSE(files.HasName("/prj/a.adb", 0));
    EXPECT_TRUE(files.ClearNames(0));
    files.GetNames(names, 0);
    EXPECT_TRUE(names.empty());
}

TEST_F(FileManagerTest, TheFileListBlockRoundTripsAndCounts)
{
    std::ostringstream empty;
    EXPECT_TRUE(files.WriteFileList(&empty));
    EXPECT_EQ(empty.str(), "LIST FileManager\nENDLIST\n");
    EXPECT_FALSE(files.WriteFileList(nullptr));

    Add("b.v", zorpaFT_HDL);
    Add("a.sch", zorpaFT_SCH);
    IfileObjectEx child = Member("c.v", zorpaFT_HDL);
    child.AddParentFile(Named("a.sch"));
    files.AddOrUpdateFile(child, false);
    std::ostringstream written;
    EXPECT_TRUE(files.WriteFileList(&written));

    std::deque<IfileObjectEx> read;
    IfileReadFileList(Delivered(written.str()), read, {}, true);
    EXPECT_EQ(Stored(read), (std::vector<std::string>{"<project>/a.sch", "<project>/b.v", "<project>/c.v"}));
    EXPECT_EQ(read[2].GetParentFiles(), std::deque<IfileObject>{Named("a.sch")});

    ImodelProjectFileStructure parsed;
    parsed.Parse("test.prj", "KEY SOLVATO \"8.4\"\n" + written.str(), "");
    int count = -1;
    EXPECT_TRUE(files.ReadFileList(parsed, count));
    EXPECT_EQ(count, 3);
    ImodelProjectFileStructure withoutBlock;
    withoutBlock.Parse("old.prj", "KEY SOLVATO \"8.4\"\n", "");
    EXPECT_FALSE(files.ReadFileList(withoutBlock, count));
    EXPECT_EQ(count, 0);

    // Without a file-list block the files of a view's description are
    // taken: those on disk as present, the others for removal.
    project.Write("pallador/impl1/impl.prj_pld", "FILE \"x.adb\"\nFILE \"gone.adb\"\n");
    project.Write("pallador/impl1/x.adb", "");
    EXPECT_TRUE(files.RegisterPresentFiles(1, withoutBlock, {}));
    EXPECT_EQ(withoutBlock.GetPalladorFilesRead().size(), 1u);
    ASSERT_EQ(withoutBlock.GetFilesToDelete().size(), 1u);
    EXPECT_EQ(withoutBlock.GetFilesToDelete()[0].first, project.Path() + "/pallador/impl1/gone.adb");
    EXPECT_FALSE(files.RegisterPresentFiles(3, withoutBlock, {}));

    // A failed stream is no success.
    std::ostringstream failed;
    failed.setstate(std::ios::badbit);
    EXPECT_FALSE(files.WriteFileList(&failed));
}

TEST_F(FileManagerTest, RetargetingCopiesAViewsFilesIntoAnother)
{
    ImodelFileName moved;
    ASSERT_TRUE(IfileGetFileNameInRev(Named("pallador/impl1/sub/x.adb"), 2, moved, ImodelFMRelative));
    EXPECT_EQ(moved, "pallador/impl2/sub/x.adb");
    EXPECT_FALSE(IfileGetFileNameInRev(Named("hdl/x.v"), 2, moved, ImodelFMRelative));
    EXPECT_FALSE(IfileGetFileNameInRev(Named("pallador/impl1"), 2, moved, ImodelFMRelative));
    EXPECT_FALSE(
        IfileGetFileNameInRev(IfileObject("/elsewhere/pallador/impl1/x.adb", zorpaFT_ADB, ImodelFMFull, true, true), 2,
                              moved, ImodelFMRelative));

    EXPECT_TRUE(files.RetargetFiles(1, 2));
    Add("pallador/impl1/x.adb", zorpaFT_ADB);
    Add("pallador/impl1/y.adb", zorpaFT_ADB);
    project.Write("pallador/impl2/x.adb", "");
    // y.adb has no copy in view 2: it cannot be registered there.
    EXPECT_FALSE(files.RetargetFiles(1, 2));
    std::deque<IfileObjectEx> view2;
    files.GetFilesOfRevision(2, view2);
    EXPECT_EQ(Stored(view2), std::vector<std::string>{"<project>/pallador/impl2/x.adb"});
    project.Write("pallador/impl2/y.adb", "");
    EXPECT_TRUE(files.RetargetFiles(1, 2));
    files.GetFilesOfRevision(2, view2);
    EXPECT_EQ(view2.size(), 2u);
}

TEST_F(FileManagerTest, SchematicPagesAreFoundAroundAPage)
{
    for (const char* page : {"top.1", "top.2", "top.3", "top.4", "top.5"}) Add(page, zorpaFT_SCH);
    Entry page = files.GetFile(Named("top.3"));
    int first = -1;
    int last = -1;
    IfileFindAllPagesOfSchematic(page, first, last);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 5);
    EXPECT_EQ(page->GetFileTitleAndExt(), "top.5");
    EXPECT_EQ(IfileGetFileToUseInModel(files.GetFile(Named("top.1")))->GetFileTitleAndExt(), "top.5");

    files.RemoveFile(Named("top.4"));
    page = files.GetFile(Named("top.3"));
    first = 7;
    last = -1;
    IfileFindAllPagesOfSchematic(page, first, last);
    EXPECT_EQ(first, 7);
    EXPECT_EQ(last, 3);
    EXPECT_EQ(page->GetFileTitleAndExt(), "top.3");

    // Page numbers at the end of their range end the search there.
    Add("big.2147483647", zorpaFT_SCH);
    page = files.GetFile(Named("big.2147483647"));
    first = 0;
    last = -1;
    IfileFindAllPagesOfSchematic(page, first, last);
    EXPECT_EQ(last, 2147483647);

    Entry hdl = Add("top.v", zorpaFT_HDL);
    first = last = -1;
    IfileFindAllPagesOfSchematic(hdl, first, last);
    EXPECT_EQ(first, -1);
    EXPECT_FALSE(IfileGetFileToUseInModel(hdl));
    Entry shown = hdl;
    IfileGetFileToUseInDH(shown);
    EXPECT_EQ(shown, hdl);
}

TEST_F(FileManagerTest, FreeFunctionsResolveFileValues)
{
    const Entry a = Add("a.v", zorpaFT_HDL);
    const Entry made = IfileManagerGetRealObject(Named("b.v"), true);
    ASSERT_TRUE(made);
    EXPECT_FALSE(files.ContainsFile(*made));
    EXPECT_FALSE(IfileManagerGetRealObject(Named("b.v"), false));
    EXPECT_EQ(IfileManagerGetRealObject(Named("a.v"), false), a);
    EXPECT_EQ(IfileManagerGetRealObject(project.Path() + "/A.V", ImodelFMFull, zorpaFT_HDL, false, false), a);
    const Entry byName = IfileManagerGetRealObject("c.v", ImodelFMRelative, zorpaFT_HDL, true, false);
    ASSERT_TRUE(byName);
    EXPECT_EQ(byName->GetInternalFileName(), "<project>/c.v");
    EXPECT_EQ(files.GetFileCount(), 1);

    std::deque<IfileObjectEx> copies;
    IfileManagerGetRealObjects({Named("b.v"), Named("a.v")}, copies, false);
    EXPECT_EQ(Stored(copies), std::vector<std::string>{"<project>/a.v"});
    PrintCapture trace;
    IfileManagerGetRealObjects({Named("b.v"), Named("a.v")}, copies, true);
    EXPECT_EQ(Stored(copies), (std::vector<std::string>{"<project>/b.v", "<project>/a.v"}));
    EXPECT_TRUE(trace.Holds("Warning: File <project>/b.v is not found in file manager\n"));
    std::vector<Entry> entries;
    IfileManagerGetRealObjects({Named("b.v"), Named("a.v")}, entries, false);
    EXPECT_EQ(entries, std::vector<Entry>{a});

    std::deque<IfileObject> values;
    IfileManagerGetSimpleObjects(std::vector<Entry>{a, Entry()}, values);
    EXPECT_EQ(values, std::deque<IfileObject>{Named("a.v")});
    IfileManagerGetSimpleObjects(copies, values);
    EXPECT_EQ(values.size(), 2u);
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

TEST(IfileManager, FiltersAnswerForOneFile)
{
    const auto rev = boost::make_shared<IfileObjectEx>(
        IfileObject("/p/pallador/impl1/x.adb", zorpaFT_ADB, ImodelFMFull, true, false), false);
    EXPECT_FALSE(IfileManagerFilterRevDependentFiles(true)(rev));
    EXPECT_TRUE(IfileManagerFilterRevDependentFiles(false)(rev));
    EXPECT_FALSE(IfileManagerFilterTestFile(&IfileObjectEx::HasPackage)(Entry()));
    EXPECT_TRUE(IfileManagerFilterIsOneOf(
        {IfileObject("/P/PALLADOR/IMPL1/X.ADB", zorpaFT_ADB, ImodelFMFull, true, false)})(rev));
    EXPECT_FALSE(IfileManagerFilterIsOneOf({})(rev));
    EXPECT_TRUE(IfileManager::lessThanPairStringSet()({"a", nullptr}, {"b", nullptr}));
}

TEST(IfileExtendedInfoManager, TellsOfFailedLocalCopies)
{
    MessageRecorder messages;
    IfileExtendedInfoManager::DisplayFailedToCreateLocalCopiesMessage("/prj/core.cxf");
    const std::vector<MdbMessage> shown = messages.WithId("CONVERT_FAILED_LOCAL_COPIES");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].number, 1200u * 65536u + 34u);
    EXPECT_NE(shown[0].text.find("/prj/core.cxf"), std::string::npos);
}
