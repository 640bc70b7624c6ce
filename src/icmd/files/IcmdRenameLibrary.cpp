#include "icmd/files/IcmdRenameLibrary.h"

#include "ievent/IeventClasses.h"
#include "ifile/IfileFunctions.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/imodelUtl.h"
#include "src/icmd/files/IcmdLibraryFiles.h"

#include <boost/make_shared.hpp>

IcmdRenameLibrary::IcmdRenameLibrary()
    : IcmdBase(false), m_library("library", this, AcmdValueType::Single(), true, "old library name", "work", false),
      m_name("name", this, AcmdValueType::Single(), true, "new library name", "work", false)
{
}

IcmdRenameLibrary::~IcmdRenameLibrary() = default;

int IcmdRenameLibrary::SetLibraryName(std::string name)
{
    m_library.SetObject(std::move(name));
    return 0;
}

int IcmdRenameLibrary::SetNewName(std::string name)
{
    m_name.SetObject(std::move(name));
    return 0;
}

AcmdEnum::Result IcmdRenameLibrary::execDo()
{
    const std::string oldName = m_library.GetObject();
    const std::string newName = m_name.GetObject();
    if (oldName.empty() || oldName == "work" || newName.empty() || newName == "work" || oldName == newName)
        return AcmdEnum::Failure;
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    const ImodelDesignManager::LibraryPtr library = design.FindLibraryByName(oldName);
    // Library names ignore letter case: a new name that differs only in
    // case names the same library, and "WORK" is "work", which keeps its name.
    if (!library || ImodelIsSameStrNoCase(library->GetName(), "work") || design.FindLibraryByName(newName))
        return AcmdEnum::Failure;
    if (!IcmdCheckLibraryName(newName)) return AcmdEnum::Failure;
    const std::string actual = library->GetName();
    NotifyEvent(boost::make_shared<IeventLibraryRemoved>(actual));
    IcmdUnitsFollowTheirFiles units;
    const std::vector<IcmdLibraryFile> moved = IcmdMoveFilesOfLibrary(IcmdGetHdlFiles(), actual, newName, &units);
    design.RenameLibrary(actual, newName);
    design.SetNeedSave(true);
    AcmdEnum::Result result = AcmdEnum::Success;
    {
        const IcmdLibraryParseScope scope;
        result = IcmdParseFilesAgain(moved);
    }
    units.GiveBack(newName);
    return result;
}
