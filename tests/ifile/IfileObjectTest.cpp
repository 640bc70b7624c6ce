// File values: the stored name and the names derived from it, extensions,
// types and the HDL language, views, the project-file line, converters and
// plain file lists through the project-file reader.
#include "IfileObjectTestSupport.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileObject.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <deque>
#include <random>
#include <string>
#include <vector>

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

std::string In(const IfileObject& file, ImodelFMStringFileType form)
{
    ImodelFileName out;
    return (file.GetFileNameString(out, form) ? "" : "!") + out.GetString();
}

}  // namespace

TEST(IfileObject, AProjectFileIsStoredWithTheProjectTokenAndEveryNameFormComesOut)
{
    ProjectFolderScope project(kProject);
    const IfileObject file = Full("/prj/top/hdl/Top.vhd");
    EXPECT_EQ(file.GetInternalFileName().GetString(), "<project>/hdl/Top.vhd");
    EXPECT_EQ(file.GetMapKey().GetString(), "<PROJECT>/HDL/TOP.VHD");
    EXPECT_EQ(In(file, ImodelFMFull), "/prj/top/hdl/Top.vhd");
    EXPECT_EQ(In(file, ImodelFMRelative), "hdl/Top.vhd");
    EXPECT_EQ(file.GetPathUsingPrjVar(false, "PRJ"), "${PRJ}/hdl/Top.vhd");

    // Another spelling of the same file is equal, and ordered apart.
    const IfileObject spelled = Full("/PRJ/TOP/HDL/top.VHD", zorpaFT_HDL, false);
    EXPECT_TRUE(file == spelled);
    EXPECT_NE(file < Stored("<project>/HDL/top.vhd"), Stored("<project>/HDL/top.vhd") < file);
    EXPECT_TRUE(spelled.IsLocalFile());
    EXPECT_EQ(In(spelled, ImodelFMRelative), "!/PRJ/TOP/HDL/top.VHD");  // absolute without the flag

    EXPECT_EQ(IfileObject("hdl/a.v", zorpaFT_HDL, ImodelFMRelative, true, false).GetInternalFileName().GetString(),
              "/prj/top/hdl/a.v");
    const IfileObject outside = Full("/elsewhere/lib/b.v");
    EXPECT_FALSE(outside.IsLocalFile());
    EXPECT_EQ(outside.GetLinkToDisplayFileName(), "b.v (Link to: /elsewhere/lib/b.v)");
    EXPECT_EQ(In(outside, ImodelFMRelative), "!/elsewhere/lib/b.v");
}

TEST(IfileObject, NamesWithoutAProjectFolderAreTracedAndKept)
{
    ProjectFolderScope project("");
    PrintCapture traces;
    EXPECT_EQ(IfileObject("hdl/a.v", zorpaFT_HDL, ImodelFMRelative, true, false).GetInternalFileName().GetString(),
              "hdl/a.v");
    EXPECT_TRUE(traces.Holds("Error: Project Loc not set\n"));
    EXPECT_EQ(Stored("<project>/hdl/a.v").GetFullFileName().GetString(), "hdl/a.v");
    // The token alone resolves to nothing rather than past its end.
    EXPECT_EQ(Stored("<project>").GetFullFileName().GetString(), "");
}

TEST(IfileObject, AFullNameIsTheProjectFolderWithOneSeparatorThenTheRest)
{
    std::mt19937 random(28);
    // Folder names of dots alone ("." and "..") are resolved, not joined.
    const auto word = [&random] {
        std::string text;
        while (text.find_first_not_of('.') == std::string::npos) {
            text.clear();
            for (int i = 0, length = 1 + static_cast<int>(random() % 24); i < length; ++i)
                text += "abcXYZ_.09"[random() % 10];
        }
        return text;
    };
    for (const std::string folder : {"/prj/top", "/prj/top/", "/", "/a/much/longer/folder/than/a/short/name"}) {
        ProjectFolderScope project(folder);
        for (int i = 0; i < 200; ++i) {
            std::string rest = word();
            for (int depth = static_cast<int>(random() % 4); depth > 0; --depth) rest = word() + "/" + rest;
            const std::string expected = (folder.back() == '/' ? folder : folder + "/") + rest;
            EXPECT_EQ(Stored("<project>/" + rest).GetFullFileName().GetString(), expected) << folder << " " << rest;
        }
    }
}

// A value keeps the full name it joined: through project folders that
// change under it (also to one of the same length, a longer or shorter one,
// one with a trailing separator, none), names given anew, copies, moves and
// assignments, every value (also one moved away from) answers as a join
// made afresh at each question.
TEST(IfileObject, AKeptFullNameAnswersAsAJoinMadeAfreshThroughFolderAndNameChanges)
{
    std::mt19937 random(2808);
    const std::vector<std::string> folders{
        "/prj/top",    "/prj/tip", "/prj/top/", "/prj/to",
        "/prj/topx",   "/",        "",          "/a/much/longer/folder/than/a/short/name",
        "/prj/top/hdl"};
    const std::vector<std::string> rests{"a.v", "hdl/a.v",  "hdl/top.vhd", "top.vhd",  "p/hdl/a.v",
                                         "",    "x/../y.v", "prj/top/a.v", "hdl/a.vhd"};
    const auto name = [&]() -> std::string {
        switch (random() % 5) {
        case 0:
            return "/elsewhere/" + rests[random() % rests.size()];
        case 1:
            return "<project>";
        default:
            return "<project>/" + rests[random() % rests.size()];
        }
    };
    const auto expected = [](const std::string& stored, const std::string& folder) -> std::string {
        if (stored.rfind("<project>", 0) != 0) return stored;
        const std::string rest = stored.size() > 9 ? stored.substr(10) : std::string();
        if (folder.empty()) return rest;
        return (folder.back() == '/' ? folder : folder + "/") + rest;
    };
    PrintCapture traces;  // "Project Loc not set" while there is no folder
    ProjectFolderScope project(folders.front());
    std::string folder = folders.front();
    std::vector<IfileObject> files;
    for (int i = 0; i < 12; ++i) files.push_back(Stored(name()));
    for (int step = 0; step < 3000; ++step) {
        IfileObject& file = files[random() % files.size()];
        switch (random() % 8) {
        case 0:
            folder = folders[random() % folders.size()];
            Imodel::GetInstance().GetDesignManager()->SetProjectFolder(folder);
            break;
        case 1:
            file.SetFileName(name(), ImodelFMInternal, false);
            break;
        case 2:
            file = files[random() % files.size()];
            break;
        case 3:
            files.push_back(file);
            break;
        case 4:
            if (files.size() > 2) files.erase(files.begin() + static_cast<std::ptrdiff_t>(random() % files.size()));
            break;
        case 5: {
            // A value moved away from stays in the list, asked as it is left.
            IfileObject moved(std::move(file));
            files.push_back(std::move(moved));
            break;
        }
        case 6: {
            IfileObject& other = files[random() % files.size()];
            if (&other != &file) file = std::move(other);
            break;
        }
        default: {
            // A value asked while it stands in its own renaming.
            const ImodelFileName full = file.GetFullFileName();
            file.SetFileName(file.GetFullFileName(), ImodelFMInternal, false);
            ASSERT_EQ(file.GetInternalFileName(), full);
            break;
        }
        }
        for (const IfileObject& each : files) {
            const std::string& stored = each.GetInternalFileName().GetString();
            ASSERT_EQ(each.GetFullFileName().GetString(), expected(stored, folder)) << stored << " in " << folder;
            ASSERT_EQ(each.GetFileLocation().GetString(), IfileObject(each).GetFileLocation().GetString());
        }
    }
}

// The folder of a file within the project is its relative name up to the
// last separator, on random stored names: nested, at the top, with either
// separator, climbing out, outside the project.
TEST(IfileObject, ARelativeFolderIsTheRelativeNameUpToItsLastSeparator)
{
    std::mt19937 random(3203);
    ProjectFolderScope project(kProject);
    const std::vector<std::string> parts{"hdl", "a.v", "Top.VHD", "..", ".", "x y", "viewdraw", "sub\\dir", ""};
    for (int round = 0; round < 4000; ++round) {
        std::string name = random() % 6 == 0 ? "/elsewhere" : "<project>";
        const int depth = static_cast<int>(random() % 5);
        for (int i = 0; i < depth; ++i) name += (random() % 8 == 0 ? "\\" : "/") + parts[random() % parts.size()];
        const IfileObject file = Stored(name);
        ImodelFileName relative;
        const bool inside = file.GetRelativeFileName(relative);
        ImodelFileName folder("stale");
        ASSERT_EQ(file.GetRelativeFolder(folder), inside) << name;
        const std::string& text = relative.GetString();
        const std::size_t separator = text.find_last_of("/\\");
        const std::string expected =
            inside && separator != std::string::npos && separator > 0 ? text.substr(0, separator) : std::string();
        ASSERT_EQ(folder.GetString(), expected) << name;
    }
}

TEST(IfileObject, TheProjectFileLineReadsBack)
{
    ProjectFolderScope project(kProject);
    // Keywords hold no comma, names may: the keyword follows the last comma.
    for (const IfileObject& file : {Full("/prj/top/hdl/top.vhd"), Stored("<project>/hdl/a,b.vhd")}) {
        const IfileObject read(file.GetWriteFileLine(), {});
        EXPECT_EQ(read.GetInternalFileName(), file.GetInternalFileName());
        EXPECT_EQ(read.GetFileType(), zorpaFT_HDL);
    }
    // Older keywords and unknown ones: IfileFileListTest.
    EXPECT_EQ(IfileObject("<project>/a.stp,mult_stp", {}).GetFileType(), zorpaFT_STP);
    EXPECT_EQ(IfileObject("c:\\old\\a.v,hdl", {}).GetInternalFileName().GetString(), "c:/old/a.v");
}
