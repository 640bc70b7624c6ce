// Which design units may name a file in the lists a renamed file is
// replaced in: kept up to date as the units' lists change, so that a file
// renamed or changed is looked for in the few units concerned rather than
// in every unit of the design. The units a file entry defines come from the
// libraries' own index of units by file.
#pragma once

#include <string>
#include <vector>

class ImodelModule;
class IfileObject;
class IfileObjectEx;

class imodelUnitFileIndex {
public:
    // Told by a unit whose lists or file may change (ImodelModule::ListsMayChange):
    // it is looked at again when the index is next asked.
    static void Touch(ImodelModule& unit);
    // Told by a unit the index heard of when it goes, whatever thread it goes on.
    static void Gone(ImodelModule& unit);
    // The key a file is filed under: its last name part in upper case (every
    // name of the same file has it, under any project folder). Units that
    // name another file of that last part are found too; callers check.
    static std::string NameKey(const IfileObject& file);
    // ImodelUnitsNamingFiles.
    static std::vector<ImodelModule*> Find(const std::vector<IfileObject>& files, const IfileObjectEx* defining,
                                           bool anyPhySynthList);
};
