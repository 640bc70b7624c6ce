// The set-up files of the simulator and of the schematic editor, as users
// and older versions leave them: any text is brought up to date without
// fault, a second update changes nothing more, and in the simulator's file
// every line outside its "[Library]" sections stays, in order.
#include "SilentSink.h"
#include "TempFolder.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/device/ImodelDevice.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/imodelUtl.h"
#include "itool/ItoolSetupFiles.h"

#include <foundation/Def.h>
#include <foundation/Mdb.h>
#include <foundation/Sys.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const TempFolder& Project()
{
    static SilentSink sink;
    static TempFolder folder;
    static const bool ready = [] {
        MdbSetSink(&sink);
        DefLoadDefaultsFromText("IDE_MODELSIM_LIB_LOC_DEFAULT = /opt/sim\nIDE_MODELSIM_VHDL_FAM[FAM=ZX3] = zx3\n"
                                "IDE_MODELSIM_VHDL_FAM[FAM=ZX7] = zx7\nRERARU_LIB = rerarulib\n"
                                "RERARU_LIB_LOC = /opt/sim/rerarulib\nIDE_BRENNIC_LIBVD = /opt/libvd\n",
                                nullptr);
        Imodel& model = Imodel::GetInstance();
        model.GetDesignManager()->SetProjectFolder(folder.Path());
        model.GetDesignManager()->SetDefaultVHDL(true);
        model.GetDeviceManager()->SetDevice(ImodelDevice("ZX3", "", ""));
        SysMkdir(folder / "simulation");
        SysMkdir(folder / "viewdraw");
        return true;
    }();
    (void)ready;
    return folder;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        while (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> OutsideLibrarySections(const std::string& text)
{
    std::vector<std::string> kept;
    bool inLibrary = false;
    for (const std::string& line : Lines(text)) {
        const bool header = !line.empty() && line.front() == '[';
        if (header) inLibrary = ImodelIsSameStrNoCase(line, "[Library]");
        if (header || !inLibrary) kept.push_back(line);
    }
    return kept;
}

// Brings the file up to date twice; the second time changes nothing.
std::string UpdatedTwice(const std::string& path, const std::string& input, void (*update)())
{
    std::string once;
    std::string twice;
    if (!SysWriteFileAtomically(path, input)) std::abort();
    update();
    if (!SysReadFile(path, once)) std::abort();
    update();
    if (!SysReadFile(path, twice) || once != twice) std::abort();
    return once;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const TempFolder& folder = Project();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string simulator =
        UpdatedTwice(folder / "simulation/modelsim.ini", input, [] { ItoolUpdateModelSim(true, "ZX7"); });
    if (OutsideLibrarySections(simulator) != OutsideLibrarySections(input)) std::abort();
    UpdatedTwice(folder / "viewdraw/viewdraw.ini", input, [] { ItoolUpdateViewdraw(false); });
    return 0;
}
