// add_library: makes an empty HDL library.
//
//   add_library -library <name>
//
// "work" is always there and may not be made; an empty name fails too. A
// library that exists already (in any letter case) is left as it is.
#pragma once

#include "icmd/IcmdBase.h"

#include <foundation/AcmdParam.h>

#include <memory>
#include <string>

class IcmdAddLibrary : public IcmdBase {
public:
    IcmdAddLibrary();
    ~IcmdAddLibrary() override;

    std::string GetName() const override { return "add_library"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdAddLibrary>(); }
    // 1 for an empty name or "work"; else 0, the new library announced
    // (IeventLibraryAdded) and the project marked as changed.
    AcmdEnum::Result execDo() override;

    int SetLibraryName(std::string name);

private:
    AcmdStringParam m_library;
};

// add_library in process; true when it succeeded.
bool IcmdDoAddLibrary(bool keep, const std::string& name);
