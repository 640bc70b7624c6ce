// set_modelsim_options: the project's simulation options, which steer the
// simulation script (DO file) and the simulator's command line. Every
// parameter defaults to the project's value when the command is built, so a
// run changes only what it names. The parameters come in three groups for
// the host's options dialog, each with its help texts. The command may run
// at any time and sends no event; the next save writes the options.
#pragma once

#include <foundation/AcmdBase.h>
#include <foundation/AcmdParam.h>

#include <memory>
#include <string>
#include <vector>

class ImodelSimulationOptions;

// A DO file of the user's: it must exist, and a missing one is left out
// when the command is written out. An empty text names no file.
class IcmdDoFileParam : public AcmdFileNameParam {
public:
    IcmdDoFileParam(const char* name, AcmdBase* owner, const char* label, const std::string& defaultText);

    bool GetObjectFromString(const char* text, std::string& out, bool report, void* parentWindow) override;
    bool isSetAndValid() const override;
    // An existing file, or none (a cleared option); a name whose file is
    // missing is left out.
    bool ExportParam() const override;
};

// The simulator's time resolution: "fs", "ps", "ns", "us", "ms" or "sec",
// optionally after 1, 10 or 100.
class IcmdResolutionParam : public AcmdStringParam {
public:
    IcmdResolutionParam(const char* name, AcmdBase* owner, bool required, const char* label,
                        const std::string& defaultText);

    std::string GetTypeDescription() const override;
    bool isSetAndValid() const override;
    // Takes the text; false, told with `report`, when it breaks the rule.
    bool GetObjectFromString(const char* text, std::string& out, bool report, void* parentWindow) override;

    // Leading blanks are allowed, nothing else around the resolution.
    static bool IsValidResolution(std::string text);
};

class IcmdSimulationOptions : public AcmdBase {
public:
    IcmdSimulationOptions();
    ~IcmdSimulationOptions() override;

    std::string GetName() const override { return "set_modelsim_options"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdSimulationOptions>(); }
    // Texts that would break their line in the project file are refused.
    AcmdEnum::Result checkParams() override;
    AcmdEnum::Result execDo() override;

    // Gives every parameter the value of `options`.
    void SetDefaultOptions(const ImodelSimulationOptions* options);
    void SetRunTimeAndResolution(const std::string& runTime, const std::string& resolution);

    const std::vector<AcmdParam*>& GetParamsDoFile() const { return m_doFileGroup; }
    const std::vector<AcmdParam*>& GetParamsVsim() const { return m_vsimGroup; }
    const std::vector<AcmdParam*>& GetParamsWaveforms() const { return m_waveformsGroup; }

private:
    void SetHelpTexts();
    // The options the parameters give.
    ImodelSimulationOptions Collect() const;

    AcmdBoolParam m_useAutomaticDoFile;
    IcmdDoFileParam m_userDoFile;
    AcmdStringParam m_simRuntime;
    AcmdStringParam m_tbModuleName;
    AcmdStringParam m_tbTopLevelName;
    AcmdBoolParam m_includeDoFile;
    IcmdDoFileParam m_includedDoFile;
    AcmdEnumParam<std::string> m_type;
    IcmdResolutionParam m_resolution;
    AcmdStringParam m_addVsimOptions;
    AcmdBoolParam m_displayDutWave;
    AcmdBoolParam m_logAllSignals;
    AcmdStringParam m_doFileArgs;
    AcmdBoolParam m_dumpVcd;
    AcmdStringParam m_vcdFile;

    std::vector<AcmdParam*> m_doFileGroup;
    std::vector<AcmdParam*> m_vsimGroup;
    std::vector<AcmdParam*> m_waveformsGroup;
};

// Makes the project's simulation options those of `options`. True when it
// succeeded (kept in the command history with `keep`).
bool IcmdDoSetSimulationOptions(bool keep, const ImodelSimulationOptions& options);
