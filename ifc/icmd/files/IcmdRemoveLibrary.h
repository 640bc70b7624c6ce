// remove_library: drops an HDL library; its files go back to "work".
//
//   remove_library -library <name>
//
// The library is found whatever the letter case of the name, and so are its
// files: those whose library names it in any case. Every HDL file of the
// project is parsed again afterwards, so that units and hierarchy follow.
#pragma once

#include "icmd/IcmdBase.h"

#include <foundation/AcmdParam.h>

#include <memory>
#include <string>

class IcmdRemoveLibrary : public IcmdBase {
public:
    IcmdRemoveLibrary();
    ~IcmdRemoveLibrary() override;

    std::string GetName() const override { return "remove_library"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdRemoveLibrary>(); }
    // 1 for an empty name, "work" or a library the design does not have;
    // else the first failure of the files' new parse (every file is parsed
    // again all the same), 0 when there was none.
    AcmdEnum::Result execDo() override;

    int SetLibraryName(std::string name);

private:
    AcmdStringParam m_library;
};
