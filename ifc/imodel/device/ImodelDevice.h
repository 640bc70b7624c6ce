// The project's target device as a value: family, die and package, held as
// internal names of the options database's device catalogue. It converts to
// and from the netlist library's description (external, displayed names),
// reads and writes its keys of the project file, formats itself for
// messages and checks that enough of it is chosen. The device manager holds
// the current one.
#pragma once

#include <ndb/BrnDevice.h>

#include <iosfwd>
#include <string>
#include <vector>

class ImodelProjectFileStructure;

// A member of the device; the same values serve as a selection level (how
// much of a device is required): 0 nothing, 1 the family, 2 family and die,
// 3 all three. Any other value names no member.
enum imodelDeviceMembers : int {
    imodelDeviceNone = 0,
    imodelDeviceFamily = 1,
    imodelDeviceDie = 2,
    imodelDevicePackage = 3,
};

class ImodelDevice {
public:
    ImodelDevice() = default;
    // Internal names, stored unchanged.
    ImodelDevice(const std::string& family, const std::string& die, const std::string& package);
    // Takes external die and package names and converts them to internal ones.
    explicit ImodelDevice(const BrnDevice& device);
    ImodelDevice(const ImodelDevice&) = default;
    ImodelDevice& operator=(const ImodelDevice&) = default;
    virtual ~ImodelDevice() = default;

    // The member's text; null for a value that names no member.
    const std::string* GetMember(imodelDeviceMembers member) const;
    std::string* GetMember(imodelDeviceMembers member);
    // Copies the member into `out`; false for a value that names no member.
    bool GetMember(std::string& out, imodelDeviceMembers member) const;
    // Other values are ignored.
    void SetMember(const std::string& value, imodelDeviceMembers member);
    // A value that names no member counts as empty.
    bool IsEmptyMember(imodelDeviceMembers member) const;
    // Exact (case-sensitive) equality; false for a value that names no member.
    bool IsMember(imodelDeviceMembers member, const std::string& value) const;
    void GetMemberFrom(imodelDeviceMembers member, const ImodelDevice& from);

    const std::string& GetFamily() const { return m_family; }
    const std::string& GetDieInternalName() const { return m_die; }
    const std::string& GetPackageInternalName() const { return m_package; }
    std::string GetDieExternalName() const;
    std::string GetPackageExternalName() const;
    // Family, external die name, external package name.
    BrnDevice GetAsBrnDevice() const;
    // Die and package from external to internal names (the device manager's
    // catalogue of the family).
    void ConvertExtNamesToInt();

    // Empties `differences`, then lists the members that differ from
    // `other` (exact comparison), in the order family, die, package.
    void GetAllDifferences(const ImodelDevice& other, std::vector<imodelDeviceMembers>& differences) const;
    bool operator!=(const ImodelDevice& other) const;
    bool operator==(const ImodelDevice& other) const { return !(*this != other); }

    // "FAM:<family> - DIE:<external die> - PKG:<external package>" for the
    // given members in their order, with `unset` for an empty member.
    std::string FormatDeviceString(const std::vector<imodelDeviceMembers>& members, const char* unset) const;
    std::string FormatDeviceString(const char* unset) const;

    // Whether every member the level requires is chosen. Otherwise `missing`
    // names the first missing one ("family", "die" or "package") and, unless
    // `quiet`, the user is asked to specify it (a box owned by `parent`).
    bool HasAllRequiredMembers(bool quiet, imodelDeviceMembers level, std::string& missing, void* parent) const;

    // Fills the empty members from `from`, family first, as long as a
    // member that was acceptable stays so; with `validate` the result is
    // then repaired quietly at the family's mandatory level.
    void GetEmptyMembersFrom(const ImodelDevice& from, bool validate);

    // Reads the device keys (or the single key of older projects, whose
    // external names are converted). A family the catalogue does not know
    // empties the device; `changed` then tells whether anything was lost.
    bool ReadFromProjectFile(ImodelProjectFileStructure& file, bool& changed);
    // The three device key lines; nothing when `stream` is null (the
    // project writer hands its file stream).
    void WriteToProjectFile(std::ostream* stream) const;

private:
    std::string m_family;
    std::string m_die;
    std::string m_package;
};

// The external (displayed) name of a catalogue value; a value that has none
// is displayed as itself.
std::string ImodelGetExternalDeviceName(const std::string& value);

// The level required for the device's family: 3 when the catalogue makes
// the device selection mandatory for it, else 1.
imodelDeviceMembers ImodelGetMandatoryDeviceLevel(const ImodelDevice& device);
// The same for the current device of the project.
imodelDeviceMembers ImodelGetMandatoryDeviceLevel();
