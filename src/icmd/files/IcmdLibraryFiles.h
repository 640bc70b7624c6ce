// What remove_library and rename_library share: the HDL files of a library
// leave the design and take another library, and files are parsed again
// with the displays held back and the model reading.
#pragma once

#include "imodel/design/ImodelModule.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"

#include <foundation/AcmdEnum.h>
#include <vy/ComponentID.h>

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

class IfileObjectEx;

using IcmdLibraryFile = boost::shared_ptr<IfileObjectEx>;
class IcmdUnitsFollowTheirFiles;

// Whether a new library may take the name: a name with a double quote or a
// line end is refused as any name the project cannot hold
// (INVALID_NAME_CHAR); one its list of libraries or a unit's name would
// read back as something else ("LIST ...", "::", a blank at either end)
// with INVALID_LIBRARY_NAME. Answers false after the message.
bool IcmdCheckLibraryName(const std::string& name);

// Whether the member's file is on disk, where a parse can read it.
bool IcmdIsOnDisk(const IfileObjectEx& file);

// Every HDL file of the project, of every view, in the file manager's order.
std::vector<IcmdLibraryFile> IcmdGetHdlFiles();
// Each file of `files` whose library is `library` (letter case aside, as the
// design finds libraries) leaves the design
// (IeventFilePreRemove, its units removed, IeventFilePostRemove) and takes
// `newLibrary`; answers those files, in order. Their units' data goes to
// `units` (may be null) first.
std::vector<IcmdLibraryFile> IcmdMoveFilesOfLibrary(const std::vector<IcmdLibraryFile>& files,
                                                    const std::string& library, const std::string& newLibrary,
                                                    IcmdUnitsFollowTheirFiles* units);
// Adds each file again through add_file, parsed; every file is parsed even
// after a failure. A file missing on disk is told (its units could not be
// read again), and fails. The first result other than 0, else 0.
AcmdEnum::Result IcmdParseFilesAgain(const std::vector<IcmdLibraryFile>& files);

// The units of files that move to another library, which their parse there
// makes anew: each file's units are kept before they leave (Keep), and once
// the files are parsed in `library` the units of the same names and files
// take the data the old ones held (stimulus, constraint and customized
// lists, options, view states), as a refresh gives it back; a root among
// them stays the root there (GiveBack).
class IcmdUnitsFollowTheirFiles {
public:
    IcmdUnitsFollowTheirFiles();
    void Keep(const IcmdLibraryFile& file);
    void GiveBack(const std::string& library) const;

private:
    boost::shared_ptr<ImodelModule::UnitSet> m_kept;
    VyIfaces::ComponentID m_root;
    IcmdLibraryFile m_rootFile;
    bool m_rootKept = false;
};

// Holds the process and design-hierarchy displays back and sets the model's
// reading-project flag for its lifetime; gives back what was there before.
class IcmdLibraryParseScope {
public:
    IcmdLibraryParseScope();
    ~IcmdLibraryParseScope();
    IcmdLibraryParseScope(const IcmdLibraryParseScope&) = delete;
    IcmdLibraryParseScope& operator=(const IcmdLibraryParseScope&) = delete;

private:
    bool m_processBlocked;
    bool m_hierarchyBlocked;
    ImodelSetAndRestoreModelFlagObject m_reading;
};
