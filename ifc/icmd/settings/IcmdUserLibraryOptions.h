// set_user_lib_options: the path under which the simulator knows one design
// library of the project, and what a simulation does with the library. The
// command may run at any time and sends no event; the next save writes the
// library's section.
#pragma once

#include "imodel/design/ImodelDesignManager.h"

#include <foundation/AcmdBase.h>
#include <foundation/AcmdParam.h>

#include <zorpa/ZorpaLibrary.h>

#include <memory>
#include <string>
#include <vector>

class IcmdUserLibraryOptions : public AcmdBase {
public:
    IcmdUserLibraryOptions();
    ~IcmdUserLibraryOptions() override;

    std::string GetName() const override { return "set_user_lib_options"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdUserLibraryOptions>(); }
    AcmdEnum::Result checkParams() override;
    AcmdEnum::Result execDo() override;

    // What a dialog shows: the path, then the compile option.
    virtual const std::vector<AcmdParam*>& GetDisplayedParams() const { return m_displayed; }
    std::string GetLibraryName() const { return m_name.GetObject(); }
    // Takes name, path and compile option of the library (nothing for null).
    void SetDefaultOptions(const ImodelDesignManager::LibraryPtr& library);
    void SetValues(const std::string& name, const std::string& path, zorpaCompileOption option);

private:
    AcmdStringParam m_name;
    AcmdStringParam m_path;
    AcmdEnumParam<zorpaCompileOption> m_option;
    std::vector<AcmdParam*> m_displayed;
};

// Gives the design library `library` the simulator path `path` (its name
// when empty) and the compile option `option`. True when it succeeded (kept
// in the command history with `keep`).
bool IcmdDoSetUserLibOptions(bool keep, const std::string& library, const std::string& path, zorpaCompileOption option);
