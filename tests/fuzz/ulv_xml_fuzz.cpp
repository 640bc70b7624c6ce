// The safe XML reader: any text parses or is refused without fault; a parse
// succeeds exactly when there is a root and no error text; a parsed document
// has no document type and holds no more text than the input had bytes (no
// entity grows it); every element can be walked, and its name converts to
// UTF-8 and back.
#include "ulv/UlvXml.h"

#include <xercesc/dom/DOMDocument.hpp>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    UlvXmlDocument document;
    const bool parsed = document.ParseText(text, "input");
    if (parsed != (document.GetRoot() != nullptr) || parsed != document.GetError().empty()) std::abort();
    if (!parsed) return 0;
    if (document.GetRoot()->getOwnerDocument()->getDoctype()) std::abort();

    std::size_t textUnits = 0;
    std::vector<const xercesc::DOMElement*> pending{document.GetRoot()};
    while (!pending.empty()) {
        const xercesc::DOMElement* element = pending.back();
        pending.pop_back();
        const std::string name = UlvGetName(element);
        if (name.empty() || UlvToUtf8(UlvFromUtf8(name).c_str()) != name) std::abort();
        std::string value;
        UlvGetAttribute(element, "name", value);
        textUnits += UlvFromUtf8(UlvGetText(element)).size();
        if (textUnits > size) std::abort();
        const std::vector<xercesc::DOMElement*> children = UlvGetChildElements(element);
        if (!children.empty() && UlvFindChildElement(element, UlvGetName(children.front())) != children.front())
            std::abort();
        pending.insert(pending.end(), children.begin(), children.end());
    }
    return 0;
}
