// The block-design library's bus definitions: one process-wide manager
// that loads the bus definitions of a device family and keeps the design
// environment's callback object for the block-design engine.
#pragma once

#include <string>

class IIDEObject;

namespace Vybusdef {

class VyBusDefMgr {
public:
    static VyBusDefMgr& GetInstance();

    // The environment's callback object, not owned; null forgets it.
    void SetIDECallBack(IIDEObject* callback) { m_callback = callback; }
    IIDEObject* GetIDECallBack() const { return m_callback; }

    // Makes the bus definitions of `family` the current ones. False, with
    // the current family kept, for an empty family.
    bool Load(const std::string& family);
    // The family whose bus definitions are loaded; empty before any load.
    const std::string& GetLoadedFamily() const { return m_family; }

    VyBusDefMgr(const VyBusDefMgr&) = delete;
    VyBusDefMgr& operator=(const VyBusDefMgr&) = delete;

private:
    VyBusDefMgr() = default;

    IIDEObject* m_callback = nullptr;
    std::string m_family;
};

}  // namespace Vybusdef
