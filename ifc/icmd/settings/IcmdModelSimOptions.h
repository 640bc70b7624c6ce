// set_brennic_lib_options: whether the simulator uses the device family's
// default library or a library path of the user's own, for the project
// (and remembered for the family in the user's options). The command may
// run at any time and sends no event.
#pragma once

#include "itool/ItoolModelSimPathOptions.h"

#include <foundation/AcmdBase.h>
#include <foundation/AcmdParam.h>

#include <memory>
#include <string>

class IcmdModelSimOptions : public AcmdBase {
public:
    IcmdModelSimOptions();
    ~IcmdModelSimOptions() override;

    std::string GetName() const override { return "set_brennic_lib_options"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdModelSimOptions>(); }
    AcmdEnum::Result checkParams() override;
    AcmdEnum::Result execDo() override;

    void SetDefaultOptions(const ItoolModelSimPathOptions* options);
    ItoolModelSimPathOptions GetModelSimLibOptions() const;
    std::string GetCustomPath() const { return m_simPath.GetObject(); }
    // Whether the user's options took the choice and need writing out.
    bool GetFlushNeeded() const { return m_flushNeeded; }

private:
    AcmdBoolParam m_useDefaultSimPath;
    AcmdFolderNameParam m_simPath;
    bool m_flushNeeded = false;
};

// Makes the simulator library options those of `options`; `flushNeeded`,
// when given, tells whether the user's options took the choice. True when it
// succeeded (kept in the command history with `keep`).
bool IcmdDoSetModelSimLibOptions(bool keep, const ItoolModelSimPathOptions& options, bool* flushNeeded);
