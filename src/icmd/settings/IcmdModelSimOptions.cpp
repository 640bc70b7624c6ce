#include "icmd/settings/IcmdModelSimOptions.h"

#include "icmd/IcmdDoCommand.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"
#include "src/icmd/settings/IcmdSettingsMessages.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

namespace {

const ItoolModelSimPathOptions& Current()
{
    static const ItoolModelSimPathOptions kNone;
    const ItoolModelSimPathOptions* options = Imodel::GetInstance().GetModelSimPathOptions();
    return options ? *options : kNone;
}

std::string Language() { return Imodel::GetInstance().GetDesignManager()->IsDefaultVHDL() ? "VHDL" : "Verilog"; }

}  // namespace

IcmdModelSimOptions::IcmdModelSimOptions()
    : m_useDefaultSimPath("use_default_sim_path", this, AcmdValueType::Single(), true, !Current().GetUseCustomPath(),
                          ("Use default " + Language() + " library path").c_str()),
      m_simPath("sim_path", this, AcmdValueType::Single(), false, (Language() + " library path").c_str(),
                Current().GetLibraryPath())
{
    m_useDefaultSimPath.SetToolTipDescription("Select if you want to use the ModelSim default "
                                              "library for your device or use a personal one.",
                                              "");
    m_simPath.SetToolTipDescription("Enter the library path or click the browse button.", "");
}

IcmdModelSimOptions::~IcmdModelSimOptions() = default;

void IcmdModelSimOptions::SetDefaultOptions(const ItoolModelSimPathOptions* options)
{
    if (options == nullptr) return;
    m_useDefaultSimPath.SetObject(!options->GetUseCustomPath());
    m_simPath.SetObject(options->GetLibraryPath());
}

ItoolModelSimPathOptions IcmdModelSimOptions::GetModelSimLibOptions() const
{
    ItoolModelSimPathOptions options;
    options.SetUseCustomPath(!m_useDefaultSimPath.GetObject());
    options.SetLibraryPath(m_simPath.GetObject());
    return options;
}

AcmdEnum::Result IcmdModelSimOptions::checkParams()
{
    // The path stands in a line of the project file and of the simulator's set-up file.
    if (!IcmdCheckSingleLine(m_simPath.GetName(), m_simPath.GetObject())) return AcmdEnum::Failure;
    // A path of one's own that is empty maps no library: the set-up file would
    // keep the mapping it had, and every open would call the path invalid.
    if (!m_useDefaultSimPath.GetObject() && m_simPath.GetObject().empty()) {
        ImodelDisplayCUSTOM_SIM_PATH_EMPTY_MSG();
        return AcmdEnum::Failure;
    }
    return AcmdEnum::Success;
}

AcmdEnum::Result IcmdModelSimOptions::execDo()
{
    Imodel::GetInstance().SetModelSimPathOptions(GetModelSimLibOptions(), m_flushNeeded);
    // The shell has no later moment to write the user's options: the
    // remembered choice is written now.
    if (m_flushNeeded) {
        std::string error;
        if (DefFlush(&error) != 0) SysDebugPrintf("User options not written: %s\n", error.c_str());
    }
    return AcmdEnum::Success;
}

bool IcmdDoSetModelSimLibOptions(bool keep, const ItoolModelSimPathOptions& options, bool* flushNeeded)
{
    auto command = std::make_unique<IcmdModelSimOptions>();
    command->SetDefaultOptions(&options);
    return IcmdDoCommand<IcmdModelSimOptions>(std::move(command), keep, [flushNeeded](IcmdModelSimOptions& run) {
        if (flushNeeded) *flushNeeded = run.GetFlushNeeded();
    });
}
