#include "ConsoleIpMgrCallback.h"

#include "imodel/model/Imodel.h"

#include <ktwkspace/Catalog.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <tuple>

namespace {

// Versions compare part by part ("1.10" after "1.9"): digits as numbers,
// other text as text.
bool IsOlderVersion(const std::string& a, const std::string& b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const bool digitA = std::isdigit(static_cast<unsigned char>(a[i])) != 0;
        const bool digitB = std::isdigit(static_cast<unsigned char>(b[j])) != 0;
        if (digitA && digitB) {
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && std::isdigit(static_cast<unsigned char>(a[endA]))) ++endA;
            while (endB < b.size() && std::isdigit(static_cast<unsigned char>(b[endB]))) ++endB;
            // Leading zeros do not make a number larger.
            std::string numberA = a.substr(i, endA - i);
            std::string numberB = b.substr(j, endB - j);
            numberA.erase(0, std::min(numberA.find_first_not_of('0'), numberA.size() - 1));
            numberB.erase(0, std::min(numberB.find_first_not_of('0'), numberB.size() - 1));
            if (numberA.size() != numberB.size()) return numberA.size() < numberB.size();
            if (numberA != numberB) return numberA < numberB;
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

std::string LineOf(const Ktwkspace::CatalogCore& core)
{
    std::string line = core.vendor + ':' + core.library + ':' + core.name + ':' + core.version;
    if (!core.description.empty()) line += " - " + core.description;
    return line;
}

}  // namespace

void ConsoleIpMgrCallback::ListCatalog(const std::string& family, const std::string&, bool latestOnly,
                                       std::vector<std::string>& lines)
{
    lines.clear();
    std::vector<const Ktwkspace::CatalogCore*> offered;
    for (const Ktwkspace::CatalogCore& core : Imodel::GetInstance().GetCatalog().GetAllCores())
        if (core.IsOfferedFor(family)) offered.push_back(&core);
    if (latestOnly) {
        // Each core in the place of its first version, holding its latest one.
        using Key = std::tuple<std::string, std::string, std::string>;
        std::map<Key, std::size_t> placeOf;
        std::vector<const Ktwkspace::CatalogCore*> latest;
        for (const Ktwkspace::CatalogCore* core : offered) {
            const auto [place, isNew] = placeOf.emplace(Key(core->vendor, core->library, core->name), latest.size());
            if (isNew)
                latest.push_back(core);
            else if (IsOlderVersion(latest[place->second]->version, core->version))
                latest[place->second] = core;
        }
        offered = std::move(latest);
    }
    for (const Ktwkspace::CatalogCore* core : offered) lines.push_back(LineOf(*core));
}
