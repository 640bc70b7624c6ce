// Cores of projects before 8.0 that the project file names as member files
// ("block_cxf" descriptions and "arm" designs) go into the block-design
// tool's workspace; a core that the import places in another folder takes
// the files of its old folder along in the project.
#pragma once

#include "iconvert/Iconvert.h"

#include <string>
#include <utility>
#include <vector>

class IconvertAddOldCoresToWS : public Iconvert {
public:
    // (type keyword, file name) of a member file.
    using FoundFile = std::pair<std::string, ImodelFileName>;
    // (old folder, new folder) of an imported core.
    using FolderPair = std::pair<ImodelFileName, ImodelFileName>;

    IconvertAddOldCoresToWS() : Iconvert(1) {}

    void FoundNewProjectFile(ImodelFileName& name, std::string& keyword) override;
    void ConvertObjectFromProjectFile(IfileObject& file) override;
    void ConvertWorkspace(ImodelProjectFileStructure& project) override;

    const std::vector<FoundFile>& GetFoundFiles() const { return m_foundFiles; }
    const std::vector<FoundFile>& GetConvertedFiles() const { return m_convertedFiles; }
    const std::vector<FolderPair>& GetFolderPairs() const { return m_folderPairs; }

private:
    std::vector<FoundFile> m_foundFiles;
    std::vector<FoundFile> m_convertedFiles;
    std::vector<FolderPair> m_folderPairs;
};
