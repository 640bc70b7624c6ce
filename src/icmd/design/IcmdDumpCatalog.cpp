#include "icmd/design/IcmdDumpCatalog.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelHost.h"

#include <dastrel/IIpMgrCallback.h>
#include <foundation/Arev.h>

#include <vector>

IcmdDumpCatalog::IcmdDumpCatalog()
    : m_dumpVersion("dump_version", this, AcmdValueType::Single(), false, false, "dump the Solvato version"),
      m_latestOnly("show_latest_version_only", this, AcmdValueType::Single(), false, false,
                   "show the latest version of each core")
{
}

IcmdDumpCatalog::~IcmdDumpCatalog() = default;

AcmdEnum::Result IcmdDumpCatalog::DoDump(std::ostream& out)
{
    Imodel& model = Imodel::GetInstance();
    if (!model.GetDesignManager()->HasProjectFileStream()) {
        out << "ERROR - No Project is open.\n";
        return AcmdEnum::Success;
    }
    if (m_dumpVersion.GetObject()) out << "Version: " << ArevGetVerinfoSoftwareRevision() << '\n';
    const ImodelDevice& device = model.GetDeviceManager()->GetDevice();
    const std::string family = device.GetFamily();
    const std::string die = device.GetDieExternalName();
    out << "Family: " << family << '\n' << "Die: " << die << '\n' << '\n';
    ImodelHost* host = model.GetHost();
    const boost::shared_ptr<IIpMgrCallback> browser = host ? host->GetIpMgrCallback() : nullptr;
    if (!browser) return AcmdEnum::Success;
    std::vector<std::string> lines;
    browser->ListCatalog(family, die, m_latestOnly.GetObject(), lines);
    for (const std::string& line : lines) out << line << '\n';
    return AcmdEnum::Success;
}
