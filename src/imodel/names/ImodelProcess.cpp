// Starting outside programs through the foundation's spawn, or through the
// host when it launches programs itself.
#include "imodel/names/ImodelProcess.h"

#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/Sys.h>

#include <cstdlib>

namespace {

void ReportToolNotStarted(const std::string& toolName, bool profileHint)
{
    if (profileHint)
        ImodelDisplayNO_TOOL_PROFILE_MSG(toolName.c_str(), toolName.c_str());
    else
        ImodelDisplayNO_TOOL_MSG(toolName.c_str());
}

// The candidate for `name` in one (non-empty) search-path folder.
std::string InFolder(std::string folder, const std::string& name)
{
    ImodelSetValidSeparator(folder, true);
    if (folder.back() != SysGetDirChar()) folder += SysGetDirChar();
    return folder + name;
}

}  // namespace

bool ImodelCreateProcess(const std::string& commandLine, const std::string& startFolder, const std::string& toolName,
                         bool profileHint, std::string* output, bool flag)
{
    if (!toolName.empty()) ImodelDisplayCALLING_TOOL_MSG(toolName.c_str());

    Imodel& model = Imodel::GetInstance();
    ImodelHost* host = model.GetHost();
    bool started = false;
    if (host && host->LaunchesProcesses()) {
        started = host->LaunchProcess(commandLine, startFolder, flag, output);
    } else {
        if (model.IsDebugMsg()) {
            SysDebugPrintf("%s\n", commandLine.c_str());
            SysDebugPrintf("Start in %s\n",
                           startFolder.empty() ? CwdirGetCurrentDirectory().c_str() : startFolder.c_str());
        }
        started = ImodelSystemCall(commandLine, nullptr, startFolder);
    }

    if (!started && !toolName.empty()) ReportToolNotStarted(toolName, profileHint);
    return started;
}

bool ImodelSystemCall(const std::string& commandLine, int* exitStatus, const std::string& startFolder)
{
    // The whole line is split at once, so a quoted program path keeps its
    // blanks and the program is never its own first argument.
    std::vector<std::string> argv;
    ImodelParseArgs(commandLine, argv);
    int status = -1;
    const bool ran = !argv.empty() && SpnSpawn(argv, &status, SpnWAIT, startFolder) == 1;
    if (exitStatus) *exitStatus = status;
    return ran && status == 0;
}

bool ImodelGetFullExePath(std::string& name)
{
    ImodelSetValidSeparator(name, true);
    if (name.empty()) return false;
    if (name.find(SysGetDirChar()) != std::string::npos && UtlDoesFileExist(name)) return true;

    const char* path = std::getenv("PATH");
    const std::string search = path ? path : "";
    std::size_t begin = 0;
    while (begin <= search.size()) {
        std::size_t end = search.find(':', begin);
        if (end == std::string::npos) end = search.size();
        if (end > begin) {
            const std::string candidate = InFolder(search.substr(begin, end - begin), name);
            if (UtlDoesFileExist(candidate)) {
                name = candidate;
                return true;
            }
        }
        begin = end + 1;
    }
    return false;
}

void ImodelParseArgs(const std::string& line, std::vector<std::string>& words)
{
    words.clear();
    ArgsParse(line, words);
}

void ImodelGetDefStrs(const char* name, std::vector<std::string>& words)
{
    words.clear();
    std::string value;
    if (ImodelDefGetStr(name, value)) ImodelParseArgs(value, words);
}

bool ImodelGetInternalToolName(const char* listVariable, const char* displayedName, std::string& internalName)
{
    std::vector<std::string> candidates;
    ImodelGetDefStrs(listVariable, candidates);
    for (const std::string& candidate : candidates) {
        std::string displayed;
        if (displayedName && ImodelDefGetStr(candidate.c_str(), displayed) && displayed == displayedName) {
            internalName = candidate;
            return true;
        }
    }
    internalName.clear();
    return false;
}

void ImodelSecureCommandLine(std::string& commandLine) { UtlReplaceAll(commandLine, "\\", "/"); }
