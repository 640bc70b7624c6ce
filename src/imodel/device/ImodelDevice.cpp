#include "imodel/device/ImodelDevice.h"

#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelLineText.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/ImodelProjectFileStructure.h"
#include "src/imodel/device/imodelDeviceManagerImpl.h"
#include "src/imodel/names/imodelUtlProject.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <ostream>

namespace {

// The members in the order every walk over them takes.
constexpr imodelDeviceMembers kMembers[] = {imodelDeviceFamily, imodelDeviceDie, imodelDevicePackage};

// How each member reads in messages and in the project file.
struct MemberText {
    const char* word;    // the missing member's word
    const char* prefix;  // FormatDeviceString
    const char* key;     // the project-file key
};
const MemberText& TextOf(imodelDeviceMembers member)
{
    static const MemberText texts[] = {
        {"family", "FAM:", "VendorTechnology_Family"},
        {"die", "DIE:", "VendorTechnology_Die"},
        {"package", "PKG:", "VendorTechnology_Package"},
    };
    return texts[member - imodelDeviceFamily];
}

bool NamesMember(imodelDeviceMembers member) { return member >= imodelDeviceFamily && member <= imodelDevicePackage; }

ImodelDeviceManager& Manager() { return *Imodel::GetInstance().GetDeviceManager(); }

// The single key of older projects: "Brennic <family>,<die>,<package> <word>",
// with external names.
constexpr const char* kOldDeviceKey = "VendorTechnology";
constexpr const char* kMakerPrefix = "Brennic ";

std::string KeyValue(ImodelProjectFileStructure& file, const char* name)
{
    const auto key = file.GetKEY(name, false);
    return key ? key->GetValue() : std::string();
}

// Splits the old key's value into family, die and package; false when the
// file has no such key.
bool ReadOldDeviceKey(ImodelProjectFileStructure& file, std::string (&members)[3])
{
    const auto key = file.GetKEY(kOldDeviceKey, false);
    if (!key) return false;
    std::string value = key->GetValue();
    if (value.rfind(kMakerPrefix, 0) == 0) value.erase(0, std::char_traits<char>::length(kMakerPrefix));
    // The last word (a speed grade) goes; a value without a blank is kept whole.
    value = UtlGetLeftString(value, value.rfind(' '));
    std::size_t start = 0;
    for (std::string& member : members) {
        if (start > value.size()) break;
        const std::size_t comma = value.find(',', start);
        const std::size_t end = comma == std::string::npos ? value.size() : comma;
        member = UtlTrimRightString(UtlTrimLeftString(value.substr(start, end - start), " \t"), " \t");
        start = end + 1;
    }
    return true;
}

bool IsAcceptable(const ImodelDevice& device)
{
    std::string badValue;
    std::string validList;
    std::string member;
    return Manager().IsValidDevice(badValue, validList, member, imodelDeviceNone, &device, false, nullptr);
}

}  // namespace

ImodelDevice::ImodelDevice(const std::string& family, const std::string& die, const std::string& package)
    : m_family(family), m_die(die), m_package(package)
{
}

ImodelDevice::ImodelDevice(const BrnDevice& device)
    : m_family(device.family), m_die(device.die), m_package(device.package)
{
    ConvertExtNamesToInt();
}

const std::string* ImodelDevice::GetMember(imodelDeviceMembers member) const
{
    switch (member) {
    case imodelDeviceFamily:
        return &m_family;
    case imodelDeviceDie:
        return &m_die;
    case imodelDevicePackage:
        return &m_package;
    default:
        return nullptr;
    }
}

std::string* ImodelDevice::GetMember(imodelDeviceMembers member)
{
    return const_cast<std::string*>(static_cast<const ImodelDevice&>(*this).GetMember(member));
}

bool ImodelDevice::GetMember(std::string& out, imodelDeviceMembers member) const
{
    const std::string* value = GetMember(member);
    if (value) out = *value;
    return value != nullptr;
}

void ImodelDevice::SetMember(const std::string& value, imodelDeviceMembers member)
{
    if (std::string* stored = GetMember(member)) *stored = value;
}

bool ImodelDevice::IsEmptyMember(imodelDeviceMembers member) const
{
    const std::string* value = GetMember(member);
    return value == nullptr || value->empty();
}

bool ImodelDevice::IsMember(imodelDeviceMembers member, const std::string& value) const
{
    const std::string* stored = GetMember(member);
    return stored != nullptr && *stored == value;
}

void ImodelDevice::GetMemberFrom(imodelDeviceMembers member, const ImodelDevice& from)
{
    if (const std::string* value = from.GetMember(member)) SetMember(*value, member);
}

std::string ImodelDevice::GetDieExternalName() const { return ImodelGetExternalDeviceName(m_die); }

std::string ImodelDevice::GetPackageExternalName() const { return ImodelGetExternalDeviceName(m_package); }

BrnDevice ImodelDevice::GetAsBrnDevice() const
{
    return BrnDevice(m_family, GetDieExternalName(), GetPackageExternalName());
}

void ImodelDevice::ConvertExtNamesToInt() { Manager().ConvertExtNamesToInt(m_family, m_die, m_package); }

void ImodelDevice::GetAllDifferences(const ImodelDevice& other, std::vector<imodelDeviceMembers>& differences) const
{
    differences.clear();
    for (const imodelDeviceMembers member : kMembers) {
        if (*GetMember(member) != *other.GetMember(member)) differences.push_back(member);
    }
}

bool ImodelDevice::operator!=(const ImodelDevice& other) const
{
    if (this == &other) return false;
    std::vector<imodelDeviceMembers> differences;
    GetAllDifferences(other, differences);
    return !differences.empty();
}

std::string ImodelDevice::FormatDeviceString(const std::vector<imodelDeviceMembers>& members, const char* unset) const
{
    std::string text;
    for (const imodelDeviceMembers member : members) {
        if (!NamesMember(member)) continue;
        if (!text.empty()) text += " - ";
        text += TextOf(member).prefix;
        if (IsEmptyMember(member)) {
            text += unset ? unset : "";
        } else {
            // The family has no external name of its own.
            text += member == imodelDeviceFamily ? m_family : ImodelGetExternalDeviceName(*GetMember(member));
        }
    }
    return text;
}

std::string ImodelDevice::FormatDeviceString(const char* unset) const
{
    return FormatDeviceString({std::begin(kMembers), std::end(kMembers)}, unset);
}

bool ImodelDevice::HasAllRequiredMembers(bool quiet, imodelDeviceMembers level, std::string& missing,
                                         void* parent) const
{
    for (const imodelDeviceMembers member : kMembers) {
        if (level < member) return true;
        if (!IsEmptyMember(member)) continue;
        missing = TextOf(member).word;
        if (!quiet) ImodelDisplayPROJECT_SETTING_UNSPECIFIED_QRY(parent, MdbOK, missing.c_str());
        return false;
    }
    return true;
}

void ImodelDevice::GetEmptyMembersFrom(const ImodelDevice& from, bool validate)
{
    for (const imodelDeviceMembers member : kMembers) {
        if (!IsEmptyMember(member)) continue;
        const bool acceptableBefore = IsAcceptable(*this);
        GetMemberFrom(member, from);
        if (acceptableBefore && !IsAcceptable(*this)) {
            SetMember(std::string(), member);
            break;
        }
    }
    if (validate) {
        bool changed = false;
        Manager().ValidateDevice(*this, ImodelGetMandatoryDeviceLevel(*this), changed, true);
    }
}

bool ImodelDevice::ReadFromProjectFile(ImodelProjectFileStructure& file, bool& changed)
{
    std::string members[3];
    const bool oldKey = ReadOldDeviceKey(file, members);
    if (!oldKey) {
        for (const imodelDeviceMembers member : kMembers)
            members[member - imodelDeviceFamily] = KeyValue(file, TextOf(member).key);
    }
    auto& [family, die, package] = members;

    changed = false;
    ImodelDeviceManager& manager = Manager();
    if (!manager.IsValidFamily(family)) {
        changed = !family.empty() || !die.empty() || !package.empty();
        family.clear();
        die.clear();
        package.clear();
    }
    if (oldKey) manager.ConvertExtNamesToInt(family, die, package);
    *this = ImodelDevice(family, die, package);
    return true;
}

void ImodelDevice::WriteToProjectFile(std::ostream* stream) const
{
    if (stream == nullptr) return;
    for (const imodelDeviceMembers member : kMembers) {
        // A value with a line break would end its key line early and make
        // the rest of it a line of its own; no catalogue name holds one.
        const char* key = TextOf(member).key;
        if (ImodelCheckOneLine(*stream, *GetMember(member), key))
            *stream << "KEY " << key << " \"" << *GetMember(member) << "\"\n";
    }
}

std::string ImodelGetExternalDeviceName(const std::string& value)
{
    // A NUL would cut the name short and find another value's name.
    std::string external;
    if (value.empty() || value.find('\0') != std::string::npos || DefGetExtValue(value.c_str(), 1, external) != 0)
        return value;
    return external;
}

imodelDeviceMembers ImodelGetMandatoryDeviceLevel(const ImodelDevice& device)
{
    const imodelCatalogueScope scope({{"QFAM", device.GetFamily()}});
    return scope.IsSet() && ImodelIsSwitchOn("IS_DEVICE_SELECTION_MANDATORY") ? imodelDevicePackage
                                                                              : imodelDeviceFamily;
}

imodelDeviceMembers ImodelGetMandatoryDeviceLevel() { return ImodelGetMandatoryDeviceLevel(Manager().GetDevice()); }
