// add_file (an in-process command, not a Tcl one): makes one file a member
// of the project and brings the design in line with it. The file manager
// takes the file, parse_file scans a source file into design units, a unit
// that another file defines already leaves the file in error (kind 2) unless
// the file is to be used anyway, the root is chosen again, and the design
// flow hears of the file.
#pragma once

#include "icmd/IcmdBase.h"
#include "ifile/IfileObjectEx.h"

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace VyIfaces {
class IComponent;
}

class IcmdAddFileToModel : public IcmdBase {
public:
    IcmdAddFileToModel();
    ~IcmdAddFileToModel() override;

    std::string GetName() const override { return "add_file"; }
    // A command with the default settings (the settings are not copied).
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdAddFileToModel>(); }
    // 1 without a file, and for a file inside the project folder that is
    // not on disk (nothing changes then); 0 otherwise, also when the parse
    // failed or the file's units are defined by another file.
    AcmdEnum::Result execDo() override;
    // False only for a file the project holds already.
    bool NeedDelayedExecution() override;

    // The file to add; the command keeps its own copy. Both answer 0.
    int SetFile(const IfileObject& file);
    int SetFile(const IfileObjectEx& file);
    // Kept for the host; the command registers the file in any case, so
    // the flag is not kept.
    void SetUpdateFileManager(bool) {}
    void SetParseTheFile(bool parse) { m_parse = parse; }
    void SetUseThisFileEvenIfModulesAreAlreadyDefined(bool use) { m_useEvenIfDefined = use; }
    void SetPrintErrorIfModulesAreAlreadyDefined(bool print) { m_printError = print; }
    // A synthesis netlist added outside a project read reaches the host.
    void DoGenerateEDIFNetlist(bool generate) { m_generateEdif = generate; }
    // A constraint file asks the flow to update the states (message 3).
    void SetUpdateState(bool update) { m_updateState = update; }
    // Borrowed until the run ends: files and unit names whose duplicate
    // definitions are not reported.
    void SetSkipList(std::deque<IfileObject>* files) { m_skipFiles = files; }
    void SetSkipModuleList(std::vector<std::string>* modules) { m_skipModules = modules; }
    void SetComponent(VyIfaces::IComponent* component) { m_component = component; }
    void SetMoveFileToLibrary(bool move) { m_moveToLibrary = move; }
    void SetComponents(std::vector<VyIfaces::IComponent*>* components) { m_components = components; }

    // The project's entry of the file after the run; empty when nothing was added.
    boost::shared_ptr<IfileObjectEx> GetAddedFileObject() const { return m_added; }

    // A list that every add_file run appends its file to, for the host: made
    // by SetUp, dropped by TearDown; GetAddedFiles is null while there is none.
    static void SetUpAddedFileList();
    static void TearDownAddedFileList();
    static std::deque<IfileObject>* GetAddedFiles();
    // The files the add_file runs append to that list from its making on
    // (the list made for its lifetime when there is none), in order.
    class AddedSince {
    public:
        AddedSince() : m_own(GetAddedFiles() == nullptr)
        {
            if (m_own) SetUpAddedFileList();
            m_start = GetAddedFiles()->size();
        }
        ~AddedSince()
        {
            if (m_own) TearDownAddedFileList();
        }
        AddedSince(const AddedSince&) = delete;
        AddedSince& operator=(const AddedSince&) = delete;
        std::deque<IfileObject>::const_iterator begin() const
        {
            return GetAddedFiles()->cbegin() + static_cast<std::ptrdiff_t>(m_start);
        }
        std::deque<IfileObject>::const_iterator end() const { return GetAddedFiles()->cend(); }

    private:
        bool m_own;
        std::size_t m_start = 0;
    };

    // Of the units that several files define, the first that only one file
    // defines now: that file is cleared of its error and added again as the
    // unit's definition. A unit whose definition went while several files
    // still define it is given the first of them (in the project file's
    // order, as an open gives it). At most one definition is freed per call.
    static void AddFileIfItIsTheOnlyOneToDefinedAModule();

private:
    // The steps of execDo by kind of file.
    void AddSourceFile();
    void AddOtherFile();
    // The root after a parse: kept, restored, or the first that may be one.
    void ChooseRoot(bool parseFailed, const VyIfaces::ComponentID& before);

    std::optional<IfileObjectEx> m_file;
    bool m_parse = true;
    bool m_useEvenIfDefined = false;
    bool m_printError = true;
    bool m_readingProject = false;
    bool m_generateEdif = true;
    bool m_updateState = true;
    std::deque<IfileObject>* m_skipFiles = nullptr;
    std::vector<std::string>* m_skipModules = nullptr;
    VyIfaces::IComponent* m_component = nullptr;
    bool m_moveToLibrary = false;
    std::vector<VyIfaces::IComponent*>* m_components = nullptr;
    boost::shared_ptr<IfileObjectEx> m_added;
};

// add_file in process, not kept in the command history. The settings, in
// the command's order: the file, whether to update the file manager, to parse
// the file, to use it even when its units are already defined elsewhere, the
// files and units to skip, whether to report such units, the block-design
// component, whether to update the states, to move the file to its library,
// and the components found. Each answers the project's entry of the file;
// empty when it was not added.
boost::shared_ptr<IfileObjectEx> IcmdDoAddFileToModel(const IfileObjectEx& file, bool updateFileManager, bool parse,
                                                      bool useEvenIfDefined, std::deque<IfileObject>* skipFiles,
                                                      std::vector<std::string>* skipModules, bool printError,
                                                      VyIfaces::IComponent* component, bool updateState,
                                                      bool moveToLibrary,
                                                      std::vector<VyIfaces::IComponent*>* components);
// The same for a file value: the command makes a member file of it, with
// the attributes of a new member.
boost::shared_ptr<IfileObjectEx> IcmdDoAddFileToModel(const IfileObject& file, bool updateFileManager, bool parse,
                                                      bool useEvenIfDefined, std::deque<IfileObject>* skipFiles,
                                                      std::vector<std::string>* skipModules, bool printError,
                                                      VyIfaces::IComponent* component, bool updateState,
                                                      bool moveToLibrary,
                                                      std::vector<VyIfaces::IComponent*>* components);
