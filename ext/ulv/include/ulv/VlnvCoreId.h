// The identity of a core of the tool framework: vendor, library, name and
// version, written as one text with ":" between the fields
// ("brennic.com:kiltora:fifo:1.0").
#pragma once

#include <string>

class VlnvCoreId {
public:
    VlnvCoreId() = default;
    VlnvCoreId(std::string vendor, std::string library, std::string name, std::string version)
        : vendor(std::move(vendor)), library(std::move(library)), name(std::move(name)), version(std::move(version))
    {
    }

    // The four fields of "vendor:library:name:version"; false, with the
    // identity unchanged, for a text of another number of fields or with an
    // empty field.
    bool Parse(const std::string& text);
    std::string ToString() const { return vendor + ':' + library + ':' + name + ':' + version; }

    friend bool operator==(const VlnvCoreId&, const VlnvCoreId&) = default;

    std::string vendor;
    std::string library;
    std::string name;
    std::string version;
};
