// The device manager: the current device and the catalogue questions,
// answered from the options database.
#pragma once

#include "imodel/device/ImodelDeviceManager.h"

#include <foundation/Def.h>

#include <initializer_list>
#include <list>
#include <utility>

// Sets catalogue query variables ("QFAM", "QDIE", "QTOOL", "FAM") for the
// reads made while it lives, and undoes every one on every path. A value no
// catalogue entry can hold (a line break, a NUL character) cannot be set:
// IsSet() is then false, and the caller must not read, so that the answer
// for another value is never taken for this one's.
class imodelCatalogueScope {
public:
    imodelCatalogueScope(std::initializer_list<std::pair<const char*, std::string>> values);
    imodelCatalogueScope(const imodelCatalogueScope&) = delete;
    imodelCatalogueScope& operator=(const imodelCatalogueScope&) = delete;

    bool IsSet() const { return m_set; }

private:
    std::list<DefOverRideGuard> m_guards;
    bool m_set = true;
};

class imodelDeviceManagerImpl : public ImodelDeviceManager {
public:
    imodelDeviceManagerImpl();

    void ResetDevice() override;
    const ImodelDevice& GetDevice() const override { return m_device; }
    void SetDevice(const ImodelDevice& device) override { m_device = device; }

    bool IsValidFamily(const std::string& family, std::string* rawList) const override;
    bool IsValidDevice(std::string& badValue, std::string& validList, std::string& member, imodelDeviceMembers level,
                       const ImodelDevice* device, bool report, void* parent) const override;
    bool IsCurrentDeviceValid(std::string& badValue, std::string& validList, std::string& member,
                              imodelDeviceMembers level) const override;
    bool ValidateDevice(ImodelDevice& device, imodelDeviceMembers level, bool& changed, bool quiet) const override;

    void GetFamilies(std::vector<std::string>& families, std::string* rawList) const override;
    void GetDies(const std::string& family, std::vector<std::string>& dies,
                 std::vector<std::string>* externalDies) const override;
    void GetPackages(const std::string& family, const std::string& die, std::vector<std::string>& packages,
                     std::vector<std::string>* externalPackages) const override;
    void ConvertExtNamesToInt(const std::string& family, std::string& die, std::string& package) const override;

    std::string GetFamilyDisplayName(const std::string& family) const override;
    std::string GetFamilyByDisplayName(const std::string& displayName) const override;

    bool CanChangeFamily(const std::string& from, const std::string& to, void* parent,
                         std::string* allowedFamilies) const override;
    bool IsCompatibleWithBlockDesigns(const ImodelDevice& device, void* parent,
                                      VyIfaces::IComponent::VyModuleType* skip) const override;
    bool ChangeDevice(ImodelDevice& device, const std::string& core, VyIfaces::IComponent::VyModuleType* kind,
                      bool& declined) const override;
    bool IsDieSupportedByTool(const std::string& tool, std::string& text) const override;

private:
    // The dies or packages of the catalogue for a member, as ValidateDevice
    // and IsValidDevice walk them.
    void GetChoices(imodelDeviceMembers member, const ImodelDevice& device, std::vector<std::string>& internal,
                    std::vector<std::string>* external) const;
    bool RepairDevice(ImodelDevice& device, imodelDeviceMembers level, bool quiet) const;
    bool RepairDie(ImodelDevice& device, imodelDeviceMembers level, bool quiet) const;
    bool RepairPackage(ImodelDevice& device, imodelDeviceMembers level, bool quiet) const;

    ImodelDevice m_device;
};
