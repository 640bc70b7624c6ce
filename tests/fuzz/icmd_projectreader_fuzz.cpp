// The project-file reader through open_project: any text is either refused
// with no project left open, or opened; an opened project saves a file that
// opens again to the very same file (save, open, save is stable).
#include "MessageRecorder.h"
#include "RecordingHost.h"
#include "TempFolder.h"

#include "icmd/project/IcmdCloseProject.h"
#include "icmd/project/IcmdOpenProject.h"
#include "icmd/project/IcmdSaveProject.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"

#include <foundation/Sys.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition) std::abort();
}

bool IsOpen() { return Imodel::GetInstance().GetDesignManager()->IsProjectOpen(); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TempFolder folder;
    static MessageRecorder messages;
    static RecordingHost host;
    const std::string file = folder / "fuzz.prj";
    Check(SysWriteFileAtomically(file, std::string(reinterpret_cast<const char*>(data), size)));
    messages.Clear();
    const bool opened = IcmdDoOpenProject(file.c_str(), false, false);
    Check(opened == IsOpen());
    if (!opened) return 0;
    // The save takes the editor files from the host, as every later save does.
    Check(IcmdDoSaveProject(false, nullptr));
    std::string first;
    Check(SysReadFile(file, first));
    Check(IcmdDoCloseProject(false, false) && !IsOpen());
    Check(IcmdDoOpenProject(file.c_str(), false, false));
    std::string second;
    Check(SysReadFile(file, second));
    Check(first == second);
    Check(IcmdDoCloseProject(false, false));
    return 0;
}
