// Safe XML reading for the tool-framework library: a parsed document that
// owns its parser, text conversion between XML and UTF-8, and small helpers
// to walk elements.
//
// Only the document itself is read: external entities and external DTDs are
// never fetched, schemas are never loaded, and entity expansion is bounded,
// so a hostile file can neither read other files nor blow up in memory.
// Nothing here throws; failures are a false result and an error text.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <xercesc/dom/DOMElement.hpp>

// Most entity expansions one document may perform before it is refused.
inline constexpr std::size_t kUlvEntityExpansionLimit = 10000;

class UlvXmlDocument {
public:
    UlvXmlDocument();
    ~UlvXmlDocument();
    UlvXmlDocument(const UlvXmlDocument&) = delete;
    UlvXmlDocument& operator=(const UlvXmlDocument&) = delete;

    // Parses a file, or a text (`name` stands for it in error texts). Any
    // earlier document is dropped first. False when the input cannot be
    // read, is not well-formed, refers to an external entity or expands
    // entities beyond the limit; GetError() then says why.
    bool ParseFile(const std::string& path);
    bool ParseText(const std::string& text, const std::string& name = "XML text");

    // The root element of the parsed document, null when none is parsed.
    // Elements stay valid while this object lives and parses nothing else.
    xercesc::DOMElement* GetRoot() const;
    const std::string& GetError() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// --- text ----------------------------------------------------------------------

// XML text (UTF-16) as UTF-8; null gives "". An unpaired surrogate becomes
// U+FFFD.
std::string UlvToUtf8(const XMLCh* text);
// UTF-8 as XML text; a byte that does not start a valid sequence becomes
// U+FFFD.
std::u16string UlvFromUtf8(const std::string& text);

// Equality without regard to ASCII letter case.
bool UlvIsStrEqualNoCase(const std::string& a, const std::string& b);

// --- elements ------------------------------------------------------------------

std::string UlvGetName(const xercesc::DOMElement* element);
// The value of an attribute; false (and `value` unchanged) when absent.
bool UlvGetAttribute(const xercesc::DOMElement* element, const std::string& name, std::string& value);
// The child elements, in document order.
std::vector<xercesc::DOMElement*> UlvGetChildElements(const xercesc::DOMElement* element);
// The first child element with this name (exact), null when none.
xercesc::DOMElement* UlvFindChildElement(const xercesc::DOMElement* element, const std::string& name);
// The element's own text: its text and CDATA children joined, in order
// (the text of nested elements is not included).
std::string UlvGetText(const xercesc::DOMElement* element);
