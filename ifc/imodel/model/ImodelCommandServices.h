// What the components below the command layer ask of it. The model, the file
// manager and the project reader start commands of their own: a file read
// from the project file is added to the design through add_file and a missing
// one leaves it through delete_files_from_model, the root kept over a change
// of the libraries is set again through set_root, the I/O constraint kind is
// the one import_files offers, and the model registers the Tcl commands. The
// core descriptions and the block-design tool add a core's files through
// add_file, take a core out through delete_files, apply a changed core through
// the project update, choose the root once a batch of cores is in, and move
// the project reader's meter for the core files it reads; the file watcher
// brings the files changed on disk in through the project update and has a
// member follow a new name its file took on disk, and its
// change detection asks for the block-design components whose constraints
// are open in an editor. They reach those
// through this interface, which the command layer puts in place as the
// library is loaded, so that nothing below it includes a command.
#pragma once

#include "imodel/names/ImodelFileTypes.h"

#include <boost/shared_ptr.hpp>

#include <deque>
#include <set>
#include <string>
#include <vector>

class IfileObject;
class IfileObjectEx;
class Imodel;
class ImodelModule;
struct zorpaSaveRestoreParams;
namespace VyIfaces {
class IComponent;
}

class ImodelCommandServices {
public:
    // The services in place; null until the command layer is loaded.
    static ImodelCommandServices* Get();
    // Puts `services` in place and answers the ones they replace (a test
    // puts a double in place and the former services back).
    static ImodelCommandServices* Install(ImodelCommandServices* services);

    virtual ~ImodelCommandServices() = default;

    // Hands the command manager one prototype of each Tcl command of the
    // library, in the order of registration; the linking commands only when
    // `linkingEnabled`.
    virtual void RegisterCommands(Imodel& model, bool linkingEnabled) = 0;
    // add_file in process, with the settings of IcmdDoAddFileToModel; the
    // project's entry of the file, empty when it was not added.
    virtual boost::shared_ptr<IfileObjectEx>
    AddFileToModel(const IfileObjectEx& file, bool updateFileManager, bool parse, bool useEvenIfDefined,
                   std::deque<IfileObject>* skipFiles, std::vector<std::string>* skipModules, bool printError,
                   VyIfaces::IComponent* component, bool updateState, bool moveToLibrary,
                   std::vector<VyIfaces::IComponent*>* components) = 0;
    // delete_files_from_model in process for the project's entry of the
    // file, with the settings of IcmdDoDeleteFileFromModel; true when it
    // succeeded.
    virtual bool DeleteFileFromModel(const IfileObject& file, bool removeFromFileManager, bool readdFreedDefinitions,
                                     bool notifyWorkspace, std::vector<VyIfaces::IComponent*>* components) = 0;
    // set_root in process, not kept in the command history; true when it succeeded.
    virtual bool SetRoot(ImodelModule* module) = 0;
    // After files were parsed with the design tree held back: the root set
    // again, or the first unit that may be the root when there is none.
    virtual void SetRootAgain() = 0;
    // At the end of a change of the design: the instances that parses left
    // out for closing a cycle are linked where that cycle no longer stands.
    virtual void LinkRefusedInstances() {}
    // delete_files in process for those project entries, not kept in the
    // command history, with the settings of IcmdDoRemoveFiles; true when it
    // succeeded.
    virtual bool RemoveFiles(const std::vector<boost::shared_ptr<IfileObjectEx>>& files, bool fromDisk,
                             bool coreToolCheck, bool confirm) = 0;
    // The project update for files changed on disk (IcmdUpdateProjectContent):
    // `removed` leave the project, `added` are added again, and each unit
    // keeps the definition it used.
    virtual void UpdateProjectContent(const std::vector<boost::shared_ptr<IfileObjectEx>>& removed,
                                      const std::vector<boost::shared_ptr<IfileObjectEx>>& added,
                                      const zorpaSaveRestoreParams& params) = 0;
    // While the project reader reads the project's file list: its meter
    // moves once for that member file, which a core added; nothing otherwise.
    virtual void CountProjectFile(const IfileObject& file) = 0;
    // Whether import_files offers a kind that takes files of `type` for the
    // project of the process-wide model.
    virtual bool ImportsFileType(zorpaFileManagerTypes type) = 0;
    // The block-design components whose constraints are open in an editor.
    virtual const std::set<VyIfaces::IComponent*>& GetConstraintsEditorComponents() = 0;
    // create_links in process for one file, not kept in the command
    // history: false when no kind of the link command takes the file or the
    // command failed.
    virtual bool CreateLink(const IfileObject& file) = 0;
    // The project's entry, whose file took the new name `fullName` on disk,
    // given that name in place, with the model brought in line as
    // change_link_source does for an unchanged file: filed under the new
    // name with its units and their data, nothing parsed.
    virtual void FollowRenamedFile(const boost::shared_ptr<IfileObjectEx>& entry, const std::string& fullName) = 0;

protected:
    ImodelCommandServices() = default;
    ImodelCommandServices(const ImodelCommandServices&) = default;
    ImodelCommandServices& operator=(const ImodelCommandServices&) = default;
};
