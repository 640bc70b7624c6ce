#include "Golden.h"
#include "IfileObjectTestSupport.h"
#include "TempFolder.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "src/ifile/IfileFileListLines.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <cstdint>
#include <cstring>
#include <deque>
#include <limits>
#include <random>
#include <sstream>
#include <string>

namespace {

const char kProject[] = "/prj/top";
const std::int64_t kBigSize = std::int64_t(5) << 30;                  // 5 GiB
const std::int64_t kBigTime = std::int64_t(2524608000) * 1000000000;  // 2050, in nanoseconds

IfileObject Local(const std::string& relative, zorpaFileManagerTypes type)
{
    return IfileObject(relative, type, ImodelFMRelative, true, true);
}

// The block of the files, as the file manager writes it.
std::string WriteBlock(const std::deque<IfileObjectEx>& files)
{
    std::ostringstream out;
    out << "LIST FileManager\n";
    for (const IfileObjectEx& file : files) EXPECT_TRUE(file.WriteFileManagerFile(&out));
    out << "ENDLIST\n";
    return out.str();
}

std::deque<IfileObjectEx> ReadBlock(const std::vector<std::string>& lines,
                                    const std::vector<Iconvert*>& converters = {})
{
    std::deque<IfileObjectEx> files;
    IfileReadFileList(lines, files, converters, true);
    return files;
}

// A file with every attribute the block holds.
std::deque<IfileObjectEx> EveryAttribute()
{
    IfileObjectEx core(Local("component/core/core.cxf", zorpaFT_OMBRIX_CXF), false);
    core.SetFileState(imodelFileUpToDate);
    IfileObjectEx other(Local("component/other/other.cxf", zorpaFT_OMBRIX_CXF), false);
    other.SetFileState(imodelFileOutOfDate);

    IfileObjectEx file(Local("component/core/rtl/a,b.vhd", zorpaFT_HDL), false);
    file.SetFileState(imodelFileOutOfDate);
    file.StoreStatInfo(kBigSize, kBigTime);
    file.SetLibraryName("corelib");
    file.AddParentFile(other);
    file.AddParentFile(core);
    file.SetCompileSetting("-2008 -explicit");
    file.SetStimulusOptions(IfileObjectEx::StimulusOptions("top_tb", "1000 ns"));
    IfileObjectEx::type_Filter fast(idePALLADOR, "fast");
    fast.skippedProfiles = {"area", "slow"};
    file.SetUseForTool(fast);
    file.SetUseForTool(IfileObjectEx::type_Filter(ideGLIMMOND, ""));
    IfileObjectEx::type_Filter onlySkip(ideCONSTRAINTSEDITOR, "");
    onlySkip.skippedProfiles = {"graphical"};
    file.SetUseForTool(onlySkip);
    file.SetUsedByAllTools(false);
    file.SetIDEReadOnly(true);
    file.SetIsIncludedFile(true);
    file.SetIsEncryptedFile(true);
    return {core, other, file};
}

}  // namespace

TEST(IfileFileList, AFileThatCannotBeStoredWritesNothing)
{
    ProjectFolderScope project(kProject);
    // The three lines of a plain file, stamps not saved: design_refresh.log.
    IfileObjectEx file(Local("hdl/top.vhd", zorpaFT_HDL), false);
    EXPECT_FALSE(file.WriteFileManagerFile(nullptr));

    PrintCapture traces;
    const IfileObjectEx quoted(IfileObject("<project>/a\"b.v", zorpaFT_HDL, ImodelFMInternal, true, false), false);
    EXPECT_EQ(WrittenBy([&](std::ostream* out) { EXPECT_FALSE(quoted.WriteFileManagerFile(out)); }), "");
    EXPECT_TRUE(traces.Holds("cannot be written to the project file"));
}

TEST(IfileFileList, EveryAttributeRoundTripsAndRewritesTheSameBytes)
{
    ProjectFolderScope project(kProject);
    DefOverRideGuard stamps("IDE_SAVE_FILE_STAMPS_IN_PRJ", "1");
    const std::deque<IfileObjectEx> files = EveryAttribute();
    const std::string written = WriteBlock(files);
    ExpectMatchesGolden("file_manager_block.txt", written);

    const std::deque<IfileObjectEx> read = ReadBlock(ProjectFileBlock(written, "FileManager"));
    ASSERT_EQ(read.size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) EXPECT_TRUE(read[i].IsIdentical(files[i], true)) << i;
    EXPECT_EQ(read[2].GetStatInfo()->time, kBigTime);
    EXPECT_EQ(read[2].GetFilters(), files[2].GetFilters());

    EXPECT_EQ(WriteBlock(read), written);
}

TEST(IfileFileList, TheReaderToleratesWhatOlderAndHandWrittenFilesHold)
{
    ProjectFolderScope project(kProject);
    PrintCapture traces;
    const std::deque<IfileObjectEx> files = ReadBlock({
        "<project>/hdl/a.vhd,package",
        "STATE=ood",
        "TIME=\"1700000000\"",  // a 32-bit stamp of an older project
        "SIZE=-1",              // no size is negative: left as it was
        "LIBRARY=\"mylib\"\r",
        "SOMETHING_NEW=\"x\"",
        "ENDFILE",
        "<project>/b.q,nonsense",
        "STATE=\"UTD\"",
        "TIME=\"abc\"",
        "IS_INCLUDED=\"yes\"",
        "USE_FOR_ANY_TOOL=\"maybe\"",
        "ENDFILE",
        "<project>/c.v,hdl",
        "STATE=\"absent\"",
        "BEGIN_USE_CONSTRAINT",
        "TOOL_CONSTRAINT_TYPE=\"nosuchtool\"",
        "TOOL_CONSTRAINT_USE=\"p\"",
        "END_USE_CONSTRAINT",
        "BEGIN_USE_CONSTRAINT",
        "TOOL_CONSTRAINT_TYPE=\"IDESYNTHESIS\"",
        "TOOL_CONSTRAINT_USE=\"a,b\"",
        "END_USE_CONSTRAINT",
        "BEGIN_USE_CONSTRAINT",
        "TOOL_CONSTRAINT_USE=\"c\"",
        "TOOL_CONSTRAINT_TYPE=\"ideSYNTHESIS\"",
        "END_USE_CONSTRAINT",
        "ENDFILE",
    });
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].GetFileType(), zorpaFT_HDL);
    EXPECT_EQ(files[0].GetFileState(), imodelFileOutOfDate);
    EXPECT_EQ(files[0].GetStatInfo()->time, 1700000000 * IfileObjectEx::kNanosecondsPerSecond);
    EXPECT_EQ(files[0].GetStatInfo()->size, 0);
    EXPECT_EQ(files[0].GetLibraryName(), "mylib");

    EXPECT_EQ(files[1].GetFileType(), zorpaFT_UNKNOWN);
    EXPECT_TRUE(traces.Holds("Error: in IfileObject::ReadStrType.\n"));
    EXPECT_EQ(files[1].GetFileState(), imodelFileAbsent);
    EXPECT_EQ(files[1].GetStatInfo(), nullptr);
    EXPECT_FALSE(files[1].IsIncludedFile());
    EXPECT_TRUE(files[1].IsUsedByAllTools());

    // An unknown tool drops its block; two blocks of one kind stay two.
    ASSERT_EQ(files[2].GetFilters().size(), 2u);
    EXPECT_EQ(files[2].GetFilters()[0].usedProfiles, (std::set<std::string>{"a", "b"}));
    EXPECT_EQ(files[2].GetFilters()[1].toolKind, ideSYNTHESIS);
    EXPECT_EQ(files[2].GetFilters()[1].usedProfiles, (std::set<std::string>{"c"}));
    EXPECT_EQ(ReadBlock(ProjectFileBlock(WriteBlock(files), "FileManager"))[2].GetFilters(), files[2].GetFilters());
}

TEST(IfileFileList, ADamagedBlockNeitherSwallowsTheNextFileNorMakesPhantoms)
{
    ProjectFolderScope project(kProject);
    PrintCapture traces;
    // The first block lost its ENDFILE, its constraint block its end line,
    // and the last block is cut off.
    const std::deque<IfileObjectEx> files = ReadBlock({
        "<project>/a.v,hdl",
        "STATE=\"utd\"",
        "BEGIN_USE_CONSTRAINT",
        "TOOL_CONSTRAINT_TYPE=\"ideSYNTHESIS\"",
        "IS_READONLY=\"TRUE\"",
        "<project>/b.v,hdl",
        "STATE=\"ood\"",
        "ENDFILE",
        "ENDFILE",
        "",
        "<project>/c.v,hdl",
        "LIBRARY=\"clib\"",
        "BEGIN_USE_CONSTRAINT",
    });
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].GetInternalFileName().GetString(), "<project>/a.v");
    EXPECT_EQ(files[0].GetFileState(), imodelFileUpToDate);
    EXPECT_TRUE(files[0].IsIDEReadOnly());
    ASSERT_EQ(files[0].GetFilters().size(), 1u);
    EXPECT_EQ(files[1].GetInternalFileName().GetString(), "<project>/b.v");
    EXPECT_EQ(files[1].GetFileState(), imodelFileOutOfDate);
    EXPECT_FALSE(files[1].IsIDEReadOnly());
    EXPECT_EQ(files[2].GetInternalFileName().GetString(), "<project>/c.v");
    EXPECT_EQ(files[2].GetLibraryName(), "clib");
    EXPECT_TRUE(traces.Holds("Line outside of a file ignored: ENDFILE"));

    // A cut-off last block made of its first line only.
    EXPECT_EQ(ReadBlock({"<project>/a.v,hdl", "ENDFILE", "<project>/last.v,hdl"}).size(), 2u);
    EXPECT_TRUE(ReadBlock({}).empty());
}

TEST(IfileFileList, DuplicatesVetoesAndMissingParents)
{
    ProjectFolderScope project(kProject);
    PrintCapture traces;
    ScriptedConverter converter;
    converter.vetoedLines.insert("<project>/vetoed.v,hdl");
    const std::deque<IfileObjectEx> files = ReadBlock(
        {
            "<project>/a.v,hdl",
            "STATE=\"utd\"",
            "PARENT=\"<project>/missing.cxf\"",
            "PARENT=\"/PRJ/TOP/core.cxf\"",
            "PARENT=\"<project>/a.v\"",
            "PARENT=\"\"",
            "ENDFILE",
            "<project>/vetoed.v,hdl",
            "STATE=\"utd\"",
            "ENDFILE",
            "<project>/core.cxf,ombrix_cxf",
            "ENDFILE",
            "<project>/A.V,hdl",
            "STATE=\"ood\"",
            "ENDFILE",
        },
        {&converter});
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].GetFileState(), imodelFileUpToDate);  // the first of equal files wins
    ASSERT_EQ(files[0].GetParentFiles().size(), 1u);
    EXPECT_EQ(files[0].GetParentFiles()[0].GetInternalFileName().GetString(), "<project>/core.cxf");
    EXPECT_EQ(files[0].GetParentFiles()[0].GetFileType(), zorpaFT_OMBRIX_CXF);
    EXPECT_TRUE(traces.Holds("ERROR: Parent file not found: <project>/missing.cxf\n"));
}

// A member named by a path with "." or ".." folders is the member of the
// plain name: listed both ways it is one member, the first entry's, and the
// parents named either way are found.
TEST(IfileFileList, SpellingsOfOnePathAreOneMember)
{
    ProjectFolderScope project(kProject);
    const std::deque<IfileObjectEx> files = ReadBlock({
        "<project>/hdl/./a.vhd,hdl",
        "STATE=\"utd\"",
        "ENDFILE",
        "<project>/stimulus/tb.vhd,tb_hdl",
        "PARENT=\"<project>/hdl/sub/../a.vhd\"",
        "ENDFILE",
        "<project>/hdl/a.vhd,hdl",
        "STATE=\"ood\"",
        "ENDFILE",
        "<project>/../top/hdl/a.vhd,hdl",
        "ENDFILE",
    });
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].GetInternalFileName().GetString(), "<project>/hdl/a.vhd");
    EXPECT_EQ(files[0].GetFileState(), imodelFileUpToDate);
    ASSERT_EQ(files[1].GetParentFileList().size(), 1u);
    EXPECT_EQ(files[1].GetParentFileList().front().first.GetInternalFileName().GetString(), "<project>/hdl/a.vhd");
    // Written back, the block names the plain path only.
    const std::string block = WriteBlock(files);
    EXPECT_EQ(block.find("/./"), std::string::npos) << block;
    EXPECT_EQ(block.find("/../"), std::string::npos) << block;
}

// Of two names that differ in letter case only, the later one takes the
// first one's place when only its file is on disk (a rename that an older
// release took for a new member); in every other case the first is kept.
TEST(IfileFileList, OfTwoNamesInTwoCasesTheOneOnDiskIsKept)
{
    TempFolder folder;
    ProjectFolderScope project(folder.Path());
    folder.Write("hdl/mid.vhd", "");
    folder.Write("hdl/both.vhd", "");
    folder.Write("hdl/BOTH.vhd", "");
    folder.Write("hdl/SAME.vhd", "");
    IfileReplacedMembers replaced;
    std::deque<IfileObjectEx> files;
    IfileReadFileList(
        {
            // Gone from disk: mid.vhd below takes its place.
            "<project>/hdl/MID.vhd,hdl",
            "STATE=\"utd\"",
            "ENDFILE",
            // Both on disk (BOTH.vhd below), or neither (GONE.vhd): the first stays.
            "<project>/hdl/both.vhd,hdl",
            "ENDFILE",
            "<project>/hdl/gone.vhd,hdl",
            "ENDFILE",
            "<project>/hdl/SAME.vhd,hdl",
            "STATE=\"utd\"",
            "ENDFILE",
            "<project>/hdl/mid.vhd,hdl",
            "STATE=\"ood\"",
            "ENDFILE",
            "<project>/hdl/BOTH.vhd,hdl",
            "ENDFILE",
            "<project>/hdl/GONE.vhd,hdl",
            "ENDFILE",
            // The very same name twice.
            "<project>/hdl/SAME.vhd,hdl",
            "STATE=\"ood\"",
            "ENDFILE",
        },
        files, {}, true, &replaced);
    ASSERT_EQ(files.size(), 4u);
    EXPECT_EQ(files[0].GetInternalFileName().GetString(), "<project>/hdl/mid.vhd");
    EXPECT_EQ(files[0].GetFileState(), imodelFileOutOfDate);  // the whole entry, not only its name
    EXPECT_EQ(files[1].GetInternalFileName().GetString(), "<project>/hdl/both.vhd");
    EXPECT_EQ(files[2].GetInternalFileName().GetString(), "<project>/hdl/gone.vhd");
    EXPECT_EQ(files[3].GetFileState(), imodelFileUpToDate);
    ASSERT_EQ(replaced.size(), 1u);
    EXPECT_EQ(replaced[0].first, folder / "hdl/MID.vhd");
    EXPECT_EQ(replaced[0].second, folder / "hdl/mid.vhd");

    // Read without a list of the replaced, and written back: one member.
    const std::deque<IfileObjectEx> again =
        ReadBlock({"<project>/hdl/MID.vhd,hdl", "ENDFILE", "<project>/hdl/mid.vhd,hdl", "ENDFILE"});
    ASSERT_EQ(again.size(), 1u);
    const std::string block = WriteBlock(again);
    EXPECT_NE(block.find("VALUE \"<project>/hdl/mid.vhd,hdl\""), std::string::npos) << block;
    EXPECT_EQ(block.find("MID.vhd"), std::string::npos) << block;
}

TEST(IfileFileList, ParentLinesThatFormACycleAreWalkedToAnEnd)
{
    ProjectFolderScope project(kProject);
    std::deque<IfileObjectEx> files =
        ReadBlock({"<project>/a.cxf,ombrix_cxf", "PARENT=\"<project>/b.cxf\"", "ENDFILE", "<project>/b.cxf,ombrix_cxf",
                   "PARENT=\"<project>/a.cxf\"", "ENDFILE"});
    ASSERT_EQ(files.size(), 2u);
    // As the file manager holds them: shared entries with live links.
    auto a = boost::make_shared<IfileObjectEx>(files[0]);
    auto b = boost::make_shared<IfileObjectEx>(files[1]);
    a->UpdateParentFilePtr(*b, b);
    b->UpdateParentFilePtr(*a, a);
    EXPECT_TRUE(a->IsChildOfFile(*b, true));
    EXPECT_FALSE(a->IsChildOfFile(IfileObject("<project>/c.cxf", {}), true));
    EXPECT_FALSE(a->HasMultipleParentsRec(zorpaFT_OMBRIX_CXF));
    EXPECT_EQ(a->GetSingleTopLevelParentFileObject(), b);
}

TEST(IfileFileList, AnEmptyProfileNameIsKept)
{
    const std::deque<IfileObjectEx> files =
        ReadBlock({"<project>/a.v,hdl", "BEGIN_USE_CONSTRAINT", "TOOL_CONSTRAINT_TYPE=\"ideSYNTHESIS\"",
                   "TOOL_CONSTRAINT_USE=\",fast\"", "END_USE_CONSTRAINT", "ENDFILE"});
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].GetFilters()[0].usedProfiles, (std::set<std::string>{"", "fast"}));
    EXPECT_NE(
        WrittenBy([&](std::ostream* out) { files[0].WriteCXFAttrs(out); }).find("TOOL_CONSTRAINT_USE=\",fast\"\n"),
        std::string::npos);
}

TEST(IfileFileList, AFileHeadIsWrittenAsThePlainWayWritesItAndItsStampsReadBack)
{
    // The head of a file's block (its VALUE line, state and stamp) is
    // gathered in place and its numbers made eight digits at a time: every
    // state, many types, and stamps of every length and sign, against the
    // lines put together the plain way.
    ProjectFolderScope project(kProject);
    std::mt19937_64 random(28);
    const std::vector<std::int64_t> edges{0,
                                          1,
                                          -1,
                                          9,
                                          10,
                                          99999999,
                                          100000000,
                                          9999999999999999,
                                          10000000000000000,
                                          std::numeric_limits<std::int64_t>::max(),
                                          std::numeric_limits<std::int64_t>::min(),
                                          kBigTime};
    const auto number = [&](std::size_t at) {
        if (at < edges.size()) return edges[at];
        // Every length: a random value of a random bit width, either sign.
        const std::uint64_t bits = random() >> (random() % 64);
        const auto value = static_cast<std::int64_t>(bits);
        return random() % 4 == 0 ? -value : value;
    };
    const imodelFileState states[] = {imodelFileAbsent, imodelFileUpToDate, imodelFileOutOfDate};
    const char* stateWords[] = {"absent", "utd", "ood"};
    for (std::size_t at = 0; at < 600; ++at) {
        const auto type = static_cast<zorpaFileManagerTypes>(at % imodelFileManagerTypesCount);
        IfileObjectEx file(Local("rtl/f" + std::to_string(at) + ".vhd", type), false);
        file.SetFileState(states[at % 3]);
        const std::int64_t time = number(at);
        const std::int64_t size = at < edges.size() ? edges[edges.size() - 1 - at] : number(at);
        file.StoreStatInfo(size, time);

        std::string keyword;
        IfileGetStrType(keyword, file.GetFileType());
        const std::string head = "VALUE \"" + file.GetInternalFileName().GetString() + "," + keyword + "\"\nSTATE=\"" +
                                 stateWords[at % 3] + "\"\n";
        const std::string stamps = "TIME=\"" + std::to_string(time) + "\"\nSIZE=\"" + std::to_string(size) + "\"\n";
        std::string without;
        ASSERT_TRUE(file.AppendFileManagerFile(without, false));
        ASSERT_EQ(without.compare(0, head.size(), head), 0) << without;
        std::string with;
        ASSERT_TRUE(file.AppendFileManagerFile(with, true));
        EXPECT_EQ(with, head + stamps + without.substr(head.size())) << "time " << time << " size " << size;

        // What is written reads back, and writes the same again (a short
        // time reads as seconds of an older project, a negative size not).
        constexpr std::int64_t kSecondsBelow = 9'000'000'000;
        if (size < 0 || (time > -kSecondsBelow && time < kSecondsBelow)) continue;
        const std::deque<IfileObjectEx> read =
            ReadBlock(ProjectFileBlock("LIST FileManager\n" + with + "ENDLIST\n", "FileManager"));
        ASSERT_EQ(read.size(), 1u) << with;
        ASSERT_NE(read[0].GetStatInfo(), nullptr);
        EXPECT_EQ(read[0].GetStatInfo()->time, time);
        EXPECT_EQ(read[0].GetStatInfo()->size, size);
        std::string again;
        ASSERT_TRUE(read[0].AppendFileManagerFile(again, true));
        EXPECT_EQ(again, with);
    }
}

// A member's value is cut out of its line in place: random lines (keywords
// that match, run on or fall short; values with quotes, carriage returns and
// line ends at either end) give what cutting a copy step by step gives.
TEST(IfileFileList, AMemberValueIsWhatCuttingACopyStepByStepGives)
{
    const auto plain = [](const char* keyword, const std::string& line, std::string& value) {
        const std::string head = std::string(keyword) + "=";
        if (line.size() <= std::strlen(keyword) || line.compare(0, head.size(), head) != 0) return false;
        std::string rest = line.substr(head.size());
        if (!rest.empty() && rest.back() == '\r') rest.pop_back();
        if (!rest.empty() && rest.front() == '"') rest.erase(0, 1);
        if (!rest.empty() && rest.back() == '"') rest.pop_back();
        value = rest;
        return true;
    };
    std::mt19937 random(28);
    const char pieces[] = {'"', '\r', 'a', 'Z', ' ', '=', '\n', '"', '_'};
    for (int round = 0; round < 5000; ++round) {
        const char* keyword = round % 3 == 0 ? "STAMP" : "T";
        std::string line = round % 7 == 0 ? std::string("STAM") : std::string(keyword);
        if (random() % 8 != 0) line += '=';
        for (int i = 0, length = static_cast<int>(random() % 40); i < length; ++i)
            line += pieces[random() % sizeof(pieces)];
        // A value left from a longer line must not show through.
        std::string value(random() % 30, 'x');
        std::string expected = value;
        ASSERT_EQ(ifileMemberValue(keyword, line, value), plain(keyword, line, expected)) << line;
        ASSERT_EQ(value, expected) << line;
    }
}
