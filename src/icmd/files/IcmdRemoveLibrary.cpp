#include "icmd/files/IcmdRemoveLibrary.h"

#include "icmd/design/IcmdSetRoot.h"
#include "ievent/IeventClasses.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelDestroyLib.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelRoot.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/imodelUtl.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "src/icmd/files/IcmdLibraryFiles.h"

#include <boost/make_shared.hpp>

IcmdRemoveLibrary::IcmdRemoveLibrary()
    : IcmdBase(false), m_library("library", this, AcmdValueType::Single(), true, "library name", "work", false)
{
}

IcmdRemoveLibrary::~IcmdRemoveLibrary() = default;

int IcmdRemoveLibrary::SetLibraryName(std::string name)
{
    m_library.SetObject(std::move(name));
    return 0;
}

AcmdEnum::Result IcmdRemoveLibrary::execDo()
{
    const std::string name = m_library.GetObject();
    if (name.empty() || name == "work") return AcmdEnum::Failure;
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    const ImodelDesignManager::LibraryPtr library = design.FindLibraryByName(name);
    // Found whatever the case of its name: "WORK" is "work", which stays.
    if (!library || ImodelIsSameStrNoCase(library->GetName(), "work")) return AcmdEnum::Failure;
    const std::string actual = library->GetName();
    NotifyEvent(boost::make_shared<IeventLibraryRemoved>(actual));
    IcmdUnitsFollowTheirFiles units;
    AcmdEnum::Result result = AcmdEnum::Success;
    {
        const IcmdLibraryParseScope scope;
        const std::vector<IcmdLibraryFile> files = IcmdGetHdlFiles();
        IcmdMoveFilesOfLibrary(files, actual, "work", &units);
        design.EraseLibrary(actual);
        ImodelDestroyLib(library);
        design.SetNeedSave(true);
        // A file may use units of the library that is gone: every file is parsed again.
        result = IcmdParseFilesAgain(files);
    }
    units.GiveBack("work");
    // A root that went with the library and did not come back in "work"
    // (its file now defines a unit another file of "work" defines first)
    // leaves no root: one is chosen afresh, as an open of the saved project
    // chooses one.
    const VyIfaces::ComponentID root = design.GetRootId();
    if (root.IsDefault() || !ImodelCanBeRoot(ImodelFindModule(root))) IcmdSetRootAgain();
    // The parse ran as a read of the project, so the flow did not work out
    // the stimulus steps of the units parsed again in their own library
    // (their stimulus came back without their views' states): it works
    // them out now for every unit, as an open of the saved project does.
    if (QuorlaneStateMachine* flow = Imodel::GetInstance().GetStateMachine()) flow->UpdateFileDependentStates();
    return result;
}
