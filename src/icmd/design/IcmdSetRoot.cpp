// set_root: the root chosen, stored in the design and announced.
#include "icmd/design/IcmdSetRoot.h"

#include "icmd/IcmdDoCommand.h"
#include "icmd/args/IcmdComponentIDText.h"
#include "ievent/IeventClasses.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelRoot.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"
#include "iprocess/QuorlaneStateMachine.h"

#include <boost/make_shared.hpp>

IcmdSetRoot::IcmdSetRoot() : IcmdBase(false), m_module(this, true, false) {}

IcmdSetRoot::~IcmdSetRoot() = default;

AcmdEnum::Result IcmdSetRoot::ParseArgs(const std::vector<std::string>& args)
{
    m_chosenByUser = true;
    const AcmdEnum::Result parsed = IcmdBase::ParseArgs(args);
    // "-module" alone is the option without its value, not a unit's name; a
    // word the parse refused for its NUL names no unit either.
    if (args.size() != 1 || args.front() == "-" + m_module.GetName() || args.front().find('\0') != std::string::npos)
        return parsed;
    // The word is looked for as a module when the command is validated: a
    // word that names none fails there, with the module argument's message.
    m_module.Reset();
    m_module.SetValueFromText(args.front().c_str());
    return AcmdEnum::Success;
}

AcmdEnum::Result IcmdSetRoot::checkParams()
{
    const AcmdEnum::Result checked = IcmdBase::checkParams();
    if (checked != AcmdEnum::Success) return checked;
    const ImodelModule* module = m_module.GetObject();
    if (module == nullptr || ImodelCanBeRoot(module)) return AcmdEnum::Success;
    ImodelDisplayCANNOT_SET_ROOT_MSG(module->GetName().c_str());
    return AcmdEnum::Failure;
}

AcmdEnum::Result IcmdSetRoot::execDo()
{
    ImodelModule* module = m_module.GetObject();
    const VyIfaces::ComponentID id = module ? module->GetComponentID() : VyIfaces::ComponentID();
    Imodel& model = Imodel::GetInstance();
    ImodelDesignManager& design = *model.GetDesignManager();
    const bool changed = design.GetRootId() != id;
    // The units know which of them is the root.
    if (ImodelModule* previous = design.GetRootModule(); previous != nullptr && previous != module)
        previous->SetIsRoot(false);
    design.SetRootId(id);
    if (m_chosenByUser) design.SetRootThatWent(VyIfaces::ComponentID());
    if (module != nullptr) module->SetIsRoot(true);
    if (changed) design.SetNeedSave(true);
    model.GetStateMachine()->AttachModule(module);
    NotifyEvent(boost::make_shared<IeventCurrentRootChanged>());
    return AcmdEnum::Success;
}

void IcmdSetRoot::SetRootModule(ImodelModule* module)
{
    if (module != nullptr)
        m_module.SetObject(module);
    else
        m_module.SetRequired(false);
}

void IcmdSetRoot::SetRootName(const VyIfaces::ComponentID& id)
{
    if (id.IsDefault()) {
        m_module.SetRequired(false);
        return;
    }
    m_module.SetValueFromText(IcmdWriteComponentID(id).c_str());
}

bool IcmdDoSetRoot(bool keep, const VyIfaces::ComponentID& id)
{
    auto command = std::make_unique<IcmdSetRoot>();
    command->SetRootName(id);
    return IcmdDoCommand(std::move(command), keep);
}

bool IcmdDoSetRoot(bool keep, ImodelModule* module)
{
    auto command = std::make_unique<IcmdSetRoot>();
    command->SetRootModule(module);
    return IcmdDoCommand(std::move(command), keep);
}

void IcmdSetRootAgain()
{
    VyIfaces::ComponentID id = Imodel::GetInstance().GetDesignManager()->GetRootId();
    // A root whose unit is gone (its file now defines another) is chosen
    // afresh, as when its file leaves the project: set_root would refuse it.
    if (!id.IsDefault() && !ImodelCanBeRoot(ImodelFindModule(id))) {
        if (const ImodelModule* first = ImodelGetFirstValidRoot()) IcmdDoSetRoot(false, first->GetComponentID());
        return;
    }
    if (id.IsDefault())
        if (const ImodelModule* first = ImodelGetFirstValidRoot()) id = first->GetComponentID();
    if (!id.IsDefault()) IcmdDoSetRoot(false, id);
}
