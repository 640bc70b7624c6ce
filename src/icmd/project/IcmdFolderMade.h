// A project folder a command makes where none stood (new_project,
// save_project_as): when the command fails, the folder goes again with the
// folders above it that were made for it, so that the next try is not
// refused for a folder that exists.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

class IcmdFolderMade {
public:
    // Notes which folders above `folder` do not exist yet; call before
    // anything is made.
    explicit IcmdFolderMade(const std::string& folder);
    // Removes the folder with all it holds, then the folders above it that
    // were made for it, while they are empty.
    void Remove() const;

private:
    std::string m_folder;
    // Deepest first.
    std::vector<std::filesystem::path> m_madeAbove;
};
