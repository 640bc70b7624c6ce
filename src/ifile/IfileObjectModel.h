// What file values ask of the process-wide model and of the name rules,
// shared by the file-value sources.
#pragma once

#include "ifile/IfileObject.h"
#include "imodel/names/imodelUtl.h"

#include <string>

class IfileManager;

// The project folder; empty when no project location is set.
const ImodelFileName& ifileProjectFolder();
// The model's file manager; null while the model is being built.
IfileManager* ifileFileManager();

// Whether the character separates folders ("\" too, for names read as given).
inline bool ifileIsSeparator(char c) { return c == '/' || c == '\\'; }
// Whether the text begins with the project token "<project>".
bool ifileStartsWithProjectToken(const std::string& name);
// The text after the project token and one separator following it.
std::string ifileStripProjectToken(const std::string& name);
// Whether a name relative to the project folder leads out of it once "."
// and ".." are resolved ("../x", "a/../../x").
bool ifileClimbsOut(const std::string& relative);

// The file-name key of a file value (ImodelFileNameKey of its stored name):
// two values are equal exactly when their keys are. Lets readers find equal
// files in a set instead of comparing every pair.
inline std::string ifileSameFileKey(const IfileObject& file) { return ImodelFileNameKey(file.GetInternalFileName()); }
