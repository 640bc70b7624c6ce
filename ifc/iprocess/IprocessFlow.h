// One design flow: a graph of file nodes and tool nodes, and the state
// machines that keep the states of files, tools and the design current. The
// process manager owns its flows; the project has one, "DEFAULT".
#pragma once

#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelToolKinds.h"

#include <string>

class IprocessFileObject;
class IprocessToolObject;

class IprocessFlow {
public:
    virtual ~IprocessFlow() = default;

    virtual std::string GetName() const = 0;
    // The first file node of the type, or null.
    virtual IprocessFileObject* GetFileObject(zorpaFileManagerTypes type) = 0;
    // The first tool node of the tool kind, or null.
    virtual IprocessToolObject* GetToolObject(ImodelFunctionType tool) = 0;

protected:
    IprocessFlow() = default;
    IprocessFlow(const IprocessFlow&) = delete;
    IprocessFlow& operator=(const IprocessFlow&) = delete;
};
