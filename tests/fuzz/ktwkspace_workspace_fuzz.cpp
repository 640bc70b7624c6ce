// Fuzz target: the workspace file reader. Whatever it accepts formats to a
// text that reads back to the same settings; everything else is refused
// with one of the workspace library's exceptions, never anything worse.
#include <ktwkspace/Workspace.h>

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace {

bool Same(const Ktwkspace::WorkspaceSettings& a, const Ktwkspace::WorkspaceSettings& b)
{
    return a.name == b.name && a.family == b.family && a.die == b.die && a.package == b.package &&
           a.language == b.language && a.components.size() == b.components.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    Ktwkspace::WorkspaceSettings settings;
    try {
        settings = Ktwkspace::KtwkspaceParseWorkspace(text, "fuzz.aws");
    } catch (const std::runtime_error&) {
        return 0;
    }
    // Values read hold no control character but the tab, so they always
    // format, and what was written reads back to the same text.
    const std::string written = Ktwkspace::KtwkspaceFormatWorkspace(settings);
    const Ktwkspace::WorkspaceSettings again = Ktwkspace::KtwkspaceParseWorkspace(written, "again.aws");
    if (!Same(again, settings) || Ktwkspace::KtwkspaceFormatWorkspace(again) != written) __builtin_trap();
    return 0;
}
