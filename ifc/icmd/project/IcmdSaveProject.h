// save_project: writes the open project's file whole. A save that fails
// leaves the old file as it was and the project open.
//
//   save_project
#pragma once

#include "icmd/IcmdBase.h"

#include <memory>
#include <string>
#include <vector>

class IcmdSaveProject : public IcmdBase {
public:
    IcmdSaveProject() : IcmdBase(false) {}

    std::string GetName() const override { return "save_project"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdSaveProject>(); }
    AcmdEnum::Result execDo() override;
    // Written as the files open in editors instead of what the host reports
    // (borrowed until the run ends).
    void SetOpenedFiles(std::vector<std::string>* files) { m_openedFiles = files; }

private:
    std::vector<std::string>* m_openedFiles = nullptr;
};

// Saves the open project; `openedFiles`, when given, is written as the
// files open in editors instead of what the host reports. True when it
// succeeded (kept in the command history with `keep`).
bool IcmdDoSaveProject(bool keep, std::vector<std::string>* openedFiles);
