// File types: the 55 specific types of project files with their keywords
// (the type's name in the project file) and pre-synthesis flags, the group
// values that stand for any file of one kind, the mapping between groups
// and specific types, the project-relative folder of every type and of the
// outputs of every tool kind, and the constraint-file kinds the options
// database declares per device family. Nothing here keeps state.
#pragma once

#include "imodel/names/ImodelFileName.h"
#include "imodel/names/ImodelGetFullPathParam.h"
#include "imodel/names/ImodelToolKinds.h"

#include <string>
#include <vector>

// Values 0..54 are specific types (stored in file values); 55..63 and
// 101..105 are group values and have no keyword.
enum zorpaFileManagerTypes : int {
    zorpaFT_SCH = 0,
    zorpaFT_SYM = 1,
    zorpaFT_HDL = 2,
    zorpaFT_SYN_EDN = 3,
    zorpaFT_ADB = 4,
    zorpaFT_UNKNOWN = 5,  // "???": a file that cannot be placed
    zorpaFT_BTIM = 6,
    zorpaFT_TB_HDL = 7,
    zorpaFT_STP = 8,
    zorpaFT_PRB = 9,
    zorpaFT_AFM = 10,
    zorpaFT_SDF = 11,
    zorpaFT_BIT = 12,
    zorpaFT_BA_SDF = 13,
    zorpaFT_BA_HDL = 14,
    zorpaFT_SYN_HDL = 15,
    zorpaFT_ZEVORU_EDN = 16,
    zorpaFT_ZEVORU_HDL = 17,
    zorpaFT_DCF = 18,
    zorpaFT_SDC = 19,
    zorpaFT_PIN = 20,
    zorpaFT_GCF = 21,
    zorpaFT_PDC = 22,
    zorpaFT_CRT = 23,
    zorpaFT_VCD = 24,
    zorpaFT_SAIF = 25,
    zorpaFT_ZEVORU_GCF = 26,
    zorpaFT_ZEVORU_PDC = 27,
    zorpaFT_ZEVORU_SDC = 28,
    zorpaFT_SYN_SDC = 29,
    zorpaFT_VIEWDRAW_EDN = 30,
    zorpaFT_ARM_DB = 31,
    zorpaFT_ARM_LIB = 32,
    zorpaFT_OMBRIX_CXF = 33,
    zorpaFT_GEN = 34,
    zorpaFT_SIM = 35,
    zorpaFT_LOG = 36,
    zorpaFT_PRO = 37,
    zorpaFT_BIN = 38,  // "bin???"
    zorpaFT_PROFILES = 39,
    zorpaFT_IDE_PLD = 40,
    zorpaFT_LOK = 41,
    zorpaFT_DO = 42,
    zorpaFT_BSP = 43,
    zorpaFT_TEMPLATES = 44,
    zorpaFT_PDB = 45,
    zorpaFT_QVO = 46,
    zorpaFT_OTHER_HDL = 47,
    zorpaFT_TXT = 48,
    zorpaFT_CVL = 49,
    zorpaFT_LOC = 50,
    zorpaFT_SEG = 51,
    zorpaFT_MODELSIM_INI = 52,
    zorpaFT_SO = 53,
    zorpaFT_QVZ = 54,

    // Group values.
    zorpaFT_GROUP_VIEWDRAW_VF = 56,   // the schematic editor's "vf" folder
    zorpaFT_GROUP_VIEWDRAW = 57,      // the schematic editor's folder
    zorpaFT_GROUP_VIEWDRAW_WIR = 58,  // the schematic editor's "wir" folder
    zorpaFT_GROUP_KILTORA = 59,       // core-generator files
    zorpaFT_GROUP_OMBRIX = 60,        // older core-generator files ("GENFiles")
    zorpaFT_GROUP_COMPONENT = 61,     // component files
    zorpaFT_GROUP_COMPONENT_2 = 62,   // component files
    zorpaFT_GROUP_DREMMET = 63,       // IP-configurator files
    zorpaFT_GROUP_SYNTHESIS = 101,
    zorpaFT_GROUP_PHY_SYNTHESIS = 102,
    zorpaFT_GROUP_PALLADOR = 103,  // place and route
    zorpaFT_GROUP_CONSTRAINT = 104,
    zorpaFT_GROUP_SIMULATION = 105
};
constexpr int imodelFileManagerTypesCount = 55;

// The form of a file name given to or taken from a file value.
enum ImodelFMStringFileType : int {
    ImodelFMFull = 0,      // an absolute path
    ImodelFMRelative = 1,  // relative to the project folder
    ImodelFMShort = 2,     // the file name alone, in the default folder of its type
    ImodelFMInternal = 3   // the stored form, taken as it stands
};

// One row of the file-type table: row i holds type i.
struct imodelFileManagerTypesEntry {
    int type;
    const char* keyword;  // the type's name in the project file
    int preSynth;         // 1: a pre-synthesis file type
};

inline constexpr imodelFileManagerTypesEntry imodelFileManagerTypesArray[imodelFileManagerTypesCount] = {
    {0, "sch", 1},           {1, "sym", 1},         {2, "hdl", 1},           {3, "syn_edn", 0},
    {4, "adb", 0},           {5, "???", 1},         {6, "btim", 1},          {7, "tb_hdl", 1},
    {8, "stp", 0},           {9, "prb", 0},         {10, "afm", 0},          {11, "sdf", 0},
    {12, "bit", 0},          {13, "ba_sdf", 0},     {14, "ba_hdl", 0},       {15, "syn_hdl", 0},
    {16, "zevoru_edn", 0},   {17, "zevoru_hdl", 0}, {18, "dcf", 1},          {19, "sdc", 1},
    {20, "pin", 1},          {21, "gcf", 1},        {22, "pdc", 1},          {23, "crt", 1},
    {24, "vcd", 0},          {25, "saif", 0},       {26, "zevoru_gcf", 0},   {27, "zevoru_pdc", 0},
    {28, "zevoru_sdc", 0},   {29, "syn_sdc", 0},    {30, "viewdraw_edn", 1}, {31, "arm_db", 1},
    {32, "arm_lib", 1},      {33, "ombrix_cxf", 1}, {34, "gen", 1},          {35, "sim", 1},
    {36, "log", 0},          {37, "pro", 0},        {38, "bin???", 0},       {39, "profiles", 1},
    {40, "ide_pld", 0},      {41, "lok", 0},        {42, "do", 0},           {43, "bsp", 0},
    {44, "templates", 1},    {45, "pdb", 0},        {46, "qvo", 1},          {47, "other_hdl", 1},
    {48, "txt", 1},          {49, "cvl", 0},        {50, "loc", 0},          {51, "seg", 0},
    {52, "modelsim_ini", 1}, {53, "so", 0},         {54, "qvz", 1},
};

// The group of a specific type; any other value (every group value too)
// comes back unchanged.
int ImodelGetGlobalType(int type);

// The specific type of a file of `group`, decided by its extension (case
// ignored); the group itself when no rule matches.
int ImodelGetSpecificFileType(int group, const ImodelFileName& name);

// The project-relative folder of files of `type` (grouped first). A type
// without a folder leaves `folder` untouched. The revision is the
// parameter's, else the current one.
void ImodelGetPathForFile(int type, ImodelFileName& folder,
                          const ImodelGetFullPathParam& param = ImodelGetFullPathParam());
// The folder of one place-and-route view: "pallador/impl<revision>".
void ImodelGetPathForRevFile(ImodelFileName& folder, int revision);
// The project-relative output folder of a tool kind; empty for kinds
// without one.
void ImodelGetPathForTool(ImodelFunctionType tool, ImodelFileName& folder,
                          const ImodelGetFullPathParam& param = ImodelGetFullPathParam());

// `location`, "/", then the folder of `type` (a type without folder gives
// `location` and a trailing "/"); the second form adds "/" and `name`.
void ImodelGetFullPathForFileWithThisLoc(int type, ImodelFileName& out, const ImodelFileName& location,
                                         const ImodelGetFullPathParam& param = ImodelGetFullPathParam());
void ImodelGetFullPathForFileWithThisLoc(const ImodelFileName& name, int type, ImodelFileName& out,
                                         const ImodelFileName& location,
                                         const ImodelGetFullPathParam& param = ImodelGetFullPathParam());
// The same under the project folder.
void ImodelGetFullPathForFile(int type, ImodelFileName& out,
                              const ImodelGetFullPathParam& param = ImodelGetFullPathParam());
void ImodelGetFullPathForFile(const ImodelFileName& name, int type, ImodelFileName& out,
                              const ImodelGetFullPathParam& param = ImodelGetFullPathParam());

// One constraint-file kind offered for a family.
struct ConstraintType {
    std::string extension;  // lower case, without the dot
    std::string displayName;
    int type = zorpaFT_UNKNOWN;  // specific file type
};

// Which constraint kinds to list.
enum imodelConstraintFiles : int {
    imodelIMPORT_CONSTRAINT_FILES = 1,         // every importable kind
    imodelIMPORT_AND_AUX_CONSTRAINT_FILES = 2  // importable and auxiliary kinds
};

// Fills `out` with the constraint kinds of `family` (the current family when
// empty) as the options database declares them. False for an unknown kind.
// The options variable "FAM" is back to its old value on return.
bool ImodelGetConstraintList(std::vector<ConstraintType>& out, imodelConstraintFiles kind, const std::string& family);
// Whether `extension` (without the dot, case ignored) is an importable or
// auxiliary constraint kind of `family`.
bool ImodelIsConstraintFileSupported(const char* extension, const std::string& family);

// The I/O constraint type of the current device: the first of "pdc" (22),
// "gcf" (21) and "pin" (20) that import_files takes in the project; 5 when
// it takes none.
zorpaFileManagerTypes ImodelGetIoConstraintFileType();
