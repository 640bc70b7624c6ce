// A visitor over the kinds of block-design component: a component calls
// back the visit operation of its own kind (IComponent::Accept).
#pragma once

namespace VyIfaces {

class IComponent;

class IComponentVisitor {
public:
    virtual ~IComponentVisitor() = default;

    virtual void VisitKiltoraCore(IComponent& component) = 0;
    virtual void VisitDremmetCore(IComponent& component) = 0;
    virtual void VisitIPCore(IComponent& component) = 0;
    virtual void VisitHDLComponent(IComponent& component) = 0;
    virtual void VisitUserIPCore(IComponent& component) = 0;
    virtual void VisitBlock(IComponent& component) = 0;
    virtual void VisitSynplifyDSPCore(IComponent& component) = 0;
    virtual void VisitSchematic(IComponent& component) = 0;
    virtual void VisitVeyrunDesign(IComponent& component) = 0;
    virtual void VisitSpiritDesign(IComponent& component) = 0;
};

}  // namespace VyIfaces
