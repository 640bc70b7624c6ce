// The host's visitor of core repositories: one Visit per kind.
#pragma once

class ImodelCvlibRepository;
class ImodelIPRepository;
class ImodelKTRepository;
class ImodelUserRepository;

class ImodelRepVisitor {
public:
    virtual ~ImodelRepVisitor() = default;

    virtual void Visit(ImodelIPRepository& repository) = 0;
    virtual void Visit(ImodelKTRepository& repository) = 0;
    virtual void Visit(ImodelUserRepository& repository) = 0;
    virtual void Visit(ImodelCvlibRepository& repository) = 0;

protected:
    ImodelRepVisitor() = default;
    ImodelRepVisitor(const ImodelRepVisitor&) = default;
    ImodelRepVisitor& operator=(const ImodelRepVisitor&) = default;
};
