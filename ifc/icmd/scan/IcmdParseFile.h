// parse_file: reads one HDL or schematic file of the project with the
// scanner of its kind and brings the design in line with what the file now
// declares. The file's former units go, the scanner enters the new ones into
// the file's library, and the file records what was found (structural or
// not, VHDL packages used and defined, included files). A unit that another
// file already defines is reported, and the file refused unless it is to be
// used anyway. The root is made the root again when the file defined it,
// and the views hear of the file before and after the parse and of every
// unit concerned.
//
// The command runs in process only (add_file and add_file_to_library make
// it); it is not a Tcl command. Its two parameters, `library` and `file`,
// let a caller name a file that is not in the project yet: the file is then
// entered into the project under that library first.
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/scan/ZorpaParser.h"

#include <foundation/AcmdParam.h>
#include <vy/ComponentID.h>
#include <vy/IComponent.h>

#include <boost/shared_ptr.hpp>

#include <deque>
#include <memory>
#include <string>
#include <vector>

class IfileObject;
class IfileObjectEx;
class ImodelModule;

class IcmdParseFile : public IcmdBase {
public:
    IcmdParseFile();
    ~IcmdParseFile() override;

    std::string GetName() const override { return "parse_file"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdParseFile>(); }
    // 0 when the file was parsed and accepted; 1 without a file (no
    // message), for a file without scanner or library, and for a file that
    // declares a unit another file defines while it is not to be used anyway.
    AcmdEnum::Result execDo() override;

    // The project's entry of the file to parse; a non-empty entry also
    // becomes the text of the `file` parameter.
    void SetFile(boost::shared_ptr<IfileObjectEx> file);
    // The library of a file named through the `file` parameter.
    int SetLibraryName(const std::string& library);
    std::string GetLibraryName() const;
    // The block-design component the file belongs to: the parse finds the
    // units' components itself, so it is not kept. The components kept for
    // the units of a file moved to another library (not owned).
    void SetComponent(VyIfaces::IComponent*) {}
    void SetComponents(std::vector<VyIfaces::IComponent*>* components) { m_components = components; }
    // Files and unit names for which a duplicate unit is not reported (not
    // owned; either may be null).
    void SetListToSkipForDuplicateErrorMessage(std::deque<IfileObject>* files, std::vector<std::string>* modules)
    {
        m_skipFiles = files;
        m_skipModules = modules;
    }
    void UseThisFileEvenIfModulesAreAlreadyDefined(bool use) { m_useEvenIfDefined = use; }
    void PrintErrorIfModulesAreAlreadyDefined(bool print) { m_printError = print; }
    // The file changes library: its units are not removed first, and the
    // components handed with SetComponents follow them.
    void SetMoveFileToLibrary(bool move) { m_moveFileToLibrary = move; }

    // The unit of the last parse that another file defines; kept until a
    // later parse reports another.
    const std::string& GetModuleAlreadyDefined() const { return m_moduleAlreadyDefined; }
    // The file whose unit the last parse took over, the file being used
    // anyway (null when it took none).
    const boost::shared_ptr<IfileObjectEx>& GetTakenOverFile() const { return m_takenOverFile; }
    // The scanners always resolve the hierarchy they find.
    bool IsHierarchyUnknown() const { return false; }

protected:
    using Parser = ZorpaParser<ImodelModule*>;
    using RemovedUnits = std::deque<ImodelModule*>;

    AcmdEnum::Result parseFile(boost::shared_ptr<IfileObjectEx>& file);
    // Announces each unit the parse made and the units related to it, and
    // keeps the links between units and block-design components; true when
    // one of the announced units is the root (`rootId`).
    bool AddModuleAddedEventRec(boost::shared_ptr<IfileObjectEx> file, bool unused, Parser* parser,
                                const VyIfaces::ComponentID& rootId, std::vector<VyIfaces::IComponent*>* components,
                                RemovedUnits& removed);

private:
    // Whether the duplicate that the parse reported refuses the file.
    bool RefusesDuplicate(const boost::shared_ptr<IfileObjectEx>& file, const std::string& alreadyDefined);

    boost::shared_ptr<IfileObjectEx> m_file;
    bool m_useEvenIfDefined = false;
    bool m_printError = true;
    bool m_moveFileToLibrary = false;
    std::deque<IfileObject>* m_skipFiles = nullptr;
    std::vector<std::string>* m_skipModules = nullptr;
    std::string m_moduleAlreadyDefined;
    boost::shared_ptr<IfileObjectEx> m_takenOverFile;
    std::vector<VyIfaces::IComponent*>* m_components = nullptr;
    AcmdStringParam m_library;
    AcmdFileNameParam m_fileName;
};

// Runs parse_file on a file of the project through the command manager, the
// way add_file does: with the use-anyway and report switches, the files and
// unit names not to report, the component of the file, whether the file
// moves to its library and the components of its units. True when the file
// was accepted. `moduleAlreadyDefined`, when given, receives the unit the
// parse found defined by another file (empty when none); `takenOverFile`,
// when given, the file whose unit the parse took over (null when none).
bool IcmdDoParseFile(const boost::shared_ptr<IfileObjectEx>& file, bool useEvenIfDefined, bool printError,
                     std::deque<IfileObject>* skipFiles, std::vector<std::string>* skipModules,
                     VyIfaces::IComponent* component, bool moveToLibrary,
                     std::vector<VyIfaces::IComponent*>* components, std::string* moduleAlreadyDefined,
                     boost::shared_ptr<IfileObjectEx>* takenOverFile = nullptr);

// Parses again the files whose parse left out an instance that would have
// closed a cycle in the hierarchy, where that cycle no longer stands: the
// design then holds the link, as an open of the project would. Costs
// nothing while no parse left an instance out.
void IcmdLinkRefusedInstances();
