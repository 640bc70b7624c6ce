// Helpers of the file-value tests: a project folder for the duration of a
// test, the debug print recorded, converters that the tests script, and the
// lines of a written file-list block as the project-file parser delivers
// them.
#pragma once

#include "DebugCapture.h"
#include "ProjectFolderScope.h"

#include "TextLines.h"
#include "iconvert/Iconvert.h"
#include "ifile/IfileObject.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"

#include <foundation/Sys.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// A converter whose answers the test sets.
class ScriptedConverter : public Iconvert {
public:
    std::set<std::string> vetoedLines;  // FileNeedsImport answers false
    std::map<std::string, zorpaFileManagerTypes> oldKeywords;
    std::map<std::string, std::string> renames;  // stored name -> new stored name
    std::vector<std::string> seen;               // names told by FoundNewProjectFile

    bool FileNeedsImport(const std::string& line) override { return vetoedLines.count(line) == 0; }
    void FoundNewProjectFile(ImodelFileName& name, std::string&) override { seen.push_back(name); }
    bool IsOldStrType(const std::string& keyword, zorpaFileManagerTypes& type) override
    {
        const auto found = oldKeywords.find(keyword);
        if (found == oldKeywords.end()) return false;
        type = found->second;
        return true;
    }
    void ConvertObjectFromProjectFile(IfileObject& file) override
    {
        const auto found = renames.find(file.GetInternalFileName());
        if (found != renames.end()) file.SetFileName(found->second, ImodelFMInternal, false);
    }
};

// The lines of a written block as the project-file parser hands them over:
// without the LIST and ENDLIST lines, a VALUE line reduced to the text
// between its quotes.
inline std::vector<std::string> Delivered(const std::string& written)
{
    std::vector<std::string> lines;
    std::istringstream in(written);
    std::string line;
    const std::string value = "VALUE \"";
    while (std::getline(in, line)) {
        if (line == "LIST FileManager" || line == "ENDLIST") continue;
        if (line.rfind(value, 0) == 0 && line.size() > value.size() && line.back() == '"')
            line = line.substr(value.size(), line.size() - value.size() - 1);
        lines.push_back(line);
    }
    return lines;
}
