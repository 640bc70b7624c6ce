#include "DesignShapes.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

std::string UnitName(int index) { return "unit_" + std::to_string(index); }

DesignShapeDesign Named(DesignShape shape, int units)
{
    DesignShapeDesign design;
    design.shape = shape;
    design.units.resize(static_cast<std::size_t>(std::max(units, 1)));
    for (std::size_t i = 0; i < design.units.size(); ++i) design.units[i].name = UnitName(static_cast<int>(i));
    return design;
}

// The sizes of the thirteen levels: the top alone, then growing by one
// factor per level, the last level taking what is left over.
std::vector<int> LevelSizes(int units)
{
    constexpr int kLevels = 13;
    std::vector<int> sizes;
    if (units <= kLevels) return std::vector<int>(static_cast<std::size_t>(units), 1);
    // The growth factor g with 1 + g + ... + g^12 = units, by bisection.
    double low = 1.0;
    double high = 8.0;
    for (int step = 0; step < 60; ++step) {
        const double g = (low + high) / 2;
        double sum = 0;
        for (int level = 0; level < kLevels; ++level) sum += std::pow(g, level);
        (sum < units ? low : high) = g;
    }
    int used = 0;
    for (int level = 0; level < kLevels - 1; ++level) {
        const int size = std::max(1, static_cast<int>(std::lround(std::pow(low, level))));
        sizes.push_back(size);
        used += size;
    }
    sizes.push_back(std::max(1, units - used));
    return sizes;
}

void LinkSharedBlocks(DesignShapeDesign& design, std::uint32_t seed)
{
    constexpr std::size_t kFanOut = 4;
    std::mt19937 random(seed);
    const std::vector<int> sizes = LevelSizes(static_cast<int>(design.units.size()));
    int first = 0;
    for (std::size_t level = 0; level + 1 < sizes.size(); ++level) {
        const int here = sizes[level];
        const int next = first + here;
        const int below = sizes[level + 1];
        // Every unit of the next level gets a parent first, round robin;
        // then each parent is filled up with distinct units drawn at random.
        for (int child = 0; child < below; ++child)
            design.units[static_cast<std::size_t>(first + child % here)].subs.push_back(next + child);
        for (int parent = first; parent < next; ++parent) {
            std::vector<int>& subs = design.units[static_cast<std::size_t>(parent)].subs;
            const std::size_t wanted = std::min<std::size_t>(kFanOut, static_cast<std::size_t>(below));
            while (subs.size() < wanted) {
                const int child = next + static_cast<int>(random() % static_cast<std::uint32_t>(below));
                if (std::find(subs.begin(), subs.end(), child) == subs.end()) subs.push_back(child);
            }
        }
        first = next;
    }
}

}  // namespace

const char* DesignShapeName(DesignShape shape)
{
    switch (shape) {
    case DesignShape::Tree:
        return "tree";
    case DesignShape::SharedBlocks:
        return "shared";
    case DesignShape::Chain:
        return "chain";
    case DesignShape::Diamond:
        return "diamond";
    case DesignShape::WideTop:
        return "wide";
    }
    return "";
}

DesignShapeDesign MakeDiamond(int depth)
{
    DesignShapeDesign design = Named(DesignShape::Diamond, 1 + 2 * std::max(depth, 0));
    std::vector<int> above{0};
    for (int level = 0; level < depth; ++level) {
        const std::vector<int> here{1 + 2 * level, 2 + 2 * level};
        for (int parent : above)
            for (int sub : here) design.units[static_cast<std::size_t>(parent)].subs.push_back(sub);
        above = here;
    }
    return design;
}

DesignShapeDesign MakeDesignShape(DesignShape shape, int units, std::uint32_t seed)
{
    if (shape == DesignShape::Diamond) return MakeDiamond((std::max(units, 1) - 1) / 2);
    DesignShapeDesign design = Named(shape, units);
    const int count = static_cast<int>(design.units.size());
    switch (shape) {
    case DesignShape::Tree:
        for (int i = 1; i < count; ++i) design.units[static_cast<std::size_t>((i - 1) / 10)].subs.push_back(i);
        break;
    case DesignShape::SharedBlocks:
        LinkSharedBlocks(design, seed);
        break;
    case DesignShape::Chain:
        for (int i = 0; i + 1 < count; ++i) design.units[static_cast<std::size_t>(i)].subs.push_back(i + 1);
        break;
    case DesignShape::WideTop:
        for (int i = 1; i < count; ++i) design.units[0].subs.push_back(i);
        break;
    case DesignShape::Diamond:
        break;
    }
    return design;
}

std::string DesignShapeText(const DesignShapeDesign& design, int unit, std::size_t padding)
{
    const DesignShapeUnit& self = design.units[static_cast<std::size_t>(unit)];
    std::string text = "-- " + self.name +
                       ": generated design unit\n"
                       "library ieee;\nuse ieee.std_logic_1164.all;\n\n"
                       "entity " +
                       self.name +
                       " is\n  port (clk, rst : in std_logic; d : in std_logic_vector(7 downto 0);\n"
                       "        q : out std_logic_vector(7 downto 0));\nend entity;\n\n"
                       "architecture rtl of " +
                       self.name + " is\n  signal s, t : std_logic_vector(7 downto 0);\nbegin\n";
    const std::size_t bare = text.size();
    for (std::size_t i = 0; i < self.subs.size(); ++i)
        text += "  i" + std::to_string(i) + " : entity work." +
                design.units[static_cast<std::size_t>(self.subs[i])].name +
                " port map (clk => clk, rst => rst, d => d, q => s);\n";
    for (int block = 0; text.size() < bare + padding; ++block)
        text += "  p" + std::to_string(block) +
                " : process (clk)\n  begin\n    if rising_edge(clk) then\n"
                "      if rst = '1' then t <= (others => '0');  -- reset\n"
                "      else t <= s xor d; end if;\n    end if;\n  end process;\n";
    // A unit that uses others only wires them (structural); a leaf computes.
    return text + (self.subs.empty() ? "  q <= t xor d;\n" : "  q <= s;\n") + "end architecture;\n";
}

std::vector<std::string> WriteDesignShape(const DesignShapeDesign& design, const std::string& folder,
                                          std::size_t padding)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::vector<std::string> files;
    files.reserve(design.units.size());
    for (std::size_t i = 0; i < design.units.size(); ++i) {
        const std::string path = folder + "/" + design.units[i].name + ".vhd";
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << DesignShapeText(design, static_cast<int>(i), padding);
        if (!out.flush()) return {};
        files.push_back(path);
    }
    return files;
}
