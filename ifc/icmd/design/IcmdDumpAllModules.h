// dump_all_modules: the design units of the HDL libraries, for scripts.
//
//   dump_all_modules [-file <path>] [-library <name>] [-tree <bool>] [-verbose]
//
// Without -library every library of the design, in order, under a line
// "Library: <name>"; with it only that library (found without regard to
// case), without the header; a name no library has fails the command and
// dumps nothing. Flat: one line per unit of the library, in the library's
// order; with -verbose each unit's parents, four blanks in, then
// "    ------", then its sub-units. With -tree the library's top-level units
// as a hierarchy (ImodelDumpTree), indented by three blanks per level.
#pragma once

#include <foundation/AcmdParam.h>
#include <ulv/TclcmdDumpBaseCmd.h>

#include <boost/shared_ptr.hpp>

#include <memory>
#include <string>

class ImodelModule;
template <class T>
class ZorpaLibrary;

class IcmdDumpAllModules : public TclcmdDumpBaseCmd {
public:
    IcmdDumpAllModules();
    ~IcmdDumpAllModules() override;

    std::string GetName() const override { return "dump_all_modules"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdDumpAllModules>(); }
    AcmdEnum::Result DoDump(std::ostream& out) override;

    // Always 0.
    int SetLibraryName(std::string name);
    std::string GetLibraryName() const { return m_library.GetObject(); }

private:
    void DumpLibrary(std::ostream& out, const boost::shared_ptr<ZorpaLibrary<ImodelModule*>>& library) const;

    AcmdStringParam m_library;
    AcmdBoolParam m_tree;
};
