#include "imodel/design/ImodelFindModule.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/Sys.h>
#include <zorpa/ZorpaString.h>

#include <algorithm>
#include <memory>

namespace {

using LibraryPtr = ImodelDesignManager::LibraryPtr;

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

std::string Lower(std::string text)
{
    ZorpaMakeLower(text);
    return text;
}

bool IsDefinedBy(const ImodelModule* module, const std::string& fileName)
{
    return module != nullptr && module->GetModuleFile() &&
           ImodelIsSameFileName(fileName, module->GetModuleFullFileName().GetString());
}

// The first result of `find` over the design's libraries in order.
template <class Find>
ImodelModule* FindInAnyLib(Find find)
{
    const auto [first, last] = Design().GetLibraries();
    for (auto library = first; library != last; ++library)
        if (ImodelModule* module = find(*library)) return module;
    return nullptr;
}

}  // namespace

// The kind does not narrow the search.
ImodelModule* ImodelFindModuleInLib(LibraryPtr library, const std::string& name, zorpaModuleTypes,
                                    const std::string& fileName)
{
    if (!library || name.empty()) return nullptr;
    const auto& modules = library->GetModules();
    if (!modules || modules->empty()) return nullptr;
    // The units of the name (letter case ignored) stand together, one
    // without file first, then by their files; found without a lower-cased copy.
    const auto [first, last] = modules->EqualRangeAsWritten(name);
    if (first == last) return nullptr;
    if (fileName.empty()) {
        // Verilog tells TOP from top: a unit named exactly so is the one
        // meant, before one whose name differs in case only.
        const auto exact =
            std::find_if(first, last, [&name](const ImodelModule* module) { return module->GetName() == name; });
        return exact == last ? *first : *exact;
    }
    // Several units of one name stand in a set only when each has its own
    // file: every one of them is asked, not only the first.
    const auto found =
        std::find_if(first, last, [&](const ImodelModule* module) { return IsDefinedBy(module, fileName); });
    return found == last ? nullptr : *found;
}

ImodelModule* ImodelFindModule(const VyIfaces::ComponentID& id)
{
    const LibraryPtr library = Design().FindLibraryByName(id.library);
    return library ? ImodelFindModuleInLib(library, id.name, zorpaMODULE_UNKNOWN, "") : nullptr;
}

ImodelModule* ImodelFindModuleInAnyLib(const std::string& name, const std::string& fileName)
{
    return FindInAnyLib(
        [&](const LibraryPtr& library) { return ImodelFindModuleInLib(library, name, zorpaMODULE_UNKNOWN, fileName); });
}

ImodelModule* ImodelFindModule(VyIfaces::IComponent* component, LibraryPtr library)
{
    if (component == nullptr || !library || !library->GetModules()) return nullptr;
    const VyIfaces::ComponentID& id = component->GetComponentID();
    for (ImodelModule* module : *library->GetModules()) {
        const VyIfaces::IComponent* own = module ? module->GetComponent() : nullptr;
        if (own != nullptr && own->GetComponentID() == id) return module;
    }
    return nullptr;
}

ImodelModule* ImodelFindModuleInAnyLib(VyIfaces::IComponent* component)
{
    if (component == nullptr) return nullptr;
    return FindInAnyLib([&](const LibraryPtr& library) { return ImodelFindModule(component, library); });
}

int ImodelGetMatchingModules(LibraryPtr library, const std::string& pattern, std::vector<ImodelModule*>& out,
                             bool (*const& accept)(ImodelModule*))
{
    if (!library || pattern.empty() || !library->GetModules()) return 0;
    int walked = 0;
    for (ImodelModule* module : *library->GetModules()) {
        ++walked;
        if (module != nullptr && WcmMatch(pattern.c_str(), module->GetName().c_str()) != 0 &&
            (accept == nullptr || accept(module)))
            out.push_back(module);
    }
    return walked;
}

ImodelModule* ImodelFindUsedPackage(boost::shared_ptr<IfileObjectEx> file, std::string& useName,
                                    std::deque<std::string>& visited)
{
    const std::size_t dot = useName.find('.');
    if (!file || dot == std::string::npos) return nullptr;
    const std::string rest = useName.substr(dot + 1);
    useName = Lower(useName.substr(0, dot));
    const std::size_t second = rest.find('.');
    if (second == std::string::npos) return nullptr;
    const std::string package = Lower(rest.substr(0, second));
    const std::string fileLibrary = Lower(file->GetLibraryName());

    if (useName != "work") return ImodelFindPackageInLib(&visited, useName, package);
    ImodelModule* found = ImodelFindPackageInLib(&visited, fileLibrary, package);
    if (found == nullptr && fileLibrary != "work") found = ImodelFindPackageInLib(&visited, "work", package);
    return found;
}

ImodelModule* ImodelFindPackageInLib(std::deque<std::string>* visited, const std::string& library,
                                     const std::string& package)
{
    if (visited != nullptr) {
        const std::string key = library + "." + package;
        if (std::find(visited->begin(), visited->end(), key) != visited->end()) return nullptr;
        visited->push_back(key);
    }
    const LibraryPtr found = Design().FindLibraryByName(library);
    const ImodelModule::ModuleList* list = Design().GetTopModules(found);
    if (list == nullptr) return nullptr;
    ImodelModule* result = nullptr;
    for (ImodelModule* module : *list)
        if (module != nullptr && module->IsPackage() && ZorpaCompareNoCase(module->GetName(), package) == 0)
            result = module;
    return result;
}
