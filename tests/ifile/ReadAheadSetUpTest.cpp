// The read-ahead set-up of files about to be added lists the files of its
// groups in order, as the listing gives them, with one reservation: for
// random lists it is the list a loop of adds makes, whatever the groups
// hold, and for the project's files it is the list each command made by
// hand before (the sources of a refresh, the files an import put in place,
// the changed files an open adds again).
#include "ProjectFolderScope.h"

#include "ifile/IfileObjectEx.h"
#include "ifile/IfileReadAhead.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <deque>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using Listed = IfileReadAhead::Listed;
using Files = IfileReadAhead::Files;

struct Named {
    std::string name;
    int kind = 0;
};

std::string RandomName(std::mt19937& random)
{
    static const char kLetters[] = "abAB/._\\ x";
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<int> letter(0, sizeof kLetters - 2);
    std::string name;
    for (int i = length(random); i > 0; --i) name += kLetters[letter(random)];
    return name;
}

template <class Group>
Group RandomGroup(std::mt19937& random)
{
    std::uniform_int_distribution<int> count(0, 40);
    std::uniform_int_distribution<int> kind(0, 3);
    Group group;
    for (int i = count(random); i > 0; --i) group.push_back(Named{RandomName(random), kind(random)});
    return group;
}

}  // namespace

TEST(ReadAheadSetUp, ListsTheGroupsInOrderAsALoopOfAddsWould)
{
    std::mt19937 random(20261211);
    for (int round = 0; round < 200; ++round) {
        const auto first = RandomGroup<std::vector<Named>>(random);
        const auto second = RandomGroup<std::deque<Named>>(random);
        const auto third = RandomGroup<std::vector<Named>>(random);

        // Every file of one group, none read.
        Files all;
        for (const Named& file : first) all.Add(file.name, false);
        EXPECT_EQ(Files::Of([](const Named& file) { return Listed{file.name}; }, first), all);

        // Groups of any kind, one after the other in the order given, with
        // files left out and texts read by the file's kind.
        const auto pick = [](const Named& file) -> std::optional<Listed> {
            if (file.kind == 0) return std::nullopt;
            return Listed{file.name, file.kind == 2};
        };
        Files picked;
        for (const Named& file : first)
            if (file.kind != 0) picked.Add(file.name, file.kind == 2);
        for (const Named& file : second)
            if (file.kind != 0) picked.Add(file.name, file.kind == 2);
        for (const Named& file : third)
            if (file.kind != 0) picked.Add(file.name, file.kind == 2);
        EXPECT_EQ(Files::Of(pick, first, second, third), picked);

        // A listing told the group reads the texts of one group only.
        Files grouped;
        for (const Named& file : first) grouped.Add(file.name, false);
        for (const Named& file : third) grouped.Add(file.name, file.kind != 0);
        EXPECT_EQ(Files::Of(
                      [&third](const Named& file, const std::vector<Named>& group) {
                          return Listed{file.name, &group == &third && file.kind != 0};
                      },
                      first, third),
                  grouped);
    }
    // Nothing to list.
    EXPECT_EQ(Files::Of([](const Named& file) { return Listed{file.name}; }, std::vector<Named>()), Files());
    EXPECT_EQ(Files::Of([](const Named& file) { return Listed{file.name}; }), Files());
}

TEST(ReadAheadSetUp, ListsAFileOnceForEachTimeItIsListed)
{
    // The same name twice is two files of the list, as two adds make: the
    // read-ahead answers the first request for it from the first.
    const std::vector<Named> twice{{"a.v", 1}, {"a.v", 2}};
    Files byHand;
    byHand.Add("a.v", false);
    byHand.Add("a.v", true);
    EXPECT_EQ(Files::Of([](const Named& file) { return Listed{file.name, file.kind == 2}; }, twice), byHand);
    EXPECT_NE(Files::Of([](const Named& file) { return Listed{file.name, false}; }, twice), byHand);
    // Names that run into one another stay apart.
    Files ab;
    ab.Add("ab", false);
    ab.Add("", false);
    Files a_b;
    a_b.Add("a", false);
    a_b.Add("b", false);
    EXPECT_NE(ab, a_b);
}

TEST(ReadAheadSetUp, ReadsTheTextsOfTheSourcesTheAddParses)
{
    EXPECT_TRUE(IfileReadAhead::ReadsText(zorpaMODULE_VHDL));
    EXPECT_TRUE(IfileReadAhead::ReadsText(zorpaMODULE_VERILOG));
    for (const zorpaModuleTypes kind : {zorpaMODULE_SCHEMATIC, zorpaMODULE_NETLIST, zorpaMODULE_UNKNOWN})
        EXPECT_FALSE(IfileReadAhead::ReadsText(kind));
}

TEST(ReadAheadSetUp, TheCommandsListTheFilesTheyListedByHand)
{
    ProjectFolderScope project("/prj/top");
    std::mt19937 random(7);
    const char* const kNames[] = {"hdl/top.vhd", "hdl/core.v",          "hdl/notes.txt", "sch/page.sch",
                                  "sim/rom.mem", "/elsewhere/lib.vhdl", "hdl/inc.vh",    "/elsewhere/pkg.sv"};
    const zorpaFileManagerTypes kTypes[] = {zorpaFT_HDL, zorpaFT_SCH, zorpaFT_SIM};
    std::uniform_int_distribution<int> name(0, std::size(kNames) - 1);
    std::uniform_int_distribution<int> type(0, std::size(kTypes) - 1);
    std::uniform_int_distribution<int> count(0, 30);
    const auto make = [&] {
        const std::string path = kNames[name(random)];
        return IfileObject((path.front() == '/' ? "" : "/prj/top/") + path, kTypes[type(random)], ImodelFMFull, true,
                           true);
    };
    for (int round = 0; round < 50; ++round) {
        using Entry = boost::shared_ptr<IfileObjectEx>;
        std::vector<Entry> schematics;
        std::vector<Entry> sources;
        for (int i = count(random); i > 0; --i) schematics.push_back(boost::make_shared<IfileObjectEx>(make(), false));
        for (int i = count(random); i > 0; --i) sources.push_back(boost::make_shared<IfileObjectEx>(make(), false));

        // The refresh: the schematics, then the sources, whose VHDL and
        // Verilog texts are read.
        Files refreshed;
        refreshed.Reserve(schematics.size() + sources.size());
        for (const std::vector<Entry>* group : {&schematics, &sources})
            for (const Entry& file : *group) {
                const zorpaModuleTypes kind = file->GetModuleType();
                refreshed.Add(file->GetFullFileName().GetString(),
                              group == &sources && (kind == zorpaMODULE_VHDL || kind == zorpaMODULE_VERILOG));
            }
        EXPECT_EQ(Files::Of(
                      [&sources](const Entry& file, const std::vector<Entry>& group) {
                          return Listed{file->GetFullFileName().GetString(),
                                        &group == &sources && IfileReadAhead::ReadsText(file->GetModuleType())};
                      },
                      schematics, sources),
                  refreshed);

        // The import: the files in place only, by the name they have there,
        // the texts of HDL sources read.
        struct Waiting {
            IfileObject target;
            std::string path;
            bool placed;
        };
        std::vector<Waiting> waiting;
        for (const Entry& file : sources)
            waiting.push_back(Waiting{*file, file->GetFullFileName().GetString(), count(random) % 4 != 0});
        Files imported;
        imported.Reserve(waiting.size());
        for (const Waiting& file : waiting) {
            if (!file.placed) continue;
            const zorpaModuleTypes kind = file.target.GetModuleType();
            imported.Add(file.path, file.target.GetFileSpecificType() == zorpaFT_HDL &&
                                        (kind == zorpaMODULE_VHDL || kind == zorpaMODULE_VERILOG));
        }
        EXPECT_EQ(Files::Of(
                      [](const Waiting& file) -> std::optional<Listed> {
                          if (!file.placed) return std::nullopt;
                          return Listed{file.path, file.target.GetFileSpecificType() == zorpaFT_HDL &&
                                                       IfileReadAhead::ReadsText(file.target.GetModuleType())};
                      },
                      waiting),
                  imported);

        // The open: every file changed since, none read.
        std::deque<IfileObject> modified;
        for (const Entry& file : schematics) modified.push_back(*file);
        Files reopened;
        reopened.Reserve(modified.size());
        for (const IfileObject& changed : modified) reopened.Add(changed.GetFullFileName().GetString(), false);
        EXPECT_EQ(Files::Of([](const IfileObject& changed) { return Listed{changed.GetFullFileName().GetString()}; },
                            modified),
                  reopened);
    }
}
