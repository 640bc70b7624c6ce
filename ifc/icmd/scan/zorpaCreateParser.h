// Makes the HDL scanner of a module kind: VHDL, Verilog and schematic have
// one; a netlist or a unit of unknown kind has none. Each visit replaces the
// scanner made before.
#pragma once

#include "icmd/scan/ZorpaParser.h"

#include <zorpa/ZorpaModule.h>

#include <boost/shared_ptr.hpp>

template <class T>
class zorpaCreateParser : public zorpaModuleVisitor {
public:
    // Every scanner made is given the prototype and the null module.
    zorpaCreateParser(T prototype, T nullModule) : m_prototype(prototype), m_nullModule(nullModule) {}

    void VisitVHDL() override;
    void VisitVerilog() override;
    void VisitSchematic() override;
    void VisitNetlist() override { m_parser.reset(); }
    void VisitUnknown() override { m_parser.reset(); }

    // The scanner of the last visit; empty for a kind without one.
    const boost::shared_ptr<ZorpaParser<T>>& GetParser() const { return m_parser; }

private:
    boost::shared_ptr<ZorpaParser<T>> m_parser;
    T m_prototype;
    T m_nullModule;
};

extern template class zorpaCreateParser<ImodelModule*>;
