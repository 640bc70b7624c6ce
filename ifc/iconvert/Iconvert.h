// A converter of projects written by older versions. While such a project
// is opened, the project reader hands the active converters to every reader
// of project-file lines, which asks each of them in order; an empty list
// means the project needs no conversion.
#pragma once

#include "imodel/names/ImodelFileTypes.h"

#include <string>

class IfileObject;
class ImodelFileName;

class Iconvert {
public:
    virtual ~Iconvert() = default;

    // Whether the file of a project-file line is to be read at all.
    virtual bool FileNeedsImport(const std::string& line) = 0;
    // Told of every file line read, with its name and type keyword, before
    // the keyword is translated; may change both.
    virtual void FoundNewProjectFile(ImodelFileName& name, std::string& keyword) = 0;
    // Translates a type keyword of an older version; true when it did.
    virtual bool IsOldStrType(const std::string& keyword, zorpaFileManagerTypes& type) = 0;
    // May rename a file value read from the project file (a file the
    // conversion moved).
    virtual void ConvertObjectFromProjectFile(IfileObject& file) = 0;

protected:
    Iconvert() = default;
    Iconvert(const Iconvert&) = default;
    Iconvert& operator=(const Iconvert&) = default;
};
