// Fuzz target: the readers of the option lines of a project file (flow
// switches with the programming input, simulator settings, an option backed
// by the options database). Whatever they took must write out and read back
// to an equal record.
#include "imodel/options/ImodelGlobalFlowOptions.h"
#include "imodel/options/ImodelSimulationOptions.h"
#include "imodel/options/ImodelStringDefVarOption.h"

#include <foundation/Sys.h>

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// "key=value" lines split at their first "="; lines without one are skipped.
std::vector<std::pair<std::string, std::string>> Lines(const std::string& text)
{
    std::vector<std::pair<std::string, std::string>> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const std::size_t equal = line.find('=');
        if (equal != std::string::npos) lines.emplace_back(line.substr(0, equal), line.substr(equal + 1));
    }
    return lines;
}

template <typename Record, typename Read, typename Write>
void CheckRoundTrip(const Record& record, Read read, Write write)
{
    std::ostringstream out;
    write(record, out);
    Record back;
    for (const auto& [key, value] : Lines(out.str())) read(back, key, value);
    std::ostringstream again;
    write(back, again);
    if (!(back == record) || again.str() != out.str()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A value the options database refuses is reported at every such input;
    // the reports are not under test and would only slow the fuzzing down.
    static const bool silenced = (SysSetPrintHook([](const std::string&) {}), true);
    (void)silenced;
    const auto lines = Lines(std::string(reinterpret_cast<const char*>(data), size));

    const auto readFlow = [](ImodelGlobalFlowOptions& options, const std::string& key, const std::string& value) {
        options.ReadGlobalFlowOptions(key, value);
    };
    const auto writeFlow = [](const ImodelGlobalFlowOptions& options, std::ostream& out) {
        options.WriteGlobalFlowOptions(&out);
    };
    const auto readSimulation = [](ImodelSimulationOptions& options, const std::string& key, const std::string& value) {
        options.ReadSimulationOption(key, value);
    };
    const auto writeSimulation = [](const ImodelSimulationOptions& options, std::ostream& out) {
        options.WriteSimulationOptions(&out);
    };

    ImodelGlobalFlowOptions flow;
    ImodelSimulationOptions simulation;
    ImodelStringDefVarOption option("QUORLANE_FUZZ_OPTION", "default", "FuzzOption");
    for (const auto& [key, value] : lines) {
        readFlow(flow, key, value);
        readSimulation(simulation, key, value);
        option.Read(key, value);
    }
    CheckRoundTrip(flow, readFlow, writeFlow);
    CheckRoundTrip(simulation, readSimulation, writeSimulation);

    // The option writes what the options database holds, and reads it back.
    std::ostringstream out;
    option.Write(&out);
    const std::string before = option.GetValue();
    for (const auto& [key, value] : Lines(out.str())) option.Read(key, value);
    if (option.GetValue() != before) __builtin_trap();
    return 0;
}
