#include "icmd/settings/IcmdChangeProjectSettings.h"

#include "icmd/IcmdDoCommand.h"
#include "ievent/IeventClasses.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"
#include "imodel/views/ImodelContextImpl.h"
#include "iprocess/IprocessManager.h"
#include "itool/ItoolSetupFiles.h"

#include <boost/make_shared.hpp>

IcmdChangeProjectSettings::OptionBoolParam::OptionBoolParam(const char* name, AcmdBase* owner, bool& flag,
                                                            bool factoryDefault, const char* description)
    : AcmdBoolParam(name, owner, AcmdValueType::Single(), false, flag, description), m_flag(flag),
      m_factoryDefault(factoryDefault)
{
}

bool IcmdChangeProjectSettings::OptionBoolParam::Apply()
{
    const bool value = GetObject();
    if (value == m_flag) return false;
    m_flag = value;
    return true;
}

bool IcmdChangeProjectSettings::OptionUpdateModelSim::Apply()
{
    if (!OptionBoolParam::Apply()) return false;
    ItoolUpdateModelSim(false, std::string());
    return true;
}

bool IcmdChangeProjectSettings::OptionUpdateViewDraw::Apply()
{
    if (!OptionBoolParam::Apply()) return false;
    ItoolUpdateViewdraw(false);
    return true;
}

namespace {

// The switches, in the order they are applied.
struct Switch {
    enum class Kind {
        Plain,
        ModelSim,
        ViewDraw
    };
    const char* name;
    bool ImodelGlobalFlowOptions::*flag;
    Kind kind;
    const char* description;
};

constexpr Switch kSwitches[] = {
    {"auto_update_modelsim_ini", &ImodelGlobalFlowOptions::UpdateModelSimIni, Switch::Kind::ModelSim,
     "Update modelsim.ini automatically"},
    {"auto_update_viewdraw_ini", &ImodelGlobalFlowOptions::UpdateViewDrawIni, Switch::Kind::ViewDraw,
     "Update viewdraw.ini automatically"},
    {"block_mode", &ImodelGlobalFlowOptions::NoIOMode, Switch::Kind::Plain, "Enable Pallador Block creation"},
    {"auto_generate_synth_hdl", &ImodelGlobalFlowOptions::GenerateHDLAfterSynthesis, Switch::Kind::Plain,
     "Generate an HDL netlist immediately after Synthesis"},
    {"auto_generate_physynth_hdl", &ImodelGlobalFlowOptions::GenerateHDLAfterPhySynthesis, Switch::Kind::Plain,
     "Generate an HDL netlist immediately after Physical Synthesis"},
    {"auto_run_drc", &ImodelGlobalFlowOptions::RunDRCAfterSynthesis, Switch::Kind::Plain,
     "Run DRC immediately after Synthesis"},
    {"auto_generate_viewdraw_hdl", &ImodelGlobalFlowOptions::GenerateHDLFromSchematic, Switch::Kind::Plain,
     "Generate HDL netlist after a Save&Check in ViewDraw"},
    {"auto_file_detection", &ImodelGlobalFlowOptions::EnableFileDetection, Switch::Kind::Plain,
     "Detect new files on disk automatically"},
};

}  // namespace

IcmdChangeProjectSettings::IcmdChangeProjectSettings()
    : IcmdBase(false), m_hdl(this, false, Imodel::GetInstance().GetDesignManager()->IsDefaultVHDL())
{
    ImodelGlobalFlowOptions& flags = *Imodel::GetInstance().GetGlobalFlowOptions();
    const ImodelGlobalFlowOptions factory;
    for (const Switch& option : kSwitches) {
        bool& flag = flags.*option.flag;
        const bool factoryDefault = factory.*option.flag;
        switch (option.kind) {
        case Switch::Kind::ModelSim:
            AddOption<OptionUpdateModelSim>(option.name, flag, factoryDefault, option.description);
            break;
        case Switch::Kind::ViewDraw:
            AddOption<OptionUpdateViewDraw>(option.name, flag, factoryDefault, option.description);
            break;
        case Switch::Kind::Plain:
            AddOption<OptionBoolParam>(option.name, flag, factoryDefault, option.description);
            break;
        }
    }
}

void IcmdChangeProjectSettings::SetSwitchesFrom(const ImodelGlobalFlowOptions& options)
{
    for (std::size_t i = 0; i < m_options.size(); ++i) m_options[i]->SetObject(options.*kSwitches[i].flag);
}

IcmdChangeProjectSettings::~IcmdChangeProjectSettings() = default;

IcmdChangeProjectSettings::OptionBoolParam* IcmdChangeProjectSettings::GetBoolParam(const char* name)
{
    for (const auto& option : m_options)
        if (name && option->GetName() == name) return option.get();
    return nullptr;
}

AcmdEnum::Result IcmdChangeProjectSettings::execDo()
{
    Imodel& model = Imodel::GetInstance();
    ImodelDesignManager& design = *model.GetDesignManager();
    const bool languageChanged = design.IsDefaultVHDL() != m_hdl.GetObject();
    design.SetDefaultVHDL(m_hdl.GetObject());
    const auto libraries = design.GetLibraries();
    for (auto library = libraries.first; library != libraries.second; ++library) {
        if (!*library) continue;
        for (ImodelModule* module : *(*library)->GetModules()) {
            ImodelContextImpl* context = module ? module->GetContext() : nullptr;
            if (context && context->GetCurRevContext()) context->HDLTypeChanged();
        }
    }
    model.SendEvent(boost::make_shared<IeventStatusBarContentChanged>(), true);

    ImodelGlobalFlowOptions& flags = *model.GetGlobalFlowOptions();
    const ImodelGlobalFlowOptions before(flags);
    for (const auto& option : m_options) option->Apply();
    // The simulator's file maps the family's library of the project's
    // language: without this it would name the other language's library until
    // the project is opened again. A change of its switch has just updated it.
    if (languageChanged && flags.UpdateModelSimIni == before.UpdateModelSimIni)
        ItoolUpdateModelSim(false, std::string());
    if (flags != before) {
        design.SetNeedSave(true);
        model.GetProcessManager()->UpdateProcessDisplay(false);
    }
    return AcmdEnum::Success;
}

bool IcmdDoProjectSettings(bool keep, bool isVHDL, const ImodelGlobalFlowOptions& options)
{
    auto command = std::make_unique<IcmdChangeProjectSettings>();
    command->SetHDLType(isVHDL);
    command->SetSwitchesFrom(options);
    return IcmdDoCommand(std::move(command), keep);
}
