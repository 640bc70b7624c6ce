// create_core: makes a user core of the project with the core packager, an
// outside tool of the suite. The command writes a Tcl script for the
// packager and runs the packager on it:
//
//   create_core                 the root design: a new empty core named
//                               after the root module, its language, its
//                               ports, HDL sources, stimulus files and the
//                               constraint files of its place-and-route
//                               database
//   create_core -file <path>    a core from that core description file,
//                               with the block-design sub-components of a
//                               block design when PACK_ENTIRE_VY_ALLOWED is set
//
// The packager is IDE_PACKAGER_LOC/IDE_PACKAGER_NAME, started in the
// temporary folder as
//   <loc>/<name> "SCRIPT:<script>" IDE_RUNS_PACKAGER:1 <options>
// with IDE_PACKAGER_OPT (interactive) or IDE_PACKAGER_OPT_BATCH. The script
// is a private file of the temporary folder, removed once the packager
// ended. Each value of the script is one Tcl word in double quotes, so a
// path holding "[", "$", "\" or a double quote stays as it is. The command
// changes nothing in the project: the core description is named for the
// packager only, so it may lie anywhere, under any name the system holds.
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdTCLFilePathArg.h"

#include <boost/shared_ptr.hpp>

#include <memory>
#include <ostream>
#include <string>

class IfileObject;
class IfileObjectEx;
class ImodelModule;

class IcmdCreateCore : public IcmdBase {
public:
    IcmdCreateCore();
    ~IcmdCreateCore() override;

    std::string GetName() const override { return "create_core"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdCreateCore>(); }
    // Writes the script and runs the packager: 0 when it ran and ended
    // well. No packager is started when the script cannot be written.
    AcmdEnum::Result execDo() override;

    // The core description file; none: the root design.
    void SetFileObject(const IfileObject& file);
    void SetFileObject(boost::shared_ptr<IfileObjectEx> file);

    // The script for the command's argument, as the packager gets it.
    std::string GetScript();
    // A value as the script writes it: one Tcl word in double quotes, with
    // "\", "$", "[", "]" and double quotes escaped, and line ends written
    // as \n and \r.
    static std::string QuoteValue(const std::string& value);

private:
    void addCoreCreation(std::ostream& out);
    void addPorts(std::ostream& out);
    void addSourceFiles(std::ostream& out);
    void addAssociatedFiles(std::ostream& out);
    void addPalladorConstraintFiles(std::ostream& out);
    // One add_sub_component line per unit below `module` (not itself) whose
    // block-design component is not an HDL component, the deepest first;
    // a unit met again is written once.
    void addSubCXFFiles(ImodelModule* module, std::ostream& out);

    IcmdTCLFilePathArg m_file;
};
