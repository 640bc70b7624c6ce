// Safe XML reading for the tool-framework library: a parsed document that
// owns its parser, text conversion between XML and UTF-8, and small helpers
// to walk elements.
//
// Every XML file the suite reads is ours and needs no DTD, so a document
// with a document type declaration (<!DOCTYPE ...>) is refused before
// anything in it is acted on. Without a DTD there is no entity but the five
// predefined ones and character references: nothing outside the document is
// ever read, and the parsed text is never larger than the input. Schemas are
// never loaded, and a file larger than its reader allows is refused before
// it is read. Nothing here throws; failures are a false result and an error
// text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <xercesc/dom/DOMElement.hpp>

// The largest XML file a reader takes unless it says otherwise: far above
// any description or result file a tool writes, far below what would
// exhaust memory once parsed.
inline constexpr std::int64_t kUlvMaxFileSize = std::int64_t{32} << 20;

// Reads a whole regular file of at most `maxSize` bytes into `content`. A
// larger file is refused before it is read, as is anything that is not a
// regular file; false then, with `error` saying why (the path first).
bool UlvReadFile(const std::string& path, std::int64_t maxSize, std::string& content, std::string& error);

class UlvXmlDocument {
public:
    UlvXmlDocument();
    ~UlvXmlDocument();
    UlvXmlDocument(const UlvXmlDocument&) = delete;
    UlvXmlDocument& operator=(const UlvXmlDocument&) = delete;

    // Parses a file of at most `maxSize` bytes, or a text (`name` stands for
    // it in error texts). Any earlier document is dropped first. False when
    // the input cannot be read, is too large, is not well-formed or has a
    // document type declaration; GetError() then says why.
    bool ParseFile(const std::string& path, std::int64_t maxSize = kUlvMaxFileSize);
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
