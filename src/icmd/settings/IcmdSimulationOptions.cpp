#include "icmd/settings/IcmdSimulationOptions.h"

#include "icmd/IcmdDoCommand.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/options/ImodelSimulationOptions.h"
#include "src/icmd/settings/IcmdSettingsMessages.h"

#include <foundation/AcmdManager.h>
#include <foundation/Sys.h>

#include <algorithm>
#include <array>
#include <cctype>

namespace {

const char* const kResolutionRule = "fs, ps, ns, us, ms or sec with an optional prefix of 1, 10 or 100";

const ImodelSimulationOptions& Current()
{
    static const ImodelSimulationOptions kNone;
    const ImodelSimulationOptions* options = Imodel::GetInstance().GetSimulationOptions();
    return options ? *options : kNone;
}

// A value set off in a help text.
std::string Value(const std::string& text) { return "<font color=#3333cc>" + text + "</font>"; }

bool ExistsInCommandFolder(const std::string& file)
{
    return !file.empty() && UtlDoesFileExist(AcmdGetFullPath(file, AcmdManager::GetInstance().GetCurrentFolder()));
}

// What a run does to the run time when the design's test bench brings its
// own: the root's last stimulus file may carry a simulation time.
std::string RunTimeNote()
{
    Imodel& model = Imodel::GetInstance();
    ImodelDesignManager& design = *model.GetDesignManager();
    if (const ImodelModule* root = design.GetRootModule(); root && !root->GetStimulusList().empty()) {
        const boost::shared_ptr<IfileObjectEx> stimulus =
            model.GetFileManager()->GetFile(root->GetStimulusList().back());
        if (stimulus && stimulus->GetStimulusOptions() && !stimulus->GetStimulusOptions()->GetSimulationTime().empty())
            return "The simulation runtime will be changed to " +
                   Value(stimulus->GetStimulusOptions()->GetSimulationTime()) + " as you simulate '" +
                   Value(design.GetRootId().ToString()) + "' with the provided testbench.";
    }
    return "The simulation runtime is changed to " + Value("-all") + " when you simulate an " + Value("IP Core") +
           " with the provided testbench.";
}

}  // namespace

// --- IcmdDoFileParam -------------------------------------------------------------------------

IcmdDoFileParam::IcmdDoFileParam(const char* name, AcmdBase* owner, const char* label, const std::string& defaultText)
    : AcmdFileNameParam(name, owner, AcmdValueType::Single(), false, label, defaultText)
{
    AddFilter("Do files", {"do"});
    SetAllFilesFilter(false);
    SetMayNotExist(false);
}

bool IcmdDoFileParam::GetObjectFromString(const char* text, std::string& out, bool report, void* parentWindow)
{
    if (text == nullptr || *text == '\0') {
        out.clear();
        return true;
    }
    if (!AcmdFileNameParam::GetObjectFromString(text, out, report, parentWindow)) return false;
    // A relative name means the file where the command was typed: kept as
    // typed it would name another file once the shell works elsewhere.
    out = AcmdGetFullPath(out, AcmdManager::GetInstance().GetCurrentFolder());
    return true;
}

bool IcmdDoFileParam::isSetAndValid() const
{
    if (!AcmdStringParam::isSetAndValid()) return false;
    return std::all_of(m_values.begin(), m_values.end(),
                       [](const std::string& file) { return file.empty() || ExistsInCommandFolder(file); });
}

bool IcmdDoFileParam::ExportParam() const
{
    return AcmdFileNameParam::ExportParam() && (GetObject().empty() || ExistsInCommandFolder(GetObject()));
}

// --- IcmdResolutionParam -----------------------------------------------------------------------

IcmdResolutionParam::IcmdResolutionParam(const char* name, AcmdBase* owner, bool required, const char* label,
                                         const std::string& defaultText)
    : AcmdStringParam(name, owner, AcmdValueType::Single(), required, label, defaultText, false)
{
}

std::string IcmdResolutionParam::GetTypeDescription() const { return kResolutionRule; }

bool IcmdResolutionParam::isSetAndValid() const
{
    return AcmdStringParam::isSetAndValid() && IsValidResolution(GetObject());
}

bool IcmdResolutionParam::GetObjectFromString(const char* text, std::string& out, bool report, void*)
{
    out = text ? text : "";
    const bool valid = IsValidResolution(out);
    if (!valid && report) ImodelDisplayINVALID_SIMULATION_PARAM_MSG(GetName().c_str(), kResolutionRule);
    return valid;
}

bool IcmdResolutionParam::IsValidResolution(std::string text)
{
    static const std::array<const char*, 6> kUnits = {"fs", "ps", "ns", "us", "ms", "sec"};
    const std::size_t start = text.find_first_not_of(" \t\r\n\f\v");
    text.erase(0, start == std::string::npos ? text.size() : start);
    // The leading number: only 1, 10 and 100 may stand before the unit.
    std::size_t digits = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) ++digits;
    const std::string number = text.substr(0, digits);
    std::string unit;
    if (number.empty() || number.find_first_not_of('0') == std::string::npos) {
        unit = text;
    } else if (number == "1" || number == "10" || number == "100") {
        unit = text.substr(digits);
    } else {
        return false;
    }
    return std::find_if(kUnits.begin(), kUnits.end(), [&](const char* known) { return unit == known; }) != kUnits.end();
}

// --- IcmdSimulationOptions ---------------------------------------------------------------------

IcmdSimulationOptions::IcmdSimulationOptions()
    : m_useAutomaticDoFile("use_automatic_do_file", this, AcmdValueType::Single(), false,
                           Current().UseAutomaticDoFile != 0, "Use automatic DO File"),
      m_userDoFile("user_do_file", this, "User defined DO File", Current().DoFileName),
      m_simRuntime("sim_runtime", this, AcmdValueType::Single(), false, "Simulation runtime", Current().RunTime, false),
      m_tbModuleName("tb_module_name", this, AcmdValueType::Single(), false, "Testbench module name",
                     Current().EntityName, false),
      m_tbTopLevelName("tb_top_level_name", this, AcmdValueType::Single(), false,
                       "Top level instance name in the testbench", Current().TopInstanceName, false),
      m_includeDoFile("include_do_file", this, AcmdValueType::Single(), false, Current().IncludeWaveDo != 0,
                      "Include DO File"),
      m_includedDoFile("included_do_file", this, "Included DO File", Current().DoFileName2),
      m_type("type", this, AcmdValueType::Single(), false, Current().Type, true, "SDF Timing Delays"),
      m_resolution("resolution", this, false, "Resolution", Current().Resolution),
      m_addVsimOptions("add_vsim_options", this, AcmdValueType::Single(), false, "Vsim additional options",
                       Current().VsimOpt, false),
      m_displayDutWave("display_dut_wave", this, AcmdValueType::Single(), false, Current().DisplayDUTWave != 0,
                       "Display waveforms for"),
      m_logAllSignals("log_all_signals", this, AcmdValueType::Single(), false, Current().LogAllSignals != 0,
                      "Log all signals in the design"),
      m_doFileArgs("do_file_args", this, AcmdValueType::Single(), false, "do command parameters",
                   Current().DoFileParams, false),
      m_dumpVcd("dump_vcd", this, AcmdValueType::Single(), false, Current().DumpVCD != 0, "Generate VCD file"),
      m_vcdFile("vcd_file", this, AcmdValueType::Single(), false, "VCD file name", Current().VCDFileName, false)
{
    m_simRuntime.AddProposedText("-all");
    m_simRuntime.AddProposedText(ImodelSimulationOptions().RunTime);

    m_type.AddChoice("min", "min", "Min");
    m_type.AddChoice("typ", "typ", "Typ");
    m_type.AddChoice("max", "max", "Max");
    m_type.SetStyle(4);

    // The keywords stay a boolean's; a dialog shows what each value means.
    m_displayDutWave.SetStyle(3);
    m_displayDutWave.ClearChoices();
    static const std::array<std::pair<const char*, const char*>, 3> kKeywords = {
        {{"0", "1"}, {"false", "true"}, {"FALSE", "TRUE"}}};
    for (const auto& [falseKeyword, trueKeyword] : kKeywords) {
        m_displayDutWave.AddChoice(false, falseKeyword, "top_level testbench");
        m_displayDutWave.AddChoice(true, trueKeyword, "DUT");
    }

    m_doFileGroup = {&m_useAutomaticDoFile, &m_userDoFile, &m_simRuntime, &m_tbModuleName,
                     &m_tbTopLevelName,     &m_doFileArgs, &m_dumpVcd,    &m_vcdFile};
    m_vsimGroup = {&m_type, &m_resolution, &m_addVsimOptions};
    m_waveformsGroup = {&m_includeDoFile, &m_includedDoFile, &m_displayDutWave, &m_logAllSignals};
    SetHelpTexts();
}

IcmdSimulationOptions::~IcmdSimulationOptions() = default;

void IcmdSimulationOptions::SetHelpTexts()
{
    m_useAutomaticDoFile.SetToolTipDescription(
        "Select if you want Project Manager to automatically create a DO file<br />each time you run a simulation.",
        "");
    m_userDoFile.SetToolTipDescription("Enter the DO File name or click the browse button.", "");
    m_simRuntime.SetToolTipDescription("Specifies default simulation runtime for your project.<br />"
                                       "Supported formats: <decimal value> [fs, ps, ns, us, ms, sec].<br />"
                                       "For example: '10', '1000ns' or '37.2 us'.<br />",
                                       "The generated line is 'run " + Value(m_simRuntime.GetObject()) + "'." + "<br>" +
                                           RunTimeNote());
    m_tbModuleName.SetToolTipDescription("Specifies the name of your testbench entity.<br />"
                                         "This value will be used in the commands 'vsim' and 'add wave'.",
                                         "Default is '" + Value("testbench") + "' the value used by WaveFormer Lite.");
    m_tbTopLevelName.SetToolTipDescription("The Project Manager replaces '<<top>' "
                                           "with the actual top level macro when you run ModelSim.<br />"
                                           "This value will be used in the commands 'vsim' "
                                           "(post-layout simulation only) and 'add wave'.",
                                           "Default is '" + Value("<<top>_0") +
                                               "', the value used by WaveFormer Lite.");
    m_doFileArgs.SetToolTipDescription("Text entered in this field is added "
                                       "to the do command.",
                                       "For example: do run.do " + Value("-tb +debug"));
    m_includeDoFile.SetToolTipDescription("Select if you want to execute a personal DO File "
                                          "before the run command.",
                                          "");
    m_includedDoFile.SetToolTipDescription("Enter the DO File name ot click the browse button.",
                                           "The generated line is 'do " + Value("<<file.do>") + "'.");
    m_displayDutWave.SetToolTipDescription("Select if you want ModelSim to display signals "
                                           "for the testbench or the tested design.",
                                           "The generated line is 'add wave /" + Value("<<testbench>") + "/*' " +
                                               "if you select the testbench signals,<br />" + "'add wave /" +
                                               Value("<<testbench>") + "/" + Value("<<top_instance_name>") +
                                               "/*' otherwise.");
    m_logAllSignals.SetToolTipDescription("Select if you want to log all the signals in a file (default is vsim.wlf).",
                                          "The generated line is 'add log -r /*'.");
    m_dumpVcd.SetToolTipDescription("Select if you want to generate a VCD file.<br>To maximize netlist coverage, "
                                    "please generate your VCD file from a post-layout simulation",
                                    "The generated lines are:<br>vcd file " + Value("<<filename>") +
                                        "<br>vcd add -r /" + Value("<<testbench>/<<root>/*") + "<br>vcd flush");
    m_vcdFile.SetToolTipDescription(
        "VCD file name to be generated.<br>File will be dumped in the project simulation/ directory.", "");
    m_type.SetToolTipDescription("Select Minimum, Typical or Maximum timing "
                                 "delays in the SDF file.<br />"
                                 "The vsim option appears only in a post-layout simulation.",
                                 "The vsim option is '-sdfmin <<file.sdf>', "
                                 "'-sdftyp <<file.sdf>' or '-sdfmax <<file.sdf>'.");
    m_resolution.SetToolTipDescription("Specifies the simulator time resolution"
                                       " (Default is family dependant).<br />"
                                       "Supported formats are: [1, 10, 100]{fs, ps, ns, us, ms, sec}.",
                                       "For example: 'ps', '100ns'.");
    m_addVsimOptions.SetToolTipDescription("Text entered in this field is added to the vsim command.",
                                           "For example: '-wlf foo.wlf'.");
}

void IcmdSimulationOptions::SetDefaultOptions(const ImodelSimulationOptions* options)
{
    if (options == nullptr) return;
    m_useAutomaticDoFile.SetObject(options->UseAutomaticDoFile != 0);
    m_userDoFile.SetObject(options->DoFileName);
    m_simRuntime.SetObject(options->RunTime);
    m_tbModuleName.SetObject(options->EntityName);
    m_tbTopLevelName.SetObject(options->TopInstanceName);
    m_includeDoFile.SetObject(options->IncludeWaveDo != 0);
    m_includedDoFile.SetObject(options->DoFileName2);
    m_type.SetObject(options->Type);
    m_resolution.SetObject(options->Resolution);
    m_addVsimOptions.SetObject(options->VsimOpt);
    m_displayDutWave.SetObject(options->DisplayDUTWave != 0);
    m_logAllSignals.SetObject(options->LogAllSignals != 0);
    m_doFileArgs.SetObject(options->DoFileParams);
    m_dumpVcd.SetObject(options->DumpVCD != 0);
    m_vcdFile.SetObject(options->VCDFileName);
}

void IcmdSimulationOptions::SetRunTimeAndResolution(const std::string& runTime, const std::string& resolution)
{
    m_simRuntime.SetObject(runTime);
    m_resolution.SetObject(resolution);
}

ImodelSimulationOptions IcmdSimulationOptions::Collect() const
{
    ImodelSimulationOptions options;
    options.UseAutomaticDoFile = m_useAutomaticDoFile.GetObject() ? 1 : 0;
    options.DoFileName = m_userDoFile.GetObject();
    options.RunTime = m_simRuntime.GetObject();
    options.EntityName = m_tbModuleName.GetObject();
    options.TopInstanceName = m_tbTopLevelName.GetObject();
    options.IncludeWaveDo = m_includeDoFile.GetObject() ? 1 : 0;
    options.DoFileName2 = m_includedDoFile.GetObject();
    options.Type = m_type.GetObject();
    options.Resolution = m_resolution.GetObject();
    options.VsimOpt = m_addVsimOptions.GetObject();
    options.DisplayDUTWave = m_displayDutWave.GetObject() ? 1 : 0;
    options.LogAllSignals = m_logAllSignals.GetObject() ? 1 : 0;
    options.DoFileParams = m_doFileArgs.GetObject();
    options.DumpVCD = m_dumpVcd.GetObject() ? 1 : 0;
    options.VCDFileName = m_vcdFile.GetObject();
    return options;
}

AcmdEnum::Result IcmdSimulationOptions::checkParams()
{
    for (const AcmdStringParam* text :
         {static_cast<AcmdStringParam*>(&m_userDoFile), &m_simRuntime, &m_tbModuleName, &m_tbTopLevelName,
          static_cast<AcmdStringParam*>(&m_includedDoFile), static_cast<AcmdStringParam*>(&m_resolution),
          &m_addVsimOptions, &m_doFileArgs, &m_vcdFile})
        if (!IcmdCheckSingleLine(text->GetName(), text->GetObject())) return AcmdEnum::Failure;
    return AcmdEnum::Success;
}

AcmdEnum::Result IcmdSimulationOptions::execDo()
{
    Imodel& model = Imodel::GetInstance();
    ImodelSimulationOptions* current = model.GetSimulationOptions();
    if (current == nullptr) return AcmdEnum::Failure;
    // checkParams refused texts that would not stay on their line.
    const ImodelSimulationOptions options = Collect();
    if (!(options == *current)) {
        *current = options;
        model.GetDesignManager()->SetNeedSave(true);
    }
    return AcmdEnum::Success;
}

bool IcmdDoSetSimulationOptions(bool keep, const ImodelSimulationOptions& options)
{
    auto command = std::make_unique<IcmdSimulationOptions>();
    command->SetDefaultOptions(&options);
    return IcmdDoCommand(std::move(command), keep);
}
