// Helpers of the file-value tests: a project folder for the duration of a
// test, the debug print recorded, the round trip through the project-file
// reader, and converters that the tests script.
#pragma once

#include "PrintCapture.h"
#include "ProjectFileBlock.h"
#include "ProjectFolderScope.h"

#include "iconvert/Iconvert.h"
#include "ifile/IfileObject.h"

#include <map>
#include <set>
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
