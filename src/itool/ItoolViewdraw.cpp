// The schematic editor's set-up file "viewdraw.ini" in the project's
// "viewdraw" folder and its project list "project.lst" in "viewdraw/vf".
#include "itool/ItoolSetupFiles.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/ImodelProcess.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"
#include "src/itool/itoolSetupFileText.h"

#include <foundation/Sys.h>

#include <array>
#include <cstdlib>
#include <string>

namespace {

const char* const kIniName = "viewdraw.ini";
const char* const kProjectListName = "project.lst";
const char* const kCellsTail = "/cells (brenniccells)";
const char* const kBuiltinTail = "/asicbin (builtin)";

// The editor's settings of a new file, up to its folder lines; the blanks
// inside and at the end of the lines belong to them.
constexpr std::array<const char*, 60> kSettings = {
    "NET               12      1       0",
    "COMPONENT         15      0       0",
    "ATTRIBUTE         14      0       0",
    "LABEL             15      0       0",
    "PIN                3      0       0",
    "BOX                2      0       0",
    "LINE               2      0       0",
    "CIRCLE             2      0       0",
    "ARC                2      0       0",
    "TEXT              10      0       0",
    "SELECTION_LAYER   15      0       0",
    "BORDER_LAYER      15      0       0",
    "VALUE_LAYER        7      0       0",
    "ANNO_LAYER         7      0       0",
    "GRID            10 ",
    "DOTSIZE          5",
    "BUS_DOTSIZE     12",
    "BOXSIZE          5",
    "TEXTSIZE        10",
    "TEXTORIGIN       3",
    "BUSWIDTH         4",
    "BUBBLESIZE       5",
    "AUTOLOG         10",
    "SDISTANCE       10",
    "ADISTANCE       20",
    "SHEETSIZE        1",
    "ROUTE            2",
    "SCOPE            0",
    "TEXT_THRESHOLD   3",
    "NEW_ATTR_VIS     1",
    "BLOCKTYPE        0",
    "UNDO             16",
    "GRIDON           1 ",
    "BORDERON         1 ",
    "HEADERON         1 ",
    "COMPTEXTON       1 ",
    "TEXTON           1 ",
    "ATTRON           1 ",
    "LABELON          1 ",
    "DETAIL           1 ",
    "SNAPTOPIN        1 ",
    "UNIQUE_LABEL     0 ",
    "VALUESON         1 ",
    "CONTEXT_WINDOW   0 ",
    "NAMESON          0 ",
    "SORTON           1 ",
    "PNUMSON          1 ",
    "RNUMSON          1 ",
    "DEFSHEET         0 ",
    "XTRAERRS         1 ",
    "DBOXON           0 ",
    nullptr,  // preserve case: PreserveCaseLine
    "ALLOW_VALUE_MIXED VERILOG",
    "NETNAME VDD        ",
    "NETNAME GND        ",
    "ATTR_RESET SS#1",
    "ATTR_RESET SS#2",
    "ATTR_RESET ALL_ID ",
    "ATTR_RESET GEN_ID ",
    "ATTR_RESET REFDES SYMBOL_VALUE",
};

std::string PreserveCaseLine(bool preserveCase) { return preserveCase ? "PRESERVE_CASE    1 " : "PRESERVE_CASE    0 "; }

bool HasProjectFolder() { return !Imodel::GetInstance().GetDesignManager()->GetProjectFolder().empty(); }

std::string FolderOfKind(int kind)
{
    ImodelFileName folder;
    ImodelGetFullPathForFile(kind, folder);
    return folder.GetString();
}

std::string ViewdrawFolder() { return FolderOfKind(zorpaFT_GROUP_VIEWDRAW); }

std::string Option(const char* name)
{
    std::string value;
    ImodelDefGetStr(name, value);
    return value;
}

// The suite's install folder, without trailing separators.
std::string InstallFolder()
{
    const char* value = std::getenv("BRENNIC_SW_DIR");
    std::string folder = value ? value : "";
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    return folder;
}

// The three folder lines: the project's, the vendor cells' and the
// built-in symbols'.
std::string ProjectDirLine() { return "DIR [pw] " + ViewdrawFolder(); }
std::string CellsDirLine(const std::string& tail) { return "DIR [rm] " + Option("IDE_BRENNIC_LIBVD") + tail; }
std::string BuiltinDirLine(const std::string& tail) { return "DIR [rm] " + InstallFolder() + "/lib/libvd" + tail; }

bool WriteProjectList()
{
    ImodelFileName path;
    ImodelGetFullPathForFile(ImodelFileName(kProjectListName), zorpaFT_GROUP_VIEWDRAW_VF, path);
    if (itoolWriteLines(path.GetString(), {"0", ViewdrawFolder() + SysGetDirChar() + " viewdraw"})) return true;
    ImodelDisplayNO_WRITE_ACCESS_MSG(path.c_str());
    return false;
}

std::string Lower(std::string text)
{
    ImodelMakeLower(text);
    return text;
}

// The old line's alias of the project folder: from the last blank of the
// text after "DIR [pw] " on, when that blank is followed by "(".
std::string ProjectAlias(const std::string& line)
{
    if (line.size() <= 9) return std::string();
    const std::string rest = line.substr(9);
    const std::size_t blank = rest.rfind(' ');
    if (blank == std::string::npos || blank + 1 >= rest.size() || rest[blank + 1] != '(') return std::string();
    return rest.substr(blank);
}

}  // namespace

void ItoolCreateViewdraw(bool preserveCase)
{
    if (!HasProjectFolder()) return;
    const std::string folder = ViewdrawFolder();
    ImodelValidateOrCreateDirectory(ImodelFileName(folder));
    itoolLines lines;
    lines.reserve(kSettings.size() + 3);
    for (const char* line : kSettings) lines.push_back(line ? line : PreserveCaseLine(preserveCase));
    lines.push_back(ProjectDirLine());
    lines.push_back(CellsDirLine(kCellsTail));
    lines.push_back(BuiltinDirLine(kBuiltinTail));
    const std::string path = folder + SysGetDirChar() + kIniName;
    if (!itoolWriteLines(path, lines)) ImodelDisplayNO_WRITE_ACCESS_MSG(path.c_str());
    for (int kind : {zorpaFT_GROUP_VIEWDRAW_VF, zorpaFT_SCH, zorpaFT_SYM, zorpaFT_GROUP_VIEWDRAW_WIR})
        ImodelValidateOrCreateDirectory(ImodelFileName(FolderOfKind(kind)));
    WriteProjectList();
}

void ItoolUpdateViewdraw(bool preserveCase)
{
    if (!HasProjectFolder()) return;
    if (Imodel::GetInstance().GetGlobalFlowOptions()->UpdateViewDrawIni) {
        const std::string path = ViewdrawFolder() + SysGetDirChar() + kIniName;
        if (!UtlDoesDiskObjectExist(path)) {
            // A new file starts without preserve case, whatever was asked;
            // the creation writes the project list too.
            ItoolCreateViewdraw(false);
            return;
        } else {
            itoolLines lines;
            std::string held;
            if (!itoolReadLines(path, lines, &held)) {
                ImodelDisplayUNABLE_TO_READ_MSG(path.c_str());
                return;
            }
            bool projectSeen = false;
            bool cellsSeen = false;
            bool builtinSeen = false;
            for (std::string& line : lines) {
                ImodelSecureCommandLine(line);
                const std::string lower = Lower(line);
                if (lower.rfind("preserve_case", 0) == 0) {
                    line = PreserveCaseLine(preserveCase);
                } else if (lower.rfind("dir [pw]", 0) == 0) {
                    line = ProjectDirLine() + ProjectAlias(line);
                    projectSeen = true;
                } else if (const std::size_t cells = lower.find(kCellsTail, 1); cells != std::string::npos) {
                    line = CellsDirLine(line.substr(cells));
                    cellsSeen = true;
                } else if (const std::size_t builtin = lower.find(kBuiltinTail, 1); builtin != std::string::npos) {
                    line = BuiltinDirLine(line.substr(builtin));
                    builtinSeen = true;
                }
            }
            if (!projectSeen) lines.push_back(ProjectDirLine());
            if (!cellsSeen) lines.push_back(CellsDirLine(kCellsTail));
            if (!builtinSeen) lines.push_back(BuiltinDirLine(kBuiltinTail));
            if (!itoolWriteLines(path, lines, &held)) {
                ImodelDisplaySETUP_FILE_NOT_WRITTEN_MSG(path.c_str());
                return;
            }
        }
    }
    WriteProjectList();
}
