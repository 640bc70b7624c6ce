// The kinds of design unit the HDL parser finds, the visitor over them, and
// the flags that steer how unit data passes from one unit object to its
// replacement when files are parsed again.
#pragma once

enum zorpaModuleTypes : int {
    zorpaMODULE_VHDL = 0,
    zorpaMODULE_VERILOG = 1,
    zorpaMODULE_SCHEMATIC = 2,
    zorpaMODULE_NETLIST = 3,
    zorpaMODULE_UNKNOWN = 4  // the file is neither a schematic nor an HDL source
};

// Calls the visit operation of a kind; each concrete visitor keeps its
// answer in its own members.
class zorpaModuleVisitor {
public:
    virtual ~zorpaModuleVisitor() = default;

    // Nothing for a value outside the kinds.
    virtual void Visit(zorpaModuleTypes kind)
    {
        switch (kind) {
        case zorpaMODULE_VHDL:
            VisitVHDL();
            break;
        case zorpaMODULE_VERILOG:
            VisitVerilog();
            break;
        case zorpaMODULE_SCHEMATIC:
            VisitSchematic();
            break;
        case zorpaMODULE_NETLIST:
            VisitNetlist();
            break;
        case zorpaMODULE_UNKNOWN:
            VisitUnknown();
            break;
        }
    }
    virtual void VisitVHDL() = 0;
    virtual void VisitVerilog() = 0;
    virtual void VisitSchematic() = 0;
    virtual void VisitNetlist() = 0;
    virtual void VisitUnknown() = 0;
};

// Whether the unit is an HDL unit (VHDL or Verilog).
class zorpaModuleIsHDL : public zorpaModuleVisitor {
public:
    void VisitVHDL() override { m_isHDL = true; }
    void VisitVerilog() override { m_isHDL = true; }
    void VisitSchematic() override { m_isHDL = false; }
    void VisitNetlist() override { m_isHDL = false; }
    void VisitUnknown() override { m_isHDL = false; }
    bool IsHDL() const { return m_isHDL; }

private:
    bool m_isHDL = false;
};

// Whether names of the unit are compared with case: only Verilog's are.
class zorpaModuleIsKeySensitiveVisitor : public zorpaModuleVisitor {
public:
    void VisitVHDL() override { m_sensitive = false; }
    void VisitVerilog() override {}
    void VisitSchematic() override { m_sensitive = false; }
    void VisitNetlist() override { m_sensitive = false; }
    void VisitUnknown() override { m_sensitive = false; }
    bool IsKeySensitive() const { return m_sensitive; }

private:
    bool m_sensitive = true;
};

// How the data of a unit passes to the unit object that replaces it.
struct zorpaSaveRestoreParams {
    bool copyContext;      // passed on to the copy of the revision contexts
    bool copyLists;        // stimulus, associated and constraint lists, options, simulator parameters
    bool mergeAssociated;  // add the associated files the target lacks
};
