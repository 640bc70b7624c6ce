// File types: the table's invariants and one golden dump of every type with
// its keyword, group and folder; the extension rules, the folders that depend
// on the parameter, and the constraint kinds the options declare.
#include "Golden.h"
#include "OptionsScope.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileObject.h"
#include "imodel/names/ImodelFileTypes.h"

#include <foundation/Def.h>

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

TEST(FileTypes, ConstraintKindsOfAFamilyLeaveTheFamilyAsItWas)
{
    const OptionsScope options(R"(FAM = ZX7
IMPORT_CONSTRAINT_FILES = PDC_FILES SDC_FILES
IMPORT_CONSTRAINT_FILES[FAM=ZX9] = GCF_FILES
AUXILIARY_CONSTRAINT_FILES = CRT_FILES BROKEN_FILES NOTYPE_FILES
ALL_IMPORT_CONSTRAINT_FILES = PDC_FILES
PDC_FILES_EXTN = PDC
PDC_FILES_DISP_NAME = "I/O constraints"
SDC_FILES_EXTN = sdc
SDC_FILES_DISP_NAME = Timing constraints
GCF_FILES_EXTN = gcf
GCF_FILES_DISP_NAME = Placement constraints
CRT_FILES_EXTN = crt
CRT_FILES_DISP_NAME = Clock report
BROKEN_FILES_EXTN = dcf
NOTYPE_FILES_EXTN = xyz
NOTYPE_FILES_DISP_NAME = Unknown
)");
    const auto extensions = [](imodelConstraintFiles kind, const std::string& family) {
        std::vector<ConstraintType> kinds = {ConstraintType()};
        std::string list;
        if (!ImodelGetConstraintList(kinds, kind, family)) list = "refused";
        for (const ConstraintType& k : kinds) list += k.extension + ":" + std::to_string(k.type) + " ";
        return list;
    };
    // Incomplete descriptions (no display name, no constraint type) are skipped.
    EXPECT_EQ(extensions(imodelIMPORT_AND_AUX_CONSTRAINT_FILES, ""), "pdc:22 sdc:19 crt:23 ");
    EXPECT_EQ(extensions(imodelIMPORT_CONSTRAINT_FILES, "ZX7"), "pdc:22 ");
    EXPECT_EQ(extensions(imodelIMPORT_AND_AUX_CONSTRAINT_FILES, "ZX9"), "gcf:21 crt:23 ");
    EXPECT_EQ(extensions(static_cast<imodelConstraintFiles>(3), "ZX9"), "refused");
    EXPECT_TRUE(ImodelIsConstraintFileSupported("PDC", ""));
    EXPECT_FALSE(ImodelIsConstraintFileSupported("pdc", "ZX9"));
    EXPECT_FALSE(ImodelIsConstraintFileSupported("dcf", ""));
    EXPECT_FALSE(ImodelIsConstraintFileSupported(nullptr, ""));
    EXPECT_EQ(DefGetFL("FAM"), "ZX7");
}
