// The device keys of a project file: any text reads without fault; the
// device read has a family the catalogue knows or none at all, and a device
// emptied for an unknown family says so; written back and read again it
// comes back the same (a member with a line break or another control
// character is written empty).
#include "MessageRecorder.h"

#include "imodel/device/ImodelDevice.h"
#include "imodel/names/ImodelLineText.h"
#include "imodel/names/ImodelProjectFileStructure.h"

#include <foundation/Def.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition) std::abort();
}

constexpr const char* kCatalogue = R"(
@choices FAM = ZX3 ZX7
@choices DIE[QFAM=ZX3] = zx3_10
@choices DIE[QFAM=ZX7] = zx7_50 zx7_120
@choices PACKAGE[QFAM=ZX7,QDIE=zx7_50] = fg256
@ext zx3_10 = ZX3-10
@ext zx7_50 = ZX7-50
@ext zx7_120 = ZX7-120
@ext fg256 = FG256
)";

ImodelDevice Read(const std::string& text, bool& changed)
{
    ImodelProjectFileStructure file;
    file.Parse("fuzz.prj", text, "");
    ImodelDevice device;
    Check(device.ReadFromProjectFile(file, changed));
    return device;
}

// A member that cannot stand on its line (a line break or another control
// character) is not written.
bool HoldsUnwritable(const ImodelDevice& device)
{
    for (const imodelDeviceMembers member : {imodelDeviceFamily, imodelDeviceDie, imodelDevicePackage}) {
        if (!ImodelIsOneLine(*device.GetMember(member))) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool loaded = DefLoadDefaultsFromText(kCatalogue);
    Check(loaded);
    MessageRecorder messages;

    bool changed = false;
    const ImodelDevice device = Read(std::string(reinterpret_cast<const char*>(data), size), changed);
    const std::string& family = device.GetFamily();
    Check(family.empty() || family == "ZX3" || family == "ZX7");
    if (changed) Check(device == ImodelDevice());

    std::ostringstream written;
    device.WriteToProjectFile(&written);
    const ImodelDevice again = Read(written.str(), changed);
    Check(!changed);
    Check(again == device || HoldsUnwritable(device));
    Check(messages.Messages().empty());
    return 0;
}
