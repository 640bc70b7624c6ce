#include "ktwkspace/Catalog.h"

#include "KtwkspaceDebug.h"

#include <ulv/UlvXml.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace Ktwkspace {

namespace {

const char* const kRoot = "kiltora_catalog";
// The suite's catalogue lists a few hundred cores in well under a megabyte;
// a file many times that size is no catalogue of ours.
constexpr std::int64_t kMaxCatalogFileSize = std::int64_t{16} << 20;

// Reads one <core>; false with `error` set when an identity attribute is
// missing or empty.
bool ReadCore(const xercesc::DOMElement* element, CatalogCore& core, std::string& error)
{
    const std::array<std::pair<const char*, std::string*>, 4> identity{
        {{"vendor", &core.vendor}, {"library", &core.library}, {"name", &core.name}, {"version", &core.version}}};
    for (const auto& [attribute, field] : identity) {
        if (!UlvGetAttribute(element, attribute, *field) || field->empty()) {
            error = std::string("a core has no ") + attribute;
            return false;
        }
    }
    for (const xercesc::DOMElement* child : UlvGetChildElements(element)) {
        const std::string name = UlvGetName(child);
        if (name == "family")
            core.families.push_back(UlvGetText(child));
        else if (name == "description")
            core.description = UlvGetText(child);
    }
    return true;
}

}  // namespace

bool CatalogCore::IsOfferedFor(const std::string& family) const
{
    if (family.empty() || families.empty()) return true;
    return std::any_of(families.begin(), families.end(),
                       [&family](const std::string& offered) { return UlvIsStrEqualNoCase(offered, family); });
}

bool KtwkspaceReadCatalog(const std::string& text, const std::string& name, std::vector<CatalogCore>& cores,
                          std::string& error)
{
    cores.clear();
    UlvXmlDocument document;
    if (!document.ParseText(text, name)) {
        error = document.GetError();
        return false;
    }
    const xercesc::DOMElement* root = document.GetRoot();
    if (UlvGetName(root) != kRoot) {
        error = name + ": the root element is not <" + kRoot + ">";
        return false;
    }
    std::vector<CatalogCore> read;
    for (const xercesc::DOMElement* element : UlvGetChildElements(root)) {
        if (UlvGetName(element) != "core") continue;
        CatalogCore core;
        if (!ReadCore(element, core, error)) {
            error = name + ": " + error;
            return false;
        }
        read.push_back(std::move(core));
    }
    cores = std::move(read);
    return true;
}

bool Catalog::load(const std::string& path)
{
    m_cores.clear();
    std::string text;
    std::string error;
    if (!UlvReadFile(path, kMaxCatalogFileSize, text, error) || !KtwkspaceReadCatalog(text, path, m_cores, error)) {
        DebugLine("Core catalogue not read: " + error);
        return false;
    }
    return true;
}

const CatalogCore* Catalog::FindCore(const std::string& library, const std::string& name,
                                     const std::string& version) const
{
    const auto found = std::find_if(m_cores.begin(), m_cores.end(), [&](const CatalogCore& core) {
        return UlvIsStrEqualNoCase(core.library, library) && UlvIsStrEqualNoCase(core.name, name) &&
               UlvIsStrEqualNoCase(core.version, version);
    });
    return found == m_cores.end() ? nullptr : &*found;
}

std::string Catalog::getCoreDescription(const std::string& library, const std::string& name,
                                        const std::string& version) const
{
    const CatalogCore* core = FindCore(library, name, version);
    return core ? core->description : std::string();
}

std::vector<const CatalogCore*> Catalog::GetCores() const
{
    std::vector<const CatalogCore*> offered;
    for (const CatalogCore& core : m_cores)
        if (core.IsOfferedFor(m_family)) offered.push_back(&core);
    return offered;
}

}  // namespace Ktwkspace
