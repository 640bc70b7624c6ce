// delete_files: takes files out of the project, and optionally off the disk.
// A core's main file takes the core's own files along (and, with
// IDE_REMOVE_UNUSED_COMMON_FILES, the files it shares with other cores that
// nothing else needs); the core-tool manager approves the removal of a core.
// Each file leaves the design through delete_files_from_model.
//
//   delete_files -file {<path> ...} [-from_disk]
//
// A file the project does not hold is named ("File '...' was not in the
// project.") and passed over. Each file is first confirmed: the core
// workspace must let it go (core-tool check) and the host must close it in
// its editors (confirm); without a host the confirmation is taken as given.
// From disk go only the files inside the project folder that left the
// project: a linked file's original stays (and is named), and a deletion
// that fails is told.
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdTCLFileArg.h"

#include <foundation/AcmdParam.h>

#include <boost/shared_ptr.hpp>

#include <deque>
#include <memory>
#include <vector>

class IfileObjectEx;
class Imodel;

class IcmdRemoveFilesFromProject : public IcmdBase {
public:
    using Entry = boost::shared_ptr<IfileObjectEx>;

    explicit IcmdRemoveFilesFromProject(Imodel* model);
    ~IcmdRemoveFilesFromProject() override;

    std::string GetName() const override { return "delete_files"; }
    std::unique_ptr<AcmdBase> Clone() const override;
    // 1 without a model, or when the host refuses a file of a core; else 0.
    AcmdEnum::Result execDo() override;

    void SetParams(const std::vector<Entry>& files, bool fromDisk, bool coreToolCheck, bool confirm);

private:
    bool Confirm(const Entry& file, int* answer) const;
    // The files that leave with a core's main file; those of them that
    // `files` names too are taken off it onto `listedCoreFiles`. False when
    // the host refuses one of them.
    bool CollectCoreFiles(const Entry& core, std::deque<Entry>& files, std::vector<Entry>& coreFiles,
                          std::vector<Entry>& listedCoreFiles) const;
    static void DeleteFromDisk(const std::vector<Entry>& disk);

    Imodel* m_model;
    bool m_coreToolCheck = true;
    bool m_confirm = true;
    IcmdTCLFileArg m_file;
    AcmdFlagParam m_fromDisk;
};

// While one stands, the files that leave the project stay in the units'
// lists (and in what a restore gives back) until it ends, which takes out
// of them those that did not come back meanwhile: an update that removes a
// core to add it anew keeps what the user gave its files (the order of its
// databases, its associations). The outermost one counts.
class IcmdKeepLeavingFilesInUnitLists {
public:
    IcmdKeepLeavingFilesInUnitLists();
    ~IcmdKeepLeavingFilesInUnitLists();
    IcmdKeepLeavingFilesInUnitLists(const IcmdKeepLeavingFilesInUnitLists&) = delete;
    IcmdKeepLeavingFilesInUnitLists& operator=(const IcmdKeepLeavingFilesInUnitLists&) = delete;

private:
    bool m_outermost;
    std::vector<boost::shared_ptr<IfileObjectEx>> m_left;
};

// Runs delete_files in process; true when it succeeded.
bool IcmdDoRemoveFiles(bool keep, const std::vector<boost::shared_ptr<IfileObjectEx>>& files, bool fromDisk,
                       bool coreToolCheck, bool confirm);
