#include "IfileObjectTestSupport.h"

#include "MessageRecorder.h"
#include "TempFolder.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"

#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;
namespace fs = std::filesystem;

const std::int64_t kGiB = std::int64_t(1) << 30;
// 2040-01-01 in nanoseconds since the epoch: past what 32 bits of seconds hold.
const std::int64_t k2040 = std::int64_t(2208988800) * 1000000000;

IfileObject Stored(const std::string& name, zorpaFileManagerTypes type = zorpaFT_HDL)
{
    return IfileObject(name, type, ImodelFMInternal, true, false);
}

Entry Shared(const std::string& name, zorpaFileManagerTypes type = zorpaFT_HDL)
{
    return boost::make_shared<IfileObjectEx>(Stored(name, type), false);
}

// Links `child` to `parent` through a live weak reference.
void Link(const Entry& child, const Entry& parent) { child->AddParentFile(IfileObjectEx::ParentFile(*parent, parent)); }

// A derived-file record that counts its copies.
class CountingRecord : public IfilePredecessorObject {
public:
    explicit CountingRecord(IfileObjectEx* owner) : IfilePredecessorObject(owner) { ++alive; }
    ~CountingRecord() override { --alive; }
    IfilePredecessorObject* Clone(IfileObjectEx* owner) const override
    {
        return std::make_unique<CountingRecord>(owner).release();
    }
    static inline int alive = 0;
};

class NeedSaveScope {
public:
    NeedSaveScope() : m_old(Design().GetNeedSave()) { Design().SetNeedSave(false); }
    ~NeedSaveScope() { Design().SetNeedSave(m_old); }
    static ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

private:
    bool m_old;
};

}  // namespace

TEST(IfileObjectEx, AFreshMemberHasTheDefaultAttributes)
{
    const IfileObjectEx file(Stored("/prj/a.vhd"), false);
    EXPECT_EQ(file.GetFileState(), imodelFileAbsent);
    EXPECT_FALSE(file.IsFileInProject());
    EXPECT_EQ(file.GetLibraryName(), "work");
    EXPECT_TRUE(file.IsUsedByAllTools());
    EXPECT_TRUE(file.IsFileStructural());
    EXPECT_FALSE(file.IsIncludedFile());
    EXPECT_EQ(file.GetStatInfo(), nullptr);
    EXPECT_EQ(file.GetUseForToolDebugStr(';'), "Used by all tools");
    std::string state;
    EXPECT_TRUE(file.GetStrState(state));
    EXPECT_EQ(state, "absent");
    // The project holds no such file: nothing to copy.
    EXPECT_EQ(IfileObjectEx(Stored("/prj/a.vhd"), true).GetLibraryName(), "work");
}

TEST(IfileObjectEx, StateChangesMarkTheProjectOnlyWhenTheyChangeSomething)
{
    NeedSaveScope needSave;
    PrintCapture traces;
    IfileObjectEx file(Stored("/prj/a.vhd"), false);
    file.SetFileState(imodelFileAbsent);
    EXPECT_TRUE(traces.Holds("Error: in IfileObject::SetFileState() for '/prj/a.vhd'.\n"));
    EXPECT_EQ(file.GetFileState(), imodelFileAbsent);
    EXPECT_FALSE(NeedSaveScope::Design().GetNeedSave());

    file.SetFileState(imodelFileUpToDate);
    EXPECT_EQ(file.GetFileState(), imodelFileUpToDate);
    EXPECT_TRUE(NeedSaveScope::Design().GetNeedSave());
    NeedSaveScope::Design().SetNeedSave(false);
    file.SetFileState(imodelFileUpToDate);
    EXPECT_FALSE(NeedSaveScope::Design().GetNeedSave());
    file.SetFileState(imodelFileOutOfDate);
    EXPECT_TRUE(NeedSaveScope::Design().GetNeedSave());
    file.SetAbsent();
    EXPECT_FALSE(file.IsFileInProject());
}

TEST(IfileObjectEx, AnyDifferenceOfTimeOrSizeIsAChange)
{
    TempFolder folder;
    const std::string path = folder.Write("a.v", "module a; endmodule\n");
    IfileObjectEx file(Stored(path), false);

    bool changed = true;
    file.StoreStatInfo(changed, false, false);
    EXPECT_FALSE(changed);  // the first reading
    ASSERT_NE(file.GetStatInfo(), nullptr);
    EXPECT_EQ(file.GetStatInfo()->size, 20);
    file.StoreStatInfo(changed, false, false);
    EXPECT_FALSE(changed);

    // An older copy of the same size replaces the file.
    const auto older = fs::last_write_time(path) - std::chrono::hours(24);
    folder.Write("a.v", "module b; endmodule\n");
    fs::last_write_time(path, older);
    file.StoreStatInfo(changed, false, false);
    EXPECT_TRUE(changed);
    file.StoreStatInfo(changed, false, false);
    EXPECT_FALSE(changed);

    fs::last_write_time(path, older);
    folder.Write("a.v", "module bigger; endmodule\n");
    fs::last_write_time(path, older);
    file.StoreStatInfo(changed, false, false);
    EXPECT_TRUE(changed);

    // Gone: the stamp stays, and a file outside the project is a broken link.
    fs::remove(path);
    file.StoreStatInfo(changed, false, false);
    EXPECT_FALSE(changed);
    EXPECT_NE(file.GetStatInfo(), nullptr);
    EXPECT_TRUE(file.IsBrokenLink());
    // Back again: reported when asked to.
    folder.Write("a.v", "module bigger; endmodule\n");
    fs::last_write_time(path, older);
    file.StoreStatInfo(changed, false, true);
    EXPECT_TRUE(changed);
    EXPECT_FALSE(file.IsBrokenLink());
}

TEST(IfileObjectEx, AStampInSecondsFromAnOlderProjectIsComparedToTheSecond)
{
    TempFolder folder;
    const std::string path = folder.Write("a.v", "module a; endmodule\n");
    // A modification time with a fraction of a second, as file systems keep.
    const std::int64_t onDisk = k2040 + 250'000'000;
    const timespec times[2] = {{0, UTIME_OMIT}, {onDisk / 1'000'000'000, onDisk % 1'000'000'000}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    const std::int64_t size = 20;

    // What an older project file stored: the same second, no fraction.
    IfileObjectEx file(Stored(path), false);
    file.StoreStatInfo(size, k2040);
    bool changed = true;
    file.StoreStatInfo(changed, false, false);
    EXPECT_FALSE(changed);
    EXPECT_EQ(file.GetStatInfo()->time, onDisk);  // the precise time from now on

    // One second earlier is a change; so is any difference of a precise stamp.
    file.StoreStatInfo(size, k2040 - IfileObjectEx::kNanosecondsPerSecond);
    file.StoreStatInfo(changed, false, false);
    EXPECT_TRUE(changed);
    file.StoreStatInfo(size, onDisk + 1);
    file.StoreStatInfo(changed, false, false);
    EXPECT_TRUE(changed);

    EXPECT_TRUE(IfileObjectEx::IsSameDiskTime(-IfileObjectEx::kNanosecondsPerSecond, -1));
    EXPECT_FALSE(IfileObjectEx::IsSameDiskTime(0, -1));
}

TEST(IfileObjectEx, ChangesWaitUntilTheyAreTakenOrSkipped)
{
    TempFolder folder;
    const std::string path = folder.Write("a.v", "one\n");
    IfileObjectEx file(Stored(path), false);
    file.StoreStatInfo();

    folder.Write("a.v", "three\n");
    bool changed = true;
    file.StoreStatInfoEx(changed, false);
    EXPECT_FALSE(changed);
    file.StoreStatInfoEx(changed, true);
    EXPECT_TRUE(changed);
    file.StoreStatInfoEx(changed, true);
    EXPECT_FALSE(changed);

    // A change accepted as it is is not taken afterwards.
    folder.Write("a.v", "fifteen\n");
    file.StoreStatInfoEx(changed, false);
    PrintCapture traces;
    file.UpdateStatInfo(false);
    EXPECT_TRUE(traces.Holds("Skipped file change: " + path));
    file.StoreStatInfoEx(changed, true);
    EXPECT_FALSE(changed);

    // Forcing makes the next reading a change.
    file.UpdateStatInfo(true);
    EXPECT_TRUE(traces.Holds("forcing mem file import: " + path));
    file.StoreStatInfo(changed, false, false);
    EXPECT_TRUE(changed);

    traces.Clear();
    IfileObjectEx unread(Stored("/nowhere/x.v"), false);
    unread.UpdateStatInfo(true);
    EXPECT_EQ(unread.GetStatInfo(), nullptr);
    EXPECT_EQ(traces.Text(), "");
}

TEST(IfileObjectEx, StampsAreSixtyFourBits)
{
    IfileObjectEx big(Stored("/prj/big.bin", zorpaFT_BIN), false);
    IfileObjectEx same(Stored("/prj/big.bin", zorpaFT_BIN), false);
    big.StoreStatInfo(3 * kGiB, k2040);
    same.StoreStatInfo(3 * kGiB + 1, k2040);
    EXPECT_FALSE(big.IsSameStatInfo(same));  // sizes past 2 GiB still differ
    same.StoreStatInfo(3 * kGiB, k2040 + 1);
    EXPECT_FALSE(big.IsSameStatInfo(same));  // times past 2038 still differ
    same.StoreStatInfo(3 * kGiB, k2040);
    EXPECT_TRUE(big.IsSameStatInfo(same));

    SysStatInfo older;
    older.size = 3 * kGiB;
    older.time = k2040 - 1;
    EXPECT_TRUE(big.IsNewerThan(&older));
    older.time = k2040;
    EXPECT_FALSE(big.IsNewerThan(&older));
    older.size = 5 * kGiB;
    EXPECT_TRUE(big.IsNewerThan(&older));
    EXPECT_FALSE(big.IsNewerThan(nullptr));
    EXPECT_FALSE(IfileObjectEx(Stored("/x"), false).IsNewerThan(&older));
    EXPECT_TRUE(IfileObjectEx(Stored("/x"), false).IsSameStatInfo(IfileObjectEx(Stored("/y"), false)));
}

TEST(IfileObjectEx, CopiesAreIndependentAndComparable)
{
    IfileObjectEx file(Stored("/prj/tb.vhd", zorpaFT_TB_HDL), false);
    file.StoreStatInfo(10, 20);
    file.SetStimulusOptions(IfileObjectEx::StimulusOptions("top", "100 ns"));
    CountingRecord record(nullptr);
    file.SetPredecessorObject(&record);
    ASSERT_NE(file.GetPredecessorObject(), nullptr);
    EXPECT_EQ(file.GetPredecessorObject()->GetOwner(), &file);
    {
        IfileObjectEx copy = file;
        EXPECT_EQ(CountingRecord::alive, 3);
        EXPECT_EQ(copy.GetPredecessorObject()->GetOwner(), &copy);
        EXPECT_NE(copy.GetStatInfo(), file.GetStatInfo());
        EXPECT_EQ(*copy.GetStimulusOptions(), *file.GetStimulusOptions());  // shared, never changed in place
        EXPECT_TRUE(copy.IsIdentical(file, true));

        copy.StoreStatInfo(11, 20);
        EXPECT_TRUE(copy.IsIdentical(file, false));
        EXPECT_FALSE(copy.IsIdentical(file, true));
        copy.SetStimulusOptions(IfileObjectEx::StimulusOptions("top", "200 ns"));
        EXPECT_FALSE(copy.IsIdentical(file, false));
        EXPECT_EQ(file.GetStimulusOptions()->GetSimulationTime(), "100 ns");
        EXPECT_EQ(file.GetStatInfo()->size, 10);
        copy = file;
        copy.AddParentFile(Stored("/prj/b.cxf", zorpaFT_OMBRIX_CXF));
        copy.AddParentFile(Stored("/prj/a.cxf", zorpaFT_OMBRIX_CXF));
        IfileObjectEx other = file;
        other.AddParentFile(Stored("/prj/a.cxf", zorpaFT_OMBRIX_CXF));
        other.AddParentFile(Stored("/prj/b.cxf", zorpaFT_OMBRIX_CXF));
        EXPECT_TRUE(copy.IsIdentical(other, true));  // the order of the parents does not matter
        other.SetLibraryName("Work");
        EXPECT_FALSE(copy.IsIdentical(other, true));
        EXPECT_EQ(copy.GetParentFiles().size(), 2u);
    }
    EXPECT_EQ(CountingRecord::alive, 2);
    file.SetPredecessorObject(nullptr);
    EXPECT_EQ(CountingRecord::alive, 1);
}

TEST(IfileObjectEx, TextsThatTheFormatCannotHoldAreRefused)
{
    MessageRecorder messages;
    IfileObjectEx file(Stored("/prj/a.vhd"), false);
    EXPECT_FALSE(file.SetLibraryName("my\nlib"));
    EXPECT_EQ(file.GetLibraryName(), "work");
    EXPECT_TRUE(file.SetLibraryName("my \"lib\""));
    EXPECT_FALSE(file.SetCompileSetting("-O2\r\n-g"));
    EXPECT_FALSE(file.SetStimulusOptions(IfileObjectEx::StimulusOptions("top", "1\n")));
    EXPECT_EQ(file.GetStimulusOptions(), nullptr);

    IfileObjectEx::type_Filter comma(idePALLADOR, "fast,slow");
    EXPECT_FALSE(file.SetUseForTool(comma));
    IfileObjectEx::type_Filter good(idePALLADOR, "fast");
    EXPECT_FALSE(file.SetUseForTool(std::vector<IfileObjectEx::type_Filter>{good, comma}));
    EXPECT_TRUE(file.GetFilters().empty());  // all or nothing
    EXPECT_EQ(messages.WithId("INVALID_NAME_CHAR").size(), 5u);
    EXPECT_FALSE(IfileCheckStorableName("/prj/a\"b.v", "file"));
    EXPECT_EQ(messages.WithId("INVALID_NAME_CHAR").size(), 6u);
}

TEST(IfileObjectEx, ToolUseFollowsTheConstraints)
{
    IfileObjectEx file(Stored("/prj/a.vhd"), false);
    file.SetUsedByAllTools(false);
    EXPECT_EQ(file.GetUseForToolDebugStr(';'), "Not used by any tool");
    EXPECT_FALSE(file.IsUsedForTool(ideSYNTHESIS, "", false));

    // Empty sets: every profile of the kind.
    file.SetUseForTool(IfileObjectEx::type_Filter(ideSIMULATION, ""));
    EXPECT_TRUE(file.IsUsedForTool(ideSIMULATION, "any", true));
    EXPECT_TRUE(file.IsBFMFile());

    IfileObjectEx::type_Filter skip(ideSYNTHESIS, "");
    skip.skippedProfiles = {"precision"};
    file.SetUseForTool(skip);
    EXPECT_TRUE(file.IsUsedForTool(ideSYNTHESIS, "synplify", true));
    EXPECT_FALSE(file.IsUsedForTool(ideSYNTHESIS, "precision", true));
    EXPECT_TRUE(file.IsUsedForTool(ideSYNTHESIS, "precision", false));

    IfileObjectEx::type_Filter used(idePALLADOR, "fast");
    used.skippedProfiles = {"slow", "area"};
    file.SetUseForTool(used);
    file.SetUseForTool(IfileObjectEx::type_Filter(idePALLADOR, "timing"));  // merged into the same kind
    ASSERT_EQ(file.GetFilters().size(), 3u);
    EXPECT_EQ(file.GetFilters()[2].usedProfiles, (std::set<std::string>{"fast", "timing"}));
    EXPECT_EQ(file.GetUseForToolDebugStr('|'),
              "Used for ideSIMULATION|Used for ideSYNTHESIS if not profile [precision]|"
              "Used for idePALLADOR if profile [fast, timing] if not profile [area, slow]");

    file.ResetUseForToolList(ideSYNTHESIS);
    ASSERT_EQ(file.GetFilters().size(), 2u);
    EXPECT_EQ(file.GetFilters()[0].toolKind, ideSIMULATION);
    EXPECT_EQ(file.GetFilters()[1].toolKind, idePALLADOR);

    IfileObjectEx other(Stored("/prj/b.vhd"), false);
    EXPECT_TRUE(other.AddConstraintsFrom(file));
    EXPECT_FALSE(other.IsUsedByAllTools());
    EXPECT_EQ(other.GetFilters(), file.GetFilters());
    EXPECT_TRUE(other.AddConstraintsFrom(other));
    EXPECT_EQ(other.GetFilters(), file.GetFilters());
    other.ResetUseForToolList();
    EXPECT_TRUE(other.GetFilters().empty());
}

TEST(IfileObjectEx, ParentListsHoldNoDuplicateAndNotTheFileItself)
{
    IfileObjectEx file(Stored("/prj/gen/a.v"), false);
    file.AddParentFile(Stored("/prj/gen/a.v"));
    file.AddParentFile(Stored("/prj/core.cxf", zorpaFT_OMBRIX_CXF));
    file.AddParentFile(Stored("/PRJ/CORE.cxf", zorpaFT_OMBRIX_CXF));
    ASSERT_EQ(file.GetParentFiles().size(), 1u);
    EXPECT_EQ(file.GetFileTypeAsComponent(), zorpaFT_OMBRIX_CXF);
    EXPECT_TRUE(file.IsChildOfFile(Stored("/prj/core.cxf"), false));
    EXPECT_EQ(file.GetParentFilesOfType(zorpaFT_OMBRIX_CXF).size(), 1u);
    EXPECT_TRUE(file.GetParentFilesOfType(zorpaFT_HDL).empty());

    file.AddIncludedFile(Stored("/prj/gen/a.v"));
    file.AddIncludedFile(Stored("/prj/inc.vh"));
    file.AddIncludedFile(Stored("/prj/INC.vh"));
    EXPECT_EQ(file.GetIncludedFiles().size(), 1u);

    EXPECT_FALSE(file.RemoveParentFile(Stored("/prj/other.cxf")));
    EXPECT_TRUE(file.RemoveParentFile(Stored("/prj/core.cxf")));
    EXPECT_FALSE(file.HasParentFile());
    file.SetSingleParentFile(Stored("/prj/x.cxf", zorpaFT_OMBRIX_CXF));
    file.AddParentFilesFrom(file);
    EXPECT_EQ(file.GetParentFiles().size(), 1u);
    file.SetNoParent();
    EXPECT_FALSE(file.HasParentFile());
}

TEST(IfileObjectEx, WalksUpTheParentsFindTheTopAndStopOnCycles)
{
    const Entry file = Shared("/prj/gen/core/a.v");
    const Entry middle = Shared("/prj/gen/core/mid.cxf", zorpaFT_OMBRIX_CXF);
    const Entry top = Shared("/prj/gen/top.cxf", zorpaFT_OMBRIX_CXF);
    Link(file, middle);
    Link(middle, top);
    EXPECT_EQ(file->GetSingleTopLevelParentFileObject(), top);
    EXPECT_TRUE(file->IsChildOfFile(*top, true));
    EXPECT_FALSE(file->IsChildOfFile(*top, false));
    EXPECT_FALSE(file->HasMultipleParentsRec(zorpaFT_OMBRIX_CXF));

    const Entry second = Shared("/prj/gen/second.cxf", zorpaFT_OMBRIX_CXF);
    Link(middle, second);
    EXPECT_TRUE(file->HasMultipleParentsRec(zorpaFT_OMBRIX_CXF));
    EXPECT_TRUE(file->IsCommonCoreFile(zorpaFT_OMBRIX_CXF));
    EXPECT_EQ(middle->GetSingleTopLevelParentFileObject(), nullptr);  // two parents: no single top

    // A cycle: the top names the file as its parent.
    middle->RemoveParentFile(*second);
    Link(top, file);
    EXPECT_FALSE(file->IsChildOfFile(Stored("/prj/unrelated.cxf"), true));
    EXPECT_TRUE(file->IsChildOfFile(*file, true));
    EXPECT_FALSE(file->HasParentFileOfType(zorpaFT_SDC, true));
    EXPECT_FALSE(file->HasMultipleParentsRec(zorpaFT_OMBRIX_CXF));
    EXPECT_NE(file->GetSingleTopLevelParentFileObject(), nullptr);
    EXPECT_FALSE(middle->IsCommonCoreFile(zorpaFT_HDL));

    // A cycle of parents of one type.
    const Entry x = Shared("/prj/x.cxf", zorpaFT_OMBRIX_CXF);
    const Entry y = Shared("/prj/y.cxf", zorpaFT_OMBRIX_CXF);
    Link(x, y);
    Link(y, x);
    EXPECT_FALSE(x->HasMultipleParentsRec(zorpaFT_OMBRIX_CXF));
    EXPECT_EQ(x->GetSingleTopLevelParentFileObject(), y);
    EXPECT_TRUE(x->HasParentFileOfType(zorpaFT_OMBRIX_CXF, true));
    EXPECT_FALSE(x->IsCommonCoreFile(zorpaFT_OMBRIX_CXF));

    // A parent the project does not hold resolves to a standalone entry.
    IfileObjectEx::ParentFile loose(Stored("/prj/loose.cxf", zorpaFT_OMBRIX_CXF), Entry());
    const Entry resolved = IfileGetAndUpdateFileObject(loose);
    ASSERT_NE(resolved, nullptr);
    EXPECT_TRUE(*resolved == loose.first);
    EXPECT_TRUE(loose.second.expired());
    // Breaking the links lets the entries go.
    top->SetNoParent();
}

TEST(IfileObjectEx, ACoreFileOutsideItsCoresFolderIsShared)
{
    ProjectFolderScope project("/prj");
    auto local = [](const std::string& relative, zorpaFileManagerTypes type) {
        return boost::make_shared<IfileObjectEx>(IfileObject("/prj/" + relative, type, ImodelFMFull, true, true),
                                                 false);
    };
    const Entry core = local("component/work/core1/core1.cxf", zorpaFT_OMBRIX_CXF);
    const Entry inside = local("component/work/core1/rtl/a.v", zorpaFT_HDL);
    const Entry shared = local("component/common/b.v", zorpaFT_HDL);
    const Entry elsewhere = local("hdl/c.v", zorpaFT_HDL);
    const Entry dremmet = local("dremmet/common/d.v", zorpaFT_HDL);
    for (const Entry& file : {inside, shared, elsewhere, dremmet}) Link(file, core);
    EXPECT_FALSE(inside->IsCommonCoreFile(zorpaFT_OMBRIX_CXF));
    EXPECT_TRUE(shared->IsCommonCoreFile(zorpaFT_OMBRIX_CXF));
    EXPECT_FALSE(elsewhere->IsCommonCoreFile(zorpaFT_OMBRIX_CXF));
    EXPECT_TRUE(dremmet->IsCommonCoreFile(zorpaFT_OMBRIX_CXF));
    EXPECT_TRUE(dremmet->IsDremmetCommonFile());
    EXPECT_FALSE(local("identify/x.v", zorpaFT_HDL)->IsDremmetCommonFile());
    EXPECT_TRUE(local("synthesis/Identify_Out/x.v", zorpaFT_HDL)->IsInstrumentedByIdentify());
    EXPECT_FALSE(inside->IsInstrumentedByIdentify());
}

TEST(IfileObjectEx, ReadOnlyOnDiskAndInTheTool)
{
    TempFolder folder;
    const std::string path = folder.Write("ro.v", "x\n");
    IfileObjectEx file(Stored(path), false);
    EXPECT_EQ(file.GetReadOnlyState(), 0);
    file.SetIDEReadOnly(true);
    EXPECT_EQ(file.GetReadOnlyState(), 2);
    ASSERT_EQ(SysSetReadOnlyAttr(path, true), 0);
    EXPECT_EQ(file.GetReadOnlyState(), 3);
    SysSetReadOnlyAttr(path, false);

    EXPECT_TRUE(file.DisplayAsLink(Imodel::GetInstance()));
    EXPECT_TRUE(file.HasSourceFileType());
    EXPECT_TRUE(file.IsASourceFile());
    EXPECT_TRUE(IfileObjectEx(Stored("/c.cxf", zorpaFT_OMBRIX_CXF), false).IsDisplayedInDesignHierarchy());
    EXPECT_FALSE(IfileObjectEx(Stored("/c.sdc", zorpaFT_SDC), false).IsDisplayedInDesignHierarchy());
}
