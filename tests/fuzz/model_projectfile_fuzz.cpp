// The model's parsed project file: any text reads without fault; a copied
// section equals the block's lines; the file count is never negative;
// skipping nested blocks with EatCurrentLIST always leaves a strictly
// shorter tail of the lines; files named by the lines are either read or
// marked for removal once, and removing them empties the list.
#include "MessageRecorder.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelProjectFileStructure.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition) std::abort();
}

// Walks a block's lines the way the state readers do: a nested block is
// skipped whole, any other line is taken on its own.
void WalkNestedBlocks(const std::vector<std::string>& all)
{
    std::vector<std::string> lines = all;
    while (!lines.empty()) {
        const std::size_t before = lines.size();
        const std::string line = lines.front();
        lines.erase(lines.begin());
        if (line.rfind("LIST ", 0) == 0) ImodelProjectFileStructure::EatCurrentLIST(lines);
        Check(lines.size() < before);
        Check(lines.empty() || lines.front() == all[all.size() - lines.size()]);
    }
}

void AddFiles(ImodelProjectFileStructure& structure, const std::vector<std::string>& names, zorpaFileManagerTypes type)
{
    static const std::vector<Iconvert*> noConverters;
    for (std::size_t i = 0; i < names.size() && i < 8; ++i) {
        const std::size_t read = structure.GetFilesRead().size() + structure.GetPalladorFilesRead().size();
        const std::size_t marked = structure.GetFilesToDelete().size();
        const bool present = structure.AddFilePresent(names[i], type, false, noConverters, false);
        const std::size_t readAfter = structure.GetFilesRead().size() + structure.GetPalladorFilesRead().size();
        Check(present ? readAfter == read + 1 && structure.GetFilesToDelete().size() == marked
                      : readAfter == read && structure.GetFilesToDelete().size() - marked <= 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Names under "<project>" resolve against a folder that holds nothing.
    static const bool projectSet = [] {
        Imodel::GetInstance().GetDesignManager()->SetProjectFolder(std::string("/nonexistent/quorlane-fuzz-project"));
        return true;
    }();
    (void)projectSet;
    MessageRecorder messages;
    ImodelProjectFileStructure structure;
    structure.Parse("fuzz.prj", std::string(reinterpret_cast<const char*>(data), size), "");

    int count = -1;
    structure.GetFileListCount(count);
    Check(count >= 0);

    std::vector<std::string> names = {"FileManager", "ProjectState5.1", "NewModulesInfo", "UserCustomizedFileList"};
    for (const auto& section : structure.GetSections()) names.push_back(section.first);
    for (const std::string& name : names) {
        const auto list = structure.GetLIST(name.c_str(), false);
        std::vector<std::string> lines = {"stale"};
        Check(structure.GetLIST(lines, name.c_str(), true) == (list != nullptr));
        Check(list ? lines == list->GetLines() : lines.empty());
        WalkNestedBlocks(lines);
        AddFiles(structure, lines, zorpaFT_HDL);
        AddFiles(structure, lines, zorpaFT_GROUP_PALLADOR);
    }
    const std::size_t marked = structure.GetFilesToDelete().size();
    structure.DeleteFiles();
    Check(structure.GetFilesToDelete().empty() && messages.WithId("OLD_FILE_NOT_FOUND").size() == marked);
    return 0;
}
