#include "ulv/UlvXml.h"

#include <foundation/Sys.h>
#include <foundation/UtlAscii.h>

#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/sax/ErrorHandler.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLException.hpp>

#include <fstream>

using namespace xercesc;

namespace {

// Initialised once per process and never terminated: documents may live in
// static objects until the very end, and termination would free the
// parser's shared tables under them.
bool EnsureXercesInitialised(std::string& error)
{
    static const std::string failure = [] {
        try {
            XMLPlatformUtils::Initialize();
            return std::string();
        } catch (const XMLException& e) {
            return "cannot initialise the XML parser: " + UlvToUtf8(e.getMessage());
        } catch (...) {
            return std::string("cannot initialise the XML parser");
        }
    }();
    error = failure;
    return failure.empty();
}

// Keeps the first error of a parse as text; warnings are not errors.
class CollectingErrorHandler : public ErrorHandler {
public:
    void warning(const SAXParseException&) override {}
    void error(const SAXParseException& e) override { Record(e); }
    void fatalError(const SAXParseException& e) override { Record(e); }
    void resetErrors() override { m_error.clear(); }
    const std::string& GetError() const { return m_error; }

private:
    void Record(const SAXParseException& e)
    {
        if (m_error.empty()) {
            m_error = "line " + std::to_string(e.getLineNumber()) + ", column " + std::to_string(e.getColumnNumber()) +
                      ": " + UlvToUtf8(e.getMessage());
        }
    }
    std::string m_error;
};

// Thrown out of the parse at a document type declaration: what follows it
// (an internal subset that defines entities, an external DTD) is never
// scanned.
struct DoctypeRefused {};

class NoDoctypeParser : public XercesDOMParser {
public:
    void doctypeDecl(const DTDElementDecl&, const XMLCh* const, const XMLCh* const, const bool, const bool) override
    {
        throw DoctypeRefused{};
    }
};

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at `pos` (advancing it); an invalid, overlong
// or truncated sequence gives U+FFFD and skips one byte.
char32_t DecodeUtf8(const std::string& text, std::size_t& pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    std::size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (pos + length > text.size()) {
        ++pos;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) {
            ++pos;
            return kReplacement;
        }
        c = (c << 6) | (byte(pos + i) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += length;
    return c;
}

}  // namespace

// --- document ------------------------------------------------------------------

namespace {

void Configure(XercesDOMParser& parser)
{
    parser.setValidationScheme(XercesDOMParser::Val_Never);
    parser.setDoNamespaces(false);
    parser.setDoSchema(false);
    parser.setLoadSchema(false);
    parser.setLoadExternalDTD(false);
    parser.setSkipDTDValidation(true);
    parser.setDisableDefaultEntityResolution(true);
    parser.setCreateEntityReferenceNodes(false);
}

// A parser kept between documents, one per thread: making one costs more
// than parsing a small file, and every open of a project parses one. Only a
// parser whose last parse went through is kept.
std::unique_ptr<NoDoctypeParser>& IdleParser()
{
    thread_local std::unique_ptr<NoDoctypeParser> idle;
    return idle;
}

}  // namespace

struct UlvXmlDocument::Impl {
    CollectingErrorHandler errors;
    // Taken from the parser, which then serves the next document.
    DOMDocument* document = nullptr;
    std::string error;

    Impl() = default;
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;
    ~Impl() { Drop(); }

    void Drop()
    {
        if (document) document->release();
        document = nullptr;
    }

    // Parses the bytes of a document; `name` is its system id and stands
    // for it in error texts.
    bool Parse(const std::string& bytes, const std::string& name)
    {
        Drop();
        errors.resetErrors();
        if (!EnsureXercesInitialised(error)) return false;
        std::unique_ptr<NoDoctypeParser> parser = std::move(IdleParser());
        bool parsed = false;
        try {
            const std::u16string id = UlvFromUtf8(name);
            const MemBufInputSource source(reinterpret_cast<const XMLByte*>(bytes.data()), bytes.size(), id.c_str(),
                                           false);
            if (!parser) {
                parser = std::make_unique<NoDoctypeParser>();
                Configure(*parser);
            }
            parser->setErrorHandler(&errors);
            parser->parse(source);
            parsed = true;
        } catch (const DoctypeRefused&) {
            error = "has a document type declaration (<!DOCTYPE ...>), which is not allowed: this file needs none";
        } catch (const XMLException& e) {
            error = UlvToUtf8(e.getMessage());
        } catch (const SAXException& e) {
            error = UlvToUtf8(e.getMessage());
        } catch (const DOMException& e) {
            error = UlvToUtf8(e.getMessage());
        } catch (const OutOfMemoryException&) {
            error = "out of memory";
        } catch (...) {
            error = "unexpected failure of the XML parser";
        }
        if (error.empty()) error = errors.GetError();
        if (parser) {
            parser->setErrorHandler(nullptr);
            document = parser->adoptDocument();
            // A parser left by a throw is not trusted with another document.
            if (parsed) IdleParser() = std::move(parser);
        }
        if (error.empty() && !Root()) error = "no root element";
        if (error.empty()) return true;
        error = name + ": " + error;
        Drop();
        return false;
    }

    DOMElement* Root() const { return document ? document->getDocumentElement() : nullptr; }
};

UlvXmlDocument::UlvXmlDocument() : m_impl(std::make_unique<Impl>()) {}
UlvXmlDocument::~UlvXmlDocument() = default;

bool UlvXmlDocument::ParseFile(const std::string& path, std::int64_t maxSize)
{
    std::string content;
    if (UlvReadFile(path, maxSize, content, m_impl->error)) return m_impl->Parse(content, path);
    m_impl->Drop();
    return false;
}

bool UlvXmlDocument::ParseText(const std::string& text, const std::string& name) { return m_impl->Parse(text, name); }

DOMElement* UlvXmlDocument::GetRoot() const { return m_impl->Root(); }

const std::string& UlvXmlDocument::GetError() const { return m_impl->error; }

bool UlvReadFile(const std::string& path, std::int64_t maxSize, std::string& content, std::string& error)
{
    const std::string limit = std::to_string(maxSize) + " bytes this file may have; it is not read";
    SysStatInfo info;
    if (path.empty() || SysPathStat(path, &info) != 0) {
        error = path + ": cannot be read";
        return false;
    }
    if (!SysIsRegularFile(info)) {
        error = path + ": not a file";
        return false;
    }
    if (info.size > maxSize) {
        error = path + ": " + std::to_string(info.size) + " bytes, more than the " + limit;
        return false;
    }
    std::string native = path;  // "\" read as the folder separator, as SysPathStat does
    std::ifstream in(UtlSetValidSeparator(native), std::ios::binary);
    std::string text;
    text.reserve(static_cast<std::size_t>(info.size));
    char buffer[1 << 16];
    while (in && (in.read(buffer, sizeof buffer) || in.gcount() > 0)) {
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
        // Grown since it was measured: still no more than the limit is held.
        if (static_cast<std::int64_t>(text.size()) > maxSize) {
            error = path + ": grew while read to more than the " + limit;
            return false;
        }
    }
    if (!in.eof()) {
        error = path + ": cannot be read";
        return false;
    }
    content = std::move(text);
    return true;
}

// --- text ----------------------------------------------------------------------

std::string UlvToUtf8(const XMLCh* text)
{
    std::string out;
    if (!text) return out;
    for (const XMLCh* p = text; *p; ++p) {
        const char32_t unit = *p;
        if (unit >= 0xD800 && unit <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (p[1] - 0xDC00));
            ++p;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::u16string UlvFromUtf8(const std::string& text)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) AppendUtf16(out, DecodeUtf8(text, pos));
    return out;
}

bool UlvIsStrEqualNoCase(const std::string& a, const std::string& b) { return UtlIsSameNoCase(a, b); }

// --- elements ------------------------------------------------------------------

std::string UlvGetName(const DOMElement* element) { return element ? UlvToUtf8(element->getTagName()) : std::string(); }

bool UlvGetAttribute(const DOMElement* element, const std::string& name, std::string& value)
{
    if (!element) return false;
    const std::u16string key = UlvFromUtf8(name);
    const DOMAttr* attribute = element->getAttributeNode(key.c_str());
    if (!attribute) return false;
    value = UlvToUtf8(attribute->getValue());
    return true;
}

std::vector<DOMElement*> UlvGetChildElements(const DOMElement* element)
{
    std::vector<DOMElement*> children;
    if (!element) return children;
    for (DOMElement* child = element->getFirstElementChild(); child; child = child->getNextElementSibling()) {
        children.push_back(child);
    }
    return children;
}

DOMElement* UlvFindChildElement(const DOMElement* element, const std::string& name)
{
    if (!element) return nullptr;
    const std::u16string key = UlvFromUtf8(name);
    for (DOMElement* child = element->getFirstElementChild(); child; child = child->getNextElementSibling()) {
        if (key == child->getTagName()) return child;
    }
    return nullptr;
}

std::string UlvGetText(const DOMElement* element)
{
    std::string text;
    if (!element) return text;
    for (const DOMNode* child = element->getFirstChild(); child; child = child->getNextSibling()) {
        const auto type = child->getNodeType();
        if (type == DOMNode::TEXT_NODE || type == DOMNode::CDATA_SECTION_NODE) {
            text += UlvToUtf8(child->getNodeValue());
        }
    }
    return text;
}
