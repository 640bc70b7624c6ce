// Statuses a folder walk took: while a set is current, a member file that
// reads its disk status takes the set's, and only while it is current.
#include "ProjectFolderScope.h"
#include "TempFolder.h"

#include "ifile/IfileKnownStatuses.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/names/imodelUtl.h"

#include <gtest/gtest.h>

namespace {

std::uint64_t Hash(const IfileObject& file, const std::string& folder)
{
    return ImodelFileNameKeyHash(file.GetInternalFileName().GetString(), folder);
}

}  // namespace

TEST(KnownStatuses, AMemberFileTakesTheStatusTheWalkFoundWhileTheSetIsCurrent)
{
    TempFolder project;
    const ProjectFolderScope folder(project.Path());
    project.Write("hdl/a.vhd", "on disk\n");
    const IfileObject walked(ImodelFileName("<project>/hdl/a.vhd"), zorpaFT_HDL, ImodelFMInternal, true, true);
    IfileObjectEx member(IfileObject(ImodelFileName(project / "hdl/a.vhd"), zorpaFT_HDL, ImodelFMFull, true, true),
                         false);
    SysStatInfo seen;
    seen.size = 12345;
    seen.time = 42'000'000'000;
    {
        IfileKnownStatuses known(1);
        known.Add(walked, Hash(walked, project.Path()), seen);
        // Found though made from its full name; so is a spelling in another case.
        ASSERT_NE(IfileKnownStatuses::Current(member), nullptr);
        EXPECT_NE(known.Find(IfileObject(ImodelFileName("<project>/HDL/A.VHD"), zorpaFT_HDL, ImodelFMInternal, true,
                                         true)),
                  nullptr);
        member.StoreStatInfo();
        EXPECT_EQ(member.GetStatInfo()->size, 12345);
        // A set made inside it stays idle.
        IfileKnownStatuses inner(1);
        EXPECT_EQ(IfileKnownStatuses::Current(member), known.Find(member));
        const IfileObject other(ImodelFileName("<project>/hdl/b.vhd"), zorpaFT_HDL, ImodelFMInternal, true, true);
        EXPECT_EQ(known.Find(other), nullptr);
    }
    // Gone: the disk answers again.
    EXPECT_EQ(IfileKnownStatuses::Current(member), nullptr);
    member.StoreStatInfo();
    EXPECT_EQ(member.GetStatInfo()->size, 8);
}

TEST(KnownStatuses, ManyFilesAreEachFoundWithTheirOwnStatusAndAFileAddedAgainTakesTheLatest)
{
    TempFolder project;
    const ProjectFolderScope folder(project.Path());
    std::deque<IfileObject> files;
    for (int i = 0; i < 1000; ++i)
        files.emplace_back(ImodelFileName("<project>/hdl/f" + std::to_string(i) + ".vhd"), zorpaFT_HDL,
                           ImodelFMInternal, true, true);
    IfileKnownStatuses known(files.size());
    const auto add = [&](std::size_t i, std::int64_t size) {
        SysStatInfo info;
        info.size = size;
        known.Add(files[i], Hash(files[i], project.Path()), info);
    };
    for (std::size_t i = 0; i < files.size(); ++i) add(i, static_cast<std::int64_t>(i));
    add(7, 7000);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const SysStatInfo* info = known.Find(files[i]);
        ASSERT_NE(info, nullptr) << i;
        EXPECT_EQ(info->size, i == 7 ? 7000 : static_cast<std::int64_t>(i));
    }
    const IfileObject absent(ImodelFileName("<project>/hdl/none.vhd"), zorpaFT_HDL, ImodelFMInternal, true, true);
    EXPECT_EQ(known.Find(absent), nullptr);
}
