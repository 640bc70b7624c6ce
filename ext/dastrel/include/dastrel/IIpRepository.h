// One catalogue of cores as the core browser loads it: where it lies, what
// it is called, and what the plug-in loader needs to read it.
#pragma once

#include <string>

class IIpRepository {
public:
    virtual ~IIpRepository() = default;

    // The folder (or file) of the catalogue.
    virtual const std::string& GetLocation() const = 0;
    // The index file of the catalogue inside its location.
    virtual const std::string& GetIndexFileName() const = 0;
    virtual const std::string& GetName() const = 0;
    // True for a catalogue the user registered himself.
    virtual bool IsUserRepository() const = 0;
    // True when cores may not be added to the catalogue.
    virtual bool IsReadOnly() const = 0;

protected:
    IIpRepository() = default;
    IIpRepository(const IIpRepository&) = default;
    IIpRepository& operator=(const IIpRepository&) = default;
};
