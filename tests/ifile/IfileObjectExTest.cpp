// Project member files: states, stamps and their changes, copies, the texts
// the file format cannot hold, tool use, and walks up the parents.
#include "IfileObjectTestSupport.h"

#include "MessageRecorder.h"
#include "TempFolder.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileObjectEx.h"

#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <vector>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;
namespace fs = std::filesystem;

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
    explicit CountingRecord(IfileObjectEx* owner) : IfilePredecessorObject(owner, nullptr) { ++alive; }
    ~CountingRecord() override { --alive; }
    std::unique_ptr<IfilePredecessorObject> Clone(IfileObjectEx* owner) const override
    {
        return std::make_unique<CountingRecord>(owner);
    }
    Entry GetPredecessorFile() const override { return nullptr; }
    std::string GetDebugLine(const char*) const override { return std::string(); }
    static inline int alive = 0;
};

}  // namespace

TEST(IfileObjectEx, AnyDifferenceOfTimeOrSizeIsAChangeAndAGoneFileKeepsItsStamp)
{
    TempFolder folder;
    const std::string path = folder.Write("a.v", "module a; endmodule\n");
    IfileObjectEx file(Stored(path), false);
    bool changed = true;
    file.StoreStatInfo(changed, false, false);
    EXPECT_FALSE(changed);  // the first reading
    EXPECT_EQ(file.GetStatInfo()->size, 20);

    // An older copy of the same size replaces the file.
    const auto older = fs::last_write_time(path) - std::chrono::hours(24);
    folder.Write("a.v", "module b; endmodule\n");
    fs::last_write_time(path, older);
    file.StoreStatInfo(changed, false, false);
    EXPECT_TRUE(changed);
    file.StoreStatInfo(changed, false, false);
    EXPECT_FALSE(changed);

    // Gone: the stamp stays, and a file outside the project is a broken link;
    // back again, reported when asked to.
    fs::remove(path);
    file.StoreStatInfo(changed, false, false);
    EXPECT_FALSE(changed);
    EXPECT_TRUE(file.IsBrokenLink());
    folder.Write("a.v", "module bigger; endmodule\n");
    file.StoreStatInfo(changed, false, true);
    EXPECT_TRUE(changed);
    EXPECT_FALSE(file.IsBrokenLink());
}

TEST(IfileObjectEx, AStampInSecondsFromAnOlderProjectIsComparedToTheSecond)
{
    TempFolder folder;
    const std::string path = folder.Write("a.v", "module a; endmodule\n");
    const std::int64_t onDisk = k2040 + 250'000'000;
    const timespec times[2] = {{0, UTIME_OMIT}, {onDisk / 1'000'000'000, onDisk % 1'000'000'000}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

    IfileObjectEx file(Stored(path), false);
    file.StoreStatInfo(20, k2040);  // what an older project file stored: the second, no fraction
    bool changed = true;
    file.StoreStatInfo(changed, false, false);
    EXPECT_FALSE(changed);
    EXPECT_EQ(file.GetStatInfo()->time, onDisk);  // the precise time from now on
    file.StoreStatInfo(20, k2040 - IfileObjectEx::kNanosecondsPerSecond);
    file.StoreStatInfo(changed, false, false);
    EXPECT_TRUE(changed);
    file.StoreStatInfo(20, onDisk + 1);
    file.StoreStatInfo(changed, false, false);
    EXPECT_TRUE(changed);
}

TEST(IfileObjectEx, AFileIsNewerThanAStampInSecondsOnlyFromTheNextSecondOn)
{
    // The disk's stamp against what project files stored: to the second
    // from an older one, to the nanosecond from ours.
    IfileObjectEx file(Stored("/prj/hdl/a.v"), false);
    const std::int64_t second = IfileObjectEx::kNanosecondsPerSecond;
    file.StoreStatInfo(20, k2040 + 250'000'000);
    const auto stamp = [](std::int64_t size, std::int64_t time) {
        SysStatInfo info;
        info.size = size;
        info.time = time;
        return info;
    };
    const SysStatInfo sameSecond = stamp(20, k2040);
    const SysStatInfo secondBefore = stamp(20, k2040 - second);
    const SysStatInfo preciseBefore = stamp(20, k2040 + 249'999'999);
    const SysStatInfo precise = stamp(20, k2040 + 250'000'000);
    const SysStatInfo otherSize = stamp(21, k2040);
    EXPECT_FALSE(file.IsNewerThan(&sameSecond));
    EXPECT_TRUE(file.IsNewerThan(&secondBefore));
    EXPECT_TRUE(file.IsNewerThan(&preciseBefore));
    EXPECT_FALSE(file.IsNewerThan(&precise));
    EXPECT_TRUE(file.IsNewerThan(&otherSize));
    EXPECT_FALSE(file.IsNewerThan(nullptr));
}

TEST(IfileObjectEx, CopiesAreIndependentAndComparable)
{
    IfileObjectEx file(Stored("/prj/tb.vhd", zorpaFT_TB_HDL), false);
    file.StoreStatInfo(10, 20);
    file.SetStimulusOptions(IfileObjectEx::StimulusOptions("top", "100 ns"));
    CountingRecord record(nullptr);
    file.SetPredecessorObject(&record);
    {
        IfileObjectEx copy = file;
        EXPECT_EQ(CountingRecord::alive, 3);
        EXPECT_EQ(copy.GetPredecessorObject()->GetOwner(), &copy);
        EXPECT_NE(copy.GetStatInfo(), file.GetStatInfo());
        EXPECT_EQ(*copy.GetStimulusOptions(), *file.GetStimulusOptions());  // shared, never changed in place
        EXPECT_TRUE(copy.IsIdentical(file, true));

        copy.StoreStatInfo(11, 20);
        copy.SetStimulusOptions(IfileObjectEx::StimulusOptions("top", "200 ns"));
        EXPECT_EQ(file.GetStimulusOptions()->GetSimulationTime(), "100 ns");
        EXPECT_EQ(file.GetStatInfo()->size, 10);
        copy = file;
        IfileObjectEx other = file;
        copy.AddParentFile(Stored("/prj/b.cxf", zorpaFT_OMBRIX_CXF));
        copy.AddParentFile(Stored("/prj/a.cxf", zorpaFT_OMBRIX_CXF));
        other.AddParentFile(Stored("/prj/a.cxf", zorpaFT_OMBRIX_CXF));
        other.AddParentFile(Stored("/prj/b.cxf", zorpaFT_OMBRIX_CXF));
        EXPECT_TRUE(copy.IsIdentical(other, true));  // the order of the parents does not matter
        other.SetLibraryName("Work");
        EXPECT_FALSE(copy.IsIdentical(other, true));
    }
    EXPECT_EQ(CountingRecord::alive, 2);
    file.SetPredecessorObject(nullptr);
    EXPECT_EQ(CountingRecord::alive, 1);
}

// Whether some value is marked encrypted is known without looking at the
// values: through copies, moves, assignments, marks set and cleared and
// values gone, it answers as a look at every live value does.
TEST(IfileObjectEx, WhetherAnyValueIsEncryptedFollowsEveryValueThroughCopiesAndMoves)
{
    ASSERT_FALSE(IfileObjectEx::AnyFileIsEncrypted()) << "a value of another test is left marked";
    std::mt19937 random(11);
    const auto pick = [&random](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
    std::vector<std::optional<IfileObjectEx>> values(12);
    for (int step = 0; step < 3000; ++step) {
        const int at = pick(12);
        const int from = pick(12);
        std::optional<IfileObjectEx>& value = values[at];
        std::optional<IfileObjectEx>& other = values[from];
        switch (pick(7)) {
        case 0:
            value.emplace(Stored("/prj/a" + std::to_string(step) + ".vhd"), false);
            break;
        case 1:
            if (other && at != from) value.emplace(*other);
            break;
        case 2:
            if (value && other) *value = *other;
            break;
        case 3:
            if (other && at != from) value.emplace(std::move(*other));
            break;
        case 4:
            if (value && other && at != from) *value = std::move(*other);
            break;
        case 5:
            if (value) value->SetIsEncryptedFile(pick(2) == 0);
            break;
        default:
            value.reset();
            break;
        }
        bool any = false;
        for (const std::optional<IfileObjectEx>& held : values) any = any || (held && held->IsEncryptedFile());
        ASSERT_EQ(IfileObjectEx::AnyFileIsEncrypted(), any) << "at step " << step;
    }
    values.clear();
    EXPECT_FALSE(IfileObjectEx::AnyFileIsEncrypted());
}

TEST(IfileObjectEx, TextsThatTheFormatCannotHoldAreRefused)
{
    MessageRecorder messages;
    IfileObjectEx file(Stored("/prj/a.vhd"), false);
    EXPECT_FALSE(file.SetLibraryName("my\nlib"));
    EXPECT_EQ(file.GetLibraryName(), "work");
    EXPECT_TRUE(file.SetLibraryName("my \"lib\""));
    EXPECT_FALSE(file.SetCompileSetting("-O2\r\n-g"));
    IfileObjectEx::type_Filter comma(idePALLADOR, "fast,slow");
    IfileObjectEx::type_Filter good(idePALLADOR, "fast");
    EXPECT_FALSE(file.SetUseForTool(std::vector<IfileObjectEx::type_Filter>{good, comma}));
    EXPECT_TRUE(file.GetFilters().empty());  // all or nothing
    EXPECT_FALSE(IfileCheckStorableName("/prj/a\"b.v", "file"));
    EXPECT_EQ(messages.WithId("INVALID_NAME_CHAR").size(), 4u);
}

TEST(IfileObjectEx, ToolUseFollowsTheConstraints)
{
    IfileObjectEx file(Stored("/prj/a.vhd"), false);
    file.SetUsedByAllTools(false);
    EXPECT_FALSE(file.IsUsedForTool(ideSYNTHESIS, "", false));
    file.SetUseForTool(IfileObjectEx::type_Filter(ideSIMULATION, ""));  // empty sets: every profile
    EXPECT_TRUE(file.IsUsedForTool(ideSIMULATION, "any", true));
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
    EXPECT_TRUE(file.IsUsedForTool(idePALLADOR, "timing", true));
    EXPECT_FALSE(file.IsUsedForTool(idePALLADOR, "area", true));
    file.ResetUseForToolList(ideSYNTHESIS);
    ASSERT_EQ(file.GetFilters().size(), 2u);

    IfileObjectEx other(Stored("/prj/b.vhd"), false);
    EXPECT_TRUE(other.AddConstraintsFrom(file));
    EXPECT_FALSE(other.IsUsedByAllTools());
    EXPECT_EQ(other.GetFilters(), file.GetFilters());
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

    // A parent the project does not hold resolves to a standalone entry.
    IfileObjectEx::ParentFile loose(Stored("/prj/loose.cxf", zorpaFT_OMBRIX_CXF), Entry());
    const Entry resolved = IfileGetAndUpdateFileObject(loose);
    ASSERT_NE(resolved, nullptr);
    EXPECT_TRUE(*resolved == loose.first);
    top->SetNoParent();  // breaking the links lets the entries go
}
