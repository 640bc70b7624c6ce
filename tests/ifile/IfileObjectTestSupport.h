// Helpers of the file-value tests: a project folder for the duration of a
// test, the debug print recorded, the round trip through the project-file
// reader, and a converter that vetoes lines.
#pragma once

#include "PrintCapture.h"
#include "ProjectFileBlock.h"
#include "ProjectFolderScope.h"

#include "iconvert/Iconvert.h"
#include "ifile/IfileObject.h"

#include <set>
#include <string>
#include <vector>

// A converter that vetoes the project-file lines the test names.
class ScriptedConverter : public Iconvert {
public:
    std::set<std::string> vetoedLines;  // FileNeedsImport answers false

    bool FileNeedsImport(const std::string& line) override { return vetoedLines.count(line) == 0; }
};
