// Reading of an XML document whose root element has a known name (an empty
// name accepts any root). Readers derive from it and walk the atoms of the
// document it read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ulv/PersistXMLAtom.h"
#include "ulv/UlvXml.h"

class PersistCollection {
public:
    explicit PersistCollection(const std::string& rootName);
    virtual ~PersistCollection() = default;
    PersistCollection(const PersistCollection&) = delete;
    PersistCollection& operator=(const PersistCollection&) = delete;

    // Reads a file of at most `maxSize` bytes into the collection (safely:
    // see UlvXmlDocument). False when it is too large, cannot be parsed or
    // its root has another name (compared without regard to case);
    // getReadError() then says why.
    bool readObjects(const std::string& path, std::int64_t maxSize = kUlvMaxFileSize);

    // The root element of the document read, nothing before a successful read.
    std::optional<PersistXMLAtom> getRootAtom() const;
    const std::string& getReadError() const { return m_error; }

private:
    std::string m_rootName;
    UlvXmlDocument m_document;
    bool m_read = false;
    std::string m_error;
};
