#include "src/itool/itoolSetupFileText.h"

#include "imodel/model/Imodel.h"

#include <foundation/Sys.h>

bool itoolReadLines(const std::string& path, itoolLines& lines, std::string* bytes)
{
    lines.clear();
    std::string read;
    std::string& text = bytes ? *bytes : read;
    if (!SysReadFile(path, text)) return false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        while (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return true;
}

bool itoolWriteLines(const std::string& path, const itoolLines& lines, const std::string* held)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    // Every open brings the set-up files up to date: one that holds these
    // bytes already is left as it is, without a write and a sync.
    if (held ? *held == text : SysFileHolds(path, text)) return true;
    if (Imodel::GetInstance().IsDebugMsg()) SysPrintf("Writing %s\n", path.c_str());
    return SysWriteFileAtomically(path, text);
}

bool itoolMapsKey(const std::string& line, const std::string& key)
{
    if (key.empty() || line.compare(0, key.size(), key) != 0) return false;
    const std::size_t next = line.find_first_not_of(" \t", key.size());
    return next != std::string::npos && line[next] == '=';
}

bool itoolIsHeader(const std::string& line) { return !line.empty() && line.front() == '['; }
