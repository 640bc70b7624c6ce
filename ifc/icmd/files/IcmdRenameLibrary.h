// rename_library: gives an HDL library a new name.
//
//   rename_library -library <old name> -name <new name>
//
// Neither name may be empty or "work"; the old library must exist and no
// library may have the new name, letter case aside (a change of case alone
// is refused). The files of the old library take the new name and are
// parsed again.
#pragma once

#include "icmd/IcmdBase.h"

#include <foundation/AcmdParam.h>

#include <memory>
#include <string>

class IcmdRenameLibrary : public IcmdBase {
public:
    IcmdRenameLibrary();
    ~IcmdRenameLibrary() override;

    std::string GetName() const override { return "rename_library"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdRenameLibrary>(); }
    // 1 for a refused name; else the first failure of the moved files' new
    // parse (every one is parsed again all the same), 0 when there was none.
    AcmdEnum::Result execDo() override;

    int SetLibraryName(std::string name);
    int SetNewName(std::string name);
    std::string GetNewName() const { return m_name.GetObject(); }

private:
    AcmdStringParam m_library;
    AcmdStringParam m_name;
};
