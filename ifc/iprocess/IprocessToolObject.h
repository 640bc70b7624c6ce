// A tool node of the design flow: one step a tool performs (editing,
// generating cores, synthesis, physical synthesis, place and route,
// publishing, debugging, programming, stimulus, simulation, constraint
// editing). Its input transitions come from file nodes, its output
// transitions lead to file nodes. It answers whether its step takes part for
// a design unit and revision, whether it can run now, which of its files are
// out of date and which inputs it takes by default for a design state.
#pragma once

#include "imodel/device/ImodelDevice.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelToolKinds.h"
#include "iprocess/IprocessTransition.h"

#include <string>
#include <vector>

class ImodelModule;
class ImodelRevContext;

class IprocessToolObject : public IprocessFlowObject {
public:
    using Nodes = std::vector<IprocessFileObject*>;
    using Tools = std::vector<IprocessToolObject*>;

    // `deviceLevel`: the finest device member whose change concerns the
    // tool; `packageDependent`: its results depend on package files.
    IprocessToolObject(const std::string& name, const std::string& group, ImodelFunctionType type,
                       imodelDeviceMembers deviceLevel, bool packageDependent);

    // The base test, and the step is not hidden (IprocessIsToolHidden).
    bool IsObjectUsed(ImodelModule* module, ImodelRevContext* revision) const override;
    // Place and route, programming, device programmer, silicon probe.
    bool IsRevDependent() const override;
    // Whether the step can run now for the unit (in its current revision).
    virtual bool IsToolEnable(ImodelModule* module) const;

    const std::string& GetName() const { return m_name; }
    const std::string& GetGroup() const { return m_group; }
    ImodelFunctionType GetToolType() const { return m_type; }
    imodelDeviceMembers GetDeviceLevel() const { return m_deviceLevel; }
    bool IsPackageDepending() const { return m_packageDependent; }
    // The step's name as the host's tool profile shows it: the active tool's
    // display name for a user-managed profile ("No tool selected" without
    // one), else the node's name.
    void GetToolName(std::string& out) const;

    // The file type offered when the user picks the tool's input; 5 for none.
    void SetFileSelectionType(zorpaFileManagerTypes type) { m_fileSelectionType = type; }
    void SetPredecessorFileSelectionType(zorpaFileManagerTypes type) { m_predecessorFileSelectionType = type; }
    // The predecessor's type when asked for it and the tool has none of its own.
    zorpaFileManagerTypes GetFileSelectionType(bool predecessor) const;
    // Tool nodes are never processed automatically.
    void SetAutoProcessed(bool) {}

    // --- transitions (attached by the transitions themselves) ---------------------------------

    void AttachInputTransition(IprocessFileToToolTransition* transition) { m_fromFiles.push_back(transition); }
    void AttachInputTransition(IprocessToolToToolTransition* transition) { m_fromTools.push_back(transition); }
    void AttachOutputTransition(IprocessToolToFileTransition* transition) { m_toFiles.push_back(transition); }
    void AttachOutputTransition(IprocessToolToToolTransition* transition) { m_toTools.push_back(transition); }
    const std::vector<IprocessFileToToolTransition*>& GetInputTransitionsFromFiles() const { return m_fromFiles; }
    const std::vector<IprocessToolToFileTransition*>& GetOutputTransitionsToFiles() const { return m_toFiles; }
    const std::vector<IprocessToolToToolTransition*>& GetInputTransitionsFromTools() const { return m_fromTools; }
    const std::vector<IprocessToolToToolTransition*>& GetOutputTransitionsToTools() const { return m_toTools; }

    // --- walks --------------------------------------------------------------------------------
    // The list forms append and do nothing for a null list.

    // The targets of the output transitions, in order, repeats kept.
    void GetOutputFiles(Nodes* out) const;
    void GetOutputTools(Tools* out) const;
    // The sources of the input transitions not listed yet.
    void AddInputFiles(Nodes* out) const;
    // The targets of the output transitions counted for the state and used.
    void GetStateOutputFiles(Nodes* out, ImodelModule* module, ImodelRevContext* revision) const;
    // The used sources of the used input transitions, once each.
    void GetAllUsedInputFiles(Nodes& out, ImodelModule* module, ImodelRevContext* revision) const;
    // Every tool and file upstream (with `recursive`, transitively), without
    // use tests; false when a list is missing.
    bool GetAllFilesAndToolsPrecedingYou(Nodes* files, Tools* tools, bool recursive, ImodelModule* module,
                                         ImodelRevContext* revision) const;
    // A tool of the kind reads one of this tool's used outputs.
    bool IsToolDirectlyFollowingMe(ImodelFunctionType type, ImodelModule* module, ImodelRevContext* revision) const;
    // Whether a device change (members that changed, coarsest first)
    // concerns the tool; a die version change concerns synthesis when
    // IDE_VERSION_CHANGE_INVALIDATES_SYNTH reads 1 and the synthesis tool is
    // Synplify or Precision.
    bool IsConcernedByDeviceChange(const std::vector<imodelDeviceMembers>& differences,
                                   const ImodelDevice& newDevice) const;

    // --- enabling -----------------------------------------------------------------------------

    // Every required source is present for the unit.
    bool IsTransitionEnable(const IprocessFileToToolTransition* transition, ImodelModule* module) const;
    // Every required source tool is enabled.
    bool IsTransitionEnable(const IprocessToolToToolTransition* transition, ImodelModule* module) const;
    // The used outputs that are out of date; false without a module or
    // current revision.
    bool GetOutOfDateFilesNeedingThisTool(Nodes& out, ImodelModule* module) const;

    // --- inputs per design state ----------------------------------------------------------------

    // The first input transition for the state that passes the filters
    // (`excludedFileType` -1: no type excluded); null when none does.
    IprocessFileToToolTransition* GetDefaultInputFileTransition(imodelSolvatoState state, bool needUsedForState,
                                                                bool needEnabled, ImodelModule* module,
                                                                ImodelRevContext* revision, int excludedFileType) const;
    // The sources of the used input transition of the state counted for the
    // state (true); without one, the sources of every such transition (false).
    bool GetDefaultInputFilesForState(imodelSolvatoState state, Nodes* out, ImodelModule* module,
                                      ImodelRevContext* revision, bool withOptional) const;
    // The default inputs for the revision's design state whose current file
    // is out of date.
    bool GetOutOfDateInputFiles(Nodes& out, ImodelModule* module, ImodelRevContext* revision, bool withOptional) const;

private:
    std::string m_name;
    std::string m_group;
    ImodelFunctionType m_type;
    imodelDeviceMembers m_deviceLevel;
    bool m_packageDependent;
    zorpaFileManagerTypes m_fileSelectionType = zorpaFT_UNKNOWN;
    zorpaFileManagerTypes m_predecessorFileSelectionType = zorpaFT_UNKNOWN;
    std::vector<IprocessToolToToolTransition*> m_toTools;
    std::vector<IprocessToolToFileTransition*> m_toFiles;
    std::vector<IprocessToolToToolTransition*> m_fromTools;
    std::vector<IprocessFileToToolTransition*> m_fromFiles;
};

// The publishing step: it runs only where a core may be packaged.
class IprocessPackagerTool : public IprocessToolObject {
public:
    // "Packager" in "Publish", kind 21, used outside block mode, offering the
    // design database (4) as its predecessor's file.
    IprocessPackagerTool();
    bool IsToolEnable(ImodelModule* module) const override;
};

// The tools that read the place-and-route project (programming, device
// programmer, silicon probe, packager).
bool ImodelToolNeedsAdb(ImodelFunctionType type);
