// delete_files_from_model (an in-process command, not a Tcl one): takes
// files out of the design. The units each file defines go, the root stays
// valid (the first unit that may be the root takes its place when it went),
// the file leaves the file manager when asked, and a file left as the only
// definition of a unit is used again. A project left with no HDL source uses
// its synthesis netlist again.
#pragma once

#include "icmd/IcmdBase.h"
#include "ifile/IfileObjectEx.h"

#include <boost/shared_ptr.hpp>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace VyIfaces {
class IComponent;
}

class IcmdDeleteFilesFromModel : public IcmdBase {
public:
    using Entry = boost::shared_ptr<IfileObjectEx>;

    IcmdDeleteFilesFromModel();
    ~IcmdDeleteFilesFromModel() override;

    std::string GetName() const override { return "delete_files_from_model"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdDeleteFilesFromModel>(); }
    // Always 0.
    AcmdEnum::Result execDo() override;

    // The files to delete, in order (empty entries are skipped), whether
    // each leaves the file manager, whether a file left as the only
    // definition of a unit is used again, whether the block-design
    // workspace hears of the units that go, and the components concerned
    // (borrowed).
    void SetParams(const std::vector<Entry>& files, bool removeFromFileManager, bool readdFreedDefinitions,
                   bool notifyWorkspace, std::vector<VyIfaces::IComponent*>* components);
    // One file; an empty entry changes nothing.
    void SetParams(Entry file, bool removeFromFileManager, bool readdFreedDefinitions, bool notifyWorkspace,
                   std::vector<VyIfaces::IComponent*>* components);
    // The project's entry of the file. A file the project does not hold
    // (one missing from disk when the project was read) has no units to
    // remove, but the lists read with the project may still name it: they
    // let it go as for a member file.
    void SetParams(const IfileObject& file, bool removeFromFileManager, bool readdFreedDefinitions,
                   bool notifyWorkspace, std::vector<VyIfaces::IComponent*>* components);

    // The host's list of deleted files, as the added-file list of add_file.
    static void SetUpDeletedFileList();
    static void TearDownDeletedFileList();
    static std::deque<IfileObject>* GetDeletedFiles();

private:
    void DeleteOne(const Entry& file, bool& librariesSaved);

    bool m_removeFromFileManager = true;
    bool m_readdFreedDefinitions = true;
    bool m_notifyWorkspace = false;
    std::vector<VyIfaces::IComponent*>* m_components = nullptr;
    std::vector<Entry> m_files;
    // The file the project does not hold, that the lists let go.
    Entry m_notHeld;
};

// Runs delete_files_from_model on the file's project entry (only the lists
// let go of a file the project does not hold). True when it succeeded.
bool IcmdDoDeleteFileFromModel(const IfileObject& file, bool removeFromFileManager, bool readdFreedDefinitions,
                               bool notifyWorkspace, std::vector<VyIfaces::IComponent*>* components);
bool IcmdDoDeleteFileFromModel(boost::shared_ptr<IfileObjectEx> file, bool removeFromFileManager,
                               bool readdFreedDefinitions, bool notifyWorkspace,
                               std::vector<VyIfaces::IComponent*>* components);
