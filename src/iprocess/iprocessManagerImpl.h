// The process manager. It owns the flows, finds the flow of a unit and
// routes every change message to it: the flow gets the unit attached for
// the length of one message (iprocessManagerRouting.cpp). While a project
// file is being read only UpdateFileDependentStates and ComponentChanged are
// routed. It also keeps the current unit (set_root's), the host's display
// and its listener.
#pragma once

#include "iprocess/IprocessManager.h"
#include "src/iprocess/iprocessFileKeys.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

class IfileManager;
class ItimerManager;

class iprocessManagerImpl : public IprocessManager {
public:
    iprocessManagerImpl() = default;
    ~iprocessManagerImpl() override;

    // Creates and builds the flow "DEFAULT", whose file nodes listen to
    // `fileManager`, then resets the model's file watcher, whose filters
    // depend on the flow.
    void CreateDefaultFlow(ItimerManager& watcher, IfileManager* fileManager);
    void AddFlow(const std::string& name, IfileManager* fileManager);

    // --- routed messages (iprocessManagerRouting.cpp) ----------------------------------------
    void FileModificationMessage(QuorlaneStateMachineStringMessage kind,
                                 boost::shared_ptr<IfileObjectEx> file) override;
    void FilesModificationMessage(QuorlaneStateMachineMultipleFilesMessages kind,
                                  const std::deque<IfileObject>& files) override;
    void UsedFileChanged(ImodelModule* module, ImodelRevContextImpl* revision, zorpaFileManagerTypes type) override;
    void InputFileListChanged(boost::shared_ptr<IfileObjectEx> file, ImodelFunctionType tool) override;
    void CDBOrderChanged(ImodelModule* module) override;
    void DeviceChangedMessage(const std::vector<imodelDeviceMembers>& differences, const ImodelDevice& device,
                              ImodelFunctionType* tool) override;
    void FunctionTypeMessage(QuorlaneStateMachineTypeMessage kind, ImodelFunctionType tool,
                             ImodelModule* module) override;
    void ForceToolStateMessage(imodelToolState state, ImodelFunctionType tool, ImodelModule* module,
                               boost::shared_ptr<IfileObjectEx> file) override;
    void Ide_pldFileDetected(KemletContentIf* content, boost::shared_ptr<IfileObjectEx> file) override;
    void UpdateFileDependentStates() override;
    void UpdateFileDependentStatesForModule(ImodelModule* module) override;
    void ComponentChanged(VyIfaces::IComponent* component, IDEVeyrunCallBack::InvalidateMessage kind) override;
    void ConstraintListChanged(ImodelModule* module, std::uint32_t value, ImodelFunctionType tool) override;
    void GetHdlFilesOfModule(ImodelFunctionType tool, imodelSolvatoState state,
                             std::vector<boost::shared_ptr<IfileObjectEx>>& out, ImodelModule* module,
                             std::deque<IfileObject>* extra) override;

    // Hands a message to the flow of the unit with the unit attached. A
    // message sent while the same flow handles another gets the outer unit
    // (and its message object) back afterwards; between messages no unit is
    // attached.
    template <class Send>
    void Route(ImodelModule* module, const Send& send);
    // The units whose sources the files are, in library and set order (kind
    // 1: a unit whose own file is listed is left out). Only the units the
    // files define and those above them are looked at where the design's
    // links tell the answer; CollectModulesForFilesByWalk looks at every
    // unit and gives the same answer.
    std::vector<ImodelModule*> CollectModulesForFiles(QuorlaneStateMachineMultipleFilesMessages kind,
                                                      const std::deque<IfileObject>& files) const;
    // ... the units the files define alone, without `above`; none when the
    // links cannot tell (the walk over every unit must).
    std::optional<std::vector<ImodelModule*>> CollectModulesForFiles(QuorlaneStateMachineMultipleFilesMessages kind,
                                                                     const std::deque<IfileObject>& files,
                                                                     bool above) const;
    std::vector<ImodelModule*> CollectModulesForFilesByWalk(QuorlaneStateMachineMultipleFilesMessages kind,
                                                            const std::deque<IfileObject>& files) const;
    void AttachModule(ImodelModule* module) override;
    ImodelModule* DetachModule() override;

    IprocessFlow* GetFlowForModule(ImodelModule* module) override;
    IprocessFileObject* GetFileObject(zorpaFileManagerTypes type, ImodelModule* module) override;
    IprocessToolObject* GetToolObject(ImodelFunctionType tool, ImodelModule* module) override;
    ImodelModule* GetCurrentModule() override { return m_attachedModule; }

    void UpdateProcessDisplay(bool flag) override;
    void FlowOptionsChanged(bool updateStates) override;
    void RefreshProcessDisplay() override;
    void DetachIfCurrent(ImodelModule* module) override;
    void SetProcessDisplay(IprocessDisplay* display) override { m_display = display; }
    IprocessDisplay* GetProcessDisplay() override { return m_display; }
    void SetListener(IprocessListener* listener) override { m_listener = listener; }
    void DisplayItemsMessage1(std::uint32_t value, ImodelModule* module) override;
    void DisplayItemsMessage2(std::uint32_t value, ImodelModule* module) override;
    void DisplayItemsMessage3(ImodelModule* module) override;

    void DeferSourceChanges(bool defer) override;

    // The listener hears of the view's change; the display draws it again
    // when it shows that view. The flow's state machines hear of a used
    // file through UsedFileChanged, which the view sends right after.
    void DesignStateOfRevisionChanged(ImodelRevContextImpl* revision) override;
    void ToolStateOfRevisionChanged(ImodelFunctionType tool, ImodelRevContextImpl* revision) override;
    void UsedFileOfRevisionChanged(zorpaFileManagerTypes type, ImodelRevContextImpl* revision) override;

private:
    // Routes a source change to the units whose sources the files are;
    // `keys` are those of the files.
    void RouteSourceChange(QuorlaneStateMachineMultipleFilesMessages kind, const std::deque<IfileObject>& files,
                           const iprocessFileKeys& keys);
    // Whether a source change only brings the units it reaches to rest: no
    // view holds a tool result and every flow brings them to pre-synthesis
    // (iprocessFlowImpl::BringsSourceChangesToRest). Never while the plain
    // way is asked for (IprocessParentStateMachine::PlainInvalidation).
    bool BringsSourceChangesToRest() const;
    // Whether every unit a source change may reach is at rest already:
    // routing the change to it then changes nothing.
    static bool AreAllUnitsAtRest();
    // Routes the gathered source changes, if any; every message that is not
    // one starts with it.
    void RouteDeferred();
    // The units a change of a constraint file of the project concerns: the
    // unit that owns it and those whose tools' lists name it; none to tell
    // every unit (several flows, files made from it, a list that cannot
    // be read cheaply, or a result that the change may take from any unit).
    std::optional<std::unordered_set<ImodelModule*>>
    UnitsConcernedByConstraintFile(const boost::shared_ptr<IfileObjectEx>& file);
    void RouteConstraintFileChange(const boost::shared_ptr<IfileObjectEx>& file);
    void NotifyNetlistsOfConstraintChange(ImodelFunctionType tool, ImodelModule* module);
    // The accepting items of the display, when it shows `module` (or, with
    // `anyForNull`, for a null module).
    std::vector<class IprocessDisplayItem*> AcceptingItems(ImodelModule* module, bool anyForNull) const;
    // Asks the display to draw again when it shows the view: the current
    // view of the unit it shows.
    void RedrawIfShown(const ImodelRevContextImpl& revision);

    std::vector<std::unique_ptr<IprocessFlow>> m_flows;
    // The flows handling a message, innermost last, with their units.
    std::vector<std::pair<IprocessFlow*, ImodelModule*>> m_routes;
    ImodelModule* m_attachedModule = nullptr;
    IprocessListener* m_listener = nullptr;
    IprocessDisplay* m_display = nullptr;
    // Open deferrals, and the source changes gathered: their kind, their
    // files in the order sent, and the keys of those files.
    int m_deferrals = 0;
    struct Deferred {
        QuorlaneStateMachineMultipleFilesMessages kind;
        std::deque<IfileObject> files;
        iprocessFileKeys keys;
    };
    std::optional<Deferred> m_deferred;
};
