// The project model's core services: the core workspace of the project, the
// bus definitions, the scratch netlist world and the simulator path options.
#include "src/imodel/model/imodelImpl.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelFileName.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelMessages.h"
#include "itool/ItoolModelSimPathOptions.h"
#include "itool/ItoolSetupFiles.h"
#include "src/imodel/names/imodelUtlProject.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>
#include <ktwkspace/Workspace.h>
#include <ndb/NdbWorld.h>
#include <vy/VyBusDefMgr.h>

#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

const char* const kUnknownFailure = "unknown failure";

IIDEObject* HostCallback(Imodel& model)
{
    ImodelHost* host = model.GetHost();
    return host ? host->GetIIDEObject() : nullptr;
}

// Runs `work`: nothing when it went through, else what it threw.
template <class Work>
std::optional<std::string> FailureOf(Work&& work)
{
    try {
        work();
        return std::nullopt;
    } catch (const std::exception& error) {
        return std::string(error.what());
    } catch (...) {
        return std::string(kUnknownFailure);
    }
}

// The workspace file's name with its size and time as they stand: a file
// changed since a failed try is a new try.
std::string WorkspaceFileState(const std::string& fileName)
{
    SysStatInfo status;
    if (SysPathStat(fileName, &status) != 0) return fileName + " (missing)";
    return fileName + " " + std::to_string(status.size) + " " + std::to_string(status.time);
}

}  // namespace

Vybusdef::VyBusDefMgr* imodelImpl::GetBusDefManager()
{
    // The wizard's model prepares a project without block designs.
    return m_isWizardInstance ? nullptr : &Vybusdef::VyBusDefMgr::GetInstance();
}

// --- the scratch netlist world -----------------------------------------------------

NdbWorld* imodelImpl::GetTempWorld()
{
    if (m_tempWorld == nullptr) m_tempWorld = NdbCreateDefaultWorld("temp");
    return m_tempWorld;
}

void imodelImpl::DeleteTempWorld()
{
    CvlLibFree();
    if (m_tempWorld != nullptr) {
        NdbDelAll(m_tempWorld);
        m_tempWorld = nullptr;
    }
}

// --- simulator path options ----------------------------------------------------------

void imodelImpl::SetModelSimPathOptions(const ItoolModelSimPathOptions& options, bool& saved)
{
    if (m_modelSimPathOptions == nullptr) return;
    const bool changed = !(*m_modelSimPathOptions == options);
    *m_modelSimPathOptions = options;
    if (changed && m_designManager != nullptr) m_designManager->SetNeedSave(true);
    ItoolUpdateModelSim(false, std::string());
    m_modelSimPathOptions->SaveCustomPath(saved);
    if (IsDebugMsg()) {
        std::string path;
        const bool vhdl = m_designManager == nullptr || m_designManager->IsDefaultVHDL();
        ItoolModelSimPathOptions::GetModelLibPath(path, vhdl, nullptr);
        SysPrintf("Now using ModelSim library: %s\n", path.c_str());
    }
}

// --- the core workspace --------------------------------------------------------------

void imodelImpl::GetWorkspaceFileName(ImodelFileName& out)
{
    out = ImodelFileName();
    const ImodelFileName* projectFolder = ImodelUtlGetProjectFolder();
    if (projectFolder == nullptr || projectFolder->empty()) return;
    ImodelGetFullPathForFile(ImodelFileName("kiltora.aws"), zorpaFT_GROUP_KILTORA, out);
}

void imodelImpl::SetWorkspace(std::unique_ptr<Ktwkspace::Workspace> workspace)
{
    // The units' components belong to the workspace that goes.
    if (m_workspace != nullptr && m_designManager != nullptr) {
        const ImodelDesignManager::LibraryRange libraries = m_designManager->GetLibraries();
        for (auto library = libraries.first; library != libraries.second; ++library)
            if (*library)
                for (ImodelModule* module : *(*library)->GetModules()) module->UnreferenceComponent();
    }
    m_workspace = std::move(workspace);
    m_workspaceFailureTold.clear();
    if (m_workspace != nullptr) {
        Imodel& processWide = GetInstance();
        if (processWide.GetHost() != nullptr) m_workspace->SetIDECallBack(HostCallback(processWide));
    }
}

std::unique_ptr<Ktwkspace::Workspace> imodelImpl::CreateWorkspace(IIDEObject* callback)
{
    const ImodelDevice& device = m_deviceManager->GetDevice();
    const std::string language = m_designManager->IsDefaultVHDL() ? "VHDL" : "Verilog";
    return std::make_unique<Ktwkspace::Workspace>("kiltora", m_designManager->GetProjectFolder().GetString(),
                                                  device.GetFamily(), device.GetDieInternalName(),
                                                  device.GetPackageInternalName(), language, IsInteractiveMode(), 0,
                                                  true, true, callback, GetInstance().GetCatalog().GetCatalogIf());
}

void imodelImpl::OpenWorkspace()
{
    Imodel& processWide = GetInstance();
    ImodelFileName fileName;
    GetWorkspaceFileName(fileName);
    if (!fileName.empty()) {
        // What an earlier try of this workspace told, kept past the close
        // of the workspace below.
        const std::string told = m_workspaceFailureTold;
        processWide.SetWorkspace(nullptr);
        IIDEObject* callback = HostCallback(processWide);
        const std::string family = processWide.GetDeviceManager()->GetDevice().GetFamily();
        std::optional<std::string> failure;
        try {
            if (Vybusdef::VyBusDefMgr* busDefinitions = processWide.GetBusDefManager()) {
                busDefinitions->SetIDECallBack(callback);
                busDefinitions->Load(family);
            }
            SetWorkspace(std::make_unique<Ktwkspace::Workspace>(fileName.GetString(), IsInteractiveMode(), true, false,
                                                                std::string(), callback,
                                                                processWide.GetCatalog().GetCatalogIf()));
        } catch (const Ktwkspace::version_error&) {
            // A workspace of another version is left as it is, unopened.
        } catch (const std::invalid_argument&) {
            // No workspace file yet: the project gets a new workspace. A
            // failure to make it is a failure like any other.
            failure = FailureOf([this, callback] { SetWorkspace(CreateWorkspace(callback)); });
        } catch (const std::exception& error) {
            failure = error.what();
        } catch (...) {
            failure = kUnknownFailure;
        }
        if (failure) {
            if (IsDebugMsg()) SysPrintf("Core workspace: %s\n", failure->c_str());
            const std::string tried = WorkspaceFileState(fileName.GetString()) + ": " + *failure;
            if (tried != told) ImodelDisplayINTERNAL_ERROR_CREATE_WORKSPACE_MSG();
            m_workspaceFailureTold = tried;
            DefSetBool("IDE_OPEN_MRU_PROJECT", false);
            DefFlush();
        }
        processWide.GetCatalog().setCatalog(family);
    }
    if (Ktwkspace::Workspace* workspace = processWide.GetWorkspace()) workspace->ownedByProject = true;
}
