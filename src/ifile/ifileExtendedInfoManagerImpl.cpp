#include "src/ifile/ifileExtendedInfoManagerImpl.h"

#include "ievent/IeventClasses.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "itool/ItoolPallador.h"
#include "src/ifile/ifileExtendedInfoVisitors.h"

#include <kemlet/KemletIde_pldFileManagerIf.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

}  // namespace

ifileExtendedInfoManagerImpl::~ifileExtendedInfoManagerImpl()
{
    StopPreRead();
    const Lock lock(m_lock);
    m_infos.clear();
}

std::string ifileExtendedInfoManagerImpl::KeyOf(const IfileObject& file)
{
    return ImodelFileNameKey(file.GetFullFileName().GetString(), std::string());
}

void ifileExtendedInfoManagerImpl::SetInfo(const IfileObject& file, boost::shared_ptr<IfileExtendedInfo> info)
{
    // The map never holds a null info.
    if (!info) return;
    const Lock lock(m_lock);
    m_infos.insert_or_assign(KeyOf(file), Cached{file, std::move(info)});
}

boost::shared_ptr<IfileExtendedInfo> ifileExtendedInfoManagerImpl::GetInfo(const IfileObject& file, bool load)
{
    const Lock lock(m_lock);
    const auto found = m_infos.find(KeyOf(file));
    if (found != m_infos.end()) {
        if (std::unique_ptr<IfileExtendedInfo> copy = found->second.info->Clone())
            return boost::shared_ptr<IfileExtendedInfo>(std::move(copy));
    }
    // Only a design database has a description to load.
    if (!load || file.GetFileSpecificType() != zorpaFT_ADB) return {};
    // A question adds no file to the project: its asker may be walking the
    // project's files or units.
    Load(file, false, false, false);
    return GetInfo(file, false);
}

void ifileExtendedInfoManagerImpl::ClearInfo()
{
    StopPreRead();
    const Lock lock(m_lock);
    m_infos.clear();
}

void ifileExtendedInfoManagerImpl::UpdateModelFromInfo(const IfileObject& oldFile,
                                                       boost::shared_ptr<IfileObjectEx> entry)
{
    const Lock lock(m_lock);
    // A snapshot: rewriting a description reloads it into the map.
    std::vector<Cached> snapshot;
    snapshot.reserve(m_infos.size());
    for (const auto& [key, cached] : m_infos) snapshot.push_back(cached);
    for (const Cached& cached : snapshot) {
        updateModelVisitor visitor(&oldFile, &cached.file, entry);
        cached.info->Accept(visitor);
    }
}

void ifileExtendedInfoManagerImpl::GetDependentFiles(const IfileObject& file, std::deque<IfileObject>& out)
{
    out.clear();
    const Lock lock(m_lock);
    for (const auto& [key, cached] : m_infos) {
        isDependingOfVisitor visitor(&file);
        cached.info->Accept(visitor);
        if (visitor.GetResult()) out.push_back(cached.file);
    }
}

bool ifileExtendedInfoManagerImpl::IsDependingOn(const IfileObject& database, const IfileObject& file, bool load)
{
    const boost::shared_ptr<IfileExtendedInfo> info = GetInfo(database, load);
    if (!info) return false;
    isDependingOfVisitor visitor(&file);
    info->Accept(visitor);
    return visitor.GetResult();
}

void ifileExtendedInfoManagerImpl::Store(const IfileObject& database, const KemletContentIf& content,
                                         bool registerLinks)
{
    SetInfo(database, boost::make_shared<ifileExtendedADB>(content));
    if (!registerLinks) return;
    if (ItoolPallador* pallador = Imodel::GetInstance().GetPalladorTool())
        pallador->RegisterDescriptionLinks(database, content);
}

bool ifileExtendedInfoManagerImpl::LoadInfo(const IfileObject& database, bool updateModel, bool compare)
{
    return Load(database, updateModel, compare, true);
}

bool ifileExtendedInfoManagerImpl::ReloadInfo(const IfileObject& database, bool compare)
{
    return Load(database, false, compare, false);
}

bool ifileExtendedInfoManagerImpl::Load(const IfileObject& database, bool updateModel, bool compare, bool registerLinks)
{
    const std::string name = database.GetFullFileName().GetString();
    KemletContentIf content;
    KemletIde_pldFileManagerIf* reader = KemletGetNewFileManager(name.c_str(), KemletWriterProjectManager, nullptr);
    const boost::shared_ptr<IfileExtendedInfo> previous = compare ? GetInfo(database, false) : nullptr;
    bool read = false;
    if (reader) {
        if (std::deque<IfileObject>* checked = IdePldFilesRecentlyChecked()) checked->push_back(database);
        read = reader->IsReady() && reader->Read(&content);
        if (read) Store(database, content, registerLinks);
        KemletDeleteFileManager(reader);
    }
    AfterRead(database, content, read, updateModel, previous);
    return read;
}

void ifileExtendedInfoManagerImpl::AfterRead(const IfileObject& database, KemletContentIf& content, bool read,
                                             bool updateModel, const boost::shared_ptr<IfileExtendedInfo>& previous)
{
    Imodel& model = Imodel::GetInstance();
    IfileManager* files = model.GetFileManager();
    const IfileManager::Entry entry = files ? files->GetFile(database) : IfileManager::Entry();
    if (entry && IsDoingConvert()) {
        const std::string full = entry->GetFullFileName().GetString();
        if (files->HasName(full, 0)) {
            const std::string shown = entry->GetRelativeOrFullFileName().GetString();
            if (!content.WereLocalCopiesMade())
                ImodelDisplayCONVERT_FAILED_LOCAL_COPIES_MSG(shown.c_str());
            else if (content.UpdateFileToLocal(full))
                ImodelDisplayADB_UPDATED_MSG(shown.c_str());
            else
                ImodelDisplayADB_PARTIALLY_UPDATED_MSG(shown.c_str());
            files->RemoveName(full, 0);
        }
    }
    if (entry) {
        bool modelUpdated = false;
        // A description the program wrote itself tells the flow nothing new;
        // one that could not be read (a tool still writing it) leaves the
        // unit's compile order as it is.
        if (updateModel && read && content.GetWhoWroteTheFile() != KemletWriterProjectManager) {
            if (QuorlaneStateMachine* flow = model.GetStateMachine()) flow->Ide_pldFileDetected(&content, entry);
            modelUpdated = true;
            ImodelModule* module = nullptr;
            ImodelRevContextImpl* revision = nullptr;
            if (entry->GetPredecessorObject()) entry->GetModuleAndContext(module, revision);
            std::deque<IfileObject> order;
            if (ItoolPallador* pallador = model.GetPalladorTool())
                pallador->GetFileListFromCache(database, module, revision, order, false, false);
            std::erase_if(order, [](const IfileObject& file) { return file.GetFileSpecificType() != zorpaFT_ARM_DB; });
            if (module && module->GetCDBOrder() != order) module->SetCDBOrder(order, true);
        }
        if (previous && !modelUpdated) {
            isFileListDifferentVisitor visitor(&content);
            previous->Accept(visitor);
            if (visitor.GetResult())
                if (QuorlaneStateMachine* flow = model.GetStateMachine())
                    flow->InputFileListChanged(entry, idePALLADOR);
        }
    }
    if (!IsDoingConvert()) model.SendEvent(boost::make_shared<IeventToolInputListChanged>(idePALLADOR), true);
}

void ifileExtendedInfoManagerImpl::StartPreRead()
{
    // One pre-read at a time: a new one replaces what the last one had left.
    StopPreRead();
    Imodel& model = Imodel::GetInstance();
    const std::string folder = model.GetDesignManager()->GetProjectFolder().GetString();
    if (folder.empty()) return;
    if (Imodel::IsInteractiveMode()) {
        m_preRead = std::make_unique<ifileDescriptionPreRead>(folder);
        return;
    }
    for (const std::string& database : ifileDescriptionPreRead::ListDatabases(folder))
        LoadInfo(IfileObject(ImodelFileName(database), zorpaFT_ADB, ImodelFMFull, true, true), false, false);
}

void ifileExtendedInfoManagerImpl::ApplyPreReadResults(bool wait)
{
    if (!m_preRead) return;
    if (wait) m_preRead->Wait();
    const bool finished = m_preRead->IsFinished();
    std::vector<ifileDescriptionPreRead::Description> read = m_preRead->Take();
    // Results of a project that is no longer the open one are dropped.
    const bool sameProject =
        m_preRead->GetProjectFolder() == Imodel::GetInstance().GetDesignManager()->GetProjectFolder().GetString();
    if (finished) m_preRead.reset();
    if (!sameProject) return;
    for (ifileDescriptionPreRead::Description& description : read) {
        const IfileObject database(ImodelFileName(description.database), zorpaFT_ADB, ImodelFMFull, true, true);
        {
            const Lock lock(m_lock);
            // A load made since the pre-read began read the file later.
            if (m_infos.count(KeyOf(database)) != 0) continue;
        }
        if (std::deque<IfileObject>* checked = IdePldFilesRecentlyChecked()) checked->push_back(database);
        Store(database, description.content, true);
        AfterRead(database, description.content, true, false, nullptr);
    }
}

void ifileExtendedInfoManagerImpl::StopPreRead()
{
    if (!m_preRead) return;
    m_preRead->Cancel();
    m_preRead.reset();
}
