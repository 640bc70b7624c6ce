// The reader of a SPIRIT core description (a "cxf" file): it reads the file
// once, when it is built, checks that the root element is the one the
// caller expects, collects the devices the core supports (relaxing a device
// the device catalogue does not know), records the core's HDL kind and, for
// a Dremmet core, the description files of the component instances it
// lists. It does not touch the project.
//
// The description is read through the suite's hardened XML reader: no
// document type declaration, no entity from outside the file, and a file
// larger than 32 MiB is refused before it is read. A description that cannot
// be read, or has another root element, is not valid; unless quiet, the user
// is told (INVALID_CORE).
#pragma once

#include "ifile/IfileObject.h"
#include "imodel/device/ImodelDevice.h"

#include <ulv/PersistCollection.h>
#include <ulv/SpiritReadCoreInfo.h>
#include <vy/IComponent.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

// The largest core description read: many times a description of
// thousands of files.
inline constexpr std::int64_t IxmlMaxCoreDescriptionSize = std::int64_t{32} << 20;

class IxmlSPIRITCoreReader : public PersistCollection, public SpiritReadCoreInfo {
public:
    // `component` (not owned, may be null) is the block-design component the
    // description belongs to.
    IxmlSPIRITCoreReader(const IfileObject& coreFile, const std::string& expectedRoot, VyIfaces::IComponent* component,
                         bool quiet);
    ~IxmlSPIRITCoreReader() override;

    // Read, and its root element is the expected one (letter case ignored).
    bool IsCoreValid() const;
    // Whether the core supports `device`: every device when the description
    // lists none; otherwise the first listed device that equals it, or that
    // differs only in members empty on either side. The members the device
    // leaves empty and the match names come back in `completed` (an empty
    // device after an exact match; untouched when the list is empty).
    // Unless quiet, a device no entry matches is reported
    // (INVALID_CORE_DEVICE).
    bool IsDeviceSupported(const ImodelDevice& device, ImodelDevice& completed, bool quiet) const;
    const std::vector<ImodelDevice>& GetDevicesSupported() const { return m_devices; }
    // The description files of the component instances (Dremmet cores).
    const std::deque<IfileObject>& GetComponents() const { return m_components; }
    const IfileObject& GetCoreFile() const { return m_coreFile; }
    // True for VHDL; false, with `isVHDL` unchanged, while the description
    // gave no HDL kind.
    bool GetHDLType(bool& isVHDL) const;
    // The kind of core named in messages; the generic reader names none.
    virtual std::string GetCoreTypeString() const { return std::string(); }

    // The reading hooks of the generic SPIRIT reader.
    const PersistCollection& GetCollection() const override { return *this; }
    bool ReadDataFromCXF() override;
    void FoundNewDevice(const SpiritDevice& device) override;
    void FoundHDLType(bool isVHDL) override { m_hdlType = isVHDL; }

    // Reads `file` into `document`; false when it is missing or cannot be
    // read (with DEBUG_MSG on, a debug line says why). Nothing is thrown.
    static bool LoadXML(PersistCollection& document, const IfileObject& file);
    // Whether `relative`, a path that a description in `folder` names, may
    // be taken: it is not absolute and, once joined to the folder, stays
    // below `coreFolder` or inside the project folder. `joined` receives the
    // joined path (separators made valid) when it may.
    static bool ResolveCorePath(const std::string& folder, const std::string& relative, const std::string& coreFolder,
                                std::string& joined);

protected:
    // False without a component.
    bool IsCoreType(VyIfaces::IComponent::VyModuleType type) const;
    // A core of the core generator: without a component, a core file of
    // type 33; with one, a component of kind 0.
    bool IsKTCore() const;
    void initParsingMembers() { m_loaded = false; }
    void SetComponent(VyIfaces::IComponent* component) { m_component = component; }
    bool loadXML();
    bool IsQuiet() const { return m_quiet; }
    bool IsLoaded() const { return m_loaded; }
    VyIfaces::IComponent* GetComponent() const { return m_component; }
    // The text of the first child element of that name (letter case
    // ignored); false, with `out` unchanged, when there is none.
    static bool ReadChildValue(const PersistXMLAtom& node, const std::string& name, std::string& out);

private:
    bool parseARMCore(bool quiet);
    bool ReadComponentsList(bool quiet);
    bool ReadComponentRef(const PersistXMLAtom& instance);

    IfileObject m_coreFile;
    std::vector<ImodelDevice> m_devices;
    std::optional<bool> m_hdlType;
    std::deque<IfileObject> m_components;
    bool m_loaded = false;
    std::string m_expectedRoot;
    bool m_quiet = false;
    VyIfaces::IComponent* m_component = nullptr;
};

// Whether the model's debug traces are on (DEBUG_MSG).
bool IxmlIsDebugMsg();
