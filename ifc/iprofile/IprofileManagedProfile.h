// One tool profile of the host's profile manager: which tool serves a tool
// kind. A profile whose managed flag is clear is user-managed. The host owns
// its profiles.
#pragma once

#include "imodel/names/ImodelToolKinds.h"

#include <string>

class IprofileManagedProfile {
public:
    IprofileManagedProfile(ImodelFunctionType kind, const std::string& toolList, const std::string& toolName,
                           bool managed)
        : m_kind(kind), m_toolList(toolList), m_toolName(toolName), m_managed(managed)
    {
    }

    ImodelFunctionType GetToolKind() const { return m_kind; }
    // The profile's type text: the tools it offers.
    const std::string& GetToolList() const { return m_toolList; }
    const std::string& GetToolName() const { return m_toolName; }
    bool IsManaged() const { return m_managed; }

private:
    ImodelFunctionType m_kind;
    std::string m_toolList;
    std::string m_toolName;
    bool m_managed;
};
