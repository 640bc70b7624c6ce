// What the organize commands do alike with their lists of files: a file is
// known by its file-name key, since a tool may hand out entries of its own
// for the project's files; a list holds each file once; a list that changed
// what a tool receives is told to the design flow.
#pragma once

#include "icmd/organize/IcmdOrganizeFilesBase.h"
#include "ifile/IfileObject.h"
#include "imodel/names/ImodelToolKinds.h"

#include <deque>
#include <string>
#include <unordered_set>

class IfileManager;
class Imodel;
class ImodelDesignManager;
class ImodelModule;

namespace icmdOrganizeLists {

using Entry = IcmdOrganizeFilesBase::Entry;
using Entries = IcmdOrganizeFilesBase::Entries;

Imodel& Model();
IfileManager& Files();
ImodelDesignManager& Design();

// The file-name key of the file: two entries with equal keys name one file.
std::string KeyOf(const Entry& file);
// The keys of the files of a list; empty entries left out.
std::unordered_set<std::string> KeysOf(const Entries& files);
// Each file once, at its first place; empty entries left out.
Entries Unique(const Entries& files);
// The files as the model's plain values.
std::deque<IfileObject> SimpleObjects(const Entries& files);

// What a refusal names as the target of the module's lists.
std::string ModuleNameOrThisModule(const ImodelModule* module);
// The design flow hears that the tool's inputs changed for the module.
void ToolInputsChanged(ImodelFunctionType tool, ImodelModule* module);

}  // namespace icmdOrganizeLists
