// What the components below the command layer ask of it. The model, the file
// manager and the project reader start commands of their own: a file read
// from the project file is added to the design through add_file and a missing
// one leaves it through delete_files_from_model, the root kept over a change
// of the libraries is set again through set_root, the I/O constraint kind is
// the one import_files offers, and the model registers the Tcl commands. They
// reach those through this interface, which the command layer puts in place
// as the library is loaded, so that nothing below it includes a command.
#pragma once

#include "imodel/names/ImodelFileTypes.h"

#include <boost/shared_ptr.hpp>

#include <deque>
#include <string>
#include <vector>

class IfileObject;
class IfileObjectEx;
class Imodel;
class ImodelModule;
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
    // Whether import_files offers a kind that takes files of `type` for the
    // project of the process-wide model.
    virtual bool ImportsFileType(zorpaFileManagerTypes type) = 0;

protected:
    ImodelCommandServices() = default;
    ImodelCommandServices(const ImodelCommandServices&) = default;
    ImodelCommandServices& operator=(const ImodelCommandServices&) = default;
};
