#include "icmd/IcmdDumpLibrary.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

#include <unordered_set>
#include <vector>

namespace {

// A dump deeper, or longer, than these is no text anyone reads; the limits
// keep a pathological hierarchy (shared units repeated along every path)
// from exhausting the memory.
constexpr std::size_t kMaxDepth = 1000;
constexpr std::size_t kMaxLines = 1000000;

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

// Depth first, sub-units in their order. A unit met again below itself is
// written but not entered; the walk keeps its own stack.
void DumpHierarchy(std::ostream& out, const std::deque<ImodelModule*>& top, const std::string& library)
{
    struct Level {
        const ImodelModule* owner;  // null for the top-level list
        std::vector<const ImodelModule*> units;
        std::size_t next = 0;
        std::string indent;
    };
    std::vector<Level> stack;
    stack.push_back({nullptr, {top.begin(), top.end()}, 0, "   "});
    std::unordered_set<const ImodelModule*> onPath;
    std::size_t lines = 0;
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next == level.units.size()) {
            onPath.erase(level.owner);
            stack.pop_back();
            continue;
        }
        const ImodelModule* module = level.units[level.next++];
        if (module == nullptr) continue;
        if (lines++ == kMaxLines) {
            out << level.indent << "... (the dump stops after " << kMaxLines << " lines)\n";
            return;
        }
        DumpUnit(out, level.indent, *module, library);
        const ImodelLinkList* subBlocks = module->GetSubBlocks();
        if (subBlocks == nullptr || subBlocks->empty() || onPath.contains(module)) continue;
        std::string below = level.indent + "   ";
        if (stack.size() == kMaxDepth) {
            out << below << "... (levels below " << kMaxDepth << " are not shown)\n";
            continue;
        }
        onPath.insert(module);
        stack.push_back({module, {subBlocks->begin(), subBlocks->end()}, 0, std::move(below)});
    }
}

}  // namespace

IcmdDumpLibrary::~IcmdDumpLibrary() = default;

AcmdEnum::Result IcmdDumpLibrary::DoDump(std::ostream& out)
{
    const auto [first, last] = Imodel::GetInstance().GetDesignManager()->GetLibraries();
    for (auto library = first; library != last; ++library) {
        if (!*library) continue;
        const std::string name = (*library)->GetName();
        out << name << '\n';
        if (const std::deque<ImodelModule*>* top = (*library)->GetModuleList()) DumpHierarchy(out, *top, name);
    }
    return AcmdEnum::Success;
}
