// The host's view of the flow of the current module, set on the process
// manager by the host (outside the library).
#pragma once

#include <cstdint>
#include <vector>

class ImodelModule;
class IprocessFlow;

// One item of the display; the values relayed are the host's own.
class IprocessDisplayItem {
public:
    virtual ~IprocessDisplayItem() = default;
    virtual bool AcceptsMessages() = 0;
    virtual void OnMessage1(std::uint32_t value) = 0;
    virtual void OnMessage2(std::uint32_t value) = 0;
    virtual void OnMessage3() = 0;
};

// The holder of the display's items.
class IprocessDisplayItemOwner {
public:
    virtual ~IprocessDisplayItemOwner() = default;
    // The items (null entries may occur); null when there are none.
    virtual std::vector<IprocessDisplayItem*>* GetItems() = 0;
};

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
    // May be null.
    virtual IprocessDisplayItemOwner* GetItemOwner() = 0;
};
