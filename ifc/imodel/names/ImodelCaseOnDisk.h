// ImodelCaseOnDisk: the name a missing member file has on disk after a
// rename in letter case alone. The project's names do not tell case apart,
// the disk does: hdl/MID.vhd renamed to hdl/mid.vhd while the project was
// closed, or a project written on Windows that names <project>\Hdl\mid.vhd
// where the disk holds hdl/Mid.VHD, would otherwise be a missing member.
//
// A name is followed one component at a time from the last folder that is
// on disk: each missing component must match exactly one entry of its
// folder without regard to case (a folder, and for the last component a
// regular file); none, or two entries that differ in case alone, and
// nothing is followed. Only missing files are asked about: each folder is
// listed once for the life of the object, which lasts one project open.
#pragma once

#include <string>
#include <unordered_map>
#include <utility>

class ImodelCaseOnDisk {
public:
    // The absolute name on disk of the regular file that the absolute,
    // "/"-separated `path` names without regard to case, when `path` itself
    // names nothing; empty otherwise.
    std::string Find(const std::string& path);

private:
    // A folder's entries by their lower-cased name: one name of each, and
    // how many entries have it.
    using Listing = std::unordered_map<std::string, std::pair<std::string, int>>;

    // The folder on disk that `folder` names without regard to case; empty
    // when there is none, or no single one.
    std::string FolderOnDisk(const std::string& folder);
    // The one entry of the listed folder `folder` whose name is `name`
    // without regard to case; empty when there is none, or several.
    std::string OnlyEntry(const std::string& folder, const std::string& name);

    std::unordered_map<std::string, std::string> m_folders;
    std::unordered_map<std::string, Listing> m_listings;
};
