#include "ConsoleHost.h"
#include "TempFolder.h"

#include "ifile/IfileObjectEx.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace {

template <class File>
std::vector<std::string> Titles(const std::deque<File>& files)
{
    std::vector<std::string> titles;
    for (const File& file : files) titles.push_back(file.GetFileTitleAndExt());
    return titles;
}

}  // namespace

TEST(ConsoleHost, ListsTheMatchingEntriesOfAFolder)
{
    TempFolder folder;
    folder.Write("b.V", "");
    folder.Write("a.v", "");
    folder.Write("c.vhd", "");
    folder.Write("sub.v/inner.v", "");  // a folder whose name matches
    ConsoleHost host;

    std::deque<IfileObject> files;
    std::vector<std::string> names;
    host.ListFolder(folder / "*.v", 0, zorpaFT_UNKNOWN, files, &names, false);
    EXPECT_EQ(Titles(files), (std::vector<std::string>{"a.v", "b.V"}));
    EXPECT_EQ(names, (std::vector<std::string>{"a.v", "b.V"}));
    ASSERT_FALSE(files.empty());
    EXPECT_EQ(files[0].GetFullFileName().GetString(), folder / "a.v");
    EXPECT_EQ(files[0].GetFileSpecificType(), zorpaFT_UNKNOWN);

    std::deque<IfileObjectEx> entries;
    host.ListFolder(folder / "*", 0, zorpaFT_UNKNOWN, entries, nullptr, true);
    EXPECT_EQ(Titles(entries), (std::vector<std::string>{"a.v", "b.V", "c.vhd", "sub.v"}));

    // A folder that does not exist lists nothing.
    files.clear();
    host.ListFolder(folder / "missing/*", 0, zorpaFT_UNKNOWN, files, nullptr, false);
    EXPECT_TRUE(files.empty());
}
