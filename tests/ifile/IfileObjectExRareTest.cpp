// The values few member files have (compile setting, error text, tool
// constraints, parents and the names they were read by, stimulus options)
// live in a block of their own, made only when one is set. Random files with
// and without them go through copies, assignments, moves, the clearing
// setters and the project file's file-list block, and are compared with a
// plain record of what was set.
#include "IfileObjectTestSupport.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileObjectEx.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <deque>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Filter = IfileObjectEx::type_Filter;
using Entry = boost::shared_ptr<IfileObjectEx>;

const char kProject[] = "/prj/top";
const int kParentPool = 4;

IfileObject Local(const std::string& relative, zorpaFileManagerTypes type)
{
    return IfileObject(relative, type, ImodelFMRelative, true, true);
}

IfileObject PoolParent(int i) { return Local("cores/c" + std::to_string(i) + ".cxf", zorpaFT_OMBRIX_CXF); }

// What a file was given, kept plainly.
struct Given {
    std::string compileSetting;
    ImodelErrorFileType errorKind = ImodelNoError;
    std::string errorText;
    std::vector<Filter> constraints;  // one per tool kind, as the setter merges them
    std::set<int> parents;            // indexes into the pool
    std::optional<std::pair<std::string, std::string>> stimulus;

    bool Empty() const
    {
        return compileSetting.empty() && errorText.empty() && constraints.empty() && parents.empty() && !stimulus;
    }
};

class Maker {
public:
    explicit Maker(unsigned seed) : m_random(seed) {}

    bool Chance(int inThree) { return std::uniform_int_distribution<int>(0, 2)(m_random) < inThree; }

    // Up to `longest` characters, blanks and punctuation included; longer
    // texts than a string keeps inline come up too.
    std::string Text(int longest)
    {
        static const char kAlphabet[] = "abcXYZ019 -_./+";
        std::string text(std::uniform_int_distribution<int>(0, longest)(m_random), ' ');
        for (char& c : text) c = kAlphabet[std::uniform_int_distribution<int>(0, sizeof kAlphabet - 2)(m_random)];
        return text;
    }

    std::set<std::string> Profiles()
    {
        std::set<std::string> profiles;
        for (int n = std::uniform_int_distribution<int>(0, 2)(m_random); n > 0; --n) profiles.insert("p" + Text(3));
        return profiles;
    }

    // Each value set about one time in three, so that many files have none.
    Given Values()
    {
        Given given;
        if (Chance(1)) given.compileSetting = Text(40);
        if (Chance(1)) {
            given.errorKind = Chance(1) ? ImodelModuleAlreadyDefined : ImodelNoError;
            given.errorText = Text(30);
        }
        if (Chance(1)) {
            for (ImodelFunctionType kind : {ideSYNTHESIS, ideSIMULATION, idePALLADOR, ideCONSTRAINTSEDITOR}) {
                if (!Chance(1)) continue;
                Filter filter(kind, "");
                filter.usedProfiles = Profiles();
                filter.skippedProfiles = Profiles();
                given.constraints.push_back(filter);
            }
        }
        if (Chance(1))
            for (int i = 0; i < kParentPool; ++i)
                if (Chance(1)) given.parents.insert(i);
        if (Chance(1)) given.stimulus = std::make_pair(Text(12), Text(8));
        return given;
    }

private:
    std::mt19937 m_random;
};

// Brings `file` to `given` through the setters, whatever it held before.
void Give(IfileObjectEx& file, const Given& given)
{
    ASSERT_TRUE(file.SetCompileSetting(given.compileSetting));
    file.SetErrorFile(given.errorKind, given.errorText);
    file.ResetUseForToolList();
    for (const Filter& filter : given.constraints) ASSERT_TRUE(file.SetUseForTool(filter));
    file.SetNoParent();
    for (int i : given.parents) file.AddParentFile(PoolParent(i));
    if (given.stimulus)
        ASSERT_TRUE(
            file.SetStimulusOptions(IfileObjectEx::StimulusOptions(given.stimulus->first, given.stimulus->second)));
    else
        ASSERT_TRUE(file.SetStimulusOptions(boost::shared_ptr<const IfileObjectEx::StimulusOptions>()));
}

std::set<std::string> ParentNames(const IfileObjectEx& file)
{
    std::set<std::string> names;
    for (const IfileObjectEx::ParentFile& parent : file.GetParentFileList())
        names.insert(parent.first.GetInternalFileName().GetString());
    return names;
}

std::set<std::string> PoolNames(const std::set<int>& parents)
{
    std::set<std::string> names;
    for (int i : parents) names.insert(PoolParent(i).GetInternalFileName().GetString());
    return names;
}

void ExpectHolds(const IfileObjectEx& file, const Given& given, const std::string& where)
{
    SCOPED_TRACE(where);
    EXPECT_EQ(file.GetCompileSetting(), given.compileSetting);
    EXPECT_EQ(file.GetErrorFileType(), given.errorKind);
    EXPECT_EQ(file.GetModuleAlreadyDefined(), given.errorText);
    EXPECT_EQ(file.GetFilters(), given.constraints);
    EXPECT_EQ(ParentNames(file), PoolNames(given.parents));
    EXPECT_EQ(file.HasParentFile(), !given.parents.empty());
    EXPECT_EQ(file.GetParentFileList().size(), given.parents.size());
    ASSERT_EQ(file.GetStimulusOptions() != nullptr, given.stimulus.has_value());
    if (given.stimulus) {
        EXPECT_EQ(file.GetStimulusOptions()->GetModuleUnderTest(), given.stimulus->first);
        EXPECT_EQ(file.GetStimulusOptions()->GetSimulationTime(), given.stimulus->second);
    }
}

// What IsIdentical compares of these values: the error is not compared, and
// no stimulus options read as two empty texts.
bool SameForIdentical(const Given& a, const Given& b)
{
    const auto options = [](const Given& given) { return given.stimulus.value_or(std::make_pair("", "")); };
    return a.compileSetting == b.compileSetting && a.constraints == b.constraints && a.parents == b.parents &&
           options(a) == options(b);
}

std::string WriteBlock(const std::deque<IfileObjectEx>& files)
{
    std::string text = "LIST FileManager\n";
    for (const IfileObjectEx& file : files) EXPECT_TRUE(file.AppendFileManagerFile(text, true));
    return text + "ENDLIST\n";
}

std::deque<IfileObjectEx> ReadBlock(const std::string& text)
{
    std::deque<IfileObjectEx> files;
    IfileReadFileList(ProjectFileBlock(text, "FileManager"), files, {}, true);
    return files;
}

}  // namespace

TEST(IfileObjectExRare, CopiesAssignmentsAndMovesKeepTheirOwnValues)
{
    ProjectFolderScope project(kProject);
    Maker make(20240611);
    for (int round = 0; round < 300; ++round) {
        const std::string where = "round " + std::to_string(round);
        const Given first = make.Values();
        IfileObjectEx file(Local("hdl/f.vhd", zorpaFT_HDL), false);
        Give(file, first);
        ExpectHolds(file, first, where + ": set");

        // A copy holds the same values, and changing it leaves the original
        // as it was: the copy has a block of its own.
        std::optional<IfileObjectEx> copy(std::in_place, file);
        ExpectHolds(*copy, first, where + ": copy");
        EXPECT_TRUE(copy->IsIdentical(file, true)) << where;
        const Given second = make.Values();
        Give(*copy, second);
        ExpectHolds(*copy, second, where + ": copy changed");
        ExpectHolds(file, first, where + ": original after the copy changed");
        EXPECT_EQ(copy->IsIdentical(file, true), SameForIdentical(first, second)) << where;
        // A change in place of what both hold.
        if (!first.constraints.empty()) {
            Give(*copy, first);
            Filter more(first.constraints.front().toolKind, "added");
            copy->SetUseForTool(more);
            ExpectHolds(file, first, where + ": original after a merge into the copy");
            EXPECT_FALSE(copy->IsIdentical(file, true)) << where;
        }
        if (!first.parents.empty()) {
            Give(*copy, first);
            const Entry live = boost::make_shared<IfileObjectEx>(PoolParent(*first.parents.begin()), false);
            copy->UpdateParentFilePtr(*live, live);
            for (const IfileObjectEx::ParentFile& parent : file.GetParentFileList())
                EXPECT_TRUE(parent.second.expired()) << where;
        }
        copy.reset();
        ExpectHolds(file, first, where + ": original after the copy went");

        // Assigned over a file holding other values, the target holds
        // exactly the source's; a file with none clears them.
        IfileObjectEx target(Local("hdl/g.vhd", zorpaFT_HDL), false);
        Give(target, second);
        target = file;
        ExpectHolds(target, first, where + ": assigned");
        Give(target, second);
        ExpectHolds(file, first, where + ": source after the target changed");
        IfileObjectEx none(Local("hdl/h.vhd", zorpaFT_HDL), false);
        target = none;
        ExpectHolds(target, Given(), where + ": assigned a file with none");
        target = file;

        // Moves carry the values.
        IfileObjectEx moved(std::move(target));
        ExpectHolds(moved, first, where + ": moved");
        IfileObjectEx movedOver(Local("hdl/i.vhd", zorpaFT_HDL), false);
        Give(movedOver, second);
        movedOver = std::move(moved);
        ExpectHolds(movedOver, first, where + ": move-assigned");

        // Clearing every value through the setters leaves a file like one
        // that never had any.
        Give(movedOver, Given());
        ExpectHolds(movedOver, Given(), where + ": cleared");
    }
}

TEST(IfileObjectExRare, TheFileListBlockRoundTripsFilesWithAndWithoutTheValues)
{
    ProjectFolderScope project(kProject);
    Maker make(77);
    std::deque<IfileObjectEx> files;
    for (int i = 0; i < kParentPool; ++i) files.emplace_back(PoolParent(i), false);
    std::vector<Given> given;
    for (int i = 0; i < 200; ++i) {
        given.push_back(make.Values());
        files.emplace_back(Local("hdl/f" + std::to_string(i) + ".vhd", zorpaFT_HDL), false);
        Give(files.back(), given.back());
    }
    const std::string written = WriteBlock(files);
    const std::deque<IfileObjectEx> read = ReadBlock(written);
    ASSERT_EQ(read.size(), files.size());
    for (std::size_t i = 0; i < given.size(); ++i) {
        const IfileObjectEx& file = read[kParentPool + i];
        // The error is not stored; the rest comes back as it was given.
        Given stored = given[i];
        stored.errorKind = ImodelNoError;
        stored.errorText.clear();
        ExpectHolds(file, stored, "file " + std::to_string(i));
        const std::vector<ImodelFileName>& names = file.GetParentFileStr();
        EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), PoolNames(given[i].parents)) << i;
        EXPECT_EQ(names.size(), given[i].parents.size()) << i;
        EXPECT_TRUE(file.IsIdentical(files[kParentPool + i], true)) << i;
        const bool flagged = written.find("COMPILEFLAG=\"" + given[i].compileSetting + "\"\n") != std::string::npos;
        EXPECT_TRUE(given[i].compileSetting.empty() || flagged) << i;
    }
    EXPECT_EQ(WriteBlock(read), written);

    // Copies of what was read write the same bytes, and so do the files
    // after their values were taken away and given back.
    std::deque<IfileObjectEx> copies(read.begin(), read.end());
    EXPECT_EQ(WriteBlock(copies), written);
    for (std::size_t i = 0; i < given.size(); ++i) {
        Give(copies[kParentPool + i], Given());
        Give(copies[kParentPool + i], given[i]);
    }
    EXPECT_EQ(WriteBlock(copies), written);
}

TEST(IfileObjectExRare, AGoingFileHandsOutItsLongTexts)
{
    ProjectFolderScope project(kProject);
    const std::string setting(64, 's');
    const std::string error(48, 'e');
    IfileObjectEx file(Local("hdl/a.vhd", zorpaFT_HDL), false);
    file.SetCompileSetting(setting);
    file.SetErrorFile(ImodelNoError, error);
    std::vector<std::string> out;
    file.MoveHeapTextsOut(out);
    EXPECT_NE(std::find(out.begin(), out.end(), setting), out.end());
    EXPECT_NE(std::find(out.begin(), out.end(), error), out.end());
}
