#include "brnspirit/ComponentMgr.h"

#include <foundation/Sys.h>
#include <foundation/UtlAscii.h>
#include <ulv/SpiritReadCoreInfo.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <utility>

namespace Brnspirit {

namespace {

// No install nests its components deeper; a loop of links cannot lead the
// walk astray either.
constexpr int kMaxDepth = 16;

bool IsDescriptionName(const std::string& name)
{
    const std::string_view text(name);
    const auto endsWith = [&](std::string_view suffix) {
        return text.size() > suffix.size() && UtlIsSameNoCase(text.substr(text.size() - suffix.size()), suffix);
    };
    return endsWith(".xml") || endsWith(".cxf");
}

std::vector<std::string> GeneratorsOf(const SpiritCoreDescription& description)
{
    std::vector<std::string> generators;
    const std::optional<PersistXMLAtom> root = description.getRootAtom();
    const std::optional<PersistXMLAtom> list =
        root ? UlvFindChildAtomNoCase(*root, "componentGenerators") : std::nullopt;
    if (!list) return generators;
    for (const PersistXMLAtom& generator : list->getChildAtoms()) {
        if (!UtlIsSameNoCase(generator.getName(), "componentGenerator")) continue;
        if (const std::optional<PersistXMLAtom> name = UlvFindChildAtomNoCase(generator, "name"))
            generators.push_back(name->getText());
    }
    return generators;
}

bool IsSameCore(const VlnvCoreId& a, const VlnvCoreId& b)
{
    return UtlIsSameNoCase(a.vendor, b.vendor) && UtlIsSameNoCase(a.library, b.library) &&
           UtlIsSameNoCase(a.name, b.name) && UtlIsSameNoCase(a.version, b.version);
}

}  // namespace

ComponentMgr* ComponentMgr::GetInstance()
{
    static ComponentMgr manager;
    return &manager;
}

const Component* ComponentMgr::GetComponent(const VlnvCoreId& core)
{
    LoadOnce();
    const auto found = std::find_if(m_components.begin(), m_components.end(),
                                    [&](const Component& component) { return IsSameCore(component.GetVLNV(), core); });
    return found == m_components.end() ? nullptr : &*found;
}

const std::vector<Component>& ComponentMgr::GetComponents()
{
    LoadOnce();
    return m_components;
}

int ComponentMgr::Load(const std::string& folder)
{
    m_loaded = true;
    m_components.clear();
    for (const std::string& file : SysFindFilesBelow(folder, kMaxDepth, IsDescriptionName)) {
        const SpiritCoreDescription description(file);
        if (!description.IsRead() || description.GetCore().name.empty()) continue;
        m_components.emplace_back(description.GetCore(), file, GeneratorsOf(description));
    }
    return static_cast<int>(m_components.size());
}

void ComponentMgr::LoadOnce()
{
    if (m_loaded) return;
    m_loaded = true;
    const char* install = std::getenv("BRENNIC_SW_DIR");
    std::string folder = install ? install : "";
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    if (!folder.empty()) Load(folder + "/data/spirit");
}

}  // namespace Brnspirit
