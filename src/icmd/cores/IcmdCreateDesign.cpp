// create_design: the identity, the choice of the creator and the three
// creators.
#include "icmd/cores/IcmdCreateDesign.h"

#include "icmd/args/IcmdComponentIDText.h"
#include "ifile/IfileObject.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelMessages.h"
#include "itool/ItoolVeyrun.h"
#include "src/icmd/project/IcmdProjectFileText.h"

#include <brnspirit/ComponentMgr.h>
#include <foundation/Sys.h>
#include <foundation/UtlAscii.h>
#include <ktwkspace/DremmetDesignBase.h>
#include <ktwkspace/IIDEObject.h>
#include <ktwkspace/Workspace.h>
#include <ndb/CvlLibrary.h>

#include <algorithm>

IcmdCreateDesign::IcmdCreateDesign()
    : IcmdBase(false), m_id("id", this, AcmdValueType::Single(), true, "id", "", false),
      m_designName("design_name", this, AcmdValueType::Single(), true, "design_name", "", false),
      m_configFile("config_file", this, AcmdValueType::Single(), false, "config_file", ""),
      m_params("params", this, AcmdValueType::List(), false, "params", "", false)
{
}

IcmdCreateDesign::~IcmdCreateDesign() = default;

bool IcmdParseCoreIdentity(const std::string& text, VlnvCoreId& core)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t colon = text.find(':', start);
        fields.push_back(text.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
        if (colon == std::string::npos) break;
        start = colon + 1;
    }
    if (fields.size() != 4) return false;
    core = VlnvCoreId(fields[0], fields[1], fields[2], fields[3]);
    return true;
}

std::vector<std::pair<std::string, std::string>> IcmdParseCoreParameters(const std::vector<std::string>& texts)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    pairs.reserve(texts.size());
    for (const std::string& text : texts) {
        const std::size_t colon = text.find(':');
        if (colon == std::string::npos || colon == 0)
            pairs.emplace_back();
        else
            pairs.emplace_back(text.substr(0, colon), text.substr(colon + 1));
    }
    return pairs;
}

std::unique_ptr<DesignCreatorBase> DesignCreatorFactory(IcmdCreateDesign& command)
{
    const VlnvCoreId& core = command.GetVLNV();
    if (UtlIsSameNoCase(core.library, "Zandrel") && UtlIsSameNoCase(core.name, "Veyrun"))
        return std::make_unique<ZandrelDesignCreator>(command);
    if (UtlIsSameNoCase(core.library, "Kiltora")) return std::make_unique<KiltoraDesignCreator>(command);
    return std::make_unique<SpiritDesignCreator>(command);
}

AcmdEnum::Result IcmdCreateDesign::checkParams()
{
    const std::string id = m_id.GetObject();
    if (id.empty()) {
        ImodelDisplayINVALID_CORE_IDENTITY_MSG(id.c_str());
        return AcmdEnum::Failure;
    }
    if (!m_creator) {
        if (!IcmdParseCoreIdentity(id, m_core)) {
            ImodelDisplayINVALID_CORE_IDENTITY_MSG(id.c_str());
            return AcmdEnum::Failure;
        }
        m_creator = DesignCreatorFactory(*this);
    }
    // The name becomes a folder of the project: one folder name, never a path.
    if (!IcmdCheckDesignName(m_designName.GetObject())) return AcmdEnum::Failure;
    return m_creator->Check() ? AcmdEnum::Success : AcmdEnum::Failure;
}

AcmdEnum::Result IcmdCreateDesign::execDo()
{
    if (m_creator && m_creator->Create()) return AcmdEnum::Success;
    ImodelDisplayDESIGN_NOT_CREATED_MSG(GetNameParam().c_str());
    return AcmdEnum::Failure;
}

// --- the creators ---------------------------------------------------------------------

bool ZandrelDesignCreator::Create()
{
    ItoolVeyrun* tool = ItoolVeyrun::GetInstance();
    return tool != nullptr && tool->CreateNewVeyrun(m_command.GetNameParam()).first;
}

bool SpiritDesignCreator::Check()
{
    const std::string name = m_command.GetNameParam();
    void* parent = m_command.GetEnvironment();
    if (UtlIsSameNoCase(name, m_command.GetVLNV().name)) {
        ImodelDisplayINVALID_CORE_NAME_QRY(parent, MdbOK);
        return false;
    }
    if (CvlIsBrennicMacro(name, Imodel::GetInstance().GetExistingTempWorld())) {
        ImodelDisplayINVALID_CORE_NAME_CVLIB_QRY(parent, MdbOK);
        return false;
    }
    return true;
}

bool SpiritDesignCreator::Create()
{
    const bool asIpTool = ImodelIsSwitchOn("DREMMET_AS_IPTOOL");
    const VlnvCoreId& core = m_command.GetVLNV();
    const Brnspirit::Component* component = Brnspirit::ComponentMgr::GetInstance()->GetComponent(core);
    if (component == nullptr) {
        ImodelDisplayCANNOT_FIND_SPIRIT_COMPONENT_MSG(core.vendor.c_str(), core.library.c_str(), core.name.c_str(),
                                                      core.version.c_str());
        return false;
    }
    const VyIfaces::ComponentID id = IcmdReadComponentID(m_command.GetNameParam());
    const std::vector<std::string>& generators = component->GetGenerators();
    const bool configurator = asIpTool || std::any_of(generators.begin(), generators.end(), [](std::string name) {
                                  UtlMakeUpper(name);
                                  return name.find("LGI") != std::string::npos;
                              });
    return configurator ? OpenInConfigurator(id) : CreateInWorkspace(id);
}

bool SpiritDesignCreator::CreateInWorkspace(const VyIfaces::ComponentID& id)
{
    Ktwkspace::Workspace* workspace = Imodel::GetInstance().GetWorkspace();
    if (workspace == nullptr) return false;
    const std::string name = m_command.GetNameParam();
    const Ktwkspace::Workspace::CreateResult made = workspace->CreateUniqueCore(m_command.GetVLNV(), name);
    if (!made.success) return false;
    const std::vector<std::pair<std::string, std::string>> parameters =
        IcmdParseCoreParameters(m_command.GetParams().GetObjects());
    if (workspace->FindComponent(id) == nullptr) {
        if (parameters.empty()) return true;
        // Parameters the new core would not get: the core goes again, and
        // the user learns why.
        ImodelDisplayCORE_PARAMETERS_NOT_APPLIED_MSG(name.c_str());
        if (made.component) workspace->RemoveComponent(made.component->GetComponentID(), true);
        return false;
    }
    if (parameters.empty() || workspace->SetCoreParameters(id, parameters)) return true;
    ImodelDisplayCORE_PARAMETERS_REFUSED_MSG(name.c_str());
    workspace->RemoveComponent(id, true);
    return false;
}

bool SpiritDesignCreator::OpenInConfigurator(const VyIfaces::ComponentID& id)
{
    ImodelHost* host = Imodel::GetInstance().GetHost();
    IIDEObject* environment = host ? host->GetIIDEObject() : nullptr;
    if (environment == nullptr) return false;
    const VlnvCoreId& core = m_command.GetVLNV();
    const Brndesign::DremmetCore record{core.vendor, core.library, core.name, core.version};
    const std::string folder = Brndesign::DremmetDesignBase::GetDesignFolder(environment, id, VyIfaces::IComponent::IP);
    const bool existed = !folder.empty() && UtlDoesDiskObjectExist(folder);
    if (Brndesign::DremmetDesignBase::OpenQVGUI(environment, false, true, record, id, VyIfaces::IComponent::IP))
        return true;
    // Only what this run made goes, and only inside the project.
    const ImodelFileName& project = Imodel::GetInstance().GetDesignManager()->GetProjectFolder();
    if (!folder.empty() && !existed && !project.empty() &&
        IfileObject(ImodelFileName(folder), zorpaFT_UNKNOWN, ImodelFMFull, true, true).IsInFolder(project))
        SysRemoveFolderRecursively(folder);
    return false;
}
