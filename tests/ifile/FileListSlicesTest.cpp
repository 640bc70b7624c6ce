// The file-list block of a project of many files is formatted in slices on
// several threads and put together in order: it must be, byte for byte,
// what writing each file in the manager's order gives, and a file that
// cannot be stored must fail the block as the plain walk does, traced once.
#include "IfileObjectTestSupport.h"
#include "PrintCapture.h"
#include "ProjectFileBlock.h"
#include "ProjectFolderScope.h"
#include "TempFolder.h"

#include "ifile/IfileObjectEx.h"
#include "src/ifile/ifileManagerImpl.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Entry = IfileManager::Entry;

class FileListSlices : public ::testing::Test {
protected:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }
    bool Chance(int percent) { return Pick(100) < percent; }

    // A member file with random attributes of every kind the block holds,
    // some with a parent among the files added before it.
    IfileObjectEx RandomFile(int index, const std::vector<Entry>& before)
    {
        static const zorpaFileManagerTypes kTypes[] = {zorpaFT_HDL, zorpaFT_SCH, zorpaFT_TB_HDL, zorpaFT_OMBRIX_CXF};
        static const char* const kFolders[] = {"hdl/", "rtl/core/", "Sim/", "", "deep/a/b/c/"};
        const std::string name = std::string(kFolders[Pick(5)]) + (Chance(50) ? "Unit_" : "unit_") +
                                 std::to_string(index) + (Chance(80) ? ".vhd" : ".v");
        IfileObjectEx file(IfileObject(name, kTypes[Pick(4)], ImodelFMRelative, false, true), false);
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

    TempFolder m_project;
    ProjectFolderScope m_folder{m_project.Path()};
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
        m_files.RemoveAllFiles();
        std::vector<int> order(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) order[static_cast<std::size_t>(i)] = i;
        std::shuffle(order.begin(), order.end(), m_random);
        std::vector<Entry> added;
        for (const int index : order) added.push_back(m_files.AddOrUpdateFile(RandomFile(index, added), false));
        for (const char* stamps : {"0", "1"}) {
            DefOverRideGuard stored("IDE_SAVE_FILE_STAMPS_IN_PRJ", stamps);
            PrintCapture traces;
            bool written = false;
            const std::string block = WrittenBy([&](std::ostream* out) { written = m_files.WriteFileList(out); });
            ASSERT_TRUE(written) << count;
            EXPECT_EQ(block, PlainBlock()) << count << " files, stamps " << stamps;
            EXPECT_FALSE(traces.Holds("cannot be written")) << count;
        }
        if (count > 8192) ++sliced;
    }
    EXPECT_EQ(sliced, 3);
}

TEST_F(FileListSlices, AFileThatCannotBeStoredFailsTheBlockAndIsTracedOnce)
{
    // A name the line format cannot hold, at the start, the middle or the
    // end of many files: the block fails, and the trace is the plain walk's,
    // once, for that file.
    for (const int place : {0, 5000, 11999}) {
        m_files.RemoveAllFiles();
        std::vector<Entry> added;
        Entry refused;
        for (int i = 0; i < 12000; ++i) {
            if (i == place) {
                const std::string name = "<project>/bad\"" + std::to_string(i) + ".v";
                refused = m_files.AddOrUpdateFile(
                    IfileObjectEx(IfileObject(name, zorpaFT_HDL, ImodelFMInternal, true, false), false), false);
                continue;
            }
            added.push_back(m_files.AddOrUpdateFile(RandomFile(i, added), false));
        }
        // A manager that refuses such a name at the door has nothing to fail.
        if (!refused) GTEST_SKIP() << "the manager refuses the name";
        PrintCapture traces;
        std::ostringstream out;
        EXPECT_FALSE(m_files.WriteFileList(&out)) << place;
        EXPECT_TRUE(out.fail());
        const std::string text = traces.Text();
        std::size_t count = 0;
        for (std::size_t at = text.find("cannot be written"); at != std::string::npos;
             at = text.find("cannot be written", at + 1))
            ++count;
        EXPECT_EQ(count, 1u) << place << ":\n" << text;
        EXPECT_NE(text.find("bad\""), std::string::npos) << text;
    }
}
