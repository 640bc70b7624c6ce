// The block-design library's loader of Verilog libraries (the device maker's
// cell library among them): any file reads without fault into the modules
// it declares; every module found is named in the text, once whatever its
// letter case. The same text read as one Verilog or VHDL module with its
// ports: without fault, and every port named in the text.
#include "TempFolder.h"

#include <vy/VyLoaderFactory.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TempFolder folder;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto modules = Vymodel::VyLoaderFactory::LoadModules(folder.Write("cells.v", text), "", nullptr);
    if (!modules) std::abort();
    std::set<std::string> lowerNames;
    for (const auto& [id, module] : *modules) {
        if (!module || id.name.empty() || id.name != module->GetName() || id.library != "cells") std::abort();
        if (text.find(id.name) == std::string::npos) std::abort();
        std::string lower = id.name;
        for (char& c : lower) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (!lowerNames.insert(lower).second) std::abort();
    }
    for (const char* name : {"unit.v", "unit.vhd"}) {
        const auto module = Vymodel::VyLoaderFactory::LoadModule(folder.Write(name, text), nullptr);
        if (!module) continue;
        for (const auto& port : module->GetPorts(false))
            if (!port || port->GetName().empty() || text.find(port->GetName()) == std::string::npos) std::abort();
    }
    return 0;
}
