#include "icmd/design/IcmdDumpAllModules.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/model/Imodel.h"

#include <foundation/AcmdMessages.h>

namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

// The units of a link list, each on its own line four blanks in.
void DumpLinks(std::ostream& out, const ImodelLinkList* links)
{
    if (links == nullptr) return;
    for (const ImodelModule* module : *links) out << "    " << module->GetName() << '\n';
}

}  // namespace

IcmdDumpAllModules::IcmdDumpAllModules()
    : m_library("library", this, AcmdValueType::Single(), false, "library name", std::string(), false),
      m_tree("tree", this, AcmdValueType::Single(), false, false, "bool")
{
    RegisterVerboseParam();
}

IcmdDumpAllModules::~IcmdDumpAllModules() = default;

int IcmdDumpAllModules::SetLibraryName(std::string name)
{
    m_library.SetObject(std::move(name));
    return 0;
}

AcmdEnum::Result IcmdDumpAllModules::DoDump(std::ostream& out)
{
    const std::string name = GetLibraryName();
    if (!name.empty()) {
        const ImodelDesignManager::LibraryPtr library = Design().FindLibraryByName(name);
        if (!library) {
            AcmdDisplayArgNotFoundErrorMessage("library", name);
            return AcmdEnum::Failure;
        }
        DumpLibrary(out, library);
        return AcmdEnum::Success;
    }
    const auto [first, last] = Design().GetLibraries();
    for (auto library = first; library != last; ++library) {
        if (!*library) continue;
        out << "Library: " << (*library)->GetName() << '\n';
        DumpLibrary(out, *library);
    }
    return AcmdEnum::Success;
}

void IcmdDumpAllModules::DumpLibrary(std::ostream& out, const ImodelDesignManager::LibraryPtr& library) const
{
    if (m_tree.GetObject()) {
        Design().UpdateTopModules(library);
        ImodelDumpTree(out, "   ", Design().GetTopModules(library), library->GetName());
        return;
    }
    if (!library->GetModules()) return;
    const bool verbose = IsVerbose();
    for (const ImodelModule* module : *library->GetModules()) {
        out << module->GetName() << '\n';
        if (!verbose) continue;
        DumpLinks(out, module->GetParentsList());
        out << "    ------\n";
        DumpLinks(out, module->GetSubBlocks());
    }
}
