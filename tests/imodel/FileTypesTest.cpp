// File types: the table's invariants and one golden dump of every type with
// its keyword, group and folder; the extension rules.
#include "Golden.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileObject.h"
#include "imodel/names/ImodelFileTypes.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::string FolderOf(int type, const ImodelGetFullPathParam& param = ImodelGetFullPathParam())
{
    ImodelFileName folder("-");
    ImodelGetPathForFile(type, folder, param);
    return folder.GetString();
}

}  // namespace

TEST(FileTypes, KeywordsAreUniqueAndReadBackAndTheDumpMatchesTheGoldenFile)
{
    std::set<std::string> keywords;
    std::string dump;
    for (int type = -1; type <= 110; ++type) {
        std::string keyword = "-";
        if (type >= 0 && type < imodelFileManagerTypesCount) {
            const imodelFileManagerTypesEntry& row = imodelFileManagerTypesArray[type];
            EXPECT_TRUE(IfileGetStrType(keyword, type));
            EXPECT_EQ(keyword, row.keyword);
            EXPECT_TRUE(keywords.insert(keyword).second) << keyword;
            zorpaFileManagerTypes read = zorpaFT_SCH;
            EXPECT_TRUE(IfileObject::ReadStrType(keyword, read, {})) << keyword;
            EXPECT_EQ(read, type);
            keyword += row.preSynth ? " pre-synthesis" : "";
        }
        const int group = ImodelGetGlobalType(type);
        EXPECT_EQ(ImodelGetGlobalType(group), group) << type;  // a group is its own group
        const std::string folder = FolderOf(type, ImodelGetFullPathParam(1));
        if (keyword == "-" && group == type && folder == "-") continue;
        dump += std::to_string(type) + " " + keyword + " group=" + std::to_string(group) + " folder=" + folder + "\n";
    }
    ExpectMatchesGolden("file_types.txt", dump);
}

TEST(FileTypes, SpecificTypeFromGroupAndExtension)
{
    struct Case {
        int group;
        const char* name;
        int type;
    };
    // Case-blind extensions, the "_ba" suffix, and dots that are no extension.
    const Case cases[] = {
        {101, "design.EDN", 3}, {103, "TOP_BA.SDF", 13}, {103, "ba.sdf", 11}, {103, "_ba.sdf", 13},
        {104, "foo.", 104},     {105, "/sim.d/do", 35},  {2, "top.v", 2},     {101, "/designs.v2/netlist", 101},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImodelGetSpecificFileType(c.group, c.name), c.type) << c.group << " " << c.name;
}
