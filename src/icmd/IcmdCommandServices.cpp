// The command layer's services to the components below it, put in place as
// the library is loaded.
#include "imodel/model/ImodelCommandServices.h"

#include "icmd/IcmdDoCommand.h"
#include "icmd/design/IcmdOpenConstraintsEditor.h"
#include "icmd/design/IcmdSetRoot.h"
#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/files/IcmdChangeFileBase.h"
#include "icmd/files/IcmdCreateLink.h"
#include "icmd/files/IcmdDeleteFilesFromModel.h"
#include "icmd/files/IcmdImportFiles.h"
#include "icmd/files/IcmdRemoveFilesFromProject.h"
#include "icmd/files/IcmdUpdateProjectContent.h"
#include "icmd/scan/IcmdParseFile.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "src/icmd/IcmdCommandTable.h"
#include "src/icmd/project/IcmdReadWriteProjectImpl.h"

namespace {

class IcmdCommandServices final : public ImodelCommandServices {
public:
    IcmdCommandServices() { ImodelCommandServices::Install(this); }
    // A static of the model that outlives the command layer at unload finds
    // no services rather than a dead object.
    ~IcmdCommandServices() override
    {
        if (ImodelCommandServices::Get() == this) ImodelCommandServices::Install(nullptr);
    }
    IcmdCommandServices(const IcmdCommandServices&) = delete;
    IcmdCommandServices& operator=(const IcmdCommandServices&) = delete;

    void RegisterCommands(Imodel& model, bool linkingEnabled) override
    {
        IcmdRegisterCommandRows(IcmdGetCommandTable(), model, linkingEnabled);
    }

    boost::shared_ptr<IfileObjectEx> AddFileToModel(const IfileObjectEx& file, bool updateFileManager, bool parse,
                                                    bool useEvenIfDefined, std::deque<IfileObject>* skipFiles,
                                                    std::vector<std::string>* skipModules, bool printError,
                                                    VyIfaces::IComponent* component, bool updateState,
                                                    bool moveToLibrary,
                                                    std::vector<VyIfaces::IComponent*>* components) override
    {
        return IcmdDoAddFileToModel(file, updateFileManager, parse, useEvenIfDefined, skipFiles, skipModules,
                                    printError, component, updateState, moveToLibrary, components);
    }

    bool DeleteFileFromModel(const IfileObject& file, bool removeFromFileManager, bool readdFreedDefinitions,
                             bool notifyWorkspace, std::vector<VyIfaces::IComponent*>* components) override
    {
        return IcmdDoDeleteFileFromModel(file, removeFromFileManager, readdFreedDefinitions, notifyWorkspace,
                                         components);
    }

    bool SetRoot(ImodelModule* module) override { return IcmdDoSetRoot(false, module); }

    void SetRootAgain() override { IcmdSetRootAgain(); }

    void LinkRefusedInstances() override { IcmdLinkRefusedInstances(); }

    bool RemoveFiles(const std::vector<boost::shared_ptr<IfileObjectEx>>& files, bool fromDisk, bool coreToolCheck,
                     bool confirm) override
    {
        return IcmdDoRemoveFiles(false, files, fromDisk, coreToolCheck, confirm);
    }

    void UpdateProjectContent(const std::vector<boost::shared_ptr<IfileObjectEx>>& removed,
                              const std::vector<boost::shared_ptr<IfileObjectEx>>& added,
                              const zorpaSaveRestoreParams& params) override
    {
        IcmdUpdateProjectContent(removed, added, params);
    }

    void CountProjectFile(const IfileObject& file) override
    {
        if (IcmdReadWriteProject* reader = IcmdReadWriteProjectImpl::CurrentProjectReader()) reader->StepOneFile(file);
    }

    bool ImportsFileType(zorpaFileManagerTypes type) override
    {
        const IcmdImportFiles import(&Imodel::GetInstance(), false);
        return import.IsSupportedType(type);
    }

    const std::set<VyIfaces::IComponent*>& GetConstraintsEditorComponents() override
    {
        return IcmdOpenConstraintsEditor::GetComponents();
    }

    bool CreateLink(const IfileObject& file) override
    {
        auto command = std::make_unique<IcmdCreateLink>(&Imodel::GetInstance());
        if (!command->AddFileObject(file)) return false;
        return IcmdDoCommand(std::move(command), false);
    }

    void FollowRenamedFile(const boost::shared_ptr<IfileObjectEx>& entry, const std::string& fullName) override
    {
        if (!entry) return;
        const IfileObjectEx oldEntry = *entry;
        entry->SetFileName(ImodelFileName(fullName), ImodelFMFull, true);
        IcmdFollowRenamedEntry(oldEntry, entry);
    }
};

// In place from the library's load to its unload.
const IcmdCommandServices services;

}  // namespace
