// open_project on a project written by another version: the version tests
// and questions, the backup (a copy of the project file, or a zip archive of
// the whole project folder), the converters the version calls for and the
// conversion that the host and the core tools run before the file is read.
#include "icmd/project/IcmdOpenProject.h"

#include "icmd/project/IcmdReadWriteProject.h"
#include "iconvert/Iconvert.h"
#include "iconvert/IconvertAddOldCoresToWS.h"
#include "iconvert/IconvertOmbrix.h"
#include "iconvert/IconvertPackages.h"
#include "iconvert/IconvertPowerFiles.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/names/ImodelMessages.h"
#include "itool/QuorlaneCoreToolManager.h"
#include "src/icmd/project/IcmdReadWriteProjectImpl.h"
#include "src/icmd/project/ImodelCopyProjectDirTool.h"

#include <fenwold/Zipper.h>
#include <foundation/AcmdManager.h>
#include <foundation/Arev.h>
#include <foundation/Sys.h>

namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

void* HostParentWindow()
{
    ImodelHost* host = Imodel::GetInstance().GetHost();
    return host ? host->GetParentWindow() : nullptr;
}

// The archive name as given, made absolute against the command folder.
std::string ArchivePath(const AcmdFileNameParam& parameter)
{
    const std::string given = parameter.GetObject();
    return given.empty() ? given : AcmdGetFullPath(given, AcmdManager::GetInstance().GetCurrentFolder());
}

}  // namespace

std::string IcmdOpenProject::GetBrowseFilter() const { return backup_file ? backup_file->GetFilterString() : ""; }

void IcmdOpenProject::SetDefaultZipPath()
{
    if (!backup_file || !backup_file->GetObject().empty()) return;
    std::string project = UtlGetQualifiedPath(file.GetObject());
    UtlSetValidSeparator(project);
    const std::size_t slash = project.rfind(SysGetDirChar());
    if (slash == std::string::npos) return;
    backup_file->SetObject(project.substr(0, slash) + ".zip");
}

bool IcmdOpenProject::ValidateBackupOptions()
{
    if (!do_backup_on_convert || !backup_file || !do_backup_on_convert->GetObject()) return true;
    const std::string archive = ArchivePath(*backup_file);
    if (!UtlDoesDiskObjectExist(archive)) return true;
    return ImodelDisplayFILE_ALREADY_EXISTS_SINGLE_QRY(GetEnvironment(), MdbYES, archive.c_str()) == MdbYES;
}

void IcmdOpenProject::AddConverter(std::unique_ptr<Iconvert> converter)
{
    m_converterList.push_back(converter.get());
    m_converters.push_back(std::move(converter));
}

void IcmdOpenProject::DestroyConverters()
{
    m_converterList.clear();
    m_converters.clear();
}

bool IcmdOpenProject::PrepareConvertProject(IcmdReadWriteProject* header)
{
    if (!header) return false;
    ImodelSetAndRestoreModelFlagObject converting(Imodel::GetIsConvertingProject(), true);
    void* parent = HostParentWindow();
    m_needsConversion = false;
    header->GetProjVer(m_projectMajor, m_projectMinor);
    int ideMinor = 0;
    int ideMajor = 0;
    ImodelGetIdeMinorMajor(ideMinor, ideMajor);
    if (m_projectMajor > ideMajor || (m_projectMajor == ideMajor && m_projectMinor > ideMinor)) {
        ImodelDisplayCONVERT_FUTURE_PROJECT_QRY(parent, MdbOK);
        return false;
    }
    if (m_projectMajor == 6 && m_projectMinor == 5) {
        ImodelDisplayCONVERT_INCOMPATIBLE_PROJECT_QRY(parent, MdbOK, m_projectMajor, m_projectMinor);
        return false;
    }
    if (m_projectMajor == ideMajor && m_projectMinor == ideMinor) return true;
    // A conversion moves files before the project file is read whole:
    // damage found then would leave them moved, and the next open would
    // drop them. The file is parsed whole first; conversions are rare.
    IcmdReadWriteProjectImpl whole(ideProjectFileHeader, Design().GetProjectFileStream(), m_converterList, nullptr,
                                   false);
    whole.ParseWholeFile();
    if (whole.Do(0, 100) != AcmdEnum::Success) return false;
    // A conversion moves files and then saves the project file: a file or
    // folder that cannot be written (a checkout left read-only) would keep
    // the old version with the files already moved, and the next open would
    // convert again and lose them.
    const std::string projectFile = Design().GetProjectFileName().GetString();
    if (SysAccess(projectFile, 2) != 0 || SysAccess(Design().GetProjectFolder().GetString(), 2) != 0) {
        ImodelDisplayPROJECT_NOT_CONVERTIBLE_MSG(projectFile.c_str());
        return false;
    }
    m_needsConversion = true;
    ImodelHost* host = Imodel::GetInstance().GetHost();
    bool proceed = true;
    if (m_zipMode && !Imodel::IsRunningScript()) {
        // The host asks its own question, and may choose the archive.
        if (host) proceed = host->AskConvertProject(this);
    } else {
        proceed = ImodelDisplayCONVERT_NEED_CONVERT_QRY(parent, MdbYES, Design().GetProjectName().c_str(),
                                                        ArevGetReleaseVerinfoString().c_str()) == MdbYES;
    }
    if (!proceed) return false;

    // Without an archive, the project file as it was stays beside it. Nothing
    // is converted without that copy: a conversion cannot be undone.
    if (!m_zipMode || (do_backup_on_convert && !do_backup_on_convert->GetObject())) {
        const std::string copy =
            projectFile + ".convert." + std::to_string(m_projectMajor) + "." + std::to_string(m_projectMinor) + ".bak";
        if (SysCopy(projectFile, copy) != 0) {
            ImodelDisplayUNABLE_TO_COPY_MSG(projectFile.c_str(), copy.c_str());
            return false;
        }
    }
    bool hostHandlesPackages = false;
    if (host) host->PrepareConversion(header, m_threadCommands, hostHandlesPackages);
    const int major = m_projectMajor;
    const int minor = m_projectMinor;
    if (IsPre_Kiltora(major, minor)) AddConverter(std::make_unique<IconvertOmbrix>());
    if (IsPre_PackageFilesParsing(major, minor) && !ImodelVHDLPackagesInPackageFolder())
        AddConverter(std::make_unique<IconvertPackages>());
    if (IsPre_QVP_And_Block_FilesInWS(major, minor)) AddConverter(std::make_unique<IconvertAddOldCoresToWS>());
    if (IsPre_PowerFilesInSimulationFolder(major, minor)) AddConverter(std::make_unique<IconvertPowerFiles>());
    m_convertPackages = !hostHandlesPackages && IsPre_PackageFilesParsing(major, minor);
    return true;
}

bool IcmdOpenProject::WriteBackupArchive()
{
    const std::string archive = ArchivePath(*backup_file);
    // The archive replaces a file of its name only once it is complete: an
    // older archive stays as it was when the new one cannot be written.
    if (archive.empty() || (UtlDoesDiskObjectExist(archive) && !UtlDoesFileExist(archive))) {
        ImodelDisplayFAILED_OVERWRITE_FILE_QRY(GetEnvironment(), MdbOK, archive.c_str());
        return false;
    }
    // The archiver leaves its own file out: named as the project file or a
    // source of the project, the archive would replace it and hold no copy
    // of it. An older archive in the project folder may be replaced.
    const std::string folder = Design().GetProjectFolder().GetString();
    if (UtlDoesFileExist(archive) && !archive.ends_with(".zip") &&
        ImodelCopyProjectDirTool::IsReallyInFolder(archive, folder)) {
        ImodelDisplayBACKUP_IN_PROJECT_MSG(archive.c_str());
        return false;
    }
    // An archive in a folder of its own: the folder is made.
    const std::string archiveFolder = archive.substr(0, archive.rfind(SysGetDirChar()));
    if (!archiveFolder.empty() && !UtlValidateOrCreateFolder(archiveFolder))
        SysDebugPrintf("Archive %s: the folder cannot be made\n", archive.c_str());
    Fenwold::Zipper zipper(archive, 0, 0);
    const bool added = zipper.AddFolderToZip(Design().GetProjectFolder().GetString(), 0);
    if (!zipper.CloseZip() || !added) {
        SysDebugPrintf("Archive %s: %s\n", archive.c_str(), zipper.GetError().c_str());
        ImodelDisplayFAILED_CREATE_BACKUP_QRY(GetEnvironment(), MdbOK, archive.c_str());
        return false;
    }
    ImodelDisplayCREATED_BACKUP_MSG(archive.c_str());
    return true;
}

bool IcmdOpenProject::DoConvertProject()
{
    if (!m_needsConversion) return true;
    if (m_zipMode && do_backup_on_convert && backup_file && do_backup_on_convert->GetObject() && !WriteBackupArchive())
        return false;
    Imodel& model = Imodel::GetInstance();
    if (ImodelHost* host = model.GetHost();
        host && !host->ConvertProject(m_threadCommands, m_converterList, m_convertPackages))
        return false;
    const Imodel::CoreToolManagerRange managers = model.GetCoreToolManagers();
    for (auto manager = managers.first; manager != managers.second; ++manager)
        (*manager)->ConvertDataBase(m_projectMajor, m_projectMinor);
    return true;
}
