// The project's target device and the device catalogue. The catalogue is the
// options database: the families are the choices of "FAM", the dies of a
// family the choices of "DIE" with "QFAM" set to it, the packages the choices
// of "PACKAGE" with "QFAM" and "QDIE" set. Every list holds internal names;
// each has an external (displayed) name. The project model owns the one
// device manager.
#pragma once

#include "imodel/device/ImodelDevice.h"

#include <vy/IComponent.h>

#include <string>
#include <vector>

class ImodelDeviceManager {
public:
    virtual ~ImodelDeviceManager() = default;

    // Makes an empty device current.
    virtual void ResetDevice() = 0;
    virtual const ImodelDevice& GetDevice() const = 0;
    virtual void SetDevice(const ImodelDevice& device) = 0;

    // The family is one of the catalogue's families (exact comparison);
    // `rawList` receives the family list as one text.
    virtual bool IsValidFamily(const std::string& family, std::string* rawList = nullptr) const = 0;
    // Whether the device is in the catalogue as far as the level requires.
    // On failure `member` is "family", "die" or "package", `badValue` its
    // (external) value, empty when it is missing, and `validList` the
    // values allowed there. With `report` the failure is told to the user:
    // a box owned by `parent`, or an output line without one.
    virtual bool IsValidDevice(std::string& badValue, std::string& validList, std::string& member,
                               imodelDeviceMembers level, const ImodelDevice* device, bool report,
                               void* parent) const = 0;
    // IsValidDevice on the current device, without report.
    virtual bool IsCurrentDeviceValid(std::string& badValue, std::string& validList, std::string& member,
                                      imodelDeviceMembers level) const = 0;
    // Repairs the device: an invalid member is replaced by the catalogue's
    // first value where the level requires it, else emptied. `changed` tells
    // whether the device changed; notices go out unless `quiet` (a family
    // that is dropped is always told). False when the catalogue has no
    // value to fill in.
    virtual bool ValidateDevice(ImodelDevice& device, imodelDeviceMembers level, bool& changed, bool quiet) const = 0;

    // The catalogue lists, in catalogue order; an external list, when asked
    // for, holds the external names in the same order.
    virtual void GetFamilies(std::vector<std::string>& families, std::string* rawList = nullptr) const = 0;
    virtual void GetDies(const std::string& family, std::vector<std::string>& dies,
                         std::vector<std::string>* externalDies = nullptr) const = 0;
    virtual void GetPackages(const std::string& family, const std::string& die, std::vector<std::string>& packages,
                             std::vector<std::string>* externalPackages = nullptr) const = 0;
    // Die and package from external to internal names (case ignored); a
    // name that is no external name of the family stays as it is.
    virtual void ConvertExtNamesToInt(const std::string& family, std::string& die, std::string& package) const = 0;

    // The name the user sees for a family (the family itself when it has none).
    virtual std::string GetFamilyDisplayName(const std::string& family) const = 0;
    // The first family with that display name, else the text itself.
    virtual std::string GetFamilyByDisplayName(const std::string& displayName) const = 0;

    // Whether a project of family `from` may change to family `to`. When it
    // may not, `allowedFamilies` receives the families it may change to
    // ("A, B or C") and, with a parent window, the user is told.
    virtual bool CanChangeFamily(const std::string& from, const std::string& to, void* parent,
                                 std::string* allowedFamilies = nullptr) const = 0;
    // The family change is allowed and the block designs of the project
    // accept the device (components of the kind `skip` points to are not asked).
    virtual bool IsCompatibleWithBlockDesigns(const ImodelDevice& device, void* parent,
                                              VyIfaces::IComponent::VyModuleType* skip) const = 0;
    // The device change that importing the core `core` needs: checks the
    // device, completes it from the current one where that stays valid, and
    // asks the user. True when the user accepts; `declined` is set when the
    // user refuses. The current device is not changed: the caller applies
    // the returned one.
    virtual bool ChangeDevice(ImodelDevice& device, const std::string& core, VyIfaces::IComponent::VyModuleType* kind,
                              bool& declined) const = 0;
    // Reads the dies the tool does not support into `text`; false when the
    // catalogue says nothing for the tool.
    virtual bool IsDieSupportedByTool(const std::string& tool, std::string& text) const = 0;

protected:
    ImodelDeviceManager() = default;
    ImodelDeviceManager(const ImodelDeviceManager&) = delete;
    ImodelDeviceManager& operator=(const ImodelDeviceManager&) = delete;
};
