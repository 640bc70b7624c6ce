#include "icmd/design/IcmdDumpComponents.h"

#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "itool/ItoolVeyrun.h"

#include <ktwkspace/Workspace.h>
#include <zorpa/ZorpaString.h>

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

namespace {

std::string Upper(std::string text)
{
    ZorpaMakeUpper(text);
    return text;
}

const char* StateWord(int state)
{
    switch (state) {
    case 0:
        return "GENERATED";
    case 1:
        return "SAVED";
    case 2:
        return "OUTOFDATE";
    default:
        return "NOTREADY";
    }
}

}  // namespace

IcmdDumpComponents::~IcmdDumpComponents() = default;

AcmdEnum::Result IcmdDumpComponents::DoDump(std::ostream& out)
{
    const Ktwkspace::Workspace* workspace = Imodel::GetInstance().GetCurrentWorkspace();
    if (workspace == nullptr) {
        out << "ERROR - No Component Collection loaded\n";
        return AcmdEnum::Success;
    }
    using Key = std::tuple<std::string, std::string, std::string>;
    std::vector<std::pair<Key, VyIfaces::IComponent*>> components;
    for (const auto& [id, component] : workspace->GetComponentCollection())
        components.emplace_back(Key(Upper(id.name), Upper(id.library), Upper(id.package)), component);
    std::stable_sort(components.begin(), components.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [key, component] : components) {
        if (component == nullptr) {
            out << "ERROR - Invalid component\n";
            continue;
        }
        const VyIfaces::ComponentID& id = component->GetComponentID();
        out << "Component: " << id.name << '\n'
            << "   IXF File: " << ItoolVeyrun::GetComponentFullFileName(component->GetIXFFileName()) << '\n'
            << "   Def File: " << ItoolVeyrun::GetComponentFullFileName(component->GetDefinitionFileName()) << '\n'
            << "   Type: " << ImodelModule::GetComponentTypeStr(component) << '\n'
            << "   Library: " << id.library << '\n'
            << "   State: " << StateWord(component->GetState()) << '\n'
            << '\n';
    }
    return AcmdEnum::Success;
}
