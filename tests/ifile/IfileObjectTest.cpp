#include "IfileObjectTestSupport.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileObject.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <deque>
#include <sstream>

namespace {

const char kProject[] = "/prj/top";

IfileObject Full(const std::string& name, zorpaFileManagerTypes type = zorpaFT_HDL, bool usePrjVar = true)
{
    return IfileObject(name, type, ImodelFMFull, true, usePrjVar);
}

IfileObject Stored(const std::string& name, zorpaFileManagerTypes type = zorpaFT_HDL)
{
    return IfileObject(name, type, ImodelFMInternal, true, false);
}

}  // namespace

TEST(IfileObject, AProjectFileIsStoredWithTheProjectTokenAndResolvesBack)
{
    ProjectFolderScope project(kProject);
    const IfileObject file = Full("/prj/top/hdl/Top.vhd");
    EXPECT_EQ(file.GetInternalFileName().GetString(), "<project>/hdl/Top.vhd");
    EXPECT_EQ(file.GetMapKey().GetString(), "<PROJECT>/HDL/TOP.VHD");
    EXPECT_EQ(file.GetFullFileName().GetString(), "/prj/top/hdl/Top.vhd");
    EXPECT_TRUE(file.IsLocalFile());

    // Another spelling of the same file is equal, and ordered apart.
    const IfileObject spelled = Full("/PRJ/TOP/HDL/top.VHD", zorpaFT_HDL, false);
    EXPECT_EQ(spelled.GetInternalFileName().GetString(), "/PRJ/TOP/HDL/top.VHD");
    EXPECT_TRUE(file == spelled);
    EXPECT_TRUE(Stored("<project>/HDL/top.vhd") == file);
    EXPECT_NE(file < Stored("<project>/HDL/top.vhd"), Stored("<project>/HDL/top.vhd") < file);

    ImodelFileName relative;
    EXPECT_TRUE(file.GetRelativeFileName(relative));
    EXPECT_EQ(relative.GetString(), "hdl/Top.vhd");
    ImodelFileName folder;
    EXPECT_TRUE(file.GetRelativeFolder(folder));
    EXPECT_EQ(folder.GetString(), "hdl");
    EXPECT_EQ(file.GetFileLocation().GetString(), "/prj/top/hdl");
    EXPECT_EQ(file.GetFileTitleAndExt(), "Top.vhd");
    EXPECT_EQ(file.GetFileTitleNoExt(), "Top");
    EXPECT_EQ(file.GetExt(), "vhd");
    EXPECT_EQ(file.GetDisplayFileName().GetString(), "hdl/Top.vhd");
    EXPECT_EQ(file.GetLinkToDisplayFileName(), "Top.vhd");
    EXPECT_EQ(file.GetPathUsingPrjVar(false, "PRJ"), "${PRJ}/hdl/Top.vhd");
    EXPECT_EQ(file.GetPathUsingPrjVar(true, "PRJ"), "${PRJ}/hdl");

    // Stored absolute with the flag off: still local, but without a relative name.
    EXPECT_TRUE(spelled.IsLocalFile());
    relative = "stale";
    EXPECT_FALSE(spelled.GetRelativeFileName(relative));
    EXPECT_TRUE(relative.empty());
    EXPECT_EQ(spelled.GetRelativeOrFullFileName().GetString(), "/PRJ/TOP/HDL/top.VHD");
}

TEST(IfileObject, EveryNameFormGoesInAndComesOut)
{
    ProjectFolderScope project(kProject);
    EXPECT_EQ(IfileObject("hdl/a.v", zorpaFT_HDL, ImodelFMRelative, true, true).GetInternalFileName().GetString(),
              "<project>/hdl/a.v");
    EXPECT_EQ(IfileObject("hdl/a.v", zorpaFT_HDL, ImodelFMRelative, true, false).GetInternalFileName().GetString(),
              "/prj/top/hdl/a.v");
    EXPECT_EQ(IfileObject("a.v", zorpaFT_HDL, ImodelFMShort, true, true).GetInternalFileName().GetString(),
              "<project>/hdl/a.v");
    EXPECT_EQ(IfileObject("x\\y\\a.v", zorpaFT_HDL, ImodelFMInternal, true, true).GetInternalFileName().GetString(),
              "x/y/a.v");

    const IfileObject outside = Full("/elsewhere/lib/b.v");
    EXPECT_EQ(outside.GetInternalFileName().GetString(), "/elsewhere/lib/b.v");
    EXPECT_FALSE(outside.IsLocalFile());
    EXPECT_EQ(outside.GetLinkToDisplayFileName(), "b.v (Link to: /elsewhere/lib/b.v)");
    EXPECT_EQ(outside.GetRelativeOrFullFolder().GetString(), "/elsewhere/lib");
    EXPECT_EQ(outside.GetPathUsingPrjVar(false, "PRJ"), "/elsewhere/lib/b.v");

    const IfileObject local = Full("/prj/top/hdl/a.v");
    ImodelFileName out;
    EXPECT_TRUE(local.GetFileNameString(out, ImodelFMFull));
    EXPECT_EQ(out.GetString(), "/prj/top/hdl/a.v");
    EXPECT_TRUE(local.GetFileNameString(out, ImodelFMRelative));
    EXPECT_EQ(out.GetString(), "hdl/a.v");
    EXPECT_TRUE(local.GetFileNameString(out, ImodelFMShort));
    EXPECT_EQ(out.GetString(), "a.v");
    EXPECT_TRUE(local.GetFileNameString(out, ImodelFMInternal));
    EXPECT_EQ(out.GetString(), "<project>/hdl/a.v");
    EXPECT_FALSE(outside.GetFileNameString(out, ImodelFMRelative));
    EXPECT_EQ(out.GetString(), "/elsewhere/lib/b.v");

    // A file directly in the project folder, asked for its folder: the absolute folder.
    const IfileObject top = Full("/prj/top/top.prj");
    EXPECT_TRUE(top.GetRelativeFolder(out));
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(top.GetPathUsingPrjVar(true, "PRJ"), "/prj/top");

    EXPECT_TRUE(IfileObject::IsSameFileName("/PRJ/top/hdl/A.V", ImodelFMFull)(local));
    EXPECT_TRUE(IfileObject::IsSameFileName("hdl/a.v", ImodelFMRelative)(local));
    EXPECT_FALSE(IfileObject::IsSameFileName("hdl/a.v", ImodelFMRelative)(outside));
    EXPECT_TRUE(IfileObject::IsSameFile(local)(Stored("<project>/HDL/A.v")));
}

TEST(IfileObject, NamesWithoutAProjectFolderAreTracedAndKept)
{
    ProjectFolderScope project("");
    PrintCapture traces;
    const IfileObject relative("hdl/a.v", zorpaFT_HDL, ImodelFMRelative, true, false);
    EXPECT_EQ(relative.GetInternalFileName().GetString(), "hdl/a.v");
    EXPECT_TRUE(traces.Holds("Error: Project Loc not set\n"));

    traces.Clear();
    EXPECT_EQ(Stored("<project>/hdl/a.v").GetFullFileName().GetString(), "hdl/a.v");
    EXPECT_TRUE(traces.Holds("Error: Project Loc not set\n"));
    // The token alone resolves to nothing rather than past its end.
    EXPECT_EQ(Stored("<project>").GetFullFileName().GetString(), "");
}

TEST(IfileObject, ExtensionsAndTitles)
{
    PrintCapture traces;
    EXPECT_EQ(Stored("/a/b/noext").GetExt(), "");
    EXPECT_TRUE(traces.Holds("Error: in IfileObject::GetExt() for '/a/b/noext'.\n"));
    EXPECT_EQ(Stored("/a/b/.cshrc").GetFileTitleNoExt(), ".cshrc");
    EXPECT_EQ(Stored("/a/b/.cshrc").GetExt(), "");
    // A dot in a folder name is no extension.
    EXPECT_EQ(Stored("/a/my.dir/file").GetExt(), "");
    EXPECT_EQ(Stored("/a/b.tar.gz").GetExt(), "gz");

    EXPECT_TRUE(Stored("/a/top.vhd").HasValidExt());
    EXPECT_FALSE(Stored("/a/top.").HasValidExt());
    EXPECT_FALSE(Stored("/a.d/top").HasValidExt());
    EXPECT_FALSE(Stored("/a/.vhd").HasValidExt());
    EXPECT_TRUE(Stored("top.tar.gz").HasValidExt());
    EXPECT_FALSE(Stored("/a/top.tar.gz").HasValidExt());
    EXPECT_FALSE(Stored("/a/noext").HasValidExt());

    EXPECT_EQ(Stored("/title").GetFileTitleAndExt(), "/title");
    EXPECT_EQ(Stored("/title").GetFileLocation().GetString(), "");
}

TEST(IfileObject, TypesKeywordsAndPredicates)
{
    std::string keyword;
    EXPECT_TRUE(IfileGetStrType(keyword, zorpaFT_IDE_PLD));
    EXPECT_EQ(keyword, "ide_pld");
    EXPECT_FALSE(IfileGetStrType(keyword, 101));
    EXPECT_EQ(keyword, "???");
    EXPECT_FALSE(IfileGetStrType(keyword, -1));

    EXPECT_TRUE(Stored("/a.v", zorpaFT_HDL).IsPreSynthFileType());
    EXPECT_FALSE(Stored("/a.adb", zorpaFT_ADB).IsPreSynthFileType());
    EXPECT_TRUE(Stored("/a.pdb", zorpaFT_PDB).IsBinaryFile());
    EXPECT_FALSE(Stored("/a.v", zorpaFT_HDL).IsBinaryFile());
    EXPECT_TRUE(ImodelIsHDLType(zorpaFT_OTHER_HDL));
    EXPECT_FALSE(ImodelIsHDLType(zorpaFT_SDC));
    EXPECT_EQ(Stored("/a.edn", zorpaFT_SYN_EDN).GetFileGlobalType(), zorpaFT_GROUP_SYNTHESIS);

    EXPECT_EQ(IfileObject::GetConstrFileType("/c/top_zevoru.sdc"), zorpaFT_ZEVORU_SDC);
    EXPECT_EQ(IfileObject::GetConstrFileType("/c/top_sdc.sdc"), zorpaFT_SYN_SDC);
    EXPECT_EQ(IfileObject::GetConstrFileType("/c/top.sdc"), zorpaFT_SDC);
    EXPECT_EQ(IfileObject::GetConstrFileType("/c/top_zevoru.gcf"), zorpaFT_ZEVORU_GCF);
    EXPECT_EQ(IfileObject::GetConstrFileType("/c/top_zevoru.pdc"), zorpaFT_ZEVORU_PDC);
    EXPECT_EQ(IfileObject::GetConstrFileType("/c/top.pin"), zorpaFT_PIN);

    PrintCapture traces;
    EXPECT_EQ(IfileObject::GetSafeFileType(104, "/c/top.xyz"), zorpaFT_UNKNOWN);
    EXPECT_TRUE(traces.Holds("could not get file type for '/c/top.xyz', 104."));
    EXPECT_EQ(IfileObject::GetSafeFileType(103, "/c/top.adb"), zorpaFT_ADB);
}

TEST(IfileObject, HdlLanguageFollowsTheExtensionOnlyWithMixedHdl)
{
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    const bool wasVHDL = design.IsDefaultVHDL();
    design.SetDefaultVHDL(true);
    const std::deque<IfileObject> files = {Stored("/a.vhd"), Stored("/b.v"), Stored("/c.sdc", zorpaFT_SDC)};
    {
        DefOverRideGuard mixed("IDE_MIXED_HDL_ENABLED", "0");
        bool isVHDL = false;
        EXPECT_TRUE(Stored("/b.v").IsFileHDL(isVHDL));
        EXPECT_TRUE(isVHDL);
        EXPECT_FALSE(Stored("/c.sdc", zorpaFT_SDC).IsFileHDL(isVHDL));
        EXPECT_FALSE(IfileIsMixedHDLList(files));
    }
    {
        DefOverRideGuard mixed("IDE_MIXED_HDL_ENABLED", "1");
        bool isVHDL = true;
        EXPECT_TRUE(Stored("/b.v").IsFileHDL(isVHDL));
        EXPECT_FALSE(isVHDL);
        isVHDL = true;
        EXPECT_TRUE(Stored("/b.inc").IsFileHDL(isVHDL));
        EXPECT_TRUE(isVHDL);  // left as the caller set it
        EXPECT_TRUE(IfileIsMixedHDLList(files));
        EXPECT_TRUE(IfileGetListHDLType(files, true));
        EXPECT_FALSE(IfileGetListHDLType(files, false));
        EXPECT_TRUE(IfileGetListHDLType({Stored("/c.sdc", zorpaFT_SDC)}, false));  // the project's language
        EXPECT_EQ(Stored("/b.v").GetModuleType(), zorpaMODULE_VERILOG);
        EXPECT_EQ(Stored("/a.vhd").GetModuleType(), zorpaMODULE_VHDL);
        EXPECT_EQ(Stored("/s.sch", zorpaFT_SCH).GetModuleType(), zorpaMODULE_SCHEMATIC);
        EXPECT_EQ(Stored("/t.vhd", zorpaFT_TB_HDL).GetModuleType(), zorpaMODULE_UNKNOWN);
    }
    design.SetDefaultVHDL(wasVHDL);
}

TEST(IfileObject, TheViewOfAFileComesFromItsFolder)
{
    ProjectFolderScope project(kProject);
    EXPECT_EQ(Full("/prj/top/pallador/impl3/top.adb").GetRevNum(), 3);
    EXPECT_EQ(Full("/prj/top/Pallador/IMPL4/top.adb").GetRevNum(), 4);
    EXPECT_EQ(Full("/prj/top/pallador/impl2/sub/top.sdf").GetRevNum(), 2);
    EXPECT_EQ(Full("/prj/top/pallador/top.adb").GetRevNum(), -1);
    EXPECT_EQ(Full("/prj/top/pallador/impl2/a/b/top.sdf").GetRevNum(), -1);
    EXPECT_EQ(Full("/prj/top/pallador/impl-1/top.adb").GetRevNum(), -1);
    EXPECT_EQ(Full("/prj/top/pallador/impl/top.adb").GetRevNum(), -1);
    EXPECT_EQ(Full("/prj/top/palladorx/impl1/top.adb").GetRevNum(), -1);
    EXPECT_EQ(Full("/elsewhere/pallador/impl1/top.adb").GetRevNum(), -1);

    EXPECT_TRUE(Full("/prj/top/pallador/impl3/top.adb").IsRevSpecific());
    // The project has no view yet: only files of no view are in the current one.
    EXPECT_FALSE(Full("/prj/top/pallador/impl3/top.adb").IsInCurRev());
    EXPECT_TRUE(Full("/prj/top/hdl/top.v").IsInCurRev());
}

TEST(IfileObject, TheProjectFileLineReadsBack)
{
    ProjectFolderScope project(kProject);
    const IfileObject file = Full("/prj/top/hdl/top.vhd");
    EXPECT_EQ(file.GetWriteFileLine(), "<project>/hdl/top.vhd,hdl");
    std::ostringstream out;
    file.Write(&out);
    EXPECT_EQ(out.str(), "VALUE \"<project>/hdl/top.vhd,hdl\"\n");
    file.Write(nullptr);

    const IfileObject read(file.GetWriteFileLine(), {});
    EXPECT_EQ(read.GetInternalFileName().GetString(), "<project>/hdl/top.vhd");
    EXPECT_EQ(read.GetFileType(), zorpaFT_HDL);

    // Keywords hold no comma, names may: the keyword follows the last comma.
    const IfileObject comma = Stored("<project>/hdl/a,b.vhd");
    const IfileObject commaRead(comma.GetWriteFileLine(), {});
    EXPECT_EQ(commaRead.GetInternalFileName().GetString(), "<project>/hdl/a,b.vhd");
    EXPECT_EQ(commaRead.GetFileType(), zorpaFT_HDL);

    EXPECT_EQ(IfileObject("<project>/hdl/p.vhd,package", {}).GetFileType(), zorpaFT_HDL);
    EXPECT_EQ(IfileObject("<project>/a.stp,mult_stp", {}).GetFileType(), zorpaFT_STP);
    EXPECT_EQ(IfileObject("<project>/c.cxf,block_cxf", {}).GetFileType(), zorpaFT_OMBRIX_CXF);
    EXPECT_EQ(IfileObject("c:\\old\\a.v,hdl", {}).GetInternalFileName().GetString(), "c:/old/a.v");

    PrintCapture traces;
    const IfileObject unknown("<project>/x.q,nonsense", {});
    EXPECT_EQ(unknown.GetFileType(), zorpaFT_UNKNOWN);
    EXPECT_TRUE(traces.Holds("Error: in IfileObject::ReadStrType.\n"));
    const IfileObject bare("<project>/plain.txt", {});
    EXPECT_EQ(bare.GetInternalFileName().GetString(), "<project>/plain.txt");
    EXPECT_EQ(bare.GetFileType(), zorpaFT_UNKNOWN);

    std::vector<std::string> pieces;
    IfileObject::ParseFileLine("a,,b,", pieces);
    EXPECT_EQ(pieces, (std::vector<std::string>{"a", "", "b", ""}));
}

TEST(IfileObject, ConvertersTranslateAndRenameWhatIsRead)
{
    ScriptedConverter converter;
    converter.oldKeywords["veryold"] = zorpaFT_SCH;
    converter.renames["<project>/old/a.sch"] = "<project>/new/a.sch";
    const std::vector<Iconvert*> converters = {&converter};

    const IfileObject file("<project>/old/a.sch,veryold", converters);
    EXPECT_EQ(file.GetFileType(), zorpaFT_SCH);
    EXPECT_EQ(file.GetInternalFileName().GetString(), "<project>/new/a.sch");
    EXPECT_EQ(converter.seen, std::vector<std::string>{"<project>/old/a.sch"});

    converter.vetoedLines.insert("<project>/skip.v,hdl");
    EXPECT_FALSE(IconvertNewFileManagerFileFileNeedsImport(converters, "<project>/skip.v,hdl"));
    EXPECT_TRUE(IconvertNewFileManagerFileFileNeedsImport(converters, "<project>/keep.v,hdl"));
    EXPECT_TRUE(IconvertNewFileManagerFileFileNeedsImport({}, "<project>/skip.v,hdl"));
}

TEST(IfileObject, PlainFileListsRoundTrip)
{
    ProjectFolderScope project(kProject);
    const std::deque<IfileObject> files = {Full("/prj/top/hdl/a.vhd"), Full("/prj/top/constraint/t.pdc", zorpaFT_PDC),
                                           Full("/elsewhere/b,c.v")};
    std::ostringstream out;
    IfileWriteFileList(files, &out, "LIST UsedFiles", "ENDLIST");
    EXPECT_EQ(out.str(), "LIST UsedFiles\n"
                         "VALUE \"<project>/hdl/a.vhd,hdl\"\n"
                         "VALUE \"<project>/constraint/t.pdc,pdc\"\n"
                         "VALUE \"/elsewhere/b,c.v,hdl\"\n"
                         "ENDLIST\n");

    std::vector<std::string> lines = Delivered(out.str());
    lines.erase(lines.begin());  // the opening line of another list
    lines.push_back("");
    lines.push_back("<project>/HDL/A.vhd,hdl");  // the same file again
    ScriptedConverter converter;
    converter.vetoedLines.insert("<project>/constraint/t.pdc,pdc");
    std::deque<IfileObject> read = {Stored("/left/over.v")};
    IfileReadFileList(lines, read, {&converter}, true);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].GetInternalFileName().GetString(), "<project>/hdl/a.vhd");
    EXPECT_EQ(read[1].GetInternalFileName().GetString(), "/elsewhere/b,c.v");

    IfileReadFileList(lines, read, {}, false);
    EXPECT_EQ(read.size(), 3u);  // only the file that was vetoed before is new
}

TEST(IfileObject, ClientDataIsShared)
{
    IfileObject file = Stored("/a.v");
    EXPECT_FALSE(file.HasClientData());
    file.SetClientData(boost::make_shared<int>(7));
    const IfileObject copy = file;
    EXPECT_EQ(copy.GetClientData(), file.GetClientData());
    file.RemoveClientDataRef();
    EXPECT_FALSE(file.HasClientData());
    EXPECT_TRUE(copy.HasClientData());
}

TEST(IfileObject, NamesThatTheLineFormatCannotHoldAreRefused)
{
    EXPECT_TRUE(IfileIsStorableName("/prj/a, b.v"));
    EXPECT_FALSE(IfileIsStorableName("/prj/a\nb.v"));
    EXPECT_FALSE(IfileIsStorableName("/prj/a\"b.v"));
}
