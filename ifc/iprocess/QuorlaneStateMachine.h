// The receiver of change messages: everything that can alter a state the
// user sees reaches the design flow as one of these messages. The process
// manager (Imodel::GetStateMachine) routes each one to the flow of the
// module concerned, which hands it to its state machines.
#pragma once

#include "imodel/device/ImodelDevice.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelToolKinds.h"

#include <boost/shared_ptr.hpp>
#include <vy/IDEVeyrunCallBack.h>

#include <deque>
#include <vector>

class IfileObject;
class IfileObjectEx;
class ImodelModule;
class ImodelRevContextImpl;
class KemletContentIf;
namespace VyIfaces {
class IComponent;
}

// What happened to one file.
enum QuorlaneStateMachineStringMessage : int {
    QuorlaneFileChanged = 0,  // its content changed, or it was added
    QuorlaneFileRemoved = 1,
    QuorlanePackageFileChanged = 2,
    QuorlaneConstraintFileChanged = 3  // a constraint file whose tool inputs change
};

// What happened to several files.
enum QuorlaneStateMachineMultipleFilesMessages : int {
    QuorlaneFilesChanged = 0,  // changed or added
    QuorlaneFilesRemoved = 1
};

// Something concerning one tool kind changed.
enum QuorlaneStateMachineTypeMessage : int {
    QuorlaneToolChangedForAllModules = 0,
    QuorlaneToolChangedForModule = 1
};

class QuorlaneStateMachine {
public:
    virtual ~QuorlaneStateMachine() = default;

    virtual void FileModificationMessage(QuorlaneStateMachineStringMessage kind,
                                         boost::shared_ptr<IfileObjectEx> file) = 0;
    virtual void FilesModificationMessage(QuorlaneStateMachineMultipleFilesMessages kind,
                                          const std::deque<IfileObject>& files) = 0;
    // The file used for a type in a revision of the module changed.
    virtual void UsedFileChanged(ImodelModule* module, ImodelRevContextImpl* revision, zorpaFileManagerTypes type) = 0;
    // The input-file list of a tool for a file changed.
    virtual void InputFileListChanged(boost::shared_ptr<IfileObjectEx> file, ImodelFunctionType tool) = 0;
    // The order of the module's CDB files changed.
    virtual void CDBOrderChanged(ImodelModule* module) = 0;
    // The target device changed: the members that differ, coarsest first,
    // and the new device. `tool` (may be null) names the one tool kind whose
    // own results still hold.
    virtual void DeviceChangedMessage(const std::vector<imodelDeviceMembers>& differences, const ImodelDevice& device,
                                      ImodelFunctionType* tool) = 0;
    virtual void FunctionTypeMessage(QuorlaneStateMachineTypeMessage kind, ImodelFunctionType tool,
                                     ImodelModule* module) = 0;
    // A tool run ended with `state`.
    virtual void ForceToolStateMessage(imodelToolState state, ImodelFunctionType tool, ImodelModule* module,
                                       boost::shared_ptr<IfileObjectEx> file) = 0;
    // A place-and-route file-list file was written; `content` is its parsed content.
    virtual void Ide_pldFileDetected(KemletContentIf* content, boost::shared_ptr<IfileObjectEx> file) = 0;
    virtual void UpdateFileDependentStates() = 0;
    virtual void UpdateFileDependentStatesForModule(ImodelModule* module) = 0;
    // A block-design component changed.
    virtual void ComponentChanged(VyIfaces::IComponent* component, IDEVeyrunCallBack::InvalidateMessage kind) = 0;

    // The module a message is about, for the length of one message; null
    // drops the current one. DetachModule returns the module that was attached.
    virtual void AttachModule(ImodelModule* module) = 0;
    virtual ImodelModule* DetachModule() = 0;

protected:
    QuorlaneStateMachine() = default;
    QuorlaneStateMachine(const QuorlaneStateMachine&) = default;
    QuorlaneStateMachine& operator=(const QuorlaneStateMachine&) = default;
};
