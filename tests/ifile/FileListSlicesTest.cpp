// The file-list block of a project of many files is formatted in slices on
// several threads and put together in order: it must be, byte for byte,
// what writing each file in the manager's order gives; a file that cannot
// be stored is traced by the plain walk, not by the slices.
#include "IfileObjectTestSupport.h"
#include "PrintCapture.h"
#include "ProjectFileBlock.h"
#include "ProjectFolderScope.h"
#include "TempFolder.h"

#include "ifile/IfileObjectEx.h"
#include "src/ifile/ifileManagerImpl.h"

#include <foundation/Def.h>

#include <boost/make_shared.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Entry = IfileManager::Entry;

class FileListSlices : public ::testing::Test {
protected:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }
    bool Chance(int percent) { return Pick(100) < percent; }

    // The name of the member file `index`, on disk from the first use.
    std::string NameOf(int index)
    {
        static const char* const kFolders[] = {"hdl/", "rtl/core/", "Sim/", "", "deep/a/b/c/"};
        const std::string name = std::string(kFolders[index % 5]) + (index % 3 == 0 ? "Unit_" : "unit_") +
                                 std::to_string(index) + (index % 7 == 0 ? ".v" : ".vhd");
        if (index >= m_onDisk) {
            m_project.Write(name, "");
            m_onDisk = index + 1;
        }
        return name;
    }

    // A member file with random attributes of every kind the block holds,
    // some with a parent among the files added before it.
    IfileObjectEx RandomFile(int index, const std::vector<Entry>& before)
    {
        static const zorpaFileManagerTypes kTypes[] = {zorpaFT_HDL, zorpaFT_SCH, zorpaFT_TB_HDL, zorpaFT_OMBRIX_CXF};
        IfileObjectEx file(IfileObject(NameOf(index), kTypes[Pick(4)], ImodelFMRelative, false, true), false);
        static const imodelFileState kStates[] = {imodelFileUpToDate, imodelFileOutOfDate, imodelFileAbsent};
        file.SetFileState(kStates[Pick(3)]);
        if (Chance(70)) {
            const std::int64_t time = Chance(50) ? std::int64_t{1796694591310036131} + Pick(1000000)
                                                 : static_cast<std::int64_t>(Pick(1000000000));
            file.StoreStatInfo(Pick(5000), time);
        }
        if (Chance(15)) file.SetLibraryName(Chance(50) ? "corelib" : "lib2");
        if (Chance(20) && !before.empty()) file.AddParentFile(*before[static_cast<std::size_t>(Pick(static_cast<int>(before.size())))]);
        if (Chance(5) && !before.empty()) file.AddParentFile(*before[static_cast<std::size_t>(Pick(static_cast<int>(before.size())))]);
        if (Chance(10)) file.SetCompileSetting("-2008 -o" + std::to_string(Pick(9)));
        if (Chance(5)) file.SetStimulusOptions(IfileObjectEx::StimulusOptions("top_tb", std::to_string(Pick(100)) + " ns"));
        if (Chance(5)) {
            IfileObjectEx::type_Filter filter(idePALLADOR, Chance(50) ? "fast" : "");
            if (Chance(50)) filter.skippedProfiles = {"area"};
            file.SetUseForTool(filter);
            file.SetUsedByAllTools(false);
        }
        if (Chance(5)) file.SetIDEReadOnly(true);
        if (Chance(5)) file.SetIsIncludedFile(true);
        if (Chance(3)) file.SetIsEncryptedFile(true);
        return file;
    }

    // The block as a plain walk writes it: each file in the manager's order.
    std::string PlainBlock()
    {
        std::vector<Entry> all;
        m_files.GetFiles(all, 0, nullptr);
        std::ostringstream out;
        out << "LIST FileManager\n";
        for (const Entry& file : all) EXPECT_TRUE(file->WriteFileManagerFile(&out));
        out << "ENDLIST\n";
        return out.str();
    }

    // Adds the member files [0, count) in random order.
    std::vector<Entry> AddFiles(int count)
    {
        m_files.RemoveAllFiles();
        for (int i = m_onDisk; i < count; ++i) NameOf(i);
        std::vector<int> order(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) order[static_cast<std::size_t>(i)] = i;
        std::shuffle(order.begin(), order.end(), m_random);
        std::vector<Entry> added;
        for (const int index : order) {
            const Entry entry = m_files.AddOrUpdateFile(RandomFile(index, added), false);
            EXPECT_TRUE(entry) << NameOf(index);
            if (entry) added.push_back(entry);
        }
        return added;
    }

    TempFolder m_project;
    ProjectFolderScope m_folder{m_project.Path()};
    int m_onDisk = 0;
    ifileManagerImpl m_files;
    std::mt19937 m_random{32};
};

}  // namespace

TEST_F(FileListSlices, ABlockOfManyFilesIsWhatWritingEachFileInOrderGives)
{
    // Sizes around the slicing thresholds and well above them, with and
    // without stamps; files are added in random order.
    int sliced = 0;
    for (const int count : {300, 8191, 8193, 12289, 16500}) {
        ASSERT_EQ(AddFiles(count).size(), static_cast<std::size_t>(count));
        for (const char* stamps : {"0", "1"}) {
            DefOverRideGuard stored("IDE_SAVE_FILE_STAMPS_IN_PRJ", stamps);
            PrintCapture traces;
            bool written = false;
            const std::string block = WrittenBy([&](std::ostream* out) { written = m_files.WriteFileList(out); });
            ASSERT_TRUE(written) << count;
            const std::string plain = PlainBlock();
            const std::size_t differs =
                static_cast<std::size_t>(std::mismatch(block.begin(), block.end(), plain.begin(), plain.end()).first -
                                         block.begin());
            EXPECT_TRUE(block == plain) << count << " files, stamps " << stamps << ": at byte " << differs << " '"
                                        << block.substr(differs, 60) << "' against '" << plain.substr(differs, 60)
                                        << "'";
            EXPECT_FALSE(traces.Holds("cannot be written")) << count;
        }
        if (count > 8192) ++sliced;
    }
    EXPECT_EQ(sliced, 3);
}

TEST_F(FileListSlices, AFileThatCannotBeStoredIsLeftToThePlainWalkToTrace)
{
    // A slice formats quietly: a file that cannot be stored adds nothing and
    // traces nothing there, and the plain walk that follows traces it, once
    // per attempt, also on the thread that formatted quietly before.
    const IfileObjectEx refused(IfileObject("<project>/a\"b.v", zorpaFT_HDL, ImodelFMInternal, true, false), false);
    const IfileObjectEx fine(IfileObject(NameOf(0), zorpaFT_HDL, ImodelFMRelative, false, true), false);
    PrintCapture traces;
    traces.Clear();
    std::string text = "kept\n";
    EXPECT_FALSE(refused.AppendFileManagerFileQuietly(text, true));
    EXPECT_EQ(text, "kept\n");
    EXPECT_FALSE(traces.Holds("cannot be written")) << traces.Text();
    EXPECT_TRUE(fine.AppendFileManagerFileQuietly(text, true));
    std::string plain = "kept\n";
    EXPECT_TRUE(fine.AppendFileManagerFile(plain, true));
    EXPECT_EQ(text, plain);
    EXPECT_FALSE(refused.AppendFileManagerFile(text, true));
    EXPECT_TRUE(traces.Holds("cannot be written"));
    EXPECT_EQ(text, plain);
}

TEST_F(FileListSlices, TheMapIsCutAtDistinctElementsInKeyOrderSpreadOverIt)
{
    // Files come and go at random; the cut points are elements of the map,
    // in key order, each once, about as many as asked for once the map is
    // large, and spread over it: no part between two of them (or the ends)
    // holds much more than its share. The cuts fall at elements picked as
    // hashing spreads them, so the largest of m parts is near ln m shares:
    // a part of twelve shares means the cuts are not spread.
    ifileManagerImpl::FileListMap map;
    std::vector<Entry> held;
    for (int round = 0; round < 40; ++round) {
        const int adds = Pick(3000);
        for (int i = 0; i < adds; ++i) {
            auto entry = boost::make_shared<IfileObjectEx>(
                IfileObject("<project>/d" + std::to_string(Pick(50)) + "/f" + std::to_string(Pick(200000)) + ".vhd",
                            zorpaFT_HDL, ImodelFMInternal, true, false),
                false);
            if (map.Insert(entry)) held.push_back(entry);
        }
        for (int i = Pick(static_cast<int>(held.size() / 3 + 1)); i > 0 && !held.empty(); --i) {
            const std::size_t at = static_cast<std::size_t>(Pick(static_cast<int>(held.size())));
            map.Erase(map.Find(held[at]->GetInternalFileName()));
            held[at] = held.back();
            held.pop_back();
        }
        const std::size_t asked = 1 + static_cast<std::size_t>(Pick(128));
        const std::vector<ifileManagerImpl::FileListMap::const_iterator> marks = map.Spread(asked);
        ASSERT_EQ(map.Size(), held.size());
        std::size_t position = 0;
        std::size_t mark = 0;
        std::size_t largestPart = 0;
        std::size_t partStart = 0;
        for (auto element = map.Elements().begin(); element != map.Elements().end(); ++element, ++position) {
            if (mark < marks.size() && marks[mark] == element) {
                largestPart = std::max(largestPart, position - partStart);
                partStart = position;
                ++mark;
            }
        }
        largestPart = std::max(largestPart, position - partStart);
        ASSERT_EQ(mark, marks.size()) << "round " << round << ": a mark out of key order, repeated or not in the map";
        if (map.Size() >= 4 * asked) {
            EXPECT_GE(marks.size(), asked / 2) << "round " << round;
            EXPECT_LE(marks.size(), asked) << "round " << round;
            EXPECT_LT(largestPart, map.Size() / std::max<std::size_t>(1, marks.size()) * 12 + 16) << "round " << round;
        }
        if (map.Empty()) {
            EXPECT_TRUE(marks.empty());
        }
    }
}

TEST_F(FileListSlices, RoomMadeAheadInTheIndexesChangesNoAnswer)
{
    // Two maps take the same files and lose the same ones; one is told now
    // and then of files to come, as an open tells it of the project's. Both
    // answer every lookup by name with the same elements in the same order.
    ifileManagerImpl::FileListMap reserved;
    ifileManagerImpl::FileListMap plain;
    std::vector<std::string> held;
    const auto nameOf = [this] {
        const int at = Pick(400);
        return (at % 4 == 0 ? std::string("/elsewhere/f")
                            : std::string("<project>/d") + std::to_string(at % 7) + "/f") +
               std::to_string(at) + ".vhd";
    };
    const auto named = [](ifileManagerImpl::FileListMap& map, const std::string& name) {
        std::vector<std::string> met;
        map.AnyNamed(name, [&met](ifileManagerImpl::FileListMap::const_iterator element) {
            met.push_back(element->first.GetString());
            return false;
        });
        return met;
    };
    for (int round = 0; round < 60; ++round) {
        if (Chance(40)) {
            const auto files = static_cast<std::size_t>(Pick(Chance(20) ? 5000 : 50));
            reserved.Reserve(files, files - static_cast<std::size_t>(Pick(static_cast<int>(files) + 1)));
        }
        for (int i = Pick(40); i > 0; --i) {
            const std::string name = nameOf();
            const auto file = [&name] {
                return boost::make_shared<IfileObjectEx>(IfileObject(name, zorpaFT_HDL, ImodelFMInternal, true, false),
                                                         false);
            };
            const bool added = reserved.Insert(file());
            ASSERT_EQ(plain.Insert(file()), added) << name;
            if (added) held.push_back(name);
        }
        for (int i = Pick(10); i > 0 && !held.empty(); --i) {
            const std::size_t at = static_cast<std::size_t>(Pick(static_cast<int>(held.size())));
            reserved.Erase(reserved.Find(ImodelFileName(held[at])));
            plain.Erase(plain.Find(ImodelFileName(held[at])));
            held[at] = held.back();
            held.pop_back();
        }
        ASSERT_EQ(reserved.Size(), plain.Size());
        for (int probe = 0; probe < 20; ++probe) {
            const std::string name = nameOf();
            const std::string title = name.substr(name.rfind('/') + 1);
            const bool present = reserved.Find(ImodelFileName(name)) != reserved.Elements().end();
            ASSERT_EQ(plain.Find(ImodelFileName(name)) != plain.Elements().end(), present) << name;
            ASSERT_EQ(named(reserved, name), named(plain, name)) << name;
            ASSERT_EQ(named(reserved, title), named(plain, title)) << title;
        }
    }
}

TEST_F(FileListSlices, TheHashIndexAnswersAsAMapOfHashesToElementsInKeyOrder)
{
    // Elements are filed and unfiled under a few dozen hashes in a small
    // table, so that they meet: in one cell (equal but for the lowest bits)
    // or in runs of cells that wrap round the table's end and shift back on
    // removal; room is made now and then for an odd number of hashes.
    // Every hash answers with the elements a plain map of hashes to sets of
    // elements holds, in key order.
    ifileManagerImpl::FileListMap map;
    for (int i = 0; i < 300; ++i)
        map.Insert(boost::make_shared<IfileObjectEx>(
            IfileObject("/f/" + std::to_string(i * 7919 % 1000) + ".vhd", zorpaFT_HDL, ImodelFMInternal, true, false),
            false));
    std::vector<ifileManagerImpl::FileListMap::const_iterator> elements;
    for (auto element = map.Elements().begin(); element != map.Elements().end(); ++element) elements.push_back(element);
    using Set = std::set<ifileManagerImpl::FileListMap::const_iterator, ifileManagerImpl::FileListMap::ByKey>;
    std::vector<std::uint64_t> hashes;
    for (int i = 0; i < 60; ++i) {
        const std::uint64_t base = std::uniform_int_distribution<std::uint64_t>()(m_random) & ~std::uint64_t{3};
        hashes.push_back(base);
        if (Chance(30)) hashes.push_back(base | 1);
    }
    const auto cellOf = [](std::uint64_t hash) { return hash & ~std::uint64_t{3}; };
    for (int round = 0; round < 30; ++round) {
        ifileManagerImpl::FileListMap::HashIndex index;
        std::map<std::uint64_t, Set> model;
        std::vector<std::pair<std::uint64_t, ifileManagerImpl::FileListMap::const_iterator>> filed;
        for (int step = 0; step < 2000; ++step) {
            // Room made for an odd number of hashes gives tables of odd sizes.
            if (Chance(2)) index.Reserve(static_cast<std::size_t>(Pick(400)));
            if (filed.empty() || Chance(60)) {
                const std::uint64_t hash = hashes[static_cast<std::size_t>(Pick(static_cast<int>(hashes.size())))];
                const auto element = elements[static_cast<std::size_t>(Pick(static_cast<int>(elements.size())))];
                index.Add(hash, element);
                if (model[cellOf(hash)].insert(element).second) filed.emplace_back(hash, element);
            } else {
                const std::size_t at = static_cast<std::size_t>(Pick(static_cast<int>(filed.size())));
                const std::uint64_t hash = filed[at].first;
                const auto element = filed[at].second;
                index.Remove(hash, element);
                Set& set = model[cellOf(hash)];
                set.erase(element);
                if (set.empty()) model.erase(cellOf(hash));
                filed[at] = filed.back();
                filed.pop_back();
                // Another hash of the same cell may still file the element.
                filed.erase(std::remove_if(filed.begin(), filed.end(),
                                           [&](const auto& other) {
                                               return cellOf(other.first) == cellOf(hash) && other.second == element;
                                           }),
                            filed.end());
            }
            ASSERT_EQ(index.Empty(), model.empty());
            if (step % 50 != 0) continue;
            for (const std::uint64_t hash : hashes) {
                std::vector<ifileManagerImpl::FileListMap::const_iterator> met;
                index.Any(hash, [&met](auto element) {
                    met.push_back(element);
                    return false;
                });
                const auto found = model.find(cellOf(hash));
                const std::vector<ifileManagerImpl::FileListMap::const_iterator> expected =
                    found == model.end() ? std::vector<ifileManagerImpl::FileListMap::const_iterator>()
                                         : std::vector(found->second.begin(), found->second.end());
                ASSERT_EQ(met, expected) << "round " << round << ", step " << step;
            }
        }
        // A moved table answers as the one it came from.
        ifileManagerImpl::FileListMap::HashIndex moved(std::move(index));
        for (const auto& [hash, element] : filed) {
            bool met = false;
            moved.Any(hash, [&met, element = element](auto other) { return met = other == element; });
            ASSERT_TRUE(met);
        }
    }
}

TEST_F(FileListSlices, AHashIndexMadeRoomForTakesThatManyHashesInNoMoreCellsThanTheyNeed)
{
    // An open makes room for the project's files at once: the table must not
    // grow while they come in, nor hold cells that they will never use.
    ifileManagerImpl::FileListMap map;
    map.Insert(
        boost::make_shared<IfileObjectEx>(IfileObject("/f/a.vhd", zorpaFT_HDL, ImodelFMInternal, true, false), false));
    for (const std::size_t count : {1, 45, 46, 1000, 4099, 70001}) {
        ifileManagerImpl::FileListMap::HashIndex index;
        index.Reserve(count);
        const std::size_t cells = index.Cells();
        EXPECT_LE(cells, std::max<std::size_t>(count * 10 / 7 + 1, 64)) << count;
        for (std::size_t i = 0; i < count; ++i)
            index.Add(std::uniform_int_distribution<std::uint64_t>()(m_random), map.Elements().begin());
        EXPECT_EQ(index.Cells(), cells) << count;
    }
}
