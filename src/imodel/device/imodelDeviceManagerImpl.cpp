#include "src/imodel/device/imodelDeviceManagerImpl.h"

#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "itool/ItoolVeyrun.h"
#include "src/imodel/names/imodelUtlProject.h"

#include <foundation/Sys.h>
#include <foundation/UtlAscii.h>
#include <ktwkspace/IIDEObject.h>

#include <algorithm>
#include <iterator>
#include <optional>

imodelCatalogueScope::imodelCatalogueScope(std::initializer_list<std::pair<const char*, std::string>> values)
{
    // The options database refuses line breaks; a NUL would cut the value short.
    const auto settable = [](const auto& entry) {
        return entry.second.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
    };
    m_set = std::all_of(values.begin(), values.end(), settable);
    if (!m_set) return;
    for (const auto& [name, value] : values) m_guards.emplace_back(name, value);
}

namespace {

// Matches a catalogue entry by name, letter case ignored.
class IsSameDevice {
public:
    explicit IsSameDevice(std::string name) : m_name(std::move(name)) { ImodelMakeLower(m_name); }
    bool operator()(std::string candidate) const
    {
        ImodelMakeLower(candidate);
        return candidate == m_name;
    }

private:
    std::string m_name;
};

bool ContainsNoCase(const std::vector<std::string>& names, const std::string& name)
{
    return std::any_of(names.begin(), names.end(), IsSameDevice(name));
}

// A catalogue list with the query variables set as given: the internal
// names, and their external names in the same order when asked for. False
// when the catalogue has no list there.
bool ReadList(const char* variable, std::initializer_list<std::pair<const char*, std::string>> query,
              std::vector<std::string>& internal, std::vector<std::string>* external)
{
    internal.clear();
    if (external) external->clear();
    const imodelCatalogueScope scope(query);
    if (!scope.IsSet() || DefGetAllVisList(variable, internal) != 0) return false;
    if (external)
        std::transform(internal.begin(), internal.end(), std::back_inserter(*external), ImodelGetExternalDeviceName);
    return true;
}

// The list as one text, as the options database writes it.
std::string ListText(const char* variable, const std::vector<std::string>& words)
{
    // Room for quoting every character of every word.
    std::size_t size = 1;
    for (const std::string& word : words) size += 2 * word.size() + 3;
    std::vector<char> buffer(size, '\0');
    DefGetAllVisList(variable, buffer.data(), buffer.size());
    return buffer.data();
}

// "'A' 'B' 'C'", upper-cased: the values a message offers.
std::string QuotedList(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "'" : " '") + name + "'";
    ImodelMakeUpper(text);
    return text;
}

// "A, B or C".
std::string JoinAlternatives(const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " or " : ", ";
        text += names[i];
    }
    return text;
}

std::string Capitalized(std::string word)
{
    if (!word.empty()) word[0] = UtlToUpper(word[0]);
    return word;
}

const char* MemberWord(imodelDeviceMembers member)
{
    return member == imodelDeviceFamily ? "family" : member == imodelDeviceDie ? "die" : "package";
}

void ReportInvalidDevice(const std::string& badValue, const std::string& validList, const std::string& member,
                         void* parent)
{
    const std::string word = Capitalized(member);
    if (badValue.empty()) {
        if (parent)
            ImodelDisplayMISSING_DEVICE_VALUE_QRY(parent, MdbOK, word.c_str());
        else
            ImodelDisplayMISSING_DEVICE_VALUE_MSG(word.c_str());
    } else if (parent) {
        ImodelDisplayWRONG_DEVICE_VALUE_QRY(parent, MdbOK, word.c_str(), badValue.c_str(), word.c_str(),
                                            validList.c_str());
    } else {
        ImodelDisplayWRONG_DEVICE_VALUE_MSG(word.c_str(), badValue.c_str(), word.c_str(), validList.c_str());
    }
}

// The window of the core libraries' boxes; none without a host.
void* CoreLibraryParentWindow()
{
    ImodelHost* host = Imodel::GetInstance().GetHost();
    IIDEObject* object = host ? host->GetIIDEObject() : nullptr;
    return object ? object->GetParentWindow() : nullptr;
}

}  // namespace

imodelDeviceManagerImpl::imodelDeviceManagerImpl() { ResetDevice(); }

void imodelDeviceManagerImpl::ResetDevice() { SetDevice(ImodelDevice()); }

// --- the catalogue lists ---------------------------------------------------------------

void imodelDeviceManagerImpl::GetFamilies(std::vector<std::string>& families, std::string* rawList) const
{
    // A catalogue without families leaves nothing to choose from; every
    // device is then refused, which the caller reports.
    if (!ReadList("FAM", {}, families, nullptr) && ImodelUtlIsDebugMsg())
        SysDebugPrintf("Error: the device catalogue has no families (\"FAM\" has no choices)\n");
    if (rawList) *rawList = ListText("FAM", families);
}

void imodelDeviceManagerImpl::GetDies(const std::string& family, std::vector<std::string>& dies,
                                      std::vector<std::string>* externalDies) const
{
    ReadList("DIE", {{"QFAM", family}}, dies, externalDies);
}

void imodelDeviceManagerImpl::GetPackages(const std::string& family, const std::string& die,
                                          std::vector<std::string>& packages,
                                          std::vector<std::string>* externalPackages) const
{
    ReadList("PACKAGE", {{"QFAM", family}, {"QDIE", die}}, packages, externalPackages);
}

void imodelDeviceManagerImpl::GetChoices(imodelDeviceMembers member, const ImodelDevice& device,
                                         std::vector<std::string>& internal, std::vector<std::string>* external) const
{
    if (member == imodelDeviceDie)
        GetDies(device.GetFamily(), internal, external);
    else
        GetPackages(device.GetFamily(), device.GetDieInternalName(), internal, external);
}

bool imodelDeviceManagerImpl::IsValidFamily(const std::string& family, std::string* rawList) const
{
    std::vector<std::string> families;
    GetFamilies(families, rawList);
    return std::find(families.begin(), families.end(), family) != families.end();
}

void imodelDeviceManagerImpl::ConvertExtNamesToInt(const std::string& family, std::string& die,
                                                   std::string& package) const
{
    const auto convert = [](std::string& name, const std::vector<std::string>& internal,
                            const std::vector<std::string>& external) {
        const auto found = std::find_if(external.begin(), external.end(), IsSameDevice(name));
        const auto index = static_cast<std::size_t>(found - external.begin());
        if (found != external.end() && index < internal.size()) {
            name = internal[index];
            return;
        }
        // An internal name typed in other letter case passes every check
        // (they ignore case) but would be kept and written as typed: the
        // tools compare the device exactly and the display name is not
        // found. It takes the catalogue's spelling.
        const auto same = std::find_if(internal.begin(), internal.end(), IsSameDevice(name));
        if (same != internal.end()) name = *same;
    };
    std::vector<std::string> internal;
    std::vector<std::string> external;
    if (!die.empty()) {
        GetDies(family, internal, &external);
        convert(die, internal, external);
    }
    if (!package.empty()) {
        GetPackages(family, die, internal, &external);
        convert(package, internal, external);
    }
}

// --- checking and repairing a device ---------------------------------------------------

bool imodelDeviceManagerImpl::IsValidDevice(std::string& badValue, std::string& validList, std::string& member,
                                            imodelDeviceMembers level, const ImodelDevice* device, bool report,
                                            void* parent) const
{
    badValue.clear();
    validList.clear();
    member.clear();
    if (device == nullptr) return false;
    const auto invalid = [&](const std::string& value, const std::vector<std::string>& choices,
                             imodelDeviceMembers which) {
        badValue = value;
        validList = QuotedList(choices);
        member = MemberWord(which);
        if (report) ReportInvalidDevice(badValue, validList, member, parent);
        return false;
    };

    const bool noDieNorPackage = device->IsEmptyMember(imodelDeviceDie) && device->IsEmptyMember(imodelDevicePackage);
    if (level <= imodelDeviceNone && device->IsEmptyMember(imodelDeviceFamily) && noDieNorPackage) return true;
    std::vector<std::string> families;
    GetFamilies(families, nullptr);
    if (std::find(families.begin(), families.end(), device->GetFamily()) == families.end())
        return invalid(device->GetFamily(), families, imodelDeviceFamily);
    if (level <= imodelDeviceFamily && noDieNorPackage) return true;

    for (const imodelDeviceMembers which : {imodelDeviceDie, imodelDevicePackage}) {
        const std::string& value = *device->GetMember(which);
        if (value.empty() && level < which) continue;
        // A package is one of a die's: without the die there is no list to
        // offer, and the die is what the user has to give.
        if (which == imodelDevicePackage && device->IsEmptyMember(imodelDeviceDie))
            return invalid(std::string(), {}, imodelDeviceDie);
        std::vector<std::string> internal;
        std::vector<std::string> external;
        GetChoices(which, *device, internal, &external);
        if (!ContainsNoCase(internal, value)) return invalid(ImodelGetExternalDeviceName(value), external, which);
    }
    return true;
}

bool imodelDeviceManagerImpl::IsCurrentDeviceValid(std::string& badValue, std::string& validList, std::string& member,
                                                   imodelDeviceMembers level) const
{
    return IsValidDevice(badValue, validList, member, level, &m_device, false, nullptr);
}

bool imodelDeviceManagerImpl::ValidateDevice(ImodelDevice& device, imodelDeviceMembers level, bool& changed,
                                             bool quiet) const
{
    // The flag tells exactly whether the device changed, whatever the repair did.
    const ImodelDevice before = device;
    const bool valid = RepairDevice(device, level, quiet);
    changed = device != before;
    return valid;
}

bool imodelDeviceManagerImpl::RepairDevice(ImodelDevice& device, imodelDeviceMembers level, bool quiet) const
{
    const std::string family = device.GetFamily();
    if (family.empty() || !IsValidFamily(family, nullptr)) {
        if (level <= imodelDeviceNone) {
            // Dropping a family the user chose is always told.
            if (!family.empty()) ImodelDisplayVALUE_IGNORED_MSG("Family");
            device = ImodelDevice();
            return true;
        }
        std::vector<std::string> families;
        GetFamilies(families, nullptr);
        if (families.empty()) return false;
        device = ImodelDevice(families.front(), std::string(), std::string());
        if (!quiet) ImodelDisplayVALUE_SET_MSG("Family", families.front().c_str());
    }
    return RepairDie(device, level, quiet) && RepairPackage(device, level, quiet);
}

// The die, then the package: each answers false when the catalogue's first
// value, needed to fill the member in, is empty.
bool imodelDeviceManagerImpl::RepairDie(ImodelDevice& device, imodelDeviceMembers level, bool quiet) const
{
    std::vector<std::string> dies;
    GetDies(device.GetFamily(), dies, nullptr);
    const std::string& die = device.GetDieInternalName();
    if ((!die.empty() && ContainsNoCase(dies, die)) || dies.empty()) return true;
    if (level >= imodelDeviceDie) {
        device.SetMember(dies.front(), imodelDeviceDie);
        device.SetMember(std::string(), imodelDevicePackage);
        if (dies.front().empty()) return false;
        if (!quiet) ImodelDisplayVALUE_SET_MSG("Die", device.GetDieExternalName().c_str());
        return true;
    }
    if (!die.empty()) {
        if (!quiet) ImodelDisplayVALUE_IGNORED_MSG("Die");
        device.SetMember(std::string(), imodelDeviceDie);
    }
    device.SetMember(std::string(), imodelDevicePackage);
    return true;
}

bool imodelDeviceManagerImpl::RepairPackage(ImodelDevice& device, imodelDeviceMembers level, bool quiet) const
{
    std::vector<std::string> packages;
    GetPackages(device.GetFamily(), device.GetDieInternalName(), packages, nullptr);
    const std::string& package = device.GetPackageInternalName();
    if ((!package.empty() && ContainsNoCase(packages, package)) || packages.empty()) return true;
    if (level >= imodelDevicePackage) {
        device.SetMember(packages.front(), imodelDevicePackage);
        if (packages.front().empty()) return false;
        if (!quiet) ImodelDisplayVALUE_SET_MSG("Package", device.GetPackageExternalName().c_str());
    } else if (!package.empty()) {
        if (!quiet) ImodelDisplayVALUE_IGNORED_MSG("Package");
        device.SetMember(std::string(), imodelDevicePackage);
    }
    return true;
}

// --- family display names and family changes -------------------------------------------

std::string imodelDeviceManagerImpl::GetFamilyDisplayName(const std::string& family) const
{
    const std::optional<std::string> name = family.empty() ? std::nullopt : DefGetFL(family.c_str());
    return name && !name->empty() ? *name : family;
}

std::string imodelDeviceManagerImpl::GetFamilyByDisplayName(const std::string& displayName) const
{
    std::vector<std::string> families;
    GetFamilies(families, nullptr);
    const auto found = std::find_if(families.begin(), families.end(), [&](const std::string& family) {
        return GetFamilyDisplayName(family) == displayName;
    });
    return found != families.end() ? *found : displayName;
}

bool imodelDeviceManagerImpl::CanChangeFamily(const std::string& from, const std::string& to, void* parent,
                                              std::string* allowedFamilies) const
{
    if (allowedFamilies) allowedFamilies->clear();
    if (from.empty() || from == to) return true;
    Imodel& model = Imodel::GetInstance();
    const bool changeAllowed = model.CanChangeFamily();
    if (changeAllowed && model.CanChangeAllFamilies()) return true;
    if (!changeAllowed) return false;

    std::vector<std::string> allowed;
    {
        // The allowed changes depend on the family the project has now.
        const imodelCatalogueScope scope({{"FAM", from}});
        std::string text;
        if (scope.IsSet() && DefGetStrFL("FAMILY_CHANGE_ALLOWED", text) == 0) ArgsParse(text, allowed);
    }
    if (ContainsNoCase(allowed, to)) return true;

    std::transform(allowed.begin(), allowed.end(), allowed.begin(),
                   [this](const std::string& family) { return GetFamilyDisplayName(family); });
    const std::string text = JoinAlternatives(allowed);
    if (parent) {
        if (text.empty())
            ImodelDisplayFAM_CHANGE_NOT_ALLOWED_QRY(parent, MdbOK, from.c_str());
        else
            ImodelDisplayFAM_CHANGE_CAN_ONLY_BE_QRY(parent, MdbOK, from.c_str(), text.c_str());
    }
    if (allowedFamilies) *allowedFamilies = text;
    return false;
}

bool imodelDeviceManagerImpl::IsCompatibleWithBlockDesigns(const ImodelDevice& device, void* parent,
                                                           VyIfaces::IComponent::VyModuleType* skip) const
{
    if (!CanChangeFamily(m_device.GetFamily(), device.GetFamily(), parent, nullptr)) return false;
    return ItoolVeyrun::GetInstance() == nullptr || ItoolVeyrun::IsNewDeviceCompatible(device, parent, skip);
}

// --- the device a core needs -----------------------------------------------------------

bool imodelDeviceManagerImpl::ChangeDevice(ImodelDevice& device, const std::string& core,
                                           VyIfaces::IComponent::VyModuleType* kind, bool& declined) const
{
    declined = false;
    std::string badValue;
    std::string validList;
    std::string member;
    if (!IsValidDevice(badValue, validList, member, imodelDeviceNone, &device, true, CoreLibraryParentWindow()))
        return false;
    if (!IsCompatibleWithBlockDesigns(device, nullptr, kind)) return false;

    // The core may name only part of a device: the rest comes from the
    // current one where that keeps the device valid.
    ImodelDevice completed = device;
    completed.GetEmptyMembersFrom(m_device, true);
    if (completed != device &&
        IsValidDevice(badValue, validList, member, imodelDeviceNone, &completed, false, nullptr) &&
        IsCompatibleWithBlockDesigns(completed, nullptr, kind))
        device = completed;

    ImodelHost* host = Imodel::GetInstance().GetHost();
    const MdbQuery_result answer = ImodelDisplayUPGRADED_DEVICE_FOR_CORE_QRY(
        host ? host->GetParentWindow() : nullptr, MdbYES, m_device.FormatDeviceString("UNSET").c_str(),
        device.FormatDeviceString("UNSET").c_str(), core.c_str());
    if (answer == MdbYES) return true;
    declined = true;
    return false;
}

bool imodelDeviceManagerImpl::IsDieSupportedByTool(const std::string& tool, std::string& text) const
{
    text.clear();
    const imodelCatalogueScope scope({{"QTOOL", tool}});
    return scope.IsSet() && DefGetStrFL("IDE_DIE_NOSUPPORT", text) == 0;
}
