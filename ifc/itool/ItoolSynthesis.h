// The synthesis tool: each unit's synthesis constraint files, and the
// result file a synthesis run leaves (XML: a root element named by the
// tool, with the children "result", "Success" in any case for success, and
// "target_edif", the netlist made). The project model owns the one object.
#pragma once

#include "itool/Itool.h"
#include "itool/ItoolWithConstraints.h"

#include <boost/shared_ptr.hpp>

#include <deque>
#include <memory>
#include <string>

class IfileObject;
class IfileObjectEx;
class ImodelModule;

class ItoolSynthesis : public ItoolWithConstraints, public Itool {
public:
    // Reads a result file of the tool `toolName` whose root element is
    // `rootName` (case ignored) and records its state: 2 for success, else
    // 1. A file of another tool than the host's active synthesis tool is
    // left unread; an unreadable or foreign file changes nothing (a debug
    // line says why). A successful run brings its netlist into the project;
    // a netlist that does not exist is reported ("TOOL_FILE_NOT_FOUND").
    virtual void ReadResultFile(const IfileObject& file, const std::string& toolName, const std::string& rootName) = 0;
    // Brings the netlist into the project and makes it the root unit's
    // netlist; the root unit's current netlist (empty when none).
    virtual boost::shared_ptr<IfileObjectEx> AddNetlist(const IfileObject& netlist) = 0;
    // Records the result of a run: 0 forgets the last one; another state
    // goes to the design flow, and a new state is told to the user
    // ("TOOL_FAILED", "TOOL_SUCCEEDED").
    virtual void SetResultState(imodelToolState state, const boost::shared_ptr<IfileObjectEx>& netlist,
                                ImodelModule* module) = 0;
    virtual imodelToolState GetResultState() const = 0;

    // Set by callers that collect every result file read; null when none.
    static std::deque<IfileObject>*& GetDebugFileListPtr();

protected:
    ItoolSynthesis() : ItoolWithConstraints(ideSYNTHESIS) {}
};

// The synthesis tool object, for the project singleton to own.
std::unique_ptr<ItoolSynthesis> ItoolCreateSynthesis();
