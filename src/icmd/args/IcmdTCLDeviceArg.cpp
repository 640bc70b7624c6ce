#include "icmd/args/IcmdTCLDeviceArg.h"

#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"

#include <algorithm>

IcmdTCLDeviceArg::IcmdTCLDeviceArg(AcmdBase* owner, imodelDeviceMembers level)
    : IcmdParam<ImodelDevice>("family", owner, AcmdValueType::Single(), level >= imodelDeviceFamily, ImodelDevice(),
                              true, "family"),
      m_die(std::make_unique<AcmdStringParam>("die", owner, AcmdValueType::Single(), level >= imodelDeviceDie, "die",
                                              std::string(), false)),
      m_package(std::make_unique<AcmdStringParam>("package", owner, AcmdValueType::Single(),
                                                  level >= imodelDevicePackage, "package", std::string(), false)),
      m_level(level)
{
}

IcmdTCLDeviceArg::~IcmdTCLDeviceArg() = default;

void IcmdTCLDeviceArg::SetObject(ImodelDevice device)
{
    m_die->SetObject(device.GetDieExternalName());
    m_package->SetObject(device.GetPackageExternalName());
    StoreValue(std::move(device));
}

bool IcmdTCLDeviceArg::GetObjectFromString(const char* text, ImodelDevice& out, bool report, void* /*parentWindow*/)
{
    ImodelDevice device = out;
    device.SetMember(text ? text : "", imodelDeviceFamily);
    device.SetMember(m_die->GetObject(), imodelDeviceDie);
    device.SetMember(m_package->GetObject(), imodelDevicePackage);
    device.ConvertExtNamesToInt();
    const imodelDeviceMembers level = std::max(m_level, ImodelGetMandatoryDeviceLevel(device));
    std::string badValue;
    std::string validList;
    std::string member;
    // The catalogue says what is wrong; there is no not-found message of our own.
    if (!Imodel::GetInstance().GetDeviceManager()->IsValidDevice(badValue, validList, member, level, &device, report,
                                                                 nullptr)) {
        return false;
    }
    out = device;
    return true;
}

void IcmdTCLDeviceArg::ValidateOwnValue(AcmdEnum::Result& result)
{
    m_die->initAndValidateObject(result);
    m_package->initAndValidateObject(result);
    IcmdParam<ImodelDevice>::ValidateOwnValue(result);
}
