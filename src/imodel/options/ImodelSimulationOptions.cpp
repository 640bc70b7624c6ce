// The simulator settings and their project-file lines.
#include "imodel/options/ImodelSimulationOptions.h"

#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelLineText.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"

#include <variant>

namespace {

using Flag = int ImodelSimulationOptions::*;
using Text = std::string ImodelSimulationOptions::*;

struct Field {
    const char* key;
    std::variant<Flag, Text> member;
};

// In the order of the project file.
const Field kFields[] = {
    {"UseAutomaticDoFile", &ImodelSimulationOptions::UseAutomaticDoFile},
    {"IncludeWaveDo", &ImodelSimulationOptions::IncludeWaveDo},
    {"Type", &ImodelSimulationOptions::Type},
    {"RunTime", &ImodelSimulationOptions::RunTime},
    {"Resolution", &ImodelSimulationOptions::Resolution},
    {"VsimOpt", &ImodelSimulationOptions::VsimOpt},
    {"EntityName", &ImodelSimulationOptions::EntityName},
    {"TopInstanceName", &ImodelSimulationOptions::TopInstanceName},
    {"DoFileName", &ImodelSimulationOptions::DoFileName},
    {"DoFileName2", &ImodelSimulationOptions::DoFileName2},
    {"DoFileParams", &ImodelSimulationOptions::DoFileParams},
    {"DisplayDUTWave", &ImodelSimulationOptions::DisplayDUTWave},
    {"LogAllSignals", &ImodelSimulationOptions::LogAllSignals},
    {"DumpVCD", &ImodelSimulationOptions::DumpVCD},
    {"VCDFileName", &ImodelSimulationOptions::VCDFileName},
};

// The variable's text when it can be read, else `fallback`.
std::string VariableOr(const char* variable, const char* fallback)
{
    std::string value;
    return ImodelDefGetStr(variable, value) ? value : fallback;
}

}  // namespace

ImodelSimulationOptions::ImodelSimulationOptions() { SetDefault(); }

void ImodelSimulationOptions::SetDefault()
{
    UseAutomaticDoFile = 1;
    IncludeWaveDo = 0;
    Type = "max";
    RunTime = VariableOr("IDE_SIMULATION_RUNTIME", "1000ns");
    Resolution = VariableOr("IDE_SIMULATION_RESOLUTION", "1ns");
    VsimOpt.clear();
    EntityName = "testbench";
    TopInstanceName = "<top>_0";
    DoFileName.clear();
    DoFileName2 = "wave.do";
    DisplayDUTWave = 0;
    LogAllSignals = 0;
    DoFileParams.clear();
    DumpVCD = 0;
    VCDFileName = "power.vcd";
}

void ImodelSimulationOptions::WriteSimulationOptions(std::ostream* stream) const
{
    if (!stream) return;
    // The caller may have skipped CheckTexts: a text with a line break would
    // add lines of its own to the project file.
    for (const Field& field : kFields) {
        const Text* text = std::get_if<Text>(&field.member);
        if (text && !ImodelCheckOneLine(*stream, this->**text, field.key)) return;
    }
    for (const Field& field : kFields) {
        *stream << field.key << '=';
        if (const Flag* flag = std::get_if<Flag>(&field.member))
            *stream << (this->**flag ? "true" : "false");
        else
            *stream << this->*std::get<Text>(field.member);
        *stream << '\n';
    }
}

bool ImodelSimulationOptions::ReadSimulationOption(const std::string& key, const std::string& value)
{
    for (const Field& field : kFields) {
        if (key != field.key) continue;
        if (const Flag* flag = std::get_if<Flag>(&field.member))
            this->** flag = ImodelIsSameStrNoCase(value, "true") ? 1 : 0;
        else if (ImodelIsOneLine(value))  // what could not be written back is not taken
            this->*std::get<Text>(field.member) = value;
        return true;
    }
    return false;
}

bool ImodelSimulationOptions::CheckTexts() const
{
    for (const Field& field : kFields) {
        const Text* text = std::get_if<Text>(&field.member);
        if (text && !ImodelIsOneLine(this->**text)) {
            ImodelDisplayINVALID_SIMULATION_PARAM_MSG(field.key, ImodelOneLineRule);
            return false;
        }
    }
    return true;
}
