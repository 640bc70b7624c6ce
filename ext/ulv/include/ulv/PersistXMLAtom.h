// One element of a document read by a PersistCollection: its name, its
// attributes, its text and its child elements. An atom is a light view: it
// stays valid while the collection that read it lives and reads nothing else.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <xercesc/dom/DOMElement.hpp>

class PersistXMLAtom {
public:
    explicit PersistXMLAtom(const xercesc::DOMElement* element) : m_element(element) {}

    std::string getName() const;
    // The value of an attribute; false (and `value` unchanged) when absent.
    bool getAttribute(const std::string& name, std::string& value) const;
    // The element's own text (not that of nested elements).
    std::string getText() const;
    // The child elements, in document order.
    std::vector<PersistXMLAtom> getChildAtoms() const;
    // The first child element with this name (exact).
    std::optional<PersistXMLAtom> findChildAtom(const std::string& name) const;

private:
    const xercesc::DOMElement* m_element;
};
