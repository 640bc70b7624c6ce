// The named switches of the project model: each read from the options
// database on first use and cached, so that hot paths (every event batch,
// every timer scan) never go to the options database.
#include "src/imodel/model/imodelImpl.h"

#include <foundation/Def.h>
#include <vy/IComponent.h>

#include <cstddef>

namespace {

constexpr bool kReloadable[] = {
#define IMODEL_BOOL_SETTING_RELOADABLE(name, variable, defaultValue, reloadable) reloadable,
    IMODEL_BOOL_SETTINGS(IMODEL_BOOL_SETTING_RELOADABLE)
#undef IMODEL_BOOL_SETTING_RELOADABLE
};

}  // namespace

bool imodelImpl::type_FixedBoolDefValue::GetValue()
{
    if (m_read) return m_value;
    // Marked first, so that a variable the options database lacks is not
    // asked for again at every call.
    m_read = true;
    int value = 0;
    if (DefGetBoolFL(m_name.c_str(), &value, __FILE__, __LINE__) == 0) m_value = value == 1;
    return m_value;
}

bool imodelImpl::Setting(BoolSetting setting) { return m_settings[static_cast<std::size_t>(setting)].GetValue(); }

bool imodelImpl::IsPackagerEnabledForUserIP()
{
    return IsPackagerEnabled() && Setting(BoolSetting::PackagerEnabledForUserIP);
}

bool imodelImpl::IsPackagerEnabledFor(const VyIfaces::IComponent* component)
{
    if (!IsPackagerEnabled() || component == nullptr) return false;
    switch (component->GetModuleType()) {
    case VyIfaces::IComponent::Kiltora:
        return Setting(BoolSetting::PackagerEnabledForKt);
    case VyIfaces::IComponent::Veyrun:
        // A block design also needs its own consent.
        return Setting(BoolSetting::PackagerEnabledForVy) && component->GetPackagingState() == 0;
    default:
        return false;
    }
}

bool imodelImpl::ReloadBoolSettings()
{
    for (std::size_t i = 0; i < m_settings.size(); ++i) {
        if (kReloadable[i]) m_settings[i].Reload();
    }
    return false;
}
