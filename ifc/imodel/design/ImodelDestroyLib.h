// Emptying design libraries: their units are deleted (each unlinked from
// the units that stay) and their top-level lists dropped; a library object
// itself goes with the last shared pointer to it.
#pragma once

#include <zorpa/ZorpaLibrary.h>

#include <boost/shared_ptr.hpp>

#include <deque>

class ImodelModule;

// Nothing for null.
void ImodelDestroyLib(boost::shared_ptr<ZorpaLibrary<ImodelModule*>> library);
// Every library in order, then the list is emptied.
void ImodelDestroyLibs(std::deque<boost::shared_ptr<ZorpaLibrary<ImodelModule*>>>& libraries);
