// is_file_readonly: whether a file is read-only on disk, in the project, or
// both; its result is the read-only state 0 to 3 (1: no write permission on
// disk, 2: marked read-only in the project).
//
//   is_file_readonly -file <path>
//
// A file that is neither in the project nor on disk is refused.
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdTCLFileArg.h"

#include <memory>
#include <string>

class IcmdIsFileReadOnly : public IcmdBase {
public:
    IcmdIsFileReadOnly();
    ~IcmdIsFileReadOnly() override;

    std::string GetName() const override { return "is_file_readonly"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdIsFileReadOnly>(); }
    AcmdEnum::Result execDo() override;

private:
    IcmdTCLFileArg m_file;
};
