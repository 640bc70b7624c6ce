#include "ulv/SpiritReadCoreInfo.h"

#include "ulv/UlvXml.h"

namespace {

// The root of the document the collection holds.
std::optional<PersistXMLAtom> Root(const SpiritReadCoreInfo& reader) { return reader.GetCollection().getRootAtom(); }

std::optional<PersistXMLAtom> VendorExtension(const SpiritReadCoreInfo& reader)
{
    const std::optional<PersistXMLAtom> root = Root(reader);
    return root ? UlvFindChildAtomNoCase(*root, "vendorExtension") : std::nullopt;
}

std::string ChildText(const PersistXMLAtom& atom, const std::string& name)
{
    const std::optional<PersistXMLAtom> child = UlvFindChildAtomNoCase(atom, name);
    return child ? child->getText() : std::string();
}

std::string Attribute(const PersistXMLAtom& atom, const std::string& name)
{
    std::string value;
    atom.getAttribute(name, value);
    return value;
}

SpiritComponentInstance ReadInstance(const PersistXMLAtom& element)
{
    SpiritComponentInstance instance;
    instance.instanceName = ChildText(element, "instanceName");
    instance.library = ChildText(element, "library");
    if (const std::optional<PersistXMLAtom> core = UlvFindChildAtomNoCase(element, "componentRef")) {
        instance.kind = 3;
        instance.core = VlnvCoreId(Attribute(*core, "vendor"), Attribute(*core, "library"), Attribute(*core, "name"),
                                   Attribute(*core, "version"));
    } else if (const std::optional<PersistXMLAtom> module = UlvFindChildAtomNoCase(element, "moduleName")) {
        instance.kind = 1;
        instance.moduleName = module->getText();
    } else if (const std::optional<PersistXMLAtom> design = UlvFindChildAtomNoCase(element, "designRef")) {
        instance.kind = 2;
        instance.referencedName = design->getText();
    }
    return instance;
}

}  // namespace

std::optional<PersistXMLAtom> UlvFindChildAtomNoCase(const PersistXMLAtom& atom, const std::string& name)
{
    for (const PersistXMLAtom& child : atom.getChildAtoms())
        if (UlvIsStrEqualNoCase(child.getName(), name)) return child;
    return std::nullopt;
}

bool SpiritReadCoreInfo::ReadCoreType()
{
    const std::optional<PersistXMLAtom> extension = VendorExtension(*this);
    const std::optional<PersistXMLAtom> type =
        extension ? UlvFindChildAtomNoCase(*extension, "coreType") : std::nullopt;
    if (!type) return false;
    FoundCoreType(type->getText());
    return true;
}

bool SpiritReadCoreInfo::ReadCoreName()
{
    const std::optional<PersistXMLAtom> root = Root(*this);
    if (!root) return false;
    FoundCoreName(VlnvCoreId(ChildText(*root, "vendor"), ChildText(*root, "library"), ChildText(*root, "name"),
                             ChildText(*root, "version")));
    return true;
}

bool SpiritReadCoreInfo::ReadSupportedDevices()
{
    const std::optional<PersistXMLAtom> extension = VendorExtension(*this);
    const std::optional<PersistXMLAtom> devices =
        extension ? UlvFindChildAtomNoCase(*extension, "supportedDevices") : std::nullopt;
    if (!devices) return false;
    for (const PersistXMLAtom& device : devices->getChildAtoms()) {
        if (!UlvIsStrEqualNoCase(device.getName(), "device")) continue;
        FoundNewDevice(
            SpiritDevice{Attribute(device, "family"), Attribute(device, "die"), Attribute(device, "package")});
    }
    return true;
}

bool SpiritReadCoreInfo::ReadHDLFormat()
{
    const std::optional<PersistXMLAtom> extension = VendorExtension(*this);
    const std::optional<PersistXMLAtom> format =
        extension ? UlvFindChildAtomNoCase(*extension, "hdlFormat") : std::nullopt;
    if (!format) return false;
    const std::string text = format->getText();
    if (UlvIsStrEqualNoCase(text, "VHDL")) {
        FoundHDLType(true);
    } else if (UlvIsStrEqualNoCase(text, "Verilog")) {
        FoundHDLType(false);
    } else {
        // A format this library does not know says nothing about the HDL.
        return false;
    }
    return true;
}

bool SpiritReadCoreInfo::ReadComponentInstances()
{
    const std::optional<PersistXMLAtom> root = Root(*this);
    const std::optional<PersistXMLAtom> instances =
        root ? UlvFindChildAtomNoCase(*root, "componentInstances") : std::nullopt;
    if (!instances) return false;
    for (const PersistXMLAtom& element : instances->getChildAtoms())
        if (UlvIsStrEqualNoCase(element.getName(), "componentInstance")) FoundComponentInstance(ReadInstance(element));
    return true;
}

bool SpiritReadCoreInfo::PrepareAndReadCXF(const std::string& fileName)
{
    m_fileName = fileName;
    if (!IsReadAllowed() || !Root(*this)) return false;
    ReadCoreType();
    ReadCoreName();
    return ReadDataFromCXF();
}

// --- a description read on its own ------------------------------------------------------

SpiritCoreDescription::SpiritCoreDescription(const std::string& fileName, const std::string& rootName,
                                             std::int64_t maxSize)
    : PersistCollection(rootName)
{
    m_read = readObjects(fileName, maxSize) && PrepareAndReadCXF(fileName);
}

bool SpiritCoreDescription::ReadDataFromCXF()
{
    ReadHDLFormat();
    ReadSupportedDevices();
    ReadComponentInstances();
    if (const std::optional<PersistXMLAtom> extension = VendorExtension(*this))
        m_hdlLibrary = ChildText(*extension, "hdlLibrary");
    return true;
}

void SpiritCoreDescription::FoundHDLType(bool isVHDL)
{
    m_hasHDLType = true;
    m_isVHDL = isVHDL;
}

bool SpiritCoreDescription::GetHDLType(bool& isVHDL) const
{
    if (m_hasHDLType) isVHDL = m_isVHDL;
    return m_hasHDLType;
}
