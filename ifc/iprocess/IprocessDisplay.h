// The host's view of the flow of the current module, set on the process
// manager by the host (outside the library).
#pragma once

class ImodelModule;
class IprocessFlow;

class IprocessDisplay {
public:
    virtual ~IprocessDisplay() = default;

    virtual bool IsRefreshPending() = 0;
    virtual void SetRefreshPending(bool pending) = 0;
    // Asks the host to refresh the display; the host answers later with
    // IprocessManager::RefreshProcessDisplay.
    virtual void RequestRefresh(bool flag) = 0;
    virtual void ShowModuleFlow(ImodelModule* module, IprocessFlow* flow) = 0;
    virtual ImodelModule* GetShownModule() = 0;
};
