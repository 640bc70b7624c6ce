#include "ktwkspace/DremmetDesignBase.h"

#include "ktwkspace/IIDEObject.h"

#include <foundation/Sys.h>

namespace Brndesign {

namespace {

// One argument of the configurator's command line: in double quotes, a
// double quote inside escaped, so that blanks stay in it (the command
// line's word rules).
std::string Argument(const std::string& text)
{
    std::string word = "\"";
    for (const char c : text) {
        if (c == '"') word += '\\';
        word += c;
    }
    return word + '"';
}

}  // namespace

std::string DremmetDesignBase::GetDesignFolder(IIDEObject* environment, const VyIfaces::ComponentID& id,
                                               VyIfaces::IComponent::VyModuleType type)
{
    if (environment == nullptr || id.name.empty()) return std::string();
    std::string base = environment->GetBaseIDEFolder(id, type);
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    return base.empty() ? std::string() : base + '/' + id.name;
}

bool DremmetDesignBase::OpenQVGUI(IIDEObject* environment, bool existing, bool wait, const DremmetCore& core,
                                  const VyIfaces::ComponentID& id, VyIfaces::IComponent::VyModuleType type)
{
    if (environment == nullptr) return false;
    std::string info;
    std::string executable;
    std::string toolKey;
    if (!environment->GetDremmetProfile(info, executable, toolKey)) return false;
    const std::string folder = GetDesignFolder(environment, id, type);
    if (folder.empty() || !UtlValidateOrCreateFolder(folder)) return false;
    std::string arguments;
    if (!existing)
        arguments = Argument("CORE:" + core.vendor + ":" + core.library + ":" + core.name + ":" + core.version) + " ";
    arguments += Argument("DESIGN:" + id.name);
    return environment->LaunchTool(executable, arguments, folder, wait);
}

}  // namespace Brndesign
