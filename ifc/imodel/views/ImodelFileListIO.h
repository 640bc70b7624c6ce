// The file lists of older project files inside a module's state block
// ("LIST Files Out Of Date", "LIST Files Up To Date"): one file name a line,
// up to "ENDLIST". Older projects named files by their names alone, so a
// name read may be given the spelling of a file the project knows.
#pragma once

#include "imodel/names/ImodelFileName.h"
#include "imodel/names/ImodelFileTypes.h"

#include <ostream>
#include <string>
#include <utility>
#include <vector>

// (file name, file type) pairs: the files a project file names.
using ImodelFileTypeList = std::vector<std::pair<ImodelFileName, zorpaFileManagerTypes>>;

// Reads one list whose "LIST" line was already taken: names are taken from
// the front of `lines` up to the line that begins with "ENDLIST" (taken as
// well), or up to a line that opens another block ("LIST ", left in place),
// or the end of `lines`.
// With `matchNames`, each name is looked up in `knownNames`, then, when it
// is not there, in `otherNames`: a name the list holds exactly stays as it
// is; otherwise a name it holds in another letter case takes that spelling
// (the last such entry). When `out` is given, the names are appended to it.
void ImodelReadFileList(std::vector<std::string>& lines, const ImodelFileTypeList& knownNames,
                        const ImodelFileTypeList& otherNames, bool matchNames, std::vector<std::string>* out);

// With a stream and a non-empty list: "LIST " + name, one VALUE line per
// file name, "ENDLIST"; otherwise nothing.
void ImodelWriteFileList(std::ostream* stream, const std::vector<ImodelFileName>* names, const std::string& name);
