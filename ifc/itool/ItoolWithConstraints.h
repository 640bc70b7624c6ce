// The base of the flow tools that take user constraint files (synthesis,
// physical synthesis, place-and-route). Each tool registers itself by its
// tool kind while it exists; ItoolConstraintsManager finds it by that kind.
//
// A tool keeps, per design unit and revision, an ordered list of constraint
// files; where it keeps it is the tool's own business (the unit, the unit's
// physical-synthesis options, the place-and-route file lists).
#pragma once

#include "imodel/names/ImodelToolKinds.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

class IfileObject;
class IfileObjectEx;
class ImodelModule;
class IprocessFileObject;
class IprocessToolObject;
class ImodelRevContextImpl;
class IprocessFileObject;
class IprocessToolObject;

class ItoolWithConstraints {
public:
    using Entry = boost::shared_ptr<IfileObjectEx>;
    using Entries = std::vector<Entry>;

    // Takes the tool out of the registration list.
    virtual ~ItoolWithConstraints();

    ItoolWithConstraints(const ItoolWithConstraints&) = delete;
    ItoolWithConstraints& operator=(const ItoolWithConstraints&) = delete;

    ImodelFunctionType GetFunctionType() const { return m_type; }

    // The tool's current constraint files for the unit and revision, in
    // their order, appended to `out`; false when the tool keeps no list there.
    virtual bool GetConstraintFileList(Entries& out, ImodelModule* module, ImodelRevContextImpl* revision) = 0;
    // Replaces that list; false when it could not be stored.
    virtual bool SetConstraintFileList(const Entries& files, ImodelModule* module, ImodelRevContextImpl* revision) = 0;
    // Replaces that list together with the use states of the tool's
    // optional constraint files (each full name, used or not): a tool that
    // keeps such states then leaves out the files the user took out, instead
    // of adding them back. A tool without states stores the list alone.
    virtual bool SetConstraintFiles(const Entries& files, const ImodelOptionalFiles& optional, ImodelModule* module,
                                    ImodelRevContextImpl* revision);
    // Takes one file out of the unit's lists.
    virtual void ConstraintFileRemoved(const IfileObject& file, ImodelModule* module,
                                       ImodelRevContextImpl* revision) = 0;
    // Takes a file that left the project out of every list that names it.
    virtual void ConstraintFileDeleted(const IfileObject& file) = 0;
    // The extensions the tool accepts as constraint files, from its option;
    // empty when the option is not set.
    virtual void GetDefaultExtensions(std::vector<std::string>& extensions) = 0;
    // One of the tool's constraint files changed: the tool's results that
    // used it lose their state. `resultNode` is the flow node of the file
    // the tool makes (may be null), `tool` the tool's flow node.
    virtual void ConstraintFileChanged(ImodelModule* module, const Entry& file, IprocessFileObject* resultNode,
                                       IprocessToolObject* tool) = 0;
    // The units whose lists of this tool may name the constraint file
    // `file`, appended to `units` (each once): for any other unit a change
    // of the file changes nothing this tool keeps. False when the tool
    // cannot tell them apart; every unit is then told of the change.
    virtual bool GetUnitsNamingConstraintFile(const IfileObject& file, std::vector<ImodelModule*>& units);
    // The constraint list that goes with `file` (a file the tool made or
    // reads; may be empty) for the unit and revision, appended to `out`.
    virtual bool GetConstraintFileListEx(const Entry& file, Entries& out, ImodelModule* module,
                                         ImodelRevContextImpl* revision, bool flag) = 0;
    // The kind of the tool's constraint-file lists (the highest optional
    // constraint level of the flow it takes); false when it has none.
    virtual bool GetToolFileKind(int& kind) = 0;
    // The tool's upper-case key.
    virtual std::string GetToolKey() = 0;
    // Whether constraint files of that extension found on a sub-module also
    // serve its parent modules: the option
    // IDE_PASS_CONSTRAINT_FILES_TO_PARENT_MODULES for this tool key and file
    // type, true when it is not set.
    virtual bool PassConstraintFilesToParentModules(const std::string& fileType);
    // The project's entries of the constraint files the tool uses for
    // `file`, the unit and the revision; `baseName` (may be null) names the
    // unit's flow files when the flow derives them from another name. `out`
    // is emptied first.
    virtual void GetUsedConstraintFiles(Entries& out, const Entry& file, ImodelModule* module,
                                        ImodelRevContextImpl* revision, const std::string* baseName);

    // The tool's constraint files for the unit and revision, in their
    // order (GetConstraintFileList); `out` is emptied first.
    void GetConstraintFiles(Entries& out, ImodelModule* module, ImodelRevContextImpl* revision);

protected:
    // Appends the tool to the registration list.
    explicit ItoolWithConstraints(ImodelFunctionType type);

private:
    ImodelFunctionType m_type;
};
