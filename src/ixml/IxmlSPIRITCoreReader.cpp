#include "ixml/IxmlSPIRITCoreReader.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>
#include <ulv/UlvXml.h>

#include <array>

namespace {

// A component instance's description is its name's "cxf" file.
constexpr const char* kDescriptionExtension = "cxf";

bool IsVerifyDeviceOn()
{
    int value = 0;
    return DefGetBoolFL("IDE_SPIRIT_VERIFY_DEVICE_VALID", &value, __FILE__, __LINE__) == 0 && value == 1;
}

bool IsAbsolute(const std::string& path)
{
    if (path.empty()) return false;
    if (path.front() == '/' || path.front() == '\\') return true;
    // A drive ("C:"): a path of a description written on Windows.
    return path.size() >= 2 && path[1] == ':';
}

}  // namespace

bool IxmlIsDebugMsg() { return Imodel::GetInstance().IsDebugMsg(); }

IxmlSPIRITCoreReader::IxmlSPIRITCoreReader(const IfileObject& coreFile, const std::string& expectedRoot,
                                           VyIfaces::IComponent* component, bool quiet)
    : PersistCollection(std::string()), m_coreFile(coreFile), m_expectedRoot(expectedRoot), m_quiet(quiet),
      m_component(component)
{
    parseARMCore(quiet);
}

IxmlSPIRITCoreReader::~IxmlSPIRITCoreReader() = default;

bool IxmlSPIRITCoreReader::LoadXML(PersistCollection& document, const IfileObject& file)
{
    const std::string fullName = file.GetFullFileName().GetString();
    if (!UtlDoesFileExist(fullName)) {
        if (IxmlIsDebugMsg()) SysDebugPrintf("ERROR: File not found %s\n", fullName.c_str());
        return false;
    }
    if (document.readObjects(fullName, IxmlMaxCoreDescriptionSize)) return true;
    if (IxmlIsDebugMsg())
        SysDebugPrintf("ERROR: Error when parsing %s :\n'%s'\n", file.GetFileTitleAndExt().c_str(),
                       document.getReadError().c_str());
    return false;
}

bool IxmlSPIRITCoreReader::ResolveCorePath(const std::string& folder, const std::string& relative,
                                           const std::string& coreFolder, std::string& joined)
{
    if (IsAbsolute(relative)) return false;
    std::string path = folder + SysGetDirChar() + relative;
    ImodelSetValidSeparator(path, false);
    path = UtlResolveDots(path);
    const IfileObject file(ImodelFileName(path), zorpaFT_UNKNOWN, ImodelFMFull, true, true);
    if (!file.IsInFolder(ImodelFileName(coreFolder)) && !file.IsLocalFile()) return false;
    joined = path;
    return true;
}

bool IxmlSPIRITCoreReader::IsCoreValid() const
{
    if (!m_loaded) return false;
    const std::optional<PersistXMLAtom> root = getRootAtom();
    return root && UlvIsStrEqualNoCase(root->getName(), m_expectedRoot);
}

bool IxmlSPIRITCoreReader::GetHDLType(bool& isVHDL) const
{
    if (!m_hdlType) return false;
    isVHDL = *m_hdlType;
    return true;
}

bool IxmlSPIRITCoreReader::IsCoreType(VyIfaces::IComponent::VyModuleType type) const
{
    return m_component != nullptr && m_component->GetModuleType() == type;
}

bool IxmlSPIRITCoreReader::IsKTCore() const
{
    if (m_component == nullptr) return m_coreFile.GetFileSpecificType() == zorpaFT_OMBRIX_CXF;
    return m_component->GetModuleType() == VyIfaces::IComponent::Kiltora;
}

bool IxmlSPIRITCoreReader::loadXML()
{
    if (!m_loaded) m_loaded = LoadXML(*this, m_coreFile);
    return m_loaded;
}

bool IxmlSPIRITCoreReader::ReadChildValue(const PersistXMLAtom& node, const std::string& name, std::string& out)
{
    const std::optional<PersistXMLAtom> child = UlvFindChildAtomNoCase(node, name);
    if (!child) return false;
    out = child->getText();
    return true;
}

bool IxmlSPIRITCoreReader::parseARMCore(bool quiet)
{
    m_quiet = quiet;
    loadXML();
    const std::optional<PersistXMLAtom> root = getRootAtom();
    m_loaded = m_loaded && root && UlvIsStrEqualNoCase(root->getName(), m_expectedRoot);
    if (!m_loaded && !quiet)
        ImodelDisplayINVALID_CORE_MSG(GetCoreTypeString().c_str(), m_coreFile.GetFileTitleAndExt().c_str());
    // The generic reading calls the hooks back; what it answers is theirs.
    PrepareAndReadCXF(m_coreFile.GetFullFileName().GetString());
    if (m_loaded && IsCoreType(VyIfaces::IComponent::Dremmet)) {
        m_loaded = ReadComponentsList(quiet);
        if (!m_loaded && IxmlIsDebugMsg()) SysDebugPrintf("Unable to read component list from core.\n");
    }
    return m_loaded;
}

bool IxmlSPIRITCoreReader::ReadDataFromCXF()
{
    if (m_loaded) ReadHDLFormat();
    if (m_loaded) ReadSupportedDevices();
    return m_loaded;
}

void IxmlSPIRITCoreReader::FoundNewDevice(const SpiritDevice& found)
{
    ImodelDevice device(BrnDevice(found.family, found.die, found.package));
    const ImodelDeviceManager& devices = *Imodel::GetInstance().GetDeviceManager();
    std::string value;
    std::string allowed;
    std::string member;
    while (!devices.IsValidDevice(value, allowed, member, imodelDeviceNone, &device, false, nullptr)) {
        if (!IsKTCore() && IsVerifyDeviceOn()) {
            if (!m_quiet) ImodelDisplayUNSUPPORTED_CORE_DEVICE_MSG();
            if (IxmlIsDebugMsg())
                SysDebugPrintf("Incorrect device: %s should be one of '%s'.\n", value.c_str(), allowed.c_str());
            return;
        }
        // The most precise member the catalogue does not know goes first:
        // the package, then the die, then the family.
        imodelDeviceMembers last = imodelDeviceNone;
        for (const imodelDeviceMembers which : {imodelDeviceFamily, imodelDeviceDie, imodelDevicePackage})
            if (!device.IsEmptyMember(which)) last = which;
        if (last == imodelDeviceNone) break;
        device.SetMember(std::string(), last);
    }
    if (IxmlIsDebugMsg()) SysDebugPrintf("Found supported device: %s.\n", device.FormatDeviceString("UNSET").c_str());
    m_devices.push_back(device);
}

bool IxmlSPIRITCoreReader::IsDeviceSupported(const ImodelDevice& device, ImodelDevice& completed, bool quiet) const
{
    if (m_devices.empty()) return true;
    completed = ImodelDevice();
    for (const ImodelDevice& entry : m_devices) {
        if (entry == device) {
            completed = ImodelDevice();
            return true;
        }
        ImodelDevice filled;
        bool matches = true;
        for (const imodelDeviceMembers which : {imodelDeviceFamily, imodelDeviceDie, imodelDevicePackage}) {
            if (*entry.GetMember(which) == *device.GetMember(which) || entry.IsEmptyMember(which)) continue;
            if (device.IsEmptyMember(which)) {
                filled.SetMember(*entry.GetMember(which), which);
                continue;
            }
            matches = false;
            break;
        }
        if (matches) {
            completed = filled;
            return true;
        }
    }
    if (!quiet)
        ImodelDisplayINVALID_CORE_DEVICE_MSG(m_coreFile.GetFileTitleAndExt().c_str(),
                                             device.FormatDeviceString("UNSET").c_str());
    return false;
}

bool IxmlSPIRITCoreReader::ReadComponentsList(bool)
{
    const std::optional<PersistXMLAtom> root = getRootAtom();
    const std::optional<PersistXMLAtom> instances =
        root ? UlvFindChildAtomNoCase(*root, "componentInstances") : std::nullopt;
    if (!instances) return false;
    for (const PersistXMLAtom& instance : instances->getChildAtoms())
        if (UlvIsStrEqualNoCase(instance.getName(), "componentInstance")) ReadComponentRef(instance);
    return true;
}

bool IxmlSPIRITCoreReader::ReadComponentRef(const PersistXMLAtom& instance)
{
    std::string name;
    if (!ReadChildValue(instance, "instanceName", name)) return false;
    std::string folder = name;
    if (const std::optional<PersistXMLAtom> extension = UlvFindChildAtomNoCase(instance, "vendorExtension")) {
        std::string path;
        if (ReadChildValue(*extension, "instancePath", path) && !path.empty()) {
            ImodelSetValidSeparator(path, false);
            folder = path;
        }
    }
    const std::string coreFolder = m_coreFile.GetFileLocation().GetString();
    const std::string relative = folder + SysGetDirChar() + name + "." + kDescriptionExtension;
    std::string fileName;
    if (name.empty() || !ResolveCorePath(coreFolder, relative, coreFolder, fileName)) {
        // A description never reaches outside its core: such an instance is
        // left out.
        if (!m_quiet)
            ImodelDisplaySPIRIT_FILE_OUTSIDE_CORE_MSG(relative.c_str(), m_coreFile.GetFileTitleAndExt().c_str());
        return false;
    }
    m_components.emplace_back(ImodelFileName(fileName), m_coreFile.GetFileSpecificType(), ImodelFMFull,
                              !m_coreFile.IsLocalFile(), true);
    return true;
}
