// Generated designs of the shapes real projects have: nearly every file
// defines one design unit, blocks are shared and hierarchies are deep. The
// benchmarks of the project life cycle and the tests that need a large or
// deep design draw them from here.
//
// A design is a list of units; unit 0 is the top. Each unit is one VHDL
// file ("<name>.vhd") holding one entity and its architecture, which
// instantiates the unit's sub-blocks by entity instantiation, in list order.
// As in real designs, a unit with sub-blocks only wires them (the scanner
// finds it structural) and a leaf computes (behavioural).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class DesignShape {
    // Fan-out 10: unit i is used by unit (i - 1) / 10.
    Tree,
    // Thirteen levels (depth 12) growing geometrically; each unit above the
    // last level uses 4 distinct units of the next level, drawn at random,
    // so lower blocks are shared by several parents.
    SharedBlocks,
    // Unit i uses unit i + 1: as deep as it has units.
    Chain,
    // A top, then levels of two units; each unit uses both units of the next
    // level. `units` gives the depth (units - 1) / 2; the number of paths
    // doubles with each level.
    Diamond,
    // The top uses every other unit; the others use nothing.
    WideTop,
};

struct DesignShapeUnit {
    std::string name;
    std::vector<int> subs;
};

struct DesignShapeDesign {
    DesignShape shape = DesignShape::Tree;
    std::vector<DesignShapeUnit> units;
};

// The shape's name as the benchmarks print it ("tree", "shared", ...).
const char* DesignShapeName(DesignShape shape);

// A design of `units` units (at least 1; a diamond rounds down to an odd
// count), the same for the same arguments.
DesignShapeDesign MakeDesignShape(DesignShape shape, int units, std::uint32_t seed = 12);

// A diamond of `depth` levels below its top.
DesignShapeDesign MakeDiamond(int depth);

// The VHDL text of one unit, about `padding` bytes longer than its bare
// entity and instantiations (filled with a clocked process per ~200 bytes,
// which makes the unit behavioural).
std::string DesignShapeText(const DesignShapeDesign& design, int unit, std::size_t padding = 0);

// Writes every unit's file into `folder` (made when missing); the full
// file names in unit order, empty when a file could not be written.
std::vector<std::string> WriteDesignShape(const DesignShapeDesign& design, const std::string& folder,
                                          std::size_t padding = 0);
