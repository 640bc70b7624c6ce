#include "src/icmd/files/IcmdLibraryFiles.h"

#include "icmd/IcmdBase.h"
#include "icmd/IcmdDoCommand.h"
#include "icmd/design/IcmdSetRoot.h"
#include "icmd/files/IcmdAddFileToModel.h"
#include "ievent/IeventClasses.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDeletedModuleInfo.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelRemoveModules.h"
#include "imodel/design/ImodelRoot.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/UtlAscii.h>

#include <boost/make_shared.hpp>

std::vector<IcmdLibraryFile> IcmdGetHdlFiles()
{
    std::vector<IcmdLibraryFile> files;
    if (IfileManager* manager = Imodel::GetInstance().GetFileManager())
        manager->GetFilesOfSpecificType(zorpaFT_HDL, files, 0, nullptr);
    return files;
}

bool IcmdIsOnDisk(const IfileObjectEx& file) { return ImodelDoesFileExist(file.GetFullFileName().GetString()); }

bool IcmdCheckLibraryName(const std::string& name)
{
    if (!IfileCheckStorableName(name, "library")) return false;
    // The project file's reader trims the name of a library's block: a
    // blank at either end would leave the library's settings behind.
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool trimmed = name.empty() || (!blank(name.front()) && !blank(name.back()));
    // A unit is named name::library[::package]: "::" in a library's name
    // would read back as another library and a package.
    if (trimmed && name.find("::") == std::string::npos && IfileIsStorableLibraryName(name)) return true;
    ImodelDisplayINVALID_LIBRARY_NAME_MSG(name.c_str());
    return false;
}

std::vector<IcmdLibraryFile> IcmdMoveFilesOfLibrary(const std::vector<IcmdLibraryFile>& files,
                                                    const std::string& library, const std::string& newLibrary,
                                                    IcmdUnitsFollowTheirFiles* units)
{
    std::vector<IcmdLibraryFile> moved;
    for (const IcmdLibraryFile& file : files) {
        // The design finds a library whatever the case of its name, and a
        // file may carry the name in the case it was typed in: the file
        // belongs to the library all the same and must not be left behind.
        if (!file || !UtlIsSameNoCase(file->GetLibraryName(), library)) continue;
        IcmdBase::NotifyEvent(boost::make_shared<IeventFilePreRemove>(file));
        if (units) units->Keep(file);
        std::vector<VyIfaces::IComponent*> components;
        ImodelRemoveModulesOfFile(file, nullptr, true, false, false, &components, nullptr);
        IcmdBase::NotifyEvent(boost::make_shared<IeventFilePostRemove>(file));
        file->SetLibraryName(newLibrary);
        moved.push_back(file);
    }
    return moved;
}

AcmdEnum::Result IcmdParseFilesAgain(const std::vector<IcmdLibraryFile>& files)
{
    AcmdEnum::Result result = AcmdEnum::Success;
    for (const IcmdLibraryFile& file : files) {
        auto command = std::make_unique<IcmdAddFileToModel>();
        command->SetFile(*file);
        command->SetUpdateFileManager(false);
        command->SetParseTheFile(true);
        // One file that does not parse leaves the others to be parsed all
        // the same: stopping would leave them out of the design.
        bool parsed = IcmdDoCommand(std::move(command), false);
        // Its units went with the library change and cannot come back: the
        // member stays, and the user learns why the command failed.
        if (!IcmdIsOnDisk(*file)) {
            ImodelDisplayLIBRARY_FILE_NOT_READ_MSG(file->GetFullFileName().c_str(), file->GetLibraryName().c_str());
            parsed = false;
        }
        if (!parsed && result == AcmdEnum::Success) result = AcmdEnum::Failure;
    }
    return result;
}

IcmdUnitsFollowTheirFiles::IcmdUnitsFollowTheirFiles() : m_kept(boost::make_shared<ImodelModule::UnitSet>())
{
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    if (const ImodelModule* root = design.GetRootModule()) {
        m_root = design.GetRootId();
        m_rootFile = root->GetModuleFile();
    }
}

void IcmdUnitsFollowTheirFiles::Keep(const IcmdLibraryFile& file)
{
    if (!file) return;
    ImodelKeepCopiesOfUnitsOfFile(file, m_kept);
    if (m_rootFile && *file == *m_rootFile) m_rootKept = true;
}

void IcmdUnitsFollowTheirFiles::GiveBack(const std::string& library) const
{
    const ImodelDesignManager::LibraryPtr target = Imodel::GetInstance().GetDesignManager()->FindLibraryByName(library);
    if (!target) return;
    // Each kept unit finds the unit of its name and file.
    ImodelDuplicateSubModuleInfo(m_kept, target->GetModules(), false, zorpaSaveRestoreParams{true, true, false});
    if (!m_rootKept) return;
    const VyIfaces::ComponentID moved(m_root.name, target->GetName(), m_root.package);
    const ImodelModule* unit = ImodelFindModule(moved);
    const IcmdLibraryFile file = unit ? unit->GetModuleFile() : IcmdLibraryFile();
    // The file may come back as another entry of the same name.
    if (ImodelCanBeRoot(unit) && file && *file == *m_rootFile &&
        Imodel::GetInstance().GetDesignManager()->GetRootId() != moved)
        IcmdDoSetRoot(false, moved);
}

IcmdLibraryParseScope::IcmdLibraryParseScope()
    : m_processBlocked(Imodel::BlockProcessDisplay(true, true)),
      m_hierarchyBlocked(Imodel::BlockDesignHierarchyDisplay(true, true)),
      m_reading(Imodel::GetIsReadingProject(), true)
{
}

IcmdLibraryParseScope::~IcmdLibraryParseScope()
{
    Imodel::BlockDesignHierarchyDisplay(m_hierarchyBlocked, true);
    Imodel::BlockProcessDisplay(m_processBlocked, true);
}
