// The link commands' shared steps: the copy to a new place and the model
// brought in line with a moved entry.
#include "icmd/files/IcmdChangeFileBase.h"

#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/files/IcmdImportFiles.h"
#include "ievent/IeventClasses.h"
#include "ifile/IfileExtendedInfoManager.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/design/ImodelUnitsNamingFile.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "itimer/ItimerManager.h"

#include <foundation/Sys.h>
#include <ktwkspace/Workspace.h>

#include <boost/make_shared.hpp>

namespace {

// Replaces the old file by the entry in one unit's lists.
class updateModelFtor : public ImodelModifyModuleFtor {
public:
    updateModelFtor(const IfileObjectEx* oldEntry, boost::shared_ptr<IfileObjectEx> entry, bool reAdd)
        : m_old(oldEntry), m_entry(std::move(entry)), m_reAdd(reAdd)
    {
    }
    bool operator()(ImodelModule* module) const override
    {
        return module && module->updateModel(*m_old, m_entry, m_reAdd);
    }

private:
    const IfileObjectEx* m_old;
    boost::shared_ptr<IfileObjectEx> m_entry;
    bool m_reAdd;
};

}  // namespace

IcmdChangeFileBase::IcmdChangeFileBase()
    : IcmdBase(true), m_file(this, true, false, true, Imodel::GetInstance().IsLinkingEnabled())
{
}

IcmdChangeFileBase::~IcmdChangeFileBase() = default;

void IcmdChangeFileBase::SetOriginalFile(boost::shared_ptr<IfileObjectEx> entry)
{
    if (entry) m_file.SetFileObject(std::move(entry));
}

void IcmdChangeFileBase::SetTarget(const std::string& target)
{
    if (m_target) m_target->SetObject(target);
}

namespace {

// What a moved entry asks of the model before it is filed again or added
// again: the project marked changed, the old file replaced by the entry in
// every unit's lists, in the views' chosen files and tool results, in the
// cached place-and-route descriptions and in the core workspace. Only the
// units that name the old file or that the entry defines are asked: a
// folder of thousands of files renamed would otherwise ask every unit once
// per file.
void BringModelInLine(const IfileObjectEx& oldEntry, const boost::shared_ptr<IfileObjectEx>& entry, bool reAdd)
{
    Imodel& model = Imodel::GetInstance();
    model.GetDesignManager()->SetNeedSave(true);
    const updateModelFtor update(&oldEntry, entry, reAdd);
    for (ImodelModule* unit : ImodelUnitsNamingFiles({oldEntry}, entry.get(), false)) update(unit);
    ImodelRevContextImpl::FileRenamed(oldEntry, *entry);
    if (IfileExtendedInfoManager* cache = model.GetExtendedInfoManager()) cache->UpdateModelFromInfo(oldEntry, entry);
    Ktwkspace::Workspace* workspace = model.GetCurrentWorkspace();
    const std::string newName = entry->GetFullFileName().GetString();
    if (workspace && !workspace->FileNameChanged(oldEntry.GetFullFileName().GetString(), newName))
        ImodelDisplayWORKSPACE_NOT_WRITTEN_MSG(workspace->GetFileName().c_str(), newName.c_str());
}

// Whether the file is the one chosen to define a unit that other files of
// the project define too.
bool IsChosenDefinition(const IfileObjectEx& file)
{
    return file.GetErrorFileType() == ImodelNoError && !file.GetModuleAlreadyDefined().empty();
}

}  // namespace

void IcmdFollowRenamedEntry(const IfileObjectEx& oldEntry, const boost::shared_ptr<IfileObjectEx>& entry)
{
    if (!entry) return;
    BringModelInLine(oldEntry, entry, false);
    Imodel& model = Imodel::GetInstance();
    model.GetFileManager()->RenameFileKey(entry, oldEntry);
    entry->UpdateFileDisplay();
    model.SendEvent(boost::make_shared<IeventFileRetargeted>(entry), true);
}

AcmdEnum::Result IcmdChangeFileBase::updateModel(const IfileObjectEx& oldEntry, boost::shared_ptr<IfileObjectEx> entry,
                                                 bool reAdd)
{
    if (!entry) return AcmdEnum::Success;
    // The file's text decides only whether it is read again: either way the
    // entry is filed under its new name with all the project holds for it.
    // Taken out of the project and added anew, it would lose the unit's
    // definition the user chose (the new parse refused as a duplicate of
    // the unit's other file), the files linked to it and the views' results.
    const std::string chosenFor = IsChosenDefinition(*entry) ? entry->GetModuleAlreadyDefined() : std::string();
    IcmdFollowRenamedEntry(oldEntry, entry);
    if (!reAdd) return AcmdEnum::Success;
    // Read again where it stands, as a file changed on disk is: a chosen
    // definition stays the unit's definition while the new text defines it.
    // As an import does, the root is set once the file is read: while it is,
    // the root's unit may be gone for a moment (its file defines it no more,
    // and the unit's other file is read in its place).
    Imodel& model = Imodel::GetInstance();
    model.SaveLibraries();
    const bool hierarchyWasBlocked = Imodel::BlockDesignHierarchyDisplay(true, true);
    IcmdDoAddFileToModel(*entry, false, true, false, nullptr, nullptr, true, nullptr, true, false, nullptr);
    model.RestoreLibraries(true, zorpaSaveRestoreParams{false, true, false});
    Imodel::BlockDesignHierarchyDisplay(hierarchyWasBlocked, true);
    if (!hierarchyWasBlocked) IcmdUpdateDesignHierarchy(model, {*entry}, true);
    if (!chosenFor.empty() && !(IsChosenDefinition(*entry) && entry->GetModuleAlreadyDefined() == chosenFor))
        ImodelDisplayCHOSEN_DEFINITION_GONE_MSG(entry->GetFullFileName().c_str(), chosenFor.c_str());
    return AcmdEnum::Success;
}

AcmdEnum::Result IcmdChangeFileBase::doChangeLink(boost::shared_ptr<IfileObjectEx> entry, const IfileObject& target)
{
    if (!entry) return AcmdEnum::Failure;
    const std::string from = entry->GetFullFileName().GetString();
    const std::string to = target.GetFullFileName().GetString();
    // Nothing to move; and never a copy of a file onto itself.
    if (ImodelIsSameFileName(from, to)) return AcmdEnum::Success;
    // Nothing to copy: the failed copy would blame the write permissions.
    if (!ImodelDoesFileExist(from)) {
        ImodelDisplayLINK_FILE_MISSING_MSG(from.c_str(), to.c_str());
        return AcmdEnum::Failure;
    }
    // A file already there is somebody's: it is not overwritten.
    if (UtlDoesDiskObjectExist(to)) {
        ImodelDisplayLINK_TARGET_EXISTS_MSG(from.c_str(), to.c_str());
        return AcmdEnum::Failure;
    }
    // Nor is a member whose file is missing on disk, or whose name differs
    // only in letter case (which the project does not tell apart): the copy
    // would give it the link's text, or the next open would drop one.
    Imodel& model = Imodel::GetInstance();
    IfileManager& files = *model.GetFileManager();
    if (files.ContainsFile(target) || files.HasFileNamed(to, ImodelFMFull, 0)) {
        ImodelDisplayLINK_SOURCE_IN_PROJECT_MSG(to.c_str(), from.c_str());
        return AcmdEnum::Failure;
    }
    const std::size_t slash = to.rfind('/');
    if ((slash != std::string::npos && slash > 0 && !UtlValidateOrCreateFolder(to.substr(0, slash))) ||
        SysCopy(from, to) != 0) {
        ImodelDisplayUNABLE_TO_COPY_MSG(from.c_str(), to.c_str());
        return AcmdEnum::Failure;
    }
    const IfileObjectEx oldEntry = *entry;
    entry->SetFileName(ImodelFileName(to), ImodelFMFull, true);
    bool changed = false;
    entry->StoreStatInfo(changed, true, false);
    // The copy is the project's already: the watcher passes it over once.
    if (ItimerManager* watcher = model.GetTimerManager()) watcher->IgnoreNextChange(*entry);
    return updateModel(oldEntry, entry, false);
}
