// Reaching the core-tool manager of a kind of core, and telling whether a
// file belongs to a core. The managers are the process-wide model's, taken
// in the order they were added; a manager whose tool is hidden in the
// project is left alone.
#pragma once

#include "imodel/names/ImodelFileTypes.h"

class IfileObject;
class IfileObjectEx;
class Imodel;
class QuorlaneCoreToolManager;

// The model's manager of the core type (34 is served by 33's) unless its
// tool is hidden; null otherwise.
QuorlaneCoreToolManager* ItoolGetActiveCoreTool(zorpaFileManagerTypes coreType, Imodel& model);
// Every manager whose tool is not hidden brings its databases to the
// current device.
void ItoolUpdateAllCoreTools();
// Whether the file descends from a core file: the first manager whose core
// type is among the file's ancestors (parents' parents included) gives its
// type in `coreType`.
bool ItoolIsCoreSubFile(const IfileObjectEx& file, zorpaFileManagerTypes& coreType);
// Whether the file is itself a core file of some manager; false for null.
bool ItoolIsMainCoreFile(const IfileObject* file);
