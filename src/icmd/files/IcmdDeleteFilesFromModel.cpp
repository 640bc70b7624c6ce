// delete_files_from_model: the units of each file removed, the root kept
// valid, the file taken out of the file manager.
#include "icmd/files/IcmdDeleteFilesFromModel.h"

#include "icmd/IcmdDoCommand.h"
#include "icmd/design/IcmdSetRoot.h"
#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/files/IcmdUseFile.h"
#include "ievent/IeventClasses.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFunctions.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelRemoveModules.h"
#include "imodel/design/ImodelRoot.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelToolStatesManager.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "itool/ItoolConstraintsManager.h"
#include "itool/ItoolWithConstraints.h"

#include <boost/make_shared.hpp>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

std::unique_ptr<std::deque<IfileObject>>& DeletedFileList()
{
    static std::unique_ptr<std::deque<IfileObject>> list;
    return list;
}

Imodel& Model() { return Imodel::GetInstance(); }
IfileManager& Files() { return *Model().GetFileManager(); }
ImodelDesignManager& Design() { return *Model().GetDesignManager(); }

// The lists that name files by value forget the file: each tool's
// constraint files, the units' stimulus associations (when the batch of
// delete_files ends, if one is open), the views' choices of flow files.
void ForgetInLists(const Entry& file)
{
    for (ItoolWithConstraints* tool : ItoolConstraintsManager::GetAllTools()) tool->ConstraintFileDeleted(*file);
    if (file->GetFileSpecificType() == zorpaFT_TB_HDL && !ImodelStimulusBatch::Keep(*file))
        ImodelUpdateStimulusAssociation(*file, Design().GetModuleTree());
    IcmdUseFile::FileRemoved(file);
}

}  // namespace

IcmdDeleteFilesFromModel::IcmdDeleteFilesFromModel() : IcmdBase(false) {}

IcmdDeleteFilesFromModel::~IcmdDeleteFilesFromModel() = default;

void IcmdDeleteFilesFromModel::SetParams(const std::vector<Entry>& files, bool removeFromFileManager,
                                         bool readdFreedDefinitions, bool notifyWorkspace,
                                         std::vector<VyIfaces::IComponent*>* components)
{
    m_files = files;
    m_removeFromFileManager = removeFromFileManager;
    m_readdFreedDefinitions = readdFreedDefinitions;
    m_notifyWorkspace = notifyWorkspace;
    m_components = components;
}

void IcmdDeleteFilesFromModel::SetParams(Entry file, bool removeFromFileManager, bool readdFreedDefinitions,
                                         bool notifyWorkspace, std::vector<VyIfaces::IComponent*>* components)
{
    if (file)
        SetParams(std::vector<Entry>{file}, removeFromFileManager, readdFreedDefinitions, notifyWorkspace, components);
}

void IcmdDeleteFilesFromModel::SetParams(const IfileObject& file, bool removeFromFileManager,
                                         bool readdFreedDefinitions, bool notifyWorkspace,
                                         std::vector<VyIfaces::IComponent*>* components)
{
    Entry entry = IfileManagerGetRealObject(file, false);
    if (!entry) m_notHeld = IfileManagerGetRealObject(file, true);
    SetParams(std::move(entry), removeFromFileManager, readdFreedDefinitions, notifyWorkspace, components);
}

void IcmdDeleteFilesFromModel::SetUpDeletedFileList()
{
    DeletedFileList() = std::make_unique<std::deque<IfileObject>>();
}

void IcmdDeleteFilesFromModel::TearDownDeletedFileList() { DeletedFileList().reset(); }

std::deque<IfileObject>* IcmdDeleteFilesFromModel::GetDeletedFiles() { return DeletedFileList().get(); }

AcmdEnum::Result IcmdDeleteFilesFromModel::execDo()
{
    Imodel& model = Model();
    const Imodel::BlockGUIObject noDrawing;
    bool librariesSaved = false;
    for (const Entry& file : m_files)
        if (file) DeleteOne(file, librariesSaved);
    if (m_notHeld) {
        ForgetInLists(m_notHeld);
        // A member missing from disk at the open may come back before the
        // project is saved: its tool results wait for the save.
        ImodelContextToolStatesManager::FileNotHeld(*m_notHeld);
    }
    if (librariesSaved) model.RestoreLibraries(true, zorpaSaveRestoreParams{false, true, false});

    IfileManager& files = Files();
    if (!files.HasFileOfSpecificType(zorpaFT_HDL, 0, nullptr)) {
        // A design left with a netlist only is the netlist's.
        std::vector<Entry> netlists;
        files.GetFilesOfSpecificType(zorpaFT_SYN_EDN, netlists, 0, nullptr);
        if (!netlists.empty()) files.AddOrUpdateFile(*netlists.front(), true);
    }
    return AcmdEnum::Success;
}

void IcmdDeleteFilesFromModel::DeleteOne(const Entry& file, bool& librariesSaved)
{
    Imodel& model = Model();
    ImodelDesignManager& design = Design();
    AddEvent(boost::make_shared<IeventFilePreRemove>(file));
    NotifyAllViews();

    const ImodelModule* root = design.GetRootModule();
    const Entry rootFile = root ? root->GetModuleFile() : Entry();
    if (!librariesSaved &&
        (file->IsASourceFile() || (rootFile && rootFile->GetFileSpecificType() == zorpaFT_SYN_EDN))) {
        model.SaveLibraries();
        librariesSaved = true;
    }
    if (std::deque<IfileObject>* deleted = GetDeletedFiles()) deleted->push_back(*file);

    const std::string label = "Removing modules defined in " + file->GetFullFileName().GetString();
    const unsigned started = ImodelStartLongProcess(label.c_str());
    ImodelRemoveModulesOfFile(file, boost::shared_ptr<ImodelModule::UnitSet>(), m_notifyWorkspace, false, true,
                              m_components, nullptr);
    if (const ImodelDesignManager::LibraryPtr library = design.FindLibraryByName(file->GetLibraryName()))
        design.UpdateTopModules(library);
    ImodelEndLongProcess(started);

    if (design.GetRootModule() == nullptr) design.SetRootId(VyIfaces::ComponentID());
    if (design.GetRootId().IsDefault())
        if (const ImodelModule* first = ImodelGetFirstValidRoot()) design.SetRootId(first->GetComponentID());

    if (m_removeFromFileManager) {
        file->SetAbsent();
        model.GetStateMachine()->FileModificationMessage(QuorlaneFileRemoved, file);
        Files().RemoveFile(*file);
    }
    AddEvent(boost::make_shared<IeventFilePostRemove>(file));
    NotifyAllViews();

    if (m_readdFreedDefinitions) IcmdAddFileToModel::AddFileIfItIsTheOnlyOneToDefinedAModule();
    const zorpaFileManagerTypes type = file->GetFileSpecificType();
    // The design tree is built again from the root.
    if ((type == zorpaFT_SCH || type == zorpaFT_HDL) && !design.GetRootId().IsDefault())
        IcmdDoSetRoot(false, design.GetRootId());
    ForgetInLists(file);
}

bool IcmdDoDeleteFileFromModel(const IfileObject& file, bool removeFromFileManager, bool readdFreedDefinitions,
                               bool notifyWorkspace, std::vector<VyIfaces::IComponent*>* components)
{
    auto command = std::make_unique<IcmdDeleteFilesFromModel>();
    command->SetParams(file, removeFromFileManager, readdFreedDefinitions, notifyWorkspace, components);
    return IcmdDoCommand(std::move(command), false);
}

bool IcmdDoDeleteFileFromModel(boost::shared_ptr<IfileObjectEx> file, bool removeFromFileManager,
                               bool readdFreedDefinitions, bool notifyWorkspace,
                               std::vector<VyIfaces::IComponent*>* components)
{
    auto command = std::make_unique<IcmdDeleteFilesFromModel>();
    command->SetParams(std::move(file), removeFromFileManager, readdFreedDefinitions, notifyWorkspace, components);
    return IcmdDoCommand(std::move(command), false);
}
