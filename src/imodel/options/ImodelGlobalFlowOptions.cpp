// The project-wide flow switches and their project-file lines.
#include "imodel/options/ImodelGlobalFlowOptions.h"

#include "src/imodel/options/imodelTorvixInputOption.h"

#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelMessages.h"
#include "iprocess/IprocessManager.h"

#include <algorithm>
#include <iterator>

namespace {

struct Switch {
    const char* key;
    bool ImodelGlobalFlowOptions::*flag;
};

// In the order of the project file.
constexpr Switch kSwitches[] = {
    {"GenerateHDLAfterSynthesis", &ImodelGlobalFlowOptions::GenerateHDLAfterSynthesis},
    {"GenerateHDLAfterPhySynthesis", &ImodelGlobalFlowOptions::GenerateHDLAfterPhySynthesis},
    {"RunDRCAfterSynthesis", &ImodelGlobalFlowOptions::RunDRCAfterSynthesis},
    {"UpdateViewDrawIni", &ImodelGlobalFlowOptions::UpdateViewDrawIni},
    {"UpdateModelSimIni", &ImodelGlobalFlowOptions::UpdateModelSimIni},
    {"EnableFileDetection", &ImodelGlobalFlowOptions::EnableFileDetection},
    {"NoIOMode", &ImodelGlobalFlowOptions::NoIOMode},
    {"GenerateHDLFromSchematic", &ImodelGlobalFlowOptions::GenerateHDLFromSchematic},
};

constexpr bool kEnableFileDetectionDefault = true;

}  // namespace

ImodelGlobalFlowOptions::ImodelGlobalFlowOptions() : m_programmingInput(std::make_unique<imodelTorvixInputOption>())
{
    SetDefault();
}

ImodelGlobalFlowOptions::ImodelGlobalFlowOptions(const ImodelGlobalFlowOptions& other)
    : m_programmingInput(std::make_unique<imodelTorvixInputOption>())
{
    *this = other;
}

ImodelGlobalFlowOptions& ImodelGlobalFlowOptions::operator=(const ImodelGlobalFlowOptions& other)
{
    for (const Switch& entry : kSwitches) this->*entry.flag = other.*entry.flag;
    m_programmingInput->SetCurrentIndex(other.m_programmingInput->GetCurrentIndex());
    return *this;
}

ImodelGlobalFlowOptions::~ImodelGlobalFlowOptions() = default;

bool ImodelGlobalFlowOptions::operator==(const ImodelGlobalFlowOptions& other) const
{
    return std::all_of(std::begin(kSwitches), std::end(kSwitches),
                       [&](const Switch& entry) { return this->*entry.flag == other.*entry.flag; }) &&
           m_programmingInput->GetCurrentIndex() == other.m_programmingInput->GetCurrentIndex();
}

void ImodelGlobalFlowOptions::SetDefault()
{
    GenerateHDLAfterSynthesis = false;
    GenerateHDLAfterPhySynthesis = false;
    RunDRCAfterSynthesis = ImodelIsSwitchOn("IDE_DRC_OPT");
    UpdateViewDrawIni = true;
    UpdateModelSimIni = true;
    EnableFileDetection = kEnableFileDetectionDefault;
    NoIOMode = false;
    GenerateHDLFromSchematic = true;
    m_programmingInput->SetDefault();
}

void ImodelGlobalFlowOptions::ReadGlobalFlowOptions(const std::string& key, const std::string& value)
{
    for (const Switch& entry : kSwitches) {
        if (key == entry.key) {
            this->*entry.flag = value == "TRUE";
            return;
        }
    }
    m_programmingInput->Read(key, value);
}

void ImodelGlobalFlowOptions::WriteGlobalFlowOptions(std::ostream* stream) const
{
    if (!stream) return;
    for (const Switch& entry : kSwitches) {
        const bool on = this->*entry.flag;
        // Projects keep file detection on unless they say otherwise.
        if (entry.flag == &ImodelGlobalFlowOptions::EnableFileDetection && on == kEnableFileDetectionDefault) continue;
        *stream << entry.key << '=' << (on ? "TRUE" : "FALSE") << '\n';
    }
    m_programmingInput->Write(stream);
}

void ImodelGlobalFlowOptions::NotifyChanges(const ImodelGlobalFlowOptions& old, bool notifyFlow) const
{
    Imodel& model = Imodel::GetInstance();
    const bool blockModeChanged = NoIOMode != old.NoIOMode;
    if (blockModeChanged) {
        ImodelHost* host = model.GetHost();
        ImodelDisplaySWITCH_BLOCKMODE_WARNING_QRY(host ? host->GetParentWindow() : nullptr, MdbOK);
    }
    if (notifyFlow && (blockModeChanged || EnableFileDetection != old.EnableFileDetection)) {
        if (IprocessManager* process = model.GetProcessManager()) process->FlowOptionsChanged(false);
    }
}

bool ImodelGlobalFlowOptions::IsPDBUsed() const
{
    return m_programmingInput->GetCurrentIndex() == m_programmingInput->GetPDBIndex();
}

bool ImodelGlobalFlowOptions::IsTimerOptionDefault() const
{
    return EnableFileDetection == kEnableFileDetectionDefault;
}

std::string ImodelGlobalFlowOptions::GetDefaultProgrammingOutput() const { return m_programmingInput->GetValue(); }
