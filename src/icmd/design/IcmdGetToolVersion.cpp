#include "icmd/design/IcmdGetToolVersion.h"

#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/ImodelProcess.h"
#include "imodel/names/imodelUtl.h"
#include "iprofile/IprofileManager.h"

#include <foundation/AcmdManager.h>
#include <foundation/Sys.h>

#include <string>
#include <vector>

IcmdGetToolVersion::IcmdGetToolVersion()
    : IcmdBase(false), m_path("path", this, AcmdValueType::Single(), true, "exe path", "", false),
      m_type("type", this, AcmdValueType::Single(), true, "tool type", "", false),
      m_tool(this, true, ideHDLEDITOR, &IcmdToolTypeArg::ProfilesSupported)
{
}

IcmdGetToolVersion::~IcmdGetToolVersion() = default;

void IcmdGetToolVersion::SetParams(const std::string& path, const std::string& type, ImodelFunctionType tool)
{
    m_path.SetObject(path);
    m_type.SetObject(type);
    m_tool.SetObject(tool);
}

AcmdEnum::Result IcmdGetToolVersion::execDo()
{
    const std::string given = m_path.GetObject();
    const std::string variable = m_type.GetObject() + "_VERSION";
    std::string versionCommand;
    if (!ImodelDefGetStr(variable.c_str(), versionCommand) || versionCommand.empty()) {
        ImodelDisplayTOOL_VERSION_UNKNOWN_MSG(given.c_str(),
                                              ("the options variable " + variable + " is not set").c_str());
        return AcmdEnum::Failure;
    }
    std::string executable = given;
    if (!ImodelGetFullExePath(executable)) {
        ImodelDisplayTOOL_VERSION_UNKNOWN_MSG(given.c_str(), "it cannot be found");
        return AcmdEnum::Failure;
    }
    const std::size_t separator = executable.rfind(SysGetDirChar());
    if (separator == std::string::npos) {
        ImodelDisplayTOOL_VERSION_UNKNOWN_MSG(given.c_str(), "its folder is not known");
        return AcmdEnum::Failure;
    }
    std::string folder = executable.substr(0, separator + 1);
    ImodelTrimRightString(folder, SysGetDirChar());
    folder = UtlGetQualifiedPath(folder);
    // The program is the value's first word, found in the tool's folder; the
    // folder may hold blanks ("Program Files"), so the words are quoted again.
    std::vector<std::string> words;
    ArgsParse(versionCommand, words);
    if (words.empty()) {
        ImodelDisplayTOOL_VERSION_UNKNOWN_MSG(given.c_str(),
                                              ("the options variable " + variable + " names no program").c_str());
        return AcmdEnum::Failure;
    }
    const std::string program = folder + SysGetDirChar() + words.front();
    std::string commandLine = ArgsQuote(program);
    for (std::size_t word = 1; word < words.size(); ++word) commandLine += " " + ArgsQuote(words[word]);
    if (Imodel::GetInstance().IsDebugMsg()) SysDebugPrintf("Calling %s to get the version.\n", commandLine.c_str());

    std::string printed;
    if (!ImodelCreateProcess(commandLine, SysGetTemporaryDirectoryName(), std::string(), false, &printed,
                             m_tool.GetObject() == ideTORVIX)) {
        // What failed is the program the variable names, which need not be
        // the tool's own executable.
        const bool itself = words.front() == executable.substr(separator + 1);
        const std::string failed = itself ? std::string("it") : "'" + program + "'";
        ImodelDisplayTOOL_VERSION_UNKNOWN_MSG(executable.c_str(), (failed + " could not be run, or it failed").c_str());
        return AcmdEnum::Failure;
    }
    if (!printed.empty()) m_version = printed;
    return AcmdEnum::Success;
}

IcmdGetActiveToolVersion::IcmdGetActiveToolVersion()
    : IcmdBase(false), m_tool(this, true, ideHDLEDITOR, &IcmdToolTypeArg::ProfilesSupported)
{
}

IcmdGetActiveToolVersion::~IcmdGetActiveToolVersion() = default;

AcmdEnum::Result IcmdGetActiveToolVersion::execDo()
{
    ImodelHost* host = Imodel::GetInstance().GetHost();
    IprofileManager* profiles = host ? host->GetProfileManager() : nullptr;
    if (profiles == nullptr) return AcmdEnum::Failure;
    const ImodelFunctionType tool = m_tool.GetObject();
    std::string profile;
    std::string info;
    std::string version;
    std::string executable;
    std::string toolKey;
    bool batch = false;
    if (!profiles->FindActiveTool(tool, profile, info, version, executable, toolKey, batch)) {
        const std::string keyword = IcmdToolTypeArg::GetStringForTool(tool);
        ImodelDisplayNO_PROFILE_MSG(keyword.c_str(), keyword.c_str());
        return AcmdEnum::Failure;
    }
    IcmdGetToolVersion query;
    query.SetParams(executable, toolKey, tool);
    const AcmdEnum::Result result = AcmdManager::GetInstance().Run(&query, false);
    if (result == AcmdEnum::Success) SetResultMsg(query.GetVersion());
    return result;
}
