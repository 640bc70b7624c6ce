// add_file_to_library: moves project files into an HDL library.
//
//   add_file_to_library -library <name> -file {<path> ...}
//
// A file whose library has another name (letter case aside) leaves the
// design, takes the library's name and is parsed again in it; the library is
// made when missing. A file of a block-design core stays where it is
// ("UNABLE_TO_MOVE_CORE", once a run).
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdTCLFileArg.h"

#include <foundation/AcmdParam.h>

#include <boost/shared_ptr.hpp>

#include <memory>
#include <string>
#include <vector>

class IfileObjectEx;

class IcmdAddFileToLibrary : public IcmdBase {
public:
    IcmdAddFileToLibrary();
    ~IcmdAddFileToLibrary() override;

    std::string GetName() const override { return "add_file_to_library"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdAddFileToLibrary>(); }
    // 1 for an empty library name; else 0, whatever the single moves gave.
    AcmdEnum::Result execDo() override;

    int SetLibraryName(std::string name);
    void SetFileObjects(const std::vector<boost::shared_ptr<IfileObjectEx>>& files);
    // Parses the file on its own (parse_file), directly.
    static AcmdEnum::Result doParseFile(const boost::shared_ptr<IfileObjectEx>& file);

private:
    AcmdStringParam m_library;
    IcmdTCLFileArg m_file;
};
