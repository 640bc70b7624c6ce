// The option sections of the project file and the tool profiles: the
// simulation options, the simulator library path, the flow switches, the
// physical-synthesis options of each module, and the profiles of the host's
// profile manager (older projects kept a profile inside some option sections).
#include "src/icmd/project/IcmdReadWriteProjectImpl.h"

#include "icmd/args/IcmdComponentIDText.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"
#include "imodel/options/ImodelSimulationOptions.h"
#include "imodel/options/ImodelVarOption.h"
#include "iprofile/IprofileManager.h"
#include "itool/ItoolModelSimPathOptions.h"
#include "src/icmd/project/IcmdProjectFileText.h"

#include <foundation/Sys.h>

namespace {

IprofileManager* ProfileManager()
{
    ImodelHost* host = Imodel::GetInstance().GetHost();
    return host ? host->GetProfileManager() : nullptr;
}

// Splits a line at its first "="; false without one.
bool SplitKeyValue(const std::string& line, std::string& key, std::string& value)
{
    const std::size_t equal = line.find('=');
    if (equal == std::string::npos) return false;
    key = line.substr(0, equal);
    value = line.substr(equal + 1);
    return true;
}

bool StartsWith(const std::string& line, const char* prefix) { return line.rfind(prefix, 0) == 0; }

// The DO files are kept by their full names. One inside the folder the
// project was saved in, read from a project that was copied (save_project_as)
// or moved since, is taken in the project's own folder when the copy has it:
// else the simulation would go on running the original project's file.
void FollowProjectFolder(std::string& file, const std::string& savedIn, const std::string& projectFolder)
{
    if (file.empty() || savedIn.empty() || projectFolder.empty()) return;
    const std::string there = ImodelNameMovedToFolder(file, savedIn, projectFolder);
    if (!there.empty() && UtlDoesFileExist(there)) file = there;
}

}  // namespace

// --- older profiles ------------------------------------------------------------------------------------

void IcmdReadWriteProjectImpl::ReadProfile(std::string& profile, std::string& tool, std::string& location,
                                           std::string& parameters, bool& batch, const std::string& key,
                                           const std::string& value)
{
    if (key == "Profile") {
        profile = value;
    } else if (key == "Tool") {
        tool = value;
    } else if (key == "Location") {
        location = value;
    } else if (key == "AdditionalParameter") {
        parameters = value;
    } else if (key == "Batch") {
        batch = ImodelIsSameStrNoCase(value, "true");
    }
}

void IcmdReadWriteProjectImpl::AddOlderProfile(ImodelFunctionType kind, const std::string& profile,
                                               const std::string& tool, const std::string& location,
                                               const std::string& parameters, bool batch)
{
    if (IprofileManager* profiles = ProfileManager())
        profiles->AddProjectProfile(kind, profile, tool, location, parameters, batch);
}

void IcmdReadWriteProjectImpl::ReadOlderProfileSection(const char* list, ImodelFunctionType kind)
{
    Lines lines;
    if (!TakeList(lines, list, true)) return;
    std::string profile, tool, location, parameters, key, value;
    bool batch = false;
    for (const std::string& line : lines)
        if (SplitKeyValue(line, key, value)) ReadProfile(profile, tool, location, parameters, batch, key, value);
    AddOlderProfile(kind, profile, tool, location, parameters, batch);
}

// --- the option sections -------------------------------------------------------------------------------

bool IcmdReadWriteProjectImpl::ProjectFileObject_SimulationOptions(double)
{
    ImodelSimulationOptions* options = Imodel::GetInstance().GetSimulationOptions();
    if (!options) return true;
    if (Writing()) {
        m_out << "LIST SimulationOptions\n";
        options->WriteSimulationOptions(Out());
        m_out << "ENDLIST\n";
        return true;
    }
    if (!FullRead()) return true;
    Lines lines;
    if (!TakeList(lines, "SimulationOptions", true)) return true;
    options->SetDefault();
    std::string profile, tool, location, parameters, key, value;
    bool batch = false;
    for (const std::string& line : lines) {
        key.clear();
        value.clear();
        SplitKeyValue(line, key, value);
        if (options->ReadSimulationOption(key, value) || key == "CompileVHDLPackage" || key == "CompilePackage")
            continue;
        ReadProfile(profile, tool, location, parameters, batch, key, value);
    }
    const std::string projectFolder = Imodel::GetInstance().GetDesignManager()->GetProjectFolder().GetString();
    for (std::string* file : {&options->DoFileName, &options->DoFileName2})
        FollowProjectFolder(*file, m_savedIn.GetString(), projectFolder);
    AddOlderProfile(ideSIMULATION, profile, tool, location, parameters, batch);
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_ModelSimPathOptions(double)
{
    ItoolModelSimPathOptions* options = Imodel::GetInstance().GetModelSimPathOptions();
    if (!options) return true;
    if (Writing()) {
        m_out << "LIST ModelSimLibPath\n";
        options->WriteToProject(Out());
        m_out << "ENDLIST\n";
        return true;
    }
    if (!FullRead()) return true;
    Lines lines;
    if (!TakeList(lines, "ModelSimLibPath", true)) return true;
    options->SetDefault();
    std::string key, value;
    for (const std::string& line : lines)
        if (SplitKeyValue(line, key, value)) options->ReadFromProject(key, value);
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_GlobalFlowOptions(double)
{
    Imodel& model = Imodel::GetInstance();
    ImodelGlobalFlowOptions* flow = model.GetGlobalFlowOptions();
    if (Writing()) {
        m_out << "LIST GlobalFlowOptions\n";
        flow->WriteGlobalFlowOptions(Out());
        for (ImodelVarOption* option : model.GetOptions())
            if (option) option->Write(Out());
        m_out << "ENDLIST\n";
        return true;
    }
    if (!FullRead()) return true;
    Lines lines;
    const bool present = TakeList(lines, "GlobalFlowOptions", true);
    // Defaults also when the block is missing, so what an older project opens
    // with does not depend on what the process held before.
    flow->SetDefault();
    for (ImodelVarOption* option : model.GetOptions())
        if (option && !option->IsUSERDefVar()) option->SetDefault();
    if (!present) return true;
    bool programmingInputSeen = false;
    std::string key, value;
    for (const std::string& line : lines) {
        if (!SplitKeyValue(line, key, value)) continue;
        if (key == "TorvixInputFile") programmingInputSeen = true;
        flow->ReadGlobalFlowOptions(key, value);
        for (ImodelVarOption* option : model.GetOptions())
            if (option) option->Read(key, value);
    }
    // Projects written before the choice existed program from the STAPL file.
    if (!programmingInputSeen) flow->ReadGlobalFlowOptions("TorvixInputFile", "stp");
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_StimulusOptions(double)
{
    if (FullRead()) ReadOlderProfileSection("StimulusOptions", ideSTIMULUS);
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_SynthesisOptions(double)
{
    if (FullRead()) ReadOlderProfileSection("SynthesisOptions", ideSYNTHESIS);
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_PhySynthesisOptions(double)
{
    if (Writing()) {
        m_out << "LIST PhySynthesisOptions\n";
        WritePhySynthesis();
        m_out << "ENDLIST\n";
        return true;
    }
    if (!FullRead()) return true;
    Lines lines;
    // With per-module blocks the options travel in them.
    if (!TakeList(lines, "PhySynthesisOptions", true) || m_newModuleInfo) return true;
    std::string profile, tool, location, parameters, key, value;
    bool batch = false;
    while (!lines.empty()) {
        std::string text;
        if (StartsWith(lines.front(), "LIST") && IcmdQuotedText(lines.front(), text)) {
            ImodelModule* module = ImodelFindModule(IcmdReadComponentID(text));
            ImodelPhySynthesisOptions* options = module ? module->GetPhySynthOptions() : nullptr;
            lines.erase(lines.begin());
            if (options) {
                options->ReadFromFile(lines, m_converters);
                continue;
            }
        } else {
            if (SplitKeyValue(lines.front(), key, value))
                ReadProfile(profile, tool, location, parameters, batch, key, value);
            lines.erase(lines.begin());
        }
    }
    AddOlderProfile(idePHYSYNTH, profile, tool, location, parameters, batch);
    return true;
}

// --- tool profiles -------------------------------------------------------------------------------------

void IcmdReadWriteProjectImpl::WriteProfile(const IprofileManagedProfile& managed)
{
    IprofileManager* profiles = ProfileManager();
    if (!profiles) return;
    std::string profile, tool, other, location, parameters;
    bool batch = false;
    profiles->GetProjectProfile(managed.GetToolKind(), profile, tool, other, location, parameters, batch);
    // A profile the line format cannot hold is left out rather than breaking the file.
    for (const std::string& text : {managed.GetToolList(), profile, tool, location, parameters})
        if (!IcmdIsStorableValue(text)) return;
    WriteNameValue("Type", managed.GetToolList());
    WriteNameValue("Profile", profile);
    WriteNameValue("Tool", tool);
    WriteNameValue("Location", location);
    WriteNameValue("AdditionalParameter", parameters);
    WriteNameValue("Batch", batch ? "true" : "false");
    m_out << "EndProfile\n";
}

void IcmdReadWriteProjectImpl::ReadProfile(ImodelFunctionType& kind, std::string& profile, std::string& tool,
                                           std::string& location, std::string& parameters, bool& batch,
                                           const std::string& name, const std::string& value)
{
    if (name != "Type") {
        ReadProfile(profile, tool, location, parameters, batch, name, value);
        return;
    }
    if (IprofileManager* profiles = ProfileManager()) {
        for (const IprofileManagedProfile& managed : profiles->GetProfileList()) {
            if (managed.GetToolList() == value) {
                kind = managed.GetToolKind();
                return;
            }
        }
    }
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_Profiles(double)
{
    if (Writing()) {
        m_out << "LIST Profiles\n";
        if (IprofileManager* profiles = ProfileManager())
            for (const IprofileManagedProfile& managed : profiles->GetProfileList()) WriteProfile(managed);
        m_out << "ENDLIST\n";
        return true;
    }
    if (!FullRead()) return true;
    Lines lines;
    if (!TakeList(lines, "Profiles", true)) return true;
    // The values carry over to the next profile when it leaves a line out.
    ImodelFunctionType kind = ideHDLEDITOR;
    std::string profile, tool, location, parameters, name, value;
    bool batch = false;
    for (const std::string& line : lines) {
        if (line == "EndProfile") {
            IprofileManager* profiles = ProfileManager();
            if (profiles && profiles->IsUserManagedProfile(kind))
                profiles->AddProjectProfile(kind, profile, tool, location, parameters, batch);
            continue;
        }
        if (SplitKeyValue(line, name, value))
            ReadProfile(kind, profile, tool, location, parameters, batch, name, value);
    }
    return true;
}
