// The host's visitor of option objects: an option hands itself to the
// operation for its kind, so the host can show or edit it without knowing
// the concrete class.
#pragma once

class ImodelStringDefVarOption;
class ImodelBoolStringDefVarOption;

class ImodelOptionVisitor {
public:
    virtual ~ImodelOptionVisitor() = default;
    virtual void VisitStringOption(ImodelStringDefVarOption* option) = 0;
    virtual void VisitBoolOption(ImodelBoolStringDefVarOption* option) = 0;
};
