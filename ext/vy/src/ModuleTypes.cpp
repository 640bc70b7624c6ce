#include "vy/IComponent.h"

#include <foundation/UtlAscii.h>

#include <array>

namespace VyIfaces {

namespace {

// Indexed by the kind; the last name stands for the files common to cores.
constexpr std::array<const char*, 14> kNames = {
    "Kiltora",     "Dremmet",     "IP",          "HDL",    "Block",        "Schematic", "Veyrun",
    "GenericCore", "SynplifyDSP", "BrennicCell", "UserIP", "SpiritDesign", "NoCore",    "common"};

}  // namespace

const char* GetModuleTypeName(int type)
{
    if (type < 0 || type >= static_cast<int>(kNames.size())) return "Unknown";
    return kNames[static_cast<std::size_t>(type)];
}

bool FindModuleType(const std::string& name, IComponent::VyModuleType& type)
{
    for (int kind = 0; kind <= IComponent::NoCore; ++kind) {
        if (UtlIsSameNoCase(name, kNames[static_cast<std::size_t>(kind)])) {
            type = static_cast<IComponent::VyModuleType>(kind);
            return true;
        }
    }
    return false;
}

}  // namespace VyIfaces
