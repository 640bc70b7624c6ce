#include "ulv/TclcmdDumpBaseCmd.h"

#include <foundation/AcmdManager.h>
#include <foundation/Mdb.h>
#include <foundation/Sys.h>

#include <sstream>

namespace {

void ReportNotWritten(const std::string& path)
{
    const int args = MdbArgSetInit(1);
    MdbArgSetString(args, 0, path.c_str());
    MdbOutput(args, nullptr, "Ulv", "DUMP_NOT_WRITTEN", MdbERROR, MdbLINE, "Unable to write the dump file '%s'.", 1, 0);
}

}  // namespace

TclcmdDumpBaseCmd::TclcmdDumpBaseCmd()
    : m_file("file", this, AcmdValueType::Single(), false, "dump file", std::string())
{
}

TclcmdDumpBaseCmd::~TclcmdDumpBaseCmd() = default;

void TclcmdDumpBaseCmd::RegisterVerboseParam()
{
    if (!m_verbose)
        m_verbose = std::make_unique<AcmdFlagParam>("verbose", this, AcmdValueType::Single(), false, false, "verbose");
}

void TclcmdDumpBaseCmd::SetDumpFileName(const std::string& fileName) { m_file.SetObject(fileName); }

bool TclcmdDumpBaseCmd::IsVerbose() const { return m_verbose && m_verbose->GetObject(); }

AcmdEnum::Result TclcmdDumpBaseCmd::execDo()
{
    SetResultMsg(std::string());
    std::ostringstream dump;
    if (DoDump(dump) != AcmdEnum::Success) return AcmdEnum::Failure;
    std::string text = dump.str();
    const std::string given = m_file.GetObject();
    if (given.empty()) {
        if (!text.empty() && text.back() == '\n') text.pop_back();
        SetResultMsg(text);
        return AcmdEnum::Success;
    }
    const std::string path = AcmdGetFullPath(given, AcmdManager::GetInstance().GetCurrentFolder());
    if (!SysWriteFileAtomically(path, text)) {
        ReportNotWritten(path);
        return AcmdEnum::Failure;
    }
    return AcmdEnum::Success;
}
