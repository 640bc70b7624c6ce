// A name given to a link command is checked against the project's members
// for another name of the same file. The quick answer (only the members of
// the same name and the members that are links are looked at, found through
// the file manager's folders and names) must be the answer of looking at
// every member, over random members reached through symbolic links, hard
// links, linked folders, folders gone and other spellings of a path, and
// while the files change on disk between commands.
#include "ProjectFolderScope.h"
#include "TempFolder.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/names/imodelUtl.h"
#include "src/icmd/files/IcmdMemberIdentities.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

namespace fs = std::filesystem;

namespace {

// Every member looked at: the members naming the same file as `path`;
// none when one of them is `path` itself, else the first that is not
// `except`.
std::string EveryMemberAnswer(const std::vector<std::string>& members, const std::string& path,
                              const std::string& except)
{
    const SysFileIdentity identity = SysGetFileIdentity(path);
    if (identity == SysFileIdentity()) return std::string();
    std::vector<std::string> same;
    for (const std::string& member : members)
        if (SysGetFileIdentity(member) == identity) same.push_back(member);
    for (const std::string& member : same)
        if (ImodelIsSameFileName(member, path)) return std::string();
    for (const std::string& member : same)
        if (except.empty() || !ImodelIsSameFileName(member, except)) return member;
    return std::string();
}

class MemberIdentitiesTest : public ::testing::Test {
protected:
    static constexpr int kFiles = 8;

    void SetUp() override
    {
        for (int i = 0; i < kFiles; ++i) temp.Write("real/f" + std::to_string(i) + ".vhd", "-- " + std::to_string(i));
        fs::create_directories(temp / "sym");
        fs::create_directories(temp / "other");
        for (int i = 0; i < kFiles; ++i) Change(i);
        fs::create_directory_symlink("real", temp / "linkdir");
    }

    // One random change on disk to the name of number i: a plain file, a
    // hard link to another file, or a symbolic link to another file (in
    // the folder real/, the folder sym/ or the folder other/).
    void Change(int i)
    {
        const int target = Pick(kFiles);
        const std::string own = "f" + std::to_string(i) + ".vhd";
        const std::string folder = std::vector<std::string>{"real", "sym", "other"}[Pick(3)];
        const std::string name = temp / (folder + "/" + own);
        std::error_code ignored;
        fs::remove(name, ignored);
        switch (Pick(4)) {
        case 0:
            temp.Write(folder + "/" + own, "-- new " + std::to_string(i));
            break;
        case 1:
            fs::create_hard_link(temp / ("real/f" + std::to_string(target) + ".vhd"), name, ignored);
            break;
        case 2:
            fs::create_symlink("../real/f" + std::to_string(target) + ".vhd", name, ignored);
            break;
        default:
            // Another name of a name: a link to a link.
            fs::create_symlink(temp / ("sym/f" + std::to_string(target) + ".vhd"), name, ignored);
            break;
        }
    }

    // A random name of one of the files: through any folder, spelled
    // plainly or not.
    std::string AnyName()
    {
        const std::string own = "f" + std::to_string(Pick(kFiles)) + ".vhd";
        switch (Pick(7)) {
        case 0:
            return temp / ("sym/" + own);
        case 1:
            return temp / ("other/" + own);
        case 2:
            return temp / ("linkdir/" + own);
        case 3:
            return temp / ("real/../real/" + own);
        case 4:
            return temp / ("sym/./" + own);
        case 5:
            return temp / ("missing/" + own);
        default:
            return temp / ("real/" + own);
        }
    }

    // One command's questions, each answered as every member would answer.
    void AskAsOneCommand(int round)
    {
        std::vector<std::string> members;
        for (int n = Pick(12); n > 0; --n) members.push_back(AnyName());
        IcmdMemberIdentities identities(members);
        AskQuestions(identities, members, round);
    }

    // A few questions of one command, each answered as every one of
    // `members` would answer; a link taken in becomes a member for the
    // next question.
    void AskQuestions(IcmdMemberIdentities& identities, std::vector<std::string>& members, int round)
    {
        for (int q = 1 + Pick(10); q > 0; --q) {
            const std::string path = AnyName();
            const std::string except = Pick(3) == 0 && !members.empty() ? members[Pick(members.size())] : "";
            ASSERT_EQ(identities.OtherNameOf(path, except), EveryMemberAnswer(members, path, except))
                << "round " << round << ", " << path << " except '" << except << "'";
            if (Pick(2) == 0 && identities.OtherNameOf(path).empty() && SysGetFileIdentity(path) != SysFileIdentity()) {
                identities.Add(path);
                members.push_back(path);
            }
        }
    }

    // One command's questions over the entries of a file manager, stored
    // by full name or under "<project>", each answered as every entry, in
    // the manager's order, and every name taken note of since would answer.
    void AskOverEntries(int round)
    {
        const std::unique_ptr<IfileManager> files = IfileCreateManager();
        for (int n = Pick(40); n > 0; --n)
            files->AddOrUpdateFile(
                IfileObjectEx(IfileObject(ImodelFileName(AnyName()), zorpaFT_HDL, ImodelFMFull, true, Pick(2) == 0),
                              false),
                false);
        std::vector<IfileManager::Entry> entries;
        files->GetFiles(entries, 0, nullptr);
        std::vector<std::string> members;
        for (const IfileManager::Entry& entry : entries) members.push_back(entry->GetFullFileName().GetString());
        IcmdMemberIdentities identities(files.get());
        AskQuestions(identities, members, round);
    }

    std::size_t Pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); }

    TempFolder temp;
    std::mt19937 random{20240611};
};

}  // namespace

TEST_F(MemberIdentitiesTest, QuickAnswerIsEveryMembersAnswerAsFilesChange)
{
    for (int round = 0; round < 300; ++round) {
        AskAsOneCommand(round);
        if (HasFatalFailure()) return;
        Change(Pick(kFiles));
    }
}

TEST_F(MemberIdentitiesTest, QuickAnswerOverAProjectsEntriesIsEveryEntrysAnswerAsFilesChange)
{
    // "<project>" stands for the folder of the files: some entries are
    // stored under it.
    const ProjectFolderScope project(temp.Path());
    for (int round = 0; round < 300; ++round) {
        AskOverEntries(round);
        if (HasFatalFailure()) return;
        Change(Pick(kFiles));
        // Now and then a folder of the entries goes, and comes back.
        if (Pick(10) == 0) {
            std::error_code ignored;
            fs::rename(temp / "other", temp / "other.away", ignored);
            AskOverEntries(round);
            if (HasFatalFailure()) return;
            fs::rename(temp / "other.away", temp / "other", ignored);
        }
    }
}

TEST_F(MemberIdentitiesTest, FolderKeptFromAnEarlierCommandSeesALinkMadeSince)
{
    const std::string plain = temp.Write("settled/a.vhd", "-- a");
    const std::string target = temp.Write("settled/b.vhd", "-- b");
    const std::string member = temp / "settled/m.vhd";
    temp.Write("settled/m.vhd", "-- m");
    // A folder that has not changed for a while is listed once and kept.
    std::this_thread::sleep_for(std::chrono::milliseconds(2200));
    EXPECT_EQ(IcmdMemberIdentities({member, plain}).OtherNameOf(target), "");
    EXPECT_EQ(IcmdMemberIdentities({member, plain}).OtherNameOf(target), "");
    // The member becomes a link to the file named next: the folder's
    // change is seen, and the member found under its other name.
    fs::remove(member);
    fs::create_symlink("b.vhd", member);
    EXPECT_EQ(IcmdMemberIdentities({member, plain}).OtherNameOf(target), member);
    // The file named is the member itself: no other name.
    EXPECT_EQ(IcmdMemberIdentities({member, plain}).OtherNameOf(member), "");
    // And back to a plain file.
    fs::remove(member);
    temp.Write("settled/m.vhd", "-- m again");
    EXPECT_EQ(IcmdMemberIdentities({member, plain}).OtherNameOf(target), "");
    // A folder of members moved away and a link to it left in its place.
    fs::rename(temp / "settled", temp / "moved");
    fs::create_directory_symlink("moved", temp / "settled");
    EXPECT_EQ(IcmdMemberIdentities({member, plain}).OtherNameOf(temp / "moved/a.vhd"), plain);
}
