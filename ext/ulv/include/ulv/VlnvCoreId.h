// The identity of a core of the tool framework: vendor, library, name and
// version, written as one text with ":" between the fields
// ("brennic.com:kiltora:fifo:1.0").
#pragma once

#include <string>
#include <utility>

class VlnvCoreId {
public:
    VlnvCoreId() = default;
    VlnvCoreId(std::string vendor, std::string library, std::string name, std::string version)
        : vendor(std::move(vendor)), library(std::move(library)), name(std::move(name)), version(std::move(version))
    {
    }

    std::string ToString() const { return vendor + ':' + library + ':' + name + ':' + version; }

    friend bool operator==(const VlnvCoreId&, const VlnvCoreId&) = default;

    std::string vendor;
    std::string library;
    std::string name;
    std::string version;
};
