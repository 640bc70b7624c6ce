// project_settings: the project's default HDL and the eight project-wide
// switches of the design flow. Each switch is a boolean parameter bound to
// its flag in the model's global flow options: it starts at the flag's
// value, so that a run without arguments changes nothing, and applying it
// writes the flag back. The two set-up file switches bring their tool's
// file up to date when they change.
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdHDLTypeArg.h"

#include <foundation/AcmdParam.h>

#include <memory>
#include <string>
#include <vector>

class ImodelGlobalFlowOptions;

class IcmdChangeProjectSettings : public IcmdBase {
public:
    class OptionBoolParam : public AcmdBoolParam {
    public:
        OptionBoolParam(const char* name, AcmdBase* owner, bool& flag, bool factoryDefault, const char* description);

        // Copies the value into the flag; true when the flag changed.
        virtual bool Apply();
        bool GetFactoryDefault() const { return m_factoryDefault; }

    private:
        bool& m_flag;
        bool m_factoryDefault;
    };
    // Also brings the simulator's set-up file up to date when it changes.
    class OptionUpdateModelSim : public OptionBoolParam {
    public:
        using OptionBoolParam::OptionBoolParam;
        bool Apply() override;
    };
    // Also brings the schematic editor's set-up file up to date when it changes.
    class OptionUpdateViewDraw : public OptionBoolParam {
    public:
        using OptionBoolParam::OptionBoolParam;
        bool Apply() override;
    };

    IcmdChangeProjectSettings();
    ~IcmdChangeProjectSettings() override;

    std::string GetName() const override { return "project_settings"; }
    // The options start again from the model's flags.
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdChangeProjectSettings>(); }
    AcmdEnum::Result execDo() override;

    void SetHDLType(bool isVHDL) { m_hdl.SetObject(isVHDL); }
    // The option of that name; null when there is none.
    OptionBoolParam* GetBoolParam(const char* name);
    // Every switch takes its value from `options` instead of the model's flags.
    void SetSwitchesFrom(const ImodelGlobalFlowOptions& options);

private:
    template <class Option>
    void AddOption(const char* name, bool& flag, bool factoryDefault, const char* description)
    {
        m_options.push_back(std::make_unique<Option>(name, this, flag, factoryDefault, description));
    }

    IcmdHDLTypeArg m_hdl;
    // In the order they are applied.
    std::vector<std::unique_ptr<OptionBoolParam>> m_options;
};

// Makes the project's default HDL `isVHDL` and its eight switches those of
// `options` (its programming input is not a setting of the command). True
// when it succeeded (kept in the command history with `keep`).
bool IcmdDoProjectSettings(bool keep, bool isVHDL, const ImodelGlobalFlowOptions& options);
