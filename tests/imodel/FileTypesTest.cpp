#include "ProjectFolderScope.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/views/ImodelRevisionManager.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

std::string FolderOf(int type, const ImodelGetFullPathParam& param = ImodelGetFullPathParam())
{
    ImodelFileName folder("untouched");
    ImodelGetPathForFile(type, folder, param);
    return folder.GetString();
}

std::string ToolFolderOf(int tool, const ImodelGetFullPathParam& param = ImodelGetFullPathParam())
{
    ImodelFileName folder("not emptied");
    ImodelGetPathForTool(static_cast<ImodelFunctionType>(tool), folder, param);
    return folder.GetString();
}

// The groups, independent of the code under test.
const std::map<int, std::set<int>> kGroups = {
    {101, {3, 15, 29}},
    {102, {16, 17, 26, 27, 28}},
    {103, {4, 8, 9, 10, 11, 12, 13, 14, 37, 40, 41, 45, 49, 50, 51}},
    {104, {18, 19, 20, 21, 22, 23}},
    {105, {24, 25, 35, 42}},
};

int ExpectedGroup(int type)
{
    for (const auto& [group, members] : kGroups)
        if (members.count(type)) return group;
    return type;
}

int CurrentRevision() { return Imodel::GetInstance().GetRevisionManager()->GetCurrentRevisionNumber(); }

}  // namespace

TEST(FileTypes, TableHoldsEveryTypeWithItsKeywordAndFlag)
{
    const char* const keywords[] = {
        "sch",        "sym",        "hdl",        "syn_edn",    "adb",          "???",     "btim",         "tb_hdl",
        "stp",        "prb",        "afm",        "sdf",        "bit",          "ba_sdf",  "ba_hdl",       "syn_hdl",
        "zevoru_edn", "zevoru_hdl", "dcf",        "sdc",        "pin",          "gcf",     "pdc",          "crt",
        "vcd",        "saif",       "zevoru_gcf", "zevoru_pdc", "zevoru_sdc",   "syn_sdc", "viewdraw_edn", "arm_db",
        "arm_lib",    "ombrix_cxf", "gen",        "sim",        "log",          "pro",     "bin???",       "profiles",
        "ide_pld",    "lok",        "do",         "bsp",        "templates",    "pdb",     "qvo",          "other_hdl",
        "txt",        "cvl",        "loc",        "seg",        "modelsim_ini", "so",      "qvz"};
    static_assert(std::size(keywords) == imodelFileManagerTypesCount);
    const std::set<int> preSynth = {0,  1,  2,  5,  6,  7,  18, 19, 20, 21, 22, 23, 30,
                                    31, 32, 33, 34, 35, 39, 44, 46, 47, 48, 52, 54};
    for (int type = 0; type < imodelFileManagerTypesCount; ++type) {
        const imodelFileManagerTypesEntry& row = imodelFileManagerTypesArray[type];
        EXPECT_EQ(row.type, type);
        EXPECT_STREQ(row.keyword, keywords[type]) << type;
        EXPECT_EQ(row.preSynth, preSynth.count(type) ? 1 : 0) << type;
    }
}

TEST(FileTypes, GroupOfEverySpecificType)
{
    for (int type = -2; type < 120; ++type) EXPECT_EQ(ImodelGetGlobalType(type), ExpectedGroup(type)) << type;
}

TEST(FileTypes, SpecificTypeFromGroupAndExtension)
{
    struct Case {
        int group;
        const char* name;
        int type;
    };
    const Case cases[] = {
        {101, "design.EDN", 3},
        {101, "top.v", 15},
        {101, "top.vhd", 15},
        {101, "top.Verilog", 15},
        {101, "top.sdc", 29},
        {101, "top.gcf", 101},
        {102, "top.edn", 16},
        {102, "top.vhd", 17},
        {102, "top.sdc", 28},
        {102, "top.gcf", 26},
        {102, "top.PDC", 27},
        {102, "top.txt", 102},
        {103, "top.adb", 4},
        {103, "top.prb", 9},
        {103, "top.afm", 10},
        {103, "top.bit", 12},
        {103, "top.pdb", 45},
        {103, "top.stp", 8},
        {103, "top.pro", 37},
        {103, "top.ide_pld", 40},
        {103, "top.lok", 41},
        {103, "top.txt", 48},
        {103, "top_ba.sdf", 13},
        {103, "TOP_BA.SDF", 13},
        {103, "top.sdf", 11},
        {103, "top_ba.v", 14},
        {103, "top_ba.vhd", 14},
        {103, "x.cvl", 103},
        {103, "ba.sdf", 11},
        {103, "_ba.sdf", 13},
        {103, "a.v", 103},
        {103, "sdf", 11},
        {103, "", 103},
        {104, "a.dcf", 18},
        {104, "a.SDC", 19},
        {104, "a.pin", 20},
        {104, "a.gcf", 21},
        {104, "a.pdc", 22},
        {104, "a.crt", 23},
        {104, "a.v", 104},
        {104, "foo.", 104},
        {105, "netlist", 35},
        {105, "do", 42},
        {105, "run.DO", 42},
        {105, "wave.vcd", 24},
        {105, "power.saif", 25},
        {105, "tb.v", 35},
        {105, "/sim.d/do", 35},
        {105, "/sim/run.do", 42},
        {2, "top.v", 2},
        {59, "core.edn", 59},
        {0, "x.sch", 0},
        // A dot in a folder name is no extension.
        {101, "/designs.v2/netlist", 101},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImodelGetSpecificFileType(c.group, c.name), c.type) << c.group << " " << c.name;
}

TEST(FileTypes, ProjectFolderOfEveryType)
{
    const std::string rev = "pallador/impl" + std::to_string(CurrentRevision());
    const std::map<int, std::string> folders = {
        {0, "viewdraw/sch"}, {1, "viewdraw/sym"},    {2, "hdl"},          {6, "stimulus"},      {7, "stimulus"},
        {30, "viewdraw"},    {57, "viewdraw"},       {56, "viewdraw/vf"}, {58, "viewdraw/wir"}, {43, "synthesis"},
        {101, "synthesis"},  {102, "phy_synthesis"}, {103, rev},          {104, "constraint"},  {105, "simulation"},
        {59, "kiltora"},     {60, "ombrix"},         {61, "component"},   {62, "component"},    {63, "dremmet"},
    };
    for (int type = -1; type < 110; ++type) {
        const auto found = folders.find(ExpectedGroup(type));
        EXPECT_EQ(FolderOf(type), found == folders.end() ? "untouched" : found->second) << type;
    }
}

TEST(FileTypes, FoldersThatDependOnTheParameter)
{
    ImodelGetFullPathParam postLayout(Post_Layout);
    postLayout.SetRevision(2);
    EXPECT_EQ(FolderOf(35, postLayout), "pallador/impl2/simulation/postlayout");
    EXPECT_EQ(FolderOf(105, ImodelGetFullPathParam(Post_Synthesis)), "simulation/postsynth");
    EXPECT_EQ(FolderOf(24, ImodelGetFullPathParam(Post_Phy_Synthesis)), "simulation/postphysynth");
    EXPECT_EQ(FolderOf(42, ImodelGetFullPathParam(Pre_Synthesis)), "simulation/presynth");
    EXPECT_EQ(FolderOf(35, ImodelGetFullPathParam(static_cast<imodelSolvatoState>(9))), "simulation/presynth");
    EXPECT_EQ(FolderOf(35, ImodelGetFullPathParam(4)), "simulation");

    EXPECT_EQ(FolderOf(4, ImodelGetFullPathParam(7)), "pallador/impl7");
    EXPECT_EQ(FolderOf(61, ImodelGetFullPathParam(std::string("fifo"))), "component/fifo");
    EXPECT_EQ(FolderOf(62, ImodelGetFullPathParam(std::string("fifo"))), "component/fifo");

    ImodelFileName folder;
    ImodelGetPathForRevFile(folder, 1);
    EXPECT_EQ(folder.GetString(), "pallador/impl1");

    // Copies of a parameter share its values.
    ImodelGetFullPathParam copy = postLayout;
    EXPECT_EQ(*copy.GetRevision(), 2);
    EXPECT_EQ(*copy.GetState(), Post_Layout);
    EXPECT_EQ(copy.GetComponent(), nullptr);
}

TEST(FileTypes, OutputFolderOfEveryToolKind)
{
    const std::map<int, std::string> folders = {
        {0, "synthesis"}, {1, "simulation"}, {2, "stimulus"}, {7, "hdl"}, {11, "phy_synthesis"}, {17, "dremmet"},
    };
    for (int tool = -1; tool <= ImodelFunctionTypeCount; ++tool) {
        const auto found = folders.find(tool);
        if (tool == idePALLADOR) continue;
        EXPECT_EQ(ToolFolderOf(tool), found == folders.end() ? "" : found->second) << tool;
    }
    EXPECT_EQ(ToolFolderOf(idePALLADOR, ImodelGetFullPathParam(3)), "pallador/impl3");
    EXPECT_EQ(ToolFolderOf(idePALLADOR), "pallador/impl" + std::to_string(CurrentRevision()));
}

TEST(FileTypes, FullPathsUnderALocationAndTheProjectFolder)
{
    ImodelFileName out;
    ImodelGetFullPathForFileWithThisLoc(2, out, "/elsewhere");
    EXPECT_EQ(out.GetString(), "/elsewhere/hdl");
    ImodelGetFullPathForFileWithThisLoc("top.v", 2, out, "/elsewhere");
    EXPECT_EQ(out.GetString(), "/elsewhere/hdl/top.v");
    ImodelGetFullPathForFileWithThisLoc(36, out, "/elsewhere");
    EXPECT_EQ(out.GetString(), "/elsewhere/");

    const ProjectFolderScope scope("/work/alu");
    ImodelGetFullPathForFile(36, out);  // "log" files have no folder
    EXPECT_EQ(out.GetString(), "/work/alu/");
    ImodelGetFullPathForFile(59, out);
    EXPECT_EQ(out.GetString(), "/work/alu/kiltora");
    ImodelGetFullPathForFile("kiltora.aws", 59, out);
    EXPECT_EQ(out.GetString(), "/work/alu/kiltora/kiltora.aws");
    ImodelGetFullPathForFile("top.pdc", 22, out, ImodelGetFullPathParam(1));
    EXPECT_EQ(out.GetString(), "/work/alu/constraint/top.pdc");
}

namespace {

// Installs option defaults for one test and removes them afterwards.
class OptionDefaults {
public:
    explicit OptionDefaults(const std::string& text)
    {
        std::string error;
        EXPECT_TRUE(DefLoadDefaultsFromText(text, &error)) << error;
    }
    ~OptionDefaults()
    {
        DefUnset("FAM");
        DefLoadDefaultsFromText("");
    }
};

const char* const kConstraintOptions = R"(FAM = ZX7
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
)";

std::vector<std::string> Extensions(const std::vector<ConstraintType>& kinds)
{
    std::vector<std::string> extensions;
    for (const ConstraintType& kind : kinds) extensions.push_back(kind.extension);
    return extensions;
}

std::string Family()
{
    std::string value;
    DefGetStrFL("FAM", value);
    return value;
}

}  // namespace

TEST(FileTypes, ConstraintKindsOfAFamily)
{
    const OptionDefaults defaults(kConstraintOptions);
    std::vector<ConstraintType> kinds = {ConstraintType()};
    ASSERT_TRUE(ImodelGetConstraintList(kinds, imodelIMPORT_AND_AUX_CONSTRAINT_FILES, ""));
    // Incomplete descriptions (no display name, no constraint type) are skipped.
    EXPECT_EQ(Extensions(kinds), (std::vector<std::string>{"pdc", "sdc", "crt"}));
    ASSERT_EQ(kinds.size(), 3u);
    EXPECT_EQ(kinds[0].displayName, "I/O constraints");
    EXPECT_EQ(kinds[0].type, 22);
    EXPECT_EQ(kinds[1].type, 19);
    EXPECT_EQ(kinds[2].type, 23);

    ASSERT_TRUE(ImodelGetConstraintList(kinds, imodelIMPORT_CONSTRAINT_FILES, "ZX7"));
    EXPECT_EQ(Extensions(kinds), std::vector<std::string>{"pdc"});

    // Another family answers through the family-scoped values, and "FAM" is
    // back afterwards.
    ASSERT_TRUE(ImodelGetConstraintList(kinds, imodelIMPORT_AND_AUX_CONSTRAINT_FILES, "ZX9"));
    EXPECT_EQ(Extensions(kinds), (std::vector<std::string>{"gcf", "crt"}));
    EXPECT_EQ(Family(), "ZX7");

    EXPECT_FALSE(ImodelGetConstraintList(kinds, static_cast<imodelConstraintFiles>(3), "ZX9"));
    EXPECT_TRUE(kinds.empty());
    EXPECT_EQ(Family(), "ZX7");

    EXPECT_TRUE(ImodelIsConstraintFileSupported("PDC", ""));
    EXPECT_TRUE(ImodelIsConstraintFileSupported("crt", "ZX7"));
    EXPECT_FALSE(ImodelIsConstraintFileSupported("pdc", "ZX9"));
    EXPECT_TRUE(ImodelIsConstraintFileSupported("gcf", "ZX9"));
    EXPECT_FALSE(ImodelIsConstraintFileSupported("dcf", ""));
    EXPECT_FALSE(ImodelIsConstraintFileSupported(nullptr, ""));
    EXPECT_EQ(Family(), "ZX7");
}
