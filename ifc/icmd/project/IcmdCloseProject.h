// close_project: closes the open project, saving it first unless told not to.
//
//   close_project [-save <bool>]
//
// The host closes its editors first; a project that could not be saved
// stays open. The model goes back to no project and the views hear
// IeventProjectClosed.
#pragma once

#include "icmd/IcmdBase.h"

#include <foundation/AcmdParam.h>

#include <memory>
#include <string>

class IcmdCloseProject : public IcmdBase {
public:
    IcmdCloseProject();
    ~IcmdCloseProject() override;

    std::string GetName() const override { return "close_project"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdCloseProject>(); }
    // The close that follows a failed open runs while the project is not
    // open yet.
    bool NeedProjectOpenedToExecute() const override { return m_normalClose; }
    AcmdEnum::Result execDo() override;

    // No save, no message, and the host is told the close is not a normal one.
    void SetCloseBecauseOpenProjectFailed();
    // Empties the model back to no project, without events or messages of its own.
    static void CloseModel();

    AcmdBoolParam save;

private:
    bool m_normalClose = true;
};

// Closes the open project, saving it first unless `openFailed` (the close
// that follows a failed open). True when it succeeded (kept in the command
// history with `keep`).
bool IcmdDoCloseProject(bool keep, bool openFailed);
