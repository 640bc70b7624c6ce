// A random order in which files and the files of units leave a project, for
// the tests that hold a batch of leaving files to the same files leaving one
// by one: a random subset of the units, in random order, each after up to
// two files, then up to two files more.
#pragma once

#include "ifile/IfileObject.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <random>
#include <vector>

struct LeavingStep {
    std::optional<IfileObject> file;  // a file that leaves, else
    int unit = -1;                    // the unit whose file leaves
};

template <class AnyFile>
std::vector<LeavingStep> RandomLeavingSteps(std::mt19937& random, std::size_t unitCount, AnyFile anyFile)
{
    std::vector<LeavingStep> steps;
    std::vector<int> units(unitCount);
    std::iota(units.begin(), units.end(), 0);
    std::shuffle(units.begin(), units.end(), random);
    units.resize(random() % (units.size() + 1));
    for (const int unit : units) {
        for (auto files = random() % 3; files > 0; --files) steps.push_back({anyFile(random), -1});
        steps.push_back({std::nullopt, unit});
    }
    for (auto files = random() % 3; files > 0; --files) steps.push_back({anyFile(random), -1});
    return steps;
}
