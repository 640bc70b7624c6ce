#include "icmd/files/IcmdAddFileToLibrary.h"

#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/files/IcmdDeleteFilesFromModel.h"
#include "icmd/scan/IcmdParseFile.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelMessages.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "itool/ItoolVeyrun.h"
#include "src/icmd/files/IcmdLibraryFiles.h"

#include <foundation/UtlAscii.h>

namespace {

// The block-design component the file belongs to: that of its topmost
// parent file, else, for a core generator's description, the one it defines.
VyIfaces::IComponent* ComponentOf(const IfileObjectEx& file)
{
    if (const boost::shared_ptr<IfileObjectEx> top = file.GetSingleTopLevelParentFileObject())
        if (VyIfaces::IComponent* component = ItoolVeyrun::FindSingleComponentFromDefFile(*top)) return component;
    if (file.GetFileSpecificType() == zorpaFT_OMBRIX_CXF) return ItoolVeyrun::FindSingleComponentFromDefFile(file);
    return nullptr;
}

}  // namespace

IcmdAddFileToLibrary::IcmdAddFileToLibrary()
    : IcmdBase(false), m_library("library", this, AcmdValueType::Single(), true, "library name", "work", false),
      m_file(this, true, true, true, Imodel::GetInstance().IsLinkingEnabled())
{
}

IcmdAddFileToLibrary::~IcmdAddFileToLibrary() = default;

int IcmdAddFileToLibrary::SetLibraryName(std::string name)
{
    m_library.SetObject(std::move(name));
    return 0;
}

void IcmdAddFileToLibrary::SetFileObjects(const std::vector<boost::shared_ptr<IfileObjectEx>>& files)
{
    m_file.SetFileObjects(files);
}

AcmdEnum::Result IcmdAddFileToLibrary::doParseFile(const boost::shared_ptr<IfileObjectEx>& file)
{
    IcmdParseFile parse;
    parse.SetFile(file);
    return parse.execDo();
}

AcmdEnum::Result IcmdAddFileToLibrary::execDo()
{
    const std::string library = m_library.GetObject();
    if (library.empty()) return AcmdEnum::Failure;
    // Checked before any file leaves the design for it.
    if (!IcmdCheckLibraryName(library)) return AcmdEnum::Failure;
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    bool coreTold = false;
    IcmdUnitsFollowTheirFiles units;
    std::vector<VyIfaces::IComponent*> components;
    for (const boost::shared_ptr<IfileObjectEx>& file : m_file.GetObjects()) {
        if (!file) continue;
        if (const VyIfaces::IComponent* component = ComponentOf(*file)) {
            // A core's files keep the library the core gave them.
            if (!coreTold) ImodelDisplayUNABLE_TO_MOVE_CORE_MSG(component->GetComponentID().name.c_str());
            coreTold = true;
            continue;
        }
        if (UtlIsSameNoCase(file->GetLibraryName(), library)) continue;
        if (design.FindLibraryByName(file->GetLibraryName())) {
            units.Keep(file);
            IcmdDoDeleteFileFromModel(file, true, true, true, &components);
        }
        file->SetLibraryName(library);
        IcmdDoAddFileToModel(*file, true, true, false, nullptr, nullptr, true, nullptr, true, true, &components);
        components.clear();
    }
    units.GiveBack(library);
    // The units parsed again in their new library took their former
    // states along; the flow works out their file-dependent states, as an
    // open of the saved project does.
    if (QuorlaneStateMachine* flow = Imodel::GetInstance().GetStateMachine()) flow->UpdateFileDependentStates();
    return AcmdEnum::Success;
}
