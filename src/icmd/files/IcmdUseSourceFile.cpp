// use_source_file: a file made the definition of a unit that several files
// define.
#include "icmd/files/IcmdUseSourceFile.h"

#include "icmd/IcmdDoCommand.h"
#include "icmd/args/IcmdComponentIDText.h"
#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/files/IcmdDeleteFilesFromModel.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelMessages.h"

#include <foundation/Sys.h>
#include <ktwkspace/Workspace.h>
#include <zorpa/ZorpaString.h>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

}  // namespace

IcmdUseSourceFile::IcmdUseSourceFile()
    : IcmdBase(false), m_file(this, true, false, true, Imodel::GetInstance().IsLinkingEnabled()),
      m_module("module", this, AcmdValueType::Single(), true, "module", "", false)
{
}

IcmdUseSourceFile::~IcmdUseSourceFile() = default;

void IcmdUseSourceFile::SetFileObject(const IfileObject& file) { m_file.SetFileObject(file); }

void IcmdUseSourceFile::SetFileObject(boost::shared_ptr<IfileObjectEx> file)
{
    if (file) m_file.SetFileObject(std::move(file));
}

void IcmdUseSourceFile::SetModuleName(const std::string& name) { m_module.SetObject(name); }

void IcmdUseSourceFile::SetBoolParams(bool updateFileManager, bool keepLibraries)
{
    m_updateFileManager = updateFileManager;
    m_keepLibraries = keepLibraries;
}

AcmdEnum::Result IcmdUseSourceFile::execDo()
{
    const std::string name = m_module.GetObject();
    Entry chosen = m_file.GetObject();
    if (name.empty() || !chosen) return AcmdEnum::Failure;
    Imodel& model = Imodel::GetInstance();
    IfileManager& files = *model.GetFileManager();
    IfileGetFileToUseInDH(chosen);
    // A unit named with its library is a unit of that library: a file of
    // another library does not define it (its choice would name a unit the
    // next open does not find).
    if (name.find("::") != std::string::npos) {
        const std::string library = chosen->GetLibraryName().empty() ? std::string("work") : chosen->GetLibraryName();
        if (ZorpaCompareNoCase(IcmdReadComponentID(name).library, library) != 0) {
            ImodelDisplayMODULE_NOT_DEFINED_MSG(chosen->GetFileTitleAndExt().c_str(), name.c_str());
            return AcmdEnum::Failure;
        }
    }
    const Entry standing = IfileGetFileToUseInModel(chosen);
    if (standing && standing->GetModuleAlreadyDefined() != name) {
        ImodelDisplayMODULE_NOT_DEFINED_MSG(chosen->GetFileTitleAndExt().c_str(), name.c_str());
        return AcmdEnum::Failure;
    }
    ImodelDesignManager& design = *model.GetDesignManager();
    const ImodelDesignManager::LibraryPtr library = design.FindLibraryByName(chosen->GetLibraryName());
    const ImodelModule* module = library ? ImodelFindModuleInLib(library, name, zorpaMODULE_UNKNOWN, "") : nullptr;
    Entry current = module ? module->GetModuleFile() : Entry();
    IfileGetFileToUseInDH(current);
    if (current && *current == *chosen) return AcmdEnum::Success;
    // Giving the unit's definition to a file that is not among its
    // definitions would leave the design without the unit. A unit that
    // the file defines in no library, under its name or as
    // "unit::library", has no definition there but a file refused as its
    // duplicate: a unit only instantiated, or defined by other files, would
    // keep a choice that the next open drops.
    const bool elsewhere =
        !current && ImodelFindModuleInAnyLib(IcmdReadComponentID(name).name, chosen->GetFullFileName().GetString());
    if (!standing && !elsewhere && chosen->GetModuleAlreadyDefined() != name) {
        ImodelDisplayMODULE_NOT_DEFINED_MSG(chosen->GetFileTitleAndExt().c_str(), name.c_str());
        return AcmdEnum::Failure;
    }

    const bool wasBlocked = Imodel::BlockDesignHierarchyDisplay(true, true);
    {
        const ImodelSetAndRestoreModelFlagObject noIncorrectFiles(Imodel::GetUpdateIncorrectFiles(), false);
        const auto addChosen = [&] {
            IcmdDoAddFileToModel(*chosen, m_updateFileManager, true, true, nullptr, nullptr, true, nullptr, true, false,
                                 nullptr);
        };
        if (!current) {
            addChosen();
        } else {
            if (m_keepLibraries) model.SaveLibraries();
            IcmdDoDeleteFileFromModel(current, false, false, false, nullptr);
            addChosen();
            IfileObjectEx former(*current);
            former.SetErrorFile(ImodelModuleAlreadyDefined, name);
            files.AddOrUpdateFile(former, true);
            if (m_keepLibraries) model.RestoreLibraries(true, zorpaSaveRestoreParams{false, true, false});
        }
        // The chosen file is the unit's definition, used beside the others:
        // it keeps the unit's name, so that the choice is saved with the
        // project.
        if (const Entry entry = files.GetFile(*chosen)) {
            IfileObjectEx used(*entry);
            used.SetErrorFile(ImodelNoError, name);
            files.AddOrUpdateFile(used, true);
        }
        Ktwkspace::Workspace* workspace = model.GetCurrentWorkspace();
        const std::string chosenName = chosen->GetFullFileName().GetString();
        // Only a unit's HDL or schematic source moves in the workspace: the
        // files shown for a core's unit are core descriptions, each the
        // definition of its own core.
        const auto isSource = [](const Entry& file) {
            const zorpaFileManagerTypes type = file->GetFileSpecificType();
            return type == zorpaFT_HDL || type == zorpaFT_SCH;
        };
        if (workspace && current && isSource(current) && isSource(chosen)) {
            const std::string currentName = current->GetFullFileName().GetString();
            if (UtlDoesFileExist(currentName) && UtlDoesFileExist(chosenName) &&
                !workspace->DefinitionMoved(currentName, chosenName))
                ImodelDisplayWORKSPACE_NOT_WRITTEN_MSG(workspace->GetFileName().c_str(), chosenName.c_str());
        }
    }
    Imodel::BlockDesignHierarchyDisplay(wasBlocked, true);
    return AcmdEnum::Success;
}

bool IcmdDoUseDefinition(bool keep, const IfileObject& file, const std::string& moduleName, bool updateFileManager,
                         bool keepLibraries)
{
    auto command = std::make_unique<IcmdUseSourceFile>();
    command->SetFileObject(file);
    command->SetModuleName(moduleName);
    command->SetBoolParams(updateFileManager, keepLibraries);
    return IcmdDoCommand(std::move(command), keep);
}

bool IcmdDoUseDefinition(bool keep, boost::shared_ptr<IfileObjectEx> file, const std::string& moduleName,
                         bool updateFileManager, bool keepLibraries)
{
    auto command = std::make_unique<IcmdUseSourceFile>();
    command->SetFileObject(std::move(file));
    command->SetModuleName(moduleName);
    command->SetBoolParams(updateFileManager, keepLibraries);
    return IcmdDoCommand(std::move(command), keep);
}
