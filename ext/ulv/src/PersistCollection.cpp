#include "ulv/PersistCollection.h"

PersistCollection::PersistCollection(const std::string& rootName) : m_rootName(rootName) {}

bool PersistCollection::readObjects(const std::string& path, std::int64_t maxSize)
{
    m_read = false;
    m_error.clear();
    if (!m_document.ParseFile(path, maxSize)) {
        m_error = m_document.GetError();
        return false;
    }
    const std::string root = UlvGetName(m_document.GetRoot());
    if (!m_rootName.empty() && !UlvIsStrEqualNoCase(root, m_rootName)) {
        m_error = path + ": the root element is \"" + root + "\", not \"" + m_rootName + "\"";
        return false;
    }
    m_read = true;
    return true;
}

std::optional<PersistXMLAtom> PersistCollection::getRootAtom() const
{
    if (!m_read) return std::nullopt;
    return PersistXMLAtom(m_document.GetRoot());
}
