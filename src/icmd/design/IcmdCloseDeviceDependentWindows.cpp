#include "icmd/design/IcmdCloseDeviceDependentWindows.h"

#include "icmd/design/IcmdOpenConstraintsEditor.h"
#include "imodel/device/ImodelDevice.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"

#include <ktwkspace/Workspace.h>
#include <ndb/BrnDevice.h>
#include <vy/IComponent.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The open editors whose components depend on the device: the constraint
// editors first, then the open designs of the core workspace in its order;
// a component that is both is named once.
std::vector<VyIfaces::IComponent*> DeviceDependentEditors(const ImodelDevice& device)
{
    const BrnDevice value = device.GetAsBrnDevice();
    std::vector<VyIfaces::IComponent*> editors;
    const auto add = [&](VyIfaces::IComponent* component) {
        if (component != nullptr && component->DependsOnDevice(value) &&
            std::find(editors.begin(), editors.end(), component) == editors.end())
            editors.push_back(component);
    };
    for (VyIfaces::IComponent* component : IcmdOpenConstraintsEditor::GetComponents()) add(component);
    if (const Ktwkspace::Workspace* workspace = Imodel::GetInstance().GetWorkspace()) {
        for (const Ktwkspace::Workspace::DesignEntry& design : workspace->GetDesignTable())
            if (design.open) add(design.component);
    }
    return editors;
}

}  // namespace

bool IcmdDoCloseDeviceDependentWindows(void* parentWindow, const ImodelDevice& newDevice)
{
    const std::vector<VyIfaces::IComponent*> editors = DeviceDependentEditors(newDevice);
    if (editors.empty()) return true;
    std::string names;
    for (const VyIfaces::IComponent* component : editors) {
        if (!names.empty()) names += '\n';
        names += component->GetDisplayName();
    }
    const bool script = Imodel::IsRunningScript();
    if (ImodelDisplayCLOSE_DOCS_QRY(parentWindow, script ? MdbOK : MdbCANCEL, names.c_str()) != MdbOK) return false;
    for (VyIfaces::IComponent* component : editors) {
        Ktwkspace::Workspace* workspace = Imodel::GetInstance().GetWorkspace();
        if (workspace == nullptr) continue;
        if (!script) workspace->PrepareToCloseEditor(component);
        // A closed constraint editor's component leaves the registry as the
        // workspace lets it go.
        if (!workspace->CloseEditor(component)) return false;
    }
    return DeviceDependentEditors(newDevice).empty();
}
