// The core catalogue of the core workspace: the cores that the suite's
// install folder offers, read from an XML file of our own, and the device
// family whose cores are offered now.
//
//   <kiltora_catalog>
//     <core vendor="brennic.com" library="kiltora" name="fifo" version="1.0">
//       <family>ZX7</family>             zero or more; none: every family
//       <description>FIFO</description>  optional
//     </core>
//   </kiltora_catalog>
//
// Elements and attributes of other names are skipped. A core without one of
// the four identity attributes, or with one empty, makes the file malformed;
// so does a document type declaration, which the catalogue never needs.
#pragma once

#include <string>
#include <vector>

namespace Ktwkspace {

struct CatalogCore {
    std::string vendor;
    std::string library;
    std::string name;
    std::string version;
    std::string description;
    std::vector<std::string> families;  // empty: offered for every family

    // Offered for the family (letter case ignored); every core is offered
    // when no family is chosen.
    bool IsOfferedFor(const std::string& family) const;
};

// What the workspace reads of the catalogue.
class CatalogIf {
public:
    virtual ~CatalogIf() = default;
    // The family chosen last; empty when none is.
    virtual const std::string& GetFamily() const = 0;
    // The cores offered for that family, in file order.
    virtual std::vector<const CatalogCore*> GetCores() const = 0;
    // The first core read of that library, name and version (letter case
    // ignored), whatever the family; null when there is none.
    virtual const CatalogCore* FindCore(const std::string& library, const std::string& name,
                                        const std::string& version) const = 0;

protected:
    CatalogIf() = default;
    CatalogIf(const CatalogIf&) = default;
    CatalogIf& operator=(const CatalogIf&) = default;
};

class Catalog : public CatalogIf {
public:
    // Replaces the cores with those of the file. A file that is missing,
    // malformed or larger than 16 MiB (refused before it is read) leaves the
    // catalogue empty and says why in a debug line (with DEBUG_MSG on);
    // false then.
    bool load(const std::string& path);
    // Chooses the family whose cores are offered.
    void setCatalog(const std::string& family) { m_family = family; }

    CatalogIf* GetCatalogIf() { return this; }
    const std::string& GetFamily() const override { return m_family; }
    std::vector<const CatalogCore*> GetCores() const override;
    // Every core read, whatever the family.
    const std::vector<CatalogCore>& GetAllCores() const { return m_cores; }
    const CatalogCore* FindCore(const std::string& library, const std::string& name,
                                const std::string& version) const override;
    // The description of that core; empty when there is no such core.
    std::string getCoreDescription(const std::string& library, const std::string& name,
                                   const std::string& version) const;

private:
    std::vector<CatalogCore> m_cores;
    std::string m_family;
};

// Reads catalogue text (named `name` in error texts) into `cores`; false,
// with `cores` emptied and `error` saying why, for text that is not a
// well-formed catalogue.
bool KtwkspaceReadCatalog(const std::string& text, const std::string& name, std::vector<CatalogCore>& cores,
                          std::string& error);

}  // namespace Ktwkspace
