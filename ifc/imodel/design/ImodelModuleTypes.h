// What a design unit is as a block-design component (the component kinds
// and their display names), and the function objects with which the file
// collectors select and order the child files of a unit hierarchy.
#pragma once

#include "ifile/IfileObject.h"
#include "imodel/names/ImodelToolKinds.h"

#include <vy/IComponentVisitor.h>

#include <deque>
#include <string>

class ImodelModule;
class ItoolWithConstraints;

// The display name of a component kind (VyIfaces::IComponent::VyModuleType,
// 0 to 12); "Unknown" for -1 and for any value outside the table.
std::string ImodelGetComponentTypeName(int kind);

// The kind of the component that accepts it; -1 until a component does.
class GetComponentTypeVisitor : public VyIfaces::IComponentVisitor {
public:
    void VisitKiltoraCore(VyIfaces::IComponent&) override { m_type = 0; }
    void VisitDremmetCore(VyIfaces::IComponent&) override { m_type = 1; }
    void VisitIPCore(VyIfaces::IComponent&) override { m_type = 2; }
    void VisitHDLComponent(VyIfaces::IComponent&) override { m_type = 3; }
    void VisitUserIPCore(VyIfaces::IComponent&) override { m_type = 10; }
    void VisitBlock(VyIfaces::IComponent&) override { m_type = 4; }
    void VisitSynplifyDSPCore(VyIfaces::IComponent&) override { m_type = 8; }
    void VisitSchematic(VyIfaces::IComponent&) override { m_type = 5; }
    void VisitVeyrunDesign(VyIfaces::IComponent&) override { m_type = 6; }
    void VisitSpiritDesign(VyIfaces::IComponent&) override { m_type = 11; }

    int GetType() const { return m_type; }

private:
    int m_type = -1;
};

// Selects the child files of a unit hierarchy for a collector. The collector
// walks into sub-blocks when `recurse` is set and tells the functor whose
// files it is looking at (SetCurModule).
class ImodelGetChildsFtor {
public:
    ImodelGetChildsFtor(bool recurse, ImodelModule* module) : m_recurse(recurse), m_module(module) {}
    virtual ~ImodelGetChildsFtor() = default;
    virtual bool operator()(const IfileObject& file) const = 0;

    bool IsRecursive() const { return m_recurse; }
    ImodelModule* GetStartModule() const { return m_module; }
    ImodelModule* GetCurModule() const { return m_curModule; }
    void SetCurModule(ImodelModule* module) { m_curModule = module; }

private:
    bool m_recurse;
    ImodelModule* m_module;
    ImodelModule* m_curModule = nullptr;
};

// Files of one specific type.
class ImodelIsFileOfType : public ImodelGetChildsFtor {
public:
    ImodelIsFileOfType(zorpaFileManagerTypes type, bool recurse) : ImodelGetChildsFtor(recurse, nullptr), m_type(type)
    {
    }
    bool operator()(const IfileObject& file) const override { return file.GetFileSpecificType() == m_type; }

private:
    zorpaFileManagerTypes m_type;
};

// Constraint files (group 104) for a tool kind: every one of the starting
// unit itself; one met on a unit below only when the tool passes files of
// its extension up to parent units (or there is no tool of that kind).
class ImodelGetAssociatedCstrsFtor : public ImodelGetChildsFtor {
public:
    ImodelGetAssociatedCstrsFtor(ImodelFunctionType kind, ImodelModule* module);
    bool operator()(const IfileObject& file) const override;

private:
    int m_globalType = 104;
    ItoolWithConstraints* m_tool;
};

// Orders files by a unit's CDB order: files in it by their place there,
// before every file outside it (those in no particular order).
class imodelSortFiles {
public:
    explicit imodelSortFiles(const std::deque<IfileObject>& order) : m_order(&order) {}
    bool operator()(const IfileObject& a, const IfileObject& b) const;

private:
    // The place of the first equal entry; the order's length when none.
    std::size_t Place(const IfileObject& file) const;

    const std::deque<IfileObject>* m_order;
};
