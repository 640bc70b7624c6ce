// Netlist worlds of the netlist database: named containers that the HDL and
// netlist readers fill with designs. The database owns its worlds; callers
// hold a world by its handle until they delete it.
#pragma once

#include <string>

class NdbWorld;

// A new, empty world named `name` (null is taken as ""); never null.
NdbWorld* NdbCreateDefaultWorld(const char* name);
// Deletes the world with everything in it; the handle is invalid
// afterwards. Null, or a handle that names no world, is ignored.
void NdbDelAll(NdbWorld* world);
// The world's name; "" for a handle that names no world.
std::string NdbGetWorldName(const NdbWorld* world);
// The number of worlds alive.
int NdbGetWorldCount();

// Frees the cell library that the database read for its worlds
// (CvlLibrary.h); the next question reads it again.
void CvlLibFree();
