// use_source_file: the project file that defines a unit that several files
// define.
//
//   use_source_file -file <path> -module <unit>
//
// The file is parsed again as the unit's definition and the file used so far
// is marked as defining a unit already defined (error kind 2).
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdTCLFileArg.h"

#include <foundation/AcmdParam.h>

#include <boost/shared_ptr.hpp>

#include <memory>
#include <string>

class IfileObject;
class IfileObjectEx;

class IcmdUseSourceFile : public IcmdBase {
public:
    IcmdUseSourceFile();
    ~IcmdUseSourceFile() override;

    std::string GetName() const override { return "use_source_file"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdUseSourceFile>(); }
    // Fails without a unit name or a file (no message), and for a file that
    // does not define the unit ("MODULE_NOT_DEFINED").
    AcmdEnum::Result execDo() override;

    void SetFileObject(const IfileObject& file);
    void SetFileObject(boost::shared_ptr<IfileObjectEx> file);
    void SetModuleName(const std::string& name);
    // Whether add_file updates the file manager, and whether the design's
    // libraries are saved and restored around the change.
    void SetBoolParams(bool updateFileManager, bool keepLibraries);

private:
    IcmdTCLFileArg m_file;
    AcmdStringParam m_module;
    bool m_updateFileManager = true;
    bool m_keepLibraries = true;
};

// use_source_file in process. True when it succeeded.
bool IcmdDoUseDefinition(bool keep, const IfileObject& file, const std::string& moduleName, bool updateFileManager,
                         bool keepLibraries);
bool IcmdDoUseDefinition(bool keep, boost::shared_ptr<IfileObjectEx> file, const std::string& moduleName,
                         bool updateFileManager, bool keepLibraries);
