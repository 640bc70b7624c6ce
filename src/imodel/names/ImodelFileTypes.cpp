#include "imodel/names/ImodelFileTypes.h"

#include "imodel/names/imodelUtl.h"
#include "src/imodel/names/imodelUtlProject.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <array>
#include <optional>

namespace {

constexpr bool TableRowsHoldTheirType()
{
    for (int i = 0; i < imodelFileManagerTypesCount; ++i)
        if (imodelFileManagerTypesArray[i].type != i) return false;
    return true;
}
static_assert(TableRowsHoldTheirType(), "imodelFileManagerTypesArray: row i must hold type i");

bool IsSpecificType(int type) { return type >= 0 && type < imodelFileManagerTypesCount; }

// The group of every specific type; 0 for a type that is its own group.
constexpr std::array<int, imodelFileManagerTypesCount> MakeGroupTable()
{
    struct Group {
        int group;
        std::array<int, 15> types;
        int count;
    };
    constexpr Group groups[] = {
        {zorpaFT_GROUP_SYNTHESIS, {zorpaFT_SYN_EDN, zorpaFT_SYN_HDL, zorpaFT_SYN_SDC}, 3},
        {zorpaFT_GROUP_PHY_SYNTHESIS,
         {zorpaFT_ZEVORU_EDN, zorpaFT_ZEVORU_HDL, zorpaFT_ZEVORU_GCF, zorpaFT_ZEVORU_PDC, zorpaFT_ZEVORU_SDC},
         5},
        {zorpaFT_GROUP_PALLADOR,
         {zorpaFT_ADB, zorpaFT_STP, zorpaFT_PRB, zorpaFT_AFM, zorpaFT_SDF, zorpaFT_BIT, zorpaFT_BA_SDF, zorpaFT_BA_HDL,
          zorpaFT_PRO, zorpaFT_IDE_PLD, zorpaFT_LOK, zorpaFT_PDB, zorpaFT_CVL, zorpaFT_LOC, zorpaFT_SEG},
         15},
        {zorpaFT_GROUP_CONSTRAINT, {zorpaFT_DCF, zorpaFT_SDC, zorpaFT_PIN, zorpaFT_GCF, zorpaFT_PDC, zorpaFT_CRT}, 6},
        {zorpaFT_GROUP_SIMULATION, {zorpaFT_VCD, zorpaFT_SAIF, zorpaFT_SIM, zorpaFT_DO}, 4},
    };
    std::array<int, imodelFileManagerTypesCount> table{};
    for (const Group& g : groups)
        for (int i = 0; i < g.count; ++i) table[g.types[i]] = g.group;
    return table;
}
constexpr std::array<int, imodelFileManagerTypesCount> kGroupOf = MakeGroupTable();

// An extension and the specific type it gives within one group.
struct ExtensionRule {
    const char* extension;
    int type;
};
constexpr ExtensionRule kPalladorRules[] = {
    {"adb", zorpaFT_ADB}, {"prb", zorpaFT_PRB}, {"afm", zorpaFT_AFM}, {"bit", zorpaFT_BIT},
    {"pdb", zorpaFT_PDB}, {"stp", zorpaFT_STP}, {"pro", zorpaFT_PRO}, {"ide_pld", zorpaFT_IDE_PLD},
    {"lok", zorpaFT_LOK}, {"txt", zorpaFT_TXT},
};
constexpr ExtensionRule kConstraintRules[] = {
    {"dcf", zorpaFT_DCF}, {"sdc", zorpaFT_SDC}, {"pin", zorpaFT_PIN},
    {"gcf", zorpaFT_GCF}, {"pdc", zorpaFT_PDC}, {"crt", zorpaFT_CRT},
};
constexpr ExtensionRule kSimulationRules[] = {{"do", zorpaFT_DO}, {"vcd", zorpaFT_VCD}, {"saif", zorpaFT_SAIF}};

template <std::size_t N>
int MatchRule(const ExtensionRule (&rules)[N], const std::string& extension, int otherwise)
{
    for (const ExtensionRule& rule : rules)
        if (extension == rule.extension) return rule.type;
    return otherwise;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// The extension, lower-cased: the text after the last "." of the file's own
// name (a dot in a folder name does not count); a name without one counts
// as all extension.
std::string ExtensionOf(const std::string& name)
{
    const std::size_t separator = name.find_last_of("/\\");
    const std::size_t dot = name.rfind('.');
    const bool hasDot = dot != std::string::npos && (separator == std::string::npos || dot > separator);
    std::string extension = hasDot ? name.substr(dot + 1) : name;
    ImodelMakeLower(extension);
    return extension;
}

// Synthesis and physical synthesis: netlists, HDL ("v..." covers Verilog and
// VHDL) and constraint files.
int SynthesisType(const std::string& extension, int group)
{
    const bool phy = group == zorpaFT_GROUP_PHY_SYNTHESIS;
    if (extension == "edn") return phy ? zorpaFT_ZEVORU_EDN : zorpaFT_SYN_EDN;
    if (StartsWith(extension, "v")) return phy ? zorpaFT_ZEVORU_HDL : zorpaFT_SYN_HDL;
    if (extension == "sdc") return phy ? zorpaFT_ZEVORU_SDC : zorpaFT_SYN_SDC;
    if (phy && extension == "gcf") return zorpaFT_ZEVORU_GCF;
    if (phy && extension == "pdc") return zorpaFT_ZEVORU_PDC;
    return group;
}

// Place and route: the back-annotated files are told by the "_ba" before the
// extension. A name too short to hold that suffix has none.
int PalladorType(const std::string& name, const std::string& extension)
{
    const int byExtension = MatchRule(kPalladorRules, extension, zorpaFT_GROUP_PALLADOR);
    if (byExtension != zorpaFT_GROUP_PALLADOR) return byExtension;
    const std::size_t tailLength = extension.size() + 4;
    if (name.size() >= tailLength) {
        std::string tail = name.substr(name.size() - tailLength);
        ImodelMakeLower(tail);
        if (tail == "_ba.sdf") return zorpaFT_BA_SDF;
        if (StartsWith(tail, "_ba.v")) return zorpaFT_BA_HDL;
    }
    if (extension == "sdf") return zorpaFT_SDF;
    return zorpaFT_GROUP_PALLADOR;
}

std::string Join(const std::string& folder, const std::string& name) { return folder + SysGetDirChar() + name; }

int RevisionOf(const ImodelGetFullPathParam& param)
{
    const int* revision = param.GetRevision();
    return revision ? *revision : ImodelUtlGetCurrentRevisionNumber();
}

std::string RevisionFolder(const ImodelGetFullPathParam& param)
{
    ImodelFileName folder;
    ImodelGetPathForRevFile(folder, RevisionOf(param));
    return folder.GetString();
}

std::string SimulationFolder(const ImodelGetFullPathParam& param)
{
    const imodelSolvatoState* state = param.GetState();
    if (!state) return "simulation";
    switch (*state) {
    case Post_Layout:
        return Join(Join(RevisionFolder(param), "simulation"), "postlayout");
    case Post_Synthesis:
        return Join("simulation", "postsynth");
    case Post_Phy_Synthesis:
        return Join("simulation", "postphysynth");
    default:
        return Join("simulation", "presynth");
    }
}

std::string ComponentFolder(const ImodelGetFullPathParam& param)
{
    const std::string* component = param.GetComponent();
    return component ? Join("component", *component) : "component";
}

// The folder of a (grouped) type; false for a type without one.
bool FolderOfType(int type, const ImodelGetFullPathParam& param, std::string& folder)
{
    switch (type) {
    case zorpaFT_SCH:
        folder = Join("viewdraw", "sch");
        return true;
    case zorpaFT_SYM:
        folder = Join("viewdraw", "sym");
        return true;
    case zorpaFT_HDL:
        folder = "hdl";
        return true;
    case zorpaFT_BTIM:
    case zorpaFT_TB_HDL:
        folder = "stimulus";
        return true;
    case zorpaFT_VIEWDRAW_EDN:
    case zorpaFT_GROUP_VIEWDRAW:
        folder = "viewdraw";
        return true;
    case zorpaFT_GROUP_VIEWDRAW_VF:
        folder = Join("viewdraw", "vf");
        return true;
    case zorpaFT_GROUP_VIEWDRAW_WIR:
        folder = Join("viewdraw", "wir");
        return true;
    case zorpaFT_BSP:
    case zorpaFT_GROUP_SYNTHESIS:
        folder = "synthesis";
        return true;
    case zorpaFT_GROUP_PHY_SYNTHESIS:
        folder = "phy_synthesis";
        return true;
    case zorpaFT_GROUP_PALLADOR:
        folder = RevisionFolder(param);
        return true;
    case zorpaFT_GROUP_CONSTRAINT:
        folder = "constraint";
        return true;
    case zorpaFT_GROUP_SIMULATION:
        folder = SimulationFolder(param);
        return true;
    case zorpaFT_GROUP_KILTORA:
        folder = "kiltora";
        return true;
    case zorpaFT_GROUP_OMBRIX:
        folder = "ombrix";
        return true;
    case zorpaFT_GROUP_COMPONENT:
    case zorpaFT_GROUP_COMPONENT_2:
        folder = ComponentFolder(param);
        return true;
    case zorpaFT_GROUP_DREMMET:
        folder = "dremmet";
        return true;
    default:
        return false;
    }
}

std::string ReadOption(const char* name)
{
    std::string value;
    if (DefGetStrFL(name, value) != 0) value.clear();
    return value;
}

// Lets the family-dependent values of the options database answer for
// another family while it lives: "FAM" is back to its old value on every path.
class FamilyScope {
public:
    explicit FamilyScope(const std::string& family)
    {
        if (!family.empty() && family != ReadOption("FAM")) m_override.emplace("FAM", family);
    }

private:
    std::optional<DefOverRideGuard> m_override;
};

// The words of the constraint-kind list variables of `kind`.
bool ConstraintKindWords(imodelConstraintFiles kind, std::vector<std::string>& words)
{
    std::string list;
    switch (kind) {
    case imodelIMPORT_CONSTRAINT_FILES:
        list = ReadOption("ALL_IMPORT_CONSTRAINT_FILES");
        break;
    case imodelIMPORT_AND_AUX_CONSTRAINT_FILES:
        list = ReadOption("IMPORT_CONSTRAINT_FILES") + " " + ReadOption("AUXILIARY_CONSTRAINT_FILES");
        break;
    default:
        return false;
    }
    ArgsParse(list, words);
    return true;
}

// The constraint kind the options database describes under `word`; false
// when the description is incomplete or names no constraint type.
bool DescribeConstraintKind(const std::string& word, ConstraintType& entry)
{
    entry.displayName = ReadOption((word + "_DISP_NAME").c_str());
    entry.extension = ReadOption((word + "_EXTN").c_str());
    ImodelMakeLower(entry.extension);
    const int type = ImodelGetSpecificFileType(zorpaFT_GROUP_CONSTRAINT, "foo." + entry.extension);
    entry.type = IsSpecificType(type) ? type : zorpaFT_UNKNOWN;
    return !entry.extension.empty() && !entry.displayName.empty() && entry.type != zorpaFT_UNKNOWN;
}

}  // namespace

int ImodelGetGlobalType(int type)
{
    if (!IsSpecificType(type) || kGroupOf[type] == 0) return type;
    return kGroupOf[type];
}

int ImodelGetSpecificFileType(int group, const ImodelFileName& name)
{
    const std::string extension = ExtensionOf(name.GetString());
    switch (group) {
    case zorpaFT_GROUP_SYNTHESIS:
    case zorpaFT_GROUP_PHY_SYNTHESIS:
        return SynthesisType(extension, group);
    case zorpaFT_GROUP_PALLADOR:
        return PalladorType(name.GetString(), extension);
    case zorpaFT_GROUP_CONSTRAINT:
        return MatchRule(kConstraintRules, extension, group);
    case zorpaFT_GROUP_SIMULATION:
        return MatchRule(kSimulationRules, extension, zorpaFT_SIM);
    default:
        return group;
    }
}

void ImodelGetPathForFile(int type, ImodelFileName& folder, const ImodelGetFullPathParam& param)
{
    std::string text;
    if (FolderOfType(ImodelGetGlobalType(type), param, text)) folder = text;
}

void ImodelGetPathForRevFile(ImodelFileName& folder, int revision)
{
    folder = Join("pallador", "impl" + std::to_string(revision));
}

void ImodelGetPathForTool(ImodelFunctionType tool, ImodelFileName& folder, const ImodelGetFullPathParam& param)
{
    folder.clear();
    switch (tool) {
    case ideSYNTHESIS:
        folder = "synthesis";
        break;
    case ideSIMULATION:
        folder = "simulation";
        break;
    case ideSTIMULUS:
        folder = "stimulus";
        break;
    case idePALLADOR:
        folder = RevisionFolder(param);
        break;
    case ideHDLEDITOR:
        folder = "hdl";
        break;
    case idePHYSYNTH:
        folder = "phy_synthesis";
        break;
    case ideARM:
        folder = "dremmet";
        break;
    default:
        break;
    }
}

void ImodelGetFullPathForFileWithThisLoc(int type, ImodelFileName& out, const ImodelFileName& location,
                                         const ImodelGetFullPathParam& param)
{
    ImodelFileName folder;
    ImodelGetPathForFile(type, folder, param);
    out = Join(location.GetString(), folder.GetString());
}

void ImodelGetFullPathForFileWithThisLoc(const ImodelFileName& name, int type, ImodelFileName& out,
                                         const ImodelFileName& location, const ImodelGetFullPathParam& param)
{
    ImodelGetFullPathForFileWithThisLoc(type, out, location, param);
    out = Join(out.GetString(), name.GetString());
}

void ImodelGetFullPathForFile(int type, ImodelFileName& out, const ImodelGetFullPathParam& param)
{
    const ImodelFileName* project = ImodelUtlGetProjectFolder();
    ImodelGetFullPathForFileWithThisLoc(type, out, project ? *project : ImodelFileName(), param);
}

void ImodelGetFullPathForFile(const ImodelFileName& name, int type, ImodelFileName& out,
                              const ImodelGetFullPathParam& param)
{
    const ImodelFileName* project = ImodelUtlGetProjectFolder();
    ImodelGetFullPathForFileWithThisLoc(name, type, out, project ? *project : ImodelFileName(), param);
}

bool ImodelGetConstraintList(std::vector<ConstraintType>& out, imodelConstraintFiles kind, const std::string& family)
{
    out.clear();
    const FamilyScope scope(family);
    std::vector<std::string> words;
    if (!ConstraintKindWords(kind, words)) return false;
    for (const std::string& word : words) {
        ConstraintType entry;
        if (DescribeConstraintKind(word, entry)) {
            out.push_back(entry);
        } else if (ImodelUtlIsDebugMsg()) {
            SysDebugPrintf("Error getting constraint info for %s", word.c_str());
        }
    }
    return true;
}

bool ImodelIsConstraintFileSupported(const char* extension, const std::string& family)
{
    std::vector<ConstraintType> kinds;
    if (!extension || !ImodelGetConstraintList(kinds, imodelIMPORT_AND_AUX_CONSTRAINT_FILES, family)) return false;
    for (const ConstraintType& kind : kinds)
        if (ImodelIsSameStrNoCase(kind.extension, extension)) return true;
    return false;
}
