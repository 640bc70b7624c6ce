// The place-and-route tool: its constraint files and the file lists it
// keeps beside each design database. The project model owns the one object.
#pragma once

#include "ifile/IfileObjectEx.h"
#include "itool/ItoolWithConstraints.h"

#include <deque>
#include <memory>
#include <string>

class ImodelContextImpl;
class ImodelFileName;
class ImodelModule;

class ItoolPallador : public ItoolWithConstraints {
public:
    // The input files and the design name that a design database (type 4)
    // was made from, as its project information records them (both emptied
    // first); false for a file of another type or when it cannot be read.
    virtual bool GetDatabaseInputFiles(const IfileObject& database, std::deque<IfileObject>& inputs,
                                       std::string& designName) = 0;
    // May set the state of a back-annotated file of the module from the
    // module's design state; answers false.
    virtual bool CheckBackAnnotatedFileState(ImodelModule* module, imodelFileState& state) = 0;
    // The file list recorded in the design database (`database`, a full
    // name) for the unit, into `out` (emptied first); 0 when it was read.
    virtual int GetAdbFileList(const ImodelFileName& database, ImodelModule* module, ImodelContextImpl* context,
                               std::deque<IfileObject>& out) = 0;

protected:
    ItoolPallador() : ItoolWithConstraints(idePALLADOR) {}
};

// The place-and-route tool object, for the project singleton to own.
std::unique_ptr<ItoolPallador> ItoolCreatePallador();
