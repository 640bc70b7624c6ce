// The questions the readers of an older project file put to every converter
// of the open: a walk stops at the first converter that says no, and an
// empty list says yes.
#pragma once

#include <string>
#include <vector>

class Iconvert;
class ImodelFileName;
class ImodelProjectFileStructure;

// Whether a file named by an older file-group list is added to the project.
bool IconvertOldFileManagerFileNeedsImport(const std::vector<Iconvert*>& converters, const ImodelFileName& name,
                                           int type);
// Whether an older file-group list of the project file is read at all.
bool IconvertOldFileGroupNeedsImport(const std::vector<Iconvert*>& converters, const std::string& group, int type,
                                     ImodelProjectFileStructure& project);
