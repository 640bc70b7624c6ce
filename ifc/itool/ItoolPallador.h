// The place-and-route tool: its constraint files and the file lists it
// keeps beside each design database. The project model owns the one object.
#pragma once

#include "itool/ItoolWithConstraints.h"

class ItoolPallador : public ItoolWithConstraints {
protected:
    ItoolPallador() : ItoolWithConstraints(idePALLADOR) {}
};
