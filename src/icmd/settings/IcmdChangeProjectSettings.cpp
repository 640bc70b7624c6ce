#include "src/icmd/settings/IcmdChangeProjectSettings.h"

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

IcmdChangeProjectSettings::IcmdChangeProjectSettings()
    : IcmdBase(false), m_hdl(this, false, Imodel::GetInstance().GetDesignManager()->IsDefaultVHDL())
{
    ImodelGlobalFlowOptions& flags = *Imodel::GetInstance().GetGlobalFlowOptions();
    const ImodelGlobalFlowOptions factory;
    AddOption<OptionUpdateModelSim>("auto_update_modelsim_ini", flags.UpdateModelSimIni, factory.UpdateModelSimIni,
                                    "Update modelsim.ini automatically");
    AddOption<OptionUpdateViewDraw>("auto_update_viewdraw_ini", flags.UpdateViewDrawIni, factory.UpdateViewDrawIni,
                                    "Update viewdraw.ini automatically");
    AddOption<OptionBoolParam>("block_mode", flags.NoIOMode, factory.NoIOMode, "Enable Pallador Block creation");
    AddOption<OptionBoolParam>("auto_generate_synth_hdl", flags.GenerateHDLAfterSynthesis,
                               factory.GenerateHDLAfterSynthesis,
                               "Generate an HDL netlist immediately after Synthesis");
    AddOption<OptionBoolParam>("auto_generate_physynth_hdl", flags.GenerateHDLAfterPhySynthesis,
                               factory.GenerateHDLAfterPhySynthesis,
                               "Generate an HDL netlist immediately after Physical Synthesis");
    AddOption<OptionBoolParam>("auto_run_drc", flags.RunDRCAfterSynthesis, factory.RunDRCAfterSynthesis,
                               "Run DRC immediately after Synthesis");
    AddOption<OptionBoolParam>("auto_generate_viewdraw_hdl", flags.GenerateHDLFromSchematic,
                               factory.GenerateHDLFromSchematic, "Generate HDL netlist after a Save&Check in ViewDraw");
    AddOption<OptionBoolParam>("auto_file_detection", flags.EnableFileDetection, factory.EnableFileDetection,
                               "Detect new files on disk automatically");
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
    if (flags != before) {
        design.SetNeedSave(true);
        model.GetProcessManager()->UpdateProcessDisplay(false);
    }
    return AcmdEnum::Success;
}
