// The name on disk of a missing file renamed there in letter case only:
// followed one component at a time, each needing exactly one match.
#include "TempFolder.h"

#include "imodel/names/ImodelCaseOnDisk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string RandomCase(const std::string& text, std::mt19937& random)
{
    std::string out = text;
    for (char& c : out)
        if (random() % 2) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// The plain reading of the rule, asked afresh for every name: from `top`
// (on disk), each component of `rest` is taken as it is when it is on disk,
// else as the one entry of its folder of the same name in another case (a
// folder, a regular file for the last one); the name itself on disk, or any
// step without exactly one match, gives nothing.
std::string Expected(const fs::path& top, const std::vector<std::string>& rest)
{
    std::error_code error;
    fs::path at = top;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const bool last = i + 1 == rest.size();
        const fs::path exact = at / rest[i];
        if (fs::exists(exact, error)) {
            if (last || !fs::is_directory(exact, error)) return "";
            at = exact;
            continue;
        }
        std::vector<fs::path> matches;
        for (const auto& entry : fs::directory_iterator(at, error))
            if (Lower(entry.path().filename().string()) == Lower(rest[i])) matches.push_back(entry.path());
        if (matches.size() != 1) return "";
        if (last ? !fs::is_regular_file(matches[0], error) : !fs::is_directory(matches[0], error)) return "";
        at = matches[0];
    }
    return at.string();
}

}  // namespace

TEST(CaseOnDisk, FollowsEachMissingComponentToItsOnlyCaseVariant)
{
    const TempFolder temp;
    temp.Write("hdl/Sub/Mid.VHD", "entity mid is end;\n");
    temp.Write("hdl/twins/A.vhd", "");
    temp.Write("hdl/twins/a.vhd", "");
    temp.Write("hdl/Dir.vhd/x", "");
    temp.Write("hdl/Lone/x.v", "");
    temp.Write("hdl/lone", "");
    ImodelCaseOnDisk disk;
    // The file and its folder differ in case from the name asked.
    EXPECT_EQ(disk.Find(temp / "hdl/sub/mid.vhd"), temp / "hdl/Sub/Mid.VHD");
    EXPECT_EQ(disk.Find(temp / "HDL/SUB/MID.VHD"), temp / "hdl/Sub/Mid.VHD");
    // A name on disk is not followed anywhere, nor one without a match.
    EXPECT_EQ(disk.Find(temp / "hdl/Sub/Mid.VHD"), "");
    EXPECT_EQ(disk.Find(temp / "hdl/sub/other.vhd"), "");
    EXPECT_EQ(disk.Find(temp / "nowhere/sub/mid.vhd"), "");
    // Two case variants: none is taken.
    EXPECT_EQ(disk.Find(temp / "hdl/twins/A.VHD"), "");
    // The last match must be a regular file, a folder's a folder; a folder
    // with a file of its name in another case is no single match.
    EXPECT_EQ(disk.Find(temp / "hdl/dir.vhd"), "");
    EXPECT_EQ(disk.Find(temp / "hdl/LONE/x.v"), "");
    // The dots are never matched.
    EXPECT_EQ(disk.Find(temp / "hdl/sub/.."), "");
    EXPECT_EQ(disk.Find(""), "");
    EXPECT_EQ(disk.Find("relative.vhd"), "");
}

TEST(CaseOnDisk, AgreesWithThePlainRuleOverRandomTrees)
{
    std::mt19937 random(20240611);
    const std::vector<std::string> names = {"hdl", "sub", "mid.vhd", "ab"};
    int followed = 0;
    for (int round = 0; round < 40; ++round) {
        const TempFolder temp;
        // Up to three levels of random case variants of a few names, some
        // files, some folders.
        for (int count = 0; count < 12; ++count) {
            std::string path;
            const int depth = 1 + static_cast<int>(random() % 3);
            for (int level = 0; level < depth; ++level)
                path += (level ? "/" : "") + RandomCase(names[random() % names.size()], random);
            // A path through a file cannot be made: passed over.
            std::error_code error;
            const fs::path made = temp / path;
            if (fs::exists(made, error)) continue;
            if (random() % 3 == 0) {
                fs::create_directories(made, error);
            } else if (fs::create_directories(made.parent_path(), error), !error) {
                std::ofstream(made) << "x";
            }
        }
        // One object for the whole round, as for one open: its lists of the
        // folders are taken once, and must not change its answers.
        ImodelCaseOnDisk shared;
        for (int asked = 0; asked < 30; ++asked) {
            std::vector<std::string> rest;
            const int depth = 1 + static_cast<int>(random() % 3);
            for (int level = 0; level < depth; ++level)
                rest.push_back(RandomCase(names[random() % names.size()], random));
            std::string path = temp.Path();
            for (const std::string& part : rest) path += "/" + part;
            const std::string expected = Expected(temp.Path(), rest);
            SCOPED_TRACE(path);
            EXPECT_EQ(shared.Find(path), expected);
            EXPECT_EQ(ImodelCaseOnDisk().Find(path), expected);
            if (!expected.empty()) {
                ++followed;
                EXPECT_EQ(Lower(expected), Lower(path));
                EXPECT_TRUE(fs::is_regular_file(expected));
            }
        }
    }
    // The trees are made so that names are followed (29 with this seed).
    EXPECT_GT(followed, 20);
}
