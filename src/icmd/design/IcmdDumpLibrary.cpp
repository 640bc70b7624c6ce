#include "icmd/design/IcmdDumpLibrary.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/model/Imodel.h"

namespace {

// The file's name after its last "/", else after its last "\"; "?" for none.
std::string FileTitle(const std::string& fileName)
{
    if (fileName.empty()) return "?";
    std::size_t cut = fileName.rfind('/');
    if (cut == std::string::npos) cut = fileName.rfind('\\');
    return cut == std::string::npos ? fileName : fileName.substr(cut + 1);
}

void DumpUnit(std::ostream& out, const std::string& indent, const ImodelModule& module, const std::string& library)
{
    out << indent << (module.IsPackage() ? "Package: " : "") << module.GetName() << ' ';
    const std::string definedIn = module.GetDefinedInLibrary();
    if (definedIn != library) out << '[' << definedIn << "] ";
    out << '(' << FileTitle(module.GetFileName()) << ")\n";
}

}  // namespace

IcmdDumpLibrary::~IcmdDumpLibrary() = default;

AcmdEnum::Result IcmdDumpLibrary::DoDump(std::ostream& out)
{
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    const auto [first, last] = design.GetLibraries();
    for (auto library = first; library != last; ++library) {
        if (!*library) continue;
        const std::string name = (*library)->GetName();
        out << name << '\n';
        if (const std::deque<ImodelModule*>* top = design.GetTopModules(*library))
            ImodelDumpHierarchy(out, "   ", top, false,
                                [&](std::ostream& to, const std::string& indent, const ImodelModule& module) {
                                    DumpUnit(to, indent, module, name);
                                });
    }
    return AcmdEnum::Success;
}
