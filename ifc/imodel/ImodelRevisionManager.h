// The place-and-route views of the project (revisions): an ordered list of
// named, numbered views and the current one. The project model owns the one
// revision manager; the path functions take the current view from it.
#pragma once

#include <string>

class ImodelRevisionManager {
public:
    virtual ~ImodelRevisionManager() = default;

    // Number of the current view; 0 when there is none.
    virtual int GetCurrentRevisionNumber() const = 0;
    // Name of the current view; empty when there is none.
    virtual std::string GetCurrentRevisionName() const = 0;
    // Number of views.
    virtual int GetRevisionCount() const = 0;

protected:
    ImodelRevisionManager() = default;
    ImodelRevisionManager(const ImodelRevisionManager&) = delete;
    ImodelRevisionManager& operator=(const ImodelRevisionManager&) = delete;
};
