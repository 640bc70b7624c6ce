// The tool framework's reading of the generic parts of a SPIRIT core
// description: what kind of core it is, its identity, the devices it
// supports, its HDL format and the component instances it is built from.
// A reader derives from it and from the collection that holds the document
// (PersistCollection): the document is read once, by the collection, and
// this side walks it, calling the reader back with what it finds.
//
// The elements read, under the root element (element names compared
// without regard to case; elements of other names are skipped):
//
//   <vendor>, <library>, <name>, <version>   the core's identity
//   <vendorExtension>
//     <coreType>Kiltora</coreType>           a component-type name
//     <hdlFormat>VHDL</hdlFormat>            "VHDL" or "Verilog"
//     <hdlLibrary>work</hdlLibrary>          the HDL library of its units
//     <supportedDevices>
//       <device family="ZX3" die="ZX3-10" package="TQ100"/>   each optional
//     </supportedDevices>
//   </vendorExtension>
//   <componentInstances>
//     <componentInstance>
//       <instanceName>u1</instanceName>
//       one of: <componentRef vendor= library= name= version=/>  (a core)
//               <moduleName>leaf</moduleName>                     (a module)
//               <designRef>sub_bd</designRef>                     (a design)
//       <library>work</library>                                   optional
//     </componentInstance>
//   </componentInstances>
#pragma once

#include "ulv/PersistCollection.h"
#include "ulv/VlnvCoreId.h"

#include <string>
#include <vector>

// A device as a description names it: family, die and package as the user
// sees them; any of them may be empty.
struct SpiritDevice {
    std::string family;
    std::string die;
    std::string package;
};

// One component instance of a description.
struct SpiritComponentInstance {
    // How the instance names what it instantiates: 1 a module by name, 2 a
    // design by reference, 3 a core by identity; 0 none of them.
    int kind = 0;
    std::string instanceName;
    std::string moduleName;      // kind 1
    std::string referencedName;  // kind 2
    VlnvCoreId core;             // kind 3
    std::string library;
};

class SpiritReadCoreInfo {
public:
    virtual ~SpiritReadCoreInfo() = default;

    // Whether the description may be read now; the reading is skipped when not.
    virtual bool IsReadAllowed() const { return true; }
    // The collection that holds the document (the reader's other side).
    virtual const PersistCollection& GetCollection() const = 0;

    // Each walks its part of the document and reports it through the hooks
    // below; false when the part is absent or there is no document.
    virtual bool ReadCoreType();
    virtual bool ReadCoreName();
    virtual bool ReadSupportedDevices();
    virtual bool ReadHDLFormat();
    virtual bool ReadComponentInstances();

    // Called once the identity is read: the reader reads what it needs of
    // the rest (ReadHDLFormat, ReadSupportedDevices, ...); its answer is the
    // answer of PrepareAndReadCXF.
    virtual bool ReadDataFromCXF() = 0;
    // One call per device the description lists, in order.
    virtual void FoundNewDevice(const SpiritDevice& device) = 0;
    // True for VHDL, false for Verilog.
    virtual void FoundHDLType(bool isVHDL) = 0;
    virtual void FoundCoreType(const std::string& /*type*/) {}
    virtual void FoundCoreName(const VlnvCoreId& /*core*/) {}
    virtual void FoundComponentInstance(const SpiritComponentInstance& /*instance*/) {}

    // Reads the description of `fileName` that the collection holds: the
    // core type and identity, then ReadDataFromCXF. False without a
    // document, when reading is not allowed, or as ReadDataFromCXF answers.
    bool PrepareAndReadCXF(const std::string& fileName);
    const std::string& GetCXFFileName() const { return m_fileName; }

protected:
    SpiritReadCoreInfo() = default;
    SpiritReadCoreInfo(const SpiritReadCoreInfo&) = default;
    SpiritReadCoreInfo& operator=(const SpiritReadCoreInfo&) = default;

private:
    std::string m_fileName;
};

// A description read on its own: everything the generic reading finds,
// kept for the caller. Reads the file (of at most `maxSize` bytes) when
// built; IsRead() tells whether it could be read and its root element is
// `rootName` (without regard to case; an empty name accepts any root).
class SpiritCoreDescription : public PersistCollection, public SpiritReadCoreInfo {
public:
    explicit SpiritCoreDescription(const std::string& fileName, const std::string& rootName = "Component",
                                   std::int64_t maxSize = kUlvMaxFileSize);

    bool IsRead() const { return m_read; }
    const std::string& GetCoreType() const { return m_coreType; }
    const VlnvCoreId& GetCore() const { return m_core; }
    // The HDL library of the core's units; empty when the description names none.
    const std::string& GetHDLLibrary() const { return m_hdlLibrary; }
    const std::vector<SpiritDevice>& GetDevices() const { return m_devices; }
    // False when the description gives no HDL format.
    bool GetHDLType(bool& isVHDL) const;
    const std::vector<SpiritComponentInstance>& GetInstances() const { return m_instances; }

    const PersistCollection& GetCollection() const override { return *this; }
    bool ReadDataFromCXF() override;
    void FoundNewDevice(const SpiritDevice& device) override { m_devices.push_back(device); }
    void FoundHDLType(bool isVHDL) override;
    void FoundCoreType(const std::string& type) override { m_coreType = type; }
    void FoundCoreName(const VlnvCoreId& core) override { m_core = core; }
    void FoundComponentInstance(const SpiritComponentInstance& instance) override { m_instances.push_back(instance); }

private:
    bool m_read = false;
    std::string m_coreType;
    VlnvCoreId m_core;
    std::string m_hdlLibrary;
    std::vector<SpiritDevice> m_devices;
    bool m_hasHDLType = false;
    bool m_isVHDL = false;
    std::vector<SpiritComponentInstance> m_instances;
};

// The first child element of `atom` named `name` without regard to case.
std::optional<PersistXMLAtom> UlvFindChildAtomNoCase(const PersistXMLAtom& atom, const std::string& name);
