#include <foundation/Def.h>
#include <foundation/Dvchk.h>
#include <foundation/Mdb.h>

#include <string>

namespace {

constexpr std::uint32_t kDeviceObsoleteNumber = 0x0DC00001u;

}  // namespace

bool DvchkWarnIfCurrentDeviceObsolete(bool, void*, bool warn)
{
    std::string family;
    std::string die;
    if (DefGetStrFL("FAM", family) != 0 || family.empty()) return false;
    DefGetStrFL("DIE", die);
    int obsolete = 0;
    {
        const DefOverRideGuard queryFamily("QFAM", family);
        const DefOverRideGuard queryDie("QDIE", die);
        if (DefGetBoolFL("IS_DEVICE_OBSOLETE", &obsolete) != 0 || obsolete != 1) return false;
    }
    if (warn) {
        const int args = MdbArgSetInit(2);
        MdbArgSetString(args, 0, family.c_str());
        MdbArgSetString(args, 1, die.c_str());
        MdbOutput(args, nullptr, "Dvchk", "DEVICE_OBSOLETE", MdbWARNING, MdbLINE,
                  "The device %s %s is obsolete: new designs should target another device.", kDeviceObsoleteNumber, 0);
    }
    return true;
}
