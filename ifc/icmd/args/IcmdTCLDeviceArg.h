// The `family` argument, with its companions `die` and `package`: the target
// device, checked against the device catalogue. The level says how much of a
// device the command needs (0 nothing, 1 the family, 2 the die too, 3 all);
// a family whose catalogue makes the selection mandatory needs all three.
// Die and package are given by their displayed (external) names.
#pragma once

#include "icmd/args/IcmdParam.h"
#include "imodel/device/ImodelDevice.h"

#include <memory>

class AcmdStringParam;

class IcmdTCLDeviceArg : public IcmdParam<ImodelDevice> {
public:
    // Makes `die` and `package` too, parameters of the same command.
    IcmdTCLDeviceArg(AcmdBase* owner, imodelDeviceMembers level);
    ~IcmdTCLDeviceArg() override;

    // Also gives `die` and `package` the device's external names.
    void SetObject(ImodelDevice device) override;
    AcmdStringParam& GetDieArg() { return *m_die; }
    AcmdStringParam& GetPackageArg() { return *m_package; }
    imodelDeviceMembers GetLevel() const { return m_level; }

    void Accept(AcmdTypedParamVisitor& /*visitor*/) override {}
    std::string GetTypeDescription() const override { return "a string"; }
    // The family text with the die and package given: the device when the
    // catalogue knows it as far as the level asks (the catalogue's message
    // otherwise).
    bool GetObjectFromString(const char* text, ImodelDevice& out, bool report, void* parentWindow) override;
    // The family alone: die and package travel in their own arguments.
    std::string GetStringFromObject(ImodelDevice device) const override { return device.GetFamily(); }

protected:
    // Die and package first: the family's conversion reads them.
    void ValidateOwnValue(AcmdEnum::Result& result) override;

private:
    std::unique_ptr<AcmdStringParam> m_die;
    std::unique_ptr<AcmdStringParam> m_package;
    imodelDeviceMembers m_level;
};
