// The place-and-route tool: its constraint files and the file lists it
// keeps beside each design database. The project model owns the one object.
#pragma once

#include "itool/ItoolWithConstraints.h"
#include <memory>

class ItoolPallador : public ItoolWithConstraints {
protected:
    ItoolPallador() : ItoolWithConstraints(idePALLADOR) {}
};

// The place-and-route tool object, for the project singleton to own.
std::unique_ptr<ItoolPallador> ItoolCreatePallador();
