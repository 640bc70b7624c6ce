// The file manager's error groups after random runs of errors given, files
// added without tracking, files removed and errors cleared: each group holds
// exactly the files of its text that are in error (kind "already defined",
// or no error with a text), leaving out those whose error never went through
// the groups and those left alone in use in a group when the others went.
#include "IfileObjectTestSupport.h"
#include "TempFolder.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <random>
#include <set>
#include <string>

namespace {

using Entry = IfileManager::Entry;
using Groups = std::map<std::string, std::set<Entry>>;

struct Known {
    Entry entry;
    // Its error went through the groups and it was not dropped since.
    bool tracked = false;
};

class ErrorGroupsTest : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    void Clear()
    {
        files.RemoveAllFiles();
        files.UpdateErrorFiles();
    }

    // The groups worked out from every file known to be in the project.
    Groups Expected() const
    {
        Groups groups;
        for (const auto& [name, known] : m_known) {
            const ImodelErrorFileType kind = known.entry->GetErrorFileType();
            const std::string& text = known.entry->GetModuleAlreadyDefined();
            const bool inError = kind == ImodelModuleAlreadyDefined || kind == ImodelNoError;
            if (known.tracked && inError && !text.empty()) groups[text].insert(known.entry);
        }
        return groups;
    }

    Groups Actual()
    {
        Groups groups;
        const auto [first, last] = files.GetErrorFileGroups();
        for (auto group = first; group != last; ++group) {
            std::set<Entry>& members = groups[group->first];
            for (const IfileErrorFile& member : *group->second) members.insert(member.file.lock());
        }
        return groups;
    }

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }

    TempFolder project;
    ProjectFolderScope folder{project.Path()};
    IfileManager& files = *Imodel::GetInstance().GetFileManager();
    std::map<std::string, Known> m_known;
    std::mt19937 m_random{4711};
};

const std::array<const char*, 4> kTexts{"", "alu", "top", "ram"};
const std::array<ImodelErrorFileType, 3> kKinds{ImodelNoError, ImodelParseError, ImodelModuleAlreadyDefined};

}  // namespace

TEST_F(ErrorGroupsTest, GroupsEqualTheGroupingOfEveryFileAfterRandomChanges)
{
    for (int i = 0; i < 10; ++i) project.Write("f" + std::to_string(i) + ".vhd", "");
    int grouped = 0;
    for (int step = 0; step < 3000; ++step) {
        const std::string name = "f" + std::to_string(Pick(10)) + ".vhd";
        const auto known = m_known.find(name);
        const int action = Pick(20);
        if (action < 14) {
            IfileObjectEx value(IfileObject(name, zorpaFT_HDL, ImodelFMRelative, false, true), false);
            value.SetErrorFile(kKinds[static_cast<std::size_t>(Pick(3))], kTexts[static_cast<std::size_t>(Pick(4))]);
            const bool track = action < 12;
            const Entry entry = files.AddOrUpdateFile(value, track);
            ASSERT_TRUE(entry);
            Known& now = m_known[name];
            now.tracked = track || (known != m_known.end() && known->second.tracked);
            now.entry = entry;
            if (track) {
                EXPECT_EQ(entry->GetErrorFileType(), value.GetErrorFileType());
                EXPECT_EQ(entry->GetModuleAlreadyDefined(), value.GetModuleAlreadyDefined());
            }
        } else if (action < 19 && known != m_known.end()) {
            files.RemoveFile(*known->second.entry);
            m_known.erase(known);
            // A file in use left alone in its group is in error beside nobody.
            for (const auto& [text, members] : Expected())
                if (members.size() == 1 && (*members.begin())->GetErrorFileType() == ImodelNoError)
                    for (auto& [key, each] : m_known) each.tracked = each.tracked && each.entry != *members.begin();
        } else if (action == 19) {
            const Groups before = Expected();
            files.UpdateErrorFiles();
            for (const auto& [text, members] : before)
                for (const Entry& member : members) {
                    EXPECT_EQ(member->GetErrorFileType(), ImodelNoError);
                    EXPECT_EQ(member->GetModuleAlreadyDefined(), "");
                }
        }
        const Groups expected = Expected();
        ASSERT_EQ(Actual(), expected) << "at step " << step;
        for (const auto& [text, members] : expected) grouped += static_cast<int>(members.size());
    }
    EXPECT_GT(grouped, 3000);
}
