#include "ulv/PersistXMLAtom.h"

#include "ulv/UlvXml.h"

std::string PersistXMLAtom::getName() const { return UlvGetName(m_element); }

bool PersistXMLAtom::getAttribute(const std::string& name, std::string& value) const
{
    return UlvGetAttribute(m_element, name, value);
}

std::string PersistXMLAtom::getText() const { return UlvGetText(m_element); }

std::vector<PersistXMLAtom> PersistXMLAtom::getChildAtoms() const
{
    std::vector<PersistXMLAtom> atoms;
    for (const xercesc::DOMElement* child : UlvGetChildElements(m_element)) atoms.emplace_back(child);
    return atoms;
}

std::optional<PersistXMLAtom> PersistXMLAtom::findChildAtom(const std::string& name) const
{
    const xercesc::DOMElement* child = UlvFindChildElement(m_element, name);
    if (!child) return std::nullopt;
    return PersistXMLAtom(child);
}
