// The files a node finds made from a file (through its index by
// predecessor) are those a walk over every known file finds, in the same
// order, while netlists and the HDL netlists made from them come, go, come
// back, change state and name other top cells, and for files the project
// does not hold.
#include "FlowProject.h"

#include "ifile/IfilePredecessorObject.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;
using Entries = std::vector<Entry>;

// What AddRelatedFilesUsing answers, asked of every file in turn.
Entries MadeFromByWalk(const IprocessFileObject& node, const Entry& source, const Entries& listed)
{
    Entries out = listed;
    for (const Entry& file : node.GetKnownFiles()) {
        const IfilePredecessorObject* record = file->GetPredecessorObject();
        if (!record || record->GetPredecessorFile() != source) continue;
        if (std::find(out.begin(), out.end(), file) == out.end()) out.push_back(file);
    }
    return out;
}

std::vector<std::string> Names(const Entries& files)
{
    std::vector<std::string> names;
    for (const Entry& file : files) names.push_back(file->GetInternalFileName().GetString());
    return names;
}

class PredecessorIndex : public FlowProject {
protected:
    std::mt19937 random{11};
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }
    bool Chance(int percent) { return Pick(100) < percent; }
};

TEST_F(PredecessorIndex, FilesMadeFromAFileAreThoseOfTheWalkInItsOrder)
{
    constexpr int kUnits = 10;
    std::vector<ImodelModule*> units;
    for (int i = 0; i < kUnits; ++i) units.push_back(Unit("u" + std::to_string(i)));
    std::vector<Entry> netlists(kUnits);
    std::vector<Entry> derived(kUnits);
    // Entries the project no longer holds, and one it never held.
    std::vector<Entry> gone{boost::make_shared<IfileObjectEx>(
        IfileObject("<project>/synthesis/x.edn", zorpaFT_SYN_EDN, ImodelFMInternal, true, true), false)};
    const IprocessFileObject& hdl = Node(zorpaFT_SYN_HDL);
    int found = 0;
    for (int round = 0; round < 150; ++round) {
        const int at = Pick(kUnits);
        const std::string name = "u" + std::to_string(at);
        switch (Pick(5)) {
        case 0:
            netlists[at] =
                Add("synthesis/" + name + ".edn", zorpaFT_SYN_EDN, FlowNetlist("u" + std::to_string(Pick(kUnits))));
            break;
        case 1:
            derived[at] = Add("synthesis/" + name + ".v", zorpaFT_SYN_HDL, "module " + name + "; endmodule\n");
            break;
        case 2:
            if (netlists[at]) {
                Files().RemoveFile(*netlists[at]);
                gone.push_back(netlists[at]);
            }
            netlists[at].reset();
            break;
        case 3:
            if (derived[at]) Files().RemoveFile(*derived[at]);
            derived[at].reset();
            break;
        default:
            // The records are made again; predecessors stay.
            for (const Entry& file : {netlists[at], derived[at]})
                if (file) file->SetFileState(Chance(50) ? imodelFileOutOfDate : imodelFileUpToDate);
            break;
        }
        Entries sources = gone;
        sources.insert(sources.end(), netlists.begin(), netlists.end());
        std::erase(sources, nullptr);
        for (const Entry& source : sources) {
            // Files already listed stay where they are and come once.
            Entries listed;
            if (Chance(30) && !hdl.GetKnownFiles().empty())
                listed.push_back(hdl.GetKnownFiles()[Pick(static_cast<int>(hdl.GetKnownFiles().size()))]);
            Entries indexed = listed;
            hdl.AddRelatedFilesUsing(source, false, false, indexed);
            const Entries walked = MadeFromByWalk(hdl, source, listed);
            ASSERT_TRUE(indexed == walked)
                << "round " << round << ", " << source->GetInternalFileName().GetString() << ": "
                << ::testing::PrintToString(Names(indexed)) << " against " << ::testing::PrintToString(Names(walked));
            found += static_cast<int>(indexed.size() - listed.size());
        }
    }
    EXPECT_GT(found, 0);
}

}  // namespace
