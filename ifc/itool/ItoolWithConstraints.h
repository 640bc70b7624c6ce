// The base of the flow tools that take user constraint files (synthesis,
// physical synthesis, place-and-route). Each tool registers itself by its
// tool kind while it exists; ItoolConstraintsManager finds it by that kind.
#pragma once

#include "imodel/names/ImodelToolKinds.h"

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

class IfileObjectEx;
class ImodelModule;
class IprocessFileObject;
class IprocessToolObject;
class ImodelRevContextImpl;

class ItoolWithConstraints {
public:
    // Takes the tool out of the registration list.
    virtual ~ItoolWithConstraints();

    ItoolWithConstraints(const ItoolWithConstraints&) = delete;
    ItoolWithConstraints& operator=(const ItoolWithConstraints&) = delete;

    ImodelFunctionType GetFunctionType() const { return m_type; }

    // The kind of the tool's constraint-file lists; false when it has none.
    virtual bool GetToolFileKind(int& kind) = 0;
    // The tool's upper-case key.
    virtual std::string GetToolKey() = 0;
    // The extensions the tool accepts as constraint files, from its option.
    virtual void GetDefaultExtensions(std::vector<std::string>& extensions) = 0;
    // Whether constraint files of that extension found on a sub-module also
    // serve its parent modules: the option
    // IDE_PASS_CONSTRAINT_FILES_TO_PARENT_MODULES for this tool key and file
    // type, true when it is not set.
    virtual bool PassConstraintFilesToParentModules(const std::string& fileType);
    // The constraint files the tool uses for a file it reads, for the module
    // and revision; `baseName` (may be null) names the file's synthesis
    // constraint file. `out` is emptied first. The tools' constraint-file
    // lists come with the tool work: until then a tool names none.
    virtual void GetUsedConstraintFiles(std::vector<boost::shared_ptr<IfileObjectEx>>& out,
                                        const boost::shared_ptr<IfileObjectEx>& file, ImodelModule* module,
                                        ImodelRevContextImpl* revision, const std::string* baseName);

    // The tool's constraint files for the unit and revision; `out` is
    // emptied first. Until the tools' constraint-file lists come with the
    // tool work, a tool names none.
    virtual void GetConstraintFiles(std::vector<boost::shared_ptr<IfileObjectEx>>& out, ImodelModule* module,
                                    ImodelRevContextImpl* revision);
    // One of the tool's constraint files changed (the flow's node of the
    // file and the tool's node given). The tool refreshes its constraint-file
    // lists here once it keeps them; until then it has nothing to refresh.
    virtual void ConstraintFileChanged(ImodelModule* module, const boost::shared_ptr<IfileObjectEx>& file,
                                       IprocessFileObject* node, IprocessToolObject* tool);

protected:
    // Appends the tool to the registration list.
    explicit ItoolWithConstraints(ImodelFunctionType type);

private:
    ImodelFunctionType m_type;
};
